// The archive client's only way to open, read, write, size and time a file. Reads
// and writes go to the system in pieces of at most kFilePieceLimit bytes.
#pragma once
#include <windows.h>
#include <cstdint>

extern const uint32_t kFilePieceLimit;

class CFileHandle
{
public:
    CFileHandle() = default;
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    ~CFileHandle() { Close(); }

    HANDLE Handle() const { return m_handle; }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Close();
    bool OpenWith(const wchar_t* path, DWORD access, DWORD shareMode, DWORD disposition,
                  DWORD flagsAndAttributes);

    bool GetSize(uint64_t& size) const;
    bool Seek(int64_t distance, DWORD origin, uint64_t& newPosition);
    bool SeekFromBegin(uint64_t position, uint64_t& newPosition);
    bool Read(void* buffer, uint32_t count, uint32_t& read);
    bool ReadPart(void* buffer, uint32_t count, uint32_t& read);
    bool WritePart(const void* buffer, uint32_t count, uint32_t& written);
    // True with a total below count when the system accepted no more bytes.
    bool WriteFull(const void* buffer, uint32_t count, uint32_t& written);
    bool SetEndOfFile();
    bool SetLength(uint64_t length);
    bool DeviceControl(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                       DWORD& returned);
    bool DeviceControlOut(DWORD code, void* output, DWORD outputSize, DWORD& returned)
    {
        return DeviceControl(code, nullptr, 0, output, outputSize, returned);
    }

protected:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

class CInputFile : public CFileHandle
{
public:
    bool OpenWith(const wchar_t* path, DWORD shareMode, DWORD disposition, DWORD flagsAndAttributes)
    {
        return CFileHandle::OpenWith(path, GENERIC_READ, shareMode, disposition, flagsAndAttributes);
    }
    bool OpenShareable(const wchar_t* path, bool shareForWriting);
    bool Open(const wchar_t* path) { return OpenShareable(path, false); }
};

class COutputFile : public CFileHandle
{
public:
    bool OpenWith(const wchar_t* path, DWORD disposition)
    {
        return CFileHandle::OpenWith(path, GENERIC_WRITE, FILE_SHARE_READ, disposition,
                                     FILE_ATTRIBUTE_NORMAL);
    }
    bool Create(const wchar_t* path, bool createAlways)
    {
        return OpenWith(path, createAlways ? CREATE_ALWAYS : CREATE_NEW);
    }
    // A null time is left unchanged.
    bool SetTimes(const FILETIME* creation, const FILETIME* access, const FILETIME* write);
    bool SetWriteTime(const FILETIME* write) { return SetTimes(nullptr, nullptr, write); }
    // The write time (null: unchanged) and the attributes (0: unchanged) in one call
    // on the open file.
    bool SetWriteTimeAndAttributes(const FILETIME* write, DWORD attributes);
};
