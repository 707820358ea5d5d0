#include "LogoSection.h"

#include "DeviceLink.h"
#include "FieldEncodings.h"
#include "LinkView.h"
#include "LogoBlock.h"
#include "UiText.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {
constexpr uint8_t kReadBlock0 = 0xE0;
constexpr uint8_t kWriteBlock0 = 0xD0;
constexpr uint8_t kReadFlag = 0x55;
constexpr uint8_t kWriteFlag = 0x50;
constexpr int kBlockFrame = 4 + LogoBlock::kBlockSize; // 260: length byte 255
constexpr int kLastBlock = LogoBlock::kBlockCount - 1;

// The picture as an opaque image: transparent parts show as white, as on the window.
QImage opaqueOnWhite(const QImage &picture)
{
    QImage out(picture.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, picture);
    return out;
}
} // namespace

LogoSection::LogoSection(SectionHost &host, QWidget *parent, const QRect &geometry)
    : Section(host, parent), logo_(LogoBlock::blank()), pixelSource_(LogoBlock::blank())
{
    GBLogo = new QGroupBox(parent);
    GBLogo->setObjectName("GBLogo");
    GBLogo->setGeometry(geometry);
    GBLogo->setTitle(UiText(54));

    chbLogo = new QCheckBox(GBLogo);
    chbLogo->setObjectName("chbLogo");
    chbLogo->setGeometry(8, 18, 16, 18);
    chbLogoLabel = new QLabel(UiText(75), GBLogo);
    chbLogoLabel->setObjectName("chbLogoLabel");
    chbLogoLabel->move(28, 20);
    chbLogoLabel->setBuddy(chbLogo);

    imgGraphLogo = new QLabel(GBLogo);
    imgGraphLogo->setObjectName("imgGraphLogo");
    imgGraphLogo->setGeometry(8, 40, LogoBlock::kWidth, LogoBlock::kHeight);
    imgGraphLogo->setFixedSize(LogoBlock::kWidth, LogoBlock::kHeight);
    imgGraphLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btnLogoOpen = new QPushButton(UiText(60), GBLogo);
    btnLogoOpen->setObjectName("btnLogoOpen");
    btnLogoOpen->setGeometry(8, 174, 160, 25);
    btnLogoRead = new QPushButton(UiText(Txt::Read), GBLogo);
    btnLogoRead->setObjectName("btnLogoRead");
    btnLogoRead->setGeometry(172, 174, 104, 25);
    btnLogoWrite = new QPushButton(UiText(Txt::Write), GBLogo);
    btnLogoWrite->setObjectName("btnLogoWrite");
    btnLogoWrite->setGeometry(280, 174, 104, 25);

    connect(btnLogoOpen, &QPushButton::clicked, this, &LogoSection::btnLogoOpenClick);
    connect(btnLogoRead, &QPushButton::clicked, this, &LogoSection::btnLogoReadClick);
    connect(btnLogoWrite, &QPushButton::clicked, this, &LogoSection::btnLogoWriteClick);
    connect(chbLogo, &QCheckBox::toggled, this, &LogoSection::chbLogoClick);
    link().onBlockReply(kReadBlock0, [this](int block) { onReadBlock(block); });
    link().onReply(kReadFlag, [this] { onFlagReply(); });
    link().onBlockReply(kWriteBlock0, [this](int block) { onWriteBlockRequest(block); });
    link().onReply(kWriteFlag, [this] { onFlagRequest(); });
    repaintLogo();
}

void LogoSection::repaintLogo()
{
    imgGraphLogo->setPixmap(QPixmap::fromImage(logo_));
}

QString LogoSection::choosePictureFile()
{
    if (fileChooser_)
        return fileChooser_();
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    QFileDialog OPD(host().window());
    OPD.setObjectName("OPD");
    OPD.setFileMode(QFileDialog::ExistingFile);
    OPD.setNameFilters({QStringLiteral("Слике (%1)").arg(patterns.join(' ')), QStringLiteral("Сви фајлови (*)")});
    if (OPD.exec() != QDialog::Accepted || OPD.selectedFiles().isEmpty())
        return {};
    return OPD.selectedFiles().first();
}

