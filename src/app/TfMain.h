#pragma once
// The main window: top band, four pages, status bar; hosts the sections and owns the device link.

#include "LinkView.h"
#include "SectionHost.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <vector>

class ArticleModel;
class ArticlesSection;
class CommLog;
class CommLogWindow;
class Device;
class DeviceLink;
class DialogQueue;
class LoginSection;
class PaintHold;
class PrinterSearch;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class Section;
class TDialog;
class TransportControls;

class TfMain : public QMainWindow, public LinkView, public SectionHost {
    Q_OBJECT
public:
    explicit TfMain(QWidget *parent = nullptr);
    ~TfMain() override;

    // Start-up initialisation of the whole window; later calls do nothing. The first show runs it
    // with only the first page built before the first paint (the others follow right after it).
    void FormActivate();
    // Builds the pages after the first (tax groups and articles, cashiers, network and the rest) if
    // they are not built yet; opening one of them, or anything that needs them, does it first.
    void ensureOtherPages();

    // SectionHost
    DeviceLink &link() override { return *link_; }
    Device &device() override { return *device_; }
    LinkView &view() override { return *this; }
    QString factoryNumber() const override { return factoryNumber_; }
    QWidget *window() override { return this; }

    // LinkView
    void setStatusText(const QString &text) override;
    void setProgress(int value) override;
    int showDialog(const QString &title, const QString &text, bool twoButtons = false) override;
    void setControlsEnabled(const QStringList &objectNames, bool enabled) override;
    bool controlEnabled(const QString &objectName) const override;
    void setCancelButtonVisible(bool visible) override;
    void tcpClosedByLink() override;
    void connectionClosed() override;

    TDialog &dialog() { return *dialog_; }
    DialogQueue &dialogQueue() { return *dialogQueue_; }
    ArticleModel &articles() { return *articles_; }
    // The article page's section (its page is built first if it was not yet).
    ArticlesSection &articlesSection();
    QString statusText() const;
    // The menu bar's menus: whole-device profiles, and the views (communication log).
    QMenu &profileMenu() { return *menuProfile_; }
    QMenu &viewMenu() { return *menuView_; }
    // Every frame on the link since the window started, and the window that shows it ("Преглед").
    CommLog &commLog() { return *commLog_; }
    void showCommLog();
    CommLogWindow *commLogWindow() const { return commLogWindow_; }
    PrinterSearch &printerSearch() { return *printerSearch_; }
    // The window's painting waits right now: a moment after a request went out on a serial line.
    bool paintHeld() const;

    void btPage1Click();
    void btPage2Click();
    void btPage3Click();
    void btPage4Click();
    void btnCloseClick();
    // Operator login (the login section sends it).
    void PrijavaOperatera();
    void BtnPrijavaClick() { PrijavaOperatera(); }

signals:
    // Emitted on every close of the window (the barcode port closes on it).
    void windowClosing();

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildTopBand(QWidget *central);
    // The page band, the page buttons and the first page.
    void buildPages(QWidget *central);
    // Activation of the other pages' sections (from `first` to `last`) and what they show of the window.
    void activateOtherPages(std::vector<Section *>::iterator first, std::vector<Section *>::iterator last);
    // Captions, factory number, the sections' activation: the first page's, and the others' if built.
    void startUp();
    void buildStatusBar();
    // The menu bar above the pages; the window grows by its height, the client area stays 800 x 625.
    void buildMenuBar();
    void readFactoryNumber();
    // The factory number the long frames carry, beside "Пријава", with what went wrong with the file.
    void showFactoryNumber();
    // Leaving while a device operation runs: asks first; on yes the operation is broken off.
    bool mayLeaveDuringTransfer();
    // Every section may ask before the window closes (unwritten work); false when one says stay.
    bool sectionsMayClose();
    template <typename T, typename... Args> T *addSection(Args &&...args);
    // The window's control of that object name, or null.
    QWidget *control(const QString &objectName) const;
    // Lists the named widgets for control(); a name used twice is left to findChild.
    void indexControls();

    DeviceLink *link_ = nullptr;
    Device *device_ = nullptr;
    PaintHold *paintHold_ = nullptr;
    TDialog *dialog_ = nullptr;
    DialogQueue *dialogQueue_ = nullptr;
    TransportControls *transportControls_ = nullptr;
    PrinterSearch *printerSearch_ = nullptr;
    CommLog *commLog_ = nullptr;
    CommLogWindow *commLogWindow_ = nullptr;
    ArticleModel *articles_ = nullptr;
    ArticlesSection *articlesSection_ = nullptr;
    LoginSection *loginSection_ = nullptr;
    std::vector<Section *> sections_;
    mutable QHash<QString, QPointer<QWidget>> controls_; // control() has found these
    QString factoryNumber_;
    QString factoryNote_; // why the factory number is not the file's own; empty when it is
    bool activated_ = false;
    bool otherPagesBuilt_ = false;
    bool otherPagesPosted_ = false; // the first paint has asked for them
    size_t otherPagesAt_ = 0;       // where their sections go among sections_
    bool closeAgreed_ = false;      // "Излаз" has asked the sections already

    QTabWidget *Page = nullptr;
    QWidget *TabCompany = nullptr;
    QWidget *tabTaxGroups = nullptr;
    QWidget *tabOperators = nullptr;
    QWidget *TabSheet1 = nullptr;
    QPushButton *btPage1 = nullptr;
    QPushButton *btPage2 = nullptr;
    QPushButton *btPage3 = nullptr;
    QPushButton *btPage4 = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *BtnPrijava = nullptr;
    QLabel *lblFabrickiBroj = nullptr;
    QMenu *menuProfile_ = nullptr;
    QMenu *menuView_ = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *statusPanel0_ = nullptr;
    QProgressBar *PBar = nullptr;
};
