#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "util/IniFile.h"
#include "app/Settings.h"
#include "filer/DirHistoryDlg.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"
#include "filer/PathHistory.h"

namespace
{
std::vector<std::wstring> Paths(const CArrayPathHistoryInfo& history)
{
    std::vector<std::wstring> paths;
    for (INT_PTR i = 0; i < history.GetSize(); ++i)
        paths.push_back(static_cast<LPCWSTR>(history.GetAt(i).m_path));
    return paths;
}

CStringArray& List(CStringArray& out, std::initializer_list<LPCWSTR> items)
{
    out.RemoveAll();
    for (LPCWSTR item : items)
        out.Add(item);
    return out;
}

// What the back and forward commands do: step, then show the directory without
// moving its record to the front.
std::wstring Go(CArrayPathHistoryInfo& history, int pane, int direction, std::wstring& current)
{
    CString next;
    if (!history.Step(pane, direction, current.c_str(), next))
        return L"";
    current = static_cast<LPCWSTR>(next);
    history.Visit(pane, next, 0);
    return current;
}

using qvtest::Utf16File;

std::wstring MakeDir(const std::wstring& base, LPCWSTR name)
{
    std::wstring path = base + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}
} // namespace

TEST(PathHistory, SteppingBackAndForwardKeepsTheOrder)
{
    std::wstring base = qvtest::ScratchDir();
    std::wstring a = MakeDir(base, L"A"), gone = MakeDir(base, L"Gone"), b = MakeDir(base, L"B"),
                 other = MakeDir(base, L"Other"), c = MakeDir(base, L"C");
    CArrayPathHistoryInfo history;
    history.Visit(0, a.c_str(), 1);
    history.Visit(0, gone.c_str(), 1);
    history.Visit(0, b.c_str(), 1);
    history.Visit(1, other.c_str(), 1);
    history.Visit(0, c.c_str(), 1);
    RemoveDirectoryW(gone.c_str());
    const std::vector<std::wstring> order = {c, other, b, gone, a};
    ASSERT_EQ(Paths(history), order);

    std::wstring current = c;
    // The other pane's record and the deleted directory are passed over.
    EXPECT_EQ(Go(history, 0, 0, current), b);
    EXPECT_EQ(Go(history, 0, 0, current), a);
    EXPECT_EQ(Go(history, 0, 0, current), L"");
    EXPECT_EQ(Go(history, 0, 1, current), b);
    EXPECT_EQ(Go(history, 0, 1, current), c);
    EXPECT_EQ(Go(history, 0, 1, current), L"");
    EXPECT_EQ(Paths(history), order); // the deleted directory stays listed too

    // A path the pane never showed: forward finds nothing, back starts after index 0.
    CString out;
    EXPECT_EQ(history.Step(0, 1, L"X:\\nowhere", out), 0);
    EXPECT_EQ(history.Step(0, 0, L"X:\\nowhere", out), 1);
    EXPECT_EQ(std::wstring(out), b);
}

TEST(PathHistory, VisitMovesOrUpdatesInPlace)
{
    struct Case
    {
        const wchar_t* what;
        int pane;
        int moveToFront;
        std::vector<std::wstring> order;
        int paneOfB;
    };
    // History (newest first): C:\c (pane 0), C:\b (pane given by the row), C:\a (pane 0).
    const Case cases[] = {
        {L"other pane's record moves to the front", 1, 0, {L"c:\\B", L"C:\\c", L"C:\\a"}, 0},
        {L"loaded record is updated in place", -1, 0, {L"C:\\c", L"C:\\b", L"C:\\a"}, 0},
        {L"own record while stepping stays", 0, 0, {L"C:\\c", L"C:\\b", L"C:\\a"}, 0},
        {L"own record by navigation moves", 0, 1, {L"c:\\B", L"C:\\c", L"C:\\a"}, 0},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.what);
        CArrayPathHistoryInfo history;
        CStringArray list;
        history.LoadFromList(List(list, {L"C:\\c", L"C:\\b", L"C:\\a"}));
        if (test.pane != -1)
            history.Visit(test.pane, L"C:\\b", 0);
        ASSERT_EQ(Paths(history), (std::vector<std::wstring>{L"C:\\c", L"C:\\b", L"C:\\a"}));

        history.Visit(0, L"c:\\B", test.moveToFront);
        EXPECT_EQ(Paths(history), test.order);
        INT_PTR at = test.order[0] == L"c:\\B" ? 0 : 1;
        EXPECT_EQ(history.GetAt(at).m_paneNumber, test.paneOfB);
    }
}

