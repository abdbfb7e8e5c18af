// The binary-compare worker.
#include "fileops/compare/CmpThread.h"

#include "util/PathHelpers.h"
#include "res/SyncDialogs.h"

#include <new>

CCmpThread* g_pCmpThread = nullptr;

static const DWORD kBlockSize = 1024000;

CCmpThread::CCmpThread()
{
    m_bAutoDelete = FALSE;
}

CCmpThread::~CCmpThread()
{
    CloseFiles();
}

void CCmpThread::CloseFiles()
{
    HANDLE* handles[] = {&m_file1Handle, &m_file2Handle, &m_outputHandle};
    for (HANDLE* handle : handles)
    {
        if (*handle != INVALID_HANDLE_VALUE)
            CloseHandle(*handle);
        *handle = INVALID_HANDLE_VALUE;
    }
}

BOOL CCmpThread::InitInstance()
{
    m_exitCode = Compare();
    if (m_hOwner)
        PostMessageW(m_hOwner, WM_COMMAND, m_exitCode == 0 ? IDM_COMPARE_DONE : IDM_COMPARE_FAILED, 0);
    return FALSE;
}

int CCmpThread::ExitInstance()
{
    CloseFiles();
    return m_exitCode;
}

CString CCmpThread::FormatDifferenceLine(ULONGLONG offset, BYTE byte1, BYTE byte2, BOOL decimal,
                                         BOOL hexadecimal)
{
    CString line;
    line.Format(L"%08I64XH  ", offset);
    CString values;
    if (decimal)
    {
        values.Format(L"%03d   %03d", byte1, byte2);
        line += values;
        if (hexadecimal)
        {
            values.Format(L"   | %02X    %02X", byte1, byte2);
            line += values;
        }
    }
    else
    {
        values.Format(L"%02X    %02X", byte1, byte2);
        line += values;
    }
    return line;
}

CString CCmpThread::FormatFormLine(BOOL decimal, BOOL hexadecimal)
{
    CString line = L"           ";
    if (decimal)
    {
        line += L"10進表記";
        if (hexadecimal)
            line += L"    | 16進表記";
    }
    else
        line += L"16進表記";
    return line;
}

CString CCmpThread::FormatColumnLine(BOOL decimal, BOOL hexadecimal)
{
    CString line = L"ADDRESS    FILE1 FILE2";
    if (decimal && hexadecimal)
        line += L" | FILE1 FILE2";
    return line;
}

BOOL CCmpThread::WriteText(const CString& line)
{
    CString text = line + L"\n";
    const DWORD bytes = static_cast<DWORD>(text.GetLength() * sizeof(wchar_t));
    DWORD written = 0;
    return WriteFile(m_outputHandle, static_cast<LPCWSTR>(text), bytes, &written, nullptr) &&
           written == bytes;
}

void CCmpThread::SendProgress(int percent)
{
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    if (m_progress)
        m_progress(percent, 100, m_progressOwner);
}

// Reads exactly `size` bytes: a file that shrank since its size was taken gives a
// short read, and comparing the rest of the buffer would report stale bytes.
static BOOL ReadBlock(HANDLE file, BYTE* buffer, DWORD size)
{
    DWORD read = 0;
    return ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

static BOOL GetEntrySize(LPCWSTR path, ULONGLONG& size)
{
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileLong(path, &data);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    FindCloseLong(find);
    size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) + data.nFileSizeLow;
    return TRUE;
}

int CCmpThread::Compare()
{
    m_lastPercent = -1;
    ULONGLONG size1 = 0, size2 = 0;
    if (!GetEntrySize(m_file1, size1) || !GetEntrySize(m_file2, size2))
        return -1;
    const ULONGLONG length = size1 < size2 ? size1 : size2;

    m_file1Handle = CreateFileLong(m_file1, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    m_file2Handle = CreateFileLong(m_file2, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    m_outputHandle =
        CreateFileLong(m_output, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file1Handle == INVALID_HANDLE_VALUE || m_file2Handle == INVALID_HANDLE_VALUE ||
        m_outputHandle == INVALID_HANDLE_VALUE || !WriteUnicodeBom(m_outputHandle))
    {
        CloseFiles();
        return -1;
    }
    if (!WriteText(L"File1:" + m_file1) || !WriteText(L"File2:" + m_file2) ||
        !WriteText(FormatFormLine(m_decimal, m_hexadecimal)) ||
        !WriteText(FormatColumnLine(m_decimal, m_hexadecimal)))
    {
        CloseFiles();
        return -1;
    }

    BYTE* buffer1 = new (std::nothrow) BYTE[kBlockSize];
    BYTE* buffer2 = new (std::nothrow) BYTE[kBlockSize];
    int result = buffer1 && buffer2 ? 0 : -1;
    int lines = 0;
    BOOL finished = FALSE;
    ULONGLONG offset = 0;
    while (result == 0 && !finished && !m_stop)
    {
        const ULONGLONG left = length - offset;
        const DWORD block = static_cast<DWORD>(left < kBlockSize ? left : kBlockSize);
        if (length != 0)
        {
            if (!ReadBlock(m_file1Handle, buffer1, block) || !ReadBlock(m_file2Handle, buffer2, block))
            {
                result = -1;
                break;
            }
            for (DWORD j = 0; j < block; ++j)
            {
                if (buffer1[j] != buffer2[j])
                {
                    if (!WriteText(FormatDifferenceLine(offset + j, buffer1[j], buffer2[j], m_decimal,
                                                        m_hexadecimal)))
                    {
                        result = -1;
                        break;
                    }
                    ++lines;
                    if (!m_noLimit && lines >= m_maximum)
                    {
                        finished = TRUE;
                        break;
                    }
                }
                if (!m_stop && j % 100 == 0)
                {
                    const ULONGLONG done = offset + j;
                    int percent;
                    if (length <= 100)
                        percent = static_cast<int>(done * 100 / length);
                    else
                        percent = static_cast<int>(done / (length / 100));
                    SendProgress(percent);
                }
                if (m_stop)
                    break;
            }
        }
        offset += block;
        if (result == 0 && !finished && !m_stop && length - offset < 1)
        {
            SendProgress(100);
            finished = TRUE;
        }
    }
    delete[] buffer1;
    delete[] buffer2;
    CloseFiles();
    return result;
}
