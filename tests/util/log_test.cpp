// The general log "qv.log" with its one backup generation, and the named logs.
#include "util/Globals.h"
#include "util/Log.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

const std::string kBom = "\xFF\xFE";

// The UTF-16LE bytes of an ASCII text.
std::string Utf16(const std::string& text)
{
    std::string bytes;
    for (char ch : text)
    {
        bytes += ch;
        bytes += '\0';
    }
    return bytes;
}

std::string Line(const std::string& text)
{
    return Utf16(text + "\r\n");
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Points the program folder at a scratch folder and gives the log its mutex.
class WriteLogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_savedDir = g_ProgramDir;
        m_savedMutex = g_LogMutex;
        m_dir = qvtest::ScratchDir();
        g_ProgramDir = m_dir.c_str();
        g_LogMutex = CreateMutexW(nullptr, FALSE, nullptr);
        m_log = m_dir + L"\\qv.log";
        m_backup = m_dir + L"\\qv_log.bck";
    }
    void TearDown() override
    {
        CloseHandle(g_LogMutex);
        g_LogMutex = m_savedMutex;
        g_ProgramDir = m_savedDir;
    }

    std::wstring m_dir, m_log, m_backup;

private:
    CString m_savedDir;
    HANDLE m_savedMutex = nullptr;
};

} // namespace

TEST_F(WriteLogTest, FirstLineCreatesTheLogWithByteOrderMark)
{
    WriteLog(nullptr, L"%s,%d", CString(L"OnCopy"), 7);
    WriteLog(nullptr, L"%s", L"second");

    EXPECT_EQ(kBom + Line("OnCopy,7") + Line("second"), qvtest::ReadFileBytes(m_log));
}

TEST_F(WriteLogTest, OnlyAnEmptyLogGetsTheByteOrderMark)
{
    struct
    {
        std::string before, after;
    } cases[] = {
        {"", kBom + Line("x")},
        {Utf16("old"), Utf16("old") + Line("x")},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(m_log, c.before));
        WriteLog(nullptr, L"x");
        EXPECT_EQ(c.after, qvtest::ReadFileBytes(m_log)) << c.before.size() << " bytes before";
    }
}

TEST_F(WriteLogTest, LogAboveOneMillionBytesMovesToTheBackup)
{
    struct
    {
        size_t size;
        bool rotates;
    } cases[] = {{1000000, false}, {1000001, true}};
    for (const auto& c : cases)
    {
        const std::string old(c.size, 'a');
        ASSERT_TRUE(qvtest::WriteFileBytes(m_log, old));
        ASSERT_TRUE(qvtest::WriteFileBytes(m_backup, "older backup"));

        WriteLog(nullptr, L"x");

        if (c.rotates)
        {
            EXPECT_EQ(kBom + Line("x"), qvtest::ReadFileBytes(m_log));
            EXPECT_TRUE(qvtest::ReadFileBytes(m_backup) == old) << "the backup is replaced by the old log";
        }
        else
        {
            EXPECT_TRUE(qvtest::ReadFileBytes(m_log) == old + Line("x")) << c.size;
            EXPECT_EQ("older backup", qvtest::ReadFileBytes(m_backup));
        }
    }
}

TEST_F(WriteLogTest, NamedLogIsNeverRotated)
{
    ASSERT_TRUE(CreateDirectoryW((m_dir + L"\\Log").c_str(), nullptr));
    const std::wstring named = m_dir + L"\\Log\\copy.log";
    const std::string old(1000001, 'a');
    ASSERT_TRUE(qvtest::WriteFileBytes(named, old));

    WriteLog(L"\\Log\\copy.log", L"%s,%u,%s", L"C:\\a", 3u, L"D:\\b");

    EXPECT_TRUE(qvtest::ReadFileBytes(named) == old + Line("C:\\a,3,D:\\b"));
    EXPECT_FALSE(Exists(m_backup));
    EXPECT_FALSE(Exists(m_log));
}

TEST_F(WriteLogTest, FailedRotationLosesNeitherLogNorBackup)
{
    // An open handle without delete sharing keeps a file from being deleted, moved or
    // replaced: on the backup, the log cannot be moved onto it; on the log, the log
    // cannot be moved at all and the line is dropped.
    struct
    {
        const char* what;
        bool holdLog;
        DWORD share;
    } cases[] = {
        {"backup held", false, FILE_SHARE_READ},
        {"log held without sharing", true, 0},
    };
    for (const auto& c : cases)
    {
        const std::string old(1000001, 'a');
        ASSERT_TRUE(qvtest::WriteFileBytes(m_log, old));
        ASSERT_TRUE(qvtest::WriteFileBytes(m_backup, "older backup"));
        const std::wstring& heldPath = c.holdLog ? m_log : m_backup;
        HANDLE held =
            CreateFileW(heldPath.c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held) << c.what;

        WriteLog(nullptr, L"x");
        CloseHandle(held);

        EXPECT_TRUE(qvtest::ReadFileBytes(m_log) == (c.holdLog ? old : old + Line("x")))
            << c.what << ": the old log was lost or changed";
        EXPECT_EQ("older backup", qvtest::ReadFileBytes(m_backup)) << c.what;
    }
}

TEST_F(WriteLogTest, LogHeldByAnotherWriterIsLeftAlone)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(m_log, kBom + Line("old")));

    // Another writer holds the log open as an appending program does (sharing reads
    // and writes). The log's own open asks for exclusive access, which any other
    // handle refuses, whichever process holds it; a handle of this process makes the
    // test independent of how quickly a second program starts.
    HANDLE holder = CreateFileW(m_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    WriteLog(nullptr, L"dropped");
    CloseHandle(holder);

    EXPECT_EQ(kBom + Line("old"), qvtest::ReadFileBytes(m_log));
}

TEST_F(WriteLogTest, OverlongLineIsCut)
{
    const std::wstring text(60000, L'x');
    WriteLog(nullptr, L"%s", text.c_str());

    const std::string expected = kBom + Utf16(std::string(kLogLineCapacity - 1, 'x')) + Line("");
    EXPECT_TRUE(qvtest::ReadFileBytes(m_log) == expected);
}
