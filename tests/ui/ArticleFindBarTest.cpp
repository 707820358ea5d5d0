// Finding an article from the article group: go to a number, next match by name or barcode.
#include "ArticleFindBar.h"
#include "CatalogueFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
// Types `text` key by key; Cyrillic letters go as key events carrying their text, as a keyboard
// layout sends them.
void typeInto(QWidget *box, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class FindArticle : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        m().setCell(ArticleModel::Name, 10, QStringLiteral("Хлеб бели"));
        m().setCell(ArticleModel::Barcode, 500, QStringLiteral("8600123"));
        m().setCell(ArticleModel::Name, 2000, QStringLiteral("ХЛЕБ црни"));
        m().setCell(ArticleModel::Name, 3000, QStringLiteral("Три хиљаде"));
        w->show();
        w->btPage2Click();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    ArticlesSection &s() { return w->articlesSection(); }
    ArticleModel &m() { return w->articles(); }
    ArticleFindBar &bar() { return section<ArticleFindBar>(); }
    // Types `text` into the search box and presses Enter, as the technician does.
    void search(const QString &text)
    {
        QLineEdit *box = bar().edtFind;
        box->setFocus();
        box->clear();
        typeInto(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    bool rowOnScreen(int r)
    {
        QTableView *grid = s().sgArticles;
        return grid->viewport()->rect().contains(grid->visualRect(m().index(r - 1, ArticleModel::Name)).center());
    }
};
} // namespace

TEST_F(FindArticle, NumberGoesToThatRowAndTheFormFollows)
{
    search("3000");
    EXPECT_EQ(s().currentRow(), 3000);
    EXPECT_EQ(s().edtArticleName->text(), QStringLiteral("Три хиљаде"));
    EXPECT_TRUE(rowOnScreen(3000));
    // The search box keeps the keyboard, so the next Enter searches again.
    EXPECT_TRUE(bar().edtFind->hasFocus());
    search("60000");
    EXPECT_EQ(s().currentRow(), 60000);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FindArticle, TextFindsTheNextNameOrBarcodeRoundPastTheEnd)
{
    search(QStringLiteral("хлеб"));
    EXPECT_EQ(s().currentRow(), 10);
    EXPECT_EQ(s().sgArticles->currentIndex().column(), int(ArticleModel::Name));
    QTest::keyClick(bar().edtFind, Qt::Key_Return);
    EXPECT_EQ(s().currentRow(), 2000); // letter case aside
    EXPECT_TRUE(rowOnScreen(2000));
    QTest::mouseClick(bar().btnFind, Qt::LeftButton);
    EXPECT_EQ(s().currentRow(), 10); // round past the end
    // Digits are an article number first; Enter again looks for them in names and barcodes.
    search("00123");
    EXPECT_EQ(s().currentRow(), 123);
    QTest::keyClick(bar().edtFind, Qt::Key_Return);
    EXPECT_EQ(s().currentRow(), 500);
    EXPECT_EQ(s().sgArticles->currentIndex().column(), int(ArticleModel::Barcode));
    EXPECT_EQ(s().edtBarkod->text(), QStringLiteral("8600123"));
    // The number of the current row moves on to the text instead.
    m().setCell(ArticleModel::Barcode, 777, QStringLiteral("5005"));
    search("500");
    EXPECT_EQ(s().currentRow(), 777);
    EXPECT_TRUE(messages.isEmpty());
    // Nothing was reordered or changed.
    EXPECT_EQ(m().cell(ArticleModel::Number, 2000), QStringLiteral("2000"));
    EXPECT_EQ(m().cell(ArticleModel::Name, 10), QStringLiteral("Хлеб бели"));
}

TEST_F(FindArticle, NoMatchSaysSoAndStays)
{
    s().setCurrentCell(ArticleModel::Name, 42);
    search(QStringLiteral("кафа"));
    EXPECT_EQ(messages,
              QStringList({QStringLiteral("Информација !!!|Ниједан артикал нема „кафа“ у називу или бар-коду.")}));
    EXPECT_EQ(s().currentRow(), 42);
    // Article numbers outside 1..60000 are texts, and an empty box does nothing.
    messages.clear();
    search("60001");
    EXPECT_EQ(messages.size(), 1);
    messages.clear();
    search("  ");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(s().currentRow(), 42);
}

TEST_F(FindArticle, CtrlFFromTheFormAndF3ForTheNext)
{
    s().edtArticleName->setFocus();
    QTest::keyClick(s().edtArticleName, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(bar().edtFind->hasFocus());
    typeInto(bar().edtFind, QStringLiteral("хлеб"));
    QTest::keyClick(bar().edtFind, Qt::Key_F3);
    EXPECT_EQ(s().currentRow(), 10);
    s().sgArticles->setFocus();
    QTest::keyClick(s().sgArticles, Qt::Key_F3);
    EXPECT_EQ(s().currentRow(), 2000);
}
