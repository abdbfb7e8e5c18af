#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/DriveSeam.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "filer/FileInfo.h"
#include "filer/VirtualDriveDlg.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"
#include "tests/filer/FilerTestData.h"

using filertest::MakeFindData;

namespace
{
using qvtest::Utf16File;

// The names a folder lists (any pattern, folders unfiltered), sorted.
std::vector<std::wstring> Listed(CVirtualFolderStore& store, LPCWSTR folder, LPCWSTR pattern = L"*")
{
    CVirtualFolderListing listing;
    store.EnumerateFolder(folder, pattern, FALSE, listing);
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < listing.GetSize(); ++i)
        names.push_back(listing[i].findData.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

int NodeCount(const VirtualFolderNode* list)
{
    int count = 0;
    for (; list; list = list->next)
        count += 1 + NodeCount(list->firstChild);
    return count;
}

BOOL AddFile(CVirtualFolderStore& store, LPCWSTR folder, LPCWSTR name, LPCWSTR real)
{
    return store.AddEntry(folder, MakeFindData(name, false), real);
}

BOOL AddFolder(CVirtualFolderStore& store, LPCWSTR folder, LPCWSTR name)
{
    return store.AddEntry(folder, MakeFindData(name, true), L"");
}

// Puts g_HomeDir, the drive flags and stores, the real drives and the ini retry pause
// back when a test ends.
class VirtualDrives : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = g_HomeDir;
        m_retry = CIniFile::s_retryWaitMs;
        CIniFile::s_retryWaitMs = 1;
        m_dir = qvtest::ScratchDir();
        g_HomeDir = m_dir.c_str();
        std::copy(g_VirtualDriveFlags, g_VirtualDriveFlags + 26, m_flags);
        std::copy(g_VirtualFolderStores, g_VirtualFolderStores + 26, m_stores);
        std::fill(g_VirtualDriveFlags, g_VirtualDriveFlags + 26, 0);
        std::fill(g_VirtualFolderStores, g_VirtualFolderStores + 26, nullptr);
        s_realDrives = 1u << 2; // C: only
        g_DriveSeam.GetLogicalDrives = FakeLogicalDrives;
    }
    void TearDown() override
    {
        for (CVirtualFolderStore*& store : g_VirtualFolderStores)
        {
            delete store;
            store = nullptr;
        }
        std::copy(m_flags, m_flags + 26, g_VirtualDriveFlags);
        std::copy(m_stores, m_stores + 26, g_VirtualFolderStores);
        g_HomeDir = m_home;
        CIniFile::s_retryWaitMs = m_retry;
    }
    static DWORD WINAPI FakeLogicalDrives() { return s_realDrives; }

    std::wstring FileOf(wchar_t letter) const { return m_dir + L"\\" + letter + L"_Drive.ini"; }

    static DWORD s_realDrives;
    std::wstring m_dir;
    CDriveSeamOverride m_seam;

private:
    CString m_home;
    DWORD m_retry = 0;
    int m_flags[26] = {};
    CVirtualFolderStore* m_stores[26] = {};
};
DWORD VirtualDrives::s_realDrives = 0;
} // namespace

TEST_F(VirtualDrives, AddEntryClashesAndReplacements)
{
    CVirtualFolderStore store;
    ASSERT_TRUE(store.CreateDirectoryPath(L"Q:\\docs\\old"));
    ASSERT_TRUE(AddFile(store, L"Q:\\docs", L"a.txt", L"C:\\real"));
    struct Case
    {
        const wchar_t* what;
        bool folder;
        const wchar_t* name;
        BOOL result;
    };
    const Case cases[] = {
        {L"file over a folder", false, L"OLD", FALSE},
        {L"folder over a folder", true, L"Old", TRUE},
        {L"folder over a file", true, L"A.TXT", FALSE},
        {L"file over a file", false, L"a.TXT", TRUE},
        {L"empty name", false, L"", FALSE},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(test.folder ? AddFolder(store, L"q:\\DOCS", test.name)
                              : AddFile(store, L"q:\\DOCS", test.name, L"D:\\other"),
                  test.result);
    }
    // No second node for either name; the file now points at its new real folder.
    EXPECT_EQ(NodeCount(store.m_root), 3);
    VirtualFolderNode* docs = store.m_root;
    const VirtualFolderNode* file = docs->firstChild->isFolder ? docs->firstChild->next : docs->firstChild;
    EXPECT_STREQ(file->name, L"a.txt");
    EXPECT_STREQ(file->realDirectory, L"D:\\other");
    // A path through a file entry cannot be made.
    EXPECT_FALSE(store.CreateDirectoryPath(L"Q:\\docs\\a.txt\\inner"));
    // Adding into a missing folder makes it.
    EXPECT_TRUE(AddFile(store, L"Q:\\new\\deep", L"b.txt", L"C:\\real"));
    EXPECT_TRUE(store.FolderExists(L"Q:\\NEW\\deep"));
}

