#include "graphics/windows/GraphicListDlg.h"

#include "app/records/ArchiveFileInfo.h"
#include "filer/FileInfo.h"
#include "filer/FilerPane.h"
#include "filer/PaneArchive.h"
#include "res/GraphicViewerDialogs.h"

#include <commctrl.h>

namespace
{
RECT ChildRect(HWND parent, HWND child)
{
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ClientWidth(HWND window)
{
    RECT client = {};
    ::GetClientRect(window, &client);
    return client.right - client.left;
}

void SetRowCount(HWND list, int count)
{
    ListView_SetItemCountEx(list, count < 0 ? 0 : count, LVSICF_NOSCROLL);
    ::InvalidateRect(list, nullptr, TRUE);
}

void Select(HWND list, int index)
{
    if (index < 0 || index >= ListView_GetItemCount(list))
        return;
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, index, FALSE);
}
} // namespace

CGraphicListDlg::CGraphicListDlg(int* shownFlag, HWND owner)
    : CDialog(IDD_GRAPHIC_LIST, nullptr), m_shownFlag(shownFlag), m_owner(owner)
{
}

BOOL CGraphicListDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_GRAPHIC_LIST, parent);
}

BOOL CGraphicListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND pictures = List(IDC_GRAPHIC_LIST_PICTURES);
    HWND members = List(IDC_GRAPHIC_LIST_MEMBERS);
    ListView_SetExtendedListViewStyle(pictures, LVS_EX_FULLROWSELECT);
    ListView_SetExtendedListViewStyle(members, LVS_EX_FULLROWSELECT);
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    const int nameWidth = ClientWidth(members) - scrollBar;
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<LPWSTR>(L"ファイル名");
    column.cx = nameWidth;
    ListView_InsertColumn(pictures, 0, &column);
    ListView_InsertColumn(members, 0, &column);
    column.pszText = const_cast<LPWSTR>(L"ディレクトリ名");
    column.cx = ClientWidth(pictures) - scrollBar - nameWidth;
    ListView_InsertColumn(pictures, 1, &column);
    ::GetWindowRect(m_hWnd, &m_initialWindow);
    m_initialPictures = ChildRect(m_hWnd, pictures);
    m_initialMembers = ChildRect(m_hWnd, members);
    m_initialised = 1;
    return TRUE;
}

void CGraphicListDlg::SetPictureList(int count, const CArrayFileInfo* list)
{
    m_kind = GRAPHIC_LIST_PICTURES;
    m_choice.picture = -1;
    m_pictures = list;
    if (m_hWnd == nullptr)
        return;
    const int suppressed = m_suppressed;
    m_suppressed = 1;
    SetRowCount(List(IDC_GRAPHIC_LIST_PICTURES), list != nullptr ? count : 0);
    m_suppressed = suppressed;
}

void CGraphicListDlg::SetArchivePaneItems(int pane, int cursorOnly)
{
    m_kind = GRAPHIC_LIST_ARCHIVE_PANE;
    m_pane = pane;
    m_cursorOnly = cursorOnly;
    if (m_hWnd == nullptr)
        return;
    SetRowCount(List(IDC_GRAPHIC_LIST_MEMBERS), 0);
    int count = 0;
    CFilerPane* filer = PaneAt(pane);
    if (filer != nullptr)
    {
        CArchiveFileInfo item;
        while (filer->CollectArchiveItems(item, count, cursorOnly))
            ++count;
    }
    SetRowCount(List(IDC_GRAPHIC_LIST_PICTURES), count);
}

void CGraphicListDlg::SetArchive(IPaneArchive* archive)
{
    if (archive == nullptr)
        m_archive = nullptr;
    if (m_kind != GRAPHIC_LIST_PICTURES)
        return;
    m_archive = archive;
    m_choice.member = -1;
    if (m_hWnd != nullptr)
        SetRowCount(List(IDC_GRAPHIC_LIST_MEMBERS), archive != nullptr ? archive->GetEntryCount() : 0);
}

void CGraphicListDlg::SelectPicture(int index)
{
    if (m_hWnd != nullptr)
        Select(List(IDC_GRAPHIC_LIST_PICTURES), index);
}

void CGraphicListDlg::SelectMember(int index)
{
    if (m_hWnd != nullptr && m_kind == GRAPHIC_LIST_PICTURES)
        Select(List(IDC_GRAPHIC_LIST_MEMBERS), index);
}

void CGraphicListDlg::RequestPicture()
{
    if (m_choice.picture < 0)
        return;
    if (m_kind == GRAPHIC_LIST_PICTURES && m_archive != nullptr && m_archive->GetEntryCount() > 0)
    {
        if (m_choice.member < 0 || m_choice.member >= m_archive->GetEntryCount())
            return;
        m_lastMember = m_choice.member;
    }
    if (m_owner != nullptr)
        ::PostMessageW(m_owner, WM_COMMAND, IDM_SHOW_LISTED_PICTURE, 0);
}

