// The tag display window: the tags and MPEG frame data of the file under the active
// pane's cursor, following the cursor.
#pragma once
#include "framework/FwDialog.h"
#include "media/tags/MpegAudioData.h"

class CViewTagDlg : public CDialog
{
public:
    // placedFlag: the view's flag that says the window has been placed; while it is
    // set, moves are kept as the window's position and in VIEWTAGVIEWX/VIEWTAGVIEWY.
    explicit CViewTagDlg(int* placedFlag);
    ~CViewTagDlg() override;

    BOOL Create(CWnd* parent);
    // The entry to show (null for none) and the directory it lies in; the tags are
    // read a moment later, so that a fast-moving cursor reads only where it stops.
    void SetFile(const CFileInfo* entry, LPCWSTR directory);
    // Reads and shows the tags of the file set last.
    void OnTagTimer();
    void ShowField(int control, LPCWSTR id3v2Key, LPCWSTR riffKey, LPCWSTR id3v1Text);

    // "44.1 KHz", "22.05 KHz", "48. KHz".
    static CString FormatSamplingRate(int rate);

    // The window's top-left corner as last moved while placed.
    POINT m_position;

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int* m_pPlacedFlag;
    HANDLE m_mutex;
    CMpegAudioData m_record;
    int m_initialWidth;
    int m_initialHeight;
    int m_initialised;
};
