#include "graphics/plugins/SusiePlugInHost.h"

#include "app/Directories.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/ProgressInfo.h"
#include "app/records/LocalMemory.h"
#include "app/settings/GraphicSettings.h"
#include "archivefront/sevenzip/ExtractPaths.h"
#include "framework/FwGuard.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/SusiePictureCalls.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/preview/LoadPreviewThread.h"

#include <cstring>
#include <vector>

namespace
{
enum
{
    ERR_MISSING = 3,
    ERR_NO_ENTRY = 4,
    ERR_NO_EXPORT = 5,
    ERR_MEMORY = 6,
    ERR_ARCHIVE_INFO = 13,
    ERR_PICTURE = 14,
    ERR_PICTURE_INFO = 16,
    ERR_PREVIEW = 17,
    ERR_OPEN = 19,
    ERR_READ = 20,
    ERR_FOLDER = 23,
    ERR_WRITE = 27,
    ERR_GET_FILE = 29,
};

constexpr int WIDE_RECORD = 844;
constexpr int NARROW_RECORD = 448;

typedef SusieProgressFunc ProgressFunc;
typedef int(WINAPI* ArchiveInfoWFunc)(LPCWSTR source, LONG_PTR length, unsigned flag, HLOCAL* info);
typedef int(WINAPI* ArchiveInfoAFunc)(LPCSTR source, LONG_PTR length, unsigned flag, HLOCAL* info);
typedef int(WINAPI* GetFileWFunc)(LPCWSTR source, LONG_PTR length, HLOCAL* dest, unsigned flag, ProgressFunc,
                                  LONG_PTR data);
typedef int(WINAPI* GetFileAFunc)(LPCSTR source, LONG_PTR length, HLOCAL* dest, unsigned flag, ProgressFunc,
                                  LONG_PTR data);

template <typename T> T Export(HMODULE module, const char* name)
{
    return module != nullptr ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                             : nullptr;
}

CString PlugInFolder()
{
    CHandleLock lock(g_DataMutex);
    CString folder = g_SusiePlugInDir;
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'\\')
        folder.Delete(folder.GetLength() - 1);
    return folder;
}

ULONGLONG EntrySize(const CArchiveFileInfo& entry)
{
    return (ULONGLONG(entry.m_findData.nFileSizeHigh) << 32) | entry.m_findData.nFileSizeLow;
}

// The plug-in's records are read field by field from the block; the texts are
// fixed fields that need not end in a NUL, so they are read with their bound.
template <typename Char>
void AppendRecords(CArrayArchiveFileInfo& listing, const BYTE* block, SIZE_T blockSize, SIZE_T recordSize)
{
    const SIZE_T textBytes = CArchiveFileInfo::PLUGIN_TEXT_FIELD * sizeof(Char);
    const SIZE_T count = blockSize / recordSize;
    for (SIZE_T i = 0; i < count; ++i)
    {
        const BYTE* record = block + i * recordSize;
        if (record[0] == 0)
            break;
        CArchiveFileInfo::PlugInRecordFields fields;
        memcpy(&fields.position, record + 8, 8);
        memcpy(&fields.packedSize, record + 16, 8);
        memcpy(&fields.fileSize, record + 24, 8);
        memcpy(&fields.timestamp, record + 32, 8);
        Char folder[CArchiveFileInfo::PLUGIN_TEXT_FIELD];
        Char name[CArchiveFileInfo::PLUGIN_TEXT_FIELD];
        memcpy(folder, record + 40, textBytes);
        memcpy(name, record + 40 + textBytes, textBytes);
        if constexpr (sizeof(Char) == 1)
            CArchiveFileInfo::SetFromPlugInInfo(listing, fields, folder, name);
        else
            CArchiveFileInfo::SetFromPlugInInfoW(listing, fields, folder, name);
    }
}

