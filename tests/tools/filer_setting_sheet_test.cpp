// The filer settings sheet driven as a user would: what Cancel, OK on an unopened
// page and the unchecked number fields leave in the settings.
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/GeneralToolSettings.h"
#include "res/SettingsDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tools/settings/FilerSettingSheet.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace
{
class CDrivenSheet : public qvtest::CDrivenDialog<CDrivenSheet, CFilerSettingSheet>
{
public:
    void SetPageText(CDialog& page, int id, const wchar_t* text) { ::SetDlgItemTextW(page.m_hWnd, id, text); }
    std::wstring PageText(CDialog& page, int id)
    {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(page.m_hWnd, id, text, 512);
        return text;
    }
};

// Runs the sheet as the view's command does: settings in, the sheet, settings back
// on OK.
INT_PTR RunSheet(CDrivenSheet& sheet)
{
    sheet.LoadFromSettings();
    const INT_PTR result = sheet.DoModal();
    if (result == IDOK)
        sheet.StoreToSettings();
    return result;
}

class FilerSettingSheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const FilerOptionRow& row : g_FilerOptionRows)
            m_options.push_back(*row.setting);
        m_strings = {g_EDITORNAME, g_ONEDEFEDIT, g_SOMEDEFEDIT, g_EDITOR_OPEN_UNICODE_OPTION,
                     g_DOSSHELL,   g_POWER_SHELL};
        m_buffers = {g_COPY_BUFFER_SIZE_FIXED, g_COPY_BUFFER_SIZE_REMOVABLE, g_COPY_BUFFER_SIZE_REMOTE,
                     g_COPY_BUFFER_SIZE_OTHER};
        m_reload = g_ReloadSettings;
        m_size = g_STARTSIZE;
        m_width = g_FIRSTWIDE;
    }
    void TearDown() override
    {
        for (int i = 0; i < kFilerOptionCount; ++i)
            *g_FilerOptionRows[i].setting = m_options[i];
        g_EDITORNAME = m_strings[0];
        g_ONEDEFEDIT = m_strings[1];
        g_SOMEDEFEDIT = m_strings[2];
        g_EDITOR_OPEN_UNICODE_OPTION = m_strings[3];
        g_DOSSHELL = m_strings[4];
        g_POWER_SHELL = m_strings[5];
        g_COPY_BUFFER_SIZE_FIXED = m_buffers[0];
        g_COPY_BUFFER_SIZE_REMOVABLE = m_buffers[1];
        g_COPY_BUFFER_SIZE_REMOTE = m_buffers[2];
        g_COPY_BUFFER_SIZE_OTHER = m_buffers[3];
        g_ReloadSettings = m_reload;
        g_STARTSIZE = m_size;
        g_FIRSTWIDE = m_width;
    }
    std::vector<int> Options() const
    {
        std::vector<int> values;
        for (const FilerOptionRow& row : g_FilerOptionRows)
            values.push_back(*row.setting);
        return values;
    }

    std::vector<int> m_options;
    std::vector<CString> m_strings;
    std::vector<int> m_buffers;
    std::array<ReloadSetting, kReloadSettingCount> m_reload;
    int m_size = 0;
    int m_width = 0;
};

