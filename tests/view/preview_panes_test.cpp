// The preview keywords on real folders: which folder list entry each one leaves, the
// pane's thumbnail state that follows, the listing handed to the loader, and the
// other pane that follows the directory under the cursor.
#include "tests/view/CommandTestSupport.h"

#include "util/Globals.h"
#include "app/settings/GraphicSettings.h"
#include "filer/PaneHooks.h"
#include "framework/FwLock.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "graphics/windows/SmallGraphicDlg.h"
#include "tests/common/TestHelpers.h"
#include "view/graphic/PreviewPanes.h"

#include <memory>
#include <string>

namespace
{
using commandtest::CommandBench;
using qvtest::W;

class PreviewPanes : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        {
            CHandleLock lock(g_DataMutex);
            m_savedSettings = g_PreviewSettings;
            g_PreviewSettings = PreviewSettings();
            for (const wchar_t* kind : {L"BMP", L"JPG", L"PNG"})
                g_PreviewSettings.displayKinds.Add(kind);
        }
        m_savedLoader = g_pLoadPreviewThread;
        m_loader = std::make_unique<CLoadPreviewThread>();
        g_pLoadPreviewThread = m_loader.get();
        Set(g_PREVIEW_DISP_PICTURE_FILE, 0);
        m_root = m_dir + L"\\preview_panes";
        CreateDirectoryW(m_root, nullptr);
        CreateDirectoryW(m_root + L"\\child", nullptr);
        CreateDirectoryW(m_root + L"\\child\\grand", nullptr);
        qvtest::WriteFileBytes(W(m_root + L"\\picture.bmp"), "BM");
        // The view makes its preview loader, which the panes' preview hooks reach.
        View().CreatePreviewLoader();
    }
    void TearDown() override
    {
        g_pLoadPreviewThread = m_savedLoader;
        m_loader.reset();
        {
            CHandleLock lock(g_DataMutex);
            g_PreviewSettings = m_savedSettings;
        }
        CommandBench::TearDown();
    }
    void Open(int pane, const CString& folder)
    {
        View().ChangePaneDirectory(pane, folder, PATH_VISIT_NAVIGATE, 0, FALSE);
    }
    // The enabled entry of the folder: its type, or 0 without one.
    int TypeOf(const CString& folder) const
    {
        for (INT_PTR i = 0; i < g_PreviewSettings.enabledDirs.GetSize(); ++i)
            if (g_PreviewSettings.enabledDirs[i].folder.CompareNoCase(folder) == 0)
                return g_PreviewSettings.enabledDirs[i].type;
        return 0;
    }
    bool Disabled(const CString& folder) const
    {
        for (INT_PTR i = 0; i < g_PreviewSettings.disabledDirs.GetSize(); ++i)
            if (g_PreviewSettings.disabledDirs[i].CompareNoCase(folder) == 0)
                return true;
        return false;
    }

    CString m_root;
    std::unique_ptr<CLoadPreviewThread> m_loader;
    CLoadPreviewThread* m_savedLoader = nullptr;
    PreviewSettings m_savedSettings;
};
} // namespace

TEST_F(PreviewPanes, KeywordsChangeTheFolderListsAndThePaneFollows)
{
    const CString child = m_root + L"\\child";
    struct Step
    {
        const CString* folder;
        const wchar_t* keyword;
        int type;        // the folder's enabled entry afterwards
        bool disabled;   // on the disabled list afterwards
        BOOL thumbnails; // the pane's state afterwards
    };
    const Step steps[] = {
        {&m_root, L"@PreviewEnable", 3, false, TRUE},
        // "@PreviewSwitch" on a folder with thumbnails removes its type-3 entry.
        {&m_root, L"@PreviewSwitch", 0, false, FALSE},
        {&m_root, L"@PreviewSwitch", 3, false, TRUE},
        {&m_root, L"@PreviewEnableWithChild", 2, false, TRUE},
        // An enable keeps the type 2 a folder has.
        {&m_root, L"@PreviewEnable", 2, false, TRUE},
        // Below a type-2 parent the switch can only put the folder on the disabled list.
        {&child, L"@PreviewSwitch", 0, true, FALSE},
        {&child, L"@PreviewSwitch", 3, false, TRUE},
        {&child, L"@PreviewDisable", 0, true, FALSE},
    };
    for (const Step& step : steps)
    {
        Open(0, *step.folder);
        EXPECT_EQ(1, View().ExecuteFilerCommand(step.keyword)) << step.keyword;
        EXPECT_EQ(step.type, TypeOf(*step.folder)) << step.keyword << " " << W(*step.folder);
        EXPECT_EQ(step.disabled, Disabled(*step.folder)) << step.keyword << " " << W(*step.folder);
        EXPECT_EQ(step.thumbnails, m_panes[0]->m_bPreviewLayout) << step.keyword << " " << W(*step.folder);
    }
}

