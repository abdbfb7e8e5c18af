// The CD audio device through MCI.
#include "util/PathHelpers.h"
#include "media/cd/CdPlayer.h"

#include <mmsystem.h>

namespace
{

class CMciCdDevice : public ICdAudioDevice
{
public:
    UINT Open(LPCWSTR drive) override
    {
        MCI_OPEN_PARMSW open = {};
        open.lpstrDeviceType = reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(MCI_DEVTYPE_CD_AUDIO));
        open.lpstrElementName = drive;
        if (mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT,
                            reinterpret_cast<DWORD_PTR>(&open)) != 0)
            return 0;
        return open.wDeviceID;
    }
    BOOL SetTmsf(UINT device) override
    {
        MCI_SET_PARMS set = {};
        set.dwTimeFormat = MCI_FORMAT_TMSF;
        return mciSendCommandW(device, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set)) == 0;
    }
    BOOL GetTrackCount(UINT device, int& count) override
    {
        MCI_STATUS_PARMS status = {};
        status.dwItem = MCI_STATUS_NUMBER_OF_TRACKS;
        if (mciSendCommandW(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&status)))
            return FALSE;
        count = static_cast<int>(status.dwReturn);
        return TRUE;
    }
    BOOL GetTrackLength(UINT device, int track, DWORD& length) override
    {
        MCI_STATUS_PARMS status = {};
        status.dwItem = MCI_STATUS_LENGTH;
        status.dwTrack = static_cast<DWORD>(track);
        if (mciSendCommandW(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_TRACK | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&status)))
            return FALSE;
        length = static_cast<DWORD>(status.dwReturn);
        return TRUE;
    }
    DWORD GetPosition(UINT device) override { return Status(device, MCI_STATUS_POSITION); }
    BOOL IsMediaPresent(UINT device) override { return Status(device, MCI_STATUS_MEDIA_PRESENT) != 0; }
    int GetMode(UINT device) override { return static_cast<int>(Status(device, MCI_STATUS_MODE)); }
    BOOL Play(UINT device, DWORD from, DWORD to) override
    {
        MCI_PLAY_PARMS play = {};
        play.dwFrom = from;
        play.dwTo = to;
        return mciSendCommandW(device, MCI_PLAY, MCI_FROM | MCI_TO | MCI_NOTIFY,
                               reinterpret_cast<DWORD_PTR>(&play)) == 0;
    }
    void Pause(UINT device) override { mciSendCommandW(device, MCI_PAUSE, MCI_WAIT, 0); }
    void StopAndClose(UINT device) override
    {
        mciSendCommandW(device, MCI_STOP, MCI_WAIT, 0);
        mciSendCommandW(device, MCI_CLOSE, MCI_WAIT, 0);
    }
    BOOL IsRootAccessible(LPCWSTR root) override
    {
        CString pattern = CString(root) + L"*";
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileLong(pattern, &found);
        if (find != INVALID_HANDLE_VALUE)
        {
            FindCloseLong(find);
            return TRUE;
        }
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }

private:
    static DWORD Status(UINT device, DWORD item)
    {
        MCI_STATUS_PARMS status = {};
        status.dwItem = item;
        if (mciSendCommandW(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)))
            return 0;
        return static_cast<DWORD>(status.dwReturn);
    }
};

CMciCdDevice g_MciCdDevice;

} // namespace

ICdAudioDevice* g_CdAudioDevice = &g_MciCdDevice;
