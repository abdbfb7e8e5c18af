// The block writer: pieces, percentages, stop and failure, and what it leaves
// behind (file closed, block unlocked, one message to its owner).
#include "util/WorkerMessages.h"
#include "util/WriteThread.h"
#include "framework/FwWnd.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

// What the callback saw: the percentage and the file's size at that moment.
std::vector<int> g_percents;
std::vector<LONGLONG> g_sizesAtCallback;
CWriteThread* g_runningWriter = nullptr;

void RecordPercent(int percent, int total, CWnd*)
{
    EXPECT_EQ(100, total);
    g_percents.push_back(percent);
    LARGE_INTEGER size = {};
    GetFileSizeEx(g_runningWriter->fileHandle, &size);
    g_sizesAtCallback.push_back(size.QuadPart);
}

struct WriterCase
{
    const char* what;
    int blockSize;
    bool nullBlock;
    bool readOnlyFile; // every write fails
    bool cancelled;    // the stop flag is set before the thread starts
    UINT expectedMessage;
    DWORD expectedExitCode;
    std::vector<int> expectedPercents;
    std::vector<LONGLONG> expectedSizes;
    LONGLONG expectedFileSize;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const WriterCase& c, std::ostream* os)
{
    *os << c.what;
}

const WriterCase kWriterCases[] = {
    {"empty block", 0, false, false, false, IDM_WORKER_DONE, 0, {100}, {0}, 0},
    {"three pieces",
     64001,
     false,
     false,
     false,
     IDM_WORKER_DONE,
     0,
     {49, 99, 100, 100},
     {32000, 64000, 64001, 64001},
     64001},
    {"stopped before the first piece", 64001, false, false, true, IDM_WORKER_DONE, 0, {}, {}, 0},
    {"write fails", 64001, false, true, false, IDM_WORKER_FAILED, (DWORD)-1, {}, {}, 0},
    {"no block", 10, true, false, false, IDM_WORKER_FAILED, (DWORD)-1, {}, {}, 0},
};

class WriteThread : public testing::TestWithParam<WriterCase>
{
};

} // namespace

TEST_P(WriteThread, WritesInPiecesAndTellsItsOwnerOnce)
{
    const WriterCase& c = GetParam();
    g_percents.clear();
    g_sizesAtCallback.clear();

    const std::wstring path = qvtest::ScratchDir() + L"\\block.bin";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, ""));
    HANDLE file = CreateFileW(path.c_str(), c.readOnlyFile ? GENERIC_READ : GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);

    // LocalLock of a zero-byte movable block gives no pointer; the writer is told the
    // size separately anyway.
    HLOCAL memory = LocalAlloc(LMEM_MOVEABLE, c.blockSize > 0 ? c.blockSize : 1);
    ASSERT_NE(nullptr, memory);
    BYTE* block = static_cast<BYTE*>(LocalLock(memory));
    std::string content;
    for (int i = 0; i < c.blockSize; i++)
    {
        block[i] = static_cast<BYTE>(i * 7);
        content += static_cast<char>(block[i]);
    }

    HWND ownerWindow =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, ownerWindow);
    CWnd owner;
    owner.Attach(ownerWindow);

    auto* writer = new CWriteThread;
    writer->m_bAutoDelete = FALSE;
    writer->blockData = c.nullBlock ? nullptr : block;
    writer->fileHandle = file;
    writer->blockSize = c.blockSize;
    writer->ownerWindow = &owner;
    writer->percentCallback = RecordPercent;
    writer->cancelFlag = c.cancelled ? 1 : 0;
    g_runningWriter = writer;
    ASSERT_TRUE(writer->CreateThread());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(writer->m_hThread, INFINITE));
    DWORD exitCode = 0;
    GetExitCodeThread(writer->m_hThread, &exitCode);
    delete writer;
    g_runningWriter = nullptr;

    EXPECT_EQ(c.expectedExitCode, exitCode) << c.what;
    EXPECT_EQ(c.expectedPercents, g_percents) << c.what;
    EXPECT_EQ(c.expectedSizes, g_sizesAtCallback) << c.what;

    std::vector<WPARAM> commands;
    MSG msg;
    while (PeekMessageW(&msg, ownerWindow, WM_COMMAND, WM_COMMAND, PM_REMOVE))
    {
        commands.push_back(msg.wParam);
    }
    EXPECT_EQ(std::vector<WPARAM>{c.expectedMessage}, commands) << c.what;

    // The writer closed the file: nobody else holds it now.
    HANDLE reopened = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, reopened) << c.what << ": the file is still open";
    if (reopened != INVALID_HANDLE_VALUE)
    {
        CloseHandle(reopened);
    }
    else
    {
        CloseHandle(file);
    }
    const std::string written = qvtest::ReadFileBytes(path);
    EXPECT_EQ(c.expectedFileSize, static_cast<LONGLONG>(written.size())) << c.what;
    if (c.expectedFileSize == c.blockSize)
    {
        EXPECT_TRUE(written == content) << c.what;
    }

    // The block handed over locked comes back unlocked, unless there was none.
    const UINT lockCount = LocalFlags(memory) & LMEM_LOCKCOUNT;
    EXPECT_EQ(c.nullBlock ? 1u : 0u, lockCount) << c.what;
    if (c.nullBlock)
    {
        LocalUnlock(memory);
    }
    LocalFree(memory);
    owner.Detach();
    DestroyWindow(ownerWindow);
}

INSTANTIATE_TEST_SUITE_P(WriteThread, WriteThread, testing::ValuesIn(kWriterCases));
