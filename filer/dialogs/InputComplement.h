// Ctrl+Tab completion of file and directory names in a dialog's edit field or combo
// box: each press puts the next name that continues the typed text into the field;
// after the last one the typed text comes back and the cycle starts again.
#pragma once
#include <windows.h>
#include "framework/FwWnd.h"

// What completes.
enum
{
    COMPLETE_DIRECTORIES = 0,
    COMPLETE_FILES = 1,
    COMPLETE_BOTH = 2,
};

class CInputComplement : public CWnd
{
public:
    CInputComplement() = default;
    ~CInputComplement() override;
    CInputComplement(const CInputComplement&) = delete;
    CInputComplement& operator=(const CInputComplement&) = delete;

    // Set by the owning dialog before it attaches the object.
    int m_paneNumber = -1;
    int m_mode = COMPLETE_BOTH;
    // Empty: the process's current directory.
    CString m_baseDirectory;
    int m_bEdit = 0;
    int m_bCombo = 0;

    // Sets the fields and subclasses control `id` of `dialog` (an edit field, or a
    // combo box when `combo`); FALSE when there is no such control.
    BOOL Attach(CWnd* dialog, int id, BOOL combo, int mode, LPCWSTR baseDirectory, int paneNumber = -1);

    // Ends a search that is still open.
    void CloseSearch();
    // Only Ctrl+Tab without Shift completes.
    static BOOL IsCompletionKey(UINT virtualKey, BOOL ctrl, BOOL shift);
    // One completion step, as a Ctrl+Tab makes it.
    void Complete();
    // The text that follows the typed prefix; the prefix itself after the last one.
    CString NextCandidate();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL AcceptEntry(const WIN32_FIND_DATAW& found, CString& candidate) const;

    BOOL m_bRestart = TRUE;
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    CString m_lastResult;
    CString m_prefix;
};
