// The calls of the view's program starts that leave the program, behind a seam so
// that tests can record what would have been started.
#pragma once
#include <windows.h>
#include "app/CommandMacros.h"
#include <shellapi.h>

#include "framework/FwString.h"

class CQvView;
class CWnd;

struct ShellRunSeam
{
    // Every program start of a command line, of the shell openers and of the editor.
    HINSTANCE(WINAPI* shellExecute)
    (HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show);
    // The modal loop execution of one program over the pane's target files.
    void (*runLoopExecute)(CQvView& view, int pane, LPCWSTR workDirectory, LPCWSTR parameters,
                           LPCWSTR program);
};

extern ShellRunSeam g_ShellRunSeam;

// The shell's calls of "@Properties" and "@Dirchangedlg"; a test stands in for them.
struct ShellDialogSeam
{
    // The shell call "@Properties" makes.
    BOOL(WINAPI* shellExecuteEx)(SHELLEXECUTEINFOW* info);
    // The folder chooser "@Dirchangedlg" opens.
    BOOL (*chooseFolder)(CString& path, CWnd* owner, BOOL includeFiles);
};

extern ShellDialogSeam g_ShellDialogSeam;

// Test helper: restores g_ShellRunSeam when it goes out of scope.
class CShellRunSeamOverride
{
public:
    CShellRunSeamOverride() : m_saved(g_ShellRunSeam) {}
    ~CShellRunSeamOverride() { g_ShellRunSeam = m_saved; }
    CShellRunSeamOverride(const CShellRunSeamOverride&) = delete;
    CShellRunSeamOverride& operator=(const CShellRunSeamOverride&) = delete;

private:
    ShellRunSeam m_saved;
};

// How the right-click menu is shown: TrackPopupMenu with TPM_RETURNCMD, the chosen
// command or 0. Tests look at the menu instead.
struct ContextMenuSeam
{
    UINT (*track)(HMENU menu, UINT flags, int x, int y, HWND owner);
};
extern ContextMenuSeam g_ContextMenuSeam;

// The panes of g_Panes as the macro expander sees them (g_MacroPaneAccess).
BOOL GetMacroPaneTarget(int pane, int n, BOOL cursorOnly, MacroEntry& out);
BOOL GetMacroPaneState(int pane, UINT& position, UINT& mode, int& subMode, CString& currentDir);

// The parameters an elevated command prompt or PowerShell gets to change to the
// folder (with its trailing backslash): the elevated shell starts in the system folder.
void BuildCommandPromptParameters(LPCWSTR directory, CString& out);
void BuildPowerShellParameters(LPCWSTR directory, CString& out);

// "<directory>\<baseName>.lnk", or the first of "<baseName> (2).lnk", (3) … that is free.
void MakeFreeShortcutName(LPCWSTR directory, LPCWSTR baseName, CString& out);

// The program's own folder inside the graphic settings' temporary folder, else the
// system's, made on first use; FALSE when it cannot be made.
BOOL GetOwnTempFolder(CQvView& view, CString& folder);
