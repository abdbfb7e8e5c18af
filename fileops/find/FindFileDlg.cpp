#include "fileops/find/FindFileDlg.h"

#include <commctrl.h>
#include <windowsx.h>
#include <algorithm>

#include "util/Globals.h"
#include "util/Formatting.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "util/StringHelpers.h"
#include "util/WorkerMessages.h"
#include "util/Log.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/HistoryList.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/ToolSettings.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"
#include "fileops/find/FindOptionDlg.h"
#include "fileops/find/FindThread.h"
#include "framework/FwLock.h"
#include "res/FindDialogs.h"

namespace
{

const int kHistoryLimit = 10;

// The controls that follow the window's size, and how.
enum
{
    MOVE_RIGHT = 1, // right edge + dx
    MOVE_X = 2,     // left and right edges + dx
    STRETCH = 3,    // right edge + dx, bottom edge + dy
    MOVE_Y = 4,     // top and bottom edges + dy
};

const struct
{
    int id;
    int rule;
} kResizeTable[14] = {
    {IDC_FIND_TEXT, MOVE_RIGHT},
    {IDC_FIND_PATTERN, MOVE_RIGHT},
    {IDC_FIND_DIRECTORY, MOVE_RIGHT},
    {IDC_FIND_SEARCHING_DIR, MOVE_RIGHT},
    {IDC_FIND_OPTIONS, MOVE_X},
    {IDC_FIND_BROWSE, MOVE_X},
    {IDC_FIND_RESULTS, STRETCH},
    {IDC_FIND_CLOSE_AFTER, MOVE_Y},
    {IDC_FIND_GO_TO_FILE, MOVE_Y},
    {IDC_FIND_STOP, MOVE_Y},
    {IDOK, MOVE_Y},
    {IDCANCEL, MOVE_Y},
    {IDC_FIND_RETURN_LABEL, MOVE_Y},
    {IDC_FIND_RETURN_ACTION, MOVE_Y},
};

// The encoding boxes in the worker's slot order, with their settings.
struct CodeBox
{
    int id;
    int* setting;
};

const CodeBox* CodeBoxes()
{
    static const CodeBox boxes[5] = {
        {IDC_FIND_CODE_SJIS, &g_FIND_FILE_CHAR_CODE_SHIFT_JIS},
        {IDC_FIND_CODE_EUC, &g_FIND_FILE_CHAR_CODE_EUC},
        {IDC_FIND_CODE_UNICODE, &g_FIND_FILE_CHAR_CODE_UNICODE},
        {IDC_FIND_CODE_JIS, &g_FIND_FILE_CHAR_CODE_JIS},
        {IDC_FIND_CODE_UTF8, &g_FIND_FILE_CHAR_CODE_UTF8},
    };
    return boxes;
}

void FillCombo(HWND combo, const CStringArray& items)
{
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(items[i])));
}

BOOL ContainsNoCase(const CStringArray& items, LPCWSTR text)
{
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        if (items[i].CompareNoCase(text) == 0)
            return TRUE;
    return FALSE;
}

CString ListText(HWND list, int row, int column)
{
    wchar_t buffer[MAX_PATH * 4] = L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(sizeof(buffer) / sizeof(buffer[0]));
    ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return CString(buffer);
}

// Where the dialog shows what its search publishes.
const ProgressDisplayControl kFindDisplays[] = {
    {FIND_SHOW_DIRECTORY, IDC_FIND_SEARCHING_DIR, PROGRESS_SHOW_TEXT},
};

