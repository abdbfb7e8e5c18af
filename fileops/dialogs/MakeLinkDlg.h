// The shortcut dialog: collects the data of a shell shortcut to the cursor entry; the
// command that opens it writes the shortcut.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

// The directories without repeats (case aside), the first spelling kept, in order.
void RemoveRepeatedDirectories(const CStringArray& directories, CStringArray& out);

// The name the shortcut file gets: the full proposal when the extension is kept and
// there is one, else the plain proposal.
CString ChooseLinkFileName(BOOL keepExtension, LPCWSTR proposedName, LPCWSTR proposedFullName);

class CMakeLinkDlg : public CDialog
{
public:
    explicit CMakeLinkDlg(CWnd* pParent = nullptr);

    // In.
    CString m_linkTarget;
    CString m_proposedName;     // base name + ".lnk"
    CString m_proposedFullName; // name with its extension + ".lnk"; may be empty
    CStringArray m_candidateDirectories;
    // The one of them the save field starts with; empty: the first.
    CString m_preselectedDirectory;
    // In and out.
    CString m_workDirectory;
    CString m_arguments;
    CString m_description;
    // Out.
    CString m_fileName;
    CString m_saveDirectory;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void FillFileName();
    void BrowseArguments();
};
