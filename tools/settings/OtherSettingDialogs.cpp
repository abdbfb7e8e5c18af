#include "tools/settings/OtherSettingDialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include "app/Directories.h"
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "framework/FwLock.h"
#include "media/MciWnd.h"
#include "res/SettingsDialogs.h"

namespace
{
struct CopyToRow
{
    int checkId;
    int spinId;
    int* enabled;
    int* priority;
};
const CopyToRow kCopyToRows[kCopyToSourceCount] = {
    {IDC_COPYTO_IN_DIR, IDC_COPYTO_IN_DIR_SPIN, &g_COPYTOINDIRFLAG, &g_COPYTOINDIR},
    {IDC_COPYTO_PAST_DIR, IDC_COPYTO_PAST_DIR_SPIN, &g_COPYTOPASTDIRFLAG, &g_COPYTOPASTDIR},
    {IDC_COPYTO_SPECIAL_DIR, IDC_COPYTO_SPECIAL_DIR_SPIN, &g_COPYTOSPECIALDIRFLAG, &g_COPYTOSPECIALDIR},
    {IDC_COPYTO_SENDTO_DIR, IDC_COPYTO_SENDTO_DIR_SPIN, &g_COPYTOSENDTODIRFLAG, &g_COPYTOSENDTODIR},
};

const wchar_t* const kDebugLabels[DEBUG_FLAG_COUNT] = {
    L"SUSIE PLUGINの表示",     L"リムーバブルメディアの監視する",
    L"ASPIをすべて無視",       L"ControlPanel読み込み時確認する",
    L"Viewerエラーデバック",   L"コンテキストメニューデバック",
    L"画像サイズをログに記述", L"デバッグ用Log出力",
    L"検索ダイアログLog出力",
};
// The labels of the command sounds, in the order of g_CommandSoundNames; packing and
// unpacking have always shown the same label.
const wchar_t* const kSoundLabels[COMMAND_SOUND_COUNT] = {
    L"ファイルコピー",
    L"ファイル移動",
    L"ファイル削除",
    L"名前変更",
    L"ファイル実行",
    L"ファイル解凍",
    L"ファイル解凍",
    L"画像の閲覧",
    L"ファイルの編集",
    L"ファイル閲覧",
    L"ファイルの比較",
    L"ファイル属性変更",
    L"ディレクトリ作成",
    L"選択",
    L"すべて選択(ファイルのみ)",
    L"ディレクトリ変更",
    L"ディレクトリジャンプ",
    L"ワイルドカードの設定",
    L"ファイルの検索",
    L"ファイルソート",
    L"親ディレクトリへ",
    L"アプリケーションの起動",
    L"アプリケーションの終了",
};
} // namespace

// ---- CDefCopyToDlg -------------------------------------------------------------------

CDefCopyToDlg::CDefCopyToDlg(CWnd* parent) : CDialog(IDD_DEF_COPY_TO, parent)
{
    for (int i = 0; i < kCopyToSourceCount; ++i)
        m_sources[size_t(i)] = {*kCopyToRows[i].enabled, *kCopyToRows[i].priority};
    CHandleLock lock(g_DataMutex);
    m_special.Copy(g_SpecialCopyToDirs);
}

void CDefCopyToDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_COPYTO_HISTORY_COUNT, m_historyCount);
}

BOOL CDefCopyToDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < kCopyToSourceCount; ++i)
    {
        HWND spin = ::GetDlgItem(m_hWnd, kCopyToRows[i].spinId);
        // The up arrow moves towards the first place.
        ::SendMessageW(spin, UDM_SETRANGE32, 4, 1);
        ::SendMessageW(spin, UDM_SETPOS32, 0, m_sources[size_t(i)].priority);
        CheckDlgButton(kCopyToRows[i].checkId, m_sources[size_t(i)].enabled ? BST_CHECKED : BST_UNCHECKED);
    }
    FillList();
    return TRUE;
}

void CDefCopyToDlg::FillList()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_COPYTO_SPECIAL_LIST);
    if (list == nullptr)
        return;
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (INT_PTR i = 0; i < m_special.GetSize(); ++i)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(m_special[i])));
}

void CDefCopyToDlg::AddFolder(const CString& folder)
{
    if (folder.IsEmpty())
        return;
    for (INT_PTR i = 0; i < m_special.GetSize(); ++i)
        if (m_special[i].CompareNoCase(folder) == 0)
            return;
    while (m_special.GetSize() >= kSpecialCopyToLimit)
        m_special.RemoveAt(0);
    m_special.Add(folder);
    FillList();
}

