// The two key configuration dialogs. Each edits working copies of the live binding
// sets and puts them back only on OK; the show and store operations work on the
// dialog's own state, so they run without a window as well.
#pragma once
#include "app/keys/CommandTables.h"
#include "app/keys/KeyBindings.h"
#include "app/keys/KeyCategories.h"
#include "framework/FwDialog.h"
#include "media/devices/AudioEndpoints.h"
#include <vector>

// The argument area under the function list as it is shown.
struct KeyArgumentFields
{
    CString label; // "プログラム", "DIR名" or "デバイス"
    CString argument;
    BOOL argumentShown = TRUE;
    BOOL argumentEnabled = FALSE;
    BOOL browseShown = TRUE;
    CString parameters;
    BOOL parametersEnabled = FALSE;
    BOOL deviceShown = FALSE;
    std::vector<CString> devices;
    CString deviceText;
};

typedef int (*AudioEndpointEnumerator)(int flow, CArray<CEndPointData>& out);

// The filer and archive-listing bindings, with programs, plug-ins and applets.
class CKeyConfigDlg : public CDialog
{
public:
    explicit CKeyConfigDlg(CWnd* pParent = nullptr);

    // Working copies of g_FilerKeyCmds and g_ArcInfoKeyCmds, selection at the first
    // key without modifier in the filer mode, its binding shown.
    void Begin();
    // Shows the binding of the current selection; category -1 lets the binding
    // choose it.
    void ShowBinding(int category);
    // Builds the binding text of that key from the shown state.
    void StoreBinding(int keyRow, int modifier);
    void ShowArgumentFields(LPCWSTR keyword, LPCWSTR argument, BOOL enabled = TRUE, LPCWSTR parameters = L"");
    // The user's choices.
    void SelectKey(int mode, int keyRow, int modifier);
    void ChooseCategory(int category);
    void ChooseFunction(int position);
    // OK: stores the shown binding and copies the working copies onto the live sets.
    void Commit();

    CArrayKeyCmdInfo m_work[2];
    int m_mode = 0; // 0 filer, 1 archive listing
    int m_keyRow = 0;
    int m_modifier = 0;
    int m_category = -1; // category value shown; -1 none
    std::vector<CString> m_functions;
    int m_function = -1; // position in m_functions; -1 none
    int m_imeControl = 0;
    KeyArgumentFields m_args;
    // Set when the user chose a category or a function since the binding was shown:
    // only then may a binding without a selected function become empty.
    BOOL m_edited = FALSE;
    AudioEndpointEnumerator m_enumDevices = EnumAudioEndpoints;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ListCategoryRows(int category, int* first, int* count);
    void ReadControls();
    void UpdateControls();
    BOOL m_updating = FALSE;
};

// The text-viewer (mode 0), graphic (1), binary (2) or common (3) bindings.
class CViewKeyConfigDlg : public CDialog
{
public:
    explicit CViewKeyConfigDlg(int mode, CWnd* pParent = nullptr);

    // The category value of the last box entry "なにもしない".
    enum
    {
        NO_BINDING_CATEGORY = -2
    };

    void Begin();
    void ShowBinding(int category);
    void StoreBinding(int keyRow, int modifier);
    void SelectKey(int keyRow, int modifier);
    void ChooseCategory(int category);
    void ChooseFunction(int position);
    void Commit();

    int m_mode = 0;
    CArrayKeyCmdInfo* m_live = nullptr;
    const CommandCategoryRow* m_categories = nullptr;
    int m_categoryCount = 0;
    const CommandTableRow* m_commands = nullptr;
    int m_commandCount = 0;
    CArrayKeyCmdInfo m_work;
    int m_keyRow = 0;
    int m_modifier = 0;
    int m_category = NO_BINDING_CATEGORY;
    std::vector<CString> m_functions;
    int m_function = -1;
    int m_hotKey = 0;
    BOOL m_hotKeyEnabled = FALSE;
    BOOL m_deviceShown = FALSE;
    std::vector<CString> m_devices;
    CString m_deviceText;
    AudioEndpointEnumerator m_enumDevices = EnumAudioEndpoints;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ListCategoryRows(int category, int* first, int* count);
    void ShowDevice(LPCWSTR keyword, LPCWSTR device);
    void ReadControls();
    void UpdateControls();
    BOOL m_updating = FALSE;
};

// The device names for the box: the current one first, then every other active
// device of the flow the keyword names.
std::vector<CString> ListAudioDeviceChoices(AudioEndpointEnumerator enumerate, LPCWSTR keyword,
                                            LPCWSTR current);
