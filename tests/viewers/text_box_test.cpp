// The text box's note file and window: UTF-16LE with one byte order mark however
// often it is saved, ANSI files converted, odd sizes read safely, and the window
// hiding on close and saving when it is destroyed.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "res/BinaryDialogs.h"
#include "tests/common/TestHelpers.h"
#include "viewers/text/TextBoxDlg.h"

using qvtest::ReadFileBytes;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace
{

class TextBoxTest : public qvtest::ScratchFolderTest
{
};

TEST_F(TextBoxTest, SavedTextReadsBackUnchangedAfterTwoRuns)
{
    std::wstring path = P(L"qv_TextBox.txt");
    const std::wstring text = L"メモ\r\nline 2";
    ASSERT_EQ(SaveTextBoxFile(path.c_str(), CString(text.c_str())), 1);
    for (int run = 0; run < 2; ++run)
    {
        CString loaded;
        ASSERT_EQ(LoadTextBoxFile(path.c_str(), loaded), 1);
        EXPECT_EQ(W(loaded), text);
        ASSERT_EQ(SaveTextBoxFile(path.c_str(), loaded), 1);
    }
    EXPECT_EQ(ReadFileBytes(path), qvtest::Utf16File(text));
}

// The write fails at the given call (1: the mark, 2: the text).
int g_failingWrite = 0;
int g_writes = 0;

BOOL WINAPI FailingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (++g_writes == g_failingWrite)
    {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, data, size, written, overlapped);
}

TEST_F(TextBoxTest, AFailedSaveKeepsTheNoteSavedBefore)
{
    const std::wstring path = P(L"qv_TextBox.txt");
    ASSERT_EQ(SaveTextBoxFile(path.c_str(), CString(L"kept")), 1);
    const auto saved = g_TextBoxWriteFile;
    g_TextBoxWriteFile = FailingWrite;
    for (int failing : {1, 2})
    {
        SCOPED_TRACE(failing);
        g_failingWrite = failing;
        g_writes = 0;
        EXPECT_EQ(SaveTextBoxFile(path.c_str(), CString(L"lost")), 0);
        EXPECT_EQ(ReadFileBytes(path), qvtest::Utf16File(L"kept"));
        EXPECT_EQ(qvtest::ListFolder(dir), std::set<std::wstring>{L"qv_TextBox.txt"});
    }
    g_TextBoxWriteFile = saved;
}

TEST_F(TextBoxTest, LoadsByKindOfFile)
{
    struct Case
    {
        std::string bytes;
        std::wstring text;
        int result;
    } cases[] = {
        {"abc \x83\x81\x83\x82", L"abc メモ", 1},          // ANSI (code page 932)
        {std::string("\xFF\xFE\x41\x00\x42", 5), L"A", 1}, // odd size: the half character is dropped
        {std::string("\xFF\xFE", 2), L"", 1},              // the mark alone
        {std::string("x", 1), L"x", 1},                    // one ANSI byte
        {"", L"", 1},
    };
    std::wstring path = P(L"box.txt");
    for (const Case& c : cases)
    {
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        CString loaded;
        EXPECT_EQ(LoadTextBoxFile(path.c_str(), loaded), c.result);
        EXPECT_EQ(W(loaded), c.text);
    }
    CString loaded(L"old");
    EXPECT_EQ(LoadTextBoxFile(P(L"missing.txt").c_str(), loaded), 0);
    EXPECT_TRUE(loaded.IsEmpty());
}

TEST_F(TextBoxTest, WindowHidesOnCloseAndSavesWhenDestroyed)
{
    std::wstring path = P(L"qv_TextBox.txt");
    ASSERT_TRUE(WriteFileBytes(path, "first"));
    CTextBoxDlg box;
    box.m_path = path.c_str();
    box.ShowBox(nullptr);
    ASSERT_NE(box.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(box.IsWindowVisible());
    HWND edit = ::GetDlgItem(box.GetSafeHwnd(), IDC_TEXT_BOX_EDIT);
    wchar_t buffer[64] = {};
    ::GetWindowTextW(edit, buffer, 64);
    EXPECT_EQ(std::wstring(buffer), L"first");
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(end, 5u);

    ::SetWindowTextW(edit, L"second");
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    ::SendMessageW(box.GetSafeHwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(box.IsWindowVisible());
    box.ShowBox(nullptr);
    EXPECT_TRUE(box.IsWindowVisible());
    ::SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 0u); // the caret is placed only on the first show
    box.DestroyWindow();
    EXPECT_EQ(ReadFileBytes(path), qvtest::Utf16File(L"second"));
}

} // namespace