// One entry's place below the destination: its path inside the archive (or only
// its name) rebuilt from safe parts, refused when it would climb out.
BOOL ContainedTarget(const CString& destination, const CArchiveFileInfo& entry, int flat, CString& target)
{
    CString inside;
    if (!flat && !entry.m_folder.IsEmpty())
        inside = entry.m_folder + L"\\";
    inside += entry.m_findData.cFileName;
    CString folder(destination);
    while (!folder.IsEmpty() &&
           (folder[folder.GetLength() - 1] == L'\\' || folder[folder.GetLength() - 1] == L'/'))
        folder.Delete(folder.GetLength() - 1);
    CString relative;
    if (!MakeSafeRelativePath(inside, relative) || !PathStaysInside(folder, relative))
        return FALSE;
    target.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), static_cast<LPCWSTR>(relative));
    return TRUE;
}
} // namespace

CSusiePlugInHost::CSusiePlugInHost()
{
    ZeroMemory(&m_archiveFindData, sizeof(m_archiveFindData));
}

CSusiePlugInHost::~CSusiePlugInHost()
{
    Close();
}

void CSusiePlugInHost::FreePlugIn()
{
    if (m_module != nullptr)
        FreeLibrary(m_module);
    m_module = nullptr;
}

void CSusiePlugInHost::TakeReaderLock()
{
    if (!m_noReaderLock)
    {
        AcquirePreviewReaderLock();
        m_readerLockHeld = 1;
    }
}

void CSusiePlugInHost::GiveBackReaderLock()
{
    if (m_readerLockHeld)
    {
        m_readerLockHeld = 0;
        ReleasePreviewReaderLock();
    }
}

int CSusiePlugInHost::LoadPlugInForFile(LPCWSTR path, int kindFlags, int startIndex, int probe)
{
    m_errors.Clear();
    FreePlugIn();
    if (path == nullptr || *path == 0)
    {
        if (!m_plugInPath.IsEmpty())
            m_module = LoadLibraryW(m_plugInPath);
        if (m_module != nullptr)
            return m_plugInIndex;
        m_errors.Add(ARCERR_NO_PLUGIN, 0);
        return -1;
    }
    const CString folder = PlugInFolder();
    TakeReaderLock();
    if (probe && !FileExists(path, &m_archiveFindData))
    {
        m_errors.Add(ERR_MISSING, int(GetLastError()));
        GiveBackReaderLock();
        return -1;
    }
    INT_PTR found = -1;
    int offset = 0;
    // Without a folder there are no plug-ins: a bare name would load whatever library
    // of that name the search path offers.
    CSusieDllFile record;
    for (INT_PTR index = folder.IsEmpty() ? -1 : FindSusiePlugIn(path, kindFlags, startIndex, &record);
         index >= 0; index = FindSusiePlugIn(path, kindFlags, index + 1, &record))
    {
        m_plugInPath.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), static_cast<LPCWSTR>(record.m_fileName));
        HMODULE module = LoadLibraryW(m_plugInPath);
        if (module == nullptr)
            continue;
        offset = 0;
        if (!probe || ProbePlugInForFile(module, path, &offset, nullptr))
        {
            m_module = module;
            found = index;
            break;
        }
        FreeLibrary(module);
    }
    if (found < 0)
    {
        GiveBackReaderLock();
        m_errors.Add(ARCERR_NO_PLUGIN, 0);
        return -1;
    }
    if (kindFlags & 0xB)
        m_archivePath = path;
    m_headerOffset = offset;
    m_plugInIndex = int(found);
    GiveBackReaderLock();
    return m_plugInIndex;
}

int CSusiePlugInHost::LoadPlugInForBuffer(LPCWSTR name, const BYTE* bytes, DWORD count, int kindFlags,
                                          int startIndex)
{
    m_errors.Clear();
    FreePlugIn();
    const CString folder = PlugInFolder();
    CSusieDllFile record;
    for (INT_PTR index =
             folder.IsEmpty() || name == nullptr ? -1 : FindSusiePlugIn(name, kindFlags, startIndex, &record);
         index >= 0; index = FindSusiePlugIn(name, kindFlags, index + 1, &record))
    {
        m_plugInPath.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), static_cast<LPCWSTR>(record.m_fileName));
        HMODULE module = LoadLibraryW(m_plugInPath);
        if (module == nullptr)
            continue;
        int offset = 0;
        if (ProbePlugInForBuffer(module, name, bytes, count, &offset))
        {
            m_module = module;
            m_headerOffset = offset;
            m_plugInIndex = int(index);
            return m_plugInIndex;
        }
        FreeLibrary(module);
    }
    m_errors.Add(ARCERR_NO_PLUGIN, 0);
    return -1;
}

