// Each command asks for its sound where it acts: start-up, the marks, going up in a
// folder and in the network list, the directory change, the editor, the viewer and
// the dialog commands. Every name of the sound table is either asked for by one of
// these points or known to have none.
#include "tests/view/SettingsTestSupport.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/MediaSettings.h"
#include "fileops/find/FindFileDlg.h"
#include "tests/common/TestHelpers.h"
#include "view/media/SoundHooks.h"
#include "view/shell/ShellSeam.h"
#include "viewers/text/TextPaneViewer.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace
{

std::vector<std::wstring> g_sounds;

void RecordSound(LPCWSTR name)
{
    g_sounds.push_back(name);
}

// Any dialog this thread shows is cancelled as soon as it is up.
BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (IsWindowVisible(window) && wcscmp(className, L"#32770") == 0)
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

void CALLBACK CancelDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
}

HINSTANCE WINAPI StartNothing(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)
{
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

// The search windows stay open after their command; each case starts without one.
void CloseSearchWindows(CQvView& view)
{
    while (view.m_findDialogs.GetSize() > 0)
    {
        CFindDialogBase* dialog = view.m_findDialogs[0];
        view.RemoveFindDialog(dialog);
        dialog->DestroyWindow();
        delete dialog;
    }
}

class CommandSounds : public settingstest::SettingsBench
{
protected:
    void SetUp() override
    {
        SettingsBench::SetUp();
        m_files = m_dir + L"\\files";
        CreateDirectoryW(m_files.c_str(), nullptr);
        CreateDirectoryW((m_files + L"\\sub").c_str(), nullptr);
        for (const wchar_t* name : {L"\\a.txt", L"\\b.txt"})
            qvtest::WriteFileBytes(m_files + name, "text");
        g_StartDirs[0] = m_files.c_str();
        g_StartDirs[1] = m_files.c_str();
        g_SoundHooks.playCommandSound = RecordSound;
        g_ShellRunSeam.shellExecute = StartNothing;
        g_sounds.clear();
    }
    void TearDown() override
    {
        SettingsBench::TearDown();
        g_sounds.clear();
    }
    void CursorOn(const wchar_t* name) { g_Panes[0]->SetCursorToName(name, FALSE, 0); }

    std::wstring m_files;
    CShellRunSeamOverride m_shellSeam;
};

} // namespace

TEST_F(CommandSounds, EachCommandAsksForItsSoundWhereItActs)
{
    CQvView& view = LoadText(L"[ALLDATA]\r\nNOTVIEWCURRENTDIR=1\r\nNOTVIEWUPDIR=1\r\n");
    EXPECT_EQ(std::vector<std::wstring>{L"START"}, g_sounds) << "reading the settings at start-up";
    ASSERT_NE(nullptr, g_Panes[0]);
    g_Panes[0]->m_position = PANE_POS_ACTIVE;
    g_Panes[1]->m_position = PANE_POS_OTHER;

    struct Case
    {
        const wchar_t* sound;
        const wchar_t* point;
        std::function<void()> act;
    };
    const Case cases[] = {
        {L"ALLSELECT", L"@Allselectdir", [&] { view.ExecuteFilerCommand(L"@Allselectdir"); }},
        {L"FILE_ALLSELECT", L"@Allselect", [&] { view.ExecuteFilerCommand(L"@Allselect"); }},
        {L"UPDIR", L"going up from a folder",
         [&] {
             view.ChangePaneDirectory(0, (m_files + L"\\sub").c_str(), 1, 0, FALSE);
             view.GoParentDirectory();
         }},
        {L"UPDIR", L"going up in the network list",
         [&] {
             g_Panes[0]->SetMode(0, PANE_MODE_NETWORK, 0);
             g_Panes[0]->m_networkDepth = 0;
             view.GoParentDirectory();
             view.ChangePaneDirectory(0, m_files.c_str(), 1, 0, FALSE);
         }},
        {L"DIRCHANGE", L"@Dirchange", [&] { view.ExecuteFilerCommand(L"@Dirchange"); }},
        {L"EDIT", L"@Edit",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Edit");
         }},
        {L"VIEW", L"@View",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@View");
             view.CloseViewer();
         }},
        {L"SORT", L"@Sort", [&] { view.ExecuteFilerCommand(L"@Sort"); }},
        {L"JUMPDIR", L"@Dirjump", [&] { view.ExecuteFilerCommand(L"@Dirjump"); }},
        {L"WILDCARD", L"@Wildcard", [&] { view.ExecuteFilerCommand(L"@Wildcard"); }},
        {L"MKDIR", L"@Mkdir", [&] { view.ExecuteFilerCommand(L"@Mkdir"); }},
        {L"ATTRIBUTE", L"@Attribute",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Attribute");
         }},
        {L"RENAME", L"@Rename",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Rename");
         }},
        {L"PACK", L"@Pack",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Pack");
         }},
        {L"EXECUTE", L"@Execute", [&] { view.ExecuteFilerCommand(L"@Execute"); }},
        {L"COPY", L"@Copy",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Copy");
         }},
        {L"MOVE", L"@Move",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Move");
         }},
        {L"DELETE", L"@Delete",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Delete");
         }},
        {L"CMP_BINARY", L"@Cmpbinary",
         [&] {
             CursorOn(L"a.txt");
             view.ExecuteFilerCommand(L"@Cmpbinary");
         }},
        {L"FINDFILE", L"@Findfile", [&] { view.ExecuteFilerCommand(L"@Findfile"); }},
        {L"FINDFILE", L"@FindFileNewDlg", [&] { view.ExecuteFilerCommand(L"@FindFileNewDlg"); }},
    };
    // Message boxes answer themselves; dialogs are cancelled once shown.
    CDialogAnswerScript script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, CancelDialogs);
    std::vector<std::wstring> asked = {L"START"};
    for (const Case& c : cases)
    {
        g_sounds.clear();
        c.act();
        EXPECT_NE(g_sounds.end(), std::find(g_sounds.begin(), g_sounds.end(), std::wstring(c.sound)))
            << "no sound " << testing::PrintToString(std::wstring(c.sound)) << " from "
            << testing::PrintToString(std::wstring(c.point));
        asked.push_back(c.sound);
        CloseSearchWindows(view);
    }
    KillTimer(nullptr, timer);

    // The sounds of commands that need an archive, a picture or the end of the program.
    const std::vector<std::wstring> elsewhere = {L"UNPACK", L"QUIT", L"LOAD_PICTURE"};
    for (const wchar_t* name : g_CommandSoundNames)
    {
        const std::wstring sound = name;
        const bool known = std::count(asked.begin(), asked.end(), sound) > 0 ||
                           std::count(elsewhere.begin(), elsewhere.end(), sound) > 0;
        EXPECT_TRUE(known) << testing::PrintToString(sound) << " has no place";
    }
}
