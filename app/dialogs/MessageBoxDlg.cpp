#include "app/dialogs/MessageBoxDlg.h"

#include "framework/FwGdi.h"
#include "res/CommonDialogs.h"

#include <algorithm>

namespace
{

constexpr int kTypeOk = 0;
constexpr int kTypeOkCancel = 1;
constexpr int kTypeYesNo = 4;

CRect ChildRect(CWnd* pDialog, int nID)
{
    CRect rect;
    pDialog->GetDlgItem(nID)->GetWindowRect(&rect);
    pDialog->ScreenToClient(&rect);
    return rect;
}

void MoveChild(CWnd* pDialog, int nID, int dx, int dy)
{
    const CRect rect = ChildRect(pDialog, nID);
    pDialog->GetDlgItem(nID)->SetWindowPos(nullptr, rect.left + dx, rect.top + dy, 0, 0,
                                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

CMessageBoxDlg::CMessageBoxDlg(CWnd* pParent) : CScriptedDialog(IDD_MESSAGE_BOX, pParent) {}

CDialogQuestion CMessageBoxDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_MESSAGE_BOX;
    question.caption = ShownCaption();
    question.text = m_text;
    question.type = m_type;
    return question;
}

BOOL CMessageBoxDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    SetWindowText(ShownCaption());
    SetDlgItemText(IDC_MESSAGE_TEXT, m_text);

    if (m_type == kTypeOk)
    {
        GetDlgItem(IDCANCEL)->ShowWindow(SW_HIDE);
        RemoveSystemMenu();
        const CRect ok = ChildRect(this, IDOK);
        const CRect cancel = ChildRect(this, IDCANCEL);
        MoveChild(this, IDOK, (cancel.left - ok.left) / 2, 0);
    }
    else if (m_type == kTypeYesNo)
    {
        SetDlgItemText(IDOK, L"はい(&Y)");
        SetDlgItemText(IDCANCEL, L"いいえ(&N)");
        RemoveSystemMenu();
    }

    FitText();
    // After the growth, so that the grown dialog is the one centred.
    CenterWindow(m_pParentWnd);
    return TRUE;
}

CString CMessageBoxDlg::ShownCaption() const
{
    if (m_blankCaption)
        return CString();
    return m_caption.IsEmpty() ? CString(L"qv") : m_caption;
}

void CMessageBoxDlg::RemoveSystemMenu()
{
    ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
}

void CMessageBoxDlg::FitText()
{
    CWnd* pText = GetDlgItem(IDC_MESSAGE_TEXT);
    const CRect textRect = ChildRect(this, IDC_MESSAGE_TEXT);

    CSize need(0, 0);
    {
        CClientDC dc(pText);
        HGDIOBJ hOldFont = dc.SelectObject((HGDIOBJ)pText->GetFont());
        TEXTMETRICW metrics{};
        dc.GetTextMetrics(&metrics);
        int start = 0;
        for (;;)
        {
            int end = m_text.Find(L'\n', start);
            const bool last = end < 0;
            if (last)
                end = m_text.GetLength();
            int lineEnd = end;
            if (lineEnd > start && m_text[lineEnd - 1] == L'\r')
                --lineEnd;
            const CSize extent = dc.GetTextExtent(m_text.GetString() + start, lineEnd - start);
            need.cx = std::max<LONG>(need.cx, extent.cx);
            need.cy += std::max<LONG>(extent.cy, metrics.tmHeight);
            if (last)
                break;
            start = end + 1;
        }
        dc.SelectObject(hOldFont);
    }

    // The text never shrinks the dialog below its designed size.
    const int dx = std::max(0, (int)need.cx - textRect.Width());
    const int dy = std::max(0, (int)need.cy - textRect.Height());
    if (dx == 0 && dy == 0)
        return;

    CRect dialogRect;
    GetWindowRect(&dialogRect);
    SetWindowPos(nullptr, 0, 0, dialogRect.Width() + dx, dialogRect.Height() + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pText->SetWindowPos(nullptr, 0, 0, textRect.Width() + dx, textRect.Height() + dy,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveChild(this, IDOK, dx / 2, dy);
    MoveChild(this, IDCANCEL, dx / 2, dy);
}

void CMessageBoxDlg::OnOK()
{
    EndDialog(m_type == kTypeYesNo ? IDYES : IDOK);
}

BOOL CMessageBoxDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (m_type == kTypeYesNo && HIWORD(wParam) == BN_CLICKED && (id == IDYES || id == IDNO))
    {
        EndDialog(id);
        return TRUE;
    }
    return CScriptedDialog::OnCommand(wParam, lParam);
}

void CMessageBoxDlg::OnCancel()
{
    // Esc and the close command arrive here as well: a box with only OK must be
    // answered with OK.
    switch (m_type)
    {
    case kTypeOk:
        return;
    case kTypeOkCancel:
        EndDialog(IDCANCEL);
        return;
    case kTypeYesNo:
        EndDialog(IDNO);
        return;
    default:
        EndDialog(IDOK);
        return;
    }
}

int ShowMessageBoxDlg(CWnd* pParent, LPCWSTR text, LPCWSTR caption, int type)
{
    CMessageBoxDlg dialog(pParent);
    dialog.m_text = text != nullptr ? text : L"";
    dialog.m_caption = caption != nullptr ? caption : L"";
    dialog.m_blankCaption = caption != nullptr && caption[0] == L'\0';
    dialog.m_type = type;
    return (int)dialog.DoModal();
}
