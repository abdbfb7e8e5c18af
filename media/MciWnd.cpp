#include "media/MciWnd.h"
#include "util/PathHelpers.h"
#include "app/FolderChooser.h"
#include "app/records/MediaKinds.h"
#include "app/settings/MediaSettings.h"
#include "framework/FwApp.h"
#include "media/mci/MciDevice.h"
#include "media/playlist/AudioPlayList.h"

#include <vfw.h>

CMciWnd* g_MciWnd = nullptr;
int g_MciFullScreen = 0;

namespace
{

const UINT_PTR kPlayTimer = 1;
const DWORD kMciWindowStyle = 0x008AC408;
const DWORD kFramedStyles = 0x80CF0000;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

CMciWnd::CMciWnd()
    : m_pOwnerList(nullptr), m_pZoom(&m_ownZoom), m_ownZoom(100), m_pVolume(&m_ownVolume), m_ownVolume(1000),
      m_requestMask(MEDIA_REQUEST_ANY), m_trackbar(nullptr), m_savedRect{}, m_busy(0), m_dragging(0),
      m_shown(0), m_device(nullptr), m_depth(0), m_skipPending(0)
{
}

CMciWnd::~CMciWnd()
{
    delete m_device;
}

void CMciWnd::SetDevice(IMciDevice* device)
{
    delete m_device;
    m_device = device;
}

int CMciWnd::IsAudioFile() const
{
    return IsAudioKindFile(m_currentFile);
}

void CMciWnd::ShowMedia(int command)
{
    m_shown = command != SW_HIDE;
    if (m_hWnd)
        ShowWindow(command);
}

void CMciWnd::FindTrackbar()
{
    m_trackbar = m_hWnd ? FindWindowExW(m_hWnd, nullptr, L"msctls_trackbar32", nullptr) : nullptr;
}

int CMciWnd::IsBusy(int flag)
{
    if (!m_device)
        return 0;
    switch (m_device->GetMode())
    {
    case MEDIA_MODE_PLAY:
    case MEDIA_MODE_SEEK:
    case MEDIA_MODE_PAUSE:
        return 1;
    case MEDIA_MODE_NOT_READY:
    case MEDIA_MODE_STOP:
        return flag ? 1 : 0;
    default:
        return 0;
    }
}

CMciWnd* CMciWnd::ControlPlayback(int action, LPCWSTR path, int requester)
{
    if (!m_device)
        return this;
    ++m_depth;
    m_busy = 1;
    int mode = m_device->GetMode();
    BOOL active = mode == MEDIA_MODE_PLAY || mode == MEDIA_MODE_PAUSE;
    // A command sound never cuts into the play list, nor the list into a file.
    if ((requester & m_requestMask) == 0 && active)
        action = 0;
    CString file = path ? path : L"";
    if (action == MEDIA_TOGGLE)
    {
        if (mode == MEDIA_MODE_PLAY)
            action = MEDIA_STOP;
        else if (m_currentFile.IsEmpty())
            action = 0;
        else
        {
            action = MEDIA_PLAY;
            if (file.IsEmpty())
                file = m_currentFile;
        }
    }
    if (action != 0)
        m_requestMask &= requester;
    if (action == MEDIA_PLAY)
    {
        if (mode == MEDIA_MODE_PAUSE)
        {
            m_device->Resume();
        }
        else
        {
            StopAndClose();
            m_currentFile = file;
            if (Open(file) == 0 && m_device->Play() == 0)
            {
                if (IsAudioFile())
                    ShowMedia(SW_HIDE);
                else
                    ShowMedia(m_hWnd && IsWindowVisible() ? SW_SHOW : SW_SHOWNA);
                m_requestMask = requester;
            }
            else
            {
                ShowMedia(SW_HIDE);
                StopAndClose();
                if (requester == MEDIA_REQUEST_LIST && m_pOwnerList)
                {
                    MarkPlayListEntryFailed();
                    m_skipPending = 1;
                }
            }
        }
    }
    else if (action == MEDIA_STOP)
    {
        StopAndClose();
        ShowMedia(SW_HIDE);
        ResetPlayListFlags(g_PlayList);
    }
    else if (action == MEDIA_PAUSE_RESUME)
    {
        if (mode == MEDIA_MODE_PLAY)
            m_device->Pause();
        else if (mode == MEDIA_MODE_PAUSE)
            m_device->Resume();
    }
    // A failed list entry steps on here, once the request is done: stepping inside
    // it would nest one request per missing file.
    if (m_depth == 1)
    {
        while (m_skipPending && m_pOwnerList)
        {
            m_skipPending = 0;
            m_pOwnerList->Transport(SOUND_LIST_NEXT);
        }
        m_skipPending = 0;
    }
    m_busy = 0;
    --m_depth;
    return this;
}

int CMciWnd::Open(LPCWSTR path)
{
    if (m_device->Open(path) != 0)
    {
        ShowMedia(SW_HIDE);
        return -1;
    }
    m_device->SetVolume(*m_pVolume);
    if (m_hWnd)
        SetTimer(kPlayTimer, 1000, nullptr);
    m_currentFile = path;
    if (g_MciFullScreen)
        ToggleFullScreen(FALSE);
    else
        SetZoom(*m_pZoom);
    UpdateCaption();
    return 0;
}

void CMciWnd::StopAndClose()
{
    m_device->Stop();
    m_device->Close();
    if (m_hWnd)
        KillTimer(kPlayTimer);
    if (m_dragging)
        ReleaseCapture();
    m_dragging = 0;
    m_requestMask = MEDIA_REQUEST_ANY;
}

void CMciWnd::SetZoom(int percent)
{
    *m_pZoom = percent;
    if (m_device && !IsAudioFile())
        m_device->SetZoom(percent == 0 ? 100 : percent);
    UpdateCaption();
}

void CMciWnd::UpdateCaption()
{
    int zoom = m_device ? m_device->GetZoom() : *m_pZoom;
    m_caption.Format(L"%s 倍率:%d%% 音量:%d%%", static_cast<LPCWSTR>(m_currentFile), zoom, *m_pVolume / 10);
    if (m_hWnd)
        SetWindowText(m_caption);
}

void CMciWnd::ChangeVolume(int delta)
{
    *m_pVolume = Clamp(*m_pVolume + delta, 0, 1000);
    if (m_device)
        m_device->SetVolume(*m_pVolume);
    UpdateCaption();
}

void CMciWnd::ChangeZoom(int delta)
{
    if (g_MciFullScreen)
        return;
    SetZoom(Clamp(*m_pZoom + delta, 10, 500));
}

void CMciWnd::Seek(LONG position, BOOL absolute)
{
    if (!m_device)
        return;
    m_device->SetTimeFormatMs();
    LONG length = m_device->GetLength();
    int mode = m_device->GetMode();
    LONGLONG target = position;
    if (!absolute)
        target += m_device->GetPosition();
    if (target > length)
        target = length;
    if (target < 0)
        target = 0;
    m_device->Seek(static_cast<LONG>(target));
    if (mode == MEDIA_MODE_PLAY && target != length)
        m_device->Play();
}

LONG CMciWnd::TrackbarPosition(int x, int width, LONG length)
{
    if (width - 16 <= 0)
        return -1;
    // In 64 bits: a long medium in milliseconds times a pixel offset passes 2^31.
    return static_cast<LONG>(static_cast<LONGLONG>(x - 8) * length / (width - 16));
}

void CMciWnd::ToggleFullScreen(BOOL toggle)
{
    if (toggle)
        g_MciFullScreen = !g_MciFullScreen;
    if (!m_hWnd || !m_device)
        return;
    if (!g_MciFullScreen)
    {
        ModifyStyle(0, kFramedStyles);
        m_device->ShowPlayBar(TRUE);
        SetWindowPos(nullptr, m_savedRect.left, m_savedRect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow();
        SetZoom(*m_pZoom);
        FindTrackbar();
        return;
    }
    if (toggle)
        GetWindowRect(&m_savedRect);
    m_device->ShowPlayBar(FALSE);
    ModifyStyle(kFramedStyles, 0);
    RECT source = {};
    m_device->GetSourceRect(source);
    RECT monitor = {};
    GetWindowMonitorRect(m_hWnd, &monitor);
    int width = monitor.right - monitor.left + 1;
    int height = monitor.bottom - monitor.top + 1;
    int sourceWidth = source.right - source.left;
    int sourceHeight = source.bottom - source.top;
    int zoom = 100;
    if (sourceWidth != 0 && sourceHeight != 0)
    {
        int byWidth = width * 100 / sourceWidth;
        int byHeight = height * 100 / sourceHeight;
        zoom = byWidth < byHeight ? byWidth : byHeight;
    }
    m_device->SetZoom(zoom);
    RECT frame = {monitor.left, monitor.top, monitor.left + width, monitor.top + height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMciWnd::MarkPlayListEntryFailed()
{
    // The entry the list just started is nearly always the one: a long list of
    // missing files would otherwise be searched once per file.
    if (g_PlayListStartedPos >= 0 && g_PlayListStartedPos < g_PlayList.GetSize())
    {
        CString path;
        g_PlayList.GetEntryFullPath(g_PlayListStartedPos, path);
        if (path.CompareNoCase(m_currentFile) == 0)
        {
            g_PlayList[g_PlayListStartedPos].m_failed = 1;
            return;
        }
    }
    for (INT_PTR i = 0; i < g_PlayList.GetSize(); ++i)
    {
        CString path;
        g_PlayList.GetEntryFullPath(i, path);
        if (path.CompareNoCase(m_currentFile) == 0)
        {
            g_PlayList[i].m_failed = 1;
            return;
        }
    }
}

void CMciWnd::OnPlayTimer()
{
    if (m_busy || !m_device)
        return;
    int mode = m_device->GetMode();
    if (mode != MEDIA_MODE_STOP && mode != MEDIA_MODE_PLAY && mode != MEDIA_MODE_PAUSE)
        return;
    if (m_device->GetLength() != m_device->GetPosition())
        return;
    BOOL listEnded = m_requestMask == MEDIA_REQUEST_LIST;
    StopAndClose();
    if (listEnded && m_pOwnerList)
        m_pOwnerList->Transport(SOUND_LIST_NEXT);
    else
        ShowMedia(SW_HIDE);
}

BOOL CMciWnd::HandleKey(UINT key, BOOL ctrl, BOOL shift)
{
    if (shift)
        return FALSE;
    switch (key)
    {
    case VK_LEFT:
        Seek(ctrl ? -60000 : -10000, FALSE);
        return TRUE;
    case VK_RIGHT:
        Seek(ctrl ? 60000 : 10000, FALSE);
        return TRUE;
    case VK_UP:
        if (ctrl)
            return FALSE;
        ChangeVolume(100);
        return TRUE;
    case VK_DOWN:
        if (ctrl)
            return FALSE;
        ChangeVolume(-100);
        return TRUE;
    case VK_RETURN:
        if (!ctrl)
            ToggleFullScreen(TRUE);
        return FALSE;
    case VK_SPACE:
        if (!ctrl)
            ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, m_requestMask);
        return FALSE;
    case VK_ADD:
        if (!ctrl)
            return FALSE;
        ChangeZoom(10);
        return TRUE;
    case VK_SUBTRACT:
        if (!ctrl)
            return FALSE;
        ChangeZoom(-10);
        return TRUE;
    default:
        return FALSE;
    }
}

void CMciWnd::HandleWheel(int delta, BOOL ctrl, BOOL shift)
{
    if (shift)
        return;
    if (ctrl)
        ChangeZoom(delta / 120);
    else
        ChangeVolume(delta * 10 / 120);
}

void CMciWnd::HandleMenuCommand(UINT id)
{
    static const struct
    {
        UINT id;
        int percent;
    } kZooms[] = {{955, 50}, {950, 100}, {951, 150}, {952, 200}, {953, 300}, {954, 400}};
    for (const auto& zoom : kZooms)
    {
        if (zoom.id == id)
        {
            SetZoom(zoom.percent);
            return;
        }
    }
    CWnd* main = AfxGetMainWnd();
    switch (id)
    {
    case 956:
        ToggleFullScreen(TRUE);
        break;
    case 978:
        ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, m_requestMask);
        break;
    case 656:
        ChangeVolume(100);
        break;
    case 653:
        ChangeVolume(-100);
        break;
    case 967:
    case 969:
    case 971:
    case 972:
        if (main && main->m_hWnd)
            ::PostMessageW(main->m_hWnd, WM_COMMAND, id, 0);
        break;
    case 979:
        if (main && main->m_hWnd)
            ::PostMessageW(main->m_hWnd, WM_COMMAND, (m_requestMask & MEDIA_REQUEST_LIST) ? 975 : 979, 0);
        break;
    }
}

void CMciWnd::ShowPopupMenu()
{
    HMENU menu = CreatePopupMenu();
    HMENU list = CreatePopupMenu();
    HMENU zoom = CreatePopupMenu();
    HMENU volume = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 978, L"一時停止");
    AppendMenuW(menu, MF_STRING, 979, L"停止");
    UINT listState = (m_requestMask & MEDIA_REQUEST_LIST) ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(list, MF_STRING | listState, 969, L"次のファイルへ");
    AppendMenuW(list, MF_STRING | listState, 967, L"前のファイルへ");
    AppendMenuW(list, MF_STRING | listState, 972, L"リピート再生");
    AppendMenuW(list, MF_STRING | listState, 971, L"ランダム再生");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(list), L"リスト再生");
    AppendMenuW(zoom, MF_STRING, 955, L"50%");
    AppendMenuW(zoom, MF_STRING, 950, L"100%");
    AppendMenuW(zoom, MF_STRING, 951, L"150%");
    AppendMenuW(zoom, MF_STRING, 952, L"200%");
    AppendMenuW(zoom, MF_STRING, 953, L"300%");
    AppendMenuW(zoom, MF_STRING, 954, L"400%");
    AppendMenuW(zoom, MF_STRING, 956, L"全画面化");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(zoom), L"倍率設定");
    AppendMenuW(volume, MF_STRING, 656, L"音量上げる");
    AppendMenuW(volume, MF_STRING, 653, L"音量下げる");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(volume), L"音量(ファイル再生)");
    POINT at;
    GetCursorPos(&at);
    UINT chosen = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
    if (chosen)
        HandleMenuCommand(chosen);
}

