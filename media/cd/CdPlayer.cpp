#include "media/cd/CdPlayer.h"
#include "app/Settings.h"
#include "framework/FwLock.h"

#include <cstdlib>
#include <ctime>

CArray<CCdTrackInfo> g_CdDiscTracks;
CArray<CCdTrackInfo> g_CdProgram;
int g_CdState = CD_STOPPED;
UINT g_CdDeviceId = 0;
CCdPlayThread* g_CdPlayThread = nullptr;
HANDLE g_CdMutex = nullptr;

namespace
{

const int kModeStopped = 525;
const int kModePlaying = 526;
const int kModePaused = 529;

int DrawCdRandom()
{
    return rand() & 0x7FFF;
}

BOOL IsInside(INT_PTR index, INT_PTR size)
{
    return index >= 0 && index < size;
}

} // namespace

CdPlayerSeam g_CdPlayerSeam = {DrawCdRandom};

CCdPlayThread::CCdPlayThread()
    : m_randomChoice(0), m_stop(0), m_drive(0), m_programPos(0), m_currentTrack(0), m_savedPosition(0),
      m_pendingCommand(0), m_commandEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)), m_exitCode(0)
{
    g_CdDeviceId = 0;
}

CCdPlayThread::~CCdPlayThread()
{
    if (m_commandEvent)
        CloseHandle(m_commandEvent);
}

BOOL CCdPlayThread::InitInstance()
{
    m_driveString.Format(L"%c:", m_drive);
    UINT device = g_CdAudioDevice->Open(m_driveString);
    if (device == 0)
    {
        m_exitCode = -1;
        return FALSE;
    }
    g_CdDeviceId = device;
    if (!g_CdAudioDevice->SetTmsf(device))
    {
        g_CdAudioDevice->StopAndClose(device);
        g_CdDeviceId = 0;
        m_exitCode = -1;
        return FALSE;
    }
    m_savedPosition = 0;
    g_CdState = CD_PLAYING;
    Command(m_randomChoice || !g_CDRANDOM ? CD_PLAY : CD_NEXT);
    return TRUE;
}

int CCdPlayThread::Run()
{
    for (;;)
    {
        BOOL last = m_stop != 0;
        DWORD waited = WaitForSingleObject(m_commandEvent, 1000);
        if (waited == WAIT_TIMEOUT)
            Command(last ? CD_STOP : CD_POLL);
        else if (m_pendingCommand)
        {
            int cmd = m_pendingCommand;
            m_pendingCommand = 0;
            Command(cmd);
        }
        if (last)
            break;
    }
    m_exitCode = 0;
    return ExitInstance();
}

int CCdPlayThread::ExitInstance()
{
    return m_exitCode;
}

void CCdPlayThread::PlayFrom(DWORD from)
{
    if (!IsInside(m_currentTrack, g_CdDiscTracks.GetSize()))
        return;
    const CCdTrackInfo& track = g_CdDiscTracks[m_currentTrack];
    int number = static_cast<int>(m_currentTrack) + 1;
    DWORD to = MakeTmsf(number, static_cast<int>(track.m_length & 0xFF),
                        static_cast<int>((track.m_length >> 8) & 0xFF),
                        static_cast<int>((track.m_length >> 16) & 0xFF));
    BOOL played = g_CdAudioDevice->Play(g_CdDeviceId, from, to);
    if (IsInside(m_programPos, g_CdProgram.GetSize()))
        g_CdProgram[m_programPos].m_played = 1;
    if (played)
        return;
    // Every entry of that track fails alike, in the program and on the disc.
    int failed = track.m_track;
    for (INT_PTR i = 0; i < g_CdProgram.GetSize(); ++i)
    {
        if (g_CdProgram[i].m_track == failed)
            g_CdProgram[i].m_unplayable = 1;
    }
    for (INT_PTR i = 0; i < g_CdDiscTracks.GetSize(); ++i)
    {
        if (g_CdDiscTracks[i].m_track == failed)
            g_CdDiscTracks[i].m_unplayable = 1;
    }
}

