// The keyword dispatchers: every keyword of the command tables and every shipped
// binding reaches an operation, the comparison is exact, the common keywords work in
// every family, and the directory jump of a binding opens its directory.
#include "tests/view/CommandTestSupport.h"

#include "app/keys/CommandTables.h"
#include "util/Globals.h"
#include "view/system/SystemShellApi.h"

namespace
{

using commandtest::CommandBench;

const DispatcherList kFamilies[] = {DISPATCH_FILER, DISPATCH_VIEWER, DISPATCH_BINARY, DISPATCH_GRAPHIC};

std::string Narrow(LPCWSTR text)
{
    std::string out;
    for (; *text; ++text)
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

TEST(CommandDispatch, EveryTableKeywordAndShippedBindingReachesAnOperation)
{
    struct Table
    {
        int family;
        std::vector<DispatcherList> lists;
    } tables[] = {
        {COMMAND_FAMILY_FILER, {DISPATCH_FILER}},
        {COMMAND_FAMILY_VIEWER, {DISPATCH_VIEWER}},
        {COMMAND_FAMILY_GRAPHIC, {DISPATCH_GRAPHIC}},
        {COMMAND_FAMILY_BINARY, {DISPATCH_BINARY}},
        // The common keywords work in every family.
        {COMMAND_FAMILY_COMMON, {DISPATCH_FILER, DISPATCH_VIEWER, DISPATCH_BINARY, DISPATCH_GRAPHIC}},
    };
    for (const Table& table : tables)
    {
        int count = 0;
        const CommandTableRow* rows = GetCommandTable(table.family, &count);
        for (DispatcherList list : table.lists)
            for (int i = 0; i < count; ++i)
            {
                const CommandEntry* entry = ResolveDispatcherEntry(list, rows[i].keyword, nullptr);
                // Bare "@Keyjumpdir" names no directory: it is the one keyword left unknown.
                if (std::wstring(rows[i].keyword) == L"@Keyjumpdir")
                    EXPECT_EQ(entry, nullptr);
                else
                    EXPECT_NE(entry, nullptr) << Narrow(rows[i].keyword) << " in list " << list;
            }
    }
    for (const KeyTableRow& row : g_KeyTable)
        for (int m = 0; m < KEY_MODIFIER_COUNT; ++m)
        {
            const std::pair<LPCWSTR, DispatcherList> bindings[] = {{row.filerDefaults[m], DISPATCH_FILER},
                                                                   {row.viewerDefaults[m], DISPATCH_VIEWER},
                                                                   {row.graphicDefaults[m], DISPATCH_GRAPHIC},
                                                                   {row.binaryDefaults[m], DISPATCH_BINARY}};
            for (const auto& binding : bindings)
            {
                std::wstring text = binding.first;
                // The viewer has no horizontal mover: its LEFT and RIGHT stay without effect.
                if (text.empty() ||
                    (binding.second == DISPATCH_VIEWER && (text == L"@Left" || text == L"@Right")))
                    continue;
                EXPECT_NE(ResolveDispatcherEntry(binding.second, text.c_str(), nullptr), nullptr)
                    << Narrow(text.c_str()) << " in list " << binding.second;
            }
        }
}

TEST(CommandDispatch, EveryRowNamesAViewMemberAndALabel)
{
    for (int list = 0; list < DISPATCH_LIST_COUNT; ++list)
    {
        int count = 0;
        const CommandEntry* entries = GetDispatcherEntries(list, &count);
        ASSERT_GT(count, 0) << "list " << list;
        for (int i = 0; i < count; ++i)
        {
            EXPECT_FALSE(entries[i].handler.IsEmpty()) << Narrow(entries[i].keyword) << " in list " << list;
            EXPECT_NE(entries[i].handlerName[0], L'\0') << Narrow(entries[i].keyword) << " in list " << list;
        }
    }
    EXPECT_FALSE(g_KeyJumpDirEntry.handler.IsEmpty());
}

TEST(CommandDispatch, AliasesRunTheOperationTheyStandFor)
{
    struct Case
    {
        DispatcherList list;
        LPCWSTR alias;
        DispatcherList originalList;
        LPCWSTR original;
    } cases[] = {
        {DISPATCH_BINARY, L"@AllSelect", DISPATCH_BINARY, L"@Binaryallselect"},
        {DISPATCH_BINARY, L"@Editend", DISPATCH_BINARY, L"@Binaryeditend"},
        {DISPATCH_VIEWER, L"@Allcpldata", DISPATCH_FILER, L"@Allcpldata"},
        {DISPATCH_GRAPHIC, L"@Allcpldata", DISPATCH_FILER, L"@Allcpldata"},
        {DISPATCH_BINARY, L"@Allcpldata", DISPATCH_FILER, L"@Allcpldata"},
        {DISPATCH_VIEWER, L"@Binaryedit", DISPATCH_FILER, L"@Binaryedit"},
    };
    for (const Case& c : cases)
    {
        const CommandEntry* alias = FindDispatcherEntry(c.list, c.alias);
        const CommandEntry* original = FindDispatcherEntry(c.originalList, c.original);
        ASSERT_NE(alias, nullptr) << Narrow(c.alias);
        ASSERT_NE(original, nullptr);
        EXPECT_EQ(alias->handler, original->handler) << Narrow(c.alias);
        EXPECT_EQ(alias->value, original->value);
    }
}

TEST(CommandDispatch, KeywordsAreExactAndNumberedOnesStopWhereTheyEnd)
{
    struct Case
    {
        DispatcherList list;
        LPCWSTR text;
        bool known;
    } cases[] = {
        {DISPATCH_FILER, L"@Copy", true},
        {DISPATCH_FILER, L"@copy", false},
        {DISPATCH_FILER, L"@COPY", false},
        {DISPATCH_FILER, L"@LogJ", true},
        {DISPATCH_FILER, L"@Logj", false},
        {DISPATCH_FILER, L"@Makenewfile20", true},
        {DISPATCH_FILER, L"@Makenewfile21", false},
        {DISPATCH_FILER, L"@Makenewfile1", false},
        {DISPATCH_FILER, L"@Keyjumpdir", false},
        {DISPATCH_FILER, L"@Keyjumpdir C:\\", true},
        {DISPATCH_VIEWER, L"@Keyjumpdir C:\\", false},
        {DISPATCH_VIEWER, L"@Copy", false},
        {DISPATCH_GRAPHIC, L"@SetAudioPlayback {0.0.0}", true},
        {DISPATCH_BINARY, L"@Defaultcpl", false},
        {DISPATCH_BINARY, L"@Defaultcpl main.cpl", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveDispatcherEntry(c.list, c.text, nullptr) != nullptr, c.known)
            << Narrow(c.text) << " in list " << c.list;
    const CommandEntry* logJ = FindDispatcherEntry(DISPATCH_FILER, L"@LogJ");
    ASSERT_NE(logJ, nullptr);
    EXPECT_EQ(logJ->value, L'J');
    EXPECT_EQ(FindDispatcherEntry(DISPATCH_FILER, L"@Makenewfile20")->value, 19);
}

class CommandRunTest : public CommandBench
{
};

TEST_F(CommandRunTest, CopyInTheViewerDoesNothing)
{
    Bind(g_CommonKeyCmds, L"C", 0, L"@Copy");
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    EXPECT_EQ(View().ExecuteViewerCommand(L"@Copy"), 0);
    EXPECT_EQ(View().ExecuteKeyCommand('C', 0), 1);
    EXPECT_TRUE(m_ran.empty());
}

TEST_F(CommandRunTest, DirectoryJumpOfABindingOpensItsDirectory)
{
    std::wstring target = std::wstring(m_dir.GetString()) + L"\\jump target";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    std::wstring other = std::wstring(m_dir.GetString()) + L"\\other";
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    SetEnvironmentVariableW(L"QV_JUMP_TEST", other.c_str());

    EXPECT_EQ(View().ExecuteFilerCommand((L"@Keyjumpdir " + target).c_str()), 1);
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir.GetString()).find(L"jump target") != std::wstring::npos,
              true);
    EXPECT_EQ(View().DispatchCommandKeyword(L"@Keyjumpdir %QV_JUMP_TEST%"), 1);
    EXPECT_NE(std::wstring(m_panes[0]->m_currentDir.GetString()).find(L"other"), std::wstring::npos)
        << "environment variables are expanded";

    // Alone it names nothing: unknown to the dispatchers, and no program runs.
    m_ran.clear();
    CString before = m_panes[0]->m_currentDir;
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Keyjumpdir"), 0);
    EXPECT_EQ(View().DispatchCommandKeyword(L"@Keyjumpdir"), 1);
    EXPECT_TRUE(m_ran.empty());
    EXPECT_EQ(m_panes[0]->m_currentDir, before);
    SetEnvironmentVariableW(L"QV_JUMP_TEST", nullptr);
}

TEST_F(CommandRunTest, CommonKeywordsCarryTheirArgumentFromEveryFamily)
{
    for (UINT mode : {PANE_MODE_FILER, PANE_MODE_TEXT_VIEWER, PANE_MODE_BINARY, PANE_MODE_GRAPHIC})
    {
        SCOPED_TRACE(mode);
        m_ran.clear();
        m_panes[0]->m_mode = mode;
        EXPECT_EQ(View().DispatchCommandKeyword(L"@SetAudioPlayback {0.0.0.00000000}.{abc}"), 1);
        ASSERT_EQ(m_ran.size(), 1u);
        EXPECT_EQ(m_ran[0].handler, L"SetAudioPlayback");
        EXPECT_EQ(m_ran[0].argument, L"{0.0.0.00000000}.{abc}");
    }
    // The applet would start for real: the runner is a stand-in that keeps the line.
    static std::wstring started;
    started.clear();
    CplApi api = g_CplApi;
    api.execute = [](LPCSTR commandLine, UINT) -> UINT {
        wchar_t wide[1024] = {};
        MultiByteToWideChar(CP_ACP, 0, commandLine, -1, wide, 1024);
        started = wide;
        return 33;
    };
    ScopedCplApi runner(api);
    EXPECT_EQ(View().ExecuteCommonCommand(L"@Defaultcpl"), 0) << "no applet named";
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(View().ExecuteCommonCommand(L"@Defaultcpl main.cpl"), 1);
    EXPECT_EQ(started, qvtest::AppletCommandPrefix() + std::wstring(static_cast<LPCWSTR>(g_SystemDir)) +
                           L"\\main.cpl");
}

TEST_F(CommandRunTest, SortKeysChangeTheActivePanesSort)
{
    m_panes[0]->m_sortSetting.m_fileKey = 0;
    m_panes[0]->m_sortSetting.m_fileOrder = 0;
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Sortsize"), 1);
    EXPECT_EQ(m_panes[0]->m_sortSetting.m_fileKey, 2);
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Sortexchange"), 1);
    EXPECT_EQ(m_panes[0]->m_sortSetting.m_fileOrder, 1);
    EXPECT_EQ(View().ExecuteFilerCommand(L"@SortKindDir"), 1);
    EXPECT_EQ(m_panes[0]->m_sortSetting.m_directoryKey, 4);
    EXPECT_EQ(m_panes[1]->m_sortSetting.m_directoryKey, CSortSetting().m_directoryKey)
        << "the other pane keeps its own";
}

TEST_F(CommandRunTest, ChangeWindowMovesTheKeysToTheOtherPane)
{
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Changewindow"), 1);
    EXPECT_EQ(View().GetActivePaneIndex(), 1);
}

// Side by side, "@Rightwindow" only moves from the left pane and "@Leftwindow" only
// from the right one; stacked, neither moves.
TEST_F(CommandRunTest, SideKeysMoveOnlyFromTheirSideAndOnlySideBySide)
{
    const int savedWay = g_WINDOWDEVIDEWAY;
    g_WINDOWDEVIDEWAY = 1;
    ASSERT_EQ(View().GetActivePaneIndex(), 0);
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Leftwindow"), 1);
    EXPECT_EQ(View().GetActivePaneIndex(), 0) << "already on the left";
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Rightwindow"), 1);
    EXPECT_EQ(View().GetActivePaneIndex(), 1);
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Rightwindow"), 1);
    EXPECT_EQ(View().GetActivePaneIndex(), 1) << "already on the right";
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Leftwindow"), 1);
    EXPECT_EQ(View().GetActivePaneIndex(), 0);

    g_WINDOWDEVIDEWAY = 0;
    EXPECT_EQ(View().ExecuteFilerCommand(L"@Rightwindow"), 1);
    EXPECT_EQ(View().GetActivePaneIndex(), 0) << "stacked panes have no sides";
    g_WINDOWDEVIDEWAY = savedWay;
}

} // namespace
