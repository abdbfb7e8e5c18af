// The pack dialog: archive name, destination, self-extracting row, level or format,
// extension case, overwrite confirmation, password and the archiver library's
// switches for one of the kinds LHA, ZIP and 7Z, in one archive or one archive per
// file. OK runs RunPackRequest; the dialog ends with IDOK once it has run.
//
// The caller sets the public members before DoModal; the files to pack are the
// source pane's target entries unless the caller fills m_files itself. The dialog
// holds a reader of the thumbnail loader for its whole life.
#pragma once
#include "archivefront/dialogs/PackJob.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/dialogs/InputComplement.h"
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"

class CPackDlg : public CDialog
{
public:
    explicit CPackDlg(CWnd* pParent = nullptr);

    CString m_sourceDir;
    int m_paneIndex = 0;
    int m_kind = PACK_KIND_LHA;
    int m_perFile = 0;
    CString m_destination;
    CStringArray m_files;

    // Shows (hide 0 toggles) or hides the switch list under the buttons.
    void ShowMoreOptions(int hide);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnMore();
    void OnBrowse();
    void FillPackOptions();
    void StorePackOptions();
    DECLARE_MESSAGE_MAP()

private:
    CPreviewReaderHold m_readerHold;
    CCheckListBox m_options;
    CInputComplement m_nameCompletion;
    CInputComplement m_destinationCompletion;
    int m_optionsShown = 1;
};
