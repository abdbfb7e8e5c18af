// Modal dialogs driven from another thread the way a user drives them (keys and
// clicks posted into the dialog's queue), on the main thread and on a worker
// thread whose owner window lives on the main thread; data exchange with its
// checks.
#include <gtest/gtest.h>

#include "framework/FwApp.h"
#include "framework/FwDialog.h"
#include "tests/framework/framework_tests_res.h"
#include "tests/common/TestSupport.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace
{

using qvtest::PumpUntil;
using qvtest::WaitFor;

std::wstring TextOf(HWND hWnd)
{
    wchar_t text[256] = {};
    SendMessageW(hWnd, WM_GETTEXT, 256, (LPARAM)text);
    return text;
}

// A message box of the thread: a dialog-class window other than `except`.
HWND FindMessageBox(DWORD threadId, HWND except)
{
    struct Search
    {
        HWND except;
        HWND found;
    } search{except, nullptr};
    EnumThreadWindows(
        threadId,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            wchar_t name[16] = {};
            GetClassNameW(hWnd, name, 16);
            if (hWnd != s->except && lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hWnd))
            {
                s->found = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

// The message of a message box: the texts of its static controls.
std::wstring MessageBoxText(HWND hBox)
{
    std::wstring text;
    EnumChildWindows(
        hBox,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(hWnd, name, 16);
            if (lstrcmpiW(name, L"Static") == 0)
                *reinterpret_cast<std::wstring*>(lParam) += TextOf(hWnd);
            return TRUE;
        },
        (LPARAM)&text);
    return text;
}

HWND FocusOfThread(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

void PressKey(HWND hWnd, UINT vk)
{
    PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
    PostMessageW(hWnd, WM_KEYUP, vk, 0xC0000001);
}

void ClickButton(HWND hDlg, int id)
{
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, id));
}

// An edit control of ours: logs the keys offered to it before dispatch.
class LoggingEdit : public CWnd
{
public:
    std::vector<std::string>* m_pLog = nullptr;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && m_pLog != nullptr)
            m_pLog->push_back("edit");
        return FALSE;
    }
};

class TestDataDlg : public CDialog
{
public:
    explicit TestDataDlg(CWnd* pParent = nullptr) : CDialog(IDD_TEST_DATA, pParent) {}

    int m_int = 42;
    CString m_text = L"abc";
    UINT m_uint = 7;
    int m_check = 1;
    int m_radio = 2;
    CString m_combo = L"二番";
    CString m_comboEdit = L"二";
    int m_list = 1;

    std::atomic<HWND> m_hWndReady{nullptr};
    std::vector<std::string> m_log; // used on the dialog's thread only
    LoggingEdit m_edit;

protected:
    BOOL OnInitDialog() override
    {
        for (LPCWSTR item : {L"一番", L"二番", L"三番"})
            SendDlgItemMessageW(m_hWnd, IDC_TEST_COMBO, CB_ADDSTRING, 0, (LPARAM)item);
        SendDlgItemMessageW(m_hWnd, IDC_TEST_COMBO_EDIT, CB_ADDSTRING, 0, (LPARAM)L"二番目");
        for (LPCWSTR item : {L"a", L"b", L"c"})
            SendDlgItemMessageW(m_hWnd, IDC_TEST_LIST, LB_ADDSTRING, 0, (LPARAM)item);
        m_edit.m_pLog = &m_log;
        BOOL result = CDialog::OnInitDialog();
        m_hWndReady = m_hWnd;
        return result;
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_TEST_INT, m_edit);
        DDX_Text(pDX, IDC_TEST_INT, m_int);
        DDV_MinMaxInt(pDX, m_int, 1, 100);
        DDX_Text(pDX, IDC_TEST_TEXT, m_text);
        DDV_MaxChars(pDX, m_text, 5);
        DDX_Text(pDX, IDC_TEST_UINT, m_uint);
        DDX_Check(pDX, IDC_TEST_CHECK, m_check);
        DDX_Radio(pDX, IDC_TEST_RADIO1, m_radio);
        DDX_CBString(pDX, IDC_TEST_COMBO, m_combo);
        DDX_CBString(pDX, IDC_TEST_COMBO_EDIT, m_comboEdit);
        DDX_LBIndex(pDX, IDC_TEST_LIST, m_list);
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_log.push_back("dialog");
        return CDialog::PreTranslateMessage(pMsg);
    }

    void OnCustom() { EndDialog(1234); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDataDlg, CDialog)
ON_BN_CLICKED(IDC_TEST_CUSTOM, OnCustom)
END_MESSAGE_MAP()

