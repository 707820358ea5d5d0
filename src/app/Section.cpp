#include "Section.h"

#include "Cp1251.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "ToolText.h"
#include "UiText.h"

Section::Section(SectionHost &host, QObject *parent) : QObject(parent), host_(host) {}

bool Section::refuseOutsideServiceMode()
{
    if (link().refuseWhileBusy())
        return true;
    if (link().serviceMode())
        return false;
    showError(UiText(Txt::NotInServiceMode));
    return true;
}

bool Section::sendRead(uint8_t code, int count)
{
    view().setStatusText(UiText(Txt::PleaseWait));
    return link().SendAwaitingReply(code, count);
}

void Section::beginWrite(int progress)
{
    view().setStatusText(UiText(Txt::Writing));
    view().setProgress(progress);
}

void Section::endWrite()
{
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
}

void Section::showError(const QString &text)
{
    view().showDialog(UiText(Txt::TitleError), text);
}

bool Section::confirmCodePage(const QStringList &texts)
{
    QList<char32_t> found;
    bool complete = true;
    for (const QString &text : texts)
        if (!(complete = Cp1251::collectUnencodable(text, found)))
            break;
    if (found.isEmpty())
        return true;
    QStringList listed;
    for (char32_t c : found) // characters that print nothing are named by their code
        listed.append(QChar::isPrint(c) ? QString::fromUcs4(&c, 1)
                                        : QStringLiteral("U+%1").arg(uint(c), 4, 16, QChar('0')).toUpper());
    if (!complete)
        listed.append(QStringLiteral("..."));
    return view().showDialog(UiText(Txt::TitleWarning), ToolText::unencodableQuestion(listed.join(' ')), true) == 1;
}
