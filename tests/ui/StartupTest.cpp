// Start-up state of the main window: top band, pages, grids, status bar, fkase.ini.
#include "ArticleModel.h"
#include "DeviceLink.h"
#include "TDialog.h"
#include "TestTransport.h"
#include "TfMain.h"
#include "UiText.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {
// Runs each test in a fresh current directory so that "fkase.ini" is under the test's control.
class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        old = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(old); }
    std::unique_ptr<TfMain> activated()
    {
        auto w = std::make_unique<TfMain>();
        w->FormActivate();
        return w;
    }
    void writeIni(const QByteArray &content)
    {
        QFile f(dir.filePath("fkase.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QTemporaryDir dir;
    QString old;
};
} // namespace

TEST_F(Startup, TopBandCaptionsAndTransportDefaults)
{
    auto w = activated();
    EXPECT_EQ(w->windowTitle(), "Parametrizacija za fiskalni printer v.3.4");
    auto text = [&](const char *name) {
        if (auto *l = w->findChild<QLabel *>(name))
            return l->text();
        if (auto *b = w->findChild<QPushButton *>(name))
            return b->text();
        ADD_FAILURE() << "missing " << name;
        return QString();
    };
    EXPECT_EQ(text("lblReceive"), "Примање података");
    EXPECT_EQ(text("lblTransmit"), "Слање података");
    EXPECT_EQ(text("Label48"), "Порт Баркод читача:");
    EXPECT_EQ(text("Label22"), "Комуникациони порт :");
    EXPECT_EQ(text("btnCom1"), "Отвори порт");
    EXPECT_EQ(text("btnCOM"), "Отвори порт");
    EXPECT_EQ(text("btnBCCom"), "Отвори порт");
    EXPECT_EQ(text("btnClose"), "Излаз");
    EXPECT_EQ(text("btPage1"), "Подаци о трговцу, време и датум");
    EXPECT_EQ(text("btPage2"), "Пореске групе, артикли и одељења");
    EXPECT_EQ(text("btPage3"), "Касири");
    EXPECT_EQ(text("btPage4"), "ИП адреса и други параметри");
    EXPECT_EQ(text("BtnPrijava"), "Пријава");
    EXPECT_EQ(text("BtnOtkaz"), "Прекини");

    auto *port = w->findChild<QComboBox *>("CB_ComPort");
    ASSERT_NE(port, nullptr);
    ASSERT_GE(port->count(), 4);
    EXPECT_EQ(port->itemText(0), "COM1");
    EXPECT_EQ(port->itemText(3), "COM4");
    EXPECT_EQ(port->currentText(), "COM1");
    EXPECT_EQ(w->findChild<QLineEdit *>("edtIP")->text(), "172.16.1.199");
    EXPECT_EQ(w->findChild<QPushButton *>("btnClose")->size(), QSize(106, 152));
    auto *bar = w->findChild<QProgressBar *>("PBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 16);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(Startup, LinkStartsInServiceModeWithEmptyBuffers)
{
    auto w = activated();
    DeviceLink &link = w->link();
    EXPECT_TRUE(link.serviceMode());
    EXPECT_FALSE(link.serialTransport());
    EXPECT_FALSE(link.replyPending());
    EXPECT_FALSE(link.cancelFlag());
    EXPECT_FALSE(link.disconnectAfterExit());
    EXPECT_EQ(link.rxCount(), 0);
    EXPECT_FALSE(link.replyTimer().isActive());
    EXPECT_EQ(link.replyTimer().interval(), 5000);
}

TEST_F(Startup, PageButtonsSwitchPagesAndFirstPageShowsAtStart)
{
    auto w = activated();
    auto *page = w->findChild<QTabWidget *>("Page");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->count(), 4);
    EXPECT_EQ(page->currentWidget()->objectName(), "TabCompany");
    const std::pair<const char *, const char *> pairs[] = {
        {"btPage2", "tabTaxGroups"}, {"btPage3", "tabOperators"}, {"btPage4", "TabSheet1"}, {"btPage1", "TabCompany"}};
    for (auto [button, pageName] : pairs) {
        QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
        EXPECT_EQ(page->currentWidget()->objectName(), pageName) << button;
    }
    const int lefts[] = {2, 177, 373, 550};
    const int widths[] = {176, 197, 178, 178};
    for (int i = 0; i < 4; ++i) {
        auto *b = w->findChild<QPushButton *>(QString("btPage%1").arg(i + 1));
        EXPECT_EQ(b->x(), lefts[i]);
        EXPECT_EQ(b->width(), widths[i]);
        EXPECT_EQ(b->height(), 22);
    }
}

TEST_F(Startup, FactoryNumberFromFirstLineOfIni)
{
    writeIni("123456\r\nsecond line\r\n");
    auto w = activated();
    EXPECT_EQ(w->factoryNumber(), "123456");
}

TEST_F(Startup, MissingOrEmptyIniGivesEmptyFactoryNumber)
{
    auto w = activated();
    EXPECT_EQ(w->factoryNumber(), "");
    writeIni("\n42\n");
    auto w2 = activated();
    EXPECT_EQ(w2->factoryNumber(), "");
}

TEST_F(Startup, UnreadableIniDoesNotStopTheStart)
{
    // A directory named fkase.ini exists but cannot be read as a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("fkase.ini"));
    auto w = activated();
    EXPECT_EQ(w->factoryNumber(), "");
}

TEST_F(Startup, LoginFrameCarriesFactoryNumber)
{
    writeIni("123456\n");
    auto w = activated();
    TestTransport t;
    w->link().setTransport(&t);
    w->link().setServiceMode(false); // the login is sent whatever the flag says
    QTest::mouseClick(w->findChild<QPushButton *>("BtnPrijava"), Qt::LeftButton);
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].toHex(' '), "aa 04 01 12 34 56 01 01 01 01 4f df 0d");
}

