// Disk space, drive names and the connection of network shares, through the drive
// seam: the test machine has neither floppies nor a network.
#include "app/Drives.h"
#include "app/DriveSeam.h"
#include "util/Globals.h"
#include "app/NetworkAccounts.h"
#include "app/OsVersion.h"
#include "app/QvDllLoader.h"
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

using qvtest::W;

// ---- Disk and drive fakes ----

BOOL WINAPI FakeDiskFreeSpaceEx(LPCWSTR, PULARGE_INTEGER available, PULARGE_INTEGER total,
                                PULARGE_INTEGER totalFree)
{
    available->QuadPart = 100;
    total->QuadPart = 5000000000000ULL;
    totalFree->QuadPart = 3000000000000ULL;
    return TRUE;
}

BOOL WINAPI FailingDiskFreeSpaceEx(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER)
{
    return FALSE;
}

BOOL WINAPI FakeDiskFreeSpace(LPCWSTR, LPDWORD sectors, LPDWORD bytes, LPDWORD freeClusters,
                              LPDWORD totalClusters)
{
    *sectors = 8;
    *bytes = 512;
    *freeClusters = 10;
    *totalClusters = 30;
    return TRUE;
}

const wchar_t* g_fakeDisplayName = L"";
UINT g_fakeDriveType = DRIVE_REMOVABLE;

DWORD_PTR WINAPI FakeShGetFileInfo(LPCWSTR, DWORD, SHFILEINFOW* info, UINT, UINT flags)
{
    if (flags != SHGFI_DISPLAYNAME)
        return 0;
    wcscpy_s(info->szDisplayName, g_fakeDisplayName);
    return 1;
}

UINT WINAPI FakeDriveType(LPCWSTR)
{
    return g_fakeDriveType;
}

// ---- Network fakes ----

struct NetworkLog
{
    int connectCalls = 0;
    std::wstring connectedUser, connectedPassword, connectedRemote;
    DWORD connectResult = NO_ERROR;
    int dialogCalls = 0;
    CAccountRequest shown;  // what the dialog was opened with
    CAccountRequest answer; // what the user confirms
    INT_PTR dialogResult = IDOK;
} g_net;

DWORD WINAPI FakeAddConnection(LPNETRESOURCEW resource, LPCWSTR password, LPCWSTR user, DWORD)
{
    ++g_net.connectCalls;
    g_net.connectedRemote = resource->lpRemoteName ? resource->lpRemoteName : L"";
    g_net.connectedUser = user ? user : L"";
    g_net.connectedPassword = password ? password : L"";
    return g_net.connectResult;
}

INT_PTR FakeAccountDialog(CAccountRequest& request)
{
    ++g_net.dialogCalls;
    g_net.shown = request;
    if (g_net.dialogResult == IDOK)
        request = g_net.answer;
    return g_net.dialogResult;
}

BOOL WINAPI FakeUserName(LPWSTR buffer, LPDWORD size)
{
    wcscpy_s(buffer, *size, L"me");
    return TRUE;
}

CNetResourcePassWord Login(LPCWSTR remote, LPCWSTR user, LPCWSTR password, LPCWSTR provider = L"")
{
    CNetResourcePassWord entry;
    entry.m_remoteName = remote;
    entry.m_user = user;
    entry.m_password = password;
    entry.m_provider = provider;
    return entry;
}

class NetworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_net = NetworkLog();
        g_DriveSeam.WNetAddConnection2W = FakeAddConnection;
        g_DriveSeam.RunAccountDialog = FakeAccountDialog;
        g_DriveSeam.GetUserNameW = FakeUserName;
        m_autoCheck = g_AUTOACCOUNTCHECK;
        m_savePassword = g_SAVENETWORKPASSWORD;
        g_NetResourcePasswords.RemoveAll();
    }
    void TearDown() override
    {
        g_AUTOACCOUNTCHECK = m_autoCheck;
        g_SAVENETWORKPASSWORD = m_savePassword;
        g_NetResourcePasswords.RemoveAll();
    }

    CDriveSeamOverride m_seam;
    int m_autoCheck = 0;
    int m_savePassword = 1;
};

} // namespace

