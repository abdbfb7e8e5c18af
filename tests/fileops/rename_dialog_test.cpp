// The rename dialog from its shown names to the end of its worker, the mode that
// only asks a free name, and the exchange dialog's refusals.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/rename/RenameDlg.h"
#include "fileops/rename/RenameExchangeDlg.h"
#include "filer/FilerPane.h"
#include "res/RenameDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/fileops/FileOpsTestData.h"

#include <memory>
#include <set>

using fileopstest::DiskEntry;
using fileopstest::MakeTree;
using qvtest::W;

namespace
{

class CDrivenRenameDlg : public qvtest::CDrivenDialog<CDrivenRenameDlg, CRenameDlg>
{
public:
    std::wstring Text(int id) const
    {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(m_hWnd, id, text, 512);
        return text;
    }
};

class CDrivenExchangeDlg : public qvtest::CDrivenDialog<CDrivenExchangeDlg, CRenameExchangeDlg>
{
};

class RenameDialogTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_saved = g_Panes[0];
        m_pane = std::make_unique<CFilerPane>(0);
        m_pane->m_currentDir = dir.c_str();
        g_Panes[0] = m_pane.get();
        m_savedOmit = g_RENAME_OMIT_EXTENTION;
        m_savedEdit = g_RENAME_INPUT_BY_EDIT_BOX;
        g_RENAME_INPUT_BY_EDIT_BOX = 0;
    }
    void TearDown() override
    {
        g_Panes[0] = m_saved;
        g_RENAME_OMIT_EXTENTION = m_savedOmit;
        g_RENAME_INPUT_BY_EDIT_BOX = m_savedEdit;
    }
    void List(const std::vector<std::wstring>& names, bool mark)
    {
        for (const auto& name : names)
        {
            const INT_PTR index = m_pane->m_entries.AddEntry(DiskEntry(dir, name));
            if (mark)
                m_pane->SetEntryMark(index, 1);
        }
    }

    std::unique_ptr<CFilerPane> m_pane;
    CFilerPane* m_saved = nullptr;
    int m_savedOmit = 0;
    int m_savedEdit = 0;
};

} // namespace

TEST_F(RenameDialogTest, OneEntryShowsItsNameAndSeveralShowTagFiles)
{
    MakeTree(dir, {L"a.txt", L"b.txt"});
    struct Case
    {
        bool mark;
        std::wstring oldText, input;
        bool moveCursorShown;
    } cases[] = {{false, L"a.txt", L"a.txt", true}, {true, L"タグファイル", L"*.*", false}};
    for (const auto& c : cases)
    {
        m_pane->m_entries.RemoveAll();
        List({L"a.txt", L"b.txt"}, c.mark);
        CDrivenRenameDlg dialog;
        std::wstring oldText, input;
        bool shown = false;
        dialog.drive = [&](CDrivenRenameDlg& d) {
            oldText = d.Text(IDC_RENAME_OLD_NAME);
            input = d.Text(IDC_RENAME_PATTERN);
            shown = ::IsWindowVisible(::GetDlgItem(d.m_hWnd, IDC_RENAME_MOVE_CURSOR)) != FALSE;
            d.Command(IDCANCEL);
        };
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_EQ(c.oldText, oldText);
        EXPECT_EQ(c.input, input);
        EXPECT_EQ(c.moveCursorShown, shown);
    }
}

TEST_F(RenameDialogTest, OmittedExtensionIsPutBackAndTheWorkerEndsTheDialog)
{
    MakeTree(dir, {L"a.txt"});
    List({L"a.txt"}, false);
    g_RENAME_OMIT_EXTENTION = 1;
    CDrivenRenameDlg dialog;
    std::wstring input;
    dialog.drive = [&](CDrivenRenameDlg& d) {
        input = d.Text(IDC_RENAME_PATTERN);
        ::SetDlgItemTextW(d.m_hWnd, IDC_RENAME_PATTERN, L"b");
        d.Command(IDOK);
    };
    EXPECT_EQ(1, dialog.DoModal());
    EXPECT_EQ(L"a", input);
    EXPECT_EQ(L"b.txt", W(dialog.m_lastNewName));
    EXPECT_EQ(std::set<std::wstring>({L"b.txt"}), qvtest::ListFolder(dir));
}

