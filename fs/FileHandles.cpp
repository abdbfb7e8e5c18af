#include "fs/FileHandles.h"
#include "fs/LongPathCall.h"

const uint32_t kFilePieceLimit = 0x400000;

bool CFileHandle::Close()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return true;
    if (!CloseHandle(m_handle))
        return false;
    m_handle = INVALID_HANDLE_VALUE;
    return true;
}

bool CFileHandle::OpenWith(const wchar_t* path, DWORD access, DWORD shareMode, DWORD disposition,
                           DWORD flagsAndAttributes)
{
    if (!Close())
        return false;
    return CallWithLongPath(path, [&](const wchar_t* p) {
        m_handle = CreateFileW(p, access, shareMode, nullptr, disposition, flagsAndAttributes, nullptr);
        return m_handle != INVALID_HANDLE_VALUE;
    });
}

bool CFileHandle::GetSize(uint64_t& size) const
{
    // 0xFFFFFFFF is also a valid low part: only a fresh error marks a failure.
    SetLastError(NO_ERROR);
    DWORD high = 0;
    DWORD low = GetFileSize(m_handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    size = (static_cast<uint64_t>(high) << 32) | low;
    return true;
}

bool CFileHandle::Seek(int64_t distance, DWORD origin, uint64_t& newPosition)
{
    LONG high = static_cast<LONG>(static_cast<uint64_t>(distance) >> 32);
    // As with the size, 0xFFFFFFFF is a valid low part of a position.
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(m_handle, static_cast<LONG>(distance & 0xFFFFFFFF), &high, origin);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return false;
    newPosition = (static_cast<uint64_t>(static_cast<DWORD>(high)) << 32) | low;
    return true;
}

bool CFileHandle::SeekFromBegin(uint64_t position, uint64_t& newPosition)
{
    return Seek(static_cast<int64_t>(position), FILE_BEGIN, newPosition);
}

bool CFileHandle::Read(void* buffer, uint32_t count, uint32_t& read)
{
    DWORD done = 0;
    BOOL ok = ReadFile(m_handle, buffer, count, &done, nullptr);
    read = done;
    return ok != FALSE;
}

bool CFileHandle::ReadPart(void* buffer, uint32_t count, uint32_t& read)
{
    return Read(buffer, count < kFilePieceLimit ? count : kFilePieceLimit, read);
}

bool CFileHandle::WritePart(const void* buffer, uint32_t count, uint32_t& written)
{
    DWORD done = 0;
    BOOL ok = WriteFile(m_handle, buffer, count < kFilePieceLimit ? count : kFilePieceLimit, &done, nullptr);
    written = done;
    return ok != FALSE;
}

bool CFileHandle::WriteFull(const void* buffer, uint32_t count, uint32_t& written)
{
    written = 0;
    const char* p = static_cast<const char*>(buffer);
    for (;;)
    {
        uint32_t done = 0;
        bool ok = WritePart(p, count - written, done);
        written += done;
        if (!ok)
            return false;
        if (done == 0 || written == count)
            return true;
        p += done;
    }
}

bool CFileHandle::SetEndOfFile()
{
    return ::SetEndOfFile(m_handle) != FALSE;
}

bool CFileHandle::SetLength(uint64_t length)
{
    uint64_t position = 0;
    if (!SeekFromBegin(length, position))
        return false;
    if (position != length)
        return false;
    return SetEndOfFile();
}

bool CFileHandle::DeviceControl(DWORD code, const void* input, DWORD inputSize, void* output,
                                DWORD outputSize, DWORD& returned)
{
    returned = 0;
    return DeviceIoControl(m_handle, code, const_cast<void*>(input), inputSize, output, outputSize, &returned,
                           nullptr) != FALSE;
}

bool CInputFile::OpenShareable(const wchar_t* path, bool shareForWriting)
{
    DWORD share = shareForWriting ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : FILE_SHARE_READ;
    return OpenWith(path, share, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

bool COutputFile::SetTimes(const FILETIME* creation, const FILETIME* access, const FILETIME* write)
{
    return SetFileTime(m_handle, creation, access, write) != FALSE;
}

bool COutputFile::SetWriteTimeAndAttributes(const FILETIME* write, DWORD attributes)
{
    FILE_BASIC_INFO info = {};
    if (write != nullptr)
    {
        info.LastWriteTime.LowPart = write->dwLowDateTime;
        info.LastWriteTime.HighPart = static_cast<LONG>(write->dwHighDateTime);
    }
    info.FileAttributes = attributes;
    return SetFileInformationByHandle(m_handle, FileBasicInfo, &info, sizeof(info)) != FALSE;
}
