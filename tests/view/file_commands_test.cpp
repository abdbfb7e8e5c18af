// The file commands through their keywords: which job each starts on what, the
// destinations they take from the other pane, the new-directory command, the drop
// and paste of shell files, and the left-button clicks on a pane.
#include "tests/view/CommandTestSupport.h"

#include "fileops/copy/CopyJob.h"
#include "fileops/copy/MyCopyDlg.h"
#include "filer/PaneSelection.h"
#include "res/ArchiveDialogs.h"
#include "res/DeleteDialogs.h"
#include "res/FileDialogs.h"
#include "res/FilerDialogs.h"
#include "app/settings/FilerSettings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "view/layout/Layout.h"
#include "view/mouse/MouseClicks.h"
#include "view/mouse/ShellDragSeam.h"
#include "app/DriveSlots.h"
#include "app/settings/ViewSettings.h"
#include "view/shell/ShellSeam.h"

#include <shlobj.h>

#include <set>
#include <string>
#include <vector>

namespace
{

using qvtest::W;

// Types the name into the new-directory dialog once it shows and accepts it.
const wchar_t* g_mkdirName = nullptr;
bool g_mkdirAnswered = false;

void CALLBACK AnswerMkdir(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ディレクトリの作成", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    SetDlgItemTextW(dialog, IDC_MKDIR_NAME, g_mkdirName);
    g_mkdirAnswered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// Types a file name and a save folder into the shortcut dialog once it shows and
// accepts it.
const wchar_t* g_linkName = nullptr;
const wchar_t* g_linkFolder = nullptr;
bool g_linkAnswered = false;

void CALLBACK AnswerMakeLink(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ショートカットの作成", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    SetDlgItemTextW(dialog, IDC_LINK_FILE_NAME, g_linkName);
    SetDlgItemTextW(dialog, IDC_LINK_SAVE_DIR, g_linkFolder);
    g_linkAnswered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// Reads what the shortcut dialog proposes (file name, save folder, target) and
// cancels it.
std::wstring g_proposedName;
std::wstring g_proposedFolder;
std::wstring g_proposedTarget;

void CALLBACK ReadLinkProposal(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ショートカットの作成", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    wchar_t text[1040] = {};
    GetDlgItemTextW(dialog, IDC_LINK_FILE_NAME, text, 1040);
    g_proposedName = text;
    GetDlgItemTextW(dialog, IDC_LINK_SAVE_DIR, text, 1040);
    g_proposedFolder = text;
    GetDlgItemTextW(dialog, IDC_LINK_TARGET, text, 1040);
    g_proposedTarget = text;
    g_linkAnswered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Picks sorting by size in the sort dialog once it shows and accepts it.
bool g_sortAnswered = false;

void CALLBACK AnswerSortBySize(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ソート方法", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    SendDlgItemMessageW(dialog, IDC_SORT_BY_SIZE, BM_CLICK, 0, 0);
    g_sortAnswered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// Reads the totals of the directory-size dialog once its survey has written them,
// then closes it.
std::wstring g_sizeFiles;
std::wstring g_sizeBytes;
bool g_sizeAnswered = false;

std::wstring TrimmedItemText(HWND dialog, int id)
{
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    std::wstring out = text;
    out.erase(0, out.find_first_not_of(L' '));
    out.erase(out.find_last_not_of(L' ') + 1);
    return out;
}

void CALLBACK ReadDirectorySize(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ディレクトリのサイズの調査", false);
    if (dialog == nullptr || TrimmedItemText(dialog, IDC_SIZE_BYTES).empty())
        return;
    KillTimer(nullptr, timer);
    g_sizeFiles = TrimmedItemText(dialog, IDC_SIZE_FILES);
    g_sizeBytes = TrimmedItemText(dialog, IDC_SIZE_BYTES);
    g_sizeAnswered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

HGLOBAL MakeDrop(const std::vector<std::wstring>& paths, POINT at = {})
{
    size_t chars = 1;
    for (const std::wstring& path : paths)
        chars += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& path : paths)
    {
        wcscpy(text, path.c_str());
        text += path.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

class FileCommands : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_NOTVIEWCURRENTDIR, 1);
        Set(g_NOTVIEWUPDIR, 0);
        Set(g_MOVEMAKEDIR, 1);
        m_left = W(m_dir) + L"\\left";
        m_right = W(m_dir) + L"\\right";
        CreateDirectoryW(m_left.c_str(), nullptr);
        CreateDirectoryW(m_right.c_str(), nullptr);
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
            qvtest::WriteFileBytes(m_left + L"\\" + name, "x");
        CreateDirectoryW((m_right + L"\\sub").c_str(), nullptr);
        qvtest::WriteFileBytes(m_right + L"\\r.txt", "r");
        for (CFilerPane* pane : {m_panes[0].get(), m_panes[1].get()})
        {
            ResetSortSetting(pane->m_sortSetting);
            pane->m_sortSetting.m_fileKey = SORT_KEY_NAME;
            pane->m_sortSetting.m_secondKey = 0;
        }
        View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
        View().ChangePaneDirectory(1, m_right.c_str(), 1, 0, FALSE);
        m_panes[0]->m_position = PANE_POS_ACTIVE;
        m_panes[1]->m_position = PANE_POS_OTHER;
    }
    void TearDown() override
    {
        View().ReapCopyDialogs();
        for (CWorkerDialog* dialog : Dialogs())
            dialog->m_bWorkerDone = 1;
        View().ReapCopyDialogs();
        CommandBench::TearDown();
    }
    std::vector<CWorkerDialog*> Dialogs()
    {
        std::vector<CWorkerDialog*> out;
        for (INT_PTR i = 0; i < View().m_copyDialogs.GetSize(); ++i)
            out.push_back(View().m_copyDialogs[i]);
        return out;
    }
    // The one copy job the last command registered.
    CMyCopyDlg* LastJob()
    {
        auto dialogs = Dialogs();
        return dialogs.empty() ? nullptr : static_cast<CMyCopyDlg*>(dialogs.back());
    }
    INT64 IndexOf(int pane, const wchar_t* name)
    {
        for (INT_PTR i = 0; i < m_panes[pane]->m_entries.GetSize(); ++i)
            if (std::wstring(m_panes[pane]->m_entries[i].GetName()) == name)
                return i;
        ADD_FAILURE() << "no entry";
        return -1;
    }
    void Mark(int pane, const wchar_t* name)
    {
        m_panes[pane]->SetEntryMark(static_cast<INT_PTR>(IndexOf(pane, name)), 1);
    }
    std::vector<std::wstring> Names(const CSelectedEntryList& list)
    {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < list.m_entries.GetSize(); ++i)
            out.push_back(list.m_entries[i].GetName());
        return out;
    }
    // A client point inside the drawn cell of the pane's entry.
    CPoint PointOf(int pane, INT64 target)
    {
        const PaneLayout& layout = View().m_layout.panes[pane];
        for (int i = 0; i < layout.columnsDrawn; ++i)
            for (int j = 0; j < layout.rowsDrawn; ++j)
            {
                INT64 index = 0;
                int column = 0, row = 0;
                View().GetEntryCell(pane, i, j, &index, &column, &row, FALSE);
                if (index == target)
                    return CPoint(column * View().m_layout.charWidth + 1,
                                  row * View().m_layout.lineHeight + 1);
            }
        ADD_FAILURE() << "entry not drawn";
        return CPoint(0, 0);
    }
    std::wstring m_left;
    std::wstring m_right;
};

} // namespace

TEST_F(FileCommands, CopyOnTheParentEntryWithNothingMarkedOpensNothingAndListsNoJob)
{
    m_panes[0]->m_cursor = IndexOf(0, L"..");
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Copy"));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(FileCommands, CopyAndMoveTakeTheirDestinationFromTheOtherPaneAsItsModeAllows)
{
    struct Case
    {
        const wchar_t* keyword;
        UINT mode;
        UINT subMode;
        bool destination; // the other pane's folder, else empty
        int kind;
    } cases[] = {
        {L"@Copy", PANE_MODE_FILER, PANE_SUB_DIRECTORY, true, COPY},
        {L"@Copy", PANE_MODE_FILER, PANE_SUB_FIND_RESULTS, false, COPY},
        {L"@Copy", PANE_MODE_TEXT_VIEWER, PANE_SUB_DIRECTORY, false, COPY},
        {L"@Copy", PANE_MODE_DRIVE_LIST, PANE_SUB_DIRECTORY, false, COPY},
        {L"@Move", PANE_MODE_FILER, PANE_SUB_DIRECTORY, true, MOVE},
        {L"@Move", PANE_MODE_FILER, PANE_SUB_FIND_RESULTS, true, MOVE},
        {L"@Move", PANE_MODE_DRIVE_LIST, PANE_SUB_DIRECTORY, false, MOVE},
    };
    Mark(0, L"a.txt");
    Mark(0, L"c.txt");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::wstring(c.keyword) + L" " + std::to_wstring(c.mode) + L"/" +
                     std::to_wstring(c.subMode));
        m_panes[1]->m_mode = c.mode;
        m_panes[1]->m_subMode = c.subMode;
        EXPECT_EQ(1, View().ExecuteFilerCommand(c.keyword));
        CMyCopyDlg* job = LastJob();
        ASSERT_NE(nullptr, job);
        EXPECT_EQ(c.kind, job->m_kind);
        EXPECT_EQ(0, job->m_sourcePane);
        EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"c.txt"}), Names(job->m_source));
        EXPECT_EQ(c.destination ? m_right : std::wstring(), W(job->m_destinationText));
        // No window here to show it in: the job is handed to the reaping.
        EXPECT_TRUE(job->m_bWorkerDone);
        View().ReapCopyDialogs();
        EXPECT_TRUE(Dialogs().empty());
    }
}

