// "@Scsi01" to "@Scsi09", "@Allscsiopen" and "@Allscsiclose": the trays of the SCSI
// devices the device list found.
#include "media/scsi/AspiDeviceList.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int RunScsiCommand(CQvView&, const CommandCall&, INT_PTR value)
{
    g_AspiDeviceList.RunSlot(static_cast<int>(value));
    return 1;
}

int OpenAllScsiTrays(CQvView&, const CommandCall&, INT_PTR)
{
    g_AspiDeviceList.OpenAll();
    return 1;
}

int CloseAllScsiTrays(CQvView&, const CommandCall&, INT_PTR)
{
    g_AspiDeviceList.CloseAll();
    return 1;
}

} // namespace commands
