// The cashier grid at start-up and the cashier read and write chains against a scripted device.
#include "CashiersSection.h"
#include "DeviceLink.h"
#include "TDialog.h"
#include "TestTransport.h"
#include "TfMain.h"
#include "UiText.h"

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

namespace {
class Cashiers : public ::testing::Test {
protected:
    void SetUp() override
    {
        w = std::make_unique<TfMain>();
        w->FormActivate();
        w->link().setTransport(&t);
        w->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
            return 1;
        });
        grid = w->findChild<QTableView *>("sgOperators");
        ASSERT_NE(grid, nullptr);
        read = w->findChild<QPushButton *>("btnORead");
        write = w->findChild<QPushButton *>("btnOWrite");
        ASSERT_TRUE(read && write);
    }
    QString cell(int row, int column) { return grid->model()->index(row, column).data().toString(); }
    void setName(int row, const QString &name) { grid->model()->setData(grid->model()->index(row, 1), name); }
    int progress() { return w->findChild<QProgressBar *>("PBar")->value(); }

    static QByteArray readReply(int k, const QByteArray &name)
    {
        QByteArray field = name.left(32);
        field.append(QByteArray(32 - field.size(), '\0'));
        return QByteArray("\x5F\x90\x21", 3) + char(k) + field + '\r';
    }
    static QByteArray writeReply(int k) { return QByteArray("\x5F\x95\x01", 3) + char(k) + '\r'; }
    static QByteArray writeRequest(int k, const QByteArray &name)
    {
        QByteArray field = name;
        field.append(QByteArray(33 - field.size(), '\0'));
        return QByteArray("\x5F\x95\x22", 3) + char(k) + field + '\r';
    }

    std::unique_ptr<TfMain> w;
    TestTransport t;
    QStringList messages;
    QTableView *grid = nullptr;
    QPushButton *read = nullptr;
    QPushButton *write = nullptr;
};
} // namespace

TEST_F(Cashiers, StartupGrid)
{
    auto *box = w->findChild<QGroupBox *>("gbOperators");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), QRect(4, 26, 470, 389));
    EXPECT_EQ(box->parentWidget()->objectName(), "tabOperators");
    EXPECT_EQ(box->title(), UiText(82));
    EXPECT_EQ(w->findChild<QLabel *>("Label24")->text(), "Бр");
    EXPECT_EQ(w->findChild<QLabel *>("Label25")->text(), "Име/презиме касира :");
    EXPECT_EQ(read->text(), "Читање из касе");
    EXPECT_EQ(write->text(), "Унос у касу");

    EXPECT_EQ(grid->model()->rowCount(), 64);
    EXPECT_EQ(grid->model()->columnCount(), 2);
    EXPECT_TRUE(grid->horizontalHeader()->isHidden()); // no heading row: row i is cashier i + 1
    EXPECT_TRUE(grid->verticalHeader()->isHidden());
    EXPECT_EQ(grid->columnWidth(0), 26);
    EXPECT_EQ(grid->columnWidth(1), 393);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    for (int i : {0, 1, 9, 63}) {
        EXPECT_EQ(cell(i, 0), QString::number(i + 1));
        EXPECT_EQ(cell(i, 1), "Operator " + QString::number(i + 1));
    }
    EXPECT_TRUE(grid->model()->flags(grid->model()->index(5, 1)) & Qt::ItemIsEditable);
}

TEST_F(Cashiers, ReadChainRunsFromOneToSixtyFour)
{
    write->setEnabled(false);
    read->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0], QByteArray("\x5F\x90\x01\x01\x0D", 5));
    EXPECT_TRUE(w->link().replyPending());
    EXPECT_TRUE(w->link().replyTimer().isActive());
    EXPECT_EQ(w->statusText(), UiText(Txt::PleaseWait));

    t.inject(readReply(1, "\xCF\xE5\xF2\xE0\xF0")); // Петар
    EXPECT_EQ(cell(0, 1), QStringLiteral("Петар"));
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_EQ(t.writes[1], QByteArray("\x5F\x90\x01\x02\x0D", 5));
    EXPECT_TRUE(w->link().replyPending()); // follow-on requests wait for their reply too
    EXPECT_TRUE(w->link().replyTimer().isActive());
    EXPECT_FALSE(write->isEnabled()); // held while the read runs; the reply enables it at the end
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));

    // No name defined: the row keeps its text, and the chain goes on.
    t.inject(readReply(5, "\xFF\xFFjunk"));
    EXPECT_EQ(cell(4, 1), "Operator 5");
    EXPECT_EQ(t.lastWrite(), QByteArray("\x5F\x90\x01\x06\x0D", 5));

    // 32 bytes without a terminator read as 32 characters.
    t.inject(readReply(10, QByteArray(32, 'n')));
    EXPECT_EQ(cell(9, 1), QString(32, QChar(u'n')));

    const int before = int(t.writes.size());
    t.inject(readReply(64, "Last"));
    EXPECT_EQ(cell(63, 1), "Last");
    EXPECT_EQ(t.writes.size(), before); // nothing after cashier 64
    EXPECT_TRUE(write->isEnabled());

    // A number outside 1..64 stores nothing.
    t.inject(readReply(0, "Zero"));
    t.inject(readReply(200, "Big"));
    for (int i = 0; i < 64; ++i) {
        EXPECT_NE(cell(i, 1), "Zero");
        EXPECT_NE(cell(i, 1), "Big");
    }
}

