// The copy destination dialog, the command sounds, the per-user settings file dialog
// and the debug switches, driven as a user would.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/ToolSettings.h"
#include "framework/FwLock.h"
#include "res/SettingsDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tools/settings/OtherSettingDialogs.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace
{
class CDrivenCopyToDlg : public qvtest::CDrivenDialog<CDrivenCopyToDlg, CDefCopyToDlg>
{
public:
    // The spin of a row as the user turns it by one step.
    void Turn(int spinId, int delta)
    {
        NMUPDOWN change = {};
        change.hdr.hwndFrom = ::GetDlgItem(m_hWnd, spinId);
        change.hdr.idFrom = UINT_PTR(spinId);
        change.hdr.code = UINT(UDN_DELTAPOS);
        change.iPos = int(::SendMessageW(change.hdr.hwndFrom, UDM_GETPOS32, 0, 0));
        change.iDelta = delta;
        if (::SendMessageW(m_hWnd, WM_NOTIFY, WPARAM(spinId), reinterpret_cast<LPARAM>(&change)) == 0)
            ::SendMessageW(change.hdr.hwndFrom, UDM_SETPOS32, 0, change.iPos + delta);
    }
    int Shown(int spinId) const { return int(::SendDlgItemMessageW(m_hWnd, spinId, UDM_GETPOS32, 0, 0)); }
};
class CDrivenWavDlg : public qvtest::CDrivenDialog<CDrivenWavDlg, CDefWavDlg>
{
public:
    void Select(int row)
    {
        ::SendDlgItemMessageW(m_hWnd, IDC_WAV_COMMANDS, LB_SETCURSEL, WPARAM(row), 0);
        Command(IDC_WAV_COMMANDS, LBN_SELCHANGE);
    }
    std::wstring File() const
    {
        wchar_t text[MAX_PATH] = {};
        ::GetDlgItemTextW(m_hWnd, IDC_WAV_FILE, text, MAX_PATH);
        return text;
    }
};
class CDrivenUseriniDlg : public qvtest::CDrivenDialog<CDrivenUseriniDlg, CUseriniDlg>
{
};
class CDrivenDebugDlg : public qvtest::CDrivenDialog<CDrivenDebugDlg, CDebugDlg>
{
public:
    using qvtest::CDrivenDialog<CDrivenDebugDlg, CDebugDlg>::CDrivenDialog;
};

const int kSpins[] = {IDC_COPYTO_IN_DIR_SPIN, IDC_COPYTO_PAST_DIR_SPIN, IDC_COPYTO_SPECIAL_DIR_SPIN,
                      IDC_COPYTO_SENDTO_DIR_SPIN};

std::vector<CString> Folders(int count, const wchar_t* stem)
{
    std::vector<CString> folders;
    for (int i = 0; i < count; ++i)
        folders.push_back((std::wstring(stem) + std::to_wstring(i)).c_str());
    return folders;
}

class OtherSettingDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_ints = {g_COPYTOINDIR,          g_COPYTOPASTDIR,       g_COPYTOSPECIALDIR,
                  g_COPYTOSENDTODIR,      g_COPYTOINDIRFLAG,     g_COPYTOPASTDIRFLAG,
                  g_COPYTOSPECIALDIRFLAG, g_COPYTOSENDTODIRFLAG, g_DEBUGMODE};
        CHandleLock lock(g_DataMutex);
        m_special.Copy(g_SpecialCopyToDirs);
    }
    void TearDown() override
    {
        int* const ints[] = {&g_COPYTOINDIR,          &g_COPYTOPASTDIR,       &g_COPYTOSPECIALDIR,
                             &g_COPYTOSENDTODIR,      &g_COPYTOINDIRFLAG,     &g_COPYTOPASTDIRFLAG,
                             &g_COPYTOSPECIALDIRFLAG, &g_COPYTOSENDTODIRFLAG, &g_DEBUGMODE};
        for (size_t i = 0; i < m_ints.size(); ++i)
            *ints[i] = m_ints[i];
        CHandleLock lock(g_DataMutex);
        g_SpecialCopyToDirs.Copy(m_special);
    }
    void SetSpecial(const std::vector<CString>& folders)
    {
        CHandleLock lock(g_DataMutex);
        g_SpecialCopyToDirs.RemoveAll();
        for (const CString& folder : folders)
            g_SpecialCopyToDirs.Add(folder);
    }
    std::vector<CString> Special()
    {
        CHandleLock lock(g_DataMutex);
        std::vector<CString> folders;
        for (INT_PTR i = 0; i < g_SpecialCopyToDirs.GetSize(); ++i)
            folders.push_back(g_SpecialCopyToDirs[i]);
        return folders;
    }

    std::vector<int> m_ints;
    CStringArray m_special;
};

