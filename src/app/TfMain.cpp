#include "TfMain.h"

#include "MakeWidget.h"

#include "ArticleFindBar.h"
#include "ArticleModel.h"
#include "ArticleTransfer.h"
#include "ArticlesReport.h"
#include "ArticlesSection.h"
#include "BarcodeReader.h"
#include "CashiersSection.h"
#include "ClockShiftSection.h"
#include "CommLog.h"
#include "CommLogWindow.h"
#include "DateTimeSection.h"
#include "DepartmentsSection.h"
#include "Device.h"
#include "DeviceLink.h"
#include "DialogQueue.h"
#include "FactoryNumberFile.h"
#include "FieldEncodings.h"
#include "FiscalDataSection.h"
#include "FmDumpSection.h"
#include "LoginSection.h"
#include "LogoSection.h"
#include "NetworkSection.h"
#include "PaintHold.h"
#include "ParametersSection.h"
#include "PrinterSearch.h"
#include "ProfileMenu.h"
#include "ReceiptLinesSection.h"
#include "SelfTestSection.h"
#include "SerialPortBox.h"
#include "TDialog.h"
#include "TaxGroupsSection.h"
#include "TaxpayerSection.h"
#include "ToolText.h"
#include "Transport.h"
#include "TransportControls.h"
#include "UiText.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {
constexpr int kClientWidth = 800;
constexpr int kClientHeight = 625;
constexpr int kTopBandHeight = 184;
constexpr int kPageHeight = 419;
// How long the window's painting waits after a request went out on a serial line.
constexpr int kSerialPaintHoldMs = 1;

QLabel *label(QWidget *parent, const char *name, int x, int y, const QString &text = {})
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    return l;
}
} // namespace

TfMain::TfMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName("fMain");
    QFont f("Arial", 8);
    setFont(f);
    setEnabledColour(this, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, Qt::blue);

    link_ = new DeviceLink(*this, this);
    device_ = new Device(*link_, this);
    commLog_ = new CommLog(*link_, CommLog::kMaxEntries, this);
    // Over a serial line the window paints a moment after each request, once the system has
    // passed the request on to the line.
    paintHold_ = new PaintHold(*this, kSerialPaintHoldMs, this);
    connect(link_, &DeviceLink::frameSent, paintHold_, [this] {
        if (link_->serialTransport())
            paintHold_->hold();
    });
    articles_ = new ArticleModel(this);

    auto *central = new QWidget(this);
    central->setObjectName("central");
    central->setFixedSize(kClientWidth, kTopBandHeight + kPageHeight);
    setCentralWidget(central);
    buildTopBand(central);
    buildPages(central);
    buildStatusBar();

    dialog_ = new TDialog(this);
    dialogQueue_ = new DialogQueue(*dialog_, this);
    buildMenuBar();
    const int height = kClientHeight + menuBar()->sizeHint().height();
    setFixedSize(kClientWidth, height);
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(kClientWidth / 2, height / 2));
}

TfMain::~TfMain() = default;

template <typename T, typename... Args> T *TfMain::addSection(Args &&...args)
{
    T *s = new T(*this, std::forward<Args>(args)...);
    s->setParent(this);
    sections_.push_back(s);
    return s;
}