TEST_F(VirtualDrives, RemoveEntryTakesTheSubTree)
{
    CVirtualFolderStore store;
    ASSERT_TRUE(store.CreateDirectoryPath(L"Q:\\a\\b\\c"));
    ASSERT_TRUE(AddFile(store, L"Q:\\a\\b", L"f.txt", L"C:\\x"));
    ASSERT_TRUE(AddFolder(store, L"Q:", L"keep"));
    store.m_changed[0] = store.m_changed[1] = 0;
    store.RemoveEntry(L"Q:\\a", L"nothing");
    EXPECT_EQ(NodeCount(store.m_root), 5);
    EXPECT_EQ(store.m_changed[0] + store.m_changed[1], 2);
    store.RemoveEntry(L"Q:\\", L"A");
    EXPECT_EQ(NodeCount(store.m_root), 1);
    EXPECT_FALSE(store.FolderExists(L"Q:\\a\\b"));
    EXPECT_TRUE(store.FolderExists(L"Q:\\keep"));
}

TEST_F(VirtualDrives, ListingDotsPatternsAndVanishedFiles)
{
    std::wstring real = m_dir + L"\\real";
    CreateDirectoryW(real.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(real + L"\\keep.txt", "12345"));
    ASSERT_TRUE(qvtest::WriteFileBytes(real + L"\\gone.txt", "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(real + L"\\pic.jpg", "x"));
    CVirtualFolderStore store;
    for (LPCWSTR folder : {L"Q:", L"Q:\\sub"})
        for (LPCWSTR name : {L"keep.txt", L"gone.txt", L"pic.jpg"})
            ASSERT_TRUE(AddFile(store, folder, name, real.c_str()));
    ASSERT_TRUE(AddFolder(store, L"Q:\\sub", L"inner"));

    int savedCurrent = g_NOTVIEWCURRENTDIR, savedUp = g_NOTVIEWUPDIR;
    g_NOTVIEWCURRENTDIR = 1;
    g_NOTVIEWUPDIR = 0;
    EXPECT_EQ(Listed(store, L"Q:"),
              (std::vector<std::wstring>{L"gone.txt", L"keep.txt", L"pic.jpg", L"sub"}));
    EXPECT_EQ(Listed(store, L"Q:\\sub", L"*.txt"),
              (std::vector<std::wstring>{L"..", L"gone.txt", L"inner", L"keep.txt"}));
    EXPECT_TRUE(Listed(store, L"Q:\\missing").empty());
    g_NOTVIEWCURRENTDIR = savedCurrent;
    g_NOTVIEWUPDIR = savedUp;

    // The pane's listing filters folders and carries the real file's data.
    DeleteFileW((real + L"\\gone.txt").c_str());
    store.m_changed[0] = store.m_changed[1] = 0;
    CArrayFileInfo entries;
    store.ListDirectory(L"Q:", L"*.TXT", entries);
    ASSERT_EQ(filertest::Names(entries), (std::vector<std::wstring>{L"keep.txt"}));
    EXPECT_EQ(entries[0].m_source, ENTRY_SOURCE_VIRTUAL);
    EXPECT_EQ(entries[0].m_findData.nFileSizeLow, 5u);
    EXPECT_EQ(filertest::W(entries[0].GetRealDirectory(TRUE)), real);
    // The vanished file left the store, without a change mark.
    EXPECT_EQ(Listed(store, L"Q:"), (std::vector<std::wstring>{L"keep.txt", L"pic.jpg", L"sub"}));
    EXPECT_EQ(store.m_changed[0] + store.m_changed[1], 0);
}

// A file that cannot be reached because its drive is not there (a medium taken
// out, a share that is down) is not a deleted file: its entry is not listed but
// stays in the store, and comes back when the drive does.
TEST_F(VirtualDrives, EntryOnADriveThatDoesNotAnswerStaysInTheStore)
{
    DWORD drives = ::GetLogicalDrives();
    wchar_t missing = 0;
    for (int i = 25; i >= 3 && !missing; --i)
        if (!((drives >> i) & 1))
            missing = static_cast<wchar_t>(L'A' + i);
    ASSERT_NE(0, missing);
    const std::wstring away = std::wstring(1, missing) + L":\\stick";
    std::wstring real = m_dir + L"\\real";
    CreateDirectoryW(real.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(real + L"\\here.txt", "x"));
    CVirtualFolderStore store;
    ASSERT_TRUE(AddFile(store, L"Q:", L"away.txt", away.c_str()));
    ASSERT_TRUE(AddFile(store, L"Q:", L"here.txt", real.c_str()));

    EXPECT_EQ(Listed(store, L"Q:"), (std::vector<std::wstring>{L"here.txt"}));
    EXPECT_EQ(NodeCount(store.m_root), 2);
    std::wstring file = m_dir + L"\\Q_Drive.ini";
    ASSERT_EQ(1, store.Save(file.c_str()));
    CVirtualFolderStore reloaded;
    ASSERT_EQ(1, reloaded.Load(file.c_str()));
    EXPECT_EQ(NodeCount(reloaded.m_root), 2);
}

TEST_F(VirtualDrives, FileLoadsAndSavesByteForByte)
{
    // Entries under a folder missing from "DIR" still load: the folders are made.
    std::wstring file = FileOf(L'Q');
    ASSERT_TRUE(qvtest::WriteFileBytes(
        file, Utf16File(L"[DIR]\r\n00000=docs\r\n"
                        L"[FILE]\r\nF00000=a.txt\r\nR00000=C:\\r\r\nP00000=lost\\deep\r\n"
                        L"F00001=b.txt\r\nR00001=\r\nP00001=\r\n"
                        L"F00002=c.txt\r\nR00002=C:\\r\r\nP00002=\r\n")));
    CVirtualFolderStore store;
    ASSERT_EQ(store.Load(file.c_str()), 1);
    EXPECT_TRUE(store.FolderExists(L"Q:\\docs"));
    EXPECT_TRUE(store.FolderExists(L"Q:\\lost\\deep"));
    EXPECT_EQ(NodeCount(store.m_root), 4); // an entry without real folder ends the list

    // A file in the form the program writes survives load and save unchanged.
    const std::string canonical = Utf16File(L"[DIR]\r\n00000=docs\r\n00001=docs\\old\r\n00002=music\r\n"
                                            L"[FILE]\r\nF00000=x.txt\r\nR00000=C:\\r\r\nP00000=docs\\old\r\n"
                                            L"F00001=y.txt\r\nR00001=C:\\r\r\nP00001=docs\r\n"
                                            L"F00002=z.txt\r\nR00002=D:\\s\r\nP00002=\r\n"
                                            L"F00003=w.txt\r\nR00003=D:\\s\r\nP00003=\r\n");
    ASSERT_TRUE(qvtest::WriteFileBytes(file, canonical));
    ASSERT_EQ(store.Load(file.c_str()), 1);
    std::wstring copy = m_dir + L"\\copy.ini";
    ASSERT_EQ(store.Save(copy.c_str()), 1);
    EXPECT_EQ(qvtest::ReadFileBytes(copy), canonical);

    // An empty store saves as the byte-order mark alone and loads back empty.
    CVirtualFolderStore empty;
    ASSERT_EQ(empty.Save(copy.c_str()), 1);
    EXPECT_EQ(empty.Load(copy.c_str()), 1);
    EXPECT_TRUE(empty.CanSave());
}

TEST_F(VirtualDrives, LoadVirtualDrivesFollowsFlagsAndRealDrives)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(FileOf(L'Q'), Utf16File(L"[DIR]\r\n00000=q\r\n")));
    ASSERT_TRUE(qvtest::WriteFileBytes(FileOf(L'C'), Utf16File(L"[DIR]\r\n00000=c\r\n")));
    g_VirtualDriveFlags[L'Q' - L'A'] = 1;
    g_VirtualDriveFlags[L'C' - L'A'] = 1; // also a real drive
    LoadVirtualDrives();
    ASSERT_NE(g_VirtualFolderStores[L'Q' - L'A'], nullptr);
    EXPECT_EQ(g_VirtualFolderStores[L'C' - L'A'], nullptr);
    EXPECT_TRUE(g_VirtualFolderStores[L'Q' - L'A']->FolderExists(L"Q:\\q"));

    // A real drive appears at Q: its store is saved and dropped.
    g_VirtualFolderStores[L'Q' - L'A']->CreateDirectoryPath(L"Q:\\added");
    s_realDrives |= 1u << (L'Q' - L'A');
    LoadVirtualDrives();
    EXPECT_EQ(g_VirtualFolderStores[L'Q' - L'A'], nullptr);
    EXPECT_EQ(qvtest::ReadFileBytes(FileOf(L'Q')), Utf16File(L"[DIR]\r\n00000=q\r\n00001=added\r\n"));

    // The flags' section: all 26 keys written, read back.
    std::wstring ini = m_dir + L"\\flags.ini";
    CIniFile writer;
    ASSERT_TRUE(writer.Create(ini.c_str()));
    SaveSectionVirtualDrive(writer);
    writer.Close();
    std::fill(g_VirtualDriveFlags, g_VirtualDriveFlags + 26, 7);
    CIniFile reader;
    reader.filePath = ini.c_str();
    ASSERT_EQ(reader.Load(), INI_LOAD_OK);
    LoadSectionVirtualDrive(reader);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(g_VirtualDriveFlags[i], i == L'Q' - L'A' || i == L'C' - L'A' ? 1 : 0) << i;
}

