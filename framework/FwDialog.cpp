#include "framework/FwDialog.h"
#include "framework/FwApp.h"

#include <climits>

void (*g_DialogOpenObserver)(const CDialog& dialog) = nullptr;

namespace fw_detail
{
void EnsureCommonControls();
} // namespace fw_detail

namespace
{

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct DataExchangeFailure
{
};

// The dialog procedure under our window procedure: everything not handled by
// the message map gets the system's default dialog processing.
INT_PTR CALLBACK FwDlgProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

bool IsRadioButton(HWND hWnd)
{
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    if (lstrcmpiW(className, L"Button") != 0)
        return false;
    const DWORD type = (DWORD)::GetWindowLongPtrW(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

CString GetText(HWND hWnd)
{
    CString text;
    int nLength = ::GetWindowTextLengthW(hWnd);
    LPWSTR buffer = text.GetBuffer(nLength + 1);
    int nCopied = ::GetWindowTextW(hWnd, buffer, nLength + 1);
    text.ReleaseBuffer(nCopied);
    return text;
}

void ShowCheckMessage(LPCWSTR text)
{
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// Reads a whole number (blanks around it allowed) in [minValue, maxValue].
bool ParseNumber(const CString& text, long long minValue, long long maxValue, long long& result)
{
    int i = 0;
    const int n = text.GetLength();
    while (i < n && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    const int firstDigit = i;
    long long value = 0;
    while (i < n && text[i] >= L'0' && text[i] <= L'9')
    {
        value = value * 10 + (text[i] - L'0');
        if (value > 0xFFFFFFFFLL + 1)
            return false; // beyond every 32-bit range
        ++i;
    }
    if (i == firstDigit)
        return false;
    while (i < n && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    if (i != n)
        return false;
    if (negative)
        value = -value;
    if (value < minValue || value > maxValue)
        return false;
    result = value;
    return true;
}

void TextToNumber(CDataExchange* pDX, int nIDC, long long minValue, long long maxValue, long long& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!ParseNumber(GetText(hWndCtrl), minValue, maxValue, value))
    {
        ShowCheckMessage(minValue < 0 ? L"整数を入力してください。" : L"0 以上の整数を入力してください。");
        pDX->Fail();
    }
}

void NumberToText(CDataExchange* pDX, int nIDC, long long value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    CString text;
    text.Format(L"%I64d", value);
    ::SetWindowTextW(hWndCtrl, text);
}

} // namespace

// ---------------------------------------------------------------------------
// CDataExchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr)
    {
        TRACE(L"data exchange with a control that does not exist: %d\n", nIDC);
        ASSERT(hWndCtrl != nullptr);
        throw DataExchangeFailure();
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr)
    {
        // Through the dialog manager, so that the default button follows the focus.
        ::SendMessageW(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, (WPARAM)m_hWndLastControl, TRUE);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw DataExchangeFailure();
}

// ---------------------------------------------------------------------------
// Exchange and check functions

namespace
{
// One exchange for every integer type: the text must be a number within the type's range.
template <class T>
void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value, long long minimum, long long maximum)
{
    if (pDX->m_bSaveAndValidate)
    {
        long long number = 0;
        TextToNumber(pDX, nIDC, minimum, maximum, number);
        value = (T)number;
    }
    else
    {
        NumberToText(pDX, nIDC, (long long)value);
    }
}
} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeNumber(pDX, nIDC, value, INT_MIN, INT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    ExchangeNumber(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeNumber(pDX, nIDC, value, 0, UINT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    ExchangeNumber(pDX, nIDC, value, 0, ULONG_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetText(hWndCtrl);
    else
        ::SetWindowTextW(hWndCtrl, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0);
    else
        ::SendMessageW(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    ASSERT(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & WS_GROUP);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int nIndex = 0;
    for (HWND hWnd = hWndCtrl; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (hWnd != hWndCtrl && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_GROUP))
            break; // the next group begins
        if (!IsRadioButton(hWnd))
            continue;
        if (pDX->m_bSaveAndValidate)
        {
            if (::SendMessageW(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = nIndex;
        }
        else
        {
            ::SendMessageW(hWnd, BM_SETCHECK, nIndex == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++nIndex;
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    const bool dropList = (::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
    if (!dropList)
        pDX->m_bEditLastControl = TRUE;
    if (pDX->m_bSaveAndValidate)
    {
        if (!dropList)
        {
            value = GetText(hWndCtrl);
            return;
        }
        value.Empty();
        LRESULT nIndex = ::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0);
        if (nIndex == CB_ERR)
            return;
        LRESULT nLength = ::SendMessageW(hWndCtrl, CB_GETLBTEXTLEN, (WPARAM)nIndex, 0);
        if (nLength == CB_ERR)
            return;
        LPWSTR buffer = value.GetBuffer((int)nLength + 1);
        LRESULT nCopied = ::SendMessageW(hWndCtrl, CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)buffer);
        value.ReleaseBuffer(nCopied == CB_ERR ? 0 : (int)nCopied);
        return;
    }
    LRESULT nIndex = ::SendMessageW(hWndCtrl, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(LPCWSTR)value);
    if (dropList)
    {
        if (nIndex == CB_ERR)
            nIndex = ::SendMessageW(hWndCtrl, CB_FINDSTRING, (WPARAM)-1, (LPARAM)(LPCWSTR)value);
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, (WPARAM)nIndex, 0);
    }
    else
    {
        // A list item that only begins with the text must not replace it.
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, (WPARAM)nIndex, 0);
        ::SetWindowTextW(hWndCtrl, value);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
    {
        TRACE(L"control %d could not be subclassed\n", nIDC);
        ASSERT(FALSE);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString text;
    text.Format(L"%d から %d までの整数を入力してください。", minVal, maxVal);
    ShowCheckMessage(text);
    pDX->Fail();
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString text;
    text.Format(L"%u から %u までの整数を入力してください。", minVal, maxVal);
    ShowCheckMessage(text);
    pDX->Fail();
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate)
    {
        HWND hWndCtrl = pDX->m_hWndLastControl;
        if (hWndCtrl != nullptr && pDX->m_bEditLastControl)
        {
            wchar_t className[16] = {};
            ::GetClassNameW(hWndCtrl, className, 16);
            const bool combo = lstrcmpiW(className, L"ComboBox") == 0;
            ::SendMessageW(hWndCtrl, combo ? CB_LIMITTEXT : EM_LIMITTEXT, (WPARAM)nChars, 0);
        }
        return;
    }
    if (value.GetLength() <= nChars)
        return;
    CString text;
    text.Format(L"%d 文字以内で入力してください。", nChars);
    ShowCheckMessage(text);
    pDX->Fail();
}

// ---------------------------------------------------------------------------
// CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

LPCDLGTEMPLATE CDialog::LoadTemplate(UINT nIDTemplate) const
{
    HINSTANCE hResource = AfxGetResourceHandle();
    HRSRC hInfo = ::FindResourceW(hResource, MAKEINTRESOURCEW(nIDTemplate), (LPCWSTR)RT_DIALOG);
    if (hInfo == nullptr)
        return nullptr;
    HGLOBAL hData = ::LoadResource(hResource, hInfo);
    return hData != nullptr ? static_cast<LPCDLGTEMPLATE>(::LockResource(hData)) : nullptr;
}

BOOL CDialog::CreateDlg(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndParent)
{
    fw_detail::EnsureCommonControls();
    m_nModalResult = -1;
    m_bEndModal = FALSE;
    // The window is attached to this object while it is created (before its
    // first message), as for every other window of ours.
    struct Creation
    {
        CDialog* self;
        LPCDLGTEMPLATE lpTemplate;
        HWND hWndParent;
    } creation{this, lpDialogTemplate, hWndParent};
    auto createWindow = [](void* param) -> HWND {
        auto* c = static_cast<Creation*>(param);
        return ::CreateDialogIndirectParamW(AfxGetResourceHandle(), c->lpTemplate, c->hWndParent, FwDlgProc,
                                            0);
    };
    return fw_detail::CreateWindowFor(this, createWindow, &creation);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    if (g_DialogOpenObserver != nullptr)
        g_DialogOpenObserver(*this);
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(nIDTemplate);
    if (lpTemplate == nullptr)
        return FALSE;
    return CreateIndirect(lpTemplate, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_bModal = FALSE;
    m_pParentWnd = pParentWnd;
    return CreateDlg(lpDialogTemplate, pParentWnd->GetSafeHwnd());
}

INT_PTR CDialog::DoModal()
{
    if (g_DialogOpenObserver != nullptr)
        g_DialogOpenObserver(*this);
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(m_nIDTemplate);
    if (lpTemplate == nullptr)
        return -1;

    HWND hWndOwner = m_pParentWnd->GetSafeHwnd();
    if (hWndOwner == nullptr)
    {
        // Without a parent the dialog belongs to the main window, when it runs
        // on the main window's thread.
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd != nullptr && ::GetCurrentThreadId() == pApp->m_nThreadID &&
            pApp->m_pMainWnd->m_hWnd != nullptr)
            hWndOwner = ::GetLastActivePopup(pApp->m_pMainWnd->m_hWnd);
    }
    if (hWndOwner != nullptr)
        hWndOwner = ::GetAncestor(hWndOwner, GA_ROOT);

    // The owner may live on another thread; EnableWindow works across threads.
    const BOOL bEnableOwner = hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    m_bModal = TRUE;
    if (CreateDlg(lpTemplate, hWndOwner))
    {
        if (!m_bEndModal && m_hWnd != nullptr)
        {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            RunModalLoop();
        }
        // The owner is enabled before the dialog goes, so that it gets the activation back.
        if (bEnableOwner)
            ::EnableWindow(hWndOwner, TRUE);
        if (m_hWnd != nullptr)
        {
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
            if (hWndOwner != nullptr && ::GetActiveWindow() == m_hWnd)
                ::SetActiveWindow(hWndOwner);
            DestroyWindow();
        }
    }
    else if (bEnableOwner)
    {
        ::EnableWindow(hWndOwner, TRUE);
    }
    m_bModal = FALSE;
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    const BOOL bOnAppThread = AfxGetApp() != nullptr && ::GetCurrentThreadId() == AfxGetApp()->m_nThreadID;
    MSG msg;
    while (!m_bEndModal)
    {
        // A worker thread that runs questions from its top level has no other
        // idle time in which its temporary window objects could go.
        if (!bOnAppThread && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) &&
            fw_detail::CanDeleteTempObjects())
            CWnd::DeleteTempMap();
        BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bResult == -1)
            continue;
        if (bResult == 0)
        {
            // The thread is asked to end: leave the dialog and pass the request on.
            ::PostQuitMessage((int)msg.wParam);
            m_nModalResult = -1;
            break;
        }
        if (!AfxPreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (m_hWnd == nullptr)
            break; // destroyed without EndDialog
    }
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_bModal)
    {
        m_bEndModal = TRUE;
        // Wakes the loop also when called from a message sent by another thread.
        if (m_hWnd != nullptr)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
    else if (m_hWnd != nullptr)
    {
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const DataExchangeFailure&)
    {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_hWnd == nullptr)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl != nullptr)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, TRUE);
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, FALSE);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0);
}
