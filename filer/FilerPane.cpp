#include "filer/FilerPane.h"
#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "fs/LongPath.h"
#include "app/Drives.h"
#include "filer/IncrementalSearchState.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"

#include <climits>

CFilerPane* g_Panes[2] = {nullptr, nullptr};

CString g_LastNetworkRoot;

namespace
{
bool IsDrivePath(const CString& path)
{
    return path.GetLength() >= 2 && path[1] == L':';
}

bool IsNetworkPath(const CString& path)
{
    return path.GetLength() >= 2 && path[0] == L'\\' && path[1] == L'\\';
}

wchar_t UpperLetter(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') ? static_cast<wchar_t>(ch - L'a' + L'A') : ch;
}

bool PaneMatches(const CFilerPane* pane, UINT positionMask, UINT modeMask, UINT subModeMask)
{
    if (!pane)
        return false;
    bool position = positionMask == 0 ? (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) != 0
                                      : (pane->m_position & positionMask) != 0;
    return position && (modeMask == 0 || (pane->m_mode & modeMask) != 0) &&
           (subModeMask == 0 || (pane->m_subMode & subModeMask) != 0);
}
} // namespace

bool TestPaneState(int pane, UINT positionMask, UINT modeMask, UINT subModeMask)
{
    if (pane == -1)
        return PaneMatches(g_Panes[0], positionMask, modeMask, subModeMask) ||
               PaneMatches(g_Panes[1], positionMask, modeMask, subModeMask);
    return PaneMatches(PaneAt(pane), positionMask, modeMask, subModeMask);
}

bool FindPaneByMode(int* pane, UINT positionMask, UINT modeMask, UINT subModeMask)
{
    for (int i = 0; i < 2; ++i)
    {
        if (PaneMatches(g_Panes[i], positionMask, modeMask, subModeMask))
        {
            if (pane)
                *pane = i;
            return true;
        }
    }
    return false;
}

// ---- Record -------------------------------------------------------------------------

CFilerPane::CFilerPane(UINT paneNumber)
    : m_paneNumber(paneNumber), m_wildcard(L"*.*"), m_archive(CreatePaneArchive())
{
    InitFindCondition(m_condition);
    ResetSortSetting(m_workingSort);
    GetPaneSortSetting(paneNumber == 1 ? 1 : 0, m_sortSetting);
}

CFilerPane::~CFilerPane()
{
    m_findResults.StopSearch();
    CloseChangeNotification();
    delete m_archive;
    delete m_viewer;
}

BOOL CFilerPane::SetMode(UINT position, UINT mode, UINT subMode)
{
    if (position)
        m_position = position;
    if (mode)
        m_mode = mode;
    if (subMode)
        m_subMode = subMode;
    return UpdatePreviewState();
}

BOOL CFilerPane::UpdatePreviewState()
{
    m_bPreviewLayout = m_mode == PANE_MODE_FILER && m_subMode == PANE_SUB_DIRECTORY &&
                       g_PaneHooks.isPreviewDirectory(m_currentDir) != 0;
    return m_bPreviewLayout;
}

INT_PTR CFilerPane::GetEntryCount() const
{
    if (m_mode == PANE_MODE_DRIVE_LIST)
        return m_driveList.GetSize();
    if (m_mode == PANE_MODE_NETWORK)
        return m_networkList.GetSize();
    return m_entries.GetSize();
}

CFileInfo* CFilerPane::GetCursorEntry()
{
    if (m_entries.IsEmpty())
        return nullptr;
    // The cursor indexes the list of the current mode; outside the entries it names
    // none of them.
    if (m_cursor < 0 || m_cursor >= m_entries.GetSize())
        return nullptr;
    return &m_entries[static_cast<INT_PTR>(m_cursor)];
}

BOOL CFilerPane::IsOnVirtualDrive() const
{
    return !m_currentDir.IsEmpty() && IsVirtualDrive(m_currentDir[0], 1);
}

BOOL CFilerPane::IsRootDirectory() const
{
    if (m_currentDir.GetLength() == 2)
    {
        wchar_t letter = UpperLetter(m_currentDir[0]);
        return letter >= L'A' && letter <= L'Z' && m_currentDir[1] == L':';
    }
    if (m_currentDir.IsEmpty() || m_currentDir[0] != L'\\')
        return FALSE;
    int backslashes = 0;
    for (int i = 0; i < m_currentDir.GetLength(); ++i)
        if (m_currentDir[i] == L'\\')
            ++backslashes;
    return backslashes <= 3;
}

// ---- Guards and targets -------------------------------------------------------------

