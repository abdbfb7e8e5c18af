// The synchronisation dialogs.
#include "fileops/sync/SynccopyDlg.h"

#include <commctrl.h>
#include <shellapi.h>
#include <cwchar>
#include <new>

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/FolderChooser.h"
#include "util/WorkerMessages.h"
#include "archivefront/ArchiveFront.h"
#include "app/dialogs/TellAndAsk.h"
#include "fileops/sync/SyncCopyDlgThread.h"
#include "fileops/sync/SyncWalk.h"
#include "res/SyncDialogs.h"

// ---- CSyncCopySetting ---------------------------------------------------------------

CSyncCopySetting::CSyncCopySetting(CWnd* pParent) : CScriptedDialog(IDD_SYNC_COPY_SETTING, pParent) {}

BOOL CSyncCopySetting::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_SYNC_COPY_MISSING, m_settings.copyMissing ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SYNC_DELETE_MISSING, m_settings.deleteMissing ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_settings.olderWins ? IDC_SYNC_OLDER : IDC_SYNC_NEWER, BST_CHECKED);
    return TRUE;
}

void CSyncCopySetting::OnOK()
{
    m_settings.copyMissing = IsDlgButtonChecked(IDC_SYNC_COPY_MISSING) == BST_CHECKED;
    m_settings.deleteMissing = IsDlgButtonChecked(IDC_SYNC_DELETE_MISSING) == BST_CHECKED;
    m_settings.olderWins = IsDlgButtonChecked(IDC_SYNC_NEWER) == BST_CHECKED ? 0 : 1;
    EndDialog(IDOK);
}

CDialogQuestion CSyncCopySetting::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_SYNC_COPY_SETTING;
    question.caption = L"同期設定";
    return question;
}

void CSyncCopySetting::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK || answer.checks.size() != 3)
        return;
    m_settings.copyMissing = answer.checks[0] != 0;
    m_settings.olderWins = answer.checks[1] != 0;
    m_settings.deleteMissing = answer.checks[2] != 0;
}

// ---- CSynccopyDlg -------------------------------------------------------------------

namespace
{

// Where the dialog shows what its worker publishes.
const ProgressDisplayControl kSyncDisplays[] = {
    {COPIER_SHOW_FILE_PERCENT, IDC_SYNC_PERCENT, PROGRESS_SHOW_TEXT},
    {COPIER_SHOW_FILE_PERCENT, IDC_SYNC_PROGRESS, PROGRESS_SHOW_BAR},
    {SYNC_SHOW_STATUS, IDC_SYNC_STATUS, PROGRESS_SHOW_TEXT},
};

} // namespace

BEGIN_MESSAGE_MAP(CSynccopyDlg, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

CSynccopyDlg::CSynccopyDlg(CWnd* pParent) : CDialog(IDD_SYNC_COPY, pParent) {}

void CSynccopyDlg::OnTimer(UINT_PTR id)
{
    if (id == PROGRESS_TIMER_ID)
        ShowWorkerProgress();
}

void CSynccopyDlg::ShowWorkerProgress()
{
    if (m_worker == nullptr || m_hWnd == nullptr)
        return;
    TakeAndShowDisplays(m_hWnd, m_worker->m_progress, m_shown, kSyncDisplays);
}

CSynccopyDlg::~CSynccopyDlg()
{
    StopWorker();
    if (m_images != nullptr)
        ImageList_Destroy(m_images);
}

static CString WithoutTrailingBackslash(const CString& path)
{
    CString result = path;
    while (result.GetLength() > 0 && result[result.GetLength() - 1] == L'\\')
        result = result.Left(result.GetLength() - 1);
    return result;
}

CString CSynccopyDlg::SourceBase() const
{
    return m_sourceArchive != nullptr ? m_sourceArchive->GetCurrentFolder()
                                      : WithoutTrailingBackslash(m_sourceDirectory);
}

CString CSynccopyDlg::DestinationBase() const
{
    return m_destinationArchive != nullptr ? m_destinationArchive->GetCurrentFolder()
                                           : WithoutTrailingBackslash(m_destination);
}

void CSynccopyDlg::CloseWithMessage(LPCWSTR text)
{
    Tell(this, text);
    EndDialog(IDCANCEL);
}

// The small icons of the list: a folder's (the program's own folder's) in slot 0.
static HIMAGELIST MakeFolderImageList()
{
    const int iconSize = GetSystemMetrics(SM_CXSMICON);
    HIMAGELIST images =
        ImageList_Create(iconSize, GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 1, 1);
    if (images == nullptr)
        return nullptr;
    ImageList_SetBkColor(images, RGB(255, 255, 255));
    wchar_t program[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    CString folder;
    SplitPath(program, &folder, nullptr);
    SHFILEINFOW info = {};
    if (SHGetFileInfoW(folder, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon)
    {
        ImageList_AddIcon(images, info.hIcon);
        DestroyIcon(info.hIcon);
    }
    return images;
}

BOOL CSynccopyDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_images = MakeFolderImageList();
    if (m_sourceArchive != nullptr && !m_sourceArchive->GetCurrentFolder().IsEmpty())
    {
        CloseWithMessage(L"圧縮ファイル内のディレクトリが一番上でありません");
        return TRUE;
    }
    SetDlgItemText(IDC_SYNC_SOURCE, SourceText());
    SetUpListColumns();
    SetDlgItemText(IDC_SYNC_DESTINATION, m_destination);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SYNC_ABORT), FALSE);

    if (m_destinationArchive != nullptr)
    {
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SYNC_BROWSE), FALSE);
        if (!m_destinationArchive->GetCurrentFolder().IsEmpty())
        {
            CloseWithMessage(L"圧縮ファイル内のディレクトリが一番上でありません");
            return TRUE;
        }
    }
    UpdateActionButtons();
    RebuildRows();
    return TRUE;
}

