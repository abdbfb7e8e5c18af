#include "filer/dialogs/SortDlg.h"

#include "res/FilerDialogs.h"

namespace
{
// The buttons of each radio group in value order: the first checked one gives the value.
const int kFirstKeyButtons[] = {IDC_SORT_BY_NAME,      IDC_SORT_BY_TIME,       IDC_SORT_BY_SIZE,
                                IDC_SORT_BY_EXTENSION, IDC_SORT_BY_ATTRIBUTES, IDC_SORT_NONE};
const int kDirectoryOrderButtons[] = {IDC_SORT_DIRECTORY_ASCENDING, IDC_SORT_DIRECTORY_DESCENDING};
const int kFileOrderButtons[] = {IDC_SORT_FILE_ASCENDING, IDC_SORT_FILE_DESCENDING};

const wchar_t* const kSecondKeyTexts[] = {
    L"デフォルト",       L"ファイル名でソート", L"時間でソート", L"ファイルサイズでソート",
    L"拡張子名でソート", L"属性でソート",       L"ソートしない"};
const wchar_t* const kDirectoryKeyTexts[] = {L"ファイルの形式と同じ", L"ファイル名でソート",
                                             L"時間でソート",         L"ファイルサイズでソート",
                                             L"拡張子名でソート",     L"属性でソート"};

template <size_t N> void CheckValue(CDialog& dialog, const int (&buttons)[N], int value)
{
    if (value < 0)
        value = 0;
    if (value >= static_cast<int>(N))
        value = static_cast<int>(N) - 1;
    for (size_t i = 0; i < N; ++i)
        dialog.CheckDlgButton(buttons[i], static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
}

template <size_t N> void ReadValue(CDialog& dialog, const int (&buttons)[N], int& value)
{
    for (size_t i = 0; i < N; ++i)
    {
        if (dialog.IsDlgButtonChecked(buttons[i]) == BST_CHECKED)
        {
            value = static_cast<int>(i);
            return;
        }
    }
}

template <size_t N> void FillCombo(CDialog& dialog, int id, const wchar_t* const (&texts)[N], int selected)
{
    HWND combo = ::GetDlgItem(dialog.m_hWnd, id);
    for (const wchar_t* text : texts)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageW(combo, CB_SETCURSEL, selected >= 0 && selected < static_cast<int>(N) ? selected : 0, 0);
}

int ComboIndex(CDialog& dialog, int id, int old)
{
    LRESULT index = ::SendDlgItemMessageW(dialog.m_hWnd, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? old : static_cast<int>(index);
}
} // namespace

CSortDlg::CSortDlg(CWnd* pParent) : CDialog(IDD_SORT, pParent) {}

BOOL CSortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_bTemporary)
        SetWindowText(L"仮ファイルソート");
    CheckValue(*this, kFirstKeyButtons, m_sort.m_fileKey);
    CheckValue(*this, kDirectoryOrderButtons, m_sort.m_directoryOrder);
    CheckValue(*this, kFileOrderButtons, m_sort.m_fileOrder);
    FillCombo(*this, IDC_SORT_SECOND_KEY, kSecondKeyTexts, m_sort.m_secondKey);
    FillCombo(*this, IDC_SORT_DIRECTORY_KEY, kDirectoryKeyTexts, m_sort.m_directoryKey);
    CheckDlgButton(IDC_SORT_MIX_DIRECTORIES, m_sort.m_mixDirectories ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CSortDlg::OnOK()
{
    ReadValue(*this, kFirstKeyButtons, m_sort.m_fileKey);
    ReadValue(*this, kDirectoryOrderButtons, m_sort.m_directoryOrder);
    ReadValue(*this, kFileOrderButtons, m_sort.m_fileOrder);
    m_sort.m_secondKey = ComboIndex(*this, IDC_SORT_SECOND_KEY, m_sort.m_secondKey);
    m_sort.m_directoryKey = ComboIndex(*this, IDC_SORT_DIRECTORY_KEY, m_sort.m_directoryKey);
    m_sort.m_mixDirectories = IsDlgButtonChecked(IDC_SORT_MIX_DIRECTORIES) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}