BOOL CMciWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_trackbar && pMsg->hwnd == m_trackbar && m_device)
    {
        RECT bar;
        ::GetWindowRect(m_trackbar, &bar);
        int x = static_cast<short>(LOWORD(pMsg->lParam));
        if (pMsg->message == WM_LBUTTONDOWN)
        {
            LONG position = TrackbarPosition(x, bar.right - bar.left, m_device->GetLength());
            if (position >= 0)
            {
                Seek(position, TRUE);
                m_dragging = 1;
                ::SetCapture(m_trackbar);
            }
            return TRUE;
        }
        if (pMsg->message == WM_MOUSEMOVE && m_dragging)
        {
            LONG position = TrackbarPosition(x, bar.right - bar.left, m_device->GetLength());
            if (position >= 0)
                Seek(position, TRUE);
            return FALSE;
        }
        if (pMsg->message == WM_LBUTTONUP)
        {
            if (m_dragging)
                ReleaseCapture();
            m_dragging = 0;
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CMciWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    BOOL ctrl = GetKeyState(VK_CONTROL) < 0;
    BOOL shift = GetKeyState(VK_SHIFT) < 0;
    switch (message)
    {
    case WM_KEYDOWN:
        if (HandleKey(static_cast<UINT>(wParam), ctrl, shift))
            return 0;
        break;
    case WM_MOUSEWHEEL:
        HandleWheel(GET_WHEEL_DELTA_WPARAM(wParam), ctrl, shift);
        return 0;
    case WM_LBUTTONDBLCLK:
        ToggleFullScreen(TRUE);
        return 0;
    case WM_RBUTTONDOWN:
        ShowPopupMenu();
        return 0;
    case WM_TIMER:
        if (wParam == kPlayTimer)
        {
            OnPlayTimer();
            return 0;
        }
        break;
    case WM_CLOSE:
        ShowMedia(SW_HIDE);
        StopAndClose();
        if (m_pOwnerList)
        {
            m_pOwnerList->Transport(SOUND_LIST_STOP);
            ResetPlayListFlags(g_PlayList);
        }
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

CMciWnd* CreateMciWnd(HWND hWndParent)
{
    HWND window = MCIWndCreateW(hWndParent, AfxGetInstanceHandle(), kMciWindowStyle, nullptr);
    if (window == nullptr)
        return nullptr;
    // The window is created shown on some systems whatever the style says; it stays
    // hidden until a video plays.
    ShowWindow(window, SW_HIDE);
    SendMessageW(window, MCIWNDM_SETTIMEFORMATW, 0, reinterpret_cast<LPARAM>(L"ms"));
    CMciWnd* media = new CMciWnd;
    media->SubclassWindow(window);
    media->SetDevice(CreateMciWindowDevice(window));
    media->FindTrackbar();
    return media;
}

void DestroyMciWnd()
{
    if (!g_MciWnd)
        return;
    g_MciWnd->ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_ANY);
    if (g_MciWnd->m_hWnd)
        g_MciWnd->DestroyWindow();
    delete g_MciWnd;
    g_MciWnd = nullptr;
}

void PlaySoundFile(LPCWSTR path, int requester)
{
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_PLAY, path, requester);
}

BOOL IsMediaPlaying()
{
    return g_MciWnd && g_MciWnd->IsBusy(0);
}

BOOL IsPlayListPlaying()
{
    return IsMediaPlaying() && (g_MciWnd->m_requestMask & MEDIA_REQUEST_LIST);
}

void PlayCommandSound(LPCWSTR name)
{
    if (name == nullptr)
        return;
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
    {
        if (wcscmp(g_CommandSoundNames[i], name) == 0)
        {
            if (!g_CommandSoundFiles[i].IsEmpty())
                PlaySoundFile(g_CommandSoundFiles[i], MEDIA_REQUEST_SINGLE);
            return;
        }
    }
}
