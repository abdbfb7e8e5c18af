#include "media/cd/CdPlayDlg.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "framework/FwLock.h"
#include "media/cd/CdPlayer.h"
#include "res/MediaDialogs.h"

namespace
{

const UINT_PTR kTickTimer = 2;

// The picture buttons and their pictures (active, inactive; 0 for none).
struct PictureButton
{
    int control;
    int pictures[2];
};
const PictureButton kPictureButtons[CCdPlayDlg::BUTTON_COUNT] = {
    {IDC_CD_PREVIOUS, {IDB_CD_PREVIOUS, IDB_CD_PREVIOUS_OFF}},
    {IDC_CD_PLAY, {IDB_CD_PLAY, IDB_CD_PLAY_OFF}},
    {IDC_CD_PAUSE, {IDB_CD_PAUSE, IDB_CD_PAUSE_OFF}},
    {IDC_CD_STOP, {IDB_CD_STOP, IDB_CD_STOP_OFF}},
    {IDC_CD_NEXT, {IDB_CD_NEXT, IDB_CD_NEXT_OFF}},
    {IDC_CD_ADD, {IDB_CD_ADD, 0}},
    {IDC_CD_REMOVE, {IDB_CD_REMOVE, 0}},
};
enum
{
    SLOT_PREVIOUS,
    SLOT_PLAY,
    SLOT_PAUSE,
    SLOT_STOP,
    SLOT_NEXT,
};

void ListCdDrives(CStringArray& drives)
{
    drives.RemoveAll();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
    {
        wchar_t root[] = {letter, L':', L'\\', 0};
        if (GetDriveTypeW(root) == DRIVE_CDROM)
            drives.Add(CString(root).Left(2));
    }
}

} // namespace

CdPlayDlgSeam g_CdPlayDlgSeam = {ListCdDrives};

CCdPlayDlg::CCdPlayDlg() : CDialog(IDD_CD_PLAY), m_font(nullptr), m_change(INVALID_HANDLE_VALUE) {}

CCdPlayDlg::~CCdPlayDlg()
{
    if (m_change != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(m_change);
    if (m_font)
        DeleteObject(m_font);
    for (auto& pair : m_pictures)
        for (HBITMAP picture : pair)
            if (picture != nullptr)
                DeleteObject(picture);
}

void CCdPlayDlg::UpdateButtons(BOOL load)
{
    if (load)
    {
        for (int slot = 0; slot < BUTTON_COUNT; ++slot)
            for (int form = 0; form < 2; ++form)
                if (m_pictures[slot][form] == nullptr && kPictureButtons[slot].pictures[form] != 0)
                    m_pictures[slot][form] = static_cast<HBITMAP>(LoadImageW(
                        AfxGetResourceHandle(), MAKEINTRESOURCEW(kPictureButtons[slot].pictures[form]),
                        IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    }
    int inactive[BUTTON_COUNT] = {};
    if (g_CdState == CD_STOPPED)
    {
        for (int slot : {SLOT_PREVIOUS, SLOT_PAUSE, SLOT_STOP, SLOT_NEXT})
            inactive[slot] = 1;
        inactive[SLOT_PLAY] = ::SendDlgItemMessageW(m_hWnd, IDC_CD_PROGRAM, LB_GETCOUNT, 0, 0) <= 0 ? 1 : 0;
    }
    else
    {
        inactive[SLOT_PLAY] = g_CdState == CD_PAUSED ? 0 : 1;
    }
    for (int slot = 0; slot < BUTTON_COUNT; ++slot)
    {
        if (!load && m_shown[slot] == inactive[slot])
            continue;
        m_shown[slot] = inactive[slot];
        ::SendDlgItemMessageW(m_hWnd, kPictureButtons[slot].control, BM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(m_pictures[slot][inactive[slot]]));
    }
}

int CCdPlayDlg::Selection(int id) const
{
    return static_cast<int>(::SendDlgItemMessageW(m_hWnd, id, LB_GETCURSEL, 0, 0));
}

CString CCdPlayDlg::SelectedDrive() const
{
    CString drive;
    GetDlgItemText(IDC_CD_DRIVE, drive);
    return drive;
}

BOOL CCdPlayDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateButtons(TRUE);
    CStringArray drives;
    g_CdPlayDlgSeam.listDrives(drives);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_CD_DRIVE);
    int selected = 0;
    for (INT_PTR i = 0; i < drives.GetSize(); ++i)
    {
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(drives[i])));
        if (g_CdPlayThread && !drives[i].IsEmpty() &&
            towupper(drives[i][0]) == towupper(g_CdPlayThread->m_drive))
            selected = static_cast<int>(i);
    }
    ::SendMessageW(combo, CB_SETCURSEL, selected, 0);
    if (drives.GetSize() == 0)
    {
        Tell(this, L"有効なCD-ROMドライブが有りません");
        EndDialog(IDCANCEL);
        return TRUE;
    }
    CheckDlgButton(IDC_CD_RANDOM, g_CDRANDOM ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_CD_REPEAT, g_CDREPEAT ? BST_CHECKED : BST_UNCHECKED);
    FillDiscList(SelectedDrive(), g_CdPlayThread == nullptr);
    UpdateButtons(FALSE);
    // The three counters in a fixed-pitch face as tall as their fields allow.
    RECT rect;
    ::GetClientRect(::GetDlgItem(m_hWnd, IDC_CD_TRACK), &rect);
    LOGFONTW face = {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(face), &face);
    face.lfHeight = rect.bottom - rect.top - 10 > 4 ? rect.bottom - rect.top - 10 : 8;
    face.lfWidth = face.lfHeight / 2;
    face.lfWeight = 1000;
    face.lfPitchAndFamily = FIXED_PITCH;
    wcscpy(face.lfFaceName, L"ＭＳ ゴシック");
    m_font = CreateFontIndirectW(&face);
    for (int id : {IDC_CD_TRACK, IDC_CD_TIME, IDC_CD_POSITION})
        ::SendDlgItemMessageW(m_hWnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    SetTimer(kTickTimer, 500, nullptr);
    return TRUE;
}

