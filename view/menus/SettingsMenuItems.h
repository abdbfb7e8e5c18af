// The settings items of the menus that no keyword names: each opens its settings
// dialog or flips its option and brings the view up to date afterwards. The menu
// table (view/menus/MenuTable.cpp) names each for its item.
#pragma once
#include <windows.h>

class CQvView;

void ChooseVirtualDrives(CQvView& view);
void EditNetworkSettings(CQvView& view);
// The menu bar is loaded again, so that it shows the key texts or drops them.
void ToggleKeyTextInMenus(CQvView& view);
void EditFilerSettings(CQvView& view);
void EditDisplayColors(CQvView& view);
void EditPreviewSettings(CQvView& view);
void EditLineHeight(CQvView& view);
void EditFilerInfoLayouts(CQvView& view);
void EditHeaderLayout(CQvView& view);
void EditFileKindColors(CQvView& view);
void EditCopyDestinations(CQvView& view);
void EditCommandSounds(CQvView& view);
void EditUserSettingsFile(CQvView& view);
// The customisation dialogs: the own plug-ins (the menu bar is loaded again however
// the dialog ends), the applets left out of the list, and the hidden menus (loaded
// again after OK).
void EditPlugIns(CQvView& view);
void EditSkippedApplets(CQvView& view);
void EditHiddenMenus(CQvView& view);
// FALSE while the active pane lists neither a folder nor an archive, so that the
// display-file item is greyed there.
BOOL CanOpenDisplayFilter(CQvView& view);
// The display-file dialog ("@DispFileSetting" and its menu item), only while the
// active pane lists a folder or an archive; after OK the panes are listed again.
void OpenDisplayFilterDialog(CQvView& view);
