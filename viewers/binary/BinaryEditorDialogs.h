// The binary editor's dialogs: the replace question, search and replace, compare,
// data input, the editor's settings and the selection range. Their fields are
// exchanged with the controls when they open and on OK.
#pragma once
#include <windows.h>
#include "app/dialogs/DialogAnswerScript.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

// "データを変換しますか": ends with IDOK ("はい"), IDCANCEL ("いいえ"),
// IDC_BIN_REPLACE_ALL ("すべて置換") or IDC_BIN_STOP ("変換中止").
class CAskChangedDataDlg : public CScriptedDialog
{
public:
    explicit CAskChangedDataDlg(CWnd* pParent = nullptr);

protected:
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
    void OnReplaceAll();
    void OnStop();

    DECLARE_MESSAGE_MAP()
};

class CBinarySearchDlg : public CDialog
{
public:
    explicit CBinarySearchDlg(CWnd* pParent = nullptr);

    int m_signed = 0;
    CString m_replacement;
    int m_direction = -1;
    CString m_searchValue;
    int m_kind = -1;
    int m_start = -1;
    int m_searchOnly = 0; // the replacement field is disabled

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CBinaryCmpDlg : public CDialog
{
public:
    explicit CBinaryCmpDlg(CWnd* pParent = nullptr);

    int m_signed = 0;
    int m_editEnabled = 0;
    CString m_editValue;
    int m_compareEnabled = 0;
    CString m_compareValue;
    CString m_difference;
    int m_differenceEnabled = 0;
    int m_direction = -1;
    int m_start = -1;
    CString m_editFile;
    int m_differ = 0;
    CString m_compareFile;
    int m_kind = -1;
    CString m_browseDirectory;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBrowse();

    DECLARE_MESSAGE_MAP()
};

class CBinaryDataInputDlg : public CDialog
{
public:
    explicit CBinaryDataInputDlg(CWnd* pParent = nullptr);

    int m_signed = 0;
    CString m_value;
    int m_kind = -1;
    int m_number = 0; // the repeat count or the end address
    int m_mode = -1;  // 0 by count, 1 by end address, 2 over the selection
    int m_single = 0; // one value at the cursor: the number and the modes are disabled

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CBinaryEditConfigDlg : public CDialog
{
public:
    explicit CBinaryEditConfigDlg(CWnd* pParent = nullptr);

    int m_scrollSpeed = 5; // automatic scrolling every value x 20 ms
    int m_blinkSpeed = 5;  // caret blink every value x 100 ms
    UINT m_scrollLines = 1;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CSelectRangeDlg : public CDialog
{
public:
    explicit CSelectRangeDlg(CWnd* pParent = nullptr);

    int m_notation = 0; // 0 decimal, 1 hexadecimal
    CString m_end;
    CString m_start;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Binary表示の色設定": the hex cells' colour per byte value and whether they are used.
// Works on a copy of the 256 colours; OK writes it back with the switch.
class CBinaryColorDlg : public CDialog
{
public:
    CBinaryColorDlg(DWORD* colors, int* useColors, CWnd* pParent = nullptr);

    // The working colour of a byte value.
    DWORD GetWorkingColor(int value) const { return m_working[value & 0xFF]; }
    // Gives every selected byte value of the list the colour and repaints the sample
    // (what the colour button does after the system's colour dialog).
    void ApplyColorToSelection(COLORREF color);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSelectionChange();
    void OnChooseColor();
    void DrawSample(const DRAWITEMSTRUCT& item);

    DECLARE_MESSAGE_MAP()

private:
    DWORD* m_colors;
    int* m_useColors;
    DWORD m_working[256];
};