TEST(DiskBytes, VirtualDriveReportsZero)
{
    ReadOsVersion();
    CDriveSeamOverride seam;
    g_DriveSeam.GetDiskFreeSpaceExW = FakeDiskFreeSpaceEx;
    EXPECT_EQ(GetDiskFreeBytes(L"C:\\some\\dir"), 3000000000000ULL); // the whole volume, not the quota
    EXPECT_EQ(GetDiskTotalBytes(L"C:\\some\\dir"), 5000000000000ULL);

    CVirtualFolderStore store;
    g_VirtualDriveFlags[2] = 1;
    g_VirtualFolderStores[2] = &store;
    EXPECT_EQ(GetDiskFreeBytes(L"c:\\some\\dir"), 0u);
    EXPECT_EQ(GetDiskTotalBytes(L"C:"), 0u);
    g_VirtualDriveFlags[2] = 0;
    g_VirtualFolderStores[2] = nullptr;
}

TEST(DiskBytes, FallsBackToClusterCounts)
{
    ReadOsVersion();
    CDriveSeamOverride seam;
    g_DriveSeam.GetDiskFreeSpaceExW = FailingDiskFreeSpaceEx;
    g_DriveSeam.GetDiskFreeSpaceW = FakeDiskFreeSpace;
    EXPECT_EQ(GetDiskFreeBytes(L"C:\\x"), 8u * 512 * 10);
    EXPECT_EQ(GetDiskTotalBytes(L"C:\\x"), 8u * 512 * 30);
}

TEST(GetDriveDisplayName, CutsBeforeTheDriveLetterPart)
{
    CDriveSeamOverride seam;
    g_DriveSeam.SHGetFileInfoW = FakeShGetFileInfo;
    struct Case
    {
        const wchar_t* shellName;
        const wchar_t* root;
        const wchar_t* expected;
    } cases[] = {
        {L"Local Disk (C:)", L"C:\\", L"Local Disk "},
        {L"Local Disk (C:)", L"c:\\", L"Local Disk (C:)"}, // the case of the letter differs
        {L"(C:)", L"C:\\", L""},
        {L"No letter", L"C:\\", L"No letter"},
    };
    for (const Case& c : cases)
    {
        g_fakeDisplayName = c.shellName;
        CString out;
        GetDriveDisplayName(c.root, out);
        EXPECT_EQ(W(out), c.expected) << c.shellName;
    }
}

TEST(IsFloppyDrive, RecognisesTheFourShellNamesOnNonFixedDrives)
{
    CDriveSeamOverride seam;
    g_DriveSeam.SHGetFileInfoW = FakeShGetFileInfo;
    g_DriveSeam.GetDriveTypeW = FakeDriveType;
    struct Case
    {
        wchar_t letter;
        UINT type;
        const wchar_t* shellName;
        BOOL expected;
    } cases[] = {
        {L'A', DRIVE_REMOVABLE, L"3.5ｲﾝﾁ FD (A:)", TRUE},
        {L'A', DRIVE_REMOVABLE, L"3.5 ｲﾝﾁ FD (A:)", TRUE},
        {L'A', DRIVE_REMOVABLE, L"3.5ｲﾝﾁFD (A:)", TRUE},
        {L'B', DRIVE_REMOVABLE, L"3.5 インチ FD (B:)", TRUE},
        {L'A', DRIVE_NO_ROOT_DIR, L"3.5ｲﾝﾁ FD (A:)", TRUE},
        {L'A', DRIVE_REMOVABLE, L"3.5ｲﾝﾁ fd (A:)", FALSE}, // case-sensitive
        {L'E', DRIVE_REMOVABLE, L"USB DISK (E:)", FALSE},
        {L'A', DRIVE_FIXED, L"3.5ｲﾝﾁ FD (A:)", FALSE},
        {L'A', DRIVE_REMOTE, L"3.5ｲﾝﾁ FD (A:)", FALSE},
        {L'A', DRIVE_CDROM, L"3.5ｲﾝﾁ FD (A:)", FALSE},
        {L'A', DRIVE_RAMDISK, L"3.5ｲﾝﾁ FD (A:)", FALSE},
        {L'\\', DRIVE_REMOVABLE, L"3.5ｲﾝﾁ FD (\\:)", FALSE},
    };
    for (const Case& c : cases)
    {
        g_fakeDriveType = c.type;
        g_fakeDisplayName = c.shellName;
        EXPECT_EQ(IsFloppyDrive(c.letter), c.expected) << c.shellName << L" type " << c.type;
    }
}

