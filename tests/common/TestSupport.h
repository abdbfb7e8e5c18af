// Helpers shared by the test programs: scratch folders, small file fixtures and
// a message pump for tests that drive windows.
#pragma once
#include <windows.h>
#include <functional>
#include <set>
#include <string>

namespace qvtest
{

// A fresh, empty folder for the running test (under the run's scratch folder that
// the Wine wrapper creates), without a trailing backslash.
std::wstring ScratchDir();

// The folder of the running test program, where the fixture DLLs and 7z.dll lie.
std::wstring ProgramDir();

// The system folder, without a trailing backslash.
std::wstring SystemFolder();
// How the command line that starts a control-panel applet begins: the system's
// rundll32.exe by its full path, quoted, and the entry it calls, then a blank.
std::wstring AppletCommandPrefix();

// The names in a folder, without "." and "..".
std::set<std::wstring> ListFolder(const std::wstring& folder);

// Writes or reads a whole file as bytes.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);

// The bytes of UTF-16LE text, led by the byte-order mark FF FE when `bom` is set.
std::string Utf16Bytes(const std::wstring& text, bool bom = true);
// A UTF-16 file as the program writes it: the byte-order mark, then the text.
std::string Utf16File(const std::wstring& text);

// Dispatches the messages already queued for this thread, without waiting.
void DispatchPendingMessages();

// Dispatches this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

// Polls `condition` until it holds (true) or the time is up (false). WaitFor only
// sleeps between polls, for a condition another thread brings about; PumpUntil
// dispatches this thread's messages meanwhile, for windows this thread owns.
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 5000);
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 5000);

// ---- The host side of the Wine session ---------------------------------------------
// Some fixtures only the host can make (Wine's CreateSymbolicLinkW creates nothing,
// and a socket is an entry Wine lists but cannot open), and some changes must come
// from outside Wine to be seen as a user's would.

// The host (Unix) path of a path of this Wine session.
std::wstring HostPath(const std::wstring& path);

// Starts the host program at `program` (a host path) with `arguments` and waits,
// bounded, until `done` holds: Wine does not follow a host program to its end, so
// the program's work is what is waited for. False when it did not start or `done`
// never held.
bool RunHostProgram(const std::wstring& program, const std::wstring& arguments,
                    const std::function<bool()>& done, DWORD milliseconds = 5000);

// A host link at `link` to the folder `target`; it shows in Wine as a directory with
// the reparse-point attribute. False when no such link came about.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);

} // namespace qvtest
