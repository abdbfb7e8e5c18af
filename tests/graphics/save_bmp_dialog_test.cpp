// The BMP save dialog: the series, the same-name save, refusals and a failing disk,
// each run as the dialog runs it, with the write on its worker thread.
#include "util/Globals.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "graphics/picture/BmpSaving.h"
#include "graphics/picture/PictureData.h"
#include "graphics/picture/SaveBmpDlg.h"
#include "res/PictureDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"
#include "tests/graphics/PictureTestData.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace
{
int g_writesLeft = 0;
BOOL FailingWrite(HANDLE file, const void* data, DWORD size, DWORD* written)
{
    if (g_writesLeft-- <= 0)
    {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, data, size, written, nullptr);
}

class CDrivenSaveBmpDlg : public qvtest::CDrivenDialog<CDrivenSaveBmpDlg, CSaveBmpDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

// Reads what the dialog shows when its writer reports the end, and can play a Cancel
// that arrives just after the writer finished.
class CWatchedSaveBmpDlg : public CSaveBmpDlg
{
public:
    using CSaveBmpDlg::CSaveBmpDlg;
    bool cancelAfterWrite = false;
    CString percentAtEnd;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == IDM_WORKER_DONE && percentAtEnd.IsEmpty())
        {
            GetDlgItemText(IDC_SAVEBMP_PERCENT, percentAtEnd);
            if (cancelAfterWrite)
            {
                OnCancel();
                return TRUE;
            }
        }
        return CSaveBmpDlg::OnCommand(wParam, lParam);
    }
};

class SaveBmpDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = g_BmpSaveSettings;
        m_source = qvtest::ScratchDir() + L"\\savebmp";
        CreateDirectoryW(m_source.c_str(), nullptr);
        CreateDirectoryW((m_source + L"\\out").c_str(), nullptr);
        CHandleLock lock(g_DataMutex);
        g_BmpSaveSettings.prefix = L"pic";
        g_BmpSaveSettings.folder = L"out";
        g_BmpSaveSettings.sameName = 0;
        g_BmpSaveSettings.startNumber = 7;
    }
    void TearDown() override
    {
        g_BmpSaveHooks.writeFile = m_savedWrite;
        CHandleLock lock(g_DataMutex);
        g_BmpSaveSettings = m_saved;
    }
    INT_PTR Run(CPictureData& picture, int mode, LPCWSTR fixedPath = nullptr)
    {
        CSaveBmpDlg dlg(&picture, m_source.c_str(), L"photo.jpg", mode, fixedPath);
        const INT_PTR result = dlg.DoModal();
        m_lastTarget = dlg.m_targetPath;
        return result;
    }

    BmpSaveSettings m_saved;
    std::wstring m_source;
    CString m_lastTarget;
    decltype(g_BmpSaveHooks.writeFile) m_savedWrite = g_BmpSaveHooks.writeFile;
};
} // namespace

TEST_F(SaveBmpDlgTest, TheSeriesWritesItsNumbersInTurnAndTheSameNameSaveTakesTheSourcesName)
{
    CPictureData picture;
    qvtest::MakePicture(picture, 40, 30, 24);
    EXPECT_EQ(IDOK, Run(picture, SAVEBMP_SERIES));
    EXPECT_EQ(IDOK, Run(picture, SAVEBMP_SERIES));
    EXPECT_EQ(9, g_BmpSaveSettings.startNumber);
    {
        CHandleLock lock(g_DataMutex);
        g_BmpSaveSettings.sameName = 1;
    }
    EXPECT_EQ(IDOK, Run(picture, SAVEBMP_SERIES));
    EXPECT_EQ(std::set<std::wstring>({L"pic0007.BMP", L"pic0008.BMP", L"photo.BMP"}),
              qvtest::ListFolder(m_source + L"\\out"));
    EXPECT_EQ(9, g_BmpSaveSettings.startNumber);

    CPictureData back;
    ASSERT_EQ(1, back.LoadBmp((m_source + L"\\out\\pic0008.BMP").c_str()));
    EXPECT_EQ(40, back.GetWidth());
    EXPECT_EQ(30, back.GetHeight());

    // Past 9999 the series refuses instead of overwriting or writing five digits.
    {
        CHandleLock lock(g_DataMutex);
        g_BmpSaveSettings.sameName = 0;
        g_BmpSaveSettings.startNumber = 10000;
    }
    CDialogAnswerScript script;
    EXPECT_EQ(IDCANCEL, Run(picture, SAVEBMP_SERIES));
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(std::wstring(BmpSaveMessage(BMP_SAVE_SERIES_FULL)),
              std::wstring(script.GetQuestions()[0].text));
}

