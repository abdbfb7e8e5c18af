// The key table: the 89 keys in their fixed order and the default bindings per mode,
// and the category lists of the binding dialogs.
#include "app/keys/KeyCategories.h"
#include "app/keys/KeyTable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

enum Mode
{
    FILER,
    VIEWER,
    GRAPHIC,
    BINARY
};

std::wstring Default(const KeyTableRow& row, Mode mode, int modifier)
{
    switch (mode)
    {
    case FILER:
        return row.filerDefaults[modifier];
    case VIEWER:
        return row.viewerDefaults[modifier];
    case GRAPHIC:
        return row.graphicDefaults[modifier];
    case BINARY:
        return row.binaryDefaults[modifier];
    }
    return L"?";
}

const KeyTableRow* FindRow(const wchar_t* name)
{
    for (const KeyTableRow& row : g_KeyTable)
    {
        if (std::wstring(row.keyName) == name)
            return &row;
    }
    return nullptr;
}

TEST(KeyTable, HoldsTheEightyNineKeysInOrder)
{
    std::vector<std::wstring> expected;
    for (wchar_t c = L'A'; c <= L'Z'; ++c)
        expected.push_back(std::wstring(1, c));
    for (const wchar_t* name : {L"1", L"2",  L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"0", L"-",
                                L"^", L"\\", L"@", L"[", L";", L":", L"]", L"(", L".", L"/"})
        expected.push_back(name);
    for (int f = 1; f <= 12; ++f)
        expected.push_back(L"F" + std::to_wstring(f));
    for (const wchar_t* name : {L"TAB", L"SPACE", L"UP", L"LEFT", L"RIGHT", L"DOWN", L"DELETE", L"INSERT"})
        expected.push_back(name);
    for (int d = 0; d <= 9; ++d)
        expected.push_back(std::to_wstring(d) + L"(TENKEY)");
    for (const wchar_t* name : {L"+(TENKEY)", L"*(TENKEY)", L"-(TENKEY)", L".(TENKEY)", L"/(TENKEY)", L"BACK",
                                L"HOME", L"END", L"ROLLUP", L"ROLLDOWN", L"ESCAPE", L"PAUSE"})
        expected.push_back(name);
    ASSERT_EQ(89u, expected.size());
    ASSERT_EQ(89u, sizeof(g_KeyTable) / sizeof(g_KeyTable[0]));
    for (int i = 0; i < KEY_TABLE_ROW_COUNT; ++i)
        EXPECT_EQ(expected[i], g_KeyTable[i].keyName) << "row " << i;
}

TEST(KeyTable, VirtualKeyCodes)
{
    const struct
    {
        const wchar_t* name;
        UINT32 vk;
    } cases[] = {{L"A", 0x41},         {L"Z", 0x5A},         {L"0", 0x30},      {L"(", 0xBC},
                 {L"\\", 0xDC},        {L"F12", 0x7B},       {L"LEFT", 0x25},   {L"0(TENKEY)", 0x60},
                 {L"+(TENKEY)", 0x6B}, {L"*(TENKEY)", 0x6A}, {L"ROLLUP", 0x21}, {L"PAUSE", 0x13}};
    for (const auto& c : cases)
    {
        const KeyTableRow* row = FindRow(c.name);
        ASSERT_NE(nullptr, row) << c.name;
        EXPECT_EQ(c.vk, row->virtualKey) << c.name;
    }
    for (int i = 0; i < KEY_TABLE_ROW_COUNT; ++i)
        for (int j = i + 1; j < KEY_TABLE_ROW_COUNT; ++j)
            EXPECT_NE(g_KeyTable[i].virtualKey, g_KeyTable[j].virtualKey) << i << " " << j;
}

TEST(KeyTable, DefaultSpotChecks)
{
    const struct
    {
        const wchar_t* key;
        Mode mode;
        int modifier;
        const wchar_t* text;
    } cases[] = {
        {L"C", FILER, 0, L"@Copy"},
        {L"C", FILER, 2, L"@Toclipfiles"},
        {L"G", FILER, 1, L"@GraphicviewB"},
        {L"H", FILER, 0, L""},
        {L"9(TENKEY)", FILER, 0, L"@LogI"},
        {L"BACK", FILER, 0, L"@Updirectory"},
        {L"A", VIEWER, 2, L"@Viewallselect"},
        {L"HOME", VIEWER, 1, L"@Selectfirstline"},
        {L"F5", VIEWER, 0, L"@ReloadFile"},
        {L"B", GRAPHIC, 1, L"@10Before"},
        {L"-(TENKEY)", GRAPHIC, 2, L"@Zoomout"},
        {L"ESCAPE", GRAPHIC, 0, L"@Exitgraphic"},
        {L"0", BINARY, 0, L"@Input0"},
        {L"0(TENKEY)", BINARY, 0, L"@Input0"},
        {L"A", BINARY, 2, L"@AllSelect"},
        {L"ROLLDOWN", BINARY, 1, L"@Selectnextpage"},
        {L"ESCAPE", BINARY, 0, L"@Binaryeditend"},
    };
    for (const auto& c : cases)
    {
        const KeyTableRow* row = FindRow(c.key);
        ASSERT_NE(nullptr, row) << c.key;
        EXPECT_EQ(std::wstring(c.text), Default(*row, c.mode, c.modifier)) << c.key << " " << c.mode;
    }
}

// How many keys carry a default per mode and modifier: a dropped or misplaced cell
// shows here even where the spot checks do not look. No default uses Alt.
TEST(KeyTable, DefaultCountsPerModeAndModifier)
{
    const struct
    {
        Mode mode;
        int counts[KEY_MODIFIER_COUNT];
    } cases[] = {
        {FILER, {43, 9, 4, 0}}, {VIEWER, {15, 9, 6, 0}}, {GRAPHIC, {9, 7, 2, 0}}, {BINARY, {38, 9, 6, 0}}};
    for (const auto& c : cases)
    {
        for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
        {
            int count = 0;
            for (const KeyTableRow& row : g_KeyTable)
            {
                std::wstring text = Default(row, c.mode, modifier);
                if (!text.empty())
                {
                    ++count;
                    EXPECT_EQ(L'@', text[0]) << row.keyName;
                }
            }
            EXPECT_EQ(c.counts[modifier], count) << "mode " << c.mode << " modifier " << modifier;
        }
    }
}

TEST(KeyCategories, ListsInDisplayOrder)
{
    std::vector<int> filer;
    for (const CommandCategoryRow& row : g_FilerCategories)
        filer.push_back(row.category);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14}), filer);
    EXPECT_EQ(std::wstring(L"その他(ファイル実行など)"), g_FilerCategories[11].name);
    EXPECT_EQ(std::wstring(L"カーソル"), g_FilerCategories[7].name);
    EXPECT_EQ(7, g_BinaryCategories[1].category);
    EXPECT_EQ(std::wstring(L"カーソル操作"), g_BinaryCategories[1].name);
    EXPECT_EQ(11, g_GraphicCategories[0].category);
    EXPECT_EQ(std::wstring(L"標準操作"), g_ViewerCategories[0].name);
    EXPECT_EQ(9, g_CommonCategories[3].category);
    EXPECT_EQ(std::wstring(L"オン"), g_ImeControlChoices[2]);
}

} // namespace
