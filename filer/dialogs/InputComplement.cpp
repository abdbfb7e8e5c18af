#include "filer/dialogs/InputComplement.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"

CInputComplement::~CInputComplement()
{
    CloseSearch();
    if (m_hWnd != nullptr)
        UnsubclassWindow();
}

BOOL CInputComplement::Attach(CWnd* dialog, int id, BOOL combo, int mode, LPCWSTR baseDirectory,
                              int paneNumber)
{
    m_mode = mode;
    m_baseDirectory = baseDirectory != nullptr ? baseDirectory : L"";
    m_paneNumber = paneNumber;
    m_bCombo = combo ? 1 : 0;
    m_bEdit = combo ? 0 : 1;
    return SubclassDlgItem(id, dialog);
}

void CInputComplement::CloseSearch()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        FindCloseLong(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
}

BOOL CInputComplement::IsCompletionKey(UINT virtualKey, BOOL ctrl, BOOL shift)
{
    return virtualKey == VK_TAB && ctrl && !shift;
}

BOOL CInputComplement::AcceptEntry(const WIN32_FIND_DATAW& found, CString& candidate) const
{
    const BOOL directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (directory && (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0))
        return FALSE;
    if ((m_mode == COMPLETE_DIRECTORIES && !directory) || (m_mode == COMPLETE_FILES && directory))
        return FALSE;
    // Only the last element changes: what the user typed before it stays as typed,
    // relative or absolute.
    const int slash = m_prefix.ReverseFind(L'\\');
    candidate = slash >= 0 ? m_prefix.Left(slash + 1) + found.cFileName : CString(found.cFileName);
    return TRUE;
}

CString CInputComplement::NextCandidate()
{
    if (m_bRestart)
    {
        CloseSearch();
        m_bRestart = FALSE;
    }
    CString candidate;
    WIN32_FIND_DATAW found;
    if (m_hFind == INVALID_HANDLE_VALUE)
    {
        // Without a base the process's current directory serves: the active pane
        // keeps it on its own directory.
        CString base = m_baseDirectory;
        if (base.IsEmpty())
            GetCurrentDir(base);
        CString resolved;
        if (!ResolvePaneTargetDirectory(base, m_prefix, resolved, RESOLVE_CHECK_DRIVE, m_paneNumber))
            return m_prefix;
        if (!m_prefix.IsEmpty() && m_prefix[m_prefix.GetLength() - 1] == L'\\' &&
            (resolved.IsEmpty() || resolved[resolved.GetLength() - 1] != L'\\'))
            resolved += L'\\';
        resolved += L'*';
        m_hFind = FindFirstFileLong(resolved, &found);
        if (m_hFind == INVALID_HANDLE_VALUE)
            return m_prefix;
        if (AcceptEntry(found, candidate))
            return candidate;
    }
    while (FindNextFileW(m_hFind, &found))
    {
        if (AcceptEntry(found, candidate))
            return candidate;
    }
    CloseSearch();
    return m_prefix;
}

void CInputComplement::Complete()
{
    CString text;
    GetWindowText(text);
    if (text != m_lastResult)
    {
        m_prefix = text;
        m_bRestart = TRUE;
    }
    CString candidate = NextCandidate();
    if (candidate != text)
    {
        SetWindowText(candidate);
        const int length = candidate.GetLength();
        if (m_bCombo)
            SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(length, length));
        else
            SendMessage(EM_SETSEL, length, length);
    }
    m_lastResult = candidate;
}

BOOL CInputComplement::PreTranslateMessage(MSG* pMsg)
{
    // The dialog manager takes Tab for moving the focus before the control sees it,
    // so the key is caught on its way to the control.
    if (pMsg->message == WM_KEYDOWN && m_hWnd != nullptr &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) &&
        IsCompletionKey(static_cast<UINT>(pMsg->wParam), ::GetKeyState(VK_CONTROL) < 0,
                        ::GetKeyState(VK_SHIFT) < 0))
    {
        Complete();
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CInputComplement::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        CloseSearch();
    return CWnd::WindowProc(message, wParam, lParam);
}
