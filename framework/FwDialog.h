// Dialogs from dialog-template resources, modal or modeless, with data exchange
// between member variables and controls.
//
//     class CMkDirDlg : public CDialog
//     {
//     public:
//         explicit CMkDirDlg(CWnd* pParent = nullptr) : CDialog(1234, pParent) {}
//         CString m_name;
//         int m_count = 0;
//     protected:
//         void DoDataExchange(CDataExchange* pDX) override
//         {
//             DDX_Text(pDX, 818, m_name);
//             DDV_MaxChars(pDX, m_name, 255);
//             DDX_Text(pDX, 819, m_count);
//             DDV_MinMaxInt(pDX, m_count, 1, 99);
//         }
//     };
//
// OnInitDialog fills the controls (UpdateData(FALSE)); OnOK reads and checks
// them (UpdateData(TRUE)) and ends the dialog with IDOK only when every check
// passed. A failed check has shown its message and put the focus on the
// offending control; the dialog stays open.
//
// DoModal may run on any thread, also with an owner window that belongs to
// another thread: the owner is disabled (and enabled again afterwards) through
// EnableWindow, which the owner's thread handles while it keeps pumping.
#pragma once

#include "framework/FwWnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to variables (with checks)
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

    // The control with the id; it becomes the control that DDV_ checks refer to.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange as failed: focus to the last prepared control (its text
    // selected when it is an edit field). Does not return.
    [[noreturn]] void Fail();
};

class CDialog;

// Told of every dialog about to be shown, modal or modeless, before its template is
// loaded; null in the program. Tests see through it which dialog a command opens, also
// where their own program does not hold the dialog's template.
extern void (*g_DialogOpenObserver)(const CDialog& dialog);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // A modeless dialog still open is destroyed.
    ~CDialog() override;

    // Runs the dialog modally; the result is the code given to EndDialog, or -1
    // when the dialog could not be created or was destroyed without EndDialog.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless (owned by pParentWnd when given).
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Ends a modal dialog's loop with the code (any int); hides a modeless one.
    void EndDialog(int nResult);
    // Variables to controls (FALSE) or controls to variables with checks (TRUE);
    // FALSE when a check failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Fills the controls; TRUE lets the system put the focus on the first control.
    virtual BOOL OnInitDialog();
    // Keyboard navigation of the dialog (IsDialogMessage).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The dialog first, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateDlg(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndParent);
    LPCDLGTEMPLATE LoadTemplate(UINT nIDTemplate) const;
    void RunModalLoop();

    int m_nModalResult = -1;
    volatile LONG m_bEndModal = FALSE;
    BOOL m_bModal = FALSE;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Check box state: 0 clear, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The radio buttons of the group that starts at nIDC (WS_GROUP), in tab order:
// the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Combo box text. Loading selects the item equal to the text; an editable
// combo box keeps the text exactly, a drop-down list falls back to the first
// item that begins with it.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Subclasses the control with rControl (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
// Limits the edit control's length when loading; checks it when saving.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
