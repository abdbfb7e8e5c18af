// The new-directory dialog and the file-to-edit dialog: they collect a name; the
// command that opens them creates the directory or starts the editor.
#pragma once
#include <windows.h>
#include "filer/dialogs/InputComplement.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

class CMkDirDlg : public CDialog
{
public:
    explicit CMkDirDlg(CWnd* pParent = nullptr);

    CString m_name;
    // Put the pane's cursor on the new directory (the opener keeps it in MOVEMAKEDIR).
    int m_bMoveCursor = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CInputComplement m_complement;
};

class CEditNameDlg : public CDialog
{
public:
    explicit CEditNameDlg(CWnd* pParent = nullptr);

    CString m_fileName;
    int m_paneIndex = -1;
    // The pane's folder, which completes names typed without one.
    CString m_directory;
    // Let the editor be told the file is UTF-16 (the opener keeps it in
    // CHECK_EDIT_FILE_IS_UNICODE).
    int m_bUnicode = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CInputComplement m_complement;
};