RECT ClientRectOf(HWND dialog, int id)
{
    RECT rect = {};
    HWND control = ::GetDlgItem(dialog, id);
    if (control)
    {
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

} // namespace

CFindFileDlg::CFindFileDlg(int mode, CWnd* pParent) : CFindDialogBase(IDD_FIND_FILE, pParent), m_mode(mode)
{
    InitFindCondition(m_condition);
}

CFindFileDlg::~CFindFileDlg()
{
    PumpSearchMessages();
    if (m_mode == 0)
    {
        delete m_pThread;
        m_pThread = nullptr;
    }
}

void CFindFileDlg::PumpSearchMessages()
{
    if (m_mode == 0 && m_pThread)
        m_pThread->StopAndWait();
}

BOOL CFindFileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_FIND_AUTO_ASTERISK, g_FIND_DIALOG_AUTO_ADD_ASTERRISK ? BST_CHECKED : BST_UNCHECKED);
    HWND action = ::GetDlgItem(m_hWnd, IDC_FIND_RETURN_ACTION);
    for (LPCWSTR text : {L"何もしない", L"ファイルの場所へ", L"検索"})
        ::SendMessageW(action, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    m_returnAction = g_FIND_DIALOG_ACT_IN_LIST;
    ::SendMessageW(action, CB_SETCURSEL, m_returnAction, 0);

    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    m_minimumSize = {window.right - window.left, window.bottom - window.top};
    RECT monitor;
    GetWindowMonitorRect(m_hWnd, &monitor);
    const LONG monitorWidth = monitor.right - monitor.left + 1;
    const LONG monitorHeight = monitor.bottom - monitor.top + 1;
    if (monitorWidth < m_minimumSize.cx || monitorHeight < m_minimumSize.cy)
    {
        RECT cancel = ClientRectOf(m_hWnd, IDCANCEL);
        m_minimumSize = {cancel.right + 12, cancel.bottom + 33};
        if (monitorWidth < m_minimumSize.cx || monitorHeight < m_minimumSize.cy)
            m_minimumSize = {monitorWidth, monitorHeight};
    }
    for (int i = 0; i < 14; ++i)
        m_controlRects[i] = ClientRectOf(m_hWnd, kResizeTable[i].id);

    {
        CHandleLock lock(g_DataMutex);
        HWND directories = ::GetDlgItem(m_hWnd, IDC_FIND_DIRECTORY);
        FillCombo(directories, g_FindDirectoryHistory);
        if (!m_baseDirectory.IsEmpty() && !ContainsNoCase(g_FindDirectoryHistory, m_baseDirectory))
            ::SendMessageW(directories, CB_INSERTSTRING, 0,
                           reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(m_baseDirectory)));
        HWND patterns = ::GetDlgItem(m_hWnd, IDC_FIND_PATTERN);
        FillCombo(patterns, g_FindPatternHistory);
        if (!ContainsNoCase(g_FindPatternHistory, L"*.*"))
            ::SendMessageW(patterns, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"*.*"));
        FillCombo(::GetDlgItem(m_hWnd, IDC_FIND_TEXT), g_FindTextHistory);
    }

    HWND list = ::GetDlgItem(m_hWnd, IDC_FIND_RESULTS);
    static const LPCWSTR kColumns[5] = {L"ファイル名", L"ディレクトリ名", L"サイズ", L"日付", L"時間"};
    static const int kWidths[5] = {180, 200, 100, 100, 100};
    for (int i = 0; i < 5; ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<LPWSTR>(kColumns[i]);
        column.cx = g_FindFileDlgState.init && g_FindFileDlgState.columns[i] > 0
                        ? g_FindFileDlgState.columns[i]
                        : kWidths[i];
        column.iSubItem = i;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    SetDlgItemText(IDC_FIND_PATTERN, L"*.*");
    SetDlgItemText(IDC_FIND_DIRECTORY, m_baseDirectory);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FIND_STOP), FALSE);
    CheckDlgButton(IDC_FIND_CLOSE_AFTER, g_FINDDLGCLOSE ? BST_CHECKED : BST_UNCHECKED);
    m_searchState = FIND_STATE_IDLE;
    m_foundName.Empty();
    m_foundDirectory.Empty();
    InitFindCondition(m_condition);

    if (m_mode == 1)
    {
        static const int kHidden[] = {IDC_FIND_RESULTS,      IDC_FIND_SEARCHING_LABEL, IDC_FIND_SEARCHING_DIR,
                                      IDC_FIND_CLOSE_AFTER,  IDC_FIND_GO_TO_FILE,      IDC_FIND_STOP,
                                      IDC_FIND_RETURN_LABEL, IDC_FIND_RETURN_ACTION};
        LONG top = LONG_MAX, bottom = LONG_MIN;
        for (int id : {IDC_FIND_RESULTS, IDC_FIND_SEARCHING_LABEL, IDC_FIND_SEARCHING_DIR,
                       IDC_FIND_RETURN_LABEL, IDC_FIND_RETURN_ACTION})
        {
            RECT rect = ClientRectOf(m_hWnd, id);
            top = std::min(top, rect.top);
            bottom = std::max(bottom, rect.bottom);
        }
        for (int id : kHidden)
        {
            HWND control = ::GetDlgItem(m_hWnd, id);
            ::EnableWindow(control, FALSE);
            ::ShowWindow(control, SW_HIDE);
        }
        const LONG shift = bottom - top;
        for (int id : {IDOK, IDCANCEL})
        {
            RECT rect = ClientRectOf(m_hWnd, id);
            ::SetWindowPos(::GetDlgItem(m_hWnd, id), nullptr, rect.left, rect.top - shift, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - shift,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_minimumSize.cy -= shift;
    }

    for (int i = 0; i < 5; ++i)
        CheckDlgButton(CodeBoxes()[i].id, *CodeBoxes()[i].setting ? BST_CHECKED : BST_UNCHECKED);
    m_initialized = TRUE;

    if (m_mode == 0)
    {
        const FindFileDlgState& stored = g_FindFileDlgState;
        if (stored.init && stored.left < monitorWidth && stored.top < monitorHeight &&
            stored.left + stored.width >= 1 && stored.top + stored.height >= 1)
            ::MoveWindow(m_hWnd, stored.left, stored.top, stored.width, stored.height, TRUE);
        else
            StorePlacement();
        g_FindFileDlgState.init = 1;
    }
    return TRUE;
}

void CFindFileDlg::StorePlacement()
{
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    g_FindFileDlgState.left = rect.left;
    g_FindFileDlgState.top = rect.top;
    g_FindFileDlgState.width = rect.right - rect.left;
    g_FindFileDlgState.height = rect.bottom - rect.top;
}

void CFindFileDlg::FillHistories()
{
    CHandleLock lock(g_DataMutex);
    const struct
    {
        int id;
        const CStringArray* items;
    } combos[] = {{IDC_FIND_PATTERN, &g_FindPatternHistory},
                  {IDC_FIND_DIRECTORY, &g_FindDirectoryHistory},
                  {IDC_FIND_TEXT, &g_FindTextHistory}};
    for (const auto& combo : combos)
    {
        CString text;
        GetDlgItemText(combo.id, text);
        FillCombo(::GetDlgItem(m_hWnd, combo.id), *combo.items);
        SetDlgItemText(combo.id, text);
    }
}

void CFindFileDlg::OnOK()
{
    for (int i = 0; i < 5; ++i)
        *CodeBoxes()[i].setting = IsDlgButtonChecked(CodeBoxes()[i].id) == BST_CHECKED ? 1 : 0;
    CString directory, pattern, text;
    GetDlgItemText(IDC_FIND_DIRECTORY, directory);
    GetDlgItemText(IDC_FIND_PATTERN, pattern);
    GetDlgItemText(IDC_FIND_TEXT, text);
    if (directory.IsEmpty())
    {
        Tell(this, L"検索ディレクトリ名が無効です");
        return;
    }
    if (pattern.IsEmpty())
    {
        Tell(this, L"検索条件が無効です");
        return;
    }
    g_FIND_DIALOG_AUTO_ADD_ASTERRISK = IsDlgButtonChecked(IDC_FIND_AUTO_ASTERISK) == BST_CHECKED ? 1 : 0;
    if (g_FIND_DIALOG_AUTO_ADD_ASTERRISK)
        BuildWildcardPattern(pattern);
    CString caption;
    caption.Format(L"ファイル検索(検索条件:%s)", static_cast<LPCWSTR>(pattern));
    SetWindowText(caption);
    AddToHistoryList(g_FindDirectoryHistory, kHistoryLimit, directory);
    AddToHistoryList(g_FindPatternHistory, kHistoryLimit, pattern);

    CFindThread* worker = nullptr;
    if (m_mode == 0)
    {
        for (int id : {IDOK, IDCANCEL, IDC_FIND_PATTERN, IDC_FIND_BROWSE, IDC_FIND_DIRECTORY, IDC_FIND_TEXT})
            ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
        HWND stop = ::GetDlgItem(m_hWnd, IDC_FIND_STOP);
        ::EnableWindow(stop, TRUE);
        ::SetFocus(stop);
        m_searchState = FIND_STATE_SEARCHING;
        if (m_pThread)
        {
            m_pThread->StopAndWait();
            delete m_pThread;
        }
        m_pThread = worker = new CFindThread;
    }
    else
    {
        CFilerPane* pane = m_paneIndex >= 0 && m_paneIndex < 2 ? g_Panes[m_paneIndex] : nullptr;
        worker = pane ? dynamic_cast<CFindThread*>(pane->m_findResults.StartSearch()) : nullptr;
        if (!worker)
        {
            EndDialog(IDCANCEL);
            return;
        }
        m_pThread = worker;
    }
    for (int i = 0; i < 5; ++i)
        worker->m_encodingFlags[i] = *CodeBoxes()[i].setting;
    worker->m_paneIndex = m_paneIndex;
    worker->m_mode = m_mode;
    worker->m_startDirectory = directory;
    worker->m_pattern = pattern;
    worker->m_baseDirectory = m_baseDirectory;
    worker->m_condition = m_condition;
    worker->m_searchText = text;
    AddToHistoryList(g_FindTextHistory, kHistoryLimit, text);
    FillHistories();
    worker->m_hOwnerDlg = m_hWnd;
    if (m_mode == 0)
        worker->m_sink = this;
    worker->m_bAutoDelete = FALSE;
    if (!worker->CreateThread())
    {
        if (m_mode == 0)
            OnSearchEnded();
    }
    else if (m_mode == 0)
        SetTimer(PROGRESS_TIMER_ID, PROGRESS_TIMER_PERIOD);
    if (m_mode == 1)
        EndDialog(IDOK);
}

void CFindFileDlg::OnCancel()
{
    PumpSearchMessages();
    m_foundName.Empty();
    m_foundDirectory.Empty();
    if (m_mode == 0)
    {
        if (HWND view = GetWorkerDoneWindow())
            ::PostMessageW(view, WM_QV_RELEASE_FOUND, 0, reinterpret_cast<LPARAM>(this));
        return;
    }
    EndDialog(IDCANCEL);
}

void CFindFileDlg::OnSearchEnded()
{
    if (m_searchState != FIND_STATE_SEARCHING)
        return;
    for (int id : {IDC_FIND_BROWSE, IDOK, IDCANCEL, IDC_FIND_PATTERN, IDC_FIND_DIRECTORY, IDC_FIND_TEXT,
                   IDC_FIND_GO_TO_FILE})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), TRUE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FIND_STOP), FALSE);
    ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
    PumpSearchMessages();
    KillTimer(PROGRESS_TIMER_ID);
    ShowSearchProgress();
    m_searchState = FIND_STATE_ENDED;
}