int CSusiePlugInHost::GetPictureInfo(LPCWSTR path, SusiePictureInfo* info)
{
    typedef int(WINAPI * InfoWFunc)(LPCWSTR name, LONG_PTR offset, unsigned flag, SusiePictureInfo* info);
    typedef int(WINAPI * InfoAFunc)(LPCSTR name, LONG_PTR offset, unsigned flag, SusiePictureInfo* info);
    m_errors.Clear();
    if (info == nullptr)
        return SUSIE_FAILED;
    ZeroMemory(info, sizeof(*info));
    if (m_module == nullptr && LoadPlugInForFile(path, SUSIE_KIND_IMAGE, 0, 1) < 0)
        return SUSIE_FAILED;
    auto wide = Export<InfoWFunc>(m_module, "GetPictureInfoW");
    auto narrow = Export<InfoAFunc>(m_module, "GetPictureInfo");
    if (wide == nullptr && narrow == nullptr)
    {
        m_errors.Add(ERR_NO_EXPORT, 0);
        return SUSIE_NO_EXPORT;
    }
    int first = 0;
    for (int form = 0; form < 2; ++form)
    {
        if ((form == 0 && wide == nullptr) || (form == 1 && narrow == nullptr))
            continue;
        CStringA narrowPath;
        if (form == 1)
            WideToAnsiString(path, narrowPath);
        int result = SUSIE_FAILED;
        if (!GuardedCall([&] {
                result = form == 0 ? wide(path, m_headerOffset, 0, info)
                                   : narrow(narrowPath, m_headerOffset, 0, info);
            }))
            result = SUSIE_FAILED;
        if (result == 0)
            return 0;
        if (first == 0)
            first = result;
    }
    m_errors.Add(ERR_PICTURE_INFO, first);
    return first;
}

int CSusiePlugInHost::GetPicture(LPCWSTR path, CPictureData& picture, CProgressInfo* progress)
{
    m_errors.Clear();
    picture.Free();
    if (m_module == nullptr && LoadPlugInForFile(path, SUSIE_KIND_IMAGE, 0, 1) < 0)
        return SUSIE_FAILED;
    const int result = SusieGetPictureFromFile(m_module, path, m_headerOffset, 0, picture, progress);
    if (result == SUSIE_NO_EXPORT)
        m_errors.Add(ERR_NO_EXPORT, 0);
    else if (result != 0)
        m_errors.Add(ERR_PICTURE, result);
    return result;
}

int CSusiePlugInHost::GetPreview(LPCWSTR path, CPictureData& picture, CProgressInfo* progress)
{
    m_errors.Clear();
    picture.Free();
    if (m_module == nullptr && LoadPlugInForFile(path, SUSIE_KIND_IMAGE, 0, 1) < 0)
        return SUSIE_FAILED;
    const int result = SusieGetPictureFromFile(m_module, path, m_headerOffset, 1, picture, progress);
    if (result == SUSIE_NO_EXPORT)
        m_errors.Add(ERR_NO_EXPORT, 0);
    else if (result != 0)
        m_errors.Add(ERR_PREVIEW, result);
    return result;
}

int CSusiePlugInHost::GetPictureFromMemory(LPCWSTR name, const void* data, SIZE_T size, CPictureData& picture,
                                           CProgressInfo* progress)
{
    m_errors.Clear();
    picture.Free();
    if (m_module == nullptr)
    {
        const DWORD head = size < SUSIE_PROBE_BYTES ? DWORD(size) : SUSIE_PROBE_BYTES;
        if (name == nullptr ||
            LoadPlugInForBuffer(name, static_cast<const BYTE*>(data), head, SUSIE_KIND_IMAGE, 0) < 0)
            return SUSIE_FAILED;
    }
    const int result = SusieGetPictureFromMemory(m_module, name, data, size, picture, progress);
    if (result == SUSIE_NO_EXPORT)
        m_errors.Add(ERR_NO_EXPORT, 0);
    else if (result != 0)
        m_errors.Add(ERR_PICTURE, result);
    return result;
}