TEST_F(FileCommands, ARootDestinationGetsItsBackslashAndOtherFoldersKeepTheirForm)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* expected;
    } cases[] = {
        {L"C:", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"\\\\server\\share", L"\\\\server\\share\\"},
        {L"C:\\work", L"C:\\work"},
        {L"\\\\server\\share\\dir", L"\\\\server\\share\\dir"},
    };
    for (const Case& c : cases)
    {
        CString out;
        CQvView::SetPathWithBackslash(c.path, out);
        EXPECT_EQ(std::wstring(c.expected), W(out)) << c.path;
    }
}

TEST_F(FileCommands, CopyToAllDirectoriesNeedsAMarkedDirectoryInTheOtherPane)
{
    Mark(0, L"a.txt");
    Mark(1, L"r.txt");
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Toalldir"));
    EXPECT_TRUE(Dialogs().empty());

    Mark(1, L"sub");
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Toalldir"));
    ASSERT_NE(nullptr, LastJob());
    EXPECT_EQ(COPY_TO_ALL, LastJob()->m_kind);
    EXPECT_EQ((std::vector<std::wstring>{L"sub"}), Names(LastJob()->m_targets));
}

TEST_F(FileCommands, AJobWhoseWindowCannotBeMadeIsMarkedDoneLeavesTheViewIdleAndGoesAtTheNextReaping)
{
    // The view here has no window, so every job that passes its checks fails to make
    // its dialog's window.
    CreateDirectoryW((m_left + L"\\d").c_str(), nullptr);
    View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
    enum
    {
        COPY_LIST,
        DELETE_LIST,
        UNPACK_LIST
    };
    struct Case
    {
        const wchar_t* keyword;
        const wchar_t* marked;
        int list;
    } const cases[] = {
        {L"@Copy", L"a.txt", COPY_LIST},     {L"@Move", L"a.txt", COPY_LIST},
        {L"@Toalldir", L"a.txt", COPY_LIST}, {L"@Filesupdir", L"d", COPY_LIST},
        {L"@Neglectdir", L"d", COPY_LIST},   {L"@Delete", L"a.txt", DELETE_LIST},
        {L"@Unpack", L"a.txt", UNPACK_LIST},
    };
    Mark(1, L"sub");
    CArray<CWorkerDialog*>* const lists[] = {&View().m_copyDialogs, &View().m_deleteDialogs,
                                             &View().m_unpackDialogs};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(W(CString(c.keyword)));
        View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
        Mark(0, c.marked);
        EXPECT_EQ(1, View().ExecuteFilerCommand(c.keyword));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(i == c.list ? 1 : 0, lists[i]->GetSize()) << "list " << i;
        ASSERT_EQ(1, lists[c.list]->GetSize());
        CWorkerDialog* dialog = (*lists[c.list])[0];
        EXPECT_EQ(nullptr, dialog->GetSafeHwnd());
        EXPECT_TRUE(dialog->m_bWorkerDone) << "a dialog that never ran would hold the program open";
        EXPECT_TRUE(View().m_idleState == 1 && View().m_bReady == 1) << "the view was left busy";
        const int emptied = c.list == COPY_LIST     ? View().ReapCopyDialogs()
                            : c.list == DELETE_LIST ? View().ReapDeleteDialogs()
                                                    : View().ReapUnpackDialogs();
        EXPECT_EQ(1, emptied);
        EXPECT_EQ(0, lists[c.list]->GetSize());
    }
}