CString CSynccopyDlg::SourceText() const
{
    if (m_sourceArchive != nullptr)
    {
        CString folder, name;
        m_sourceArchive->SplitArchivePath(&folder, &name);
        return folder + L"\\" + name;
    }
    CString text = m_sourceDirectory;
    if (IsPathRoot(text) && (text.IsEmpty() || text[text.GetLength() - 1] != L'\\'))
        text += L"\\";
    return text;
}

void CSynccopyDlg::SetUpListColumns()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_SYNC_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    ListView_SetImageList(list, m_images, LVSIL_SMALL);
    const struct
    {
        LPCWSTR title;
        int width;
    } columns[] = {{L"ファイル名", 230},
                   {L"パス名", 150},
                   {L"方式", 50},
                   {L"転送元ファイル時間", 150},
                   {L"転送先ファイル時間", 150}};
    for (int i = 0; i < 5; ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPWSTR>(columns[i].title);
        column.cx = columns[i].width;
        ListView_InsertColumn(list, i, &column);
    }
}

void CSynccopyDlg::RebuildRows()
{
    m_rows.RemoveAll();
    SyncSide source;
    source.base = SourceBase();
    source.archive = m_sourceArchive;
    SyncSide destination;
    destination.base = DestinationBase();
    destination.archive = m_destinationArchive;
    CSyncRowBuilder builder(source, destination, m_rows);
    if (!m_destination.IsEmpty() || m_destinationArchive != nullptr)
    {
        for (INT_PTR i = 0; i < m_targets.GetSize(); ++i)
            builder.AddTarget(m_targets[i]);
        builder.DecideActions(m_settings);
    }
    SortSyncRows(m_rows, m_sortColumn, m_descending);
    FillList();
}

void CSynccopyDlg::FillList()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_SYNC_LIST);
    ListView_DeleteAllItems(list);
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
    {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<LPWSTR>(L"");
        ListView_InsertItem(list, &item);
        ShowRow(static_cast<int>(i));
    }
}

static CString FormatRowTime(const FILETIME& time)
{
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st))
        return L"なし";
    CString text;
    text.Format(L"%04d/%02d/%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                st.wSecond);
    return text;
}

void CSynccopyDlg::ShowRow(int index)
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_SYNC_LIST);
    const CSyncData& row = m_rows[index];
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(row.m_entry.GetName());
    item.iImage = row.m_entry.IsDirectory() ? 0 : -1;
    ListView_SetItem(list, &item);
    const CString texts[4] = {
        row.m_relativeFolder,
        SyncActionText(row),
        (row.m_flags & SYNC_IN_SOURCE) ? FormatRowTime(row.m_entry.m_findData.ftLastWriteTime)
                                       : CString(L"なし"),
        (row.m_flags & SYNC_IN_DEST) ? FormatRowTime(row.m_destinationTime) : CString(L"なし"),
    };
    for (int column = 1; column < 5; ++column)
        ListView_SetItemText(list, index, column, const_cast<LPWSTR>(texts[column - 1].GetString()));
}

