#include "view/keys/KeySettings.h"

#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/keys/KeyBindings.h"
#include "tools/keys/KeyConfigDlg.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

#include <commdlg.h>

namespace
{

INT_PTR RunKeyConfigDlg(CQvView& view)
{
    CKeyConfigDlg dlg(DialogOwner(&view));
    return dlg.DoModal();
}

INT_PTR RunViewKeyConfigDlg(CQvView& view, int mode)
{
    CViewKeyConfigDlg dlg(mode, DialogOwner(&view));
    return dlg.DoModal();
}

const KeyDialogRunners kDefaultRunners = {RunKeyConfigDlg, RunViewKeyConfigDlg};

} // namespace

KeyDialogRunners g_KeyDialogRunners = kDefaultRunners;

const KeyDialogRunners& DefaultKeyDialogRunners()
{
    return kDefaultRunners;
}

BOOL ChooseKeyDataFile(CWnd* parent, CString& path)
{
    CDialogQuestion question;
    question.caption = L"キーデータの読み込み";
    question.text = path;
    CDialogAnswer answer;
    if (CDialogAnswerScript::Answer(question, answer))
    {
        if (answer.result != IDOK)
            return FALSE;
        path = answer.text;
        return TRUE;
    }
    FileDialogRequest request(parent != nullptr ? parent->m_hWnd : nullptr, L"INIファイル\0*.INI\0");
    request.defaultExt = L"INI";
    request.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    return BrowseForFile(request, path) ? TRUE : FALSE;
}

void CQvView::RunViewKeySettings(int mode)
{
    CViewBusyGuard busy(*this);
    // The common bindings carry the hot-key flags: no hot key may act on bindings that
    // are being changed, also when the dialog itself loses the focus.
    if (mode == VIEW_KEYS_COMMON)
        SuspendHotKeys();
    g_KeyDialogRunners.viewKeys(*this, mode);
    if (mode == VIEW_KEYS_COMMON)
    {
        RefreshHotKeyFlag();
        ResumeHotKeys();
    }
}

void CQvView::OnFilerKeySettings()
{
    CViewBusyGuard busy(*this);
    g_KeyDialogRunners.filerKeys(*this);
}

void CQvView::OnViewerKeySettings()
{
    RunViewKeySettings(VIEW_KEYS_VIEWER);
}

void CQvView::OnBinaryKeyConfig()
{
    RunViewKeySettings(VIEW_KEYS_BINARY);
}

void CQvView::OnCommonKeySettings()
{
    RunViewKeySettings(VIEW_KEYS_COMMON);
}

void CQvView::ImportKeyData()
{
    CString path;
    path.Format(L"%s\\qv.ini", static_cast<LPCWSTR>(g_ProgramDir.IsEmpty() ? g_WindowsDir : g_ProgramDir));
    if (!ChooseKeyDataFile(DialogOwner(this), path))
        return;
    CIniFile ini;
    ini.filePath = path;
    // A file that could not be read gives no bindings at all: reading it anyway would
    // set every key to its default, and that would be saved at exit.
    if (ini.Load() != INI_LOAD_OK)
    {
        Tell(DialogOwner(this), L"ファイルの読み込みに失敗しました");
        return;
    }
    LoadKeyBindings(ini);
    RefreshHotKeyFlag();
}
