// The picture load dialog with a stand-in image plug-in: loading without a window,
// the second try from memory, and a stop in the middle of a read.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/settings/GraphicSettings.h"
#include "archivefront/ArchiveFront.h"
#include "graphics/plugins/ArchivePlugInAdapter.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/LoadPictureBDlg.h"
#include "graphics/plugins/PictureStepper.h"
#include "res/PictureDialogs.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace
{
// A list of `count` pictures walked forward from the first.
class CListStepper : public IPictureStepper
{
public:
    explicit CListStepper(int count) : m_count(count) {}
    int Step() override
    {
        m_index += m_carry;
        m_carry = 0;
        ++steps;
        return m_index >= m_count ? 3 : 1;
    }
    void MoveOn() override { m_carry = 1; }
    int GetIndex(int) const override { return m_index; }
    int GetCount(int) const override { return m_count; }
    int steps = 0;

private:
    int m_count;
    int m_index = 0;
    int m_carry = 0;
};

// Records whether a window was ever made; optionally presses Stop at the first piece
// read, as a user would while the worker reads.
class CWatchedLoadDlg : public CLoadPictureBDlg
{
public:
    using CLoadPictureBDlg::CLoadPictureBDlg;
    bool windowMade = false;
    bool stopAtFirstPiece = false;
    // Presses Stop once the plug-in's report has moved the load bar; the bar's
    // position then.
    bool stopWhenBarMoves = false;
    int barWhenStopped = -1;

protected:
    BOOL OnInitDialog() override
    {
        windowMade = true;
        return CLoadPictureBDlg::OnInitDialog();
    }
    void OnProgress(UINT events) override
    {
        if (stopAtFirstPiece && (events & PROGRESS_DONE) != 0 && m_progress.cancelFlag == 0)
            ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOADPIC_STOP, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDC_LOADPIC_STOP)));
        CLoadPictureBDlg::OnProgress(events);
        const int bar = int(::SendDlgItemMessageW(m_hWnd, IDC_LOADPIC_BAR, PBM_GETPOS, 0, 0));
        if (stopWhenBarMoves && (events & PROGRESS_TOTAL) != 0 && bar > int(m_progress.barBase) &&
            m_progress.cancelFlag == 0)
        {
            barWhenStopped = bar;
            ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOADPIC_STOP, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDC_LOADPIC_STOP)));
        }
    }
};

class LoadPictureDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CHandleLock lock(g_DataMutex);
        m_saved.Copy(g_SusiePlugIns);
        m_savedDir = g_SusiePlugInDir;
        g_SusiePlugIns.RemoveAll();
        CSusieDllFile record;
        memcpy(record.m_apiVersion, "00IN", 4);
        record.m_fileName = L"spi_q128.sph";
        record.m_patterns.Add(L"*.q1");
        record.m_enabled = 1;
        g_SusiePlugIns.Add(record);
        g_SusiePlugInDir = qvtest::ProgramDir().c_str();
        m_folder = qvtest::ScratchDir() + L"\\loadpic";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        m_savedNoDialog = g_ENABLE_NO_DIALOG_LOADING;
        m_savedLimit = g_NO_DIALOG_LOADING_SIZE;
    }
    void TearDown() override
    {
        g_CurrentPicture.Free();
        g_ENABLE_NO_DIALOG_LOADING = m_savedNoDialog;
        g_NO_DIALOG_LOADING_SIZE = m_savedLimit;
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_saved);
        g_SusiePlugInDir = m_savedDir;
    }
    // A picture the stand-in finds at byte 128; the byte after the signature says how
    // it behaves ('G' reads, 'M' reads from memory only, 'F' faults).
    std::wstring Picture(const std::wstring& name, char behaviour, size_t size = 300)
    {
        std::string bytes(size, 'x');
        memcpy(&bytes[128], "Q128", 4);
        bytes[132] = behaviour;
        const std::wstring path = m_folder + L"\\" + name;
        EXPECT_TRUE(qvtest::WriteFileBytes(path, bytes));
        return path;
    }

    CArray<CSusieDllFile> m_saved;
    CString m_savedDir;
    std::wstring m_folder;
    int m_savedNoDialog = 0;
    int m_savedLimit = 0;
};
} // namespace

