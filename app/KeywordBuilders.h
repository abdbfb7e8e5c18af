// Display names of the numbered command keywords that follow settings: the new-file
// kinds, the five characters-per-line commands of the text viewer and the SCSI device
// commands.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// For "@Makenewfile01" up to the number of new-file kinds (two digits at least, as
// "%02d" writes them): "新規<name>作成" with the kind's display name, or
// "新規ファイル作成<nn>" when the name is empty, and 1. 0 for another keyword or a
// number without a kind.
int GetMakeNewFileCommandText(LPCWSTR keyword, CString& out);

// The five commands "@Lineword1" to "@Lineword5", on the menu ids 618 to 622.
constexpr int LINE_WIDTH_COMMAND_COUNT = 5;
constexpr UINT LINE_WIDTH_FIRST_MENU_ID = 618;

// Their display names, which the menus read, in command order. Empty until
// SetLineWidthCommandNames runs.
extern CString g_LineWidthCommandNames[LINE_WIDTH_COMMAND_COUNT];

// Names the five commands "１行の文字数を<n>文字に設定" after the viewer's five
// characters-per-line choices, in order (the settings reader passes them after
// reading section "VIEWERSETTING").
void SetLineWidthCommandNames(const int (&lineWidths)[LINE_WIDTH_COMMAND_COUNT]);

// The display name of the command on menu id 618 to 622; null for any other id.
LPCWSTR GetLineWidthCommandName(UINT menuId);

// For "@Scsi01" to "@Scsi09": the text of the device command of that slot, and 1;
// 0 and an empty text for another keyword or an unassigned slot. A device the list
// knows at the slot's address gives "<label> Open", "<label> Eject" (a unit that only
// ejects) or "<label> Close"; an unknown one "#a:t:u Open" or "#a:t:u Close".
int GetScsiCommandText(LPCWSTR keyword, CString& out);
// The menu item of SCSI slot 1 to 9: its text, and TRUE when its command acts. An
// unassigned slot reads "未登録"; a device the list does not know, and the close
// command of a unit that only ejects, are greyed.
BOOL GetScsiMenuItem(int slot, CString& text);

// What the keyword builder asks of the SCSI device list, a higher library; the
// program installs it, and before that no device is known.
struct KeywordHooks
{
    // The device at an address: 1 with its label and whether it only ejects, 0 when
    // none is listed.
    int (*lookupScsiDevice)(int adapter, int target, int unit, CString& label, BOOL& ejectOnly);
};

extern KeywordHooks g_KeywordHooks;
