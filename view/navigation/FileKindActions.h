// What Return does with a file: the file-kind tables first, then the program start or
// the registered action. The calls that leave the program go through a seam, so that
// tests start nothing.
#pragma once
#include <windows.h>

class CQvView;
class CFileInfo;

struct FileOpenSeam
{
    // ShellExecuteW without a verb: opens the file with its registered action.
    HINSTANCE(WINAPI* shellExecute)
    (HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show);
    // Runs one row of a file-kind table: a keyword goes to the filer's keywords, any
    // other text is a program started with the parameters.
    void (*runKindRow)(CQvView& view, int pane, LPCWSTR program, LPCWSTR parameters, LPCWSTR fileDirectory);
};

extern FileOpenSeam g_FileOpenSeam;

// Test helper: restores g_FileOpenSeam when it goes out of scope.
class CFileOpenSeamOverride
{
public:
    CFileOpenSeamOverride() : m_saved(g_FileOpenSeam) {}
    ~CFileOpenSeamOverride() { g_FileOpenSeam = m_saved; }
    CFileOpenSeamOverride(const CFileOpenSeamOverride&) = delete;
    CFileOpenSeamOverride& operator=(const CFileOpenSeamOverride&) = delete;

private:
    FileOpenSeam m_saved;
};

// Return on a file of a filer pane (view/navigation/FileKindActions.cpp): the
// file-kind table, else the program start or the registered action.
void OpenFileEntry(CQvView& view, int pane, const CFileInfo& entry);

// Return on a member of an archive listing: the file-kind table, else the action
// the shell has registered (when ARCINFOREADREGIST or ARCINFOSHIFTREADREGIST asks
// for it), else the text viewer.
void OpenArchiveMember(CQvView& view, int pane, const CFileInfo& entry);
