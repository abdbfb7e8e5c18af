// "@Scsi01" to "@Scsi09", "@Allscsiopen" and "@Allscsiclose": the trays of the SCSI
// devices the device list found.
#include "media/scsi/AspiDeviceList.h"
#include "view/QvView.h"

void CQvView::RunScsiCommand(int value)
{
    g_AspiDeviceList.RunSlot(value);
}

void CQvView::OpenAllScsiTrays()
{
    g_AspiDeviceList.OpenAll();
}

void CQvView::CloseAllScsiTrays()
{
    g_AspiDeviceList.CloseAll();
}