TEST_F(FileCommands, ACommandWhoseChecksFailMakesNoDialog)
{
    struct Case
    {
        const wchar_t* keyword;
        const wchar_t* marked; // null: the cursor on ".." and nothing marked
    } const cases[] = {
        {L"@Copy", nullptr},
        {L"@Move", nullptr},
        {L"@Delete", nullptr},
        {L"@Unpack", nullptr},
        {L"@Filesupdir", nullptr},
        {L"@Neglectdir", nullptr},
        {L"@Toalldir", nullptr},
        // A file to copy, but no marked directory in the other pane to copy it into.
        {L"@Toalldir", L"a.txt"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(W(CString(c.keyword)));
        m_panes[0]->m_cursor = IndexOf(0, L"..");
        if (c.marked != nullptr)
            Mark(0, c.marked);
        EXPECT_EQ(1, View().ExecuteFilerCommand(c.keyword));
        EXPECT_EQ(0, View().m_copyDialogs.GetSize());
        EXPECT_EQ(0, View().m_deleteDialogs.GetSize());
        EXPECT_EQ(0, View().m_unpackDialogs.GetSize());
        EXPECT_TRUE(View().m_idleState == 1 && View().m_bReady == 1) << "the view was left busy";
    }
}

TEST_F(FileCommands, MakeDirectoryCreatesEveryLevelAndPutsTheCursorOnTheFirst)
{
    g_mkdirName = L"n1\\n2\\n3";
    g_mkdirAnswered = false;
    SetTimer(nullptr, 0, 20, AnswerMkdir);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Mkdir"));
    ASSERT_TRUE(g_mkdirAnswered);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((m_left + L"\\n1\\n2\\n3").c_str()));
    ASSERT_NE(nullptr, m_panes[0]->GetCursorEntry());
    EXPECT_EQ(std::wstring(L"n1"), m_panes[0]->GetCursorEntry()->GetName());
}

TEST_F(FileCommands, TheFirstFolderOfATypedNameIsTheCursorTarget)
{
    struct Case
    {
        const wchar_t* typed;
        const wchar_t* expected;
    } cases[] = {
        {L"a\\b\\c", L"a"}, {L"a", L"a"}, {L"C:\\x\\y", L"x"}, {L"\\\\srv\\share\\z\\w", L"z"},
        {L"\\top", L"top"},
    };
    for (const Case& c : cases)
    {
        CString out;
        MakeDirectoryCursorName(c.typed, out);
        EXPECT_EQ(std::wstring(c.expected), W(out)) << c.typed;
    }
}

TEST_F(FileCommands, TheDropBlockHoldsTheMarkedPathsInListOrder)
{
    for (const wchar_t* name : {L"c.txt", L"a.txt", L"b.txt"})
        Mark(0, name);
    HGLOBAL block = BuildDropFileList(0, 0);
    ASSERT_NE(nullptr, block);
    const auto* bytes = static_cast<const BYTE*>(GlobalLock(block));
    const auto* header = reinterpret_cast<const DROPFILES*>(bytes);
    EXPECT_EQ(20u, sizeof(DROPFILES));
    EXPECT_EQ(20u, header->pFiles);
    EXPECT_TRUE(header->fWide);
    EXPECT_EQ(0, header->fNC);
    std::vector<std::wstring> paths;
    for (const wchar_t* text = reinterpret_cast<const wchar_t*>(bytes + 20); *text; text += wcslen(text) + 1)
        paths.push_back(text);
    GlobalUnlock(block);
    GlobalFree(block);
    EXPECT_EQ((std::vector<std::wstring>{m_left + L"\\a.txt", m_left + L"\\b.txt", m_left + L"\\c.txt"}),
              paths);

    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        m_panes[0]->SetEntryMark(i, 0);
    m_panes[0]->m_cursor = IndexOf(0, L"..");
    EXPECT_EQ(nullptr, BuildDropFileList(0, 0));
}

