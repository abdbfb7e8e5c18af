// Ids of the binary editor's dialogs, the print dialog and the text box.
#pragma once
#define IDD_TEXT_BOX 1289
#define IDC_TEXT_BOX_EDIT 1306
