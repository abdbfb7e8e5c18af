// The run dialog.
#include "tools/execute/ExecuteDlg.h"
#include "util/Globals.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/GeneralToolSettings.h"
#include "framework/FwLock.h"
#include "res/ShellDialogs.h"

const wchar_t kExecuteMacroTip[] =
    L"%c  選択しているファイル名\n%x  選択しているファイル名の拡張子を除いたファイル名\n%m  "
    L"選択しているすべてのファイル名\n%md ディレクトリも含めた選択ファイル(フルパス)\n%cd "
    L"カーソルのファイル名またはディレクトリ名(フルパス)\n%fc カレントディレクトリ名\n%fo "
    L"相手側のディレクトリ名\n%l  選択ファイルを代入する(繰り返し)\n%ld "
    L"選択ファイルを代入する(繰り返し)(Dir含む)\n%i  選択ファイルを代入する(繰り返し)\n%id "
    L"選択ファイルを代入する(繰り返し)(ディレクトリ含む)\n%ti～%t4 時間を代入します。\n%gc  "
    L"カレントディレクトリ\n%gcd カレントドライブ\n%go  相手のカレントディレクトリ\n%god "
    L"相手のカレントドライブ\n%gs  QV.exeのディレクトリ\n%gsd QV.exeのドライブ名\n%fドライブ名d "
    L"ドライブ名をディレクトリ名に変換";

namespace
{

void FillHistory(HWND combo, const CStringArray& history)
{
    CHandleLock lock(g_DataMutex);
    for (INT_PTR i = 0; i < history.GetSize(); ++i)
        ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)history[i]);
}

CString ReadText(HWND control)
{
    int length = GetWindowTextLengthW(control);
    CString text;
    if (length > 0)
    {
        LPWSTR buffer = text.GetBuffer(length + 1);
        GetWindowTextW(control, buffer, length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

} // namespace

CExecuteDlg::CExecuteDlg(CWnd* pParent) : CScriptedDialog(IDD_EXECUTE, pParent) {}

CExecuteDlg::~CExecuteDlg()
{
    if (m_hTip != nullptr && IsWindow(m_hTip))
        ::DestroyWindow(m_hTip);
}

BOOL CExecuteDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    HWND program = ::GetDlgItem(m_hWnd, IDC_EXECUTE_PROGRAM);
    HWND parameters = ::GetDlgItem(m_hWnd, IDC_EXECUTE_PARAMETERS);
    m_programComplement.Attach(this, IDC_EXECUTE_PROGRAM, TRUE, COMPLETE_BOTH, m_directory, m_pane);
    m_parametersComplement.Attach(this, IDC_EXECUTE_PARAMETERS, TRUE, COMPLETE_BOTH, m_directory, m_pane);
    m_hTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
    if (m_hTip != nullptr)
    {
        ::SendMessageW(m_hTip, TTM_SETMAXTIPWIDTH, 0, 500);
        for (HWND box : {program, parameters})
        {
            // The subclassing flag lets the tip see the mouse moves over the boxes
            // without the dialog relaying them.
            TOOLINFOW info = {};
            info.cbSize = sizeof(info);
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = m_hWnd;
            info.uId = (UINT_PTR)box;
            info.lpszText = const_cast<LPWSTR>(kExecuteMacroTip);
            ::SendMessageW(m_hTip, TTM_ADDTOOLW, 0, (LPARAM)&info);
        }
    }
    FillHistory(program, g_ExeHistory);
    FillHistory(parameters, g_ExeParamHistory);
    ::SetWindowTextW(program, m_program);
    ::SetWindowTextW(parameters, m_parameters);
    ::SetDlgItemTextW(m_hWnd, IDC_EXECUTE_DIRECTORY, m_directory);
    HWND keep = ::GetDlgItem(m_hWnd, IDC_EXECUTE_KEEP);
    ::ShowWindow(keep, m_bShowKeep ? SW_SHOW : SW_HIDE);
    ::SendMessageW(keep, BM_SETCHECK, m_keep ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!m_program.IsEmpty())
    {
        ::SetFocus(parameters);
        return FALSE;
    }
    if (!m_parameters.IsEmpty())
    {
        ::SetFocus(program);
        return FALSE;
    }
    return TRUE;
}

BOOL CExecuteDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_EXECUTE_BROWSE && HIWORD(wParam) == BN_CLICKED)
    {
        Browse();
        return TRUE;
    }
    return CScriptedDialog::OnCommand(wParam, lParam);
}

void CExecuteDlg::Browse()
{
    FileDialogRequest request(m_hWnd);
    request.initialDir = m_directory;
    CString path;
    if (BrowseForFile(request, path))
        ::SetDlgItemTextW(m_hWnd, IDC_EXECUTE_PROGRAM, path);
}

void CExecuteDlg::OnOK()
{
    m_program = ReadText(::GetDlgItem(m_hWnd, IDC_EXECUTE_PROGRAM));
    m_parameters = ReadText(::GetDlgItem(m_hWnd, IDC_EXECUTE_PARAMETERS));
    if (m_bShowKeep)
        m_keep = ::IsDlgButtonChecked(m_hWnd, IDC_EXECUTE_KEEP) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}

CDialogQuestion CExecuteDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_EXECUTE;
    question.caption = L"ファイルの実行";
    question.text = m_program;
    question.items.push_back(m_program);
    question.items.push_back(m_parameters);
    question.items.push_back(m_directory);
    return question;
}

void CExecuteDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    m_program = answer.text;
    m_parameters = answer.content;
    if (m_bShowKeep)
        m_keep = answer.index;
}