TEST_F(LoadPictureDialogTest, SmallFilesLoadWithoutAWindowAndAFileReadOnlyFromMemoryGetsItsSecondTry)
{
    g_ENABLE_NO_DIALOG_LOADING = 1;
    g_NO_DIALOG_LOADING_SIZE = 1;
    struct Row
    {
        const wchar_t* name;
        char behaviour;
        int loaded;
        int loadType; // where the picture finally came from
    } rows[] = {
        {L"direct.q1", 'G', 1, 0},
        {L"memory.q1", 'M', 1, 1},
        {L"broken.q1", 'F', 0, 1},
    };
    for (const Row& row : rows)
    {
        const std::wstring path = Picture(row.name, row.behaviour);
        CListStepper stepper(1);
        CWatchedLoadDlg dlg(&stepper);
        dlg.m_filePath = path.c_str();
        EXPECT_EQ(row.loaded, dlg.LoadMaybeWithDialog(300)) << qvtest::W(row.name);
        EXPECT_FALSE(dlg.windowMade);
        EXPECT_EQ(row.loaded != 0, g_CurrentPicture.IsValid() != 0);
        EXPECT_EQ(row.loadType, dlg.m_loadType);
        // The retry reads the same file again instead of stepping past it.
        EXPECT_EQ(1, stepper.steps);
        EXPECT_EQ(nullptr, dlg.m_memberImage);
    }
}

TEST_F(LoadPictureDialogTest, AFileAboveTheLimitLoadsThroughTheDialog)
{
    g_ENABLE_NO_DIALOG_LOADING = 1;
    g_NO_DIALOG_LOADING_SIZE = 1;
    const std::wstring path = Picture(L"large.q1", 'G', 1500);
    CListStepper stepper(1);
    CWatchedLoadDlg dlg(&stepper);
    dlg.m_filePath = path.c_str();
    EXPECT_EQ(1, dlg.LoadMaybeWithDialog(1500));
    EXPECT_TRUE(dlg.windowMade);
    EXPECT_TRUE(g_CurrentPicture.IsValid());
    EXPECT_EQ(1, stepper.steps);
}

TEST_F(LoadPictureDialogTest, StopDuringAReadEndsAtTheNextPieceWithTwo)
{
    // A name the system code page cannot spell is read into memory first, in pieces.
    const size_t size = 100 * 32000;
    const std::wstring path = Picture(L"stop\u00e9.q1", 'G', size);
    CListStepper stepper(1);
    CWatchedLoadDlg dlg(&stepper);
    dlg.m_filePath = path.c_str();
    dlg.stopAtFirstPiece = true;
    EXPECT_EQ(2, dlg.DoModal());
    EXPECT_EQ(1, dlg.m_loadType);
    EXPECT_EQ(32000, dlg.m_progress.doneAmount);
    EXPECT_FALSE(g_CurrentPicture.IsValid());
    EXPECT_EQ(nullptr, dlg.m_memberImage);
}

TEST_F(LoadPictureDialogTest, ArchiveMembersNoImagePlugInTakesAreSkippedForTheNextOnes)
{
    // The stand-in archive holds six text members; the image stand-in takes the two
    // ".txt" names but finds no picture in them.
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns[0].m_patterns.Add(L"*.txt");
        CSusieDllFile archiver;
        memcpy(archiver.m_apiVersion, "00AM", 4);
        archiver.m_fileName = L"spi_qarc.sph";
        archiver.m_patterns.Add(L"*.qar");
        archiver.m_enabled = 1;
        g_SusiePlugIns.Add(archiver);
    }
    qvtest::ScopedProgramWiring wiring;
    const std::wstring archive = m_folder + L"\\members.qar";
    ASSERT_TRUE(qvtest::WriteFileBytes(archive, "QARC archive"));
    {
        CArchiveFront front;
        ASSERT_EQ(1, front.OpenAndList(archive.c_str(), ARCFRONT_PREFER_PLUGIN));
        ASSERT_EQ(6, front.GetEntryCount());
        CListStepper stepper(6);
        CWatchedLoadDlg dlg(&stepper);
        dlg.m_filePath = archive.c_str();
        dlg.m_sourceKind = 0;
        dlg.m_archiveFront = &front;
        EXPECT_EQ(0, dlg.LoadWithoutDialog());
        // Every member was tried in turn before the walk ran past the end.
        EXPECT_EQ(7, stepper.steps);
        EXPECT_EQ(6, stepper.GetIndex(-1));
        EXPECT_FALSE(g_CurrentPicture.IsValid());
        EXPECT_EQ(nullptr, dlg.m_memberImage);
        EXPECT_EQ(L"short.txt", std::wstring(dlg.m_memberName));
    }
}

