// The main view's life under Wine: created as the child of a test frame over two
// scratch folders, it reaps finished worker dialogs and reloads its panes, re-checks
// its directories every second, takes a further start's request and a found file,
// refuses to quit while a worker runs, and saves the settings when it is destroyed.
#include "tests/view/SettingsTestSupport.h"

#include "app/StartDirs.h"
#include "app/settings/FilerSettings.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "res/CommonDialogs.h"
#include "app/dialogs/WorkerDialog.h"
#include "graphics/picture/PictureData.h"
#include "tests/common/TestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace
{

using settingstest::SettingsBench;

// A worker dialog without a window: the test says when its worker has ended; it then
// does what a real one does, set its done flag and post 663 to the view.
class FakeWorkerDialog : public CWorkerDialog
{
public:
    explicit FakeWorkerDialog(int* deleted) : m_deleted(deleted) {}
    ~FakeWorkerDialog() override { ++*m_deleted; }
    // As a real worker dialog ends: through the window the view registered.
    void Finish() { NotifyWorkerDone(); }

private:
    int* m_deleted;
};

class FakeFindDialog : public CFindDialogBase
{
public:
    explicit FakeFindDialog(int* deleted) : m_deleted(deleted) {}
    ~FakeFindDialog() override
    {
        if (m_deleted)
            ++*m_deleted;
    }
    void PumpSearchMessages() override { ++m_pumped; }
    int m_pumped = 0;

private:
    int* m_deleted;
};

std::wstring NoTrailingBackslash(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

using qvtest::PumpUntil;

class ViewLifeCycle : public SettingsBench
{
protected:
    void SetUp() override
    {
        SettingsBench::SetUp();
        m_left = MakeFolder(L"left", {L"a.txt", L"b.txt", L"c.txt"});
        m_right = MakeFolder(L"right", {L"x.txt", L"y.txt", L"z.txt"});
        g_StartDirs[0] = m_left.c_str();
        g_StartDirs[1] = m_right.c_str();
        m_savedMessage = g_MsgReqDirChange;
        if (g_MsgReqDirChange == 0)
            g_MsgReqDirChange = RegisterWindowMessageW(QV_MSG_REQ_DIR_CHANGE_NAME);
        m_savedShared = g_SharedProcessData;
        m_frame = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 640, 480,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_frame);
        m_pView = new CQvView;
        RECT rect = {0, 0, 600, 400};
        ASSERT_TRUE(m_pView->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, CWnd::FromHandle(m_frame),
                                    AFX_IDW_PANE_FIRST));
        ASSERT_EQ(m_pView, g_MainView);
        ASSERT_NE(nullptr, g_Panes[0]);
        ASSERT_NE(nullptr, g_Panes[1]);
    }

    void TearDown() override
    {
        // The window's end deletes the view.
        if (g_MainView == m_pView && m_pView != nullptr && m_pView->m_hWnd)
            m_pView->DestroyWindow();
        m_pView = nullptr;
        if (m_frame)
            DestroyWindow(m_frame);
        g_SharedProcessData = m_savedShared;
        g_MsgReqDirChange = m_savedMessage;
        SettingsBench::TearDown();
    }

    std::wstring MakeFolder(const std::wstring& name, std::initializer_list<const wchar_t*> files)
    {
        std::wstring dir = m_dir + L"\\" + name;
        CreateDirectoryW(dir.c_str(), nullptr);
        for (const wchar_t* file : files)
            qvtest::WriteFileBytes(dir + L"\\" + file, "x");
        return dir;
    }

    static std::wstring CursorName(int pane)
    {
        CFileInfo* entry = g_Panes[pane]->GetCursorEntry();
        return entry ? entry->GetName() : L"";
    }
    static bool Lists(int pane, const wchar_t* name)
    {
        CFilerPane& p = *g_Panes[pane];
        for (INT_PTR i = 0; i < p.m_entries.GetSize(); ++i)
            if (_wcsicmp(p.m_entries[i].GetName(), name) == 0)
                return true;
        return false;
    }
    static std::wstring Directory(int pane)
    {
        return NoTrailingBackslash(static_cast<LPCWSTR>(g_Panes[pane]->m_currentDir));
    }
    // Cursors on b.txt and y.txt; c.txt marked in the left pane.
    void PutCursorsAndMark()
    {
        g_Panes[0]->SetCursorToName(L"b.txt", FALSE, 0);
        g_Panes[1]->SetCursorToName(L"y.txt", FALSE, 0);
        for (INT_PTR i = 0; i < g_Panes[0]->m_entries.GetSize(); ++i)
            if (_wcsicmp(g_Panes[0]->m_entries[i].GetName(), L"c.txt") == 0)
                g_Panes[0]->SetEntryMark(i, 1);
        ASSERT_EQ(1, g_Panes[0]->m_markedCount);
        ASSERT_EQ(L"b.txt", CursorName(0));
        ASSERT_EQ(L"y.txt", CursorName(1));
    }
    // A file that sorts first, so that a reload that lost the cursor would show.
    void CreateNewFirstFiles()
    {
        qvtest::WriteFileBytes(m_left + L"\\0new.txt", "n");
        qvtest::WriteFileBytes(m_right + L"\\0new.txt", "n");
    }

    std::wstring m_left, m_right;
    HWND m_frame = nullptr;
    CQvView* m_pView = nullptr;

private:
    UINT m_savedMessage = 0;
    wchar_t* m_savedShared = nullptr;
};

