// The file-time dialogs: the parse of the ranges, the change of one entry, the walk
// inside directories in post-order, and a stop after a failure.
#include "app/SettingStrings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/dialogs/FileTimeDlg.h"
#include "filer/FilerPane.h"
#include "res/FileDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"
#include "tests/fileops/FileopsTestHelpers.h"

#include <gtest/gtest.h>
#include <string>

using fileopstest::LocalFileTime;
using fileopstest::MakeDir;
using fileopstest::MakeFile;

namespace
{

CFileInfo Entry(const std::wstring& path)
{
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    CFileInfo entry;
    entry.SetFromDisk(path.substr(0, path.rfind(L'\\')).c_str(), data);
    return entry;
}

struct Times
{
    FILETIME creation, access, write;
};

Times TimesOf(const std::wstring& path)
{
    Times t = {};
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    GetFileTime(h, &t.creation, &t.access, &t.write);
    CloseHandle(h);
    return t;
}

bool Same(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTime(&a, &b) == 0;
}

TEST(FileTimes, RangesParseInOrderWithTheirMessages)
{
    struct Case
    {
        BOOL use[3];
        LPCWSTR creationDate, accessTime, updateDate;
        BOOL requireOne;
        LPCWSTR message; // null: accepted
    } cases[] = {
        {{FALSE, FALSE, FALSE}, L"", L"", L"", TRUE, L"日付情報がどれも有効でありません"},
        {{FALSE, FALSE, FALSE}, L"", L"", L"", FALSE, nullptr},
        {{TRUE, TRUE, TRUE}, L"2020/02/30x", L"x", L"x", TRUE, L"作成日の日付が不正です"},
        {{FALSE, TRUE, TRUE}, L"x", L"24:00:00", L"x", TRUE, L"最終アクセス日の時間が不正です"},
        {{FALSE, FALSE, TRUE}, L"x", L"x", L"2020/1", TRUE, L"更新日の日付が不正です"},
        {{TRUE, TRUE, TRUE}, L"20200102", L"235959", L"2020/1/2", TRUE, nullptr},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const Case& c = cases[i];
        FileTimeTexts texts;
        for (int r = 0; r < 3; ++r)
        {
            texts.use[r] = c.use[r];
            texts.date[r] = L"2020/01/02";
            texts.time[r] = L"03:04:05";
        }
        texts.date[TIME_CREATION] = c.creationDate;
        texts.time[TIME_ACCESS] = c.accessTime;
        texts.date[TIME_UPDATE] = c.updateDate;
        FILETIME times[3] = {};
        CString message;
        EXPECT_EQ(ReadFileTimeTexts(texts, c.requireOne, times, message), c.message == nullptr) << i;
        EXPECT_EQ(std::wstring(message), std::wstring(c.message ? c.message : L"")) << i;
        if (!c.message && c.use[0])
        {
            EXPECT_TRUE(Same(times[TIME_CREATION], LocalFileTime(2020, 1, 2, 3, 4, 5)));
            EXPECT_TRUE(Same(times[TIME_ACCESS], LocalFileTime(2020, 1, 2, 23, 59, 59)));
        }
    }
}

TEST(FileTimes, AReadOnlyFileTakesTheTimesAndStaysReadOnly)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring file = MakeFile(dir, L"ro.txt", "x");
    const FILETIME listedWrite = LocalFileTime(2019, 7, 1, 12, 0, 0);
    ASSERT_TRUE(fileopstest::SetWriteTime(file, listedWrite));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const CFileInfo entry = Entry(file);
    const Times before = TimesOf(file);

    CFileTimeDlg dialog(0);
    dialog.m_use[TIME_ACCESS] = TRUE;
    dialog.m_times[TIME_ACCESS] = LocalFileTime(2021, 3, 4, 5, 6, 7);
    // Changed on disk after the listing: the listed update time is written back.
    ASSERT_TRUE(fileopstest::SetWriteTime(file, LocalFileTime(2022, 1, 1)));
    ASSERT_TRUE(dialog.SetEntryTimes(entry));
    const Times after = TimesOf(file);
    EXPECT_TRUE(Same(after.access, dialog.m_times[TIME_ACCESS]));
    EXPECT_TRUE(Same(after.creation, before.creation));
    EXPECT_TRUE(Same(after.write, listedWrite));
    EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);

    // The second dialog leaves an unchecked time as it is on disk.
    CTimeAttributeDlg both(0);
    both.m_bChangeAttributes = FALSE;
    both.m_use[TIME_CREATION] = TRUE;
    both.m_times[TIME_CREATION] = LocalFileTime(2018, 1, 1);
    ASSERT_TRUE(fileopstest::SetWriteTime(file, LocalFileTime(2022, 1, 1)));
    ASSERT_TRUE(both.SetEntryTimes(entry));
    EXPECT_TRUE(Same(TimesOf(file).write, LocalFileTime(2022, 1, 1)));
    EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileTimes, ContentsChangeBeforeTheirDirectoryAndNoStopsEverything)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring top = MakeDir(dir, L"top");
    const std::wstring inner = MakeFile(dir, L"top\\inner.txt", "i");
    const std::wstring later = MakeFile(dir, L"later.txt", "l");
    if (!fileopstest::MakeUnopenableEntry(top + L"\\socket"))
        GTEST_SKIP() << "no host socket";
    const FILETIME old = LocalFileTime(2001, 1, 1);
    const FILETIME wanted = LocalFileTime(2023, 6, 7, 8, 9, 10);
    for (INT_PTR answer : {IDNO, IDYES})
    {
        for (const std::wstring& path : {top, inner, later})
            ASSERT_TRUE(fileopstest::SetWriteTime(path, old));
        CArrayFileInfo targets;
        targets.AddEntry(Entry(top));
        targets.AddEntry(Entry(later));
        CDialogAnswerScript script;
        script.Add(answer);
        CFileTimeDlg dialog(0);
        dialog.m_bInside = 1;
        dialog.m_use[TIME_UPDATE] = TRUE;
        dialog.m_times[TIME_UPDATE] = wanted;
        dialog.ApplyToEntries(targets);
        const auto questions = script.GetQuestions();
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(std::wstring(questions[0].text), top + L"\\socketの日付の変更に失敗しました。続けますか？");
        const bool goOn = answer == IDYES;
        // The directory comes after its contents: a stop inside leaves it alone.
        EXPECT_EQ(Same(TimesOf(top).write, wanted), goOn);
        EXPECT_EQ(Same(TimesOf(later).write, wanted), goOn);
    }
}

