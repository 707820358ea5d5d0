#include "ReceiptLinesSection.h"

#include "Device.h"
#include "DeviceLink.h"
#include "LabelledEdit.h"
#include "LinkView.h"
#include "MakeWidget.h"
#include "ReceiptLinesOps.h"
#include "UiText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kTypingLimit = 31;

QCheckBox *makeBox(QWidget *parent, const char *name, int x, int y)
{
    auto *b = new QCheckBox(parent);
    b->setObjectName(name);
    b->setGeometry(x, y, 16, 18);
    // The boxes start ticked so that clearing them at activation runs their behaviour.
    b->setChecked(true);
    return b;
}

QLabel *makeCaption(QWidget *parent, const char *name, const QString &text, int x, int y, QCheckBox *box)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    l->setBuddy(box);
    return l;
}

void setPaleBackground(QLineEdit *e)
{
    // Enabled edits only: a switched-off line keeps the usual disabled look.
    setEnabledColour(e, {QPalette::Base}, QColor(0xFF, 0xFF, 0xE1));
}
} // namespace

ReceiptLinesSection::ReceiptLinesSection(SectionHost &host, QWidget *parent, const QRect &geometry)
    : Section(host, parent)
{
    GBKlishe = new QGroupBox(parent);
    GBKlishe->setObjectName("GBKlishe");
    GBKlishe->setGeometry(geometry);
    GBKlishe->setTitle(UiText(63));

    // Receipt lines: box and its caption on the left, the labelled edit on the right.
    struct ReceiptRow {
        QCheckBox **box;
        const char *boxName;
        QLabel **caption;
        const char *captionName;
        int captionEntry;
        QLineEdit **edit;
        const char *editName;
        int editEntry;
    };
    const ReceiptRow receiptRows[] = {
        {&chbFTop, "chbFTop", &chbFTopLabel, "chbFTopLabel", 79, &edtFTop, "edtFTop", 78},
        {&chbSTop, "chbSTop", &chbSTopLabel, "chbSTopLabel", 50, &edtSTop, "edtSTop", 49},
        {&chbFBottom, "chbFBottom", &chbFBottomLabel, "chbFBottomLabel", 81, &edtFBottom, "edtFBottom", 80},
        {&chbSBottom, "chbSBottom", &chbSBottomLabel, "chbSBottomLabel", 52, &edtSBottom, "edtSBottom", 51}};
    int y = 20;
    for (const ReceiptRow &r : receiptRows) {
        *r.box = makeBox(GBKlishe, r.boxName, 8, y + 2);
        *r.caption = makeCaption(GBKlishe, r.captionName, UiText(r.captionEntry), 26, y + 3, *r.box);
        *r.edit = LabelledEdit::create(GBKlishe, r.editName, UiText(r.editEntry), {110, y + 3}, QRect(186, y, 202, 21),
                                       kTypingLimit);
        y += 27;
    }

    // Display lines: working pair on the left, closed pair on the right.
    struct DisplayRow {
        QCheckBox **box;
        const char *boxName;
        QLabel **caption;
        const char *captionName;
        const char *captionText;
        QLineEdit **edit;
        const char *editName;
        const char *editCaption;
        int x, y;
    };
    const DisplayRow displayRows[] = {
        {&chbLCD1_1, "chbLCD1_1", &chbLCD1Label, "chbLCD1Label", "Први ред", &edtLCD1_1, "edtLCD1_1", "Први", 8, 132},
        {&chbLCD1_2, "chbLCD1_2", &Label14, "Label14", "Други ред", &edtLCD1_2, "edtLCD1_2", "Други", 8, 180},
        {&chbLCD2_1, "chbLCD2_1", &Label15, "Label15", "Први ред-затворен", &edtLCD2_1, "edtLCD2_1", "Први", 200, 132},
        {&chbLCD2_2, "chbLCD2_2", &Label20, "Label20", "Други ред-затворен", &edtLCD2_2, "edtLCD2_2", "Други", 200,
         180}};
    for (const DisplayRow &r : displayRows) {
        *r.box = makeBox(GBKlishe, r.boxName, r.x, r.y);
        *r.caption = makeCaption(GBKlishe, r.captionName, QString::fromUtf8(r.captionText), r.x + 18, r.y + 2, *r.box);
        *r.edit = LabelledEdit::create(GBKlishe, r.editName, QString::fromUtf8(r.editCaption), {r.x, r.y + 22},
                                       QRect(r.x + 40, r.y + 19, 146, 20), kTypingLimit);
    }
    for (QLineEdit *e : edits())
        setPaleBackground(e);

    btnReadCliche = new QPushButton(UiText(Txt::Read), GBKlishe);
    btnReadCliche->setObjectName("btnReadCliche");
    btnReadCliche->setGeometry(156, 230, 114, 25);
    btnWriteCliche = new QPushButton(UiText(Txt::Write), GBKlishe);
    btnWriteCliche->setObjectName("btnWriteCliche");
    btnWriteCliche->setGeometry(274, 230, 114, 25);

    connect(btnReadCliche, &QPushButton::clicked, this, &ReceiptLinesSection::btnReadClicheClick);
    connect(btnWriteCliche, &QPushButton::clicked, this, &ReceiptLinesSection::btnWriteClicheClick);
    connect(chbFTop, &QCheckBox::toggled, this, &ReceiptLinesSection::chbFTopClick);
    connect(chbSTop, &QCheckBox::toggled, this, &ReceiptLinesSection::chbSTopClick);
    connect(chbFBottom, &QCheckBox::toggled, this, &ReceiptLinesSection::chbFBottomClick);
    connect(chbSBottom, &QCheckBox::toggled, this, &ReceiptLinesSection::chbSBottomClick);
    connect(chbLCD1_1, &QCheckBox::toggled, this, &ReceiptLinesSection::chbLCD1_1Click);
    connect(chbLCD1_2, &QCheckBox::toggled, this, &ReceiptLinesSection::chbLCD1_2Click);
    connect(chbLCD2_1, &QCheckBox::toggled, this, &ReceiptLinesSection::chbLCD2_1Click);
    connect(chbLCD2_2, &QCheckBox::toggled, this, &ReceiptLinesSection::chbLCD2_2Click);
    connect(&device().receiptLines(), &ReceiptLinesOps::received, this, &ReceiptLinesSection::showRecord);
}