// Runs `drive` on a second thread once the dialog is up. Whatever the driver
// did, the dialog is cancelled afterwards so that a failing test cannot hang.
INT_PTR RunDriven(TestDataDlg& dlg, const std::function<void(HWND)>& drive)
{
    std::thread driver([&] {
        if (!WaitFor([&] { return dlg.m_hWndReady.load() != nullptr; }))
            return;
        HWND hDlg = dlg.m_hWndReady;
        drive(hDlg);
        if (!WaitFor([&] { return !IsWindow(hDlg); }))
            PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    INT_PTR result = dlg.DoModal();
    driver.join();
    return result;
}

struct EndCase
{
    const char* name;
    std::function<void(HWND)> input;
    INT_PTR expected;
};

TEST(ModalDialog, EndsWithTheCodeOfTheUsersInput)
{
    const EndCase cases[] = {
        {"Return in an edit field presses OK",
         [](HWND h) { PressKey(GetDlgItem(h, IDC_TEST_INT), VK_RETURN); }, IDOK},
        {"Escape cancels", [](HWND h) { PressKey(GetDlgItem(h, IDC_TEST_TEXT), VK_ESCAPE); }, IDCANCEL},
        {"a button handler ends with its own code", [](HWND h) { ClickButton(h, IDC_TEST_CUSTOM); }, 1234},
        {"closing the window cancels", [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); }, IDCANCEL},
    };
    for (const EndCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        TestDataDlg dlg;
        EXPECT_EQ(c.expected, RunDriven(dlg, c.input));
        EXPECT_EQ(nullptr, dlg.m_hWnd);
    }
}

TEST(ModalDialog, OffersKeysToTheControlThenTheDialogBeforeDispatch)
{
    TestDataDlg dlg;
    RunDriven(dlg, [](HWND h) { PressKey(GetDlgItem(h, IDC_TEST_INT), VK_RETURN); });
    ASSERT_GE(dlg.m_log.size(), 2u);
    EXPECT_EQ("edit", dlg.m_log[0]);
    EXPECT_EQ("dialog", dlg.m_log[1]);
}

TEST(ModalDialog, RunsOnAWorkerThreadWithItsOwnerOnTheMainThread)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                               300, 200, nullptr, nullptr));
    TestDataDlg dlg(&owner);
    std::atomic<bool> done{false};
    std::atomic<INT_PTR> result{0};
    std::atomic<DWORD> workerId{0};
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        result = dlg.DoModal();
        done = true;
    });

    // The main thread keeps pumping, as the program's main thread does while
    // its workers ask their questions.
    EXPECT_TRUE(PumpUntil([&] { return dlg.m_hWndReady.load() != nullptr; }));
    HWND hDlg = dlg.m_hWndReady;
    EXPECT_EQ(owner.m_hWnd, GetWindow(hDlg, GW_OWNER));
    EXPECT_EQ(workerId.load(), GetWindowThreadProcessId(hDlg, nullptr));
    EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));

    ClickButton(hDlg, IDC_TEST_CUSTOM);
    if (!PumpUntil([&] { return done.load(); }))
        PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
    PumpUntil([&] { return done.load(); }, 60000);
    worker.join();
    EXPECT_EQ(1234, result.load());
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    owner.DestroyWindow();
}

struct CheckStep
{
    const char* name;
    std::vector<std::pair<int, const wchar_t*>> texts; // control id, text to enter
    const wchar_t* message;                            // expected message box text
    int focusId;                                       // control focused afterwards
};

