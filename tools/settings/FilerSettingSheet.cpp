#include "tools/settings/FilerSettingSheet.h"

#include <commctrl.h>

#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/FolderChooser.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/GeneralToolSettings.h"
#include "res/SettingsDialogs.h"

const FilerOptionRow g_FilerOptionRows[kFilerOptionCount] = {
    {L"隠しファイルを表示", &g_HIDDENVIEWFLAG},
    {L"システムファイルを表示", &g_DISP_SYSTEM_FILE},
    {L".～ファイルを表示", &g_DISP_FIRST_DOT_FILE},
    {L"読み取り専用ファイルを表示", &g_DISP_READ_ONLY_FILE},
    {L"DOSファイル名で表示", &g_DOSWRITEFLAG},
    {L"ファイル名の最後を省略記号に", &g_FILENAMELASTELLIPSIS},
    {L"ソート方法を同期させる", &g_CHYNCROSORT},
    {L"ControlPanelを読まない", &g_NEGLECTCPL},
    {L"\".\"非表示", &g_NOTVIEWCURRENTDIR},
    {L"\"..\"非表示", &g_NOTVIEWUPDIR},
    {L"終了時に確認しない", &g_NOTQUITMESSAGE},
    {L"終了時に必ず確認する", &g_ASK_ALWAYS_AT_EXIT},
    {L"DefaultMenuを表示", &g_FILERDEFAULTMENU},
    {L"ユーザーメニューを表示", &g_FILERUSERMENU},
    {L"コンテキストメニューを表示", &g_FILERCONTEXTMENU},
    {L"FilerのScrollBarを表示しない", &g_NOTSCROLLFILER},
    {L"ViewerのScrollBarを表示しない", &g_NOTSCROLLVIEWER},
    {L"Graphic表示のScrollBarを表示しない", &g_NOTSCROLLGRAPHIC},
    {L"Binary EditorのScrollBarを表示しない", &g_NOTSCROLLBINARY},
    {L"NetWorkのScrollBarを表示しない", &g_NOTSCROLLNETWORK},
    {L"左クリック無効", &g_LEFTMOUSEDISABLE},
    {L"右クリック無効", &g_RIGHTMOUSEDISABLE},
    {L"メニューボタン有効", &g_ENABLEMENUBUTON},
    {L"Shift+ReturnとReturn同動作", &g_SAMERETURNSHIFT},
    {L"Tree情報をファイルに保存", &g_SAVEDRIVETREETOFILE},
    {L"Tree情報をメモリに保持", &g_SAVEDRIVETREETOMEMORY},
    {L"空き領域ダブルクリックで上のディレクトリへ", &g_EMPTYDBLCLICKUPDIR},
    {L"論理ドライブリストにネットワークを表示", &g_VIEWNETWORKONLIST},
    {L"カーソル位置を記憶", &g_SAVECURSORPOSITION},
    {L"２重起動防止", &g_DISABLETWIN},
    {L"マルチメディア再生時更新禁止", &g_SOUNDNEGLECTRELOAD},
    {L"アクティブのときのみメディアの挿入チェック", &g_ACTIVECHECKMEDIAIN},
    {L"Returnでインクリメンタルサーチ無効", &g_INCMODENEGLECTRETURN},
    {L"カーソル移動でインクリメンタルサーチ無効", &g_INCMODENEGLECTCURMOVE},
    {L"カーソル移動でインクリメンタルサーチバッファ無効", &g_INCMODEBUFFERDELCURMOVE},
    {L"ディレクトリ移動でインクリメンタルサーチ無効", &g_INCMODENEGLECTINCCHANGE},
    {L"ヘッダ部に空き容量表示", &g_WRITEFILERFREESIZE},
    {L"Filerのカーソルのトグル", &g_CURSORTOGGLE},
    {L"終了時にTemporaryファイルを消す", &g_DELTEMPATEND},
    {L"同名ファイル名時のコピー方法を保存", &g_SAVE_SAME_FILE_NAME_COPY_WAY},
    {L"自動ファイル名幅", &g_AUTO_FILE_NAME_WIDTH},
    {L"1ファイルで最大幅を使用する", &g_ONE_FILE_USE_FULL_WIDTH},
    {L"各ウィンドウ情報の保持", &g_KEEP_FILER_INFO},
    {L"ファイラーモードでなければ全画面表示", &g_DISPLAY_FULL_SCREEN_NOT_FILER},
    {L"ドライブ毎のディレクトリはウィンドウ毎", &g_USE_EACH_LAST_DIRECTORY},
    {L"リムーバブルディスクへのコピーの高速化", &g_REMOVABLE_COPY_FAST},
    {L"左右分割時、すべてのモードで2画面表示有効", &g_DEVICE_H_DISP_ALL_MODE_DEVICE},
    {L"左右分割モードで1画面表示時複数列有効", &g_ENABLE_SOME_H_FILE_ONE_SCREEN},
    {L"ファイル名変更時、ファイル名のみ選択状態にする", &g_SELECT_FILE_NAME_AT_RENAME},
    {L"ファイル名の比較にStrCmpLogicalWを使う(Unicode版のみ)", &g_USE_STR_CMP_LOGICAL_W},
    {L"起動時DIRに適用有効(ワイルドカード設定)", &g_WILD_CARD_APPLY_DIR_AT_START},
    {L"IME切り替えキー有効", &g_IME_CHANGE_KEY_ENABLE},
    {L"圧縮ファイルアップデート時ファイルの時間を保持", &g_KEEP_FILE_TIME_AT_ARCHIVE_UPDATE},
};

