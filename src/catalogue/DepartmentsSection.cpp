#include "DepartmentsSection.h"

#include "MakeWidget.h"

#include "DepartmentsOps.h"
#include "Device.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "UiText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr const char *kNumberLabels[DepartmentsSection::kDepartments] = {
    "Label3", "Label7", "Label8", "Label9", "Label10", "Label11", "Label12", "Label13", "Label42", "Label44"};
} // namespace

DepartmentsSection::DepartmentsSection(SectionHost &host, QWidget *parent, const QRect &geometry)
    : Section(host, parent)
{
    gbStands = makeWidget<QGroupBox>(parent, "gbStands", geometry);
    gbStands->setTitle(UiText(64));
    QWidget *g = gbStands;

    Label4 = makeWidget<QLabel>(g, "Label4", QRect(8, 18, 22, 14));
    Label5 = makeWidget<QLabel>(g, "Label5", QRect(32, 18, 120, 14));
    for (int i = 0; i < kDepartments; ++i) {
        const int y = 36 + 27 * i;
        numberLabels[size_t(i)] = makeWidget<QLabel>(g, kNumberLabels[i], QRect(6, y + 3, 24, 14));
        numberLabels[size_t(i)]->setText(i < 9 ? QStringLiteral(" %1. ").arg(i + 1) : QStringLiteral("10."));
        const QByteArray name = "edtS" + QByteArray::number(i + 1) + "Name";
        edtSName[size_t(i)] = makeWidget<QLineEdit>(g, name.constData(), QRect(32, y, 120, 21));
        edtSName[size_t(i)]->setMaxLength(kNameLength);
    }
    chbResMode = makeWidget<QCheckBox>(g, "chbResMode", QRect(8, 306, 18, 18));
    chbResMode->setChecked(true);
    lblResMode = makeWidget<QLabel>(g, "lblResMode", QRect(28, 308, 124, 14));
    btnSTRead = makeWidget<QPushButton>(g, "btnSTRead", QRect(8, 328, 144, 25));
    btnSTWrite = makeWidget<QPushButton>(g, "btnSTWrite", QRect(8, 356, 144, 25));
    connect(btnSTRead, &QPushButton::clicked, this, &DepartmentsSection::btnSTReadClick);
    connect(btnSTWrite, &QPushButton::clicked, this, &DepartmentsSection::btnSTWriteClick);

    connect(&device().departments(), &DepartmentsOps::received, this, &DepartmentsSection::showRecord);
}

void DepartmentsSection::activate()
{
    gbStands->setTitle(UiText(64));
    Label4->setText(UiText(105));
    Label5->setText(UiText(65));
    lblResMode->setText(UiText(111));
    btnSTRead->setText(UiText(Txt::Read));
    btnSTWrite->setText(UiText(Txt::Write));
}

void DepartmentsSection::btnSTReadClick()
{
    if (refuseOutsideServiceMode())
        return;
    beginRead();
    device().departments().read();
}

void DepartmentsSection::showRecord(const DepartmentsRecord &r)
{
    view().setProgress(16);
    for (int i = 0; i < kDepartments; ++i)
        edtSName[size_t(i)]->setText(r.names[size_t(i)]);
    chbResMode->setChecked(r.restaurantMode);
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
    btnSTWrite->setEnabled(true);
}

void DepartmentsSection::btnSTWriteClick()
{
    if (!link().serviceMode())
        return;
    QStringList names;
    for (QLineEdit *e : edtSName)
        names.append(e->text());
    if (!confirmCodePage(names))
        return;
    beginWrite(1);
    DepartmentsRecord r;
    for (int i = 0; i < kDepartments; ++i)
        r.names[size_t(i)] = names.at(i);
    r.restaurantMode = chbResMode->isChecked();
    if (device().departments().write(r) == DepartmentsOps::Write::Invalid)
        showError(UiText(Txt::DataErrorCancelled));
    endWrite();
}
