// The rename dialog: a new name or a pattern for the entries of a pane (modes 0 and
// 1, renamed by the rename worker), or a new name for one entry that the caller uses
// itself (mode 2 tests that it is free in a directory; higher modes do not test).
#pragma once
#include "app/ProgressInfo.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"
#include "filer/FileInfo.h"

class CRenameThread;
class CArrayRenameFileName;

class CRenameDlg : public CDialog
{
public:
    explicit CRenameDlg(CWnd* pParent = nullptr);
    ~CRenameDlg() override;

    int m_mode = 0;
    int m_paneIndex = 0;
    int m_entryIndex = 0;    // mode 1
    CFileInfo m_entry;       // modes 2 and above
    CString m_testDirectory; // mode 2
    CArrayRenameFileName* m_pRenameList = nullptr;

    // Results: the job's last new name (modes 0 and 1), the typed name (others).
    CString m_lastNewName;
    CString m_typedName;

    // The name typed or chosen, with the hidden extension put back.
    CString GetInputName() const;
    CRenameThread* GetWorker() const { return m_pWorker; }

    // With m_bScriptable, a single-name mode (2 and above) is answered by a running
    // dialog-answer script (the typed name as its text) instead of showing itself; the
    // pane modes always show themselves.
    INT_PTR DoModal() override;
    BOOL m_bScriptable = FALSE;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnStop();
    void OnConvertCheck();
    void OnInputByEditBox();
    void OnOmitExtension();
    void StepStartNumber(int id, int delta);
    void ShowNames();
    void SelectBaseName(BOOL apply, BOOL remember);
    // Shows the names the worker published since the last look (the progress timer).
    void ShowWorkerProgress();

private:
    void ApplyEntry(const CFileInfo& entry);
    void FillHistory();
    void ShowConversionGroup(BOOL show);
    void SetInputText(LPCWSTR text);
    int InputId() const;

    CString m_oldText;
    CString m_initialNewText;
    int m_selectBaseName = 1;
    int m_omissionAllowed = 1;
    int m_singleEntry = 0;
    int m_pendingSelection = 0;
    int m_conversionShown = 1;
    int m_templateWidth = 0;
    int m_templateHeight = 0;
    int m_sizingReady = 0;
    HWND m_tooltip = nullptr;
    CRenameThread* m_pWorker = nullptr;
    CProgressDisplays m_shown;
    CPreviewReaderHold m_readerHold;
};
