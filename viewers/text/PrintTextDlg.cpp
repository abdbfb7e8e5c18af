#include "viewers/text/PrintTextDlg.h"

#include <commctrl.h>
#include <commdlg.h>

#include "app/dialogs/TellAndAsk.h"
#include "res/ViewerToolDialogs.h"
#include "viewers/text/TextPrintThread.h"

namespace
{
constexpr UINT_PTR kPollTimer = 3;
constexpr UINT kPollMilliseconds = 20;

// The controls that stay usable while a job runs are the margins, abort and the
// progress; these are locked.
const int kLockedWhilePrinting[] = {
    IDOK,
    IDCANCEL,
    IDC_PRINT_FONT,
    IDC_PRINT_TWO_COLUMNS,
    IDC_PRINT_FILE_NAME,
    IDC_PRINT_PAGE_NUMBERS,
    IDC_PRINT_LINE_NUMBERS,
    IDC_PRINT_SELECT_PRINTER,
    IDC_PRINT_ALL_PAGES,
    IDC_PRINT_PAGE_RANGE,
    IDC_PRINT_FIRST_PAGE,
    IDC_PRINT_LAST_PAGE,
    IDC_PRINT_CHARS,
    IDC_PRINT_LINES,
    IDC_PRINT_TAB,
};

// Millimetres in print units of 1/144 inch.
int MillimetresToUnits(int mm)
{
    return static_cast<int>(static_cast<LONGLONG>(mm) * 1440 / 254);
}

bool Checked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

int ItemNumber(HWND dialog, int id)
{
    BOOL ok = FALSE;
    const int value = static_cast<int>(::GetDlgItemInt(dialog, id, &ok, TRUE));
    return ok ? value : 0;
}
} // namespace

BEGIN_MESSAGE_MAP(CPrintTextDlg, CDialog)
ON_BN_CLICKED(IDC_PRINT_FONT, OnFont)
ON_BN_CLICKED(IDC_PRINT_ABORT, OnAbort)
ON_BN_CLICKED(IDC_PRINT_TWO_COLUMNS, UpdateLayout)
ON_BN_CLICKED(IDC_PRINT_FILE_NAME, UpdateLayout)
ON_BN_CLICKED(IDC_PRINT_LINE_NUMBERS, UpdateLayout)
ON_BN_CLICKED(IDC_PRINT_PAGE_NUMBERS, UpdateLayout)
ON_WM_TIMER()
END_MESSAGE_MAP()

CPrintTextDlg::CPrintTextDlg(PrintSettings& settings, const char* text, int length, CWnd* pParent)
    : CDialog(IDD_PRINT_TEXT, pParent), m_settings(settings), m_text(text), m_length(length)
{
}

CPrintTextDlg::~CPrintTextDlg()
{
    if (m_thread != nullptr)
    {
        // Only reached when the window went away with a job still running.
        m_job->m_abort = 1;
        WaitForSingleObject(m_thread->m_hThread, INFINITE);
        delete m_thread;
    }
    delete m_job;
    delete m_target;
    if (m_bodyFont)
        DeleteObject(m_bodyFont);
    if (m_headerFont)
        DeleteObject(m_headerFont);
    if (m_dc)
        DeleteDC(m_dc);
}

HDC CPrintTextDlg::OpenPrinter(BOOL choose, CString& name, BOOL& cancelled)
{
    cancelled = FALSE;
    PRINTDLGW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_hWnd;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | (choose ? 0 : PD_RETURNDEFAULT);
    if (!PrintDlgW(&dialog))
    {
        cancelled = choose && CommDlgExtendedError() == 0;
        return nullptr;
    }
    if (dialog.hDevNames != nullptr)
    {
        if (auto* names = static_cast<DEVNAMES*>(GlobalLock(dialog.hDevNames)))
        {
            name = reinterpret_cast<LPCWSTR>(names) + names->wDeviceOffset;
            GlobalUnlock(dialog.hDevNames);
        }
        GlobalFree(dialog.hDevNames);
    }
    if (dialog.hDevMode != nullptr)
        GlobalFree(dialog.hDevMode);
    return dialog.hDC;
}

CPrintTarget* CPrintTextDlg::CreatePrintTarget(HDC dc, HFONT bodyFont, HFONT headerFont)
{
    return new CDcPrintTarget(dc, bodyFont, headerFont);
}

