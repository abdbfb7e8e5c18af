// A list box whose items carry check boxes. Windows has no such control: this
// is an owner-drawn list box (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) that draws a
// check box before each item's text. A click on the box and the space bar
// toggle the check; each toggle by the user sends the parent WM_COMMAND with
// CLBN_CHKCHANGE.
//
//     CCheckListBox m_list;
//     m_list.SubclassDlgItem(1393, this); // the template's list box must be owner-drawn
//     m_list.SetFont(GetFont()->...);
//     int i = m_list.AddString(L"属性をコピーする");
//     m_list.SetCheck(i, 1);
//
// The system sends the drawing requests of a list box to its parent, not to the
// list box; the check-list box therefore hooks its parent window (with the
// common controls' subclass chain, which other subclassing does not disturb)
// and answers those requests for itself. Created with Create, subclassed with
// SubclassWindow, SubclassDlgItem or DDX_Control: all work.
#pragma once

#include "framework/FwWnd.h"

#include <vector>

// Notification code of WM_COMMAND: the user changed an item's check.
#ifndef CLBN_CHKCHANGE
#define CLBN_CHKCHANGE 40
#endif

class CCheckListBox : public CWnd
{
    DECLARE_DYNAMIC(CCheckListBox)

public:
    CCheckListBox();
    ~CCheckListBox() override;

    // Creates the list box as a child of pParentWnd; owner-draw and string
    // styles are added to dwStyle.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- Checks ----
    // 0 clear, 1 checked, 2 indeterminate.
    void SetCheck(int nIndex, int nCheck);
    // The item's check; 0 for an index out of range.
    int GetCheck(int nIndex) const;

    // ---- List box calls ----
    int AddString(LPCTSTR lpszItem);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetCaretIndex() const;
    int GetTopIndex() const;
    int GetItemRect(int nIndex, LPRECT lpRect) const;
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
    // The item under a point of the client area, -1 when none.
    int ItemFromPoint(POINT pt) const;

    // The width taken by the check box at the left of every item (pixels).
    int GetCheckAreaWidth() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    // Draws one item: box, then text (selected and focused as the list says).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

private:
    static LRESULT CALLBACK ParentHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
    void EnsureSetUp();
    void RemoveParentHook();
    void UpdateItemHeight();
    // Toggles by the user: the new state and the notification to the parent.
    void ToggleByUser(int nIndex);
    void InvalidateItem(int nIndex);

    std::vector<int> m_checks; // one per item, in item order
    HWND m_hWndHookedParent = nullptr;
    BOOL m_bSetUp = FALSE;
};
