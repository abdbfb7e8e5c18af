#include "filer/PaneHooks.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"

namespace
{
void NoVisit(UINT, LPCWSTR, int) {}
int NoPreviewDirectory(LPCWSTR)
{
    return 0;
}
int AnyPicture(LPCWSTR)
{
    return 1;
}
void NoPreviews(CFilerPane&) {}

void ViewMessage(CFilerPane& pane, LPCWSTR text)
{
    Tell(pane.m_pView, text);
}

int NoRetry(CFilerPane&, DWORD, LPCWSTR)
{
    return 0;
}

CString NoAudioTitle(const CFileInfo&)
{
    return CString();
}

const PaneHooks kDefaultHooks = {NoVisit, NoPreviewDirectory, AnyPicture, NoPreviews, ViewMessage,
                                 NoRetry, NoAudioTitle};
} // namespace

PaneHooks g_PaneHooks = kDefaultHooks;
