// Before a write sends texts, characters the printer's code page cannot hold are named and the
// technician decides whether the write goes on; nothing is sent before that answer.
#include "CatalogueFixture.h"
#include "ToolText.h"
#include "UiText.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

namespace {
class CodePageWarning : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        w->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText() +
                            (d.Button2->isVisibleTo(&d) ? "|two buttons" : ""));
            return answer;
        });
    }
    void type(const char *edit, const QString &text) { w->findChild<QLineEdit *>(edit)->setText(text); }
    void press(const char *button)
    {
        auto *b = w->findChild<QPushButton *>(button);
        ASSERT_NE(b, nullptr) << button;
        b->setEnabled(true); // write buttons are enabled by a read
        b->click();
    }
    static QString question(const QString &characters)
    {
        return UiText(Txt::TitleWarning) + "|" + ToolText::unencodableQuestion(characters) + "|two buttons";
    }
    // Presses a write button twice: once answering "ОТКАЗ" (nothing may go out), once "У РЕДУ".
    // Returns the number of frames the second press sent.
    int cancelThenConfirm(const char *button, const QString &characters)
    {
        messages.clear();
        t.writes.clear();
        answer = 0;
        press(button);
        EXPECT_TRUE(t.writes.isEmpty()) << button;
        EXPECT_EQ(messages, QStringList{question(characters)}) << button;
        messages.clear();
        answer = 1;
        press(button);
        EXPECT_FALSE(messages.isEmpty() || messages.first() != question(characters)) << button;
        return int(t.writes.size());
    }

    int answer = 1;
};
} // namespace

TEST_F(CodePageWarning, TaxpayerNamesTheCharactersAndSendsQuestionMarksOnlyWhenConfirmed)
{
    type("edtPr_Name", QStringLiteral("Čačak, Šumadijska 1"));
    type("edtDZL_Bulstat", QStringLiteral("12345"));
    ASSERT_EQ(cancelThenConfirm("btnCompanyWrite", QStringLiteral("Č č Š")), 1);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(t.writes[0].mid(3, 20), QByteArray("?a?ak, ?umadijska 1\0", 20));
    // The edit keeps what the technician typed.
    EXPECT_EQ(w->findChild<QLineEdit *>("edtPr_Name")->text(), QStringLiteral("Čačak, Šumadijska 1"));
}

TEST_F(CodePageWarning, TextsTheCodePageHoldsAreSentWithoutAQuestion)
{
    type("edtPr_Name", QStringLiteral("Ђурђевак, Novi Sad № 5 «Ћ»"));
    type("edtDZL_Bulstat", QStringLiteral("12345"));
    press("btnCompanyWrite");
    EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
    EXPECT_EQ(t.writes.size(), 1);

    // A display line sends its first 17 characters only: what lies beyond is not asked about.
    type("edtLCD1_1", QString(17, QChar('x')) + QStringLiteral("Ž"));
    press("btnWriteCliche");
    EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
    EXPECT_EQ(t.writes.size(), 2);
}

TEST_F(CodePageWarning, EveryWriteThatSendsTextAsksFirst)
{
    type("edtSBottom", QStringLiteral("Hvala, dođite opet"));
    EXPECT_EQ(cancelThenConfirm("btnWriteCliche", QStringLiteral("đ")), 1);

    for (int n = 1; n <= 10; ++n)
        type(QByteArray("edtS" + QByteArray::number(n) + "Name").constData(), QStringLiteral("Одељење %1").arg(n));
    type("edtS7Name", QStringLiteral("Ćevapi"));
    EXPECT_EQ(cancelThenConfirm("btnSTWrite", QStringLiteral("Ć")), 1);

    QAbstractItemModel *cashiers = w->findChild<QTableView *>("sgOperators")->model();
    cashiers->setData(cashiers->index(40, 1), QStringLiteral("Žarko"));
    EXPECT_EQ(cancelThenConfirm("btnOWrite", QStringLiteral("Ž")), 1);
    w->link().BtnOtkazClick(); // no device answers here: end the write so the next may start

    // The article write looks at the whole table, down to its last row.
    w->articles().setCell(ArticleModel::Name, ArticleModel::kArticles, QStringLiteral("Šljivovica"));
    EXPECT_EQ(cancelThenConfirm("btnAWrite", QStringLiteral("Š")), 1);
    w->link().BtnOtkazClick();

    // The fiscal data: asked before the one-time question, which a cancel never reaches.
    type("edtDZL_DanNo", QStringLiteral("10000000Č"));
    messages.clear();
    t.writes.clear();
    answer = 0;
    press("btnWrite");
    EXPECT_EQ(messages, QStringList{question(QStringLiteral("Č"))});
    EXPECT_TRUE(t.writes.isEmpty());
}

TEST_F(CodePageWarning, InvisibleCharactersAreNamedByTheirCode)
{
    type("edtPr_Name", QStringLiteral("Ana\u200BMarija"));
    type("edtDZL_Bulstat", QStringLiteral("12345"));
    answer = 0;
    press("btnCompanyWrite");
    EXPECT_EQ(messages, QStringList{question(QStringLiteral("U+200B"))});
    EXPECT_TRUE(t.writes.isEmpty());
}
