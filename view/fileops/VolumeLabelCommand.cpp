// The volume label of the drive under the cursor of the drive list, changed through the
// rename keywords.
#include "app/DriveSeam.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/InputDlgs.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/fileops/VolumeLabelCommand.h"
#include "view/media/SoundHooks.h"
#include "view/status/StatusLine.h"

void ChangeVolumeLabel(CQvView& view, int index)
{
    CFilerPane& pane = *g_Panes[index];
    g_SoundHooks.playCommandSound(L"RENAME");
    if (pane.m_cursor < 0 || pane.m_cursor >= pane.m_driveList.GetSize())
        return;
    const CDriveInfo& drive = pane.m_driveList[pane.m_cursor];
    if (drive.m_name.GetLength() != 2 || drive.m_name[1] != L':')
        return;
    CString root = drive.m_name + L"\\";
    // A CD-ROM or a network drive has a label nobody here may change.
    const UINT type = GetDriveTypeW(root);
    if (type != DRIVE_REMOVABLE && type != DRIVE_FIXED && type != DRIVE_RAMDISK)
        return;
    wchar_t label[1040] = {};
    if (!g_DriveSeam.GetVolumeInformationW(root, label, 1040, nullptr, nullptr, nullptr, nullptr, 0))
        return;
    COnlyEditNameDlg dialog(DialogOwner(&view));
    dialog.m_name = label;
    dialog.m_caption.Format(L"%cドライブのボリュームラベルの変更", drive.m_name[0]);
    if (dialog.DoModal() == IDOK && !SetVolumeLabelW(root, dialog.m_name))
        Tell(&view, L"ボリュームラベルの変更に失敗しました", L"");
    pane.ReadDriveList();
    view.DrawPaneTitle(index);
    view.DrawCursorLine(index, 1);
    view.DrawStatusLine(STATUS_PART_UPDATE);
}