TEST_F(FileCommands, ADragTakesTheMarksOnlyWhenItGrabsAMarkedEntry)
{
    struct Case
    {
        const wchar_t* cursor;
        int drag;
        std::vector<std::wstring> names;
    } const cases[] = {
        {L"c.txt", 0, {L"a.txt", L"b.txt"}},
        {L"c.txt", 1, {L"c.txt"}},
        {L"b.txt", 1, {L"a.txt", L"b.txt"}},
    };
    Mark(0, L"a.txt");
    Mark(0, L"b.txt");
    for (const Case& c : cases)
    {
        m_panes[0]->m_cursor = IndexOf(0, c.cursor);
        HGLOBAL block = BuildDropFileList(0, c.drag);
        ASSERT_NE(nullptr, block);
        const auto* bytes = static_cast<const BYTE*>(GlobalLock(block));
        std::vector<std::wstring> names;
        for (const wchar_t* text = reinterpret_cast<const wchar_t*>(bytes + 20); *text;
             text += wcslen(text) + 1)
            names.push_back(std::wstring(text).substr(m_left.size() + 1));
        GlobalUnlock(block);
        GlobalFree(block);
        EXPECT_EQ(c.names, names) << c.cursor << " " << c.drag;
    }
    // A folder that is gone gives no list at all.
    m_panes[0]->m_currentDir = (m_left + L"\\gone").c_str();
    EXPECT_EQ(nullptr, BuildDropFileList(0, 0));
}

TEST_F(FileCommands, DroppedNamesThatVanishedLeaveNoEmptySlot)
{
    const std::wstring gone = m_right + L"\\gone.txt";
    HGLOBAL drop = MakeDrop({gone, m_left + L"\\b.txt", m_left + L"\\c.txt"});
    CSelectedEntryList list;
    EXPECT_EQ(2, CollectDroppedFiles(static_cast<HDROP>(drop), list));
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"c.txt"}), Names(list));
    EXPECT_EQ(m_left, W(list.m_directory));
    GlobalFree(drop);

    // Only vanished names: no job goes ahead.
    drop = MakeDrop({gone});
    View().CopyDroppedFiles(1, static_cast<HDROP>(drop), DROP_COPY);
    GlobalFree(drop);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(FileCommands, ADropBecomesACopyOrMoveIntoThePaneAndALoneProgramAShortcut)
{
    struct Case
    {
        std::vector<std::wstring> files;
        int kind;
        int jobKind; // -1: no job goes ahead
    } cases[] = {
        {{L"a.txt"}, DROP_LINK, DROP_COPY},
        {{L"a.txt", L"b.txt"}, DROP_MOVE, DROP_MOVE},
        {{L"a.txt"}, DROP_COPY, DROP_COPY},
    };
    for (const Case& c : cases)
    {
        std::vector<std::wstring> paths;
        for (const std::wstring& name : c.files)
            paths.push_back(m_left + L"\\" + name);
        HGLOBAL drop = MakeDrop(paths);
        View().CopyDroppedFiles(1, static_cast<HDROP>(drop), c.kind);
        GlobalFree(drop);
        ASSERT_NE(nullptr, LastJob());
        EXPECT_EQ(c.jobKind, LastJob()->m_kind);
        EXPECT_EQ(c.files, Names(LastJob()->m_source));
        EXPECT_EQ(m_right, W(LastJob()->m_destinationText));
        View().ReapCopyDialogs();
    }
    // Into find results nothing goes.
    m_panes[1]->m_subMode = PANE_SUB_FIND_RESULTS;
    HGLOBAL drop = MakeDrop({m_left + L"\\a.txt"});
    View().CopyDroppedFiles(1, static_cast<HDROP>(drop), DROP_COPY);
    GlobalFree(drop);
    EXPECT_TRUE(Dialogs().empty());
    m_panes[1]->m_subMode = PANE_SUB_DIRECTORY;

    ASSERT_TRUE(qvtest::WriteFileBytes(m_left + L"\\tool.exe", "MZ"));
    drop = MakeDrop({m_left + L"\\tool.exe"});
    View().CopyDroppedFiles(1, static_cast<HDROP>(drop), DROP_LINK);
    GlobalFree(drop);
    EXPECT_EQ((std::set<std::wstring>{L"sub", L"r.txt", L"tool.lnk"}), qvtest::ListFolder(m_right));
}

