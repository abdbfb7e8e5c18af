// File operations that act already: the delete keywords that first choose the
// recycle-bin default of the delete dialog.
#include "app/Settings.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int DeleteFilesWithDefault(CQvView& view, const CommandCall& call, INT_PTR value)
{
    // The choice is kept: it is the dialog's default from now on, not for this run only.
    g_DELETETODUST = static_cast<int>(value);
    return DeleteFiles(view, call, 0);
}

} // namespace commands
