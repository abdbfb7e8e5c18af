#include "filer/DirHistoryDlg.h"

#include <algorithm>

#include "util/Globals.h"
#include "app/Settings.h"
#include "framework/FwLock.h"
#include "res/FilerDialogs.h"

BEGIN_MESSAGE_MAP(CDirHistoryDlg, CDialog)
ON_BN_CLICKED(IDC_DIR_HISTORY_BY_VISIT, OnSortOrder)
ON_BN_CLICKED(IDC_DIR_HISTORY_BY_NAME, OnSortOrder)
ON_LBN_DBLCLK(IDC_DIR_HISTORY_LIST, Accept)
ON_WM_SIZE()
ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

namespace
{
RECT ChildRect(CWnd* dialog, int id)
{
    RECT rect = {0, 0, 0, 0};
    if (CWnd* child = dialog->GetDlgItem(id))
    {
        child->GetWindowRect(&rect);
        dialog->ScreenToClient(&rect);
    }
    return rect;
}

void PlaceChild(CWnd* dialog, int id, const RECT& rect)
{
    if (CWnd* child = dialog->GetDlgItem(id))
        child->MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

RECT Shifted(RECT rect, int dx, int dy)
{
    OffsetRect(&rect, dx, dy);
    return rect;
}
} // namespace

CDirHistoryDlg::CDirHistoryDlg(CWnd* pParent) : CDialog(IDD_DIR_HISTORY, pParent) {}

BOOL CDirHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    {
        CHandleLock lock(g_DataMutex);
        g_PathHistorySnapshot.CopyFrom(g_PathHistory);
    }
    m_records.clear();
    for (INT_PTR i = 0; i < g_PathHistorySnapshot.GetSize(); ++i)
        m_records.push_back(g_PathHistorySnapshot.GetAt(i));

    CheckRadioButton(IDC_DIR_HISTORY_BY_VISIT, IDC_DIR_HISTORY_BY_NAME, IDC_DIR_HISTORY_BY_VISIT);
    ApplyFilter();
    FillList();

    // The template's size is the smallest the dialog may take.
    RECT window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    m_minimumSize = {window.right - window.left, window.bottom - window.top};
    m_initialClient = {client.right, client.bottom};
    m_listRect = ChildRect(this, IDC_DIR_HISTORY_LIST);
    m_okRect = ChildRect(this, IDOK);
    m_cancelRect = ChildRect(this, IDCANCEL);
    m_layoutReady = TRUE;
    if (g_DIR_HISTORY_DIALOG.width != 0 && g_DIR_HISTORY_DIALOG.height != 0)
        SetWindowPos(nullptr, 0, 0, g_DIR_HISTORY_DIALOG.width, g_DIR_HISTORY_DIALOG.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    return TRUE;
}

void CDirHistoryDlg::ApplyFilter()
{
    CString filter;
    GetDlgItemText(IDC_DIR_HISTORY_FILTER, filter);
    filter.MakeUpper();
    m_kept.clear();
    for (size_t i = 0; i < m_records.size(); ++i)
    {
        CString path = m_records[i].m_path;
        path.MakeUpper();
        if (filter.IsEmpty() || path.Find(filter) >= 0)
            m_kept.push_back(i);
    }
}

void CDirHistoryDlg::FillList()
{
    g_PathHistorySortMode =
        IsDlgButtonChecked(IDC_DIR_HISTORY_BY_NAME) ? PATH_HISTORY_BY_NAME : PATH_HISTORY_BY_VISIT;
    std::stable_sort(m_kept.begin(), m_kept.end(), [this](size_t a, size_t b) {
        return ComparePathHistory(m_records[a], m_records[b]) < 0;
    });
    HWND list = GetDlgItem(IDC_DIR_HISTORY_LIST)->GetSafeHwnd();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (size_t index : m_kept)
        ::SendMessageW(list, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(m_records[index].m_path)));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void CDirHistoryDlg::OnSortOrder()
{
    ApplyFilter();
    FillList();
}

void CDirHistoryDlg::OnOK()
{
    // Enter in the filter field filters; the dialog stays open. With Ctrl or Shift
    // held it is the dialog's Enter.
    CWnd* filter = GetDlgItem(IDC_DIR_HISTORY_FILTER);
    if (filter && ::GetFocus() == filter->GetSafeHwnd() && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_SHIFT) >= 0)
    {
        ApplyFilter();
        FillList();
        return;
    }
    Accept();
}

void CDirHistoryDlg::Accept()
{
    m_resultPath.Empty();
    LRESULT line = ::SendDlgItemMessageW(m_hWnd, IDC_DIR_HISTORY_LIST, LB_GETCURSEL, 0, 0);
    if (line >= 0 && static_cast<size_t>(line) < m_kept.size())
        m_resultPath = m_records[m_kept[static_cast<size_t>(line)]].m_path;
    EndDialog(IDOK);
}

void CDirHistoryDlg::OnSize(UINT nType, int cx, int cy)
{
    if (!m_layoutReady || nType == SIZE_MINIMIZED)
        return;
    int dx = cx - m_initialClient.cx;
    int dy = cy - m_initialClient.cy;
    RECT list = m_listRect;
    list.right += dx;
    list.bottom += dy;
    PlaceChild(this, IDC_DIR_HISTORY_LIST, list);
    PlaceChild(this, IDOK, Shifted(m_okRect, dx, dy));
    PlaceChild(this, IDCANCEL, Shifted(m_cancelRect, dx, dy));
    Invalidate();
    RECT window;
    GetWindowRect(&window);
    g_DIR_HISTORY_DIALOG.width = window.right - window.left;
    g_DIR_HISTORY_DIALOG.height = window.bottom - window.top;
}

void CDirHistoryDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    if (m_minimumSize.cx > 0)
    {
        lpMMI->ptMinTrackSize.x = m_minimumSize.cx;
        lpMMI->ptMinTrackSize.y = m_minimumSize.cy;
    }
}
