#include "tools/settings/DisplaySettingDialogs.h"

#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "res/SettingsDialogs.h"

int* const g_DisplayFileFlags[kDisplayFileFlagCount] = {&g_HIDDENVIEWFLAG,      &g_DISP_SYSTEM_FILE,
                                                        &g_DISP_FIRST_DOT_FILE, &g_DISP_READ_ONLY_FILE,
                                                        &g_NOTVIEWCURRENTDIR,   &g_NOTVIEWUPDIR};

const FilerOptionRow g_HeaderOptionRows[kHeaderOptionCount] = {
    {L"ヘッダーのパスをファイル名に", &g_EXCHANGEPASSFILE},
    {L"ヘッダータイトル部にVolume名を表示", &g_DISP_VOLUME_AT_HEADER},
    {L"Volume名を表示", &g_HVOLUME8},
    {L"容量を表示", &g_HVOLUME0},
    {L"空き容量を表示", &g_HVOLUME1},
    {L"カレントファイル数（FILE+DIR)表示", &g_HVOLUME2},
    {L"タグファイル数（FILE+DIR)表示", &g_HVOLUME3},
    {L"カレントファイル数表示", &g_HVOLUME4},
    {L"カレントディレクトリ数表示", &g_HVOLUME5},
    {L"選択ファイル数表示", &g_HVOLUME6},
    {L"選択ディレクトリ数表示", &g_HVOLUME7},
    {L"ヘッダにドライブリスト表示", &g_DRIVE_LIST_ON_HEADER},
    {L"バッテリ残量を表示", &g_DISP_BATTERY_INFO},
};

namespace
{
const int kDisplayFileBoxes[kDisplayFileFlagCount] = {IDC_DISPFILE_HIDDEN,    IDC_DISPFILE_SYSTEM,
                                                      IDC_DISPFILE_FIRST_DOT, IDC_DISPFILE_READ_ONLY,
                                                      IDC_DISPFILE_CURRENT,   IDC_DISPFILE_PARENT};

bool IsInverted(int bit)
{
    return bit >= 4;
}

struct FilerInfoBox
{
    int id;
    int FilerInfoPreset::*field;
};
const FilerInfoBox kFilerInfoBoxes[] = {
    {IDC_FILERINFO_DATE, &FilerInfoPreset::date},
    {IDC_FILERINFO_TIME, &FilerInfoPreset::time},
    {IDC_FILERINFO_NO_SECONDS, &FilerInfoPreset::noSeconds},
    {IDC_FILERINFO_SIZE, &FilerInfoPreset::size},
    {IDC_FILERINFO_ATTRIBUTES, &FilerInfoPreset::attributes},
};

int SelectedItem(const CWnd* dialog, int id, UINT message)
{
    return int(::SendDlgItemMessageW(dialog->m_hWnd, id, message, 0, 0));
}

// These edits are parsed without a check: text that is no number counts as 0.
int ReadNumber(const CWnd* dialog, int id)
{
    CString text;
    dialog->GetDlgItemText(id, text);
    return _wtoi(text);
}

void ShowNumber(CWnd* dialog, int id, int value)
{
    CString text;
    text.Format(L"%d", value);
    dialog->SetDlgItemText(id, text);
}
} // namespace

int CurrentDisplayFileMask()
{
    int mask = 0;
    for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
        if (*g_DisplayFileFlags[bit] != 0)
            mask |= 1 << bit;
    return mask;
}

// ---- CDispFileSettingDlg -------------------------------------------------------------

CDispFileSettingDlg::CDispFileSettingDlg(CWnd* parent) : CDialog(IDD_DISP_FILE_SETTING, parent) {}

BOOL CDispFileSettingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND group = ::GetDlgItem(m_hWnd, IDC_DISPFILE_GROUP);
    ::SendMessageW(group, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"現在値"));
    for (int i = 1; i <= kDisplayFilterSlotCount; ++i)
    {
        CString text;
        text.Format(L"設定%d", i);
        ::SendMessageW(group, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)));
    }
    ::SendMessageW(group, CB_SETCURSEL, 0, 0);
    ShowMask(CurrentDisplayFileMask());
    return TRUE;
}

void CDispFileSettingDlg::ShowMask(int mask)
{
    for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
    {
        const bool set = (mask >> bit) & 1;
        CheckDlgButton(kDisplayFileBoxes[bit], set != IsInverted(bit) ? BST_CHECKED : BST_UNCHECKED);
    }
}

int CDispFileSettingDlg::ShownMask() const
{
    int mask = 0;
    for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
    {
        const bool ticked = IsDlgButtonChecked(kDisplayFileBoxes[bit]) == BST_CHECKED;
        if (ticked != IsInverted(bit))
            mask |= 1 << bit;
    }
    return mask;
}

void CDispFileSettingDlg::StorePreset()
{
    const int entry = SelectedItem(this, IDC_DISPFILE_GROUP, CB_GETCURSEL);
    if (entry < 1 || entry > kDisplayFilterSlotCount)
        return;
    g_DisplayFilterSlots[entry - 1] = ShownMask();
    Tell(this, L"設定が完了しました", L"完了");
}