BOOL CPrintTextDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::CheckDlgButton(m_hWnd, IDC_PRINT_SELECT_PRINTER,
                     m_settings.selectPrinter ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_PRINT_LINE_NUMBERS, m_settings.lineNumbers ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemTextW(m_hWnd, IDC_PRINT_FILE, m_settings.documentName);
    ::CheckDlgButton(m_hWnd, IDC_PRINT_ALL_PAGES, BST_CHECKED);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PRINT_ABORT), FALSE);
    m_state = PRINT_IDLE;

    CString printer;
    BOOL cancelled = FALSE;
    m_dc = OpenPrinter(m_settings.selectPrinter, printer, cancelled);
    if (m_dc == nullptr && cancelled)
    {
        Tell(this, L"Printerが選択されませんでした");
    }
    else if (m_dc == nullptr)
    {
        Tell(this, L"プリンターがInstallされていません");
        EndDialog(IDCANCEL);
        return TRUE;
    }
    if (m_dc != nullptr)
    {
        // Print units of 1/144 inch whatever the printer's resolution.
        const int columns = GetDeviceCaps(m_dc, HORZRES) > 0 ? GetDeviceCaps(m_dc, HORZRES) : 1;
        const int rows = GetDeviceCaps(m_dc, VERTRES) > 0 ? GetDeviceCaps(m_dc, VERTRES) : 1;
        const LONGLONG width1000 = 1000LL * GetDeviceCaps(m_dc, HORZSIZE) * 100 / columns;
        const LONGLONG height1000 = 1000LL * GetDeviceCaps(m_dc, VERTSIZE) * 100 / rows;
        SetMapMode(m_dc, MM_ISOTROPIC);
        SetWindowExtEx(m_dc, static_cast<int>(144 * width1000), static_cast<int>(144 * width1000), nullptr);
        SetViewportExtEx(m_dc, 2540000, 2540000, nullptr);
        m_printableWidth = static_cast<int>(width1000 * 144 * GetDeviceCaps(m_dc, HORZRES) / 2540000);
        m_printableHeight = static_cast<int>(height1000 * 144 * GetDeviceCaps(m_dc, VERTRES) / 2540000);
        ::SetDlgItemTextW(m_hWnd, IDC_PRINT_PRINTER, printer);
    }
    ::SetDlgItemInt(m_hWnd, IDC_PRINT_MARGIN_TOP, m_settings.marginTop, TRUE);
    ::SetDlgItemInt(m_hWnd, IDC_PRINT_MARGIN_BOTTOM, m_settings.marginBottom, TRUE);
    ::SetDlgItemInt(m_hWnd, IDC_PRINT_MARGIN_LEFT, m_settings.marginLeft, TRUE);
    ::SetDlgItemInt(m_hWnd, IDC_PRINT_MARGIN_RIGHT, m_settings.marginRight, TRUE);
    ::SetDlgItemInt(m_hWnd, IDC_PRINT_TAB, m_settings.tabColumns, TRUE);
    ::SetDlgItemInt(m_hWnd, IDC_PRINT_CHARS, m_settings.charsPerLine, TRUE);
    m_bodyLogFont = LOGFONTW{};
    lstrcpynW(m_bodyLogFont.lfFaceName, m_settings.fontName, LF_FACESIZE);
    m_bodyLogFont.lfCharSet = static_cast<BYTE>(m_settings.fontCharSet);
    m_bodyLogFont.lfHeight = m_settings.fontHeight;
    m_bodyLogFont.lfWidth = m_settings.fontWidth;
    m_bodyLogFont.lfPitchAndFamily = FIXED_PITCH;
    UpdateLayout();
    ::SetDlgItemInt(m_hWnd, IDC_PRINT_LINES, m_maxLines, TRUE);
    return TRUE;
}

