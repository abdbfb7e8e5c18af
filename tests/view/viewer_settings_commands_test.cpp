// What the view does after the viewer settings dialog and from the viewers' menu
// items: new widths wrap the open text again without reading the file, a new memory
// limit reads it again, a new line-end mark is cut to two characters; the quick
// search switches toggle; printing asks for a printer and gives the text back.
#include "tests/view/CommandTestSupport.h"

#include "app/KeywordBuilders.h"
#include "app/records/LocalMemory.h"
#include "app/records/ViewFileHistory.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/ViewerSettings.h"
#include "filer/IncrementalSearchState.h"
#include "filer/PaneArchive.h"
#include "archivefront/ArchiveFront.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/TestHelpers.h"
#include "view/viewer/ViewHistoryCommand.h"
#include "view/viewer/ViewerSettingsCommand.h"
#include "viewers/text/TextPaneViewer.h"
#include "viewers/text/ViewConfigDlg.h"

#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;
using qvtest::W;

// An archive with one member, "docs\\a.txt", that counts how often it is opened.
class CountingArchive : public IPaneArchive
{
public:
    explicit CountingArchive(const std::wstring& path) : m_path(path.c_str()) {}
    int ListDirectory(CArrayFileInfo& out, LPCWSTR folder, LPCWSTR wildcard, BOOL,
                      const FindCondition*) override
    {
        if (_wcsicmp(folder ? folder : L"", L"docs") != 0 ||
            (wcschr(wildcard ? wildcard : L"*", L'*') == nullptr && _wcsicmp(wildcard, L"a.txt") != 0))
            return 0;
        WIN32_FIND_DATAW found = {};
        found.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
        found.nFileSizeLow = 5;
        wcscpy_s(found.cFileName, L"a.txt");
        out.AddFromFindData(ENTRY_SOURCE_ARCHIVE, this, L"", L"", found, 0);
        return 1;
    }
    const CString& GetCurrentFolder() const override { return m_folder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_folder = folder; }
    CErrorIF& GetErrors() override { return m_errors; }
    int OpenAndList(LPCWSTR, int) override
    {
        ++m_opens;
        return 1;
    }
    void GetArchivePath(CString& out) override { out = m_path; }
    int ExtractEntryToMemory(int, void** buffer, LONGLONG* size, CProgressInfo*) override
    {
        *buffer = LocalAllocLocked(LMEM_MOVEABLE, 5);
        memcpy(*buffer, "hello", 5);
        *size = 5;
        return 1;
    }

    int m_opens = 0;

private:
    CString m_path;
    CString m_folder;
    CErrorIF m_errors;
};

class ViewerSettingsCommands : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_VIEWCHARWIDE, 80);
        Set(g_TABCARAMES, 8);
        Set(g_GETVIEWMEM, 320);
        Set(g_VIEWER_CHAR_CODE, 0);
        Set(g_VIEWNUMBER, 0);
        Set(g_EASYSEARCHMODE, 0);
        Set(g_NOTVIEWUPDIR, 1);
        Set(g_NOTVIEWCURRENTDIR, 1);
        m_savedMark = g_LineReturnCode;
        m_savedMarkLength = g_LineReturnCodeLength;
        for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
            m_savedPresets[i] = g_ViewerLineWidths[i];
        m_savedLeft = g_ViewerLeftDblClickAct;
        m_savedRight = g_ViewerRightDblClickAct;
    }
    void TearDown() override
    {
        for (CFilerPane* pane : g_Panes)
            if (pane != nullptr)
                pane->ReleaseViewerData();
        g_LineReturnCode = m_savedMark;
        g_LineReturnCodeLength = m_savedMarkLength;
        for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
            g_ViewerLineWidths[i] = m_savedPresets[i];
        SetLineWidthCommandNames(g_ViewerLineWidths);
        g_ViewerLeftDblClickAct = m_savedLeft;
        g_ViewerRightDblClickAct = m_savedRight;
        CommandBench::TearDown();
    }
    CFilerPane& Pane() { return *g_Panes[0]; }
    INT64 Lines() { return Pane().m_viewer ? Pane().m_viewer->LineCount() : -1; }
    void OpenViewer(const wchar_t* name, const std::string& bytes)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\" + name, bytes));
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
        for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
            if (std::wstring(Pane().m_entries[i].GetName()) == name)
                Pane().m_cursor = i;
        View().ExecuteFilerCommand(L"@View");
        ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    }

    CString m_savedMark, m_savedLeft, m_savedRight;
    int m_savedMarkLength = 0;
    int m_savedPresets[VIEWER_LINE_WIDTH_COUNT] = {};
};

