#include "LogoSection.h"

#include "Device.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "LogoBlock.h"
#include "LogoOps.h"
#include "LogoPicture.h"
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
    : Section(host, parent), logo_(LogoPicture::blank())
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

    LogoOps &ops = device().logo();
    connect(&ops, &LogoOps::readRequesting, this, [this] { beginRead(); });
    connect(&ops, &LogoOps::blockReceived, this, &LogoSection::showBlock);
    connect(&ops, &LogoOps::flagReceived, this, &LogoSection::showFlag);
    connect(&ops, &LogoOps::blockRequested, this, [this] { view().setStatusText(UiText(Txt::Writing)); });
    connect(&ops, &LogoOps::blockSent, this, [this](int block) {
        if (block < kLastBlock)
            view().setProgress(block + 1);
    });
    connect(&ops, &LogoOps::flagSent, this, [this] { endWrite(); });
    // The flag request carries the check box as it stands when the device asks.
    ops.setFlagSource([this] { return chbLogo->isChecked(); });
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
    if (logo_.size() != LogoPicture::blank().size())
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
    if (refuseOutsideServiceMode())
        return;
    device().logo().read();
}

void LogoSection::showBlock(int block)
{
    view().setProgress(block + 1);
    link().setControlsEnabled({QStringLiteral("btnLogoWrite")}, true);
    // A loaded picture of another size gives way to a 256 x 128 one, keeping what fits of it.
    if (logo_.size() != LogoPicture::blank().size()) {
        QImage canvas = LogoPicture::blank();
        QPainter(&canvas).drawImage(0, 0, logo_);
        logo_ = canvas;
    }
    LogoPicture::drawRows(device().logo().received(), block * LogoBlock::kRowsPerBlock, LogoBlock::kRowsPerBlock,
                          logo_);
    repaintLogo();
}

void LogoSection::showFlag(bool printed)
{
    view().setProgress(16);
    chbLogo->setChecked(printed);
    view().setProgress(0);
    repaintLogo();
}

void LogoSection::btnLogoWriteClick()
{
    if (!link().serviceMode())
        return;
    switch (device().logo().write(LogoPicture::toBitmap(logo_))) {
    case LogoOps::Start::Started:
        view().setProgress(1);
        break;
    case LogoOps::Start::NotSent:
        endWrite();
        break;
    case LogoOps::Start::Busy:
        break;
    }
}
