// The text viewer's settings dialog: widths, memory, scrolling, line numbers, the
// line-end mark, the five line-width presets and the two double-click actions. The
// view copies the values in before and stores them after OK.
#pragma once
#include "framework/FwDialog.h"

// One row of the double-click actions: what the combo shows and the keyword run.
struct ViewerClickAction
{
    LPCWSTR displayText;
    LPCWSTR keyword;
};
constexpr int VIEWER_CLICK_ACTION_COUNT = 5;
extern const ViewerClickAction g_ViewerClickActions[VIEWER_CLICK_ACTION_COUNT];
// The row whose keyword equals `keyword` ignoring case; 0 when none does.
int FindViewerClickAction(LPCWSTR keyword);

// The values the dialog edits.
struct ViewerConfigValues
{
    int tabColumns = 4;
    int memoryKb = 320;
    int lineWidth = 80;
    int scrollSpeed = 5;
    int scrollLines = 1;
    int lineNumbers = 0;
    int findFromTop = 0;
    int fastScrollCount = 5;
    int fastScrollLines = 5;
    CString lineReturnCode;
    int presets[5] = {80, 80, 80, 80, 80};
    CString leftAction;
    CString rightAction;
};

class CViewConfigDlg : public CDialog
{
public:
    explicit CViewConfigDlg(CWnd* pParent = nullptr);

    ViewerConfigValues m_values;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnSetPreset();
    void FillPresetList();

    DECLARE_MESSAGE_MAP()
};
