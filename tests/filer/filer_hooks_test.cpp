// The filer's part of the program's own wiring (InstallProgramHooks): the walk frames
// of the copy and delete jobs close their enumerations, the play-list filler sees a
// pane's target entries, and every new pane gets the archive object of the installed
// factory.
#include <gtest/gtest.h>
#include "filer/FilerHooks.h"
#include "app/records/PaneRecords.h"
#include "app/records/PlayListFile.h"
#include "archivefront/ArchiveFront.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"
#include "filer/PaneArchive.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestSupport.h"

#include <string>
#include <vector>

namespace
{
class FilerHooksTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = qvtest::ScratchDir(); }
    void TearDown() override
    {
        g_Panes[0] = m_savedPanes[0];
        g_Panes[1] = m_savedPanes[1];
    }

    qvtest::ScopedProgramWiring m_wiring;
    std::wstring m_dir;
    CFilerPane* m_savedPanes[2] = {g_Panes[0], g_Panes[1]};
};
} // namespace

// A frame popped with its enumeration still open (a walk that stops early) must not
// keep the folder's find handle open for the rest of the run. While a handle is open
// on a removed folder, the system keeps the folder (delete-pending on Windows, on disk
// under Wine) and refuses a new folder of that name.
TEST_F(FilerHooksTest, PoppedWalkFrameClosesItsEnumeration)
{
    const std::wstring walked = m_dir + L"\\walked";
    ASSERT_TRUE(CreateDirectoryW(walked.c_str(), nullptr));
    CDirWalkFrame* root = CDirWalkFrame::CreateRoot(m_dir.c_str());
    CDirWalkFrame* child = CDirWalkFrame::CreateChild(root, L"walked");
    CFileInfo entry;
    child->m_pFind = FindFirstEntry(nullptr, child->m_directoryPath, L"*.*", entry);
    ASSERT_NE(nullptr, child->m_pFind);

    CDirWalkFrame* top = child->m_next;
    delete child;
    EXPECT_EQ(root, top);
    ASSERT_TRUE(RemoveDirectoryW(walked.c_str()));
    EXPECT_TRUE(CreateDirectoryW(walked.c_str(), nullptr)) << GetLastError();
    delete root;
}

TEST_F(FilerHooksTest, PlayListTakesThePaneTargetEntries)
{
    for (LPCWSTR name : {L"a.mp3", L"b.mp3", L"c.txt", L"sub\\d.mp3"})
    {
        if (wcschr(name, L'\\'))
            CreateDirectoryW((m_dir + L"\\sub").c_str(), nullptr);
        ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\" + name, "x"));
    }
    CFilerPane pane(1);
    pane.ChangeDirectory(m_dir.c_str(), PATH_VISIT_NAVIGATE, FALSE, FALSE);
    g_Panes[1] = &pane;
    CStringArray kinds;
    kinds.Add(L"mp3");

    struct Case
    {
        std::vector<LPCWSTR> marked; // none: the cursor entry alone
        LPCWSTR cursor;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        // In list order: the directory before the files.
        {{L"a.mp3", L"c.txt", L"sub"}, L"b.mp3", {m_dir + L"\\sub\\d.mp3", m_dir + L"\\a.mp3"}},
        {{}, L"b.mp3", {m_dir + L"\\b.mp3"}},
        {{}, L"..", {}},
    };
    for (const Case& c : cases)
    {
        auto indexOf = [&pane](LPCWSTR name) {
            for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
                if (wcscmp(pane.m_entries[i].GetName(), name) == 0)
                    return i;
            return INT_PTR(-1);
        };
        for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
            pane.SetEntryMark(i, 0);
        for (LPCWSTR name : c.marked)
        {
            ASSERT_GE(indexOf(name), 0);
            pane.SetEntryMark(indexOf(name), 1);
        }
        ASSERT_GE(indexOf(c.cursor), 0);
        pane.m_cursor = indexOf(c.cursor);
        CPlayListPaths list;
        AddPaneSelectionToPlayList(1, list, kinds);
        std::vector<std::wstring> paths;
        for (INT_PTR i = 0; i < list.GetEntryCount(); ++i)
        {
            CString path;
            list.GetEntryFullPath(i, path);
            paths.push_back(static_cast<LPCWSTR>(path));
        }
        EXPECT_EQ(c.expected, paths) << "cursor " << std::string(c.cursor, c.cursor + wcslen(c.cursor));
    }
    // No pane in that slot offers nothing.
    g_Panes[0] = nullptr;
    CPlayListPaths empty;
    AddPaneSelectionToPlayList(0, empty, kinds);
    EXPECT_EQ(0, empty.GetEntryCount());
}

TEST_F(FilerHooksTest, EveryNewPaneGetsTheInstalledArchiveObject)
{
    {
        CFilerPane pane(0);
        ASSERT_NE(nullptr, pane.m_archive);
        EXPECT_NE(nullptr, dynamic_cast<CArchiveFront*>(pane.m_archive));
    }
    // Without the program's factory a pane still gets one, which lists nothing.
    g_PaneArchiveHooks.create = nullptr;
    CFilerPane pane(0);
    ASSERT_NE(nullptr, pane.m_archive);
    EXPECT_EQ(nullptr, dynamic_cast<CArchiveFront*>(pane.m_archive));
    pane.m_archive->SetCurrentFolder(L"docs");
    EXPECT_STREQ(L"docs", pane.m_archive->GetCurrentFolder());
    CArrayFileInfo entries;
    EXPECT_EQ(0, pane.m_archive->ListDirectory(entries, L"docs", L"*.*", FALSE, nullptr));
    EXPECT_EQ(0, entries.GetSize());
}
