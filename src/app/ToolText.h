#pragma once
// The tool's own texts that the numbered UI text table does not hold: messages, captions and
// questions added since. Serbian Cyrillic, in the style of the table; each group keeps its texts together.

#include <QString>

namespace ToolText {

// Link, transports and connections

// Message dialog and main window

// Article page

// A device operation was asked for while another one (named) still runs.
inline QString deviceBusy(const QString &running)
{
    return QStringLiteral("Фискални принтер је заузет: у току је %1. Сачекајте да се заврши или је прекините.")
        .arg(running);
}
// The chains, as the busy message and the exit question name them.
inline QString articlesReadName()
{
    return QStringLiteral("читање артикала");
}
inline QString articlesWriteName()
{
    return QStringLiteral("упис артикала");
}
inline QString cashiersReadName()
{
    return QStringLiteral("читање касира");
}
inline QString cashiersWriteName()
{
    return QStringLiteral("упис касира");
}
inline QString logoReadName()
{
    return QStringLiteral("читање логотипа");
}
inline QString logoWriteName()
{
    return QStringLiteral("упис логотипа");
}
inline QString memoryDumpName()
{
    return QStringLiteral("читање фискалне меморије");
}
// "Излаз" while a chain runs.
inline QString exitDuringTransfer()
{
    return QStringLiteral("Пренос података са фискалним принтером је у току. Да ли желите да га прекинете и "
                          "изађете из програма?");
}
// How an article transfer ended; `done` is the number of articles read or written.
inline QString articlesReadCompleted(int done)
{
    return QStringLiteral("Читање артикала је завршено. Прочитано артикала: %1.").arg(done);
}
inline QString articlesWriteCompleted(int done)
{
    return QStringLiteral("Упис артикала је завршен. Уписано артикала: %1.").arg(done);
}
inline QString articlesReadCancelled(int at, int done)
{
    return QStringLiteral("Читање артикала је прекинуто код артикла број %1. Прочитано артикала: %2.")
        .arg(at)
        .arg(done);
}
inline QString articlesWriteCancelled(int at, int done)
{
    return QStringLiteral("Упис артикала је прекинут код артикла број %1. Уписано артикала: %2.").arg(at).arg(done);
}
inline QString articlesReadStopped(int at, int done)
{
    return QStringLiteral("Читање артикала је заустављено код артикла број %1. Прочитано артикала: %2.")
        .arg(at)
        .arg(done);
}
inline QString articlesWriteStopped(int at, int done)
{
    return QStringLiteral("Упис артикала је заустављен код артикла број %1. Уписано артикала: %2.").arg(at).arg(done);
}
// The article a device error answered.
inline QString errorConcernsArticle(int article)
{
    return QStringLiteral("Грешка се односи на артикал број %1.").arg(article);
}
// Captions of the two transfer counters.
inline QString articleCounterCaption()
{
    return QStringLiteral("артикал");
}
inline QString replyCounterCaption()
{
    return QStringLiteral("одговор");
}

// Other sections

} // namespace ToolText