TEST_F(ViewLifeCycle, TheLastCopyDialogEndingReloadsBothPanesKeepingTheirCursors)
{
    PutCursorsAndMark();
    int deleted = 0;
    auto* copy = new FakeWorkerDialog(&deleted);
    auto* del = new FakeWorkerDialog(&deleted);
    m_pView->AddCopyDialog(copy);
    m_pView->AddDeleteDialog(del);
    CreateNewFirstFiles();

    copy->Finish();
    ASSERT_TRUE(PumpUntil([&] { return deleted == 1; }, 2000)) << "the finished dialog was not reaped";
    qvtest::DispatchPendingMessages();

    // The marked left pane is never re-read by the change check: only the reaping's
    // reload can have found the new file there.
    EXPECT_TRUE(Lists(0, L"0new.txt"));
    EXPECT_TRUE(Lists(1, L"0new.txt"));
    EXPECT_EQ(L"b.txt", CursorName(0));
    EXPECT_EQ(L"y.txt", CursorName(1));
    EXPECT_EQ(0, m_pView->m_copyDialogs.GetSize());
    ASSERT_EQ(1, m_pView->m_deleteDialogs.GetSize()) << "a running dialog stays listed";
    EXPECT_EQ(del, m_pView->m_deleteDialogs[0]);
    EXPECT_EQ(1, m_pView->m_idleState) << "the view is idle again";

    del->Finish();
    ASSERT_TRUE(PumpUntil([&] { return deleted == 2; }, 2000));
    EXPECT_EQ(0, m_pView->m_deleteDialogs.GetSize());
}

