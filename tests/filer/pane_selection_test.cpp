// A pane's selection as file commands take it: marked entries or the cursor entry,
// filtered to folders or files.
#include <gtest/gtest.h>
#include "filer/FilerPane.h"
#include "filer/PaneSelection.h"
#include "tests/filer/FilerTestData.h"

#include <memory>
#include <string>
#include <vector>

using filertest::MakeFindData;
using filertest::Names;

namespace
{
class PaneSelectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 2; ++i)
        {
            m_saved[i] = g_Panes[i];
            m_panes[i] = std::make_unique<CFilerPane>(i);
            g_Panes[i] = m_panes[i].get();
        }
        // "..", two folders, two files.
        CFilerPane& pane = *m_panes[1];
        pane.m_currentDir = L"C:\\work";
        for (auto [name, directory] : {std::pair<LPCWSTR, bool>{L"..", true},
                                       {L"sub", true},
                                       {L"tools", true},
                                       {L"a.txt", false},
                                       {L"b.txt", false}})
            pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\work", L"",
                                           MakeFindData(name, directory), -1);
        pane.m_dotCount = 1;
    }
    void TearDown() override
    {
        g_Panes[0] = m_saved[0];
        g_Panes[1] = m_saved[1];
    }

    std::unique_ptr<CFilerPane> m_panes[2];
    CFilerPane* m_saved[2] = {};
};
} // namespace

TEST_F(PaneSelectionTest, TakesMarkedOrCursorEntriesFilteredByKind)
{
    struct Case
    {
        std::vector<int> marked;
        INT64 cursor;
        DWORD flags;
        int result;
        std::vector<std::wstring> names;
    } cases[] = {
        {{1, 3}, 0, 0, SELECTION_TAKEN, {L"sub", L"a.txt"}},
        {{1, 3}, 0, SELECT_DIRECTORIES_ONLY, SELECTION_TAKEN, {L"sub"}},
        {{1, 3}, 0, SELECT_FILES_ONLY, SELECTION_TAKEN, {L"a.txt"}},
        {{1, 2}, 4, SELECT_FILES_ONLY, SELECTION_NONE, {}},
        {{}, 3, 0, SELECTION_TAKEN, {L"a.txt"}},
        {{}, 3, SELECT_DIRECTORIES_ONLY, SELECTION_NONE, {}},
        {{}, 0, 0, SELECTION_NONE, {}}, // the cursor on ".."
        {{1, 3}, 4, 0x4, SELECTION_TAKEN, {L"b.txt"}},
        {{1, 3}, 4, 0x40, SELECTION_TAKEN, {L"b.txt"}}, // the cursor entry is not marked
        {{1, 3}, 3, 0x40, SELECTION_TAKEN, {L"sub", L"a.txt"}},
    };
    CFilerPane& pane = *m_panes[1];
    CSelectedEntryList selection;
    selection.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\old", L"",
                                        MakeFindData(L"old", false), -1);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        pane.m_entries.ClearMarks();
        pane.m_markedCount = 0;
        for (int index : c.marked)
            pane.SetEntryMark(index, 1);
        pane.m_cursor = c.cursor;
        // A walk over the marks left half-way by an earlier command.
        CFileInfo skipped;
        pane.GetTargetEntry(0, 1, skipped);

        EXPECT_EQ(c.result, GetPaneSelection(c.flags, 1, selection));
        EXPECT_EQ(c.names, Names(selection.m_entries));
        EXPECT_EQ(static_cast<int>(c.marked.size()), selection.m_markedCount);
        EXPECT_EQ(std::wstring(L"C:\\work"), std::wstring(selection.m_directory));
        EXPECT_EQ(SELECTION_SOURCE_DISK, selection.m_sourceKind);
        for (INT_PTR i = 0; i < selection.m_entries.GetSize(); ++i)
            EXPECT_EQ(0, selection.m_entries[i].m_mark) << "the copies carry no marks";
    }
}

TEST_F(PaneSelectionTest, AnArchiveListingGivesItsKindAndAMissingPaneGivesNothing)
{
    CFilerPane& pane = *m_panes[1];
    pane.m_cursor = 3;
    pane.SetMode(0, PANE_MODE_ARCHIVE, 0);
    CSelectedEntryList selection;
    EXPECT_EQ(SELECTION_TAKEN, GetPaneSelection(0, 1, selection));
    EXPECT_EQ(SELECTION_SOURCE_ARCHIVE, selection.m_sourceKind);

    // Pane 0 lists nothing; -1 and 2 are no panes; a pane slot may be empty.
    for (int index : {0, -1, 2})
    {
        EXPECT_EQ(SELECTION_NONE, GetPaneSelection(0, index, selection)) << index;
        EXPECT_EQ(0, selection.m_entries.GetSize()) << index;
    }
    g_Panes[1] = nullptr;
    EXPECT_EQ(SELECTION_NONE, GetPaneSelection(0, 1, selection));
}
