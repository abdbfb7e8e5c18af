#include "app/settings/SettingsSections.h"

#include "util/IniFile.h"
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/VirtualDrives.h"
#include "app/keys/KeyBindings.h"
#include "app/settings/ArchiverSettings.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/GeneralSections.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/SettingsSchema.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"

SettingsHooks g_SettingsHooks;

namespace
{

// The view's lists for the read or write in progress; outside of one, or for what the
// view does not lend, the rows use empty stand-ins.
const SettingsViewData kNothingLent;
const SettingsViewData* s_view = &kNothingLent;

template <typename T> T& Lent(T* lent, T& standIn)
{
    return lent != nullptr ? *lent : standIn;
}

void SaveAllData(CIniFile& ini)
{
    WriteSettingRows(ini, L"ALLDATA");
}

void SaveAllData2(CIniFile& ini)
{
    WriteSettingRows(ini, L"ALLDATA2");
}

void LoadDisplayFont(CIniFile& ini)
{
    LoadSectionDisplayFont(ini, g_FONTNAME);
}

void LoadLauncher(CIniFile& ini)
{
    CStringArray exe, par, key, exeDir;
    LoadSectionLancher(ini, Lent(s_view->launcherExe, exe), Lent(s_view->launcherPar, par),
                       Lent(s_view->launcherKey, key), Lent(s_view->launcherExeDir, exeDir));
}

void SaveLauncher(CIniFile& ini)
{
    CStringArray exe, par, key, exeDir;
    SaveSectionLancher(ini, Lent(s_view->launcherExe, exe), Lent(s_view->launcherPar, par),
                       Lent(s_view->launcherKey, key), Lent(s_view->launcherExeDir, exeDir));
}

void LoadSusieData(CIniFile& ini)
{
    CString temp;
    LoadSectionSusieData(ini, Lent(s_view->tempDirectory, temp));
}

void SaveSusieData(CIniFile& ini)
{
    CString temp;
    SaveSectionSusieData(ini, Lent(s_view->tempDirectory, temp));
}

void LoadDirHistory(CIniFile& ini)
{
    if (g_SettingsHooks.loadDirHistory != nullptr)
        g_SettingsHooks.loadDirHistory(ini);
}

void SaveDirHistory(CIniFile& ini)
{
    if (g_SettingsHooks.saveDirHistory != nullptr)
        g_SettingsHooks.saveDirHistory(ini);
}

// Lends the view's lists to the rows for one read or write.
class CLentViewData
{
public:
    explicit CLentViewData(const SettingsViewData& view) : m_previous(s_view) { s_view = &view; }
    ~CLentViewData() { s_view = m_previous; }
    CLentViewData(const CLentViewData&) = delete;
    CLentViewData& operator=(const CLentViewData&) = delete;

private:
    const SettingsViewData* m_previous;
};

} // namespace

