// The compare command's file fields: a file directly in the pane's folder is shown
// by its name, anything else by its whole path, also in find results.
#include "view/QvView.h"
#include "view/fileops/CompareAndNewFileCommands.h"

#include "res/SyncDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/view/CommandTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

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
        EXPECT_EQ(std::wstring(c.shown), std::wstring(CompareFieldText(c.prefix, c.path))) << c.path;
}

namespace
{

std::wstring g_fields[2];
bool g_compareShown = false;

// Reads the two file fields of the compare dialog once it shows, then closes it.
void CALLBACK ReadCompareFields(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"バイナリデータの比較", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    wchar_t text[MAX_PATH] = {};
    GetDlgItemTextW(dialog, IDC_CMP_FILE1, text, MAX_PATH);
    g_fields[0] = text;
    GetDlgItemTextW(dialog, IDC_CMP_FILE2, text, MAX_PATH);
    g_fields[1] = text;
    g_compareShown = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

class CompareCommandBench : public commandtest::CommandBench
{
};

// In find results the marked files lie in folders of their own: each field names
// its file where it is, a file of the pane's folder by its bare name.
TEST_F(CompareCommandBench, FindResultsCompareTheFilesWhereTheyAre)
{
    CFilerPane& pane = *m_panes[0];
    pane.m_subMode = PANE_SUB_FIND_RESULTS;
    const std::wstring deep = std::wstring(m_dir) + L"\\deep";
    const std::pair<std::wstring, LPCWSTR> found[] = {{std::wstring(m_dir), L"a.bin"}, {deep, L"b.bin"}};
    for (const auto& f : found)
    {
        WIN32_FIND_DATAW fd = {};
        fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
        wcscpy_s(fd.cFileName, f.second);
        pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, f.first.c_str(), L"", fd, -1);
    }
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        pane.m_entries[i].m_mark = 1;
    pane.m_markedCount = 2;
    g_compareShown = false;
    SetTimer(nullptr, 0, 20, ReadCompareFields);
    View().ExecuteFilerCommand(L"@Cmpbinary");
    ASSERT_TRUE(g_compareShown);
    EXPECT_EQ(g_fields[0], L"a.bin");
    EXPECT_EQ(g_fields[1], deep + L"\\b.bin");
}

} // namespace