void CDefCopyToDlg::MovePriority(int row, int position)
{
    if (row < 0 || row >= kCopyToSourceCount || position < 1 || position > kCopyToSourceCount)
        return;
    const int old = m_sources[size_t(row)].priority;
    for (int other = 0; other < kCopyToSourceCount; ++other)
    {
        if (other == row || m_sources[size_t(other)].priority != position)
            continue;
        m_sources[size_t(other)].priority = old;
        if (m_hWnd != nullptr)
            ::SendDlgItemMessageW(m_hWnd, kCopyToRows[other].spinId, UDM_SETPOS32, 0, old);
    }
    m_sources[size_t(row)].priority = position;
}

BOOL CDefCopyToDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->code == UDN_DELTAPOS)
        for (int row = 0; row < kCopyToSourceCount; ++row)
            if (int(header->idFrom) == kCopyToRows[row].spinId)
            {
                const NMUPDOWN* change = reinterpret_cast<const NMUPDOWN*>(lParam);
                const int position = change->iPos + change->iDelta;
                if (position < 1 || position > kCopyToSourceCount)
                {
                    // Past either end: the spin stays where it is.
                    *pResult = 1;
                    return TRUE;
                }
                MovePriority(row, position);
                *pResult = 0;
                return TRUE;
            }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CDefCopyToDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_COPYTO_ADD)
    {
        CString folder;
        GetCurrentDir(folder);
        if (BrowseForFolder(folder, this, FALSE))
            AddFolder(folder);
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_COPYTO_REMOVE)
    {
        const LRESULT selected = ::SendDlgItemMessageW(m_hWnd, IDC_COPYTO_SPECIAL_LIST, LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR && selected < m_special.GetSize())
        {
            m_special.RemoveAt(INT_PTR(selected));
            FillList();
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDefCopyToDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    for (int i = 0; i < kCopyToSourceCount; ++i)
    {
        const int position = int(::SendDlgItemMessageW(m_hWnd, kCopyToRows[i].spinId, UDM_GETPOS32, 0, 0));
        *kCopyToRows[i].priority =
            position >= 1 && position <= kCopyToSourceCount ? position : m_sources[size_t(i)].priority;
        *kCopyToRows[i].enabled = IsDlgButtonChecked(kCopyToRows[i].checkId) == BST_CHECKED ? 1 : 0;
    }
    {
        CHandleLock lock(g_DataMutex);
        g_SpecialCopyToDirs.Copy(m_special);
    }
    EndDialog(IDOK);
}

// ---- CDefWavDlg ----------------------------------------------------------------------

static_assert(COMMAND_SOUND_COUNT == 23, "the dialog lists 23 command sounds");

CDefWavDlg::CDefWavDlg(CWnd* parent) : CDialog(IDD_DEF_WAV, parent)
{
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        m_files[size_t(i)] = g_CommandSoundFiles[i];
}

CDefWavDlg::~CDefWavDlg()
{
    CloseMedia();
}

BOOL CDefWavDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_WAV_COMMANDS);
    for (const wchar_t* label : kSoundLabels)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    m_shown = 0;
    SetDlgItemText(IDC_WAV_FILE, m_files[0]);
    return TRUE;
}

void CDefWavDlg::StoreShown()
{
    GetDlgItemText(IDC_WAV_FILE, m_files[size_t(m_shown)]);
}

BOOL CDefWavDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDC_WAV_COMMANDS && HIWORD(wParam) == LBN_SELCHANGE)
    {
        const int selected = int(::SendDlgItemMessageW(m_hWnd, IDC_WAV_COMMANDS, LB_GETCURSEL, 0, 0));
        if (selected >= 0 && selected < COMMAND_SOUND_COUNT)
        {
            StoreShown();
            m_shown = selected;
            SetDlgItemText(IDC_WAV_FILE, m_files[size_t(selected)]);
        }
        return TRUE;
    }
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    switch (id)
    {
    case IDC_WAV_BROWSE:
        Browse();
        return TRUE;
    case IDC_WAV_PLAY:
        Play();
        return TRUE;
    case IDC_WAV_STOP:
        if (m_media != nullptr)
            m_media->ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_SINGLE);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CDefWavDlg::Browse()
{
    CString path;
    if (BrowseForFile(FileDialogRequest(m_hWnd, L"WAV File\0*.WAV\0\0"), path))
        SetDlgItemText(IDC_WAV_FILE, path);
}

