// A dialog driven from inside its own modal loop, for tests of modal dialogs: once
// the dialog shows, `drive` runs with it, reads and works its controls and ends it
// (DoModal returns only after that). Derive the test's dialog class as
//
//     class CDrivenFooDlg : public qvtest::CDrivenDialog<CDrivenFooDlg, CFooDlg> { ... };
//
// so that `drive` receives the derived class and reaches what it adds.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/FwDialog.h"

namespace qvtest
{

// A dialog box of this thread with the caption (any caption when null) other than
// `except`: test programs run side by side on one display, so a search over every
// window could find another program's dialog of the same kind.
inline HWND FindThreadDialog(LPCWSTR caption, HWND except = nullptr)
{
    struct Search
    {
        LPCWSTR caption;
        HWND except;
        HWND found;
    } search = {caption, except, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[16] = {};
            wchar_t text[256] = {};
            ::GetClassNameW(window, name, 16);
            ::GetWindowTextW(window, text, 256);
            if (window == s->except || ::lstrcmpW(name, L"#32770") != 0 || !::IsWindowVisible(window) ||
                (s->caption != nullptr && ::lstrcmpW(text, s->caption) != 0))
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A top-level window of this process with the caption (only a visible one when
// `visibleOnly`): other test programs run beside this one and may show a window of
// the same caption, and a modeless window of this process may belong to another thread.
inline HWND FindProcessWindow(LPCWSTR caption, bool visibleOnly = true)
{
    struct Search
    {
        LPCWSTR caption;
        bool visibleOnly;
        HWND found;
    } search = {caption, visibleOnly, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            wchar_t text[128] = {};
            ::GetWindowTextW(window, text, 128);
            if (pid == ::GetCurrentProcessId() && (!s->visibleOnly || ::IsWindowVisible(window)) &&
                ::lstrcmpW(text, s->caption) == 0)
            {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <class TDerived, class TDialog> class CDrivenDialog : public TDialog
{
public:
    using TDialog::TDialog;

    std::function<void(TDerived&)> drive;

    // The command of control `id`, sent as the control itself sends it.
    void Command(int id, int code = BN_CLICKED)
    {
        ::SendMessageW(this->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code),
                       reinterpret_cast<LPARAM>(::GetDlgItem(this->m_hWnd, id)));
    }

    // A control's window rectangle in screen coordinates.
    RECT Child(int id) const
    {
        RECT rect = {};
        ::GetWindowRect(::GetDlgItem(this->m_hWnd, id), &rect);
        return rect;
    }

    // The lines of a list box of the dialog, in order.
    std::vector<std::wstring> ListBoxLines(int id) const
    {
        std::vector<std::wstring> lines;
        HWND list = ::GetDlgItem(this->m_hWnd, id);
        const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i)
        {
            std::wstring text(::SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
            lines.push_back(text.c_str());
        }
        return lines;
    }

protected:
    // Posted, not called: the modal loop must be running before the test drives it,
    // so that what the test sends is handled as a user's input would be.
    BOOL OnInitDialog() override
    {
        TDialog::OnInitDialog();
        ::PostMessageW(this->m_hWnd, kDriveMessage, 0, 0);
        return TRUE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kDriveMessage)
        {
            if (drive)
                drive(static_cast<TDerived&>(*this));
            return 0;
        }
        return TDialog::WindowProc(message, wParam, lParam);
    }

private:
    static constexpr UINT kDriveMessage = WM_APP;
};

} // namespace qvtest
