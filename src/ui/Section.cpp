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

void Section::beginRead()
{
    view().setStatusText(UiText(Txt::PleaseWait));
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
    const QString listed = Cp1251::listUnencodable(texts);
    if (listed.isEmpty())
        return true;
    return view().showDialog(UiText(Txt::TitleWarning), ToolText::unencodableQuestion(listed), true) == 1;
}