int CSusiePlugInHost::GetPictureViaMemory(LPCWSTR path, CPictureData& picture, CProgressInfo* progress)
{
    m_errors.Clear();
    picture.Free();
    WIN32_FIND_DATAW findData;
    if (path == nullptr || !FileExists(path, &findData))
    {
        m_errors.Add(ERR_MISSING, int(GetLastError()));
        return SUSIE_FAILED;
    }
    if (findData.nFileSizeHigh != 0)
    {
        m_errors.Add(ERR_MEMORY, int(ERROR_FILE_TOO_LARGE));
        return SUSIE_FAILED;
    }
    const DWORD size = findData.nFileSizeLow;
    void* data = LocalAllocLocked(LMEM_MOVEABLE | LMEM_ZEROINIT, size != 0 ? size : 1);
    if (data == nullptr)
    {
        m_errors.Add(ERR_MEMORY, int(GetLastError()));
        return SUSIE_FAILED;
    }
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        m_errors.Add(ERR_OPEN, int(GetLastError()));
        LocalFreeLocked(data);
        return SUSIE_FAILED;
    }
    DWORD read = 0;
    const BOOL ok = ReadFile(file, data, size, &read, nullptr) && read == size;
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok)
    {
        m_errors.Add(ERR_READ, int(error));
        LocalFreeLocked(data);
        return SUSIE_FAILED;
    }
    CString name;
    SplitPath(path, nullptr, &name);
    const int result = GetPictureFromMemory(m_module != nullptr ? nullptr : static_cast<LPCWSTR>(name), data,
                                            size, picture, progress);
    LocalFreeLocked(data);
    return result;
}

int CSusiePlugInHost::ListArchive(LPCWSTR path)
{
    TakeReaderLock();
    const int result = GetArchiveInfo(path);
    GiveBackReaderLock();
    // Members are listed under the names extraction writes.
    CleanArchiveListing(m_listing);
    return result;
}

int CSusiePlugInHost::EnsureArchivePlugIn(LPCWSTR path)
{
    if (m_module != nullptr)
        return 1;
    return LoadPlugInForFile(path, SUSIE_KIND_ARCHIVE, 0, 1) >= 0 ? 1 : 0;
}

int CSusiePlugInHost::GetArchiveInfo(LPCWSTR path)
{
    m_errors.Clear();
    // The selection points into the listing.
    m_selection.RemoveAll();
    m_listing.RemoveAll();
    if (!EnsureArchivePlugIn(path))
        return 0;
    if (path == nullptr || !FileExists(path, &m_archiveFindData))
    {
        m_errors.Add(ERR_MISSING, int(GetLastError()));
        return 0;
    }
    CString plugInName;
    SplitPath(m_plugInPath, nullptr, &plugInName);
    auto wide = plugInName.CompareNoCase(L"axpdf.sph") == 0
                    ? nullptr
                    : Export<ArchiveInfoWFunc>(m_module, "GetArchiveInfoW");
    auto narrow = Export<ArchiveInfoAFunc>(m_module, "GetArchiveInfo");
    if (wide == nullptr && narrow == nullptr)
    {
        m_errors.Add(ERR_NO_EXPORT, 0);
        return 0;
    }
    int firstError = 0;
    auto takeBlock = [&](HLOCAL block, int wideForm) -> int {
        const SIZE_T size = LocalSize(block);
        const BYTE* records = static_cast<const BYTE*>(LocalLock(block));
        if (records == nullptr)
        {
            m_errors.Add(ERR_MEMORY, int(GetLastError()));
            LocalFree(block);
            return 0;
        }
        if (wideForm)
            AppendRecords<wchar_t>(m_listing, records, size, WIDE_RECORD);
        else
            AppendRecords<char>(m_listing, records, size, NARROW_RECORD);
        LocalUnlock(block);
        LocalFree(block);
        return 1;
    };
    if (wide != nullptr)
    {
        HLOCAL block = nullptr;
        int result = 8;
        if (!GuardedCall([&] { result = wide(path, m_headerOffset, 0, &block); }))
            result = 8, block = nullptr;
        if (result == 0 && block != nullptr)
        {
            if (takeBlock(block, 1) && (m_listing.GetSize() > 0 || narrow == nullptr))
                return 1;
        }
        else if (result == 0)
            m_errors.Add(ERR_MEMORY, int(GetLastError()));
        else
        {
            firstError = result;
            if (block != nullptr)
                LocalFree(block);
        }
    }
    if (narrow != nullptr)
    {
        CStringA narrowPath;
        WideToAnsiString(path, narrowPath);
        HLOCAL block = nullptr;
        int result = 8;
        if (!GuardedCall([&] { result = narrow(narrowPath, m_headerOffset, 0, &block); }))
            result = 8, block = nullptr;
        if (result == 0 && block != nullptr)
            return takeBlock(block, 0);
        if (result == 0)
            m_errors.Add(ERR_MEMORY, int(GetLastError()));
        else
        {
            if (firstError == 0)
                firstError = result;
            if (block != nullptr)
                LocalFree(block);
        }
    }
    m_errors.Add(ERR_ARCHIVE_INFO, firstError != 0 ? firstError : 8);
    return 0;
}

