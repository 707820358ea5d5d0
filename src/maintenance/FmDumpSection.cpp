#include "FmDumpSection.h"

#include "Device.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "ToolText.h"
#include "UiText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QSaveFile>

namespace {
QString caption()
{
    return QStringLiteral("Читање фискалне меморије");
}
} // namespace

FmDumpSection::FmDumpSection(SectionHost &host, QWidget *page) : Section(host)
{
    btnFMDump = new QPushButton(page);
    btnFMDump->setObjectName("btnFMDump");
    btnFMDump->setGeometry(608, 296, 153, 25);
    connect(btnFMDump, &QPushButton::clicked, this, &FmDumpSection::btnFMDumpClick);

    FmDumpOps &ops = device().fmDump();
    connect(&ops, &FmDumpOps::blockRequested, this, [this] { view().setStatusText(UiText(Txt::PleaseWait)); });
    connect(&ops, &FmDumpOps::replyArrived, this, [this](int block) {
        if (running())
            view().setProgress(block / 64);
    });
    connect(&ops, &FmDumpOps::blockReceived, this, &FmDumpSection::writeBlock);
    connect(&ops, &FmDumpOps::completed, this, &FmDumpSection::finished);
    connect(&ops, &FmDumpOps::badBlock, this, [this](int block, int expected) {
        if (running())
            abandon(UiText(Txt::TitleError), ToolText::memoryDumpBadBlock(block, expected));
    });
    // Silence, a refused block, leaving service mode, a lost connection: the link has said so
    // already; the dump ends without a file.
    connect(&ops, &FmDumpOps::broken, this, [this] {
        if (running())
            abandon({}, {});
    });
}

FmDumpSection::~FmDumpSection() = default;

void FmDumpSection::activate()
{
    btnFMDump->setText(caption());
}

QString FmDumpSection::askForFile()
{
    if (chooseFile_)
        return chooseFile_();
    return QFileDialog::getSaveFileName(host().window(), caption(), QString(), QStringLiteral("FM Dump (*.BIN)"));
}

void FmDumpSection::btnFMDumpClick()
{
    if (running()) {
        device().fmDump().cancel();
        abandon(UiText(Txt::TitleWarning), QStringLiteral("Читање фискалне меморије је прекинуто."));
        return;
    }
    if (refuseOutsideServiceMode())
        return;
    QString path = askForFile();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".BIN");
    start(path);
}

void FmDumpSection::start(const QString &path)
{
    // The blocks go to a temporary file that takes the chosen name only when all of them are in.
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly)) {
        showError(file->errorString());
        return;
    }
    // The dump holds the link until it ends; its own button stays to stop it.
    FmDumpOps &ops = device().fmDump();
    if (!ops.begin({btnFMDump->objectName()})) {
        file->cancelWriting();
        return;
    }
    file_ = std::move(file);
    btnFMDump->setText(QStringLiteral("Прекини"));
    view().setProgress(0);
    // A request that could not be written ends the dump through `broken`.
    ops.requestFirstBlock();
}

void FmDumpSection::writeBlock(int, const QByteArray &data)
{
    if (!running())
        return;
    if (file_->write(data) != data.size()) {
        device().fmDump().stop();
        abandon(UiText(Txt::TitleError), file_->errorString());
    }
}

void FmDumpSection::finished()
{
    if (!running())
        return;
    const bool committed = file_->commit();
    const QString error = file_->errorString();
    file_.reset();
    setIdle();
    if (committed)
        view().showDialog(UiText(Txt::TitleInfo), UiText(Txt::WriteOk));
    else
        showError(error);
}

void FmDumpSection::abandon(const QString &title, const QString &message)
{
    if (file_) {
        file_->cancelWriting();
        file_.reset();
    }
    setIdle();
    if (!message.isEmpty())
        view().showDialog(title, message);
}

void FmDumpSection::setIdle()
{
    device().fmDump().stop();
    btnFMDump->setText(caption());
    view().setProgress(0);
    view().setStatusText(UiText(link().serviceMode() ? Txt::InServiceMode : Txt::NotInServiceMode));
}
