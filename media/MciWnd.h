// The hidden media window that plays media files, command sounds and the entries of
// the play list, one at a time.
#pragma once
#include "framework/FwWnd.h"

class IMciDevice;

// Playback actions of CMciWnd::ControlPlayback.
enum
{
    MEDIA_PLAY = 1,
    MEDIA_STOP = 2,
    MEDIA_TOGGLE = 3,
    MEDIA_PAUSE_RESUME = 6,
};

// Who asks: a single file (a file from a pane, a command sound) or the play list.
enum
{
    MEDIA_REQUEST_SINGLE = 1,
    MEDIA_REQUEST_LIST = 2,
    MEDIA_REQUEST_ANY = 3,
};

// The transport commands of the sound list. The numbers are the ones the sound list's
// answers carry, so they stay as they are.
enum SoundListCommand
{
    SOUND_LIST_PLAY = 1,
    SOUND_LIST_STOP = 2,
    SOUND_LIST_PREVIOUS = 4,
    SOUND_LIST_NEXT = 5,
    SOUND_LIST_PAUSE = 6, // pause, or resume a paused list
};

// The list that hands entries to the media window and is told when one ended or
// failed (the sound list).
class IPlayListOwner
{
public:
    virtual ~IPlayListOwner() = default;
    // One of SoundListCommand.
    virtual int Transport(int command) = 0;
};

class CMciWnd : public CWnd
{
public:
    CMciWnd();
    ~CMciWnd() override;

    // Takes the device over; the window drives MCI only through it.
    void SetDevice(IMciDevice* device);

    CMciWnd* ControlPlayback(int action, LPCWSTR path, int requester);
    // Playing, seeking or paused; with flag also stopped or not ready.
    int IsBusy(int flag);
    void SetZoom(int percent);
    void UpdateCaption();
    void ChangeVolume(int delta);
    void ChangeZoom(int delta);
    void Seek(LONG position, BOOL absolute);
    void ToggleFullScreen(BOOL toggle);
    void StopAndClose();
    // 0 when the file opened, -1 when not.
    int Open(LPCWSTR path);
    void MarkPlayListEntryFailed();
    // The end-of-medium check of timer 1.
    void OnPlayTimer();
    // Looks the position trackbar up among the MCI window's children.
    void FindTrackbar();

    // The medium position of a click at x on a trackbar `width` pixels wide; -1 when
    // the bar is too narrow to point at anything.
    static LONG TrackbarPosition(int x, int width, LONG length);
    // Keys and the wheel; HandleKey says whether the key was consumed.
    BOOL HandleKey(UINT key, BOOL ctrl, BOOL shift);
    void HandleWheel(int delta, BOOL ctrl, BOOL shift);
    void HandleMenuCommand(UINT id);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CString m_currentFile;
    IPlayListOwner* m_pOwnerList;
    // The settings variables the window applies and updates: zoom in percent when a
    // video opens, and the volume in MCI units (1000 = 100 %).
    int* m_pZoom;
    int m_ownZoom;
    int* m_pVolume;
    int m_ownVolume;
    int m_requestMask;
    HWND m_trackbar;
    RECT m_savedRect;
    int m_busy;
    int m_dragging;
    // Whether the window is meant to be visible (the window itself may not exist).
    int m_shown;
    CString m_caption;

private:
    int IsAudioFile() const;
    void ShowMedia(int command);
    void ShowPopupMenu();

    IMciDevice* m_device;
    int m_depth;       // nesting of ControlPlayback
    int m_skipPending; // a list entry failed: the owner steps on after the request
};

// The one media window of the program; null while there is none.
extern CMciWnd* g_MciWnd;
// Full screen, shared by every media window.
extern int g_MciFullScreen;

// Creates a hidden media window (owned by the parent when given); null when it
// cannot be created.
CMciWnd* CreateMciWnd(HWND hWndParent);
// Stops playback and destroys g_MciWnd, which becomes null; nothing when there is
// none.
void DestroyMciWnd();

void PlaySoundFile(LPCWSTR path, int requester);
BOOL IsMediaPlaying();
BOOL IsPlayListPlaying();
// Plays the sound bound to the command name, if any.
void PlayCommandSound(LPCWSTR name);