int CSusiePlugInHost::CallGetFile(LPCSTR narrowSource, LPCWSTR wideSource, LONG_PTR position, unsigned flag,
                                  HLOCAL* block, CProgressInfo* progress)
{
    *block = nullptr;
    auto wide = Export<GetFileWFunc>(m_module, "GetFileW");
    auto narrow = Export<GetFileAFunc>(m_module, "GetFile");
    if (wide == nullptr && narrow == nullptr)
    {
        m_errors.Add(ERR_NO_EXPORT, 0);
        return 0;
    }
    const ProgressFunc callback = SusieProgressCallbackFor(progress);
    const LONG_PTR data = reinterpret_cast<LONG_PTR>(progress);
    int firstError = 0;
    for (int form = 0; form < 2; ++form)
    {
        if ((form == 0 && wide == nullptr) || (form == 1 && narrow == nullptr))
            continue;
        HLOCAL out = nullptr;
        int result = 8;
        if (!GuardedCall([&] {
                result = form == 0 ? wide(wideSource, position, &out, flag, callback, data)
                                   : narrow(narrowSource, position, &out, flag, callback, data);
            }))
            result = 8, out = nullptr;
        if (result == 0 && out != nullptr)
        {
            *block = out;
            return 1;
        }
        if (out != nullptr)
            LocalFree(out);
        if (firstError == 0)
            firstError = result != 0 ? result : 8;
    }
    m_errors.Add(ERR_GET_FILE, firstError);
    return 0;
}

int CSusiePlugInHost::ExtractToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer,
                                      LONGLONG* size, CProgressInfo* progress)
{
    return ExtractEntryToMemory(archive, folder, name, buffer, size, progress, 0);
}

int CSusiePlugInHost::ExtractFromImageToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer,
                                               LONGLONG* size, CProgressInfo* progress)
{
    return ExtractEntryToMemory(archive, folder, name, buffer, size, progress, m_image != nullptr ? 1 : 0);
}

void CSusiePlugInHost::SetArchiveImage(const void* image, SIZE_T size, ULONGLONG imageStart)
{
    m_image = image;
    m_imageSize = image != nullptr ? size : 0;
    m_imageStart = image != nullptr ? imageStart : 0;
}

int CSusiePlugInHost::ExtractEntryToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer,
                                           LONGLONG* size, CProgressInfo* progress, int fromImage)
{
    if (buffer)
        *buffer = nullptr;
    if (size)
        *size = 0;
    m_errors.Clear();
    if (!EnsureArchivePlugIn(archive != nullptr ? archive : static_cast<LPCWSTR>(m_archivePath)))
        return 0;
    CString path = m_archivePath;
    if (archive != nullptr && *archive != 0)
    {
        if (!ListArchive(archive))
            return 0;
        path = archive;
    }
    CArchiveFileInfo* entry =
        m_listing.FindNamedEntry(folder != nullptr ? folder : L"", name != nullptr ? name : L"", m_errors);
    if (entry == nullptr)
        return 0;
    return ReadEntryToMemory(path, *entry, buffer, size, progress, fromImage);
}

int CSusiePlugInHost::ExtractMemberToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                                            CProgressInfo* progress, int fromImage)
{
    if (buffer)
        *buffer = nullptr;
    if (size)
        *size = 0;
    m_errors.Clear();
    // A copy: choosing the plug-in again may list the archive anew.
    const CArchiveFileInfo entry = member;
    if (!EnsureArchivePlugIn(m_archivePath))
        return 0;
    return ReadEntryToMemory(m_archivePath, entry, buffer, size, progress, fromImage && m_image != nullptr);
}

