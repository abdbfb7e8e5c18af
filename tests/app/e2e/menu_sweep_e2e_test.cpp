// Every item of the menu bars, chosen once in the real program in each pane mode the
// test can bring about: the filer, the text viewer, the binary editor, an archive
// listing and the finds of a pane search. The items are read from the program's own
// menu resources and posted as a menu click posts them; a dialog an item opens is
// answered with its own Cancel (No, OK, or a close when it has none), a window it
// leaves open is closed, a program it starts is ended, and afterwards the program
// must still run and answer. When an item leaves the pane in another mode, folder or
// file, the program is started afresh so that the next item acts where the sweep is.
#include "res/Menus.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{

// Items never chosen, each for what it would do to the machine the tests run on.
struct SkippedItem
{
    UINT id;
    const char* reason;
};
const SkippedItem kSkipped[] = {
    {57665, "quits the program"},      {523, "formats a disk"},           {369, "changes the display mode"},
    {370, "changes the display mode"}, {371, "changes the display mode"}, {372, "changes the display mode"},
    {373, "changes the display mode"}, {374, "changes the display mode"}, {375, "changes the display mode"},
    {376, "changes the display mode"}, {377, "changes the display mode"}, {378, "changes the display mode"},
};

bool IsLeftOut(UINT id)
{
    for (const SkippedItem& item : kSkipped)
        if (item.id == id)
            return true;
    return false;
}

void Collect(HMENU popup, std::vector<UINT>& ids, std::set<UINT>& seen)
{
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
    {
        if (HMENU sub = GetSubMenu(popup, i))
            Collect(sub, ids, seen);
        else if (const UINT id = GetMenuItemID(popup, i); id != 0 && id != static_cast<UINT>(-1))
        {
            if (seen.insert(id).second)
                ids.push_back(id);
        }
    }
}

// The items of the top-level popups [first, last) of a bar, read from the program file,
// in their menu order.
std::vector<UINT> ItemsOf(const std::wstring& exe, UINT bar, int first, int last)
{
    std::vector<UINT> ids;
    std::set<UINT> seen;
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
        return ids;
    if (HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(bar)))
    {
        for (int i = first; i < last && i < GetMenuItemCount(menu); ++i)
        {
            if (HMENU sub = GetSubMenu(menu, i))
                Collect(sub, ids, seen);
        }
        DestroyMenu(menu);
    }
    FreeLibrary(module);
    return ids;
}

bool Answers(HWND window, UINT timeoutMs = 10000)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// The pane's place as the frame shows it: its caption and the captions of its menu bar.
std::wstring PlaceOf(HWND main)
{
    std::wstring place = qvtest::Caption(main) + L"|";
    if (HMENU menu = GetMenu(main))
    {
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
        {
            wchar_t text[64] = L"";
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            place += std::wstring(text) + L";";
        }
    }
    return place;
}

// Ends the processes the program started (a shell, an editor, the control panel).
int EndChildrenOf(DWORD pid)
{
    int ended = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    {
        if (entry.th32ParentProcessID != pid || entry.th32ProcessID == pid)
            continue;
        if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID))
        {
            EndChildrenOf(entry.th32ProcessID);
            TerminateProcess(child, 1);
            WaitForSingleObject(child, 1000);
            CloseHandle(child);
            ++ended;
        }
    }
    CloseHandle(snapshot);
    return ended;
}

