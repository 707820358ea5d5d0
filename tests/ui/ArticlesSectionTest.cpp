// The article table on the window: start-up rows, the entry form, "Исправка", in-place editing
// with the tax-letter normalisation, and the article file.
#include "CatalogueFixture.h"
#include "Cp1251.h"
#include "TaxLetters.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

namespace {
class Articles : public CatalogueTest {
protected:
    ArticlesSection &s() { return w->articlesSection(); }
    ArticleModel &m() { return w->articles(); }
    void setRow(int r, const QStringList &cells)
    {
        for (int c = 0; c < 6; ++c)
            m().setCell(c, r, cells[c]);
    }
    QStringList row(int r)
    {
        QStringList out;
        for (int c = 0; c < 6; ++c)
            out << m().cell(c, r);
        return out;
    }
    QStringList form()
    {
        return {s().edtArticleName->text(), s().edtBarkod->text(), s().cbAStand->currentText(), s().edtAPrice->text(),
                s().cbATG->currentText()};
    }
    void fillForm(const QString &name, const QString &barcode, const QString &dept, const QString &price, int tax)
    {
        s().edtArticleName->setText(name);
        s().edtBarkod->setText(barcode);
        s().cbAStand->setCurrentText(dept);
        s().edtAPrice->setText(price);
        s().cbATG->setCurrentIndex(tax);
    }
    void showPage()
    {
        w->show();
        w->btPage2Click();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    // Sends one typed character (any script) as a key press and release.
    static void typeChar(QWidget *target, QChar ch)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(target, &release);
    }
    // Types into cell (c, r) through its in-place editor; returns the editor's text after each key.
    QStringList typeInto(int c, int r, const QString &keys)
    {
        QTableView *grid = s().sgArticles;
        grid->setCurrentIndex(m().index(r - 1, c));
        QStringList shown;
        typeChar(grid, keys.at(0)); // the first key opens the editor and goes into it
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        if (!editor)
            return shown;
        shown << editor->text();
        for (qsizetype i = 1; i < keys.size(); ++i) {
            typeChar(editor, keys.at(i));
            shown << editor->text();
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor commits through a queued call
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return shown;
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST_F(Articles, StartUpRowsFormAndLists)
{
    EXPECT_EQ(m().rowCount(), 60000);
    EXPECT_EQ(row(1), QStringList({"1", "", "", "1", "0.00", "А"}));
    EXPECT_EQ(row(60000), QStringList({"60000", "", "", "1", "0.00", "А"}));
    EXPECT_EQ(s().sgArticles->model()->data(s().sgArticles->model()->index(59999, 0)).toString(), "60000");
    EXPECT_EQ(s().sgArticles->currentIndex(), m().index(0, 1));
    const int widths[] = {30, 162, 84, 33, 88, 16};
    const QStringList headings = {"Бр", "Назив артикла :", "Бар-код :", "Од.", "Цена :", ""};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(s().sgArticles->columnWidth(c), widths[c]);
        EXPECT_EQ(m().headerData(c, Qt::Horizontal).toString(), headings[c]);
    }
    EXPECT_EQ(form(), QStringList({"", "", "1", "0.00", "А"}));
    ASSERT_EQ(s().cbATG->count(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(s().cbATG->itemText(i), TaxLetters::letter(i));
    EXPECT_EQ(s().cbATG->currentIndex(), 0);
    ASSERT_EQ(s().cbAStand->count(), 10);
    EXPECT_EQ(s().cbAStand->itemText(9), "10");
    EXPECT_TRUE(s().cbAStand->isEditable());
    EXPECT_EQ(s().edtArticleName->maxLength(), 32);
    EXPECT_EQ(s().edtBarkod->maxLength(), 13);
    EXPECT_EQ(s().edtAPrice->maxLength(), 10);
    EXPECT_EQ(s().gbArticles->title(), " Артикли : ");
    EXPECT_EQ(child<QLabel>("Label17")->text(), "динара");
    EXPECT_EQ(child<QLabel>("LabelBarkod")->text(), "Бар-код :");
    EXPECT_EQ(s().btnACor->text(), "Исправка");
    EXPECT_EQ(s().btnAFSave->text(), "Снимање у фаjл");
    EXPECT_EQ(s().btnAFLoad->text(), "Читање из фаjла");
}

TEST_F(Articles, CommaLocaleStartUp)
{
    LocaleScope comma(commaLocale());
    build();
    EXPECT_EQ(row(60000), QStringList({"60000", "", "", "1", "0,00", "А"}));
    EXPECT_EQ(s().edtAPrice->text(), "0,00");
}

TEST_F(Articles, FormFollowsTheCurrentRowByMouseAndKeyboard)
{
    setRow(2, {"2", "Хлеб", "8600000000012", "3", "45.50", "Ђ"});
    setRow(3, {"3", "Млеко", "", "x", "1,2", "Q"});
    showPage();
    QTableView *grid = s().sgArticles;
    const QRect cell = grid->visualRect(m().index(1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(form(), QStringList({"Хлеб", "8600000000012", "3", "45.50", "Ђ"}));
    EXPECT_EQ(s().cbATG->currentIndex(), 3);

    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(s().currentRow(), 3);
    // Free text reaches the form as it stands; a cell with no tax letter selects nothing.
    EXPECT_EQ(s().cbAStand->currentText(), "x");
    EXPECT_EQ(s().edtAPrice->text(), "1,2");
    EXPECT_EQ(s().cbATG->currentIndex(), -1);

    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(form(), QStringList({"", "", "1", "0.00", "А"}));
}

TEST_F(Articles, CorrectionWritesTheCurrentRow)
{
    fillForm("Сок", "123", "4", "12.34", 5);
    QTest::mouseClick(s().btnACor, Qt::LeftButton);
    EXPECT_EQ(row(1), QStringList({"1", "Сок", "123", "4", "12.34", "Ж"}));
    s().setCurrentCell(1, 70);
    fillForm("Вода", "", "десет", ".5", 8);
    QTest::mouseClick(s().btnACor, Qt::LeftButton);
    EXPECT_EQ(row(70), QStringList({"70", "Вода", "", "десет", "0.5", "К"}));
    for (const char *ok : {"12.3", "12", "1000000", "9999999.99"}) {
        s().edtAPrice->setText(ok);
        QTest::mouseClick(s().btnACor, Qt::LeftButton);
        EXPECT_EQ(m().cell(4, 70), ok);
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Articles, RefusedPricesChangeNothing)
{
    const QStringList before = row(1);
    for (const char *bad : {"12.345", "10000000", "-0", "-5", "abc", "", "12,34", "1e-2"}) {
        messages.clear();
        fillForm("x", "y", "2", bad, 1);
        QTest::mouseClick(s().btnACor, Qt::LeftButton);
        EXPECT_EQ(messages, QStringList({"Грешка !!! |Грешка у подацима"})) << bad;
        EXPECT_EQ(row(1), before) << bad;
    }
}

TEST_F(Articles, CommaLocaleLeadingSeparator)
{
    LocaleScope comma(commaLocale());
    build();
    fillForm("a", "", "1", ",5", 0);
    QTest::mouseClick(s().btnACor, Qt::LeftButton);
    EXPECT_EQ(m().cell(4, 1), "0,5");
    fillForm("a", "", "1", "0.5", 0);
    QTest::mouseClick(s().btnACor, Qt::LeftButton);
    EXPECT_EQ(messages, QStringList({"Грешка !!! |Грешка у подацима"}));
    EXPECT_EQ(m().cell(4, 1), "0,5");
}

TEST_F(Articles, TaxCellShowsTheResultingLetterWhileTyping)
{
    showPage();
    EXPECT_EQ(typeInto(5, 10, "4"), QStringList({"Е"}));
    EXPECT_EQ(m().cell(5, 10), "Е");
    EXPECT_EQ(typeInto(5, 10, "5"), QStringList({"Ж"}));
    EXPECT_EQ(m().cell(5, 10), "Ж");
    EXPECT_EQ(typeInto(5, 11, "9"), QStringList({""}));
    EXPECT_EQ(m().cell(5, 11), "");
    EXPECT_EQ(typeInto(5, 12, "abc"), QStringList({"", "", ""}));
    EXPECT_EQ(m().cell(5, 12), "");
    EXPECT_EQ(typeInto(5, 13, QString::fromUtf8("жx")), QStringList({"Ж", "Ж"}));
    EXPECT_EQ(m().cell(5, 13), "Ж");
    EXPECT_EQ(typeInto(5, 14, QString::fromUtf8("Гx")), QStringList({"Г", "Г"}));
    EXPECT_EQ(m().cell(5, 14), "Г");
}

TEST_F(Articles, InPlaceEditsGetTheFormsChecks)
{
    showPage();
    // A price the form refuses is refused in place too, with the form's message; the cell keeps its text.
    for (const char *bad : {"12,5", "12.345", "-1", "abc", "10000000"}) {
        messages.clear();
        typeInto(4, 5, bad);
        QCoreApplication::processEvents();
        EXPECT_EQ(m().cell(4, 5), "0.00") << bad;
        EXPECT_EQ(messages, QStringList({"Грешка !!! |Грешка у подацима"})) << bad;
    }
    messages.clear();
    typeInto(4, 5, ".5");
    EXPECT_EQ(m().cell(4, 5), "0.5"); // stored as the form stores it
    // A department must be one of the ten.
    for (const char *bad : {"9x", "0", "11", "пет", ""}) {
        messages.clear();
        typeInto(3, 5, QString::fromUtf8(bad).isEmpty() ? QStringLiteral(" ") : QString::fromUtf8(bad));
        QCoreApplication::processEvents();
        EXPECT_EQ(m().cell(3, 5), "1") << bad;
        EXPECT_EQ(messages.size(), 1) << bad;
    }
    messages.clear();
    typeInto(3, 5, "10");
    EXPECT_EQ(m().cell(3, 5), "10");
    // Name and barcode take any text, within the typing limits.
    typeInto(1, 5, QString(40, u'n'));
    EXPECT_EQ(m().cell(1, 5), QString(32, u'n'));
    typeInto(2, 5, "12345678901234567");
    EXPECT_EQ(m().cell(2, 5), "1234567890123");
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.isEmpty());
    // The number column is not editable.
    EXPECT_FALSE(m().flags(m().index(4, 0)) & Qt::ItemIsEditable);
}

TEST_F(Articles, FormFollowsTheCurrentRowsCells)
{
    showPage();
    s().setCurrentCell(4, 7);
    typeInto(4, 7, "12.5");
    EXPECT_EQ(s().edtAPrice->text(), "12.5");
    // "Исправка" now keeps the price typed in place.
    QTest::mouseClick(s().btnACor, Qt::LeftButton);
    EXPECT_EQ(m().cell(4, 7), "12.5");
    // A change by the program (a read reply, a file) shows as well; other rows leave the form alone.
    m().setCell(1, 7, "Со");
    EXPECT_EQ(s().edtArticleName->text(), "Со");
    s().edtArticleName->setText("typing");
    m().setCell(1, 8, "other");
    EXPECT_EQ(s().edtArticleName->text(), "typing");
    std::vector<ArticleModel::Row> rows(10, ArticleModel::startupRow(1));
    rows[6][1] = "from file";
    m().setRows(1, std::move(rows));
    EXPECT_EQ(s().edtArticleName->text(), "from file");
}

TEST_F(Articles, TheWholeArticleNumberIsShown)
{
    showPage();
    EXPECT_EQ(s().lblANumber->text(), "1");
    s().setCurrentCell(1, 60000);
    EXPECT_EQ(s().lblANumber->text(), "60000");
    // It fits its box, which sits under the number heading, before the name box.
    const QFontMetrics fm(s().lblANumber->font());
    EXPECT_LE(fm.horizontalAdvance("60000"), s().lblANumber->contentsRect().width());
    EXPECT_LE(s().lblANumber->geometry().right(), s().edtArticleName->geometry().left());
    QTest::keyClick(s().sgArticles, Qt::Key_Up);
    EXPECT_EQ(s().lblANumber->text(), "59999");
    const int widths[] = {30, 162, 84, 33, 88, 16};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(s().sgArticles->columnWidth(c), widths[c]);
}

TEST_F(Articles, TypingLimitsNeverCutTextThatIsAlreadyThere)
{
    showPage();
    setRow(4, {"4", QString(40, u'N'), "12345678901234", "2", "42949672.95", "Г"});
    s().setCurrentCell(1, 4);
    EXPECT_EQ(s().edtArticleName->text(), QString(40, u'N'));
    EXPECT_EQ(s().edtBarkod->text(), "12345678901234");
    EXPECT_EQ(s().edtAPrice->text(), "42949672.95");
    // Typing cannot make a long text longer.
    s().edtBarkod->setFocus();
    s().edtBarkod->end(false);
    QTest::keyClicks(s().edtBarkod, "5");
    EXPECT_EQ(s().edtBarkod->text(), "12345678901234");
    // "Исправка" with the texts as they came keeps all of them.
    s().edtAPrice->setText("1");
    QTest::mouseClick(s().btnACor, Qt::LeftButton);
    EXPECT_EQ(m().cell(2, 4), "12345678901234");
    EXPECT_EQ(m().cell(1, 4), QString(40, u'N'));

    // Opening a cell editor and leaving it changes nothing.
    m().setCell(4, 4, "42949672.95");
    for (int c : {1, 2, 4}) {
        const QString before = m().cell(c, 4);
        QTableView *grid = s().sgArticles;
        grid->setCurrentIndex(m().index(3, c));
        grid->edit(m().index(3, c));
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr) << c;
        EXPECT_EQ(editor->text(), before) << c;
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(m().cell(c, 4), before) << c;
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.isEmpty());

    // Once a short row is shown, typing is limited as before.
    s().setCurrentCell(1, 5);
    s().edtBarkod->clear();
    QTest::keyClicks(s().edtBarkod, "12345678901234567");
    EXPECT_EQ(s().edtBarkod->text(), "1234567890123");
    s().edtArticleName->clear();
    QTest::keyClicks(s().edtArticleName, QString(40, u'a'));
    EXPECT_EQ(s().edtArticleName->text().size(), 32);
}

TEST_F(Articles, SaveWritesTheLineLayoutThroughTheSaveDialog)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("articles.CSV");
    setRow(2, {"2", "Хлеб \"бели\"", "86", "3", "45.50", "Ђ"});
    QString suffix, filter;
    s().setFileChooser([&](QFileDialog &d) {
        EXPECT_EQ(d.objectName(), "SD");
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        suffix = d.defaultSuffix();
        filter = d.selectedNameFilter();
        return path;
    });
    QTest::mouseClick(s().btnAFSave, Qt::LeftButton);
    EXPECT_EQ(suffix, "CSV");
    EXPECT_EQ(filter, "Articles File (*.CSV)");
    EXPECT_EQ(messages, QStringList({"Информација !!!|Упис је успешан!..."}));
    const QByteArray bytes = fileBytes(path);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 60001); // 60000 lines, each ended by CR LF
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(lines[0], QByteArray("1,\"\",\"\",1,0.00,\"\xC0\"\r"));
    EXPECT_EQ(lines[1], QByteArray("2,\"\xD5\xEB\xE5\xE1 \"\xE1\xE5\xEB\xE8\"\",\"86\",3,45.50,\"\x80\"\r"));
    EXPECT_EQ(lines[59999], QByteArray("60000,\"\",\"\",1,0.00,\"\xC0\"\r"));
    EXPECT_EQ(bytes.count('\r'), 60000);

    // Cancelling the dialog writes nothing.
    messages.clear();
    s().setFileChooser([](QFileDialog &) { return QString(); });
    QTest::mouseClick(s().btnAFSave, Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Articles, CommaLocaleSavesWithSemicolons)
{
    LocaleScope comma(commaLocale());
    build();
    QTemporaryDir dir;
    ASSERT_TRUE(s().saveArticlesTo(dir.filePath("a.csv")));
    EXPECT_TRUE(fileBytes(dir.filePath("a.csv")).startsWith("1;\"\";\"\";1;0,00;\"\xC0\"\r\n2;"));
}

TEST_F(Articles, SaveFailureIsShown)
{
    QTemporaryDir dir;
    // The target is a directory: nothing can be written there.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.csv"));
    EXPECT_FALSE(s().saveArticlesTo(dir.filePath("taken.csv")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Грешка !!! |Фајл „")) << messages[0].toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.csv")).isDir());
    EXPECT_FALSE(s().saveArticlesTo(dir.filePath("missing/a.csv")));
    EXPECT_EQ(messages.size(), 2);
}

#ifdef Q_OS_LINUX
TEST_F(Articles, WriteErrorKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.csv");
    writeFile(path, "previous content\r\n");
    // Files may not grow past 64 KiB for a moment, so the 60000-row write fails half way
    // (as on a full disk).
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = s().saveArticlesTo(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(fileBytes(path), "previous content\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.csv"})); // no leftover
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Грешка !!! |Фајл „"));
}
#endif

TEST_F(Articles, LoadFillsTheNamedRowsAndGivesTheRestStartUpValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.csv");
    QByteArray file = "1,\"\xD5\xEB\xE5\xE1\",\"8600\",2,1.20,\"\xC3\"\r\n"
                      "5,\"a\",\"\",3,2,50,\"K\"\r\n"
                      "\r\n"
                      "7,\"\",\"\",3,1.20,\"\"\n"; // a bare LF ends a line as well
    writeFile(path, file);
    setRow(10, {"10", "old", "", "9", "9.99", "К"});
    s().setCurrentCell(2, 100);
    s().setFileChooser([&](QFileDialog &d) {
        EXPECT_EQ(d.objectName(), "OD");
        EXPECT_EQ(d.defaultSuffix(), "CSV");
        EXPECT_TRUE(d.nameFilters().isEmpty() || d.nameFilters() == QStringList({"All Files (*)"}));
        return path;
    });
    QTest::mouseClick(s().btnAFLoad, Qt::LeftButton);
    EXPECT_EQ(row(1), QStringList({"1", "Хлеб", "8600", "2", "1.20", "Г"}));
    // A comma inside the price of a comma-separated file is loaded as found, and the line is named.
    EXPECT_EQ(row(5), QStringList({"5", "a", "", "3", "2,50", "K"}));
    EXPECT_EQ(row(7), QStringList({"7", "", "", "3", "1.20", ""}));
    for (int r : {2, 3, 4, 10, 60000})
        EXPECT_EQ(row(r), QStringList({QString::number(r), "", "", "1", "0.00", "А"})) << r;
    EXPECT_EQ(s().sgArticles->currentIndex(), m().index(0, 1));
    EXPECT_EQ(form(), QStringList({"Хлеб", "8600", "2", "1.20", "Г"}));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Пажња!!! |Фајл „in.csv“ (Windows-1251, раздвојник „,“), артикала у фајлу: 3."))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(": 1 (ред 2)")) << messages[0].toStdString();
}

TEST_F(Articles, CancelledLoadStillReturnsToRowOne)
{
    setRow(1, {"1", "Први", "", "1", "0.00", "Д"});
    s().setCurrentCell(3, 500);
    s().edtArticleName->setText("typed");
    s().setFileChooser([](QFileDialog &) { return QString(); });
    QTest::mouseClick(s().btnAFLoad, Qt::LeftButton);
    EXPECT_EQ(s().sgArticles->currentIndex(), m().index(0, 1));
    EXPECT_EQ(form(), QStringList({"Први", "", "1", "0.00", "Д"}));
    EXPECT_EQ(row(1), QStringList({"1", "Први", "", "1", "0.00", "Д"}));
}

TEST_F(Articles, LoadReadsUpTo60000LinesOfAnyLength)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.csv");
    QByteArray file;
    for (int r = 1; r <= 60005; ++r)
        file += QByteArray::number(r) + ",\"" + (r == 4000 ? QByteArray(1000, 'L') : "n" + QByteArray::number(r)) +
                "\",\"\",2,3.00,\"\xCA\"\r\n";
    writeFile(path, file);
    ASSERT_TRUE(s().loadArticlesFrom(path));
    EXPECT_EQ(row(3001), QStringList({"3001", "n3001", "", "2", "3.00", "К"}));
    EXPECT_EQ(m().cell(1, 4000), QString(1000, u'L'));
    EXPECT_EQ(row(60000), QStringList({"60000", "n60000", "", "2", "3.00", "К"}));
    // The technician heard about the five lines past the last article and the long name first.
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(": 5 (ред 60001, 60002, 60003, 60004, 60005)")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(": 1 (артикал 4000)")) << messages[0].toStdString();
}

TEST_F(Articles, UnreadableFileLeavesTheTableAsItWas)
{
    setRow(1, {"1", "keep", "", "1", "0.00", "А"});
    QTemporaryDir dir;
    EXPECT_FALSE(s().loadArticlesFrom(dir.filePath("none.csv")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Грешка !!! |Фајл „"));
    EXPECT_EQ(m().cell(1, 1), "keep");
}
