// The display-mode command and the desktop wallpaper command.
#include "util/Globals.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/DisplayMode.h"
#include "filer/FilerPane.h"
#include "graphics/picture/PictureData.h"
#include "graphics/picture/SaveBmpDlg.h"
#include "tools/display/DisplayModeDlgs.h"
#include "tools/display/SetWallPaperDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/graphic/GraphicViewState.h"
#include "view/ViewBusyGuard.h"

#include <initializer_list>

void CQvView::OnSetWallpaper()
{
    CString path;
    int index = -1;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODES_GRAPHIC_VIEWERS, 0))
    {
        if (!IsPictureShown())
            return;
        // The desktop takes a bitmap file only: the shown picture is written as one
        // first, whatever format it came from.
        path.Format(L"%s\\QVWALLPAPER.BMP", static_cast<LPCWSTR>(g_ProgramDir));
        CString folder;
        folder.Format(L"%s\\", static_cast<LPCWSTR>(g_Panes[index]->m_currentDir));
        CSaveBmpDlg save(&g_CurrentPicture, folder, L"", SAVEBMP_FIXED_PATH, path, DialogOwner(this));
        if (save.DoModal() != IDOK)
            return;
    }
    else if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
    {
        CFilerPane& pane = *g_Panes[index];
        if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_CURSOR_NOT_DOT | PANE_CHECK_NOT_EMPTY))
            return;
        GetWallpaperPath(path);
        const CFileInfo* entry = pane.GetCursorEntry();
        if (entry != nullptr && !entry->IsDirectory())
            for (LPCWSTR extension : {L"BMP", L"DIB", L"JPG", L"JPEG", L"GIF"})
                if (entry->IsExtension(extension))
                {
                    path = entry->GetFullPath();
                    break;
                }
    }
    else
        return;
    CSetWallPaperDlg dialog(DialogOwner(this));
    dialog.m_bitmapPath = path;
    dialog.DoModal();
}

void CQvView::ChangeDisplayMode()
{
    CViewBusyGuard busy(*this);
    CChangeDisplayDlg dialog;
    dialog.DoModal();
    StartBinaryCursorTimer();
}

VIEW_COMMAND(SetWallpaper)
{
    CViewBusyGuard busy(view);
    view.OnSetWallpaper();
}
