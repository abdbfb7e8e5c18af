// The owner of the auxiliary dialogs: the main window, or none (the desktop) for a
// dialog the user wants as a window of its own.
#include "app/Settings.h"
#include "app/settings/GeneralToolSettings.h"
#include "view/QvView.h"

namespace
{
const wchar_t* const kDialogNames[] = {L"CGraphicListDlg", L"CFindFileDlg", L"DIR_HISTORY_DIALOG"};
} // namespace

CWnd* CQvView::GetDialogParent(int kind)
{
    // An owned window shares the main window's taskbar button and is minimised with
    // it; a desktop-owned one gets a button of its own and stays.
    if (g_ALL_DIALOG_OTHER_WINDOW)
        return nullptr;
    if (kind >= 0 && kind < static_cast<int>(sizeof(kDialogNames) / sizeof(kDialogNames[0])))
        for (const OtherWindowDialogRow& row : g_OtherWindowDialogs)
            if (wcscmp(row.className, kDialogNames[kind]) == 0 && row.flag)
                return nullptr;
    return m_hWnd ? AfxGetMainWnd() : nullptr;
}