void CPrintTextDlg::UpdateLayout()
{
    m_settings.marginTop = ItemNumber(m_hWnd, IDC_PRINT_MARGIN_TOP);
    m_settings.marginBottom = ItemNumber(m_hWnd, IDC_PRINT_MARGIN_BOTTOM);
    m_settings.marginLeft = ItemNumber(m_hWnd, IDC_PRINT_MARGIN_LEFT);
    m_settings.marginRight = ItemNumber(m_hWnd, IDC_PRINT_MARGIN_RIGHT);
    if (m_dc == nullptr)
        return;
    m_usableWidth = m_printableWidth - MillimetresToUnits(m_settings.marginLeft) -
                    MillimetresToUnits(m_settings.marginRight);
    m_usableHeight = m_printableHeight - MillimetresToUnits(m_settings.marginTop) -
                     MillimetresToUnits(m_settings.marginBottom);

    if (m_bodyFont)
        DeleteObject(m_bodyFont);
    if (m_headerFont)
        DeleteObject(m_headerFont);
    LOGFONTW header = m_bodyLogFont;
    header.lfWeight = FW_BOLD;
    m_headerFont = CreateFontIndirectW(&header);
    m_bodyFont = CreateFontIndirectW(&m_bodyLogFont);

    TEXTMETRICW metrics = {};
    HGDIOBJ previous = SelectObject(m_dc, m_headerFont);
    GetTextMetricsW(m_dc, &metrics);
    int headerHeight = metrics.tmHeight + metrics.tmExternalLeading;
    if (headerHeight < 0)
        headerHeight = 12;
    SelectObject(m_dc, m_bodyFont);
    GetTextMetricsW(m_dc, &metrics);
    int bodyHeight = metrics.tmHeight + metrics.tmExternalLeading;
    int bodyWidth = metrics.tmAveCharWidth;
    SelectObject(m_dc, previous);
    if (bodyHeight <= 0)
        bodyHeight = 12;
    if (bodyWidth <= 0)
        bodyWidth = 6;

    if (Checked(m_hWnd, IDC_PRINT_TWO_COLUMNS))
        m_maxChars = (m_usableWidth - 2 * bodyWidth) / bodyWidth / 2;
    else
        m_maxChars = m_usableWidth / bodyWidth;
    if (Checked(m_hWnd, IDC_PRINT_LINE_NUMBERS))
        m_maxChars -= 6;
    int headerLines = 0;
    if (Checked(m_hWnd, IDC_PRINT_FILE_NAME))
        headerLines += 2;
    if (Checked(m_hWnd, IDC_PRINT_PAGE_NUMBERS))
        headerLines += 2;
    m_maxLines = (m_usableHeight - headerLines * headerHeight) / bodyHeight;
    CString text;
    text.Format(L"(最大%d文字)", m_maxChars);
    ::SetDlgItemTextW(m_hWnd, IDC_PRINT_MAX_CHARS, text);
    text.Format(L"(最大%d行)", m_maxLines);
    ::SetDlgItemTextW(m_hWnd, IDC_PRINT_MAX_LINES, text);
}

void CPrintTextDlg::OnFont()
{
    if (m_dc == nullptr)
        return;
    LOGFONTW font = m_bodyLogFont;
    CHOOSEFONTW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = m_hWnd;
    choose.hDC = m_dc;
    choose.lpLogFont = &font;
    choose.Flags = CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&choose))
        return;
    m_bodyLogFont.lfHeight = font.lfHeight;
    m_bodyLogFont.lfWidth = font.lfWidth;
    m_bodyLogFont.lfCharSet = font.lfCharSet;
    lstrcpynW(m_bodyLogFont.lfFaceName, font.lfFaceName, LF_FACESIZE);
    m_settings.fontName = font.lfFaceName;
    m_settings.fontCharSet = font.lfCharSet;
    m_settings.fontHeight = font.lfHeight;
    m_settings.fontWidth = font.lfWidth;
    UpdateLayout();
}

