// The dialog that binds SCSI devices, each with open or close, to "@Scsi01" to
// "@Scsi09".
#pragma once
#include "app/settings/MediaSettings.h"
#include "framework/FwDialog.h"
#include "media/scsi/AspiDeviceList.h"

class CAttachScsiDlg : public CDialog
{
public:
    explicit CAttachScsiDlg(CAspiDeviceList* devices);

    // In and out: "起動時にSCSIの検索をしない".
    int m_neglectScan;
    // The nine slots as edited; OK puts them into g_ScsiCommandSettings.
    CString m_slots[SCSI_COMMAND_COUNT];

    void FillDeviceList();
    void ShowSlot(int index);
    void AssignSlot(int index);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CAspiDeviceList* m_devices;
    // For each row of the list: its device and whether it closes.
    CArray<int> m_rowDevice;
    CArray<int> m_rowCloses;
};
