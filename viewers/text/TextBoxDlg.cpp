#include "viewers/text/TextBoxDlg.h"

#include <new>
#include <string.h>

#include "app/Directories.h"
#include "fs/LongPath.h"
#include "util/PathHelpers.h"
#include "res/BinaryDialogs.h"

int LoadTextBoxFile(LPCWSTR path, CString& text)
{
    text.Empty();
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x10000000)
    {
        CloseHandle(file);
        return 0;
    }
    DWORD length = (DWORD)size.QuadPart;
    // Room for a wide terminator also after an odd number of bytes.
    BYTE* buffer = new (std::nothrow) BYTE[length + 4];
    if (!buffer)
    {
        CloseHandle(file);
        return 0;
    }
    memset(buffer, 0, length + 4);
    DWORD got = 0;
    BOOL ok = ReadFile(file, buffer, length, &got, nullptr) && got == length;
    CloseHandle(file);
    if (ok)
    {
        if (length >= 2 && buffer[0] == 0xFF && buffer[1] == 0xFE)
            text = CString((const wchar_t*)(buffer + 2), (int)((length - 2) / 2));
        else
            AnsiToWideString((LPCSTR)buffer, text);
    }
    delete[] buffer;
    return ok ? 1 : 0;
}

BOOL(WINAPI* g_TextBoxWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = WriteFile;

int SaveTextBoxFile(LPCWSTR path, const CString& text)
{
    // Written beside the note and put in its place only when complete: a write that
    // fails leaves the note saved before.
    CString scratch;
    scratch.Format(L"%s.qvsave", path);
    HANDLE file = CreateFileLong(scratch, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const BYTE mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    BOOL ok = g_TextBoxWriteFile(file, mark, 2, &written, nullptr) && written == 2;
    DWORD bytes = (DWORD)text.GetLength() * sizeof(wchar_t);
    if (ok && bytes)
        ok = g_TextBoxWriteFile(file, text.GetString(), bytes, &written, nullptr) && written == bytes;
    CloseHandle(file);
    if (ok && MoveFileExLong(scratch, path, MOVEFILE_REPLACE_EXISTING))
        return 1;
    DeleteFileLong(scratch);
    return 0;
}

BEGIN_MESSAGE_MAP(CTextBoxDlg, CDialog)
ON_WM_SIZE()
ON_WM_SHOWWINDOW()
ON_WM_CLOSE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CTextBoxDlg::CTextBoxDlg(CWnd* pParent) : CDialog(IDD_TEXT_BOX, pParent)
{
    GetProgramDir(m_path);
    m_path += L"\\qv_TextBox.txt";
}

void CTextBoxDlg::ShowBox(CWnd* pOwner)
{
    if (GetSafeHwnd() && IsWindowVisible())
        return;
    if (!GetSafeHwnd() && !Create(IDD_TEXT_BOX, pOwner))
        return;
    ShowWindow(SW_SHOW);
}

BOOL CTextBoxDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    m_initialWidth = window.right - window.left;
    m_initialHeight = window.bottom - window.top;
    HWND edit = ::GetDlgItem(m_hWnd, IDC_TEXT_BOX_EDIT);
    ::GetWindowRect(edit, &m_editRect);
    ::MapWindowPoints(nullptr, m_hWnd, (POINT*)&m_editRect, 2);
    CString text;
    LoadTextBoxFile(m_path, text);
    ::SetWindowTextW(edit, text);
    m_initialised = 1;
    return TRUE;
}

void CTextBoxDlg::OnSize(UINT type, int cx, int cy)
{
    (void)type;
    (void)cx;
    (void)cy;
    if (!m_initialised)
        return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    int width = m_editRect.right - m_editRect.left + (window.right - window.left) - m_initialWidth;
    int height = m_editRect.bottom - m_editRect.top + (window.bottom - window.top) - m_initialHeight;
    ::MoveWindow(::GetDlgItem(m_hWnd, IDC_TEXT_BOX_EDIT), m_editRect.left, m_editRect.top,
                 width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
}

void CTextBoxDlg::OnShowWindow(BOOL show, UINT status)
{
    (void)status;
    if (!show || !m_firstShow)
        return;
    m_firstShow = 0;
    HWND edit = ::GetDlgItem(m_hWnd, IDC_TEXT_BOX_EDIT);
    int length = ::GetWindowTextLengthW(edit);
    ::SendMessageW(edit, EM_SETSEL, length, length);
}

// Escape and Enter in a dialog would end it; the box only hides, keeping its text.
void CTextBoxDlg::OnCancel()
{
    ShowWindow(SW_HIDE);
}

void CTextBoxDlg::OnOK() {}

void CTextBoxDlg::OnClose()
{
    ShowWindow(SW_HIDE);
}

void CTextBoxDlg::OnDestroy()
{
    HWND edit = ::GetDlgItem(m_hWnd, IDC_TEXT_BOX_EDIT);
    int length = ::GetWindowTextLengthW(edit);
    CString text;
    if (length > 0)
    {
        wchar_t* buffer = text.GetBuffer(length + 1);
        length = ::GetWindowTextW(edit, buffer, length + 1);
        text.ReleaseBuffer(length);
    }
    SaveTextBoxFile(m_path, text);
    m_initialised = 0;
    CDialog::OnDestroy();
}
