// The directory tree dialog over scanned folders, the memory cache and the cache file.
#include "app/Settings.h"
#include "filer/PaneArchive.h"
#include "filer/dialogs/DirtreeDlg.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Records the scans instead of making them where a test must not walk a whole drive.
class DrivenDirtreeDlg : public qvtest::CDrivenDialog<DrivenDirtreeDlg, CDirtreeDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
    BOOL m_bRecordScans = FALSE;
    int m_scans = 0;
    std::vector<std::wstring> Lines() const { return ListBoxLines(IDC_DIR_TREE_LIST); }

protected:
    int ScanTree(const CFileInfo& directory, int depth) override
    {
        ++m_scans;
        return m_bRecordScans ? 1 : CDirtreeDlg::ScanTree(directory, depth);
    }
};

class NoArchive : public IPaneArchive
{
public:
    int ListDirectory(CArrayFileInfo&, LPCWSTR, LPCWSTR, BOOL, const FindCondition*) override { return 0; }
    const CString& GetCurrentFolder() const override { return m_folder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_folder = folder; }
    CErrorIF& GetErrors() override { return m_errors; }
    CString m_folder;
    CErrorIF m_errors;
};

class DirTreeDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedFile = g_SAVEDRIVETREETOFILE;
        m_savedMemory = g_SAVEDRIVETREETOMEMORY;
        g_SAVEDRIVETREETOFILE = g_SAVEDRIVETREETOMEMORY = 0;
        // The scratch folder is emptied whenever it is asked for: asked once.
        m_scratch = qvtest::ScratchDir();
        m_base = m_scratch + L"\\tree";
        for (const wchar_t* folder : {L"", L"\\b", L"\\a", L"\\a\\a1", L"\\empty"})
            CreateDirectoryW((m_base + folder).c_str(), nullptr);
        qvtest::WriteFileBytes(m_base + L"\\a\\file.txt", "x");
        m_store.SetCacheFolder(m_scratch.c_str());
    }
    void TearDown() override
    {
        g_SAVEDRIVETREETOFILE = m_savedFile;
        g_SAVEDRIVETREETOMEMORY = m_savedMemory;
    }
    // The tree lines of `root` as the dialog opens; `act` then drives it further.
    std::vector<std::wstring> Open(LPCWSTR root, BOOL recordScans = FALSE, int* scans = nullptr,
                                   std::function<void(DrivenDirtreeDlg&)> act = nullptr,
                                   INT_PTR result = IDOK)
    {
        m_store.m_root.SetFromPath(nullptr, root);
        DrivenDirtreeDlg dialog(nullptr, &m_store);
        dialog.m_bRecordScans = recordScans;
        std::vector<std::wstring> lines;
        dialog.drive = [&](DrivenDirtreeDlg& dlg) {
            lines = dlg.Lines();
            if (act)
                act(dlg);
            else
                dlg.Command(IDOK);
        };
        EXPECT_EQ(result, dialog.DoModal());
        if (scans != nullptr)
            *scans = dialog.m_scans;
        return lines;
    }
    void WriteCache(const std::string& bytes)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(m_scratch + L"\\C_TREE.DAT", bytes));
    }

    int m_savedFile = 0, m_savedMemory = 0;
    std::wstring m_scratch;
    std::wstring m_base;
    DirTreeStore m_store;
};
} // namespace

TEST_F(DirTreeDialogTest, ScannedFoldersAreDrawnWithTheirBranches)
{
    EXPECT_EQ((std::vector<std::wstring>{m_base + L"\\empty"}), Open((m_base + L"\\empty").c_str()));
    EXPECT_EQ((std::vector<std::wstring>{m_base, L"├a", L"│└a1", L"├b", L"└empty"}), Open(m_base.c_str()));
}

TEST_F(DirTreeDialogTest, ALinkBackUpTheTreeShowsButIsNotEntered)
{
    ASSERT_TRUE(qvtest::MakeFolderLink(m_base + L"\\a\\back", m_base));
    EXPECT_EQ((std::vector<std::wstring>{m_base, L"├a", L"│├a1", L"│└back", L"├b", L"└empty"}),
              Open(m_base.c_str()));
}