// The device each letter stands for, and how often the memo asked for a type.
const wchar_t* g_memoDevice = L"";
UINT g_memoType = DRIVE_FIXED;
int g_memoTypeAsked = 0;

bool MemoDevice(wchar_t, wchar_t (&device)[MAX_PATH])
{
    if (!*g_memoDevice)
        return false;
    wcscpy(device, g_memoDevice);
    return true;
}

UINT MemoType(LPCWSTR)
{
    ++g_memoTypeAsked;
    return g_memoType;
}

TEST(DriveTypeMemo, KeepsATypeWhileTheLetterStandsForTheSameDevice)
{
    CDriveTypeMemo memo;
    struct Step
    {
        wchar_t letter;
        const wchar_t* device; // empty: the letter stands for none
        UINT systemType;
        UINT expected;
        int asked; // the system's answers asked for so far
    } steps[] = {
        {L'E', L"\\Device\\HarddiskVolume3", DRIVE_REMOVABLE, DRIVE_REMOVABLE, 1},
        {L'e', L"\\Device\\HarddiskVolume3", DRIVE_FIXED, DRIVE_REMOVABLE, 1}, // remembered, either case
        {L'F', L"\\Device\\HarddiskVolume3", DRIVE_FIXED, DRIVE_FIXED, 2},     // letters apart
        {L'E', L"\\??\\C:\\sub", DRIVE_FIXED, DRIVE_FIXED, 3},                 // substituted since
        {L'E', L"\\??\\C:\\sub", DRIVE_CDROM, DRIVE_FIXED, 3},
        {L'G', L"\\Device\\CdRom0", DRIVE_NO_ROOT_DIR, DRIVE_NO_ROOT_DIR, 4}, // not judged: asked again
        {L'G', L"\\Device\\CdRom0", DRIVE_CDROM, DRIVE_CDROM, 5},
        {L'H', L"", DRIVE_REMOTE, DRIVE_REMOTE, 6}, // no device: never kept
        {L'H', L"", DRIVE_FIXED, DRIVE_FIXED, 7},
        {L'\\', L"\\Device\\Mup", DRIVE_REMOTE, DRIVE_REMOTE, 8}, // no letter: asked
    };
    for (const Step& step : steps)
    {
        g_memoDevice = step.device;
        g_memoType = step.systemType;
        EXPECT_EQ(memo.Get(step.letter, MemoDevice, MemoType), step.expected) << step.letter << step.device;
        EXPECT_EQ(g_memoTypeAsked, step.asked) << step.letter << step.device;
    }
}

TEST_F(NetworkTest, SavedPasswordIsTriedSilentlyOnlyWithAutoAccountCheck)
{
    g_NetResourcePasswords.Add(Login(L"\\\\srv\\share", L"bob", L"secret"));
    g_AUTOACCOUNTCHECK = 1;
    EXPECT_EQ(ConnectNetworkResource(L"\\\\SRV\\share", nullptr, RESOURCE_GLOBALNET), 1);
    EXPECT_EQ(g_net.connectCalls, 1);
    EXPECT_EQ(g_net.connectedUser, L"bob");
    EXPECT_EQ(g_net.connectedPassword, L"secret");
    EXPECT_EQ(g_net.dialogCalls, 0);

    g_AUTOACCOUNTCHECK = 0;
    g_net = NetworkLog();
    g_net.dialogResult = IDCANCEL;
    EXPECT_EQ(ConnectNetworkResource(L"\\\\srv\\share", nullptr, RESOURCE_GLOBALNET), 0);
    EXPECT_EQ(g_net.connectCalls, 0);
    ASSERT_EQ(g_net.dialogCalls, 1);
    EXPECT_EQ(W(g_net.shown.m_user), L"bob");
    EXPECT_EQ(W(g_net.shown.m_password), L"secret");
    EXPECT_EQ(W(g_net.shown.m_resource), L"\\\\srv\\share");
    EXPECT_EQ(g_NetResourcePasswords.GetSize(), 1); // Cancel changes nothing
}

