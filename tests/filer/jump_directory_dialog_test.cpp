// The jump-directory dialog: choosing by key, editing entries and groups, and the
// groups' way through the settings file.
#include "util/IniFile.h"
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/FilerSettings.h"
#include "filer/dialogs/JumpDirectoryDlg.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class DrivenJumpDlg : public qvtest::CDrivenDialog<DrivenJumpDlg, CJumpDirectoryDlg>
{
};

CEachJumpDirectory Jump(LPCWSTR target, LPCWSTR key = L"", LPCWSTR display = L"")
{
    CEachJumpDirectory jump;
    jump.m_directory = target;
    jump.m_keyName = key;
    jump.m_display = display;
    return jump;
}

class JumpDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedGroups.Copy(g_JumpGroups);
        m_savedCount = g_SUMDIRJUMPGROUP;
        m_savedIcons = g_DISP_ICON_ON_JUMP_DIR_DLG;
        m_savedColumns = g_JumpListColumns;
        g_DISP_ICON_ON_JUMP_DIR_DLG = 0;
        SetGroups({{L"main", {Jump(L"C:\\a", L"A"), Jump(L"C:\\b", L"B"), Jump(L"C:\\c", L"A")}}});
    }
    void TearDown() override
    {
        g_JumpGroups.Copy(m_savedGroups);
        g_SUMDIRJUMPGROUP = m_savedCount;
        g_DISP_ICON_ON_JUMP_DIR_DLG = m_savedIcons;
        g_JumpListColumns = m_savedColumns;
    }
    void SetGroups(const std::vector<std::pair<LPCWSTR, std::vector<CEachJumpDirectory>>>& groups)
    {
        g_JumpGroups.RemoveAll();
        for (const auto& group : groups)
        {
            CJumpDirectory added;
            added.m_groupName = group.first;
            for (const CEachJumpDirectory& jump : group.second)
                added.m_entries.Add(jump);
            g_JumpGroups.Add(added);
        }
        g_SUMDIRJUMPGROUP = static_cast<int>(g_JumpGroups.GetSize());
    }
    static std::vector<std::wstring> Targets(int group)
    {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < g_JumpGroups[group].m_entries.GetSize(); ++i)
            out.push_back(static_cast<LPCWSTR>(g_JumpGroups[group].m_entries[i].m_directory));
        return out;
    }

    CArray<CJumpDirectory> m_savedGroups;
    int m_savedCount = 1, m_savedIcons = 1;
    std::array<JumpListColumn, 3> m_savedColumns;
};
} // namespace

