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
#include "view/menus/FilerInfoItems.h"
#include "view/ViewBusyGuard.h"
#include "app/KeywordBuilders.h"
#include "app/keys/UserMenuText.h"
#include "app/settings/ViewSettings.h"
#include "media/cd/CdPlayer.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "filer/FilerPane.h"
#include "filer/IncrementalSearchState.h"
#include "media/devices/AudioEndpoints.h"
#include "res/MenuIds.h"

#include <shlobj.h>

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
        {ID_MENU_AUTO_FILE_NAME_WIDTH, &g_AUTO_FILE_NAME_WIDTH, -1, 0},
        {ID_MENU_CD_RANDOM, &g_CDRANDOM, -1, 0},
        {ID_MENU_CD_REPEAT, &g_CDREPEAT, -1, 0},
        {ID_MENU_DRIVE_BY_KEY, &g_DRIVELISTCHANGEDRIVEBYKEY, -1, 1},
        {ID_MENU_CHAR_CODE_AUTO, &g_VIEWER_CHAR_CODE, 5, 0},
        {ID_MENU_CHAR_CODE_EUC, &g_VIEWER_CHAR_CODE, 1, 0},
        {ID_MENU_CHAR_CODE_JIS, &g_VIEWER_CHAR_CODE, 3, 0},
        {ID_MENU_CHAR_CODE_SHIFT_JIS, &g_VIEWER_CHAR_CODE, 0, 0},
        {ID_MENU_CHAR_CODE_UNICODE, &g_VIEWER_CHAR_CODE, 2, 0},
        {ID_MENU_CHAR_CODE_UTF8, &g_VIEWER_CHAR_CODE, 4, 0},
        {ID_MENU_EASY_SEARCH_OFF, &g_EASYSEARCHMODE, 0, 0},
        {ID_MENU_EASY_SEARCH_ON, &g_EASYSEARCHMODE, 1, 0},
        {ID_MENU_EASY_SEARCH_SHIFT, &g_EASYSEARCHMODE, 2, 0},
        {ID_MENU_EASY_SEARCH_CTRL, &g_EASYSEARCHMODE, 3, 0},
        {ID_MENU_EASY_SEARCH_EXPANDED, &g_EASYSEARCHMODE, 4, 0},
        {ID_MENU_INC_SEARCH_OFF, &g_IncrementalSearchMode, 0, 0},
        {ID_MENU_INC_SEARCH_ON, &g_IncrementalSearchMode, 1, 0},
        {ID_MENU_INC_SEARCH_SHIFT, &g_IncrementalSearchMode, 2, 0},
        {ID_MENU_INC_SEARCH_CTRL, &g_IncrementalSearchMode, 3, 0},
        {ID_MENU_INC_SEARCH_EXPANDED, &g_IncrementalSearchMode, 4, 0},
        {ID_MENU_DRIVE_JUMP_CTRL, &g_DRIVELISTCURJUMPCTRL, -1, 1},
        {ID_MENU_DRIVE_JUMP, &g_DRIVELISTCURJUMP, -1, 1},
        {ID_MENU_DRIVE_JUMP_SHIFT, &g_DRIVELISTCURJUMPSHIFT, -1, 1},
        {ID_MENU_FILE_NAME_PACK, &g_FILENAMEPACK, -1, 0},
        {ID_MENU_KEYS_IN_MENUS, &g_VIEWMENUCOMMAND, -1, 0},
        {ID_MENU_MPEG_NAMES, &g_MPEGNAMEDISPLAY, -1, 0},
        {ID_MENU_PREVIEW_PICTURES_ONLY, &g_PREVIEW_DISP_PICTURE_FILE, -1, 0},
        {ID_MENU_MEDIA_ZOOM_100, &g_MCI_ZOOM, 100, 0},
        {ID_MENU_MEDIA_ZOOM_150, &g_MCI_ZOOM, 150, 0},
        {ID_MENU_MEDIA_ZOOM_200, &g_MCI_ZOOM, 200, 0},
        {ID_MENU_MEDIA_ZOOM_300, &g_MCI_ZOOM, 300, 0},
        {ID_MENU_MEDIA_ZOOM_400, &g_MCI_ZOOM, 400, 0},
        {ID_MENU_MEDIA_ZOOM_50, &g_MCI_ZOOM, 50, 0},
        {ID_MENU_SOUND_RANDOM, &g_SOUNDRANDOM, -1, 0},
        {ID_MENU_SOUND_REPEAT, &g_SOUNDREPEAT, -1, 0},
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
        {ID_MENU_PICTURE_LIST, &GraphicViewState::listWindowShown},
        {ID_MENU_SMALL_PICTURE, &GraphicViewState::smallWindowShown},
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
    return id == ID_MENU_AUTO_FILE_NAME_WIDTH || id == ID_MENU_DRIVE_BY_KEY ||
           (id >= ID_MENU_CHAR_CODE_AUTO && id <= ID_MENU_CHAR_CODE_UTF8 &&
            id != ID_MENU_CHAR_CODE_AUTO + 1) ||
           id == ID_MENU_DRIVE_JUMP_CTRL || id == ID_MENU_DRIVE_JUMP || id == ID_MENU_DRIVE_JUMP_SHIFT ||
           id == ID_MENU_SCALING;
}

