#include "viewers/text/TextBoxDlg.h"

#include <new>
#include <string.h>

#include "app/Directories.h"
#include "app/dialogs/TellAndAsk.h"
#include "fs/LongPath.h"
#include "util/PathHelpers.h"
#include "res/BinaryDialogs.h"

TextBoxFileSeam g_TextBoxFileSeam = {ReadFile, WriteFile};

int LoadTextBoxFile(LPCWSTR path, CString& text, DWORD* error)
{
    text.Empty();
    DWORD ignored = 0;
    DWORD& failure = error != nullptr ? *error : ignored;
    failure = 0;
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        failure = GetLastError();
        // Only a note that is not there may start empty: one that is there but cannot
        // be opened (in use, refused) still holds its text.
        return failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND ? TEXT_BOX_MISSING
                                                                                  : TEXT_BOX_UNREADABLE;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
    {
        failure = GetLastError();
        CloseHandle(file);
        return TEXT_BOX_UNREADABLE;
    }
    if (size.QuadPart > 0x10000000)
    {
        CloseHandle(file);
        return TEXT_BOX_TOO_LARGE;
    }
    DWORD length = (DWORD)size.QuadPart;
    // Room for a wide terminator also after an odd number of bytes.
    BYTE* buffer = new (std::nothrow) BYTE[length + 4];
    if (!buffer)
    {
        CloseHandle(file);
        failure = ERROR_NOT_ENOUGH_MEMORY;
        return TEXT_BOX_UNREADABLE;
    }
    memset(buffer, 0, length + 4);
    DWORD got = 0;
    BOOL ok = g_TextBoxFileSeam.readFile(file, buffer, length, &got, nullptr);
    if (!ok)
        failure = GetLastError();
    else if (got != length)
    {
        ok = FALSE;
        failure = ERROR_HANDLE_EOF;
    }
    CloseHandle(file);
    int result = ok ? TEXT_BOX_LOADED : TEXT_BOX_UNREADABLE;
    if (ok && length >= 2 && buffer[0] == 0xFF && buffer[1] == 0xFE)
    {
        const wchar_t* wide = (const wchar_t*)(buffer + 2);
        const int units = (int)((length - 2) / 2);
        text = CString(wide, units);
        // The edit control ends its text at a NUL, and the box would save only that much.
        if (wmemchr(wide, L'\0', units) != nullptr)
            result = TEXT_BOX_HAS_NUL;
        else if ((length - 2) % 2 != 0)
            result = TEXT_BOX_ODD_LENGTH;
    }
    else if (ok)
    {
        if (memchr(buffer, 0, length) != nullptr)
            result = TEXT_BOX_HAS_NUL;
        if (!AnsiToWideString((LPCSTR)buffer, text))
        {
            failure = GetLastError();
            result = TEXT_BOX_UNREADABLE;
        }
    }
    delete[] buffer;
    return result;
}

CString DescribeTextBoxLoad(int load, LPCWSTR path, DWORD error)
{
    CString reason;
    switch (load)
    {
    case TEXT_BOX_TOO_LARGE:
        reason = L"テキストボックスのファイルが256MBを超えているため読み込めません";
        break;
    case TEXT_BOX_UNREADABLE:
        reason.Format(L"テキストボックスのファイルを読み込めません(Error Code=%u)", (unsigned)error);
        break;
    case TEXT_BOX_HAS_NUL:
        reason = L"テキストボックスのファイルにNUL文字があり、その先を表示できません";
        break;
    case TEXT_BOX_ODD_LENGTH:
        reason = L"テキストボックスのファイル(UTF-16)の長さが奇数のため、最後の1バイトを読み込めません";
        break;
    default:
        reason = L"テキストボックスのファイルを全部は表示できません";
        break;
    }
    CString text;
    text.Format(L"%s\n%s\nファイルを書き換えないよう、読み取り専用で開きます。閉じても保存しません",
                reason.GetString(), path);
    return text;
}

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
    BOOL ok = g_TextBoxFileSeam.writeFile(file, mark, 2, &written, nullptr) && written == 2;
    DWORD bytes = (DWORD)text.GetLength() * sizeof(wchar_t);
    if (ok && bytes)
        ok =
            g_TextBoxFileSeam.writeFile(file, text.GetString(), bytes, &written, nullptr) && written == bytes;
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
    const BOOL created = !GetSafeHwnd();
    if (created && !Create(IDD_TEXT_BOX, pOwner))
        return;
    ShowWindow(SW_SHOW);
    if (created && m_load != TEXT_BOX_LOADED && m_load != TEXT_BOX_MISSING)
        Tell(this, DescribeTextBoxLoad(m_load, m_path, m_loadError), L"テキストボックス");
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
    m_load = LoadTextBoxFile(m_path, text, &m_loadError);
    ::SetWindowTextW(edit, text);
    if (m_load == TEXT_BOX_LOADED && ::GetWindowTextLengthW(edit) != text.GetLength())
        m_load = TEXT_BOX_NOT_ALL_SHOWN;
    // A note that is not in the box whole is only shown: edits to part of it could not
    // be saved without losing the rest.
    if (m_load != TEXT_BOX_LOADED && m_load != TEXT_BOX_MISSING)
    {
        ::SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
        ::SetWindowTextW(m_hWnd, L"テキストボックス (読み取り専用)");
    }
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
    if (m_load == TEXT_BOX_LOADED || m_load == TEXT_BOX_MISSING)
        SaveTextBoxFile(m_path, text);
    m_initialised = 0;
    CDialog::OnDestroy();
}