TEST_F(NetworkTest, FailedSilentTryAsksWithTheSavedAccount)
{
    g_NetResourcePasswords.Add(Login(L"\\\\srv\\share", L"bob", L"old"));
    g_AUTOACCOUNTCHECK = 1;
    g_net.connectResult = ERROR_INVALID_PASSWORD;
    g_net.dialogResult = IDCANCEL;
    EXPECT_EQ(ConnectNetworkResource(L"\\\\srv\\share", nullptr, RESOURCE_GLOBALNET), 0);
    EXPECT_EQ(g_net.connectCalls, 1);
    ASSERT_EQ(g_net.dialogCalls, 1);
    EXPECT_EQ(W(g_net.shown.m_password), L"old");
}

TEST_F(NetworkTest, TheSaveBoxKeepsReplacesOrRemovesTheSavedLogin)
{
    struct Case
    {
        bool savedBefore;
        int saveBox;
        INT_PTR expectedCount;
    } cases[] = {
        {true, 0, 0},  // confirming with the box cleared removes the saved login
        {true, 1, 1},  // replaced by what was typed
        {false, 1, 1}, // appended
        {false, 0, 0},
    };
    for (const Case& c : cases)
    {
        g_NetResourcePasswords.RemoveAll();
        g_net = NetworkLog();
        if (c.savedBefore)
            g_NetResourcePasswords.Add(Login(L"\\\\srv\\share", L"bob", L"old"));
        g_net.answer.m_resource = L"\\\\SRV\\SHARE";
        g_net.answer.m_user = L"alice";
        g_net.answer.m_password = L"new";
        g_net.answer.m_savePassword = c.saveBox;
        EXPECT_EQ(ConnectNetworkResource(L"\\\\srv\\share", L"", RESOURCE_GLOBALNET), 1);
        ASSERT_EQ(g_NetResourcePasswords.GetSize(), c.expectedCount);
        if (c.expectedCount)
        {
            EXPECT_EQ(W(g_NetResourcePasswords[0].m_user), L"alice");
            EXPECT_EQ(W(g_NetResourcePasswords[0].m_password), L"new");
        }
        if (!c.savedBefore)
        {
            EXPECT_EQ(W(g_net.shown.m_user), L"me"); // the Windows user when none is saved
        }
    }
}

TEST_F(NetworkTest, DialogStartsWithTheSaveSettingAndMatchesTheProvider)
{
    g_NetResourcePasswords.Add(Login(L"\\\\srv\\share", L"bob", L"pw", L"Other Network"));
    g_SAVENETWORKPASSWORD = 0;
    g_net.dialogResult = IDCANCEL;
    ConnectNetworkResource(L"\\\\srv\\share", L"Microsoft Windows Network", RESOURCE_GLOBALNET);
    EXPECT_EQ(g_net.shown.m_savePassword, 0);
    EXPECT_EQ(W(g_net.shown.m_user), L"me"); // the saved login is for another provider
    EXPECT_EQ(W(g_net.shown.m_provider), L"Microsoft Windows Network");
    EXPECT_EQ(ConnectNetworkResource(L"", nullptr, RESOURCE_GLOBALNET), 0);
}

TEST(ReadRegistryString, ReadsShortAndLongValues)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\QvTest\\Registry", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    std::wstring longText(3000, L'x');
    RegSetValueExW(key, L"short", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"abc"), 8);
    RegSetValueExW(key, L"long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                   static_cast<DWORD>((longText.size() + 1) * 2));
    CString out;
    DWORD type = 0;
    EXPECT_EQ(ReadRegistryString(key, L"short", &type, out), ERROR_SUCCESS);
    EXPECT_EQ(W(out), L"abc");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadRegistryString(key, L"long", nullptr, out), ERROR_SUCCESS);
    EXPECT_EQ(W(out), longText);
    EXPECT_EQ(ReadRegistryString(key, L"none", nullptr, out), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(out.IsEmpty());
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QvTest");
}

TEST(GetQvDllProc, MissingLibraryIsNotFoundAndTriedAgain)
{
    CString saved = g_ProgramDir;
    g_ProgramDir = qvtest::ScratchDir().c_str();
    EXPECT_EQ(GetQvDllProc("SetHookProc"), nullptr);
    EXPECT_EQ(GetQvDllProc("ReleaseHookProc"), nullptr);
    FreeQvDll();
    g_ProgramDir = saved;
}
