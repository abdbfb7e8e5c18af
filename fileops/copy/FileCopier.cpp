#include "fileops/copy/FileCopier.h"
#include <time.h>
#include <wctype.h>
#include "app/Directories.h"
#include "app/Drives.h"
#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/ProgressInfo.h"
#include "app/Settings.h"

namespace
{

UINT SystemDriveType(LPCWSTR root)
{
    return GetDriveTypeW(root);
}

BOOL SystemBytesPerSector(LPCWSTR root, DWORD* bytesPerSector)
{
    DWORD sectorsPerCluster = 0, freeClusters = 0, totalClusters = 0;
    return GetDiskFreeSpaceW(root, &sectorsPerCluster, bytesPerSector, &freeClusters, &totalClusters);
}

// The attributes a plain file can be given; the directory and reparse bits of a find
// record are not among them.
const DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

DWORD SettableAttributes(DWORD attributes)
{
    DWORD result = attributes & kSettableAttributes;
    return result == 0 ? FILE_ATTRIBUTE_NORMAL : result;
}

DWORD ChunkSettingBytes(UINT type, BOOL floppy)
{
    int kilobytes;
    switch (type)
    {
    case DRIVE_FIXED:
        kilobytes = g_COPY_BUFFER_SIZE_FIXED;
        break;
    case DRIVE_REMOTE:
        kilobytes = g_COPY_BUFFER_SIZE_REMOTE;
        break;
    case DRIVE_REMOVABLE:
        kilobytes = floppy ? g_COPY_BUFFER_SIZE_OTHER : g_COPY_BUFFER_SIZE_REMOVABLE;
        break;
    default:
        kilobytes = g_COPY_BUFFER_SIZE_OTHER;
        break;
    }
    if (kilobytes <= 0)
        return 524288;
    // A setting beyond 4 GB would not fit the 32-bit chunk.
    ULONGLONG bytes = (ULONGLONG)kilobytes * 1024;
    return bytes > 0xFFFFFFFFull ? 0xFFFFFFFFu : (DWORD)bytes;
}

BOOL SetPosition(HANDLE file, LONGLONG offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN);
}

void CloseHandleOnce(HANDLE& handle)
{
    if (handle != INVALID_HANDLE_VALUE)
    {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
}

// The name of a temporary file the copier writes beside its destination,
// "<name>.~qvNNN": the length of the destination's name in it, or -1 for any other name.
int LeftoverTargetLength(LPCWSTR name)
{
    const int length = static_cast<int>(wcslen(name));
    const int target = length - 7;
    if (target < 1 || CompareStringOrdinal(name + target, 4, L".~qv", 4, TRUE) != CSTR_EQUAL)
        return -1;
    for (int i = length - 3; i < length; ++i)
        if (name[i] < L'0' || name[i] > L'9')
            return -1;
    return target;
}

// The attributes a temporary file is never created with: a temporary left behind by a
// killed copy would hide itself or refuse its removal.
const DWORD kAttributesKeptForTheEnd =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// A removable drive that is a floppy: it takes the "other" chunk size.
const UINT kFloppyDriveType = 0x100;

// The most a buffered copy reads before it writes: small enough to stay in the
// processor's second-level cache, large enough that the calls cost nothing beside
// the bytes.
const DWORD kCopyPiece = 256 * 1024;

} // namespace

const CopierDriveProbe g_SystemDriveProbe = {SystemDriveType, SystemBytesPerSector, IsFloppyDrive, WriteFile};

DWORD ComputeCopyChunkSize(UINT sourceType, BOOL sourceFloppy, UINT destinationType, BOOL destinationFloppy,
                           LONGLONG size)
{
    DWORD chunk = 0xFFFFFFFFu;
    DWORD sourceBytes = ChunkSettingBytes(sourceType, sourceFloppy);
    DWORD destinationBytes = ChunkSettingBytes(destinationType, destinationFloppy);
    if (sourceBytes < chunk)
        chunk = sourceBytes;
    if (destinationBytes < chunk)
        chunk = destinationBytes;
    if (size >= 0 && (ULONGLONG)size < chunk)
        chunk = (DWORD)size;
    return chunk == 0 ? 1024 : chunk;
}

