#include "archivefront/dialogs/UnpackDlg.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/DestinationList.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "res/ArchiveDialogs.h"

#include <commctrl.h>

namespace
{
UINT s_unpackEndMessage = ::RegisterWindowMessageW(L"WMSG_QV_UNPACK_END");
UINT s_archiverExtractMessage = ::RegisterWindowMessageW(L"wm_arcextract");
constexpr UINT_PTR kBusyTimer = 1;

const int kEditControls[] = {
    IDC_UNPACKDLG_PASSWORD,       IDC_UNPACKDLG_FOLDER_PER_ARCHIVE, IDOK,
    IDC_UNPACKDLG_IGNORE_FOLDERS, IDC_UNPACKDLG_CHECK_PATH_LENGTH,  IDC_UNPACKDLG_BROWSE,
    IDC_UNPACKDLG_DESTINATION};

CString Thousands(LONGLONG value)
{
    CString text;
    FormatNumberInt(static_cast<ULONGLONG>(value < 0 ? 0 : value), text, 0);
    return text.Trim();
}
} // namespace

BEGIN_MESSAGE_MAP(CUnpackDlg, CWorkerDialog)
ON_BN_CLICKED(IDC_UNPACKDLG_BROWSE, OnBrowse)
ON_WM_TIMER()
ON_WM_SHOWWINDOW()
ON_REGISTERED_MESSAGE(s_unpackEndMessage, OnUnpackEnd)
ON_REGISTERED_MESSAGE(s_archiverExtractMessage, OnArchiverProgress)
END_MESSAGE_MAP()

CUnpackDlg::CUnpackDlg(CWnd* pParent) : CWorkerDialog(IDD_UNPACK, pParent) {}

CUnpackDlg::~CUnpackDlg()
{
    if (m_thread != nullptr)
    {
        InterlockedExchange(&m_progress.cancelFlag, 1);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        ReleaseUnpackBusy();
    }
}

BOOL CUnpackDlg::OnInitDialog()
{
    CWorkerDialog::OnInitDialog();
    m_destinationCompletion.Attach(this, IDC_UNPACKDLG_DESTINATION, TRUE, COMPLETE_DIRECTORIES, m_baseFolder,
                                   m_sourcePane);
    CheckDlgButton(IDC_UNPACKDLG_CHECK_PATH_LENGTH, g_UNPACK_CHECK_PATH_LENGTH ? BST_CHECKED : BST_UNCHECKED);
    if (m_toTemp)
        ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    int folderPerArchive = 0;
    if (m_sourceMode == UNPACK_FROM_FILER)
        folderPerArchive = g_UNPACKMAKEDIR;
    else if (!m_toTemp)
        folderPerArchive = g_UNPACKMAKEDIRARC;
    CheckDlgButton(IDC_UNPACKDLG_FOLDER_PER_ARCHIVE, folderPerArchive ? BST_CHECKED : BST_UNCHECKED);

    if (m_sourceMode == UNPACK_FROM_ARCHIVE)
    {
        CFilerPane* pane = m_sourcePane >= 0 && m_sourcePane <= 1 ? g_Panes[m_sourcePane] : nullptr;
        if (m_sourceArchive == nullptr && pane != nullptr)
            m_sourceArchive = dynamic_cast<CArchiveFront*>(pane->m_archive);
        if (m_members.GetSize() == 0 && pane != nullptr)
        {
            CArchiveFileInfo member;
            for (int n = 0; pane->CollectArchiveItems(member, n, m_toTemp); ++n)
                m_members.Add(member);
        }
        // Only the 7-Zip back-end keeps the folders of chosen members below the one
        // the pane shows; the others would recreate the whole stored path.
        BOOL ignore = m_sourceArchive == nullptr || m_sourceArchive->m_activeBackEnd != ARCFRONT_SEVENZIP;
        CheckDlgButton(IDC_UNPACKDLG_IGNORE_FOLDERS, ignore ? BST_CHECKED : BST_UNCHECKED);
    }
    else if (m_selection.m_entries.GetSize() == 0)
        GetPaneSelection(0, m_sourcePane, m_selection);

    HWND combo = ::GetDlgItem(m_hWnd, IDC_UNPACKDLG_DESTINATION);
    AddPaneFoldersToCombo(combo, m_sourcePane);
    AddDestinationHistoryToCombo(combo);
    ::SetWindowTextW(combo, m_destination);
    return TRUE;
}