TEST(PathHistory, The901stVisitDropsTheOldest)
{
    CArrayPathHistoryInfo history;
    CString path;
    for (int i = 0; i <= kPathHistoryCapacity; ++i)
    {
        path.Format(L"C:\\d%d", i);
        history.Visit(i % 2, path, 1);
    }
    ASSERT_EQ(history.GetSize(), kPathHistoryCapacity);
    EXPECT_STREQ(history.GetAt(0).m_path, L"C:\\d900");
    EXPECT_STREQ(history.GetAt(kPathHistoryCapacity - 1).m_path, L"C:\\d1");
    bool invalidArg = false;
    try
    {
        history.GetAt(kPathHistoryCapacity);
    }
    catch (CException* e)
    {
        invalidArg = dynamic_cast<CInvalidArgException*>(e) != nullptr;
        e->Delete();
    }
    EXPECT_TRUE(invalidArg);
    // The mutex was released on the way out.
    history.Visit(0, L"C:\\after", 1);
}

TEST(PathHistory, SortedCopyIsUniqueAndCapped)
{
    // A hand-edited file may repeat a path in another case.
    CArrayPathHistoryInfo history;
    CStringArray list;
    CString path;
    for (int i = 0; i < 400; ++i)
    {
        path.Format(i % 2 ? L"C:\\DIR%d" : L"c:\\dir%d", i / 2);
        list.Add(path);
    }
    history.LoadFromList(list);
    CArrayPathHistoryInfo copy;
    history.GetSortedCopy(copy, L"C:\\Dir0", PATH_HISTORY_BY_VISIT);
    std::vector<std::wstring> paths = Paths(copy);
    ASSERT_EQ(paths.size(), 199u); // 200 distinct paths, one excluded
    EXPECT_EQ(paths.front(), L"c:\\dir1");
    EXPECT_EQ(paths.back(), L"c:\\dir199");

    for (int i = 0; i < 400; ++i)
    {
        path.Format(L"C:\\many%d", i);
        history.Visit(0, path, 1);
    }
    history.GetSortedCopy(copy, nullptr, 0);
    EXPECT_EQ(copy.GetSize(), kPathHistorySaved);
    EXPECT_STREQ(copy.GetAt(0).m_path, L"C:\\many399");
}

TEST(PathHistory, ByNameNetworkPathsComeLast)
{
    CArrayPathHistoryInfo history;
    CStringArray list;
    history.LoadFromList(
        List(list, {L"\\\\server\\a", L"D:\\zeta", L"\\\\alpha\\share", L"C:\\beta", L"d:\\Alpha"}));
    CArrayPathHistoryInfo copy;
    history.GetSortedCopy(copy, nullptr, PATH_HISTORY_BY_NAME);
    EXPECT_EQ(Paths(copy), (std::vector<std::wstring>{L"C:\\beta", L"d:\\Alpha", L"D:\\zeta",
                                                      L"\\\\alpha\\share", L"\\\\server\\a"}));
    EXPECT_EQ(g_PathHistorySortMode, PATH_HISTORY_BY_NAME);
    history.GetSortedCopy(copy, nullptr, PATH_HISTORY_BY_VISIT);
    EXPECT_STREQ(copy.GetAt(0).m_path, L"\\\\server\\a");
}

TEST(PathHistory, SectionKeyNumbersGiveTheOrder)
{
    std::wstring dir = qvtest::ScratchDir();
    std::wstring file = dir + L"\\qv.ini";
    // Key 1 is missing: key 2 is never read.
    ASSERT_TRUE(qvtest::WriteFileBytes(file, Utf16File(L"[DIR_HISTORY]\r\nDIR0=C:\\old\r\nDIR2=C:\\x\r\n")));
    CIniFile ini;
    ini.filePath = file.c_str();
    ASSERT_EQ(ini.Load(), INI_LOAD_OK);
    CStringArray list;
    g_PathHistory.LoadFromList(List(list, {}));
    LoadSectionDirHistory(ini);
    ASSERT_EQ(Paths(g_PathHistory), (std::vector<std::wstring>{L"C:\\old"}));

    // Of two loaded paths the one under key 0 is newer; saving writes it first.
    g_PathHistory.LoadFromList(List(list, {L"C:\\new", L"C:\\older", L"c:\\NEW"}));
    EXPECT_GT(g_PathHistory.GetAt(0).m_visitNumber, g_PathHistory.GetAt(1).m_visitNumber);
    g_PathHistory.Visit(1, L"C:\\later", 1);
    std::wstring saved = dir + L"\\saved.ini";
    CIniFile writer;
    ASSERT_TRUE(writer.Create(saved.c_str()));
    SaveSectionDirHistory(writer);
    writer.Close();
    EXPECT_EQ(qvtest::ReadFileBytes(saved),
              Utf16File(L"[DIR_HISTORY]\r\nDIR0=C:\\later\r\nDIR1=C:\\new\r\nDIR2=C:\\older\r\n"));
    g_PathHistory.RemoveAll();
}

