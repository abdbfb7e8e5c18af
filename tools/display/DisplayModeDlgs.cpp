#include "tools/display/DisplayModeDlgs.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "res/DisplayDialogs.h"
#include "tools/display/DisplayModeList.h"

namespace
{
void FillModeList(HWND dialog, const std::vector<DEVMODEW>& modes)
{
    HWND list = ::GetDlgItem(dialog, IDC_DSP_MODE_LIST);
    for (const DEVMODEW& mode : modes)
    {
        CString text = FormatDisplayMode(mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)));
    }
}

int SelectedMode(HWND dialog)
{
    return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_DSP_MODE_LIST, LB_GETCURSEL, 0, 0));
}
} // namespace

CChangeDisplayDlg::CChangeDisplayDlg() : CDialog(IDD_CHANGE_DISPLAY, nullptr) {}

BOOL CChangeDisplayDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_modes = EnumerateDisplayModes();
    FillModeList(m_hWnd, m_modes);
    ::CheckDlgButton(m_hWnd, IDC_DSP_REGIST, g_REGISTDISPLAY ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CChangeDisplayDlg::OnOK()
{
    g_REGISTDISPLAY = ::IsDlgButtonChecked(m_hWnd, IDC_DSP_REGIST) == BST_CHECKED;
    const int selected = SelectedMode(m_hWnd);
    if (selected < 0 || selected >= static_cast<int>(m_modes.size()))
        return;
    const DEVMODEW& mode = m_modes[selected];
    ::ChangeDisplayMode(mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
    EndDialog(IDOK);
}

CDisplayModeDlg::CDisplayModeDlg() : CDialog(IDD_DISPLAY_MODE, nullptr)
{
    for (int i = 0; i < 10; ++i)
        m_slots[i] = g_DisplayModeSlots[i];
}

BOOL CDisplayModeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < 10; ++i)
        ShowSlot(i);
    m_modes = EnumerateDisplayModes();
    FillModeList(m_hWnd, m_modes);
    ::SendDlgItemMessageW(m_hWnd, IDC_DSP_MODE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"設定解除"));
    ::CheckDlgButton(m_hWnd, IDC_DSP_REGIST, g_REGISTDISPLAY ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDisplayModeDlg::ShowSlot(int slot)
{
    if (slot < 0 || slot >= 10)
        return;
    const DisplayModeSlot& s = m_slots[slot];
    CString text = (s.width == 0 || s.height == 0 || s.bitsPerPixel == 0)
                       ? CString(L"未設定")
                       : FormatDisplayMode(s.width, s.height, s.bitsPerPixel);
    ::SetDlgItemTextW(m_hWnd, IDC_DSP_SLOT_TEXT0 + slot, text);
}

void CDisplayModeDlg::SetSlotFromList(int slot)
{
    const int selected = SelectedMode(m_hWnd);
    if (slot < 0 || slot >= 10 || selected < 0)
        return;
    if (selected >= static_cast<int>(m_modes.size()))
        m_slots[slot] = DisplayModeSlot{0, 0, 0};
    else
    {
        const DEVMODEW& mode = m_modes[selected];
        m_slots[slot] =
            DisplayModeSlot{static_cast<int>(mode.dmBitsPerPel), static_cast<int>(mode.dmPelsWidth),
                            static_cast<int>(mode.dmPelsHeight)};
    }
    ShowSlot(slot);
}

BOOL CDisplayModeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED)
    {
        if (id >= IDC_DSP_SLOT_SET0 && id < IDC_DSP_SLOT_SET0 + 10)
        {
            SetSlotFromList(id - IDC_DSP_SLOT_SET0);
            return TRUE;
        }
        if (id == IDC_DSP_APPLY_NOW)
        {
            const int selected = SelectedMode(m_hWnd);
            if (selected >= 0 && selected < static_cast<int>(m_modes.size()))
                ::ChangeDisplayMode(m_modes[selected].dmPelsWidth, m_modes[selected].dmPelsHeight,
                                    m_modes[selected].dmBitsPerPel);
            return TRUE;
        }
        if (id == IDC_DSP_REGIST)
        {
            g_REGISTDISPLAY = ::IsDlgButtonChecked(m_hWnd, IDC_DSP_REGIST) == BST_CHECKED;
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDisplayModeDlg::OnOK()
{
    for (int i = 0; i < 10; ++i)
        g_DisplayModeSlots[i] = m_slots[i];
    EndDialog(IDOK);
}
