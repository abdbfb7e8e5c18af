// The commands that open the filer's own dialogs: the temporary sort orders the
// active pane only, and the move to a typed directory starts from the current one.
#include "tests/view/CommandTestSupport.h"

#include "app/DriveSeam.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "filer/DirTreeStore.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"

#include <string>
#include <vector>

namespace
{

// Answers the dialog with the caption once it shows: checks `button` (0 none) and
// ends it with `result`.
struct DialogAnswer
{
    const wchar_t* caption = nullptr;
    int uncheck = 0;
    int check = 0;
    int result = IDOK;
    const wchar_t* text = nullptr; // typed into control `textId`
    int textId = 0;
    bool answered = false;
};
DialogAnswer* g_answer = nullptr;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    // Other test programs run beside this one and may show a dialog of the same caption.
    HWND dialog = qvtest::FindProcessWindow(g_answer->caption);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    if (g_answer->uncheck)
        CheckDlgButton(dialog, g_answer->uncheck, BST_UNCHECKED);
    if (g_answer->check)
        CheckDlgButton(dialog, g_answer->check, BST_CHECKED);
    if (g_answer->text)
        SetDlgItemTextW(dialog, g_answer->textId, g_answer->text);
    g_answer->answered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_answer->result, BN_CLICKED), 0);
}

class FilerDialogCommands : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_NOTVIEWCURRENTDIR, 1);
        Set(g_NOTVIEWUPDIR, 1);
        qvtest::WriteFileBytes(std::wstring(m_dir + L"\\a.txt"), "x");
        qvtest::WriteFileBytes(std::wstring(m_dir + L"\\b.txt"), "long contents");
        CreateDirectoryW(m_dir + L"\\sub", nullptr);
        for (CFilerPane* pane : {m_panes[0].get(), m_panes[1].get()})
        {
            ResetSortSetting(pane->m_sortSetting);
            pane->m_sortSetting.m_fileKey = SORT_KEY_NAME;
            pane->m_sortSetting.m_secondKey = 0;
            ResetSortSetting(pane->m_workingSort);
        }
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    }
    void Answer(DialogAnswer& answer)
    {
        g_answer = &answer;
        SetTimer(nullptr, 0, 20, AnswerDialog);
    }
    std::vector<std::wstring> Names(int pane) const
    {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < m_panes[pane]->m_entries.GetSize(); ++i)
            out.push_back(m_panes[pane]->m_entries[i].GetName());
        return out;
    }
};

DWORD WINAPI NoDrives()
{
    return 0;
}

} // namespace

TEST_F(FilerDialogCommands, TheTreesOpenOnlyForADirectoryListingWithEntriesOnAPresentDrive)
{
    struct Case
    {
        const char* what;
        UINT subMode;
        bool emptyList;
        bool driveGone;
        bool opens;
    } cases[] = {
        {"directory listing", PANE_SUB_DIRECTORY, false, false, true},
        {"search results", PANE_SUB_FIND_RESULTS, false, false, false},
        {"empty list", PANE_SUB_DIRECTORY, true, false, false},
        {"drive gone", PANE_SUB_DIRECTORY, false, true, false},
    };
    for (const Case& c : cases)
        for (const char* keyword : {"@Dirtreeview", "@Drivetreeview"})
        {
            // The tree of the whole drive the scratch folder lies on takes too long to
            // read: where a tree opens, the folder's own is shown.
            if (c.opens && std::string(keyword) == "@Drivetreeview")
                continue;
            SCOPED_TRACE(testing::Message() << c.what << " " << keyword);
            CDriveSeamOverride seam;
            View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
            m_panes[0]->m_subMode = c.subMode;
            if (c.emptyList)
                m_panes[0]->m_entries.RemoveAll();
            if (c.driveGone)
                g_DriveSeam.GetLogicalDrives = NoDrives;
            DialogAnswer close{L"DIRのTREE", 0, 0, IDCANCEL};
            g_answer = &close;
            const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerDialog);
            EXPECT_EQ(1, View().ExecuteFilerCommand(CString(keyword)));
            KillTimer(nullptr, timer);
            EXPECT_EQ(c.opens, close.answered);
        }
    m_panes[0]->m_subMode = PANE_SUB_DIRECTORY;
}

