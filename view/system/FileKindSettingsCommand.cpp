// Menu 598 "拡張子別実行形式設定": both file-kind tables and their options.
#include "tools/kinds/KindExeDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::OnExtensionExecuteSettings()
{
    CViewBusyGuard busy(*this);
    CKindExeDlg dialog(DialogOwner(this));
    dialog.DoModal();
}
