#include "tests/common/EndToEnd.h"

#include "tests/common/TestSupport.h"
#include "res/CommonDialogs.h"

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

void TypeKeys(HWND target, std::initializer_list<Key> keys, DWORD pauseMs)
{
    BringToForeground(target);
    for (const Key& key : keys)
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
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        PumpMessages(pauseMs);
    }
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

HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs)
{
    WindowMatch match;
    match.caption = caption;
    match.dialogOnly = true;
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

} // namespace qvtest