const SettingsSectionRow g_SettingsSections[SETTINGS_SECTION_COUNT] = {
    // The integer tables take their defaults from start-up's read (ReadIntSettings), so
    // that a reset of the sections leaves the switches that steer them alone.
    {L"ALLDATA", LoadAllDataFontNames, SaveAllData, ResetAllDataStrings},
    {L"ALLDATA", LoadAllDataStrings, nullptr, nullptr},
    {L"ALLDATA2", nullptr, SaveAllData2, nullptr},
    {L"SIZE_INFO", nullptr, WriteSizeSettings, nullptr},
    {L"FILERINFODATA", LoadSectionFilerInfo, SaveSectionFilerInfo, ResetSectionFilerInfo},
    {L"SPECIALCOPYTO", LoadSectionSpecialCopyTo, SaveSectionSpecialCopyTo, ResetSectionSpecialCopyTo},
    {L"WILDCARD", LoadSectionWildcard, SaveSectionWildcard, ResetSectionWildcard},
    {L"SCSICOMMAND", LoadSectionScsiCommand, SaveSectionScsiCommand, ResetSectionScsiCommand},
    {L"ZOOMDATA", LoadSectionZoomData, SaveSectionZoomData, ResetSectionZoomData},
    {L"DEBUGDATA", LoadSectionDebugData, SaveSectionDebugData, ResetSectionDebugData},
    {L"UNPACKDATA", LoadSectionUnpackData, SaveSectionUnpackData, ResetSectionUnpackData},
    {L"PACKDATA", LoadSectionPackData, SaveSectionPackData, ResetSectionPackData},
    {L"COLORDATA", LoadSectionColorNamed, SaveSectionColorData, ResetSectionColorData},
    {L"COLORDATA", LoadSectionColorKinds, nullptr, nullptr},
    {L"DISPLAYFONT", LoadDisplayFont, SaveSectionDisplayFont, ResetSectionDisplayFont},
    {L"KINDEXEDATA", LoadSectionKindExe, SaveSectionKindExe, ResetSectionKindExe},
    {L"VIEWERSETTING", LoadSectionViewerSetting, SaveSectionViewerSetting, ResetSectionViewerSetting},
    {L"VIEWER_SEARCH_STRING", LoadSectionViewerSearchString, SaveSectionViewerSearchString,
     ResetSectionViewerSearchString},
    {L"JUMPDATA", LoadSectionJumpData, SaveSectionJumpData, ResetSectionJumpData},
    {L"SELECTDIR", LoadSectionSelectDir, SaveSectionSelectDir, ResetSectionSelectDir},
    {L"FILERBMP", LoadSectionFilerBmp, SaveSectionFilerBmp, ResetSectionFilerBmp},
    {L"SOUNDLIST", LoadSectionSoundList, SaveSectionSoundList, ResetSectionSoundList},
    {L"RENAMEHISTORY", LoadSectionRenameHistory, SaveSectionRenameHistory, ResetSectionRenameHistory},
    {L"EXEHISTORY", LoadSectionExeHistory, SaveSectionExeHistory, ResetSectionExeHistory},
    // The lists are the view's; it empties them itself.
    {L"LANCHER", LoadLauncher, SaveLauncher, nullptr},
    {L"KEYEXEDATA", LoadKeyBindings, SaveKeyBindings, nullptr},
    {L"SUSIEDATA", LoadSusieData, SaveSusieData, ResetSectionSusieData},
    {L"LOAD_PREVIEW", LoadSectionLoadPreview, SaveSectionLoadPreview, ResetSectionLoadPreview},
    {L"WAV", LoadSectionWav, SaveSectionWav, ResetSectionWav},
    {L"SOUND", LoadSectionSound, SaveSectionSound, ResetSectionSound},
    {L"DISPLAYMODE", LoadSectionDisplayMode, SaveSectionDisplayMode, ResetSectionDisplayMode},
    {L"FILERUSERMENU", LoadSectionFilerUserMenu, SaveSectionFilerUserMenu, ResetSectionFilerUserMenu},
    {L"NOTVIEWMENU", LoadSectionNotViewMenu, SaveSectionNotViewMenu, ResetSectionNotViewMenu},
    {L"VIRTUALDRIVE", LoadSectionVirtualDrive, SaveSectionVirtualDrive, nullptr},
    {L"PLUGINDATA", LoadSectionPlugInData, SaveSectionPlugInData, ResetSectionPlugInData},
    {L"NETWORK", LoadSectionNetwork, SaveSectionNetwork, ResetSectionNetwork},
    {L"SAVECURPOS", LoadSectionSaveCurPos, SaveSectionSaveCurPos, ResetSectionSaveCurPos},
    {L"MAKENEWFILE", LoadSectionMakeNewFile, SaveSectionMakeNewFile, ResetSectionMakeNewFile},
    {L"NONLOADCPL", LoadSectionNonLoadCpl, SaveSectionNonLoadCpl, ResetSectionNonLoadCpl},
    {L"RELOAD_SETTING", LoadSectionReloadSetting, SaveSectionReloadSetting, ResetSectionReloadSetting},
    {L"ORDER_LIST_DIR_JUMP", LoadSectionOrderListDirJump, SaveSectionOrderListDirJump,
     ResetSectionOrderListDirJump},
    {L"TIME_MACRO", LoadSectionTimeMacro, SaveSectionTimeMacro, ResetSectionTimeMacro},
    // The history is the filer's; it is emptied with the filer's own state.
    {L"DIR_HISTORY", LoadDirHistory, SaveDirHistory, nullptr},
    {L"FIND_FILE_DLG_INF", LoadSectionFindFileDlgInf, SaveSectionFindFileDlgInf, ResetSectionFindFileDlgInf},
    {L"DISP_FILE_SETTING", LoadSectionDispFileSetting, SaveSectionDispFileSetting,
     ResetSectionDispFileSetting},
    {L"MOUSE_OPE_GRAPHIC", LoadSectionMouseOpeGraphic, SaveSectionMouseOpeGraphic,
     ResetSectionMouseOpeGraphic},
    {L"ALPHA_CHANNEL_PROCESS", LoadSectionAlphaChannelProcess, SaveSectionAlphaChannelProcess,
     ResetSectionAlphaChannelProcess},
    {L"VIEW_HISTORY", LoadSectionViewHistory, SaveSectionViewHistory, ResetSectionViewHistory},
    {L"DIALOG_OTHER_WINDOW", LoadSectionDialogOtherWindow, SaveSectionDialogOtherWindow,
     ResetSectionDialogOtherWindow},
    {L"EXECUTE", LoadSectionExecute, SaveSectionExecute, ResetSectionExecute},
    {L"SAVE_BMP", LoadSectionSaveBmp, SaveSectionSaveBmp, ResetSectionSaveBmp},
};