TEST_F(FileCommands, ADropOutsideThePanesOrBackOntoItsOwnDragStartIsIgnored)
{
    View().CalcLayout();
    const CPoint inRight = PointOf(1, IndexOf(1, L"r.txt"));
    const CPoint inLeft = PointOf(0, IndexOf(0, L"a.txt"));
    const int dragX = GetSystemMetrics(SM_CXDRAG);
    struct Case
    {
        const char* name;
        CPoint at;
        BOOL ownDrag;
        CPoint pressedAt;
        bool copied;
    } const cases[] = {
        {"outside every pane", CPoint(View().m_layout.clientWidth + 50, View().m_layout.clientHeight + 50),
         FALSE, inLeft, false},
        {"own drag back at its start", inRight, TRUE, inRight, false},
        {"own drag just inside its start rectangle", CPoint(inRight.x + dragX - 1, inRight.y), TRUE, inRight,
         false},
        {"own drag carried to the other pane", inRight, TRUE, inLeft, true},
        {"another program's drop at the last press", inRight, FALSE, inRight, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        View().ReapCopyDialogs();
        const size_t before = Dialogs().size();
        View().m_bShellDragStarted = c.ownDrag;
        View().m_lastClickPoint = c.pressedAt;
        // The handler finishes the drop and so frees the block.
        View().OnDropFiles(static_cast<HDROP>(MakeDrop({m_left + L"\\b.txt"}, c.at)));
        EXPECT_FALSE(View().m_bShellDragStarted);
        EXPECT_EQ(c.copied ? before + 1 : before, Dialogs().size());
        if (c.copied)
        {
            ASSERT_NE(nullptr, LastJob());
            EXPECT_EQ(DROP_COPY, LastJob()->m_kind);
            EXPECT_EQ((std::vector<std::wstring>{L"b.txt"}), Names(LastJob()->m_source));
            EXPECT_EQ(m_right, W(LastJob()->m_destinationText));
            LastJob()->m_bWorkerDone = 1;
        }
    }
}

TEST_F(FileCommands, PasteFromClipboardMovesAfterACutAndCopiesOtherwise)
{
    for (DWORD effect : {DWORD(DROPEFFECT_MOVE), DWORD(DROPEFFECT_COPY), DWORD(0)})
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(CF_HDROP, MakeDrop({m_left + L"\\a.txt"}));
        if (effect != 0)
        {
            HGLOBAL value = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
            *static_cast<DWORD*>(GlobalLock(value)) = effect;
            GlobalUnlock(value);
            SetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"), value);
        }
        CloseClipboard();
        m_panes[0]->m_position = PANE_POS_OTHER;
        m_panes[1]->m_position = PANE_POS_ACTIVE;
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Fromclipfiles"));
        ASSERT_NE(nullptr, LastJob());
        EXPECT_EQ(effect == DROPEFFECT_MOVE ? DROP_MOVE : DROP_COPY, LastJob()->m_kind);
        EXPECT_EQ((std::vector<std::wstring>{L"a.txt"}), Names(LastJob()->m_source));
        View().ReapCopyDialogs();
    }
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

TEST_F(FileCommands, ClicksMoveTheCursorAndMarkWithCtrlAndShift)
{
    View().CalcLayout();
    CFilerPane& pane = *m_panes[0];
    auto pointOf = [&](INT64 target) { return PointOf(0, target); };
    const INT64 a = IndexOf(0, L"a.txt");
    const INT64 c = IndexOf(0, L"c.txt");
    EXPECT_EQ(1, ClickPane(View(), 0, pointOf(c)));
    EXPECT_EQ(c, pane.m_cursor);
    EXPECT_TRUE(Marked().empty());

    EXPECT_EQ(1, ClickPane(View(), MK_CONTROL, pointOf(a)));
    EXPECT_EQ(a, pane.m_cursor);
    EXPECT_EQ((std::vector<int>{int(a)}), Marked());

    // Shift toggles the range from the old cursor: a becomes unmarked, b and c marked.
    ClickPane(View(), 0, pointOf(a));
    EXPECT_EQ(1, ClickPane(View(), MK_SHIFT, pointOf(c)));
    EXPECT_EQ(c, pane.m_cursor);
    EXPECT_EQ((std::vector<int>{int(IndexOf(0, L"b.txt")), int(c)}), Marked());
    // Shift on the cursor entry itself marks it and never unmarks it.
    ClickPane(View(), MK_SHIFT, pointOf(c));
    EXPECT_EQ((std::vector<int>{int(IndexOf(0, L"b.txt")), int(c)}), Marked());

    // Below the last entry: nothing but the activation.
    const CPoint below(1, (View().m_layout.panes[0].originRow + 4) * View().m_layout.lineHeight + 1);
    int hitPane = -2;
    INT64 hitEntry = -2;
    View().HitTest(below, &hitPane, &hitEntry);
    EXPECT_EQ(-1, hitEntry);
    EXPECT_EQ(0, ClickPane(View(), 0, below));
    EXPECT_EQ(c, pane.m_cursor);
}

TEST_F(FileCommands, AClickOnADriveLetterOfTheHeaderBarTakesTheActivePaneToThatDrive)
{
    Set(g_DRIVE_LIST_ON_HEADER, 1);
    Set(g_WRITEHEADERTYPE, 1);
    View().CalcLayout();
    View().m_driveBar.baseColumn = 2;
    DriveBarRecount(View().m_driveBar, 1u << 25); // Z: alone
    // The drive's remembered folder is where the pane goes.
    CString* slot = GetDriveLetterSlot(L'Z', 0);
    ASSERT_NE(nullptr, slot);
    const CString savedSlot = *slot;
    *slot = m_right.c_str();
    const CPoint letter((2 + 33) * View().m_layout.charWidth + 1, View().m_layout.lineHeight + 2);
    EXPECT_EQ(1, ClickPane(View(), 0, letter));
    EXPECT_EQ(m_right, W(m_panes[0]->m_currentDir));
    // An arrow pressed on the bar is raised again by the release.
    View().m_driveBar.pressed[1] = 1;
    View().ReleaseDriveBarButtons();
    EXPECT_EQ(0, View().m_driveBar.pressed[1]);
    // The same point with the bar switched off is no drive click.
    View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
    *slot = m_right.c_str();
    Set(g_DRIVE_LIST_ON_HEADER, 0);
    ClickPane(View(), 0, letter);
    EXPECT_EQ(m_left, W(m_panes[0]->m_currentDir));
    *slot = savedSlot;
}

namespace
{
// The drop target of the drag tests: what it was offered, and what it does with it.
struct DropTargetPlay
{
    std::vector<std::wstring> paths;
    bool itemListOffered = false;
    int runs = 0;
    DWORD allowed = 0;
    DWORD effect = 0;
    std::wstring moveTo; // non-empty: the files are moved there, as a folder window would
} g_dropTarget;

DWORD PlayDropTarget(HWND, POINT, IDataObject* data, DWORD allowed)
{
    ++g_dropTarget.runs;
    g_dropTarget.allowed = allowed;
    FORMATETC itemList = {static_cast<CLIPFORMAT>(GetShellIdListFormat()), nullptr, DVASPECT_CONTENT, -1,
                          TYMED_HGLOBAL};
    g_dropTarget.itemListOffered = data->QueryGetData(&itemList) == S_OK;
    FORMATETC files = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (data->GetData(&files, &medium) == S_OK)
    {
        auto drop = static_cast<HDROP>(medium.hGlobal);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i)
        {
            wchar_t path[MAX_PATH] = {};
            DragQueryFileW(drop, i, path, MAX_PATH);
            g_dropTarget.paths.push_back(path);
            if (!g_dropTarget.moveTo.empty())
            {
                const std::wstring name = std::wstring(path).substr(std::wstring(path).rfind(L'\\'));
                MoveFileW(path, (g_dropTarget.moveTo + name).c_str());
            }
        }
        ReleaseStgMedium(&medium);
    }
    return g_dropTarget.effect;
}
} // namespace

