// The sheet "ファイラー設定": start-up, filer options, reload intervals, external
// programs, dialogs and copy buffer sizes. The option list, the reload rows, the
// dialog flags and the buffer sizes are written by their pages on OK; the start-up
// values, the filer page's five values and the six program texts live in page
// members that LoadFromSettings fills and StoreToSettings writes back. A page is made
// only when first shown and only a made page applies anything, so a page the user
// never opened changes nothing; Cancel changes nothing at all.
#pragma once
#include <windows.h>
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

// One line of the filer option list: its label and the integer setting a tick sets.
struct FilerOptionRow
{
    wchar_t label[60];
    int* setting;
};
constexpr int kFilerOptionCount = 53;
extern const FilerOptionRow g_FilerOptionRows[kFilerOptionCount];

// A page of the sheet: Return and Escape inside it belong to the sheet, not to it.
class CFilerSettingPage : public CDialog
{
public:
    using CDialog::CDialog;
    // Takes the page's controls into the settings or members; false keeps the sheet
    // open (a bad number, already reported).
    virtual bool Apply() = 0;

protected:
    void OnOK() override {}
    void OnCancel() override {}
};

class CAllDefStartWindow : public CFilerSettingPage
{
public:
    CAllDefStartWindow();
    int m_startSize = 0;
    int m_startPos = 0;
    int m_width = 640;
    int m_height = 480;
    int m_x = 0;
    int m_y = 0;
    CString m_firstDirectory;
    CString m_secondDirectory;
    int m_startEndDir = 0;
    int m_secondFileOpen = 0;
    bool Apply() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void Browse(int editId);
    void TakeWindowSize();
};

class CAllDefFilerSetting : public CFilerSettingPage
{
public:
    CAllDefFilerSetting();
    int m_fileNameLong = 20;
    int m_fileKindMaxLong = 5;
    int m_sumSaveCurPos = 30;
    int m_fileCharType = 0;
    int m_viewFileTimeType = 2;
    bool Apply() override;
    CCheckListBox& Options() { return m_options; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CCheckListBox m_options;
};

class CAllDefReloadPage : public CFilerSettingPage
{
public:
    CAllDefReloadPage();
    bool Apply() override;

protected:
    BOOL OnInitDialog() override;
};

class CAllDefExtProgram : public CFilerSettingPage
{
public:
    CAllDefExtProgram();
    CString m_editorName;
    CString m_oneDefEdit;
    CString m_someDefEdit;
    CString m_unicodeOption;
    CString m_dosShell;
    CString m_powerShell;
    bool Apply() override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void Browse(int editId);
};

class CAllDefDialogPage : public CFilerSettingPage
{
public:
    CAllDefDialogPage();
    bool Apply() override;

protected:
    BOOL OnInitDialog() override;

private:
    CCheckListBox m_dialogs;
};

class CAllDefCopyBufferSizePage : public CFilerSettingPage
{
public:
    CAllDefCopyBufferSizePage();
    bool Apply() override;

protected:
    BOOL OnInitDialog() override;
};

class CFilerSettingSheet : public CDialog
{
public:
    static constexpr int kPageCount = 6;
    explicit CFilerSettingSheet(CWnd* parent = nullptr);

    CAllDefStartWindow m_start;
    CAllDefFilerSetting m_filer;
    CAllDefReloadPage m_reload;
    CAllDefExtProgram m_programs;
    CAllDefDialogPage m_dialogs;
    CAllDefCopyBufferSizePage m_copyBuffer;

    // The start-up page's ten values, the filer page's five and the six program
    // texts, from their settings into the pages and back.
    void LoadFromSettings();
    void StoreToSettings() const;
    // Shows page 0 to 5, making it on its first showing.
    void ShowPage(int index);
    CFilerSettingPage* Page(int index);

protected:
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnOK() override;

private:
    int m_current = -1;
};
