// Reading a pane's directory and keeping the listing in step with the disk.
#include "filer/FilerPane.h"
#include "app/Directories.h"
#include "app/Drives.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/DriveSlots.h"
#include "app/VirtualDrives.h"
#include "util/Wildcard.h"

#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

namespace
{
// What a listing pass takes of the entries it finds.
enum
{
    PASS_ALL = 0,
    PASS_DIRECTORIES = 1,
    PASS_FILES = 2,
    PASS_CURRENT_ONLY = 3,
    PASS_PARENT_ONLY = 4,
};

const DWORD kChangeFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                            FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                            FILE_NOTIFY_CHANGE_LAST_WRITE;

bool IsDrivePath(const CString& path)
{
    return path.GetLength() >= 2 && path[1] == L':';
}

const FILETIME& ChosenTime(const CEntryFindData& data)
{
    switch (g_VIEWFILETIMETYPE)
    {
    case 0:
        return data.ftCreationTime;
    case 1:
        return data.ftLastAccessTime;
    default:
        return data.ftLastWriteTime;
    }
}

// The stored entry takes the newly read data and keeps its mark.
void TakeNewData(CFileInfo& stored, const CEntryFindData& found)
{
    int mark = stored.m_mark;
    stored.SetFromFindData(stored.m_source, stored.m_owner, stored.m_directory, stored.m_realDirectory, found,
                           stored.m_itemIndex);
    stored.m_mark = mark;
    stored.m_changed = TRUE;
}

// The stored entries stand in display order while a listing arrives in reading
// order: the index of the entry with each read position. False unless the read
// positions are exactly 0 to n-1.
bool IndexByReadPosition(const CArrayFileInfo& entries, std::vector<INT_PTR>& slots)
{
    const INT_PTR count = entries.GetSize();
    slots.assign(static_cast<size_t>(count), -1);
    for (INT_PTR i = 0; i < count; ++i)
    {
        LONGLONG position = entries[i].m_readPosition;
        if (position < 0 || position >= count || slots[static_cast<size_t>(position)] != -1)
            return false;
        slots[static_cast<size_t>(position)] = i;
    }
    return true;
}

// Cuts the path at its last backslash; false when there is nothing left to cut (a
// drive root "X:", a share root, or a path without any backslash).
bool CutLastElement(CString& path)
{
    if (IsPathRoot(path))
        return false;
    int pos = path.ReverseFind(L'\\');
    bool network = path.GetLength() >= 2 && path[0] == L'\\' && path[1] == L'\\';
    if (pos < 0 || (network && pos < 2) || pos == 0)
        return false;
    path = path.Left(pos);
    return true;
}

// The identity of a folder: its volume's serial number and its file id (the index,
// and the upper half of a 128-bit id where the file system has one).
struct FolderIdentity
{
    ULONGLONG volume = 0;
    ULONGLONG index = 0;
    ULONGLONG indexHigh = 0;
};

// Opens the directory itself, for its identity. A root is opened with its backslash,
// since "X:" alone names the drive's current directory.
HANDLE OpenDirectoryItself(const CString& directory)
{
    CString path = directory;
    if (IsPathRoot(path) && (path.IsEmpty() || path[path.GetLength() - 1] != L'\\'))
        path += L'\\';
    return CreateFileLong(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// True when the handle is a directory's, whose identity goes into `identity`. The
// attributes and the file id are asked for apart: the whole-file query also fetches
// the name, a further round trip under Wine (about a third of the check's time).
// Where a file system has no file ids, the whole-file query answers.
bool DirectoryIdentity(HANDLE handle, FolderIdentity* identity)
{
    FILE_BASIC_INFO basic;
    FILE_ID_INFO id;
    if (GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) &&
        GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id))
    {
        if (!(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        if (identity)
        {
            identity->volume = id.VolumeSerialNumber;
            memcpy(&identity->index, id.FileId.Identifier, sizeof identity->index);
            memcpy(&identity->indexHigh, id.FileId.Identifier + sizeof identity->index,
                   sizeof identity->indexHigh);
        }
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (identity)
    {
        identity->volume = info.dwVolumeSerialNumber;
        identity->index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        identity->indexHigh = 0;
    }
    return true;
}

// The cheap test of every tick: one open of the folder itself, no enumeration. An
// attribute query would not do: a folder removed while our watch is open on it stays
// delete-pending, and its attributes are still answered, until the watch is closed;
// opening it is refused.
bool IsDirectoryPresent(const CString& directory, FolderIdentity* identity = nullptr)
{
    HANDLE handle = OpenDirectoryItself(directory);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool directoryThere = DirectoryIdentity(handle, identity);
    CloseHandle(handle);
    return directoryThere;
}
} // namespace

// A re-read compares each found entry with the stored entry of the same read
// position. The entries are moved into reading order only when the list is cut and
// rebuilt: a re-check that finds nothing moved leaves them where they stand.
struct CFilerPane::ReadPass
{
    INT_PTR writePos = 0;
    int result = READ_UNCHANGED;
    bool inDisplayOrder = false;
    bool sawEntry = false;      // the walk met an entry other than "." and "..", listed or not
    std::vector<INT_PTR> slots; // while inDisplayOrder: entry index by read position
    CFoundStrings shared;       // by the entries the walk appends

    // The stored entry with the read position of the write position; null past the end.
    CFileInfo* StoredAt(CArrayFileInfo& entries)
    {
        if (inDisplayOrder)
            return writePos < static_cast<INT_PTR>(slots.size())
                       ? &entries[slots[static_cast<size_t>(writePos)]]
                       : nullptr;
        return writePos < entries.GetSize() ? &entries[writePos] : nullptr;
    }

    // Moves the entries into reading order before the list is cut.
    void TakeReadingOrder(CArrayFileInfo& entries)
    {
        if (!inDisplayOrder)
            return;
        entries.Reorder(0, slots.data(), static_cast<INT_PTR>(slots.size()));
        inDisplayOrder = false;
        slots.clear();
    }
};

// ---- Comparison of a re-read entry --------------------------------------------------

int CFilerPane::CompareReadEntry(int running, CFileInfo* stored, const WIN32_FIND_DATAW& found)
{
    return CompareReadEntry(running, stored, CEntryFindData(found));
}

int CFilerPane::CompareReadEntry(int running, CFileInfo* stored, const CEntryFindData& found)
{
    if (running == READ_REBUILT || stored == nullptr)
        return READ_REBUILT;
    if (stored->m_findData == found)
        return running;
    stored->m_changed = TRUE;
    const CEntryFindData& old = stored->m_findData;
    // Another name at this place is another entry, and a changed directory bit moves
    // the entry to the other group.
    if (old.cFileName != found.cFileName ||
        ((old.dwFileAttributes ^ found.dwFileAttributes) & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return READ_REBUILT;
    // Any other difference moves the entry only when a key of the order in force
    // reads it, the second file key and the directory keys included.
    SortKeys keys;
    BuildSortKeysInto(m_workingSort.IsSet() ? m_workingSort : m_sortSetting, FALSE, keys);
    const int* keyLists[] = {keys.fileKeys, keys.directoryKeys};
    for (const int* list : keyLists)
    {
        for (int i = 0; i < 3; ++i)
        {
            bool differs = false;
            switch (list[i])
            {
            case SORT_KEY_TIME:
                differs = CompareFileTime(&ChosenTime(old), &ChosenTime(found)) != 0;
                break;
            case SORT_KEY_SIZE:
                differs = old.nFileSizeHigh != found.nFileSizeHigh || old.nFileSizeLow != found.nFileSizeLow;
                break;
            case SORT_KEY_ATTRIBUTES:
                differs = old.dwFileAttributes != found.dwFileAttributes;
                break;
            default:
                break;
            }
            if (differs)
                return READ_REBUILT;
        }
    }
    return READ_CHANGED_IN_PLACE;
}

// ---- Change notification and climbing -------------------------------------------------

void CFilerPane::OpenChangeNotification(int driveClass)
{
    CloseChangeNotification();
    CString path = m_currentDir;
    if (path.GetLength() == 2 && path[1] == L':')
        path += L'\\';
    // The folder is held from before the watch is armed: should another folder take
    // its place in between, the watch is on the newcomer and the identity on the
    // folder before it, so the first comparison lists and watches the folder anew
    // rather than trusting a watch on a folder that left.
    HANDLE folder = OpenDirectoryItself(m_currentDir);
    HANDLE handle = FindFirstChangeNotificationLong(path, FALSE, kChangeFilter);
    m_hChange = handle ? handle : INVALID_HANDLE_VALUE;
    if (m_hChange == INVALID_HANDLE_VALUE)
    {
        if (folder != INVALID_HANDLE_VALUE)
            CloseHandle(folder);
        return;
    }
    m_hWatchedFolder = folder;
    m_watchedDriveClass = driveClass;
}

void CFilerPane::SettleWatchedIdentity()
{
    if (m_hWatchedFolder == INVALID_HANDLE_VALUE)
        return;
    // A folder that could not be opened or judged leaves the identity unknown.
    FolderIdentity identity;
    DirectoryIdentity(m_hWatchedFolder, &identity);
    CloseHandle(m_hWatchedFolder);
    m_hWatchedFolder = INVALID_HANDLE_VALUE;
    m_watchedVolume = identity.volume;
    m_watchedFolderIndex = identity.index;
    m_watchedFolderIndexHigh = identity.indexHigh;
}

BOOL CFilerPane::IsWatchStillGood()
{
    SettleWatchedIdentity();
    if (m_hChange == INVALID_HANDLE_VALUE || (m_watchedFolderIndex == 0 && m_watchedFolderIndexHigh == 0) ||
        m_currentDir.CompareNoCase(m_lastListedDir) != 0 || WaitForSingleObject(m_hChange, 0) != WAIT_TIMEOUT)
        return FALSE;
    // A watch follows its folder, not the path: a folder renamed away, or replaced by
    // another of the same name, is never reported through it.
    FolderIdentity identity;
    return IsDirectoryPresent(m_currentDir, &identity) && identity.volume == m_watchedVolume &&
           identity.index == m_watchedFolderIndex && identity.indexHigh == m_watchedFolderIndexHigh;
}

void CFilerPane::ClimbToExistingParent()
{
    // Stops at the root: when the drive or share itself is gone nothing above it can
    // appear, and cutting on would never end.
    bool exists = DirectoryExists(m_currentDir) != 0;
    while (!exists && CutLastElement(m_currentDir))
        exists = DirectoryExists(m_currentDir) != 0;
    if (exists)
        g_PaneHooks.recordVisit(m_paneNumber, m_currentDir, PATH_VISIT_NAVIGATE);
    m_bJustEntered = TRUE;
}

void CFilerPane::LeaveVanishedDirectory()
{
    CString text;
    text.Format(L"ディレクトリ%sは存在しません\n上の階層にあがります", (LPCWSTR)m_currentDir);
    g_PaneHooks.showMessage(*this, text);
    ResetIncrementalSearch();
    ClimbToExistingParent();
}

void CFilerPane::HandleListingError(BOOL* retry)
{
    m_lastListingError = GetLastError();
    if (m_lastListingError == ERROR_ACCESS_DENIED && m_bJustEntered &&
        g_PaneHooks.askAccessDeniedRetry(*this, m_lastListingError, m_currentDir))
    {
        if (retry)
            *retry = TRUE;
    }
    m_bJustEntered = FALSE;
}

// ---- Listing ------------------------------------------------------------------------

void CFilerPane::ListPass(LPCWSTR pattern, int passKind, BOOL hideDot, BOOL hideDotDot, LPCWSTR filterPattern,
                          ReadPass& pass)
{
    CFileInfo directory;
    directory.SetFromPath(nullptr, m_currentDir);
    CFileInfo found;
    CEntryFind* find = nullptr;
    for (;;)
    {
        find = directory.FindFirstChild(pattern, found);
        if (find)
            break;
        BOOL retry = FALSE;
        HandleListingError(&retry);
        if (!retry)
            return;
    }
    bool dotPass = passKind == PASS_CURRENT_ONLY || passKind == PASS_PARENT_ONLY;
    bool pictureFilter = passKind == PASS_ALL && m_bPreviewLayout && g_PREVIEW_DISP_PICTURE_FILE;
    // A disk walk hands over the system's records as they come: one that equals the
    // stored entry at the write position stands for that entry as it is, so a
    // re-read of a folder where little changed fills no record and copies nothing.
    const bool disk = find->m_kind == ENTRY_FIND_DISK;
    WIN32_FIND_DATAW raw;
    bool filled = true; // `found` holds the entry at hand, else `raw` does
    for (;;)
    {
        CFileInfo* current = &found;
        CFileInfo* same = nullptr;
        CFileInfo* appended = nullptr;
        bool taken = false;
        if (!filled)
        {
            if (pass.result == READ_REBUILT)
                pass.TakeReadingOrder(m_entries);
            CFileInfo* stored = pass.StoredAt(m_entries);
            if (stored && stored->m_source == ENTRY_SOURCE_DISK && stored->m_findData.SameAs(raw))
                current = same = stored;
            else if (!stored)
            {
                // Past the stored entries every entry that passes the filter is
                // appended: it is made in its place at the end of the list (and taken
                // out again when the filter drops it), not filled and moved there.
                current = appended = &m_entries[m_entries.AddDiskEntry(find->m_directory, raw, pass.shared)];
            }
            else
                found.SetFromDisk(find->m_directory, raw);
        }
        do
        {
            if (!current->IsDots())
                pass.sawEntry = true;
            BOOL isDirectory = current->IsDirectory();
            switch (passKind)
            {
            case PASS_DIRECTORIES:
                if (!isDirectory)
                    continue;
                break;
            case PASS_FILES:
                if (isDirectory)
                    continue;
                break;
            case PASS_CURRENT_ONLY:
                if (current->m_entryClass != ENTRY_CLASS_CURRENT)
                    continue;
                break;
            case PASS_PARENT_ONLY:
                if (current->m_entryClass != ENTRY_CLASS_PARENT)
                    continue;
                break;
            default:
                break;
            }
            if (!current->PassesDisplayFilter(hideDot, hideDotDot, m_bFilterDirectories, filterPattern,
                                              &m_condition, 0))
                continue;
            if (pictureFilter && !isDirectory && !g_PaneHooks.hasPictureExtension(current->GetName()))
                continue;

            CFileInfo* written;
            if (same)
            {
                // Equal data: unchanged for a comparison, and for a rebuilt list the
                // new entry made from them, in the place it already has.
                written = same;
                if (pass.result == READ_REBUILT)
                    m_entries.RenewFoundEntry(pass.writePos, find->m_directory);
            }
            else if (appended)
            {
                // No stored entry to compare with: the list is rebuilt (the stored
                // entries before it stand in reading order; the new one follows them).
                pass.result = READ_REBUILT;
                pass.TakeReadingOrder(m_entries);
                written = appended;
            }
            else
            {
                CFileInfo* stored = pass.StoredAt(m_entries);
                pass.result = CompareReadEntry(pass.result, stored, found.m_findData);
                written = stored;
                if (pass.result == READ_REBUILT)
                {
                    // The list is rebuilt from here: each found entry, fresh from the
                    // walk, is taken over into the place of the stored one, and what
                    // is left of the stored list is cut at the end.
                    pass.TakeReadingOrder(m_entries);
                    written = &m_entries[m_entries.PutFoundEntry(pass.writePos, std::move(found))];
                }
                else if (stored && stored->m_changed)
                    TakeNewData(*stored, found.m_findData);
            }
            taken = true;
            if (!isDirectory && (passKind == PASS_ALL || passKind == PASS_FILES))
                written->LoadAudioTitle();
            ++pass.writePos;
            if (dotPass)
            {
                CloseEntryFind(find);
                return;
            }
        } while (false);
        if (appended && !taken)
            m_entries.SetSize(m_entries.GetSize() - 1);
        if (disk)
        {
            if (!FindNextEntryData(find, raw))
                break;
            filled = false;
        }
        else
        {
            if (!FindNextEntry(find, found))
                break;
            filled = true;
        }
    }
    CloseEntryFind(find);
}

INT_PTR CFilerPane::EnumerateDirectory(ReadPass& pass)
{
    CString reduced;
    CompactWildcardPattern(m_wildcard, reduced);
    if (m_wildcard == L"*.*")
    {
        ListPass(L"*.*", PASS_ALL, g_NOTVIEWCURRENTDIR, g_NOTVIEWUPDIR, reduced, pass);
        return pass.writePos;
    }
    if (m_bFilterDirectories)
    {
        // The system answers the patterns "." and ".." with the entry of the directory
        // (or of its parent) under its own name, so each dot is taken from the whole
        // listing, where the dots come first.
        if (!g_NOTVIEWCURRENTDIR)
            ListPass(L"*.*", PASS_CURRENT_ONLY, FALSE, FALSE, reduced, pass);
        if (!g_NOTVIEWUPDIR)
            ListPass(L"*.*", PASS_PARENT_ONLY, FALSE, FALSE, reduced, pass);
        ListPass(reduced, PASS_DIRECTORIES, TRUE, TRUE, reduced, pass);
    }
    else
        ListPass(L"*.*", PASS_DIRECTORIES, g_NOTVIEWCURRENTDIR, g_NOTVIEWUPDIR, reduced, pass);
    ListPass(reduced, PASS_FILES, g_NOTVIEWCURRENTDIR, g_NOTVIEWUPDIR, reduced, pass);
    return pass.writePos;
}

int CFilerPane::ReadDirectory(BOOL full)
{
    m_bReadSinceDrawn = TRUE;
    INT_PTR notedCount = m_entries.GetSize();
    int notedDots = m_dotCount;
    if (IsDrivePath(m_currentDir))
    {
        if (CString* slot = GetDriveLetterSlot(m_currentDir[0], m_paneSlot))
            *slot = m_currentDir;
    }
    // The drive class picks the reload setting. Asking the system for it costs a
    // round trip, so it is asked only when needed and not known from a watch that is
    // still on the folder it was armed on.
    int driveClass = -1;
    auto enabled = [this, &driveClass] {
        if (driveClass < 0)
            driveClass = GetDriveClass();
        return g_ReloadSettings[driveClass].enable != 0;
    };
    m_lastListingError = 0;
    int result = READ_UNCHANGED;
    // A signalled watch on a folder that still opens: whether the folder was removed
    // is asked only when the walk finds it empty (see below).
    bool checkAfterWalk = false;

    if (m_mode == PANE_MODE_FILER && m_subMode == PANE_SUB_FIND_RESULTS)
    {
        m_entries.ClearChangedFlags();
        result = MergeFindResults(!full, full);
        if (result != READ_REBUILT)
            return result;
    }
    else
    {
        BOOL onVirtual = !m_currentDir.IsEmpty() && IsVirtualDrive(m_currentDir[0], 0);
        BOOL knownReady = FALSE;
        if (full)
        {
            // Opening and closing a watch costs the system far more than a look at
            // the folder: a watch that saw nothing since it was armed is kept.
            const bool keep = !onVirtual && IsWatchStillGood();
            if (keep)
                driveClass = m_watchedDriveClass;
            if (!keep || !enabled())
            {
                CloseChangeNotification();
                if (!onVirtual && enabled())
                    OpenChangeNotification(driveClass);
            }
            ResetIncrementalSearch();
            // A whole read rebuilds the list from its first entry.
            result = READ_REBUILT;
        }
        else if (onVirtual)
        {
            CVirtualFolderStore* store = g_VirtualFolderStores[(m_currentDir[0] | 0x20) - L'a'];
            int& storeChanged = store->m_changed[m_paneSlot == 1 ? 1 : 0];
            if (m_currentDir.CompareNoCase(m_lastListedDir) != 0)
            {
                ResetIncrementalSearch();
                result = READ_REBUILT;
            }
            else if (storeChanged)
            {
                // Entries were added to or removed from the drive's folders: list the
                // folder again. The flag is set for any folder of the drive, so the
                // listing is compared and rebuilds only when this folder differs.
                storeChanged = 0;
            }
            else
            {
                // Nothing in the store changed: only the real files' data can have.
                m_entries.ClearChangedFlags();
                for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
                {
                    CFileInfo& entry = m_entries[i];
                    if (entry.IsDirectory())
                        continue;
                    WIN32_FIND_DATAW data;
                    if (!entry.RefreshFindData(data))
                    {
                        m_entries.RemoveAt(i);
                        result = READ_REBUILT;
                        break;
                    }
                    if (!entry.m_findData.SameAs(data))
                    {
                        CEntryFindData found(data);
                        result = CompareReadEntry(result, &entry, found);
                        TakeNewData(entry, found);
                    }
                }
                goto finish;
            }
        }
        else
        {
            if (g_ACTIVECHECKMEDIAIN && m_bDriveNotReady && !(m_position & PANE_POS_ACTIVE))
                return READ_UNCHANGED;
            BOOL ready = IsDriveReady();
            knownReady = ready;
            if (!ready)
            {
                if (IsDrivePath(m_currentDir) && m_currentDir.GetLength() > 2)
                {
                    m_currentDir = m_currentDir.Left(2);
                    g_PaneHooks.recordVisit(m_paneNumber, m_currentDir, PATH_VISIT_NAVIGATE);
                }
                ResetIncrementalSearch();
            }
            if (m_bDriveNotReady || !ready)
            {
                ResetIncrementalSearch();
                CloseChangeNotification();
                if (ready && enabled())
                    OpenChangeNotification(driveClass);
                result = READ_REBUILT;
            }
            else
            {
                if (m_currentDir.CompareNoCase(m_lastListedDir) == 0)
                {
                    bool watched = m_hChange != INVALID_HANDLE_VALUE;
                    bool signalled = watched && WaitForSingleObject(m_hChange, 10) != WAIT_TIMEOUT;
                    // A watch reports changes inside the folder only: the removal of
                    // the (empty) folder itself or a rename of a folder above it never
                    // signals it, so every tick also asks whether the folder is there.
                    SettleWatchedIdentity();
                    FolderIdentity seen;
                    bool present = IsDirectoryPresent(m_currentDir, &seen);
                    // Nor does it follow the path: a folder put in the place of the
                    // watched one is listed, and watched anew.
                    const bool identityKnown = m_watchedFolderIndex != 0 || m_watchedFolderIndexHigh != 0;
                    bool sameFolder = !identityKnown ||
                                      (seen.volume == m_watchedVolume && seen.index == m_watchedFolderIndex &&
                                       seen.indexHigh == m_watchedFolderIndexHigh);
                    if (watched && present && identityKnown && sameFolder)
                        driveClass = m_watchedDriveClass;
                    if (watched && !signalled && present && sameFolder)
                    {
                        FindNextChangeNotification(m_hChange);
                        return READ_UNCHANGED;
                    }
                    if (signalled && present && sameFolder)
                        checkAfterWalk = true;
                    else if (!present || !sameFolder)
                    {
                        // A removed directory stays delete-pending, and still found,
                        // while any handle is open on it, our watch included: let go
                        // of the watch before asking whether the directory is still
                        // there.
                        CloseChangeNotification();
                        if (!DirectoryExists(m_currentDir))
                            LeaveVanishedDirectory();
                    }
                    // Without a watch (the system refused one, as some network drives
                    // do) the listing itself is compared: only a real difference is
                    // reported, or the pane would be re-sorted and redrawn every tick.
                }
                if (m_currentDir.CompareNoCase(m_lastListedDir) != 0)
                {
                    // The stored entries belong to the directory that was left: none
                    // of them may stay, however alike the new ones look.
                    ResetIncrementalSearch();
                    CloseChangeNotification();
                    result = READ_REBUILT;
                }
                if (m_hChange == INVALID_HANDLE_VALUE)
                {
                    if (enabled())
                        OpenChangeNotification(driveClass);
                }
                else if (!FindNextChangeNotification(m_hChange))
                {
                    // A handle the system gave up on: watch anew.
                    CloseChangeNotification();
                    if (enabled())
                        OpenChangeNotification(driveClass);
                }
            }
        }

        // A drive found ready a moment ago is not asked again.
        m_bDriveNotReady = !(onVirtual || knownReady || IsDriveReady());
        m_lastListedDir = m_currentDir;
        m_drawingMark = -1;
        if (m_bDriveNotReady)
            m_driveTotalBytes = m_driveFreeBytes = 0;
        else
            GetDiskBytes(m_currentDir, m_driveTotalBytes, m_driveFreeBytes);
        m_entries.ClearChangedFlags();
        m_dotCount = 0;
        if (m_bDriveNotReady)
        {
            m_entries.RemoveAll();
            m_markedCount = 0;
            ResetTargetIteration();
            return READ_REBUILT;
        }
        ReadPass pass;
        pass.result = result;
        // A whole read compares nothing, but meets the same files in the same order
        // again: taken in reading order, each keeps the name keys of the last sort.
        pass.inDisplayOrder = IndexByReadPosition(m_entries, pass.slots);
        INT_PTR writePos = EnumerateDirectory(pass);
        if (checkAfterWalk && !pass.sawEntry)
        {
            // Under Wine a folder removed while our watch is open stays, empty and
            // still opening, until the watch lets go of it; closing and opening a
            // watch on every change costs more than the walk of a small folder, so it
            // is done only when the folder came out empty, as a removed one must be.
            CloseChangeNotification();
            if (!DirectoryExists(m_currentDir))
            {
                LeaveVanishedDirectory();
                // The parent is listed and watched as a directory moved into.
                return ReadDirectory(FALSE);
            }
            if (enabled())
                OpenChangeNotification(driveClass);
        }
        result = pass.result;
        if (full || writePos != notedCount)
            result = READ_REBUILT;
        // A rebuilt list is sorted by the caller; any other keeps its display order.
        if (result == READ_REBUILT)
            pass.TakeReadingOrder(m_entries);
        if (writePos < m_entries.GetSize())
            m_entries.SetSize(writePos);
    }

finish:
    if (result == READ_REBUILT)
    {
        m_entries.ClearMarks();
        m_markedCount = 0;
        ResetTargetIteration();
    }
    else
        m_dotCount = notedDots;
    if (result != READ_UNCHANGED && g_PaneHooks.isPreviewDirectory(m_currentDir))
        g_PaneHooks.queuePreviews(*this);
    return result;
}

// ---- Changing directory -----------------------------------------------------------

void CFilerPane::ChangeDirectory(LPCWSTR target, int historyMode, BOOL keepFilter, BOOL allowFile)
{
    m_bJustEntered = TRUE;
    if (!keepFilter && m_bFilterDirectories)
    {
        m_wildcard = L"*.*";
        m_bFilterDirectories = FALSE;
    }
    m_previousDir = m_currentDir;
    if (m_previousDir.IsEmpty() || m_previousDir[m_previousDir.GetLength() - 1] != L'\\')
        m_previousDir += L'\\';

    ResetSortSetting(m_workingSort);
    if (m_currentDir.GetLength() >= 2 && m_currentDir[0] == L'\\' && m_currentDir[1] == L'\\')
    {
        CString root;
        if (GetPathRoot(m_currentDir, root))
        {
            if (root[root.GetLength() - 1] != L'\\')
                root += L'\\';
            g_LastNetworkRoot = root;
        }
    }

    CString keptName;
    CString resolved;
    if (ResolvePaneTargetDirectory(m_currentDir, target, resolved, RESOLVE_NEAREST_EXISTING, m_paneSlot))
    {
        bool tookFile = false;
        CString asFile;
        if (allowFile &&
            ResolvePaneTargetDirectory(m_currentDir, target, asFile, RESOLVE_CHECK_DRIVE, m_paneSlot) &&
            FileExists(asFile))
        {
            CString folder, name;
            SplitPath(asFile, &folder, &name);
            if (folder.CompareNoCase(resolved) == 0 || asFile.CompareNoCase(resolved) == 0)
            {
                m_currentDir = folder;
                keptName = name;
                tookFile = true;
            }
        }
        if (!tookFile)
            m_currentDir = resolved;
    }
    else if (!DirectoryExists(m_currentDir))
    {
        while (CutLastElement(m_currentDir) && !DirectoryExists(m_currentDir))
        {
        }
    }

    UpdatePreviewState();
    g_PaneHooks.recordVisit(m_paneNumber, m_currentDir, historyMode);
    ReadDirectory(TRUE);
    SortEntries();

    m_cursor = 0;
    if (!keptName.IsEmpty())
    {
        SetCursorToNameOrParent(keptName);
        return;
    }
    if (g_SAVECURSORPOSITION)
    {
        for (INT_PTR i = 0; i < g_SaveCursorPositions.GetSize(); ++i)
        {
            if (g_SaveCursorPositions[i].m_directory.CompareNoCase(m_currentDir) == 0)
            {
                SetCursorToNameOrParent(g_SaveCursorPositions[i].m_name);
                return;
            }
        }
    }
    SetCursorToNameOrParent(nullptr);
}