TEST_F(FileCommands, APressOnAFileDragsTheGrabbedFilesAndAMoveElsewhereReadsBothListingsAgain)
{
    CShellDragSeamOverride seam;
    g_ShellDragSeam.run = PlayDropTarget;
    View().CalcLayout();
    struct Case
    {
        const wchar_t* marked;
        const wchar_t* grabbed;
        UINT flags;
        DWORD effect;
        std::vector<std::wstring> dragged; // empty: no drag at all
        int result;
    } const cases[] = {
        {nullptr, L"c.txt", MK_CONTROL, DROPEFFECT_MOVE, {}, 1},
        {L"a.txt", L"c.txt", 0, DROPEFFECT_NONE, {L"c.txt"}, 1},
        {L"b.txt", L"b.txt", MK_SHIFT, DROPEFFECT_MOVE, {L"b.txt"}, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.grabbed);
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            m_panes[0]->SetEntryMark(i, 0);
        if (c.marked != nullptr)
            Mark(0, c.marked);
        m_panes[0]->m_cursor = IndexOf(0, c.marked != nullptr ? c.marked : L"..");
        g_dropTarget = DropTargetPlay();
        g_dropTarget.effect = c.effect;
        g_dropTarget.moveTo = c.effect == DROPEFFECT_MOVE ? m_right : L"";
        EXPECT_EQ(c.result, ClickPane(View(), c.flags, PointOf(0, IndexOf(0, c.grabbed))));
        EXPECT_EQ(c.dragged.empty() ? 0 : 1, g_dropTarget.runs);
        if (c.dragged.empty())
            continue;
        EXPECT_TRUE(View().m_bShellDragStarted);
        EXPECT_TRUE(g_dropTarget.itemListOffered);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_MOVE), g_dropTarget.allowed);
        std::vector<std::wstring> expected;
        for (const std::wstring& name : c.dragged)
            expected.push_back(m_left + L"\\" + name);
        EXPECT_EQ(expected, g_dropTarget.paths);
    }
    // The moved file left the active listing and arrived in the other one.
    std::set<std::wstring> left, right;
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        left.insert(W(m_panes[0]->m_entries[i].GetName()));
    for (INT_PTR i = 0; i < m_panes[1]->m_entries.GetSize(); ++i)
        right.insert(W(m_panes[1]->m_entries[i].GetName()));
    EXPECT_EQ(0u, left.count(L"b.txt"));
    EXPECT_EQ(1u, right.count(L"b.txt"));
}

TEST_F(FileCommands, TheRightButtonOpensTheMenuOfThePaneUnderItUnlessSwitchedOff)
{
    static int s_menus = 0;
    ContextMenuSeam saved = g_ContextMenuSeam;
    g_ContextMenuSeam.track = [](HMENU, UINT, int, int, HWND) -> UINT {
        ++s_menus;
        return 0;
    };
    m_panes[0]->m_mode = PANE_MODE_ARCHIVE;
    View().CalcLayout();
    CRect area;
    View().GetPaneRect(nullptr, 0, &area);
    struct Case
    {
        int disabled;
        CPoint point;
        int menus;
    } const cases[] = {
        {0, area.CenterPoint(), 1},
        {1, area.CenterPoint(), 0},
        {0, CPoint(-50, -50), 0},
    };
    for (const Case& c : cases)
    {
        Set(g_RIGHTMOUSEDISABLE, c.disabled);
        s_menus = 0;
        View().OnRButtonDown(0, c.point);
        EXPECT_EQ(c.menus, s_menus) << c.disabled << " " << c.point.x;
        EXPECT_EQ(c.point, View().m_lastClickPoint);
    }
    g_ContextMenuSeam = saved;
}

