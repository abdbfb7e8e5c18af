// The menu ids the view serves itself: the ranges filled at run time and the fixed
// items whose check mark, enabled state or text follow a setting; and the key text a
// menu item carries when the option to show it is on.
#include "app/PlugInCommands.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewerSettings.h"
#include "archivefront/dialogs/DefunarcDlg.h"
#include "view/menus/CommandMenuItems.h"
#include "view/menus/SettingsMenuItems.h"
#include "graphics/picture/PictureData.h"
#include "graphics/picture/SaveBmpDefDlg.h"
#include "tools/execute/TimeMacroDlg.h"
#include "view/QvView.h"
#include "view/media/MediaWindows.h"
#include "view/binary/BinaryMenuCommands.h"
#include "view/ViewBusyGuard.h"

namespace
{

// A fixed item checked while an integer setting has a value.
struct CheckedItem
{
    UINT id;
    int* setting;
    int value; // checked when the setting equals it; -1: when it is not 0
    // 1: the command toggles the setting here (0 leaves the command to the base class).
    int toggles;
};

const CheckedItem* FindCheckedItem(UINT id)
{
    static const CheckedItem kItems[] = {
        {175, &g_AUTO_FILE_NAME_WIDTH, -1, 0},
        {229, &g_CDRANDOM, -1, 0},
        {230, &g_CDREPEAT, -1, 0},
        {235, &g_DRIVELISTCHANGEDRIVEBYKEY, -1, 1},
        {262, &g_VIEWER_CHAR_CODE, 5, 0},
        {264, &g_VIEWER_CHAR_CODE, 1, 0},
        {265, &g_VIEWER_CHAR_CODE, 3, 0},
        {266, &g_VIEWER_CHAR_CODE, 0, 0},
        {267, &g_VIEWER_CHAR_CODE, 2, 0},
        {268, &g_VIEWER_CHAR_CODE, 4, 0},
        {682, &g_EASYSEARCHMODE, 0, 0},
        {706, &g_EASYSEARCHMODE, 1, 0},
        {938, &g_EASYSEARCHMODE, 2, 0},
        {314, &g_EASYSEARCHMODE, 3, 0},
        {428, &g_EASYSEARCHMODE, 4, 0},
        {316, &g_DRIVELISTCURJUMPCTRL, -1, 1},
        {317, &g_DRIVELISTCURJUMP, -1, 1},
        {940, &g_DRIVELISTCURJUMPSHIFT, -1, 1},
        {472, &g_FILENAMEPACK, -1, 0},
        {657, &g_VIEWMENUCOMMAND, -1, 0},
        {679, &g_MPEGNAMEDISPLAY, -1, 0},
        {778, &g_PREVIEW_DISP_PICTURE_FILE, -1, 0},
        {950, &g_MCI_ZOOM, 100, 0},
        {951, &g_MCI_ZOOM, 150, 0},
        {952, &g_MCI_ZOOM, 200, 0},
        {953, &g_MCI_ZOOM, 300, 0},
        {954, &g_MCI_ZOOM, 400, 0},
        {955, &g_MCI_ZOOM, 50, 0},
        {971, &g_SOUNDRANDOM, -1, 0},
        {972, &g_SOUNDREPEAT, -1, 0},
    };
    for (const CheckedItem& item : kItems)
        if (item.id == id)
            return &item;
    return nullptr;
}

// A fixed item checked while an option the view keeps for itself is on.
struct ViewCheckedItem
{
    UINT id;
    int GraphicViewState::*option;
};

const ViewCheckedItem* FindViewCheckedItem(UINT id)
{
    static const ViewCheckedItem kItems[] = {
        {537, &GraphicViewState::listWindowShown},
        {945, &GraphicViewState::smallWindowShown},
    };
    for (const ViewCheckedItem& item : kItems)
        if (item.id == id)
            return &item;
    return nullptr;
}

// The items whose command this view runs for the base class's sake: the enabled state
// is set here, not by a message-map handler.
bool IsEnabledHere(UINT id)
{
    return id == 175 || id == 235 || (id >= 262 && id <= 268 && id != 263) || id == 316 || id == 317 ||
           id == 940 || id == 3009;
}

bool IsNewFileId(UINT id)
{
    return id >= 6100 && id <= 6199;
}

// The alpha processing items "設定1" to "設定10": their row, or -1.
int AlphaMenuIndex(UINT id)
{
    static const UINT kIds[ALPHA_CHANNEL_ROW_COUNT] = {1488, 1490, 1493, 1507, 1498,
                                                       1500, 1502, 1504, 1505, 1506};
    for (int i = 0; i < ALPHA_CHANNEL_ROW_COUNT; ++i)
        if (kIds[i] == id)
            return i;
    return -1;
}

bool IsPlugInId(UINT id)
{
    return id >= 6200 && id <= 6249;
}

// The text to which the key text is appended: the one set just now, else the item's
// text in the menu that is being shown, else in the view's menu resource.
CString ItemText(CCmdUI& ui, const CString& setText, UINT menuResourceId)
{
    if (!setText.IsEmpty())
        return setText;
    wchar_t buffer[256] = {};
    if (ui.m_hMenu != nullptr && GetMenuStringW(ui.m_hMenu, ui.m_nID, buffer, 256, MF_BYCOMMAND) > 0)
        return CString(buffer);
    HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuResourceId));
    CString text;
    if (resource != nullptr)
    {
        if (GetMenuStringW(resource, ui.m_nID, buffer, 256, MF_BYCOMMAND) > 0)
            text = buffer;
        DestroyMenu(resource);
    }
    return text;
}

} // namespace

