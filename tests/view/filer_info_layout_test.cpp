// The filer's column layouts: "@Changefilerinfo" steps through the five and comes back;
// each layout's menu text names what it adds to the name.
#include "tests/view/CommandTestSupport.h"

#include "app/settings/ViewSettings.h"
#include "view/menus/FilerInfoItems.h"

#include <string>

namespace
{

class FilerInfoLayout : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_FILERINFONUMBER, 2);
        m_saved = g_FilerInfoPresets[0];
    }
    void TearDown() override
    {
        g_FilerInfoPresets[0] = m_saved;
        CommandBench::TearDown();
    }
    FilerInfoPreset m_saved;
};

TEST_F(FilerInfoLayout, FivePressesComeBackToTheStartingLayout)
{
    const int expected[] = {3, 4, 0, 1, 2};
    for (int step : expected)
    {
        View().ExecuteFilerCommand(L"@Changefilerinfo");
        EXPECT_EQ(g_FILERINFONUMBER, step);
    }
}

TEST_F(FilerInfoLayout, TheMenuTextNamesWhatTheLayoutAdds)
{
    struct Case
    {
        FilerInfoPreset preset;
        const wchar_t* text;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, L"名前"},
        {{1, 1, 0, 1, 1}, L"名前+日付+時間+サイズ+属性"},
        {{0, 1, 1, 0, 0}, L"名前+時間(秒非表示)"},
        {{1, 0, 1, 1, 0}, L"名前+日付+サイズ"}, // no time: the seconds flag says nothing
    };
    for (const Case& c : cases)
    {
        g_FilerInfoPresets[0] = c.preset;
        EXPECT_EQ(std::wstring(FormatFilerInfoItemText(0)), std::wstring(c.text));
    }
}

} // namespace
