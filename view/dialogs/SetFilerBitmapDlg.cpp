#include "view/dialogs/SetFilerBitmapDlg.h"
#include "app/dialogs/DialogHelpers.h"

#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/FolderChooser.h"
#include "app/settings/ViewSettings.h"
#include "framework/FwLock.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/viewer/BackgroundSchedule.h"
#include "res/ViewSetupDialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cwctype>
#include <vector>

const WallpaperPlacementRow g_WallpaperPlacementRows[WALLPAPER_PLACEMENT_ROW_COUNT] = {
    {L"画面の幅が画像の幅より小さい時のX座標", &g_BACKBMPSMALLX, &g_BACKBMPSMALLXPOS, L"左", L"右"},
    {L"画面の幅が画像の幅より大きい時のX座標", &g_BACKBMPLARGEX, &g_BACKBMPLARGEXPOS, L"左", L"右"},
    {L"画面の高さが画像の高さより小さい時のY座標", &g_BACKBMPSMALLY, &g_BACKBMPSMALLYPOS, L"上", L"下"},
    {L"画面の高さが画像の高さより大きい時のY座標", &g_BACKBMPLARGEY, &g_BACKBMPLARGEYPOS, L"上", L"下"},
};

namespace
{

const int kPlacementButtons[] = {IDC_FILERBMP_FIRST_EDGE, IDC_FILERBMP_CENTRE, IDC_FILERBMP_SECOND_EDGE,
                                 IDC_FILERBMP_AT_COORDINATE};

const wchar_t* const kChangeTypes[] = {L"変更しない", L"Filer起動時に変更", L"現在の時間から下記時間毎に変更",
                                       L"今日の00:00:00から下記時間毎に変更"};

// Leading decimal digits count; text that does not begin with one gives 0.
int LeadingNumber(const CString& text)
{
    int value = 0;
    for (int i = 0; i < text.GetLength() && iswdigit(text[i]) && value < 100000000; ++i)
        value = value * 10 + (text[i] - L'0');
    return value;
}

} // namespace

CSetFilerBitmapDlg::CSetFilerBitmapDlg(CWnd* parent) : CDialog(IDD_SET_FILER_BITMAP, parent) {}

void CSetFilerBitmapDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_FILERBMP_PATH, m_path);
    DDX_Check(pDX, IDC_FILERBMP_SHOW, m_show);
    DDX_Text(pDX, IDC_FILERBMP_DAYS, m_days);
    DDV_MinMaxInt(pDX, m_days, 0, 365);
    DDX_Text(pDX, IDC_FILERBMP_HOURS, m_hours);
    DDV_MinMaxInt(pDX, m_hours, 0, 24);
    DDX_Text(pDX, IDC_FILERBMP_MINUTES, m_minutes);
    DDV_MinMaxInt(pDX, m_minutes, 0, 60);
    DDX_Radio(pDX, IDC_FILERBMP_IN_ORDER, m_random);
    DDX_Check(pDX, IDC_FILERBMP_TILE, m_tile);
}

BOOL CSetFilerBitmapDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < WALLPAPER_PLACEMENT_ROW_COUNT; ++i)
    {
        m_placement[i] = *g_WallpaperPlacementRows[i].placement;
        m_coordinate[i] = *g_WallpaperPlacementRows[i].coordinate;
        SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_PLACEMENT, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(g_WallpaperPlacementRows[i].name));
    }
    SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_PLACEMENT, CB_SETCURSEL, 0, 0);
    m_shownRow = 0;
    ShowPlacementRow(0);
    SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_BRIGHTNESS, TBM_SETRANGE, TRUE, MAKELPARAM(0, 511));
    SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_BRIGHTNESS, TBM_SETPOS, TRUE, g_BACKPALLETCHANGE + 255);
    for (const wchar_t* type : kChangeTypes)
        SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_CHANGE_TYPE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(type));
    SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_CHANGE_TYPE, CB_SETCURSEL, g_FILERBMPCHANGETYPE, 0);
    {
        CHandleLock lock(g_DataMutex);
        m_files.Copy(g_WallpaperFiles);
    }
    RefreshList();
    EnableForChangeType();
    CheckDlgButton(IDC_FILERBMP_USE_PLUGIN, g_FILERBMPUSEPLUGIN ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CSetFilerBitmapDlg::ShowPlacementRow(int row)
{
    if (row < 0 || row >= WALLPAPER_PLACEMENT_ROW_COUNT)
        return;
    for (int button : kPlacementButtons)
        CheckDlgButton(button, BST_UNCHECKED);
    CString text;
    text.Format(L"%d", m_coordinate[row]);
    SetDlgItemText(IDC_FILERBMP_COORDINATE, text);
    if (m_placement[row] >= 0 && m_placement[row] <= 3)
        CheckDlgButton(kPlacementButtons[m_placement[row]], BST_CHECKED);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FILERBMP_COORDINATE), m_placement[row] == 3);
    SetDlgItemText(IDC_FILERBMP_FIRST_EDGE, g_WallpaperPlacementRows[row].firstLabel);
    SetDlgItemText(IDC_FILERBMP_SECOND_EDGE, g_WallpaperPlacementRows[row].secondLabel);
}

