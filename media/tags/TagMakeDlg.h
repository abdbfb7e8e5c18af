// The tag input dialog: writes the ID3v1 block and the RIFF INFO items of a list of
// audio files, one file at a time or all at once.
#pragma once
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "framework/FwDialog.h"
#include "media/tags/MpegAudioData.h"

class CTagMakeDlg : public CDialog
{
public:
    CTagMakeDlg();

    // The entries are changed in place: each written one is read again.
    CArray<CMpegAudioData>* m_pList;
    // 1 batch mode (every entry from the current one on), 0 one file at a time.
    int m_batch;
    int m_index;

    void ShowEntry();
    void ShowTags(const CMpegAudioData& entry);
    void SetFormatRadio(int flags);
    void FillCopySourceList(const CMpegAudioData& entry);
    void CopyId3ToRiff();
    void CopyRiffToId3();
    void CopyInfoFrom();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPrevious();
    void OnSkip();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    int CheckedFormat() const;
    void SelectGenre(int code);
    CString ItemText(int id) const;
    LRESULT SendItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }
    CPreviewReaderHold m_readerHold;
};
