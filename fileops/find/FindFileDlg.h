// The file-search dialog: in mode 0 a modeless, resizable window that lists the finds
// itself; in mode 1 a short modal dialog that starts a search into a pane's find
// results and closes at once.
#pragma once
#include <windows.h>
#include "app/ProgressInfo.h"
#include "app/dialogs/WorkerDialog.h"
#include "filer/FindCondition.h"
#include "filer/FindWorkerLink.h"
#include "framework/FwString.h"

class CFindThread;

enum
{
    FIND_STATE_IDLE = 0,
    FIND_STATE_SEARCHING = 1,
    FIND_STATE_ENDED = 2,
};

// What Return does in the result list.
enum
{
    FIND_RETURN_NOTHING = 0,
    FIND_RETURN_GO_TO_FILE = 1,
    FIND_RETURN_SEARCH = 2,
};

// In mode 0 the dialog is the sink of its search: the finds go into its result list.
class CFindFileDlg : public CFindDialogBase, public CFindResultSink
{
public:
    // mode: 0 the search window, 1 the pane search.
    explicit CFindFileDlg(int mode, CWnd* pParent = nullptr);
    ~CFindFileDlg() override;

    void PumpSearchMessages() override;
    // The selected row becomes the found name and directory; mode 0 tells the view.
    void GoToFileLocation();

    // The search's finds, as rows of the result list (called on the search's thread,
    // and on this one when the finds are sorted).
    void AddFind(int row, const CFileInfo& entry) override;
    void ShowFinds(const CArrayFileInfo& finds) override;

    int m_mode;
    CString m_baseDirectory;
    int m_paneIndex = -1;
    CFindThread* m_pThread = nullptr;
    int m_searchState = FIND_STATE_IDLE;
    FindCondition m_condition;
    int m_returnAction = FIND_RETURN_NOTHING;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillHistories();
    void OnSearchEnded();
    // Shows the directory the search published since the last look (the timer).
    void ShowSearchProgress();
    void MoveControls(int width, int height);
    void KeepOnMonitor();
    void StorePlacement();

    SIZE m_minimumSize = {0, 0};
    BOOL m_initialized = FALSE;
    // The client rectangles of the controls that follow the window's size.
    RECT m_controlRects[14] = {};
    CProgressDisplays m_shown;
};
