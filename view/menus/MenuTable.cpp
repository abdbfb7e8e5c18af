// The menu table: one row for every menu id the view serves that is not simply a
// keyword of the command tables, and one row for each range filled at run time. A row
// names what choosing the item does (a view member, a dialog, a setting it flips, or,
// left empty, the keyword of the command-table row that carries the id) and how its
// enabled state, check mark and text are found.
#include "view/menus/MenuTable.h"

#include "app/PlugInCommands.h"
#include "app/KeywordBuilders.h"
#include "app/Settings.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/keys/CommandTables.h"
#include "app/keys/UserMenuText.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"
#include "archivefront/dialogs/DefunarcDlg.h"
#include "filer/FilerPane.h"
#include "filer/IncrementalSearchState.h"
#include "graphics/picture/PictureData.h"
#include "graphics/picture/SaveBmpDefDlg.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "media/MciWnd.h"
#include "media/cd/CdPlayer.h"
#include "res/MenuIds.h"
#include "res/TrayMenu.h"
#include "tools/execute/TimeMacroDlg.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"
#include "view/commands/CommandDispatch.h"
#include "view/media/MediaWindows.h"
#include "view/menus/FilerInfoItems.h"
#include "view/menus/SettingsMenuItems.h"
#include "view/system/DynamicMenuItems.h"

namespace
{

// ---- What choosing an item does

template <void (CQvView::*Member)()> BOOL Call(CQvView& view, UINT)
{
    (view.*Member)();
    return TRUE;
}

template <void (*Function)(CQvView&)> BOOL Open(CQvView& view, UINT)
{
    Function(view);
    return TRUE;
}

// The binary editor's items act on the active binary pane; elsewhere the item runs
// the keyword its id carries in the command tables.
template <void (CQvView::*Member)()> BOOL InBinaryPane(CQvView& view, UINT)
{
    if (view.ActiveBinaryPane() < 0)
        return FALSE;
    (view.*Member)();
    return TRUE;
}

template <int* Setting> BOOL Toggle(CQvView&, UINT)
{
    *Setting = *Setting ? 0 : 1;
    return TRUE;
}

// The network items run the filer's keywords; their command-table rows carry no menu
// id, so that no key text is shown for them.
BOOL ShowNetworkComputers(CQvView& view, UINT)
{
    const CommandEntry* entry = FindDispatcherEntry(DISPATCH_FILER, L"@Tonetwork");
    if (entry == nullptr)
        return FALSE;
    RunDispatcherEntry(view, *entry, L"@Tonetwork", L"");
    return TRUE;
}

BOOL ShowWholeNetwork(CQvView& view, UINT)
{
    const CommandEntry* entry = FindDispatcherEntry(DISPATCH_FILER, L"@Toallnetwork");
    if (entry == nullptr)
        return FALSE;
    RunDispatcherEntry(view, *entry, L"@Toallnetwork", L"");
    return TRUE;
}

BOOL RunUserPair(CQvView& view, UINT id)
{
    view.OnUserMenuItem(static_cast<int>(id - ID_MENU_USER_PAIR_FIRST));
    return TRUE;
}

// The shell's items exist only while its context menu is shown.
BOOL RunShellItem(CQvView& view, UINT id)
{
    if (g_pContMenu2 == nullptr)
        return FALSE;
    view.RunContextMenuCommand(id);
    return TRUE;
}

BOOL CreateNewFileOfItem(CQvView& view, UINT id)
{
    view.CreateNewFile(static_cast<int>(id - ID_MENU_NEW_FILE_FIRST));
    return TRUE;
}

BOOL ChooseFilerInfoLayout(CQvView& view, UINT id)
{
    g_FILERINFONUMBER = static_cast<int>(id - ID_MENU_FILER_INFO_FIRST);
    if (view.m_hWnd)
        view.Invalidate();
    return TRUE;
}

BOOL ChooseLineWidthPreset(CQvView& view, UINT id)
{
    view.OnViewerLineWidthPreset(id);
    return TRUE;
}

BOOL RunApplet(CQvView&, UINT id)
{
    RunAppletItem(id);
    return TRUE;
}

BOOL ChooseAudioDevice(CQvView& view, UINT id)
{
    ChooseAudioDeviceItem(view, id);
    return TRUE;
}

BOOL PlayRecentFileOfItem(CQvView&, UINT id)
{
    PlayRecentFile(id);
    return TRUE;
}

BOOL PlayTheLastPlayList(CQvView& view, UINT)
{
    PlayLastPlayList(view);
    return TRUE;
}

BOOL AssignScsi(CQvView&, UINT)
{
    AssignScsiDevices();
    return TRUE;
}

// The defaults of series saving and the unpack options of every archiver row with the
// bridge library's folder: each dialog stores what it changes itself on OK.
template <class TDialog> BOOL ShowDialog(CQvView& view, UINT)
{
    TDialog dialog(DialogOwner(&view));
    dialog.DoModal();
    return TRUE;
}

BOOL EditTimeMacros(CQvView& view, UINT)
{
    CViewBusyGuard busy(view);
    CSetTimeMacroDlg dialog(&view);
    dialog.DoModal();
    return TRUE;
}

// ---- How an item's state is found

// Dialogs and commands the view serves itself: nothing else answers for them, and
// the frame greys an item nobody answers for.
BOOL Enabled(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(TRUE);
    return TRUE;
}

// The anchors of the device lists stand for no device.
BOOL Greyed(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(FALSE);
    return TRUE;
}

// Checked while the setting equals Value, or with Value -1 while it is not 0.
template <int* Setting, int Value = -1> BOOL CheckedBy(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(TRUE);
    ui.SetCheck((Value < 0 ? *Setting != 0 : *Setting == Value) ? 1 : 0);
    return TRUE;
}

// Checked while an option the view keeps for itself is on.
template <int GraphicViewState::*Option> BOOL CheckedByView(CQvView& view, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(TRUE);
    ui.SetCheck(view.m_graphic.*Option ? 1 : 0);
    return TRUE;
}

BOOL UserPairState(CQvView&, CCmdUI& ui, UINT id, CString&)
{
    const int n = static_cast<int>(id - ID_MENU_USER_PAIR_FIRST);
    CString label;
    GetUserMenuItemText(g_UserMenuEntries[n].m_command, g_UserMenuEntries[n].m_display, n, label);
    ui.Enable(TRUE);
    ui.SetText(label);
    return TRUE;
}

BOOL ShellItemState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    if (g_pContMenu2 == nullptr)
        return FALSE;
    ui.Enable(TRUE);
    return TRUE;
}