int CSusiePlugInHost::ReadEntryToMemory(const CString& path, const CArchiveFileInfo& entryRecord,
                                        void** buffer, LONGLONG* size, CProgressInfo* progress, int fromImage)
{
    const CArchiveFileInfo* entry = &entryRecord;
    HLOCAL block = nullptr;
    if (fromImage)
    {
        // The plug-in reads the member's packed bytes straight out of the image: both
        // the start and the length are checked against the image first.
        const ULONGLONG position = entry->m_position;
        const ULONGLONG packed = entry->m_packedSize;
        const ULONGLONG start = position >= m_imageStart ? position - m_imageStart : ULONGLONG(-1);
        if (position < m_imageStart || start > m_imageSize || packed > m_imageSize - start)
        {
            m_errors.Add(ERR_GET_FILE, 8);
            return 0;
        }
        const char* source = static_cast<const char*>(m_image) + SIZE_T(start);
        if (!CallGetFile(source, reinterpret_cast<LPCWSTR>(source), LONG_PTR(packed), 0x101, &block,
                         progress))
            return 0;
    }
    else
    {
        CStringA narrowPath;
        WideToAnsiString(path, narrowPath);
        if (!CallGetFile(narrowPath, path, LONG_PTR(entry->m_position), 0x100, &block, progress))
            return 0;
    }
    void* locked = LocalLock(block);
    if (locked == nullptr)
    {
        m_errors.Add(ERR_MEMORY, int(GetLastError()));
        LocalFree(block);
        return 0;
    }
    // The listing's size is the plug-in's word; the block is what it really handed
    // over, and a reader must never be sent past it.
    ULONGLONG bytes = EntrySize(*entry);
    const SIZE_T held = LocalSize(block);
    if (bytes > held)
        bytes = held;
    if (buffer)
        *buffer = locked;
    else
        LocalFreeLocked(locked);
    if (size)
        *size = LONGLONG(bytes);
    return 1;
}

int CSusiePlugInHost::WriteEntry(const CArchiveFileInfo& entry, CProgressInfo* progress)
{
    HLOCAL block = nullptr;
    CStringA narrowPath;
    WideToAnsiString(m_extractionArchive, narrowPath);
    if (!CallGetFile(narrowPath, m_extractionArchive, LONG_PTR(entry.m_position), 0x100, &block, progress))
        return 0;
    const BYTE* bytes = static_cast<const BYTE*>(LocalLock(block));
    if (bytes == nullptr)
    {
        m_errors.Add(ERR_MEMORY, int(GetLastError()));
        LocalFree(block);
        return 0;
    }
    auto release = [&] {
        LocalUnlock(block);
        LocalFree(block);
    };
    CString target;
    if (!ContainedTarget(m_destination, entry, m_flatExtraction, target))
    {
        m_errors.Add(ERR_OPEN, int(ERROR_BAD_PATHNAME));
        release();
        return -1;
    }
    CString targetFolder;
    SplitPath(target, &targetFolder, nullptr);
    if (!CreateDirectoryTree(targetFolder, 0, nullptr))
    {
        m_errors.Add(ERR_FOLDER, int(GetLastError()));
        release();
        return 0;
    }
    HANDLE file = CreateFileLong(target, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        m_errors.Add(ERR_OPEN, int(GetLastError()));
        release();
        return 0;
    }
    ULONGLONG remaining = EntrySize(entry);
    const SIZE_T held = LocalSize(block);
    if (remaining > held)
        remaining = held;
    const ULONGLONG total = remaining;
    // Written in pieces: one WriteFile counts in 32 bits.
    const BYTE* cursor = bytes;
    while (remaining > 0)
    {
        const DWORD piece = remaining > (1u << 30) ? (1u << 30) : DWORD(remaining);
        DWORD written = 0;
        if (!WriteFile(file, cursor, piece, &written, nullptr) || written != piece)
        {
            m_errors.Add(ERR_WRITE, int(GetLastError()));
            CloseHandle(file);
            release();
            return 0;
        }
        cursor += piece;
        remaining -= piece;
    }
    if (progress != nullptr)
    {
        progress->doneAmount += LONGLONG(total);
        progress->Notify(PROGRESS_DONE);
    }
    const WIN32_FIND_DATAW& times = entry.m_findData;
    const BOOL timed =
        SetFileTime(file, &times.ftCreationTime, &times.ftLastAccessTime, &times.ftLastWriteTime);
    CloseHandle(file);
    if (!timed && times.dwFileAttributes != 0)
        SetFileAttributesLong(target, times.dwFileAttributes);
    release();
    return 1;
}

