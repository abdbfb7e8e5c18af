#include "fileops/copy/MyCopyDlg.h"
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include "app/Directories.h"
#include "app/FileProbes.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "util/StringHelpers.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/HistoryList.h"
#include "app/settings/FileOpSettings.h"
#include "filer/FilerPane.h"
#include "fileops/copy/CopyJob.h"
#include "framework/FwLock.h"
#include "res/CopyDialogs.h"

namespace
{

CString WithOneTrailingBackslash(const CString& text)
{
    CString result = text;
    while (!result.IsEmpty() && result[result.GetLength() - 1] == L'\\')
        result = result.Left(result.GetLength() - 1);
    return result + L"\\";
}

// Past destinations keep exactly one trailing backslash when they had any.
CString PastDestination(const CString& text)
{
    if (!text.IsEmpty() && text[text.GetLength() - 1] == L'\\')
        return WithOneTrailingBackslash(text);
    return text;
}

int CountBackslashes(LPCWSTR text)
{
    int count = 0;
    for (; *text; ++text)
        count += *text == L'\\';
    return count;
}

BOOL IsUsableSendToTarget(const CString& target)
{
    if (target.IsEmpty())
        return FALSE;
    if (target[0] == L'\\')
    {
        int slashes = CountBackslashes(target);
        if (slashes == 3)
            return TRUE;
        return slashes > 3 && DirectoryExists(target);
    }
    if (target.GetLength() == 2 && target[1] == L':')
        return TRUE;
    if (target.GetLength() >= 2 && target[1] == L':')
    {
        wchar_t root[4] = {target[0], L':', L'\\', 0};
        if (GetDriveTypeW(root) == DRIVE_REMOVABLE)
            return TRUE;
    }
    return DirectoryExists(target);
}

void AddSendToTargets(CStringArray& out)
{
    wchar_t folder[MAX_PATH] = {};
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &list)))
        return;
    BOOL ok = SHGetPathFromIDListW(list, folder);
    CoTaskMemFree(list);
    if (!ok)
        return;
    CString pattern;
    MakePath(folder, L"*.lnk", pattern);
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileLong(pattern, &findData);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        CString link, target;
        MakePath(folder, findData.cFileName, link);
        if (!ReadShortcut(link, &target, nullptr, nullptr))
            continue;
        while (target.GetLength() > 3 && target[target.GetLength() - 1] == L'\\')
            target = target.Left(target.GetLength() - 1);
        if (IsUsableSendToTarget(target))
            out.Add(target);
    } while (FindNextFileW(find, &findData));
    FindCloseLong(find);
}

// Where the copy dialog shows what its job publishes.
const ProgressDisplayControl kCopyDisplays[] = {
    {COPIER_SHOW_JOB_BYTES, IDC_COPY_JOB_BYTES, PROGRESS_SHOW_TEXT},
    {COPIER_SHOW_JOB_PERCENT, IDC_COPY_JOB_PERCENT, PROGRESS_SHOW_TEXT},
    {COPIER_SHOW_FILE_PERCENT, IDC_COPY_FILE_PERCENT, PROGRESS_SHOW_TEXT},
    {COPIER_SHOW_FILE_PERCENT, IDC_COPY_FILE_BAR, PROGRESS_SHOW_BAR},
    {COPIER_SHOW_SPEED, IDC_COPY_SPEED, PROGRESS_SHOW_TEXT},
    {COPIER_SHOW_REMAINING, IDC_COPY_REMAINING, PROGRESS_SHOW_TEXT},
    {COPIER_SHOW_END_TIME, IDC_COPY_END_TIME, PROGRESS_SHOW_TEXT},
    {COPIER_SHOW_ELAPSED, IDC_COPY_ELAPSED, PROGRESS_SHOW_TEXT},
    {COPY_SHOW_CURRENT, IDC_COPY_CURRENT, PROGRESS_SHOW_TEXT},
    {COPY_SHOW_DESTINATION, IDC_COPY_DESTINATION, PROGRESS_SHOW_TEXT},
    {COPY_SHOW_FREE, IDC_COPY_FREE, PROGRESS_SHOW_TEXT},
    {COPY_SHOW_START_TIME, IDC_COPY_START_TIME, PROGRESS_SHOW_TEXT},
    {COPY_SHOW_JOB_FILES, IDC_COPY_JOB_FILES, PROGRESS_SHOW_TEXT},
};