void CSynccopyDlg::UpdateActionButtons()
{
    const BOOL enable = !m_destination.IsEmpty();
    for (int id : {IDC_SYNC_TO_DEST, IDC_SYNC_TO_SRC, IDC_SYNC_NOTHING, IDOK})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enable);
}

void CSynccopyDlg::ApplyToSelected(int action)
{
    if (m_running)
        return;
    HWND list = ::GetDlgItem(m_hWnd, IDC_SYNC_LIST);
    int index = -1;
    while ((index = ListView_GetNextItem(list, index, LVNI_SELECTED)) >= 0)
    {
        if (index >= m_rows.GetSize())
            break;
        ApplySyncButton(m_rows[index], action);
        ShowRow(index);
    }
}

BOOL CSynccopyDlg::ChooseDestinationFolder(CString& path)
{
    return BrowseForFolder(path, this, FALSE);
}

void CSynccopyDlg::OnBrowseDestination()
{
    if (m_running || m_destinationArchive != nullptr)
        return;
    CString path = m_destination;
    if (!ChooseDestinationFolder(path) || path.IsEmpty())
        return;
    m_destination = path;
    m_destinationPane = -1;
    SetDlgItemText(IDC_SYNC_DESTINATION, m_destination);
    UpdateActionButtons();
    RebuildRows();
}

void CSynccopyDlg::OnColumnClick(int column)
{
    if (m_running || !::IsWindowEnabled(::GetDlgItem(m_hWnd, IDOK)) || column < 0 || column > 2)
        return;
    if (column == m_sortColumn)
        m_descending = !m_descending;
    else
        m_sortColumn = column;
    SortSyncRows(m_rows, m_sortColumn, m_descending);
    FillList();
}

CArchiveFront* CSynccopyDlg::ArchiveSide() const
{
    return m_sourceArchive != nullptr ? m_sourceArchive : m_destinationArchive;
}

CString CSynccopyDlg::DiskFolder() const
{
    return m_destinationArchive == nullptr ? WithoutTrailingBackslash(m_destination)
                                           : WithoutTrailingBackslash(m_sourceDirectory);
}

// The member of the listing in `folder` named `name`, both ignoring case.
// The member listed under the name in the folder. Only the name is known here, and
// members of an archive made elsewhere may share it, in another case or even in the
// same: the one of exactly that spelling is taken, else the one of another case, and
// when two are equally near none is taken and `ambiguous` is set.
static CArchiveFileInfo* FindArchiveMember(CArchiveFront& front, const CString& folder, LPCWSTR name,
                                           bool& ambiguous)
{
    ambiguous = false;
    CArchiveFileInfo* found[2] = {nullptr, nullptr};
    int count[2] = {0, 0};
    for (int i = 0; i < front.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* member = nullptr;
        if (!front.GetEntry(&member, i) || member == nullptr || member->m_folder.CompareNoCase(folder) != 0 ||
            _wcsicmp(member->m_findData.cFileName, name) != 0)
            continue;
        const int tier =
            member->m_folder == folder && wcscmp(member->m_findData.cFileName, name) == 0 ? 0 : 1;
        found[tier] = member;
        ++count[tier];
    }
    const int tier = count[0] != 0 ? 0 : 1;
    if (count[tier] > 1)
    {
        ambiguous = true;
        return nullptr;
    }
    return found[tier];
}

// Tells that a name stands for several members, none of which is touched.
static void TellAmbiguousMember(CWnd* owner, const CString& folder, LPCWSTR name)
{
    CString text;
    text.Format(L"圧縮ファイル内に同じ名前のファイルが複数あるため処理できません\n%s",
                JoinSyncPath(folder, name).GetString());
    Tell(owner, text);
}

