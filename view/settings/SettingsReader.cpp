// The settings reader of the view: the settings layer reads every section that
// start-up did not read, in its fixed order; the view then does its own part, which
// depends on those sections (the start directories on the directory strings, the
// panes on the start directories).
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/Directories.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/OsVersion.h"
#include "util/PathHelpers.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "util/StringHelpers.h"
#include "app/VirtualDrives.h"
#include "app/keys/KeyBindings.h"
#include "app/settings/GeneralSections.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/SettingsSections.h"
#include "archiveclient/codecs/SevenZipLibrary.h"
#include "filer/FilerPane.h"
#include "filer/PathHistory.h"
#include "filer/SortSetting.h"
#include "tools/cpl/AppletCommands.h"
#include "view/settings/ViewSettingsLink.h"

#include <new>

namespace
{

// Ends a drive root in exactly one backslash ("C:" and "C:\\" both give "C:\").
void EndRootInOneBackslash(CString& path)
{
    if (!IsPathRoot(path))
        return;
    while (path.GetLength() > 0 && path[path.GetLength() - 1] == L'\\')
        path.Delete(path.GetLength() - 1);
    path += L'\\';
}

// A start directory from the file: walked up to the nearest existing directory, else
// the Windows directory.
void ResolveStartDirectory(const CString& wanted, CString& out)
{
    if (!ResolvePaneTargetDirectory(L"", wanted, out, RESOLVE_NEAREST_EXISTING, 0))
        ResolvePaneTargetDirectory(L"", wanted, out, RESOLVE_FALLBACK, 0);
}

// The panes' start directories from the first and second (or end) directory settings,
// environment variables expanded.
void ResolveStartDirectories(CQvView& view)
{
    // LoadAllDataStrings has already put the Windows directory in place of an empty
    // first or end directory.
    const CString& first = g_STARTENDDIR != 0 ? g_ENDDIRECTORY : g_FIRSTDIRECTORY;
    const CString& second = g_STARTENDDIR != 0 ? g_ENDDIRECTORY2 : g_SECONDDIRECTORY;
    CString expanded;
    ExpandEnvironmentString(expanded, first);
    ResolveStartDirectory(expanded, view.m_settings.startDirectories[0]);
    ExpandEnvironmentString(expanded, second);
    view.m_settings.startDirectories[1].Empty();
    if (!expanded.IsEmpty())
        ResolveStartDirectory(expanded, view.m_settings.startDirectories[1]);
}

// When the filer background picture changes next (now when no date is set), and the
// pane background picture loaded.
void ScheduleBackgroundChange(CQvView& view)
{
    bool scheduled = false;
    if (g_FILERBMPNEXTYEAR != 0 || g_FILERBMPNEXTMONTH != 0 || g_FILERBMPNEXTDAY != 0 ||
        g_FILERBMPNEXTHOUR != 0 || g_FILERBMPNEXTMINUTE != 0)
    {
        SYSTEMTIME local = {};
        local.wYear = static_cast<WORD>(g_FILERBMPNEXTYEAR);
        local.wMonth = static_cast<WORD>(g_FILERBMPNEXTMONTH);
        local.wDay = static_cast<WORD>(g_FILERBMPNEXTDAY);
        local.wHour = static_cast<WORD>(g_FILERBMPNEXTHOUR);
        local.wMinute = static_cast<WORD>(g_FILERBMPNEXTMINUTE);
        // The zone's rule for that date decides daylight saving, not today's.
        SYSTEMTIME utc;
        scheduled = TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) &&
                    SystemTimeToFileTime(&utc, &view.m_graphic.nextBackgroundChange);
    }
    if (!scheduled)
        GetSystemTimeAsFileTime(&view.m_graphic.nextBackgroundChange);
    view.LoadPaneBackgroundPicture(0);
}
// The step of the reader that opens the panes: both are made, the first on its start
// directory, the second on its own when it is to be shown.
void CreatePanesAndOpenDirectories(CQvView& view)
{
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = new (std::nothrow) CFilerPane(index);
        if (pane == nullptr)
        {
            Tell(&view, L"メモリが足りません");
            view.m_settings.startFailed = 1;
            return;
        }
        g_Panes[index] = pane;
        pane->m_paneSlot = index;
        pane->m_pView = &view;
    }

    CFilerPane& first = *g_Panes[0];
    CFilerPane& second = *g_Panes[1];
    first.SetDirectory(view.m_settings.startDirectories[0], FALSE);
    second.SetDirectory(view.m_settings.startDirectories[1].IsEmpty() ? view.m_settings.startDirectories[0]
                                                                      : view.m_settings.startDirectories[1],
                        FALSE);
    for (CFilerPane* pane : g_Panes)
    {
        pane->m_wildcard = L"*.*";
        pane->m_bFilterDirectories = view.m_settings.wildcardOnDirectories;
    }
    first.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    GetPaneSortSetting(0, first.m_sortSetting);
    GetPaneSortSetting(1, second.m_sortSetting);
    SetPaneSortSetting(0, first.m_sortSetting);

    // Directories of the command line win over the stored ones when they exist.
    CString expanded;
    if (!g_StartDirs[0].IsEmpty())
    {
        ExpandEnvironmentString(expanded, g_StartDirs[0]);
        g_StartDirs[0] = expanded;
        if (DirectoryExists(expanded))
            view.m_settings.startDirectories[0] = expanded;
    }
    EndRootInOneBackslash(view.m_settings.startDirectories[0]);
    // An ordinary visit for the history; the filter just set from the settings stays.
    first.ChangeDirectory(view.m_settings.startDirectories[0], 1, TRUE, FALSE);

    BOOL openSecond = g_SECONDFILEOPEN != 0;
    if (!g_StartDirs[1].IsEmpty())
    {
        ExpandEnvironmentString(expanded, g_StartDirs[1]);
        g_StartDirs[1] = expanded;
        if (DirectoryExists(expanded))
        {
            view.m_settings.startDirectories[1] = expanded;
            openSecond = TRUE;
        }
    }
    if (openSecond && !view.m_settings.startDirectories[1].IsEmpty())
    {
        second.SetMode(PANE_POS_OTHER, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        EndRootInOneBackslash(view.m_settings.startDirectories[1]);
        second.ChangeDirectory(view.m_settings.startDirectories[1], 1, TRUE, FALSE);
    }
}

} // namespace