void CUnpackDlg::OnShowWindow(BOOL show, UINT status)
{
    CWorkerDialog::OnShowWindow(show, status);
    if (show && m_firstShow)
    {
        m_firstShow = FALSE;
        if (m_toTemp)
            PostMessage(WM_COMMAND, IDOK, 0);
    }
}

void CUnpackDlg::OnBrowse()
{
    CString path = m_baseFolder;
    if (BrowseForFolder(path, this, FALSE))
        SetDlgItemText(IDC_UNPACKDLG_DESTINATION, path);
}

void CUnpackDlg::OnOK()
{
    if (m_thread != nullptr || m_waiting)
        return;
    m_result = UNPACK_DONE;
    CString text;
    GetDlgItemText(IDC_UNPACKDLG_DESTINATION, text);
    CString resolved;
    if (RelativePathEscapesRoot(text, m_baseFolder) ||
        !ResolvePaneTargetDirectory(m_baseFolder, text, resolved, RESOLVE_CHECK_DRIVE, m_sourcePane))
    {
        Tell(this, L"入力したディレクトリ名が不正です");
        return;
    }
    if (resolved.GetLength() >= 2 && resolved[1] == L':' && IsVirtualDrive(resolved[0], 0))
    {
        Tell(this, L"解凍ディレクトリが仮想ディレクトリです");
        return;
    }
    m_destination = text;
    m_resolvedDestination = resolved;
    for (int id : kEditControls)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);

    // The job's inputs are read here, on the window's thread, before any worker runs.
    g_UNPACK_CHECK_PATH_LENGTH = IsDlgButtonChecked(IDC_UNPACKDLG_CHECK_PATH_LENGTH) == BST_CHECKED;
    int folderPerArchive = IsDlgButtonChecked(IDC_UNPACKDLG_FOLDER_PER_ARCHIVE) == BST_CHECKED;
    if (m_sourceMode == UNPACK_FROM_FILER)
        g_UNPACKMAKEDIR = folderPerArchive;
    else if (!m_toTemp)
        g_UNPACKMAKEDIRARC = folderPerArchive;
    m_job.sourceMode = m_sourceMode;
    m_job.toTemp = m_toTemp;
    m_job.folderPerArchive = m_toTemp ? 0 : folderPerArchive;
    m_job.ignoreFolders = IsDlgButtonChecked(IDC_UNPACKDLG_IGNORE_FOLDERS) == BST_CHECKED;
    m_job.destination = m_resolvedDestination;
    GetDlgItemText(IDC_UNPACKDLG_PASSWORD, m_job.password);
    m_job.archives.RemoveAll();
    CString folder = m_selection.m_directory.IsEmpty() ? m_baseFolder : m_selection.m_directory;
    for (INT_PTR i = 0; i < m_selection.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = m_selection.m_entries[i];
        CString path = entry.GetFullPath();
        if (entry.GetDirectory().IsEmpty())
            MakePath(folder, entry.GetName(), path);
        m_job.archives.Add(path);
    }
    m_job.front = m_sourceArchive;
    m_job.members.Copy(m_members);
    // The file extraction writes, under the name it writes; none when it refuses the
    // member or the file would lie outside the destination.
    m_extractedFile.Empty();
    if (m_toTemp && m_members.GetSize() > 0 && m_sourceArchive != nullptr)
        TempExtractionPath(*m_sourceArchive, m_members[0], m_resolvedDestination, m_job.ignoreFolders,
                           m_extractedFile);

    if (TryTakeUnpackBusy())
        StartWorker();
    else
    {
        m_waiting = TRUE;
        SetTimer(kBusyTimer, 100);
    }
}

void CUnpackDlg::OnTimer(UINT_PTR id)
{
    if (id != kBusyTimer || !m_waiting)
        return;
    if (TryTakeUnpackBusy())
    {
        KillTimer(kBusyTimer);
        StartWorker();
    }
}

void CUnpackDlg::StartWorker()
{
    m_waiting = FALSE;
    for (int id : {IDC_UNPACKDLG_CURRENT_FILE, IDC_UNPACKDLG_PROGRESS, IDC_UNPACKDLG_BYTES})
        ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_SHOW);
    for (int id : {IDC_UNPACKDLG_FOLDER_PER_ARCHIVE, IDC_UNPACKDLG_IGNORE_FOLDERS,
                   IDC_UNPACKDLG_CHECK_PATH_LENGTH, IDC_UNPACKDLG_PASSWORD_LABEL, IDC_UNPACKDLG_PASSWORD})
        ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
    ::SendDlgItemMessageW(m_hWnd, IDC_UNPACKDLG_PROGRESS, PBM_SETRANGE32, 0, 100);
    m_progress.ownerWindow = this;
    m_progress.progressCallback = &CUnpackDlg::OnProgress;
    m_progress.itemPercentCallback = &CUnpackDlg::OnItemPercent;
    m_thread = CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr);
    if (m_thread == nullptr)
    {
        m_result = UNPACK_FAILED;
        PostMessage(s_unpackEndMessage, 0, 0);
    }
}