int CSusiePlugInHost::Extract(CWnd*, CProgressInfo* progress)
{
    m_errors.Clear();
    if (m_module == nullptr)
    {
        if (!m_plugInPath.IsEmpty())
            m_module = LoadLibraryW(m_plugInPath);
        if (m_module == nullptr)
        {
            m_errors.Add(ARCERR_NO_PLUGIN, 0);
            return 0;
        }
    }
    if (Export<GetFileWFunc>(m_module, "GetFileW") == nullptr &&
        Export<GetFileAFunc>(m_module, "GetFile") == nullptr)
    {
        m_errors.Add(ERR_NO_EXPORT, 0);
        return 0;
    }
    // Without a destination the members would land at the root of the current drive.
    if (m_destination.IsEmpty())
    {
        m_errors.Add(ERR_FOLDER, int(ERROR_PATH_NOT_FOUND));
        return 0;
    }
    if (m_extractionArchive.IsEmpty())
        m_extractionArchive = m_archivePath;
    if (m_selection.GetSize() == 0)
        for (INT_PTR i = 0; i < m_listing.GetSize(); ++i)
            m_selection.Add(&m_listing[i]);
    if (progress != nullptr)
    {
        LONGLONG total = 0;
        for (INT_PTR i = 0; i < m_selection.GetSize(); ++i)
            total += LONGLONG(EntrySize(*m_selection[i]));
        progress->totalAmount = total;
        progress->Notify(PROGRESS_TOTAL);
    }
    int result = 1;
    for (INT_PTR i = 0; i < m_selection.GetSize(); ++i)
    {
        const CArchiveFileInfo& entry = *m_selection[i];
        if (progress != nullptr)
        {
            if (progress->IsCancelled())
            {
                m_errors.Add(ARCERR_USER_CANCEL, 0);
                return 0;
            }
            CString shown = entry.m_folder.IsEmpty() ? CString() : entry.m_folder + L"\\";
            shown += entry.m_findData.cFileName;
            progress->SetMainText(shown);
            progress->Notify(PROGRESS_MAIN_TEXT);
        }
        // A member whose path leads out of the destination is skipped and fails the
        // extraction; the others are still written. Any other failure ends it.
        const int written = WriteEntry(entry, progress);
        if (written < 0)
            result = 0;
        else if (written == 0)
            return 0;
    }
    return result;
}

void CSusiePlugInHost::SetOption(int number, LPCWSTR text)
{
    switch (number)
    {
    case 0:
        m_option0 = text != nullptr ? text : L"";
        break;
    case 1:
        m_extractionArchive = text != nullptr ? CString(text) : m_archivePath;
        break;
    case 2:
        if (text != nullptr)
            m_selection.Add(reinterpret_cast<CArchiveFileInfo*>(const_cast<LPWSTR>(text)));
        break;
    case 5:
        m_destination = text != nullptr ? text : L"";
        break;
    case 6:
        m_flatExtraction = 1;
        break;
    default:
        break;
    }
}

void CSusiePlugInHost::ClearOptions()
{
    m_selection.RemoveAll();
    m_option0.Empty();
    m_extractionArchive.Empty();
    m_destination.Empty();
    m_flatExtraction = 0;
}

CString CSusiePlugInHost::GetPlugInName() const
{
    if (m_module == nullptr || m_plugInIndex < 0)
        return CString();
    CHandleLock lock(g_DataMutex);
    if (m_plugInIndex >= g_SusiePlugIns.GetCount())
        return CString();
    return g_SusiePlugIns[m_plugInIndex].m_fileName;
}

void CSusiePlugInHost::Close()
{
    FreePlugIn();
    m_listing.RemoveAll();
    m_selection.RemoveAll();
}