namespace
{
std::wstring g_unpackDestination;
bool g_unpackSeen = false;

void CALLBACK CancelUnpack(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ファイルの解凍", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    wchar_t text[MAX_PATH] = {};
    GetDlgItemTextW(dialog, IDC_UNPACKDLG_DESTINATION, text, MAX_PATH);
    g_unpackDestination = text;
    g_unpackSeen = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
} // namespace

TEST_F(FileCommands, CopyInAnArchiveListingRunsTheUnpackDialogToTheOtherFolder)
{
    m_panes[0]->m_mode = PANE_MODE_ARCHIVE;
    Mark(0, L"a.txt");
    g_unpackSeen = false;
    SetTimer(nullptr, 0, 20, CancelUnpack);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Copy"));
    ASSERT_TRUE(g_unpackSeen);
    EXPECT_EQ(m_right, g_unpackDestination);
    // No copy job is made for an archive listing.
    EXPECT_TRUE(Dialogs().empty());
    m_panes[0]->m_mode = PANE_MODE_FILER;
}

namespace
{
const wchar_t* g_wildcardText = nullptr;
bool g_wildcardAnswered = false;

void CALLBACK AnswerWildcard(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ワイルドカードの設定", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    SetDlgItemTextW(dialog, IDC_WILDCARD_TEXT, g_wildcardText);
    CheckDlgButton(dialog, IDC_WILDCARD_ADD_ASTERISK, BST_CHECKED);
    g_wildcardAnswered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
TEST_F(FileCommands, FolderContentsJobsMoveTheMarkedFoldersIntoThePanesFolder)
{
    CreateDirectoryW((m_left + L"\\d").c_str(), nullptr);
    struct
    {
        const wchar_t* keyword;
        int kind;
    } cases[] = {{L"@Filesupdir", UP_MOVE}, {L"@Neglectdir", NEGLECT_DIR}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(W(CString(c.keyword)));
        View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
        Mark(0, L"d");
        View().ExecuteFilerCommand(c.keyword);
        ASSERT_NE(nullptr, LastJob());
        EXPECT_EQ(c.kind, LastJob()->m_kind);
        EXPECT_EQ((std::vector<std::wstring>{L"d"}), Names(LastJob()->m_source));
        EXPECT_EQ(m_left, W(LastJob()->m_destinationText)) << "into the pane's own folder";
        View().ReapCopyDialogs();
    }
}

} // namespace

TEST_F(FileCommands, WildcardWidensAPlainNameAndKeepsTheTypedTextInItsHistory)
{
    CStringArray savedHistory;
    savedHistory.Copy(g_WildcardHistory);
    g_WildcardHistory.RemoveAll();
    Set(g_AUTO_ADD_ASTERRISK, 0);
    for (const wchar_t* typed : {L"a", L"b"})
    {
        g_wildcardText = typed;
        g_wildcardAnswered = false;
        SetTimer(nullptr, 0, 20, AnswerWildcard);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Wildcard"));
        ASSERT_TRUE(g_wildcardAnswered);
    }
    EXPECT_EQ(1, g_AUTO_ADD_ASTERRISK);
    EXPECT_EQ(std::wstring(L"*b*.*"), W(m_panes[0]->m_wildcard));
    std::vector<std::wstring> listed;
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        if (!m_panes[0]->m_entries[i].IsDots())
            listed.push_back(m_panes[0]->m_entries[i].GetName());
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt"}), listed);
    ASSERT_EQ(2, g_WildcardHistory.GetSize());
    EXPECT_EQ(std::wstring(L"b"), W(g_WildcardHistory[0]));
    EXPECT_EQ(std::wstring(L"a"), W(g_WildcardHistory[1]));
    g_WildcardHistory.Copy(savedHistory);
}

TEST_F(FileCommands, WideTwiceRestoresThePanesAsTheKeepSettingSays)
{
    for (int keep : {1, 0})
    {
        SCOPED_TRACE(keep);
        Set(g_KEEP_FILER_INFO, keep);
        View().ChangePaneDirectory(1, m_right.c_str(), 1, 0, FALSE);
        m_panes[0]->m_position = PANE_POS_ACTIVE;
        m_panes[1]->m_position = PANE_POS_OTHER;
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Wide"));
        EXPECT_EQ(UINT(PANE_POS_ACTIVE), m_panes[0]->m_position);
        EXPECT_EQ(UINT(PANE_POS_HIDDEN), m_panes[1]->m_position);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Wide"));
        EXPECT_EQ(UINT(PANE_POS_OTHER), m_panes[0]->m_position);
        EXPECT_EQ(UINT(PANE_POS_ACTIVE), m_panes[1]->m_position);
        // Kept, the pane shows what it showed; else it opens where the other one is.
        EXPECT_EQ(keep ? m_right : m_left, W(m_panes[1]->m_currentDir));
        EXPECT_EQ(UINT(PANE_MODE_FILER), m_panes[1]->m_mode);
    }
}

TEST_F(FileCommands, JumpToLinkTargetOpensAFolderOrShowsAFileWithTheCursorOnIt)
{
    HRESULT com = CoInitialize(nullptr);
    ASSERT_TRUE(CreateShortcut((m_left + L"\\tofolder.lnk").c_str(), (m_right + L"\\sub").c_str(),
                               m_right.c_str(), L"", L""));
    ASSERT_TRUE(CreateShortcut((m_left + L"\\tofile.lnk").c_str(), (m_right + L"\\r.txt").c_str(),
                               m_right.c_str(), L"", L""));
    if (SUCCEEDED(com))
        CoUninitialize();
    struct Case
    {
        const wchar_t* link;
        std::wstring directory;
        const wchar_t* cursor; // null: not checked
    } cases[] = {
        {L"tofolder.lnk", m_right + L"\\sub", nullptr},
        {L"tofile.lnk", m_right, L"r.txt"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.link);
        View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
        m_panes[0]->m_cursor = IndexOf(0, c.link);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Tolinkpos"));
        EXPECT_EQ(c.directory, W(m_panes[0]->m_currentDir));
        if (c.cursor != nullptr)
        {
            ASSERT_NE(nullptr, m_panes[0]->GetCursorEntry());
            EXPECT_EQ(std::wstring(c.cursor), m_panes[0]->GetCursorEntry()->GetName());
        }
    }
}

TEST_F(FileCommands, MakeShortcutAddsTheLinkExtensionAndReplacesAFileOnlyWhenTheUserAgrees)
{
    struct Case
    {
        const wchar_t* typed;
        const wchar_t* saved; // the file the link must be written to
        bool existed;         // a file of that name was there before
        INT_PTR answer;       // to the question whether to replace it
        bool replaced;
    } cases[] = {
        {L"plain", L"plain.lnk", false, 0, true},
        {L"b.txt", L"b.txt.lnk", false, 0, true},
        {L"kept.lnk", L"kept.lnk", true, IDNO, false},
        {L"over.LNK", L"over.LNK", true, IDYES, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.typed);
        const std::wstring saved = m_left + L"\\" + c.saved;
        if (c.existed)
            qvtest::WriteFileBytes(saved, "old");
        View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
        m_panes[0]->m_cursor = IndexOf(0, L"a.txt");
        CDialogAnswerScript script;
        if (c.existed)
            script.Add(c.answer);
        g_linkName = c.typed;
        g_linkFolder = m_left.c_str();
        g_linkAnswered = false;
        SetTimer(nullptr, 0, 20, AnswerMakeLink);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Makeshortcut"));
        ASSERT_TRUE(g_linkAnswered);
        EXPECT_EQ(c.existed ? 1u : 0u, script.GetQuestions().size());
        // The typed name itself is never written over with a link.
        EXPECT_EQ("x", qvtest::ReadFileBytes(m_left + L"\\b.txt"));
        const std::string bytes = qvtest::ReadFileBytes(saved);
        if (c.replaced)
        {
            ASSERT_GE(bytes.size(), 4u);
            EXPECT_EQ(std::string("L\0\0\0", 4), bytes.substr(0, 4));
        }
        else
        {
            EXPECT_EQ("old", bytes);
        }
    }
}

TEST_F(FileCommands, MakeShortcutProposesTheActiveFolderForAnEntryAndTheDesktopForADrive)
{
    Set(g_CREATE_SHORT_CUT_EXT_IN_FILE_NAME, 0);
    wchar_t desktop[1040] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOP, FALSE));
    CDriveInfo network;
    network.m_kind = DRIVE_KIND_NETWORK_ROOT;
    network.m_name = L"ネットワーク";
    CDriveInfo letter;
    letter.m_kind = DRIVE_FIXED;
    letter.m_name = L"Z:";
    CDriveInfo share;
    share.m_kind = DRIVE_KIND_LAST_SHARE;
    share.m_name = L"\\\\server\\share";
    struct Case
    {
        int driveRow; // -1: the filer entry a.txt
        bool opens;
        const wchar_t* name;
        std::wstring folder;
        std::wstring target;
    } const cases[] = {
        {-1, true, L"a.lnk", m_left, m_left + L"\\a.txt"},
        {0, false, L"", L"", L""},
        {1, true, L"(Z)ドライブ.lnk", desktop, L"Z:\\"},
        {2, true, L"server-share.lnk", desktop, L"\\\\server\\share\\"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.driveRow);
        CFilerPane& pane = *m_panes[0];
        if (c.driveRow < 0)
        {
            View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
            pane.m_cursor = IndexOf(0, L"a.txt");
        }
        else
        {
            pane.SetMode(0, PANE_MODE_DRIVE_LIST, 1);
            pane.m_driveList.RemoveAll();
            for (const CDriveInfo* row : {&network, &letter, &share})
                pane.m_driveList.Add(*row);
            pane.m_cursor = c.driveRow;
        }
        g_linkAnswered = false;
        g_proposedName.clear();
        g_proposedFolder.clear();
        g_proposedTarget.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadLinkProposal);
        View().ExecuteFilerCommand(L"@Makeshortcut");
        KillTimer(nullptr, timer);
        EXPECT_EQ(c.opens, g_linkAnswered);
        EXPECT_EQ(std::wstring(c.name), g_proposedName);
        EXPECT_EQ(c.folder, g_proposedFolder);
        EXPECT_EQ(c.target, g_proposedTarget);
    }
}

