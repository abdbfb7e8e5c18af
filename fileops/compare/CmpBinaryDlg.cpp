// The binary-compare dialog.
#include "fileops/compare/CmpBinaryDlg.h"
#include "app/dialogs/DialogHelpers.h"

#include <commctrl.h>
#include <cwchar>
#include <new>

#include "app/dialogs/TellAndAsk.h"
#include "fs/LongPath.h"
#include "res/SyncDialogs.h"

CCmpBinaryDlg::CCmpBinaryDlg(CWnd* pParent) : CDialog(IDD_CMP_BINARY, pParent) {}

CCmpBinaryDlg::~CCmpBinaryDlg()
{
    StopWorker();
}

static void PutCaretAfterLastBackslash(HWND edit, const CString& text)
{
    const int slash = text.ReverseFind(L'\\');
    const int caret = slash + 1;
    SendMessageW(edit, EM_SETSEL, caret, caret);
}

BOOL CCmpBinaryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_pCmpThread = nullptr;
    m_progress = nullptr;
    CheckDlgButton(IDC_CMP_DECIMAL, BST_CHECKED);
    CheckDlgButton(IDC_CMP_NO_LIMIT, BST_CHECKED);
    SetDlgItemText(IDC_CMP_FILE1, m_file1);
    SetDlgItemText(IDC_CMP_FILE2, m_file2);
    PutCaretAfterLastBackslash(::GetDlgItem(m_hWnd, IDC_CMP_FILE1), m_file1);
    PutCaretAfterLastBackslash(::GetDlgItem(m_hWnd, IDC_CMP_FILE2), m_file2);
    return TRUE;
}

void CCmpBinaryDlg::CompareProgressCallback(int done, int total, void* owner)
{
    HWND dialog = static_cast<HWND>(owner);
    const int percent = total / 100 ? done / (total / 100) : 100;
    wchar_t text[16];
    swprintf(text, 16, L"%d%c", percent, L'%');
    ::SetDlgItemTextW(dialog, IDC_CMP_PERCENT, text);
    SendDlgItemMessageW(dialog, IDC_CMP_PROGRESS, PBM_SETPOS, percent, 0);
}

void CCmpBinaryDlg::Browse(int edit, BOOL save)
{
    FileDialogRequest request(m_hWnd);
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    request.save = save != FALSE;
    CString path;
    if (BrowseForFile(request, path))
        SetDlgItemText(edit, path);
}

void CCmpBinaryDlg::OnOK()
{
    CString file1, file2, output;
    GetDlgItemText(IDC_CMP_FILE1, file1);
    GetDlgItemText(IDC_CMP_FILE2, file2);
    GetDlgItemText(IDC_CMP_OUTPUT, output);
    const BOOL decimal = IsDlgButtonChecked(IDC_CMP_DECIMAL) == BST_CHECKED;
    const BOOL hexadecimal = IsDlgButtonChecked(IDC_CMP_HEXADECIMAL) == BST_CHECKED;
    LPCWSTR message = nullptr;
    if (file1.IsEmpty())
        message = L"File1の名前を入力してください";
    else if (file2.IsEmpty())
        message = L"File2の名前を入力してください";
    else if (output.IsEmpty())
        message = L"出力ファイルの名前を入力してください";
    else if (!decimal && !hexadecimal)
        message = L"10進表記か16進表記をチェックしてください";
    if (message)
    {
        Tell(this, message);
        return;
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    CCmpThread* worker = new (std::nothrow) CCmpThread;
    if (!worker)
    {
        Tell(this, L"メモリが足りません");
        EndDialog(IDOK);
        return;
    }
    CString maximum;
    GetDlgItemText(IDC_CMP_MAXIMUM, maximum);
    worker->m_file1 = file1;
    worker->m_file2 = file2;
    worker->m_output = output;
    worker->m_decimal = decimal;
    worker->m_hexadecimal = hexadecimal;
    worker->m_noLimit = IsDlgButtonChecked(IDC_CMP_NO_LIMIT) == BST_CHECKED;
    worker->m_maximum = _wtoi(maximum);
    worker->m_hOwner = m_hWnd;
    worker->m_progressOwner = m_hWnd;
    m_progress = CompareProgressCallback;
    worker->m_progress = m_progress;
    if (!m_workingDirectory.IsEmpty())
        SetCurrentDirectoryAsGiven(m_workingDirectory);
    g_pCmpThread = worker;
    if (!worker->CreateThread())
    {
        g_pCmpThread = nullptr;
        delete worker;
        Tell(this, L"ファイルの比較に失敗しました");
        EndDialog(IDOK);
        return;
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CMP_ABORT), TRUE);
}

void CCmpBinaryDlg::StopWorker()
{
    m_progress = nullptr;
    if (!g_pCmpThread || m_stopping)
        return;
    m_stopping = TRUE;
    StopWorkerPumping(g_pCmpThread);
    m_stopping = FALSE;
}

void CCmpBinaryDlg::OnAbort()
{
    if (g_pCmpThread)
        g_pCmpThread->m_stop = 1;
    StopWorker();
    EndDialog(IDOK);
}

BOOL CCmpBinaryDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    switch (id)
    {
    case IDM_COMPARE_DONE:
    case IDM_COMPARE_FAILED:
        // The worker's own completion arrives while it is being stopped, or after it
        // was released: the one who stopped it closes the dialog.
        if (m_stopping || !g_pCmpThread)
            return TRUE;
        if (id == IDM_COMPARE_FAILED)
            Tell(this, L"ファイルの比較に失敗しました");
        StopWorker();
        EndDialog(IDOK);
        return TRUE;
    case IDC_CMP_ABORT:
        OnAbort();
        return TRUE;
    case IDC_CMP_BROWSE1:
        Browse(IDC_CMP_FILE1, FALSE);
        return TRUE;
    case IDC_CMP_BROWSE2:
        Browse(IDC_CMP_FILE2, FALSE);
        return TRUE;
    case IDC_CMP_BROWSE_OUTPUT:
        Browse(IDC_CMP_OUTPUT, TRUE);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