TEST_F(ViewLifeCycle, AHiddenPaneIsNotReloadedWhenTheLastDialogEnds)
{
    g_Panes[1]->SetMode(PANE_POS_HIDDEN, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    int deleted = 0;
    auto* copy = new FakeWorkerDialog(&deleted);
    m_pView->AddCopyDialog(copy);
    CreateNewFirstFiles();

    copy->Finish();
    ASSERT_TRUE(PumpUntil([&] { return deleted == 1; }, 2000));
    qvtest::DispatchPendingMessages();

    EXPECT_TRUE(Lists(0, L"0new.txt"));
    EXPECT_FALSE(Lists(1, L"0new.txt")) << "the hidden pane's folder was read";
}

TEST_F(ViewLifeCycle, WhileOtherDialogsAreStillListedNoPaneIsReloaded)
{
    PutCursorsAndMark();
    int deleted = 0;
    auto* first = new FakeWorkerDialog(&deleted);
    m_pView->AddCopyDialog(first);
    m_pView->AddCopyDialog(new FakeWorkerDialog(&deleted));
    m_pView->AddDeleteDialog(new FakeWorkerDialog(&deleted));
    m_pView->AddUnpackDialog(new FakeWorkerDialog(&deleted));
    CreateNewFirstFiles();

    first->Finish();
    ASSERT_TRUE(PumpUntil([&] { return deleted == 1; }, 2000));
    qvtest::DispatchPendingMessages();

    EXPECT_FALSE(Lists(0, L"0new.txt")) << "no list became empty, so no reload";
    EXPECT_EQ(1, g_Panes[0]->m_markedCount);
    EXPECT_EQ(L"b.txt", CursorName(0));
    EXPECT_EQ(1, m_pView->m_copyDialogs.GetSize());
    EXPECT_EQ(1, m_pView->m_deleteDialogs.GetSize());
    EXPECT_EQ(1, m_pView->m_unpackDialogs.GetSize());
}

TEST_F(ViewLifeCycle, TheChangeCheckShowsANewFileWithinTwoTicksButLeavesAMarkedPaneAlone)
{
    PutCursorsAndMark();
    CreateNewFirstFiles();
    ASSERT_TRUE(PumpUntil([] { return Lists(1, L"0new.txt"); }, 2600))
        << "a file created in the shown folder did not appear";
    EXPECT_EQ(L"y.txt", CursorName(1)) << "the cursor stays on the same name";
    // Enough ticks of the change check for the left pane's poll to come round once more.
    ASSERT_EQ(1, m_pView->m_idleState);
    for (int i = 0; i < g_ReloadSettings[g_Panes[0]->GetDriveClass()].ticks; ++i)
        ::SendMessageW(m_pView->m_hWnd, WM_TIMER, VIEW_TIMER_CHANGE_CHECK, 0);
    EXPECT_FALSE(Lists(0, L"0new.txt")) << "a pane with marks must keep its list";
    EXPECT_EQ(1, g_Panes[0]->m_markedCount);
}

TEST_F(ViewLifeCycle, TheChangeCheckWaitsWhileAnActionRuns)
{
    m_pView->StopViewTimers(0);
    qvtest::WriteFileBytes(m_right + L"\\0new.txt", "n");
    for (int i = 0; i <= g_ReloadSettings[g_Panes[1]->GetDriveClass()].ticks; ++i)
        ::SendMessageW(m_pView->m_hWnd, WM_TIMER, VIEW_TIMER_CHANGE_CHECK, 0);
    qvtest::DispatchPendingMessages();
    EXPECT_FALSE(Lists(1, L"0new.txt")) << "re-read in the middle of an action";
    m_pView->StartBinaryCursorTimer();
    EXPECT_TRUE(PumpUntil([] { return Lists(1, L"0new.txt"); }, 2600));
}

TEST_F(ViewLifeCycle, ADirectoryRequestThatComesDuringAnActionIsTakenUpAfterIt)
{
    std::wstring other0 = MakeFolder(L"other0", {L"p.txt"});
    std::wstring other1 = MakeFolder(L"other1", {L"q.txt"});
    std::vector<wchar_t> shared(2 * kStartDirSlotChars, L'\0');
    WriteStartDirSlot(shared.data(), 0, other0.c_str());
    WriteStartDirSlot(shared.data(), 1, other1.c_str());
    g_SharedProcessData = shared.data();

    m_pView->StopViewTimers(0);
    ::PostMessageW(m_pView->m_hWnd, g_MsgReqDirChange, 0, 0);
    qvtest::DispatchPendingMessages();
    EXPECT_EQ(m_left, Directory(0)) << "no pane changes in the middle of an action";
    EXPECT_EQ(m_right, Directory(1));

    m_pView->StartBinaryCursorTimer();
    EXPECT_TRUE(PumpUntil([&] { return Directory(0) == other0; })) << "the waiting request was lost";
    EXPECT_EQ(other1, Directory(1));
}

TEST_F(ViewLifeCycle, ADirectoryRequestWithTheFirstSlotEmptyChangesNothing)
{
    std::wstring other1 = MakeFolder(L"other1", {L"q.txt"});
    std::vector<wchar_t> shared(2 * kStartDirSlotChars, L'\0');
    WriteStartDirSlot(shared.data(), 1, other1.c_str());
    g_SharedProcessData = shared.data();

    MSG msg = {m_pView->m_hWnd, g_MsgReqDirChange, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(m_pView->PreTranslateMessage(&msg)) << "the request is consumed";
    EXPECT_EQ(m_left, Directory(0));
    EXPECT_EQ(m_right, Directory(1));
}

TEST_F(ViewLifeCycle, AFoundFileIsOpenedOnlyForAListedFindDialog)
{
    std::wstring found = MakeFolder(L"found", {L"a1.txt", L"k.txt", L"z9.txt"});

    // A pointer the view never handed out is not touched (deleting it would crash).
    FakeFindDialog stranger(nullptr);
    stranger.m_foundDirectory = found.c_str();
    stranger.m_foundName = L"k.txt";
    stranger.m_bCloseAfterOpen = TRUE;
    ::PostMessageW(m_pView->m_hWnd, WM_QV_OPEN_FOUND, 0, reinterpret_cast<LPARAM>(&stranger));
    ::PostMessageW(m_pView->m_hWnd, WM_QV_RELEASE_FOUND, 0, reinterpret_cast<LPARAM>(&stranger));
    qvtest::DispatchPendingMessages();
    EXPECT_EQ(m_left, Directory(0));
    EXPECT_EQ(0, stranger.m_pumped);

    int deleted = 0;
    auto* dialog = new FakeFindDialog(&deleted);
    dialog->m_foundDirectory = found.c_str();
    dialog->m_foundName = L"K.TXT";
    dialog->m_bCloseAfterOpen = TRUE;
    m_pView->AddFindDialog(dialog);

    // While an action runs the result waits in the dialog.
    m_pView->StopViewTimers(0);
    ::PostMessageW(m_pView->m_hWnd, WM_QV_OPEN_FOUND, 0, reinterpret_cast<LPARAM>(dialog));
    qvtest::DispatchPendingMessages();
    EXPECT_EQ(m_left, Directory(0));
    EXPECT_EQ(0, deleted);
    m_pView->StartBinaryCursorTimer();

    ::PostMessageW(m_pView->m_hWnd, WM_QV_OPEN_FOUND, 0, reinterpret_cast<LPARAM>(dialog));
    ASSERT_TRUE(PumpUntil([&] { return deleted == 1; }, 2000)) << "the dialog with its close box set stays";
    EXPECT_EQ(found, Directory(0));
    EXPECT_EQ(L"k.txt", CursorName(0));
    EXPECT_EQ(0, m_pView->m_findDialogs.GetSize());
}

TEST_F(ViewLifeCycle, APictureShownAtStartWidensTheFirstDrawingsPlacement)
{
    CRect viewClient;
    m_pView->GetClientRect(&viewClient);
    // A wide, low picture: only the width grows.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 900;
    info.bmiHeader.biHeight = 10;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    std::vector<BYTE> bits(900 * 3 * 10);
    g_CurrentPicture.AttachBorrowed(&info, bits.data());
    MoveWindow(m_frame, 20, 30, 640, 480, FALSE);
    m_pView->m_bWindowPlaced = 0;
    g_STARTPOS = 0;
    g_FIRSTWIDE = 700;
    g_FIRSTHEIGHT = 500;
    g_STARTSIZE = 3;
    m_pView->PlaceMainWindow(0);
    g_CurrentPicture.Free();
    RECT rect;
    GetWindowRect(m_frame, &rect);
    EXPECT_EQ(900 + 640 - viewClient.Width(), rect.right - rect.left);
    EXPECT_EQ(500, rect.bottom - rect.top);
}

TEST_F(ViewLifeCycle, TheFrameIsPlacedOnceAtCreationOrAtTheFirstDrawingAsStartSizeSays)
{
    CRect viewClient;
    m_pView->GetClientRect(&viewClient);
    struct Case
    {
        int startSize;
        int atCreation;
        bool placed;
        int width, height; // 0: the frame keeps its size
    } const cases[] = {
        {2, 1, true, 700, 500},
        {2, 0, false, 0, 0},
        {3, 1, false, 0, 0},
        {3, 0, true, 700, 500},
        {4, 1, true, 333, 222},
        {5, 1, false, 0, 0},
        {5, 0, true, 700 + 640 - viewClient.Width(), 500 + 480 - viewClient.Height()},
        {9, 1, true, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "STARTSIZE " << c.startSize << " at creation " << c.atCreation);
        MoveWindow(m_frame, 20, 30, 640, 480, FALSE);
        m_pView->m_bWindowPlaced = 0;
        g_STARTPOS = 1;
        g_FIRSTX = 5;
        g_FIRSTY = 6;
        g_FIRSTWIDE = 700;
        g_FIRSTHEIGHT = 500;
        g_ENDWIDE = 333;
        g_ENDHEIGHT = 222;
        g_STARTSIZE = c.startSize;
        m_pView->PlaceMainWindow(c.atCreation);
        EXPECT_EQ(c.placed ? 1 : 0, m_pView->m_bWindowPlaced);
        RECT rect;
        GetWindowRect(m_frame, &rect);
        if (c.width != 0)
        {
            EXPECT_EQ(5, rect.left);
            EXPECT_EQ(6, rect.top);
            EXPECT_EQ(c.width, rect.right - rect.left);
            EXPECT_EQ(c.height, rect.bottom - rect.top);
        }
        else
        {
            EXPECT_EQ(20, rect.left) << "not moved";
            EXPECT_EQ(640, rect.right - rect.left);
        }
        if (c.placed)
        {
            EXPECT_EQ(rect.right - rect.left, g_ENDWIDE) << "the placed size is remembered";
            EXPECT_EQ(rect.left, g_ENDX);
        }
        // A second call never moves the frame again.
        MoveWindow(m_frame, 20, 30, 640, 480, FALSE);
        m_pView->PlaceMainWindow(0);
        m_pView->PlaceMainWindow(1);
        if (c.placed)
        {
            GetWindowRect(m_frame, &rect);
            EXPECT_EQ(20, rect.left);
        }
    }
}

// Answers the first message box of this thread with OK and keeps its text.
std::wstring g_boxText;
void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR id, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t className[32] = L"";
            GetClassNameW(window, className, 32);
            if (wcscmp(className, L"#32770") != 0)
                return TRUE;
            wchar_t text[256] = L"";
            GetDlgItemTextW(window, IDC_MESSAGE_TEXT, text, 256);
            g_boxText = text;
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
    if (!g_boxText.empty())
        KillTimer(nullptr, id);
}

TEST_F(ViewLifeCycle, QuitIsRefusedWhileACopyRunsAndAllowedWithOnlyAFindDialogOpen)
{
    int deleted = 0;
    m_pView->AddCopyDialog(new FakeWorkerDialog(&deleted));
    g_boxText.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerMessageBox);
    EXPECT_EQ(0, m_pView->Quit(1));
    KillTimer(nullptr, timer);
    EXPECT_EQ(L"コピー処理中のため終了できません", g_boxText);
    EXPECT_EQ(0, m_pView->m_bQuitting);

    static_cast<FakeWorkerDialog*>(m_pView->m_copyDialogs[0])->m_bWorkerDone = 1;
    m_pView->AddFindDialog(new FakeFindDialog(nullptr));
    EXPECT_EQ(1, m_pView->Quit(1)) << "closing the frame with the default settings asks nothing";
    EXPECT_EQ(1, m_pView->m_bQuitting);
    EXPECT_EQ(1, deleted);
}