void CDefWavDlg::Play()
{
    CString file;
    GetDlgItemText(IDC_WAV_FILE, file);
    if (file.IsEmpty())
        return;
    if (m_media == nullptr)
        m_media = CreateMciWnd(m_hWnd);
    if (m_media != nullptr)
        m_media->ControlPlayback(MEDIA_PLAY, file, MEDIA_REQUEST_SINGLE);
}

void CDefWavDlg::CloseMedia()
{
    if (m_media == nullptr)
        return;
    m_media->ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_ANY);
    if (m_media->m_hWnd != nullptr)
        m_media->DestroyWindow();
    delete m_media;
    m_media = nullptr;
}

void CDefWavDlg::OnOK()
{
    StoreShown();
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        g_CommandSoundFiles[i] = m_files[size_t(i)];
    CloseMedia();
    EndDialog(IDOK);
}

void CDefWavDlg::OnCancel()
{
    CloseMedia();
    EndDialog(IDCANCEL);
}

// ---- CUseriniDlg ---------------------------------------------------------------------

CUseriniDlg::CUseriniDlg(CWnd* parent) : CDialog(IDD_USER_INI, parent) {}

void CUseriniDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_USERINI_USER, m_userName);
    DDX_Text(pDX, IDC_USERINI_FILE, m_fileName);
    DDX_Check(pDX, IDC_USERINI_USE, m_useUserIni);
    DDX_Check(pDX, IDC_USERINI_NO_SAVE, m_noSaveAtExit);
}

BOOL CUseriniDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_USERINI_BROWSE)
    {
        Browse();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CUseriniDlg::Browse()
{
    // A bare name the user picks stands for a file of the program's folder.
    CString programDir;
    GetProgramDir(programDir);
    SetCurrentDir(programDir);
    CString path;
    GetDlgItemText(IDC_USERINI_FILE, path);
    FileDialogRequest request(m_hWnd, L"iniファイル\0*.ini\0\0");
    request.defaultExt = L"ini";
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.save = true;
    if (BrowseForFile(request, path))
        SetDlgItemText(IDC_USERINI_FILE, path);
}

// ---- CDebugDlg -----------------------------------------------------------------------

CDebugDlg::CDebugDlg(int* flags, int& debugMode, CWnd* parent)
    : CDialog(IDD_DEBUG, parent), m_flags(flags), m_debugMode(debugMode)
{
}

BOOL CDebugDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_DEBUG_FLAGS, this);
    for (int i = 0; i < DEBUG_FLAG_COUNT; ++i)
        m_list.SetCheck(m_list.AddString(kDebugLabels[i]), m_flags[i] != 0 ? 1 : 0);
    CheckDlgButton(IDC_DEBUG_MODE, m_debugMode ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDebugDlg::OnOK()
{
    for (int i = 0; i < DEBUG_FLAG_COUNT; ++i)
        m_flags[i] = m_list.GetCheck(i) != 0 ? 1 : 0;
    m_debugMode = IsDlgButtonChecked(IDC_DEBUG_MODE) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}

// ---- CDefPreviewDlg ------------------------------------------------------------------

namespace
{
const wchar_t* const kPreviewNameModes[] = {L"ファイラーと同じ", L"ファイラーと同じ(自動ファイル名幅は無効)",
                                            L"画像に合わせる", L"指定幅"};
const wchar_t* const kIconHorizontal[] = {L"左", L"右", L"中心"};
const wchar_t* const kIconVertical[] = {L"上", L"下", L"中心"};
const int kPreviewColorButtons[] = {IDC_PREVIEW_BACK_COLOR, IDC_PREVIEW_SEL_COLOR,
                                    IDC_PREVIEW_DIR_ICON_COLOR};
const int kPreviewColorIndexes[] = {COLOR_PREVIEW_BACK, COLOR_PREVIEW_SEL, COLOR_PREVIEW_DIR_ICON_BACK};
// Mode 2 takes the folders below along; mode 3 is the folder alone.
constexpr BYTE kPreviewTreeMode = 2;
constexpr BYTE kPreviewFolderMode = 3;

void FillComboBox(HWND dialog, int id, const wchar_t* const* texts, int count, int selected)
{
    for (int i = 0; i < count; ++i)
        ::SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i]));
    ::SendDlgItemMessageW(dialog, id, CB_SETCURSEL, WPARAM(selected >= 0 && selected < count ? selected : 0),
                          0);
}

