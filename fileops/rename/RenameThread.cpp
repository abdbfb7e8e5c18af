#include "fileops/rename/RenameThread.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"
#include "framework/FwWnd.h"

namespace
{

// A rename that changes only the letter case. Some file systems take the new name for
// the old file and report success without changing anything: the file goes through
// a free temporary name first.
BOOL RenameEntry(const CString& oldPath, const CString& newPath)
{
    if (oldPath.CompareNoCase(newPath) != 0 || oldPath == newPath)
        return MoveFileLong(oldPath, newPath);
    CString temporary;
    for (int n = 0; n < 1000; ++n)
    {
        temporary.Format(L"%s.qv%d", newPath.GetString(), n);
        if (!NameIsTaken(temporary))
            break;
    }
    if (!MoveFileLong(oldPath, temporary))
        return FALSE;
    if (MoveFileLong(temporary, newPath))
        return TRUE;
    MoveFileLong(temporary, oldPath);
    return FALSE;
}

} // namespace

CRenameThread::CRenameThread()
{
    m_bAutoDelete = FALSE;
}

BOOL CRenameThread::InitInstance()
{
    const int result = RunJob();
    if (m_dialog != nullptr)
        ::PostMessageW(m_dialog, WM_COMMAND, result == 0 ? IDM_WORKER_DONE : IDM_WORKER_FAILED, 0);
    AfxEndThread(result == 0 ? 0 : static_cast<UINT>(-1));
}

void CRenameThread::ShowNames(LPCWSTR oldName, LPCWSTR newName)
{
    m_progress.SetDisplay(RENAME_SHOW_OLD_NAME, oldName);
    m_progress.SetDisplay(RENAME_SHOW_NEW_NAME, newName);
}

BOOL CRenameThread::AskContinue()
{
    if (Ask(m_progress.ownerWindow, L"ファイル名の変更に失敗しました続けますか", L"QV",
            MessageBoxKind::OkCancel))
        return TRUE;
    InterlockedExchange(&m_progress.cancelFlag, 1);
    return FALSE;
}

int CRenameThread::RunJob()
{
    CFilerPane* pane = m_pane;
    m_engine.SetCancelFlag(&m_progress.cancelFlag);
    const int first = m_nextIndex;
    // The targets are taken once, before anything is renamed: a renamed entry can
    // never come round again under its new name.
    CArrayFileInfo targets;
    if (pane != nullptr)
    {
        CFileInfo entry;
        for (int n = first; pane->GetTargetEntry(0, n, entry); ++n)
        {
            targets.AddEntry(entry);
            if (m_mode == 1)
                break;
        }
    }
    const BOOL findResults =
        pane != nullptr && pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_FIND_RESULTS;
    for (INT_PTR i = 0; i < targets.GetSize() && !m_progress.cancelFlag; ++i)
    {
        const CFileInfo& entry = targets[i];
        // Every result of a search lies in its own directory: series and free names
        // start again for each.
        if (findResults || m_nextIndex == 0 || m_mode == 1 || i == 0)
            m_engine.Setup(entry, m_pattern, m_nameStart, m_extensionStart, &m_convert, m_pRenameList);
        ++m_nextIndex;
        if (!m_engine.MakeNewName(entry, m_alwaysIncrement))
        {
            ShowNames(entry.GetName(), m_engine.m_newName);
            if (!AskContinue())
                break;
            continue;
        }
        CString newName = m_engine.m_newName;
        if (m_caseMode == 1)
            newName.MakeUpper();
        else if (m_caseMode == 2)
            newName.MakeLower();
        m_engine.m_newName = newName;
        const CString& directory = entry.GetDirectory();
        const CString newPath = directory.IsEmpty() ? newName : directory + L"\\" + newName;
        if (m_pRenameList != nullptr)
        {
            m_pRenameList->SetNewNameOf(entry.GetFullPath(), newPath, entry.m_itemIndex, entry.IsDirectory());
            continue;
        }
        ShowNames(entry.GetName(), newName);
        if (m_progress.cancelFlag)
            break;
        if (!RenameEntry(entry.GetFullPath(), newPath))
        {
            if (!AskContinue())
                break;
            continue;
        }
        if (findResults)
            pane->m_findResults.RenameResult(entry, newName);
    }
    if (m_progress.cancelFlag)
        return -1;
    m_lastNewName = m_engine.m_newName;
    return 0;
}