TEST_F(ViewLifeCycle, DestroyingTheWindowSavesTheSettingsWithTheFramePlace)
{
    m_pView->DestroyWindow();
    m_pView = nullptr;
    EXPECT_EQ(nullptr, g_MainView) << "the view deletes itself with its window";
    EXPECT_EQ(nullptr, g_Panes[0]);
    auto ini = settingstest::ReadIni(MainPath());
    EXPECT_EQ(L"640", ini[L"ALLDATA"][L"ENDWIDE"]);
    EXPECT_EQ(L"480", ini[L"ALLDATA"][L"ENDHEIGHT"]);
    EXPECT_EQ(L"20", ini[L"ALLDATA"][L"ENDX"]);
    EXPECT_EQ(L"30", ini[L"ALLDATA"][L"ENDY"]);
}

// Every step quitting takes beyond the view, in order, as the hooks saw them; no test
// reaches the real ExitWindowsEx.
std::vector<std::wstring> g_quitSteps;

void InstallRecordingQuitHooks()
{
    g_quitSteps.clear();
    g_SoundHooks.playCommandSound = [](LPCWSTR name) {
        g_quitSteps.push_back(std::wstring(L"sound ") + name);
    };
    g_QuitHooks.querySaveBinaryPanes = [](CQvView&) { g_quitSteps.push_back(L"binary"); };
    g_QuitHooks.saveAllSettings = [](CQvView& view) {
        g_quitSteps.push_back(L"save");
        view.SaveAllSettings();
    };
    g_QuitHooks.enableShutdownPrivilege = [] { g_quitSteps.push_back(L"privilege"); };
    g_QuitHooks.exitWindows = [](UINT flags) -> BOOL {
        g_quitSteps.push_back(L"exit " + std::to_wstring(flags));
        return FALSE;
    };
}