namespace
{
struct ReloadRow
{
    int checkId;
    int editId;
};
const ReloadRow kReloadRows[kReloadSettingCount] = {
    {IDC_RELOAD_FIXED, IDC_RELOAD_FIXED_TIME},     {IDC_RELOAD_FLOPPY, IDC_RELOAD_FLOPPY_TIME},
    {IDC_RELOAD_CD, IDC_RELOAD_CD_TIME},           {IDC_RELOAD_REMOVABLE, IDC_RELOAD_REMOVABLE_TIME},
    {IDC_RELOAD_NETWORK, IDC_RELOAD_NETWORK_TIME},
};

struct BufferRow
{
    int* setting;
    int editId;
};
const BufferRow kBufferRows[] = {
    {&g_COPY_BUFFER_SIZE_FIXED, IDC_COPY_BUFFER_FIXED},
    {&g_COPY_BUFFER_SIZE_REMOVABLE, IDC_COPY_BUFFER_REMOVABLE},
    {&g_COPY_BUFFER_SIZE_REMOTE, IDC_COPY_BUFFER_REMOTE},
    {&g_COPY_BUFFER_SIZE_OTHER, IDC_COPY_BUFFER_OTHER},
};

// A radio group whose value none of its buttons shows (a hand-edited settings file)
// keeps that value rather than taking -1.
void ExchangeRadio(CDataExchange* pDX, int firstId, int& value)
{
    int shown = value;
    DDX_Radio(pDX, firstId, shown);
    if (shown >= 0)
        value = shown;
}

void SetNumber(CWnd* page, int id, int value)
{
    CString text;
    text.Format(L"%d", value);
    page->SetDlgItemText(id, text);
}

// These fields are parsed without a check: text that is no number counts as 0.
int ReadNumber(CWnd* page, int id)
{
    CString text;
    page->GetDlgItemText(id, text);
    return _wtoi(text);
}

void FillShellChoices(CWnd* page, int id, std::initializer_list<const wchar_t*> choices,
                      const CString& current)
{
    HWND combo = ::GetDlgItem(page->m_hWnd, id);
    for (const wchar_t* choice : choices)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    ::SetWindowTextW(combo, current);
}
} // namespace

// ---- CAllDefStartWindow --------------------------------------------------------------

CAllDefStartWindow::CAllDefStartWindow() : CFilerSettingPage(IDD_ALLDEF_START_WINDOW) {}

void CAllDefStartWindow::DoDataExchange(CDataExchange* pDX)
{
    ExchangeRadio(pDX, IDC_START_SIZE_DEFAULT, m_startSize);
    ExchangeRadio(pDX, IDC_START_POS_DEFAULT, m_startPos);
    DDX_Text(pDX, IDC_START_WIDTH, m_width);
    DDX_Text(pDX, IDC_START_HEIGHT, m_height);
    DDX_Text(pDX, IDC_START_X, m_x);
    DDX_Text(pDX, IDC_START_Y, m_y);
    DDX_Text(pDX, IDC_START_FIRST_DIR, m_firstDirectory);
    DDX_Text(pDX, IDC_START_SECOND_DIR, m_secondDirectory);
    DDX_Check(pDX, IDC_START_END_DIR, m_startEndDir);
    DDX_Check(pDX, IDC_START_TWO_PANES, m_secondFileOpen);
}

