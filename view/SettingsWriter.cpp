// The settings writer of the view: the whole file anew from memory, after the dated
// backup, with the per-user redirection of section "USERINI" applied, and the
// directory-tree caches.
#include "view/QvView.h"
#include "app/Directories.h"
#include "app/Globals.h"
#include "app/IniFile.h"
#include "app/Log.h"
#include "app/Settings.h"
#include "app/SettingsBackup.h"
#include "app/StartupSettings.h"
#include "app/keys/KeyBindings.h"
#include "filer/DirTreeStore.h"
#include "app/VirtualDrives.h"
#include "filer/FilerPane.h"
#include "filer/PaneHooks.h"
#include "filer/PathHistory.h"
#include "view/settings/GeneralSections.h"
#include "view/settings/ToolSections.h"

namespace
{

// A file that is in use or could not be read may hold other users' entries and, with
// the redirection on, every section of the shared file: it must not be replaced by
// what little this run knows. Only a file that was read, is missing or is empty may be.
// A file of one or two bytes (at most a byte-order mark) reads as a read error but
// holds nothing to lose.
bool MayReplace(int loadResult, const CString& path)
{
    if (loadResult == INI_LOAD_OK || loadResult == INI_LOAD_NO_FILE || loadResult == INI_LOAD_EMPTY)
        return true;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return loadResult == INI_LOAD_READ_ERROR && GetFileAttributesExW(path, GetFileExInfoStandard, &data) &&
           data.nFileSizeHigh == 0 && data.nFileSizeLow <= 2;
}

// Loads `path` into `reader` and takes its "USERINI" entries; false when the file must
// be left alone (logged).
bool ReadFileToReplace(CIniFile& reader, const CString& path, CStringArray& names, CStringArray& values)
{
    reader.filePath = path;
    int result = reader.Load();
    if (!MayReplace(result, path))
    {
        WriteLog(nullptr, L"設定ファイル %s を読み込めないため保存しませんでした (結果 %d)", path, result);
        return false;
    }
    names.RemoveAll();
    values.RemoveAll();
    if (result == INI_LOAD_OK)
        LoadUserIniEntries(reader, names, values);
    return true;
}

// Every section of `reader` but "USERINI", once each, in the reader's order.
void CopyOtherSections(CIniFile& reader, CIniFile& writer)
{
    CStringArray sections;
    reader.GetSectionNames(sections);
    CStringArray copied;
    for (INT_PTR i = 0; i < sections.GetSize(); ++i)
    {
        const CString& section = sections[i];
        if (section.CompareNoCase(L"USERINI") == 0)
            continue;
        // Lookups find the first section of a name whatever its case: a later one of
        // the same name would only repeat it.
        bool seen = false;
        for (INT_PTR j = 0; j < copied.GetSize() && !seen; ++j)
            seen = copied[j].CompareNoCase(section) == 0;
        if (seen)
            continue;
        copied.Add(section);
        CStringArray keys, values;
        reader.GetSectionKeys(section, keys, values);
        for (INT_PTR k = 0; k < keys.GetSize(); ++k)
            writer.WriteString(section, keys[k], values[k]);
    }
}

} // namespace