void CPrintTextDlg::OnOK()
{
    if (m_state != PRINT_IDLE)
        return;
    if (m_dc == nullptr)
    {
        // Without a chosen printer nothing can be laid out or printed.
        Tell(this, L"Printerが選択されませんでした");
        return;
    }
    UpdateLayout();
    m_settings.charsPerLine = ItemNumber(m_hWnd, IDC_PRINT_CHARS);
    if (m_settings.charsPerLine <= 0 || m_settings.charsPerLine > m_maxChars)
    {
        Tell(this, L"一行の文字数が不正です");
        return;
    }
    const int lines = ItemNumber(m_hWnd, IDC_PRINT_LINES);
    if (lines < 1 || lines > 500 || lines > m_maxLines)
    {
        Tell(this, L"１ページの行数が不正です");
        return;
    }
    const bool range = Checked(m_hWnd, IDC_PRINT_PAGE_RANGE) && !Checked(m_hWnd, IDC_PRINT_ALL_PAGES);
    const int firstPage = ItemNumber(m_hWnd, IDC_PRINT_FIRST_PAGE);
    const int lastPage = ItemNumber(m_hWnd, IDC_PRINT_LAST_PAGE);
    if (range && (firstPage <= 0 || lastPage <= 0 || lastPage < firstPage))
    {
        Tell(this, L"ページの設定が不正です");
        return;
    }
    m_settings.tabColumns = ItemNumber(m_hWnd, IDC_PRINT_TAB);
    if (m_settings.tabColumns < 1 || m_settings.tabColumns > 100)
    {
        Tell(this, L"タブカラム数が不正です");
        return;
    }
    for (int id : kLockedWhilePrinting)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PRINT_ABORT), TRUE);

    TextPrintLayout layout;
    layout.text = m_text;
    layout.length = m_length;
    layout.tabColumns = m_settings.tabColumns;
    layout.charsPerLine = m_settings.charsPerLine;
    layout.linesPerPage = lines;
    layout.twoColumns = Checked(m_hWnd, IDC_PRINT_TWO_COLUMNS);
    layout.printFileName = Checked(m_hWnd, IDC_PRINT_FILE_NAME);
    layout.printPageNumbers = Checked(m_hWnd, IDC_PRINT_PAGE_NUMBERS);
    layout.lineNumbers = Checked(m_hWnd, IDC_PRINT_LINE_NUMBERS);
    layout.rangeSet = range;
    layout.firstPage = firstPage;
    layout.lastPage = lastPage;
    layout.usableWidth = m_usableWidth;
    layout.usableHeight = m_usableHeight;
    layout.leftMargin = MillimetresToUnits(m_settings.marginLeft);
    layout.topMargin = MillimetresToUnits(m_settings.marginTop);
    layout.documentName = m_settings.documentName;
    m_target = CreatePrintTarget(m_dc, m_bodyFont, m_headerFont);
    m_job = new CTextPrintJob(layout, *m_target);
    m_thread = new CTextPrintThread(*m_job);
    if (!m_thread->CreateThread())
    {
        delete m_thread;
        m_thread = nullptr;
        Tell(this, L"ファイルの印刷に失敗しました");
        m_state = PRINT_ENDING;
    }
    else
    {
        m_state = PRINT_RUNNING;
    }
    SetTimer(kPollTimer, kPollMilliseconds, nullptr);
}

void CPrintTextDlg::ShowProgress()
{
    if (m_job == nullptr)
        return;
    const int percent = m_job->m_percent;
    ::SendDlgItemMessageW(m_hWnd, IDC_PRINT_PROGRESS, PBM_SETPOS, percent, 0);
    CString text;
    text.Format(L"%d%c", percent, L'%');
    ::SetDlgItemTextW(m_hWnd, IDC_PRINT_PERCENT, text);
}

void CPrintTextDlg::OnTimer(UINT_PTR id)
{
    if (id != kPollTimer)
        return;
    ShowProgress();
    if (m_state == PRINT_RUNNING)
    {
        DWORD code = STILL_ACTIVE;
        if (m_thread != nullptr && GetExitCodeThread(m_thread->m_hThread, &code) && code != STILL_ACTIVE)
        {
            KillTimer(kPollTimer);
            if (static_cast<int>(code) == -1)
                Tell(this, L"ファイルの印刷に失敗しました");
            m_state = PRINT_ENDING;
            SetTimer(kPollTimer, kPollMilliseconds, nullptr);
        }
        return;
    }
    if (m_state == PRINT_ENDING && ReapThread())
    {
        KillTimer(kPollTimer);
        EndDialog(IDOK);
    }
}

BOOL CPrintTextDlg::ReapThread()
{
    if (m_thread != nullptr)
    {
        m_job->m_abort = 1;
        if (WaitForSingleObject(m_thread->m_hThread, 0) != WAIT_OBJECT_0)
            return FALSE;
        delete m_thread;
        m_thread = nullptr;
    }
    m_settings.selectPrinter = Checked(m_hWnd, IDC_PRINT_SELECT_PRINTER);
    return TRUE;
}

void CPrintTextDlg::OnAbort()
{
    if (m_state == PRINT_IDLE)
        return;
    m_state = PRINT_ENDING;
    if (m_job != nullptr)
        m_job->m_abort = 1;
}

void CPrintTextDlg::OnCancel()
{
    if (m_state != PRINT_IDLE)
        return;
    m_settings.selectPrinter = Checked(m_hWnd, IDC_PRINT_SELECT_PRINTER);
    CDialog::OnCancel();
}