BOOL CAllDefStartWindow::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_START_FIRST_BROWSE:
        Browse(IDC_START_FIRST_DIR);
        return TRUE;
    case IDC_START_SECOND_BROWSE:
        Browse(IDC_START_SECOND_DIR);
        return TRUE;
    case IDC_START_TAKE_SIZE:
        TakeWindowSize();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CAllDefStartWindow::Browse(int editId)
{
    CString folder;
    GetDlgItemText(editId, folder);
    if (BrowseForFolder(folder, this, FALSE))
        SetDlgItemText(editId, folder);
}

void CAllDefStartWindow::TakeWindowSize()
{
    // The sheet is owned by the view; the main window is the view's top-level window.
    HWND sheet = ::GetParent(m_hWnd);
    HWND owner = sheet ? ::GetWindow(sheet, GW_OWNER) : nullptr;
    HWND main = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    if (main == nullptr)
        return;
    RECT window = {};
    ::GetWindowRect(main, &window);
    SetNumber(this, IDC_START_X, window.left);
    SetNumber(this, IDC_START_Y, window.top);
    RECT size = window;
    if (IsDlgButtonChecked(IDC_START_SIZE_CLIENT) == BST_CHECKED)
        ::GetClientRect(main, &size);
    SetNumber(this, IDC_START_WIDTH, size.right - size.left);
    SetNumber(this, IDC_START_HEIGHT, size.bottom - size.top);
}

bool CAllDefStartWindow::Apply()
{
    return UpdateData(TRUE) != FALSE;
}

// ---- CAllDefFilerSetting -------------------------------------------------------------

CAllDefFilerSetting::CAllDefFilerSetting() : CFilerSettingPage(IDD_ALLDEF_FILER_SETTING) {}

void CAllDefFilerSetting::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_FILER_NAME_LENGTH, m_fileNameLong);
    DDX_Text(pDX, IDC_FILER_EXT_LENGTH, m_fileKindMaxLong);
    DDX_Text(pDX, IDC_FILER_CURSOR_COUNT, m_sumSaveCurPos);
    ExchangeRadio(pDX, IDC_FILER_CHAR_NONE, m_fileCharType);
    ExchangeRadio(pDX, IDC_FILER_TIME_CREATED, m_viewFileTimeType);
}

BOOL CAllDefFilerSetting::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_options.SubclassDlgItem(IDC_FILER_OPTIONS, this);
    for (const FilerOptionRow& row : g_FilerOptionRows)
        m_options.SetCheck(m_options.AddString(row.label), *row.setting != 0 ? 1 : 0);
    return TRUE;
}

bool CAllDefFilerSetting::Apply()
{
    if (!UpdateData(TRUE))
        return false;
    for (int i = 0; i < kFilerOptionCount; ++i)
        *g_FilerOptionRows[i].setting = m_options.GetCheck(i) != 0 ? 1 : 0;
    return true;
}

// ---- CAllDefReloadPage ---------------------------------------------------------------

CAllDefReloadPage::CAllDefReloadPage() : CFilerSettingPage(IDD_ALLDEF_RELOAD) {}

BOOL CAllDefReloadPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < kReloadSettingCount; ++i)
    {
        CheckDlgButton(kReloadRows[i].checkId, g_ReloadSettings[i].enable ? BST_CHECKED : BST_UNCHECKED);
        SetNumber(this, kReloadRows[i].editId, g_ReloadSettings[i].ticks);
    }
    return TRUE;
}

bool CAllDefReloadPage::Apply()
{
    for (int i = 0; i < kReloadSettingCount; ++i)
    {
        g_ReloadSettings[i].enable = IsDlgButtonChecked(kReloadRows[i].checkId) == BST_CHECKED ? 1 : 0;
        g_ReloadSettings[i].ticks = ReadNumber(this, kReloadRows[i].editId);
    }
    return true;
}

// ---- CAllDefExtProgram ---------------------------------------------------------------

CAllDefExtProgram::CAllDefExtProgram() : CFilerSettingPage(IDD_ALLDEF_EXT_PROGRAM) {}

