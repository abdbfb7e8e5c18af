// The help item: the help file beside the program, opened by the shell.
#include "app/Directories.h"
#include "app/dialogs/TellAndAsk.h"
#include "view/QvView.h"

#include <shellapi.h>

void CQvView::OpenHelpFile()
{
    CString folder;
    GetProgramDir(folder);
    SetCurrentDir(folder);
    const HINSTANCE result = ShellExecuteW(m_hWnd, nullptr, L"QV.CHM", nullptr, folder, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) < 32)
        Tell(this, L"QV.CHMが開けませんでした");
}
