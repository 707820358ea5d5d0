// The menu bar sits above the client area: the window grows by its height, every control keeps its place.
#include "TfMain.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
// Every widget under the central widget, by object path, with its place in the central widget.
QMap<QString, QRect> placesIn(QWidget *central)
{
    QMap<QString, QRect> places;
    const QList<QWidget *> all = central->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (w->objectName().isEmpty() || w->isWindow())
            continue;
        QString path = w->objectName();
        for (QWidget *p = w->parentWidget(); p && p != central; p = p->parentWidget())
            path = p->objectName() + '/' + path;
        places.insert(path, QRect(w->mapTo(central, QPoint(0, 0)), w->size()));
    }
    return places;
}
} // namespace

TEST(MenuBarGeometry, ClientAreaAndEveryControlKeepTheirPlaceBelowTheMenuBar)
{
    auto withBar = std::make_unique<TfMain>();
    withBar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(withBar.get()));
    auto bare = std::make_unique<TfMain>();
    bare->menuBar()->hide();
    bare->setFixedSize(800, 625);
    bare->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bare.get()));
    // Every page opened once in both windows, so that each page's controls are built and laid out.
    for (TfMain *w : {withBar.get(), bare.get()}) {
        w->btPage2Click();
        w->btPage3Click();
        w->btPage4Click();
        w->btPage1Click();
    }
    QCoreApplication::processEvents();

    const int bar = withBar->menuBar()->height();
    EXPECT_GT(bar, 0);
    EXPECT_EQ(withBar->size(), QSize(800, 625 + bar));
    QWidget *central = withBar->centralWidget();
    EXPECT_EQ(central->geometry(), QRect(0, bar, 800, 603));
    EXPECT_EQ(withBar->statusBar()->geometry(), QRect(0, bar + 603, 800, 22));
    EXPECT_EQ(bare->centralWidget()->geometry(), QRect(0, 0, 800, 603));
    EXPECT_EQ(withBar->menuBar()->geometry().top(), 0);
    EXPECT_EQ(withBar->profileMenu().title(), QStringLiteral("Профил"));
    EXPECT_EQ(withBar->profileMenu().actions().size(), 3);

    const QMap<QString, QRect> with = placesIn(central), without = placesIn(bare->centralWidget());
    EXPECT_GT(with.size(), 100);
    EXPECT_EQ(with.keys(), without.keys());
    for (auto it = with.cbegin(); it != with.cend(); ++it)
        EXPECT_EQ(it.value(), without.value(it.key())) << it.key().toStdString();
    // Known places of the top band and the page buttons.
    EXPECT_EQ(with.value("btnClose"), QRect(688, 18, 106, 152));
    EXPECT_EQ(with.value("btPage1"), QRect(2, 184, 176, 22));
    EXPECT_EQ(with.value("Page"), QRect(0, 184, 800, 419));
}
