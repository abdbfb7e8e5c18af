// The conflict question and the yes/no question with "以後同設定", shown as windows:
// the shorter window without a file, the texts with one, the no-copy choices that only
// OK keeps, and the check the yes/no question hands back.
#include <gtest/gtest.h>

#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/copy/CopyWayDlg.h"
#include "res/CopyDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/fileops/CopyTestData.h"

namespace
{

class DrivenCopyWayDlg : public qvtest::CDrivenDialog<DrivenCopyWayDlg, CCopyWayDlg>
{
};

struct CopyWayLayout
{
    RECT window{};
    RECT ruleGroup{};
    RECT name{};
    bool nameVisible = false;
    std::wstring sourceGroup;
};

CopyWayLayout ShowCopyWay(const CFileInfo* entry)
{
    CopyWayLayout layout;
    DrivenCopyWayDlg dialog;
    dialog.m_pEntry = entry;
    dialog.m_directory = L"Z:\\dst";
    dialog.drive = [&](DrivenCopyWayDlg& d) {
        ::GetWindowRect(d.m_hWnd, &layout.window);
        layout.ruleGroup = d.Child(IDC_COPY_WAY_RULE_GROUP);
        layout.name = d.Child(IDC_COPY_WAY_NAME);
        layout.nameVisible = ::IsWindowVisible(::GetDlgItem(d.m_hWnd, IDC_COPY_WAY_NAME)) != FALSE;
        wchar_t text[512] = {};
        ::GetDlgItemTextW(d.m_hWnd, IDC_COPY_WAY_SOURCE_GROUP, text, 512);
        layout.sourceGroup = text;
        d.Command(IDCANCEL);
    };
    dialog.DoModal();
    return layout;
}

TEST(CopyWayDialog, WithoutAFileTheRulePartMovesUpInAShorterWindow)
{
    std::wstring dir = qvtest::ScratchDir();
    copytest::MakeTree(dir, {L"a.txt"});
    CSelectedEntryList selection = copytest::Select(dir, {L"a.txt"});
    CopyWayLayout withFile = ShowCopyWay(&selection.m_entries[0]);
    CopyWayLayout without = ShowCopyWay(nullptr);
    EXPECT_TRUE(withFile.nameVisible);
    EXPECT_EQ(L"コピー元(" + dir + L"\\a.txt)", withFile.sourceGroup);
    EXPECT_FALSE(without.nameVisible);
    int distance = withFile.ruleGroup.top - withFile.name.top;
    EXPECT_EQ(withFile.ruleGroup.top - withFile.window.top - distance,
              without.ruleGroup.top - without.window.top);
    EXPECT_EQ(withFile.window.bottom - withFile.window.top - distance,
              without.window.bottom - without.window.top);
}

TEST(CopyWayDialog, NoCopyChoicesAreKeptOnlyByOk)
{
    for (int button : {IDOK, IDCANCEL})
    {
        DrivenCopyWayDlg dialog;
        dialog.m_rule = 5;
        dialog.drive = [&](DrivenCopyWayDlg& d) {
            CDialogAnswerScript script; // answers the check list that the button opens
            CDialogAnswer both;
            both.checks = {1, 1};
            script.Add(both);
            d.Command(IDC_COPY_WAY_NO_COPY_ACTION);
            EXPECT_EQ(1u, script.GetQuestions().size());
            EXPECT_EQ(L"コピーしないときの処理", qvtest::W(script.GetQuestions()[0].caption));
            d.Command(button);
        };
        EXPECT_EQ(button, dialog.DoModal());
        EXPECT_EQ(button == IDOK ? 1 : 0, dialog.m_noCopyAttributes) << button;
        EXPECT_EQ(button == IDOK ? 1 : 0, dialog.m_noCopyDateTime) << button;
        EXPECT_EQ(5, dialog.m_rule);
    }
}

TEST(AskSameDialog, ScriptedAnswerGivesTheButtonAndTheCheck)
{
    CDialogAnswerScript script;
    CDialogAnswer no;
    no.result = IDCANCEL;
    no.checks = {0};
    script.Add(no);
    CAskSameDlg dialog;
    dialog.m_caption = L"削除確認";
    dialog.m_message = L"読み込み専用ファイルです。削除しますか";
    dialog.m_same = TRUE;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(dialog.m_same);
    ASSERT_EQ(1u, script.GetQuestions().size());
    const CDialogQuestion question = script.GetQuestions()[0];
    EXPECT_EQ(IDD_ASK_SAME, question.dialogId);
    EXPECT_EQ(L"削除確認", qvtest::W(question.caption));
    EXPECT_EQ((std::vector<CString>{L"以後同設定"}), question.items);
}

} // namespace
