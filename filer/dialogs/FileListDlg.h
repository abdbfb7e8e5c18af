// The names of every file a command of a pane would act on, folders expanded to
// their files and those of their sub-folders, as text to copy, with absolute paths
// or paths relative to the pane's folder.
#pragma once
#include <vector>

#include "app/records/PaneRecords.h"
#include "framework/FwDialog.h"

class CFileInfo;
class CFilerPane;
class CWalkPathGuard;

class CFileListDlg : public CDialog
{
public:
    explicit CFileListDlg(CWnd* pParent = nullptr);

    // Set by the caller: the pane whose targets are listed.
    int m_paneNumber = 0;
    CString m_baseDirectory;
    // In collection order: the target files, then each target folder's files before
    // those of its sub-folders.
    std::vector<CFileListEntry> m_files;

    // Fills the base directory and the files from the pane; FALSE when memory ran out.
    BOOL CollectFiles(CFilerPane& pane);
    // The text of the list, one line per file ended by CR LF.
    CString BuildText(BOOL relative) const;

protected:
    BOOL OnInitDialog() override;
    void ShowList();

    DECLARE_MESSAGE_MAP()

private:
    void CollectDirectory(const CFileInfo& directory, CWalkPathGuard& walkPath);
};