void CCdPlayDlg::FillDiscList(LPCWSTR drive, BOOL reload)
{
    ::SendDlgItemMessageW(m_hWnd, IDC_CD_DISC, LB_RESETCONTENT, 0, 0);
    int selection = 0;
    if (reload || g_CdPlayThread == nullptr)
        ReadCdTracks(drive, reload);
    else
        selection = static_cast<int>(g_CdPlayThread->m_programPos);
    CArray<CCdTrackInfo> tracks;
    {
        CHandleLock lock(g_CdMutex);
        tracks.Copy(g_CdDiscTracks);
    }
    for (INT_PTR i = 0; i < tracks.GetSize(); ++i)
    {
        CString row;
        row.Format(L"Track %02d [%02u:%02u]", tracks[i].m_track + 1, tracks[i].m_minutes,
                   tracks[i].m_seconds);
        ::SendDlgItemMessageW(m_hWnd, IDC_CD_DISC, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(row)));
    }
    FillProgramList(selection);
}

void CCdPlayDlg::FillProgramList(int selection)
{
    ::SendDlgItemMessageW(m_hWnd, IDC_CD_PROGRAM, LB_RESETCONTENT, 0, 0);
    CArray<CCdTrackInfo> program;
    {
        CHandleLock lock(g_CdMutex);
        program.Copy(g_CdProgram);
    }
    for (INT_PTR i = 0; i < program.GetSize(); ++i)
    {
        CString row;
        row.Format(L"%02d:Track %02d [%02d:%02d]", static_cast<int>(i) + 1, program[i].m_track + 1,
                   program[i].m_minutes, program[i].m_seconds);
        ::SendDlgItemMessageW(m_hWnd, IDC_CD_PROGRAM, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(row)));
    }
    ::SendDlgItemMessageW(m_hWnd, IDC_CD_PROGRAM, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"末尾"));
    ::SendDlgItemMessageW(m_hWnd, IDC_CD_PROGRAM, LB_SETCURSEL, selection, 0);
}

void CCdPlayDlg::Play(BOOL fromSelection)
{
    if (!fromSelection && g_CdState == CD_PAUSED)
    {
        SendCdCommand(CD_PAUSE_RESUME);
        return;
    }
    if (::SendDlgItemMessageW(m_hWnd, IDC_CD_PROGRAM, LB_GETCOUNT, 0, 0) <= 0)
    {
        Tell(this, L"プログラムリストがありません");
        return;
    }
    INT_PTR programSize;
    {
        CHandleLock lock(g_CdMutex);
        programSize = g_CdProgram.GetSize();
    }
    if (programSize == 0)
    {
        Tell(this, L"データがありません");
        return;
    }
    StopCdPlayThread();
    CCdPlayThread* thread = new CCdPlayThread;
    g_CdPlayThread = thread;
    CheckDlgButton(IDC_CD_RANDOM, g_CDRANDOM ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_CD_REPEAT, g_CDREPEAT ? BST_CHECKED : BST_UNCHECKED);
    CString drive = SelectedDrive();
    thread->m_drive = drive.IsEmpty() ? L'\0' : drive[0];
    int position = Selection(IDC_CD_PROGRAM);
    if (position < 0 || position >= programSize)
        position = 0;
    thread->m_programPos = position;
    {
        CHandleLock lock(g_CdMutex);
        thread->m_currentTrack = g_CdProgram[position].m_track;
    }
    if (fromSelection)
        thread->m_randomChoice = 1;
    thread->m_bAutoDelete = FALSE;
    if (!thread->CreateThread())
    {
        delete thread;
        g_CdPlayThread = nullptr;
        return;
    }
    SetTimer(kTickTimer, 200, nullptr);
}

