#include "graphics/plugins/GraphicSettingPages.h"

#include <commctrl.h>

#include "util/Globals.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "graphics/SusiePlugInScan.h"
#include "graphics/plugins/AttachpluginDlg.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "res/PictureDialogs.h"

#include <vector>

namespace
{
// ---- General page ----

struct CheckRow
{
    const wchar_t* text;
    int* setting;
};

const CheckRow kGeneralChecks[] = {
    {L"終了時Tmpファイルを消す", &g_DELTEMP},
    {L"幅をスケーリングする", &g_HEIGHTSCALING},
    {L"高さをスケーリングする", &g_WIDTHSCALING},
    {L"表示前にフルスクリーン化する", &g_BEFOREFULLSCREEN},
    {L"ウィンドウサイズを変更しない", &g_GRAPHIC_VIEW_NOT_CHANGE_WND_SIZE},
    {L"画像をすべて表示後、画像表示モードを維持する", &g_DRIVELISTCURJUMPCTRL},
};

void FillCombo(CWnd* dialog, int id, std::initializer_list<const wchar_t*> texts, int selected)
{
    HWND combo = ::GetDlgItem(dialog->m_hWnd, id);
    for (const wchar_t* text : texts)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageW(combo, CB_SETCURSEL, WPARAM(selected >= 0 && selected < int(texts.size()) ? selected : 0),
                   0);
}

int ComboSelection(CWnd* dialog, int id, int keep)
{
    const LRESULT selected = ::SendDlgItemMessageW(dialog->m_hWnd, id, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? keep : int(selected);
}

// ---- Mouse page ----

struct Choice
{
    int value;
    const wchar_t* text;
};

const Choice kDoubleClickChoices[] = {{0, L"動作無し"}, {1, L"Return Key"}, {-1, nullptr}};
const Choice kWheelChoices[] = {{0, L"動作無し"},   {2, L"上へスクロール"}, {3, L"下へスクロール"},
                                {4, L"ズームイン"}, {5, L"ズームアウト"},   {7, L"前の画像へ"},
                                {6, L"次の画像へ"}, {-1, nullptr}};

// Actions of the mouse-operation record: 2 left double click, 4 wheel up, 5 wheel
// down; modifiers 0 none, 1 Shift, 2 Ctrl.
struct MouseRow
{
    int id;
    const Choice* choices;
    int action;
    int modifier;
};

const MouseRow kMouseRows[] = {
    {IDC_GMOUSE_DOUBLE_CLICK, kDoubleClickChoices, 2, 0}, {IDC_GMOUSE_WHEEL_UP, kWheelChoices, 4, 0},
    {IDC_GMOUSE_WHEEL_DOWN, kWheelChoices, 5, 0},         {IDC_GMOUSE_CTRL_WHEEL_UP, kWheelChoices, 4, 2},
    {IDC_GMOUSE_CTRL_WHEEL_DOWN, kWheelChoices, 5, 2},    {IDC_GMOUSE_SHIFT_WHEEL_UP, kWheelChoices, 4, 1},
    {IDC_GMOUSE_SHIFT_WHEEL_DOWN, kWheelChoices, 5, 1},
};

// ---- Susie page ----

int KindOfList(int id)
{
    switch (id)
    {
    case IDC_SUSIE_IMAGE_PATTERNS:
    case IDC_SUSIE_IMAGE_CONFIG:
    case IDC_SUSIE_IMAGE_UP:
    case IDC_SUSIE_IMAGE_DOWN:
        return 2;
    default:
        return 1;
    }
}
} // namespace

// ---- CGraphicSettingGeneralPage ------------------------------------------------------

CGraphicSettingGeneralPage::CGraphicSettingGeneralPage() : CDialog(IDD_GRAPHIC_SETTING_GENERAL) {}

BOOL CGraphicSettingGeneralPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_checks.SubclassDlgItem(IDC_GRAPHIC_CHECKS, this);
    for (const CheckRow& row : kGeneralChecks)
        m_checks.SetCheck(m_checks.AddString(row.text), *row.setting != 0 ? 1 : 0);
    FillCombo(this, IDC_GRAPHIC_H_POS, {L"左", L"右", L"中心"}, m_hPos);
    FillCombo(this, IDC_GRAPHIC_V_POS, {L"上", L"下", L"中心"}, m_vPos);
    SetDlgItemText(IDC_GRAPHIC_TEMP_DIR, m_tempDirectory);
    CheckDlgButton(IDC_GRAPHIC_NO_DIALOG, m_noDialogLoading ? BST_CHECKED : BST_UNCHECKED);
    CString size;
    size.Format(L"%d", m_noDialogLoadingSize);
    SetDlgItemText(IDC_GRAPHIC_NO_DIALOG_SIZE, size);
    return TRUE;
}

BOOL CGraphicSettingGeneralPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_GRAPHIC_BROWSE_TEMP)
    {
        CString folder;
        GetDlgItemText(IDC_GRAPHIC_TEMP_DIR, folder);
        if (BrowseForFolder(folder, this, FALSE))
            SetDlgItemText(IDC_GRAPHIC_TEMP_DIR, folder);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CGraphicSettingGeneralPage::Apply()
{
    for (int i = 0; i < int(sizeof(kGeneralChecks) / sizeof(kGeneralChecks[0])); ++i)
        *kGeneralChecks[i].setting = m_checks.GetCheck(i) != 0 ? 1 : 0;
    m_hPos = ComboSelection(this, IDC_GRAPHIC_H_POS, m_hPos);
    m_vPos = ComboSelection(this, IDC_GRAPHIC_V_POS, m_vPos);
    GetDlgItemText(IDC_GRAPHIC_TEMP_DIR, m_tempDirectory);
    m_noDialogLoading = IsDlgButtonChecked(IDC_GRAPHIC_NO_DIALOG) == BST_CHECKED ? 1 : 0;
    CString size;
    GetDlgItemText(IDC_GRAPHIC_NO_DIALOG_SIZE, size);
    const int value = _wtoi(size);
    if (value >= 0)
        m_noDialogLoadingSize = value;
}

// ---- CGraphicSettingSusiePluginPage --------------------------------------------------

CGraphicSettingSusiePluginPage::CGraphicSettingSusiePluginPage() : CDialog(IDD_GRAPHIC_SETTING_SUSIE) {}

BOOL CGraphicSettingSusiePluginPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_imageList.SubclassDlgItem(IDC_SUSIE_IMAGE_LIST, this);
    m_archiveList.SubclassDlgItem(IDC_SUSIE_ARCHIVE_LIST, this);
    SetDlgItemText(IDC_SUSIE_FOLDER, m_plugInDirectory);
    const int radios[] = {IDC_SUSIE_FAST_OFF, IDC_SUSIE_FAST_NEW, IDC_SUSIE_FAST_ON};
    for (int i = 0; i < 3; ++i)
        CheckDlgButton(radios[i], i == m_highLoad ? BST_CHECKED : BST_UNCHECKED);
    FillLists();
    return TRUE;
}

INT_PTR CGraphicSettingSusiePluginPage::PlugInOfLine(int kind, int line)
{
    if (line < 0)
        return -1;
    CHandleLock lock(g_DataMutex);
    int seen = 0;
    for (INT_PTR i = 0; i < g_SusiePlugIns.GetCount(); ++i)
        if (g_SusiePlugIns[i].GetKind() == kind && seen++ == line)
            return i;
    return -1;
}

