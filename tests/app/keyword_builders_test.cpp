// The display names of the new-file and line-width commands and the SCSI keyword stand-in.
#include <gtest/gtest.h>
#include "app/KeywordBuilders.h"
#include "app/settings/FilerSettings.h"

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

TEST(KeywordBuilders, NewFileKeywordsAreNamedAfterTheirKinds)
{
    CArray<CMakeNewFile> saved;
    saved.Copy(g_MakeNewFileKinds);
    g_MakeNewFileKinds.RemoveAll();
    for (LPCWSTR name : {L"Text", L"", L"HTML文書"})
    {
        CMakeNewFile kind;
        kind.m_displayName = name;
        g_MakeNewFileKinds.Add(kind);
    }
    struct Case
    {
        LPCWSTR keyword;
        int result;
        const wchar_t* text;
    } cases[] = {
        {L"@Makenewfile01", 1, L"新規Text作成"},
        {L"@Makenewfile02", 1, L"新規ファイル作成02"},
        {L"@Makenewfile03", 1, L"新規HTML文書作成"},
        {L"@Makenewfile04", 0, nullptr},
        {L"@Makenewfile00", 0, nullptr},
        {L"@Makenewfile1", 0, nullptr},
        {L"@Makenewfile001", 0, nullptr},
        {L"@Makenewfile0x", 0, nullptr},
        {L"@Makenewfile-1", 0, nullptr},
        {L"@Makenewfile", 0, nullptr},
        {L"@makenewfile01", 0, nullptr},
        {L"@Makenewfile99999999999999999999", 0, nullptr},
        {nullptr, 0, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.keyword ? c.keyword : L"(null)");
        CString out = L"unchanged";
        EXPECT_EQ(c.result, GetMakeNewFileCommandText(c.keyword, out));
        EXPECT_EQ(std::wstring(c.text ? c.text : L"unchanged"), std::wstring(out));
    }

    // Past 99 kinds the number takes three digits.
    while (g_MakeNewFileKinds.GetSize() < 100)
        g_MakeNewFileKinds.Add(CMakeNewFile());
    CString out;
    EXPECT_EQ(1, GetMakeNewFileCommandText(L"@Makenewfile100", out));
    EXPECT_EQ(std::wstring(L"新規ファイル作成100"), std::wstring(out));

    g_MakeNewFileKinds.Copy(saved);
}