CString CopierTemporaryName(LPCWSTR destinationPath, int n, BOOL shortForm)
{
    CString temporary;
    if (!shortForm)
    {
        temporary.Format(L"%s.~qv%03d", destinationPath, n);
        return temporary;
    }
    const wchar_t* slash = wcsrchr(destinationPath, L'\\');
    const CString folder =
        slash != nullptr ? CString(destinationPath, static_cast<int>(slash - destinationPath)) : CString();
    temporary.Format(L"%s\\~qv%03d.tmp", folder.GetString(), n);
    return temporary;
}

DWORD CopierTemporaryFlags(DWORD sourceAttributes, BOOL sectorAligned)
{
    if (sectorAligned)
        return FILE_FLAG_NO_BUFFERING;
    const DWORD attributes = SettableAttributes(sourceAttributes) & ~kAttributesKeptForTheEnd;
    return (attributes ? attributes : FILE_ATTRIBUTE_NORMAL) | FILE_FLAG_SEQUENTIAL_SCAN;
}

BOOL CopierSetsAttributesAtEnd(DWORD sourceAttributes, BOOL sectorAligned)
{
    return sectorAligned || (SettableAttributes(sourceAttributes) & kAttributesKeptForTheEnd) != 0;
}

DWORD CopierWriteSize(DWORD got, DWORD chunkSize, DWORD bytesPerSector, BOOL sectorAligned)
{
    if (sectorAligned && got != chunkSize && got % bytesPerSector != 0)
        return (got / bytesPerSector + 1) * bytesPerSector;
    return got;
}

BOOL IsCopierTemporaryOf(LPCWSTR name, LPCWSTR destinationName)
{
    const int length = static_cast<int>(wcslen(destinationName));
    return LeftoverTargetLength(name) == length &&
           CompareStringOrdinal(name, length, destinationName, length, TRUE) == CSTR_EQUAL;
}

CFileCopier::CFileCopier() : m_pFinishedBytes(&m_ownFinished), m_probe(g_SystemDriveProbe) {}

CFileCopier::~CFileCopier()
{
    Close(TRUE);
    FreeBuffer();
    ReleaseFolder();
}

void CFileCopier::ReleaseFolder()
{
    CloseHandleOnce(m_namesFolderHandle);
    m_namesFolderOpened = FALSE;
    m_namesFolder.Empty();
}

HANDLE CFileCopier::FolderForNames(const CString& folder)
{
    if (!m_namesFolderOpened || folder.Compare(m_namesFolder) != 0)
    {
        ReleaseFolder();
        m_namesFolderHandle = OpenFolderForNamesLong(folder);
        m_namesFolderOpened = TRUE;
        m_namesFolder = folder;
    }
    return m_namesFolderHandle;
}

void CFileCopier::FreeBuffer()
{
    if (m_buffer != nullptr)
        VirtualFree(m_buffer, 0, MEM_RELEASE);
    m_buffer = nullptr;
    m_bufferSize = 0;
}

UINT CFileCopier::DriveTypeOf(LPCWSTR path)
{
    if (path == nullptr || path[0] == 0)
        return DRIVE_NO_ROOT_DIR;
    if (path[0] == L'\\')
        return DRIVE_REMOTE;
    wchar_t letter = (wchar_t)towupper(path[0]);
    for (int i = 0; i < 2; ++i)
        if (m_cachedLetters[i] == letter)
            return m_cachedTypes[i];
    wchar_t root[4] = {letter, L':', L'\\', 0};
    UINT type = m_probe.getDriveType(root);
    if (type == DRIVE_REMOVABLE && m_probe.isFloppyDrive != nullptr && m_probe.isFloppyDrive(letter))
        type = kFloppyDriveType;
    m_cachedLetters[m_nextCacheSlot] = letter;
    m_cachedTypes[m_nextCacheSlot] = type;
    m_nextCacheSlot ^= 1;
    return type;
}