TEST_F(JumpDirectoryTest, AKeyOfSeveralEntriesSelectsTheNextAndAUniqueKeyChoosesIt)
{
    DrivenJumpDlg dialog;
    dialog.drive = [](DrivenJumpDlg& dlg) {
        EXPECT_EQ(0, dlg.GetSelectedRow());
        EXPECT_FALSE(dlg.ChooseByKey('Z'));
        EXPECT_TRUE(dlg.ChooseByKey('A'));
        EXPECT_EQ(2, dlg.GetSelectedRow());
        EXPECT_TRUE(dlg.ChooseByKey('A'));
        EXPECT_EQ(0, dlg.GetSelectedRow());
        EXPECT_TRUE(dlg.ChooseByKey('B'));
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(0, dialog.m_resultGroup);
    EXPECT_EQ(1, dialog.m_resultEntry);
}

TEST_F(JumpDirectoryTest, AnEmptyTargetEndsTheGroupsList)
{
    SetGroups({{L"main", {Jump(L"C:\\a"), Jump(L""), Jump(L"C:\\later")}}});
    DrivenJumpDlg dialog;
    dialog.drive = [](DrivenJumpDlg& dlg) {
        EXPECT_EQ(1, dlg.CountVisibleEntries());
        EXPECT_EQ(1, ListView_GetItemCount(dlg.GetDlgItem(IDC_JUMP_LIST)->GetSafeHwnd()));
        dlg.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST_F(JumpDirectoryTest, AddingSkipsATargetTheGroupHasAndInsertsBeforeTheSelection)
{
    CDialogAnswerScript script;
    CDialogAnswer same;
    same.text = L"c:\\B";
    script.Add(same);
    CDialogAnswer added;
    added.text = L"C:\\new";
    added.keyName = L"N";
    script.Add(added);
    DrivenJumpDlg dialog;
    int selected = -1;
    dialog.drive = [&selected](DrivenJumpDlg& dlg) {
        dlg.SelectRow(1);
        dlg.Command(IDC_JUMP_ADD);
        dlg.Command(IDC_JUMP_ADD);
        selected = dlg.GetSelectedRow();
        dlg.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a", L"C:\\new", L"C:\\b", L"C:\\c"}), Targets(0));
    EXPECT_EQ(1, selected);
    EXPECT_STREQ(L"N", g_JumpGroups[0].m_entries[1].m_keyName);
    ASSERT_EQ(2u, script.GetQuestions().size());
    EXPECT_STREQ(L"追加", script.GetQuestions()[0].caption);
}

TEST_F(JumpDirectoryTest, TheLastGroupCannotBeDeletedAndAnotherOnlyAfterYes)
{
    CDialogAnswerScript script;
    DrivenJumpDlg dialog;
    dialog.drive = [](DrivenJumpDlg& dlg) {
        dlg.Command(IDC_JUMP_GROUP_DELETE);
        dlg.Command(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_EQ(0u, script.GetQuestions().size());
    EXPECT_EQ(1, g_JumpGroups.GetSize());

    SetGroups({{L"first", {Jump(L"C:\\a")}}, {L"second", {Jump(L"D:\\b")}}});
    script.Add(IDNO);
    script.Add(IDYES);
    DrivenJumpDlg twoGroups;
    twoGroups.drive = [](DrivenJumpDlg& dlg) {
        dlg.ShowGroup(1);
        dlg.Command(IDC_JUMP_GROUP_DELETE);
        EXPECT_EQ(2, g_JumpGroups.GetSize());
        dlg.Command(IDC_JUMP_GROUP_DELETE);
        EXPECT_EQ(0, dlg.GetGroup());
        dlg.Command(IDCANCEL);
    };
    twoGroups.DoModal();
    ASSERT_EQ(1, g_JumpGroups.GetSize());
    EXPECT_STREQ(L"first", g_JumpGroups[0].m_groupName);
    EXPECT_EQ(1, g_SUMDIRJUMPGROUP);
    ASSERT_EQ(2u, script.GetQuestions().size());
    EXPECT_STREQ(L"secondを削除しますか", script.GetQuestions()[1].text);
    EXPECT_STREQ(L"削除確認", script.GetQuestions()[1].caption);
}

TEST_F(JumpDirectoryTest, EntriesMoveAndDeleteInPlace)
{
    DrivenJumpDlg dialog;
    std::vector<int> selections;
    dialog.drive = [&selections](DrivenJumpDlg& dlg) {
        dlg.SelectRow(0);
        dlg.Command(IDC_JUMP_DOWN);
        selections.push_back(dlg.GetSelectedRow());
        dlg.Command(IDC_JUMP_UP);
        dlg.Command(IDC_JUMP_UP);
        selections.push_back(dlg.GetSelectedRow());
        dlg.SelectRow(2);
        dlg.Command(IDC_JUMP_DELETE);
        selections.push_back(dlg.GetSelectedRow());
        dlg.Command(IDC_JUMP_TO_LOCATION);
    };
    EXPECT_EQ(IDC_JUMP_TO_LOCATION, dialog.DoModal());
    EXPECT_EQ((std::vector<int>{1, 0, 1}), selections);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a", L"C:\\b"}), Targets(0));
    EXPECT_EQ(1, dialog.m_resultEntry);
}

TEST_F(JumpDirectoryTest, EveryGroupSurvivesTheSettingsFile)
{
    SetGroups({{L"zero", {Jump(L"C:\\a", L"A", L"first"), Jump(L"C:\\b")}},
               {L"one", {Jump(L"D:\\x"), Jump(L"D:\\y"), Jump(L"D:\\z", L"F1", L"third")}},
               {L"two", {}}});
    const std::wstring path = qvtest::ScratchDir() + L"\\jump.ini";
    {
        CIniFile writer;
        ASSERT_TRUE(writer.Create(path.c_str()));
        SaveSectionJumpData(writer);
        writer.Close();
    }
    const std::string bytes = qvtest::ReadFileBytes(path);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    EXPECT_NE(std::wstring::npos, text.find(L"TODIR1=C:\\b\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"TODIR0102=D:\\z\r\nDIRKEY0102=F1\r\nDISPLAY0102=third\r\n"));

    CArray<CJumpDirectory> written;
    written.Copy(g_JumpGroups);
    SetGroups({});
    CIniFile reader;
    reader.filePath = path.c_str();
    ASSERT_EQ(INI_LOAD_OK, reader.Load());
    g_SUMDIRJUMPGROUP = 3;
    LoadSectionJumpData(reader);
    ASSERT_EQ(3, g_JumpGroups.GetSize());
    for (int g = 0; g < 3; ++g)
    {
        EXPECT_STREQ(written[g].m_groupName, g_JumpGroups[g].m_groupName);
        ASSERT_EQ(written[g].m_entries.GetSize(), g_JumpGroups[g].m_entries.GetSize());
        for (INT_PTR e = 0; e < written[g].m_entries.GetSize(); ++e)
        {
            EXPECT_STREQ(written[g].m_entries[e].m_directory, g_JumpGroups[g].m_entries[e].m_directory);
            EXPECT_STREQ(written[g].m_entries[e].m_keyName, g_JumpGroups[g].m_entries[e].m_keyName);
            EXPECT_STREQ(written[g].m_entries[e].m_display, g_JumpGroups[g].m_entries[e].m_display);
        }
    }
}

TEST_F(JumpDirectoryTest, TheDisplaySettingsChooseTheColumnsAndIconsShowForExistingTargets)
{
    g_DISP_ICON_ON_JUMP_DIR_DLG = 1;
    const std::wstring existing = qvtest::ScratchDir();
    SetGroups({{L"main", {Jump(existing.c_str(), L"A", L"here"), Jump(L"C:\\gone\\nowhere")}}});
    CDialogAnswerScript script;
    CDialogAnswer onlyKeys;
    onlyKeys.order = {1, 0, 2};
    onlyKeys.checks = {1, 0, 0};
    script.Add(onlyKeys);
    DrivenJumpDlg dialog;
    dialog.drive = [](DrivenJumpDlg& dlg) {
        HWND list = ::GetDlgItem(dlg.m_hWnd, IDC_JUMP_LIST);
        EXPECT_EQ(2, ListView_GetItemCount(list));
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = 1;
        ListView_GetItem(list, &item);
        EXPECT_LT(item.iImage, 0); // a missing target has no icon
        wchar_t text[64] = {};
        ListView_GetItemText(list, 0, 1, text, 64);
        EXPECT_STREQ(L"[A]", text);
        ListView_GetItemText(list, 0, 2, text, 64);
        EXPECT_STREQ(L"(here)", text);
        EXPECT_EQ(0, ::GetWindowLongPtrW(list, GWL_STYLE) & LVS_NOCOLUMNHEADER);

        dlg.Command(IDC_JUMP_DISPLAY_SETTINGS);
        ListView_GetItemText(list, 0, 0, text, 64);
        EXPECT_STREQ(L"[A]", text);
        EXPECT_NE(0, ::GetWindowLongPtrW(list, GWL_STYLE) & LVS_NOCOLUMNHEADER);
        dlg.Command(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_EQ(1, g_JumpListColumns[0].item);
    EXPECT_EQ(1, g_JumpListColumns[0].shown);
    EXPECT_EQ(0, g_JumpListColumns[1].shown);
}
