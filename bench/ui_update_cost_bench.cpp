// What each kind of per-reply window update costs when the window is shown: the counters, the
// status line, the progress bar, button enabling and grid rows, each followed by one event-loop
// pass (which is when Qt paints). Shows why the counters' painting is held back during a chain.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "PaintThrottle.h"
#include "TfMain.h"
#include "UiText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TfMain w;
    w.FormActivate();
    w.show();
    w.btPage2Click();
    app.processEvents();
    ArticlesSection &s = w.articlesSection();
    ArticleModel &m = w.articles();
    PaintThrottle throttle({s.lblBrojac, s.lblArt}, 40);
    constexpr int kRounds = 5000;
    auto run = [&](const char *name, auto change) {
        QElapsedTimer t;
        t.start();
        for (int i = 1; i <= kRounds; ++i) {
            change(i);
            app.processEvents();
        }
        std::printf("%-46s %7.1f us per reply\n", name, t.nsecsElapsed() / 1e3 / kRounds);
    };
    std::printf("platform %s, %d rounds each\n", qPrintable(QGuiApplication::platformName()), kRounds);
    run("event-loop pass alone", [](int) {});
    run("two counter labels, painted every time", [&](int i) {
        s.lblBrojac->setText(QString::number(i));
        s.lblArt->setText(QString::number(i));
    });
    run("two counter labels, painting held back", [&](int i) {
        throttle.aboutToChange();
        s.lblBrojac->setText(QString::number(i));
        s.lblArt->setText(QString::number(i));
    });
    throttle.release();
    const QSize brojac = s.lblBrojac->size(), art = s.lblArt->size();
    s.lblBrojac->setFixedSize(brojac);
    s.lblArt->setFixedSize(art);
    run("two fixed-size counter labels, held back", [&](int i) {
        throttle.aboutToChange();
        s.lblBrojac->setText(QString::number(i));
        s.lblArt->setText(QString::number(i));
    });
    throttle.release();
    run("status line, same text", [&](int) { w.setStatusText(UiText(Txt::InServiceMode)); });
    run("status line, alternating text (repainted)",
        [&](int i) { w.setStatusText(i % 2 ? UiText(Txt::InServiceMode) : UiText(Txt::PleaseWait)); });
    run("progress bar, same value", [&](int) { w.setProgress(3); });
    run("progress bar, new value every time", [&](int i) { w.setProgress(i % 16); });
    run("button enabled by object name", [&](int) { w.setControlsEnabled({"btnAWrite"}, true); });
    run("button enabled directly", [&](int) { s.btnAWrite->setEnabled(true); });
    run("one grid row out of view (5 cells)", [&](int i) {
        for (int c = 1; c < ArticleModel::kColumns; ++c)
            m.setCell(c, 30000 + i, QString::number(i));
    });
    run("one grid row in view (5 cells)", [&](int i) {
        for (int c = 1; c < ArticleModel::kColumns; ++c)
            m.setCell(c, 3, QString::number(i));
    });
    return 0;
}
