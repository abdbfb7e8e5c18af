// The text box: a resizable note window whose text survives between runs in
// "qv_TextBox.txt" in the program's folder.
#pragma once
#include <windows.h>
#include "framework/FwDialog.h"
#include "framework/FwString.h"

// Reads the note file: UTF-16LE after its byte order mark (the mark itself is not
// part of the text), otherwise multibyte text of the ANSI code page. A missing or
// unreadable file gives an empty text and 0.
int LoadTextBoxFile(LPCWSTR path, CString& text);
// Writes the mark and the text as UTF-16LE to "<path>.qvsave" and puts it in the
// file's place; 0 on failure, the file as it was and no scratch file left.
int SaveTextBoxFile(LPCWSTR path, const CString& text);
// The write the save goes through; a test makes it fail.
extern BOOL(WINAPI* g_TextBoxWriteFile)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                        LPOVERLAPPED overlapped);

class CTextBoxDlg : public CDialog
{
public:
    explicit CTextBoxDlg(CWnd* pParent = nullptr);

    // Creates the window once (modeless) and shows it; nothing when it is visible.
    void ShowBox(CWnd* pOwner);

    // The note file; the program's folder unless a test gives another.
    CString m_path;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;
    void OnSize(UINT type, int cx, int cy);
    void OnShowWindow(BOOL show, UINT status);
    void OnClose();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    int m_initialWidth = 0;
    int m_initialHeight = 0;
    RECT m_editRect = {};
    int m_firstShow = 1;
    int m_initialised = 0;
};