// Opens a copy log that the job wrote (in the "Log" folder of the program) with the
// editor of the settings, or with the system's program for it when none is set.
void OpenCopyLog(const CString& logName)
{
    CString folder = g_ProgramDir + L"\\Log";
    if (g_EDITORNAME.IsEmpty())
    {
        ShellExecuteW(nullptr, nullptr, logName, nullptr, folder, SW_SHOWNORMAL);
        return;
    }
    CString parameters = logName;
    if (!g_EDITOR_OPEN_UNICODE_OPTION.IsEmpty())
        parameters.Format(L"%s %s", g_EDITOR_OPEN_UNICODE_OPTION.GetString(), logName.GetString());
    ShellExecuteW(nullptr, nullptr, g_EDITORNAME, parameters, folder, SW_SHOWNORMAL);
}

void AddLocked(CStringArray& out, const CStringArray& list, BOOL special)
{
    CHandleLock lock(g_DataMutex);
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        out.Add(special ? WithOneTrailingBackslash(list[i]) : PastDestination(list[i]));
}

} // namespace

int AddCopyPattern(CStringArray& patterns, LPCWSTR text)
{
    CString pattern(text);
    pattern.Trim();
    if (pattern.IsEmpty())
        return 0;
    pattern.MakeUpper();
    for (INT_PTR i = 0; i < patterns.GetSize(); ++i)
        if (patterns[i].CompareNoCase(pattern) == 0)
            return 0;
    patterns.Add(pattern);
    return 1;
}

void CollectCopyDestinations(const CSelectedEntryList& selection, CStringArray& out)
{
    for (int position = 1; position <= 4; ++position)
    {
        if (g_COPYTOINDIRFLAG && g_COPYTOINDIR == position)
            for (INT_PTR i = 0; i < selection.m_entries.GetSize(); ++i)
                if (selection.m_entries[i].IsDirectory())
                    out.Add(selection.m_entries[i].GetName());
        if (g_COPYTOPASTDIRFLAG && g_COPYTOPASTDIR == position)
            AddLocked(out, g_SelectDirHistory, FALSE);
        if (g_COPYTOSPECIALDIRFLAG && g_COPYTOSPECIALDIR == position)
            AddLocked(out, g_SpecialCopyToDirs, TRUE);
        if (g_COPYTOSENDTODIRFLAG && g_COPYTOSENDTODIR == position)
            AddSendToTargets(out);
    }
}

// ---- CMyCopyDlg ------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMyCopyDlg, CWorkerDialog)
ON_BN_CLICKED(IDC_COPY_STOP, OnStop)
ON_BN_CLICKED(IDC_COPY_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_COPY_SELECT_FILES, OnSelectFiles)
ON_COMMAND(IDM_WORKER_DONE, OnWorkerEnded)
ON_COMMAND(IDM_WORKER_FAILED, OnWorkerEnded)
ON_WM_TIMER()
END_MESSAGE_MAP()

CMyCopyDlg::CMyCopyDlg() : CWorkerDialog(IDD_MY_COPY, nullptr) {}

CMyCopyDlg::~CMyCopyDlg()
{
    if (m_pWorker != nullptr)
    {
        m_pWorker->m_stop = 1;
        if (m_pWorker->m_hThread != nullptr)
            WaitForSingleObject(m_pWorker->m_hThread, INFINITE);
        delete m_pWorker;
    }
}

BOOL CMyCopyDlg::CreateModeless(CWnd* parent)
{
    return Create(IDD_MY_COPY, parent);
}

void CMyCopyDlg::EnableItem(int id, BOOL enable)
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (item != nullptr)
        ::EnableWindow(item, enable);
}