void CCdPlayDlg::OnTick()
{
    if (g_CdPlayThread)
    {
        CHandleLock lock(g_CdMutex);
        INT_PTR track = g_CdPlayThread->m_currentTrack;
        if (track >= 0 && track < g_CdDiscTracks.GetSize())
        {
            CString text;
            text.Format(L"%02d", static_cast<int>(track) + 1);
            SetDlgItemText(IDC_CD_TRACK, text);
            DWORD position = g_CdPlayThread->m_savedPosition;
            text.Format(L"%02u:%02u(%02u:%02u)", (position >> 8) & 0xFF, (position >> 16) & 0xFF,
                        g_CdDiscTracks[track].m_minutes, g_CdDiscTracks[track].m_seconds);
            SetDlgItemText(IDC_CD_TIME, text);
            text.Format(L"%02Id/%02Id", g_CdPlayThread->m_programPos + 1, g_CdProgram.GetSize());
            SetDlgItemText(IDC_CD_POSITION, text);
        }
        UpdateButtons(FALSE);
        return;
    }
    // No player: watch the drive for a disc change.
    KillTimer(kTickTimer);
    SetDlgItemText(IDC_CD_TRACK, L"00");
    SetDlgItemText(IDC_CD_TIME, L"00:00(00:00)");
    SetDlgItemText(IDC_CD_POSITION, L"00/00");
    CString drive = SelectedDrive();
    CString root = drive + L"\\";
    if (!g_CdAudioDevice->IsRootAccessible(root))
    {
        FillDiscList(drive, TRUE);
    }
    else if (m_change == INVALID_HANDLE_VALUE)
    {
        m_change = FindFirstChangeNotificationLong(root, FALSE, 0x1F);
    }
    else if (WaitForSingleObject(m_change, 10) == WAIT_TIMEOUT)
    {
        FindNextChangeNotification(m_change);
        if (::SendDlgItemMessageW(m_hWnd, IDC_CD_DISC, LB_GETCOUNT, 0, 0) <= 0)
            FillDiscList(drive, TRUE);
    }
    else
    {
        FindCloseChangeNotification(m_change);
        m_change = FindFirstChangeNotificationLong(root, FALSE, 0x1F);
        FillDiscList(drive, TRUE);
    }
    UpdateButtons(FALSE);
    SetTimer(kTickTimer, 500, nullptr);
}

BOOL CCdPlayDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (id == IDC_CD_DRIVE && code == CBN_SELCHANGE)
    {
        StopCdPlayThread();
        FillDiscList(SelectedDrive(), TRUE);
        return TRUE;
    }
    if (id == IDC_CD_PROGRAM && code == LBN_DBLCLK)
    {
        Play(TRUE);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    int program = Selection(IDC_CD_PROGRAM);
    switch (id)
    {
    case IDC_CD_PLAY:
        Play(FALSE);
        return TRUE;
    case IDC_CD_PREVIOUS:
        SendCdCommand(CD_PREVIOUS);
        return TRUE;
    case IDC_CD_NEXT:
        SendCdCommand(CD_NEXT);
        return TRUE;
    case IDC_CD_PAUSE:
        SendCdCommand(CD_PAUSE_RESUME);
        return TRUE;
    case IDC_CD_STOP:
        StopCdPlayThread();
        return TRUE;
    case IDC_CD_RANDOM:
        g_CDRANDOM = IsDlgButtonChecked(IDC_CD_RANDOM) == BST_CHECKED;
        return TRUE;
    case IDC_CD_REPEAT:
        g_CDREPEAT = IsDlgButtonChecked(IDC_CD_REPEAT) == BST_CHECKED;
        return TRUE;
    case IDC_CD_ADD: {
        int disc = Selection(IDC_CD_DISC);
        if (disc >= 0)
        {
            InsertProgramEntry(g_CdPlayThread, program, disc);
            FillProgramList(program);
        }
        return TRUE;
    }
    case IDC_CD_REMOVE:
        RemoveProgramEntry(g_CdPlayThread, program);
        FillProgramList(program);
        return TRUE;
    case IDC_CD_DOWN:
        MoveProgramEntryDown(g_CdPlayThread, program);
        FillProgramList(program + 1);
        return TRUE;
    case IDC_CD_UP:
        MoveProgramEntryUp(g_CdPlayThread, program);
        FillProgramList(program - 1);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CCdPlayDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTickTimer)
    {
        OnTick();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
