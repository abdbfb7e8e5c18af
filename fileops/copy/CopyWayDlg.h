// The two small questions of a copy or delete job: how a file whose name is taken at
// the destination is treated (and whether the answer holds for the rest of the job),
// and a yes/no question with "以後同設定".
#pragma once
#include <windows.h>
#include "app/dialogs/DialogAnswerScript.h"
#include "filer/FileInfo.h"

// The conflict question (template 1212). A scripted answer gives the rule in `index`
// and in `checks`: same-for-the-rest, time range, copy attributes, copy date and time
// (missing ones keep their values). The recorded question carries the rule shown
// first in `type` and, in `items`, the labels of the checks shown ticked.
class CCopyWayDlg : public CScriptedDialog
{
public:
    explicit CCopyWayDlg(CWnd* pParent = nullptr);

    const CFileInfo* m_pEntry = nullptr; // null: asked before the job, without a file
    CString m_directory;                 // the destination directory
    WIN32_FIND_DATAW m_existing{};       // the file already there
    int m_rule = 0;
    BOOL m_sameForRest = FALSE;
    BOOL m_timeRange = FALSE;
    int m_noCopyAttributes = 0;
    int m_noCopyDateTime = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnNoCopyAction();
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

    DECLARE_MESSAGE_MAP()

private:
    // The no-copy pair as the button left it; taken over only by OK.
    int m_pendingAttributes = 0;
    int m_pendingDateTime = 0;
};

// A yes/no question with the check "以後同設定" (template 1195). The scripted answer's
// checks[0] is the check's state.
class CAskSameDlg : public CScriptedDialog
{
public:
    explicit CAskSameDlg(CWnd* pParent = nullptr);

    CString m_caption;
    CString m_message;
    BOOL m_same = FALSE; // in: the check's first state; out: its state at the end

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};