BOOL NewFileState(CQvView&, CCmdUI& ui, UINT id, CString& text)
{
    const INT_PTR index = id - ID_MENU_NEW_FILE_FIRST;
    const bool present =
        index < g_MakeNewFileKinds.GetSize() && !g_MakeNewFileKinds[index].m_displayName.IsEmpty();
    ui.Enable(present);
    text = present ? g_MakeNewFileKinds[index].m_displayName : CString();
    ui.SetText(text);
    return TRUE;
}

BOOL PlugInState(CQvView&, CCmdUI& ui, UINT id, CString& text)
{
    GetPlugInCommandText(id - ID_MENU_PLUGIN_FIRST, text);
    ui.Enable(TRUE);
    ui.SetText(text);
    return TRUE;
}

// The CD items follow the player: pause while it plays, play while it does not, the
// others while a disc plays or pauses.
BOOL CdPauseState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(g_CdState == CD_PLAYING);
    return TRUE;
}

BOOL CdPlayState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(g_CdState != CD_PLAYING);
    return TRUE;
}

BOOL CdTrackState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(g_CdState == CD_PLAYING || g_CdState == CD_PAUSED);
    return TRUE;
}

BOOL CompanionViewerState(CQvView& view, CCmdUI& ui, UINT, CString&)
{
    // The companion viewer has no setting of its own: it is on while a pane follows
    // the cursor. Only a filer's cursor can be followed, so elsewhere the item can only
    // turn it off.
    const int active = view.GetActivePaneIndex();
    ui.Enable(view.m_nCompanionPane >= 0 || (active >= 0 && g_Panes[active]->m_mode == PANE_MODE_FILER));
    ui.SetCheck(view.m_nCompanionPane >= 0 ? 1 : 0);
    return TRUE;
}