BOOL CQvView::RouteMenuCommand(UINT id, int code, void* extra)
{
    if (code == CN_UPDATE_COMMAND_UI)
    {
        auto* ui = static_cast<CCmdUI*>(extra);
        if (ui == nullptr)
            return FALSE;
        BOOL handled = FALSE;
        CString text;
        if (IsNewFileId(id))
        {
            INT_PTR index = id - 6100;
            bool present =
                index < g_MakeNewFileKinds.GetSize() && !g_MakeNewFileKinds[index].m_displayName.IsEmpty();
            ui->Enable(present);
            text = present ? g_MakeNewFileKinds[index].m_displayName : CString();
            ui->SetText(text);
            handled = TRUE;
        }
        else if (IsPlugInId(id))
        {
            GetPlugInCommandText(id - 6200, text);
            ui->Enable(TRUE);
            ui->SetText(text);
            handled = TRUE;
        }
        else if (const CheckedItem* item = FindCheckedItem(id))
        {
            if (IsEnabledHere(id) || IsCommandMenuItem(id) || IsSettingsMenuItem(id))
                ui->Enable(TRUE);
            bool on = item->value < 0 ? *item->setting != 0 : *item->setting == item->value;
            ui->SetCheck(on ? 1 : 0);
            handled = TRUE;
        }
        else if (const ViewCheckedItem* item = FindViewCheckedItem(id))
        {
            ui->Enable(TRUE);
            ui->SetCheck(m_graphic.*(item->option) ? 1 : 0);
            handled = TRUE;
        }
        else if (id == 821 || id == 917 || id == 598 || id == 915 || id == 328 || id == 365 || id == 913 ||
                 id == 1509)
        {
            // Dialogs the view opens itself: nothing else answers for them, and the frame
            // greys an item nobody answers for.
            ui->Enable(TRUE);
            handled = TRUE;
        }
        else if (id == 741)
        {
            // The companion viewer has no setting of its own: it is on while a pane
            // follows the cursor.
            ui->Enable(TRUE);
            ui->SetCheck(m_nCompanionPane >= 0 ? 1 : 0);
            handled = TRUE;
        }
        else if (id == 3009)
        {
            ui->Enable(TRUE);
            ui->SetCheck(g_HEIGHTSCALING == 1 || g_WIDTHSCALING == 1 ? 1 : 0);
            handled = TRUE;
        }
        else if (UpdateMediaMenuItem(id, *ui))
        {
            handled = TRUE;
        }
        else if (id >= 369 && id <= 378)
        {
            UpdateDisplaySetMenuItem(*ui, static_cast<int>(id - 369));
            handled = TRUE;
        }
        else if (IsCommandMenuItem(id))
        {
            ui->Enable(TRUE);
            handled = TRUE;
        }
        else if (IsSettingsMenuItem(id))
        {
            ui->Enable(TRUE);
            handled = TRUE;
        }
        else if (IsBinaryMenuCommand(id))
        {
            ui->Enable(TRUE);
            handled = TRUE;
        }
        else if (AlphaMenuIndex(id) >= 0)
        {
            UpdateAlphaMenuItem(*ui, AlphaMenuIndex(id));
            text = FormatAlphaChannelType(text, AlphaMenuIndex(id), nullptr);
            handled = TRUE;
        }
        else if ((id >= 6000 && id <= 6098) || (id >= 6311 && id <= 6330))
        {
            ui->Enable(TRUE);
            handled = TRUE;
        }
        else if (id >= 618 && id <= 622)
        {
            text.Format(L"%d文字に設定", g_ViewerLineWidths[id - 618]);
            ui->SetText(text);
            handled = TRUE;
        }
        if (g_VIEWMENUCOMMAND && !(IsNewFileId(id) && text.IsEmpty()))
        {
            // Only while a menu bar is shown; without a window the caller's menu counts.
            CWnd* frame = m_hWnd ? GetTopLevelParent() : nullptr;
            bool menuShown = frame == nullptr || ::GetMenu(frame->m_hWnd) != nullptr;
            CString keyword, keyText;
            if (menuShown && GetKeywordOfMenuId(id, keyword) && GetKeyNameOfKeyword(keyword, keyText))
            {
                CString shown = ItemText(*ui, text, m_menuResourceId);
                shown += L"  [";
                shown += keyText;
                shown += L"]";
                ui->SetText(shown);
            }
        }
        return handled;
    }
    if (code != CN_COMMAND)
        return FALSE;
    if (RunCommandMenuItem(*this, id))
        return TRUE;
    if (RunMediaMenuCommand(*this, id))
        return TRUE;
    if (RunBinaryMenuCommand(id))
        return TRUE;
    if (RunSettingsMenuItem(*this, id))
        return TRUE;
    if (id == 328)
    {
        // The defaults of series saving; the dialog stores them itself on OK.
        CSaveBmpDefDlg dialog(DialogOwner(this));
        dialog.DoModal();
        return TRUE;
    }
    if (id == 365)
    {
        OnDisplayFontConfig();
        return TRUE;
    }
    if (id == 915)
    {
        OnDisplayModeSettings();
        return TRUE;
    }
    if (id == 598)
    {
        OnExtensionExecuteSettings();
        return TRUE;
    }
    if (id == 1089)
    {
        OnGraphicZoomSettings();
        return TRUE;
    }
    if (id == 1509)
    {
        OnAlphaChannelSettings();
        return TRUE;
    }
    if (id == 330)
    {
        // The unpack options of every archiver row and the bridge library's folder.
        CDefunarcDlg dialog(DialogOwner(this));
        dialog.DoModal();
        return TRUE;
    }
    if (id == 821)
    {
        OnRightClickMenuSettings();
        return TRUE;
    }
    if (id == 917)
    {
        OnFilerWallpaperSettings();
        return TRUE;
    }
    if (id == 913)
    {
        CViewBusyGuard busy(*this);
        CSetTimeMacroDlg dialog(this);
        dialog.DoModal();
        return TRUE;
    }
    // Menu items whose command is also a keyword: the item runs the keyword's handler.
    static const struct
    {
        UINT id;
        LPCWSTR keyword;
        void (CQvView::*handler)();
    } kKeywordItems[] = {
        {1002, L"@Syncrocopyex", &CQvView::SynchroniseDirectories},
        {506, L"@Filetime", &CQvView::ChangeFileTime},
        {507, L"@TimeAttribute", &CQvView::ChangeTimeAndAttributes},
        {834, L"@Samedirectory", &CQvView::SetOtherToSameDirectory},
        {257, L"@Changefilerdata", &CQvView::ToggleOtherPaneContent},
        {379, L"@Changedevide", &CQvView::ToggleSplitDirection},
        {144, L"@Toallnetwork", &CQvView::ShowWholeNetwork},
        {833, L"@Rootdirectory", &CQvView::GoRootDirectory},
        {1062, L"@Viewallselect", &CQvView::SelectAllText},
        {282, L"@Cmpbinary", &CQvView::CompareBinary},
        {57665, L"@Quit", &CQvView::QuitProgram},
    };
    for (const auto& item : kKeywordItems)
    {
        if (item.id == id)
        {
            (this->*item.handler)();
            return TRUE;
        }
    }
    if (id == 642)
    {
        OpenNewFileSettingsDialog();
        return TRUE;
    }
    if (IsNewFileId(id))
    {
        CreateNewFile(static_cast<int>(id - 6100));
        return TRUE;
    }
    if (const CheckedItem* item = FindCheckedItem(id))
    {
        if (!item->toggles)
            return FALSE;
        *item->setting = *item->setting ? 0 : 1;
        return TRUE;
    }
    if (id >= 486 && id <= 490)
    {
        g_FILERINFONUMBER = static_cast<int>(id - 486);
        if (m_hWnd)
            Invalidate();
        return TRUE;
    }
    if (RunDynamicMenuItem(id))
        return TRUE;
    // PLACEHOLDER: the keyword pairs (6300-6309), the shell context menu (10000-50000), the display
    // sets, recent files, SCSI commands and alpha-channel rows run here once their
    // lists exist; until then they go on to the framework's routing.
    return FALSE;
}
