// New files from the shell's templates, entry names on the clipboard, and the
// order of the view's tear-down.
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/FilerSettings.h"
#include "view/navigation/FileKindActions.h"
#include "view/shell/ShellSeam.h"
#include "tests/common/TestHelpers.h"
#include "tests/view/CommandTestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <thread>
#include <vector>

using qvtest::W;

namespace
{

class ShellExchangeTest : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        m_savedKinds.Copy(g_MakeNewFileKinds);
    }
    void TearDown() override
    {
        g_MakeNewFileKinds.Copy(m_savedKinds);
        for (const std::wstring& key : m_keys)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        CommandBench::TearDown();
    }
    void AddKind(LPCWSTR extension, LPCWSTR display, LPCWSTR type)
    {
        CMakeNewFile kind;
        kind.m_extension = extension;
        kind.m_displayName = display;
        kind.m_templateType = type;
        g_MakeNewFileKinds.Add(kind);
    }
    // HKEY_CLASSES_ROOT\.<extension>\ShellNew in the test's own prefix.
    void WriteShellNew(LPCWSTR extension, LPCWSTR valueName, DWORD type, const void* data, DWORD size)
    {
        std::wstring key = std::wstring(L".") + extension;
        m_keys.push_back(key);
        HKEY handle = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, (key + L"\\ShellNew").c_str(), 0, nullptr,
                                                 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExW(handle, valueName, 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(handle);
    }
    void AddEntry(LPCWSTR name, DWORD attributes, DWORD size = 0)
    {
        WIN32_FIND_DATAW fd = {};
        fd.dwFileAttributes = attributes;
        fd.nFileSizeLow = size;
        wcscpy_s(fd.cFileName, name);
        m_panes[0]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
    }
    static std::wstring ClipboardText()
    {
        std::wstring text;
        if (!OpenClipboard(nullptr))
            return L"<not open>";
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
        {
            if (auto* p = static_cast<const wchar_t*>(GlobalLock(data)))
            {
                text = p;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    }
    static void PutClipboardText(const wchar_t* text)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(GlobalLock(block), text, bytes);
        GlobalUnlock(block);
        SetClipboardData(CF_UNICODETEXT, block);
        CloseClipboard();
    }

    CArray<CMakeNewFile> m_savedKinds;
    std::vector<std::wstring> m_keys;
};

TEST_F(ShellExchangeTest, NewFilesTakeTheFirstFreeName)
{
    g_MakeNewFileKinds.RemoveAll();
    AddKind(L"txt", L"テキスト ドキュメント", L"NullFile");
    ASSERT_EQ(1, View().ExecuteFilerCommand(L"@Makenewfile01"));
    View().ExecuteFilerCommand(L"@Makenewfile01");
    std::set<std::wstring> expected = {L"新規テキスト ドキュメント.txt", L"新規テキスト ドキュメント(2).txt"};
    EXPECT_EQ(expected, qvtest::ListFolder(W(m_dir)));
    EXPECT_EQ("", qvtest::ReadFileBytes(W(m_dir) + L"\\新規テキスト ドキュメント(2).txt"));
}

TEST_F(ShellExchangeTest, TemplatesWriteTheirDataOrCopyTheirFile)
{
    g_MakeNewFileKinds.RemoveAll();
    AddKind(L"qvdat", L"データ", L"Data");
    AddKind(L"qvtpl", L"ひな形", L"FileName");
    AddKind(L"qvnone", L"無し", L"Unknown");
    // A value much larger than any first guess of its size.
    std::string data(100000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    WriteShellNew(L"qvdat", L"Data", REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
    std::wstring source = W(m_dir) + L"\\template.bin";
    ASSERT_TRUE(qvtest::WriteFileBytes(source, "template bytes"));
    WriteShellNew(L"qvtpl", L"FileName", REG_SZ, source.c_str(),
                  static_cast<DWORD>((source.size() + 1) * sizeof(wchar_t)));
    View().CreateNewFile(0);
    View().CreateNewFile(1);
    View().CreateNewFile(2);
    EXPECT_EQ(data, qvtest::ReadFileBytes(W(m_dir) + L"\\新規データ.qvdat"));
    EXPECT_EQ("template bytes", qvtest::ReadFileBytes(W(m_dir) + L"\\新規ひな形.qvtpl"));
    EXPECT_EQ((std::set<std::wstring>{L"新規データ.qvdat", L"新規ひな形.qvtpl", L"template.bin"}),
              qvtest::ListFolder(W(m_dir)));
}

TEST_F(ShellExchangeTest, NamesPathsAndSizesGoToTheClipboard)
{
    AddEntry(L"日本語 ファイル.txt", FILE_ATTRIBUTE_ARCHIVE, 1234567);
    AddEntry(L"フォルダ", FILE_ATTRIBUTE_DIRECTORY);
    AddEntry(L".profile", FILE_ATTRIBUTE_ARCHIVE, 5);
    for (int i = 0; i < 3; ++i)
        m_panes[0]->m_entries[i].m_mark = 1;
    m_panes[0]->m_markedCount = 3;
    const std::wstring d = W(m_dir) + L"\\";
    struct Case
    {
        int kind;
        std::wstring text;
    };
    const Case cases[] = {
        {0, L"日本語 ファイル.txt\r\nフォルダ\r\n.profile\r\n"},
        {5, L"日本語 ファイル\r\nフォルダ\r\n.profile\r\n"},
        {1, d + L"日本語 ファイル.txt\r\n" + d + L"フォルダ\r\n" + d + L".profile\r\n"},
        {2, d + L"日本語 ファイル.txt\r\n" + d + L"フォルダ\r\n" + d + L".profile\r\n"},
        {4, L"1,234,567\r\n<DIR>\r\n5\r\n"},
        // The folder of the targets, once.
        {3, W(m_dir) + L"\r\n"},
    };
    for (const Case& c : cases)
    {
        View().CopyEntryNamesToClipboard(c.kind);
        EXPECT_EQ(c.text, ClipboardText()) << c.kind;
    }
}

TEST_F(ShellExchangeTest, AClipboardThatCannotBeOpenedStaysAsItWas)
{
    AddEntry(L"a.txt", FILE_ATTRIBUTE_ARCHIVE);
    PutClipboardText(L"before");
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Another program's window holds the clipboard open.
    std::thread holder([&] {
        HWND window =
            CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        BOOL ok = OpenClipboard(window);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (ok)
            CloseClipboard();
        DestroyWindow(window);
    });
    WaitForSingleObject(opened, 10000);
    CDialogAnswerScript script;
    script.Add(IDOK);
    View().CopyEntryNamesToClipboard(0);
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    auto questions = script.GetQuestions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(L"クリップボードを開くのに失敗しました", W(questions[0].text));
    EXPECT_EQ(L"before", ClipboardText());
}

TEST_F(ShellExchangeTest, CopyAndCutPutTheFilesOnTheClipboard)
{
    AddEntry(L"one.txt", FILE_ATTRIBUTE_ARCHIVE);
    AddEntry(L"日本語 名前.txt", FILE_ATTRIBUTE_ARCHIVE);
    for (int i = 0; i < 2; ++i)
        m_panes[0]->m_entries[i].m_mark = 1;
    m_panes[0]->m_markedCount = 2;
    for (DWORD effect : {DWORD(DROPEFFECT_COPY), DWORD(DROPEFFECT_MOVE)})
    {
        View().ExecuteFilerCommand(effect == DROPEFFECT_COPY ? L"@Toclipfiles" : L"@Tocutclipfiles");
        ASSERT_TRUE(OpenClipboard(nullptr));
        std::vector<std::wstring> paths;
        if (HANDLE drop = GetClipboardData(CF_HDROP))
        {
            UINT count = DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i)
            {
                wchar_t path[MAX_PATH] = {};
                DragQueryFileW(static_cast<HDROP>(drop), i, path, MAX_PATH);
                paths.push_back(path);
            }
        }
        DWORD shown = 0;
        if (HANDLE block = GetClipboardData(RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT)))
        {
            shown = *static_cast<DWORD*>(GlobalLock(block));
            GlobalUnlock(block);
        }
        CloseClipboard();
        EXPECT_EQ((std::vector<std::wstring>{W(m_dir) + L"\\one.txt", W(m_dir) + L"\\日本語 名前.txt"}),
                  paths);
        EXPECT_EQ(effect, shown);
    }
}

std::vector<std::wstring>* g_steps = nullptr;

void RecordStep(LPCWSTR step)
{
    g_steps->push_back(step);
}

TEST_F(ShellExchangeTest, TearDownReleasesInOrder)
{
    for (int deleteAtEnd : {0, 1})
    {
        std::vector<std::wstring> steps;
        g_steps = &steps;
        Set(g_DELTEMPATEND, deleteAtEnd);
        const std::wstring tempFolder = W(m_dir) + L"\\temp" + std::to_wstring(deleteAtEnd);
        CreateDirectoryW(tempFolder.c_str(), nullptr);
        // Another program's file of the extracted file's name, beside the view's own folder.
        const std::wstring theirs = tempFolder + L"\\extracted.txt";
        ASSERT_TRUE(qvtest::WriteFileBytes(theirs, "SOMEONE ELSES NOTES"));
        auto* view = new CQvView();
        view->m_tempDirectory = tempFolder.c_str();
        CString ownFolder;
        ASSERT_TRUE(GetOwnTempFolder(*view, ownFolder));
        const std::wstring own = W(ownFolder);
        // What was extracted, left read-only, and what a program wrote beside it.
        std::wstring temp = own + L"\\extracted.txt";
        ASSERT_TRUE(qvtest::WriteFileBytes(temp, "x"));
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_READONLY);
        CreateDirectoryW((own + L"\\sub").c_str(), nullptr);
        ASSERT_TRUE(qvtest::WriteFileBytes(own + L"\\sub\\written.txt", "y"));
        view->m_tempFiles.Add(temp.c_str());
        // A program was last started in the folder: it is the process's current directory.
        wchar_t savedCurrent[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, savedCurrent);
        ASSERT_TRUE(SetCurrentDirectoryW((own + L"\\sub").c_str()));
        auto* pane = new CFilerPane(0);
        pane->m_pView = view;
        CFilerPane* saved = g_Panes[0];
        g_Panes[0] = pane;
        CArray<CJumpDirectory> savedJumps;
        savedJumps.Copy(g_JumpGroups);
        g_JumpGroups.SetSize(2);
        g_JumpGroups[1].m_entries.SetSize(1);
        g_TearDownObserver = RecordStep;
        delete view;
        g_TearDownObserver = nullptr;
        SetCurrentDirectoryW(savedCurrent);
        EXPECT_EQ(0, g_JumpGroups.GetSize());
        g_JumpGroups.Copy(savedJumps);
        EXPECT_EQ(nullptr, g_Panes[0]);
        g_Panes[0] = saved;
        auto at = [&](LPCWSTR name) { return std::find(steps.begin(), steps.end(), name) - steps.begin(); };
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(L"ReleaseHookProc", steps.front());
        EXPECT_LT(at(L"StopPreviewLoader"), at(L"DeletePanes"));
        EXPECT_LT(at(L"DeletePanes"), at(L"SaveVirtualDrives"));
        EXPECT_EQ(L"CloseMutexes", steps.back());
        EXPECT_LT(at(L"ReleasePlugIns"), at(L"ReleaseJumpGroups"));
        EXPECT_LT(at(L"ReleaseJumpGroups"), at(L"CloseMutexes"));
        bool deleted = at(L"DeleteTempFiles") < static_cast<ptrdiff_t>(steps.size());
        EXPECT_EQ(deleteAtEnd != 0, deleted);
        EXPECT_EQ(deleteAtEnd == 0, GetFileAttributesW(temp.c_str()) != INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(deleteAtEnd == 0, GetFileAttributesW(own.c_str()) != INVALID_FILE_ATTRIBUTES)
            << "the view's own folder goes with everything in it";
        EXPECT_EQ(deleteAtEnd == 0,
                  GetFileAttributesW((own + L"\\sub\\written.txt").c_str()) != INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ("SOMEONE ELSES NOTES", qvtest::ReadFileBytes(theirs));
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        g_steps = nullptr;
    }
}

} // namespace

namespace
{

class MarkNewerFilesTest : public ShellExchangeTest
{
protected:
    void Add(int pane, LPCWSTR name, DWORD high, DWORD low, bool folder = false)
    {
        WIN32_FIND_DATAW fd = {};
        fd.dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
        fd.ftLastWriteTime.dwHighDateTime = high;
        fd.ftLastWriteTime.dwLowDateTime = low;
        wcscpy_s(fd.cFileName, name);
        m_panes[pane]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
    }
    std::vector<int> MarksOf(int pane) const
    {
        std::vector<int> marks;
        for (INT_PTR i = 0; i < m_panes[pane]->m_entries.GetSize(); ++i)
            marks.push_back(m_panes[pane]->m_entries[i].m_mark ? 1 : 0);
        return marks;
    }
    void Run(int both, int oneSide)
    {
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.checks = {both, oneSide};
        script.Add(answer);
        View().MarkNewerFiles();
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(L"選択方法", W(script.GetQuestions()[0].caption));
    }
};

TEST_F(MarkNewerFilesTest, MarksFilesNewerThanTheirNamesakes)
{
    // Pane 0: newer (high word), newer (low word only), same time, older, only here,
    // a folder. Pane 1: the namesakes, in other letter case, and one of its own.
    Add(0, L"new.txt", 2, 0);
    Add(0, L"low.txt", 1, 9);
    Add(0, L"same.txt", 1, 5);
    Add(0, L"old.txt", 1, 0);
    Add(0, L"mine.txt", 1, 0);
    Add(0, L"dir", 9, 9, true);
    Add(1, L"NEW.TXT", 1, 0xFFFFFFFF);
    Add(1, L"low.txt", 1, 8);
    Add(1, L"same.txt", 1, 5);
    Add(1, L"old.txt", 1, 1);
    Add(1, L"dir", 0, 0, true);
    Add(1, L"theirs.txt", 1, 0);
    m_panes[0]->m_entries[3].m_mark = 1; // cleared: not newer
    m_panes[0]->m_markedCount = 1;

    Run(0, 0);
    EXPECT_EQ((std::vector<int>{1, 1, 0, 0, 0, 0}), MarksOf(0));
    EXPECT_EQ(2, m_panes[0]->m_markedCount);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0}), MarksOf(1));

    Run(1, 1);
    EXPECT_EQ((std::vector<int>{1, 1, 0, 0, 1, 0}), MarksOf(0));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 0, 1}), MarksOf(1));
    EXPECT_EQ(2, m_panes[1]->m_markedCount);
    // The options are kept for the next time.
    EXPECT_EQ(1, View().m_shell.newerBothPanes);
    EXPECT_EQ(1, View().m_shell.newerOneSide);
}

