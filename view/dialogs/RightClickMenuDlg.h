// The ten items of the user's own on the filer's right-click menu: each gets a command
// (a keyword, a jump directory, an audio device, an own plug-in, an applet or a
// program) and, when wanted, a text of its own.
#pragma once
#include "app/settings/ViewSettings.h"
#include "app/keys/CommandTables.h"
#include "framework/FwDialog.h"
#include "media/devices/AudioEndpoints.h"

class CRightClickMenuDlg : public CDialog
{
public:
    explicit CRightClickMenuDlg(CWnd* parent = nullptr);

    // The dialog's own copy; OK alone publishes it to g_UserMenuEntries.
    UserMenuEntry m_entries[kUserMenuEntryCount];

    // The entry's row of the list takes its label again and keeps its selection.
    void RefreshEntryLabel(int entry);
    // Fills the function list for the selected entry: its own category with -1, else
    // the category asked for.
    void ShowEntryCommand(int category);
    void ShowArgumentControls(LPCWSTR keyword, LPCWSTR parameter, BOOL enabled);
    void AssignFunction();
    void AssignDisplayText();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The choosers and the device list; tests answer them without a person or a
    // sound device.
    virtual BOOL ChooseFolder(CString& path);
    virtual BOOL ChooseFile(CString& path);
    virtual int EnumDevices(int flow, CArray<CEndPointData>& out);

private:
    int SelectedEntry() const;
    void SelectCategory(int category);
    void OnFunctionChosen();
    void Browse();

    // The category the function list shows, and its command table rows in order.
    int m_shownCategory = -1;
    CArray<const CommandTableRow*> m_rows;
};
