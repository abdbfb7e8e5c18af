// The dialogs that edit how the filer panes are drawn: which entries are listed
// (with five stored presets), the extra line height, the information columns (five
// presets) and the pane header. Each writes its settings on OK only.
#pragma once
#include <windows.h>
#include "app/settings/ViewSettings.h"
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"
#include "tools/settings/FilerSettingSheet.h"

#include <array>

// The six display settings a display-file preset holds, bit i for setting i; bits 4
// and 5 hide "." and "..", so their check boxes show the opposite of the setting.
constexpr int kDisplayFileFlagCount = 6;
extern int* const g_DisplayFileFlags[kDisplayFileFlagCount];
// The mask of the six settings' present values.
int CurrentDisplayFileMask();

class CDispFileSettingDlg : public CDialog
{
public:
    explicit CDispFileSettingDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    // Ticks the boxes for a mask of setting values.
    void ShowMask(int mask);
    // The mask of the setting values the boxes stand for.
    int ShownMask() const;
    void StorePreset();
};

class CDefDisplayDlg : public CDialog
{
public:
    explicit CDefDisplayDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

class CDefFilerInfoDlg : public CDialog
{
public:
    explicit CDefFilerInfoDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void ShowPreset(int index);
    void StoreShownPreset();

    std::array<FilerInfoPreset, kFilerInfoPresetCount> m_presets{};
    int m_shown = 0;
};

// The header options of the header dialog, in the order it lists them.
constexpr int kHeaderOptionCount = 13;
extern const FilerOptionRow g_HeaderOptionRows[kHeaderOptionCount];

class CHeaderDefDlg : public CDialog
{
public:
    explicit CHeaderDefDlg(CWnd* parent = nullptr);
    CCheckListBox& Options() { return m_options; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void ShowDescription();

    CCheckListBox m_options;
};
