#include "fileops/rename/RenameDlg.h"

#include <commctrl.h>

#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/HistoryList.h"
#include "app/settings/FileOpSettings.h"
#include "fileops/rename/RenameThread.h"
#include "filer/FilerPane.h"
#include "framework/FwLock.h"
#include "res/RenameDialogs.h"

namespace
{

// The radio buttons of each conversion row, in the order of their setting's values.
struct ConversionRow
{
    int* setting;
    int ids[4];
    int count;
};

const ConversionRow* ConversionRows()
{
    static const ConversionRow rows[] = {
        {&g_CHAR_CONVERT_INFO_KATAKANA,
         {IDC_RENAME_KATAKANA_KEEP, IDC_RENAME_KATAKANA_HALF, IDC_RENAME_KATAKANA_FULL,
          IDC_RENAME_KATAKANA_HIRAGANA},
         4},
        {&g_CHAR_CONVERT_INFO_HIRAGANA, {IDC_RENAME_HIRAGANA_KEEP, IDC_RENAME_HIRAGANA_HALF}, 2},
        {&g_CHAR_CONVERT_INFO_ALPHABET,
         {IDC_RENAME_ALPHABET_KEEP, IDC_RENAME_ALPHABET_HALF, IDC_RENAME_ALPHABET_FULL},
         3},
        {&g_CHAR_CONVERT_INFO_DIGIT,
         {IDC_RENAME_DIGIT_KEEP, IDC_RENAME_DIGIT_HALF, IDC_RENAME_DIGIT_FULL},
         3},
        {&g_CHAR_CONVERT_INFO_SPACE,
         {IDC_RENAME_SPACE_KEEP, IDC_RENAME_SPACE_HALF, IDC_RENAME_SPACE_FULL},
         3},
    };
    return rows;
}
const int CONVERSION_ROW_COUNT = 5;

const wchar_t TOOLTIP_TEXT[] =
    L"*   元の名前を複数文字使用します\n    ２個以上使用できません\n?   元の名前1文字使用します\n"
    L"$n  00～99で、Dirに無いファイル名をつくります。\n    数値開始番号設定で開始番号を設定できます。\n"
    L"    ２個以上使用できません\n    $桁数nとすることにより桁数を指定可能です\n%string%  "
    L"stringを挿入します\n"
    L"          ２個以上使用できません";

RECT ChildRect(HWND dialog, int id)
{
    RECT rect = {};
    HWND child = ::GetDlgItem(dialog, id);
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveChildBy(HWND dialog, int id, int dy)
{
    const RECT rect = ChildRect(dialog, id);
    ::SetWindowPos(::GetDlgItem(dialog, id), nullptr, rect.left, rect.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowControl(HWND dialog, int id, BOOL show)
{
    HWND child = ::GetDlgItem(dialog, id);
    ::ShowWindow(child, show ? SW_SHOW : SW_HIDE);
    ::EnableWindow(child, show);
}

int ReadInt(HWND dialog, int id)
{
    wchar_t text[32] = {};
    ::GetDlgItemTextW(dialog, id, text, 32);
    return _wtoi(text);
}

// Where the dialog shows what its worker publishes.
const ProgressDisplayControl kRenameDisplays[] = {
    {RENAME_SHOW_OLD_NAME, IDC_RENAME_OLD_NAME, PROGRESS_SHOW_TEXT},
    {RENAME_SHOW_NEW_NAME, IDC_RENAME_PATTERN, PROGRESS_SHOW_TEXT},
};

} // namespace

CRenameDlg::CRenameDlg(CWnd* pParent) : CDialog(IDD_RENAME, pParent) {}

CRenameDlg::~CRenameDlg()
{
    delete m_pWorker;
}

int CRenameDlg::InputId() const
{
    return g_RENAME_INPUT_BY_EDIT_BOX ? IDC_RENAME_EDIT : IDC_RENAME_PATTERN;
}

void CRenameDlg::ApplyEntry(const CFileInfo& entry)
{
    if (entry.IsDirectory())
        m_selectBaseName = 0;
    if (entry.IsDirectory() || entry.GetName()[0] == L'.')
        m_omissionAllowed = 0;
}

void CRenameDlg::FillHistory()
{
    CHandleLock lock(g_DataMutex);
    for (INT_PTR i = 0; i < g_RenameHistory.GetSize(); ++i)
        ::SendDlgItemMessageW(m_hWnd, IDC_RENAME_PATTERN, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(g_RenameHistory[i].GetString()));
}

BOOL CRenameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_tooltip =
        ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
    if (m_tooltip != nullptr)
    {
        TOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(m_hWnd, IDC_RENAME_PATTERN));
        tool.lpszText = const_cast<LPWSTR>(TOOLTIP_TEXT);
        ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 350);
    }
    ::CheckDlgButton(m_hWnd, IDC_RENAME_ALWAYS_INCREMENT,
                     g_INC_FILE_NAME_NUMBER ? BST_CHECKED : BST_UNCHECKED);
    CFilerPane* pane = m_paneIndex >= 0 && m_paneIndex < 2 ? g_Panes[m_paneIndex] : nullptr;
    if (m_mode == 0)
    {
        CFileInfo entry, first;
        int found = 0;
        while (pane != nullptr && (found < 3 || m_omissionAllowed) && pane->GetTargetEntry(0, found, entry))
        {
            if (found == 0)
                first = entry;
            ApplyEntry(entry);
            ++found;
        }
        if (found > 1 && pane->CountMarked(TRUE, TRUE) > 0)
        {
            m_oldText = L"タグファイル";
            m_initialNewText = L"*.*";
        }
        else
        {
            m_oldText = m_initialNewText = first.GetName();
            m_singleEntry = 1;
        }
    }
    else if (m_mode == 1)
    {
        CFileInfo entry;
        if (pane == nullptr || !pane->GetTargetEntry(0, m_entryIndex, entry))
        {
            EndDialog(1);
            return TRUE;
        }
        m_oldText = m_initialNewText = entry.GetName();
        m_singleEntry = 1;
        ApplyEntry(entry);
    }
    else
    {
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RENAME_ALWAYS_INCREMENT), FALSE);
        m_oldText = m_initialNewText = m_entry.GetName();
        if (m_entry.IsDirectory())
            m_selectBaseName = 0;
        if (m_entry.IsDirectory() || m_entry.GetName()[0] == L'.')
            m_omissionAllowed = 0;
    }
    FillHistory();
    ::CheckDlgButton(m_hWnd, IDC_RENAME_CASE_KEEP, BST_CHECKED);
    ::SendDlgItemMessageW(m_hWnd, IDC_RENAME_NAME_SPIN, UDM_SETRANGE32, 0, 9999);
    ::SendDlgItemMessageW(m_hWnd, IDC_RENAME_EXT_SPIN, UDM_SETRANGE32, 0, 9999);
    ::SetDlgItemInt(m_hWnd, IDC_RENAME_NAME_START, 1, FALSE);
    ::SetDlgItemInt(m_hWnd, IDC_RENAME_EXT_START, 1, FALSE);
    StepStartNumber(IDC_RENAME_NAME_START, 0);
    StepStartNumber(IDC_RENAME_EXT_START, 0);
    ShowNames();
    if (m_mode == 2)
    {
        // Only the name is asked: the job's options go and the dialog shrinks by them.
        static const int hidden[] = {
            IDC_RENAME_CASE_GROUP,  IDC_RENAME_CASE_KEEP,       IDC_RENAME_CASE_UPPER,
            IDC_RENAME_CASE_LOWER,  IDC_RENAME_NUMBER_GROUP,    IDC_RENAME_NAME_START,
            IDC_RENAME_NAME_SPIN,   IDC_RENAME_EXT_START,       IDC_RENAME_EXT_SPIN,
            IDC_RENAME_CONVERT,     IDC_RENAME_CONVERT_SAVE,    IDC_RENAME_STOP,
            IDC_RENAME_MOVE_CURSOR, IDC_RENAME_ALWAYS_INCREMENT};
        for (int id : hidden)
            ShowControl(m_hWnd, id, FALSE);
        ShowConversionGroup(FALSE);
        const int dy = ChildRect(m_hWnd, IDOK).top - ChildRect(m_hWnd, IDC_RENAME_CASE_GROUP).top;
        for (int id : {IDOK, IDCANCEL})
            MoveChildBy(m_hWnd, id, -dy);
        RECT window = {};
        ::GetWindowRect(m_hWnd, &window);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - dy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SelectBaseName(TRUE, TRUE);
    }
    else
    {
        if (!g_CHAR_CONVERT_INFO_SAVE)
            CharConvertInfo{}.ToSettings();
        if (m_singleEntry)
            ::CheckDlgButton(m_hWnd, IDC_RENAME_MOVE_CURSOR,
                             g_MOVECURSORAFTERRENAME ? BST_CHECKED : BST_UNCHECKED);
        else
            ShowControl(m_hWnd, IDC_RENAME_MOVE_CURSOR, FALSE);
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RENAME_STOP), FALSE);
        ::CheckDlgButton(m_hWnd, IDC_RENAME_CONVERT,
                         g_CHAR_CONVERT_INFO_ENABLE ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, IDC_RENAME_CONVERT_SAVE,
                         g_CHAR_CONVERT_INFO_SAVE ? BST_CHECKED : BST_UNCHECKED);
        const ConversionRow* rows = ConversionRows();
        for (int r = 0; r < CONVERSION_ROW_COUNT; ++r)
        {
            const int value = *rows[r].setting;
            const int checked = value >= 0 && value < rows[r].count ? rows[r].ids[value] : rows[r].ids[0];
            ::CheckRadioButton(m_hWnd, rows[r].ids[0], rows[r].ids[rows[r].count - 1], checked);
            for (int b = 0; b < rows[r].count; ++b)
                ::CheckDlgButton(m_hWnd, rows[r].ids[b],
                                 rows[r].ids[b] == checked ? BST_CHECKED : BST_UNCHECKED);
        }
        OnConvertCheck();
        SelectBaseName(m_singleEntry, TRUE);
    }
    ::CheckDlgButton(m_hWnd, IDC_RENAME_OMIT_EXTENSION,
                     g_RENAME_OMIT_EXTENTION ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RENAME_OMIT_EXTENSION), m_omissionAllowed);
    ::CheckDlgButton(m_hWnd, IDC_RENAME_BY_EDIT_BOX,
                     g_RENAME_INPUT_BY_EDIT_BOX ? BST_CHECKED : BST_UNCHECKED);
    OnInputByEditBox();
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    m_templateWidth = window.right - window.left;
    m_templateHeight = window.bottom - window.top;
    if (g_RENAME_ADD_DIALOG_WIDTH > 0)
    {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_templateWidth + g_RENAME_ADD_DIALOG_WIDTH, m_templateHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (int id : {IDC_RENAME_OLD_NAME, IDC_RENAME_PATTERN, IDC_RENAME_EDIT})
        {
            const RECT rect = ChildRect(m_hWnd, id);
            ::SetWindowPos(::GetDlgItem(m_hWnd, id), nullptr, 0, 0,
                           rect.right - rect.left + g_RENAME_ADD_DIALOG_WIDTH, rect.bottom - rect.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ShowNames();
    m_sizingReady = 1;
    ::SetFocus(::GetDlgItem(m_hWnd, InputId()));
    return FALSE;
}

void CRenameDlg::SetInputText(LPCWSTR text)
{
    ::SetDlgItemTextW(m_hWnd, IDC_RENAME_PATTERN, text);
    ::SetDlgItemTextW(m_hWnd, IDC_RENAME_EDIT, text);
}

void CRenameDlg::ShowNames()
{
    CString newText = m_initialNewText, oldText = m_oldText;
    if (m_omissionAllowed && g_RENAME_OMIT_EXTENTION)
    {
        SplitExtension(m_initialNewText, &newText, nullptr);
        SplitExtension(m_oldText, &oldText, nullptr);
    }
    SetInputText(newText);
    ::SetDlgItemTextW(m_hWnd, IDC_RENAME_OLD_NAME, oldText);
}

void CRenameDlg::SelectBaseName(BOOL apply, BOOL remember)
{
    int end = -1;
    if (m_selectBaseName && g_SELECT_FILE_NAME_AT_RENAME && apply)
    {
        wchar_t text[MAX_PATH * 2] = {};
        ::GetDlgItemTextW(m_hWnd, IDC_RENAME_PATTERN, text, MAX_PATH * 2);
        const wchar_t* dot = wcsrchr(text, L'.');
        if (dot != nullptr && dot != text)
            end = static_cast<int>(dot - text);
        if (remember)
            m_pendingSelection = 1;
    }
    ::SendDlgItemMessageW(m_hWnd, IDC_RENAME_PATTERN, CB_SETEDITSEL, 0, MAKELPARAM(0, end < 0 ? -1 : end));
    ::SendDlgItemMessageW(m_hWnd, IDC_RENAME_EDIT, EM_SETSEL, 0, end);
}

CString CRenameDlg::GetInputName() const
{
    wchar_t text[MAX_PATH * 4] = {};
    ::GetDlgItemTextW(m_hWnd, InputId(), text, MAX_PATH * 4);
    CString name = text;
    CString extension;
    if (m_omissionAllowed && g_RENAME_OMIT_EXTENTION && m_initialNewText.Find(L'.') >= 0 &&
        SplitExtension(m_initialNewText, nullptr, &extension))
        name += L"." + extension;
    return name;
}

void CRenameDlg::StepStartNumber(int id, int delta)
{
    int value = ReadInt(m_hWnd, id) + delta;
    value = value < 0 ? 0 : value > 9999 ? 9999 : value;
    CString text;
    text.Format(L"%d", value);
    ::SetDlgItemTextW(m_hWnd, id, text);
}

INT_PTR CRenameDlg::DoModal()
{
    if (m_mode < 2 || !m_bScriptable)
        return CDialog::DoModal();
    CDialogQuestion question;
    question.dialogId = IDD_RENAME;
    question.caption = L"名前の変更";
    question.text = m_entry.GetName();
    CDialogAnswer answer;
    if (!CDialogAnswerScript::Answer(question, answer))
        return CDialog::DoModal();
    if (answer.result != IDOK)
        return answer.result;
    // As in the window: a name the test directory has already cannot be accepted.
    if (answer.text.IsEmpty() ||
        (m_mode == 2 && !m_testDirectory.IsEmpty() && NameIsTaken(m_testDirectory + L"\\" + answer.text)))
        return IDCANCEL;
    m_typedName = answer.text;
    return IDOK;
}

void CRenameDlg::OnOK()
{
    g_INC_FILE_NAME_NUMBER = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_ALWAYS_INCREMENT) == BST_CHECKED;
    if (m_mode == 2)
    {
        const CString name = GetInputName();
        // A name another entry answers to, long or short, would replace that entry. An
        // empty name is handed back as it is, and the caller takes it for no answer.
        if (!m_testDirectory.IsEmpty() && !name.IsEmpty() && NameIsTaken(m_testDirectory + L"\\" + name))
        {
            Tell(this, L"入力したファイルは既に存在します");
            return;
        }
        m_typedName = name;
        EndDialog(IDOK);
        return;
    }
    if (m_mode != 0 && m_mode != 1)
    {
        m_typedName = GetInputName();
        EndDialog(IDOK);
        return;
    }
    if (m_pWorker != nullptr)
        return;
    m_pWorker = new CRenameThread;
    m_pWorker->m_alwaysIncrement = g_INC_FILE_NAME_NUMBER;
    if (m_singleEntry)
        g_MOVECURSORAFTERRENAME = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_MOVE_CURSOR) == BST_CHECKED;
    m_pWorker->m_nameStart = ReadInt(m_hWnd, IDC_RENAME_NAME_START);
    m_pWorker->m_extensionStart = ReadInt(m_hWnd, IDC_RENAME_EXT_START);
    m_pWorker->m_caseMode = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_CASE_KEEP) == BST_CHECKED    ? 0
                            : ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_CASE_UPPER) == BST_CHECKED ? 1
                                                                                                 : 2;
    g_CHAR_CONVERT_INFO_ENABLE = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_CONVERT) == BST_CHECKED;
    g_CHAR_CONVERT_INFO_SAVE = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_CONVERT_SAVE) == BST_CHECKED;
    const ConversionRow* rows = ConversionRows();
    for (int r = 0; r < CONVERSION_ROW_COUNT; ++r)
    {
        for (int b = 0; b < rows[r].count; ++b)
        {
            if (::IsDlgButtonChecked(m_hWnd, rows[r].ids[b]) == BST_CHECKED)
                *rows[r].setting = b;
        }
    }
    m_pWorker->m_convert = CharConvertInfo::FromSettings();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RENAME_STOP), TRUE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
    m_pWorker->m_pattern = GetInputName();
    {
        CHandleLock lock(g_DataMutex);
        AddToHistoryList(g_RenameHistory, 10, m_pWorker->m_pattern);
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RENAME_PATTERN), FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RENAME_EDIT), FALSE);
    m_pWorker->m_progress.ownerWindow = this;
    m_pWorker->m_pane = m_paneIndex >= 0 && m_paneIndex < 2 ? g_Panes[m_paneIndex] : nullptr;
    m_pWorker->m_nextIndex = m_mode == 0 ? 0 : m_entryIndex;
    m_pWorker->m_mode = m_mode;
    m_pWorker->m_pRenameList = m_pRenameList;
    m_pWorker->m_dialog = m_hWnd;
    if (!m_pWorker->CreateThread())
    {
        delete m_pWorker;
        m_pWorker = nullptr;
        Tell(this, L"Threadを作成するに失敗しました");
        EndDialog(2);
        return;
    }
    SetTimer(PROGRESS_TIMER_ID, PROGRESS_TIMER_PERIOD);
}

