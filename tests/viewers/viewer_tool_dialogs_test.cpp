// The text viewer's settings dialogs, the binary editor's line jump and the print
// dialog opened for real: fields in and out, the preset button, the per-extension
// pages, the checks that keep a dialog open, and a print job run to its end on a
// recording printer.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/dialogs/DialogAnswerScript.h"
#include "res/ViewerToolDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "viewers/binary/JumpLineDlg.h"
#include "viewers/text/PrintTextDlg.h"
#include "viewers/text/VeiwKindSettingDlg.h"
#include "viewers/text/ViewConfigDlg.h"

using qvtest::W;

namespace
{

class DrivenConfigDlg : public qvtest::CDrivenDialog<DrivenConfigDlg, CViewConfigDlg>
{
};
class DrivenKindDlg : public qvtest::CDrivenDialog<DrivenKindDlg, CVeiwKindSettingDlg>
{
};
class DrivenJumpDlg : public qvtest::CDrivenDialog<DrivenJumpDlg, CJumpLineDlg>
{
};

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    ::GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

bool Enabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

// Answers the framework's check message of the dialog thread with OK, from another
// thread while the dialog's own thread is inside the message box; its text is kept.
class MessageBoxCloser
{
public:
    explicit MessageBoxCloser(DWORD threadId, HWND dialog)
        : m_worker([this, threadId, dialog] {
              for (int i = 0; i < 500 && !m_stop; ++i)
              {
                  HWND box = FindBox(threadId, dialog);
                  if (box != nullptr)
                  {
                      wchar_t text[256] = {};
                      ::EnumChildWindows(
                          box,
                          [](HWND child, LPARAM out) -> BOOL {
                              wchar_t name[16] = {};
                              ::GetClassNameW(child, name, 16);
                              if (lstrcmpiW(name, L"Static") == 0)
                              {
                                  wchar_t piece[256] = {};
                                  ::GetWindowTextW(child, piece, 256);
                                  lstrcatW(reinterpret_cast<wchar_t*>(out), piece);
                              }
                              return TRUE;
                          },
                          reinterpret_cast<LPARAM>(text));
                      m_text = text;
                      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  Sleep(20);
              }
          })
    {
    }
    ~MessageBoxCloser()
    {
        m_stop = true;
        if (m_worker.joinable())
            m_worker.join();
    }
    // Waits until the box has been answered (or the closer gave up).
    std::wstring Text()
    {
        if (m_worker.joinable())
            m_worker.join();
        return m_text;
    }

private:
    static HWND FindBox(DWORD threadId, HWND except)
    {
        struct Search
        {
            HWND except;
            HWND found;
        } search{except, nullptr};
        ::EnumThreadWindows(
            threadId,
            [](HWND hWnd, LPARAM lParam) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lParam);
                wchar_t name[16] = {};
                ::GetClassNameW(hWnd, name, 16);
                if (hWnd != s->except && lstrcmpW(name, L"#32770") == 0 && ::IsWindowVisible(hWnd))
                {
                    s->found = hWnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    std::atomic<bool> m_stop{false};
    std::wstring m_text;
    std::thread m_worker;
};

TEST(ViewerToolDialogs, SettingsGoInAndOutAndThePresetButtonTakesOnlyPositiveNumbers)
{
    DrivenConfigDlg dlg;
    dlg.m_values.tabColumns = 4;
    dlg.m_values.memoryKb = 320;
    dlg.m_values.lineWidth = 80;
    dlg.m_values.scrollSpeed = 7;
    dlg.m_values.lineReturnCode = L"\u00b6";
    dlg.m_values.leftAction = L"@CLOSEVIEWER"; // the case is ignored
    dlg.m_values.rightAction = L"@Unknown";
    const int presets[] = {80, 72, 100, 40, 132};
    for (int i = 0; i < 5; ++i)
        dlg.m_values.presets[i] = presets[i];
    std::vector<std::wstring> listBefore, listAfterZero, listAfter;
    LRESULT leftRow = -1, rightRow = -1, sliderMax = -1, sliderPos = -1;
    dlg.drive = [&](DrivenConfigDlg& d) {
        HWND h = d.GetSafeHwnd();
        listBefore = d.ListBoxLines(IDC_VIEW_CONFIG_PRESET_LIST);
        leftRow = ::SendDlgItemMessageW(h, IDC_VIEW_CONFIG_LEFT_ACTION, CB_GETCURSEL, 0, 0);
        rightRow = ::SendDlgItemMessageW(h, IDC_VIEW_CONFIG_RIGHT_ACTION, CB_GETCURSEL, 0, 0);
        sliderMax = ::SendDlgItemMessageW(h, IDC_VIEW_CONFIG_SCROLL_SPEED, TBM_GETRANGEMAX, 0, 0);
        sliderPos = ::SendDlgItemMessageW(h, IDC_VIEW_CONFIG_SCROLL_SPEED, TBM_GETPOS, 0, 0);
        ::SendDlgItemMessageW(h, IDC_VIEW_CONFIG_PRESET_LIST, LB_SETCURSEL, 1, 0);
        ::SetDlgItemTextW(h, IDC_VIEW_CONFIG_PRESET_EDIT, L"0");
        d.Command(IDC_VIEW_CONFIG_PRESET_SET);
        listAfterZero = d.ListBoxLines(IDC_VIEW_CONFIG_PRESET_LIST);
        ::SetDlgItemTextW(h, IDC_VIEW_CONFIG_PRESET_EDIT, L"120");
        d.Command(IDC_VIEW_CONFIG_PRESET_SET);
        listAfter = d.ListBoxLines(IDC_VIEW_CONFIG_PRESET_LIST);
        ::SetDlgItemTextW(h, IDC_VIEW_CONFIG_TAB, L"8");
        ::SetDlgItemTextW(h, IDC_VIEW_CONFIG_LINE_WIDTH, L"100");
        ::SetDlgItemTextW(h, IDC_VIEW_CONFIG_RETURN_CODE, L"<<");
        ::CheckDlgButton(h, IDC_VIEW_CONFIG_LINE_NUMBER, BST_CHECKED);
        ::SendDlgItemMessageW(h, IDC_VIEW_CONFIG_SCROLL_SPEED, TBM_SETPOS, TRUE, 2);
        ::SendDlgItemMessageW(h, IDC_VIEW_CONFIG_RIGHT_ACTION, CB_SETCURSEL, 4, 0);
        d.Command(IDOK);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(listBefore.size(), 5u);
    EXPECT_EQ(listBefore[1], L"72文字に設定");
    EXPECT_EQ(listAfterZero[1], L"72文字に設定") << "0 leaves the preset alone";
    EXPECT_EQ(listAfter[1], L"120文字に設定");
    EXPECT_EQ(leftRow, 1);
    EXPECT_EQ(rightRow, 0) << "an unknown keyword shows the first row";
    EXPECT_EQ(sliderMax, 10);
    EXPECT_EQ(sliderPos, 7);
    EXPECT_EQ(dlg.m_values.presets[1], 120);
    EXPECT_EQ(dlg.m_values.presets[2], 100);
    EXPECT_EQ(dlg.m_values.tabColumns, 8);
    EXPECT_EQ(dlg.m_values.lineWidth, 100);
    EXPECT_EQ(dlg.m_values.memoryKb, 320);
    EXPECT_EQ(dlg.m_values.lineNumbers, 1);
    EXPECT_EQ(dlg.m_values.scrollSpeed, 2);
    EXPECT_EQ(W(dlg.m_values.lineReturnCode), L"<<");
    EXPECT_EQ(W(dlg.m_values.leftAction), L"@Closeviewer");
    EXPECT_EQ(W(dlg.m_values.rightAction), L"@Startbyurl");
}

TEST(ViewerToolDialogs, TabColumnsOutsideTheRangeKeepTheSettingsDialogOpen)
{
    DrivenConfigDlg dlg;
    std::wstring message;
    bool stayedOpen = false;
    dlg.drive = [&](DrivenConfigDlg& d) {
        HWND h = d.GetSafeHwnd();
        ::SetDlgItemTextW(h, IDC_VIEW_CONFIG_TAB, L"101");
        {
            MessageBoxCloser closer(GetCurrentThreadId(), h);
            d.Command(IDOK);
            message = closer.Text();
        }
        stayedOpen = ::IsWindow(h) && ::IsWindowVisible(h);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_NE(message.find(L"100"), std::wstring::npos) << "the framework's range message";
}

TEST(ViewerToolDialogs, PerExtensionPagesKeepTheirEditsAndOkStoresThemAll)
{
    ViewerKindRow saved[VIEWER_KIND_ROW_COUNT];
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
    {
        saved[i] = g_ViewerKindRows[i];
        g_ViewerKindRows[i] = ViewerKindRow();
    }
    g_ViewerKindRows[6].extension = L"LOG";
    g_ViewerKindRows[6].lineWidth = 120;

    for (int ok : {1, 0})
    {
        SCOPED_TRACE(ok);
        DrivenKindDlg dlg;
        struct
        {
            bool before, next;
        } firstPage{}, secondPage{}, lastPage{};
        std::wstring shownExtension, shownWidth, shownTab;
        dlg.drive = [&](DrivenKindDlg& d) {
            HWND h = d.GetSafeHwnd();
            firstPage = {Enabled(h, IDC_VIEW_KIND_BEFORE), Enabled(h, IDC_VIEW_KIND_NEXT)};
            ::SetDlgItemTextW(h, IDC_VIEW_KIND_EXT0, ok ? L"txt" : L"zzz");
            ::SetDlgItemTextW(h, IDC_VIEW_KIND_WIDTH0, L"abc");
            d.Command(IDC_VIEW_KIND_NEXT);
            secondPage = {Enabled(h, IDC_VIEW_KIND_BEFORE), Enabled(h, IDC_VIEW_KIND_NEXT)};
            shownExtension = ItemText(h, IDC_VIEW_KIND_EXT1);
            shownWidth = ItemText(h, IDC_VIEW_KIND_WIDTH0 + 1);
            shownTab = ItemText(h, IDC_VIEW_KIND_TAB0 + 1);
            ::SetDlgItemTextW(h, IDC_VIEW_KIND_TAB0 + 1, L"3");
            for (int i = 0; i < 4; ++i)
                d.Command(IDC_VIEW_KIND_NEXT);
            lastPage = {Enabled(h, IDC_VIEW_KIND_BEFORE), Enabled(h, IDC_VIEW_KIND_NEXT)};
            ::SetDlgItemTextW(h, IDC_VIEW_KIND_EXT4, L"md");
            d.Command(ok ? IDOK : IDCANCEL);
        };
        ASSERT_EQ(dlg.DoModal(), ok ? IDOK : IDCANCEL);
        EXPECT_FALSE(firstPage.before);
        EXPECT_TRUE(firstPage.next);
        EXPECT_TRUE(secondPage.before);
        EXPECT_TRUE(secondPage.next);
        EXPECT_TRUE(lastPage.before);
        EXPECT_FALSE(lastPage.next) << "rows 25 to 29 are the last page";
        EXPECT_EQ(shownExtension, L"LOG");
        EXPECT_EQ(shownWidth, L"120");
        EXPECT_EQ(shownTab, ok ? L"8" : L"3") << "the second pass shows what the first stored";
        if (ok)
        {
            EXPECT_EQ(W(g_ViewerKindRows[0].extension), L"txt");
            EXPECT_EQ(g_ViewerKindRows[0].lineWidth, 0) << "text that is not a number reads as 0";
            EXPECT_EQ(g_ViewerKindRows[6].tabWidth, 3);
            EXPECT_EQ(W(g_ViewerKindRows[29].extension), L"md");
        }
        else
        {
            EXPECT_EQ(W(g_ViewerKindRows[0].extension), L"txt") << "cancel discards the copy";
            EXPECT_EQ(W(g_ViewerKindRows[29].extension), L"md");
        }
    }
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
        g_ViewerKindRows[i] = saved[i];
}

TEST(ViewerToolDialogs, LineJumpShowsTheUnitOfTheChosenNotation)
{
    DrivenJumpDlg dlg;
    std::vector<std::wstring> units;
    dlg.drive = [&](DrivenJumpDlg& d) {
        HWND h = d.GetSafeHwnd();
        units.push_back(ItemText(h, IDC_JUMP_LINE_UNIT));
        ::CheckDlgButton(h, IDC_JUMP_LINE_HEX, BST_CHECKED);
        d.Command(IDC_JUMP_LINE_HEX);
        units.push_back(ItemText(h, IDC_JUMP_LINE_UNIT));
        ::CheckDlgButton(h, IDC_JUMP_LINE_HEX, BST_UNCHECKED);
        ::CheckDlgButton(h, IDC_JUMP_LINE_DECIMAL, BST_CHECKED);
        d.Command(IDC_JUMP_LINE_DECIMAL);
        units.push_back(ItemText(h, IDC_JUMP_LINE_UNIT));
        ::CheckDlgButton(h, IDC_JUMP_LINE_RELATIVE, BST_CHECKED);
        ::SetDlgItemTextW(h, IDC_JUMP_LINE_TEXT, L"-12");
        d.Command(IDOK);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(units, (std::vector<std::wstring>{L"", L"0H", L"X16"}));
    EXPECT_EQ(W(dlg.m_text), L"-12");
    EXPECT_EQ(dlg.m_notation, 0);
    EXPECT_EQ(dlg.m_relative, 1);
}

// A printer that records what is printed: body cells are 10 units wide and 20 high.
class RecordingTarget : public CPrintTarget
{
public:
    int StartDoc(LPCWSTR name) override
    {
        documents.push_back(name);
        return 1;
    }
    int StartPage() override
    {
        ++pages;
        return 1;
    }
    int EndPage() override { return 1; }
    int EndDoc() override { return 1; }
    void AbortDoc() override { ++aborts; }
    void SelectFont(int header, int& lineHeight, int& charWidth) override
    {
        lineHeight = header ? 30 : 20;
        charWidth = 10;
    }
    void RestoreFont() override {}
    void TextOut(int, int, LPCWSTR text, int length) override { printed.append(text, length); }

    std::vector<std::wstring> documents;
    int pages = 0;
    int aborts = 0;
    std::wstring printed;
};

// The print dialog on a display context instead of a printer (Wine has none), or on
// none at all, printing into the recording target.
class TestPrintDlg : public qvtest::CDrivenDialog<TestPrintDlg, CPrintTextDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
    bool havePrinter = true;
    RecordingTarget* target = nullptr;

protected:
    HDC OpenPrinter(BOOL, CString& name, BOOL& cancelled) override
    {
        cancelled = FALSE;
        if (!havePrinter)
            return nullptr;
        name = L"記録";
        return CreateCompatibleDC(nullptr);
    }
    CPrintTarget* CreatePrintTarget(HDC, HFONT, HFONT) override
    {
        target = new RecordingTarget();
        return target;
    }
};

PrintSettings TestSettings()
{
    PrintSettings settings;
    settings.fontName = L"ＭＳ ゴシック";
    settings.fontCharSet = SHIFTJIS_CHARSET;
    settings.fontHeight = -16;
    settings.charsPerLine = 40;
    settings.tabColumns = 4;
    settings.documentName = L"C:\\doc\\a.txt";
    return settings;
}

TEST(ViewerToolDialogs, PrintChecksItsFieldsThenPrintsTheTextToTheEnd)
{
    const std::string text = "abc\r\ndef";
    PrintSettings settings = TestSettings();
    CDialogAnswerScript script;
    TestPrintDlg dlg(settings, text.data(), static_cast<int>(text.size()));
    std::wstring fileShown, maxLines;
    int maxChars = 0;
    dlg.drive = [&](TestPrintDlg& d) {
        HWND h = d.GetSafeHwnd();
        fileShown = ItemText(h, IDC_PRINT_FILE);
        maxLines = ItemText(h, IDC_PRINT_MAX_LINES);
        maxChars = d.m_maxChars;
        struct
        {
            int id;
            const wchar_t* bad;
            const wchar_t* good;
        } steps[] = {
            {IDC_PRINT_CHARS, L"0", L"40"},
            {IDC_PRINT_LINES, L"501", L"10"},
            {IDC_PRINT_TAB, L"101", L"4"},
        };
        for (const auto& step : steps)
        {
            ::SetDlgItemTextW(h, step.id, step.bad);
            d.Command(IDOK);
            ::SetDlgItemTextW(h, step.id, step.good);
        }
        ::CheckDlgButton(h, IDC_PRINT_ALL_PAGES, BST_UNCHECKED);
        ::CheckDlgButton(h, IDC_PRINT_PAGE_RANGE, BST_CHECKED);
        ::SetDlgItemTextW(h, IDC_PRINT_FIRST_PAGE, L"2");
        ::SetDlgItemTextW(h, IDC_PRINT_LAST_PAGE, L"1");
        d.Command(IDOK);
        ::CheckDlgButton(h, IDC_PRINT_PAGE_RANGE, BST_UNCHECKED);
        ::CheckDlgButton(h, IDC_PRINT_ALL_PAGES, BST_CHECKED);
        d.Command(IDOK); // now valid: the job runs and the dialog ends by itself
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(fileShown, L"C:\\doc\\a.txt");
    EXPECT_GT(maxChars, 40);
    EXPECT_EQ(maxLines.substr(0, 3), L"(最大");
    std::vector<std::wstring> messages;
    for (const CDialogQuestion& question : script.GetQuestions())
        messages.push_back(W(question.text));
    EXPECT_EQ(messages, (std::vector<std::wstring>{L"一行の文字数が不正です", L"１ページの行数が不正です",
                                                   L"タブカラム数が不正です", L"ページの設定が不正です"}));
    ASSERT_NE(dlg.target, nullptr);
    EXPECT_EQ(dlg.target->documents, (std::vector<std::wstring>{L"C:\\doc\\a.txt"}));
    EXPECT_EQ(dlg.target->pages, 1);
    EXPECT_EQ(dlg.target->aborts, 0);
    EXPECT_EQ(dlg.target->printed, L"abcdef");
    EXPECT_EQ(settings.tabColumns, 4);
    EXPECT_EQ(settings.charsPerLine, 40);
}

TEST(ViewerToolDialogs, PrintWithoutAPrinterSaysSoAndEnds)
{
    PrintSettings settings = TestSettings();
    CDialogAnswerScript script;
    TestPrintDlg dlg(settings, "x", 1);
    dlg.havePrinter = false;
    dlg.drive = [](TestPrintDlg& d) { d.Command(IDCANCEL); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(W(script.GetQuestions()[0].text), L"プリンターがInstallされていません");
    EXPECT_EQ(dlg.target, nullptr) << "nothing printed";
}

} // namespace