BOOL FollowingPaneState(CQvView& view, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(TRUE);
    ui.SetCheck(view.m_previews.followingPane >= 0 ? 1 : 0);
    return TRUE;
}

// Checked by the preview state of the active directory: 3 for the folder alone, 2
// with its subfolders.
BOOL PreviewFolderState(CQvView& view, CCmdUI& ui, UINT id, CString&)
{
    const int active = view.GetActivePaneIndex();
    BYTE type = 0;
    const bool on = g_pLoadPreviewThread != nullptr && active >= 0 && g_Panes[active] != nullptr &&
                    g_pLoadPreviewThread->IsPreviewDirectory(g_Panes[active]->m_currentDir, &type) &&
                    type == (id == ID_MENU_PREVIEW_ON ? 3 : 2);
    ui.Enable(TRUE);
    ui.SetCheck(on ? 1 : 0);
    return TRUE;
}

BOOL TemporaryScalingState(CQvView& view, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(TRUE);
    ui.SetCheck(view.m_graphic.fitWidth == 1 || view.m_graphic.fitHeight == 1 ? 1 : 0);
    return TRUE;
}

BOOL ScalingState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(TRUE);
    ui.SetCheck(g_HEIGHTSCALING == 1 || g_WIDTHSCALING == 1 ? 1 : 0);
    return TRUE;
}

// Loading a sound list waits while a play list plays; pausing and stopping need a
// medium that plays outside a play list.
BOOL SoundLoadState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(!IsPlayListPlaying());
    return TRUE;
}

BOOL SoundPlayingState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(IsMediaPlaying() && !IsPlayListPlaying());
    return TRUE;
}

BOOL TagWindowState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(TRUE);
    ui.SetCheck(IsTagWindowShown() ? 1 : 0);
    return TRUE;
}

BOOL LastPlayListState(CQvView&, CCmdUI& ui, UINT, CString&)
{
    UpdateLastPlayListItem(ui);
    return TRUE;
}

BOOL RecentFileState(CQvView&, CCmdUI& ui, UINT id, CString&)
{
    UpdateRecentFileItem(ui, id);
    return TRUE;
}

BOOL DisplaySetState(CQvView&, CCmdUI& ui, UINT id, CString&)
{
    CQvView::UpdateDisplaySetMenuItem(ui, static_cast<int>(id - ID_MENU_DISPLAY_SET_FIRST));
    return TRUE;
}

BOOL ScsiSlotState(CQvView&, CCmdUI& ui, UINT id, CString& text)
{
    ui.Enable(GetScsiMenuItem(static_cast<int>(id - ID_MENU_SCSI_FIRST) + 1, text));
    ui.SetText(text);
    return TRUE;
}

BOOL FilerInfoState(CQvView& view, CCmdUI& ui, UINT id, CString& text)
{
    const int layout = static_cast<int>(id - ID_MENU_FILER_INFO_FIRST);
    view.OnUpdateFilerInfoItem(ui, layout);
    text = FormatFilerInfoItemText(layout);
    return TRUE;
}

// The alpha processing items "設定1" to "設定10".
template <int Row> BOOL AlphaRowState(CQvView& view, CCmdUI& ui, UINT, CString& text)
{
    view.UpdateAlphaMenuItem(ui, Row);
    text = FormatAlphaChannelType(text, Row, nullptr);
    return TRUE;
}

BOOL AudioDeviceState(CQvView& view, CCmdUI& ui, UINT id, CString&)
{
    UpdateAudioDeviceItem(view, ui, id);
    return TRUE;
}

BOOL LineWidthState(CQvView&, CCmdUI& ui, UINT id, CString& text)
{
    text.Format(L"%d文字に設定", g_ViewerLineWidths[id - ID_MENU_LINE_WIDTH_FIRST]);
    ui.Enable(TRUE);
    ui.SetText(text);
    return TRUE;
}

BOOL DisplayFilterState(CQvView& view, CCmdUI& ui, UINT, CString&)
{
    ui.Enable(CanOpenDisplayFilter(view));
    return TRUE;
}

// ---- The table

