#include "framework/FwCheckListBox.h"

#include <commctrl.h>

namespace
{

// The classic check box: 13 pixels square, with a small gap on both sides.
constexpr int kBoxSize = 13;
constexpr int kBoxMargin = 2;

// Messages that arrive while the list box is still being created or already
// going; the list box's own data does not exist then.
bool IsLifetimeMessage(UINT message)
{
    switch (message)
    {
    case WM_NCCREATE:
    case WM_NCCALCSIZE:
    case WM_CREATE:
    case WM_GETMINMAXINFO:
    case WM_DESTROY:
    case WM_NCDESTROY:
        return true;
    default:
        return false;
    }
}

} // namespace

IMPLEMENT_DYNAMIC(CCheckListBox, CWnd)

CCheckListBox::CCheckListBox() = default;

CCheckListBox::~CCheckListBox()
{
    RemoveParentHook();
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    dwStyle &= ~(DWORD)(LBS_OWNERDRAWVARIABLE | LBS_NODATA);
    dwStyle |= WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (!CWnd::CreateEx(0, L"LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    EnsureSetUp();
    return TRUE;
}

// ---- Set-up and the parent hook ----

void CCheckListBox::EnsureSetUp()
{
    if (m_bSetUp || m_hWnd == nullptr)
        return;
    m_bSetUp = TRUE;
    ASSERT(GetStyle() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
    ASSERT(GetStyle() & LBS_HASSTRINGS);
    const LRESULT count = CWnd::DefWindowProc(LB_GETCOUNT, 0, 0);
    m_checks.assign(count > 0 ? (size_t)count : 0, 0);
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent != nullptr &&
        ::SetWindowSubclass(hWndParent, ParentHookProc, (UINT_PTR)this, (DWORD_PTR)this))
        m_hWndHookedParent = hWndParent;
    UpdateItemHeight();
}

void CCheckListBox::RemoveParentHook()
{
    if (m_hWndHookedParent != nullptr && ::IsWindow(m_hWndHookedParent))
        ::RemoveWindowSubclass(m_hWndHookedParent, ParentHookProc, (UINT_PTR)this);
    m_hWndHookedParent = nullptr;
}

LRESULT CALLBACK CCheckListBox::ParentHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR uIdSubclass, DWORD_PTR dwRefData)
{
    auto* self = reinterpret_cast<CCheckListBox*>(dwRefData);
    switch (message)
    {
    case WM_DRAWITEM: {
        auto* pDraw = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (pDraw->CtlType == ODT_LISTBOX && self->m_hWnd != nullptr && pDraw->hwndItem == self->m_hWnd)
        {
            self->DrawItem(pDraw);
            return TRUE;
        }
        break;
    }
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hWnd, ParentHookProc, uIdSubclass);
        self->m_hWndHookedParent = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

void CCheckListBox::UpdateItemHeight()
{
    HFONT hFont = GetFont();
    HDC hDC = ::GetDC(m_hWnd);
    HGDIOBJ hOldFont = ::SelectObject(hDC, hFont != nullptr ? (HGDIOBJ)hFont : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(hDC, &metrics);
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hWnd, hDC);
    const int height = (metrics.tmHeight > kBoxSize ? metrics.tmHeight : kBoxSize) + 2;
    // A fixed owner-drawn list box keeps the height it was created with even
    // when its font changes, so the height is set here.
    CWnd::DefWindowProc(LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
}

int CCheckListBox::GetCheckAreaWidth() const
{
    return kBoxMargin + kBoxSize + kBoxMargin;
}

// ---- Checks ----

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    if ((size_t)nIndex >= m_checks.size())
        m_checks.resize((size_t)nIndex + 1, 0);
    if (m_checks[(size_t)nIndex] == nCheck)
        return;
    m_checks[(size_t)nIndex] = nCheck;
    InvalidateItem(nIndex);
}

int CCheckListBox::GetCheck(int nIndex) const
{
    if (nIndex < 0 || (size_t)nIndex >= m_checks.size())
        return 0;
    return m_checks[(size_t)nIndex];
}

void CCheckListBox::ToggleByUser(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    SetCheck(nIndex, GetCheck(nIndex) == 0 ? 1 : 0);
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent != nullptr)
        ::SendMessageW(hWndParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), (LPARAM)m_hWnd);
}

void CCheckListBox::InvalidateItem(int nIndex)
{
    RECT rect;
    if (GetItemRect(nIndex, &rect) != LB_ERR)
        ::InvalidateRect(m_hWnd, &rect, FALSE);
}

// ---- List box calls ----

int CCheckListBox::AddString(LPCTSTR lpszItem)
{
    return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem);
}

int CCheckListBox::InsertString(int nIndex, LPCTSTR lpszItem)
{
    return (int)SendMessage(LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszItem);
}

int CCheckListBox::DeleteString(UINT nIndex)
{
    return (int)SendMessage(LB_DELETESTRING, nIndex, 0);
}

void CCheckListBox::ResetContent()
{
    SendMessage(LB_RESETCONTENT, 0, 0);
}

int CCheckListBox::GetCount() const
{
    return (int)SendMessage(LB_GETCOUNT, 0, 0);
}

int CCheckListBox::GetText(int nIndex, CString& rString) const
{
    const int nLength = GetTextLen(nIndex);
    if (nLength == LB_ERR)
    {
        rString.Empty();
        return LB_ERR;
    }
    LPWSTR buffer = rString.GetBuffer(nLength + 1);
    const int nCopied = (int)SendMessage(LB_GETTEXT, (WPARAM)nIndex, (LPARAM)buffer);
    rString.ReleaseBuffer(nCopied == LB_ERR ? 0 : nCopied);
    return nCopied;
}