BOOL CDispFileSettingDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDC_DISPFILE_GROUP && HIWORD(wParam) == CBN_SELCHANGE)
    {
        const int entry = SelectedItem(this, IDC_DISPFILE_GROUP, CB_GETCURSEL);
        if (entry >= 1 && entry <= kDisplayFilterSlotCount)
            ShowMask(g_DisplayFilterSlots[entry - 1]);
        else
            ShowMask(CurrentDisplayFileMask());
        return TRUE;
    }
    if (id == IDC_DISPFILE_STORE && HIWORD(wParam) == BN_CLICKED)
    {
        StorePreset();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDispFileSettingDlg::OnOK()
{
    const int mask = ShownMask();
    for (int bit = 0; bit < kDisplayFileFlagCount; ++bit)
        *g_DisplayFileFlags[bit] = (mask >> bit) & 1;
    EndDialog(IDOK);
}

// ---- CDefDisplayDlg ------------------------------------------------------------------

CDefDisplayDlg::CDefDisplayDlg(CWnd* parent) : CDialog(IDD_DEF_DISPLAY, parent) {}

BOOL CDefDisplayDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowNumber(this, IDC_DEFDISP_ADD_HEIGHT, g_ADD_HEIGHT_ONE_LINE);
    return TRUE;
}

void CDefDisplayDlg::OnOK()
{
    g_ADD_HEIGHT_ONE_LINE = ReadNumber(this, IDC_DEFDISP_ADD_HEIGHT);
    EndDialog(IDOK);
}

// ---- CDefFilerInfoDlg ----------------------------------------------------------------

CDefFilerInfoDlg::CDefFilerInfoDlg(CWnd* parent) : CDialog(IDD_DEF_FILER_INFO, parent) {}

BOOL CDefFilerInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
        m_presets[size_t(i)] = g_FilerInfoPresets[i];
    HWND list = ::GetDlgItem(m_hWnd, IDC_FILERINFO_PRESETS);
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
    {
        CString text;
        text.Format(L"設定%d", i);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)));
    }
    // A preset number out of range in the file falls back to the first preset.
    const int inUse =
        g_FILERINFONUMBER >= 0 && g_FILERINFONUMBER < kFilerInfoPresetCount ? g_FILERINFONUMBER : 0;
    ::SendMessageW(list, LB_SETCURSEL, WPARAM(inUse), 0);
    ShowPreset(inUse);
    return TRUE;
}

void CDefFilerInfoDlg::ShowPreset(int index)
{
    m_shown = index;
    const FilerInfoPreset& preset = m_presets[size_t(index)];
    for (const FilerInfoBox& box : kFilerInfoBoxes)
        CheckDlgButton(box.id, preset.*box.field ? BST_CHECKED : BST_UNCHECKED);
}

void CDefFilerInfoDlg::StoreShownPreset()
{
    FilerInfoPreset& preset = m_presets[size_t(m_shown)];
    for (const FilerInfoBox& box : kFilerInfoBoxes)
        preset.*box.field = IsDlgButtonChecked(box.id) == BST_CHECKED ? 1 : 0;
}

BOOL CDefFilerInfoDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_FILERINFO_PRESETS && HIWORD(wParam) == LBN_SELCHANGE)
    {
        const int selected = SelectedItem(this, IDC_FILERINFO_PRESETS, LB_GETCURSEL);
        if (selected >= 0 && selected < kFilerInfoPresetCount)
        {
            StoreShownPreset();
            ShowPreset(selected);
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDefFilerInfoDlg::OnOK()
{
    StoreShownPreset();
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
        g_FilerInfoPresets[i] = m_presets[size_t(i)];
    g_FILERINFONUMBER = m_shown;
    EndDialog(IDOK);
}

// ---- CHeaderDefDlg -------------------------------------------------------------------

CHeaderDefDlg::CHeaderDefDlg(CWnd* parent) : CDialog(IDD_HEADER_DEF, parent) {}

BOOL CHeaderDefDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND type = ::GetDlgItem(m_hWnd, IDC_HEADER_TYPE);
    ::SendMessageW(type, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"TYPE0"));
    ::SendMessageW(type, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"TYPE1"));
    ::SendMessageW(type, CB_SETCURSEL, WPARAM(g_WRITEHEADERTYPE == 0 ? 0 : 1), 0);
    m_options.SubclassDlgItem(IDC_HEADER_OPTIONS, this);
    for (const FilerOptionRow& row : g_HeaderOptionRows)
        m_options.SetCheck(m_options.AddString(row.label), *row.setting != 0 ? 1 : 0);
    ShowNumber(this, IDC_HEADER_BATTERY_ALARM, g_BATTERY_INFO_ALARM_PERSENT);
    ShowDescription();
    return TRUE;
}

void CHeaderDefDlg::ShowDescription()
{
    const int type = SelectedItem(this, IDC_HEADER_TYPE, CB_GETCURSEL);
    SetDlgItemText(IDC_HEADER_DESCRIPTION,
                   type == 0 ? L"Header無し"
                             : L"通常タイプ\n  ボリューム情報\n  パス名\n  ファイル情報\n  ファイル属性");
}

BOOL CHeaderDefDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_HEADER_TYPE && HIWORD(wParam) == CBN_SELCHANGE)
    {
        ShowDescription();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CHeaderDefDlg::OnOK()
{
    const int type = SelectedItem(this, IDC_HEADER_TYPE, CB_GETCURSEL);
    if (type >= 0)
        g_WRITEHEADERTYPE = type;
    for (int i = 0; i < kHeaderOptionCount; ++i)
        *g_HeaderOptionRows[i].setting = m_options.GetCheck(i) != 0 ? 1 : 0;
    g_BATTERY_INFO_ALARM_PERSENT = ReadNumber(this, IDC_HEADER_BATTERY_ALARM);
    EndDialog(IDOK);
}