void CSetFilerBitmapDlg::StorePlacementRow(int row)
{
    if (row < 0 || row >= WALLPAPER_PLACEMENT_ROW_COUNT)
        return;
    CString text;
    GetDlgItemText(IDC_FILERBMP_COORDINATE, text);
    m_coordinate[row] = LeadingNumber(text);
    for (int i = 0; i < 4; ++i)
        if (IsDlgButtonChecked(kPlacementButtons[i]) == BST_CHECKED)
        {
            m_placement[row] = i;
            break;
        }
}

int CSetFilerBitmapDlg::ChangeType() const
{
    const LRESULT type = SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_CHANGE_TYPE, CB_GETCURSEL, 0, 0);
    return type < 0 ? 0 : static_cast<int>(type);
}

bool CSetFilerBitmapDlg::UsePlugIn() const
{
    return IsDlgButtonChecked(IDC_FILERBMP_USE_PLUGIN) == BST_CHECKED;
}

void CSetFilerBitmapDlg::EnableForChangeType()
{
    const int type = ChangeType();
    auto enable = [this](int id, bool on) { ::EnableWindow(::GetDlgItem(m_hWnd, id), on); };
    for (int id : {IDC_FILERBMP_DAYS, IDC_FILERBMP_HOURS, IDC_FILERBMP_MINUTES})
        enable(id, type >= 2);
    for (int id : {IDC_FILERBMP_LIST, IDC_FILERBMP_ADD_FOLDER, IDC_FILERBMP_ADD, IDC_FILERBMP_REMOVE,
                   IDC_FILERBMP_UP, IDC_FILERBMP_DOWN, IDC_FILERBMP_IN_ORDER, IDC_FILERBMP_AT_RANDOM})
        enable(id, type >= 1);
    SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_PATH, EM_SETREADONLY, type >= 1, 0);
    enable(IDC_FILERBMP_BROWSE, type == 0);
}

void CSetFilerBitmapDlg::RefreshList()
{
    SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_RESETCONTENT, 0, 0);
    if (ChangeType() == 0)
        return;
    CString path;
    GetDlgItemText(IDC_FILERBMP_PATH, path);
    int caret = -1;
    for (INT_PTR i = 0; i < m_files.GetSize(); ++i)
    {
        SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(m_files[i].m_name)));
        if (caret < 0 && m_files[i].m_name.CompareNoCase(path) == 0)
            caret = static_cast<int>(i);
    }
    if (caret >= 0)
    {
        SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_SETSEL, TRUE, caret);
        SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_SETCARETINDEX, caret, FALSE);
    }
}

void CSetFilerBitmapDlg::ChooseSinglePicture()
{
    CString file;
    if (UsePlugIn())
    {
        if (ChooseFile(L"全てのファイル|*.*||", file) && PlugInAccepts(file))
            SetDlgItemText(IDC_FILERBMP_PATH, file);
        return;
    }
    if (ChooseFile(L"BITMAP|*.BMP||", file))
        SetDlgItemText(IDC_FILERBMP_PATH, file);
}

void CSetFilerBitmapDlg::AddOneFile()
{
    CString file;
    if (UsePlugIn())
    {
        if (ChooseFile(L"すべてのファイル|*.*||", file) && PlugInAccepts(file))
            m_files.AddUnique(file);
    }
    else if (ChooseFile(L"Bitmapファイル|*.BMP||", file))
        m_files.AddUnique(file);
    RefreshList();
}

void CSetFilerBitmapDlg::AddFolder()
{
    CString folder = m_startFolder;
    if (!ChooseFolder(folder))
        return;
    AddFolderTree(folder);
    RefreshList();
}

void CSetFilerBitmapDlg::AddFolderTree(LPCWSTR folder)
{
    CWalkPathGuard guard;
    CString start(folder);
    while (start.GetLength() > 3 && start[start.GetLength() - 1] == L'\\')
        start = start.Left(start.GetLength() - 1);
    ScanFolder(start, guard);
}

void CSetFilerBitmapDlg::ScanFolder(const CString& folder, CWalkPathGuard& guard)
{
    CWalkPathStep step(guard, folder);
    if (!step.entered)
        return;
    const bool plugIn = UsePlugIn();
    CString pattern = folder;
    if (pattern.IsEmpty() || pattern[pattern.GetLength() - 1] != L'\\')
        pattern += L'\\';
    const CString prefix = pattern;
    pattern += L"*.*";
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileLong(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const CString name(data.cFileName);
        const CString path = prefix + name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        {
            if (name != L"." && name != L"..")
                ScanFolder(path, guard);
            continue;
        }
        if (IsBmpFileName(name) || (plugIn && PlugInAccepts(path)))
            m_files.AddUnique(path);
    } while (FindNextFileW(find, &data));
    FindCloseLong(find);
}

