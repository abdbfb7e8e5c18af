#include "util/Log.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "framework/FwLock.h"

#include <stdio.h>
#include <wchar.h>

#include <memory>

namespace
{

// Whether the file exists and, if so, its size.
bool FindLogFile(LPCWSTR path, ULONGLONG* size)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileAsGiven(path, &data);
    if (find == INVALID_HANDLE_VALUE)
    {
        return false;
    }
    FindClose(find);
    *size = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    return true;
}

} // namespace

void WriteLogV(LPCWSTR name, LPCWSTR format, va_list args)
{
    CString path = g_ProgramDir;
    const bool general = name == nullptr;
    // g_LogMutex guards the general log and its rotation (a size check, a move and an
    // append that must not interleave between threads); named logs are not rotated.
    CHandleLock lock(general ? g_LogMutex : nullptr);
    ULONGLONG size = 0;
    bool exists;
    if (!general)
    {
        path += name;
        exists = FindLogFile(path, &size);
    }
    else
    {
        path += L"\\qv.log";
        const CString backup = g_ProgramDir + L"\\qv_log.bck";
        exists = FindLogFile(path, &size);
        if (exists && size > kLogRotateSize)
        {
            // One replacing move rather than delete-then-move: while another
            // program holds the log, the move fails and the older generation must
            // not be gone already. Only a log that really moved away is started
            // afresh; otherwise the line goes to the end of the old log (or is
            // dropped when the log cannot be opened either).
            if (MoveFileExLong(path, backup, MOVEFILE_REPLACE_EXISTING))
            {
                exists = false;
            }
        }
    }

    // No sharing: a line is appended whole or not at all. OPEN_ALWAYS for a log that
    // seemed absent, so that a writer that created it in the meantime keeps its line.
    HANDLE file = CreateFileAsGiven(path, GENERIC_WRITE, 0, nullptr, exists ? OPEN_EXISTING : OPEN_ALWAYS,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return;
    }
    DWORD high = 0;
    if (GetFileSize(file, &high) == 0 && high == 0)
    {
        WriteUnicodeBom(file);
    }
    SetFilePointer(file, 0, nullptr, FILE_END);

    std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[kLogLineCapacity]);
    if (buffer)
    {
        // The runtime's own formatter: %s takes a wide string. A line longer than
        // the buffer is cut; the last character stays the terminator.
        _vsnwprintf(buffer.get(), kLogLineCapacity - 1, format, args);
        buffer[kLogLineCapacity - 1] = L'\0';
        const DWORD length = (DWORD)wcsnlen(buffer.get(), kLogLineCapacity);
        DWORD written = 0;
        WriteFile(file, buffer.get(), length * sizeof(wchar_t), &written, nullptr);
        static const wchar_t kNewLine[] = L"\r\n";
        WriteFile(file, kNewLine, 2 * sizeof(wchar_t), &written, nullptr);
    }
    CloseHandle(file);
}

void WriteLogFormatted(LPCWSTR name, LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    WriteLogV(name, format, args);
    va_end(args);
}