int SelectedIndex(HWND dialog, int id, int fallback)
{
    const LRESULT index = ::SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? fallback : int(index);
}
} // namespace

CDefPreviewDlg::CDefPreviewDlg(CLoadPreviewThread* loader, CWnd* parent)
    : CDialog(IDD_DEF_PREVIEW, parent), m_loader(loader)
{
}

BOOL CDefPreviewDlg::OnInitDialog()
{
    if (m_loader != nullptr)
    {
        m_loader->GetDirectoryLists(m_enabledDirs, m_disabledDirs);
        m_loader->GetDisplayedKinds(m_kinds);
    }
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_PREVIEW_DIR_ICON_FILL, g_PREVIEW_DIR_ICON_BGCOLOR_FILL ? BST_CHECKED : BST_UNCHECKED);
    FillComboBox(m_hWnd, IDC_PREVIEW_DIR_ICON_H_POS, kIconHorizontal, 3, g_PREVIEW_DIR_ICON_H_POS);
    FillComboBox(m_hWnd, IDC_PREVIEW_DIR_ICON_V_POS, kIconVertical, 3, g_PREVIEW_DIR_ICON_V_POS);
    for (size_t i = 0; i < m_colors.size(); ++i)
    {
        m_colors[i].SubclassDlgItem(kPreviewColorButtons[i], this);
        m_colors[i].m_color = g_DisplayColors[size_t(kPreviewColorIndexes[i])];
    }
    m_dirList.SubclassDlgItem(IDC_PREVIEW_DIRS, this);
    FillLists();
    return TRUE;
}

void CDefPreviewDlg::DoDataExchange(CDataExchange* pDX)
{
    if (!pDX->m_bSaveAndValidate)
    {
        ::SendDlgItemMessageW(m_hWnd, IDC_PREVIEW_NAME_MODE, CB_RESETCONTENT, 0, 0);
        FillComboBox(m_hWnd, IDC_PREVIEW_NAME_MODE, kPreviewNameModes, 4, m_nameMode);
    }
    else
        m_nameMode = SelectedIndex(m_hWnd, IDC_PREVIEW_NAME_MODE, m_nameMode);
    DDX_Text(pDX, IDC_PREVIEW_MAX_FILES, m_maxFiles);
    DDV_MinMaxInt(pDX, m_maxFiles, 2, 50000);
    DDX_Text(pDX, IDC_PREVIEW_WIDTH, m_width);
    DDV_MinMaxInt(pDX, m_width, 32, 1000);
    DDX_Text(pDX, IDC_PREVIEW_HEIGHT, m_height);
    DDV_MinMaxInt(pDX, m_height, 32, 1000);
    DDX_Text(pDX, IDC_PREVIEW_NEXT_SLEEP, m_nextSleep);
    DDV_MinMaxInt(pDX, m_nextSleep, 0, 1000);
    DDX_Text(pDX, IDC_PREVIEW_NAME_LEN, m_nameLength);
    DDV_MinMaxInt(pDX, m_nameLength, 1, 100);
    DDX_Text(pDX, IDC_PREVIEW_KIND_LEN, m_kindLength);
    DDV_MinMaxInt(pDX, m_kindLength, 1, 100);
    DDX_Check(pDX, IDC_PREVIEW_ICON_ON_PICTURE, m_iconOnPicture);
    DDX_Check(pDX, IDC_PREVIEW_ICON_ON_ARCHIVE, m_iconOnArchive);
    DDX_Check(pDX, IDC_PREVIEW_PICTURE_IN_DIR, m_pictureInDir);
}

void CDefPreviewDlg::FillLists()
{
    m_dirList.ResetContent();
    for (INT_PTR i = 0; i < m_enabledDirs.GetSize(); ++i)
        m_dirList.SetCheck(m_dirList.AddString(m_enabledDirs[i].folder),
                           m_enabledDirs[i].type == kPreviewTreeMode ? 1 : 0);
    ::SendDlgItemMessageW(m_hWnd, IDC_PREVIEW_NEVER_DIRS, LB_RESETCONTENT, 0, 0);
    for (INT_PTR i = 0; i < m_disabledDirs.GetSize(); ++i)
        ::SendDlgItemMessageW(m_hWnd, IDC_PREVIEW_NEVER_DIRS, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(LPCWSTR(m_disabledDirs[i])));
    ::SendDlgItemMessageW(m_hWnd, IDC_PREVIEW_KINDS, LB_RESETCONTENT, 0, 0);
    for (INT_PTR i = 0; i < m_kinds.GetSize(); ++i)
        ::SendDlgItemMessageW(m_hWnd, IDC_PREVIEW_KINDS, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(LPCWSTR(m_kinds[i])));
}