TEST_F(OtherSettingDialogsTest, SpinPrioritiesStayAPermutationOfOneToFour)
{
    struct Case
    {
        std::vector<std::pair<int, int>> turns; // row, step
        std::vector<int> priorities;
    } cases[] = {
        {{{2, -2}}, {3, 2, 1, 4}},          // row 2 from 3 to 1: row 0 takes 3
        {{{2, -1}, {2, -1}}, {2, 3, 1, 4}}, // by single steps each neighbour moves once
        {{{0, 1}}, {2, 1, 3, 4}},
        {{{3, -1}, {3, -1}, {3, -1}, {3, -1}}, {2, 3, 4, 1}}, // the last turn is past the end
        {{{0, -1}, {1, 1}, {2, 1}, {2, 1}}, {1, 2, 4, 3}},    // the first turn is before the start
    };
    for (const Case& c : cases)
    {
        g_COPYTOINDIR = 1, g_COPYTOPASTDIR = 2, g_COPYTOSPECIALDIR = 3, g_COPYTOSENDTODIR = 4;
        CDrivenCopyToDlg dialog;
        std::vector<int> shown;
        dialog.drive = [&](CDrivenCopyToDlg& d) {
            for (const auto& turn : c.turns)
                d.Turn(kSpins[turn.first], turn.second);
            for (int spin : kSpins)
                shown.push_back(d.Shown(spin));
            d.Command(IDOK);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        const std::vector<int> stored = {g_COPYTOINDIR, g_COPYTOPASTDIR, g_COPYTOSPECIALDIR,
                                         g_COPYTOSENDTODIR};
        EXPECT_EQ(stored, c.priorities);
        EXPECT_EQ(shown, c.priorities);
        std::vector<int> sorted = stored;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3, 4}));
    }
}