void TfMain::buildTopBand(QWidget *c)
{
    label(c, "Label22", 8, 6);
    auto *port = makeWidget<SerialPortBox>(c, "CB_ComPort", QRect(8, 22, 104, 22));
    port->setEditable(true);
    port->addItems({"COM1", "COM2", "COM3", "COM4"});
    port->setCurrentIndex(0);
    makeWidget<QPushButton>(c, "btnCom1", QRect(116, 20, 104, 25));

    label(c, "edtIPLabel", 8, 52, QStringLiteral("ИП адреса"));
    auto *ip = makeWidget<QLineEdit>(c, "edtIP", QRect(8, 68, 104, 22));
    ip->setText("172.16.1.199");
    makeWidget<QPushButton>(c, "btnCOM", QRect(116, 66, 104, 25));

    label(c, "Label48", 8, 100);
    auto *bc = makeWidget<SerialPortBox>(c, "cbBCCom", QRect(8, 116, 104, 22));
    bc->setEditable(true);
    bc->addItem("COM1");
    makeWidget<QPushButton>(c, "btnBCCom", QRect(116, 114, 104, 25));

    for (auto [lamp, x] : {std::pair{"bcLedRec", 8}, std::pair{"bcLedTrans", 132}}) {
        auto *led = makeWidget<QFrame>(c, lamp, QRect(x, 152, 12, 12));
        led->setFrameShape(QFrame::Box);
        led->setAutoFillBackground(true);
    }
    label(c, "lblReceive", 24, 151);
    label(c, "lblTransmit", 148, 151);

    transportControls_ = addSection<TransportControls>(static_cast<QWidget *>(this));
    printerSearch_ = addSection<PrinterSearch>(c, *transportControls_);
    addSection<FiscalDataSection>(c, QRect(228, 4, 452, 178));

    btnClose = makeWidget<QPushButton>(c, "btnClose", QRect(688, 18, 106, 152));
    QFont cf("Arial", 14);
    cf.setBold(true);
    btnClose->setFont(cf);
    setEnabledColour(btnClose, {QPalette::ButtonText}, Qt::red);
    connect(btnClose, &QPushButton::clicked, this, &TfMain::btnCloseClick);
}

void TfMain::buildPages(QWidget *c)
{
    Page = makeWidget<QTabWidget>(c, "Page", QRect(0, kTopBandHeight, kClientWidth, kPageHeight));
    Page->tabBar()->hide();
    Page->setDocumentMode(true);
    TabCompany = new QWidget;
    TabCompany->setObjectName("TabCompany");
    tabTaxGroups = new QWidget;
    tabTaxGroups->setObjectName("tabTaxGroups");
    tabOperators = new QWidget;
    tabOperators->setObjectName("tabOperators");
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    for (QWidget *p : {TabCompany, tabTaxGroups, tabOperators, TabSheet1})
        Page->addTab(p, QString());

    struct PageButton {
        QPushButton **button;
        const char *name;
        int left, width;
        void (TfMain::*click)();
    };
    const PageButton buttons[] = {{&btPage1, "btPage1", 2, 176, &TfMain::btPage1Click},
                                  {&btPage2, "btPage2", 177, 197, &TfMain::btPage2Click},
                                  {&btPage3, "btPage3", 373, 178, &TfMain::btPage3Click},
                                  {&btPage4, "btPage4", 550, 178, &TfMain::btPage4Click}};
    // The button of the open page stays pressed, whatever opened the page.
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (const PageButton &b : buttons) {
        *b.button = makeWidget<QPushButton>(c, b.name, QRect(b.left, kTopBandHeight, b.width, 22));
        (*b.button)->setCheckable(true);
        group->addButton(*b.button, group->buttons().size());
        connect(*b.button, &QPushButton::clicked, this, b.click);
    }
    btPage1->setChecked(true);
    connect(Page, &QTabWidget::currentChanged, group, [this, group](int index) {
        if (index > 0)
            ensureOtherPages();
        if (QAbstractButton *b = group->button(index))
            b->setChecked(true);
    });

    // Page 1: taxpayer, receipt lines, logo, clock.
    addSection<TaxpayerSection>(TabCompany, QRect(4, 26, 392, 182));
    addSection<LogoSection>(TabCompany, QRect(4, 210, 392, 205));
    addSection<ReceiptLinesSection>(TabCompany, QRect(400, 26, 396, 262));
    addSection<DateTimeSection>(TabCompany, QRect(400, 290, 396, 125));
    otherPagesAt_ = sections_.size();
}

