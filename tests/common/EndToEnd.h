// The end-to-end harness: a copy of Qv.exe in a program folder of its own (so that its
// settings and log files never meet another test's), the keys a user types into it,
// the windows it opens and the settings it writes. QvProcess starts and ends it.
#pragma once
#include <windows.h>

#include "tests/common/QvProcess.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace qvtest
{

class QvProgram
{
public:
    // Copies Qv.exe and QvDll.dll into `root`\`name`; Ok() tells whether the program is there.
    explicit QvProgram(const std::wstring& root, const std::wstring& name = L"prog");

    bool Ok() const;
    // The program folder, without a trailing backslash.
    const std::wstring& Folder() const { return m_folder; }
    std::wstring Exe() const { return m_folder + L"\\Qv.exe"; }
    // The settings file the program reads and writes: qv.ini in its folder.
    std::wstring SettingsPath() const { return m_folder + L"\\qv.ini"; }

    // Writes the settings file the program starts with.
    bool WriteSettings(const std::string& bytes) const;
    // Copies a file that lies beside the test program (a stand-in plug-in, 7z.dll)
    // into the program folder, or into its sub-folder `subFolder` (made when missing).
    bool CopyBeside(const std::wstring& name, const std::wstring& subFolder = L"") const;
    // A value of the settings file as the program left it; empty when there is none.
    std::wstring Setting(const wchar_t* section, const wchar_t* key) const;

private:
    std::wstring m_folder;
};

// The command-line arguments that open the two panes on these folders.
std::wstring PaneArguments(const std::wstring& left, const std::wstring& right);

// One typed key, with the modifiers held around it.
struct Key
{
    Key(WORD key, bool withCtrl = false, bool withShift = false) : vk(key), ctrl(withCtrl), shift(withShift)
    {
    }
    WORD vk;
    bool ctrl;
    bool shift;
};

// Makes `window` the foreground window, which typed keys go to (bounded tries).
void BringToForeground(HWND window);

// Waits until the program has done what the keys, commands and answers sent to it so far
// began: its main window answers a message, its main thread waits for input with none
// left, the keys have a window of the program to go to (the view, once the focus has
// come back from a dialog that closed; an open dialog; or the main window again when a
// program it started ended and left no window active), and two pictures of the main
// window a moment apart agree. A program that ended, or whose main window went, counts
// as settled; one that does not settle within the deadline fails the running test.
void Settle(const QvProcess& qv, DWORD deadlineMs = 20000);

// Types the keys one by one into `target` (the main window or a dialog of the program,
// made the foreground window first), each once the program has settled after the one
// before it, and settles after the last.
void Press(const QvProcess& qv, HWND target, std::initializer_list<Key> keys);

// What a visible top-level window of a process must show to match.
struct WindowMatch
{
    // The caption: all of it when `wholeCaption`, else a part; empty matches any.
    std::wstring caption;
    bool wholeCaption = true;
    // Only dialogs (window class "#32770"), such as message boxes.
    bool dialogOnly = false;
    // A part of a message box's text (the program's box keeps it in IDC_MESSAGE_TEXT); empty matches any.
    std::wstring messagePart;
};

// The visible top-level windows of the process that match, in z-order.
std::vector<HWND> FindProcessWindows(DWORD pid, const WindowMatch& match);

// The first such window, waited for while this thread's messages are dispatched;
// null after the time-out.
HWND WaitForProcessWindow(DWORD pid, const WindowMatch& match, DWORD timeoutMs = 20000);

// A visible dialog of the process with exactly this caption (any dialog when empty) and,
// when `messagePart` is given, a message box whose text contains it; or a dialog whose
// caption contains `captionPart`. Waited for; null after the time-out.
HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs = 20000,
                   const std::wstring& messagePart = L"");
HWND WaitForDialogContaining(DWORD pid, const std::wstring& captionPart, DWORD timeoutMs = 20000);
// Waits until the process shows no dialog; false after the time-out.
bool WaitForDialogsClosed(DWORD pid, DWORD timeoutMs = 20000);

// True while the process shows any visible top-level window.
bool HasVisibleWindow(DWORD pid);

// The caption of a window.
std::wstring Caption(HWND window);

// The pixels of a rectangle of the screen, as 32-bit BGRX values row by row from the top.
std::vector<DWORD> ScreenPixels(int left, int top, int width, int height);

} // namespace qvtest
