#pragma once
// Section of the main window for the 256 x 128 graphic logo and its printing flag.

#include "Section.h"

#include <QImage>
#include <QRect>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

class LogoSection : public Section {
    Q_OBJECT
public:
    LogoSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    // Shows the picture-open dialog (OPD), then loads the chosen file.
    void btnLogoOpenClick();
    // Loads a picture file into imgGraphLogo; warns when it is not 256 x 128. False when unreadable.
    bool loadLogoFile(const QString &path);
    // Starts the read chain: blocks 0xE0..0xEF, then the flag 0x55.
    void btnLogoReadClick();
    // Sends block 0 from imgGraphLogo; the device asks for the rest and then for the flag.
    void btnLogoWriteClick();
    // Runs when chbLogo changes state.
    void chbLogoClick();

    // The file choice of btnLogoOpen; returns an empty path when cancelled. Replaceable for tests.
    void setFileChooser(std::function<QString()> chooser) { fileChooser_ = std::move(chooser); }

    // The picture shown in imgGraphLogo (any size after a load; 256 x 128 after a read).
    const QImage &logo() const { return logo_; }

    QGroupBox *GBLogo = nullptr;
    QCheckBox *chbLogo = nullptr;
    QLabel *chbLogoLabel = nullptr;
    QLabel *imgGraphLogo = nullptr;
    QPushButton *btnLogoOpen = nullptr;
    QPushButton *btnLogoRead = nullptr;
    QPushButton *btnLogoWrite = nullptr;

private:
    QString choosePictureFile();
    // Reply 0xE0 + block: its rows drawn into the picture.
    void showBlock(int block);
    // Reply 0x55: the flag into chbLogo.
    void showFlag(bool printed);
    void repaintLogo();

    QImage logo_;
    std::function<QString()> fileChooser_;
};