void LogoSection::btnLogoOpenClick()
{
    const QString path = choosePictureFile();
    if (!path.isEmpty())
        loadLogoFile(path);
}

bool LogoSection::loadLogoFile(const QString &path)
{
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        showError(QStringLiteral("Слику из фајла није могуће учитати: ") + path);
        return false;
    }
    logo_ = opaqueOnWhite(picture);
    repaintLogo();
    if (logo_.width() != LogoBlock::kWidth || logo_.height() != LogoBlock::kHeight)
        showError(UiText(Txt::DataErrorCancelled));
    return true;
}

void LogoSection::chbLogoClick()
{
    if (chbLogo->isChecked()) {
        btnLogoOpen->setEnabled(true);
        if (link().serviceMode()) {
            link().setControlsEnabled({QStringLiteral("btnLogoWrite")}, true);
            imgGraphLogo->setEnabled(true);
        }
    } else {
        btnLogoOpen->setEnabled(false);
        imgGraphLogo->setEnabled(false);
    }
}

void LogoSection::btnLogoReadClick()
{
    if (refuseOutsideServiceMode() || !link().beginChain(DeviceLink::Chain::LogoRead))
        return;
    if (!sendRead(kReadBlock0))
        link().endChain(DeviceLink::Chain::LogoRead, DeviceLink::ChainEnd::Stopped);
}

void LogoSection::onReadBlock(int block)
{
    view().setProgress(block + 1);
    link().setControlsEnabled({QStringLiteral("btnLogoWrite")}, true);
    // A loaded picture of another size gives way to a 256 x 128 one, keeping what fits of it.
    if (logo_.size() != LogoBlock::blank().size()) {
        QImage canvas = LogoBlock::blank();
        QPainter(&canvas).drawImage(0, 0, logo_);
        logo_ = canvas;
    }
    LogoBlock::unpack(link().rxAt(4), block, logo_);
    repaintLogo();
    if (block < kLastBlock) {
        if (!sendRead(uint8_t(kReadBlock0 + block + 1)))
            link().endChain(DeviceLink::Chain::LogoRead, DeviceLink::ChainEnd::Stopped);
    } else {
        // The picture is in; the printing flag is one more request of its own.
        link().endChain(DeviceLink::Chain::LogoRead, DeviceLink::ChainEnd::Completed);
        link().SendFrame(kReadFlag, 4);
    }
}

void LogoSection::onFlagReply()
{
    view().setProgress(16);
    chbLogo->setChecked(SwitchIsOn(link().rx(4)));
    view().setProgress(0);
    repaintLogo();
}

bool LogoSection::sendBlock(int block)
{
    link().clearTx();
    link().putTx(4, LogoBlock::pack(pixelSource_, block));
    // Each block waits for the device's request for the next one: a device that stops answering
    // part-way is reported instead of leaving the write hanging.
    return link().SendAwaitingReply(uint8_t(kWriteBlock0 + block), kBlockFrame);
}

void LogoSection::btnLogoWriteClick()
{
    if (!link().serviceMode() || !link().beginChain(DeviceLink::Chain::LogoWrite))
        return;
    pixelSource_ = logo_;
    view().setStatusText(UiText(Txt::Writing));
    if (sendBlock(0)) {
        view().setProgress(1);
    } else {
        link().endChain(DeviceLink::Chain::LogoWrite, DeviceLink::ChainEnd::Stopped);
        endWrite();
    }
}

void LogoSection::onWriteBlockRequest(int block)
{
    view().setStatusText(UiText(Txt::Writing));
    if (!sendBlock(block))
        link().endChain(DeviceLink::Chain::LogoWrite, DeviceLink::ChainEnd::Stopped);
    if (block < kLastBlock)
        view().setProgress(block + 1);
}

void LogoSection::onFlagRequest()
{
    link().endChain(DeviceLink::Chain::LogoWrite, DeviceLink::ChainEnd::Completed);
    link().setTx(4, SwitchByte(chbLogo->isChecked()));
    link().SendFrame(kWriteFlag, 5);
    endWrite();
}