BOOL CFileCopier::ChooseChunkSize(LONGLONG size)
{
    const UINT kFloppy = kFloppyDriveType;
    UINT sourceType = DriveTypeOf(m_sourcePath);
    UINT destinationType = DriveTypeOf(m_destinationPath);
    m_chunkSize = ComputeCopyChunkSize(
        sourceType == kFloppy ? DRIVE_REMOVABLE : sourceType, sourceType == kFloppy,
        destinationType == kFloppy ? DRIVE_REMOVABLE : destinationType, destinationType == kFloppy, size);
    // A buffer large enough is kept: files of many sizes would otherwise each map and
    // touch a fresh one.
    if (m_buffer != nullptr && m_bufferSize >= m_chunkSize)
        return TRUE;
    FreeBuffer();
    // Page-aligned memory: an unbuffered handle on Windows rejects buffers that are
    // not aligned to the sector size.
    m_buffer = (BYTE*)VirtualAlloc(nullptr, m_chunkSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (m_buffer == nullptr)
        return FALSE;
    m_bufferSize = m_chunkSize;
    return TRUE;
}

int CFileCopier::Fail(LPCWSTR operation, DWORD error, LPCWSTR path)
{
    m_failedOperation = operation;
    m_failedError = error;
    m_failedPath = path;
    *m_pFinishedBytes += m_fileSize;
    CloseHandleOnce(m_sourceHandle);
    CloseHandleOnce(m_destinationHandle);
    CloseHandleOnce(m_spareHandle);
    // A truncated file with a fresh time would count as newer than the original
    // at the next copy, and a temporary is of no use to anyone: neither stays.
    DiscardWritten();
    return 0;
}

void CFileCopier::DiscardWritten()
{
    if (m_writtenPath.IsEmpty())
        return;
    SetFileAttributesLong(m_writtenPath, FILE_ATTRIBUTE_NORMAL);
    DeleteFileLong(m_writtenPath);
    m_writtenPath.Empty();
}

DWORD CFileCopier::CreateTemporary(DWORD flags)
{
    // "<name>.~qvNNN" beside the destination; where that longer name does not fit the
    // volume's limit, "~qvNNN.tmp" in the same folder.
    const int slash = m_destinationPath.ReverseFind(L'\\');
    BOOL shortForm = FALSE;
    DWORD error = ERROR_FILE_EXISTS;
    for (int n = 0; n < kCopierTemporaryNameCount;)
    {
        const CString temporary = CopierTemporaryName(m_destinationPath, n, shortForm);
        // A new file written through one handle takes its name on that handle at the end
        // (DELETE access); the unbuffered form opens a second handle, which that access
        // would refuse, and is renamed by name.
        const BOOL namedOnHandle = !m_replacing && !m_sectorAligned;
        const DWORD access = namedOnHandle ? (GENERIC_WRITE | DELETE) : GENERIC_WRITE;
        // Such a file is made in the destination folder held open, by its bare name,
        // where both names are ones a path would give the same file.
        LPCWSTR temporaryName = temporary.GetString() + temporary.ReverseFind(L'\\') + 1;
        HANDLE folder = INVALID_HANDLE_VALUE;
        if (namedOnHandle && slash >= 0 && IsPlainNameInFolder(m_destinationPath.GetString() + slash + 1) &&
            IsPlainNameInFolder(temporaryName))
            folder = FolderForNames(m_destinationPath.Left(slash));
        m_madeInFolder = FALSE;
        DWORD folderError = 0;
        if (folder != INVALID_HANDLE_VALUE)
        {
            m_destinationHandle =
                CreateFileInFolder(folder, temporaryName, access, FILE_SHARE_WRITE, CREATE_NEW, flags);
            m_madeInFolder = m_destinationHandle != INVALID_HANDLE_VALUE;
            folderError = m_madeInFolder ? 0 : GetLastError();
        }
        // A refusal of the call in the folder other than a taken name is asked again by
        // the path, whose answer counts.
        if (!m_madeInFolder && folderError != ERROR_FILE_EXISTS && folderError != ERROR_ALREADY_EXISTS)
            m_destinationHandle =
                CreateFileLong(temporary, access, FILE_SHARE_WRITE, nullptr, CREATE_NEW, flags, nullptr);
        if (m_destinationHandle != INVALID_HANDLE_VALUE)
        {
            m_writtenPath = temporary;
            return 0;
        }
        error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            ++n;
        else if (shortForm || slash < 0)
            break;
        else
            shortForm = TRUE;
    }
    return error;
}

void CFileCopier::RemoveLeftovers()
{
    const int slash = m_destinationPath.ReverseFind(L'\\');
    if (slash < 0)
        return;
    const CString folder = m_destinationPath.Left(slash);
    if (!m_leftoverFolderRead || folder.Compare(m_leftoverFolder) != 0)
    {
        m_leftoverFolder = folder;
        m_leftoverFolderRead = TRUE;
        m_leftovers.clear();
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileLong(folder + L"\\*.~qv*", &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    LeftoverTargetLength(data.cFileName) > 0)
                    m_leftovers.push_back(data.cFileName);
            } while (FindNextFileW(find, &data));
            FindCloseLong(find);
        }
    }
    const CString name = m_destinationPath.Mid(slash + 1);
    for (size_t i = 0; i < m_leftovers.size();)
    {
        const CString& leftover = m_leftovers[i];
        // A copy still running holds its temporary open without sharing the delete, so
        // the system refuses it and the file stays.
        if (IsCopierTemporaryOf(leftover, name) && DeleteFileLong(folder + L"\\" + leftover))
        {
            m_leftovers.erase(m_leftovers.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
}

int CFileCopier::Open(const WIN32_FIND_DATAW& source, LPCWSTR destinationPath, LPCWSTR sourceDirectory)
{
    Close(TRUE);
    ULONGLONG start = GetTickCount64();
    BeginFile(source, destinationPath, sourceDirectory);
    if (!OpenSource())
        return 0;
    ChooseSectorAlignment(destinationPath);
    // The temporary file is written plain: one that a kill leaves behind must neither
    // hide itself nor refuse its removal. A read-only, hidden or system source's
    // attributes (and those of a file made unbuffered or one that replaces another)
    // follow when the copy takes its name.
    const DWORD flags = CopierTemporaryFlags(source.dwFileAttributes, m_sectorAligned);
    m_setAttributesAtEnd = CopierSetsAttributesAtEnd(source.dwFileAttributes, m_sectorAligned);
    // Nothing is written under the destination's own name before the copy is
    // complete: a new file and a replacement alike are written beside it under a
    // temporary name and take the name at the end, so that a copy cut short (failed,
    // stopped, or the program killed) never leaves a truncated file that passes for
    // the copy, and an existing file is replaced only by a complete one.
    if (!LookAtReplacedFile(destinationPath))
        return 0;
    if (!m_folderIsNew)
        RemoveLeftovers();
    DWORD error = CreateTemporary(flags);
    if (error != 0)
        return Fail(L"CreateFile", error, destinationPath);
    if (m_sectorAligned && !SizeUnbufferedTemporary())
        return 0;

    ULONGLONG now = GetTickCount64();
    m_openTime += now - start;
    ++m_opens;
    m_carriedCopyTime = m_copyTime;
    m_fileCopyStart = now;
    return 1;
}

void CFileCopier::BeginFile(const WIN32_FIND_DATAW& source, LPCWSTR destinationPath, LPCWSTR sourceDirectory)
{
    m_source = source;
    m_destinationPath = destinationPath;
    MakePath(sourceDirectory, source.cFileName, m_sourcePath);
    m_writtenPath.Empty();
    m_replacing = FALSE;
    m_madeInFolder = FALSE;
    m_fileSize = ((LONGLONG)source.nFileSizeHigh << 32) + source.nFileSizeLow;
    m_bytesDone = 0;
    m_lastPercent = -1;
    m_sectorAligned = FALSE;
    m_bytesPerSector = 0;
    m_failedOperation.Empty();
    m_failedError = 0;
    m_failedPath.Empty();
}

int CFileCopier::OpenSource()
{
    m_sourceHandle = CreateFileLong(m_sourcePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_sourceHandle == INVALID_HANDLE_VALUE)
        return Fail(L"CreateFile", GetLastError(), m_sourcePath);
    LARGE_INTEGER size;
    if (GetFileSizeEx(m_sourceHandle, &size))
        m_fileSize = size.QuadPart;
    if (!ChooseChunkSize(m_fileSize))
        return Fail(L"CreateFile", ERROR_NOT_ENOUGH_MEMORY, m_sourcePath);
    return 1;
}

void CFileCopier::ChooseSectorAlignment(LPCWSTR destinationPath)
{
    if (!g_REMOVABLE_COPY_FAST || (LONGLONG)m_chunkSize >= m_fileSize || destinationPath[0] == L'\\' ||
        destinationPath[0] == 0)
        return;
    wchar_t root[4] = {destinationPath[0], L':', L'\\', 0};
    DWORD sector = 0;
    if (m_probe.getDriveType(root) != DRIVE_REMOVABLE || !m_probe.getBytesPerSector(root, &sector) ||
        sector == 0 || m_chunkSize < sector)
        return;
    m_sectorAligned = TRUE;
    m_bytesPerSector = sector;
    m_chunkSize = m_chunkSize / sector * sector;
}

int CFileCopier::LookAtReplacedFile(LPCWSTR destinationPath)
{
    // A caller that found the name free has said so: the destination is not asked again.
    const DWORD existing =
        m_replaceExisting ? GetFileAttributesLong(destinationPath) : INVALID_FILE_ATTRIBUTES;
    if (existing == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (existing & FILE_ATTRIBUTE_DIRECTORY)
        return Fail(L"CreateFile", ERROR_ALREADY_EXISTS, destinationPath);
    m_replacing = TRUE;
    m_setAttributesAtEnd = TRUE;
    return 1;
}

HANDLE CFileCopier::OpenSpareHandle()
{
    return CreateFileLong(m_writtenPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
}

int CFileCopier::SizeUnbufferedTemporary()
{
    // An unbuffered handle writes whole sectors only: the file is made as long as its
    // sectors at once, and a second, buffered handle cuts a last part sector off at the end.
    LONGLONG sectors = (m_fileSize + m_bytesPerSector - 1) / m_bytesPerSector;
    if (m_fileSize % m_bytesPerSector != 0)
    {
        m_spareHandle = OpenSpareHandle();
        if (m_spareHandle == INVALID_HANDLE_VALUE)
            return Fail(L"CreateFile", GetLastError(), m_destinationPath);
    }
    if (!SetPosition(m_destinationHandle, sectors * m_bytesPerSector))
        return Fail(L"SetFilePointer", GetLastError(), m_destinationPath);
    if (!SetEndOfFile(m_destinationHandle))
        return Fail(L"SetEndOfFile", GetLastError(), m_destinationPath);
    if (!SetPosition(m_destinationHandle, 0))
        return Fail(L"SetFilePointer", GetLastError(), m_destinationPath);
    return 1;
}

int CFileCopier::CopyChunk(int* pContinue)
{
    if (m_sourceHandle == INVALID_HANDLE_VALUE || m_destinationHandle == INVALID_HANDLE_VALUE)
    {
        *pContinue = 0;
        return 0;
    }
    LONGLONG remaining = m_fileSize - m_bytesDone;
    DWORD wanted = remaining < (LONGLONG)m_chunkSize ? (DWORD)remaining : m_chunkSize;
    if (!CopyPieces(wanted))
    {
        *pContinue = 0;
        return 0;
    }
    m_bytesDone += wanted;
    m_bytesCopied += wanted;
    if (m_showJobProgress && m_pJobTotal != nullptr)
        ShowJobProgress(*m_pFinishedBytes + m_bytesDone, *m_pJobTotal);
    ShowFilePercent();
    ReportProgress();
    if (m_bytesDone < m_fileSize)
    {
        ShowTimes();
        return 1;
    }
    *pContinue = CompleteFile();
    return 0;
}

int CFileCopier::CopyPieces(DWORD wanted)
{
    // An unbuffered handle takes the chunk whole. Through the system's cache the
    // chunk goes in pieces that stay in the processor's cache between the read and
    // the write: a chunk of megabytes read whole would be written back from memory.
    const DWORD piece = m_sectorAligned ? wanted : (wanted < kCopyPiece ? wanted : kCopyPiece);
    DWORD done = 0;
    do
    {
        const DWORD want = wanted - done < piece ? wanted - done : piece;
        DWORD got = 0;
        if (!ReadFile(m_sourceHandle, m_buffer, want, &got, nullptr))
            return Fail(L"ReadFile", GetLastError(), m_sourcePath);
        // A source that shrank under the copy ends early: what was read is not the
        // file, and stamping it with the source's times would pass it off as complete.
        if (got != want)
            return Fail(L"ReadFile", ERROR_HANDLE_EOF, m_sourcePath);
        const DWORD toWrite = CopierWriteSize(got, m_chunkSize, m_bytesPerSector, m_sectorAligned);
        if (toWrite != 0)
        {
            DWORD written = 0;
            if (!m_probe.writeFile(m_destinationHandle, m_buffer, toWrite, &written, nullptr) ||
                written != toWrite)
            {
                DWORD error = GetLastError();
                return Fail(L"WriteFile", error == 0 ? ERROR_DISK_FULL : error, m_destinationPath);
            }
        }
        done += got;
    } while (done < wanted);
    return 1;
}

int CFileCopier::CompleteFile()
{
    if (m_sectorAligned && m_fileSize % m_bytesPerSector != 0 && !CutSectorTail())
        return 0;
    Show(COPIER_SHOW_FILE_PERCENT, L"100%", 100);
    SetFileTime(m_destinationHandle, &m_source.ftCreationTime, &m_source.ftLastAccessTime,
                &m_source.ftLastWriteTime);
    if (FinishFile() != COPIER_FILE_DONE)
        return 0;
    if (m_showJobProgress)
        *m_pFinishedBytes += m_fileSize;
    return 1;
}

int CFileCopier::CutSectorTail()
{
    if (m_spareHandle == INVALID_HANDLE_VALUE)
    {
        m_spareHandle = OpenSpareHandle();
        if (m_spareHandle == INVALID_HANDLE_VALUE)
            return Fail(L"CreateFile", GetLastError(), m_destinationPath);
    }
    CloseHandleOnce(m_destinationHandle);
    m_destinationHandle = m_spareHandle;
    m_spareHandle = INVALID_HANDLE_VALUE;
    if (!SetPosition(m_destinationHandle, m_fileSize))
        return Fail(L"SetFilePointer", GetLastError(), m_destinationPath);
    if (!SetEndOfFile(m_destinationHandle))
        return Fail(L"SetEndOfFile", GetLastError(), m_destinationPath);
    return 1;
}

int CFileCopier::FinishFile()
{
    // A new file takes its name on its own handle, which spares opening it again by
    // name; a file of that name that appeared meanwhile makes the step fail and stays.
    BOOL named = FALSE;
    if (!m_replacing && !m_sectorAligned && m_spareHandle == INVALID_HANDLE_VALUE &&
        m_destinationHandle != INVALID_HANDLE_VALUE)
    {
        const int slash = m_destinationPath.ReverseFind(L'\\');
        named = m_madeInFolder && m_namesFolderHandle != INVALID_HANDLE_VALUE
                    ? RenameOpenFileInFolder(m_destinationHandle, m_namesFolderHandle,
                                             m_destinationPath.GetString() + slash + 1, FALSE)
                    : RenameOpenFileLong(m_destinationHandle, m_destinationPath, FALSE);
        const DWORD error = named ? 0 : GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        {
            m_fileSize = 0; // already counted as copied: not counted again as finished
            Fail(L"MoveFile", error, m_destinationPath);
            return COPIER_FILE_FAILED;
        }
        // Any other refusal (a file system without the step): by name below.
    }
    CloseHandleOnce(m_destinationHandle);
    CloseHandleOnce(m_spareHandle);
    // The complete copy takes the destination's name only now, in one step. A new
    // file never replaces one that appeared meanwhile; an old file goes only for the
    // complete copy, its read-only, hidden or system attribute (which refuses the
    // step) lifted just for it.
    DWORD oldAttributes = INVALID_FILE_ATTRIBUTES;
    if (m_replacing)
    {
        oldAttributes = GetFileAttributesLong(m_destinationPath);
        if (oldAttributes != INVALID_FILE_ATTRIBUTES &&
            (oldAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            SetFileAttributesLong(m_destinationPath, FILE_ATTRIBUTE_NORMAL);
    }
    if (!named &&
        !MoveFileExLong(m_writtenPath, m_destinationPath, m_replacing ? MOVEFILE_REPLACE_EXISTING : 0))
    {
        DWORD error = GetLastError();
        if (oldAttributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesLong(m_destinationPath, oldAttributes);
        m_fileSize = 0; // already counted as copied: not counted again as finished
        Fail(L"MoveFile", error, m_destinationPath);
        return COPIER_FILE_FAILED;
    }
    m_writtenPath.Empty();
    if (m_setAttributesAtEnd)
        SetFileAttributesLong(m_destinationPath, SettableAttributes(m_source.dwFileAttributes));
    Close(FALSE);
    ShowTimes();
    return COPIER_FILE_DONE;
}

void CFileCopier::Close(BOOL deleteDestination)
{
    ULONGLONG start = GetTickCount64();
    BOOL bothOpen = m_sourceHandle != INVALID_HANDLE_VALUE && m_destinationHandle != INVALID_HANDLE_VALUE;
    CloseHandleOnce(m_sourceHandle);
    CloseHandleOnce(m_destinationHandle);
    CloseHandleOnce(m_spareHandle);
    if (bothOpen)
    {
        m_closeTime += GetTickCount64() - start;
        ++m_closes;
    }
    // A file that was not completed is never left behind, stopped or not: it would
    // pass for a copy of the source.
    (void)deleteDestination;
    DiscardWritten();
}

void CFileCopier::Show(int display, LPCWSTR text, LONGLONG value)
{
    if (m_progress != nullptr)
        m_progress->SetDisplay(display, text, value);
}

void CFileCopier::ShowFilePercent()
{
    int percent;
    if (m_fileSize <= 0)
        percent = 100;
    else if (m_fileSize <= 100)
        percent = (int)(m_bytesDone * 100 / m_fileSize);
    else
        percent = (int)(m_bytesDone / (m_fileSize / 100));
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    if (m_progress == nullptr)
        return;
    CString text;
    text.Format(L"%d%%", percent);
    Show(COPIER_SHOW_FILE_PERCENT, text, percent);
}

void CFileCopier::ReportProgress()
{
    if (m_progress == nullptr)
        return;
    m_progress->currentAmount = m_bytesDone;
    m_progress->doneAmount = *m_pFinishedBytes + m_bytesDone;
    if (m_pJobTotal != nullptr)
        m_progress->totalAmount = *m_pJobTotal;
    m_progress->Notify(PROGRESS_DONE);
}

void CFileCopier::ShowJobProgress(LONGLONG done, LONGLONG total)
{
    if (!m_showJobProgress || m_progress == nullptr)
        return;
    CString doneText, totalText, text;
    FormatNumberInt((ULONGLONG)done, doneText, 15);
    FormatNumberInt((ULONGLONG)total, totalText, 15);
    text.Format(L"%s/%s", doneText.GetString(), totalText.GetString());
    Show(COPIER_SHOW_JOB_BYTES, text);
    if (total == 0)
        text = L"100.0%";
    else
        text.Format(L"%3.1f%%", (double)done * 100.0 / (double)total);
    Show(COPIER_SHOW_JOB_PERCENT, text);
}

void CFileCopier::ShowTimes()
{
    ULONGLONG now = GetTickCount64();
    if (m_showJobProgress)
    {
        m_copyTime = m_carriedCopyTime + (now - m_fileCopyStart);
        if (m_copyTime != 0 && m_progress != nullptr)
        {
            LONGLONG rate = m_bytesCopied / (LONGLONG)m_copyTime;
            CString text;
            FormatSizeShort(rate * 1000, text, FALSE);
            Show(COPIER_SHOW_SPEED, text);
            LONGLONG total = m_pJobTotal != nullptr ? *m_pJobTotal : 0;
            LONGLONG remaining = total - m_bytesDone - *m_pFinishedBytes;
            if (remaining < 0)
                remaining = 0;
            ULONGLONG overhead =
                (m_opens ? m_openTime / m_opens : 0) + (m_closes ? m_closeTime / m_closes : 0);
            LONGLONG overheadSeconds = (LONGLONG)(m_filesInJob - m_filesCounted) * (LONGLONG)overhead / 1000;
            if (overheadSeconds < 0)
                overheadSeconds = 0;
            if (rate != 0)
            {
                LONGLONG seconds = remaining / rate / 1000 + overheadSeconds;
                text.Format(L"%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
                Show(COPIER_SHOW_REMAINING, text);
                __time64_t end = _time64(nullptr) + seconds;
                struct tm local;
                if (_localtime64_s(&local, &end) == 0)
                {
                    text.Format(L"%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
                    Show(COPIER_SHOW_END_TIME, text);
                }
            }
        }
    }
    if (m_pJobStartTick != nullptr && m_progress != nullptr)
    {
        ULONGLONG seconds = (now - *m_pJobStartTick) / 1000;
        CString text;
        text.Format(L"%02ld:%02ld:%02ld", (long)(seconds / 3600), (long)(seconds / 60 % 60),
                    (long)(seconds % 60));
        Show(COPIER_SHOW_ELAPSED, text);
    }
}