std::wstring Joined(const std::vector<std::wstring>& steps)
{
    std::wstring all;
    for (const std::wstring& step : steps)
        all += (all.empty() ? L"" : L", ") + step;
    return all;
}

// The quit question is asked from the menu always, from the frame's close only with
// ASK_ALWAYS_AT_EXIT, never with NOTQUITMESSAGE; each of its four buttons does what it
// says, the shut-down buttons through the hooks with the settings saved once.
TEST_F(ViewLifeCycle, QuitAsksAsTheSettingsSayAndEachAnswerEndsAsItSays)
{
    CQuitHooksOverride hooks;
    struct Case
    {
        int notQuitMessage;
        int askAlways;
        int fromClose;
        INT_PTR answer; // 0: no question expected
        int result;
        const wchar_t* steps;
    } const cases[] = {
        {0, 0, 0, IDOK, 1, L"sound QUIT"},
        {0, 0, 0, IDCANCEL, 0, L"sound QUIT"},
        {0, 0, 1, 0, 1, L"sound QUIT"},
        {0, 1, 1, IDCANCEL, 0, L"sound QUIT"},
        {1, 1, 0, 0, 1, L"sound QUIT"},
        {0, 0, 0, IDC_QUIT_SHUTDOWN, IDC_QUIT_SHUTDOWN, L"sound QUIT, binary, save, privilege, exit 9"},
        {0, 1, 1, IDC_QUIT_REBOOT, IDC_QUIT_REBOOT, L"sound QUIT, binary, save, privilege, exit 2"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.notQuitMessage << c.askAlways << c.fromClose << " " << c.answer);
        InstallRecordingQuitHooks();
        g_NOTQUITMESSAGE = c.notQuitMessage;
        g_ASK_ALWAYS_AT_EXIT = c.askAlways;
        m_pView->m_bQuitting = 0;
        m_pView->m_bSettingsSaved = 0;
        DeleteFileW(MainPath().c_str());
        {
            CDialogAnswerScript script;
            if (c.answer != 0)
                script.Add(c.answer);
            EXPECT_EQ(c.result, m_pView->Quit(c.fromClose));
            const auto questions = script.GetQuestions();
            ASSERT_EQ(c.answer != 0 ? 1u : 0u, questions.size());
            if (c.answer != 0)
            {
                EXPECT_EQ(static_cast<UINT>(IDD_QUIT), questions[0].dialogId);
                EXPECT_EQ(L"終了しますか", std::wstring(questions[0].caption));
            }
        }
        EXPECT_EQ(c.steps, Joined(g_quitSteps));
        EXPECT_EQ(c.result != 0 ? 1 : 0, m_pView->m_bQuitting);
        EXPECT_EQ(0, m_pView->m_bQuitQuestionOpen);
        // Staying: the view is idle again; ending Windows: the settings were written
        // and the window's end will not write them again.
        if (c.result == 0)
        {
            EXPECT_EQ(1, m_pView->m_idleState);
        }
        const bool shutDown = c.result == IDC_QUIT_SHUTDOWN || c.result == IDC_QUIT_REBOOT;
        EXPECT_EQ(shutDown, GetFileAttributesW(MainPath().c_str()) != INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(shutDown ? 1 : 0, m_pView->m_bSettingsSaved);
    }
}

// What happens while the real quit question is open: the job the timer starts then, the
// answer it gives, and the text of the message box that follows.
struct QuitQuestionScene
{
    std::function<void()> startJob;
    INT_PTR answer = IDOK;
    bool answered = false;
    std::wstring boxText;
};
QuitQuestionScene* g_scene = nullptr;

void CALLBACK PlayQuitQuestionScene(HWND, UINT, UINT_PTR id, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t className[32] = L"";
            GetClassNameW(window, className, 32);
            if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window))
                return TRUE;
            if (!g_scene->answered && GetDlgItem(window, IDC_QUIT_SHUTDOWN) != nullptr)
            {
                g_scene->answered = true;
                g_scene->startJob();
                PostMessageW(window, WM_COMMAND, g_scene->answer, 0);
                return FALSE;
            }
            if (g_scene->answered && GetDlgItem(window, IDC_MESSAGE_TEXT) != nullptr)
            {
                wchar_t text[256] = L"";
                GetDlgItemTextW(window, IDC_MESSAGE_TEXT, text, 256);
                g_scene->boxText = text;
                PostMessageW(window, WM_COMMAND, IDOK, 0);
                return FALSE;
            }
            return TRUE;
        },
        0);
    if (!g_scene->boxText.empty())
        KillTimer(nullptr, id);
}

