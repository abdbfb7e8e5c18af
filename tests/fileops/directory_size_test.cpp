// The directory-size count over files, folders, links and link cycles, and its
// dialog: the continuous survey's keys and a stop while the worker writes.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/keys/KeyBindings.h"
#include "fileops/dirsize/DirectorySize.h"
#include "filer/FilerPane.h"
#include "res/DeleteDialogs.h"
#include "tests/common/TestHelpers.h"
#include "tests/fileops/FileOpsTestData.h"

#include <memory>

using fileopstest::DiskEntry;
using fileopstest::MakeTree;

namespace
{

class DirectorySizeTest : public qvtest::ScratchFolderTest
{
protected:
    DirectorySizeTotals Count(const std::vector<std::wstring>& names)
    {
        CArrayFileInfo entries;
        for (const auto& name : names)
            entries.AddEntry(DiskEntry(dir, name));
        CCalDirectoryThread worker;
        EXPECT_TRUE(worker.CountSelection(entries));
        return worker.m_totals;
    }
};

} // namespace

TEST_F(DirectorySizeTest, TotalsOfFilesFoldersAndMarkedEntries)
{
    MakeTree(dir, {L"f.txt", L"empty\\", L"t\\", L"t\\a", L"t\\s\\", L"t\\s\\b", L"t\\s\\.hidden"});
    qvtest::WriteFileBytes(P(L"f.txt"), std::string(1234, 'x'));
    struct Case
    {
        std::vector<std::wstring> names;
        int directories, files;
        ULONGLONG bytes;
    } cases[] = {
        {{L"f.txt"}, 0, 1, 1234},
        {{L"empty"}, 1, 0, 0},
        {{L"t"}, 2, 3, 12},
        {{L"f.txt", L"empty", L"t"}, 3, 4, 1246},
    };
    for (const auto& c : cases)
    {
        const DirectorySizeTotals totals = Count(c.names);
        EXPECT_EQ(c.directories, totals.directories) << c.names.size();
        EXPECT_EQ(c.files, totals.files) << c.names.size();
        EXPECT_EQ(c.bytes, totals.bytes) << c.names.size();
    }
}

TEST_F(DirectorySizeTest, LinkedFolderIsWalkedAndALinkCycleEnds)
{
    MakeTree(dir, {L"target\\", L"target\\x", L"t\\", L"t\\a"});
    if (!fileopstest::MakeFolderLink(P(L"t\\link"), P(L"target")) ||
        !fileopstest::MakeFolderLink(P(L"t\\loop"), P(L"t")))
        GTEST_SKIP() << "no host link";
    // t, its link to target (walked: x counted) and the loop back to t (counted, not
    // entered again).
    const DirectorySizeTotals totals = Count({L"t"});
    EXPECT_EQ(3, totals.directories);
    EXPECT_EQ(2, totals.files);
}

namespace
{

class CTestDirectorySizeDlg : public CDirectorySizeDlg
{
public:
    using CDirectorySizeDlg::PreTranslateMessage;
};

class DirectorySizeDialogTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_saved = g_Panes[0];
        m_pane = std::make_unique<CFilerPane>(0);
        g_Panes[0] = m_pane.get();
        m_savedBindings.Copy(g_FilerKeyCmds);
        m_savedContinue = g_CONTINUESIZECHECK;
    }
    void TearDown() override
    {
        g_Panes[0] = m_saved;
        g_FilerKeyCmds.Copy(m_savedBindings);
        g_CONTINUESIZECHECK = m_savedContinue;
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    // Binds a key of the filer set and returns its table row.
    int Bind(UINT key, int modifier, LPCWSTR keyword)
    {
        if (g_FilerKeyCmds.GetSize() < KEY_TABLE_ROW_COUNT)
            g_FilerKeyCmds.SetSize(KEY_TABLE_ROW_COUNT);
        for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        {
            if (g_KeyTable[row].virtualKey == key)
            {
                g_FilerKeyCmds.GetBinding(modifier, row).command = keyword;
                return row;
            }
        }
        return -1;
    }

    std::unique_ptr<CFilerPane> m_pane;
    CFilerPane* m_saved = nullptr;
    CArrayKeyCmdInfo m_savedBindings;
    int m_savedContinue = 0;
};

} // namespace

TEST_F(DirectorySizeDialogTest, ShiftBindingDecidesAndOnlyCursorKeywordsEndTheDialog)
{
    g_CONTINUESIZECHECK = 1;
    ASSERT_GE(Bind(VK_DOWN, 0, L"@Copy"), 0);
    Bind(VK_DOWN, 1, L"@down");
    Bind(VK_DOWN, 2, L"@Up");
    struct Case
    {
        BYTE shift, control;
        bool ends;
        LPCWSTR keyword;
    } cases[] = {{0, 0, false, L""}, {0x80, 0x80, true, L"@down"}, {0, 0x80, true, L"@Up"}};
    for (const auto& c : cases)
    {
        CTestDirectorySizeDlg dialog;
        dialog.m_paneIndex = 0;
        ASSERT_TRUE(dialog.Create(IDD_DIRECTORY_SIZE));
        BYTE keys[256] = {};
        keys[VK_SHIFT] = c.shift;
        keys[VK_CONTROL] = c.control;
        SetKeyboardState(keys);
        MSG msg = {dialog.m_hWnd, WM_KEYDOWN, VK_DOWN, 0};
        EXPECT_EQ(c.ends ? TRUE : FALSE,
                  dialog.PreTranslateMessage(&msg) && !dialog.m_cursorKeyword.IsEmpty());
        EXPECT_EQ(c.keyword, qvtest::W(dialog.m_cursorKeyword));
        dialog.StopWorker();
        dialog.DestroyWindow();
    }
    // Alt comes as a system key and never ends the dialog.
    CTestDirectorySizeDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_DIRECTORY_SIZE));
    Bind(VK_DOWN, 3, L"@Down");
    MSG msg = {dialog.m_hWnd, WM_SYSKEYDOWN, VK_DOWN, 0};
    dialog.PreTranslateMessage(&msg);
    EXPECT_TRUE(dialog.m_cursorKeyword.IsEmpty());
    dialog.StopWorker();
    dialog.DestroyWindow();
}

TEST_F(DirectorySizeDialogTest, StopWhileTheWorkerWritesItsTotalsDoesNotDeadlock)
{
    MakeTree(dir, {L"t\\", L"t\\a"});
    WIN32_FIND_DATAW data = {};
    wcscpy_s(data.cFileName, L"t");
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    m_pane->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, dir.c_str(), L"", data, -1);
    m_pane->m_currentDir = dir.c_str();
    CDirectorySizeDlg dialog;
    dialog.m_paneIndex = 0;
    ASSERT_TRUE(dialog.Create(IDD_DIRECTORY_SIZE));
    // The worker has counted and posted its totals to this thread: stopping it then
    // must neither wait for it nor trip over the message it left behind.
    MSG msg;
    ASSERT_TRUE(qvtest::WaitFor(
        [&] { return PeekMessageW(&msg, dialog.m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) != 0; }));
    ASSERT_NE(nullptr, g_pCalDirectoryThread);
    dialog.StopWorker();
    EXPECT_EQ(nullptr, g_pCalDirectoryThread);
    while (PeekMessageW(&msg, dialog.m_hWnd, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(nullptr, g_pCalDirectoryThread);
    dialog.DestroyWindow();
}