std::string Narrow(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

enum class Mode
{
    Filer,
    TextViewer,
    BinaryEditor,
    Archive,
    FindResults,
};

class MenuSweepEndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::wstring root = qvtest::ScratchDir();
        m_program = std::make_unique<qvtest::QvProgram>(root);
        ASSERT_TRUE(m_program->Ok());
        ASSERT_TRUE(m_program->CopyBeside(L"7z.dll"));
        m_left = root + L"\\left";
        m_right = root + L"\\right";
        CreateDirectoryW(m_left.c_str(), nullptr);
        CreateDirectoryW(m_right.c_str(), nullptr);
        CreateDirectoryW((m_left + L"\\sub").c_str(), nullptr);
        ASSERT_TRUE(qvtest::WriteFileBytes(m_left + L"\\notes.txt", "first line\r\nsecond line\r\n"));
        ASSERT_TRUE(qvtest::WriteFileBytes(m_left + L"\\picture.bmp", qvtest::SolidBmp(32, 24, 0, 0, 255)));
        sztest::WriteStoredZip(m_left + L"\\pack.zip",
                               {{"inner.txt", "packed text\r\n"}, {"more.txt", "more\r\n"}});
        ASSERT_TRUE(qvtest::WriteFileBytes(m_left + L"\\sub\\deep.txt", "deep\r\n"));
        ASSERT_TRUE(qvtest::WriteFileBytes(m_right + L"\\other.txt", "other\r\n"));
        // The scratch folder lies on the drive that holds the whole host file system: the
        // drive tree is read from the program's cache file of that drive instead of a walk
        // of all of it.
        std::wstring tree = L"\xFEFF";
        for (const std::wstring& folder : {root, m_left, m_left + L"\\sub", m_right})
            tree += folder + L"\r\n";
        ASSERT_TRUE(qvtest::WriteFileBytes(
            m_program->Folder() + L"\\" + wchar_t(towupper(root[0])) + L"_TREE.DAT",
            std::string(reinterpret_cast<const char*>(tree.data()), tree.size() * sizeof(wchar_t))));
    }

    void TearDown() override
    {
        StopProgram();
        std::printf("%zu items chosen, %d restarts\n", m_chosen, m_restarts);
    }

    void StopProgram()
    {
        if (!m_qv)
            return;
        EndChildrenOf(m_qv->ProcessId());
        if (m_qv->WaitForExit(0) == STILL_ACTIVE)
        {
            TerminateProcess(m_qv->Process(), 1);
            WaitForSingleObject(m_qv->Process(), 20000);
        }
        m_qv.reset();
        m_main = nullptr;
    }

    // Starts the program with fresh settings, its active pane listing the scratch folder.
    void Launch()
    {
        StopProgram();
        ASSERT_TRUE(m_program->WriteSettings(
            "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
            "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
            "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\nSAVEDRIVETREETOFILE=1\r\n"
            "[KEYEXEDATA]\r\nN_J=@FindFileInWindow\r\n"));
        m_qv = std::make_unique<qvtest::QvProcess>();
        ASSERT_TRUE(m_qv->Start(m_program->Exe(), qvtest::PaneArguments(m_left, m_right)));
        m_main = m_qv->WaitForMainWindow(L" - qv");
        ASSERT_NE(nullptr, m_main);
        ASSERT_TRUE(qvtest::PumpUntil([&] { return GetMenu(m_main) != nullptr; }, 20000));
        qvtest::Settle(*m_qv);
    }

    // Opens `file` of the scratch folder with the item `id`: the cursor goes down one
    // row more on each try, the listing's order being the program's to choose.
    void Enter(const wchar_t* file, UINT id)
    {
        for (int row = m_row; row < 6; ++row)
        {
            if (row != m_row || m_qv == nullptr)
                Launch();
            if (HasFatalFailure())
                return;
            const std::wstring filer = PlaceOf(m_main);
            for (int step = 0; step < row; ++step)
                qvtest::Press(*m_qv, m_main, {VK_DOWN});
            ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(id, 0), 0));
            qvtest::PumpUntil([&] { return PlaceOf(m_main) != filer || AnswerOpenWindows(); }, 20000);
            qvtest::PumpUntil([&] { return !AnswerOpenWindows() && Answers(m_main, 1000); }, 10000);
            if (qvtest::Caption(m_main).find(file) != std::wstring::npos)
            {
                m_row = row;
                return;
            }
            StopProgram();
        }
        FAIL() << "item " << id << " opened " << Narrow(file) << " on no row";
    }

    // Starts the program with fresh settings and brings the active pane into `mode`.
    void StartIn(Mode mode)
    {
        Launch();
        if (HasFatalFailure())
            return;
        const std::wstring filer = PlaceOf(m_main);
        auto enter = [&](const wchar_t* file, UINT id) { Enter(file, id); };
        switch (mode)
        {
        case Mode::Filer:
            break;
        case Mode::TextViewer:
            enter(L"notes.txt", 1061);
            break;
        case Mode::BinaryEditor:
            enter(L"notes.txt", 206);
            break;
        case Mode::Archive:
            enter(L"pack.zip", 750);
            break;
        case Mode::FindResults: {
            qvtest::Press(*m_qv, m_main, {'J'});
            HWND dialog = qvtest::WaitForDialog(m_qv->ProcessId(), L"");
            ASSERT_NE(nullptr, dialog) << "J opened no search dialog";
            ASSERT_TRUE(PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
            ASSERT_TRUE(qvtest::PumpUntil([&] { return PlaceOf(m_main) != filer; }, 20000))
                << "the search listed nothing";
            break;
        }
        }
        if (HasFatalFailure())
            return;
        qvtest::PumpUntil([&] { return Answers(m_main, 1000); }, 5000);
        m_place = PlaceOf(m_main);
        ++m_restarts;
        std::printf("started in %s\n", Narrow(m_place).c_str());
        std::fflush(stdout);
    }

    // Answers or closes every window of the program but its frame; true when one was there.
    bool AnswerOpenWindows()
    {
        bool any = false;
        for (HWND window : qvtest::FindProcessWindows(m_qv->ProcessId(), qvtest::WindowMatch()))
        {
            if (window == m_main)
                continue;
            if (!any)
                m_answered += L" [" + ClassOf(window) + L" " + qvtest::Caption(window) + L"]";
            any = true;
            if (ClassOf(window) == L"#32770")
            {
                UINT answer = 0;
                for (UINT button : {IDCANCEL, IDNO, IDOK})
                {
                    HWND control = GetDlgItem(window, static_cast<int>(button));
                    if (control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control))
                    {
                        answer = button;
                        break;
                    }
                }
                if (answer != 0)
                    PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(window, static_cast<int>(answer))));
                else
                    PostMessageW(window, WM_CLOSE, 0, 0);
            }
            else
                PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return any;
    }

    // Chooses one item and answers what it opens; the program must run and answer after it.
    void Choose(UINT id)
    {
        SCOPED_TRACE(testing::Message() << "item " << id);
        const auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(id, 0), 0));
        int rounds = 0;
        m_answered.clear();
        // A posted command sends no word when it is done. The frame is disabled while a
        // modal dialog of the command is up, and a message sent to it waits while the
        // command works; so the command is over when the program shows no window but its
        // frame, the frame is enabled and it answers, twice in a row: the first answer
        // may come before the program took the posted command from its queue.
        int calm = 0;
        const bool settled = qvtest::PumpUntil(
            [&] {
                if (m_qv->WaitForExit(0) != STILL_ACTIVE)
                    return true;
                EndChildrenOf(m_qv->ProcessId());
                if (AnswerOpenWindows())
                {
                    ++rounds;
                    calm = 0;
                    return false;
                }
                if (!IsWindowEnabled(m_main) || !Answers(m_main, 1000))
                {
                    calm = 0;
                    return false;
                }
                return ++calm >= 2;
            },
            30000);
        ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), m_qv->WaitForExit(0))
            << "the program ended after item " << id;
        ASSERT_TRUE(settled) << "item " << id << " left the program busy or a window that would not close";
        ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), m_qv->WaitForExit(0))
            << "the program ended after item " << id;
        ASSERT_TRUE(Answers(m_main)) << "the program no longer answers after item " << id;
        ++m_chosen;
        const long long ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
                .count();
        std::printf("item %u: %lld ms, %d answer rounds%s\n", id, ms, rounds, Narrow(m_answered).c_str());
        std::fflush(stdout);
    }

    // Chooses every item of the popups [first, last) of `bar` with the active pane in `mode`.
    void Sweep(Mode mode, UINT bar, int first, int last)
    {
        const std::vector<UINT> ids = ItemsOf(m_program->Exe(), bar, first, last);
        ASSERT_GE(ids.size(), 10u) << "the bar's items were not read from the program";
        StartIn(mode);
        if (HasFatalFailure())
            return;
        for (UINT id : ids)
        {
            if (IsLeftOut(id))
                continue;
            Choose(id);
            if (HasFatalFailure())
                return;
            if (PlaceOf(m_main) != m_place)
            {
                StartIn(mode);
                if (HasFatalFailure())
                    return;
            }
        }
    }

    std::unique_ptr<qvtest::QvProgram> m_program;
    std::wstring m_left;
    std::wstring m_right;
    std::unique_ptr<qvtest::QvProcess> m_qv;
    HWND m_main = nullptr;
    std::wstring m_place;
    std::wstring m_answered;
    size_t m_chosen = 0;
    int m_restarts = 0;
    int m_row = 0;
};

} // namespace