TEST_F(Cashiers, ReadRefusedOutsideServiceMode)
{
    w->link().setServiceMode(false);
    read->click();
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleError) + "|" + UiText(Txt::NotInServiceMode)});
}

TEST_F(Cashiers, WriteChainWithTheNameRules)
{
    setName(0, "A"); // one character is enough for cashier 1
    setName(1, "Bo");
    setName(2, QString(40, QChar(u'Ж'))); // too long: cut to 32 so the terminator stays
    write->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0], writeRequest(1, "A"));
    EXPECT_EQ(t.writes[0].size(), 38);
    EXPECT_TRUE(w->link().replyPending()); // the first write awaits its reply
    EXPECT_TRUE(w->link().replyTimer().isActive());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));

    t.inject(writeReply(2));
    EXPECT_EQ(t.lastWrite(), writeRequest(2, "Bo"));
    EXPECT_TRUE(w->link().replyPending()); // and so do the follow-ons
    t.inject(writeReply(3));
    EXPECT_EQ(t.lastWrite(), writeRequest(3, QByteArray(32, char(0xC6))));
    EXPECT_TRUE(messages.isEmpty());

    // A one-character name after cashier 1 stops the chain.
    setName(3, "D");
    t.inject(writeReply(4));
    EXPECT_EQ(t.writes.size(), 3);
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleError) + "|" + UiText(Txt::DataErrorCancelled)});
}

TEST_F(Cashiers, WriteOfCashierSixtyFourAndTheNumberBeyond)
{
    write->click();
    EXPECT_FALSE(write->isEnabled()); // held while the chain runs
    t.inject(writeReply(64));
    EXPECT_EQ(t.lastWrite(), writeRequest(64, "Operator 64"));
    const int before = int(t.writes.size());
    // The device asks for cashier 65 once 64 is written: the write is complete, nothing is shown.
    t.inject(writeReply(65));
    EXPECT_TRUE(write->isEnabled());
    EXPECT_EQ(t.writes.size(), before);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));

    // Any other number beyond 64 is a data error, and so is 65 in the middle of a write.
    const QStringList dataError{UiText(Txt::TitleError) + "|" + UiText(Txt::DataErrorCancelled)};
    write->click();
    t.inject(writeReply(64));
    t.inject(writeReply(66));
    EXPECT_EQ(messages, dataError);
    messages.clear();
    write->click();
    t.inject(writeReply(65));
    EXPECT_EQ(messages, dataError);
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));
}

TEST_F(Cashiers, WriteRefusesAnEmptyFirstNameAndIsSilentOutsideServiceMode)
{
    setName(0, "");
    write->click();
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleError) + "|" + UiText(Txt::DataErrorCancelled)});
    messages.clear();
    setName(0, "Ana");
    w->link().setServiceMode(false);
    write->click();
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

// Read and write started again after a Cancel of the article transfer (the flag is shared) and
// after a chain that stopped inside a reply: the first reply of the new chain is recognised.
TEST_F(Cashiers, ReadAndWriteRestartAfterCancelAndAfterAnAbortedChain)
{
    w->link().BtnOtkazClick();
    ASSERT_TRUE(w->link().cancelFlag());
    read->click();
    t.inject(readReply(1, "Prvi"));
    EXPECT_EQ(cell(0, 1), "Prvi");
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_EQ(t.writes[1], QByteArray("\x5F\x90\x01\x02\x0D", 5));

    t.inject(readReply(2, "Drugi").left(12)); // the device went quiet inside the reply
    ASSERT_EQ(w->link().rxCount(), 12);
    w->link().BtnOtkazClick(); // the technician ends the stuck chain
    read->click();
    t.inject(readReply(1, "Opet"));
    EXPECT_EQ(cell(0, 1), "Opet");
    EXPECT_EQ(cell(1, 1), "Operator 2");
    EXPECT_EQ(t.lastWrite(), QByteArray("\x5F\x90\x01\x02\x0D", 5));

    setName(0, "Ana");
    setName(1, "Bojan");
    w->link().BtnOtkazClick();
    write->click();
    EXPECT_EQ(t.lastWrite(), writeRequest(1, "Ana"));
    t.inject(writeReply(2));
    EXPECT_EQ(t.lastWrite(), writeRequest(2, "Bojan"));
    t.inject(writeReply(3).left(3));
    w->link().BtnOtkazClick();
    write->click();
    t.inject(writeReply(2));
    EXPECT_EQ(t.lastWrite(), writeRequest(2, "Bojan"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}