// The reader's steps. The integer tables were read at start-up; the per-resolution
// fonts fall back to the main font name, so "ALLDATA"'s font names come before
// "DISPLAYFONT" and its other strings after; "JUMPDATA", "SELECTDIR" and "SAVECURPOS"
// size their lists from integers read at start-up.
const SettingsSectionId g_SettingsReadOrder[] = {
    SECTION_SPECIALCOPYTO,
    SECTION_WILDCARD,
    SECTION_SCSICOMMAND,
    SECTION_ZOOMDATA,
    SECTION_DEBUGDATA,
    SECTION_UNPACKDATA,
    SECTION_PACKDATA,
    SECTION_FILERINFODATA,
    SECTION_COLORDATA,
    SECTION_ALLDATA,
    SECTION_DISPLAYFONT,
    SECTION_ALLDATA_STRINGS,
    SECTION_COLORDATA_KINDS,
    SECTION_KINDEXEDATA,
    SECTION_VIEWERSETTING,
    SECTION_VIEWER_SEARCH_STRING,
    SECTION_JUMPDATA,
    SECTION_SELECTDIR,
    SECTION_FILERBMP,
    SECTION_SOUNDLIST,
    SECTION_RENAMEHISTORY,
    SECTION_EXEHISTORY,
    SECTION_LANCHER,
    SECTION_KEY_BINDINGS,
    SECTION_SUSIEDATA,
    SECTION_LOAD_PREVIEW,
    SECTION_WAV,
    SECTION_SOUND,
    SECTION_DISPLAYMODE,
    SECTION_FILERUSERMENU,
    SECTION_NOTVIEWMENU,
    SECTION_VIRTUALDRIVE,
    SECTION_PLUGINDATA,
    SECTION_NETWORK,
    SECTION_SAVECURPOS,
    SECTION_MAKENEWFILE,
    SECTION_NONLOADCPL,
    SECTION_RELOAD_SETTING,
    SECTION_ORDER_LIST_DIR_JUMP,
    SECTION_TIME_MACRO,
    SECTION_DIR_HISTORY,
    SECTION_FIND_FILE_DLG_INF,
    SECTION_DISP_FILE_SETTING,
    SECTION_MOUSE_OPE_GRAPHIC,
    SECTION_ALPHA_CHANNEL_PROCESS,
    SECTION_VIEW_HISTORY,
    SECTION_DIALOG_OTHER_WINDOW,
    SECTION_EXECUTE,
    SECTION_SAVE_BMP,
};
const int g_SettingsReadOrderCount =
    static_cast<int>(sizeof(g_SettingsReadOrder) / sizeof(g_SettingsReadOrder[0]));

