// The directory tree below a folder or a drive root, drawn with box-drawing
// characters; the files of the folder under the caret; the chosen lines to the
// clipboard; and a jump to the chosen folder. The tree of a drive root comes from the
// memory or file cache of the tree store when either is switched on.
#pragma once
#include <vector>

#include "filer/DirTreeStore.h"
#include "framework/FwDialog.h"

class CWalkPathGuard;

class CDirtreeDlg : public CDialog
{
public:
    explicit CDirtreeDlg(CWnd* pParent = nullptr, DirTreeStore* store = &g_DirTreeStore);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Puts the tree of a drive root from the store's memory or its cache file into
    // the list; 0 (nothing shown) when no cache applies.
    int LoadCachedTree();
    // Lists the sub-folders below `directory` at `depth`, recursively; 0 when the
    // scan stopped.
    virtual int ScanTree(const CFileInfo& directory, int depth);

    void OnTreeSelChange();
    void OnGo();
    void OnReload();
    void OnCopy();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

    DirTreeStore* m_pStore;
    CString m_rootPath;
    // The full path of tree line k + 1 at index k; the root line is not in it.
    std::vector<CString> m_paths;
    // Per depth: 1 when a later sibling follows.
    std::vector<BYTE> m_flags;

private:
    void AddRootLine();
    void AddLine(const CString& line);
    void DrawCachedList();
    int ScanBelow(const CFileInfo& directory, int depth, CWalkPathGuard& walkPath);
    // The letter of a drive-root tree, or 0.
    wchar_t RootDriveLetter() const;
    BOOL m_bFromStore = FALSE;
};