void CGraphicListDlg::RowText(int list, int row, int column, CString& out)
{
    out.Empty();
    if (list == IDC_GRAPHIC_LIST_MEMBERS)
    {
        CArchiveFileInfo* member = nullptr;
        if (m_kind == GRAPHIC_LIST_PICTURES && m_archive != nullptr && column == 0 &&
            m_archive->GetEntry(&member, row) && member != nullptr)
            out = member->m_findData.cFileName;
        return;
    }
    if (m_kind == GRAPHIC_LIST_PICTURES)
    {
        if (m_pictures == nullptr || row < 0 || row >= m_pictures->GetSize())
            return;
        const CFileInfo& entry = (*m_pictures)[row];
        out = column == 0 ? CString(entry.GetName()) : entry.GetDirectory();
        return;
    }
    CFilerPane* filer = PaneAt(m_pane);
    CArchiveFileInfo item;
    if (filer != nullptr && filer->CollectArchiveItems(item, row, m_cursorOnly))
        out = column == 0 ? CString(item.m_findData.cFileName) : item.m_folder;
}

BOOL CGraphicListDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    const int id = int(header->idFrom);
    if (id != IDC_GRAPHIC_LIST_PICTURES && id != IDC_GRAPHIC_LIST_MEMBERS)
        return CDialog::OnNotify(wParam, lParam, pResult);
    switch (header->code)
    {
    case NM_CLICK:
        if (m_suppressed)
        {
            *pResult = 1;
            return TRUE;
        }
        break;
    case LVN_ITEMCHANGED: {
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
            !(change->uOldState & LVIS_SELECTED) && change->iItem >= 0)
        {
            if (id == IDC_GRAPHIC_LIST_PICTURES)
                m_choice.picture = change->iItem;
            else
                m_choice.member = change->iItem;
            if (!m_suppressed)
                RequestPicture();
        }
        break;
    }
    case LVN_GETDISPINFOW: {
        NMLVDISPINFOW* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText != nullptr && info->item.cchTextMax > 0)
        {
            CString text;
            RowText(id, info->item.iItem, info->item.iSubItem, text);
            // Cut to the control's buffer, its last character kept for the end.
            const int room = info->item.cchTextMax - 1;
            const int length = text.GetLength() < room ? text.GetLength() : room;
            wmemcpy(info->item.pszText, LPCWSTR(text), size_t(length));
            info->item.pszText[length] = 0;
        }
        break;
    }
    default:
        break;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CGraphicListDlg::OnCancel()
{
    if (m_shownFlag != nullptr)
        *m_shownFlag = 0;
    ShowWindow(SW_HIDE);
    SetRowCount(List(IDC_GRAPHIC_LIST_PICTURES), 0);
    SetRowCount(List(IDC_GRAPHIC_LIST_MEMBERS), 0);
    m_choice = GraphicListChoice();
    m_pane = -1;
}

void CGraphicListDlg::OnSize()
{
    if (!m_initialised)
        return;
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    const int dx = (window.right - window.left) - (m_initialWindow.right - m_initialWindow.left);
    const int dy = (window.bottom - window.top) - (m_initialWindow.bottom - m_initialWindow.top);
    RECT pictures = m_initialPictures;
    RECT members = m_initialMembers;
    if (dx >= 0)
    {
        pictures.right += dx;
        members.left += dx;
        members.right += dx;
    }
    pictures.bottom += dy;
    members.bottom += dy;
    HWND pictureList = List(IDC_GRAPHIC_LIST_PICTURES);
    HWND memberList = List(IDC_GRAPHIC_LIST_MEMBERS);
    ::MoveWindow(pictureList, pictures.left, pictures.top, pictures.right - pictures.left,
                 pictures.bottom - pictures.top, TRUE);
    ::MoveWindow(memberList, members.left, members.top, members.right - members.left,
                 members.bottom - members.top, TRUE);
    const int pageRows = ListView_GetCountPerPage(pictureList);
    const int scrollBar = ListView_GetItemCount(pictureList) > pageRows ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    ListView_SetColumnWidth(pictureList, 1,
                            ClientWidth(pictureList) - ListView_GetColumnWidth(pictureList, 0) - scrollBar);
    if (HWND label = ::GetDlgItem(m_hWnd, IDC_GRAPHIC_LIST_MEMBER_LABEL))
    {
        const RECT labelRect = ChildRect(m_hWnd, label);
        ::SetWindowPos(label, nullptr, members.left, labelRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

LRESULT CGraphicListDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
    {
        OnCancel();
        return 0;
    }
    const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        OnSize();
    return result;
}