// The writer's fixed order; each section once.
const SettingsSectionId g_SettingsWriteOrder[] = {
    SECTION_FILERINFODATA,
    SECTION_SPECIALCOPYTO,
    SECTION_WILDCARD,
    SECTION_SCSICOMMAND,
    SECTION_ZOOMDATA,
    SECTION_ALLDATA,
    SECTION_ALLDATA2,
    SECTION_SIZE_INFO,
    SECTION_COLORDATA,
    SECTION_KINDEXEDATA,
    SECTION_VIEWERSETTING,
    SECTION_VIEWER_SEARCH_STRING,
    SECTION_JUMPDATA,
    SECTION_SELECTDIR,
    SECTION_FILERBMP,
    SECTION_SOUNDLIST,
    SECTION_RENAMEHISTORY,
    SECTION_EXEHISTORY,
    SECTION_LANCHER,
    SECTION_KEY_BINDINGS,
    SECTION_SUSIEDATA,
    SECTION_LOAD_PREVIEW,
    SECTION_WAV,
    SECTION_SOUND,
    SECTION_DISPLAYMODE,
    SECTION_UNPACKDATA,
    SECTION_PACKDATA,
    SECTION_DEBUGDATA,
    SECTION_DISPLAYFONT,
    SECTION_FILERUSERMENU,
    SECTION_NOTVIEWMENU,
    SECTION_VIRTUALDRIVE,
    SECTION_PLUGINDATA,
    SECTION_NETWORK,
    SECTION_SAVECURPOS,
    SECTION_MAKENEWFILE,
    SECTION_NONLOADCPL,
    SECTION_RELOAD_SETTING,
    SECTION_ORDER_LIST_DIR_JUMP,
    SECTION_TIME_MACRO,
    SECTION_DIR_HISTORY,
    SECTION_FIND_FILE_DLG_INF,
    SECTION_DISP_FILE_SETTING,
    SECTION_MOUSE_OPE_GRAPHIC,
    SECTION_ALPHA_CHANNEL_PROCESS,
    SECTION_VIEW_HISTORY,
    SECTION_DIALOG_OTHER_WINDOW,
    SECTION_EXECUTE,
    SECTION_SAVE_BMP,
};
const int g_SettingsWriteOrderCount =
    static_cast<int>(sizeof(g_SettingsWriteOrder) / sizeof(g_SettingsWriteOrder[0]));

void LoadSettingsSections(CIniFile& ini, const SettingsViewData& view)
{
    CLentViewData lent(view);
    for (int i = 0; i < g_SettingsReadOrderCount; ++i)
    {
        const SettingsSectionRow& row = g_SettingsSections[g_SettingsReadOrder[i]];
        if (row.load != nullptr)
            row.load(ini);
    }
}

void SaveSettingsSections(CIniFile& ini, const SettingsViewData& view)
{
    CLentViewData lent(view);
    for (int i = 0; i < g_SettingsWriteOrderCount; ++i)
    {
        const SettingsSectionRow& row = g_SettingsSections[g_SettingsWriteOrder[i]];
        if (row.save != nullptr)
            row.save(ini);
    }
}

void ResetSettingsSections()
{
    for (const SettingsSectionRow& row : g_SettingsSections)
    {
        if (row.reset != nullptr)
            row.reset();
    }
}
