#include "media/scsi/AttachScsiDlg.h"
#include "util/Formatting.h"
#include "res/MediaDialogs.h"

CAttachScsiDlg::CAttachScsiDlg(CAspiDeviceList* devices)
    : CDialog(IDD_ATTACH_SCSI), m_neglectScan(1), m_devices(devices)
{
}

BOOL CAttachScsiDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
    {
        m_slots[i] = g_ScsiCommandSettings[i];
        ShowSlot(i);
    }
    FillDeviceList();
    CheckDlgButton(IDC_SCSI_NO_SCAN, m_neglectScan ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CAttachScsiDlg::FillDeviceList()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_SCSI_DEVICES);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    m_rowDevice.RemoveAll();
    m_rowCloses.RemoveAll();
    for (int i = 0; m_devices && i < m_devices->GetDeviceCount(); ++i)
    {
        const AspiDeviceEntry& device = m_devices->GetDevice(i);
        CString row;
        if (CAspiDeviceList::IsEjectOnlyKind(device.kind))
        {
            row.Format(L"%s Eject", device.label);
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(row)));
            m_rowDevice.Add(i);
            m_rowCloses.Add(0);
            continue;
        }
        row.Format(L"%s Open", device.label);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(row)));
        m_rowDevice.Add(i);
        m_rowCloses.Add(0);
        row.Format(L"%s Close", device.label);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(row)));
        m_rowDevice.Add(i);
        m_rowCloses.Add(1);
    }
}

void CAttachScsiDlg::ShowSlot(int index)
{
    int adapter, target, lun, closeFlag;
    CString text = L"未登録";
    if (ParseScsiSetting(adapter, target, lun, closeFlag, m_slots[index]))
        text.Format(closeFlag ? L"#%01X:%01X:%01X Close" : L"#%01X:%01X:%01X Open", adapter, target, lun);
    SetDlgItemText(IDC_SCSI_SLOT1 + index, text);
}

void CAttachScsiDlg::AssignSlot(int index)
{
    LRESULT row = ::SendDlgItemMessageW(m_hWnd, IDC_SCSI_DEVICES, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR || row < 0 || row >= m_rowDevice.GetSize() || !m_devices)
        return;
    const AspiDeviceEntry& device = m_devices->GetDevice(m_rowDevice[row]);
    m_slots[index].Format(m_rowCloses[row] ? L"%01X%01X%01X1" : L"%01X%01X%01X0", device.adapter,
                          device.target, device.lun);
}

void CAttachScsiDlg::OnOK()
{
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        g_ScsiCommandSettings[i] = m_slots[i];
    m_neglectScan = IsDlgButtonChecked(IDC_SCSI_NO_SCAN) == BST_CHECKED;
    CDialog::OnOK();
}

BOOL CAttachScsiDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED)
    {
        if (id >= IDC_SCSI_SLOT1 && id <= IDC_SCSI_SLOT9)
        {
            AssignSlot(id - IDC_SCSI_SLOT1);
            ShowSlot(id - IDC_SCSI_SLOT1);
            return TRUE;
        }
        if (id == IDC_SCSI_RESCAN)
        {
            if (m_devices)
                m_devices->ScanDevices();
            FillDeviceList();
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}