BOOL CAllDefExtProgram::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_EXT_EDITOR, m_editorName);
    SetDlgItemText(IDC_EXT_ONE_DEFAULT, m_oneDefEdit);
    SetDlgItemText(IDC_EXT_SOME_DEFAULT, m_someDefEdit);
    SetDlgItemText(IDC_EXT_UNICODE_OPTION, m_unicodeOption);
    FillShellChoices(this, IDC_EXT_DOS_SHELL, {L"command.com", L"CMD.EXE"}, m_dosShell);
    FillShellChoices(this, IDC_EXT_POWER_SHELL, {L"powershell.exe"}, m_powerShell);
    return TRUE;
}

BOOL CAllDefExtProgram::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_EXT_EDITOR_BROWSE:
        Browse(IDC_EXT_EDITOR);
        return TRUE;
    case IDC_EXT_POWER_SHELL_BROWSE:
        Browse(IDC_EXT_POWER_SHELL);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CAllDefExtProgram::Browse(int editId)
{
    CString path;
    if (BrowseForFile(FileDialogRequest(m_hWnd), path))
        SetDlgItemText(editId, path);
}

bool CAllDefExtProgram::Apply()
{
    GetDlgItemText(IDC_EXT_EDITOR, m_editorName);
    GetDlgItemText(IDC_EXT_ONE_DEFAULT, m_oneDefEdit);
    GetDlgItemText(IDC_EXT_SOME_DEFAULT, m_someDefEdit);
    GetDlgItemText(IDC_EXT_UNICODE_OPTION, m_unicodeOption);
    GetDlgItemText(IDC_EXT_DOS_SHELL, m_dosShell);
    GetDlgItemText(IDC_EXT_POWER_SHELL, m_powerShell);
    return true;
}

// ---- CAllDefDialogPage ---------------------------------------------------------------

CAllDefDialogPage::CAllDefDialogPage() : CFilerSettingPage(IDD_ALLDEF_DIALOG) {}

BOOL CAllDefDialogPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_dialogs.SubclassDlgItem(IDC_DIALOG_OTHER_LIST, this);
    // A row without a label is kept in the settings file but not offered: an item
    // without text would be a check box nobody can tell the purpose of.
    for (const OtherWindowDialogRow& row : g_OtherWindowDialogs)
        if (row.label != nullptr)
            m_dialogs.SetCheck(m_dialogs.AddString(row.label), row.flag != 0 ? 1 : 0);
    CheckDlgButton(IDC_DIALOG_ALL_OTHER, g_ALL_DIALOG_OTHER_WINDOW ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

bool CAllDefDialogPage::Apply()
{
    int item = 0;
    for (OtherWindowDialogRow& row : g_OtherWindowDialogs)
        if (row.label != nullptr)
            row.flag = m_dialogs.GetCheck(item++) != 0 ? 1 : 0;
    g_ALL_DIALOG_OTHER_WINDOW = IsDlgButtonChecked(IDC_DIALOG_ALL_OTHER) == BST_CHECKED ? 1 : 0;
    return true;
}

// ---- CAllDefCopyBufferSizePage -------------------------------------------------------

CAllDefCopyBufferSizePage::CAllDefCopyBufferSizePage() : CFilerSettingPage(IDD_ALLDEF_COPY_BUFFER) {}

BOOL CAllDefCopyBufferSizePage::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const BufferRow& row : kBufferRows)
        SetNumber(this, row.editId, *row.setting);
    return TRUE;
}

bool CAllDefCopyBufferSizePage::Apply()
{
    for (const BufferRow& row : kBufferRows)
        *row.setting = ReadNumber(this, row.editId);
    return true;
}

// ---- CFilerSettingSheet --------------------------------------------------------------

CFilerSettingSheet::CFilerSettingSheet(CWnd* parent) : CDialog(IDD_FILER_SETTING_SHEET, parent) {}

