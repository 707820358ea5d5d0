#include "CommLogWindow.h"

#include "CommLogModel.h"
#include "LinkView.h"
#include "ToolText.h"
#include "UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

CommLogWindow::CommLogWindow(CommLog &log, LinkView &messages, QWidget *parent)
    : QWidget(parent, Qt::Window), messages_(messages)
{
    setObjectName("fCommLog");
    setWindowTitle(ToolText::commLogTitle());
    resize(760, 480);

    model_ = new CommLogModel(log, this);
    model_->setSyncing(false);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterRole(CommLogModel::DirectionRole);

    lvLog = new QListView(this);
    lvLog->setObjectName("lvLog");
    lvLog->setModel(proxy_);
    // Every line is one text row of the same height: the view lays out nothing per row.
    lvLog->setUniformItemSizes(true);
    lvLog->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    chbPause = new QCheckBox(ToolText::commLogPause(), this);
    chbPause->setObjectName("chbPause");
    cbDirection = new QComboBox(this);
    cbDirection->setObjectName("cbDirection");
    cbDirection->addItems({ToolText::commLogShowAll(), ToolText::commLogShowSent(), ToolText::commLogShowReceived()});
    btnClear = new QPushButton(ToolText::commLogClear(), this);
    btnClear->setObjectName("btnClear");
    btnSave = new QPushButton(ToolText::commLogSave(), this);
    btnSave->setObjectName("btnSave");
    lblCount = new QLabel(this);
    lblCount->setObjectName("lblCount");

    auto *bar = new QHBoxLayout;
    bar->addWidget(chbPause);
    bar->addWidget(cbDirection);
    bar->addWidget(btnClear);
    bar->addWidget(btnSave);
    bar->addStretch();
    bar->addWidget(lblCount);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(lvLog);

    connect(chbPause, &QCheckBox::toggled, this, [this](bool on) {
        model_->setPaused(on);
        showCounts();
    });
    connect(cbDirection, &QComboBox::currentIndexChanged, this, [this](int i) { setFilter(Filter(i)); });
    connect(btnClear, &QPushButton::clicked, model_, &CommLogModel::clear);
    connect(btnSave, &QPushButton::clicked, this, &CommLogWindow::btnSaveClick);
    connect(model_, &CommLogModel::synced, this, &CommLogWindow::onSynced);
    showCounts();
}

void CommLogWindow::showEvent(QShowEvent *event)
{
    model_->setSyncing(true);
    lvLog->scrollToBottom();
    QWidget::showEvent(event);
}

void CommLogWindow::hideEvent(QHideEvent *event)
{
    model_->setSyncing(false);
    QWidget::hideEvent(event);
}

void CommLogWindow::setFilter(Filter filter)
{
    if (cbDirection->currentIndex() != int(filter)) {
        cbDirection->setCurrentIndex(int(filter)); // comes back here through the signal
        return;
    }
    static const QString patterns[] = {QString(), QStringLiteral("^out$"), QStringLiteral("^in$")};
    proxy_->setFilterRegularExpression(patterns[int(filter)]);
    showCounts();
}

void CommLogWindow::onSynced()
{
    // New lines follow at the bottom unless the user has scrolled up to read.
    QScrollBar *s = lvLog->verticalScrollBar();
    const bool atBottom = s->value() >= s->maximum() - 1;
    if (atBottom)
        lvLog->scrollToBottom();
    showCounts();
}

void CommLogWindow::showCounts()
{
    QString text = ToolText::commLogLines(listedCount(), model_->rowCount());
    if (model_->paused())
        text += QStringLiteral("  ") + ToolText::commLogPaused(model_->waiting());
    lblCount->setText(text);
}

int CommLogWindow::listedCount() const
{
    return proxy_->rowCount();
}

QByteArray CommLogWindow::listedText() const
{
    QByteArray text;
    const int n = proxy_->rowCount();
    text.reserve(qsizetype(n) * 40);
    for (int r = 0; r < n; ++r)
        text += model_->line(proxy_->mapToSource(proxy_->index(r, 0)).row());
    return text;
}

bool CommLogWindow::saveTo(const QString &path, QString &error) const
{
    QSaveFile file(path);
    const QByteArray text = listedText();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void CommLogWindow::btnSaveClick()
{
    const QString path = QFileDialog::getSaveFileName(this, ToolText::commLogSaveCaption(),
                                                      QStringLiteral("quorvel-log.txt"), ToolText::commLogFileFilter());
    if (path.isEmpty())
        return;
    QString error;
    if (!saveTo(path, error)) {
        messages_.showDialog(UiText(Txt::TitleError), ToolText::commLogNotSaved(path, error));
        return;
    }
    lblCount->setText(ToolText::commLogSaved(path, listedCount()));
}