TEST_F(Startup, LoginWithoutIniAndPartialReplyDiscarded)
{
    auto w = activated();
    TestTransport t;
    w->link().setTransport(&t);
    t.inject(QByteArray("\x5F\x30\x02\x01", 4)); // a partial reply waiting in the buffer
    EXPECT_EQ(w->link().rxCount(), 4);
    w->PrijavaOperatera();
    w->PrijavaOperatera();
    EXPECT_EQ(w->link().rxCount(), 0);
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_EQ(t.writes[0].toHex(' '), "aa 04 01 00 00 00 01 01 01 01 b3 af 0d");
    EXPECT_EQ(t.writes[0], t.writes[1]);
}

TEST_F(Startup, ExitSendsLeaveServiceModeOnlyOverOpenSerialPort)
{
    {
        auto w = activated();
        TestTransport t(false);
        w->link().setTransport(&t);
        w->link().setSerialTransport(true);
        w->show();
        w->btnCloseClick();
        ASSERT_EQ(t.writes.size(), 1);
        EXPECT_EQ(t.writes[0].toHex(' '), "5f 10 00 0d");
        EXPECT_FALSE(w->isVisible());
    }
    {
        auto w = activated();
        TestTransport t(true);
        w->link().setTransport(&t); // TCP: nothing is sent
        w->btnCloseClick();
        EXPECT_TRUE(t.writes.isEmpty());
    }
}

