// The key-setting commands and the import of key bindings: the hot keys are held off
// while the common keys are edited, and an import that cannot read its file keeps
// the bindings in use.
#include "tests/view/CommandTestSupport.h"
#include "tests/common/TestHelpers.h"

#include "util/IniFile.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "view/keys/HotKeys.h"
#include "view/keys/KeySettings.h"

namespace
{

using commandtest::CommandBench;
using qvtest::W;

struct DialogCall
{
    int mode; // -1: the filer key dialog
    BOOL suspendedMeanwhile;
};
std::vector<DialogCall>* g_dialogs = nullptr;
int g_releases = 0;
int g_installs = 0;

INT_PTR FakeFilerKeys(CQvView& view)
{
    g_dialogs->push_back({-1, view.m_bHookSuspended});
    return IDOK;
}

INT_PTR FakeViewKeys(CQvView& view, int mode)
{
    g_dialogs->push_back({mode, view.m_bHookSuspended});
    // The dialog marks a common key as hot.
    if (mode == VIEW_KEYS_COMMON)
        g_CommonKeyCmds.GetBinding(0, commandtest::RowOf(L"F5")).hotKey = 1;
    return IDOK;
}

class KeySettingsTest : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        g_dialogs = &m_dialogs;
        g_KeyDialogRunners = {FakeFilerKeys, FakeViewKeys};
        g_KeyboardHookLibrary = {[](HOOKPROC) -> BOOL { return ++g_installs, TRUE; }, [] { ++g_releases; }};
        g_installs = g_releases = 0;
        m_savedMain = g_MainView;
        g_MainView = &View();
    }
    void TearDown() override
    {
        g_MainView = m_savedMain;
        g_KeyboardHookLibrary = DefaultKeyboardHookLibrary();
        g_KeyDialogRunners = DefaultKeyDialogRunners();
        g_dialogs = nullptr;
        CommandBench::TearDown();
    }
    std::vector<DialogCall> m_dialogs;
    CQvView* m_savedMain = nullptr;
};

TEST_F(KeySettingsTest, KeywordsAndMenusOpenTheirKeyDialogs)
{
    struct Case
    {
        UINT mode;
        LPCWSTR keyword; // null: the menu id
        UINT menuId;
        int dialogMode;
        BOOL suspended;
    } cases[] = {
        {PANE_MODE_FILER, L"@Filerkey", 0, -1, FALSE},
        {PANE_MODE_TEXT_VIEWER, L"@Viewerkey", 0, VIEW_KEYS_VIEWER, FALSE},
        {PANE_MODE_BINARY, L"@Binarykey", 0, VIEW_KEYS_BINARY, FALSE},
        {PANE_MODE_GRAPHIC, L"@Graphickey", 0, VIEW_KEYS_GRAPHIC, FALSE},
        {PANE_MODE_FILER, nullptr, 3020, VIEW_KEYS_COMMON, TRUE},
        {PANE_MODE_FILER, nullptr, 576, -1, FALSE},
        {PANE_MODE_TEXT_VIEWER, nullptr, 1072, VIEW_KEYS_VIEWER, FALSE},
        {PANE_MODE_GRAPHIC, nullptr, 539, VIEW_KEYS_GRAPHIC, FALSE},
        {PANE_MODE_BINARY, nullptr, 209, VIEW_KEYS_BINARY, FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.dialogMode);
        m_dialogs.clear();
        m_panes[0]->m_mode = c.mode;
        if (c.keyword != nullptr)
            View().DispatchCommandKeyword(c.keyword);
        else
            View().OnCmdMsg(c.menuId, CN_COMMAND, nullptr, nullptr);
        ASSERT_EQ(m_dialogs.size(), 1u);
        EXPECT_EQ(m_dialogs[0].mode, c.dialogMode);
        EXPECT_EQ(m_dialogs[0].suspendedMeanwhile, c.suspended);
    }
}

