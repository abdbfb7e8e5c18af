// The settings writer of the view: the whole file anew from memory (the settings
// layer's sections in its fixed order), after the dated backup, with the per-user
// redirection of section "USERINI" applied; then the directory-tree caches.
#include "view/QvView.h"
#include "app/Directories.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "util/Log.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/SettingsBackup.h"
#include "app/StartupSettings.h"
#include "app/settings/GeneralSections.h"
#include "app/settings/SettingsSections.h"
#include "filer/DirTreeStore.h"
#include "filer/FilerPane.h"
#include "fs/LongPath.h"
#include "view/settings/ViewSettingsLink.h"
#include "view/ViewBusyGuard.h"

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
    return loadResult == INI_LOAD_READ_ERROR && GetFileAttributesExLong(path, GetFileExInfoStandard, &data) &&
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

void ComputeEndDirectories()
{
    g_ENDDIRECTORY.Empty();
    g_ENDDIRECTORY2.Empty();
    CFilerPane* first = g_Panes[0];
    CFilerPane* second = g_Panes[1];
    if (first && second)
    {
        bool firstShown = (first->m_position & PANE_POS_HIDDEN) == 0;
        bool secondShown = (second->m_position & PANE_POS_HIDDEN) == 0;
        bool oneActive = (first->m_position & PANE_POS_ACTIVE) || (second->m_position & PANE_POS_ACTIVE);
        if (oneActive && firstShown && secondShown)
        {
            g_ENDDIRECTORY = first->m_currentDir;
            g_ENDDIRECTORY2 = second->m_currentDir;
            return;
        }
    }
    const UINT remembered = PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE |
                            PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER | PANE_MODE_GRAPHIC |
                            PANE_MODE_ARCHIVE_GRAPHIC;
    for (CFilerPane* pane : {first, second})
    {
        if (pane && (pane->m_position & PANE_POS_ACTIVE) && (pane->m_mode & remembered))
        {
            g_ENDDIRECTORY = pane->m_currentDir;
            return;
        }
    }
}

void CQvView::SaveAllSettings()
{
    // At shut-down the settings were saved already; without the redirection the
    // no-save switch has nothing it could still write.
    if (m_bSettingsSaved || (m_settings.noSaveAtExit && !g_UserIniActive))
        return;
    CViewBusyGuard busy(*this);

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
        return;
    if (!mainWriter.Create(mainPath))
    {
        // Every copy of the program that finds no file of its own reads the one in the
        // Windows directory: a user whose settings end up there must be able to tell.
        CString unwritable = mainPath;
        mainPath.Format(L"%s\\qv.ini", static_cast<LPCWSTR>(g_WindowsDir));
        if (!ReadFileToReplace(reader, mainPath, userNames, userValues))
            return;
        if (!mainWriter.Create(mainPath))
        {
            WriteLog(nullptr, L"設定ファイル %s にも %s にも書き込めないため保存しませんでした", unwritable,
                     mainPath);
            return;
        }
        WriteLog(nullptr, L"設定ファイル %s に書き込めないため %s に保存しました", unwritable, mainPath);
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
            if (m_settings.noSaveAtExit)
                return;
            if (userFile.CompareNoCase(mainPath) != 0)
                BackupSettingsFile(userFile);
            if (!userWriter.Create(userFile))
                return;
            target = &userWriter;
            userIniWritten = false;
        }
    }
    CIniFile& ini = *target;
    if (!userIniWritten)
        SaveUserIniEntries(ini, userNames, userValues);

    SetCurrentDir(g_HomeDir);
    // The view's own part of the file: the directories the panes end in, and the
    // cursor entries the panes remember.
    ComputeEndDirectories();
    if (g_SAVECURSORPOSITION != 0)
    {
        for (CFilerPane* pane : g_Panes)
        {
            if (pane != nullptr)
                pane->SaveCursorPosition();
        }
    }

    // Each section once, in the writer's order.
    SaveSettingsSections(ini, LendViewData(*this));

    // The directory-tree caches follow the virtual-drive switches just written.
    if (g_SAVEDRIVETREETOFILE != 0)
        g_DirTreeStore.SaveTreeFiles(g_HomeDir);

    // The writers close their files as they go out of scope.
    busy.Release();
}