bool IsNewFileId(UINT id)
{
    return id >= ID_MENU_NEW_FILE_FIRST && id <= ID_MENU_NEW_FILE_LAST;
}

// The CD items: enabled by the player's state.
bool IsCdStateItem(UINT id)
{
    return id == ID_MENU_CD_BEFORE || id == ID_MENU_CD_NEXT || id == ID_MENU_CD_STOP ||
           id == ID_MENU_CD_PAUSE || id == ID_MENU_CD_PLAY;
}

bool CdItemEnabled(UINT id)
{
    if (id == ID_MENU_CD_PAUSE)
        return g_CdState == CD_PLAYING;
    if (id == ID_MENU_CD_PLAY)
        return g_CdState != CD_PLAYING;
    return g_CdState == CD_PLAYING || g_CdState == CD_PAUSED;
}

// The dialogs the view opens itself for items that no keyword names.
bool IsViewDialogItem(UINT id)
{
    static const UINT kIds[] = {
        ID_MENU_SERIES_SAVE_DEFAULTS, ID_MENU_FONTS_PER_RESOLUTION,  ID_MENU_DISPLAY_MODES,
        ID_MENU_EXTENSION_EXECUTE,    ID_MENU_GRAPHIC_ZOOM_SETTINGS, ID_MENU_ALPHA_SETTINGS,
        ID_MENU_UNPACK_SETTINGS,      ID_MENU_RIGHT_CLICK_SETTINGS,  ID_MENU_FILER_WALLPAPER,
        ID_MENU_TIME_MACROS,          ID_MENU_NEW_FILE_SETTINGS,     ID_MENU_SCSI_ASSIGNMENT};
    for (UINT known : kIds)
        if (known == id)
            return true;
    return false;
}

bool IsDefaultDevice(const CArray<CEndPointData>& devices, INT_PTR index, int flow)
{
    if (index >= devices.GetSize())
        return false;
    CEndPointData current;
    if (!GetDefaultAudioEndpoint(flow, current))
        return false;
    const CEndPointData& device = devices[index];
    if (!device.m_id.IsEmpty() && !current.m_id.IsEmpty())
        return device.m_id == current.m_id;
    return !device.m_name.IsEmpty() && device.m_name.CompareNoCase(current.m_name) == 0;
}

bool IsUserPairId(UINT id)
{
    return id >= ID_MENU_USER_PAIR_FIRST && id <= ID_MENU_USER_PAIR_LAST;
}