TEST_F(OtherSettingDialogsTest, TheSpecialListGrowsToTwentyThenDropsItsOldestAndIgnoresDuplicates)
{
    struct Case
    {
        int start;
        std::vector<const wchar_t*> added;
        size_t size;
        const wchar_t* first;
        const wchar_t* last;
    } cases[] = {
        {0, {L"C:\\new"}, 1, L"C:\\new", L"C:\\new"},
        {3, {L"C:\\new"}, 4, L"C:\\dir0", L"C:\\new"},
        {19, {L"C:\\new"}, 20, L"C:\\dir0", L"C:\\new"},
        {20, {L"C:\\new"}, 20, L"C:\\dir1", L"C:\\new"},
        {3, {L"c:\\DIR1"}, 3, L"C:\\dir0", L"C:\\dir2"},
        {20, {L"C:\\DIR0", L"C:\\a", L"C:\\b"}, 20, L"C:\\dir2", L"C:\\b"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.start);
        SetSpecial(Folders(c.start, L"C:\\dir"));
        CDrivenCopyToDlg dialog;
        std::vector<std::wstring> lines;
        dialog.drive = [&](CDrivenCopyToDlg& d) {
            for (const wchar_t* folder : c.added)
                d.AddFolder(folder);
            lines = d.ListBoxLines(IDC_COPYTO_SPECIAL_LIST);
            d.Command(IDOK);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        const std::vector<CString> stored = Special();
        ASSERT_EQ(stored.size(), c.size);
        EXPECT_STREQ(stored.front(), c.first);
        EXPECT_STREQ(stored.back(), c.last);
        EXPECT_EQ(lines.size(), c.size);
    }
}

TEST_F(OtherSettingDialogsTest, CancelKeepsTheCopyDestinationsAndRemoveDropsTheSelectedFolder)
{
    SetSpecial(Folders(3, L"C:\\dir"));
    g_COPYTOSPECIALDIRFLAG = 0;
    for (const int button : {IDCANCEL, IDOK})
    {
        CDrivenCopyToDlg dialog;
        dialog.m_historyCount = 20;
        dialog.drive = [&](CDrivenCopyToDlg& d) {
            d.AddFolder(L"C:\\other");
            ::SendDlgItemMessageW(d.m_hWnd, IDC_COPYTO_SPECIAL_LIST, LB_SETCURSEL, 1, 0);
            d.Command(IDC_COPYTO_REMOVE);
            ::CheckDlgButton(d.m_hWnd, IDC_COPYTO_SPECIAL_DIR, BST_CHECKED);
            ::SetDlgItemTextW(d.m_hWnd, IDC_COPYTO_HISTORY_COUNT, L"35");
            d.Command(button);
        };
        dialog.DoModal();
        const std::vector<CString> stored = Special();
        if (button == IDCANCEL)
        {
            EXPECT_EQ(stored, Folders(3, L"C:\\dir"));
            EXPECT_EQ(g_COPYTOSPECIALDIRFLAG, 0);
            continue;
        }
        EXPECT_EQ(stored, (std::vector<CString>{L"C:\\dir0", L"C:\\dir2", L"C:\\other"}));
        EXPECT_EQ(g_COPYTOSPECIALDIRFLAG, 1);
        EXPECT_EQ(dialog.m_historyCount, 35);
    }
}

TEST_F(OtherSettingDialogsTest, CommandSoundsKeepEditsAcrossRowsAndAnEmptyFilePlaysNothing)
{
    CString saved[COMMAND_SOUND_COUNT];
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        saved[i] = g_CommandSoundFiles[i], g_CommandSoundFiles[i].Empty();
    g_CommandSoundFiles[0] = L"C:\\copy.wav";
    for (const int button : {IDCANCEL, IDOK})
    {
        CDrivenWavDlg dialog;
        std::vector<std::wstring> lines;
        std::wstring first, unpackKept;
        bool played = true;
        dialog.drive = [&](CDrivenWavDlg& d) {
            lines = d.ListBoxLines(IDC_WAV_COMMANDS);
            first = d.File();
            d.Select(6);
            ::SetDlgItemTextW(d.m_hWnd, IDC_WAV_FILE, L"C:\\unpack.wav");
            d.Select(5);
            ::SetDlgItemTextW(d.m_hWnd, IDC_WAV_FILE, L"");
            d.Command(IDC_WAV_PLAY);
            played = d.HasMediaWindow();
            d.Select(6);
            unpackKept = d.File();
            d.Select(22);
            ::SetDlgItemTextW(d.m_hWnd, IDC_WAV_FILE, L"C:\\quit.wav");
            d.Command(button);
        };
        dialog.DoModal();
        ASSERT_EQ(lines.size(), size_t(COMMAND_SOUND_COUNT));
        EXPECT_EQ(lines[5], L"ファイル解凍");
        EXPECT_EQ(lines[6], L"ファイル解凍");
        EXPECT_EQ(first, L"C:\\copy.wav");
        EXPECT_FALSE(played);
        EXPECT_EQ(unpackKept, L"C:\\unpack.wav");
        EXPECT_STREQ(g_CommandSoundFiles[6], button == IDOK ? L"C:\\unpack.wav" : L"");
        EXPECT_STREQ(g_CommandSoundFiles[22], button == IDOK ? L"C:\\quit.wav" : L"");
        EXPECT_STREQ(g_CommandSoundFiles[5], L"");
        EXPECT_STREQ(g_CommandSoundFiles[0], L"C:\\copy.wav");
    }
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        g_CommandSoundFiles[i] = saved[i];
}

TEST_F(OtherSettingDialogsTest, DebugSwitchesAndTheUserFileSettingsAreTakenOnOkOnly)
{
    int flags[DEBUG_FLAG_COUNT] = {0, 1, 0, 0, 0, 0, 0, 0, 1};
    int mode = 0;
    for (const int button : {IDCANCEL, IDOK})
    {
        CDrivenDebugDlg dialog(flags, mode);
        std::vector<std::wstring> lines;
        dialog.drive = [&](CDrivenDebugDlg& d) {
            lines = d.ListBoxLines(IDC_DEBUG_FLAGS);
            d.Flags().SetCheck(3, 1);
            d.Flags().SetCheck(8, 0);
            ::CheckDlgButton(d.m_hWnd, IDC_DEBUG_MODE, BST_CHECKED);
            d.Command(button);
        };
        dialog.DoModal();
        ASSERT_EQ(lines.size(), size_t(DEBUG_FLAG_COUNT));
        EXPECT_EQ(lines[3], L"ControlPanel読み込み時確認する");
        const std::vector<int> stored(flags, flags + DEBUG_FLAG_COUNT);
        EXPECT_EQ(stored, button == IDOK ? (std::vector<int>{0, 1, 0, 1, 0, 0, 0, 0, 0})
                                         : (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0, 1}));
        EXPECT_EQ(mode, button == IDOK ? 1 : 0);
    }

    CDrivenUseriniDlg user;
    user.m_userName = L"someone";
    user.m_fileName = L"old.ini";
    std::wstring shownUser;
    user.drive = [&](CDrivenUseriniDlg& d) {
        wchar_t text[64] = {};
        ::GetDlgItemTextW(d.m_hWnd, IDC_USERINI_USER, text, 64);
        shownUser = text;
        ::SetDlgItemTextW(d.m_hWnd, IDC_USERINI_FILE, L"mine.ini");
        ::CheckDlgButton(d.m_hWnd, IDC_USERINI_USE, BST_CHECKED);
        ::CheckDlgButton(d.m_hWnd, IDC_USERINI_NO_SAVE, BST_CHECKED);
        d.Command(IDOK);
    };
    EXPECT_EQ(user.DoModal(), IDOK);
    EXPECT_EQ(shownUser, L"someone");
    EXPECT_STREQ(user.m_fileName, L"mine.ini");
    EXPECT_EQ(user.m_useUserIni, 1);
    EXPECT_EQ(user.m_noSaveAtExit, 1);
}
} // namespace