TEST_F(RenameDialogTest, UpperCaseOptionRenamesMarkedEntries)
{
    MakeTree(dir, {L"a.txt", L"b.txt"});
    List({L"a.txt", L"b.txt"}, true);
    CDrivenRenameDlg dialog;
    dialog.drive = [&](CDrivenRenameDlg& d) {
        ::CheckRadioButton(d.m_hWnd, IDC_RENAME_CASE_UPPER, IDC_RENAME_CASE_LOWER, IDC_RENAME_CASE_UPPER);
        ::CheckDlgButton(d.m_hWnd, IDC_RENAME_CASE_KEEP, BST_UNCHECKED);
        d.Command(IDOK);
    };
    EXPECT_EQ(1, dialog.DoModal());
    EXPECT_EQ(std::set<std::wstring>({L"A.TXT", L"B.TXT"}), qvtest::ListFolder(dir));
}

TEST_F(RenameDialogTest, FreeNameModeRefusesAnExistingName)
{
    MakeTree(dir, {L"taken.txt"});
    CDrivenRenameDlg dialog;
    dialog.m_mode = 2;
    dialog.m_entry = DiskEntry(dir, L"taken.txt");
    dialog.m_testDirectory = dir.c_str();
    CDialogAnswerScript script;
    script.Add(IDOK);
    dialog.drive = [&](CDrivenRenameDlg& d) {
        d.Command(IDOK); // the name as given exists
        ::SetDlgItemTextW(d.m_hWnd, IDC_RENAME_PATTERN, L"free.txt");
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"free.txt", W(dialog.m_typedName));
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"入力したファイルは既に存在します", W(script.GetQuestions()[0].text));
}

TEST_F(RenameDialogTest, FreeNameModeRefusesANameThatReachesAnotherEntry)
{
    MakeTree(dir, {L"b.txt", L"precious_document.txt", L"Sub\\"});
    std::vector<std::wstring> typed = {L"Precious_Document.txt.", L"sub"};
    std::wstring alias = qvtest::ShortAlias(dir + L"\\precious_document.txt");
    if (!alias.empty())
        typed.push_back(alias);
    CDrivenRenameDlg dialog;
    dialog.m_mode = 2;
    dialog.m_entry = DiskEntry(dir, L"b.txt");
    dialog.m_testDirectory = dir.c_str();
    CDialogAnswerScript script;
    for (size_t i = 0; i < typed.size(); ++i)
        script.Add(IDOK);
    dialog.drive = [&](CDrivenRenameDlg& d) {
        for (const std::wstring& name : typed)
        {
            ::SetDlgItemTextW(d.m_hWnd, IDC_RENAME_PATTERN, name.c_str());
            d.Command(IDOK);
        }
        ::SetDlgItemTextW(d.m_hWnd, IDC_RENAME_PATTERN, L"free.txt");
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"free.txt", W(dialog.m_typedName));
    ASSERT_EQ(typed.size(), script.GetQuestions().size());
    for (const CDialogQuestion& question : script.GetQuestions())
        EXPECT_EQ(L"入力したファイルは既に存在します", W(question.text));
}

TEST_F(RenameDialogTest, ExchangeDialogShowsBothFilesAndRefusesTheSameFile)
{
    MakeTree(dir, {L"x"});
    CDrivenExchangeDlg dialog;
    dialog.m_file1 = DiskEntry(dir, L"x");
    dialog.m_file2 = DiskEntry(dir, L"x");
    CDialogAnswerScript script;
    std::wstring name;
    dialog.drive = [&](CDrivenExchangeDlg& d) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(d.m_hWnd, IDC_EXCHANGE_NAME2, text, 256);
        name = text;
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"x", name);
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(std::set<std::wstring>({L"x"}), qvtest::ListFolder(dir));
}