int CFilerPane::CheckState(DWORD checks)
{
    if (checks & PANE_CHECK_DRIVE_PRESENT)
    {
        if (IsDrivePath(m_currentDir))
        {
            wchar_t letter = UpperLetter(m_currentDir[0]);
            bool present =
                letter >= L'A' && letter <= L'Z' && ((g_DriveSeam.GetLogicalDrives() >> (letter - L'A')) & 1);
            if (!present && (!IsVirtualDrive(letter, 1) || (checks & PANE_CHECK_REAL_DRIVE)))
                return 1;
        }
        else if (IsNetworkPath(m_currentDir) && m_currentDir.Find(L'\\', 2) < 0)
            return 1;
    }
    if ((checks & PANE_CHECK_FREE_SPACE) && IsDrivePath(m_currentDir) &&
        !IsVirtualDrive(m_currentDir[0], 1) && GetDiskFreeBytes(m_currentDir) == 0)
        return 1;
    if ((checks & PANE_CHECK_NOT_EMPTY) && GetEntryCount() == 0)
        return 1;
    CFileInfo* cursor = GetCursorEntry();
    if ((checks & PANE_CHECK_NO_DOT_TARGET) && m_markedCount == 0 && cursor && cursor->IsDots())
        return 1;
    if ((checks & PANE_CHECK_ACCESS) && m_mode == PANE_MODE_FILER && m_subMode == PANE_SUB_DIRECTORY &&
        m_bJustEntered && m_lastListingError == ERROR_ACCESS_DENIED)
        return 1;
    if ((checks & PANE_CHECK_CURSOR_NOT_DOT) && cursor && cursor->IsDots())
        return 1;
    return 0;
}

void CFilerPane::ResetTargetIteration()
{
    m_lastTargetOrdinal = -1;
    m_lastTargetIndex = -1;
}

int CFilerPane::GetTargetEntry(DWORD flags, int n, CFileInfo& out)
{
    if (IsOnVirtualDrive() && !(flags & TARGET_ALLOW_VIRTUAL_DRIVE))
        return 0;
    if (m_entries.IsEmpty() || n < 0)
        return 0;
    CFileInfo* cursor = GetCursorEntry();
    bool marked;
    if (flags & TARGET_MARKED_IF_CURSOR_MARKED)
        marked = cursor && cursor->m_mark;
    else
        marked = m_markedCount > 0 && !(flags & TARGET_CURSOR_ONLY);
    if (!marked)
    {
        if (n != 0 || !cursor || cursor->IsDots())
            return 0;
        out = *cursor;
        return 1;
    }

    // Commands ask for n = 0, 1, 2 ... in turn: continue from the last one returned
    // so that the whole walk costs one pass over the list.
    int ordinal = -1;
    INT_PTR index = 0;
    if (m_lastTargetOrdinal >= 0 && n >= m_lastTargetOrdinal && m_lastTargetIndex >= 0 &&
        m_lastTargetIndex < m_entries.GetSize())
    {
        ordinal = m_lastTargetOrdinal - 1;
        index = m_lastTargetIndex;
    }
    for (; index < m_entries.GetSize(); ++index)
    {
        if (!m_entries[index].m_mark)
            continue;
        if (++ordinal == n)
        {
            m_lastTargetOrdinal = ordinal;
            m_lastTargetIndex = static_cast<int>(index);
            out = m_entries[index];
            return 1;
        }
    }
    return 0;
}

// ---- Directory bookkeeping ------------------------------------------------------

void CFilerPane::SetDirectory(LPCWSTR path, BOOL justEntered)
{
    if (m_currentDir.CompareNoCase(path) == 0)
        return;
    m_currentDir = path;
    m_bJustEntered = justEntered;
    g_PaneHooks.recordVisit(m_paneNumber, m_currentDir, PATH_VISIT_NAVIGATE);
}

void CFilerPane::SyncProcessDirectory()
{
    // A floppy drive would be kept spinning (and locked) as a process directory.
    bool useProgramDir = IsOnVirtualDrive() || (IsDrivePath(m_currentDir) && IsFloppyDrive(m_currentDir[0]));
    if (useProgramDir || !SetCurrentDir(m_currentDir))
        SetCurrentDir(g_ProgramDir);
}

