#pragma once
// The communication log window (not modal): every frame since the connection opened, with pause,
// a direction filter, clear and save as text in the format of quorvel-cli --log.

#include <QWidget>

class CommLog;
class CommLogModel;
class LinkView;
class QCheckBox;
class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QSortFilterProxyModel;

class CommLogWindow : public QWidget {
    Q_OBJECT
public:
    enum class Filter { All, Sent, Received };

    // `messages` shows what went wrong (the window's message dialog).
    CommLogWindow(CommLog &log, LinkView &messages, QWidget *parent = nullptr);

    CommLogModel &model() { return *model_; }
    // Rows as listed now (after the filter), each line with its newline.
    QByteArray listedText() const;
    int listedCount() const;
    void setFilter(Filter filter);
    // Writes the listed lines to `path`; false with `error`.
    bool saveTo(const QString &path, QString &error) const;
    // "Сачувај...": asks for a file and saves the listed lines.
    void btnSaveClick();

    QListView *lvLog = nullptr;
    QCheckBox *chbPause = nullptr;
    QComboBox *cbDirection = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *btnSave = nullptr;
    QLabel *lblCount = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void onSynced();
    void showCounts();

    LinkView &messages_;
    CommLogModel *model_ = nullptr;
    QSortFilterProxyModel *proxy_ = nullptr;
};