TEST_F(SaveBmpDlgTest, RefusalsAndAFailingDiskEndWithCancelAndKeepTheOldFile)
{
    const std::wstring target = m_source + L"\\QVWALLPAPER.BMP";
    const std::string old = "the old wallpaper";
    ASSERT_TRUE(qvtest::WriteFileBytes(target, old));

    CPictureData sixteen;
    qvtest::MakePicture(sixteen, 3, 3, 16);
    CPictureData picture;
    qvtest::MakePicture(picture, 300, 100, 24);
    struct Row
    {
        CPictureData* picture;
        int writes; // writes before the disk is full; -1 a sound disk
        const wchar_t* message;
    } rows[] = {
        {&sixteen, -1, L"データ不正で中止します"},
        {&picture, 3, L"書き込みに失敗しました"},
        {&picture, 4, L"書き込みに失敗しました"},
    };
    for (const Row& row : rows)
    {
        g_BmpSaveHooks.writeFile = row.writes < 0 ? m_savedWrite : FailingWrite;
        g_writesLeft = row.writes;
        CDialogAnswerScript script;
        EXPECT_EQ(IDCANCEL, Run(*row.picture, SAVEBMP_FIXED_PATH, target.c_str())) << row.writes;
        ASSERT_EQ(1u, script.GetQuestions().size()) << row.writes;
        EXPECT_EQ(std::wstring(row.message), std::wstring(script.GetQuestions()[0].text));
        EXPECT_EQ(old, qvtest::ReadFileBytes(target)) << row.writes;
    }

    g_BmpSaveHooks.writeFile = m_savedWrite;
    EXPECT_EQ(IDOK, Run(picture, SAVEBMP_FIXED_PATH, target.c_str()));
    CPictureData back;
    EXPECT_EQ(1, back.LoadBmp(target.c_str()));
    EXPECT_EQ(300, back.GetWidth());
}

TEST_F(SaveBmpDlgTest, AnInteractiveSaveTakesTypedNamesAgainstTheSourceFolder)
{
    CPictureData picture;
    qvtest::MakePicture(picture, 5, 4, 8);
    struct Row
    {
        bool sameName;
        const wchar_t* name;
        const wchar_t* folder;
        const wchar_t* written; // below the source folder
    } rows[] = {
        {false, L"typed.bmp", L"", L"typed.bmp"},
        {false, L"out\\sub.bmp", L"", L"out\\sub.bmp"},
        {true, L"", L"out", L"out\\photo.BMP"},
    };
    for (const Row& row : rows)
    {
        CDrivenSaveBmpDlg dlg(&picture, m_source.c_str(), L"photo.jpg", SAVEBMP_INTERACTIVE);
        bool pathEnabled = false;
        dlg.drive = [&](CDrivenSaveBmpDlg& d) {
            d.CheckDlgButton(IDC_SAVEBMP_SAME_NAME, row.sameName ? BST_CHECKED : BST_UNCHECKED);
            d.Command(IDC_SAVEBMP_SAME_NAME);
            pathEnabled = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_SAVEBMP_PATH)) != FALSE;
            d.SetDlgItemText(IDC_SAVEBMP_PATH, row.name);
            d.SetDlgItemText(IDC_SAVEBMP_FOLDER, row.folder);
            d.Command(IDOK);
        };
        EXPECT_EQ(IDOK, dlg.DoModal()) << std::wstring(row.written);
        EXPECT_EQ(!row.sameName, pathEnabled);
        CPictureData back;
        EXPECT_EQ(1, back.LoadBmp((m_source + L"\\" + row.written).c_str())) << std::wstring(row.written);
        EXPECT_EQ(std::wstring(row.folder), std::wstring(g_BmpSaveSettings.lastFolder));
    }
}

TEST_F(SaveBmpDlgTest, TheSharedWriterShowsItsPercentageAndGivesThePixelsBackLockedAsBefore)
{
    CPictureData picture;
    qvtest::MakePicture(picture, 300, 100, 24);
    HLOCAL bits = LocalHandle(picture.GetBits());
    ASSERT_NE(nullptr, bits);
    const UINT locks = LocalFlags(bits) & LMEM_LOCKCOUNT;
    // A Cancel that comes once the file is whole still saves it and moves the series on.
    for (bool cancel : {false, true})
    {
        CWatchedSaveBmpDlg dlg(&picture, m_source.c_str(), L"photo.jpg", SAVEBMP_SERIES);
        dlg.cancelAfterWrite = cancel;
        EXPECT_EQ(IDOK, dlg.DoModal()) << cancel;
        EXPECT_EQ(L"100%", std::wstring(dlg.percentAtEnd)) << cancel;
        EXPECT_EQ(locks, LocalFlags(bits) & LMEM_LOCKCOUNT) << cancel;
    }
    EXPECT_EQ(9, g_BmpSaveSettings.startNumber);
    EXPECT_EQ(std::set<std::wstring>({L"pic0007.BMP", L"pic0008.BMP"}),
              qvtest::ListFolder(m_source + L"\\out"));
    CPictureData back;
    EXPECT_EQ(1, back.LoadBmp((m_source + L"\\out\\pic0008.BMP").c_str()));

    // A failing disk gives the block back as well.
    g_BmpSaveHooks.writeFile = FailingWrite;
    g_writesLeft = 3;
    CDialogAnswerScript script;
    EXPECT_EQ(IDCANCEL, Run(picture, SAVEBMP_SERIES));
    EXPECT_EQ(locks, LocalFlags(bits) & LMEM_LOCKCOUNT);
    EXPECT_EQ(9, g_BmpSaveSettings.startNumber);
    EXPECT_EQ(2u, qvtest::ListFolder(m_source + L"\\out").size());
}
