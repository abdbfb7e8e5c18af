#include "fileops/dirsize/DirectorySize.h"

#include <imm.h>

#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/keys/KeyBindings.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"
#include "res/DeleteDialogs.h"

CCalDirectoryThread* g_pCalDirectoryThread = nullptr;

BOOL CCalDirectoryThread::InitInstance()
{
    m_totals = DirectorySizeTotals{};
    m_complete = CountSelection(m_entries);
    if (m_dialog != nullptr)
        ::PostMessageW(m_dialog, WM_COMMAND, IDM_WORKER_DONE, 0);
    AfxEndThread(0);
}

BOOL CCalDirectoryThread::CountSelection(const CArrayFileInfo& entries)
{
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        const CFileInfo& entry = entries[i];
        if (entry.IsDots())
            continue;
        if (entry.IsDirectory())
            CountTree(entry);
        else
        {
            ++m_totals.files;
            m_totals.bytes += entry.m_size;
        }
        if (m_stop)
            return FALSE;
    }
    return !m_stop;
}

BOOL CCalDirectoryThread::CountTree(const CFileInfo& directory)
{
    ++m_totals.directories;
    if (directory.m_source != ENTRY_SOURCE_DISK)
        return CountChildren(directory);
    // A link may lead back to a folder above it: the folder's identity, not its
    // path, tells whether the walk is already inside it.
    CWalkPathStep step(m_walkPath, directory.GetFullPath());
    if (!step.entered)
        return !m_stop;
    return CountChildren(directory);
}

BOOL CCalDirectoryThread::CountChildren(const CFileInfo& directory)
{
    CFileInfo child;
    CEntryFind* find = directory.FindFirstChild(L"*.*", child);
    if (find == nullptr)
        return !m_stop;
    do
    {
        const int entryClass = CFileInfo::GetEntryClass(child.m_findData);
        if (entryClass == ENTRY_CLASS_FILE)
        {
            ++m_totals.files;
            m_totals.bytes += child.m_size;
        }
        else if (entryClass == ENTRY_CLASS_DIRECTORY)
        {
            CountTree(child);
        }
    } while (!m_stop && FindNextEntry(find, child));
    CloseEntryFind(find);
    return !m_stop;
}

// ---- The dialog ------------------------------------------------------------------------

int IsCursorKeyword(LPCWSTR keyword)
{
    static const wchar_t* const keywords[] = {
        L"@Up",       L"@Left",           L"@Right",        L"@Down",     L"@Beforepage",
        L"@Nextpage", L"@Beforehalfpage", L"@Nexthalfpage", L"@Firstpos", L"@Endpos"};
    for (const wchar_t* k : keywords)
    {
        if (lstrcmpiW(k, keyword) == 0)
            return 1;
    }
    return 0;
}

CDirectorySizeDlg::CDirectorySizeDlg(CWnd* pParent) : CDialog(IDD_DIRECTORY_SIZE, pParent) {}

BOOL CDirectorySizeDlg::HasMarkedEntries() const
{
    CFilerPane* pane = m_paneIndex >= 0 && m_paneIndex < 2 ? g_Panes[m_paneIndex] : nullptr;
    return pane != nullptr && pane->CountMarked(TRUE, TRUE) > 0;
}

BOOL CDirectorySizeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::CheckDlgButton(m_hWnd, IDC_SIZE_CONTINUE, g_CONTINUESIZECHECK ? BST_CHECKED : BST_UNCHECKED);
    g_pCalDirectoryThread = nullptr;
    // The continuous survey follows the cursor entry only.
    if (HasMarkedEntries())
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SIZE_CONTINUE), FALSE);
    auto* worker = new CCalDirectoryThread;
    worker->m_dialog = m_hWnd;
    if (CFilerPane* pane = m_paneIndex >= 0 && m_paneIndex < 2 ? g_Panes[m_paneIndex] : nullptr)
    {
        CFileInfo entry;
        for (int n = 0; pane->GetTargetEntry(1, n, entry); ++n)
            worker->m_entries.AddEntry(entry);
    }
    if (!worker->CreateThread())
    {
        delete worker;
        Tell(this, L"メモリが不足しています");
        EndDialog(2);
        return TRUE;
    }
    g_pCalDirectoryThread = worker;
    return TRUE;
}

void CDirectorySizeDlg::StopWorker()
{
    CCalDirectoryThread* worker = g_pCalDirectoryThread;
    if (worker == nullptr)
        return;
    InterlockedExchange(&worker->m_stop, 1);
    WaitForThreadPumping(worker->m_hThread, ThreadWaitPump::SentOnly);
    delete worker;
    g_pCalDirectoryThread = nullptr;
}

void CDirectorySizeDlg::ShowTotals(const CCalDirectoryThread& worker)
{
    if (!worker.m_complete)
        return;
    CString text;
    FormatNumberInt(static_cast<ULONGLONG>(worker.m_totals.directories), text, 13);
    ::SetDlgItemTextW(m_hWnd, IDC_SIZE_DIRECTORIES, text);
    FormatNumberInt(static_cast<ULONGLONG>(worker.m_totals.files), text, 13);
    ::SetDlgItemTextW(m_hWnd, IDC_SIZE_FILES, text);
    FormatNumberInt(worker.m_totals.bytes, text, 15);
    ::SetDlgItemTextW(m_hWnd, IDC_SIZE_BYTES, text);
}

void CDirectorySizeDlg::OnOK()
{
    StopWorker();
    g_CONTINUESIZECHECK = ::IsDlgButtonChecked(m_hWnd, IDC_SIZE_CONTINUE) == BST_CHECKED;
    EndDialog(1);
}

void CDirectorySizeDlg::OnCancel()
{
    StopWorker();
    EndDialog(2);
}

BOOL CDirectorySizeDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nID == IDM_WORKER_DONE && nCode == 0 && pHandlerInfo == nullptr)
    {
        if (g_pCalDirectoryThread != nullptr)
            ShowTotals(*g_pCalDirectoryThread);
        StopWorker();
        return TRUE;
    }
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CDirectorySizeDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN)
    {
        UINT key = static_cast<UINT>(pMsg->wParam);
        if (key == VK_PROCESSKEY)
            key = ImmGetVirtualKey(pMsg->hwnd);
        if (!HasMarkedEntries() && ::IsDlgButtonChecked(m_hWnd, IDC_SIZE_CONTINUE) == BST_CHECKED)
        {
            // Alt combinations come as WM_SYSKEYDOWN and never reach this point.
            const int modifier = (GetKeyState(VK_SHIFT) & 0x8000)     ? 1
                                 : (GetKeyState(VK_CONTROL) & 0x8000) ? 2
                                                                      : 0;
            for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
            {
                if (g_KeyTable[row].virtualKey != key)
                    continue;
                if (row < g_FilerKeyCmds.GetSize())
                {
                    const CString keyword = g_FilerKeyCmds.GetBinding(modifier, row).command;
                    if (IsCursorKeyword(keyword))
                    {
                        m_cursorKeyword = keyword;
                        g_CONTINUESIZECHECK = 1;
                        StopWorker();
                        EndDialog(1);
                        return TRUE;
                    }
                }
                break;
            }
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}
