// The attribute dialog: sets read-only, hidden, system and archive on the entries a
// command acts on in a pane, and optionally on everything inside chosen folders.
#pragma once
#include <windows.h>
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/FileInfo.h"
#include "app/records/WalkPathGuard.h"
#include "framework/FwDialog.h"

// The answers of the walks inside folders.
enum
{
    WALK_STOPPED = 0,
    WALK_DONE = 1,
};

class CAttributeDlg : public CDialog
{
public:
    explicit CAttributeDlg(int paneIndex, CWnd* pParent = nullptr);

    // Sets the value on each target in order, first inside folders when asked; a
    // stop inside leaves the folder and the rest as they are.
    void ApplyToEntries(const CArrayFileInfo& targets, DWORD value);
    // WALK_STOPPED when the user chose to stop after a failure.
    int ApplyInside(const CFileInfo& folder, DWORD value);

    int m_paneIndex;
    int m_bInside = 0;       // check box 154
    int m_bSpareFolders = 0; // check box 1126

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CArrayFileInfo m_targets;
    CWalkPathGuard m_walkPath;
    CPreviewReaderHold m_readerHold;
};

// The pane's target entries (the marked ones, else the cursor entry), virtual-drive
// entries included.
void CollectTargetEntries(int paneIndex, CArrayFileInfo& out, int limit = -1);