void CGraphicSettingSusiePluginPage::FillLists()
{
    CArray<CSusieDllFile> plugIns;
    {
        CHandleLock lock(g_DataMutex);
        plugIns.Copy(g_SusiePlugIns);
    }
    m_imageList.ResetContent();
    m_archiveList.ResetContent();
    int longest = 0;
    for (INT_PTR i = 0; i < plugIns.GetCount(); ++i)
        if (plugIns[i].m_fileName.GetLength() > longest)
            longest = plugIns[i].m_fileName.GetLength();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
    int widest[3] = {};
    for (INT_PTR i = 0; i < plugIns.GetCount(); ++i)
    {
        const CSusieDllFile& plugIn = plugIns[i];
        const int kind = plugIn.GetKind();
        if (kind == 0)
            continue;
        CString line = plugIn.m_fileName;
        while (line.GetLength() < longest + 1)
            line += L' ';
        line += L'[';
        for (INT_PTR p = 0; p < plugIn.m_patterns.GetSize(); ++p)
        {
            if (p > 0)
                line += L',';
            line += plugIn.m_patterns[p];
        }
        line += L']';
        line += plugIn.m_description;
        CCheckListBox& list = List(kind);
        list.SetCheck(list.AddString(line), plugIn.m_enabled ? 1 : 0);
        SIZE extent = {};
        ::GetTextExtentPoint32W(dc, line, line.GetLength(), &extent);
        if (extent.cx > widest[kind])
            widest[kind] = extent.cx;
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    for (int kind = 1; kind <= 2; ++kind)
        ::SendMessageW(List(kind).m_hWnd, LB_SETHORIZONTALEXTENT,
                       WPARAM(widest[kind] + List(kind).GetCheckAreaWidth()), 0);
}

void CGraphicSettingSusiePluginPage::Apply()
{
    // The lines' checks, archive list first (index kind - 1).
    std::vector<int> checks[2];
    for (int kind = 1; kind <= 2; ++kind)
        for (int line = 0; line < List(kind).GetCount(); ++line)
            checks[kind - 1].push_back(List(kind).GetCheck(line));
    {
        CHandleLock lock(g_DataMutex);
        size_t seen[3] = {};
        for (INT_PTR i = 0; i < g_SusiePlugIns.GetCount(); ++i)
        {
            const int kind = g_SusiePlugIns[i].GetKind();
            // A plug-in of neither kind has no line: its flag stays as it was.
            if (kind == 0)
                continue;
            const size_t line = seen[kind]++;
            if (line < checks[kind - 1].size())
                g_SusiePlugIns[i].m_enabled = checks[kind - 1][line] != 0 ? 1 : 0;
        }
    }
    m_highLoad = IsDlgButtonChecked(IDC_SUSIE_FAST_NEW) == BST_CHECKED  ? 1
                 : IsDlgButtonChecked(IDC_SUSIE_FAST_ON) == BST_CHECKED ? 2
                                                                        : 0;
    GetDlgItemText(IDC_SUSIE_FOLDER, m_plugInDirectory);
}

void CGraphicSettingSusiePluginPage::Rescan()
{
    CString folder;
    GetDlgItemText(IDC_SUSIE_FOLDER, folder);
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugInDir = folder;
    }
    // The scan asks the plug-ins outside the lock and puts the new list in whole.
    ScanSusiePlugIns(FALSE);
    FillLists();
}

void CGraphicSettingSusiePluginPage::Swap(int kind, int direction)
{
    CCheckListBox& list = List(kind);
    const int selected = list.GetCurSel();
    const int other = selected + direction;
    if (selected < 0 || other < 0 || other >= list.GetCount())
        return;
    const INT_PTR first = PlugInOfLine(kind, selected);
    const INT_PTR second = PlugInOfLine(kind, other);
    if (first < 0 || second < 0)
        return;
    {
        CHandleLock lock(g_DataMutex);
        if (first >= g_SusiePlugIns.GetCount() || second >= g_SusiePlugIns.GetCount())
            return;
        CSusieDllFile held = g_SusiePlugIns[first];
        g_SusiePlugIns[first] = g_SusiePlugIns[second];
        g_SusiePlugIns[second] = held;
    }
    const int upper = selected < other ? selected : other;
    const int lower = selected < other ? other : selected;
    CString text;
    list.GetText(upper, text);
    const int check = list.GetCheck(upper);
    list.DeleteString(upper);
    list.InsertString(lower, text);
    list.SetCheck(lower, check);
    list.SetCurSel(other);
}

void CGraphicSettingSusiePluginPage::EditPatterns(int kind)
{
    const INT_PTR index = PlugInOfLine(kind, List(kind).GetCurSel());
    if (index < 0)
        return;
    CAttachpluginDlg dlg(this);
    dlg.m_plugInIndex = index;
    if (dlg.DoModal() == IDOK)
        FillLists();
}

void CGraphicSettingSusiePluginPage::Configure(int kind)
{
    const INT_PTR index = PlugInOfLine(kind, List(kind).GetCurSel());
    if (index >= 0)
        ShowPlugInConfiguration(index, m_hWnd);
}

BOOL CGraphicSettingSusiePluginPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    switch (id)
    {
    case IDC_SUSIE_BROWSE_FOLDER: {
        CString folder;
        GetDlgItemText(IDC_SUSIE_FOLDER, folder);
        if (BrowseForFolder(folder, this, FALSE))
            SetDlgItemText(IDC_SUSIE_FOLDER, folder);
        return TRUE;
    }
    case IDC_SUSIE_RELOAD:
        Rescan();
        return TRUE;
    case IDC_SUSIE_IMAGE_PATTERNS:
    case IDC_SUSIE_ARCHIVE_PATTERNS:
        EditPatterns(KindOfList(id));
        return TRUE;
    case IDC_SUSIE_IMAGE_CONFIG:
    case IDC_SUSIE_ARCHIVE_CONFIG:
        Configure(KindOfList(id));
        return TRUE;
    case IDC_SUSIE_IMAGE_UP:
    case IDC_SUSIE_ARCHIVE_UP:
        Swap(KindOfList(id), -1);
        return TRUE;
    case IDC_SUSIE_IMAGE_DOWN:
    case IDC_SUSIE_ARCHIVE_DOWN:
        Swap(KindOfList(id), 1);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

// ---- CGraphicSettingMousePage --------------------------------------------------------

CGraphicSettingMousePage::CGraphicSettingMousePage() : CDialog(IDD_GRAPHIC_SETTING_MOUSE) {}

BOOL CGraphicSettingMousePage::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const MouseRow& row : kMouseRows)
    {
        HWND combo = ::GetDlgItem(m_hWnd, row.id);
        const int current = g_GraphicMouseOperations[row.action][row.modifier];
        int selected = 0;
        for (int i = 0; row.choices[i].value != -1; ++i)
        {
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.choices[i].text));
            if (row.choices[i].value == current)
                selected = i;
        }
        ::SendMessageW(combo, CB_SETCURSEL, WPARAM(selected), 0);
    }
    return TRUE;
}

void CGraphicSettingMousePage::Apply()
{
    for (const MouseRow& row : kMouseRows)
    {
        const LRESULT selected = ::SendDlgItemMessageW(m_hWnd, row.id, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR)
            g_GraphicMouseOperations[row.action][row.modifier] = row.choices[selected].value;
    }
}

// ---- CGraphicSettingSheet ------------------------------------------------------------

CGraphicSettingSheet::CGraphicSettingSheet(CWnd* parent) : CDialog(IDD_GRAPHIC_SETTING_SHEET, parent)
{
    // The thumbnail loader runs no plug-in while the list is being edited.
    m_lockedThread = g_pLoadPreviewThread;
    if (m_lockedThread != nullptr)
        m_lockedThread->AcquireReaderLock();
}

CGraphicSettingSheet::~CGraphicSettingSheet()
{
    if (m_lockedThread != nullptr)
        m_lockedThread->ReleaseReaderLock();
}

CDialog* CGraphicSettingSheet::Page(int index)
{
    switch (index)
    {
    case 0:
        return &m_general;
    case 1:
        return &m_susie;
    default:
        return &m_mouse;
    }
}

BOOL CGraphicSettingSheet::OnInitDialog()
{
    CDialog::OnInitDialog();
    const wchar_t* const captions[] = {L"一般", L"Susie Plug-in", L"マウス"};
    InsertTabs(*this, IDC_GRAPHIC_SHEET_TAB, captions, 3);
    ShowPage(0);
    return TRUE;
}

void CGraphicSettingSheet::ShowPage(int index)
{
    ShowTabPage(*this, IDC_GRAPHIC_SHEET_TAB, m_current >= 0 ? Page(m_current) : nullptr, *Page(index),
                index);
    m_current = index;
}

BOOL CGraphicSettingSheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == IDC_GRAPHIC_SHEET_TAB && header->code == TCN_SELCHANGE)
    {
        const int index = int(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
        if (index >= 0 && index < 3)
            ShowPage(index);
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CGraphicSettingSheet::OnOK()
{
    if (m_general.m_hWnd != nullptr)
        m_general.Apply();
    if (m_susie.m_hWnd != nullptr)
        m_susie.Apply();
    if (m_mouse.m_hWnd != nullptr)
        m_mouse.Apply();
    EndDialog(IDOK);
}