constexpr MenuRow Item(UINT id, MenuRun run, MenuState state)
{
    return {id, id, run, state, false};
}

constexpr MenuRow Range(UINT first, UINT last, MenuRun run, MenuState state)
{
    return {first, last, run, state, false};
}

constexpr MenuRow Filled(UINT first, UINT last, MenuRun run, MenuState state)
{
    return {first, last, run, state, true};
}

// clang-format off
const MenuRow kMenuRows[] = {
    // Ranges filled at run time.
    Filled(ID_MENU_USER_PAIR_FIRST, ID_MENU_USER_PAIR_LAST, RunUserPair, UserPairState),
    Filled(ID_MENU_SHELL_FIRST, ID_MENU_SHELL_LAST, RunShellItem, ShellItemState),
    Filled(ID_MENU_NEW_FILE_FIRST, ID_MENU_NEW_FILE_LAST, CreateNewFileOfItem, NewFileState),
    Filled(ID_MENU_PLUGIN_FIRST, ID_MENU_PLUGIN_LAST, nullptr, PlugInState),
    Filled(ID_MENU_CPL_FIRST, ID_MENU_CPL_LAST, RunApplet, Enabled),
    Filled(ID_MENU_OUTPUT_DEVICE_FIRST, ID_MENU_AUDIO_DEVICE_LAST, ChooseAudioDevice, AudioDeviceState),
    Item(3028, nullptr, Greyed), // "(なし)" of the playback devices
    Item(3029, nullptr, Greyed), // "(なし)" of the recording devices

    // Fixed ranges.
    Range(ID_MENU_DISPLAY_SET_FIRST, ID_MENU_DISPLAY_SET_LAST, nullptr, DisplaySetState),
    Range(ID_MENU_SCSI_FIRST, ID_MENU_SCSI_LAST, nullptr, ScsiSlotState),
    Range(ID_MENU_FILER_INFO_FIRST, ID_MENU_FILER_INFO_LAST, ChooseFilerInfoLayout, FilerInfoState),
    Range(ID_MENU_LINE_WIDTH_FIRST, ID_MENU_LINE_WIDTH_LAST, ChooseLineWidthPreset, LineWidthState),
    Range(ID_MENU_PLAYED_FIRST, ID_MENU_PLAYED_LAST, PlayRecentFileOfItem, RecentFileState),

    // Options checked by a setting: the keyword of the item flips or sets it, or the
    // item flips it itself.
    Item(ID_MENU_AUTO_FILE_NAME_WIDTH, nullptr, CheckedBy<&g_AUTO_FILE_NAME_WIDTH>),
    Item(ID_MENU_CD_RANDOM, nullptr, CheckedBy<&g_CDRANDOM>),
    Item(ID_MENU_CD_REPEAT, nullptr, CheckedBy<&g_CDREPEAT>),
    Item(ID_MENU_DRIVE_BY_KEY, Toggle<&g_DRIVELISTCHANGEDRIVEBYKEY>, CheckedBy<&g_DRIVELISTCHANGEDRIVEBYKEY>),
    Item(ID_MENU_DRIVE_JUMP_CTRL, Toggle<&g_DRIVELISTCURJUMPCTRL>, CheckedBy<&g_DRIVELISTCURJUMPCTRL>),
    Item(ID_MENU_DRIVE_JUMP, Toggle<&g_DRIVELISTCURJUMP>, CheckedBy<&g_DRIVELISTCURJUMP>),
    Item(ID_MENU_DRIVE_JUMP_SHIFT, Toggle<&g_DRIVELISTCURJUMPSHIFT>, CheckedBy<&g_DRIVELISTCURJUMPSHIFT>),
    Item(ID_MENU_CHAR_CODE_SHIFT_JIS, nullptr, CheckedBy<&g_VIEWER_CHAR_CODE, 0>),
    Item(ID_MENU_CHAR_CODE_EUC, nullptr, CheckedBy<&g_VIEWER_CHAR_CODE, 1>),
    Item(ID_MENU_CHAR_CODE_UNICODE, nullptr, CheckedBy<&g_VIEWER_CHAR_CODE, 2>),
    Item(ID_MENU_CHAR_CODE_JIS, nullptr, CheckedBy<&g_VIEWER_CHAR_CODE, 3>),
    Item(ID_MENU_CHAR_CODE_UTF8, nullptr, CheckedBy<&g_VIEWER_CHAR_CODE, 4>),
    Item(ID_MENU_CHAR_CODE_AUTO, nullptr, CheckedBy<&g_VIEWER_CHAR_CODE, 5>),
    Item(ID_MENU_EASY_SEARCH_OFF, nullptr, CheckedBy<&g_EASYSEARCHMODE, 0>),
    Item(ID_MENU_EASY_SEARCH_ON, nullptr, CheckedBy<&g_EASYSEARCHMODE, 1>),
    Item(ID_MENU_EASY_SEARCH_SHIFT, nullptr, CheckedBy<&g_EASYSEARCHMODE, 2>),
    Item(ID_MENU_EASY_SEARCH_CTRL, nullptr, CheckedBy<&g_EASYSEARCHMODE, 3>),
    Item(ID_MENU_EASY_SEARCH_EXPANDED, nullptr, CheckedBy<&g_EASYSEARCHMODE, 4>),
    Item(ID_MENU_INC_SEARCH_OFF, nullptr, CheckedBy<&g_IncrementalSearchMode, 0>),
    Item(ID_MENU_INC_SEARCH_ON, nullptr, CheckedBy<&g_IncrementalSearchMode, 1>),
    Item(ID_MENU_INC_SEARCH_SHIFT, nullptr, CheckedBy<&g_IncrementalSearchMode, 2>),
    Item(ID_MENU_INC_SEARCH_CTRL, nullptr, CheckedBy<&g_IncrementalSearchMode, 3>),
    Item(ID_MENU_INC_SEARCH_EXPANDED, nullptr, CheckedBy<&g_IncrementalSearchMode, 4>),
    Item(ID_MENU_FILE_NAME_PACK, nullptr, CheckedBy<&g_FILENAMEPACK>),
    Item(ID_MENU_KEYS_IN_MENUS, Open<ToggleKeyTextInMenus>, CheckedBy<&g_VIEWMENUCOMMAND>),
    Item(ID_MENU_MPEG_NAMES, nullptr, CheckedBy<&g_MPEGNAMEDISPLAY>),
    Item(ID_MENU_PREVIEW_PICTURES_ONLY, nullptr, CheckedBy<&g_PREVIEW_DISP_PICTURE_FILE>),
    Item(ID_MENU_MEDIA_ZOOM_50, nullptr, CheckedBy<&g_MCI_ZOOM, 50>),
    Item(ID_MENU_MEDIA_ZOOM_100, nullptr, CheckedBy<&g_MCI_ZOOM, 100>),
    Item(ID_MENU_MEDIA_ZOOM_150, nullptr, CheckedBy<&g_MCI_ZOOM, 150>),
    Item(ID_MENU_MEDIA_ZOOM_200, nullptr, CheckedBy<&g_MCI_ZOOM, 200>),
    Item(ID_MENU_MEDIA_ZOOM_300, nullptr, CheckedBy<&g_MCI_ZOOM, 300>),
    Item(ID_MENU_MEDIA_ZOOM_400, nullptr, CheckedBy<&g_MCI_ZOOM, 400>),
    Item(ID_MENU_MEDIA_FULL_SCREEN, nullptr, CheckedBy<&g_MciFullScreen>),
    Item(ID_MENU_SOUND_RANDOM, nullptr, CheckedBy<&g_SOUNDRANDOM>),
    Item(ID_MENU_SOUND_REPEAT, nullptr, CheckedBy<&g_SOUNDREPEAT>),
    Item(ID_MENU_SCALING, nullptr, ScalingState),

    // Options and windows the view keeps for itself.
    Item(ID_MENU_PICTURE_LIST, nullptr, CheckedByView<&GraphicViewState::listWindowShown>),
    Item(ID_MENU_SMALL_PICTURE, nullptr, CheckedByView<&GraphicViewState::smallWindowShown>),
    Item(ID_MENU_TEMP_SCALING, nullptr, TemporaryScalingState),
    Item(ID_MENU_COMPANION_VIEWER, Call<&CQvView::ToggleCompanionViewer>, CompanionViewerState),
    Item(ID_MENU_OTHER_ALWAYS_DIR, nullptr, FollowingPaneState),
    Item(ID_MENU_PREVIEW_ON, nullptr, PreviewFolderState),
    Item(ID_MENU_PREVIEW_WITH_SUBDIRS, nullptr, PreviewFolderState),
    Item(ID_MENU_TAG_WINDOW, nullptr, TagWindowState),
    Item(1488, nullptr, AlphaRowState<0>),
    Item(1490, nullptr, AlphaRowState<1>),
    Item(1493, nullptr, AlphaRowState<2>),
    Item(1507, nullptr, AlphaRowState<3>),
    Item(1498, nullptr, AlphaRowState<4>),
    Item(1500, nullptr, AlphaRowState<5>),
    Item(1502, nullptr, AlphaRowState<6>),
    Item(1504, nullptr, AlphaRowState<7>),
    Item(1505, nullptr, AlphaRowState<8>),
    Item(1506, nullptr, AlphaRowState<9>),

    // The CD player and the media player.
    Item(ID_MENU_CD_BEFORE, nullptr, CdTrackState),
    Item(ID_MENU_CD_NEXT, nullptr, CdTrackState),
    Item(ID_MENU_CD_STOP, nullptr, CdTrackState),
    Item(ID_MENU_CD_PAUSE, nullptr, CdPauseState),
    Item(ID_MENU_CD_PLAY, nullptr, CdPlayState),
    Item(ID_MENU_SOUND_LOAD, nullptr, SoundLoadState),
    Item(ID_MENU_SOUND_LOAD_STOP, nullptr, SoundLoadState),
    Item(ID_MENU_SOUND_PAUSE, nullptr, SoundPlayingState),
    Item(ID_MENU_SOUND_STOP, nullptr, SoundPlayingState),
    Item(ID_MENU_LAST_PLAY_LIST, PlayTheLastPlayList, LastPlayListState),
    Item(ID_MENU_SCSI_ASSIGNMENT, AssignScsi, Enabled),

    // Settings dialogs without a keyword.
    Item(140, Open<EditFilerSettings>, Enabled),
    Item(168, Open<EditDisplayColors>, Enabled),
    Item(322, Open<EditLineHeight>, Enabled),
    Item(323, Open<EditPreviewSettings>, Enabled),
    Item(324, Open<EditCopyDestinations>, Enabled),
    Item(325, Open<EditFilerInfoLayouts>, Enabled),
    Item(326, Open<EditHeaderLayout>, Enabled),
    Item(331, Open<ChooseVirtualDrives>, Enabled),
    Item(ID_MENU_COMMAND_SOUNDS, Open<EditCommandSounds>, Enabled),
    Item(358, Open<OpenDisplayFilterDialog>, DisplayFilterState),
    Item(596, Open<EditFileKindColors>, Enabled),
    Item(694, Open<EditNetworkSettings>, Enabled),
    Item(705, Open<EditSkippedApplets>, Enabled),
    Item(716, Open<EditHiddenMenus>, Enabled),
    Item(924, Open<EditPlugIns>, Enabled),
    Item(935, Open<EditUserSettingsFile>, Enabled),
    Item(ID_MENU_SERIES_SAVE_DEFAULTS, ShowDialog<CSaveBmpDefDlg>, Enabled),
    Item(ID_MENU_UNPACK_SETTINGS, ShowDialog<CDefunarcDlg>, Enabled),
    Item(ID_MENU_FONTS_PER_RESOLUTION, Call<&CQvView::OnDisplayFontConfig>, Enabled),
    Item(ID_MENU_DISPLAY_MODES, Call<&CQvView::OnDisplayModeSettings>, Enabled),
    Item(ID_MENU_EXTENSION_EXECUTE, Call<&CQvView::OnExtensionExecuteSettings>, Enabled),
    Item(ID_MENU_GRAPHIC_ZOOM_SETTINGS, Call<&CQvView::OnGraphicZoomSettings>, Enabled),
    Item(ID_MENU_ALPHA_SETTINGS, Call<&CQvView::OnAlphaChannelSettings>, Enabled),
    Item(ID_MENU_RIGHT_CLICK_SETTINGS, Call<&CQvView::OnRightClickMenuSettings>, Enabled),
    Item(ID_MENU_FILER_WALLPAPER, Call<&CQvView::OnFilerWallpaperSettings>, Enabled),
    Item(ID_MENU_TIME_MACROS, EditTimeMacros, Enabled),
    Item(ID_MENU_NEW_FILE_SETTINGS, Call<&CQvView::OpenNewFileSettingsDialog>, Enabled),
    Item(329, Call<&CQvView::OnGraphicSettings>, Enabled),
    Item(522, Call<&CQvView::OnDisplayFont>, Enabled),
    Item(605, Call<&CQvView::OnViewerKindSettings>, Enabled),
    Item(638, Call<&CQvView::ImportKeyData>, Enabled),
    Item(1064, Call<&CQvView::OnViewerSettings>, Enabled),
    Item(3020, Call<&CQvView::OnCommonKeySettings>, Enabled),
    Item(555, Call<&CQvView::OpenHelpFile>, Enabled),

    // The binary editor: starting it and its colours from every bar, the rest in a
    // binary pane.
    Item(206, Call<&CQvView::OnBinaryEditStart>, Enabled),
    Item(203, Call<&CQvView::OnBinaryColorConfig>, Enabled),
    Item(204, InBinaryPane<&CQvView::OnBinaryEditEnd>, Enabled),
    Item(503, InBinaryPane<&CQvView::OnBinarySave>, Enabled),
    Item(254, InBinaryPane<&CQvView::OnBinaryWriteChangeList>, Enabled),
    Item(875, InBinaryPane<&CQvView::OnBinarySearch>, Enabled),
    Item(246, InBinaryPane<&CQvView::OnBinaryReplace>, Enabled),
    Item(283, InBinaryPane<&CQvView::OnBinaryCompare>, Enabled),
    Item(275, InBinaryPane<&CQvView::OnBinaryCopyHex>, Enabled),
    Item(302, InBinaryPane<&CQvView::OnBinaryCopyData>, Enabled),
    Item(755, InBinaryPane<&CQvView::OnBinaryPasteData>, Enabled),
    Item(565, InBinaryPane<&CQvView::OnBinaryInputPaste>, Enabled),
    Item(566, InBinaryPane<&CQvView::OnBinaryInputPasteLoop>, Enabled),
    Item(574, InBinaryPane<&CQvView::OnBinaryJumpLine>, Enabled),
    Item(909, InBinaryPane<&CQvView::OnBinarySelectRange>, Enabled),
    Item(190, InBinaryPane<&CQvView::OnBinarySelectAll>, Enabled),
    Item(207, InBinaryPane<&CQvView::OnBinaryEditConfig>, Enabled),

    // The network list.
    Item(ID_MENU_NETWORK_COMPUTERS, ShowNetworkComputers, Enabled),
    Item(ID_MENU_WHOLE_NETWORK, ShowWholeNetwork, Enabled),

    // The text viewer's right-click menu, at the point it opened at.
    Item(908, Call<&CQvView::SelectLineAtPoint>, Enabled),
    Item(911, Call<&CQvView::SelectUrlAtPoint>, Enabled),
    Item(988, Call<&CQvView::OpenUrlAtPoint>, Enabled),

    // The task tray's menu.
    Item(ID_TRAY_SHOW_WINDOW, Call<&CQvView::RestoreFromTray>, Enabled),
};
// clang-format on

// The row of an id that runs its keyword and is always enabled.
const MenuRow kKeywordRow = {0, 0, nullptr, nullptr, false};

} // namespace

const MenuRow* GetMenuRows(size_t* count)
{
    *count = ARRAYSIZE(kMenuRows);
    return kMenuRows;
}

const MenuRow* FindMenuRow(UINT id)
{
    for (const MenuRow& row : kMenuRows)
        if (id >= row.first && id <= row.last)
            return &row;
    if (FindMenuCommandRoute(COMMAND_FAMILY_FILER, id, nullptr))
        return &kKeywordRow;
    return nullptr;
}
