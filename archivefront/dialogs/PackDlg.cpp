#include "archivefront/dialogs/PackDlg.h"

#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "app/settings/ArchiverSettings.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/DestinationList.h"
#include "filer/FilerPane.h"
#include "res/ArchiveDialogs.h"

BEGIN_MESSAGE_MAP(CPackDlg, CDialog)
ON_BN_CLICKED(IDC_PACKDLG_MORE, OnMore)
ON_BN_CLICKED(IDC_PACKDLG_BROWSE, OnBrowse)
END_MESSAGE_MAP()

namespace
{
const wchar_t* const kExtensionCases[3] = {L"小文字", L"大文字", L"デフォルト"};

void AddComboText(HWND combo, LPCWSTR text)
{
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}
} // namespace

CPackDlg::CPackDlg(CWnd* pParent) : CDialog(IDD_PACK, pParent) {}

BOOL CPackDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nameCompletion.Attach(this, IDC_PACKDLG_NAME, FALSE, COMPLETE_BOTH, m_sourceDir, m_paneIndex);
    m_destinationCompletion.Attach(this, IDC_PACKDLG_DESTINATION, TRUE, COMPLETE_DIRECTORIES, m_sourceDir,
                                   m_paneIndex);
    const CPackKindInfo& info = GetPackKindInfo(m_kind);
    CFilerPane* pane = m_paneIndex >= 0 && m_paneIndex <= 1 ? g_Panes[m_paneIndex] : nullptr;
    if (m_files.GetSize() == 0 && pane != nullptr)
    {
        CFileInfo entry;
        for (int n = 0; pane->GetTargetEntry(0, n, entry); ++n)
            m_files.Add(entry.GetName());
    }

    CheckDlgButton(IDC_PACKDLG_CONFIRM_OVERWRITE, g_PACKEXISTOVERWRITE ? BST_CHECKED : BST_UNCHECKED);
    if (m_perFile)
    {
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PACKDLG_CONFIRM_OVERWRITE), FALSE);
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PACKDLG_NAME), FALSE);
    }
    SetWindowText(m_perFile ? info.captionPerFile : info.captionOne);
    if (m_kind == PACK_KIND_LHA)
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PACKDLG_PASSWORD), FALSE);
    else if (m_kind == PACK_KIND_7Z)
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PACKDLG_PASSWORD), TRUE);

    m_options.SubclassDlgItem(IDC_PACKDLG_OPTIONS, this);
    if (info.backEnd == ARCFRONT_ARCHIVER)
        FillPackOptions();
    ShowMoreOptions(1);

    HWND sfx = ::GetDlgItem(m_hWnd, IDC_PACKDLG_SFX);
    for (int i = 0; i < info.sfxCount; ++i)
        AddComboText(sfx, info.sfxRows[i].text);
    ::SendMessageW(sfx, CB_SETCURSEL, GetStoredSfxRow(m_kind), 0);
    HWND type = ::GetDlgItem(m_hWnd, IDC_PACKDLG_TYPE);
    for (int i = 0; i < info.typeCount; ++i)
        AddComboText(type, info.typeRows[i].text);
    ::SendMessageW(type, CB_SETCURSEL, GetStoredTypeRow(m_kind), 0);
    HWND extension = ::GetDlgItem(m_hWnd, IDC_PACKDLG_EXTENSION_CASE);
    for (const wchar_t* text : kExtensionCases)
        AddComboText(extension, text);
    ::SendMessageW(extension, CB_SETCURSEL, GetStoredExtensionCase(m_kind), 0);

    HWND destination = ::GetDlgItem(m_hWnd, IDC_PACKDLG_DESTINATION);
    AddDestinationHistoryToCombo(destination);
    ::SetWindowTextW(destination, m_destination);

    if (pane != nullptr && pane->m_markedCount == 0 && !m_perFile)
    {
        const CFileInfo* cursor = pane->GetCursorEntry();
        if (cursor != nullptr && lstrcmpW(cursor->GetName(), L"..") != 0 &&
            lstrcmpW(cursor->GetName(), L".") != 0)
        {
            CString base;
            SplitExtension(cursor->GetName(), &base, nullptr);
            SetDlgItemText(IDC_PACKDLG_NAME, base);
        }
    }
    AddPaneFoldersToCombo(destination, m_paneIndex);
    return TRUE;
}

void CPackDlg::FillPackOptions()
{
    const CArchiverDllEntry& row = g_ArchiverDllTable[m_kind == PACK_KIND_ZIP ? 1 : 0];
    m_options.ResetContent();
    for (int i = 0; i < row.packOptionCount; ++i)
    {
        int index = m_options.AddString(row.packOptions[i].label);
        m_options.SetCheck(index, row.packOptions[i].flag ? 1 : 0);
    }
}

void CPackDlg::StorePackOptions()
{
    const CArchiverDllEntry& row = g_ArchiverDllTable[m_kind == PACK_KIND_ZIP ? 1 : 0];
    for (int i = 0; i < row.packOptionCount && i < m_options.GetCount(); ++i)
        row.packOptions[i].flag = static_cast<WORD>(m_options.GetCheck(i) ? 1 : 0);
}

void CPackDlg::ShowMoreOptions(int hide)
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_PACKDLG_OPTIONS);
    RECT listRect = {};
    ::GetWindowRect(list, &listRect);
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    int height = listRect.bottom - listRect.top;
    bool hiding = hide || m_optionsShown;
    if (hiding == !m_optionsShown)
        return;
    ::ShowWindow(list, hiding ? SW_HIDE : SW_SHOW);
    SetDlgItemText(IDC_PACKDLG_MORE, hiding ? L"追加設定>>" : L"追加設定<<");
    int newHeight = window.bottom - window.top + (hiding ? -height : height);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, newHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_optionsShown = hiding ? 0 : 1;
}

void CPackDlg::OnMore()
{
    ShowMoreOptions(0);
}

void CPackDlg::OnBrowse()
{
    CString path;
    GetDlgItemText(IDC_PACKDLG_DESTINATION, path);
    if (BrowseForFolder(path, this, FALSE))
        SetDlgItemText(IDC_PACKDLG_DESTINATION, path);
}

void CPackDlg::OnOK()
{
    CPackRequest request;
    request.sourceDir = m_sourceDir;
    request.paneIndex = m_paneIndex;
    request.kind = m_kind;
    request.perFile = m_perFile;
    GetDlgItemText(IDC_PACKDLG_NAME, request.archiveName);
    GetDlgItemText(IDC_PACKDLG_DESTINATION, request.destination);
    request.sfxRow = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_PACKDLG_SFX, CB_GETCURSEL, 0, 0));
    request.typeRow = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_PACKDLG_TYPE, CB_GETCURSEL, 0, 0));
    request.extensionCase =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_PACKDLG_EXTENSION_CASE, CB_GETCURSEL, 0, 0));
    request.confirmOverwrite = IsDlgButtonChecked(IDC_PACKDLG_CONFIRM_OVERWRITE) == BST_CHECKED;
    request.password = IsDlgButtonChecked(IDC_PACKDLG_PASSWORD) == BST_CHECKED;
    request.files.Copy(m_files);
    if (GetPackKindInfo(m_kind).backEnd == ARCFRONT_ARCHIVER)
        StorePackOptions();
    if (RunPackRequest(request, this) == PACK_CLOSE)
    {
        m_destination = request.destination;
        EndDialog(IDOK);
    }
}
