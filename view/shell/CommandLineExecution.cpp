// Command lines of external programs: a bound program text, the run dialog and the
// start of a program once, or once per target file where its macros ask for it.
#include "app/PlugInCommands.h"
#include "app/CommandMacros.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Directories.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/keys/KeyBindings.h"
#include "app/records/HistoryList.h"
#include "app/settings/GeneralToolSettings.h"
#include "filer/FilerPane.h"
#include "framework/FwLock.h"
#include "tools/execute/ExecuteDlg.h"
#include "tools/execute/LoopExecute.h"
#include "media/MciWnd.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/shell/ShellSeam.h"
#include "view/ViewBusyGuard.h"

namespace
{

void RunLoopExecuteDialog(CQvView& view, int pane, LPCWSTR workDirectory, LPCWSTR parameters, LPCWSTR program)
{
    CLoopExecuteDlg dialog(DialogOwner(&view));
    dialog.m_pane = pane;
    dialog.m_workDirectory = workDirectory ? workDirectory : L"";
    dialog.m_parameters = parameters;
    dialog.m_program = program;
    dialog.DoModal();
}

} // namespace

ShellRunSeam g_ShellRunSeam = {ShellExecuteUnquoted, RunLoopExecuteDialog};

void CQvView::ExecuteCommandLine(int pane, LPCWSTR program, LPCWSTR parameters, LPCWSTR workDirectory)
{
    if (program == nullptr || program[0] == 0)
        return;
    // The launcher and the run dialog come here too: a plug-in reference starts nothing.
    if (RefuseOwnPlugInReference(program))
        return;
    if (program[0] == L'@' && ExecuteFilerCommand(program))
        return;
    CString directory = workDirectory ? workDirectory : L"";
    CString wholeProgram;
    if (ExpandCommandMacros(program, wholeProgram, -1, pane, directory, 0) == MACRO_FAILED)
        return;
    if (directory.IsEmpty() && pane >= 0 && pane <= 1 && g_Panes[pane] != nullptr)
        directory = g_Panes[pane]->m_currentDir;
    SetCurrentDir(directory);
    CString wholeParameters;
    if (ExpandCommandMacros(parameters, wholeParameters, -1, pane, directory, 0) == MACRO_FAILED)
        return;
    CString runDirectory = directory;
    auto run = [&](const CString& file, const CString& args) {
        g_ShellRunSeam.shellExecute(m_hWnd, nullptr, file, args, runDirectory, SW_SHOWNORMAL);
    };
    // Runs the program once per parameter entry; FALSE when the parameters hold no
    // per-entry macro (nothing was handled).
    auto runPerParameter = [&](const CString& file) {
        bool handled = false;
        for (int m = 0;; ++m)
        {
            CString base = directory;
            CString args;
            int result = ExpandCommandMacros(wholeParameters, args, m, pane, base, 0);
            if (result == MACRO_ENTRY_EXPANDED)
                run(file, args);
            else if (result != MACRO_SKIP_ENTRY)
                break;
            handled = true;
        }
        return handled;
    };
    bool handled = false;
    for (int k = 0;; ++k)
    {
        CString base = directory;
        CString file;
        int result = ExpandCommandMacros(wholeProgram, file, k, pane, base, 0);
        if (result == MACRO_SKIP_ENTRY)
        {
            handled = true;
            continue;
        }
        if (result != MACRO_ENTRY_EXPANDED)
            break;
        handled = true;
        if (!runPerParameter(file))
            run(file, wholeParameters);
    }
    if (!handled)
        handled = runPerParameter(wholeProgram);
    if (!handled)
        run(wholeProgram, wholeParameters);
}

int CQvView::ExecuteBoundProgram(LPCWSTR text)
{
    if (text == nullptr || text[0] == 0)
        return 0;
    if (RefuseOwnPlugInReference(text))
        return 1;
    CViewBusyGuard busy(*this);
    CString program;
    CString parameters;
    BOOL viaDialog = SplitProgramBinding(text, program, parameters);
    for (int pane = 0; pane < 2; ++pane)
    {
        if (!TestPaneState(pane, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
            continue;
        if (viaDialog)
            RunExecuteDialog(pane, program, parameters, 0);
        else
            ExecuteCommandLine(pane, program, parameters, nullptr);
    }
    return 1;
}

INT_PTR CQvView::RunExecuteDialog(int pane, LPCWSTR program, LPCWSTR parameters, int remember)
{
    CExecuteDlg dialog(DialogOwner(this));
    dialog.m_program = program ? program : L"";
    dialog.m_parameters = parameters ? parameters : L"";
    if (pane >= 0 && pane <= 1 && g_Panes[pane] != nullptr)
        dialog.m_directory = g_Panes[pane]->m_currentDir;
    dialog.m_pane = pane;
    dialog.m_bShowKeep = remember;
    dialog.m_keep = g_KEEP_EXECUTE_INPUT_VALUE;
    g_SoundHooks.playCommandSound(L"EXECUTE");
    INT_PTR result = dialog.DoModal();
    if (result != IDOK)
        return result;
    if (remember)
    {
        g_ExecuteLastFile = dialog.m_program;
        g_ExecuteLastParameter = dialog.m_parameters;
        g_KEEP_EXECUTE_INPUT_VALUE = dialog.m_keep;
    }
    {
        CHandleLock lock(g_DataMutex);
        AddToHistoryList(g_ExeHistory, 20, dialog.m_program);
        AddToHistoryList(g_ExeParamHistory, 20, dialog.m_parameters);
    }
    ExecuteCommandLine(pane, dialog.m_program, dialog.m_parameters, nullptr);
    return result;
}

void CQvView::RunExecuteCommand(int kind)
{
    int pane = 0;
    if (!FindPaneByMode(&pane, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CViewBusyGuard busy(*this);
    CFilerPane& target = *g_Panes[pane];
    CFileInfo* cursor = target.GetCursorEntry();
    bool cursorIsFile = target.GetEntryCount() > 0 && target.CheckState(PANE_CHECK_DRIVE_PRESENT) == 0 &&
                        cursor != nullptr && !cursor->IsDots() && !cursor->IsDirectory();
    CString program;
    CString parameters;
    if (kind == 1)
        parameters = L"%c";
    else if (kind == 2)
        program = L"%c";
    else if (g_KEEP_EXECUTE_INPUT_VALUE)
    {
        program = g_ExecuteLastFile;
        parameters = g_ExecuteLastParameter;
    }
    else if (cursorIsFile)
    {
        if (HasExtension(cursor->GetName(), L"CMD"))
            program = L"%c";
        else
            parameters = L"%c";
    }
    if (kind != 0 && !cursorIsFile)
    {
        program.Empty();
        parameters.Empty();
    }
    RunExecuteDialog(pane, program, parameters, kind == 0 ? 1 : 0);
}
