// The graphic display settings: a sheet with the pages "一般", "Susie Plug-in" and
// "マウス". The sheet's owner fills the copied values before it runs and takes them
// back after OK; what the plug-in page changes at once (order, patterns, a rescan)
// stays after Cancel too. A page is only made when it is first shown, and only a
// page that was made applies its values on OK, so that a page the user never opened
// changes nothing (the plug-in page would otherwise clear every enabled flag).
#pragma once
#include <windows.h>
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

class CLoadPreviewThread;

class CGraphicSettingGeneralPage : public CDialog
{
public:
    CGraphicSettingGeneralPage();
    // Copied in and out by the sheet's owner.
    CString m_tempDirectory;
    int m_noDialogLoading = 0;
    int m_noDialogLoadingSize = 500;
    int m_hPos = 0;
    int m_vPos = 0;
    // Stores the six checks into the settings and reads the fields back.
    void Apply();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    CCheckListBox m_checks;
};

class CGraphicSettingSusiePluginPage : public CDialog
{
public:
    CGraphicSettingSusiePluginPage();
    // Copied in and out by the sheet's owner.
    CString m_plugInDirectory;
    int m_highLoad = 0;
    // Writes the lists' check states into the plug-ins' enabled flags.
    void Apply();
    // Both lists anew from g_SusiePlugIns.
    void FillLists();
    // The plug-in of the n-th line of a list (kind 2 image, 1 archive); -1 for none.
    static INT_PTR PlugInOfLine(int kind, int line);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void Rescan();
    void Swap(int kind, int direction);
    void EditPatterns(int kind);
    void Configure(int kind);
    CCheckListBox& List(int kind) { return kind == 2 ? m_imageList : m_archiveList; }

    CCheckListBox m_imageList;
    CCheckListBox m_archiveList;
};

class CGraphicSettingMousePage : public CDialog
{
public:
    CGraphicSettingMousePage();
    // Stores each list's chosen value into the mouse-operation record.
    void Apply();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
};

class CGraphicSettingSheet : public CDialog
{
public:
    // Holds the preview reader lock while it lives.
    explicit CGraphicSettingSheet(CWnd* parent = nullptr);
    ~CGraphicSettingSheet() override;
    CGraphicSettingSheet(const CGraphicSettingSheet&) = delete;
    CGraphicSettingSheet& operator=(const CGraphicSettingSheet&) = delete;

    CGraphicSettingGeneralPage m_general;
    CGraphicSettingSusiePluginPage m_susie;
    CGraphicSettingMousePage m_mouse;
    // Shows page 0, 1 or 2, making it on its first showing.
    void ShowPage(int index);
    CDialog* Page(int index);

protected:
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnOK() override;

private:
    CLoadPreviewThread* m_lockedThread = nullptr;
    int m_current = -1;
};
