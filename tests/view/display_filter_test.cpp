// The display filter keys: each flips one filter and the panes list again under it;
// a preset sets all six filters at once; neither acts outside a listing pane.
#include "tests/view/CommandTestSupport.h"

#include "app/settings/ViewSettings.h"
#include "tests/common/TestHelpers.h"

#include <string>
#include <vector>

namespace
{

class DisplayFilter : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        for (int* setting :
             {&g_HIDDENVIEWFLAG, &g_DISP_SYSTEM_FILE, &g_DISP_FIRST_DOT_FILE, &g_DISP_READ_ONLY_FILE})
            Set(*setting, 1);
        Set(g_NOTVIEWCURRENTDIR, 1);
        Set(g_NOTVIEWUPDIR, 0);
        for (int slot = 0; slot < kDisplayFilterSlotCount; ++slot)
            m_savedSlots[slot] = g_DisplayFilterSlots[slot];
        qvtest::WriteFileBytes(std::wstring(m_dir + L"\\plain.txt"), "x");
        qvtest::WriteFileBytes(std::wstring(m_dir + L"\\.dot"), "x");
        m_readOnly = m_dir + L"\\ro.txt";
        qvtest::WriteFileBytes(std::wstring(m_readOnly), "x");
        SetFileAttributesW(m_readOnly, FILE_ATTRIBUTE_READONLY);
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    }
    void TearDown() override
    {
        SetFileAttributesW(m_readOnly, FILE_ATTRIBUTE_NORMAL);
        for (int slot = 0; slot < kDisplayFilterSlotCount; ++slot)
            g_DisplayFilterSlots[slot] = m_savedSlots[slot];
        CommandBench::TearDown();
    }
    bool Listed(LPCWSTR name) const
    {
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            if (CString(m_panes[0]->m_entries[i].GetName()) == name)
                return true;
        return false;
    }

    CString m_readOnly;
    int m_savedSlots[kDisplayFilterSlotCount] = {};
};

TEST_F(DisplayFilter, EachKeyFlipsItsFilterAndTheListFollowsBothWays)
{
    struct Case
    {
        LPCWSTR keyword;
        int* setting;
        LPCWSTR hiddenName; // the entry the flipped filter takes away
    };
    const Case cases[] = {
        {L"@ChangeDispFirstDotFile", &g_DISP_FIRST_DOT_FILE, L".dot"},
        {L"@ChangeDispReadOnlyFile", &g_DISP_READ_ONLY_FILE, L"ro.txt"},
        {L"@ChangeDispSystemFile", &g_DISP_SYSTEM_FILE, nullptr},
        {L"@ChangeDispHiddenFile", &g_HIDDENVIEWFLAG, nullptr},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(Listed(L"plain.txt"));
        EXPECT_EQ(View().ExecuteFilerCommand(c.keyword), 1) << c.keyword;
        EXPECT_EQ(*c.setting, 0) << c.keyword;
        EXPECT_TRUE(Listed(L"plain.txt")) << c.keyword;
        if (c.hiddenName)
        {
            EXPECT_FALSE(Listed(c.hiddenName)) << c.keyword;
        }
        View().ExecuteFilerCommand(c.keyword);
        EXPECT_EQ(*c.setting, 1) << c.keyword;
        if (c.hiddenName)
        {
            EXPECT_TRUE(Listed(c.hiddenName)) << c.keyword;
        }
    }
}

TEST_F(DisplayFilter, APresetSetsAllSixFiltersFromItsBitsAndListsAgain)
{
    g_DisplayFilterSlots[2] = DISP_FILTER_HIDDEN | DISP_FILTER_SYSTEM | DISP_FILTER_NO_PARENT;
    EXPECT_EQ(View().ExecuteFilerCommand(L"@SelectDispFileSetting3"), 1);
    std::vector<int> got = {g_HIDDENVIEWFLAG,      g_DISP_SYSTEM_FILE,  g_DISP_FIRST_DOT_FILE,
                            g_DISP_READ_ONLY_FILE, g_NOTVIEWCURRENTDIR, g_NOTVIEWUPDIR};
    EXPECT_EQ(got, (std::vector<int>{1, 1, 0, 0, 0, 1}));
    EXPECT_TRUE(Listed(L"plain.txt"));
    EXPECT_FALSE(Listed(L".dot"));
    EXPECT_FALSE(Listed(L"ro.txt"));
    EXPECT_FALSE(Listed(L".."));
}

TEST_F(DisplayFilter, NothingFlipsWithoutAListingPaneActive)
{
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    View().ExecuteFilerCommand(L"@ChangeDispHiddenFile");
    EXPECT_EQ(g_HIDDENVIEWFLAG, 1);
}

} // namespace