void CFindFileDlg::ShowSearchProgress()
{
    if (m_pThread == nullptr || m_hWnd == nullptr)
        return;
    TakeAndShowDisplays(m_hWnd, m_pThread->m_progress, m_shown, kFindDisplays);
}

void CFindFileDlg::AddFind(int row, const CFileInfo& entry)
{
    HWND list = m_hWnd != nullptr ? ::GetDlgItem(m_hWnd, IDC_FIND_RESULTS) : nullptr;
    if (!list)
        return;
    CString columns[5];
    columns[0] = entry.GetName();
    columns[1] = entry.GetRealDirectory(FALSE);
    if (entry.IsDirectory())
        columns[2] = L"<DIR>";
    else
        FormatNumberInt(entry.m_size, columns[2], 14);
    FormatFindDataTime(2, entry.m_findData, &columns[3], &columns[4], FALSE);

    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row >= 0 ? row : static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(columns[0]));
    int inserted =
        static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (inserted < 0)
        return;
    for (int column = 1; column < 5; ++column)
    {
        LVITEMW sub = {};
        sub.iSubItem = column;
        sub.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(columns[column]));
        ::SendMessageW(list, LVM_SETITEMTEXTW, inserted, reinterpret_cast<LPARAM>(&sub));
    }
}

void CFindFileDlg::ShowFinds(const CArrayFileInfo& finds)
{
    HWND list = m_hWnd != nullptr ? ::GetDlgItem(m_hWnd, IDC_FIND_RESULTS) : nullptr;
    if (!list)
        return;
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    if (finds.GetSize() == 0)
        return;
    ::ShowWindow(list, SW_HIDE);
    for (INT_PTR i = 0; i < finds.GetSize(); ++i)
        AddFind(static_cast<int>(i), finds[i]);
    ::ShowWindow(list, SW_SHOW);
}