TEST_F(DirTreeDialogTest, TheCaretListsFilesAndTheJumpReturnsItsFolder)
{
    std::vector<std::wstring> files;
    Open(
        m_base.c_str(), FALSE, nullptr,
        [&files](DrivenDirtreeDlg& dlg) {
            ::SendDlgItemMessageW(dlg.m_hWnd, IDC_DIR_TREE_LIST, LB_SETCARETINDEX, 1, 0);
            dlg.Command(IDC_DIR_TREE_LIST, LBN_SELCHANGE);
            files = dlg.ListBoxLines(IDC_DIR_TREE_FILES);
            dlg.Command(IDC_DIR_TREE_GO);
        },
        IDC_DIR_TREE_JUMP);
    EXPECT_EQ((std::vector<std::wstring>{L"file.txt"}), files);
    EXPECT_EQ(m_base + L"\\a", std::wstring(m_store.m_resultPath));
}

TEST_F(DirTreeDialogTest, ADriveRootComesFromTheCacheFileOrIsScanned)
{
    g_SAVEDRIVETREETOFILE = 1;
    struct Case
    {
        std::string file;
        std::vector<std::wstring> lines;
        int scans;
    } cases[] = {
        // Paths need not exist: a deleted folder shows from the cache until "Reload".
        {qvtest::Utf16File(L"C:\\x\r\nC:\\x\\y\r\nC:\\z\r\nC:\\lost"), {L"C:", L"├x", L"│└y", L"└z"}, 0},
        {"", {L"C:"}, 0},
        {"\xFF", {L"C:"}, 1},
        {"\xFF\xFE", {L"C:"}, 1},
    };
    for (const Case& c : cases)
    {
        WriteCache(c.file);
        m_store.Clear();
        int scans = -1;
        EXPECT_EQ(c.lines, Open(L"C:", TRUE, &scans));
        EXPECT_EQ(c.scans, scans);
        // The tree read stays in memory for the next opening.
        EXPECT_EQ(c.lines.size() > 1, m_store.GetTree(L'C') != nullptr);
    }
}

TEST_F(DirTreeDialogTest, TheMemoryCacheAloneShowsTheRootUntilReloaded)
{
    g_SAVEDRIVETREETOMEMORY = 1;
    int scans = -1;
    EXPECT_EQ((std::vector<std::wstring>{L"C:"}), Open(L"C:", TRUE, &scans));
    EXPECT_EQ(0, scans);

    CDirTreeChain kept;
    kept.Append(L"C:\\kept");
    m_store.SetTree(L'c', kept.Detach());
    EXPECT_EQ((std::vector<std::wstring>{L"C:", L"└kept"}), Open(L"C:", TRUE, &scans));
    EXPECT_EQ(0, scans);
    ASSERT_NE(nullptr, m_store.GetTree(L'C'));

    std::vector<std::wstring> reloaded;
    Open(L"C:", TRUE, &scans, [&reloaded](DrivenDirtreeDlg& dlg) {
        dlg.Command(IDC_DIR_TREE_RELOAD);
        reloaded = dlg.Lines();
        dlg.Command(IDOK);
    });
    EXPECT_EQ(1, scans);
    EXPECT_EQ((std::vector<std::wstring>{L"C:"}), reloaded);
}

TEST_F(DirTreeDialogTest, AnArchiveTreeIsAlwaysScanned)
{
    g_SAVEDRIVETREETOFILE = g_SAVEDRIVETREETOMEMORY = 1;
    WriteCache(qvtest::Utf16File(L"C:\\x\r\n"));
    NoArchive archive;
    m_store.m_root.SetFromPath(&archive, L"C:");
    DrivenDirtreeDlg dialog(nullptr, &m_store);
    dialog.m_bRecordScans = TRUE;
    dialog.drive = [](DrivenDirtreeDlg& dlg) { dlg.Command(IDOK); };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_scans);
}

TEST_F(DirTreeDialogTest, ClipboardHoldsTheSelectedLinesAsShown)
{
    std::wstring clip;
    Open(m_base.c_str(), FALSE, nullptr, [&clip](DrivenDirtreeDlg& dlg) {
        ::SendDlgItemMessageW(dlg.m_hWnd, IDC_DIR_TREE_LIST, LB_SETSEL, TRUE, 4);
        ::SendDlgItemMessageW(dlg.m_hWnd, IDC_DIR_TREE_LIST, LB_SETSEL, TRUE, 2);
        dlg.Command(IDC_DIR_TREE_COPY);
        if (OpenClipboard(dlg.m_hWnd))
        {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
            {
                clip = static_cast<const wchar_t*>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        dlg.Command(IDOK);
    });
    EXPECT_EQ(L"│└a1\r\n└empty\r\n", clip);
}
