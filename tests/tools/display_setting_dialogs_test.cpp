// The display and colour settings dialogs driven as a user would: presets stored and
// shown, paging through the extension colours, and what OK and Cancel leave behind.
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/ViewSettings.h"
#include "res/SettingsDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tools/settings/ColorSettingDialogs.h"
#include "tools/settings/DisplaySettingDialogs.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
template <class TDerived, class TDialog> class CDriven : public qvtest::CDrivenDialog<TDerived, TDialog>
{
public:
    using qvtest::CDrivenDialog<TDerived, TDialog>::CDrivenDialog;
    void Choose(int id, int item)
    {
        ::SendDlgItemMessageW(this->m_hWnd, id, CB_SETCURSEL, WPARAM(item), 0);
        this->Command(id, CBN_SELCHANGE);
    }
    void Tick(int id, bool on) { ::CheckDlgButton(this->m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }
    bool Ticked(int id) const { return ::IsDlgButtonChecked(this->m_hWnd, id) == BST_CHECKED; }
    void Type(int id, const wchar_t* text) { ::SetDlgItemTextW(this->m_hWnd, id, text); }
    std::wstring Text(int id) const
    {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(this->m_hWnd, id, text, 512);
        return text;
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(this->m_hWnd, id)) != FALSE; }
};

class CDrivenDispFileDlg : public CDriven<CDrivenDispFileDlg, CDispFileSettingDlg>
{
};
class CDrivenFilerInfoDlg : public CDriven<CDrivenFilerInfoDlg, CDefFilerInfoDlg>
{
public:
    void Select(int preset)
    {
        ::SendDlgItemMessageW(m_hWnd, IDC_FILERINFO_PRESETS, LB_SETCURSEL, WPARAM(preset), 0);
        Command(IDC_FILERINFO_PRESETS, LBN_SELCHANGE);
    }
};
class CDrivenKindColorDlg : public CDriven<CDrivenKindColorDlg, CFileKindColorDlg>
{
};
class CDrivenHeaderDlg : public CDriven<CDrivenHeaderDlg, CHeaderDefDlg>
{
};
class CDrivenDefDisplayDlg : public CDriven<CDrivenDefDisplayDlg, CDefDisplayDlg>
{
};
class CDrivenColorDlg : public CDriven<CDrivenColorDlg, CAttColorDlg>
{
public:
    using CDriven<CDrivenColorDlg, CAttColorDlg>::CDriven;
};

const int kBoxes[] = {IDC_DISPFILE_HIDDEN,    IDC_DISPFILE_SYSTEM,  IDC_DISPFILE_FIRST_DOT,
                      IDC_DISPFILE_READ_ONLY, IDC_DISPFILE_CURRENT, IDC_DISPFILE_PARENT};

BOOL ChooseGreen(HWND, COLORREF& color)
{
    color = RGB(0, 255, 0);
    return TRUE;
}

class DisplaySettingDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
            m_flags[bit] = *g_DisplayFileFlags[bit];
        for (int i = 0; i < kDisplayFilterSlotCount; ++i)
            m_slots[i] = g_DisplayFilterSlots[i];
        for (int i = 0; i < kFilerInfoPresetCount; ++i)
            m_presets[i] = g_FilerInfoPresets[i];
        for (int i = 0; i < kKindColorCount; ++i)
            m_kinds[i] = g_KindColors[i];
        for (int i = 0; i < kHeaderOptionCount; ++i)
            m_header[i] = *g_HeaderOptionRows[i].setting;
        m_ints = {g_FILERINFONUMBER, g_DISP_FILE_KIND_COLOR, g_WRITEHEADERTYPE, g_BATTERY_INFO_ALARM_PERSENT,
                  g_ADD_HEIGHT_ONE_LINE};
        m_colorChooser = g_ColorChooserSeam;
    }
    void TearDown() override
    {
        for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
            *g_DisplayFileFlags[bit] = m_flags[bit];
        for (int i = 0; i < kDisplayFilterSlotCount; ++i)
            g_DisplayFilterSlots[i] = m_slots[i];
        for (int i = 0; i < kFilerInfoPresetCount; ++i)
            g_FilerInfoPresets[i] = m_presets[i];
        for (int i = 0; i < kKindColorCount; ++i)
            g_KindColors[i] = m_kinds[i];
        for (int i = 0; i < kHeaderOptionCount; ++i)
            *g_HeaderOptionRows[i].setting = m_header[i];
        g_FILERINFONUMBER = m_ints[0];
        g_DISP_FILE_KIND_COLOR = m_ints[1];
        g_WRITEHEADERTYPE = m_ints[2];
        g_BATTERY_INFO_ALARM_PERSENT = m_ints[3];
        g_ADD_HEIGHT_ONE_LINE = m_ints[4];
        g_ColorChooserSeam = m_colorChooser;
    }

    ColorChooserSeam m_colorChooser = {};
    int m_flags[kDisplayFileFlagCount] = {};
    int m_slots[kDisplayFilterSlotCount] = {};
    FilerInfoPreset m_presets[kFilerInfoPresetCount];
    KindColorEntry m_kinds[kKindColorCount];
    int m_header[kHeaderOptionCount] = {};
    std::vector<int> m_ints;
};