std::array<QCheckBox *, 8> ReceiptLinesSection::boxes() const
{
    return {chbFTop, chbSTop, chbFBottom, chbSBottom, chbLCD1_1, chbLCD1_2, chbLCD2_1, chbLCD2_2};
}

std::array<QLineEdit *, 8> ReceiptLinesSection::edits() const
{
    return {edtFTop, edtSTop, edtFBottom, edtSBottom, edtLCD1_1, edtLCD1_2, edtLCD2_1, edtLCD2_2};
}

void ReceiptLinesSection::activate()
{
    for (QCheckBox *b : {chbFTop, chbSTop, chbFBottom, chbSBottom, chbLCD1_1, chbLCD2_1, chbLCD1_2, chbLCD2_2})
        b->setChecked(false);
}

void ReceiptLinesSection::chbFTopClick()
{
    edtFTop->setEnabled(chbFTop->isChecked());
}

void ReceiptLinesSection::chbSTopClick()
{
    edtSTop->setEnabled(chbSTop->isChecked());
}

void ReceiptLinesSection::chbFBottomClick()
{
    edtFBottom->setEnabled(chbFBottom->isChecked());
}

void ReceiptLinesSection::chbSBottomClick()
{
    edtSBottom->setEnabled(chbSBottom->isChecked());
}

void ReceiptLinesSection::chbLCD1_1Click()
{
    edtLCD1_1->setEnabled(chbLCD1_1->isChecked());
}

void ReceiptLinesSection::chbLCD1_2Click()
{
    edtLCD1_2->setEnabled(chbLCD1_2->isChecked());
}

void ReceiptLinesSection::chbLCD2_1Click()
{
    edtLCD2_1->setEnabled(chbLCD2_1->isChecked());
}

void ReceiptLinesSection::chbLCD2_2Click()
{
    edtLCD2_2->setEnabled(chbLCD2_2->isChecked());
}

void ReceiptLinesSection::btnReadClicheClick()
{
    if (refuseOutsideServiceMode())
        return;
    beginRead();
    device().receiptLines().read();
}

void ReceiptLinesSection::showRecord(const ReceiptLinesRecord &r)
{
    view().setProgress(16);
    btnWriteCliche->setEnabled(true);
    const auto b = boxes();
    const auto e = edits();
    for (size_t i = 0; i < 8; ++i) {
        // setChecked runs the box's behaviour only when its state changes.
        b[i]->setChecked(i < 4 ? r.receiptOn[i] : r.displayOn[i - 4]);
        LabelledEdit::setTextUncut(e[i], i < 4 ? r.receipt[i] : r.display[i - 4]);
    }
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
}

void ReceiptLinesSection::btnWriteClicheClick()
{
    if (!link().serviceMode())
        return;
    QStringList texts;
    const auto lines = edits();
    for (size_t i = 0; i < lines.size(); ++i) // the display lines send their first 17 characters
        texts.append(i < 4 ? lines[i]->text() : lines[i]->text().left(ReceiptLinesRecord::kDisplayWidth));
    if (!confirmCodePage(texts))
        return;
    beginWrite(16);
    ReceiptLinesRecord r;
    const auto b = boxes();
    const auto e = edits();
    for (size_t i = 0; i < 4; ++i) {
        r.receipt[i] = e[i]->text();
        r.receiptOn[i] = b[i]->isChecked();
        r.display[i] = e[i + 4]->text();
        r.displayOn[i] = b[i + 4]->isChecked();
    }
    device().receiptLines().write(r);
    endWrite();
}