// A copy, delete or unpack started while the quit question is open (the question's
// modal loop still dispatches what is posted to the view) keeps the program: every
// answer that would end it is refused as before the question, with nothing saved and
// Windows not asked to end; once the job is done the same answer ends the program.
TEST_F(ViewLifeCycle, AJobStartedWhileTheQuitQuestionIsOpenRefusesEveryAnswerThatEnds)
{
    CQuitHooksOverride hooks;
    g_NOTQUITMESSAGE = 0;
    g_ASK_ALWAYS_AT_EXIT = 0;
    struct Job
    {
        const char* name;
        void (CQvView::*add)(CWorkerDialog*);
        CArray<CWorkerDialog*> CQvView::*list;
        const wchar_t* refusal;
    } const jobs[] = {
        {"copy", &CQvView::AddCopyDialog, &CQvView::m_copyDialogs, L"コピー処理中のため終了できません"},
        {"delete", &CQvView::AddDeleteDialog, &CQvView::m_deleteDialogs, L"削除処理中のため終了できません"},
        {"unpack", &CQvView::AddUnpackDialog, &CQvView::m_unpackDialogs, L"解凍処理中のため終了できません"},
    };
    for (const Job& job : jobs)
    {
        for (INT_PTR answer : {static_cast<INT_PTR>(IDOK), static_cast<INT_PTR>(IDC_QUIT_SHUTDOWN),
                               static_cast<INT_PTR>(IDC_QUIT_REBOOT)})
        {
            SCOPED_TRACE(testing::Message() << job.name << " " << answer);
            InstallRecordingQuitHooks();
            m_pView->m_bQuitting = 0;
            m_pView->m_bSettingsSaved = 0;
            DeleteFileW(MainPath().c_str());
            int deleted = 0;
            FakeWorkerDialog* worker = nullptr;
            QuitQuestionScene scene;
            scene.answer = answer;
            scene.startJob = [&] {
                worker = new FakeWorkerDialog(&deleted);
                (m_pView->*job.add)(worker);
            };
            g_scene = &scene;
            UINT_PTR timer = SetTimer(nullptr, 0, 50, PlayQuitQuestionScene);
            EXPECT_EQ(0, m_pView->Quit(0));
            KillTimer(nullptr, timer);
            g_scene = nullptr;
            ASSERT_TRUE(scene.answered) << "the quit question was not shown";
            EXPECT_EQ(job.refusal, scene.boxText);
            EXPECT_EQ(L"sound QUIT", Joined(g_quitSteps)) << "nothing saved, Windows not asked to end";
            EXPECT_EQ(0, m_pView->m_bQuitting);
            EXPECT_EQ(0, m_pView->m_bSettingsSaved);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(MainPath().c_str()));
            EXPECT_EQ(1, m_pView->m_idleState);
            EXPECT_EQ(0, deleted) << "the running job was kept";
            ASSERT_EQ(1, (m_pView->*job.list).GetSize());

            // The job ends; the next quit ends as its answer says.
            worker->m_bWorkerDone = 1;
            {
                CDialogAnswerScript script;
                script.Add(answer);
                EXPECT_EQ(answer == IDOK ? 1 : static_cast<int>(answer), m_pView->Quit(0));
                EXPECT_EQ(1u, script.GetQuestions().size());
            }
            EXPECT_EQ(1, deleted);
            EXPECT_EQ(1, m_pView->m_bQuitting);
        }
    }
}

// The quit keyword and the menu's exit item ask the quit question even with the
// default settings, where the frame's close asks nothing; Cancel keeps the program.
TEST_F(ViewLifeCycle, TheQuitKeywordAndTheExitItemAskAndCancelKeepsTheProgram)
{
    CQuitHooksOverride hooks;
    InstallRecordingQuitHooks();
    g_NOTQUITMESSAGE = 0;
    g_ASK_ALWAYS_AT_EXIT = 0;
    const std::function<void()> requests[] = {
        [this] { m_pView->DispatchCommandKeyword(L"@Quit"); },
        [this] { m_pView->OnCmdMsg(57665, CN_COMMAND, nullptr, nullptr); },
    };
    for (const auto& request : requests)
    {
        m_pView->m_bQuitting = 0;
        CDialogAnswerScript script;
        script.Add(IDCANCEL);
        request();
        const auto questions = script.GetQuestions();
        ASSERT_EQ(1u, questions.size());
        EXPECT_EQ(static_cast<UINT>(IDD_QUIT), questions[0].dialogId);
        EXPECT_EQ(0, m_pView->m_bQuitting);
    }
}

} // namespace
