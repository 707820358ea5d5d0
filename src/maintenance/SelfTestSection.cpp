#include "SelfTestSection.h"

#include "MakeWidget.h"

#include "Device.h"
#include "RadioLabel.h"
#include "SelfTestOps.h"
#include "UiText.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

SelfTestSection::SelfTestSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox4 = new QGroupBox(parent);
    GroupBox4->setObjectName("GroupBox4");
    GroupBox4->setGeometry(geometry);
    GroupBox4->setTitle(QStringLiteral("Тестови"));
    QWidget *g = GroupBox4;

    struct Row {
        QRadioButton **button;
        QLabel **label;
        const char *buttonName;
        const char *labelName;
    };
    const Row rows[] = {{&rbLCDtest, &lbl_LCDtest, "rbLCDtest", "lbl_LCDtest"},
                        {&rbPRNtest, &lbl_PRNtest, "rbPRNtest", "lbl_PRNtest"},
                        {&rbFMtest, &lbl_FMtest, "rbFMtest", "lbl_FMtest"},
                        {&rbPMtest, &lbl_PMtest, "rbPMtest", "lbl_PMtest"}};
    int y = 26;
    for (const Row &r : rows) {
        *r.button = makeWidget<QRadioButton>(g, r.buttonName, QRect(12, y, 18, 18));
        auto *l = new RadioLabel(*r.button, g);
        l->setObjectName(r.labelName);
        l->setGeometry(34, y + 1, 240, 16);
        *r.label = l;
        y += 28;
    }
    BtnTest = makeWidget<QPushButton>(g, "BtnTest", QRect(12, 148, 130, 25));
    connect(BtnTest, &QPushButton::clicked, this, &SelfTestSection::BtnTestClick);
}

void SelfTestSection::activate()
{
    lbl_LCDtest->setText(QStringLiteral("тест дисплеја"));
    lbl_PRNtest->setText(QStringLiteral("тест штампача"));
    lbl_FMtest->setText(QStringLiteral("тест фискалне меморије"));
    lbl_PMtest->setText(QStringLiteral("тест програмске меморије"));
    BtnTest->setText(QStringLiteral("Уради тест"));
}

void SelfTestSection::BtnTestClick()
{
    if (refuseOutsideServiceMode())
        return;
    using Test = SelfTestOps::Test;
    std::optional<Test> test;
    if (rbPMtest->isChecked())
        test = Test::ProgramMemory;
    else if (rbFMtest->isChecked())
        test = Test::FiscalMemory;
    else if (rbPRNtest->isChecked())
        test = Test::Printer;
    else if (rbLCDtest->isChecked())
        test = Test::Display;
    if (!test) {
        showError(QStringLiteral("Није изабрана ни једна опција!"));
        return;
    }
    // The verdict comes back as a long reply the link shows.
    device().selfTest().send(*test);
}