BOOL CMyCopyDlg::OnInitDialog()
{
    CWorkerDialog::OnInitDialog();
    CheckDlgButton(IDC_COPY_MINIMIZE, g_COPYDLGMINIMUM ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_COPY_EXTRA, g_COPYDLGEXTRA ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_COPY_WRITE_LOG, g_WRITE_LOG_COPY_MOVE ? BST_CHECKED : BST_UNCHECKED);
    SetWindowText(GetCopyOperationCaption(m_kind));
    SendDlgItemMessageW(m_hWnd, IDC_COPY_FILE_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageW(m_hWnd, IDC_COPY_FILE_BAR, PBM_SETPOS, 0, 0);
    EnableItem(IDC_COPY_STOP, FALSE);

    BOOL drop = m_kind == DROP_COPY || m_kind == DROP_MOVE;
    if (m_source.m_entries.GetSize() == 1)
        SetDlgItemText(IDC_COPY_CURRENT, m_source.m_entries[0].GetName());
    else
        SetDlgItemText(IDC_COPY_CURRENT, drop ? L"DROPしたファイル" : L"タグファイル");

    if (m_kind == COPY || m_kind == MOVE)
    {
        CStringArray destinations;
        CollectCopyDestinations(m_source, destinations);
        for (INT_PTR i = 0; i < destinations.GetSize(); ++i)
            SendDlgItemMessageW(m_hWnd, IDC_COPY_DESTINATION, CB_ADDSTRING, 0,
                                (LPARAM)destinations[i].GetString());
    }
    SetDlgItemText(IDC_COPY_DESTINATION, m_destinationText);
    m_complement.Attach(this, IDC_COPY_DESTINATION, TRUE, COMPLETE_DIRECTORIES, m_source.m_directory,
                        m_sourcePane);

    if (m_kind == UP_MOVE || m_kind == NEGLECT_DIR || drop)
    {
        EnableItem(IDC_COPY_DESTINATION, FALSE);
        EnableItem(IDC_COPY_BROWSE, FALSE);
        ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
        if (drop)
        {
            OnOK();
            return FALSE;
        }
    }
    else if (m_kind == COPY_TO_ALL)
    {
        EnableItem(IDC_COPY_DESTINATION, FALSE);
        EnableItem(IDC_COPY_BROWSE, FALSE);
        ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
        CString text = L"相手側のタグファイル";
        if (m_targets.m_entries.GetSize() == 1)
            text.Format(L"%s\\%s\\", m_otherDirectory.GetString(), m_targets.m_entries[0].GetName());
        SetDlgItemText(IDC_COPY_DESTINATION, text);
        return FALSE;
    }
    return TRUE;
}

void CMyCopyDlg::OnOK()
{
    EnableItem(IDOK, FALSE);
    EnableItem(IDCANCEL, FALSE);
    g_COPYDLGMINIMUM = IsDlgButtonChecked(IDC_COPY_MINIMIZE) ? 1 : 0;
    g_COPYDLGEXTRA = IsDlgButtonChecked(IDC_COPY_EXTRA) ? 1 : 0;
    GetDlgItemText(IDC_COPY_DESTINATION, m_destinationText);
    if (RelativePathEscapesRoot(m_destinationText, m_source.m_directory))
    {
        EnableItem(IDOK, TRUE);
        EnableItem(IDCANCEL, TRUE);
        Tell(this, L"入力したディレクトリ名が不正です");
        return;
    }
    EnableItem(IDC_COPY_BROWSE, FALSE);
    EnableItem(IDC_COPY_DESTINATION, FALSE);
    if ((m_kind == MOVE || m_kind == UP_MOVE || m_kind == NEGLECT_DIR) &&
        (m_sourcePane == 0 || m_sourcePane == 1) && g_Panes[m_sourcePane] != nullptr)
        g_Panes[m_sourcePane]->MarkAll(2);

    CString resolved;
    BOOL valid =
        m_kind == COPY_TO_ALL || ResolvePaneTargetDirectory(m_source.m_directory, m_destinationText, resolved,
                                                            RESOLVE_CHECK_DRIVE, m_sourcePane);
    if (!valid)
    {
        // The field is given back too, so that the user can correct what was typed.
        EnableItem(IDOK, TRUE);
        EnableItem(IDCANCEL, TRUE);
        EnableItem(IDC_COPY_DESTINATION, TRUE);
        EnableItem(IDC_COPY_BROWSE, TRUE);
        return;
    }
    g_WRITE_LOG_COPY_MOVE = IsDlgButtonChecked(IDC_COPY_WRITE_LOG) ? 1 : 0;
    EnableItem(IDC_COPY_WRITE_LOG, FALSE);
    EnableItem(IDC_COPY_SELECT_FILES, FALSE);
    m_pWorker = new CCopyDlgThread();
    m_pWorker->m_pOwner = this;
    m_pWorker->m_kind = m_kind;
    m_pWorker->m_sourcePane = m_sourcePane;
    m_pWorker->m_source = m_source;
    m_pWorker->m_targets = m_targets;
    m_pWorker->m_targetPatterns.Copy(m_targetPatterns);
    m_pWorker->m_excludedPatterns.Copy(m_excludedPatterns);
    m_pWorker->m_writeLog = g_WRITE_LOG_COPY_MOVE;
    m_pWorker->m_destinationText = m_destinationText;
    m_minimize = g_COPYDLGMINIMUM;
    if (!m_pWorker->CreateThread())
    {
        delete m_pWorker;
        m_pWorker = nullptr;
        EndJob();
        return;
    }
    SetTimer(PROGRESS_TIMER_ID, PROGRESS_TIMER_PERIOD);
}

void CMyCopyDlg::OnTimer(UINT_PTR id)
{
    if (id == PROGRESS_TIMER_ID)
        ShowWorkerProgress();
}

void CMyCopyDlg::ShowWorkerProgress()
{
    if (m_pWorker == nullptr || m_hWnd == nullptr)
        return;
    m_pWorker->m_progress.TakeDisplays(m_shown);
    if (m_shown.changed == 0)
        return;
    if (m_shown.Has(COPY_SHOW_RUNNING) && m_shown.values[COPY_SHOW_RUNNING] != 0)
        ShowRunning();
    ShowProgressDisplays(m_hWnd, m_shown, kCopyDisplays,
                         (int)(sizeof(kCopyDisplays) / sizeof(kCopyDisplays[0])));
}

void CMyCopyDlg::ShowRunning()
{
    if (m_running)
        return;
    m_running = TRUE;
    EnableItem(IDC_COPY_MINIMIZE, FALSE);
    EnableItem(IDC_COPY_EXTRA, FALSE);
    if (m_minimize)
        ShowWindowAsync(m_hWnd, SW_MINIMIZE);
    EnableItem(IDC_COPY_STOP, TRUE);
    EnableItem(IDOK, FALSE);
    EnableItem(IDCANCEL, FALSE);
}

void CMyCopyDlg::OnStop()
{
    EnableItem(IDC_COPY_STOP, FALSE);
    if (m_pWorker != nullptr)
        m_pWorker->m_stop = 1;
}

void CMyCopyDlg::OnBrowse()
{
    CString path = m_source.m_directory;
    if (BrowseForFolder(path, this, FALSE))
        SetDlgItemText(IDC_COPY_DESTINATION, path);
}

void CMyCopyDlg::OnSelectFiles()
{
    CSelCopyFileDlg dialog(this);
    dialog.m_targetPatterns.Copy(m_targetPatterns);
    dialog.m_excludedPatterns.Copy(m_excludedPatterns);
    if (dialog.DoModal() == IDOK)
    {
        m_targetPatterns.Copy(dialog.m_targetPatterns);
        m_excludedPatterns.Copy(dialog.m_excludedPatterns);
    }
}

void CMyCopyDlg::OnCancel()
{
    EnableItem(IDCANCEL, FALSE);
    EndJob();
}

void CMyCopyDlg::OnWorkerEnded()
{
    ShowWorkerProgress();
    EndJob();
}

void CMyCopyDlg::EndJob()
{
    if (m_bWorkerDone)
        return;
    if (m_pWorker != nullptr)
    {
        m_pWorker->m_stop = 1;
        // The worker's questions are owned by this dialog and send to this thread:
        // the wait lets those calls through instead of blocking them.
        WaitForThreadPumping(m_pWorker->m_hThread, ThreadWaitPump::SentOnly);
        KillTimer(PROGRESS_TIMER_ID);
        ShowWorkerProgress();
        if (m_pWorker->m_writeLog && m_pWorker->m_logWritten)
            OpenCopyLog(m_pWorker->m_logName);
        delete m_pWorker;
        m_pWorker = nullptr;
    }
    if (m_kind == COPY || m_kind == MOVE)
    {
        CString text;
        GetDlgItemText(IDC_COPY_DESTINATION, text);
        AddToHistoryList(g_SelectDirHistory, g_SUMCOPYPASTDIRECTORY, text);
    }
    DestroyWindow();
    NotifyWorkerDone();
}

// ---- CSelCopyFileDlg ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSelCopyFileDlg, CScriptedDialog)
ON_BN_CLICKED(IDC_SEL_COPY_TARGET_ADD, OnAddTarget)
ON_BN_CLICKED(IDC_SEL_COPY_EXCLUDED_ADD, OnAddExcluded)
ON_BN_CLICKED(IDC_SEL_COPY_TARGET_REMOVE, OnRemoveTargets)
ON_BN_CLICKED(IDC_SEL_COPY_EXCLUDED_REMOVE, OnRemoveExcluded)
END_MESSAGE_MAP()

CSelCopyFileDlg::CSelCopyFileDlg(CWnd* pParent) : CScriptedDialog(IDD_SEL_COPY_FILE, pParent) {}

BOOL CSelCopyFileDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    FillList(IDC_SEL_COPY_TARGET_LIST, m_targetPatterns);
    FillList(IDC_SEL_COPY_EXCLUDED_LIST, m_excludedPatterns);
    return TRUE;
}

