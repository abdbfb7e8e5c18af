// Helpers shared by the test programs: scratch folders, small file fixtures and
// a message pump for tests that drive windows.
#pragma once
#include <windows.h>
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

// Dispatches this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

} // namespace qvtest
