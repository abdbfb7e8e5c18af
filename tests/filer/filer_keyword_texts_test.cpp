// The display texts of the new-file keywords.
#include <gtest/gtest.h>
#include "filer/FilerKeywordTexts.h"
#include "filer/FilerSettings.h"

#include <string>

TEST(FilerKeywordTexts, NewFileKeywordsAreNamedAfterTheirKinds)
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
