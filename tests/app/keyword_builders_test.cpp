// The display names of the line-width commands and the SCSI keyword stand-in.
#include <gtest/gtest.h>
#include "app/KeywordBuilders.h"

#include <string>

TEST(KeywordBuilders, LineWidthCommandsAreNamedAfterTheViewerChoices)
{
    const int widths[LINE_WIDTH_COMMAND_COUNT] = {40, 80, 100, 132, 1000};
    SetLineWidthCommandNames(widths);
    struct Case
    {
        UINT menuId;
        const wchar_t* name;
    } cases[] = {
        {617, nullptr},
        {618, L"１行の文字数を40文字に設定"},
        {619, L"１行の文字数を80文字に設定"},
        {620, L"１行の文字数を100文字に設定"},
        {621, L"１行の文字数を132文字に設定"},
        {622, L"１行の文字数を1000文字に設定"},
        {623, nullptr},
    };
    for (const Case& c : cases)
    {
        LPCWSTR name = GetLineWidthCommandName(c.menuId);
        if (c.name == nullptr)
            EXPECT_EQ(nullptr, name) << c.menuId;
        else
            EXPECT_EQ(std::wstring(c.name), std::wstring(name ? name : L"(null)")) << c.menuId;
    }
    // A new reading renames them all.
    const int next[LINE_WIDTH_COMMAND_COUNT] = {1, 2, 3, 4, 5};
    SetLineWidthCommandNames(next);
    EXPECT_EQ(std::wstring(L"１行の文字数を5文字に設定"), std::wstring(g_LineWidthCommandNames[4]));
}

TEST(KeywordBuilders, ScsiKeywordsHaveNoTextBeforeTheDeviceListExists)
{
    for (LPCWSTR keyword : {L"@Scsi01", L"@Scsi09", L"@Other"})
    {
        CString out = L"old";
        EXPECT_EQ(0, GetScsiCommandText(keyword, out)) << keyword;
        EXPECT_TRUE(out.IsEmpty()) << keyword;
    }
}