TEST_F(LoadPictureDialogTest, StopDuringASlowDecodeEndsTheLoadThroughThePlugInsProgress)
{
    // Kept loaded past the dialog, whose host frees the plug-in, to read its count.
    const HMODULE standIn = LoadLibraryW((qvtest::ProgramDir() + L"\\spi_q128.sph").c_str());
    ASSERT_NE(nullptr, standIn);
    auto progressCalls = reinterpret_cast<int(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(standIn, "StubProgressCalls")));
    ASSERT_NE(nullptr, progressCalls);
    const int before = progressCalls();
    // From the file, and from memory for a name the system code page cannot spell.
    for (const wchar_t* name : {L"slow.q1", L"slow\u00e9.q1"})
    {
        const std::wstring path = Picture(name, 'S');
        CListStepper stepper(1);
        CWatchedLoadDlg dlg(&stepper);
        dlg.m_filePath = path.c_str();
        dlg.stopWhenBarMoves = true;
        EXPECT_EQ(2, dlg.DoModal()) << qvtest::W(name);
        EXPECT_GT(dlg.barWhenStopped, 0) << qvtest::W(name);
        EXPECT_FALSE(g_CurrentPicture.IsValid());
    }
    // The decode reports 100 steps each; the stop ends both long before.
    EXPECT_LT(progressCalls() - before, 20);
    FreeLibrary(standIn);
}

TEST_F(LoadPictureDialogTest, EachOfTwoPicturesWhoseNamesDifferOnlyInCaseIsShownAsItself)
{
    {
        CHandleLock lock(g_DataMutex);
        CSusieDllFile image;
        memcpy(image.m_apiVersion, "00IN", 4);
        image.m_fileName = L"spi_bmp.sph";
        image.m_patterns.Add(L"*.bmp");
        image.m_enabled = 1;
        g_SusiePlugIns.Add(image);
        CSusieDllFile container;
        memcpy(container.m_apiVersion, "00AM", 4);
        container.m_fileName = L"spi_bma.sph";
        container.m_patterns.Add(L"*.bma");
        container.m_enabled = 1;
        g_SusiePlugIns.Add(container);
    }
    qvtest::ScopedProgramWiring wiring;
    const std::vector<std::pair<std::string, std::string>> twins = {
        {"Pic.bmp", qvtest::SolidBmp(4, 4, 0, 0, 255)}, {"pic.bmp", qvtest::SolidBmp(4, 4, 0, 255, 0)}};
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0)};
    // The 7-Zip library reads a zip by item index, the stand-in archive plug-in its
    // container by each member's position.
    const std::wstring zip = m_folder + L"\\twins.zip";
    sztest::WriteStoredZip(zip, twins);
    std::string container = "BMAR";
    for (const auto& twin : twins)
    {
        std::string name(32, '\0');
        memcpy(&name[0], twin.first.data(), twin.first.size());
        const DWORD size = DWORD(twin.second.size());
        container += name;
        container.append(reinterpret_cast<const char*>(&size), 4);
        container += twin.second;
    }
    const std::wstring bma = m_folder + L"\\twins.bma";
    ASSERT_TRUE(qvtest::WriteFileBytes(bma, container));
    for (const std::wstring& archive : {zip, bma})
    {
        for (int twin = 0; twin < 2; ++twin)
        {
            SCOPED_TRACE(archive + L" " + std::to_wstring(twin));
            CArchiveFront front;
            ASSERT_EQ(1, front.OpenAndList(archive.c_str(), ARCFRONT_PREFER_PLUGIN));
            const std::wstring wanted(twins[twin].first.begin(), twins[twin].first.end());
            CArchiveFileInfo* member = nullptr;
            for (int i = 0; i < front.GetEntryCount(); ++i)
            {
                CArchiveFileInfo* listed = nullptr;
                if (front.GetEntry(&listed, i) && wanted == listed->m_findData.cFileName)
                    member = listed;
            }
            ASSERT_NE(nullptr, member);
            front.UnloadLibraries();
            // The view hands the dialog a copy of the member's record, as the pane's
            // selection gives it.
            CArchiveFileInfo held;
            CListStepper stepper(1);
            CWatchedLoadDlg dlg(&stepper);
            dlg.m_filePath = archive.c_str();
            dlg.m_sourceKind = 0;
            dlg.m_archiveFront = &front;
            dlg.m_memberAt = [&](int) -> CArchiveFileInfo* {
                held = *member;
                return &held;
            };
            ASSERT_EQ(1, dlg.LoadWithoutDialog());
            ASSERT_TRUE(g_CurrentPicture.IsValid());
            const BYTE* pixel = g_CurrentPicture.GetBits();
            ASSERT_NE(nullptr, pixel);
            EXPECT_EQ(colours[twin], RGB(pixel[2], pixel[1], pixel[0]));
            g_CurrentPicture.Free();
        }
    }
}
