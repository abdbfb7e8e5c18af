// Library streams over disk files and over the process's standard input and output.
// Every failure is a result code; none of these throws.
#pragma once
#include "archiveclient/base/RefCounting.h"
#include "fs/FileHandles.h"

// Checked before anything moves: 0 start, 1 current position, 2 end.
inline bool IsValidSeekOrigin(UINT32 origin)
{
    return origin <= kSeekEnd;
}

class CInFileStream : public CRefCounted<IInStream, IStreamGetSize, IStreamGetProps, IStreamGetProps2>
{
public:
    CInFileStream() = default;
    ~CInFileStream() override;

    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override;
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override;
    HRESULT STDMETHODCALLTYPE QueryStreamSize(UINT64* size) override;
    HRESULT STDMETHODCALLTYPE QueryFileProps(UINT64* size, FILETIME* creationTime, FILETIME* accessTime,
                                             FILETIME* writeTime, UINT32* attributes) override;
    HRESULT STDMETHODCALLTYPE QueryFileIdentity(CFileIdentityRecord* record) override;

    CInputFile File;
    // When set, QueryFileIdentity reports the system's link count instead of 1.
    bool ReportHardLinks = false;
    // Not counted: the owner keeps it alive for the stream's lifetime.
    IInFileStream_Callback* Callback = nullptr;
    UINT_PTR CallbackValue = 0;
};

class CStdInFileStream : public CRefCounted<ISequentialInStream>
{
public:
    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override;
};

class COutFileStream : public CRefCounted<IOutStream>
{
public:
    HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override;
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override;
    // The position is kept; a failure of any step gives E_FAIL only.
    HRESULT STDMETHODCALLTYPE SetSize(UINT64 newSize) override;

    HRESULT Close();
    HRESULT QuerySize(UINT64& size);
    // Each starts the written-byte count again; false with the reason in GetLastError.
    bool Create(const wchar_t* path, bool createAlways)
    {
        ProcessedSize = 0;
        return File.Create(path, createAlways);
    }
    bool OpenForWrite(const wchar_t* path, DWORD disposition)
    {
        ProcessedSize = 0;
        return File.OpenWith(path, disposition);
    }
    bool SetModifiedTime(const FILETIME& time) { return File.SetWriteTime(&time); }
    // The write time (null: unchanged) and the attributes (0: unchanged) at once.
    bool SetModifiedTimeAndAttributes(const FILETIME* time, DWORD attributes)
    {
        return File.SetWriteTimeAndAttributes(time, attributes);
    }

    COutputFile File;
    UINT64 ProcessedSize = 0;
};

class CStdOutFileStream : public CRefCounted<ISequentialOutStream>
{
public:
    HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override;

    UINT64 TotalWritten() const { return m_totalWritten; }

private:
    UINT64 m_totalWritten = 0;
};
