// The file list of a pane's targets and the move-to-directory dialog.
#include "filer/FilerPane.h"
#include "filer/PathHistory.h"
#include "filer/dialogs/FileListDlg.h"
#include "filer/dialogs/LogDiskDlg.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class FileListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_base = qvtest::ScratchDir() + L"\\list";
        for (const wchar_t* folder : {L"", L"\\d", L"\\d\\sub"})
            CreateDirectoryW((m_base + folder).c_str(), nullptr);
        for (const wchar_t* file : {L"\\f1.txt", L"\\f2.txt", L"\\d\\g1.txt", L"\\d\\sub\\h1.txt"})
            qvtest::WriteFileBytes(m_base + file, "x");
        m_pane.m_currentDir = m_base.c_str();
        m_pane.ReadDirectory(TRUE);
        m_pane.SortEntries();
    }
    INT_PTR IndexOf(const wchar_t* name)
    {
        for (INT_PTR i = 0; i < m_pane.m_entries.GetSize(); ++i)
            if (wcscmp(m_pane.m_entries[i].GetName(), name) == 0)
                return i;
        ADD_FAILURE() << "no entry";
        return 0;
    }

    std::wstring m_base;
    CFilerPane m_pane{0};
};
} // namespace

TEST_F(FileListTest, FilesFirstThenEachFolderBeforeItsSubFolders)
{
    for (const wchar_t* name : {L"d", L"f1.txt", L"f2.txt"})
        m_pane.SetEntryMark(IndexOf(name), 1);
    CFileListDlg dialog;
    ASSERT_TRUE(dialog.CollectFiles(m_pane));
    EXPECT_EQ(L"f1.txt\r\nf2.txt\r\nd\\g1.txt\r\nd\\sub\\h1.txt\r\n", std::wstring(dialog.BuildText(TRUE)));
    const std::wstring b = m_base;
    EXPECT_EQ(b + L"\\f1.txt\r\n" + b + L"\\f2.txt\r\n" + b + L"\\d\\g1.txt\r\n" + b +
                  L"\\d\\sub\\h1.txt\r\n",
              std::wstring(dialog.BuildText(FALSE)));
}

TEST_F(FileListTest, OnlyTheParentEntryListsNothing)
{
    m_pane.m_cursor = IndexOf(L"..");
    CFileListDlg dialog;
    ASSERT_TRUE(dialog.CollectFiles(m_pane));
    EXPECT_TRUE(dialog.m_files.empty());
    EXPECT_EQ(L"", std::wstring(dialog.BuildText(TRUE)));
}

TEST_F(FileListTest, ALinkBackUpTheWalkIsNotEnteredAgain)
{
    ASSERT_TRUE(qvtest::MakeFolderLink(m_base + L"\\d\\sub\\back", m_base + L"\\d"));
    m_pane.m_cursor = IndexOf(L"d");
    CFileListDlg dialog;
    ASSERT_TRUE(dialog.CollectFiles(m_pane));
    EXPECT_EQ(L"d\\g1.txt\r\nd\\sub\\h1.txt\r\n", std::wstring(dialog.BuildText(TRUE)));
}

TEST_F(FileListTest, TheDialogShowsTheRelativeListAndSwitchesToAbsolute)
{
    class DrivenFileListDlg : public qvtest::CDrivenDialog<DrivenFileListDlg, CFileListDlg>
    {
    };
    CFilerPane* saved = g_Panes[0];
    g_Panes[0] = &m_pane;
    m_pane.m_cursor = IndexOf(L"f1.txt");
    DrivenFileListDlg dialog;
    dialog.m_paneNumber = 0;
    dialog.drive = [this](DrivenFileListDlg& dlg) {
        CString text;
        dlg.GetDlgItemText(IDC_FILE_LIST_TEXT, text);
        EXPECT_STREQ(L"f1.txt\r\n", text);
        dlg.CheckRadioButton(IDC_FILE_LIST_ABSOLUTE, IDC_FILE_LIST_RELATIVE, IDC_FILE_LIST_ABSOLUTE);
        dlg.Command(IDC_FILE_LIST_ABSOLUTE);
        dlg.GetDlgItemText(IDC_FILE_LIST_TEXT, text);
        EXPECT_EQ(m_base + L"\\f1.txt\r\n", std::wstring(text));
        dlg.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    g_Panes[0] = saved;
}

TEST(LogDiskDialog, NeverOffersTheCurrentDirectory)
{
    class DrivenLogDiskDlg : public qvtest::CDrivenDialog<DrivenLogDiskDlg, CLogDiskDlg>
    {
    };
    CStringArray list;
    for (const wchar_t* path : {L"C:\\here", L"C:\\there", L"c:\\HERE", L"D:\\else"})
        list.Add(path);
    g_PathHistory.LoadFromList(list);
    DrivenLogDiskDlg dialog;
    dialog.m_baseDirectory = L"C:\\Here";
    dialog.drive = [](DrivenLogDiskDlg& dlg) {
        HWND combo = dlg.GetDlgItem(IDC_LOG_DISK_PATH)->GetSafeHwnd();
        std::vector<std::wstring> items;
        for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i)
        {
            wchar_t text[MAX_PATH] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        EXPECT_EQ((std::vector<std::wstring>{L"C:\\there", L"D:\\else"}), items);
        dlg.SetDlgItemText(IDC_LOG_DISK_PATH, L"D:\\else");
        dlg.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ(L"D:\\else", dialog.m_result);
    g_PathHistory.LoadFromList(CStringArray());
}

TEST(LogDiskDialog, TheTypedPathIsTrimmedExpandedAndKeptBelowTheRoot)
{
    SetEnvironmentVariableW(L"QV_LOGDISK_TEST", L"C:\\env");
    struct Case
    {
        const wchar_t* typed;
        BOOL ok;
        const wchar_t* expected;
    } cases[] = {
        {L"  %QV_LOGDISK_TEST%/sub/x  ", TRUE, L"C:\\env\\sub\\x"},
        {L"..\\sibling", TRUE, L"..\\sibling"},
        {L"..\\..\\..", FALSE, L""},
    };
    for (const Case& c : cases)
    {
        CString out, message;
        EXPECT_EQ(c.ok, ResolveLogDiskTarget(L"C:\\a\\b", c.typed, out, message)) << c.typed;
        if (c.ok)
            EXPECT_STREQ(c.expected, out);
        else
            EXPECT_STREQ(L"ディレクトリ名が不正です", message);
    }
    SetEnvironmentVariableW(L"QV_LOGDISK_TEST", nullptr);
}
