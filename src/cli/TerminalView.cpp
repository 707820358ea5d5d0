#include "TerminalView.h"

#include "ToolText.h"

#include <cstdio>

void TerminalView::say(const QString &text)
{
    said_ << text;
    const QByteArray bytes = (QStringLiteral("quorvel-cli: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool TerminalView::said(const QString &text) const
{
    for (const QString &s : said_)
        if (s.contains(text))
            return true;
    return false;
}

int TerminalView::showDialog(const QString &, const QString &text, bool twoButtons)
{
    // The title ("Грешка !!! " and the like) belongs to the window's dialog; the text says it all.
    if (twoButtons) {
        say(ToolText::cliQuestionDeclined(text));
        return 0;
    }
    say(text);
    return 1;
}