void CRenameDlg::ShowWorkerProgress()
{
    if (m_pWorker == nullptr || m_hWnd == nullptr)
        return;
    TakeAndShowDisplays(m_hWnd, m_pWorker->m_progress, m_shown, kRenameDisplays);
}

BOOL CRenameDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nCode == 0 && pHandlerInfo == nullptr && (nID == IDM_WORKER_DONE || nID == IDM_WORKER_FAILED) &&
        m_pWorker != nullptr)
    {
        DWORD code = STILL_ACTIVE;
        while (GetExitCodeThread(m_pWorker->m_hThread, &code) && code != 0 && code != static_cast<DWORD>(-1))
            WaitForSingleObject(m_pWorker->m_hThread, INFINITE);
        KillTimer(PROGRESS_TIMER_ID);
        ShowWorkerProgress();
        m_lastNewName = m_pWorker->m_lastNewName;
        delete m_pWorker;
        m_pWorker = nullptr;
        EndDialog(nID == IDM_WORKER_DONE ? 1 : 2);
        return TRUE;
    }
    if (nCode == 0 && pHandlerInfo == nullptr)
    {
        switch (nID)
        {
        case IDC_RENAME_STOP:
            OnStop();
            return TRUE;
        case IDC_RENAME_CONVERT:
            OnConvertCheck();
            return TRUE;
        case IDC_RENAME_BY_EDIT_BOX:
            OnInputByEditBox();
            return TRUE;
        case IDC_RENAME_OMIT_EXTENSION:
            OnOmitExtension();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CRenameDlg::OnStop()
{
    if (m_pWorker != nullptr)
        InterlockedExchange(&m_pWorker->m_progress.cancelFlag, 1);
}

void CRenameDlg::ShowConversionGroup(BOOL show)
{
    ShowControl(m_hWnd, IDC_RENAME_CONVERT_GROUP, show);
    const RECT group = ChildRect(m_hWnd, IDC_RENAME_CONVERT_GROUP);
    // The row labels have no ids: every child inside the group's frame goes with it.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
    {
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        if (rect.top > group.top && rect.bottom < group.bottom && rect.left > group.left &&
            rect.right < group.right)
        {
            ::ShowWindow(child, show ? SW_SHOW : SW_HIDE);
            ::EnableWindow(child, show);
        }
    }
}

void CRenameDlg::OnConvertCheck()
{
    const BOOL show = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_CONVERT) == BST_CHECKED;
    ShowConversionGroup(show);
    if (show == m_conversionShown)
        return;
    m_conversionShown = show;
    const RECT group = ChildRect(m_hWnd, IDC_RENAME_CONVERT_GROUP);
    const int dy = (show ? 1 : -1) * (group.bottom - group.top);
    for (int id : {IDC_RENAME_MOVE_CURSOR, IDC_RENAME_STOP, IDOK, IDCANCEL})
        MoveChildBy(m_hWnd, id, dy);
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_templateHeight += dy;
}

void CRenameDlg::OnInputByEditBox()
{
    const BOOL byEdit = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_BY_EDIT_BOX) == BST_CHECKED;
    wchar_t text[MAX_PATH * 4] = {};
    ::GetDlgItemTextW(m_hWnd, byEdit ? IDC_RENAME_PATTERN : IDC_RENAME_EDIT, text, MAX_PATH * 4);
    // Both inputs take the same place in the template: only the shown one changes.
    if (g_RENAME_INPUT_BY_EDIT_BOX != byEdit)
        SetInputText(text);
    g_RENAME_INPUT_BY_EDIT_BOX = byEdit;
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_RENAME_EDIT), byEdit ? SW_SHOW : SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_RENAME_PATTERN), byEdit ? SW_HIDE : SW_SHOW);
}

