// The compare command's file fields: a file directly in the pane's folder is shown
// by its name, anything else by its whole path.
#include "view/QvView.h"

#include <gtest/gtest.h>
#include <string>

TEST(CompareCommand, FieldShowsBareNamesOnlyDirectlyInTheFolder)
{
    struct Case
    {
        LPCWSTR prefix, path, shown;
    } cases[] = {
        {L"C:\\data\\", L"C:\\data\\a.bin", L"a.bin"},
        {L"C:\\data\\", L"c:\\DATA\\a.bin", L"a.bin"},
        {L"C:\\data\\", L"C:\\data\\sub\\a.bin", L"C:\\data\\sub\\a.bin"},
        {L"C:\\data\\", L"C:\\other\\a.bin", L"C:\\other\\a.bin"},
        {L"", L"C:\\data\\a.bin", L"C:\\data\\a.bin"},
        {L"C:\\data\\", L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.shown), std::wstring(CQvView::CompareFieldText(c.prefix, c.path))) << c.path;
}
