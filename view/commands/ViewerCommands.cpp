// Viewer keywords that act already: where the graphic viewer places a picture.
#include "app/Settings.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int SetPicturePlacement(CQvView& view, const CommandCall&, INT_PTR value)
{
    // 0-2 are the horizontal choices, 10-12 the vertical ones.
    int& setting = value >= 10 ? g_GRAPHIC_VIEW_V_POS : g_GRAPHIC_VIEW_H_POS;
    int choice = static_cast<int>(value % 10);
    if (setting != choice)
    {
        setting = choice;
        view.UpdatePictureLayout(PICTURE_LAYOUT_ALL);
    }
    return 1;
}

} // namespace commands