void TfMain::ensureOtherPages()
{
    if (otherPagesBuilt_)
        return;
    otherPagesBuilt_ = true;
    const size_t before = sections_.size();

    // Page 2: tax groups, departments, articles.
    addSection<TaxGroupsSection>(tabTaxGroups, QRect(2, 26, 196, 389));
    addSection<DepartmentsSection>(tabTaxGroups, QRect(200, 26, 160, 389));
    articlesSection_ = addSection<ArticlesSection>(tabTaxGroups, QRect(362, 26, 436, 389), *articles_);
    addSection<ArticleTransfer>(*articlesSection_);
    addSection<ArticlesReport>(*articlesSection_);
    addSection<ArticleFindBar>(*articlesSection_);
    // The scanner's port closes with the window.
    auto *barcode = addSection<BarcodeReader>(*articlesSection_);
    connect(this, &TfMain::windowClosing, barcode, &BarcodeReader::closePort);

    // Page 3: cashiers.
    addSection<CashiersSection>(tabOperators, QRect(4, 26, 470, 389));

    // Page 4: network, parameters, clock shift, self-tests, login, fiscal-memory dump.
    addSection<NetworkSection>(TabSheet1, QRect(4, 26, 300, 190));
    addSection<ParametersSection>(TabSheet1, QRect(308, 26, 290, 110));
    addSection<ClockShiftSection>(TabSheet1, QRect(308, 140, 290, 110));
    addSection<SelfTestSection>(TabSheet1, QRect(4, 220, 300, 190));
    loginSection_ = addSection<LoginSection>(TabSheet1, QRect(608, 256, 153, 25));
    BtnPrijava = loginSection_->BtnPrijava;
    // Right above the button: the factory number the login and the self-tests carry.
    lblFabrickiBroj = makeWidget<QLabel>(TabSheet1, "lblFabrickiBroj", QRect(608, 190, 188, 62));
    lblFabrickiBroj->setWordWrap(true);
    lblFabrickiBroj->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    addSection<FmDumpSection>(TabSheet1);

    // The new sections keep their place among the others (the close questions come in page order).
    std::rotate(sections_.begin() + std::ptrdiff_t(otherPagesAt_), sections_.begin() + std::ptrdiff_t(before),
                sections_.end());
    // The named widgets are listed now, with every page built, not when the first chain starts.
    indexControls();
    if (activated_)
        activateOtherPages(sections_.begin() + std::ptrdiff_t(otherPagesAt_),
                           sections_.begin() + std::ptrdiff_t(otherPagesAt_ + sections_.size() - before));
    // A page made current before it was built shows its new widgets now (children made on a
    // visible parent stay hidden until shown).
    for (QWidget *page : {tabTaxGroups, tabOperators, TabSheet1}) {
        if (!page->isVisible())
            continue;
        for (QWidget *w : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!w->isWindow() && !(w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide)))
                w->show();
    }
}

void TfMain::activateOtherPages(std::vector<Section *>::iterator first, std::vector<Section *>::iterator last)
{
    showFactoryNumber();
    for (auto it = first; it != last; ++it)
        (*it)->activate();
    articlesSection_->BtnOtkaz->setText(QStringLiteral("Прекини"));
}

void TfMain::buildStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setFixedHeight(kClientHeight - kTopBandHeight - kPageHeight);
    setStatusBar(StatusBar);
    QFont sf("Arial", 8);
    sf.setBold(true);
    statusPanel0_ = new QLabel(StatusBar);
    statusPanel0_->setObjectName("StatusPanel0");
    statusPanel0_->setFixedSize(350, 16);
    statusPanel0_->setFont(sf);
    setEnabledColour(statusPanel0_, {QPalette::WindowText}, Qt::red);
    StatusBar->addWidget(statusPanel0_);
    auto *panel1 = new QWidget(StatusBar);
    panel1->setObjectName("StatusPanel1");
    panel1->setFixedSize(440, 16);
    // The bar and its panel fill their own background: a new value repaints the bar alone, not the
    // status bar and the window behind it.
    panel1->setAutoFillBackground(true);
    PBar = new QProgressBar(panel1);
    PBar->setAutoFillBackground(true);
    PBar->setObjectName("PBar");
    PBar->setRange(0, 16);
    PBar->setValue(0);
    PBar->setTextVisible(false);
    PBar->setGeometry(0, 1, 440, 14);
    StatusBar->addWidget(panel1);
}