TEST_F(Startup, FactoryNumberInUseAndFileProblemsShowBesideTheLogin)
{
    auto shown = [](TfMain &w) {
        auto *label = w.findChild<QLabel *>("lblFabrickiBroj");
        EXPECT_NE(label, nullptr);
        EXPECT_EQ(label ? label->text() : QString(), w.findChild<QPushButton *>("BtnPrijava")->toolTip());
        return label ? label->text() : QString();
    };
    EXPECT_EQ(shown(*activated()),
              QStringLiteral("Фабрички број: 000000\nНема датотеке fkase.ini у радном директоријуму."));

    writeIni("1234\r\n");
    EXPECT_EQ(shown(*activated()), QStringLiteral("Фабрички број: 001234"));
    writeIni("12345678\n");
    EXPECT_EQ(shown(*activated()),
              QStringLiteral("Фабрички број: 123456\nПрви ред датотеке fkase.ini није број од највише шест цифара."));
    writeIni("\n42\n");
    EXPECT_EQ(shown(*activated()),
              QStringLiteral("Фабрички број: 000000\nПрви ред датотеке fkase.ini није број од највише шест цифара."));

    ASSERT_TRUE(QFile::remove(dir.filePath("fkase.ini")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("fkase.ini")); // exists, but cannot be read as a file
    const QString unreadable = shown(*activated());
    EXPECT_TRUE(
        unreadable.startsWith(QStringLiteral("Фабрички број: 000000\nДатотека fkase.ini не може да се прочита: ")))
        << unreadable.toStdString();
    EXPECT_GT(unreadable.size(),
              QStringLiteral("Фабрички број: 000000\nДатотека fkase.ini не може да се прочита: ").size());
}

TEST_F(Startup, OtherPagesFollowTheFirstPaintOrComeWhenNeeded)
{
    auto waitFor = [](const std::function<bool()> &done) {
        for (int i = 0; i < 200 && !done(); ++i)
            QTest::qWait(5);
        return done();
    };
    // Shown: the first page is there at once, the others once the window has been painted.
    TfMain w;
    w.show();
    EXPECT_NE(w.findChild<QPushButton *>("btnCompanyRead"), nullptr);
    EXPECT_EQ(w.findChild<QPushButton *>("btnARead"), nullptr);
    ASSERT_TRUE(waitFor([&] { return w.findChild<QPushButton *>("btnARead") != nullptr; }));
    // Built after the activation, they are activated too.
    EXPECT_EQ(w.findChild<QPushButton *>("BtnOtkaz")->text(), QStringLiteral("Прекини"));
    EXPECT_TRUE(w.findChild<QLabel *>("lblFabrickiBroj")->text().startsWith(QStringLiteral("Фабрички број: ")));
    EXPECT_EQ(w.findChild<QPushButton *>("btnBCCom")->text(), UiText(Txt::OpenPort));

    // Opened before they were built: the page shows its controls.
    TfMain early;
    early.show();
    early.btPage3Click();
    auto *cashiersRead = early.findChild<QPushButton *>("btnORead");
    ASSERT_NE(cashiersRead, nullptr);
    EXPECT_TRUE(cashiersRead->isVisible());
    // The same when the page is made current without its button.
    TfMain direct;
    direct.show();
    direct.findChild<QTabWidget *>("Page")->setCurrentIndex(1);
    auto *articlesRead = direct.findChild<QPushButton *>("btnARead");
    ASSERT_NE(articlesRead, nullptr);
    EXPECT_TRUE(articlesRead->isVisible());
    EXPECT_TRUE(direct.findChild<QPushButton *>("btPage2")->isChecked());

    // A chain that starts before they are built still turns their controls off.
    TfMain chain;
    chain.show();
    chain.setControlsEnabled({QStringLiteral("btnORead"), QStringLiteral("btnARead")}, false);
    ASSERT_NE(chain.findChild<QPushButton *>("btnORead"), nullptr);
    EXPECT_FALSE(chain.findChild<QPushButton *>("btnORead")->isEnabled());
    EXPECT_FALSE(chain.controlEnabled(QStringLiteral("btnARead")));
    // Building them later changes nothing (they are built once).
    QTest::qWait(20);
    EXPECT_FALSE(chain.findChild<QPushButton *>("btnARead")->isEnabled());
    EXPECT_EQ(chain.findChildren<QPushButton *>("btnARead").size(), 1);
}