void CSetFilerBitmapDlg::RemoveSelected()
{
    const LRESULT count = SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_GETCOUNT, 0, 0);
    for (LRESULT i = count - 1; i >= 0; --i)
        if (SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_GETSEL, i, 0) > 0 && i < m_files.GetSize())
            m_files.RemoveAt(i);
    RefreshList();
}

void CSetFilerBitmapDlg::MoveCaretRow(int step)
{
    const LRESULT caret = SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_GETCARETINDEX, 0, 0);
    const LRESULT count = SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_GETCOUNT, 0, 0);
    if (caret < 0 || caret >= count || caret + step < 0 || caret + step >= count)
        return;
    m_files.Swap(caret, caret + step);
    RefreshList();
}

BOOL CSetFilerBitmapDlg::ChooseFolder(CString& path)
{
    return BrowseForFolder(path, this, FALSE);
}

BOOL CSetFilerBitmapDlg::ChooseFile(LPCWSTR filter, CString& path)
{
    // "name|pattern||" as the filter strings are written, with the bars made the
    // terminators the common dialog reads.
    std::vector<wchar_t> filters(filter, filter + wcslen(filter) + 1);
    for (wchar_t& c : filters)
        if (c == L'|')
            c = 0;
    FileDialogRequest request(m_hWnd, filters.data());
    request.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    CString chosen;
    if (!BrowseForFile(request, chosen))
        return FALSE;
    path = chosen;
    return TRUE;
}

bool CSetFilerBitmapDlg::PlugInAccepts(LPCWSTR path)
{
    return FindSusiePlugIn(path, SUSIE_KIND_IMAGE, 0, nullptr) >= 0;
}

void CSetFilerBitmapDlg::OnOK()
{
    // What a refused interval leaves in place is already stored: only the fields of
    // the exchange wait for the checks.
    const LRESULT position = SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_BRIGHTNESS, TBM_GETPOS, 0, 0);
    m_brightness = static_cast<int>(position) - 255;
    g_BACKPALLETCHANGE = m_brightness;
    StorePlacementRow(m_shownRow);
    for (int i = 0; i < WALLPAPER_PLACEMENT_ROW_COUNT; ++i)
    {
        *g_WallpaperPlacementRows[i].placement = m_placement[i];
        *g_WallpaperPlacementRows[i].coordinate = m_coordinate[i];
    }
    {
        CHandleLock lock(g_DataMutex);
        g_WallpaperFiles.Copy(m_files);
    }
    g_FILERBMPCHANGETYPE = ChangeType();
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

BOOL CSetFilerBitmapDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id)
    {
    case IDC_FILERBMP_PLACEMENT:
        if (code == CBN_SELCHANGE)
        {
            StorePlacementRow(m_shownRow);
            const LRESULT row = SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_PLACEMENT, CB_GETCURSEL, 0, 0);
            if (row >= 0 && row < WALLPAPER_PLACEMENT_ROW_COUNT)
                m_shownRow = static_cast<int>(row);
            ShowPlacementRow(m_shownRow);
        }
        return TRUE;
    case IDC_FILERBMP_FIRST_EDGE:
    case IDC_FILERBMP_CENTRE:
    case IDC_FILERBMP_SECOND_EDGE:
        if (code == BN_CLICKED)
            ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FILERBMP_COORDINATE), FALSE);
        return TRUE;
    case IDC_FILERBMP_AT_COORDINATE:
        if (code == BN_CLICKED)
        {
            CString text;
            text.Format(L"%d", m_coordinate[m_shownRow]);
            SetDlgItemText(IDC_FILERBMP_COORDINATE, text);
            ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FILERBMP_COORDINATE), TRUE);
        }
        return TRUE;
    case IDC_FILERBMP_CHANGE_TYPE:
        if (code == CBN_SELCHANGE)
        {
            EnableForChangeType();
            RefreshList();
        }
        return TRUE;
    case IDC_FILERBMP_LIST:
        if (code == LBN_SELCHANGE)
        {
            const LRESULT caret = SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_GETCARETINDEX, 0, 0);
            if (caret >= 0 && caret < m_files.GetSize() &&
                SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_LIST, LB_GETSEL, caret, 0) > 0)
                SetDlgItemText(IDC_FILERBMP_PATH, m_files[caret].m_name);
        }
        return TRUE;
    case IDC_FILERBMP_USE_PLUGIN:
        // Takes effect at once: Cancel keeps it.
        if (code == BN_CLICKED)
            g_FILERBMPUSEPLUGIN = UsePlugIn() ? 1 : 0;
        return TRUE;
    default:
        break;
    }
    if (code != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    switch (id)
    {
    case IDC_FILERBMP_BROWSE:
        ChooseSinglePicture();
        return TRUE;
    case IDC_FILERBMP_ADD:
        AddOneFile();
        return TRUE;
    case IDC_FILERBMP_ADD_FOLDER:
        AddFolder();
        return TRUE;
    case IDC_FILERBMP_REMOVE:
        RemoveSelected();
        return TRUE;
    case IDC_FILERBMP_UP:
        MoveCaretRow(-1);
        return TRUE;
    case IDC_FILERBMP_DOWN:
        MoveCaretRow(1);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