void CFindFileDlg::GoToFileLocation()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_FIND_RESULTS);
    if (m_pThread)
        m_pThread->LockResults(FALSE);
    const int row =
        static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row >= 0)
    {
        m_foundName = ListText(list, row, 0);
        m_foundDirectory = ListText(list, row, 1);
        m_bCloseAfterOpen = IsDlgButtonChecked(IDC_FIND_CLOSE_AFTER) == BST_CHECKED;
        HWND view = GetWorkerDoneWindow();
        if (m_mode == 0 && view)
            ::PostMessageW(view, WM_QV_OPEN_FOUND, 0, reinterpret_cast<LPARAM>(this));
    }
    if (m_pThread)
        m_pThread->UnlockResults();
}

BOOL CFindFileDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id)
    {
    case IDM_WORKER_DONE:
    case IDM_WORKER_FAILED:
        if (lParam == 0)
        {
            OnSearchEnded();
            return TRUE;
        }
        break;
    case IDC_FIND_BROWSE:
        if (code == BN_CLICKED)
        {
            CString path;
            GetDlgItemText(IDC_FIND_DIRECTORY, path);
            if (BrowseForFolder(path, this, FALSE))
                SetDlgItemText(IDC_FIND_DIRECTORY, path);
            return TRUE;
        }
        break;
    case IDC_FIND_OPTIONS:
        if (code == BN_CLICKED)
        {
            CFindOptionDlg options(this);
            options.m_condition = m_condition;
            if (options.DoModal() == IDOK)
                m_condition = options.m_condition;
            return TRUE;
        }
        break;
    case IDC_FIND_STOP:
        if (code == BN_CLICKED)
        {
            if (m_pThread)
                m_pThread->StopAndWait();
            return TRUE;
        }
        break;
    case IDC_FIND_GO_TO_FILE:
        if (code == BN_CLICKED)
        {
            GoToFileLocation();
            return TRUE;
        }
        break;
    case IDC_FIND_CLOSE_AFTER:
        if (code == BN_CLICKED)
        {
            g_FINDDLGCLOSE = IsDlgButtonChecked(IDC_FIND_CLOSE_AFTER) == BST_CHECKED ? 1 : 0;
            return TRUE;
        }
        break;
    case IDC_FIND_RETURN_ACTION:
        if (code == CBN_SELCHANGE)
        {
            m_returnAction = static_cast<int>(
                ::SendMessageW(::GetDlgItem(m_hWnd, IDC_FIND_RETURN_ACTION), CB_GETCURSEL, 0, 0));
            g_FIND_DIALOG_ACT_IN_LIST = m_returnAction;
            return TRUE;
        }
        break;
    }
    return CFindDialogBase::OnCommand(wParam, lParam);
}