DWORD WINAPI CUnpackDlg::WorkerMain(LPVOID parameter)
{
    CUnpackDlg* dialog = static_cast<CUnpackDlg*>(parameter);
    int result = UNPACK_FAILED;
    if (!dialog->m_progress.IsCancelled())
        result = RunUnpackJob(dialog->m_job, dialog->m_progress, dialog);
    dialog->m_result = result;
    ::PostMessageW(dialog->m_hWnd, s_unpackEndMessage, 0, 0);
    return 0;
}

void CUnpackDlg::OnProgress(UINT events, CProgressInfo* info)
{
    CUnpackDlg* dialog = static_cast<CUnpackDlg*>(info->ownerWindow);
    if (dialog == nullptr || dialog->m_hWnd == nullptr)
        return;
    if (events & (PROGRESS_TOTAL | PROGRESS_DONE))
    {
        CString text;
        text.Format(L"%s/%s", Thousands(info->doneAmount + info->currentAmount).GetString(),
                    Thousands(info->totalAmount).GetString());
        dialog->SetDlgItemText(IDC_UNPACKDLG_BYTES, text);
        ::SendDlgItemMessageW(dialog->m_hWnd, IDC_UNPACKDLG_PROGRESS, PBM_SETPOS,
                              static_cast<WPARAM>(info->GetPosition()), 0);
    }
    if (events & PROGRESS_MAIN_TEXT)
    {
        CString item = info->GetMainText();
        if (item != dialog->m_shownFile)
        {
            dialog->m_shownFile = item;
            dialog->SetDlgItemText(IDC_UNPACKDLG_CURRENT_FILE, item);
        }
    }
}

BOOL CUnpackDlg::OnItemPercent(int value, int, CProgressInfo* info)
{
    info->currentAmount = static_cast<LONGLONG>(value) * 75 / 100;
    info->Notify(PROGRESS_DONE);
    return info->IsCancelled();
}

LRESULT CUnpackDlg::OnArchiverProgress(WPARAM wParam, LPARAM lParam)
{
    const BYTE* record = reinterpret_cast<const BYTE*>(lParam);
    if (record != nullptr && wParam == 0)
    {
        CString name;
        AnsiToWideString(reinterpret_cast<const char*>(record + 8), name);
        SetDlgItemText(IDC_UNPACKDLG_CURRENT_FILE, name);
    }
    else if (record != nullptr && wParam == 1)
    {
        DWORD size = 0, written = 0;
        memcpy(&size, record, sizeof size);
        memcpy(&written, record + 4, sizeof written);
        CString text;
        text.Format(L"%s/%s", Thousands(written).GetString(), Thousands(size).GetString());
        SetDlgItemText(IDC_UNPACKDLG_BYTES, text);
        ::SendDlgItemMessageW(
            m_hWnd, IDC_UNPACKDLG_PROGRESS, PBM_SETPOS,
            size == 0 ? 0 : static_cast<WPARAM>(static_cast<ULONGLONG>(written) * 100 / size), 0);
    }
    // Non-zero tells the library to stop.
    return m_progress.IsCancelled() ? 1 : 0;
}

LRESULT CUnpackDlg::OnUnpackEnd(WPARAM, LPARAM)
{
    if (m_thread != nullptr)
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
        ReleaseUnpackBusy();
    }
    m_progress.progressCallback = nullptr;
    m_progress.itemPercentCallback = nullptr;
    m_progress.ownerWindow = nullptr;
    Finish();
    return 0;
}

void CUnpackDlg::Finish()
{
    if (m_sourceMode == UNPACK_FROM_FILER)
    {
        DestroyWindow();
        NotifyWorkerDone();
    }
    else
        EndDialog(m_result);
}

void CUnpackDlg::OnCancel()
{
    InterlockedExchange(&m_progress.cancelFlag, 1);
    // A running job stops at its next check; its end message closes the dialog.
    if (m_thread != nullptr)
        return;
    if (m_waiting)
    {
        KillTimer(kBusyTimer);
        m_waiting = FALSE;
    }
    m_result = UNPACK_FAILED;
    Finish();
}