namespace
{
// The dialog, driven from its own modal loop once it shows.
class DrivenDirHistoryDlg : public qvtest::CDrivenDialog<DrivenDirHistoryDlg, CDirHistoryDlg>
{
public:
    std::vector<std::wstring> Lines() const { return ListBoxLines(IDC_DIR_HISTORY_LIST); }
};
} // namespace

TEST(DirHistoryDialog, FilterOrderResizeAndChoice)
{
    SettingSize savedSize = g_DIR_HISTORY_DIALOG;
    g_DIR_HISTORY_DIALOG = {0, 0};
    CStringArray list;
    g_PathHistory.LoadFromList(List(list, {L"C:\\Docs\\b", L"\\\\srv\\docs", L"C:\\zeta", L"D:\\docs\\a"}));

    DrivenDirHistoryDlg dialog;
    SIZE grown = {0, 0};
    dialog.drive = [&grown](DrivenDirHistoryDlg& dlg) {
        EXPECT_EQ(dlg.Lines(),
                  (std::vector<std::wstring>{L"C:\\Docs\\b", L"\\\\srv\\docs", L"C:\\zeta", L"D:\\docs\\a"}));
        // Enter in the filter field filters and keeps the dialog open.
        dlg.SetDlgItemText(IDC_DIR_HISTORY_FILTER, L"docs");
        ::SetFocus(dlg.GetDlgItem(IDC_DIR_HISTORY_FILTER)->GetSafeHwnd());
        dlg.Command(IDOK, BN_CLICKED);
        EXPECT_EQ(dlg.Lines(), (std::vector<std::wstring>{L"C:\\Docs\\b", L"\\\\srv\\docs", L"D:\\docs\\a"}));
        dlg.CheckRadioButton(IDC_DIR_HISTORY_BY_VISIT, IDC_DIR_HISTORY_BY_NAME, IDC_DIR_HISTORY_BY_NAME);
        dlg.Command(IDC_DIR_HISTORY_BY_NAME, BN_CLICKED);
        EXPECT_EQ(dlg.Lines(), (std::vector<std::wstring>{L"C:\\Docs\\b", L"D:\\docs\\a", L"\\\\srv\\docs"}));

        // The list grows with the dialog; the buttons keep to the bottom-right corner.
        RECT window, list = dlg.Child(IDC_DIR_HISTORY_LIST), ok = dlg.Child(IDOK);
        dlg.GetWindowRect(&window);
        grown = {window.right - window.left + 120, window.bottom - window.top + 60};
        dlg.SetWindowPos(nullptr, 0, 0, grown.cx, grown.cy, SWP_NOMOVE | SWP_NOZORDER);
        RECT list2 = dlg.Child(IDC_DIR_HISTORY_LIST), ok2 = dlg.Child(IDOK);
        EXPECT_EQ(list2.right - list2.left, list.right - list.left + 120);
        EXPECT_EQ(list2.bottom - list2.top, list.bottom - list.top + 60);
        EXPECT_EQ(ok2.left - ok.left, 120);
        EXPECT_EQ(ok2.bottom - ok2.top, ok.bottom - ok.top);

        ::SendDlgItemMessageW(dlg.m_hWnd, IDC_DIR_HISTORY_LIST, LB_SETCURSEL, 1, 0);
        dlg.Command(IDC_DIR_HISTORY_LIST, LBN_DBLCLK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(dialog.m_resultPath, L"D:\\docs\\a");
    EXPECT_EQ(g_DIR_HISTORY_DIALOG.width, grown.cx);
    EXPECT_EQ(g_DIR_HISTORY_DIALOG.height, grown.cy);

    // Opened again: the remembered size; OK without a chosen line gives no path.
    DrivenDirHistoryDlg again;
    again.drive = [&grown](DrivenDirHistoryDlg& dlg) {
        RECT window;
        dlg.GetWindowRect(&window);
        EXPECT_EQ(window.right - window.left, grown.cx);
        EXPECT_EQ(window.bottom - window.top, grown.cy);
        dlg.Command(IDOK, BN_CLICKED);
    };
    EXPECT_EQ(again.DoModal(), IDOK);
    EXPECT_TRUE(again.m_resultPath.IsEmpty());

    g_PathHistory.RemoveAll();
    g_DIR_HISTORY_DIALOG = savedSize;
}
