// The viewed-file history: the files the user viewed, archive members included,
// most recent first, for the browse-history dialog; kept in section "VIEW_HISTORY".
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// One viewed file.
class CViewFile
{
public:
    CString m_name;    // file name without folder
    CString m_folder;  // its folder; for an archive member its folder inside the archive
    CString m_archive; // the archive that holds the member; empty for a file on disk
};

class CArrayViewFile : public CArray<CViewFile>
{
public:
    static constexpr INT_PTR MAX_ENTRIES = 300;

    // Moves an entry equal in all three strings (case aside) to the top, keeping
    // its stored spelling, or inserts a new one there, dropping the oldest when
    // the list is full.
    void Add(LPCWSTR name, LPCWSTR folder, LPCWSTR archive);
    // Splits the path at its last backslash into folder and name; no archive
    // means a file on disk.
    void AddPath(LPCWSTR path, LPCWSTR archive = nullptr);
};

// The program's one history.
extern CArrayViewFile g_ViewHistory;