void TfMain::buildMenuBar()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName("MainMenu");
    menuProfile_ = bar->addMenu(ToolText::menuProfile());
    menuProfile_->setObjectName("menuProfile");
    menuView_ = bar->addMenu(ToolText::menuView());
    menuView_->setObjectName("menuView");
    // Profile: back up, compare, restore.
    addSection<ProfileMenu>(*menuProfile_, *dialogQueue_);
    // View: communication log.
    menuView_->addAction(ToolText::commLogMenu(), this, &TfMain::showCommLog)->setObjectName("actCommLog");
}

void TfMain::showCommLog()
{
    if (!commLogWindow_)
        commLogWindow_ = new CommLogWindow(*commLog_, *this, this);
    commLogWindow_->show();
    commLogWindow_->raise();
    commLogWindow_->activateWindow();
}

void TfMain::readFactoryNumber()
{
    const FactoryNumberFile file = FactoryNumberFile::read();
    if (file.unreadable)
        std::fprintf(stderr, "fkase.ini: %s; starting with an empty factory number\n", qPrintable(file.reason));
    factoryNumber_ = file.number;
    factoryNote_ = file.note;
    device_->setFactoryNumber(factoryNumber_);
}

void TfMain::showFactoryNumber()
{
    // The six digits as the frames carry them: shorter numbers padded with zeros, longer ones cut.
    const std::array<uint8_t, 3> bcd = FabrickiBrojToBCD(factoryNumber_);
    const QString inUse = QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(bcd.data()), 3).toHex());
    QString text = ToolText::factoryNumberInUse(inUse.toUpper());
    if (!factoryNote_.isEmpty())
        text += QLatin1Char('\n') + factoryNote_;
    if (!lblFabrickiBroj)
        return; // the page is built later and shows it then
    lblFabrickiBroj->setText(text);
    BtnPrijava->setToolTip(text);
}

void TfMain::FormActivate()
{
    startUp();
    ensureOtherPages();
}

void TfMain::startUp()
{
    if (activated_)
        return;
    activated_ = true;
    readFactoryNumber();
    link_->resetState();

    setWindowTitle(QStringLiteral("Parametrizacija za fiskalni printer v.3.4"));
    auto setText = [this](const char *name, const QString &text) {
        if (auto *l = findChild<QLabel *>(name))
            l->setText(text), l->adjustSize();
        else if (auto *b = findChild<QPushButton *>(name))
            b->setText(text);
    };
    setText("lblReceive", UiText(42));
    setText("lblTransmit", UiText(43));
    setText("Label48", UiText(108));
    setText("btnBCCom", UiText(Txt::OpenPort));
    setText("Label22", UiText(104));
    setText("btnCom1", UiText(Txt::OpenPort));
    setText("btnCOM", UiText(Txt::OpenPort));
    setText("btnClose", UiText(61));
    btPage1->setText(QStringLiteral("Подаци о трговцу, време и датум"));
    btPage2->setText(QStringLiteral("Пореске групе, артикли и одељења"));
    btPage3->setText(QStringLiteral("Касири"));
    btPage4->setText(QStringLiteral("ИП адреса и други параметри"));
    articles_->fillStartup();
    if (otherPagesBuilt_) {
        activateOtherPages(sections_.begin(), sections_.end());
    } else {
        for (Section *s : sections_)
            s->activate();
    }
    Page->setCurrentWidget(TabCompany);
}

void TfMain::showEvent(QShowEvent *event)
{
    // The first show builds what the first page shows; the other pages follow once the window
    // has been painted (or as soon as something needs them).
    startUp();
    QMainWindow::showEvent(event);
}