bool IsShellMenuId(UINT id)
{
    return id >= ID_MENU_SHELL_FIRST && id <= ID_MENU_SHELL_LAST && g_pContMenu2 != nullptr;
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
    return id >= ID_MENU_PLUGIN_FIRST && id <= ID_MENU_PLUGIN_LAST;
}

// The text to which the key text is appended: the one set just now, else the item's
// text in the menu that is being shown, else in the view's menu resource.
CString ItemText(CCmdUI& ui, const CString& setText, UINT menuResourceId)
{
    if (!setText.IsEmpty())
        return setText;
    wchar_t buffer[256] = {};
    if (ui.m_hMenu != nullptr && GetMenuStringW(ui.m_hMenu, ui.m_nID, buffer, 256, MF_BYCOMMAND) > 0)
    {
        // The live item still carries the key text the last opening of the menu added.
        CString live(buffer);
        const int suffix = live.ReverseFind(L'[');
        if (suffix >= 2 && live[live.GetLength() - 1] == L']' && live.Mid(suffix - 2, 3) == L"  [")
            live = live.Left(suffix - 2);
        return live;
    }
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

void CQvView::OnUpdateFilerInfoItem(CCmdUI& item, int layout)
{
    item.Enable(TRUE);
    item.SetCheck(g_FILERINFONUMBER == layout ? 1 : 0);
    item.SetText(FormatFilerInfoItemText(layout));
}

BOOL CQvView::RouteMenuCommand(UINT id, int code, void* extra)
{
    // The keyword pairs of the right-click menu and the shell's own items answer both
    // codes here.
    if (IsUserPairId(id))
    {
        const int n = static_cast<int>(id - ID_MENU_USER_PAIR_FIRST);
        if (code == CN_COMMAND)
            OnUserMenuItem(n);
        else if (code == CN_UPDATE_COMMAND_UI && extra != nullptr)
        {
            auto* ui = static_cast<CCmdUI*>(extra);
            CString label;
            GetUserMenuItemText(g_UserMenuEntries[n].m_command, g_UserMenuEntries[n].m_display, n, label);
            ui->Enable(TRUE);
            ui->SetText(label);
        }
        return TRUE;
    }
    if (IsShellMenuId(id))
    {
        if (code == CN_COMMAND)
            RunContextMenuCommand(id);
        else if (code == CN_UPDATE_COMMAND_UI && extra != nullptr)
            static_cast<CCmdUI*>(extra)->Enable(TRUE);
        return TRUE;
    }
    if (code == CN_UPDATE_COMMAND_UI)
    {
        auto* ui = static_cast<CCmdUI*>(extra);
        if (ui == nullptr)
            return FALSE;
        BOOL handled = FALSE;
        CString text;
        if (IsNewFileId(id))
        {
            INT_PTR index = id - ID_MENU_NEW_FILE_FIRST;
            bool present =
                index < g_MakeNewFileKinds.GetSize() && !g_MakeNewFileKinds[index].m_displayName.IsEmpty();
            ui->Enable(present);
            text = present ? g_MakeNewFileKinds[index].m_displayName : CString();
            ui->SetText(text);
            handled = TRUE;
        }
        else if (IsPlugInId(id))
        {
            GetPlugInCommandText(id - ID_MENU_PLUGIN_FIRST, text);
            ui->Enable(TRUE);
            ui->SetText(text);
            handled = TRUE;
        }
        else if (IsCdStateItem(id))
        {
            ui->Enable(CdItemEnabled(id));
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
        else if (id == ID_MENU_COMPANION_VIEWER)
        {
            // The companion viewer has no setting of its own: it is on while a pane
            // follows the cursor. Only a filer's cursor can be followed, so elsewhere
            // the item can only turn it off.
            const int active = GetActivePaneIndex();
            ui->Enable(m_nCompanionPane >= 0 || (active >= 0 && g_Panes[active]->m_mode == PANE_MODE_FILER));
            ui->SetCheck(m_nCompanionPane >= 0 ? 1 : 0);
            handled = TRUE;
        }
        else if (id == ID_MENU_OTHER_ALWAYS_DIR)
        {
            ui->Enable(TRUE);
            ui->SetCheck(m_previews.followingPane >= 0 ? 1 : 0);
            handled = TRUE;
        }
        else if (id == ID_MENU_PREVIEW_ON || id == ID_MENU_PREVIEW_WITH_SUBDIRS)
        {
            // Checked by the preview state of the active directory: 3 for the folder
            // alone, 2 with its subfolders.
            const int active = GetActivePaneIndex();
            BYTE type = 0;
            const bool on = g_pLoadPreviewThread != nullptr && active >= 0 && g_Panes[active] != nullptr &&
                            g_pLoadPreviewThread->IsPreviewDirectory(g_Panes[active]->m_currentDir, &type) &&
                            type == (id == ID_MENU_PREVIEW_ON ? 3 : 2);
            ui->Enable(TRUE);
            ui->SetCheck(on ? 1 : 0);
            handled = TRUE;
        }
        else if (id == ID_MENU_TEMP_SCALING)
        {
            ui->Enable(TRUE);
            ui->SetCheck(m_graphic.fitWidth == 1 || m_graphic.fitHeight == 1 ? 1 : 0);
            handled = TRUE;
        }
        else if (id == ID_MENU_SCALING)
        {
            ui->Enable(TRUE);
            ui->SetCheck(g_HEIGHTSCALING == 1 || g_WIDTHSCALING == 1 ? 1 : 0);
            handled = TRUE;
        }
        else if (UpdateMediaMenuItem(id, *ui))
        {
            handled = TRUE;
        }
        else if (id >= ID_MENU_DISPLAY_SET_FIRST && id <= ID_MENU_DISPLAY_SET_LAST)
        {
            UpdateDisplaySetMenuItem(*ui, static_cast<int>(id - ID_MENU_DISPLAY_SET_FIRST));
            handled = TRUE;
        }
        else if (id >= ID_MENU_SCSI_FIRST && id <= ID_MENU_SCSI_LAST)
        {
            ui->Enable(GetScsiMenuItem(static_cast<int>(id - ID_MENU_SCSI_FIRST) + 1, text));
            ui->SetText(text);
            handled = TRUE;
        }
        else if (id >= ID_MENU_FILER_INFO_FIRST && id <= ID_MENU_FILER_INFO_LAST)
        {
            const int layout = static_cast<int>(id - ID_MENU_FILER_INFO_FIRST);
            OnUpdateFilerInfoItem(*ui, layout);
            text = FormatFilerInfoItemText(layout);
            handled = TRUE;
        }
        else if (AlphaMenuIndex(id) >= 0)
        {
            UpdateAlphaMenuItem(*ui, AlphaMenuIndex(id));
            text = FormatAlphaChannelType(text, AlphaMenuIndex(id), nullptr);
            handled = TRUE;
        }
        else if (id >= ID_MENU_CPL_FIRST && id <= ID_MENU_CPL_LAST)
        {
            ui->Enable(TRUE);
            handled = TRUE;
        }
        else if (id >= ID_MENU_OUTPUT_DEVICE_FIRST && id <= ID_MENU_AUDIO_DEVICE_LAST)
        {
            // The system's default device of the list carries the check mark.
            const bool output = id < ID_MENU_INPUT_DEVICE_FIRST;
            ui->Enable(TRUE);
            ui->SetCheck(
                IsDefaultDevice(output ? m_system.outputDevices : m_system.inputDevices,
                                id - (output ? ID_MENU_OUTPUT_DEVICE_FIRST : ID_MENU_INPUT_DEVICE_FIRST),
                                output ? AUDIO_FLOW_PLAYBACK : AUDIO_FLOW_CAPTURE)
                    ? 1
                    : 0);
            handled = TRUE;
        }
        else if (id >= ID_MENU_LINE_WIDTH_FIRST && id <= ID_MENU_LINE_WIDTH_LAST)
        {
            text.Format(L"%d文字に設定", g_ViewerLineWidths[id - ID_MENU_LINE_WIDTH_FIRST]);
            ui->SetText(text);
            handled = TRUE;
        }
        else if (IsViewDialogItem(id))
        {
            // Dialogs the view opens itself: nothing else answers for them, and the frame
            // greys an item nobody answers for.
            ui->Enable(TRUE);
            handled = TRUE;
        }
        else if (IsSettingsMenuItem(id))
        {
            ui->Enable(CanRunSettingsMenuItem(*this, id));
            handled = TRUE;
        }
        else if (IsCommandMenuItem(id) || IsBinaryMenuCommand(id))
        {
            ui->Enable(TRUE);
            handled = TRUE;
        }
        // An item whose state alone is set here (a check mark) is enabled by its route.
        if (handled && !ui->m_bEnableChanged && IsCommandMenuItem(id))
            ui->Enable(TRUE);
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
    if (RunMediaMenuCommand(*this, id))
        return TRUE;
    if (RunBinaryMenuCommand(id))
        return TRUE;
    if (RunSettingsMenuItem(*this, id))
        return TRUE;
    if (id == ID_MENU_SERIES_SAVE_DEFAULTS)
    {
        // The defaults of series saving; the dialog stores them itself on OK.
        CSaveBmpDefDlg dialog(DialogOwner(this));
        dialog.DoModal();
        return TRUE;
    }
    if (id == ID_MENU_FONTS_PER_RESOLUTION)
    {
        OnDisplayFontConfig();
        return TRUE;
    }
    if (id == ID_MENU_DISPLAY_MODES)
    {
        OnDisplayModeSettings();
        return TRUE;
    }
    if (id == ID_MENU_EXTENSION_EXECUTE)
    {
        OnExtensionExecuteSettings();
        return TRUE;
    }
    if (id == ID_MENU_GRAPHIC_ZOOM_SETTINGS)
    {
        OnGraphicZoomSettings();
        return TRUE;
    }
    if (id == ID_MENU_ALPHA_SETTINGS)
    {
        OnAlphaChannelSettings();
        return TRUE;
    }
    if (id == ID_MENU_UNPACK_SETTINGS)
    {
        // The unpack options of every archiver row and the bridge library's folder.
        CDefunarcDlg dialog(DialogOwner(this));
        dialog.DoModal();
        return TRUE;
    }
    if (id == ID_MENU_RIGHT_CLICK_SETTINGS)
    {
        OnRightClickMenuSettings();
        return TRUE;
    }
    if (id == ID_MENU_FILER_WALLPAPER)
    {
        OnFilerWallpaperSettings();
        return TRUE;
    }
    if (id == ID_MENU_TIME_MACROS)
    {
        CViewBusyGuard busy(*this);
        CSetTimeMacroDlg dialog(this);
        dialog.DoModal();
        return TRUE;
    }
    if (id == ID_MENU_NEW_FILE_SETTINGS)
    {
        OpenNewFileSettingsDialog();
        return TRUE;
    }
    if (IsNewFileId(id))
    {
        CreateNewFile(static_cast<int>(id - ID_MENU_NEW_FILE_FIRST));
        return TRUE;
    }
    if (const CheckedItem* item = FindCheckedItem(id))
    {
        if (!item->toggles)
            return FALSE;
        *item->setting = *item->setting ? 0 : 1;
        return TRUE;
    }
    if (id >= ID_MENU_FILER_INFO_FIRST && id <= ID_MENU_FILER_INFO_LAST)
    {
        g_FILERINFONUMBER = static_cast<int>(id - ID_MENU_FILER_INFO_FIRST);
        if (m_hWnd)
            Invalidate();
        return TRUE;
    }
    if (RunDynamicMenuItem(id))
        return TRUE;
    // The items of the command tables run after the message map (see OnCmdMsg).
    return FALSE;
}
