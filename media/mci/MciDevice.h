// What the media window asks of the MCI window it drives. The program's device sends
// the MCI window's messages; tests put a scripted one in its place, since Wine may
// not play media.
#pragma once
#include <windows.h>

// Modes as MCI reports them.
enum
{
    MEDIA_MODE_NOT_READY = 524,
    MEDIA_MODE_STOP = 525,
    MEDIA_MODE_PLAY = 526,
    MEDIA_MODE_RECORD = 527,
    MEDIA_MODE_SEEK = 528,
    MEDIA_MODE_PAUSE = 529,
    MEDIA_MODE_OPEN = 530,
};

class IMciDevice
{
public:
    virtual ~IMciDevice() = default;
    virtual int GetMode() = 0;
    // 0 when the file opened.
    virtual LONG Open(LPCWSTR fullPath) = 0;
    // 0 when playing started.
    virtual LONG Play() = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void SetTimeFormatMs() = 0;
    virtual LONG GetLength() = 0;
    virtual LONG GetPosition() = 0;
    virtual void Seek(LONG position) = 0;
    virtual void SetVolume(int volume) = 0;
    virtual void SetZoom(int percent) = 0;
    virtual int GetZoom() = 0;
    virtual BOOL GetSourceRect(RECT& rect) = 0;
    virtual void ShowPlayBar(BOOL show) = 0;
};

// The device of a real MCI window.
IMciDevice* CreateMciWindowDevice(HWND mciWindow);
