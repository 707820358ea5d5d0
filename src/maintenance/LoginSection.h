#pragma once
// The operator login button of the main window's fourth page.

#include "Section.h"

#include <QRect>

class QPushButton;
class QWidget;

class LoginSection : public Section {
    Q_OBJECT
public:
    LoginSection(SectionHost &host, QWidget *page, const QRect &geometry);

    void activate() override;

    // Operator login: the 13-byte long frame with command 0x01, sent in or out of service mode.
    void PrijavaOperatera();
    void BtnPrijavaClick() { PrijavaOperatera(); }

    QPushButton *BtnPrijava = nullptr;
};
