#include "view/binary/BinaryEditorUi.h"

#include <commdlg.h>

namespace
{

INT_PTR RunDialogModally(CDialog& dialog, UINT)
{
    return dialog.DoModal();
}

BOOL AskSavePathWithDialog(CWnd* owner, CString& path)
{
    wchar_t buffer[MAX_PATH * 4] = L"";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner != nullptr ? owner->m_hWnd : nullptr;
    ofn.lpstrFilter = L"全てのファイル\0*.*\0\0";
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = MAX_PATH * 4;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn))
        return FALSE;
    path = buffer;
    return TRUE;
}

const BinaryEditorUi kDefaultUi = {RunDialogModally, AskSavePathWithDialog};

} // namespace

BinaryEditorUi g_BinaryEditorUi = kDefaultUi;

const BinaryEditorUi& DefaultBinaryEditorUi()
{
    return kDefaultUi;
}