TEST_F(MarkNewerFilesTest, TheEntriesACommandTakesAreTheNewlyMarkedOnes)
{
    Add(0, L"a.txt", 2, 0);
    Add(0, L"b.txt", 1, 0);
    Add(0, L"c.txt", 2, 0);
    for (LPCWSTR name : {L"a.txt", L"b.txt", L"c.txt"})
        Add(1, name, 1, 5);
    m_panes[0]->SetEntryMark(1, 1);
    CFileInfo target;
    ASSERT_EQ(1, m_panes[0]->GetTargetEntry(0, 0, target));
    EXPECT_EQ(L"b.txt", W(target.GetName()));

    Run(0, 0);
    std::vector<std::wstring> targets;
    for (int n = 0; m_panes[0]->GetTargetEntry(0, n, target); ++n)
        targets.push_back(W(target.GetName()));
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"c.txt"}), targets);
}

TEST_F(MarkNewerFilesTest, RefusedWhenAPaneShowsNoList)
{
    Add(0, L"new.txt", 2, 0);
    m_panes[1]->m_mode = PANE_MODE_TEXT_VIEWER;
    CDialogAnswerScript script;
    script.Add(IDOK);
    View().MarkNewerFiles();
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"両方共Filerモードでないので実行できません", W(script.GetQuestions()[0].text));
    EXPECT_EQ((std::vector<int>{0}), MarksOf(0));
}

} // namespace

