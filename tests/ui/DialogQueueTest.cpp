// One message or question in the dialog at a time: what is raised meanwhile waits its turn.
#include "DialogQueue.h"
#include "TDialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {
struct Shown {
    QString text;
    bool twoButtons;
};
} // namespace

TEST(DialogQueue, MessagesRaisedWhileTheDialogIsOpenFollowInOrderAfterTheCallerHasItsAnswer)
{
    TDialog dialog;
    DialogQueue queue(dialog);
    QList<Shown> shown;
    std::function<void()> whileOpen;
    dialog.setResponder([&](TDialog &d) {
        shown.append({d.tekst->toPlainText(), d.Button2->isVisibleTo(&d)});
        if (auto f = std::exchange(whileOpen, nullptr))
            f();
        return 1;
    });
    QList<int> nestedResults;
    whileOpen = [&] {
        nestedResults << queue.show("Грешка !!! ", "first", false) << queue.show("Грешка !!! ", "second", false)
                      << queue.show("Пажња!!! ", "another question", true);
        EXPECT_EQ(dialog.tekst->toPlainText(), "question"); // the open question keeps its text
    };
    EXPECT_EQ(queue.show("Пажња!!! ", "question", true), 1);
    EXPECT_EQ(nestedResults, (QList<int>{0, 0, 0})); // nothing answered for the user
    // The question's caller has its answer before anything waiting is shown.
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(queue.waiting(), 2);

    // A message raised now still queues behind the waiting ones.
    EXPECT_EQ(queue.show("Грешка !!! ", "third", false), 0);
    QTest::qWait(20);
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0].text, "question");
    EXPECT_TRUE(shown[0].twoButtons);
    EXPECT_EQ(shown[1].text, "first");
    EXPECT_FALSE(shown[1].twoButtons);
    EXPECT_EQ(shown[2].text, "second");
    EXPECT_EQ(shown[3].text, "third");
    EXPECT_EQ(queue.waiting(), 0);
    EXPECT_FALSE(queue.isOpen());

    // With nothing open or waiting a message is shown at once.
    EXPECT_EQ(queue.show("Информација !!!", "now", false), 1);
    EXPECT_EQ(shown.size(), 5);
}

// While muted (a whole-device run), messages are dropped rather than queued; questions still come.
TEST(DialogQueue, MutedMessagesAreNotShownButQuestionsAre)
{
    TDialog dialog;
    DialogQueue queue(dialog);
    QStringList shown;
    dialog.setResponder([&](TDialog &d) {
        shown << d.tekst->toPlainText();
        return 1;
    });
    queue.setMessagesMuted(true);
    EXPECT_EQ(queue.show("Порука", "reading finished", false), 0);
    EXPECT_EQ(queue.show("Пажња!!! ", "leave?", true), 1);
    EXPECT_EQ(queue.waiting(), 0);
    queue.setMessagesMuted(false);
    queue.show("Порука", "after the run", false);
    QTest::qWait(50);
    EXPECT_EQ(shown, (QStringList{"leave?", "after the run"}));
}
