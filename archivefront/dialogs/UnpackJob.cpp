#include "archivefront/dialogs/UnpackJob.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/ProgressInfo.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/sevenzip/ExtractPaths.h"
#include "app/dialogs/TellAndAsk.h"
#include "framework/FwLock.h"
#include "fs/FileIdentity.h"

HANDLE g_UnpackMutex = nullptr;

namespace
{
int g_UnpackBusy = 0;

// Back to the start of one archive without forgetting a Cancel the user pressed
// while the previous one ended.
void ResetCounters(CProgressInfo& progress)
{
    progress.totalAmount = 0;
    progress.doneAmount = 0;
    progress.currentAmount = 0;
    progress.barBase = 0;
    progress.barSpan = 100;
    progress.SetMainText(L"");
}

CString Slashes(CString path)
{
    path.Replace(L'/', L'\\');
    path.Trim(L'\\');
    return path;
}

// The path with "." and ".." resolved and closing dots and spaces of its name
// dropped, as the system reads it; the path itself when it cannot be resolved.
CString CleanedPath(const CString& path)
{
    DWORD length = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (length == 0)
        return path;
    CString full;
    const DWORD written = GetFullPathNameW(path, length, full.GetBuffer(static_cast<int>(length)), nullptr);
    const bool resolved = written != 0 && written < length;
    full.ReleaseBuffer(resolved ? static_cast<int>(written) : 0);
    return resolved ? full : path;
}

// Extracting onto the archive itself would destroy it while it is read. The target
// may spell the archive's path otherwise (a "..", a short name, a closing dot, a
// link): an existing target is compared with the archive by file identity.
bool OverwritesArchive(CArchiveFront& front, const CArrayArchiveFileInfo* chosen, const CString& destination,
                       int ignoreFolders, CWnd* owner)
{
    CString archive;
    front.GetArchivePath(archive);
    if (archive.IsEmpty())
        return false;
    const CString cleanedArchive = CleanedPath(archive);
    BY_HANDLE_FILE_INFORMATION archiveIdentity{};
    const bool archiveKnown = GetFileIdentity(archive, archiveIdentity) != FALSE;
    int count = chosen != nullptr && chosen->GetSize() > 0 ? static_cast<int>(chosen->GetSize())
                                                           : front.GetEntryCount();
    for (int i = 0; i < count; ++i)
    {
        const CArchiveFileInfo* member = nullptr;
        if (chosen != nullptr && chosen->GetSize() > 0)
            member = &(*chosen)[i];
        else
        {
            CArchiveFileInfo* listed = nullptr;
            if (!front.GetEntry(&listed, i))
                continue;
            member = listed;
        }
        if (member->m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const CString target =
            CleanedPath(UnpackTargetOf(*member, destination, front.GetCurrentFolder(), ignoreFolders));
        BY_HANDLE_FILE_INFORMATION targetIdentity{};
        if (target.CompareNoCase(cleanedArchive) == 0 ||
            (archiveKnown && GetFileIdentity(target, targetIdentity) &&
             SameFileIdentity(targetIdentity, archiveIdentity)))
        {
            CString text;
            text.Format(L"解凍すると圧縮ファイル自身が上書きされるため解凍できません\n%s",
                        archive.GetString());
            Tell(owner, text, L"解凍失敗");
            return true;
        }
    }
    return false;
}

int UnpackArchiveFiles(CUnpackJob& job, CProgressInfo& progress, CWnd* owner)
{
    for (INT_PTR i = 0; i < job.archives.GetSize(); ++i)
    {
        if (progress.IsCancelled())
            return UNPACK_FAILED;
        const CString& path = job.archives[i];
        CArchiveFront front;
        // Some archives only a library's unpack command reads: no listing, but still
        // something to unpack.
        if (!front.OpenAndList(path, ARCFRONT_PREFER_ARCHIVER) && !front.Open(path, ARCFRONT_OPEN_UNPACK))
        {
            Tell(owner, front.m_errors.GetMessageText(), L"解凍失敗");
            return UNPACK_FAILED;
        }
        front.ResetOptions();
        CString destination = job.destination;
        if (job.folderPerArchive)
        {
            CString name, base;
            SplitPath(path, nullptr, &name);
            SplitExtension(name, &base, nullptr);
            MakePath(job.destination, base, destination);
        }
        if (front.HasListing() && OverwritesArchive(front, nullptr, destination, job.ignoreFolders, owner))
            return UNPACK_FAILED;
        CString folder;
        SplitPath(path, &folder, nullptr);
        front.SetOption(5, destination);
        front.SetOption(0, folder);
        front.SetOption(1, path);
        if (job.ignoreFolders)
            front.SetOption(6, static_cast<LPCWSTR>(nullptr));
        front.SetOption(7, static_cast<LPCWSTR>(nullptr));
        if (front.m_activeBackEnd == ARCFRONT_ARCHIVER)
            front.SetOption(9, static_cast<LPCWSTR>(nullptr));
        front.SetOption(8, job.password);
        ResetCounters(progress);
        int extracted = front.Extract(owner, &progress);
        front.UnloadLibraries();
        if (!extracted)
        {
            if (!front.m_errors.HasCode(ARCERR_USER_CANCEL) && !progress.IsCancelled())
            {
                CString text;
                text.Format(L"%s\n%s\n", front.m_errors.GetMessageText().GetString(), path.GetString());
                Tell(owner, text, L"解凍失敗");
            }
            return UNPACK_FAILED;
        }
    }
    return UNPACK_DONE;
}

int UnpackMembers(CUnpackJob& job, CProgressInfo& progress, CWnd* owner)
{
    CArchiveFront& front = *job.front;
    front.ResetOptions();
    front.SetOption(8, job.password);
    front.SetOption(0, static_cast<LPCWSTR>(nullptr));
    front.SetOption(1, static_cast<LPCWSTR>(nullptr));
    if (job.ignoreFolders)
        front.SetOption(6, static_cast<LPCWSTR>(nullptr));
    CString destination = job.destination;
    if (job.folderPerArchive)
    {
        CString archive, name;
        front.GetArchivePath(archive);
        SplitPath(archive, nullptr, &name);
        MakePath(job.destination, name, destination);
        CreateDirectoryTree(destination, 0, nullptr);
    }
    if (OverwritesArchive(front, &job.members, destination, job.ignoreFolders, owner))
        return UNPACK_FAILED;
    front.SetOption(5, destination);
    for (INT_PTR i = 0; i < job.members.GetSize(); ++i)
    {
        if (progress.IsCancelled())
            return UNPACK_FAILED;
        CArchiveFileInfo& member = job.members[i];
        if (job.toTemp)
        {
            // The viewer is handed this very file: an older copy must not stand in.
            // It is the file extraction writes, and only ever one inside the folder.
            // Only the 7-Zip back-end writes members below the folder the pane shows.
            CString old;
            if (TempExtractionPath(front, member, destination, job.ignoreFolders, old))
            {
                SetFileAttributesLong(old, FILE_ATTRIBUTE_NORMAL);
                DeleteFileLong(old);
            }
        }
        front.SetOption(2, &member);
    }
    // A copy left from an earlier open that could not go is replaced without a
    // question: nobody is there to answer one.
    if (job.toTemp)
        front.SetOption(17, static_cast<LPCWSTR>(nullptr));
    ResetCounters(progress);
    if (!front.HasListing())
        return UNPACK_FAILED;
    int extracted = front.Extract(owner, &progress);
    front.UnloadLibraries();
    if (extracted)
        return UNPACK_DONE;
    if (!progress.IsCancelled() && !front.m_errors.HasCode(ARCERR_USER_CANCEL))
        Tell(owner, front.m_errors.GetMessageText(), L"解凍失敗");
    return UNPACK_FAILED;
}
} // namespace

int RunUnpackJob(CUnpackJob& job, CProgressInfo& progress, CWnd* owner)
{
    if (job.sourceMode == UNPACK_FROM_ARCHIVE)
        return job.front != nullptr ? UnpackMembers(job, progress, owner) : UNPACK_FAILED;
    return UnpackArchiveFiles(job, progress, owner);
}

CString UnpackTargetOf(const CArchiveFileInfo& member, const CString& destination, const CString& innerFolder,
                       int ignoreFolders)
{
    CString relative;
    if (ignoreFolders)
        relative = member.m_findData.cFileName;
    else
    {
        CString folder = Slashes(member.m_folder);
        CString inner = Slashes(innerFolder);
        // The folder the pane shows is left out only as a whole folder: "ab" is no
        // part of "abc".
        if (!inner.IsEmpty() && folder.Left(inner.GetLength()).CompareNoCase(inner) == 0 &&
            (folder.GetLength() == inner.GetLength() || folder[inner.GetLength()] == L'\\'))
            folder = Slashes(folder.Mid(inner.GetLength()));
        relative = folder.IsEmpty() ? CString(member.m_findData.cFileName)
                                    : folder + L"\\" + member.m_findData.cFileName;
    }
    CString target;
    MakePath(destination, relative, target);
    return target;
}

BOOL TempExtractionPath(CArchiveFront& front, const CArchiveFileInfo& member, const CString& destination,
                        int flat, CString& path)
{
    // Only the 7-Zip back-end writes members below the folder the pane shows.
    const CString inner = front.m_activeBackEnd == ARCFRONT_SEVENZIP ? front.GetCurrentFolder() : CString();
    if (ExtractedMemberPath(destination, member, inner, flat, path) && PathLiesInside(path, destination))
        return TRUE;
    path.Empty();
    return FALSE;
}

int TryTakeUnpackBusy()
{
    CHandleLock lock(g_UnpackMutex);
    if (g_UnpackBusy != 0)
        return 0;
    g_UnpackBusy = 1;
    return 1;
}

void ReleaseUnpackBusy()
{
    CHandleLock lock(g_UnpackMutex);
    g_UnpackBusy = 0;
}

int IsUnpackBusy()
{
    CHandleLock lock(g_UnpackMutex);
    return g_UnpackBusy;
}