namespace
{

// A drop handle holding the paths, as Explorer hands them over.
HGLOBAL MakeDrop(const std::vector<std::wstring>& paths)
{
    size_t chars = 1;
    for (const std::wstring& path : paths)
        chars += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& path : paths)
    {
        wcscpy(text, path.c_str());
        text += path.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

TEST_F(ShellExchangeTest, DroppedFilesGetShortcutsUnderFreeNames)
{
    std::wstring source1 = W(m_dir) + L"\\src1";
    std::wstring source2 = W(m_dir) + L"\\src2";
    std::wstring pane = W(m_dir) + L"\\pane";
    for (const std::wstring& folder : {source1, source2, pane})
        CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(source1 + L"\\a.b.txt", "1"));
    ASSERT_TRUE(qvtest::WriteFileBytes(source2 + L"\\a.b.doc", "2"));
    ASSERT_TRUE(qvtest::WriteFileBytes(pane + L"\\a.b.lnk", "existing"));
    m_panes[0]->m_currentDir = pane.c_str();
    HGLOBAL drop = MakeDrop({source1 + L"\\a.b.txt", source2 + L"\\a.b.doc"});
    View().CreateShortcutsFromDrop(0, static_cast<HDROP>(drop));
    GlobalFree(drop);
    EXPECT_EQ((std::set<std::wstring>{L"a.b.lnk", L"a.b (2).lnk", L"a.b (3).lnk"}), qvtest::ListFolder(pane));
    EXPECT_EQ("existing", qvtest::ReadFileBytes(pane + L"\\a.b.lnk"));
}

TEST_F(ShellExchangeTest, AShortcutOnReturnFollowsItsTargetAsTheSettingsSay)
{
    std::wstring folder = W(m_dir) + L"\\target folder";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(folder + L"\\inside.txt", "x"));
    std::wstring link = W(m_dir) + L"\\to folder.lnk";
    CoInitialize(nullptr);
    ASSERT_TRUE(CreateShortcut(link.c_str(), folder.c_str(), W(m_dir).c_str(), L"", L""));
    CoUninitialize();
    AddEntry(L"to folder.lnk", FILE_ATTRIBUTE_ARCHIVE);
    CFileInfo entry = m_panes[0]->m_entries[0];

    // Left to the shell: the shortcut itself is started.
    Set(g_LNK_DIR_ACT_RETURN_KEY_STD, 0);
    CFileOpenSeamOverride seam;
    static std::vector<std::wstring> started;
    started.clear();
    g_FileOpenSeam.shellExecute = [](HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
        started.push_back(file);
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
    };
    EXPECT_EQ(1, View().OpenShortcutEntry(0, 0, entry));
    EXPECT_EQ(std::vector<std::wstring>{link}, started);
    // Followed: the pane opens the target folder.
    Set(g_LNK_DIR_ACT_RETURN_KEY_STD, 1);
    EXPECT_EQ(1, View().OpenShortcutEntry(0, 0, entry));
    EXPECT_EQ(0, _wcsicmp(folder.c_str(), W(m_panes[0]->m_currentDir).c_str()))
        << W(m_panes[0]->m_currentDir);
    EXPECT_EQ(1u, started.size());
}

} // namespace