TEST(DataExchange, LoadsControlsAndKeepsTheDialogOpenUntilEveryCheckPasses)
{
    const CheckStep steps[] = {
        {"not a number", {{IDC_TEST_INT, L"x1"}}, L"整数を入力してください。", IDC_TEST_INT},
        {"out of range",
         {{IDC_TEST_INT, L"500"}},
         L"1 から 100 までの整数を入力してください。",
         IDC_TEST_INT},
        {"too long",
         {{IDC_TEST_INT, L" 12 "}, {IDC_TEST_TEXT, L"toolong"}},
         L"5 文字以内で入力してください。",
         IDC_TEST_TEXT},
        {"negative unsigned",
         {{IDC_TEST_TEXT, L"hello"}, {IDC_TEST_UINT, L"-1"}},
         L"0 以上の整数を入力してください。",
         IDC_TEST_UINT},
    };

    struct Observed
    {
        std::wstring intText, text, uintText, comboEditText;
        LRESULT limit = 0, check = -1, radio1 = -1, radio3 = -1, comboSel = -1, listSel = -1;
        std::vector<std::wstring> messages;
        std::vector<bool> stayedOpen;
        std::vector<int> focusIds;
    } seen;

    TestDataDlg dlg;
    const DWORD dialogThread = GetCurrentThreadId();
    INT_PTR result = RunDriven(dlg, [&](HWND h) {
        seen.intText = TextOf(GetDlgItem(h, IDC_TEST_INT));
        seen.text = TextOf(GetDlgItem(h, IDC_TEST_TEXT));
        seen.uintText = TextOf(GetDlgItem(h, IDC_TEST_UINT));
        seen.comboEditText = TextOf(GetDlgItem(h, IDC_TEST_COMBO_EDIT));
        seen.limit = SendDlgItemMessageW(h, IDC_TEST_TEXT, EM_GETLIMITTEXT, 0, 0);
        seen.check = SendDlgItemMessageW(h, IDC_TEST_CHECK, BM_GETCHECK, 0, 0);
        seen.radio1 = SendDlgItemMessageW(h, IDC_TEST_RADIO1, BM_GETCHECK, 0, 0);
        seen.radio3 = SendDlgItemMessageW(h, IDC_TEST_RADIO3, BM_GETCHECK, 0, 0);
        seen.comboSel = SendDlgItemMessageW(h, IDC_TEST_COMBO, CB_GETCURSEL, 0, 0);
        seen.listSel = SendDlgItemMessageW(h, IDC_TEST_LIST, LB_GETCURSEL, 0, 0);

        for (const CheckStep& step : steps)
        {
            for (const auto& entry : step.texts)
                SetDlgItemTextW(h, entry.first, entry.second);
            PressKey(GetDlgItem(h, IDC_TEST_INT), VK_RETURN);
            HWND hBox = nullptr;
            WaitFor([&] { return (hBox = FindMessageBox(dialogThread, h)) != nullptr; });
            seen.messages.push_back(hBox ? MessageBoxText(hBox) : L"(no message box)");
            if (hBox != nullptr)
            {
                PostMessageW(hBox, WM_COMMAND, IDOK, 0);
                WaitFor([&] { return !IsWindow(hBox); });
            }
            HWND hWanted = GetDlgItem(h, step.focusId);
            WaitFor([&] { return FocusOfThread(dialogThread) == hWanted; }, 2000);
            // Without a window manager Wine hands the X focus to the desktop when the
            // box goes, which deactivates the dialog after it set its focus. The dialog
            // keeps its focused control over a deactivation: activated again, it
            // shows the control it had focused.
            if (FocusOfThread(dialogThread) == nullptr)
            {
                SetForegroundWindow(h);
                WaitFor([&] { return FocusOfThread(dialogThread) == hWanted; }, 2000);
            }
            seen.focusIds.push_back(GetDlgCtrlID(FocusOfThread(dialogThread)));
            seen.stayedOpen.push_back(IsWindow(h) && IsWindowVisible(h));
        }

        SetDlgItemTextW(h, IDC_TEST_UINT, L"4000000000");
        SendDlgItemMessageW(h, IDC_TEST_CHECK, BM_SETCHECK, BST_UNCHECKED, 0);
        SendDlgItemMessageW(h, IDC_TEST_RADIO3, BM_SETCHECK, BST_UNCHECKED, 0);
        SendDlgItemMessageW(h, IDC_TEST_RADIO1, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageW(h, IDC_TEST_COMBO, CB_SETCURSEL, 2, 0);
        SetDlgItemTextW(h, IDC_TEST_COMBO_EDIT, L"自由入力");
        SendDlgItemMessageW(h, IDC_TEST_LIST, LB_SETCURSEL, 2, 0);
        PressKey(GetDlgItem(h, IDC_TEST_INT), VK_RETURN);
    });

    EXPECT_EQ(L"42", seen.intText);
    EXPECT_EQ(L"abc", seen.text);
    EXPECT_EQ(L"7", seen.uintText);
    EXPECT_EQ(5, seen.limit);
    EXPECT_EQ(BST_CHECKED, seen.check);
    EXPECT_EQ(BST_UNCHECKED, seen.radio1);
    EXPECT_EQ(BST_CHECKED, seen.radio3) << "the static text between the buttons does not count";
    EXPECT_EQ(1, seen.comboSel);
    EXPECT_EQ(L"二", seen.comboEditText) << "an item that only begins with the text must not replace it";
    EXPECT_EQ(1, seen.listSel);

    ASSERT_EQ(std::size(steps), seen.messages.size());
    for (size_t i = 0; i < std::size(steps); ++i)
    {
        SCOPED_TRACE(steps[i].name);
        EXPECT_EQ(steps[i].message, seen.messages[i]);
        EXPECT_TRUE(seen.stayedOpen[i]);
        EXPECT_EQ(steps[i].focusId, seen.focusIds[i]);
    }

    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(12, dlg.m_int);
    EXPECT_EQ(L"hello", dlg.m_text);
    EXPECT_EQ(4000000000u, dlg.m_uint);
    EXPECT_EQ(0, dlg.m_check);
    EXPECT_EQ(0, dlg.m_radio);
    EXPECT_EQ(L"三番", dlg.m_combo);
    EXPECT_EQ(L"自由入力", dlg.m_comboEdit);
    EXPECT_EQ(2, dlg.m_list);
}

} // namespace
