// The text box's note file and window: UTF-16LE with one byte order mark however
// often it is saved, ANSI files converted, odd sizes read safely, and the window
// hiding on close and saving when it is destroyed.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "app/dialogs/DialogAnswerScript.h"
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
    const TextBoxFileSeam saved = g_TextBoxFileSeam;
    g_TextBoxFileSeam.writeFile = FailingWrite;
    for (int failing : {1, 2})
    {
        SCOPED_TRACE(failing);
        g_failingWrite = failing;
        g_writes = 0;
        EXPECT_EQ(SaveTextBoxFile(path.c_str(), CString(L"lost")), 0);
        EXPECT_EQ(ReadFileBytes(path), qvtest::Utf16File(L"kept"));
        EXPECT_EQ(qvtest::ListFolder(dir), std::set<std::wstring>{L"qv_TextBox.txt"});
    }
    g_TextBoxFileSeam = saved;
}

TEST_F(TextBoxTest, LoadsByKindOfFile)
{
    struct Case
    {
        std::string bytes;
        std::wstring text;
        int result;
    } cases[] = {
        {"abc \x83\x81\x83\x82", L"abc メモ", TEXT_BOX_LOADED}, // ANSI (code page 932)
        // odd size: the half character is not read, so the note is not whole
        {std::string("\xFF\xFE\x41\x00\x42", 5), L"A", TEXT_BOX_ODD_LENGTH},
        {std::string("\xFF\xFE", 2), L"", TEXT_BOX_LOADED}, // the mark alone
        {std::string("x", 1), L"x", TEXT_BOX_LOADED},       // one ANSI byte
        {"", L"", TEXT_BOX_LOADED},
        // a NUL ends the edit control's text: in UTF-16 and in ANSI
        {std::string("\xFF\xFE\x41\x00\x00\x00\x42\x00", 8), std::wstring(L"A\0B", 3), TEXT_BOX_HAS_NUL},
        {std::string("ab\0cd", 5), L"ab", TEXT_BOX_HAS_NUL},
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
    EXPECT_EQ(LoadTextBoxFile(P(L"missing.txt").c_str(), loaded), TEXT_BOX_MISSING);
    EXPECT_TRUE(loaded.IsEmpty());
}

// The ways a note that is there can fail to come into the box whole: too large, not
// to be opened, a read that fails, a NUL inside, half a UTF-16 character at the end.
enum class NotWhole
{
    TooLarge,
    InUse,
    ReadFails,
    Nul,
    OddLength,
};

BOOL WINAPI FailingRead(HANDLE, LPVOID, DWORD, LPDWORD read, LPOVERLAPPED)
{
    *read = 0;
    SetLastError(ERROR_READ_FAULT);
    return FALSE;
}

// Makes the note at `path` for the case; a note too large gets its size by extending
// the file (sparse where the file system allows), with its first bytes written.
void MakeNote(const std::wstring& path, NotWhole kind)
{
    switch (kind)
    {
    case NotWhole::TooLarge: {
        ASSERT_TRUE(WriteFileBytes(path, "keep"));
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = 0x10000001;
        EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
        break;
    }
    case NotWhole::Nul:
        ASSERT_TRUE(WriteFileBytes(path, std::string("\xFF\xFEk\0\0\0p\0", 8)));
        break;
    case NotWhole::OddLength:
        ASSERT_TRUE(WriteFileBytes(path, std::string("\xFF\xFEk\0e\0p", 7)));
        break;
    default:
        ASSERT_TRUE(WriteFileBytes(path, qvtest::Utf16File(L"keep")));
        break;
    }
}

// The size and the first bytes of a file: enough to see that a note of 256 MiB was
// not written, without reading all of it.
std::pair<LONGLONG, std::string> SizeAndStart(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return {-1, ""};
    char start[16] = {};
    DWORD got = 0;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
    {
        ReadFile(file, start, sizeof start, &got, nullptr);
        CloseHandle(file);
    }
    return {((LONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow, std::string(start, got)};
}

TEST_F(TextBoxTest, ANoteNotLoadedWholeOpensReadOnlySaysWhyAndIsNeverWritten)
{
    struct Case
    {
        NotWhole kind;
        int load;
        const wchar_t* reason; // the start of the message
    } const cases[] = {
        {NotWhole::TooLarge, TEXT_BOX_TOO_LARGE, L"テキストボックスのファイルが256MBを超えているため"},
        {NotWhole::InUse, TEXT_BOX_UNREADABLE, L"テキストボックスのファイルを読み込めません(Error Code=32)"},
        {NotWhole::ReadFails, TEXT_BOX_UNREADABLE,
         L"テキストボックスのファイルを読み込めません(Error Code=30)"},
        {NotWhole::Nul, TEXT_BOX_HAS_NUL, L"テキストボックスのファイルにNUL文字があり"},
        {NotWhole::OddLength, TEXT_BOX_ODD_LENGTH, L"テキストボックスのファイル(UTF-16)の長さが奇数"},
    };
    const std::wstring path = P(L"qv_TextBox.txt");
    const TextBoxFileSeam savedRead = g_TextBoxFileSeam;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.kind));
        MakeNote(path, c.kind);
        const auto before = SizeAndStart(path);
        // Held without sharing while the box reads it, let go before the box is closed.
        HANDLE busy = c.kind == NotWhole::InUse
                          ? CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                          : INVALID_HANDLE_VALUE;
        if (c.kind == NotWhole::ReadFails)
            g_TextBoxFileSeam.readFile = FailingRead;
        CDialogAnswerScript script;
        script.Add(IDOK);
        {
            CTextBoxDlg box;
            box.m_path = path.c_str();
            box.ShowBox(nullptr);
            g_TextBoxFileSeam = savedRead;
            if (busy != INVALID_HANDLE_VALUE)
                CloseHandle(busy);
            ASSERT_NE(box.GetSafeHwnd(), nullptr);
            EXPECT_EQ(box.m_load, c.load);
            HWND edit = ::GetDlgItem(box.GetSafeHwnd(), IDC_TEXT_BOX_EDIT);
            EXPECT_TRUE(::GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
            wchar_t caption[64] = {};
            ::GetWindowTextW(box.GetSafeHwnd(), caption, 64);
            EXPECT_EQ(std::wstring(caption), L"テキストボックス (読み取り専用)");
            const auto questions = script.GetQuestions();
            ASSERT_EQ(questions.size(), 1u);
            const std::wstring text = W(questions[0].text);
            EXPECT_EQ(text.find(c.reason), 0u) << text;
            EXPECT_NE(text.find(path), std::wstring::npos) << text;
            // Typing is refused; a text put in all the same is not saved either.
            ::SetWindowTextW(edit, L"");
            box.DestroyWindow();
        }
        EXPECT_EQ(SizeAndStart(path), before);
        EXPECT_EQ(qvtest::ListFolder(dir), std::set<std::wstring>{L"qv_TextBox.txt"});
        DeleteFileW(path.c_str());
    }
}

TEST_F(TextBoxTest, AMissingNoteStartsEmptyWithoutAWordAndIsSaved)
{
    const std::wstring path = P(L"qv_TextBox.txt");
    CDialogAnswerScript script;
    CTextBoxDlg box;
    box.m_path = path.c_str();
    box.ShowBox(nullptr);
    ASSERT_NE(box.GetSafeHwnd(), nullptr);
    EXPECT_EQ(box.m_load, TEXT_BOX_MISSING);
    HWND edit = ::GetDlgItem(box.GetSafeHwnd(), IDC_TEXT_BOX_EDIT);
    EXPECT_FALSE(::GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(::GetWindowTextLengthW(edit), 0);
    EXPECT_TRUE(script.GetQuestions().empty());
    ::SetWindowTextW(edit, L"new");
    box.DestroyWindow();
    EXPECT_EQ(ReadFileBytes(path), qvtest::Utf16File(L"new"));
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