void CFilerPane::GetVolumeTitle(CString& out) const
{
    out.Empty();
    if (!m_currentDir.IsEmpty() && m_currentDir[0] == L'\\')
    {
        out = L"Net Work";
        return;
    }
    if (!IsDrivePath(m_currentDir))
        return;
    if (IsOnVirtualDrive())
    {
        out = kVirtualDriveDescription;
        return;
    }
    wchar_t root[4] = {m_currentDir[0], L':', L'\\', 0};
    wchar_t device[3] = {m_currentDir[0], L':', 0};
    UINT type = g_DriveSeam.GetDriveTypeW(root);
    if (type == DRIVE_REMOVABLE)
    {
        GetDriveDisplayName(root, out);
        return;
    }
    if (type == DRIVE_REMOTE)
    {
        wchar_t remote[2080] = {};
        DWORD length = 2080;
        if (g_DriveSeam.WNetGetConnectionW(device, remote, &length) == NO_ERROR && remote[0])
        {
            out = remote;
            return;
        }
    }
    else if (type != DRIVE_FIXED && type != DRIVE_CDROM && type != DRIVE_RAMDISK)
        return;
    wchar_t label[MAX_PATH + 1] = {};
    if (g_DriveSeam.GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        out = label;
}

int CFilerPane::GetDriveClass() const
{
    if (!m_currentDir.IsEmpty() && m_currentDir[0] == L'\\')
        return 4;
    if (!IsDrivePath(m_currentDir))
        return 0;
    switch (GetLetterDriveType(m_currentDir[0]))
    {
    case DRIVE_REMOTE:
        return 4;
    case DRIVE_REMOVABLE:
        return IsFloppyDrive(m_currentDir[0]) ? 1 : 3;
    case DRIVE_CDROM:
        return 2;
    default:
        return 0;
    }
}

int CFilerPane::PollReload()
{
    const ReloadSetting& setting = g_ReloadSettings[GetDriveClass()];
    bool findResults = m_mode == PANE_MODE_FILER && m_subMode == PANE_SUB_FIND_RESULTS;
    if (!findResults && !setting.enable)
        return 0;
    // The view pokes the counter to just below INT_MAX to force a re-check on the next
    // tick; counting on from there must neither overflow nor miss the tick count.
    if (m_reloadTicks < INT_MAX)
        ++m_reloadTicks;
    if (m_reloadTicks >= setting.ticks)
    {
        m_reloadTicks = 0;
        return 1;
    }
    return 0;
}

namespace
{
// GetDisplayColumns of a name, without asking the system about names of ASCII
// characters only: each of those is classified once, the way GetDisplayColumns
// classifies it, and a name's width is the sum of its characters' widths.
int NameColumns(LPCWSTR name)
{
    // Filled once; widths are measured on the user-interface thread only.
    static int s_asciiColumns[128] = {};
    static bool s_filled = false;
    if (!s_filled)
    {
        for (wchar_t c = 1; c < 128; ++c)
            s_asciiColumns[c] = GetDisplayColumns(&c, 1);
        s_filled = true;
    }
    int columns = 0;
    for (LPCWSTR at = name; *at; ++at)
    {
        if (*at >= 128)
            return GetDisplayColumns(name);
        columns += s_asciiColumns[*at];
    }
    return columns;
}
} // namespace

void CFilerPane::ComputeNameColumnWidth()
{
    bool autoWidth =
        g_AUTO_FILE_NAME_WIDTH && m_mode != PANE_MODE_NETWORK && !(m_bPreviewLayout && g_PREVIEW_FILE_NAME);
    if (!autoWidth)
    {
        m_nameWidth = static_cast<UINT>(g_FILENAMELONG);
        return;
    }
    if (!m_bNameWidthComputed)
    {
        int widest = 0;
        for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        {
            const CFileInfo& entry = m_entries[i];
            int columns;
            if (entry.IsDirectory())
                // A directory's name also runs over the extension column.
                columns = NameColumns(entry.GetName()) - g_FILEKINDMAXLONG - 1;
            else if (g_MPEGNAMEDISPLAY && !entry.m_displayName.IsEmpty())
                columns = NameColumns(entry.m_displayName);
            else
                columns = NameColumns(entry.m_baseName);
            if (columns > widest)
                widest = columns;
        }
        m_widestName = widest;
        m_bNameWidthComputed = TRUE;
    }
    m_nameWidth = static_cast<UINT>(m_widestName > g_FILENAMELONG ? m_widestName : g_FILENAMELONG);
}

void CFilerPane::ResetIncrementalSearch()
{
    // A new listing either ends the search, keeping what was typed, or keeps it going
    // over the new entries from an empty text. Nothing is drawn here: the caller
    // draws the new listing and the status rows.
    if (g_INCMODENEGLECTINCCHANGE)
    {
        g_IncrementalSearchMode = 0;
        g_IncrementalSearchOn = FALSE;
    }
    else
        g_IncrementalSearchText.Empty();
}

void CFilerPane::CloseChangeNotification()
{
    if (m_hChange != INVALID_HANDLE_VALUE && m_hChange != nullptr)
        FindCloseChangeNotification(m_hChange);
    m_hChange = INVALID_HANDLE_VALUE;
    if (m_hWatchedFolder != INVALID_HANDLE_VALUE)
        CloseHandle(m_hWatchedFolder);
    m_hWatchedFolder = INVALID_HANDLE_VALUE;
    m_watchedVolume = 0;
    m_watchedFolderIndex = 0;
    m_watchedFolderIndexHigh = 0;
    m_watchedDriveClass = -1;
}

BOOL CFilerPane::IsDriveReady() const
{
    if (!m_currentDir.IsEmpty() && m_currentDir[0] == L'\\')
        return TRUE;
    if (m_currentDir.IsEmpty())
        return FALSE;
    wchar_t root[4] = {m_currentDir[0], L':', L'\\', 0};
    return AccessLong(root, 0) == 0;
}