void CFilerSettingSheet::LoadFromSettings()
{
    m_start.m_startSize = g_STARTSIZE;
    m_start.m_startPos = g_STARTPOS;
    m_start.m_width = g_FIRSTWIDE;
    m_start.m_height = g_FIRSTHEIGHT;
    m_start.m_x = g_FIRSTX;
    m_start.m_y = g_FIRSTY;
    m_start.m_firstDirectory = g_FIRSTDIRECTORY;
    m_start.m_secondDirectory = g_SECONDDIRECTORY;
    m_start.m_startEndDir = g_STARTENDDIR;
    m_start.m_secondFileOpen = g_SECONDFILEOPEN;
    m_filer.m_fileNameLong = g_FILENAMELONG;
    m_filer.m_fileKindMaxLong = g_FILEKINDMAXLONG;
    m_filer.m_sumSaveCurPos = g_SUMSAVECURPOS;
    m_filer.m_fileCharType = g_FILECHARTYPE;
    m_filer.m_viewFileTimeType = g_VIEWFILETIMETYPE;
    m_programs.m_editorName = g_EDITORNAME;
    m_programs.m_oneDefEdit = g_ONEDEFEDIT;
    m_programs.m_someDefEdit = g_SOMEDEFEDIT;
    m_programs.m_unicodeOption = g_EDITOR_OPEN_UNICODE_OPTION;
    m_programs.m_dosShell = g_DOSSHELL;
    m_programs.m_powerShell = g_POWER_SHELL;
}

void CFilerSettingSheet::StoreToSettings() const
{
    g_STARTSIZE = m_start.m_startSize;
    g_STARTPOS = m_start.m_startPos;
    g_FIRSTWIDE = m_start.m_width;
    g_FIRSTHEIGHT = m_start.m_height;
    g_FIRSTX = m_start.m_x;
    g_FIRSTY = m_start.m_y;
    g_FIRSTDIRECTORY = m_start.m_firstDirectory;
    g_SECONDDIRECTORY = m_start.m_secondDirectory;
    g_STARTENDDIR = m_start.m_startEndDir;
    g_SECONDFILEOPEN = m_start.m_secondFileOpen;
    g_FILENAMELONG = m_filer.m_fileNameLong;
    g_FILEKINDMAXLONG = m_filer.m_fileKindMaxLong;
    g_SUMSAVECURPOS = m_filer.m_sumSaveCurPos;
    g_FILECHARTYPE = m_filer.m_fileCharType;
    g_VIEWFILETIMETYPE = m_filer.m_viewFileTimeType;
    g_EDITORNAME = m_programs.m_editorName;
    g_ONEDEFEDIT = m_programs.m_oneDefEdit;
    g_SOMEDEFEDIT = m_programs.m_someDefEdit;
    g_EDITOR_OPEN_UNICODE_OPTION = m_programs.m_unicodeOption;
    g_DOSSHELL = m_programs.m_dosShell;
    g_POWER_SHELL = m_programs.m_powerShell;
}

CFilerSettingPage* CFilerSettingSheet::Page(int index)
{
    CFilerSettingPage* pages[kPageCount] = {&m_start,    &m_filer,   &m_reload,
                                            &m_programs, &m_dialogs, &m_copyBuffer};
    return index >= 0 && index < kPageCount ? pages[index] : nullptr;
}

BOOL CFilerSettingSheet::OnInitDialog()
{
    CDialog::OnInitDialog();
    const wchar_t* const captions[kPageCount] = {L"起動設定",       L"ファイラー設定",
                                                 L"再読み込み設定", L"外部プログラム",
                                                 L"ダイアログ",     L"コピー時のバッファサイズ設定"};
    InsertTabs(*this, IDC_FSET_TAB, captions, kPageCount);
    ShowPage(0);
    return TRUE;
}

void CFilerSettingSheet::ShowPage(int index)
{
    CFilerSettingPage* page = Page(index);
    if (page == nullptr)
        return;
    ShowTabPage(*this, IDC_FSET_TAB, m_current >= 0 ? Page(m_current) : nullptr, *page, index);
    m_current = index;
}

BOOL CFilerSettingSheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == IDC_FSET_TAB && header->code == TCN_SELCHANGE)
    {
        ShowPage(int(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CFilerSettingSheet::OnOK()
{
    // The checked numbers first, so that a bad entry leaves every setting untouched.
    for (CFilerSettingPage* page :
         {static_cast<CFilerSettingPage*>(&m_start), static_cast<CFilerSettingPage*>(&m_filer)})
        if (page->m_hWnd != nullptr && !page->UpdateData(TRUE))
        {
            ShowPage(page == &m_start ? 0 : 1);
            return;
        }
    for (int i = 0; i < kPageCount; ++i)
        if (Page(i)->m_hWnd != nullptr)
            Page(i)->Apply();
    EndDialog(IDOK);
}