void CCdPlayThread::Command(int cmd)
{
    CHandleLock lock(g_CdMutex);
    if (g_CdState == CD_PLAYING)
        m_savedPosition = g_CdAudioDevice->GetPosition(g_CdDeviceId);
    if (cmd != CD_STOP)
    {
        CString root = m_driveString + L"\\";
        if (!g_CdAudioDevice->IsMediaPresent(g_CdDeviceId) || !g_CdAudioDevice->IsRootAccessible(root))
            Command(CD_STOP);
    }
    switch (cmd)
    {
    case CD_POLL:
        if (g_CdState != CD_PAUSED && g_CdAudioDevice->GetMode(g_CdDeviceId) == kModeStopped)
            Command(CD_NEXT);
        break;
    case CD_PLAY:
        if (g_CdState == CD_PAUSED)
            break;
        PlayFrom(MakeTmsf(static_cast<int>(m_currentTrack) + 1, 0, 0, 0));
        break;
    case CD_STOP:
        g_CdAudioDevice->StopAndClose(g_CdDeviceId);
        g_CdDeviceId = 0;
        g_CdState = CD_STOPPED;
        break;
    case CD_PAUSE_RESUME: {
        int mode = g_CdAudioDevice->GetMode(g_CdDeviceId);
        if (mode == kModePaused || mode == kModeStopped)
        {
            g_CdState = CD_PLAYING;
            PlayFrom(m_savedPosition);
        }
        else if (mode == kModePlaying)
        {
            g_CdAudioDevice->Pause(g_CdDeviceId);
            g_CdState = CD_PAUSED;
        }
        break;
    }
    case CD_PREVIOUS:
    case CD_NEXT:
        if (SelectNextTrack(cmd == CD_PREVIOUS ? -1 : 1))
        {
            if (g_CdState == CD_PAUSED)
                m_savedPosition = MakeTmsf(static_cast<int>(m_currentTrack) + 1, 0, 0, 0);
            Command(CD_PLAY);
        }
        else
        {
            Command(CD_STOP);
        }
        break;
    }
}

int CCdPlayThread::SelectNextTrack(int direction)
{
    CHandleLock lock(g_CdMutex);
    INT_PTR size = g_CdProgram.GetSize();
    BOOL anyPlayable = FALSE;
    for (INT_PTR i = 0; i < size && !anyPlayable; ++i)
        anyPlayable = !g_CdProgram[i].m_unplayable;
    if (!anyPlayable)
    {
        m_programPos = 0;
        m_currentTrack = 0;
        return 0;
    }
    BOOL random = g_CDRANDOM != 0;
    BOOL repeat = g_CDREPEAT != 0;
    if (random)
        srand(static_cast<unsigned>(time(nullptr)) & 0x7FFF);
    INT_PTR position = m_programPos;
    // Each entry is looked at a bounded number of times: a draw that keeps hitting
    // played entries gives way to the entries in order.
    for (INT_PTR tries = 0; tries < 8 * size + 64; ++tries)
    {
        BOOL drawn = random && tries < 4 * size + 32;
        if (drawn)
        {
            position = static_cast<INT_PTR>(g_CdPlayerSeam.random()) * size / 32766;
            m_randomChoice = 1;
        }
        else
        {
            position += direction <= 0 ? -1 : 1;
        }
        if (position >= size)
        {
            if (!random && !repeat)
            {
                m_programPos = 0;
                m_currentTrack = 0;
                return 0;
            }
            position = 0;
        }
        else if (position < 0)
        {
            if (random || repeat)
                position = size - 1;
            else
            {
                position = 0;
                direction = 1;
            }
        }
        CCdTrackInfo& entry = g_CdProgram[position];
        if (entry.m_unplayable)
            continue;
        if (random && entry.m_played)
        {
            BOOL allPlayed = TRUE;
            for (INT_PTR i = 0; i < size && allPlayed; ++i)
                allPlayed = g_CdProgram[i].m_unplayable || g_CdProgram[i].m_played;
            if (allPlayed)
            {
                for (INT_PTR i = 0; i < size; ++i)
                    g_CdProgram[i].m_played = 0;
            }
            continue;
        }
        m_programPos = position;
        m_currentTrack = entry.m_track;
        return 1;
    }
    return 0;
}

