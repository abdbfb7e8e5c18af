#include "archivefront/dialogs/PackProgressDlg.h"
#include "archivefront/dialogs/UnpackConditionDlg.h"
#include "archivefront/sevenzip/SevenZipArchive.h"

#include "app/Settings.h"
#include "res/SevenZipDialogs.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/DialogHarness.h"
#include <gtest/gtest.h>

namespace
{

class CDrivenConditionDlg : public qvtest::CDrivenDialog<CDrivenConditionDlg, CUnpackConditionDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

class CDrivenPackProgressDlg : public qvtest::CDrivenDialog<CDrivenPackProgressDlg, CPackProgressDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

std::wstring ControlText(HWND dialog, int id)
{
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

TEST(UnpackConditionDialog, ShowsTheCallersAnswerAndReturnsTheNewOne)
{
    g_UNPACK_FILE_TIME_USED_RANGE = 0;
    CDrivenConditionDlg dialog;
    dialog.m_choice = IDC_UNPACK_SKIP;
    dialog.m_sameForAll = 1;
    dialog.m_memberPath = L"dir\\sub\\a.txt";
    dialog.m_memberTime = L"2020/01/02 03:04:05";
    dialog.m_targetPath = L"C:\\out\\sub\\a.txt";
    bool shown = false;
    dialog.drive = [&](CDrivenConditionDlg& d) {
        HWND hwnd = d.GetSafeHwnd();
        shown = true;
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hwnd, IDC_UNPACK_SKIP));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hwnd, IDC_UNPACK_OVERWRITE));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hwnd, IDC_UNPACK_SAME_FOR_ALL));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hwnd, IDC_UNPACK_RANGE_TIME));
        EXPECT_EQ(L"a.txt", ControlText(hwnd, IDC_UNPACK_MEMBER_NAME));
        EXPECT_EQ(L"2020/01/02 03:04:05", ControlText(hwnd, IDC_UNPACK_MEMBER_TIME));
        EXPECT_EQ(L"C:\\out\\sub\\a.txt", ControlText(hwnd, IDC_UNPACK_TARGET_PATH));
        CheckRadioButton(hwnd, IDC_UNPACK_OVERWRITE, IDC_UNPACK_SKIP, IDC_UNPACK_NEWER);
        CheckDlgButton(hwnd, IDC_UNPACK_SAME_FOR_ALL, BST_UNCHECKED);
        CheckDlgButton(hwnd, IDC_UNPACK_RANGE_TIME, BST_CHECKED);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(shown);
    EXPECT_EQ(IDC_UNPACK_NEWER, dialog.m_choice);
    EXPECT_EQ(0, dialog.m_sameForAll);
    EXPECT_EQ(1, g_UNPACK_FILE_TIME_USED_RANGE);
    g_UNPACK_FILE_TIME_USED_RANGE = 0;
}

TEST(UnpackConditionDialog, TheCloseBoxIsNoAnswer)
{
    CDrivenConditionDlg dialog;
    dialog.drive = [](CDrivenConditionDlg& d) { d.SendMessage(WM_CLOSE); };
    EXPECT_NE(IDOK, dialog.DoModal());
    EXPECT_EQ(4009, dialog.m_choice);
}

class PackProgressTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        qvtest::ScratchFolderTest::SetUp();
        sztest::WriteFile(P(L"a.txt"), std::string(200000, 'a'));
        sztest::WriteFile(P(L"b.txt"), "b");
    }
    void Choose(CSevenZipArchive& backEnd, const std::wstring& arc)
    {
        backEnd.SetOption(0, dir.c_str());
        backEnd.SetOption(1, arc.c_str());
        backEnd.SetOption(13, L"a.txt");
        backEnd.SetOption(13, L"b.txt");
    }
};

TEST_F(PackProgressTest, TheWorkerEndsTheDialogWhenTheJobIsDone)
{
    const std::wstring arc = P(L"out.zip");
    CSevenZipArchive backEnd;
    Choose(backEnd, arc);
    CProgressInfo progress;
    EXPECT_EQ(1, CSevenZipArchive::CreateArchive(&backEnd, nullptr, &progress));
    EXPECT_EQ(nullptr, progress.ownerWindow);
    EXPECT_EQ(nullptr, progress.progressCallback);
    CSevenZipArchive reader;
    ASSERT_TRUE(sztest::OpenAndList(reader, arc));
    EXPECT_EQ(2, reader.m_listing.GetSize());

    // Deleting through the dialog as well.
    reader.SetOption(1, arc.c_str());
    reader.SetOption(2, reinterpret_cast<LPCWSTR>(sztest::Entry(reader, L"b.txt")));
    EXPECT_EQ(1, CSevenZipArchive::DeleteEntries(&reader, nullptr, nullptr));
    ASSERT_TRUE(sztest::OpenAndList(reader, arc));
    EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, sztest::StoredPaths(reader));
}

TEST_F(PackProgressTest, CancelStopsTheJobAndLeavesNoArchive)
{
    const std::wstring arc = P(L"cancelled.7z");
    CSevenZipArchive backEnd;
    Choose(backEnd, arc);
    CProgressInfo progress;
    progress.cancelFlag = 1;
    EXPECT_EQ(0, CSevenZipArchive::CreateArchive(&backEnd, nullptr, &progress));
    EXPECT_TRUE(backEnd.m_errors.HasCode(21));
    EXPECT_FALSE(sztest::Exists(arc));

    // The Cancel button only asks the job to stop: the dialog waits for its end.
    CDrivenPackProgressDlg dialog(SEVENZIP_JOB_CREATE);
    const std::wstring other = P(L"other.7z");
    backEnd.ResetOptions();
    Choose(backEnd, other);
    dialog.m_backEnd = &backEnd;
    bool stillOpen = false;
    dialog.drive = [&](CDrivenPackProgressDlg& d) {
        d.Command(IDCANCEL);
        stillOpen = IsWindow(d.GetSafeHwnd()) != FALSE;
        EXPECT_EQ(1, d.m_ownProgress.cancelFlag);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dialog.m_result == 0, !sztest::Exists(other));
}

TEST_F(PackProgressTest, WhatTheJobThrowsBecomesAnErrorCode)
{
    // The same name twice makes the archive client throw on the worker thread.
    const std::wstring arc = P(L"twice.7z");
    CSevenZipArchive backEnd;
    Choose(backEnd, arc);
    backEnd.SetOption(13, L"a.txt");
    EXPECT_EQ(0, CSevenZipArchive::CreateArchive(&backEnd, nullptr, nullptr));
    EXPECT_TRUE(backEnd.m_errors.HasCode(ARCERR_EXCEPTION));
    EXPECT_FALSE(sztest::Exists(arc));
    EXPECT_EQ(0, g_SevenZipCodecsUseCount);
}

} // namespace