// The filer's popups: file commands, folders, special commands and the display.
TEST_F(MenuSweepEndToEnd, FilerFileDriveAndSpecialItems)
{
    Sweep(Mode::Filer, IDR_MENU_FILER, 0, 3);
}

TEST_F(MenuSweepEndToEnd, FilerDisplaySettingsMediaAndHelpItems)
{
    Sweep(Mode::Filer, IDR_MENU_FILER, 3, 99);
}

TEST_F(MenuSweepEndToEnd, TextViewerFirstPopups)
{
    Sweep(Mode::TextViewer, IDR_MENU_TEXT_VIEWER, 0, 3);
}

TEST_F(MenuSweepEndToEnd, TextViewerLastPopups)
{
    Sweep(Mode::TextViewer, IDR_MENU_TEXT_VIEWER, 3, 99);
}

TEST_F(MenuSweepEndToEnd, BinaryEditorFirstPopups)
{
    Sweep(Mode::BinaryEditor, IDR_MENU_BINARY, 0, 3);
}

TEST_F(MenuSweepEndToEnd, BinaryEditorLastPopups)
{
    Sweep(Mode::BinaryEditor, IDR_MENU_BINARY, 3, 99);
}

TEST_F(MenuSweepEndToEnd, ArchiveListingFirstPopups)
{
    Sweep(Mode::Archive, IDR_MENU_ARCHIVE, 0, 3);
}

TEST_F(MenuSweepEndToEnd, ArchiveListingLastPopups)
{
    Sweep(Mode::Archive, IDR_MENU_ARCHIVE, 3, 99);
}

TEST_F(MenuSweepEndToEnd, FindResultsFirstPopups)
{
    Sweep(Mode::FindResults, IDR_MENU_FILER, 0, 3);
}

TEST_F(MenuSweepEndToEnd, FindResultsLastPopups)
{
    Sweep(Mode::FindResults, IDR_MENU_FILER, 3, 99);
}