int ReadCdTracks(LPCWSTR drive, BOOL addToProgram)
{
    CHandleLock lock(g_CdMutex);
    g_CdDiscTracks.RemoveAll();
    g_CdProgram.RemoveAll();
    BOOL openedHere = FALSE;
    if (g_CdDeviceId == 0)
    {
        g_CdDeviceId = g_CdAudioDevice->Open(drive);
        if (g_CdDeviceId == 0)
            return 0;
        openedHere = TRUE;
    }
    int count = 0;
    if (!g_CdAudioDevice->GetTrackCount(g_CdDeviceId, count) || count <= 0)
    {
        g_CdAudioDevice->StopAndClose(g_CdDeviceId);
        g_CdDeviceId = 0;
        return 0;
    }
    for (int i = 0; i < count; ++i)
    {
        DWORD length = 0;
        if (!g_CdAudioDevice->GetTrackLength(g_CdDeviceId, i + 1, length))
            break;
        CCdTrackInfo track = {};
        track.m_track = i;
        track.m_minutes = static_cast<BYTE>(length & 0xFF);
        track.m_seconds = static_cast<BYTE>((length >> 8) & 0xFF);
        track.m_length = length;
        g_CdDiscTracks.Add(track);
        if (addToProgram)
            g_CdProgram.Add(track);
    }
    if (openedHere)
    {
        g_CdAudioDevice->StopAndClose(g_CdDeviceId);
        g_CdDeviceId = 0;
    }
    return g_CdDiscTracks.GetSize() > 0;
}

void PostCdCommand(CCdPlayThread* thread, int cmd)
{
    {
        CHandleLock lock(g_CdMutex);
        thread->m_pendingCommand = cmd;
    }
    SetEvent(thread->m_commandEvent);
}

void SendCdCommand(int cmd)
{
    if (g_CdPlayThread)
        PostCdCommand(g_CdPlayThread, cmd);
}

void ClearCdTrackLists(CCdPlayThread*)
{
    CHandleLock lock(g_CdMutex);
    g_CdDiscTracks.RemoveAll();
    g_CdProgram.RemoveAll();
}

void InsertProgramEntry(CCdPlayThread*, int position, int discTrack)
{
    CHandleLock lock(g_CdMutex);
    if (position < 0 || !IsInside(discTrack, g_CdDiscTracks.GetSize()))
        return;
    CCdTrackInfo track = g_CdDiscTracks[discTrack];
    if (position < g_CdProgram.GetSize())
        g_CdProgram.InsertAt(position, track);
    else
        g_CdProgram.Add(track);
}

void RemoveProgramEntry(CCdPlayThread*, int index)
{
    CHandleLock lock(g_CdMutex);
    if (IsInside(index, g_CdProgram.GetSize()))
        g_CdProgram.RemoveAt(index);
}

void MoveProgramEntryDown(CCdPlayThread*, int index)
{
    CHandleLock lock(g_CdMutex);
    if (index >= 0 && index < g_CdProgram.GetSize() - 1)
    {
        CCdTrackInfo swap = g_CdProgram[index];
        g_CdProgram[index] = g_CdProgram[index + 1];
        g_CdProgram[index + 1] = swap;
    }
}

void MoveProgramEntryUp(CCdPlayThread*, int index)
{
    CHandleLock lock(g_CdMutex);
    if (index >= 1 && index <= g_CdProgram.GetSize() - 1)
    {
        CCdTrackInfo swap = g_CdProgram[index];
        g_CdProgram[index] = g_CdProgram[index - 1];
        g_CdProgram[index - 1] = swap;
    }
}

void StopCdPlayThread()
{
    if (!g_CdPlayThread)
        return;
    g_CdPlayThread->m_stop = 1;
    DWORD code = 0;
    while (g_CdPlayThread->m_hThread && GetExitCodeThread(g_CdPlayThread->m_hThread, &code) && code != 0 &&
           code != static_cast<DWORD>(-1))
        WaitForSingleObject(g_CdPlayThread->m_hThread, INFINITE);
    delete g_CdPlayThread;
    g_CdPlayThread = nullptr;
}

void StopCdPlayback()
{
    StopCdPlayThread();
}

void StartCdPlayback()
{
    if (g_CdState == CD_PLAYING)
        return;
    if (g_CdState == CD_PAUSED && g_CdPlayThread)
    {
        PostCdCommand(g_CdPlayThread, CD_PAUSE_RESUME);
        return;
    }
    StopCdPlayThread();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
    {
        wchar_t root[] = {letter, L':', L'\\', 0};
        if (GetDriveTypeW(root) != DRIVE_CDROM)
            continue;
        wchar_t drive[] = {letter, L':', 0};
        ClearCdTrackLists(nullptr);
        if (!ReadCdTracks(drive, TRUE))
            continue;
        CCdPlayThread* thread = new CCdPlayThread;
        thread->m_drive = letter;
        thread->m_bAutoDelete = FALSE;
        g_CdPlayThread = thread;
        if (!thread->CreateThread())
        {
            delete thread;
            g_CdPlayThread = nullptr;
        }
        return;
    }
}
