// The task-tray keyword and the key-setting commands, which hold the global hot keys
// off while the bindings change.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/keys/KeySettings.h"

namespace commands
{

int ToggleTaskTray(CQvView& view, const CommandCall&, INT_PTR)
{
    if (view.m_bInTray)
        view.RestoreFromTray();
    else
        view.GoToTray();
    return 1;
}

int ConfigureFilerKeys(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnFilerKeySettings();
    return 1;
}

int ConfigureViewerKeys(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnViewerKeySettings();
    return 1;
}

int ConfigureBinaryKeys(CQvView& view, const CommandCall&, INT_PTR)
{
    view.RunViewKeySettings(VIEW_KEYS_BINARY);
    return 1;
}

int ConfigureGraphicKeys(CQvView& view, const CommandCall&, INT_PTR)
{
    view.RunViewKeySettings(VIEW_KEYS_GRAPHIC);
    return 1;
}

} // namespace commands