TEST_F(PreviewPanes, TheTreeSwitchMarksEveryFolderBelowAndTheListingIsQueued)
{
    Open(0, m_root);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@PreviewSwitchAlsoSubDir"));
    for (const CString& folder : {m_root, m_root + L"\\child", m_root + L"\\child\\grand"})
        EXPECT_EQ(3, TypeOf(folder)) << W(folder);
    EXPECT_TRUE(m_panes[0]->m_bPreviewLayout);
    // The listing went to the loader, entry by entry.
    m_loader->AcquireReaderLock();
    EXPECT_NE(nullptr, m_loader->GetQueue().Find(m_root, L"picture.bmp"));
    EXPECT_NE(nullptr, m_loader->GetQueue().Find(m_root, L"child"));
    m_loader->ReleaseReaderLock();

    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@PreviewSwitchAlsoSubDir"));
    EXPECT_EQ(0, g_PreviewSettings.enabledDirs.GetSize());
    EXPECT_FALSE(m_panes[0]->m_bPreviewLayout);
}

TEST_F(PreviewPanes, PictureFilesOnlyListsNoOtherFileInAThumbnailPane)
{
    qvtest::WriteFileBytes(W(m_root + L"\\notes.txt"), "text");
    Open(0, m_root);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@PreviewEnable"));
    auto has = [&](const wchar_t* name) {
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            if (_wcsicmp(m_panes[0]->m_entries[i].GetName(), name) == 0)
                return true;
        return false;
    };
    EXPECT_TRUE(has(L"notes.txt"));
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@PreviewDispPictureFile"));
    EXPECT_EQ(1, g_PREVIEW_DISP_PICTURE_FILE);
    EXPECT_FALSE(has(L"notes.txt"));
    EXPECT_TRUE(has(L"picture.bmp"));
}

TEST_F(PreviewPanes, TheFollowingPaneShowsTheDirectoryUnderTheCursor)
{
    Open(0, m_root);
    Open(1, m_dir);
    CFilerPane& pane = *m_panes[0];
    pane.SetCursorToName(L"child", FALSE, 0);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@OtherAlwaysDispDir"));
    EXPECT_EQ(1, View().m_previews.followingPane);
    EXPECT_EQ(0, W(m_panes[1]->m_currentDir).compare(W(m_root + L"\\child"))) << W(m_panes[1]->m_currentDir);
    // A file under the cursor leaves the other pane where it is.
    pane.SetCursorToName(L"picture.bmp", FALSE, 0);
    View().OpenCursorDirectoryInOtherPane();
    EXPECT_EQ(W(m_root + L"\\child"), W(m_panes[1]->m_currentDir));
    // The keyword again stops the following.
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@OtherAlwaysDispDir"));
    EXPECT_EQ(-1, View().m_previews.followingPane);
}

TEST_F(PreviewPanes, TheSmallPictureSwitchShowsTheCursorFileAndHidesTheWindowAgain)
{
    Open(0, m_root);
    m_panes[0]->SetCursorToName(L"picture.bmp", FALSE, 0);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Smallgraphicview"));
    EXPECT_EQ(1, View().m_graphic.smallWindowShown);
    ASSERT_NE(nullptr, View().m_pSmallGraphicDlg);
    EXPECT_TRUE(::IsWindowVisible(View().m_pSmallGraphicDlg->m_hWnd));
    EXPECT_EQ(W(m_root + L"\\picture.bmp"), W(View().m_pSmallGraphicDlg->m_currentPath));
    // A folder under the cursor: no file.
    m_panes[0]->SetCursorToName(L"child", FALSE, 0);
    View().UpdateAuxiliaryWindows();
    EXPECT_TRUE(View().m_pSmallGraphicDlg->m_currentPath.IsEmpty());
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Smallgraphicview"));
    EXPECT_EQ(0, View().m_graphic.smallWindowShown);
    EXPECT_FALSE(::IsWindowVisible(View().m_pSmallGraphicDlg->m_hWnd));
}