void CSelCopyFileDlg::FillList(int listId, const CStringArray& patterns)
{
    SendDlgItemMessageW(m_hWnd, listId, LB_RESETCONTENT, 0, 0);
    for (INT_PTR i = 0; i < patterns.GetSize(); ++i)
        SendDlgItemMessageW(m_hWnd, listId, LB_ADDSTRING, 0, (LPARAM)patterns[i].GetString());
}

void CSelCopyFileDlg::AddPattern(int editId, int listId, CStringArray& patterns)
{
    CString text;
    GetDlgItemText(editId, text);
    if (AddCopyPattern(patterns, text))
        FillList(listId, patterns);
}

void CSelCopyFileDlg::RemovePatterns(int listId, CStringArray& patterns)
{
    for (int row = (int)patterns.GetSize() - 1; row >= 0; --row)
        if (SendDlgItemMessageW(m_hWnd, listId, LB_GETSEL, (WPARAM)row, 0) > 0)
            patterns.RemoveAt(row);
    FillList(listId, patterns);
}

void CSelCopyFileDlg::OnAddTarget()
{
    AddPattern(IDC_SEL_COPY_TARGET_EDIT, IDC_SEL_COPY_TARGET_LIST, m_targetPatterns);
}

void CSelCopyFileDlg::OnAddExcluded()
{
    AddPattern(IDC_SEL_COPY_EXCLUDED_EDIT, IDC_SEL_COPY_EXCLUDED_LIST, m_excludedPatterns);
}

void CSelCopyFileDlg::OnRemoveTargets()
{
    RemovePatterns(IDC_SEL_COPY_TARGET_LIST, m_targetPatterns);
}

void CSelCopyFileDlg::OnRemoveExcluded()
{
    RemovePatterns(IDC_SEL_COPY_EXCLUDED_LIST, m_excludedPatterns);
}

CDialogQuestion CSelCopyFileDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_SEL_COPY_FILE;
    question.caption = L"コピー/移動ファイル選択";
    for (INT_PTR i = 0; i < m_targetPatterns.GetSize(); ++i)
        question.items.push_back(m_targetPatterns[i]);
    return question;
}

void CSelCopyFileDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    CStringArray parts;
    SplitString(answer.text, L';', parts);
    for (INT_PTR i = 0; i < parts.GetSize(); ++i)
        AddCopyPattern(m_targetPatterns, parts[i]);
    parts.RemoveAll();
    SplitString(answer.content, L';', parts);
    for (INT_PTR i = 0; i < parts.GetSize(); ++i)
        AddCopyPattern(m_excludedPatterns, parts[i]);
}
