// The graphic settings sheet and the plug-in pattern dialog, driven as a user would,
// and the plug-in list as a thread on the side sees it while the page edits it.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "graphics/plugins/AttachpluginDlg.h"
#include "graphics/plugins/GraphicSettingPages.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "res/PictureDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace
{
CSusieDllFile Record(const char* version, const wchar_t* fileName, std::vector<const wchar_t*> patterns,
                     int enabled)
{
    CSusieDllFile record;
    memcpy(record.m_apiVersion, version, 4);
    record.m_fileName = fileName;
    for (const wchar_t* pattern : patterns)
        record.m_patterns.Add(pattern);
    record.m_enabled = enabled;
    return record;
}

class CDrivenSheet : public qvtest::CDrivenDialog<CDrivenSheet, CGraphicSettingSheet>
{
public:
    void PageCommand(CDialog& page, int id)
    {
        ::SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, id)));
    }
    std::vector<std::wstring> Lines(int id)
    {
        std::vector<std::wstring> lines;
        HWND list = ::GetDlgItem(m_susie.m_hWnd, id);
        const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i)
        {
            std::wstring text(::SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
            lines.push_back(text.c_str());
        }
        return lines;
    }
};

class CDrivenAttachDlg : public qvtest::CDrivenDialog<CDrivenAttachDlg, CAttachpluginDlg>
{
};

class GraphicSettingPagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CHandleLock lock(g_DataMutex);
        m_saved.Copy(g_SusiePlugIns);
        m_savedDir = g_SusiePlugInDir;
        g_SusiePlugIns.RemoveAll();
        g_SusiePlugIns.Add(Record("00IN", L"first.sph", {L"*.aa"}, 1));
        g_SusiePlugIns.Add(Record("00XX", L"neither.sph", {L"*.nn"}, 1));
        g_SusiePlugIns.Add(Record("00AM", L"packed.sph", {L"*.zz"}, 1));
        g_SusiePlugIns.Add(Record("00IN", L"second.sph", {L"*.bb", L"*.cc"}, 1));
    }
    void TearDown() override
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_saved);
        g_SusiePlugInDir = m_savedDir;
    }
    static std::vector<std::wstring> Order()
    {
        CHandleLock lock(g_DataMutex);
        std::vector<std::wstring> names;
        for (INT_PTR i = 0; i < g_SusiePlugIns.GetCount(); ++i)
            names.push_back(static_cast<LPCWSTR>(g_SusiePlugIns[i].m_fileName));
        return names;
    }
    static std::vector<int> Enabled()
    {
        CHandleLock lock(g_DataMutex);
        std::vector<int> flags;
        for (INT_PTR i = 0; i < g_SusiePlugIns.GetCount(); ++i)
            flags.push_back(g_SusiePlugIns[i].m_enabled);
        return flags;
    }

    CArray<CSusieDllFile> m_saved;
    CString m_savedDir;
};
} // namespace

TEST_F(GraphicSettingPagesTest, ThePlugInPageListsByKindAndMovesAPlugInWithinItsList)
{
    CDrivenSheet sheet;
    std::vector<std::wstring> images, archives, afterTopUp;
    sheet.drive = [&](CDrivenSheet& d) {
        d.ShowPage(1);
        images = d.Lines(IDC_SUSIE_IMAGE_LIST);
        archives = d.Lines(IDC_SUSIE_ARCHIVE_LIST);
        // "↑" on the first line does nothing; "↓" there swaps the two image plug-ins
        // in the list itself, past the plug-in of another kind between them.
        ::SendDlgItemMessageW(d.m_susie.m_hWnd, IDC_SUSIE_IMAGE_LIST, LB_SETCURSEL, 0, 0);
        d.PageCommand(d.m_susie, IDC_SUSIE_IMAGE_UP);
        afterTopUp = Order();
        d.PageCommand(d.m_susie, IDC_SUSIE_IMAGE_DOWN);
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, sheet.DoModal());
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(0u, images[0].find(L"first.sph   [*.aa]")) << images[0];
    EXPECT_EQ(0u, images[1].find(L"second.sph  [*.bb,*.cc]")) << images[1];
    ASSERT_EQ(1u, archives.size());
    EXPECT_EQ(0u, archives[0].find(L"packed.sph  [*.zz]"));
    EXPECT_EQ((std::vector<std::wstring>{L"first.sph", L"neither.sph", L"packed.sph", L"second.sph"}),
              afterTopUp);
    EXPECT_EQ((std::vector<std::wstring>{L"second.sph", L"neither.sph", L"packed.sph", L"first.sph"}),
              Order());
    EXPECT_EQ((std::vector<int>{1, 1, 1, 1}), Enabled());
}

TEST_F(GraphicSettingPagesTest, APageNeverShownChangesNothingAndAPlugInOfNeitherKindKeepsItsFlag)
{
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns[1].m_enabled = 0;
    }
    CDrivenSheet unopened;
    unopened.drive = [](CDrivenSheet& d) { d.Command(IDOK); };
    ASSERT_EQ(IDOK, unopened.DoModal());
    EXPECT_EQ((std::vector<int>{1, 0, 1, 1}), Enabled());

    CDrivenSheet sheet;
    sheet.drive = [](CDrivenSheet& d) {
        d.ShowPage(1);
        // The page's own list objects hold the checks; untick every line there.
        HWND imageList = ::GetDlgItem(d.m_susie.m_hWnd, IDC_SUSIE_IMAGE_LIST);
        HWND archiveList = ::GetDlgItem(d.m_susie.m_hWnd, IDC_SUSIE_ARCHIVE_LIST);
        for (HWND list : {imageList, archiveList})
        {
            CCheckListBox* box = static_cast<CCheckListBox*>(CWnd::FromHandlePermanent(list));
            ASSERT_NE(nullptr, box);
            for (int i = 0; i < box->GetCount(); ++i)
                box->SetCheck(i, 0);
        }
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), Enabled());
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns[1].m_enabled = 1;
    }
    sheet.drive = [](CDrivenSheet& d) {
        d.ShowPage(1);
        d.Command(IDOK);
    };
    CDrivenSheet again;
    again.drive = sheet.drive;
    ASSERT_EQ(IDOK, again.DoModal());
    EXPECT_EQ((std::vector<int>{0, 1, 0, 0}), Enabled());
}

