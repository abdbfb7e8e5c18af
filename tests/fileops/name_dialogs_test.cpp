// The shortcut, new-directory and file-to-edit dialogs give back what was typed.
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "fileops/dialogs/MakeLinkDlg.h"
#include "fileops/dialogs/NameInputDlgs.h"
#include "res/FileDialogs.h"
#include "tests/common/DialogHarness.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

std::wstring Text(HWND dialog, int id)
{
    wchar_t buffer[512] = L"";
    ::GetDlgItemTextW(dialog, id, buffer, 512);
    return buffer;
}

TEST(ShortcutNames, RepeatedDirectoriesGoAndTheExtensionIsKeptOnlyWhenAsked)
{
    CStringArray in, out;
    for (LPCWSTR dir : {L"C:\\A", L"c:\\a", L"C:\\B", L"C:\\A\\"})
        in.Add(dir);
    RemoveRepeatedDirectories(in, out);
    std::vector<std::wstring> listed;
    for (INT_PTR i = 0; i < out.GetSize(); ++i)
        listed.push_back(static_cast<LPCWSTR>(out[i]));
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"C:\\A", L"C:\\B", L"C:\\A\\"}));

    EXPECT_EQ(std::wstring(ChooseLinkFileName(FALSE, L"report.lnk", L"report.txt.lnk")), L"report.lnk");
    EXPECT_EQ(std::wstring(ChooseLinkFileName(TRUE, L"report.lnk", L"report.txt.lnk")), L"report.txt.lnk");
    EXPECT_EQ(std::wstring(ChooseLinkFileName(TRUE, L"report.lnk", L"")), L"report.lnk");
}

class DrivenMakeLinkDlg : public qvtest::CDrivenDialog<DrivenMakeLinkDlg, CMakeLinkDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

TEST(ShortcutDialog, TheNameFollowsTheBoxAndOkGivesBackWhatWasTyped)
{
    const int saved = g_CREATE_SHORT_CUT_EXT_IN_FILE_NAME;
    g_CREATE_SHORT_CUT_EXT_IN_FILE_NAME = 0;
    DrivenMakeLinkDlg dialog;
    dialog.m_linkTarget = L"C:\\docs\\report.txt";
    dialog.m_proposedName = L"report.lnk";
    dialog.m_proposedFullName = L"report.txt.lnk";
    for (LPCWSTR dir : {L"C:\\A", L"c:\\a", L"C:\\B"})
        dialog.m_candidateDirectories.Add(dir);
    std::wstring before, after, saveDir;
    LRESULT count = 0;
    dialog.drive = [&](DrivenMakeLinkDlg& d) {
        before = Text(d.m_hWnd, IDC_LINK_FILE_NAME);
        saveDir = Text(d.m_hWnd, IDC_LINK_SAVE_DIR);
        count = ::SendDlgItemMessageW(d.m_hWnd, IDC_LINK_SAVE_DIR, CB_GETCOUNT, 0, 0);
        d.CheckDlgButton(IDC_LINK_KEEP_EXTENSION, BST_CHECKED);
        d.Command(IDC_LINK_KEEP_EXTENSION);
        after = Text(d.m_hWnd, IDC_LINK_FILE_NAME);
        ::SetDlgItemTextW(d.m_hWnd, IDC_LINK_ARGUMENTS, L"-x");
        ::SetDlgItemTextW(d.m_hWnd, IDC_LINK_DESCRIPTION, L"説明文");
        ::SetDlgItemTextW(d.m_hWnd, IDC_LINK_SAVE_DIR, L"D:\\links");
        d.Command(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(before, L"report.lnk");
    EXPECT_EQ(after, L"report.txt.lnk");
    EXPECT_EQ(saveDir, L"C:\\A");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(std::wstring(dialog.m_fileName), L"report.txt.lnk");
    EXPECT_EQ(std::wstring(dialog.m_saveDirectory), L"D:\\links");
    EXPECT_EQ(std::wstring(dialog.m_arguments), L"-x");
    EXPECT_EQ(std::wstring(dialog.m_description), L"説明文");
    EXPECT_EQ(g_CREATE_SHORT_CUT_EXT_IN_FILE_NAME, 1);
    g_CREATE_SHORT_CUT_EXT_IN_FILE_NAME = saved;
}

class DrivenMkDirDlg : public qvtest::CDrivenDialog<DrivenMkDirDlg, CMkDirDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

class DrivenEditNameDlg : public qvtest::CDrivenDialog<DrivenEditNameDlg, CEditNameDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

TEST(NameDialogs, NewDirectoryAndFileToEditGiveBackTheirInput)
{
    DrivenMkDirDlg mkdir;
    mkdir.drive = [](DrivenMkDirDlg& d) {
        ::SetDlgItemTextW(d.m_hWnd, IDC_MKDIR_NAME, L"新しいフォルダ");
        d.CheckDlgButton(IDC_MKDIR_MOVE_CURSOR, BST_CHECKED);
        d.Command(IDOK);
    };
    EXPECT_EQ(mkdir.DoModal(), IDOK);
    EXPECT_EQ(std::wstring(mkdir.m_name), L"新しいフォルダ");
    EXPECT_EQ(mkdir.m_bMoveCursor, 1);

    const CString savedOption = g_EDITOR_OPEN_UNICODE_OPTION;
    for (LPCWSTR option : {L"", L"-u"})
    {
        g_EDITOR_OPEN_UNICODE_OPTION = option;
        DrivenEditNameDlg edit;
        edit.m_bUnicode = 1;
        BOOL enabled = TRUE;
        edit.drive = [&](DrivenEditNameDlg& d) {
            enabled = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_EDIT_UNICODE));
            ::SetDlgItemTextW(d.m_hWnd, IDC_EDIT_NAME, L"memo.txt");
            if (enabled)
                d.CheckDlgButton(IDC_EDIT_UNICODE, BST_UNCHECKED);
            d.Command(IDOK);
        };
        EXPECT_EQ(edit.DoModal(), IDOK);
        EXPECT_EQ(enabled, *option != 0);
        EXPECT_EQ(std::wstring(edit.m_fileName), L"memo.txt");
        // A disabled box keeps what the opener gave.
        EXPECT_EQ(edit.m_bUnicode, *option ? 0 : 1);
    }
    g_EDITOR_OPEN_UNICODE_OPTION = savedOption;
}

} // namespace
