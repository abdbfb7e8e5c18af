// The directory history dialog: the visited directories, filtered and in visit or
// name order; the chosen one becomes the result.
#pragma once
#include <vector>

#include "filer/PathHistory.h"
#include "framework/FwDialog.h"

class CDirHistoryDlg : public CDialog
{
public:
    explicit CDirHistoryDlg(CWnd* pParent = nullptr);

    // After IDOK: the chosen directory, empty when no line was selected.
    CString m_resultPath;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Keeps the snapshot records whose upper-cased path holds the upper-cased filter.
    void ApplyFilter();
    // Sorts the kept records by the chosen order and lists them.
    void FillList();

    void OnSortOrder();
    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);

    DECLARE_MESSAGE_MAP()

private:
    void Accept();

    std::vector<CPathHistoryInfo> m_records; // the snapshot as it was taken
    std::vector<size_t> m_kept;              // indices into m_records, in list order
    BOOL m_layoutReady = FALSE;
    SIZE m_minimumSize = {0, 0};
    SIZE m_initialClient = {0, 0};
    RECT m_listRect = {0, 0, 0, 0};
    RECT m_okRect = {0, 0, 0, 0};
    RECT m_cancelRect = {0, 0, 0, 0};
};