TEST_F(GraphicSettingPagesTest, ThePatternDialogDropsClearedPatternsAndAppendsOnLaterPages)
{
    CDrivenAttachDlg dlg;
    dlg.m_plugInIndex = 3;
    CString name;
    bool beforeOnFirst = true;
    dlg.drive = [&](CDrivenAttachDlg& d) {
        d.GetDlgItemText(IDC_ATTACH_NAME, name);
        beforeOnFirst = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_ATTACH_BEFORE)) != FALSE;
        d.SetDlgItemText(IDC_ATTACH_FIRST_EDIT, L"");
        d.Command(IDC_ATTACH_NEXT);
        d.SetDlgItemText(IDC_ATTACH_FIRST_EDIT + 2, L"*.dd");
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(L"second.sph", std::wstring(name));
    EXPECT_FALSE(beforeOnFirst);
    {
        CHandleLock lock(g_DataMutex);
        const CStringArray& patterns = g_SusiePlugIns[3].m_patterns;
        ASSERT_EQ(2, patterns.GetSize());
        EXPECT_EQ(L"*.cc", std::wstring(patterns[0]));
        EXPECT_EQ(L"*.dd", std::wstring(patterns[1]));
    }

    // Cleared to nothing: the plug-in is never chosen; Cancel changes nothing.
    CDrivenAttachDlg cleared;
    cleared.m_plugInIndex = 0;
    cleared.drive = [](CDrivenAttachDlg& d) {
        d.SetDlgItemText(IDC_ATTACH_FIRST_EDIT, L"");
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, cleared.DoModal());
    EXPECT_LT(FindSusiePlugIn(L"x.aa", 2, 0, nullptr), 0);
    CDrivenAttachDlg cancelled;
    cancelled.m_plugInIndex = 3;
    cancelled.drive = [](CDrivenAttachDlg& d) {
        d.SetDlgItemText(IDC_ATTACH_FIRST_EDIT, L"*.lost");
        d.Command(IDCANCEL);
    };
    ASSERT_EQ(IDCANCEL, cancelled.DoModal());
    CHandleLock lock(g_DataMutex);
    EXPECT_EQ(L"*.cc", std::wstring(g_SusiePlugIns[3].m_patterns[0]));
}

TEST_F(GraphicSettingPagesTest, AThreadLookingPlugInsUpDuringRescansSeesOnlyWholeLists)
{
    const std::wstring folder = qvtest::ScratchDir() + L"\\rescan";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name :
         {L"spi_jpg.sph", L"spi_xyz.sph", L"spi_archive.sph", L"spi_q128.sph", L"spi_wide.sph"})
        ASSERT_TRUE(
            CopyFileW((qvtest::ProgramDir() + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE));
    const int savedHighLoad = g_HIGHLOADSPI;
    // The program makes the mutex at start-up; a test process has none of its own.
    HANDLE madeHere = nullptr;
    if (g_DataMutex == nullptr)
        g_DataMutex = madeHere = CreateMutexW(nullptr, FALSE, nullptr);
    std::atomic<bool> stop{false};
    std::set<INT_PTR> counts;
    int brokenRecords = 0;
    std::thread reader([&]() {
        while (!stop)
        {
            Sleep(0);
            CHandleLock lock(g_DataMutex);
            counts.insert(g_SusiePlugIns.GetCount());
            for (INT_PTR i = 0; i < g_SusiePlugIns.GetCount(); ++i)
                if (g_SusiePlugIns[i].m_fileName.IsEmpty() || g_SusiePlugIns[i].m_patterns.IsEmpty())
                    ++brokenRecords;
        }
    });
    CDrivenSheet sheet;
    size_t listed = 0;
    sheet.drive = [&](CDrivenSheet& d) {
        d.ShowPage(1);
        d.m_susie.SetDlgItemText(IDC_SUSIE_FOLDER, folder.c_str());
        for (int i = 0; i < 3; ++i)
            d.PageCommand(d.m_susie, IDC_SUSIE_RELOAD);
        listed = d.Lines(IDC_SUSIE_IMAGE_LIST).size() + d.Lines(IDC_SUSIE_ARCHIVE_LIST).size();
        d.Command(IDCANCEL);
    };
    sheet.DoModal();
    stop = true;
    reader.join();
    g_HIGHLOADSPI = savedHighLoad;
    if (madeHere != nullptr)
    {
        g_DataMutex = nullptr;
        CloseHandle(madeHere);
    }
    const INT_PTR scanned = INT_PTR(Order().size());
    EXPECT_GE(scanned, 4);
    EXPECT_EQ(size_t(scanned), listed);
    for (INT_PTR count : counts)
        EXPECT_TRUE(count == 4 || count == scanned) << "a list of " << count << " plug-ins was seen";
    EXPECT_EQ(0, brokenRecords);
}