TEST_F(FileCommands, SortStoresTheChosenOrderForTheActivePaneOrForBothWhenShared)
{
    struct Case
    {
        int shared;
        int otherKey;
    } cases[] = {{0, SORT_KEY_NAME}, {1, SORT_KEY_SIZE}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.shared);
        Set(g_CHYNCROSORT, c.shared);
        for (int side = 0; side < 2; ++side)
        {
            m_panes[side]->m_sortSetting.m_fileKey = SORT_KEY_NAME;
            SetPaneSortSetting(side, m_panes[side]->m_sortSetting);
        }
        g_sortAnswered = false;
        SetTimer(nullptr, 0, 20, AnswerSortBySize);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Sort"));
        ASSERT_TRUE(g_sortAnswered);
        EXPECT_EQ(SORT_KEY_SIZE, m_panes[0]->m_sortSetting.m_fileKey);
        EXPECT_EQ(c.otherKey, m_panes[1]->m_sortSetting.m_fileKey);
    }
}

TEST_F(FileCommands, DirectorySizeCountsTheCursorEntryAndOpensNothingOnTheParentEntry)
{
    CreateDirectoryW((m_left + L"\\d").c_str(), nullptr);
    qvtest::WriteFileBytes(m_left + L"\\d\\one", "abc");
    qvtest::WriteFileBytes(m_left + L"\\d\\two", "abcd");
    struct Case
    {
        const wchar_t* cursor;
        bool shown;
        const wchar_t* files;
        const wchar_t* bytes;
    } cases[] = {
        {L"a.txt", true, L"1", L"1"},
        {L"d", true, L"2", L"7"},
        {L"..", false, L"", L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.cursor);
        View().ChangePaneDirectory(0, m_left.c_str(), 1, 0, FALSE);
        m_panes[0]->m_cursor = IndexOf(0, c.cursor);
        g_sizeAnswered = false;
        g_sizeFiles.clear();
        g_sizeBytes.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadDirectorySize);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Dirsize"));
        KillTimer(nullptr, timer);
        EXPECT_EQ(c.shown, g_sizeAnswered);
        EXPECT_EQ(std::wstring(c.files), g_sizeFiles);
        EXPECT_EQ(std::wstring(c.bytes), g_sizeBytes);
    }
}
