#include "LoginSection.h"

#include "MakeWidget.h"

#include "Device.h"
#include "LoginOps.h"

#include <QPushButton>

LoginSection::LoginSection(SectionHost &host, QWidget *page, const QRect &geometry) : Section(host)
{
    BtnPrijava = makeWidget<QPushButton>(page, "BtnPrijava", geometry);
    connect(BtnPrijava, &QPushButton::clicked, this, &LoginSection::BtnPrijavaClick);
}

void LoginSection::activate()
{
    BtnPrijava->setText(QStringLiteral("Пријава"));
}

void LoginSection::PrijavaOperatera()
{
    // No status text, no progress, no reply timer: the device's answer is the link's business.
    device().login().send();
}
