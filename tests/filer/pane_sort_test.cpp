// The pane's sort: which setting applies, the dot count and the network rows.
#include "filer/FilerPane.h"
#include "tests/common/TestSupport.h"
#include "tests/filer/FilerTestData.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using filertest::Names;

namespace
{

CSortSetting Setting(int fileKey, int fileOrder)
{
    CSortSetting s;
    ResetSortSetting(s);
    s.m_fileKey = fileKey;
    s.m_secondKey = 0;
    s.m_directoryKey = 1;
    s.m_directoryOrder = 0;
    s.m_fileOrder = fileOrder;
    s.m_mixDirectories = 0;
    return s;
}

std::vector<std::wstring> FileNames(const CArrayFileInfo& entries)
{
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        if (!entries[i].IsDirectory())
            names.push_back(entries[i].GetName());
    return names;
}

TEST(PaneSort, WorkingSettingLastsUntilTheNextChangeOfDirectory)
{
    std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\a.txt", "1"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\b.txt", std::string(100, 'x')));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\sub").c_str(), nullptr));

    CFilerPane pane(0);
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.m_sortSetting = Setting(SORT_KEY_NAME, 0);
    pane.ChangeDirectory(dir.c_str(), 0, FALSE, FALSE);
    EXPECT_EQ(FileNames(pane.m_entries), (std::vector<std::wstring>{L"a.txt", L"b.txt"}));

    pane.m_workingSort = Setting(SORT_KEY_SIZE, 0);
    pane.SortEntries();
    EXPECT_EQ(FileNames(pane.m_entries), (std::vector<std::wstring>{L"b.txt", L"a.txt"}));
    EXPECT_EQ(pane.m_dotCount, 2);
    EXPECT_STREQ(pane.m_entries[0].GetName(), L".");
    EXPECT_STREQ(pane.m_entries[1].GetName(), L"..");
    EXPECT_STREQ(pane.m_entries[2].GetName(), L"sub");

    pane.ChangeDirectory(dir.c_str(), 0, FALSE, FALSE);
    EXPECT_FALSE(pane.m_workingSort.IsSet());
    EXPECT_EQ(FileNames(pane.m_entries), (std::vector<std::wstring>{L"a.txt", L"b.txt"}));
}

TEST(PaneSort, NetworkRowsByNameKeepParentFirstAndEmptyRowLast)
{
    CFilerPane pane(0);
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_NETWORK, 0);
    for (LPCWSTR name : {L"..", L"zeta", L"", L"Alpha", L"mid", L""})
    {
        CNetResourceData row;
        row.m_name = name;
        pane.m_networkList.Add(row);
    }
    pane.SortEntries();
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < pane.m_networkList.GetSize(); ++i)
        names.push_back(static_cast<LPCWSTR>(pane.m_networkList[i].m_name));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"..", L"", L"Alpha", L"mid", L"zeta", L""}));
    EXPECT_EQ(pane.m_dotCount, 0);
}

} // namespace