void CQvView::LoadViewSettings()
{
    // Without a settings file every section takes its defaults.
    CIniFile emptyFile;
    CIniFile& ini = g_SettingsIni != nullptr ? *g_SettingsIni : emptyFile;

    // Objects shared with the workers, made before anything can start one. The archive
    // client serialises the loading of its library with this mutex.
    CreateSevenZipLoadMutex();
    if (g_UnpackMutex == nullptr)
        g_UnpackMutex = CreateMutexW(nullptr, FALSE, nullptr);
    if (g_CdMutex == nullptr)
        g_CdMutex = CreateMutexW(nullptr, FALSE, nullptr);
    m_msgUnpackStart = RegisterWindowMessageW(L"WMSG_QV_UNPACK_START");
    m_msgPreviewLoad = RegisterWindowMessageW(L"WMSG_QV_PREVIEW_LOAD");
    // The preview loader's thread starts once the window exists (OnCreate).
    CreatePreviewLoader();

    // Run-time state. Panes of an earlier read are given up.
    for (CFilerPane*& pane : g_Panes)
    {
        delete pane;
        pane = nullptr;
    }
    m_bSettingsSaved = 0;
    m_settings.noSaveAtExit = 0;
    m_settings.startFailed = 0;
    m_settings.wildcardOnDirectories = g_WILD_CARD_APPLY_DIR_AT_START != 0;
    m_settings.osVersionKind = GetOsVersionKind();
    // The scroll bars' control identifiers are the view's from its construction.
    g_MainView = this;

    // Every section of the file in the reader's order (the image plug-in folder scan
    // runs after "SUSIEDATA"). The preview loader reads its record as it works, so it
    // is handed nothing here.
    LoadSettingsSections(ini, LendViewData(*this));
    RefreshHotKeyFlag();

    // The start directories come from the strings just read.
    ResolveStartDirectories(*this);

    // The stores need the virtual-drive switches read above.
    LoadVirtualDrives();

    // The panes last: opening them records visits in the directory history.
    CreatePanesAndOpenDirectories(*this);
    if (m_settings.startFailed)
        return;

    CreateViewFont();
    if (g_NEGLECTCPL == 0)
        LoadControlPanelApplets();
    AppendBackBitmapName();

    ScheduleBackgroundChange(*this);
    g_SoundHooks.playCommandSound(L"START");

    // Nothing is read from the file after this: the object start-up made
    // (CQvApp::InitInstance) ends here.
    if (g_SettingsIni != nullptr)
    {
        delete g_SettingsIni;
        g_SettingsIni = nullptr;
    }

    if (m_hDialogListMutex == nullptr)
        m_hDialogListMutex = CreateMutexW(nullptr, FALSE, nullptr);
}