TEST_F(ViewerSettingsCommands, WidthsWrapAgainMemoryReadsAgainAndTheMarkIsCut)
{
    OpenViewer(L"w.txt", std::string(200, 'a'));
    ASSERT_EQ(Lines(), 3);
    // Another code requested from now on: only a fresh read takes it.
    Set(g_VIEWER_CHAR_CODE, 1);

    ViewerConfigValues values = GetViewerSettings();
    EXPECT_EQ(values.lineWidth, 80);
    EXPECT_EQ(W(values.lineReturnCode), W(m_savedMark));
    values.lineWidth = 50;
    values.presets[0] = 60;
    values.rightAction = L"@Selecturl";
    ApplyViewerSettings(View(), values);
    EXPECT_EQ(g_VIEWCHARWIDE, 50);
    EXPECT_EQ(Lines(), 4) << "200 characters at 50 a line";
    EXPECT_EQ(Pane().GetViewerEncoding(), 0) << "the text held, wrapped again";
    EXPECT_EQ(g_ViewerLineWidths[0], 60);
    EXPECT_EQ(W(CString(GetLineWidthCommandName(618))), L"１行の文字数を60文字に設定");
    EXPECT_EQ(W(g_ViewerRightDblClickAct), L"@Selecturl");

    values.lineReturnCode = L"$$$";
    ApplyViewerSettings(View(), values);
    EXPECT_EQ(W(g_LineReturnCode), L"$$");
    EXPECT_EQ(g_LineReturnCodeLength, 2);
    EXPECT_EQ(Pane().GetViewerEncoding(), 0) << "a new mark alone reads nothing";

    values.memoryKb = 100;
    ApplyViewerSettings(View(), values);
    EXPECT_EQ(g_GETVIEWMEM, 100);
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    EXPECT_EQ(Pane().GetViewerEncoding(), 1) << "read again";
    EXPECT_EQ(Lines(), 4);
}