void CDefPreviewDlg::AddKind()
{
    CString kind;
    GetDlgItemText(IDC_PREVIEW_KIND_TEXT, kind);
    if (kind.IsEmpty())
        return;
    for (INT_PTR i = 0; i < m_kinds.GetSize(); ++i)
        if (m_kinds[i].CompareNoCase(kind) == 0)
            return;
    m_kinds.Add(kind);
    m_kindsChanged = true;
    FillLists();
}

void CDefPreviewDlg::RemoveSelected(int listId)
{
    const LRESULT selected = ::SendDlgItemMessageW(m_hWnd, listId, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR)
        return;
    // The folder list's ticks live in the control until OK: keep them across the refill.
    for (INT_PTR i = 0; i < m_enabledDirs.GetSize(); ++i)
        m_enabledDirs[i].type = m_dirList.GetCheck(int(i)) ? kPreviewTreeMode : kPreviewFolderMode;
    if (listId == IDC_PREVIEW_DIRS && selected < m_enabledDirs.GetSize())
        m_enabledDirs.RemoveAt(INT_PTR(selected));
    else if (listId == IDC_PREVIEW_NEVER_DIRS && selected < m_disabledDirs.GetSize())
        m_disabledDirs.RemoveAt(INT_PTR(selected));
    else if (listId == IDC_PREVIEW_KINDS && selected < m_kinds.GetSize())
    {
        m_kinds.RemoveAt(INT_PTR(selected));
        m_kindsChanged = true;
    }
    FillLists();
}

BOOL CDefPreviewDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    for (CSelectColorButton& button : m_colors)
        if (button.ReflectParentMessage(WM_COMMAND, wParam, lParam))
            return TRUE;
    if (HIWORD(wParam) == BN_CLICKED)
        switch (LOWORD(wParam))
        {
        case IDC_PREVIEW_DIRS_REMOVE:
            RemoveSelected(IDC_PREVIEW_DIRS);
            return TRUE;
        case IDC_PREVIEW_NEVER_DIRS_REMOVE:
            RemoveSelected(IDC_PREVIEW_NEVER_DIRS);
            return TRUE;
        case IDC_PREVIEW_KIND_ADD:
            AddKind();
            return TRUE;
        case IDC_PREVIEW_KIND_REMOVE:
            RemoveSelected(IDC_PREVIEW_KINDS);
            return TRUE;
        default:
            break;
        }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CDefPreviewDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM)
        for (CSelectColorButton& button : m_colors)
            if (button.ReflectParentMessage(message, wParam, lParam))
                return TRUE;
    return CDialog::WindowProc(message, wParam, lParam);
}

void CDefPreviewDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    g_PREVIEW_DIR_ICON_H_POS = SelectedIndex(m_hWnd, IDC_PREVIEW_DIR_ICON_H_POS, g_PREVIEW_DIR_ICON_H_POS);
    g_PREVIEW_DIR_ICON_V_POS = SelectedIndex(m_hWnd, IDC_PREVIEW_DIR_ICON_V_POS, g_PREVIEW_DIR_ICON_V_POS);
    g_PREVIEW_DIR_ICON_BGCOLOR_FILL = IsDlgButtonChecked(IDC_PREVIEW_DIR_ICON_FILL) == BST_CHECKED ? 1 : 0;
    for (size_t i = 0; i < m_colors.size(); ++i)
        g_DisplayColors[size_t(kPreviewColorIndexes[i])] = m_colors[i].m_color;
    for (INT_PTR i = 0; i < m_enabledDirs.GetSize(); ++i)
        m_enabledDirs[i].type = m_dirList.GetCheck(int(i)) ? kPreviewTreeMode : kPreviewFolderMode;
    if (m_loader != nullptr)
    {
        m_loader->SetDirectoryLists(m_enabledDirs, m_disabledDirs);
        m_loader->SetDisplayedKinds(m_kinds);
    }
    EndDialog(IDOK);
}
