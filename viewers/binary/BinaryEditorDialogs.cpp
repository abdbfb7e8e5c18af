#include "viewers/binary/BinaryEditorDialogs.h"
#include "app/dialogs/DialogHelpers.h"

#include <commctrl.h>
#include <commdlg.h>
#include <stdio.h>

#include "res/BinaryDialogs.h"

namespace
{

void ExchangeKind(CDataExchange* pDX, int& kind)
{
    DDX_Radio(pDX, IDC_BIN_KIND_TEXT, kind);
}

void EnableControl(CWnd* dialog, int id, BOOL enable)
{
    ::EnableWindow(::GetDlgItem(dialog->GetSafeHwnd(), id), enable);
}

// A slider's position as the settings keep it: anything outside 0 to 10 is the
// middle speed.
int SliderSpeed(HWND slider)
{
    int position = (int)::SendMessageW(slider, TBM_GETPOS, 0, 0);
    return position < 0 || position > 10 ? 5 : position;
}

void SetSlider(HWND slider, int position)
{
    ::SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(1, 10));
    ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

} // namespace

BEGIN_MESSAGE_MAP(CAskChangedDataDlg, CScriptedDialog)
ON_BN_CLICKED(IDC_BIN_REPLACE_ALL, OnReplaceAll)
ON_BN_CLICKED(IDC_BIN_STOP, OnStop)
END_MESSAGE_MAP()

CAskChangedDataDlg::CAskChangedDataDlg(CWnd* pParent) : CScriptedDialog(IDD_BINARY_ASK_CHANGE, pParent) {}

CDialogQuestion CAskChangedDataDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_BINARY_ASK_CHANGE;
    question.caption = L"データを変換しますか";
    return question;
}

void CAskChangedDataDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    (void)answer;
}

void CAskChangedDataDlg::OnReplaceAll()
{
    EndDialog(IDC_BIN_REPLACE_ALL);
}

void CAskChangedDataDlg::OnStop()
{
    EndDialog(IDC_BIN_STOP);
}

CBinarySearchDlg::CBinarySearchDlg(CWnd* pParent) : CDialog(IDD_BINARY_SEARCH, pParent) {}

BOOL CBinarySearchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_searchOnly)
        EnableControl(this, IDC_BIN_REPLACEMENT, FALSE);
    return TRUE;
}

void CBinarySearchDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_BIN_SIGNED, m_signed);
    DDX_Text(pDX, IDC_BIN_REPLACEMENT, m_replacement);
    DDX_Radio(pDX, IDC_BIN_DOWN, m_direction);
    DDX_Text(pDX, IDC_BIN_SEARCH_VALUE, m_searchValue);
    ExchangeKind(pDX, m_kind);
    DDX_Radio(pDX, IDC_BIN_FROM_CURSOR, m_start);
}

BEGIN_MESSAGE_MAP(CBinaryCmpDlg, CDialog)
ON_BN_CLICKED(IDC_BIN_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CBinaryCmpDlg::CBinaryCmpDlg(CWnd* pParent) : CDialog(IDD_BINARY_COMPARE, pParent) {}

void CBinaryCmpDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_BIN_SIGNED, m_signed);
    DDX_Check(pDX, IDC_BIN_EDIT_ENABLED, m_editEnabled);
    DDX_Text(pDX, IDC_BIN_EDIT_VALUE, m_editValue);
    DDX_Check(pDX, IDC_BIN_COMPARE_ENABLED, m_compareEnabled);
    DDX_Text(pDX, IDC_BIN_COMPARE_VALUE, m_compareValue);
    DDX_Text(pDX, IDC_BIN_DIFFERENCE, m_difference);
    DDX_Check(pDX, IDC_BIN_DIFFERENCE_ENABLED, m_differenceEnabled);
    DDX_Radio(pDX, IDC_BIN_DOWN, m_direction);
    DDX_Radio(pDX, IDC_BIN_FROM_CURSOR, m_start);
    DDX_Text(pDX, IDC_BIN_EDIT_FILE, m_editFile);
    DDX_Check(pDX, IDC_BIN_DIFFER, m_differ);
    DDX_Text(pDX, IDC_BIN_COMPARE_FILE, m_compareFile);
    ExchangeKind(pDX, m_kind);
}

void CBinaryCmpDlg::OnBrowse()
{
    FileDialogRequest request(m_hWnd);
    request.initialDir = m_browseDirectory;
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    CString path;
    if (BrowseForFile(request, path))
        SetDlgItemText(IDC_BIN_COMPARE_FILE, path);
}

CBinaryDataInputDlg::CBinaryDataInputDlg(CWnd* pParent) : CDialog(IDD_BINARY_INPUT, pParent) {}

BOOL CBinaryDataInputDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_single)
    {
        const int ids[] = {IDC_BIN_INPUT_NUMBER, IDC_BIN_BY_COUNT, IDC_BIN_BY_END, IDC_BIN_BY_SELECTION};
        for (int id : ids)
            EnableControl(this, id, FALSE);
    }
    return TRUE;
}

void CBinaryDataInputDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_BIN_SIGNED, m_signed);
    DDX_Text(pDX, IDC_BIN_INPUT_VALUE, m_value);
    ExchangeKind(pDX, m_kind);
    DDX_Text(pDX, IDC_BIN_INPUT_NUMBER, m_number);
    DDX_Radio(pDX, IDC_BIN_BY_COUNT, m_mode);
}

CBinaryEditConfigDlg::CBinaryEditConfigDlg(CWnd* pParent) : CDialog(IDD_BINARY_EDIT_CONFIG, pParent) {}

BOOL CBinaryEditConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetSlider(::GetDlgItem(m_hWnd, IDC_BIN_SCROLL_SPEED), m_scrollSpeed);
    SetSlider(::GetDlgItem(m_hWnd, IDC_BIN_BLINK_SPEED), m_blinkSpeed);
    return TRUE;
}

void CBinaryEditConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_BIN_SCROLL_LINES, m_scrollLines);
    if (pDX->m_bSaveAndValidate)
    {
        m_scrollSpeed = SliderSpeed(::GetDlgItem(m_hWnd, IDC_BIN_SCROLL_SPEED));
        m_blinkSpeed = SliderSpeed(::GetDlgItem(m_hWnd, IDC_BIN_BLINK_SPEED));
    }
}

CSelectRangeDlg::CSelectRangeDlg(CWnd* pParent) : CDialog(IDD_SELECT_RANGE, pParent) {}

void CSelectRangeDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_RANGE_DECIMAL, m_notation);
    DDX_Text(pDX, IDC_RANGE_END, m_end);
    DDX_Text(pDX, IDC_RANGE_START, m_start);
}

BEGIN_MESSAGE_MAP(CBinaryColorDlg, CDialog)
ON_CONTROL(LBN_SELCHANGE, IDC_BIN_COLOR_LIST, OnSelectionChange)
ON_BN_CLICKED(IDC_BIN_COLOR_CHOOSE, OnChooseColor)
END_MESSAGE_MAP()

CBinaryColorDlg::CBinaryColorDlg(DWORD* colors, int* useColors, CWnd* pParent)
    : CDialog(IDD_BINARY_COLOR, pParent), m_colors(colors), m_useColors(useColors)
{
    for (int i = 0; i < 256; ++i)
        m_working[i] = m_colors != nullptr ? m_colors[i] : 0;
}

BOOL CBinaryColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_BIN_COLOR_LIST);
    for (int i = 0; i < 256; ++i)
    {
        wchar_t item[4];
        swprintf_s(item, L"%02x", i);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    ::CheckDlgButton(m_hWnd, IDC_BIN_COLOR_USE,
                     m_useColors != nullptr && *m_useColors ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CBinaryColorDlg::OnOK()
{
    if (m_colors != nullptr)
        for (int i = 0; i < 256; ++i)
            m_colors[i] = m_working[i];
    if (m_useColors != nullptr)
        *m_useColors = ::IsDlgButtonChecked(m_hWnd, IDC_BIN_COLOR_USE) == BST_CHECKED ? 1 : 0;
    CDialog::OnOK();
}

LRESULT CBinaryColorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam == IDC_BIN_COLOR_SAMPLE && lParam != 0)
    {
        DrawSample(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CBinaryColorDlg::DrawSample(const DRAWITEMSTRUCT& item)
{
    const int caret =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_BIN_COLOR_LIST, LB_GETCARETINDEX, 0, 0));
    RECT rect = item.rcItem;
    ::FillRect(item.hDC, &rect, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (caret < 0 || caret > 255)
        return;
    ::InflateRect(&rect, -2, -2);
    HBRUSH brush = ::CreateSolidBrush(m_working[caret]);
    ::FillRect(item.hDC, &rect, brush);
    ::DeleteObject(brush);
}

void CBinaryColorDlg::OnSelectionChange()
{
    ::InvalidateRect(::GetDlgItem(m_hWnd, IDC_BIN_COLOR_SAMPLE), nullptr, TRUE);
}

void CBinaryColorDlg::ApplyColorToSelection(COLORREF color)
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_BIN_COLOR_LIST);
    for (int i = 0; i < 256; ++i)
        if (::SendMessageW(list, LB_GETSEL, i, 0) > 0)
            m_working[i] = color;
    OnSelectionChange();
}

void CBinaryColorDlg::OnChooseColor()
{
    int caret = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_BIN_COLOR_LIST, LB_GETCARETINDEX, 0, 0));
    if (caret < 0 || caret > 255)
        caret = 0;
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = m_hWnd;
    choose.rgbResult = m_working[caret];
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (::ChooseColorW(&choose))
        ApplyColorToSelection(choose.rgbResult);
}
