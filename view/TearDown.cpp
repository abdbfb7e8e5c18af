// The view's ordered release of everything it owns, first thing in its destructor.
#include "util/PathHelpers.h"
#include "app/Directories.h"
#include "app/QvDllLoader.h"
#include "view/keys/HotKeys.h"
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "app/records/ControlPanelApplets.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/GraphicSettings.h"
#include "archiveclient/codecs/SevenZipLibrary.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "viewers/binary/BinaryData.h"

void (*g_TearDownObserver)(LPCWSTR step) = nullptr;

namespace
{

void Step(LPCWSTR name)
{
    if (g_TearDownObserver != nullptr)
        g_TearDownObserver(name);
}

void CloseAndClear(HANDLE& handle)
{
    if (handle != nullptr)
        CloseHandle(handle);
    handle = nullptr;
}

} // namespace

void CQvView::TearDown()
{
    if (m_bTornDown)
        return;
    // The global hot-key hook calls into this process: it goes before anything else.
    Step(L"ReleaseHookProc");
    ReleaseKeyboardHook();
    m_bTornDown = 1;
    Step(L"RestoreFromTray");
    RestoreFromTray();
    Step(L"ReleaseCplList");
    g_CplList.RemoveAll();
    Step(L"CloseModelessWindows");
    CloseAuxiliaryWindows();
    // Dialogs still listed have ended (quitting waits for the running ones).
    ReapCopyDialogs();
    ReapDeleteDialogs();
    ReapUnpackDialogs();
    Step(L"ReleaseContextMenu");
    if (g_pContMenu2 != nullptr)
    {
        g_pContMenu2->Release();
        g_pContMenu2 = nullptr;
    }
    // The preview loader reads the panes' entries: it is stopped before they go. The
    // loader object itself stays to the end of the run, as holders may still pause it.
    Step(L"StopPreviewLoader");
    StopPreviewLoader();
    // The graphic viewer's pictures, and its archive and plug-in, whose libraries must
    // be freed before the process-wide ones go.
    g_CurrentPicture.Free();
    m_graphic.backgroundPicture.reset();
    m_graphic.archive.reset();
    m_graphic.plugInHost.reset();
    Step(L"DeletePanes");
    for (CFilerPane*& pane : g_Panes)
    {
        if (pane != nullptr && pane->m_pView == this)
        {
            // The questions whether to save came before; what is left goes unsaved.
            delete pane->m_binaryData;
            pane->m_binaryData = nullptr;
            delete pane;
            pane = nullptr;
        }
    }
    Step(L"SaveVirtualDrives");
    for (int letter = 0; letter < 26; ++letter)
        SaveVirtualDrive(letter);
    if (g_DELTEMPATEND)
    {
        Step(L"DeleteTempFiles");
        // Only the folders this run made for itself go, with all that was extracted
        // (or that a program wrote) into them; nothing else in the temporary folder.
        for (INT_PTR i = 0; i < m_shell.ownTempFolders.GetSize(); ++i)
        {
            const CString& folder = m_shell.ownTempFolders[i];
            // A program was started there with the folder as the process's current
            // directory, and the system keeps a current directory from being removed.
            CString current;
            GetCurrentDir(current);
            current.TrimRight(L'\\');
            if (current.CompareNoCase(folder) == 0 ||
                current.Left(folder.GetLength() + 1).CompareNoCase(folder + L"\\") == 0)
            {
                CString parent;
                SplitPath(folder, &parent, nullptr);
                SetCurrentDir(parent);
            }
            RemoveFolderTreeLong(folder);
        }
    }
    m_tempFiles.RemoveAll();
    Step(L"CloseDialogListMutex");
    CloseAndClear(m_hDialogListMutex);
    Step(L"ReleasePlugIns");
    g_SusiePlugIns.RemoveAll();
    FreeQvDll();
    // The jump dialog destroys the shell icons it looked up when it closes; the groups
    // themselves were saved with the settings and go last.
    Step(L"ReleaseJumpGroups");
    for (INT_PTR group = 0; group < g_JumpGroups.GetSize(); ++group)
        g_JumpGroups[group].m_entries.RemoveAll();
    g_JumpGroups.RemoveAll();
    Step(L"CloseMutexes");
    CloseAndClear(g_CdMutex);
    CloseSevenZipLoadMutex();
    CloseAndClear(g_UnpackMutex);
}
