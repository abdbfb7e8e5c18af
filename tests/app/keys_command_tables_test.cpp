// The command tables: their rows and categories as listed, the lookups by menu id
// and keyword, and the display names that follow the settings read.
#include "app/KeywordBuilders.h"
#include "app/keys/CommandTables.h"
#include "app/settings/FilerSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

std::string Narrow(LPCWSTR text)
{
    std::string out;
    for (; *text; ++text)
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

TEST(CommandTables, RowCountsAndCategoriesAsListed)
{
    struct Case
    {
        int family;
        int rows;
        std::vector<int> categories;
    } cases[] = {
        {COMMAND_FAMILY_FILER, 292, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {COMMAND_FAMILY_VIEWER, 114, {4, 5, 6, 8, 9, 11}},
        {COMMAND_FAMILY_GRAPHIC, 106, {4, 5, 6, 8, 9, 11}},
        {COMMAND_FAMILY_BINARY, 117, {4, 5, 6, 7, 8, 9, 11, 12, 13}},
        {COMMAND_FAMILY_COMMON, 40, {4, 5, 9}},
    };
    for (const Case& c : cases)
    {
        int count = 0;
        const CommandTableRow* rows = GetCommandTable(c.family, &count);
        ASSERT_EQ(count, c.rows);
        std::vector<int> seen;
        int common = 0;
        for (int i = 0; i < count; ++i)
        {
            EXPECT_EQ(rows[i].keyword[0], L'@');
            EXPECT_NE(rows[i].displayName[0], 0) << Narrow(rows[i].keyword);
            if (std::find(seen.begin(), seen.end(), rows[i].category) == seen.end())
                seen.push_back(rows[i].category);
            common += rows[i].common;
        }
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, c.categories);
        EXPECT_EQ(common, c.family == COMMAND_FAMILY_COMMON ? 38 : 0);
    }
    EXPECT_EQ(FindCommandRowByMenuId(COMMAND_FAMILY_FILER, 57665),
              FindCommandRowByKeyword(COMMAND_FAMILY_FILER, L"@Quit"));
    EXPECT_EQ(FindCommandRowByMenuId(COMMAND_FAMILY_FILER, 6119)->keyword, std::wstring(L"@Makenewfile20"));
}

TEST(CommandTables, NumberedRowsAreNamedAfterWhatWasRead)
{
    CString savedNames[LINE_WIDTH_COMMAND_COUNT];
    for (int i = 0; i < LINE_WIDTH_COMMAND_COUNT; ++i)
        savedNames[i] = g_LineWidthCommandNames[i];
    CArray<CMakeNewFile> savedKinds;
    savedKinds.Copy(g_MakeNewFileKinds);

    const int widths[LINE_WIDTH_COMMAND_COUNT] = {40, 60, 80, 100, 120};
    SetLineWidthCommandNames(widths);
    g_MakeNewFileKinds.RemoveAll();
    CMakeNewFile kind;
    kind.m_extension = L"txt";
    kind.m_displayName = L"テキスト文書";
    g_MakeNewFileKinds.Add(kind);

    struct Case
    {
        int family;
        LPCWSTR keyword;
        LPCWSTR name;
    } cases[] = {
        {COMMAND_FAMILY_VIEWER, L"@Lineword2", L"１行の文字数を60文字に設定"},
        {COMMAND_FAMILY_FILER, L"@Makenewfile01", L"新規テキスト文書作成"},
        // Beyond the kinds the fixed name stands.
        {COMMAND_FAMILY_FILER, L"@Makenewfile02", L"新規ファイル作成2"},
        {COMMAND_FAMILY_FILER, L"@Quit", L"Quarvelの終了"},
        {COMMAND_FAMILY_BINARY, L"@Quit", L"Quarvel終了"},
    };
    for (const Case& c : cases)
    {
        const CommandTableRow* row = FindCommandRowByKeyword(c.family, c.keyword);
        ASSERT_NE(row, nullptr) << Narrow(c.keyword);
        EXPECT_EQ(std::wstring(GetCommandDisplayName(*row).GetString()), c.name) << Narrow(c.keyword);
    }
    EXPECT_EQ(FindCommandRowByKeyword(COMMAND_FAMILY_FILER, L"@makenewfile01"),
              FindCommandRowByKeyword(COMMAND_FAMILY_FILER, L"@Makenewfile01"))
        << "the dialogs search without case";

    g_MakeNewFileKinds.Copy(savedKinds);
    for (int i = 0; i < LINE_WIDTH_COMMAND_COUNT; ++i)
        g_LineWidthCommandNames[i] = savedNames[i];
}

} // namespace