TEST_F(FilerSettingSheetTest, TheOptionListShowsEverySettingAndCancelLeavesAllOfThem)
{
    // Values other than 0 and 1 too: a tick stands for any non-zero value.
    for (int i = 0; i < kFilerOptionCount; ++i)
        *g_FilerOptionRows[i].setting = i % 3 == 0 ? 0 : (i % 3 == 1 ? 1 : 7);
    const std::vector<int> before = Options();
    CDrivenSheet sheet;
    std::vector<std::wstring> lines;
    std::vector<int> ticks;
    sheet.drive = [&](CDrivenSheet& d) {
        d.ShowPage(1);
        CCheckListBox& list = d.m_filer.Options();
        const int count = int(::SendMessageW(list.m_hWnd, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
        {
            wchar_t text[128] = {};
            ::SendMessageW(list.m_hWnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.push_back(text);
            ticks.push_back(list.GetCheck(i));
            list.SetCheck(i, list.GetCheck(i) ? 0 : 1);
        }
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(RunSheet(sheet), IDCANCEL);
    ASSERT_EQ(lines.size(), size_t(kFilerOptionCount));
    for (int i = 0; i < kFilerOptionCount; ++i)
    {
        EXPECT_EQ(lines[i], g_FilerOptionRows[i].label) << i;
        EXPECT_EQ(ticks[i], before[i] != 0 ? 1 : 0) << i;
    }
    EXPECT_EQ(Options(), before);

    // The same changes with OK store a tick as 1 and no tick as 0.
    CDrivenSheet stored;
    stored.drive = [](CDrivenSheet& d) {
        d.ShowPage(1);
        CCheckListBox& list = d.m_filer.Options();
        for (int i = 0; i < kFilerOptionCount; ++i)
            list.SetCheck(i, list.GetCheck(i) ? 0 : 1);
        d.Command(IDOK);
    };
    EXPECT_EQ(RunSheet(stored), IDOK);
    for (int i = 0; i < kFilerOptionCount; ++i)
        EXPECT_EQ(*g_FilerOptionRows[i].setting, before[i] != 0 ? 0 : 1) << i;
}

TEST_F(FilerSettingSheetTest, OkOnTheFirstPageKeepsTheProgramsAndEveryUnopenedPage)
{
    g_EDITORNAME = L"C:\\tools\\edit.exe";
    g_ONEDEFEDIT = L"$F";
    g_SOMEDEFEDIT = L"$S";
    g_EDITOR_OPEN_UNICODE_OPTION = L"/u";
    g_DOSSHELL = L"CMD.EXE /k cd";
    g_POWER_SHELL = L"C:\\ps\\pwsh.exe";
    g_COPY_BUFFER_SIZE_OTHER = 1234;
    const std::vector<int> options = Options();
    const std::vector<CString> programs = {
        g_EDITORNAME, g_ONEDEFEDIT, g_SOMEDEFEDIT, g_EDITOR_OPEN_UNICODE_OPTION, g_DOSSHELL, g_POWER_SHELL};
    // Only the start-up page, and then also the programs page opened and left alone.
    for (bool openPrograms : {false, true})
    {
        CDrivenSheet sheet;
        sheet.drive = [&](CDrivenSheet& d) {
            if (openPrograms)
                d.ShowPage(3);
            d.Command(IDOK);
        };
        EXPECT_EQ(RunSheet(sheet), IDOK);
        const std::vector<CString> after = {g_EDITORNAME,  g_ONEDEFEDIT,
                                            g_SOMEDEFEDIT, g_EDITOR_OPEN_UNICODE_OPTION,
                                            g_DOSSHELL,    g_POWER_SHELL};
        for (size_t i = 0; i < programs.size(); ++i)
            EXPECT_STREQ(after[i], programs[i]) << openPrograms << " " << i;
        EXPECT_EQ(Options(), options);
        EXPECT_EQ(g_COPY_BUFFER_SIZE_OTHER, 1234);
    }
}

TEST_F(FilerSettingSheetTest, UncheckedNumberFieldsStoreTextThatIsNoNumberAsZero)
{
    struct Case
    {
        const wchar_t* text;
        int stored;
    };
    const Case cases[] = {{L"abc", 0}, {L"", 0}, {L"4096", 4096}, {L"12Kb", 12}};
    for (const Case& c : cases)
    {
        g_COPY_BUFFER_SIZE_FIXED = 5000;
        g_COPY_BUFFER_SIZE_REMOTE = 2000;
        g_ReloadSettings[2] = {1, 9};
        g_ReloadSettings[1] = {0, 1};
        CDrivenSheet sheet;
        std::wstring shown;
        sheet.drive = [&](CDrivenSheet& d) {
            d.ShowPage(5);
            shown = d.PageText(d.m_copyBuffer, IDC_COPY_BUFFER_REMOTE);
            d.SetPageText(d.m_copyBuffer, IDC_COPY_BUFFER_FIXED, c.text);
            d.ShowPage(2);
            d.SetPageText(d.m_reload, IDC_RELOAD_CD_TIME, c.text);
            ::CheckDlgButton(d.m_reload.m_hWnd, IDC_RELOAD_FLOPPY, BST_CHECKED);
            d.Command(IDOK);
        };
        EXPECT_EQ(RunSheet(sheet), IDOK);
        EXPECT_EQ(shown, L"2000");
        EXPECT_EQ(g_COPY_BUFFER_SIZE_FIXED, c.stored) << c.text;
        EXPECT_EQ(g_COPY_BUFFER_SIZE_REMOTE, 2000);
        EXPECT_EQ(g_ReloadSettings[2].ticks, c.stored) << c.text;
        EXPECT_EQ(g_ReloadSettings[2].enable, 1);
        EXPECT_EQ(g_ReloadSettings[1].enable, 1);
    }
}

TEST_F(FilerSettingSheetTest, TheStartUpPageStoresItsRadioGroupAndNumbers)
{
    g_STARTSIZE = 0;
    g_FIRSTWIDE = 640;
    CDrivenSheet sheet;
    sheet.drive = [](CDrivenSheet& d) {
        ::CheckDlgButton(d.m_start.m_hWnd, IDC_START_SIZE_DEFAULT, BST_UNCHECKED);
        ::CheckDlgButton(d.m_start.m_hWnd, IDC_START_SIZE_CLIENT, BST_CHECKED);
        d.SetPageText(d.m_start, IDC_START_WIDTH, L"800");
        d.Command(IDOK);
    };
    EXPECT_EQ(RunSheet(sheet), IDOK);
    EXPECT_EQ(g_STARTSIZE, 5);
    EXPECT_EQ(g_FIRSTWIDE, 800);
}
} // namespace

// The dialog page offers only the rows that have a label; OK stores the ticks of those
// rows and keeps the value of the row it does not offer.
TEST_F(FilerSettingSheetTest, TheDialogPageOffersOnlyLabelledRows)
{
    OtherWindowDialogRow saved[ARRAYSIZE(g_OtherWindowDialogs)];
    std::copy(std::begin(g_OtherWindowDialogs), std::end(g_OtherWindowDialogs), saved);
    for (OtherWindowDialogRow& row : g_OtherWindowDialogs)
        row.flag = row.label == nullptr ? 1 : 0;
    CDrivenSheet sheet;
    std::vector<std::wstring> lines;
    sheet.drive = [&](CDrivenSheet& d) {
        d.ShowPage(4);
        HWND list = ::GetDlgItem(d.m_dialogs.m_hWnd, IDC_DIALOG_OTHER_LIST);
        const int count = int(::SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
        {
            wchar_t text[128] = {};
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.push_back(text);
        }
        CCheckListBox* box = static_cast<CCheckListBox*>(CWnd::FromHandlePermanent(list));
        if (box != nullptr && count > 1)
            box->SetCheck(1, 1);
        d.Command(IDOK);
    };
    EXPECT_EQ(RunSheet(sheet), IDOK);
    std::vector<std::wstring> labelled;
    for (const OtherWindowDialogRow& row : g_OtherWindowDialogs)
        if (row.label != nullptr)
            labelled.push_back(row.label);
    EXPECT_EQ(lines, labelled);
    EXPECT_EQ(g_OtherWindowDialogs[0].flag, 0);
    EXPECT_EQ(g_OtherWindowDialogs[1].flag, 1) << "the second offered row was ticked";
    EXPECT_EQ(g_OtherWindowDialogs[2].flag, 1) << "the row not offered keeps its value";
    std::copy(std::begin(saved), std::end(saved), g_OtherWindowDialogs);
}
