// Every settings dialog the menus offer, opened once in the real program: the items of
// the "各種設定(&D)" popups of every menu bar as the program's own resources hold them,
// the settings items of the multimedia popup, the binary editor's settings in its
// editor and the picture settings over a shown picture. Each posted item shows a
// dialog, the dialog closes on Cancel and the program still answers.
#include "res/CommonDialogs.h"
#include "res/Menus.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace
{

// Items of the settings popups that open no dialog of their own: the key-text switch,
// the saving of the settings, and the system's control panel, another program.
const UINT kNoDialog[] = {657, 294, 738};
// The binary editor's settings act only on an editor pane.
const UINT kEditorOnly = 207;
// The settings items outside "各種設定(&D)" on every bar: the sound list's and the CD
// player's.
const UINT kMediaSettings[] = {974, 228};
// The picture viewer's own settings: the alpha-channel list and the zoom steps.
const UINT kPictureSettings[] = {1509, 1089};

void Collect(HMENU popup, std::set<UINT>& ids)
{
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
    {
        if (HMENU sub = GetSubMenu(popup, i))
            Collect(sub, ids);
        else if (const UINT id = GetMenuItemID(popup, i); id != 0 && id != static_cast<UINT>(-1))
            ids.insert(id);
    }
}

// The items of the settings popups of every bar, read from the program file.
std::set<UINT> SettingsItemsOf(const std::wstring& exe)
{
    std::set<UINT> ids;
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
        return ids;
    for (UINT bar : {IDR_MENU_FILER, IDR_MENU_NETWORK, IDR_MENU_DRIVE_LIST, IDR_MENU_ARCHIVE,
                     IDR_MENU_TEXT_VIEWER, IDR_MENU_BINARY, IDR_MENU_GRAPHIC})
    {
        HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(bar));
        if (menu == nullptr)
            continue;
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
        {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            if (std::wstring(text) == L"各種設定(&D)")
                Collect(GetSubMenu(menu, i), ids);
        }
        DestroyMenu(menu);
    }
    FreeLibrary(module);
    return ids;
}

std::string Utf8(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

class SettingsDialogsEndToEnd : public testing::Test
{
protected:
    // Posts the item, waits for its dialog and cancels every dialog it leaves open;
    // the first dialog's caption, or a failure.
    void OpenAndClose(UINT id)
    {
        SCOPED_TRACE(id);
        ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(id, 0), 0));
        HWND dialog = qvtest::WaitForDialog(m_qv.ProcessId(), L"");
        ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), m_qv.WaitForExit(0)) << "the program ended";
        ASSERT_NE(nullptr, dialog) << "item " << id << " opened no dialog";
        const std::wstring caption = qvtest::Caption(dialog);
        wchar_t message[512] = {};
        GetDlgItemTextW(dialog, IDC_MESSAGE_TEXT, message, 512);
        std::printf("settings item %u: %s %s\n", id, Utf8(caption).c_str(), Utf8(message).c_str());
        m_seen.push_back(id);
        // Cancel ends the dialog; a question it leaves behind is cancelled too.
        bool closed = false;
        qvtest::WindowMatch dialogs;
        dialogs.dialogOnly = true;
        for (int round = 0; round < 4 && !closed; ++round)
        {
            const std::vector<HWND> open = qvtest::FindProcessWindows(m_qv.ProcessId(), dialogs);
            if (!open.empty())
            {
                // A message box of the program offers OK alone.
                PostMessageW(open.front(), WM_COMMAND,
                             GetDlgItem(open.front(), IDC_MESSAGE_TEXT) != nullptr ? IDOK : IDCANCEL, 0);
            }
            closed = qvtest::WaitForDialogsClosed(m_qv.ProcessId(), 3000);
        }
        EXPECT_TRUE(closed) << "the dialog of item " << id << " did not close";
        EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), m_qv.WaitForExit(0)) << "the program ended";
        EXPECT_TRUE(Answers(m_main)) << "the program no longer answers after item " << id;
    }

    qvtest::QvProcess m_qv;
    HWND m_main = nullptr;
    std::vector<UINT> m_seen;
};

} // namespace

TEST_F(SettingsDialogsEndToEnd, EverySettingsItemOfTheMenusOpensItsDialogOnce)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"spi_bmp.sph", L"spi"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.bmp", qvtest::SolidBmp(32, 24, 0, 0, 255)));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\data.bin", "0123456789abcdef"));
    std::string plugIns;
    for (wchar_t c : program.Folder() + L"\\spi")
        plugIns += char(c);
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                              "[KEYEXEDATA]\r\nN_H=@Binaryedit\r\n"
                              "[SUSIEDATA]\r\nSUSIEDIRECTORY=" +
                              plugIns + "\r\n"));
    std::set<UINT> items = SettingsItemsOf(program.Exe());
    ASSERT_GE(items.size(), 40u) << "the settings popups were not read from the program";
    for (UINT skip : kNoDialog)
        EXPECT_EQ(1u, items.erase(skip)) << skip;
    EXPECT_EQ(1u, items.erase(kEditorOnly));
    for (UINT id : kMediaSettings)
        items.insert(id);

    ASSERT_TRUE(m_qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    m_main = m_qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, m_main);
    qvtest::Settle(m_qv);

    // In the filer.
    for (UINT id : items)
    {
        OpenAndClose(id);
        if (HasFatalFailure())
            return;
    }

    // In the binary editor, on the second file.
    qvtest::Press(m_qv, m_main, {VK_DOWN, 'H'});
    ASSERT_TRUE(qvtest::PumpUntil(
        [&] { return qvtest::Caption(m_main).find(L"data.bin") != std::wstring::npos; }, 20000))
        << "the binary editor did not open";
    OpenAndClose(kEditorOnly);
    qvtest::Press(m_qv, m_main, {VK_ESCAPE});
    ASSERT_TRUE(qvtest::PumpUntil(
        [&] { return qvtest::Caption(m_main).find(L"data.bin") == std::wstring::npos; }, 20000));

    // Over a shown picture.
    qvtest::Press(m_qv, m_main, {VK_UP, 'G'});
    ASSERT_TRUE(
        qvtest::PumpUntil([&] { return qvtest::Caption(m_main).find(L"幅:") != std::wstring::npos; }, 20000))
        << "G did not show the picture";
    for (UINT id : kPictureSettings)
        OpenAndClose(id);

    EXPECT_EQ(items.size() + 1 + std::size(kPictureSettings), m_seen.size());
    ASSERT_TRUE(PostMessageW(m_main, WM_CLOSE, 0, 0));
    EXPECT_EQ(0u, m_qv.WaitForExit(30000));
}
