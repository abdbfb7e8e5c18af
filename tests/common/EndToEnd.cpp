#include "tests/common/EndToEnd.h"

#include "tests/common/TestSupport.h"
#include "res/CommonDialogs.h"

#include <gtest/gtest.h>

namespace qvtest
{

QvProgram::QvProgram(const std::wstring& root, const std::wstring& name) : m_folder(root + L"\\" + name)
{
    CreateDirectoryW(m_folder.c_str(), nullptr);
    CopyFileW((ProgramDir() + L"\\Qv.exe").c_str(), Exe().c_str(), FALSE);
    // The keyboard-hook library ships beside the program, which loads it from there.
    CopyFileW((ProgramDir() + L"\\QvDll.dll").c_str(), (m_folder + L"\\QvDll.dll").c_str(), FALSE);
}

bool QvProgram::Ok() const
{
    return GetFileAttributesW(Exe().c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool QvProgram::WriteSettings(const std::string& bytes) const
{
    return WriteFileBytes(SettingsPath(), bytes);
}

bool QvProgram::CopyBeside(const std::wstring& name, const std::wstring& subFolder) const
{
    std::wstring folder = m_folder;
    if (!subFolder.empty())
    {
        folder += L"\\" + subFolder;
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    return CopyFileW((ProgramDir() + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}

std::wstring QvProgram::Setting(const wchar_t* section, const wchar_t* key) const
{
    wchar_t value[1024] = L"";
    GetPrivateProfileStringW(section, key, L"", value, 1024, SettingsPath().c_str());
    return value;
}

std::wstring PaneArguments(const std::wstring& left, const std::wstring& right)
{
    return L"-D\"" + left + L"\" -D\"" + right + L"\"";
}

void BringToForeground(HWND window)
{
    for (int i = 0; i < 40 && GetForegroundWindow() != window; ++i)
    {
        SetForegroundWindow(window);
        PumpMessages(50);
    }
}

namespace
{

void SendKey(const Key& key)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (key.ctrl)
        add(VK_CONTROL, false);
    if (key.shift)
        add(VK_SHIFT, false);
    add(key.vk, false);
    add(key.vk, true);
    if (key.shift)
        add(VK_SHIFT, true);
    if (key.ctrl)
        add(VK_CONTROL, true);
    // SendInput returns once the keys are in the queue of the thread that has the focus
    // (a low-level keyboard hook has seen them by then), and the thread leaves its wait
    // for input at that moment: an idle wait after this call cannot end before them.
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The pixels of the window as the screen shows it, dialogs over it included.
std::vector<DWORD> WindowPixels(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return ScreenPixels(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// Whether typed keys would reach a window of the program that takes them. A program
// started by the keys may hold the activation; when it ended it gave the activation to
// nobody, and the main window is made the foreground window again.
bool KeysHaveAWindow(const QvProcess& qv)
{
    const HWND main = qv.MainWindow();
    // A program that hid its window (into the task tray) or was minimised takes keys
    // through its hook.
    if (!IsWindowVisible(main) || IsIconic(main))
        return true;
    const HWND foreground = GetForegroundWindow();
    DWORD owner = 0;
    if (foreground != nullptr)
        GetWindowThreadProcessId(foreground, &owner);
    if (foreground == nullptr || !IsWindowVisible(foreground))
    {
        // Only the thread that has the foreground may give it away; attached to the
        // program's input, this thread counts as that thread.
        const DWORD thread = GetWindowThreadProcessId(main, nullptr);
        AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
        SetForegroundWindow(main);
        AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
        return false;
    }
    if (owner != qv.ProcessId())
        return true; // a program the keys started has them
    if (foreground != main)
        return true; // a dialog of the program
    // After a dialog closed, the main window is active again at once but the focus comes
    // back to its view only later: until then the thread's focus still names a control
    // of the dialog that went, and a key would be lost.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui))
        return false;
    return gui.hwndFocus != nullptr && (gui.hwndFocus == main || IsChild(main, gui.hwndFocus)) &&
           IsWindowVisible(gui.hwndFocus);
}

} // namespace

void Settle(const QvProcess& qv, DWORD deadlineMs)
{
    const HWND main = qv.MainWindow();
    const DWORD start = GetTickCount();
    const char* waitingFor = "";
    std::vector<DWORD> last;
    bool haveLast = false;
    for (;;)
    {
        if (qv.WaitForExit(0) != STILL_ACTIVE || !IsWindow(main))
            return;
        const DWORD spent = GetTickCount() - start;
        if (spent >= deadlineMs)
        {
            ADD_FAILURE() << "the program did not settle within " << deadlineMs << " ms: waiting for "
                          << waitingFor;
            return;
        }
        const DWORD remaining = deadlineMs - spent;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, remaining, &result))
        {
            waitingFor = "an answer to a message";
            continue;
        }
        if (WaitForInputIdle(qv.Process(), remaining) != 0)
        {
            waitingFor = "its main thread to wait for input";
            continue;
        }
        if (!KeysHaveAWindow(qv))
        {
            waitingFor = "a window of the program to take the keys";
            haveLast = false;
            PumpMessages(20);
            continue;
        }
        std::vector<DWORD> now = WindowPixels(main);
        if (haveLast && now == last)
            return;
        last = std::move(now);
        haveLast = true;
        waitingFor = "a steady picture of the main window";
        PumpMessages(40);
    }
}

void Press(const QvProcess& qv, HWND target, std::initializer_list<Key> keys)
{
    for (const Key& key : keys)
    {
        BringToForeground(target);
        // A key typed while the focus still names a control of a dialog that closed is lost.
        if (!PumpUntil([&] { return qv.WaitForExit(0) != STILL_ACTIVE || KeysHaveAWindow(qv); }, 20000))
            ADD_FAILURE() << "no window of the program took the keys";
        SendKey(key);
        Settle(qv);
    }
}

bool WaitForDialogsClosed(DWORD pid, DWORD timeoutMs)
{
    WindowMatch match;
    match.dialogOnly = true;
    return PumpUntil([&] { return FindProcessWindows(pid, match).empty(); }, timeoutMs);
}

namespace
{
struct WindowSearch
{
    DWORD pid;
    const WindowMatch* match;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    const WindowMatch& match = *search->match;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid || !IsWindowVisible(window))
        return TRUE;
    if (match.dialogOnly)
    {
        wchar_t className[32] = L"";
        GetClassNameW(window, className, 32);
        if (wcscmp(className, L"#32770") != 0)
            return TRUE;
    }
    if (!match.caption.empty())
    {
        const std::wstring caption = Caption(window);
        if (match.wholeCaption ? caption != match.caption : caption.find(match.caption) == std::wstring::npos)
            return TRUE;
    }
    if (!match.messagePart.empty())
    {
        // The program's message box keeps its text in the static control IDC_MESSAGE_TEXT.
        wchar_t text[1024] = L"";
        GetDlgItemTextW(window, IDC_MESSAGE_TEXT, text, 1024);
        if (std::wstring(text).find(match.messagePart) == std::wstring::npos)
            return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> FindProcessWindows(DWORD pid, const WindowMatch& match)
{
    WindowSearch search = {pid, &match, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProcessWindow(DWORD pid, const WindowMatch& match, DWORD timeoutMs)
{
    HWND found = nullptr;
    PumpUntil(
        [&] {
            const std::vector<HWND> windows = FindProcessWindows(pid, match);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs, const std::wstring& messagePart)
{
    WindowMatch match;
    match.caption = caption;
    match.dialogOnly = true;
    match.messagePart = messagePart;
    return WaitForProcessWindow(pid, match, timeoutMs);
}

HWND WaitForDialogContaining(DWORD pid, const std::wstring& captionPart, DWORD timeoutMs)
{
    WindowMatch match;
    match.caption = captionPart;
    match.wholeCaption = false;
    match.dialogOnly = true;
    return WaitForProcessWindow(pid, match, timeoutMs);
}

bool HasVisibleWindow(DWORD pid)
{
    return !FindProcessWindows(pid, WindowMatch()).empty();
}

std::wstring Caption(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

std::vector<DWORD> ScreenPixels(int left, int top, int width, int height)
{
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr)
    {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        pixels.assign(p, p + static_cast<size_t>(width) * height);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace qvtest