void CRenameDlg::OnOmitExtension()
{
    g_RENAME_OMIT_EXTENTION = ::IsDlgButtonChecked(m_hWnd, IDC_RENAME_OMIT_EXTENSION) == BST_CHECKED;
    ShowNames();
}

BOOL CRenameDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip != nullptr && pMsg->message == WM_MOUSEMOVE &&
        (pMsg->hwnd == ::GetDlgItem(m_hWnd, IDC_RENAME_PATTERN) ||
         ::GetParent(pMsg->hwnd) == ::GetDlgItem(m_hWnd, IDC_RENAME_PATTERN)))
        ::SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CRenameDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_TIMER:
        if (wParam == PROGRESS_TIMER_ID)
        {
            ShowWorkerProgress();
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == UDN_DELTAPOS &&
            (header->idFrom == IDC_RENAME_NAME_SPIN || header->idFrom == IDC_RENAME_EXT_SPIN))
        {
            const NMUPDOWN* updown = reinterpret_cast<const NMUPDOWN*>(lParam);
            StepStartNumber(header->idFrom == IDC_RENAME_NAME_SPIN ? IDC_RENAME_NAME_START
                                                                   : IDC_RENAME_EXT_START,
                            updown->iDelta);
            return TRUE;
        }
        break;
    }
    case WM_SHOWWINDOW:
        if (wParam && m_pendingSelection)
        {
            m_pendingSelection = 0;
            SelectBaseName(TRUE, FALSE);
        }
        break;
    case WM_SIZING:
        if (m_sizingReady)
        {
            RECT* rect = reinterpret_cast<RECT*>(lParam);
            if (rect->right - rect->left < m_templateWidth)
                rect->right = rect->left + m_templateWidth;
            rect->bottom = rect->top + m_templateHeight;
            const int added = rect->right - rect->left - m_templateWidth;
            const int change = added - g_RENAME_ADD_DIALOG_WIDTH;
            g_RENAME_ADD_DIALOG_WIDTH = added;
            for (int id : {IDC_RENAME_OLD_NAME, IDC_RENAME_PATTERN, IDC_RENAME_EDIT})
            {
                const RECT child = ChildRect(m_hWnd, id);
                ::SetWindowPos(::GetDlgItem(m_hWnd, id), nullptr, 0, 0, child.right - child.left + change,
                               child.bottom - child.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
