#include "archiveclient/base/FileStreams.h"

namespace
{

UINT64 JoinHalves(DWORD high, DWORD low)
{
    return (static_cast<UINT64>(high) << 32) | low;
}

HRESULT SeekFile(CFileHandle& file, INT64 offset, UINT32 origin, UINT64* newPosition)
{
    if (!IsValidSeekOrigin(origin))
        return STG_E_INVALIDFUNCTION;
    uint64_t position = 0;
    if (!file.Seek(offset, origin, position))
        return ResultFromLastError();
    if (newPosition != nullptr)
        *newPosition = position;
    return S_OK;
}

HRESULT QuerySizeOf(const CFileHandle& file, UINT64& size)
{
    uint64_t value = 0;
    if (!file.GetSize(value))
        return ResultFromLastError();
    size = value;
    return S_OK;
}

const UINT32 kStdInReadLimit = 0x100000;
// Writes to a console handle fail above some tens of kilobytes, so standard output
// is fed in pieces that every kind of handle accepts.
const UINT32 kStdOutWriteLimit = 0x8000;

} // namespace

CInFileStream::~CInFileStream()
{
    if (Callback != nullptr)
        Callback->OnStreamDestroyed(CallbackValue);
}

HRESULT STDMETHODCALLTYPE CInFileStream::Read(void* data, UINT32 size, UINT32* processed)
{
    uint32_t read = 0;
    bool ok = File.ReadPart(data, size, read);
    if (processed != nullptr)
        *processed = read;
    if (ok)
        return S_OK;
    DWORD error = GetLastError();
    if (Callback != nullptr)
        return Callback->OnReadError(CallbackValue, error);
    return error == 0 ? E_FAIL : ResultFromSystemError(error);
}

HRESULT STDMETHODCALLTYPE CInFileStream::Seek(INT64 offset, UINT32 origin, UINT64* newPosition)
{
    return SeekFile(File, offset, origin, newPosition);
}

HRESULT STDMETHODCALLTYPE CInFileStream::QueryStreamSize(UINT64* size)
{
    return QuerySizeOf(File, *size);
}

HRESULT STDMETHODCALLTYPE CInFileStream::QueryFileProps(UINT64* size, FILETIME* creationTime,
                                                        FILETIME* accessTime, FILETIME* writeTime,
                                                        UINT32* attributes)
{
    BY_HANDLE_FILE_INFORMATION info;
    // A raw system error code is a positive number, which callers would take for
    // success: it is converted like every other failure.
    if (!GetFileInformationByHandle(File.Handle(), &info))
        return ResultFromLastError();
    if (size != nullptr)
        *size = JoinHalves(info.nFileSizeHigh, info.nFileSizeLow);
    if (creationTime != nullptr)
        *creationTime = info.ftCreationTime;
    if (accessTime != nullptr)
        *accessTime = info.ftLastAccessTime;
    if (writeTime != nullptr)
        *writeTime = info.ftLastWriteTime;
    if (attributes != nullptr)
        *attributes = info.dwFileAttributes;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CInFileStream::QueryFileIdentity(CFileIdentityRecord* record)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(File.Handle(), &info))
        return ResultFromLastError();
    record->Size = JoinHalves(info.nFileSizeHigh, info.nFileSizeLow);
    record->VolumeId = info.dwVolumeSerialNumber;
    record->FileIdLow = JoinHalves(info.nFileIndexHigh, info.nFileIndexLow);
    record->FileIdHigh = 0;
    record->NumLinks = ReportHardLinks ? info.nNumberOfLinks : 1;
    record->Attrib = info.dwFileAttributes;
    record->CTime = info.ftCreationTime;
    record->ATime = info.ftLastAccessTime;
    record->MTime = info.ftLastWriteTime;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CStdInFileStream::Read(void* data, UINT32 size, UINT32* processed)
{
    DWORD read = 0;
    BOOL ok = ReadFile(GetStdHandle(STD_INPUT_HANDLE), data, size < kStdInReadLimit ? size : kStdInReadLimit,
                       &read, nullptr);
    if (processed != nullptr)
        *processed = read;
    if (ok)
        return S_OK;
    // The writing end of a pipe has closed: that is the end of the data.
    if (GetLastError() == ERROR_BROKEN_PIPE)
        return S_OK;
    return ResultFromLastError();
}

HRESULT STDMETHODCALLTYPE COutFileStream::Write(const void* data, UINT32 size, UINT32* processed)
{
    uint32_t written = 0;
    bool ok = File.WriteFull(data, size, written);
    ProcessedSize += written;
    if (processed != nullptr)
        *processed = written;
    return ok ? S_OK : ResultFromLastError();
}

HRESULT STDMETHODCALLTYPE COutFileStream::Seek(INT64 offset, UINT32 origin, UINT64* newPosition)
{
    return SeekFile(File, offset, origin, newPosition);
}

HRESULT STDMETHODCALLTYPE COutFileStream::SetSize(UINT64 newSize)
{
    uint64_t position = 0;
    if (!File.Seek(0, FILE_CURRENT, position))
        return E_FAIL;
    bool sized = File.SetLength(newSize);
    uint64_t back = 0;
    bool returned = File.SeekFromBegin(position, back);
    return sized && returned ? S_OK : E_FAIL;
}

HRESULT COutFileStream::Close()
{
    return File.Close() ? S_OK : ResultFromLastError();
}

HRESULT COutFileStream::QuerySize(UINT64& size)
{
    return QuerySizeOf(File, size);
}

HRESULT STDMETHODCALLTYPE CStdOutFileStream::Write(const void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    if (size == 0)
        return S_OK;
    DWORD written = 0;
    BOOL ok = WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), data,
                        size < kStdOutWriteLimit ? size : kStdOutWriteLimit, &written, nullptr);
    m_totalWritten += written;
    if (processed != nullptr)
        *processed = written;
    return ok ? S_OK : ResultFromLastError();
}