void CQvView::SaveAllSettings()
{
    // At shut-down the settings were saved already; without the redirection the
    // no-save switch has nothing it could still write.
    if (m_bSettingsSaved || (m_bNoSaveSettings && !g_UserIniActive))
        return;
    StopViewTimers(0);

    CString mainPath;
    mainPath.Format(L"%s\\qv.ini", static_cast<LPCWSTR>(g_HomeDir));
    SetCurrentDir(g_HomeDir);
    BackupSettingsFile(mainPath);

    CIniFile reader;
    CIniFile mainWriter;
    CIniFile userWriter;
    CIniFile* target = &mainWriter;
    CStringArray userNames, userValues;

    // The main file, else the one in the Windows directory.
    if (!ReadFileToReplace(reader, mainPath, userNames, userValues))
    {
        StartBinaryCursorTimer();
        return;
    }
    if (!mainWriter.Create(mainPath))
    {
        mainPath.Format(L"%s\\qv.ini", static_cast<LPCWSTR>(g_WindowsDir));
        if (!ReadFileToReplace(reader, mainPath, userNames, userValues) || !mainWriter.Create(mainPath))
        {
            StartBinaryCursorTimer();
            return;
        }
    }

    // This user's entry in "USERINI"; with the redirection on, the main file keeps
    // everything else it had and this run's settings go to the user's own file.
    bool userIniWritten = false;
    if (!g_UserName.IsEmpty())
    {
        CString userPath;
        MakeSavedUserIniPath(g_UserIniPath, g_HomeDir, userPath);
        SetUserIniEntry(userNames, userValues, g_UserName, userPath, g_UserIniActive);
        // Opened where start-up reads it, whatever the current directory.
        CString userFile;
        ResolveUserIniPath(userPath, g_HomeDir, userFile);
        SaveUserIniEntries(mainWriter, userNames, userValues);
        userIniWritten = true;
        if (g_UserIniActive)
        {
            CopyOtherSections(reader, mainWriter);
            mainWriter.Close();
            reader.filePath = userFile;
            if (reader.Load() == INI_LOAD_OK)
            {
                userNames.RemoveAll();
                userValues.RemoveAll();
                LoadUserIniEntries(reader, userNames, userValues);
            }
            // The no-save switch keeps the user's own file as it is.
            if (m_bNoSaveSettings)
            {
                StartBinaryCursorTimer();
                return;
            }
            if (userFile.CompareNoCase(mainPath) != 0)
                BackupSettingsFile(userFile);
            if (!userWriter.Create(userFile))
            {
                StartBinaryCursorTimer();
                return;
            }
            target = &userWriter;
            userIniWritten = false;
        }
    }
    CIniFile& ini = *target;
    if (!userIniWritten)
        SaveUserIniEntries(ini, userNames, userValues);

    SetCurrentDir(g_HomeDir);
    ComputeEndDirectories();

    // Each section once, in this order.
    SaveSectionFilerInfo(ini);
    SaveSectionSpecialCopyTo(ini);
    SaveSectionWildcard(ini);
    SaveSectionScsiCommand(ini);
    SaveSectionZoomData(ini);
    WriteIntSettingTable(ini, L"ALLDATA", g_AllDataSettings, kAllDataSettingCount);
    SaveAllDataStrings(ini);
    WriteIntSettingTable(ini, L"ALLDATA2", g_AllData2Settings, kAllData2SettingCount);
    WriteSizeSettings(ini);
    SaveSectionColorData(ini);
    SaveSectionKindExe(ini);
    SaveSectionViewerSetting(ini);
    SaveSectionViewerSearchString(ini);
    SaveSectionJumpData(ini);
    SaveSectionSelectDir(ini);
    SaveSectionFilerBmp(ini);
    SaveSectionSoundList(ini);
    SaveSectionRenameHistory(ini);
    SaveSectionExeHistory(ini);
    SaveSectionLancher(ini, m_LancherExe, m_LancherPar, m_LancherKey, m_LancherExeDir);
    SaveKeyBindings(ini);
    SaveSectionSusieData(ini, m_tempDirectory);
    SaveSectionLoadPreview(ini);
    SaveSectionWav(ini);
    SaveSectionSound(ini);
    SaveSectionDisplayMode(ini);
    SaveSectionUnpackData(ini);
    SaveSectionPackData(ini);
    SaveSectionDebugData(ini);
    SaveSectionDisplayFont(ini);
    SaveSectionFilerUserMenu(ini);
    SaveSectionNotViewMenu(ini);
    SaveSectionVirtualDrive(ini);
    // The directory-tree caches follow the virtual-drive switches.
    if (g_SAVEDRIVETREETOFILE != 0)
        SaveTreeCacheFiles(g_HomeDir);
    SaveSectionPlugInData(ini);
    SaveSectionNetwork(ini);
    if (g_SAVECURSORPOSITION != 0)
    {
        for (CFilerPane* pane : g_Panes)
        {
            if (pane != nullptr)
                pane->SaveCursorPosition();
        }
    }
    SaveSectionSaveCurPos(ini);
    SaveSectionMakeNewFile(ini);
    SaveSectionNonLoadCpl(ini);
    SaveSectionReloadSetting(ini);
    SaveSectionOrderListDirJump(ini);
    SaveSectionTimeMacro(ini);
    SaveSectionDirHistory(ini);
    SaveSectionFindFileDlgInf(ini);
    SaveSectionDispFileSetting(ini);
    SaveSectionMouseOpeGraphic(ini);
    SaveSectionAlphaChannelProcess(ini);
    SaveSectionViewHistory(ini);
    SaveSectionDialogOtherWindow(ini);
    SaveSectionExecute(ini);

    // The writers close their files as they go out of scope.
    StartBinaryCursorTimer();
}
