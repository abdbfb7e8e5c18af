// The dialog that edits which extensions count as video and as audio.
#pragma once
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"

class CSoundLoadFileDlg : public CDialog
{
public:
    CSoundLoadFileDlg();

    // The copy being edited; OK puts it into g_MediaKindList.
    CStringArray m_kinds;
    int m_offset; // 0, 10 or 20 within the half
    int m_audio;  // the half shown: 0 video, 1 audio

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void StoreEdits();
    void ShowPage();
};
