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

} // namespace qvtest
