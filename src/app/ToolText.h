#pragma once
// The tool's own texts that the numbered UI text table does not hold: messages, captions and
// questions added since. Serbian Cyrillic, in the style of the table; each group keeps its texts together.

#include <QString>

namespace ToolText {

// Link, transports and connections

// Message dialog and main window

// Article page

// Article file: the question before a load replaces the table, and the loads that are refused.
inline QString ArticleFileSummary()
{
    return QStringLiteral("Фајл „%1“ (%2, раздвојник „%3“), артикала у фајлу: %4.");
}
inline QString ArticleFileTabSeparator()
{
    return QStringLiteral("табулатор");
}
inline QString ArticleFileNotArticles()
{
    return QStringLiteral("Редови који нису артикли (заглавље, празан или погрешан број), прескачу се: %1 (ред %2).");
}
inline QString ArticleFileMisfits()
{
    return QStringLiteral("Редови који не одговарају распореду фајла артикала, учитавају се како гласе: %1 (ред %2).");
}
inline QString ArticleFileRepeated()
{
    return QStringLiteral("Артикли који се у фајлу понављају, важи каснији ред: %1 (ред %2).");
}
inline QString ArticleFileTooLong()
{
    return QStringLiteral("Артикли са пољем дужим од записа у каси (назив до %1, бар-код до %2 знакова), при уносу у "
                          "касу биће скраћени: %3 (артикал %4).");
}
inline QString ArticleFileLoadQuestion()
{
    return QStringLiteral("Да ли да се фајл учита у табелу артикала?");
}
inline QString ArticleFileNoArticles()
{
    return QStringLiteral("У фајлу „%1“ нема ниједног реда са бројем артикла (1..60000). Табела није промењена.");
}
inline QString ArticleFileTooBig()
{
    return QStringLiteral("Фајл „%1“ није учитан: већи је од %2 MB, што фајл артикала никад није.");
}

// Finding an article
inline QString ArticleFindPlaceholder()
{
    return QStringLiteral("Бр./назив");
}
inline QString ArticleFindHint()
{
    return QStringLiteral("Тражење артикла (Ctrl+F): број артикла прелази на тај ред; део назива или бар-кода "
                          "прелази на следећи артикал који га садржи (Enter или F3 за следећи).");
}
inline QString ArticleNotFound()
{
    return QStringLiteral("Ниједан артикал нема „%1“ у називу или бар-коду.");
}

// Articles report
inline QString ReportPrinted()
{
    return QStringLiteral("Одштампано: %1");
}
inline QString ReportCashRegisterSerial()
{
    return QStringLiteral("Серијски број касе: %1");
}
inline QString ReportFiscalMemorySerial()
{
    return QStringLiteral("Серијски број ФМ: %1");
}
inline QString ReportPage()
{
    return QStringLiteral("Страна %1 од %2");
}
inline QString ReportRowsNote()
{
    return QStringLiteral("Садржи редове %1..%2 табеле артикала, само оне са називом.");
}

// Other sections

} // namespace ToolText
