// Times the 60000-row article file (save, load), the start-up fill of the article table and
// scrolling the article grid. Run by hand: ./ArticleFileBench [repetitions]
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "TDialog.h"
#include "TaxLetters.h"
#include "TfMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
// Median and best of `runs` timings of `work`, in milliseconds.
void measure(const char *what, int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %8.1f ms   best %8.1f ms   (%d runs)\n", what, ms[ms.size() / 2], ms.front(), runs);
}

void fillCatalogue(ArticleModel &m)
{
    for (int r = 1; r <= ArticleModel::kArticles; ++r) {
        m.setCell(1, r, QStringLiteral("Артикал број %1 са дужим називом").arg(r).left(32));
        m.setCell(2, r, QString::number(8600000000000LL + r));
        m.setCell(3, r, QString::number(r % 10 + 1));
        m.setCell(4, r, QString::number(r % 100000) + QLocale().decimalPoint() + QStringLiteral("99"));
        m.setCell(5, r, TaxLetters::letter(r % 9));
    }
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;

    TfMain w;
    w.FormActivate();
    w.dialog().setResponder([](TDialog &) { return 1; });
    ArticleModel &m = w.articles();
    ArticlesSection &s = w.articlesSection();

    measure("start-up fill of 60000 rows", runs, [&] { m.fillStartup(); });
    fillCatalogue(m);

    QTemporaryDir dir;
    const QString path = dir.filePath("articles.CSV");
    measure("save 60000 rows (full catalogue)", runs, [&] { s.saveArticlesTo(path); });
    std::printf("%-44s %lld bytes\n", "file size", static_cast<long long>(QFileInfo(path).size()));
    measure("load 60000 rows (full catalogue)", runs, [&] { s.loadArticlesFrom(path); });

    m.fillStartup();
    const QString fresh = dir.filePath("fresh.CSV");
    measure("save 60000 start-up rows", runs, [&] { s.saveArticlesTo(fresh); });
    measure("load 60000 start-up rows", runs, [&] { s.loadArticlesFrom(fresh); });

    // The grid on screen: page through the whole table and repaint each step.
    s.loadArticlesFrom(path);
    w.show();
    w.btPage2Click();
    QTableView *grid = s.sgArticles;
    QScrollBar *bar = grid->verticalScrollBar();
    app.processEvents();
    measure("load 60000 rows with the grid on screen", runs, [&] { s.loadArticlesFrom(path); });
    measure("repaint the visible grid rows", runs, [&] { grid->viewport()->repaint(); });
    const int steps = 200;
    measure("scroll grid top to bottom, 200 repaints", std::max(1, runs / 2), [&] {
        for (int i = 0; i <= steps; ++i) {
            bar->setValue(bar->maximum() * i / steps);
            grid->viewport()->repaint();
        }
    });
    measure("jump to row 60000 and back (keyboard)", runs, [&] {
        s.setCurrentCell(1, ArticleModel::kArticles);
        grid->viewport()->repaint();
        s.setCurrentCell(1, 1);
        grid->viewport()->repaint();
    });
    return 0;
}