bool TfMain::event(QEvent *event)
{
    if (event->type() == QEvent::Paint && !otherPagesBuilt_ && !otherPagesPosted_) {
        otherPagesPosted_ = true;
        QMetaObject::invokeMethod(this, &TfMain::ensureOtherPages, Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

void TfMain::closeEvent(QCloseEvent *event)
{
    const bool agreed = std::exchange(closeAgreed_, false);
    if (!mayLeaveDuringTransfer() || (!agreed && !sectionsMayClose())) {
        event->ignore();
        return;
    }
    emit windowClosing();
    event->accept();
}

void TfMain::setStatusText(const QString &text)
{
    // The article chains set the same text with every reply; repainting it each time costs more
    // than the reply itself.
    if (statusPanel0_->text() == text)
        return;
    statusPanel0_->setText(text);
    statusPanel0_->repaint();
}

QString TfMain::statusText() const
{
    return statusPanel0_->text();
}

void TfMain::setProgress(int value)
{
    // A progress bar repaints at once with every visible change, which in a chain of short
    // exchanges delays the next request by a millisecond or more; here it is painted with the rest
    // of the window once the event loop is back.
    // Only a new value, too: turning updates back on repaints the bar whether its value changed or
    // not, and the chains set the same value with nearly every reply.
    value = std::clamp(value, 0, 16);
    if (PBar->value() == value)
        return;
    PBar->setUpdatesEnabled(false);
    PBar->setValue(value);
    PBar->setUpdatesEnabled(true);
}

int TfMain::showDialog(const QString &title, const QString &text, bool twoButtons)
{
    return dialogQueue_->show(title, text, twoButtons);
}

QWidget *TfMain::control(const QString &objectName) const
{
    // The controls a chain switches are on every page: they all exist before any is looked up.
    const_cast<TfMain *>(this)->ensureOtherPages();
    // Every chain's start and end switch some thirty controls: building the pages listed the
    // window's named widgets in one walk, so they are not searched for one by one.
    QPointer<QWidget> &known = controls_[objectName];
    if (!known)
        known = findChild<QWidget *>(objectName);
    return known;
}

bool TfMain::paintHeld() const
{
    return paintHold_->holding();
}

void TfMain::indexControls()
{
    controls_.clear();
    QSet<QString> twice;
    for (QWidget *w : findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || twice.contains(name))
            continue;
        if (controls_.contains(name)) {
            // A name used twice is left to findChild, which picks the one it always picked.
            controls_.remove(name);
            twice.insert(name);
        } else {
            controls_.insert(name, w);
        }
    }
}

void TfMain::setControlsEnabled(const QStringList &objectNames, bool enabled)
{
    for (const QString &name : objectNames)
        if (QWidget *w = control(name))
            w->setEnabled(enabled);
}

bool TfMain::controlEnabled(const QString &objectName) const
{
    const QWidget *w = control(objectName);
    return !w || !w->testAttribute(Qt::WA_ForceDisabled);
}

void TfMain::setCancelButtonVisible(bool visible)
{
    articlesSection().setCancelVisible(visible);
}

void TfMain::tcpClosedByLink()
{
    if (auto *b = findChild<QPushButton *>("btnCOM"))
        b->setText(UiText(Txt::OpenPort));
}

void TfMain::connectionClosed()
{
    transportControls_->connectionClosed();
}

void TfMain::btPage1Click()
{
    Page->setCurrentWidget(TabCompany);
}

void TfMain::btPage2Click()
{
    ensureOtherPages();
    Page->setCurrentWidget(tabTaxGroups);
}

void TfMain::btPage3Click()
{
    ensureOtherPages();
    Page->setCurrentWidget(tabOperators);
}

void TfMain::btPage4Click()
{
    ensureOtherPages();
    Page->setCurrentWidget(TabSheet1);
}

bool TfMain::mayLeaveDuringTransfer()
{
    if (!link_->busy())
        return true;
    if (showDialog(UiText(Txt::TitleWarning), ToolText::exitDuringTransfer(), true) != 1)
        return false;
    link_->abandonChain();
    return true;
}

bool TfMain::sectionsMayClose()
{
    for (Section *s : sections_)
        if (!s->mayClose())
            return false;
    return true;
}

void TfMain::btnCloseClick()
{
    if (!mayLeaveDuringTransfer() || !sectionsMayClose())
        return;
    closeAgreed_ = true;
    Transport *t = link_->transport();
    if (link_->serialTransport() && t && t->isOpen() && link_->serviceMode())
        link_->SendFrame(0x10, 4);
    close();
}

void TfMain::PrijavaOperatera()
{
    ensureOtherPages();
    loginSection_->PrijavaOperatera();
}

ArticlesSection &TfMain::articlesSection()
{
    ensureOtherPages();
    return *articlesSection_;
}
