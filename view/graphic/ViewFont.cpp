// The view font, per screen resolution when the user asks for it, and the picture
// behind the filer panes with its change schedule.
#include "view/QvView.h"

void CQvView::CreateViewFont() {}
void CQvView::OnDisplayFontConfig() {}
void CQvView::LoadPaneBackgroundPicture(int) {}
void CQvView::DrawPaneBackgroundPicture(CDC*, const CRect&, COLORREF) {}
