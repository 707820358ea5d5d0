// Departments on the window: names and restaurant mode from the read reply, the write request.
#include "DepartmentsSection.h"
#include "CatalogueFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
class Departments : public CatalogueTest {
protected:
    DepartmentsSection &s() { return section<DepartmentsSection>(); }
    QLineEdit *edit(int n) { return child<QLineEdit>(QByteArray("edtS" + QByteArray::number(n) + "Name").constData()); }
    // Reply data: ten 19-byte fields and the mode byte at reply position 194.
    static QByteArray replyData(const QList<QByteArray> &fields, uint8_t mode)
    {
        QByteArray d(191, '\0');
        for (int n = 0; n < fields.size() && n < 10; ++n)
            d.replace(19 * n, fields[n].size(), fields[n]);
        d[190] = char(mode);
        return d;
    }
    void fillAll()
    {
        for (int n = 1; n <= 10; ++n)
            edit(n)->setText(QStringLiteral("Одељење %1").arg(n));
    }
};
} // namespace

TEST_F(Departments, StartUpControls)
{
    EXPECT_EQ(s().gbStands->title(), " Одељења : ");
    EXPECT_EQ(s().gbStands->geometry(), QRect(200, 26, 160, 389));
    EXPECT_EQ(child<QLabel>("Label4")->text(), "Бр");
    EXPECT_EQ(child<QLabel>("Label5")->text(), "Назив одељења :");
    EXPECT_EQ(child<QLabel>("Label3")->text(), " 1. ");
    EXPECT_EQ(child<QLabel>("Label13")->text(), " 8. ");
    EXPECT_EQ(child<QLabel>("Label42")->text(), " 9. ");
    EXPECT_EQ(child<QLabel>("Label44")->text(), "10.");
    for (int n = 1; n <= 10; ++n) {
        ASSERT_NE(edit(n), nullptr) << n;
        EXPECT_EQ(edit(n)->maxLength(), 18);
    }
    EXPECT_TRUE(child<QCheckBox>("chbResMode")->isChecked());
    EXPECT_EQ(child<QLabel>("lblResMode")->text(), "Ресторански режим");
    EXPECT_EQ(s().btnSTRead->text(), "Читање из касе");
    EXPECT_EQ(s().btnSTWrite->text(), "Унос у касу");
}

TEST_F(Departments, ReadRequestAndReply)
{
    QTest::mouseClick(s().btnSTRead, Qt::LeftButton);
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].toHex(' '), "5f a0 00 0d");
    EXPECT_TRUE(w->link().replyPending());

    s().btnSTWrite->setEnabled(false);
    edit(3)->setText("old");
    // 18 bytes without a zero give 18 characters (the 19th byte is not read); a field starting
    // with a zero empties its box; Windows-1251 text is decoded.
    reply(0xA0, replyData({"ABCDEFGHIJKLMNOPQRS", "\xCF\xE8\xE5\xFB\xE0", QByteArray("\0xyz", 4)}, 0xCC));
    EXPECT_EQ(edit(1)->text(), "ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(edit(2)->text(), "Пиеыа");
    EXPECT_EQ(edit(3)->text(), "");
    EXPECT_EQ(edit(10)->text(), "");
    EXPECT_TRUE(child<QCheckBox>("chbResMode")->isChecked());
    EXPECT_TRUE(s().btnSTWrite->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), "Фискални принтер је у сервисном режиму...");
    EXPECT_TRUE(messages.isEmpty());

    for (uint8_t mode : {0x33, 0x00, 0xFF, 0xCD}) {
        child<QCheckBox>("chbResMode")->setChecked(true);
        reply(0xA0, replyData({}, mode));
        EXPECT_FALSE(child<QCheckBox>("chbResMode")->isChecked()) << int(mode);
    }
}

TEST_F(Departments, WriteFrameLayout)
{
    fillAll();
    edit(1)->setText("ABCDEFGHIJKLMNOPQR"); // 18 characters: one zero byte behind it
    edit(2)->setText("Пиће");
    child<QCheckBox>("chbResMode")->setChecked(false);
    QTest::mouseClick(s().btnSTWrite, Qt::LeftButton);
    ASSERT_EQ(t.writes.size(), 1);
    const QByteArray f = t.writes[0];
    ASSERT_EQ(f.size(), 196);
    EXPECT_EQ(f.left(3).toHex(' '), "5f a5 c0");
    EXPECT_EQ(f.mid(3, 19), QByteArray("ABCDEFGHIJKLMNOPQR") + '\0');
    EXPECT_EQ(f.mid(22, 19), QByteArray("\xCF\xE8\x9E\xE5") + QByteArray(15, '\0'));
    EXPECT_EQ(f.mid(3 + 19 * 9, 19), QByteArray("\xCE\xE4\xE5\x9A\xE5\x9C\xE5 10") + QByteArray(9, '\0'));
    EXPECT_EQ(uint8_t(f[193]), 0x00); // position 194
    EXPECT_EQ(uint8_t(f[194]), 0x33); // position 195: mode off
    EXPECT_EQ(uint8_t(f[195]), 0x0D);
    EXPECT_FALSE(w->link().replyPending());
    EXPECT_TRUE(s().btnSTWrite->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), "Фискални принтер је у сервисном режиму...");

    child<QCheckBox>("chbResMode")->setChecked(true);
    QTest::mouseClick(s().btnSTWrite, Qt::LeftButton);
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_EQ(uint8_t(t.writes[1][193]), 0x00);
    EXPECT_EQ(uint8_t(t.writes[1][194]), 0xCC);
}

TEST_F(Departments, ShortNameRefusesTheWrite)
{
    for (const char *bad : {"", "X"}) {
        messages.clear();
        fillAll();
        edit(7)->setText(bad);
        QTest::mouseClick(s().btnSTWrite, Qt::LeftButton);
        EXPECT_TRUE(t.writes.isEmpty()) << bad;
        EXPECT_EQ(messages, QStringList({"Грешка !!! |Грешка у подацима ! Упис је отказан"}));
        EXPECT_EQ(edit(7)->text(), bad);
        EXPECT_EQ(edit(1)->text(), "Одељење 1");
        EXPECT_EQ(progress(), 0);
    }
    fillAll();
    edit(7)->setText("XY");
    QTest::mouseClick(s().btnSTWrite, Qt::LeftButton);
    EXPECT_EQ(t.writes.size(), 1);
}

TEST_F(Departments, OutsideServiceMode)
{
    fillAll();
    w->link().setServiceMode(false);
    QTest::mouseClick(s().btnSTWrite, Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty());
    QTest::mouseClick(s().btnSTRead, Qt::LeftButton);
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_EQ(messages, QStringList({"Грешка !!! |Фискални принтер није у сервисном режиму."}));
}