class DrivenFileTimeDlg : public qvtest::CDrivenDialog<DrivenFileTimeDlg, CFileTimeDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
    std::wstring Text(int id) const
    {
        wchar_t buffer[64] = L"";
        ::GetDlgItemTextW(m_hWnd, id, buffer, 64);
        return buffer;
    }
};

TEST(FileTimeDialog, OneEntryStartsCheckedWithItsTimesAndTheSameTimeIsKept)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring file = MakeFile(dir, L"one.txt", "1");
    MakeFile(dir, L"two.txt", "2");
    MakeFile(dir, L"three.txt", "3");
    ASSERT_TRUE(fileopstest::SetWriteTime(file, LocalFileTime(2020, 4, 5, 6, 7, 8)));
    CFilerPane* saved = g_Panes[0];
    CFilerPane pane(0);
    pane.ChangeDirectory(dir.c_str(), PATH_VISIT_NAVIGATE, FALSE, FALSE);
    g_Panes[0] = &pane;
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        if (std::wstring(pane.m_entries[i].GetName()) == L"one.txt")
            pane.m_cursor = static_cast<int>(i);
    const CString savedSame = g_SET_SAME_TIME;
    g_SET_SAME_TIME = L"00:00:00";

    {
        DrivenFileTimeDlg dialog(0);
        UINT checks[3] = {};
        std::wstring date;
        dialog.drive = [&](DrivenFileTimeDlg& d) {
            checks[0] = d.IsDlgButtonChecked(IDC_TIME_CREATION_ON);
            checks[1] = d.IsDlgButtonChecked(IDC_TIME_ACCESS_ON);
            checks[2] = d.IsDlgButtonChecked(IDC_TIME_UPDATE_ON);
            date = d.Text(IDC_TIME_UPDATE_DATE);
            d.CheckDlgButton(IDC_TIME_CREATION_ON, BST_UNCHECKED);
            d.CheckDlgButton(IDC_TIME_ACCESS_ON, BST_UNCHECKED);
            ::SetDlgItemTextW(d.m_hWnd, IDC_TIME_SAME, L"12:00:00");
            d.Command(IDC_TIME_SET_SAME);
            d.Command(IDOK);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        for (UINT check : checks)
            EXPECT_EQ(check, static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(date, L"2020/04/05");
        EXPECT_EQ(std::wstring(g_SET_SAME_TIME), L"12:00:00");
        EXPECT_TRUE(Same(TimesOf(file).write, LocalFileTime(2020, 4, 5, 12, 0, 0)));
    }

    // Three marked entries: nothing starts checked.
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        if (!pane.m_entries[i].IsDots())
            pane.SetEntryMark(i, 1);
    DrivenFileTimeDlg dialog(0);
    UINT anyChecked = 0;
    dialog.drive = [&](DrivenFileTimeDlg& d) {
        anyChecked = d.IsDlgButtonChecked(IDC_TIME_CREATION_ON) | d.IsDlgButtonChecked(IDC_TIME_ACCESS_ON) |
                     d.IsDlgButtonChecked(IDC_TIME_UPDATE_ON);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(anyChecked, 0u);
    g_Panes[0] = saved;
    g_SET_SAME_TIME = savedSame;
}

} // namespace

namespace
{

TEST(FileTimes, TheWalkInsideEndsOnALinkCycle)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring top = MakeDir(dir, L"top");
    const std::wstring file = MakeFile(dir, L"top\\inner\\f.txt", "f");
    if (!fileopstest::MakeFolderLink(top + L"\\inner\\loop", top))
        GTEST_SKIP() << "no host link";
    CFileTimeDlg dialog(0);
    dialog.m_use[TIME_UPDATE] = TRUE;
    dialog.m_times[TIME_UPDATE] = LocalFileTime(2015, 5, 5);
    // Wine cannot set the times of the link itself: that question is answered Yes.
    CDialogAnswerScript script;
    script.Add(IDYES);
    EXPECT_EQ(dialog.ChangeTimesInside(Entry(top)), 1);
    EXPECT_LE(script.GetQuestions().size(), 1u);
    EXPECT_TRUE(Same(TimesOf(file).write, dialog.m_times[TIME_UPDATE]));
}

} // namespace