TEST_F(ViewerSettingsCommands, QuickSearchMenuSwitchesToggleTheirMode)
{
    struct
    {
        UINT id;
        int mode;
    } steps[] = {{706, 1}, {706, 0}, {938, 2}, {314, 3}, {682, 0}, {428, 4}, {428, 0}};
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.id);
        EXPECT_TRUE(View().OnCmdMsg(step.id, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(g_EASYSEARCHMODE, step.mode);
    }
    // Choosing the running incremental mode again switches it off.
    EXPECT_TRUE(View().OnCmdMsg(707, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(g_IncrementalSearchMode, 1);
    EXPECT_TRUE(View().OnCmdMsg(707, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(g_IncrementalSearchMode, 0);
}

TEST_F(ViewerSettingsCommands, MenuItemsRunTheHandlerOfTheirKeyword)
{
    Set(g_AUTO_FILE_NAME_WIDTH, 0);
    struct
    {
        UINT id;
        const wchar_t* handler;
    } items[] = {
        {706, L"SetEasySearchMode"},
        {259, L"ToggleLineNumbers"},
        {175, L"ToggleAutoFileNameWidth"},
        {472, L"ToggleFileNamePack"},
    };
    for (const auto& item : items)
    {
        SCOPED_TRACE(item.id);
        m_ran.clear();
        CCmdUI ui;
        ui.m_nID = item.id;
        EXPECT_TRUE(View().OnCmdMsg(item.id, CN_UPDATE_COMMAND_UI, &ui, nullptr)) << "served, so enabled";
        EXPECT_TRUE(View().OnCmdMsg(item.id, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(RanHandlers(), std::vector<std::wstring>{item.handler});
    }
    EXPECT_EQ(g_VIEWNUMBER, 1);
    EXPECT_EQ(g_AUTO_FILE_NAME_WIDTH, 1);
}

TEST_F(ViewerSettingsCommands, PrintAsksForAPrinterAndGivesTheTextBack)
{
    {
        CDialogAnswerScript script;
        View().ExecuteFilerCommand(L"@Textprint");
        EXPECT_TRUE(View().OnCmdMsg(1017, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(script.GetQuestions().size(), 0u) << "a file list prints nothing";
    }
    OpenViewer(L"p.txt", "line one\r\nline two\r\n");
    {
        // Wine has no printer: the dialog says so and closes.
        CDialogAnswerScript script;
        EXPECT_TRUE(View().OnCmdMsg(1017, CN_COMMAND, nullptr, nullptr));
        ASSERT_EQ(script.GetQuestions().size(), 1u);
        EXPECT_EQ(W(script.GetQuestions()[0].text), L"プリンターがInstallされていません");
    }
    EXPECT_FALSE(Pane().m_viewerHeld);
    ASSERT_TRUE(Pane().LockViewerData()) << "the text is free again";
    Pane().UnlockViewerData();
}

TEST_F(ViewerSettingsCommands, HistoryEntryOpensTheFileInTheViewerOrSaysItIsGone)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\h.txt", std::string(100, 'x')));
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\other.txt", "o"));
    CViewFile gone;
    gone.m_folder = m_dir;
    gone.m_name = L"gone.txt";
    {
        CDialogAnswerScript script;
        EXPECT_EQ(OpenViewHistoryEntry(View(), gone), 0);
        ASSERT_EQ(script.GetQuestions().size(), 1u);
        EXPECT_EQ(W(script.GetQuestions()[0].text), W(m_dir) + L"\\gone.txtが存在しません");
        EXPECT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER)) << "the pane stays as it was";
    }
    // From a viewer of another file too: the history entry replaces what is shown.
    OpenViewer(L"other.txt", "o");
    CViewFile chosen;
    chosen.m_folder = m_dir;
    chosen.m_name = L"H.TXT";
    EXPECT_EQ(OpenViewHistoryEntry(View(), chosen), 1);
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    EXPECT_EQ(std::wstring(Pane().m_viewerEntry.GetName()), L"h.txt");
    EXPECT_EQ(Lines(), 2) << "100 characters at 80 a line";
}

TEST_F(ViewerSettingsCommands, HistoryEntryOfTheArchiveThePaneListsIsNotOpenedAgain)
{
    const std::wstring archivePath = std::wstring(m_dir) + L"\\pack.zip";
    ASSERT_TRUE(qvtest::WriteFileBytes(archivePath, "PK"));
    IPaneArchive* saved = Pane().m_archive;
    auto* archive = new CountingArchive(archivePath);
    Pane().m_archive = archive;
    Pane().m_mode = PANE_MODE_ARCHIVE;
    archive->SetCurrentFolder(L"");
    CViewFile chosen;
    chosen.m_archive = archivePath.c_str();
    chosen.m_archive.MakeUpper(); // the path compares without case
    chosen.m_folder = L"docs";
    chosen.m_name = L"a.txt";
    int opened = 0;
    {
        CDialogAnswerScript script;
        opened = OpenViewHistoryEntry(View(), chosen);
        EXPECT_EQ(script.GetQuestions().size(), 0u);
    }
    const int opens = archive->m_opens;
    const UINT mode = Pane().m_mode;
    const std::wstring folder = W(archive->GetCurrentFolder());
    Pane().ReleaseViewerData();
    Pane().m_entries.RemoveAll(); // its entries point at the archive object
    Pane().m_archive = saved;
    Pane().m_mode = PANE_MODE_FILER;
    delete archive;
    EXPECT_EQ(opens, 0);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(mode, static_cast<UINT>(PANE_MODE_ARCHIVE_TEXT_VIEWER));
    EXPECT_EQ(folder, L"docs");
}

TEST_F(ViewerSettingsCommands, AHistoryNameTwoMembersShareCaseAsideOpensOnlyItsExactSpelling)
{
    const std::wstring archivePath = std::wstring(m_dir) + L"\\twins.zip";
    sztest::WriteStoredZip(archivePath, {{"Makefile", "one\r\ntwo\r\nthree"}, {"makefile", "single"}});
    const struct
    {
        const wchar_t* name;
        int opened;
        INT64 lines;
    } cases[] = {{L"makefile", 1, 1}, {L"Makefile", 1, 3}, {L"MAKEFILE", 0, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CViewFile chosen;
        chosen.m_archive = archivePath.c_str();
        chosen.m_name = c.name;
        CDialogAnswerScript script;
        EXPECT_EQ(c.opened, OpenViewHistoryEntry(View(), chosen));
        if (c.opened)
        {
            EXPECT_EQ(0u, script.GetQuestions().size());
            EXPECT_EQ(std::wstring(c.name), Pane().m_viewerEntry.GetName());
            EXPECT_EQ(c.lines, Lines());
        }
        else
        {
            // Neither member is shown: the pane lists the archive and says why.
            ASSERT_EQ(1u, script.GetQuestions().size());
            EXPECT_EQ(L"圧縮ファイル内に同じ名前のファイルが複数あります\nMAKEFILE",
                      W(script.GetQuestions()[0].text));
            EXPECT_EQ(static_cast<UINT>(PANE_MODE_ARCHIVE), Pane().m_mode);
        }
        Pane().ReleaseViewerData();
    }
    Pane().m_entries.RemoveAll(); // its entries point at the archive object
    Pane().m_archive->Close();
    Pane().m_mode = PANE_MODE_FILER;
}

} // namespace

namespace
{

TEST_F(ViewerSettingsCommands, AHistoryArchiveThatCannotBeOpenedSaysWhyAndLeavesThePaneAsItWas)
{
    const std::wstring good = std::wstring(m_dir) + L"\\good.zip";
    sztest::WriteStoredZip(good, {{"docs/m.txt", "one\r\ntwo\r\nthree\r\nfour"}});
    const std::wstring broken = std::wstring(m_dir) + L"\\broken.zip";
    ASSERT_TRUE(qvtest::WriteFileBytes(broken, std::string("PK\x03\x04") + std::string(60, '\x7f')));
    // What the archive front says of the broken archive.
    CString expected;
    {
        CArchiveFront front;
        ASSERT_EQ(0, front.OpenAndList(broken.c_str(), 0));
        expected = front.GetErrors().GetMessageText();
        front.Close();
    }
    ASSERT_FALSE(expected.IsEmpty());
    IPaneArchive* saved = Pane().m_archive;
    Pane().m_archive = CArchiveFront::CreateForPane();
    CViewFile member;
    member.m_archive = good.c_str();
    member.m_folder = L"docs";
    member.m_name = L"m.txt";
    CViewFile unreadable;
    unreadable.m_archive = broken.c_str();
    unreadable.m_folder = L"docs";
    unreadable.m_name = L"m.txt";

    // From a text viewer of a file on disk, an archive listing and an archive member's
    // text: each stays on screen with its text and its archive.
    struct Case
    {
        const char* what;
        UINT mode;
        INT64 lines;
    } cases[] = {
        {"disk file", PANE_MODE_TEXT_VIEWER, 2},
        {"archive listing", PANE_MODE_ARCHIVE, -1},
        {"archive member", PANE_MODE_ARCHIVE_TEXT_VIEWER, 4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (c.mode == PANE_MODE_TEXT_VIEWER)
            OpenViewer(L"disk.txt", "first\r\nsecond");
        else
        {
            ASSERT_EQ(1, OpenViewHistoryEntry(View(), member));
            if (c.mode == PANE_MODE_ARCHIVE)
            {
                Pane().ReleaseViewerData();
                Pane().SetMode(0, PANE_MODE_ARCHIVE, 0);
            }
        }
        ASSERT_EQ(c.mode, Pane().m_mode);
        IPaneArchive* const archive = Pane().m_archive;
        const INT_PTR entries = Pane().m_entries.GetSize();
        CDialogAnswerScript script;
        EXPECT_EQ(0, OpenViewHistoryEntry(View(), unreadable));
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(W(expected), W(script.GetQuestions()[0].text));
        EXPECT_EQ(c.mode, Pane().m_mode);
        EXPECT_EQ(c.lines, c.lines < 0 ? -1 : Lines()) << "the text is still there";
        EXPECT_EQ(archive, Pane().m_archive);
        EXPECT_EQ(entries, Pane().m_entries.GetSize());
        if (c.mode != PANE_MODE_TEXT_VIEWER)
        {
            CString path;
            Pane().m_archive->GetArchivePath(path);
            EXPECT_EQ(good, W(path)) << "the archive is still open";
        }
        Pane().ReleaseViewerData();
        Pane().SetMode(0, PANE_MODE_FILER, 0);
    }
    Pane().m_entries.RemoveAll(); // its entries point at the archive object
    Pane().m_archive->Close();
    delete Pane().m_archive;
    Pane().m_archive = saved;
}

} // namespace