TEST_F(KeySettingsTest, CommonKeysDialogHoldsTheHookOffAndRefreshesTheFlag)
{
    View().m_keys.hasHotKey = FALSE;
    View().OnCommonKeySettings();
    EXPECT_EQ(g_releases, 1) << "the hook goes before the dialog";
    EXPECT_FALSE(View().m_bHookSuspended);
    EXPECT_TRUE(View().m_keys.hasHotKey) << "the hot key the dialog set counts";
    EXPECT_EQ(g_installs, 1) << "the hook comes back afterwards";
}

class KeyImportTest : public KeySettingsTest
{
protected:
    void SetUp() override
    {
        KeySettingsTest::SetUp();
        m_savedWait = CIniFile::s_retryWaitMs;
        CIniFile::s_retryWaitMs = 1;
    }
    void TearDown() override
    {
        CIniFile::s_retryWaitMs = m_savedWait;
        KeySettingsTest::TearDown();
    }
    DWORD m_savedWait = 0;
};

TEST_F(KeyImportTest, FileThatCannotBeReadKeepsTheBindings)
{
    const std::wstring good = W(m_dir) + L"\\good.ini";
    ASSERT_TRUE(qvtest::WriteFileBytes(good, qvtest::Utf16File(L"[KEYEXEDATA]\r\nN_C=@Imported\r\n"
                                                               L"[COMMON_KEY_DATA]\r\nN_F5=@CdPlay\r\n"
                                                               L"N_F5_HOT_KEY=1\r\n")));
    const std::wstring held = W(m_dir) + L"\\held.ini";
    ASSERT_TRUE(qvtest::WriteFileBytes(held, qvtest::Utf16File(L"[KEYEXEDATA]\r\nN_C=@Held\r\n")));
    const std::wstring empty = W(m_dir) + L"\\empty.ini";
    ASSERT_TRUE(qvtest::WriteFileBytes(empty, ""));
    const std::wstring tiny = W(m_dir) + L"\\tiny.ini";
    ASSERT_TRUE(qvtest::WriteFileBytes(tiny, "ab"));
    HANDLE lock = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    const int c = commandtest::RowOf(L"C");
    for (const std::wstring& file : {held, W(m_dir) + L"\\missing.ini", empty, tiny})
    {
        SCOPED_TRACE(testing::Message() << file.size());
        g_FilerKeyCmds.GetBinding(0, c).command = L"@Mine";
        CDialogAnswerScript script;
        script.Add(IDOK, file.c_str()); // the chosen file
        script.Add(IDOK);               // the failure message
        View().OnCmdMsg(638, CN_COMMAND, nullptr, nullptr);
        auto questions = script.GetQuestions();
        ASSERT_EQ(questions.size(), 2u);
        EXPECT_EQ(W(questions[1].text), L"ファイルの読み込みに失敗しました");
        EXPECT_EQ(W(g_FilerKeyCmds.GetBinding(0, c).command), L"@Mine");
        EXPECT_FALSE(View().m_keys.hasHotKey);
    }
    CloseHandle(lock);

    {
        CDialogAnswerScript script;
        script.Add(IDCANCEL);
        View().ImportKeyData();
        EXPECT_EQ(script.GetQuestions().size(), 1u);
        EXPECT_EQ(W(g_FilerKeyCmds.GetBinding(0, c).command), L"@Mine");
    }

    CDialogAnswerScript script;
    script.Add(IDOK, good.c_str());
    View().ImportKeyData();
    EXPECT_EQ(script.GetQuestions().size(), 1u) << "no message on success";
    EXPECT_EQ(W(g_FilerKeyCmds.GetBinding(0, c).command), L"@Imported");
    EXPECT_EQ(g_CommonKeyCmds.GetBinding(0, commandtest::RowOf(L"F5")).hotKey, 1);
    EXPECT_TRUE(View().m_keys.hasHotKey);
}

} // namespace