int CCheckListBox::GetTextLen(int nIndex) const
{
    return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)nIndex, 0);
}

int CCheckListBox::GetCurSel() const
{
    return (int)SendMessage(LB_GETCURSEL, 0, 0);
}

int CCheckListBox::SetCurSel(int nSelect)
{
    return (int)SendMessage(LB_SETCURSEL, (WPARAM)nSelect, 0);
}

int CCheckListBox::GetCaretIndex() const
{
    return (int)SendMessage(LB_GETCARETINDEX, 0, 0);
}

int CCheckListBox::GetTopIndex() const
{
    return (int)SendMessage(LB_GETTOPINDEX, 0, 0);
}

int CCheckListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return (int)SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect);
}

int CCheckListBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELPARAM(cyItemHeight, 0));
}

int CCheckListBox::GetItemHeight(int nIndex) const
{
    return (int)SendMessage(LB_GETITEMHEIGHT, (WPARAM)nIndex, 0);
}

int CCheckListBox::ItemFromPoint(POINT pt) const
{
    const LRESULT result = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    if (HIWORD(result) != 0) // outside the items
        return -1;
    const int nIndex = (int)LOWORD(result);
    if (nIndex >= GetCount())
        return -1;
    // Below the last item some systems still name that item (the nearest one): only a
    // point inside the item's own rectangle counts.
    RECT rcItem;
    if (SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rcItem) == LB_ERR || !PtInRect(&rcItem, pt))
        return -1;
    return nIndex;
}

// ---- Messages ----

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsLifetimeMessage(message))
        EnsureSetUp();

    switch (message)
    {
    // The check states follow the items, whoever adds or removes them.
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (result >= 0 && (size_t)result <= m_checks.size())
            m_checks.insert(m_checks.begin() + result, 0);
        return result;
    }
    case LB_DELETESTRING: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (result != LB_ERR && wParam < m_checks.size())
            m_checks.erase(m_checks.begin() + (ptrdiff_t)wParam);
        return result;
    }
    case LB_RESETCONTENT:
        m_checks.clear();
        break;
    case WM_SETFONT: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        UpdateItemHeight();
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The list's own handling first, so that the clicked item is selected
        // and focused before its check changes.
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        const POINT pt = fw_detail::PointFromLParam(lParam);
        const int nIndex = ItemFromPoint(pt);
        RECT rect;
        if (nIndex >= 0 && GetItemRect(nIndex, &rect) != LB_ERR && pt.x >= rect.left &&
            pt.x < rect.left + GetCheckAreaWidth())
            ToggleByUser(nIndex);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
        {
            ToggleByUser(GetCaretIndex());
            return 0;
        }
        break;
    case WM_CHAR:
        // The list box would search for an item beginning with a blank.
        if (wParam == L' ')
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveParentHook();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CCheckListBox::PostNcDestroy()
{
    m_checks.clear();
    m_bSetUp = FALSE;
    CWnd::PostNcDestroy();
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDis)
{
    HDC hDC = lpDis->hDC;
    const RECT& item = lpDis->rcItem;
    RECT textRect = item;
    textRect.left += GetCheckAreaWidth();

    if (lpDis->itemID == (UINT)-1)
    {
        // An empty list with the focus: only the focus frame.
        if (lpDis->itemAction & ODA_FOCUS)
            ::DrawFocusRect(hDC, &textRect);
        return;
    }
    if (lpDis->itemAction == ODA_FOCUS)
    {
        ::DrawFocusRect(hDC, &textRect);
        return;
    }

    const int nIndex = (int)lpDis->itemID;
    const bool selected = (lpDis->itemState & ODS_SELECTED) != 0;
    const bool disabled = (lpDis->itemState & ODS_DISABLED) != 0 || !::IsWindowEnabled(m_hWnd);

    ::FillRect(hDC, &item, ::GetSysColorBrush(COLOR_WINDOW));

    RECT box;
    box.left = item.left + kBoxMargin;
    box.top = item.top + (item.bottom - item.top - kBoxSize) / 2;
    box.right = box.left + kBoxSize;
    box.bottom = box.top + kBoxSize;
    UINT boxState = DFCS_BUTTONCHECK;
    const int check = GetCheck(nIndex);
    if (check == 1)
        boxState |= DFCS_CHECKED;
    else if (check == 2)
        boxState = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (disabled)
        boxState |= DFCS_INACTIVE;
    ::DrawFrameControl(hDC, &box, DFC_BUTTON, boxState);

    ::FillRect(hDC, &textRect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CString text;
    GetText(nIndex, text);
    HFONT hFont = GetFont();
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    const COLORREF oldText = ::SetTextColor(hDC, ::GetSysColor(disabled   ? COLOR_GRAYTEXT
                                                               : selected ? COLOR_HIGHLIGHTTEXT
                                                                          : COLOR_WINDOWTEXT));
    const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    RECT drawRect = textRect;
    drawRect.left += 2;
    ::DrawTextW(hDC, text, text.GetLength(), &drawRect,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetBkMode(hDC, oldMode);
    ::SetTextColor(hDC, oldText);
    if (hOldFont != nullptr)
        ::SelectObject(hDC, hOldFont);

    if (lpDis->itemState & ODS_FOCUS)
        ::DrawFocusRect(hDC, &textRect);
}
