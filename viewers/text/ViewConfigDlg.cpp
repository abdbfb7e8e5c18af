#include "viewers/text/ViewConfigDlg.h"

#include <commctrl.h>
#include <cwchar>

#include "res/ViewerToolDialogs.h"

const ViewerClickAction g_ViewerClickActions[VIEWER_CLICK_ACTION_COUNT] = {
    {L"動作無し", L""},
    {L"Viewer終了", L"@Closeviewer"},
    {L"１行選択", L"@Selectoneline"},
    {L"URLを選択", L"@Selecturl"},
    {L"URLでブラウザ起動", L"@Startbyurl"},
};

int FindViewerClickAction(LPCWSTR keyword)
{
    if (keyword == nullptr)
        return 0;
    for (int i = 0; i < VIEWER_CLICK_ACTION_COUNT; ++i)
        if (_wcsicmp(g_ViewerClickActions[i].keyword, keyword) == 0)
            return i;
    return 0;
}

namespace
{
void FillActionCombo(HWND combo, LPCWSTR keyword)
{
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const ViewerClickAction& action : g_ViewerClickActions)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(action.displayText));
    ::SendMessageW(combo, CB_SETCURSEL, FindViewerClickAction(keyword), 0);
}

void ReadActionCombo(HWND combo, CString& keyword)
{
    const LRESULT row = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (row >= 0 && row < VIEWER_CLICK_ACTION_COUNT)
        keyword = g_ViewerClickActions[row].keyword;
}
} // namespace

BEGIN_MESSAGE_MAP(CViewConfigDlg, CDialog)
ON_BN_CLICKED(IDC_VIEW_CONFIG_PRESET_SET, OnSetPreset)
END_MESSAGE_MAP()

CViewConfigDlg::CViewConfigDlg(CWnd* pParent) : CDialog(IDD_VIEW_CONFIG, pParent) {}

BOOL CViewConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillPresetList();
    FillActionCombo(::GetDlgItem(m_hWnd, IDC_VIEW_CONFIG_LEFT_ACTION), m_values.leftAction);
    FillActionCombo(::GetDlgItem(m_hWnd, IDC_VIEW_CONFIG_RIGHT_ACTION), m_values.rightAction);
    HWND slider = ::GetDlgItem(m_hWnd, IDC_VIEW_CONFIG_SCROLL_SPEED);
    ::SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    ::SendMessageW(slider, TBM_SETPOS, TRUE, m_values.scrollSpeed);
    return TRUE;
}

void CViewConfigDlg::FillPresetList()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_VIEW_CONFIG_PRESET_LIST);
    const LRESULT selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int preset : m_values.presets)
    {
        CString line;
        line.Format(L"%d文字に設定", preset);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(line)));
    }
    if (selected >= 0)
        ::SendMessageW(list, LB_SETCURSEL, selected, 0);
}

void CViewConfigDlg::OnSetPreset()
{
    const LRESULT row = ::SendDlgItemMessageW(m_hWnd, IDC_VIEW_CONFIG_PRESET_LIST, LB_GETCURSEL, 0, 0);
    wchar_t text[32] = {};
    ::GetDlgItemTextW(m_hWnd, IDC_VIEW_CONFIG_PRESET_EDIT, text, 32);
    const int value = _wtoi(text);
    if (row < 0 || row >= 5 || value <= 0)
        return;
    m_values.presets[row] = value;
    FillPresetList();
}

void CViewConfigDlg::OnOK()
{
    const int position =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_VIEW_CONFIG_SCROLL_SPEED, TBM_GETPOS, 0, 0));
    m_values.scrollSpeed = position < 0 || position > 10 ? 5 : position;
    ReadActionCombo(::GetDlgItem(m_hWnd, IDC_VIEW_CONFIG_LEFT_ACTION), m_values.leftAction);
    ReadActionCombo(::GetDlgItem(m_hWnd, IDC_VIEW_CONFIG_RIGHT_ACTION), m_values.rightAction);
    CDialog::OnOK();
}

void CViewConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_VIEW_CONFIG_TAB, m_values.tabColumns);
    DDV_MinMaxInt(pDX, m_values.tabColumns, 1, 100);
    DDX_Text(pDX, IDC_VIEW_CONFIG_MEMORY, m_values.memoryKb);
    DDV_MinMaxInt(pDX, m_values.memoryKb, 1, 32767);
    DDX_Text(pDX, IDC_VIEW_CONFIG_LINE_WIDTH, m_values.lineWidth);
    DDV_MinMaxInt(pDX, m_values.lineWidth, 1, 32767);
    DDX_Text(pDX, IDC_VIEW_CONFIG_SCROLL_LINE, m_values.scrollLines);
    DDV_MinMaxInt(pDX, m_values.scrollLines, 1, 30);
    DDX_Check(pDX, IDC_VIEW_CONFIG_LINE_NUMBER, m_values.lineNumbers);
    DDX_Check(pDX, IDC_VIEW_CONFIG_FIND_FROM_TOP, m_values.findFromTop);
    DDX_Text(pDX, IDC_VIEW_CONFIG_FAST_COUNT, m_values.fastScrollCount);
    DDX_Text(pDX, IDC_VIEW_CONFIG_FAST_LINES, m_values.fastScrollLines);
    DDX_Text(pDX, IDC_VIEW_CONFIG_RETURN_CODE, m_values.lineReturnCode);
    DDV_MaxChars(pDX, m_values.lineReturnCode, 2);
}
