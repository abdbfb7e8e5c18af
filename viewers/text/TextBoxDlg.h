// The text box: a resizable note window whose text survives between runs in
// "qv_TextBox.txt" in the program's folder.
#pragma once
#include <windows.h>
#include "framework/FwDialog.h"
#include "framework/FwString.h"

// What reading the note file gave. Every result but a whole note or a missing file
// means the note is not in the box whole: saving the box would replace it with less.
enum TextBoxLoad
{
    TEXT_BOX_MISSING = 0,   // no file: the box starts empty
    TEXT_BOX_LOADED = 1,    // the whole note
    TEXT_BOX_TOO_LARGE,     // over 256 MiB: nothing read
    TEXT_BOX_UNREADABLE,    // the file could not be opened or read: nothing read
    TEXT_BOX_HAS_NUL,       // a NUL inside: the text up to it
    TEXT_BOX_ODD_LENGTH,    // UTF-16 with half a character at the end: the text without it
    TEXT_BOX_NOT_ALL_SHOWN, // the edit control took less than the text (set by the box)
};

// Reads the note file: UTF-16LE after its byte order mark (the mark itself is not
// part of the text), otherwise multibyte text of the ANSI code page. Returns a
// TextBoxLoad; `error` (when given) receives the system's error code of a failed read.
int LoadTextBoxFile(LPCWSTR path, CString& text, DWORD* error = nullptr);
// The message that tells the user why the note at `path` is shown read-only.
CString DescribeTextBoxLoad(int load, LPCWSTR path, DWORD error);
// Writes the mark and the text as UTF-16LE to "<path>.qvsave" and puts it in the
// file's place; 0 on failure, the file as it was and no scratch file left.
int SaveTextBoxFile(LPCWSTR path, const CString& text);
// The read the load and the write the save go through, the system's; a test makes
// them fail.
struct TextBoxFileSeam
{
    BOOL(WINAPI* readFile)(HANDLE file, LPVOID data, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
    BOOL(WINAPI* writeFile)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
};

extern TextBoxFileSeam g_TextBoxFileSeam;

class CTextBoxDlg : public CDialog
{
public:
    explicit CTextBoxDlg(CWnd* pParent = nullptr);

    // Creates the window once (modeless) and shows it; nothing when it is visible.
    void ShowBox(CWnd* pOwner);

    // The note file; the program's folder unless a test gives another.
    CString m_path;
    // How the note was read (TextBoxLoad); anything but a whole note or a missing file
    // keeps the box read-only and the file unwritten.
    int m_load = TEXT_BOX_MISSING;

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
    DWORD m_loadError = 0;
};
