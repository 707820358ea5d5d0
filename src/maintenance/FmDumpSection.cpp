#include "FmDumpSection.h"

#include "DeviceLink.h"
#include "LinkView.h"
#include "UiText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>

namespace {
constexpr uint8_t kReadBlock = 0xC0;
constexpr uint8_t kErrorReply = 0xF5;
constexpr uint8_t kLeftServiceMode = 0x10;
// Data bytes of a block reply: the block number (2) and the block itself.
constexpr int kReplyDataLength = 2 + FmDumpSection::kBlockSize;

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

    link().onReply(kReadBlock, [this] { onBlockReply(); });
    // A silent device: the link reports it; the dump ends without a file.
    connect(&link().replyTimer(), &QTimer::timeout, this, [this] {
        if (running())
            abandon({}, {});
    });
    // The device refused a block or left service mode: no further block will come.
    connect(&link(), &DeviceLink::replyDispatched, this, [this](uint8_t code) {
        if (running() && (code == kErrorReply || code == kLeftServiceMode))
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
        link().stopReplyTimer();
        link().setReplyPending(false);
        link().endChain(DeviceLink::Chain::MemoryDump, DeviceLink::ChainEnd::Cancelled);
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
    if (!link().beginChain(DeviceLink::Chain::MemoryDump, {}, {btnFMDump->objectName()})) {
        file->cancelWriting();
        return;
    }
    file_ = std::move(file);
    nextBlock_ = 0;
    btnFMDump->setText(QStringLiteral("Прекини"));
    view().setProgress(0);
    if (!requestBlock(0))
        abandon({}, {});
}

bool FmDumpSection::requestBlock(int block)
{
    nextBlock_ = block;
    DeviceLink &l = link();
    l.setTx(4, uint8_t(block & 0xFF));
    l.setTx(5, uint8_t(block >> 8));
    view().setStatusText(UiText(Txt::PleaseWait));
    return l.SendAwaitingReply(kReadBlock, 6);
}

void FmDumpSection::onBlockReply()
{
    if (!running())
        return; // a late answer to a dump that was already stopped
    DeviceLink &l = link();
    const int block = l.rx(4) | (l.rx(5) << 8);
    view().setProgress(block / 64);
    // Every block must be the one asked for and complete; anything else would leave a file with
    // bytes in the wrong place.
    if (block != nextBlock_ || l.rx(3) < kReplyDataLength) {
        abandon(UiText(Txt::TitleError),
                QStringLiteral("Фискални принтер је послао неисправан блок %1 (очекиван је блок %2). "
                               "Читање фискалне меморије је прекинуто.")
                    .arg(block)
                    .arg(nextBlock_));
        return;
    }
    if (file_->write(reinterpret_cast<const char *>(l.rxAt(6)), kBlockSize) != kBlockSize) {
        abandon(UiText(Txt::TitleError), file_->errorString());
        return;
    }
    if (block >= kBlocks - 1) {
        const bool committed = file_->commit();
        const QString error = file_->errorString();
        file_.reset();
        link().endChain(DeviceLink::Chain::MemoryDump, DeviceLink::ChainEnd::Completed);
        setIdle();
        if (committed)
            view().showDialog(UiText(Txt::TitleInfo), UiText(Txt::WriteOk));
        else
            showError(error);
        return;
    }
    if (!requestBlock(block + 1))
        abandon({}, {});
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
    link().endChain(DeviceLink::Chain::MemoryDump, DeviceLink::ChainEnd::Stopped);
    btnFMDump->setText(caption());
    view().setProgress(0);
    view().setStatusText(UiText(link().serviceMode() ? Txt::InServiceMode : Txt::NotInServiceMode));
}