BOOL CSynccopyDlg::ExtractFromArchive()
{
    CArchiveFront& front = *ArchiveSide();
    const int gives = m_sourceArchive != nullptr ? SYNC_TO_DEST : SYNC_TO_SRC;
    const CString disk = DiskFolder();
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
    {
        const CSyncData& row = m_rows[i];
        if (row.m_action != gives)
            continue;
        front.ResetOptions();
        front.SetOption(1, static_cast<LPCWSTR>(nullptr));
        front.SetOption(6, static_cast<LPCWSTR>(nullptr));
        const CString target = JoinSyncPath(disk, row.m_relativeFolder);
        if (!CreateDirectoryTree(target, 0, nullptr))
        {
            Tell(this, L"ディレクトリの作成に失敗しました");
            return FALSE;
        }
        front.SetOption(5, target);
        const CString folder = JoinSyncPath(front.GetCurrentFolder(), row.m_relativeFolder);
        bool ambiguous = false;
        CArchiveFileInfo* member = FindArchiveMember(front, folder, row.m_entry.GetName(), ambiguous);
        if (ambiguous)
        {
            TellAmbiguousMember(this, folder, row.m_entry.GetName());
            return FALSE;
        }
        if (member == nullptr)
            continue;
        front.SetOption(2, member);
        front.SetOption(17, static_cast<LPCWSTR>(nullptr));
        if (!front.Extract(this, nullptr))
        {
            CString text;
            text.Format(L"ファイルの解凍に失敗しました\n%s", front.m_errors.GetMessageText().GetString());
            Tell(this, text);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CSynccopyDlg::PackIntoArchive()
{
    CArchiveFront* side = ArchiveSide();
    const int receives = m_sourceArchive != nullptr ? SYNC_TO_SRC : SYNC_TO_DEST;
    CStringArray items;
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        if (m_rows[i].m_action == receives)
            items.Add(JoinSyncPath(m_rows[i].m_relativeFolder, m_rows[i].m_entry.GetName()));
    if (items.GetSize() == 0)
        return TRUE;
    CString folder, name;
    side->SplitArchivePath(&folder, &name);
    const CString archivePath = folder + L"\\" + name;
    CArchiveFront front;
    CString failure;
    BOOL failed = FALSE;
    if (!front.Open(archivePath, ARCFRONT_OPEN_PACK))
    {
        failed = TRUE;
        failure = front.m_errors.GetMessageText();
    }
    else
    {
        front.ResetOptions();
        front.SetOption(1, archivePath);
        front.SetOption(12, static_cast<LPCWSTR>(nullptr));
        front.SetOption(0, DiskFolder());
        for (INT_PTR i = 0; i < items.GetSize(); ++i)
            front.SetOption(13, items[i]);
        if (!front.CreateArchive(this, 0))
        {
            failed = TRUE;
            failure = front.m_errors.GetMessageText();
        }
    }
    front.Close();
    if (!failed)
    {
        m_packed = TRUE;
        return TRUE;
    }
    CString text;
    text.Format(L"ファイルの圧縮に失敗しました\n%s", failure.GetString());
    Tell(this, text);
    return FALSE;
}

BOOL CSynccopyDlg::DeleteInArchive()
{
    if (m_destinationArchive == nullptr)
        return TRUE;
    CArchiveFront& front = *m_destinationArchive;
    CString archivePath;
    front.GetArchivePath(archivePath);
    if (m_packed)
    {
        // The members were chosen from the listing before the pack: list the archive
        // as it now is, or a member index could name another member.
        const CString folder = front.GetCurrentFolder();
        if (!front.OpenAndList(archivePath, 0))
        {
            CString text;
            text.Format(L"ファイルの削除に失敗しました\n%s", front.m_errors.GetMessageText().GetString());
            Tell(this, text);
            return FALSE;
        }
        front.SetCurrentFolder(folder);
    }
    front.ResetOptions();
    front.SetOption(1, archivePath);
    front.SetOption(6, static_cast<LPCWSTR>(nullptr));
    int chosen = 0;
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
    {
        const CSyncData& row = m_rows[i];
        if (row.m_action != SYNC_DELETE)
            continue;
        const CString folder = JoinSyncPath(front.GetCurrentFolder(), row.m_relativeFolder);
        bool ambiguous = false;
        CArchiveFileInfo* member = FindArchiveMember(front, folder, row.m_entry.GetName(), ambiguous);
        if (ambiguous)
        {
            TellAmbiguousMember(this, folder, row.m_entry.GetName());
            return FALSE;
        }
        if (member == nullptr)
        {
            Tell(this, L"ファイルの削除に失敗しました");
            return FALSE;
        }
        front.SetOption(2, member);
        ++chosen;
    }
    if (chosen == 0)
        return TRUE;
    if (!front.DeleteEntries(this, nullptr))
    {
        CString text;
        text.Format(L"ファイルの削除に失敗しました\n%s", front.m_errors.GetMessageText().GetString());
        Tell(this, text);
        return FALSE;
    }
    return TRUE;
}

void CSynccopyDlg::OnOK()
{
    if (m_running || m_destination.IsEmpty())
        return;
    const BOOL archive = m_sourceArchive != nullptr || m_destinationArchive != nullptr;
    // Contents before their folder, deeper folders first.
    SortSyncRows(m_rows, SYNC_SORT_PATH, TRUE);
    KeepFoldersWithKeptContents(m_rows);
    if (archive)
    {
        if (!ExtractFromArchive() || !PackIntoArchive() || !DeleteInArchive())
        {
            EndDialog(IDOK);
            return;
        }
        for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        {
            CSyncData& row = m_rows[i];
            if (row.m_action == SYNC_TO_DEST || row.m_action == SYNC_TO_SRC ||
                (row.m_action == SYNC_DELETE && m_destinationArchive != nullptr))
                row.m_action = SYNC_NOTHING;
        }
    }
    for (int id : {IDC_SYNC_TO_DEST, IDC_SYNC_TO_SRC, IDC_SYNC_NOTHING, IDC_SYNC_DELETE, IDC_SYNC_BROWSE,
                   IDOK, IDCANCEL})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SYNC_ABORT), TRUE);

    CSyncCopyDlgThread* worker = new (std::nothrow) CSyncCopyDlgThread;
    if (worker == nullptr)
    {
        Tell(this, L"メモリが足りません");
        EndDialog(IDOK);
        return;
    }
    worker->m_pOwner = this;
    worker->m_rows = &m_rows;
    worker->m_source = WithoutTrailingBackslash(m_sourceDirectory);
    worker->m_destination = WithoutTrailingBackslash(m_destination);
    if (m_copierProbe != nullptr)
        worker->m_copier.m_probe = *m_copierProbe;
    m_worker = worker;
    m_running = TRUE;
    if (!worker->CreateThread())
    {
        m_worker = nullptr;
        m_running = FALSE;
        delete worker;
        Tell(this, L"メモリが足りません");
        EndDialog(IDOK);
        return;
    }
    SetTimer(PROGRESS_TIMER_ID, PROGRESS_TIMER_PERIOD);
}

void CSynccopyDlg::OnCancel()
{
    if (m_running)
        return;
    EndDialog(IDCANCEL);
}

void CSynccopyDlg::StopWorker()
{
    if (m_worker == nullptr || m_stopping)
        return;
    m_stopping = TRUE;
    StopWorkerPumping(m_worker);
    KillTimer(PROGRESS_TIMER_ID);
    ShowWorkerProgress();
    m_running = FALSE;
    m_stopping = FALSE;
}

void CSynccopyDlg::OnAbort()
{
    if (m_worker != nullptr && m_running)
    {
        m_worker->m_stop = 1;
        return;
    }
    StopWorker();
    EndDialog(IDCANCEL);
}

BOOL CSynccopyDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDM_WORKER_DONE:
    case IDM_WORKER_FAILED:
        // The worker's own end arrives while it is being stopped, or after it was
        // released: whoever stopped it closes the dialog.
        if (m_stopping || m_worker == nullptr)
            return TRUE;
        StopWorker();
        EndDialog(IDOK);
        return TRUE;
    case IDC_SYNC_ABORT:
        OnAbort();
        return TRUE;
    case IDC_SYNC_BROWSE:
        OnBrowseDestination();
        return TRUE;
    case IDC_SYNC_TO_DEST:
        OnCopyToDestination();
        return TRUE;
    case IDC_SYNC_TO_SRC:
        OnCopyToSource();
        return TRUE;
    case IDC_SYNC_NOTHING:
        OnDoNothing();
        return TRUE;
    case IDC_SYNC_DELETE:
        OnDeleteRows();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CSynccopyDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == IDC_SYNC_LIST && header->code == LVN_COLUMNCLICK)
    {
        OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}