TEST_F(DisplaySettingDialogsTest, DisplayFilePresetsStoreSettingValuesAndOkTakesTheBoxes)
{
    // Hidden and read-only files shown, "." hidden, ".." shown.
    const int current[] = {1, 0, 0, 1, 1, 0};
    for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
        *g_DisplayFileFlags[bit] = current[bit];
    for (int i = 0; i < kDisplayFilterSlotCount; ++i)
        g_DisplayFilterSlots[i] = 0;
    g_DisplayFilterSlots[1] = 0x3c; // dot and read-only shown, both "." and ".." hidden

    CDialogAnswerScript script;
    script.Add(IDOK);
    CDrivenDispFileDlg dialog;
    std::vector<bool> shownCurrent, shownSecond;
    dialog.drive = [&](CDrivenDispFileDlg& d) {
        for (int id : kBoxes)
            shownCurrent.push_back(d.Ticked(id));
        // "設定" with "現在値" selected changes nothing and says nothing.
        d.Command(IDC_DISPFILE_STORE);
        d.Choose(IDC_DISPFILE_GROUP, 2);
        for (int id : kBoxes)
            shownSecond.push_back(d.Ticked(id));
        // The third preset: hidden and system files ticked, every other box not.
        d.Choose(IDC_DISPFILE_GROUP, 3);
        for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
            d.Tick(kBoxes[bit], bit < 2);
        d.Command(IDC_DISPFILE_STORE);
        d.Command(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shownCurrent, (std::vector<bool>{true, false, false, true, false, true}));
    EXPECT_EQ(shownSecond, (std::vector<bool>{false, false, true, true, false, false}));
    EXPECT_EQ(g_DisplayFilterSlots[2], 0x33);
    EXPECT_EQ(g_DisplayFilterSlots[0], 0);
    EXPECT_EQ(g_DisplayFilterSlots[1], 0x3c);
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_STREQ(script.GetQuestions()[0].text, L"設定が完了しました");
    EXPECT_STREQ(script.GetQuestions()[0].caption, L"完了");
    // OK takes the boxes as they stand, whatever entry is selected.
    EXPECT_EQ(CurrentDisplayFileMask(), 0x33);
}

TEST_F(DisplaySettingDialogsTest, FilerInfoPresetsKeepEditsAcrossSelectionsOnlyOnOk)
{
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
        g_FilerInfoPresets[i] = FilerInfoPreset();
    g_FilerInfoPresets[3] = {1, 1, 0, 1, 0};
    g_FILERINFONUMBER = 3;
    for (const bool ok : {false, true})
    {
        CDrivenFilerInfoDlg dialog;
        bool dateShown = false;
        dialog.drive = [&](CDrivenFilerInfoDlg& d) {
            dateShown = d.Ticked(IDC_FILERINFO_DATE);
            d.Tick(IDC_FILERINFO_ATTRIBUTES, true);
            d.Select(1);
            d.Tick(IDC_FILERINFO_NO_SECONDS, true);
            d.Select(3);
            d.Select(1);
            d.Command(ok ? IDOK : IDCANCEL);
        };
        dialog.DoModal();
        EXPECT_TRUE(dateShown);
        if (!ok)
        {
            EXPECT_EQ(g_FILERINFONUMBER, 3);
            EXPECT_EQ(g_FilerInfoPresets[3].attributes, 0);
            EXPECT_EQ(g_FilerInfoPresets[1].noSeconds, 0);
            continue;
        }
        EXPECT_EQ(g_FILERINFONUMBER, 1);
        const FilerInfoPreset& third = g_FilerInfoPresets[3];
        EXPECT_EQ((std::vector<int>{third.date, third.time, third.noSeconds, third.size, third.attributes}),
                  (std::vector<int>{1, 1, 0, 1, 1}));
        EXPECT_EQ(g_FilerInfoPresets[1].noSeconds, 1);
        EXPECT_EQ(g_FilerInfoPresets[1].date, 0);
    }
}

TEST_F(DisplaySettingDialogsTest, ExtensionColoursPageToTheLastTenAndKeepEditsOfEveryPageOnOk)
{
    for (int i = 0; i < kKindColorCount; ++i)
        g_KindColors[i] = KindColorEntry();
    g_KindColors[95].m_extensions = L"*.old";
    g_DISP_FILE_KIND_COLOR = 0;
    g_ColorChooserSeam.chooseColor = ChooseGreen;
    for (const bool ok : {false, true})
    {
        CDrivenKindColorDlg dialog;
        std::vector<int> firsts;
        bool beforeAtStart = true, nextAtEnd = true, beforeAtEnd = false;
        std::wstring shownOld;
        dialog.drive = [&](CDrivenKindColorDlg& d) {
            beforeAtStart = d.Enabled(IDC_KINDCOLOR_BEFORE);
            for (int page = 0; page < 9; ++page)
            {
                d.Type(IDC_KINDCOLOR_NAME0 + page % 10, (L"*.p" + std::to_wstring(page)).c_str());
                d.Command(IDC_KINDCOLOR_NEXT);
                firsts.push_back(d.FirstShown());
            }
            nextAtEnd = d.Enabled(IDC_KINDCOLOR_NEXT);
            beforeAtEnd = d.Enabled(IDC_KINDCOLOR_BEFORE);
            shownOld = d.Text(IDC_KINDCOLOR_NAME0 + 5);
            d.Command(IDC_KINDCOLOR_BUTTON0 + 9); // entry 99 turns green
            d.Command(IDC_KINDCOLOR_BEFORE);
            d.Tick(IDC_KINDCOLOR_USE, true);
            d.Command(ok ? IDOK : IDCANCEL);
        };
        dialog.DoModal();
        EXPECT_FALSE(beforeAtStart);
        EXPECT_EQ(firsts, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
        EXPECT_FALSE(nextAtEnd);
        EXPECT_TRUE(beforeAtEnd);
        EXPECT_EQ(shownOld, L"*.old");
        if (!ok)
        {
            EXPECT_STREQ(g_KindColors[0].m_extensions, L"");
            EXPECT_EQ(g_KindColors[99].m_color, 0u);
            EXPECT_EQ(g_DISP_FILE_KIND_COLOR, 0);
            continue;
        }
        for (int page = 0; page < 9; ++page)
            EXPECT_STREQ(g_KindColors[page * 10 + page].m_extensions,
                         (L"*.p" + std::to_wstring(page)).c_str());
        EXPECT_EQ(g_KindColors[99].m_color, DWORD(RGB(0, 255, 0)));
        EXPECT_STREQ(g_KindColors[95].m_extensions, L"*.old");
        EXPECT_EQ(g_DISP_FILE_KIND_COLOR, 1);
    }
}

TEST_F(DisplaySettingDialogsTest, HeaderTypeDescribesItselfAndOkStoresTicksTypeAndPercentage)
{
    g_WRITEHEADERTYPE = 1;
    for (int i = 0; i < kHeaderOptionCount; ++i)
        *g_HeaderOptionRows[i].setting = i % 2;
    struct Case
    {
        const wchar_t* percent;
        int stored;
    } cases[] = {{L"25", 25}, {L"x", 0}};
    for (const Case& c : cases)
    {
        CDrivenHeaderDlg dialog;
        std::wstring typeOne, typeZero;
        std::vector<int> ticks;
        dialog.drive = [&](CDrivenHeaderDlg& d) {
            typeOne = d.Text(IDC_HEADER_DESCRIPTION);
            d.Choose(IDC_HEADER_TYPE, 0);
            typeZero = d.Text(IDC_HEADER_DESCRIPTION);
            for (int i = 0; i < kHeaderOptionCount; ++i)
            {
                ticks.push_back(d.Options().GetCheck(i));
                d.Options().SetCheck(i, 1);
            }
            d.Type(IDC_HEADER_BATTERY_ALARM, c.percent);
            d.Command(IDOK);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(typeOne, L"通常タイプ\n  ボリューム情報\n  パス名\n  ファイル情報\n  ファイル属性");
        EXPECT_EQ(typeZero, L"Header無し");
        EXPECT_EQ(g_WRITEHEADERTYPE, 0);
        EXPECT_EQ(g_BATTERY_INFO_ALARM_PERSENT, c.stored);
        for (int i = 0; i < kHeaderOptionCount; ++i)
            EXPECT_EQ(*g_HeaderOptionRows[i].setting, 1) << i;
        g_WRITEHEADERTYPE = 1;
        for (int i = 0; i < kHeaderOptionCount; ++i)
            *g_HeaderOptionRows[i].setting = i % 2;
        if (&c == &cases[0])
            for (int i = 0; i < kHeaderOptionCount; ++i)
                EXPECT_EQ(ticks[size_t(i)], i % 2) << i;
    }
}

TEST_F(DisplaySettingDialogsTest, LineHeightAndColoursAreWrittenOnlyOnOk)
{
    struct Case
    {
        const wchar_t* text;
        int button;
        int stored;
    } cases[] = {{L"4", IDOK, 4}, {L"abc", IDOK, 0}, {L"9", IDCANCEL, 7}};
    for (const Case& c : cases)
    {
        g_ADD_HEIGHT_ONE_LINE = 7;
        CDrivenDefDisplayDlg dialog;
        std::wstring shown;
        dialog.drive = [&](CDrivenDefDisplayDlg& d) {
            shown = d.Text(IDC_DEFDISP_ADD_HEIGHT);
            d.Type(IDC_DEFDISP_ADD_HEIGHT, c.text);
            d.Command(c.button);
        };
        dialog.DoModal();
        EXPECT_EQ(shown, L"7");
        EXPECT_EQ(g_ADD_HEIGHT_ONE_LINE, c.stored) << c.text;
    }

    g_ColorChooserSeam.chooseColor = ChooseGreen;
    for (const bool ok : {false, true})
    {
        CAttColorDlg::ColorSet colors{};
        for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
            colors[size_t(i)] = DWORD(i);
        int neglect = 0;
        CDrivenColorDlg dialog(colors, neglect);
        COLORREF shownTag = 0;
        dialog.drive = [&](CDrivenColorDlg& d) {
            shownTag = d.Button(11).m_color;
            d.Command(IDC_COLOR_TAG);
            d.Tick(IDC_COLOR_NEGLECT_ATTRIBUTE, true);
            d.Command(ok ? IDOK : IDCANCEL);
        };
        dialog.DoModal();
        EXPECT_EQ(shownTag, COLORREF(COLOR_TAG));
        EXPECT_EQ(colors[COLOR_TAG], ok ? DWORD(RGB(0, 255, 0)) : DWORD(COLOR_TAG));
        EXPECT_EQ(colors[COLOR_LINE], DWORD(COLOR_LINE));
        EXPECT_EQ(colors[COLOR_PREVIEW_BACK], DWORD(COLOR_PREVIEW_BACK));
        EXPECT_EQ(neglect, ok ? 1 : 0);
    }
}
} // namespace
