#pragma once
// Section of the main window for the 256 x 128 graphic logo and its printing flag.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class LogoSection : public Section {
    Q_OBJECT
public:
    LogoSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GBLogo = nullptr;
};
