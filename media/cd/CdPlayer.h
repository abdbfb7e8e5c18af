// Audio CDs played by program (a user-arranged track order) on a worker thread, with
// repeat and random play. The view's CD commands and the CD player dialog share the
// state below under g_CdMutex.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwThread.h"

struct CCdTrackInfo
{
    int m_track; // 0-based disc track
    BYTE m_played;
    BYTE m_unplayable;
    BYTE m_minutes;
    BYTE m_seconds;
    LONGLONG m_length; // minutes, seconds and frames in bytes 0, 1 and 2
};

// States of g_CdState.
enum
{
    CD_PLAYING = 1,
    CD_STOPPED = 2,
    CD_PAUSED = 3,
};

// Commands of CCdPlayThread::Command.
enum
{
    CD_POLL = 0,
    CD_PLAY = 1,
    CD_STOP = 2,
    CD_PAUSE_RESUME = 3,
    CD_PREVIOUS = 4,
    CD_NEXT = 5,
};

// What the player asks of the CD audio device. The program's device goes through
// MCI; tests put a scripted one in its place, since Wine plays no CDs.
class ICdAudioDevice
{
public:
    virtual ~ICdAudioDevice() = default;
    // The device id; 0 when the drive ("X:") could not be opened.
    virtual UINT Open(LPCWSTR drive) = 0;
    virtual BOOL SetTmsf(UINT device) = 0;
    virtual BOOL GetTrackCount(UINT device, int& count) = 0;
    // `track` counted from 1; the length in minutes, seconds and frames.
    virtual BOOL GetTrackLength(UINT device, int track, DWORD& length) = 0;
    virtual DWORD GetPosition(UINT device) = 0;
    virtual BOOL IsMediaPresent(UINT device) = 0;
    virtual int GetMode(UINT device) = 0;
    virtual BOOL Play(UINT device, DWORD from, DWORD to) = 0;
    virtual void Pause(UINT device) = 0;
    virtual void StopAndClose(UINT device) = 0;
    virtual BOOL IsRootAccessible(LPCWSTR root) = 0;
};

// The device the player uses; the program's MCI device unless a test replaced it.
extern ICdAudioDevice* g_CdAudioDevice;
// What the player draws random play from; tests replace it.
struct CdPlayerSeam
{
    // Draws a number 0..32767.
    int (*random)();
};

extern CdPlayerSeam g_CdPlayerSeam;

class CCdPlayThread : public CWinThread
{
public:
    CCdPlayThread();
    ~CCdPlayThread() override;

    BOOL InitInstance() override;
    int Run() override;
    int ExitInstance() override;

    void Command(int cmd);
    // Moves the program position by direction (random: a drawn position) to the next
    // playable entry and makes its track current; 0 when none is left.
    int SelectNextTrack(int direction);

    int m_randomChoice;
    volatile int m_stop;
    wchar_t m_drive;
    INT_PTR m_programPos;
    INT_PTR m_currentTrack;
    DWORD m_savedPosition; // track, minutes, seconds, frames in bytes 0-3
    volatile int m_pendingCommand;
    CString m_driveString;
    HANDLE m_commandEvent;

private:
    void PlayFrom(DWORD from);
    int m_exitCode;
};

extern CArray<CCdTrackInfo> g_CdDiscTracks;
extern CArray<CCdTrackInfo> g_CdProgram;
extern int g_CdState;
extern UINT g_CdDeviceId;
extern CCdPlayThread* g_CdPlayThread;
// Guards both arrays, the device id, the state and the pending command; the view
// creates it.
extern HANDLE g_CdMutex;

inline DWORD MakeTmsf(int track, int minutes, int seconds, int frames)
{
    return static_cast<DWORD>(track & 0xFF) | (static_cast<DWORD>(minutes & 0xFF) << 8) |
           (static_cast<DWORD>(seconds & 0xFF) << 16) | (static_cast<DWORD>(frames & 0xFF) << 24);
}

// Reads the disc's tracks into g_CdDiscTracks (and g_CdProgram when addToProgram);
// 1 when there were any.
int ReadCdTracks(LPCWSTR drive, BOOL addToProgram);
void PostCdCommand(CCdPlayThread* thread, int cmd);
void SendCdCommand(int cmd);
void ClearCdTrackLists(CCdPlayThread* thread);
void InsertProgramEntry(CCdPlayThread* thread, int position, int discTrack);
void RemoveProgramEntry(CCdPlayThread* thread, int index);
void MoveProgramEntryDown(CCdPlayThread* thread, int index);
void MoveProgramEntryUp(CCdPlayThread* thread, int index);
// "@CdPlay": resumes a paused player, or starts one on the first CD drive with tracks.
void StartCdPlayback();
void StopCdPlayback();
void StopCdPlayThread();