BOOL CFindFileDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_FIND_RESULTS)
    {
        if (header->code == LVN_COLUMNCLICK)
        {
            static const int kKeys[5] = {FIND_SORT_NAME, FIND_SORT_DIRECTORY, FIND_SORT_SIZE, FIND_SORT_DATE,
                                         FIND_SORT_DATE};
            const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
            if (m_pThread && column >= 0 && column < 5)
                m_pThread->SortResults(kKeys[column]);
            return TRUE;
        }
        if (header->code == NM_DBLCLK)
        {
            GoToFileLocation();
            return TRUE;
        }
    }
    return CFindDialogBase::OnNotify(wParam, lParam, pResult);
}

BOOL CFindFileDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_SHIFT) >= 0 && ::GetFocus() == ::GetDlgItem(m_hWnd, IDC_FIND_RESULTS))
    {
        if (m_returnAction == FIND_RETURN_GO_TO_FILE)
            GoToFileLocation();
        else if (m_returnAction == FIND_RETURN_SEARCH && m_searchState != FIND_STATE_SEARCHING)
            OnOK();
        return TRUE;
    }
    return CFindDialogBase::PreTranslateMessage(pMsg);
}

void CFindFileDlg::MoveControls(int width, int height)
{
    const int dx = width - m_minimumSize.cx;
    const int dy = height - m_minimumSize.cy;
    for (int i = 0; i < 14; ++i)
    {
        RECT rect = m_controlRects[i];
        switch (kResizeTable[i].rule)
        {
        case MOVE_RIGHT:
            rect.right += dx;
            break;
        case MOVE_X:
            rect.left += dx;
            rect.right += dx;
            break;
        case STRETCH:
            rect.right += dx;
            rect.bottom += dy;
            break;
        case MOVE_Y:
            rect.top += dy;
            rect.bottom += dy;
            break;
        }
        if (HWND control = ::GetDlgItem(m_hWnd, kResizeTable[i].id))
            ::MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
}

void CFindFileDlg::KeepOnMonitor()
{
    CArray<CRect> monitors;
    EnumMonitors(monitors);
    if (monitors.IsEmpty())
        return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    // DEBUG8 traces where the window is put, for displays that lose it.
    const bool trace = g_DebugFlags[8] != 0;
    if (trace)
    {
        WriteLog(nullptr, L"CFindFileDlg(Show=%u,Left=%d,Right=%d,Top=%d,Botton=%d",
                 static_cast<unsigned>(::IsWindowVisible(m_hWnd)), window.left, window.right, window.top,
                 window.bottom);
        WriteLog(nullptr, L"SM_CXSCREEN=%d,SM_CYSCREEN=%d", ::GetSystemMetrics(SM_CXSCREEN),
                 ::GetSystemMetrics(SM_CYSCREEN));
        for (INT_PTR i = 0; i < monitors.GetSize(); ++i)
            WriteLog(nullptr, L"Monitor%d : Left=%d,Right=%d,Top=%d,Botton=%d", static_cast<int>(i),
                     monitors[i].left, monitors[i].right, monitors[i].top, monitors[i].bottom);
    }
    for (INT_PTR i = 0; i < monitors.GetSize(); ++i)
    {
        RECT overlap;
        RECT monitor = monitors[i];
        if (::IntersectRect(&overlap, &window, &monitor))
            return;
    }
    if (trace)
        WriteLog(nullptr, L"CFindFileDlg move to (%d,%d - %d,%d) -> (%d,%d - %d,%d)", window.left, window.top,
                 window.right, window.bottom, monitors[0].left, monitors[0].top,
                 monitors[0].left + window.right - window.left, monitors[0].top + window.bottom - window.top);
    ::SetWindowPos(m_hWnd, nullptr, monitors[0].left, monitors[0].top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CFindFileDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SIZE:
        if (m_initialized && m_mode == 0)
        {
            // The recorded rectangles belong to the minimum window size.
            RECT window;
            ::GetWindowRect(m_hWnd, &window);
            MoveControls(window.right - window.left, window.bottom - window.top);
        }
        break;
    case WM_GETMINMAXINFO:
        if (m_initialized)
        {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = m_minimumSize.cx;
            info->ptMinTrackSize.y = m_minimumSize.cy;
            return 0;
        }
        break;
    case WM_MOVE:
        if (g_DebugFlags[8] != 0)
            WriteLog(nullptr, L"CFindFileDlg(Move to x = %d, y = %d", static_cast<int>(GET_X_LPARAM(lParam)),
                     static_cast<int>(GET_Y_LPARAM(lParam)));
        break;
    case WM_SHOWWINDOW:
        if (wParam)
            KeepOnMonitor();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            KeepOnMonitor();
        break;
    case WM_TIMER:
        if (wParam == PROGRESS_TIMER_ID)
        {
            ShowSearchProgress();
            return 0;
        }
        break;
    case WM_DESTROY:
        if (m_mode == 0 && m_initialized)
        {
            StorePlacement();
            HWND list = ::GetDlgItem(m_hWnd, IDC_FIND_RESULTS);
            for (int i = 0; i < 5; ++i)
                g_FindFileDlgState.columns[i] =
                    static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
        }
        break;
    }
    return CFindDialogBase::WindowProc(message, wParam, lParam);
}