TEST_F(FilerDialogCommands, TheTemporarySortOrdersTheActivePaneOnly)
{
    EXPECT_EQ((std::vector<std::wstring>{L"sub", L"a.txt", L"b.txt"}), Names(0));
    DialogAnswer cancel{L"仮ファイルソート", IDC_SORT_BY_NAME, IDC_SORT_BY_SIZE, IDCANCEL};
    Answer(cancel);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Tempsort"));
    EXPECT_TRUE(cancel.answered);
    EXPECT_FALSE(m_panes[0]->m_workingSort.IsSet());

    DialogAnswer bySize{L"仮ファイルソート", IDC_SORT_BY_NAME, IDC_SORT_BY_SIZE, IDOK};
    Answer(bySize);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Tempsort"));
    ASSERT_TRUE(bySize.answered);
    EXPECT_EQ(SORT_KEY_SIZE, m_panes[0]->m_workingSort.m_fileKey);
    EXPECT_EQ(SORT_KEY_NAME, m_panes[0]->m_sortSetting.m_fileKey);
    EXPECT_FALSE(m_panes[1]->m_workingSort.IsSet());
    EXPECT_EQ((std::vector<std::wstring>{L"sub", L"b.txt", L"a.txt"}), Names(0));
}

TEST_F(FilerDialogCommands, ATypedRelativeDirectoryIsEnteredFromTheCurrentOne)
{
    DialogAnswer sub{L"ディレクトリの移動", 0, 0, IDOK, L"sub", IDC_LOG_DISK_PATH};
    Answer(sub);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Dirchange"));
    ASSERT_TRUE(sub.answered);
    EXPECT_EQ(std::wstring(m_dir + L"\\sub"), qvtest::W(m_panes[0]->m_currentDir));
}

TEST_F(FilerDialogCommands, TheSortDialogsOkShowsTheNewOrderInAFolderThatDidNotChange)
{
    DialogAnswer bySize{L"ソート方法", IDC_SORT_BY_NAME, IDC_SORT_BY_SIZE, IDOK};
    Answer(bySize);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Sort"));
    ASSERT_TRUE(bySize.answered);
    EXPECT_EQ((std::vector<std::wstring>{L"sub", L"b.txt", L"a.txt"}), Names(0));
}

TEST_F(FilerDialogCommands, AFileAddressWithEscapesIsEnteredAlsoFromTheNetworkList)
{
    CreateDirectoryW(m_dir + L"\\my sub", nullptr);
    CString address = L"file:///" + m_dir + L"/my%20sub";
    address.Replace(L'\\', L'/');
    struct Case
    {
        UINT mode;
        const wchar_t* text;
    };
    const Case cases[] = {{PANE_MODE_FILER, address}, {PANE_MODE_NETWORK, address}};
    for (const Case& c : cases)
    {
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
        m_panes[0]->SetMode(0, c.mode, 0);
        DialogAnswer typed{L"ディレクトリの移動", 0, 0, IDOK, c.text, IDC_LOG_DISK_PATH};
        Answer(typed);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Dirchange"));
        ASSERT_TRUE(typed.answered);
        EXPECT_EQ(PANE_MODE_FILER, m_panes[0]->m_mode);
        EXPECT_EQ(std::wstring(m_dir + L"\\my sub"), qvtest::W(m_panes[0]->m_currentDir));
    }
}

TEST_F(FilerDialogCommands, TheDriveTreeOfANetworkFolderStartsAtItsShare)
{
    m_panes[0]->m_currentDir = L"\\\\qvnoserver\\share\\deep\\er";
    DialogAnswer close{L"DIRのTREE", 0, 0, IDCANCEL};
    Answer(close);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Drivetreeview"));
    ASSERT_TRUE(close.answered);
    EXPECT_EQ(L"\\\\qvnoserver\\share", qvtest::W(g_DirTreeStore.m_root.GetFullPath()));
}