// A drive file that another program holds open at start-up cannot be read; the empty
// store must not be written over it at the end.
TEST_F(VirtualDrives, StoreInUseAtLoadIsNeverSaved)
{
    std::wstring file = FileOf(L'R');
    const std::string original = Utf16File(L"[DIR]\r\n00000=precious\r\n");
    ASSERT_TRUE(qvtest::WriteFileBytes(file, original));
    g_VirtualDriveFlags[L'R' - L'A'] = 1;
    HANDLE held =
        CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    LoadVirtualDrives();
    CloseHandle(held);

    CVirtualFolderStore* store = g_VirtualFolderStores[L'R' - L'A'];
    ASSERT_NE(store, nullptr);
    EXPECT_FALSE(store->CanSave());
    EXPECT_EQ(store->m_root, nullptr);
    // Still usable for the session, but neither Save nor the tear-down writes it.
    EXPECT_TRUE(store->CreateDirectoryPath(L"R:\\new"));
    EXPECT_EQ(store->Save(file.c_str()), 0);
    SaveVirtualDrive(L'R' - L'A');
    EXPECT_EQ(g_VirtualFolderStores[L'R' - L'A'], nullptr);
    EXPECT_EQ(qvtest::ReadFileBytes(file), original);
}

namespace
{
class DrivenVirtualDriveDlg : public qvtest::CDrivenDialog<DrivenVirtualDriveDlg, CVirtualDriveDlg>
{
public:
    CCheckListBox& List() { return m_list; }
};
} // namespace

TEST_F(VirtualDrives, DialogEditsTheFlags)
{
    g_VirtualDriveFlags[L'Q' - L'A'] = 1;
    for (int button : {IDCANCEL, IDOK})
    {
        DrivenVirtualDriveDlg dialog;
        dialog.drive = [button](DrivenVirtualDriveDlg& dlg) {
            CCheckListBox& list = dlg.List();
            ASSERT_EQ(list.GetCount(), 26);
            CString text;
            list.GetText(16, text);
            EXPECT_STREQ(text, L"Q Drive");
            EXPECT_EQ(list.GetCheck(16), 1);
            EXPECT_EQ(list.GetCheck(3), 0);
            list.SetCheck(3, 1);
            list.SetCheck(16, 0);
            dlg.Command(button);
        };
        EXPECT_EQ(dialog.DoModal(), button);
    }
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(g_VirtualDriveFlags[i], i == 3 ? 1 : 0) << i;
}
