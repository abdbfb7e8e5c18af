// The sound list window: the play list with the tags of its entries, its editing,
// and the transport buttons of the sound list.
#pragma once
#include "framework/FwDialog.h"
#include "media/tags/MpegAudioData.h"

// "<index>.<artist> - <title>" (or the file name) of an entry, for the window's
// now-playing line.
CString FormatNowPlayingLine(int index, const CMpegAudioData& entry);
// The six column texts of an entry's row.
void FormatSoundListRow(int index, const CMpegAudioData& entry, CString (&columns)[6]);

class CSoundListDlg : public CDialog
{
public:
    // The transport buttons: previous, play, pause, stop and next.
    enum
    {
        TRANSPORT_BUTTON_COUNT = 5
    };

    CSoundListDlg();
    ~CSoundListDlg() override;

    BOOL Create(CWnd* parent);
    // Forwards to the sound list's transport (1 play, 2 stop, 4 previous, 5 next, 6
    // pause or resume).
    int Transport(int command);
    void StopList();
    void AddPath(LPCWSTR path);
    void RefreshList();
    void SetRow(int index, BOOL replace);
    // With load, takes the buttons' pictures; the play button shows its second picture
    // while the list plays, the other four theirs while it does not.
    void RefreshTransport(BOOL load);
    // The picture a transport button shows: 0 the first, 1 the second, -1 none yet.
    int ShownPicture(int button) const { return m_shownPicture[button]; }

    // Set by the view when the window is shown again: the next tick rereads the
    // check boxes and the rows.
    int m_refreshRequest;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnTick();
    void MoveFocused(int direction);
    void AddFiles();
    void AddDirectory();
    void DeleteSelected();
    void SaveList();
    void EditTags();
    void OnDropFiles(HDROP drop);
    void AppendRowsFrom(INT_PTR first);
    HWND List() const;

    CMpegAudioData m_shownEntry;
    int m_shownCount;
    CString m_lastPlayingPath;
    SIZE m_minimum;
    SIZE m_initialClient;
    int m_initialised;
    WNDPROC m_listProc;
    HBITMAP m_pictures[TRANSPORT_BUTTON_COUNT][2] = {};
    int m_shownPicture[TRANSPORT_BUTTON_COUNT] = {-1, -1, -1, -1, -1};
};
