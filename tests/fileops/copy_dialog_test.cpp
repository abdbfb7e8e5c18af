// The copy dialog driven by tests: drops start at once, Cancel still records the
// destination, a destination above the root is refused, the dialog tells the view it
// ended, and the file selection keeps its patterns upper-case and unique.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/FileOpSettings.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/copy/MyCopyDlg.h"
#include "res/CopyDialogs.h"
#include "tests/fileops/CopyTestData.h"

namespace
{

using copytest::MakeTree;
using copytest::Select;

int g_modelessDone = 0;

LRESULT CALLBACK ViewStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDM_MODELESS_DONE)
        ++g_modelessDone;
    return DefWindowProcW(window, message, wParam, lParam);
}

class CopyDialogTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        src = P(L"src");
        dst = P(L"dst");
        CreateDirectoryW(src.c_str(), nullptr);
        CreateDirectoryW(dst.c_str(), nullptr);
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ViewStandIn;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"CopyDialogTestView";
        RegisterClassW(&windowClass);
        view = CreateWindowW(L"CopyDialogTestView", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
        SetWorkerDoneWindow(view);
        g_modelessDone = 0;
        savedHistory.Copy(g_SelectDirHistory);
    }
    void TearDown() override
    {
        SetWorkerDoneWindow(nullptr);
        DestroyWindow(view);
        g_SelectDirHistory.Copy(savedHistory);
    }

    std::wstring src, dst;
    HWND view = nullptr;
    CStringArray savedHistory;
};

TEST_F(CopyDialogTest, DropStartsWithoutOkAndTheDialogLeavesTheViewsListAtTheEnd)
{
    MakeTree(src, {L"f.txt", L"g.txt"});
    for (int kind : {DROP_COPY, DROP_MOVE})
    {
        SCOPED_TRACE(kind);
        MakeTree(src, {L"f.txt"});
        DeleteFileW((dst + L"\\f.txt").c_str());
        CMyCopyDlg* dialog = new CMyCopyDlg();
        dialog->m_kind = kind;
        dialog->m_source = Select(src, {L"f.txt"});
        dialog->m_destinationText = dst.c_str();
        int before = g_modelessDone;
        ASSERT_TRUE(dialog->CreateModeless(nullptr));
        EXPECT_TRUE(qvtest::PumpUntil([&] { return g_modelessDone > before; }));
        EXPECT_EQ(1, dialog->m_bWorkerDone);
        EXPECT_EQ("f.txt", qvtest::ReadFileBytes(dst + L"\\f.txt"));
        EXPECT_EQ(kind == DROP_COPY, copytest::Exists(src + L"\\f.txt"));
        delete dialog;
    }
}

TEST_F(CopyDialogTest, CancelBeforeOkStillRecordsTheDestinationAndTellsTheView)
{
    MakeTree(src, {L"f.txt"});
    CMyCopyDlg* dialog = new CMyCopyDlg();
    dialog->m_kind = COPY;
    dialog->m_source = Select(src, {L"f.txt"});
    dialog->m_destinationText = dst.c_str();
    ASSERT_TRUE(dialog->CreateModeless(nullptr));
    ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    qvtest::PumpUntil([&] { return g_modelessDone > 0; });
    EXPECT_EQ(1, g_modelessDone);
    ASSERT_GT(g_SelectDirHistory.GetSize(), 0);
    EXPECT_EQ(dst, qvtest::W(g_SelectDirHistory[0]));
    EXPECT_FALSE(copytest::Exists(dst + L"\\f.txt"));
    delete dialog;
}

TEST_F(CopyDialogTest, DestinationClimbingAboveTheRootIsRefusedAndTheDialogWaits)
{
    MakeTree(src, {L"f.txt"});
    CMyCopyDlg* dialog = new CMyCopyDlg();
    dialog->m_kind = COPY;
    dialog->m_source = Select(src, {L"f.txt"});
    dialog->m_destinationText = L"..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..";
    ASSERT_TRUE(dialog->CreateModeless(nullptr));
    {
        CDialogAnswerScript script;
        script.Add(IDOK);
        ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDOK, 0);
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(L"入力したディレクトリ名が不正です", qvtest::W(script.GetQuestions()[0].text));
    }
    EXPECT_EQ(nullptr, dialog->m_pWorker);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog->m_hWnd, IDOK)));
    EXPECT_EQ(0, dialog->m_bWorkerDone);
    ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    delete dialog;
}

TEST_F(CopyDialogTest, CopyToAllShowsTheTargetOrTheOtherSidesMarkedFiles)
{
    MakeTree(src, {L"f.txt"});
    MakeTree(dst, {L"T1\\", L"T2\\"});
    struct Case
    {
        std::initializer_list<const wchar_t*> targets;
        std::wstring shown;
    } cases[] = {{{L"T1"}, dst + L"\\T1\\"}, {{L"T1", L"T2"}, L"相手側のタグファイル"}};
    for (const Case& c : cases)
    {
        CMyCopyDlg* dialog = new CMyCopyDlg();
        dialog->m_kind = COPY_TO_ALL;
        dialog->m_source = Select(src, {L"f.txt"});
        dialog->m_targets = Select(dst, c.targets);
        dialog->m_otherDirectory = dst.c_str();
        ASSERT_TRUE(dialog->CreateModeless(nullptr));
        CString shown;
        dialog->GetDlgItemText(IDC_COPY_DESTINATION, shown);
        EXPECT_EQ(c.shown, qvtest::W(shown));
        ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
        delete dialog;
    }
}

TEST(CopyPatternTest, PatternsBecomeUpperCaseAndUnique)
{
    CStringArray patterns;
    struct Case
    {
        const wchar_t* text;
        int added;
    } cases[] = {{L"*.txt", 1}, {L"*.TXT", 0}, {L"*.Txt", 0}, {L"", 0}, {L"a?.bmp", 1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.added, AddCopyPattern(patterns, c.text)) << c.text;
    EXPECT_EQ((std::vector<std::wstring>{L"*.TXT", L"A?.BMP"}), qvtest::Items(patterns));
}

TEST(CopyPatternTest, SelectionDialogAddsPatternsAsItsButtonsDo)
{
    CSelCopyFileDlg dialog;
    dialog.m_targetPatterns.Add(L"*.C");
    CDialogAnswerScript script;
    CDialogAnswer ok;
    ok.text = L"*.h;*.c";
    ok.content = L"~*";
    script.Add(ok);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::wstring>{L"*.C", L"*.H"}), qvtest::Items(dialog.m_targetPatterns));
    EXPECT_EQ((std::vector<std::wstring>{L"~*"}), qvtest::Items(dialog.m_excludedPatterns));
}

} // namespace
