// M3U play-list files and the fillers that build a play list from a directory tree
// or from a pane's selection.
//
// Written form: the mark FF FE, then one full path per entry in UTF-16LE, each
// followed by CR LF; no header, no comments, no relative paths. Read form: UTF-16LE
// after that mark, any other file as text in the system ANSI code page; lines end at
// CR LF or LF and only lines naming a video or audio kind are taken, never a header
// or comment line (one beginning with '#').
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// What the play-list functions need of a play list. The media subsystem's list of
// audio records implements it; CPlayListPaths is a plain one.
class IPlayList
{
public:
    virtual ~IPlayList() = default;
    virtual INT_PTR GetEntryCount() const = 0;
    // The entry's folder, a backslash and its name (the name alone without folder).
    virtual void GetEntryFullPath(INT_PTR index, CString& out) const = 0;
    // The entry's state word (its failed mark).
    virtual void SetEntryState(INT_PTR index, int state) = 0;
    // Appends a media file of `folder` described by `findData` (from a list file
    // only the name is filled); FALSE when memory runs out.
    virtual BOOL AppendEntry(LPCWSTR folder, const WIN32_FIND_DATAW& findData) = 0;
};

// A play list of folders, find records and state words.
class CPlayListPaths : public IPlayList
{
public:
    struct Entry
    {
        int state = 0;
        CString folder;
        WIN32_FIND_DATAW findData{};
    };

    INT_PTR GetEntryCount() const override { return m_entries.GetCount(); }
    void GetEntryFullPath(INT_PTR index, CString& out) const override;
    void SetEntryState(INT_PTR index, int state) override { m_entries[index].state = state; }
    BOOL AppendEntry(LPCWSTR folder, const WIN32_FIND_DATAW& findData) override;

    const Entry& GetEntry(INT_PTR index) const { return m_entries[index]; }
    void RemoveAll() { m_entries.RemoveAll(); }

private:
    CArray<Entry> m_entries;
};

// Writes the list as an M3U file anew. Only for the extension "M3U" (case aside):
// any other gives 0 and touches nothing. 1 on success; 0 when the file cannot be
// created or a write fails.
int SavePlayListM3u(LPCWSTR path, const IPlayList& list);

// Appends the media files an M3U file lists (their existence is not checked); a
// last line without a line end is taken too. 1 when the file was read; 0 for another
// extension, a file that cannot be opened or read, an empty file or lack of memory.
int LoadPlayListM3u(LPCWSTR path, IPlayList& list);

// Appends one entry of `folder`: a directory with its media files below it, a file
// when its extension is in `extensions` ("M3U" files among them read as lists).
// "." and ".." add nothing.
void AddEntryToPlayList(LPCWSTR folder, const WIN32_FIND_DATAW& findData, IPlayList& list,
                        const CStringArray& extensions);

// Appends the media files below the directory, recursively; folders that are
// reparse points are not entered.
void AddDirectoryToPlayList(LPCWSTR directory, IPlayList& list, const CStringArray& extensions);

// What the play-list filler asks of the panes, which lie above it; the program
// installs it, and before that a pane offers nothing.
struct PlayListHooks
{
    // The n-th target entry of a pane (the marked entries, else the cursor entry): its
    // folder and find record and TRUE, or FALSE when there is none.
    BOOL (*paneTargetEntry)(int paneIndex, int n, CString& folder, WIN32_FIND_DATAW& findData);
};

extern PlayListHooks g_PlayListHooks;

// Appends the pane's target entries as AddEntryToPlayList does.
void AddPaneSelectionToPlayList(int paneIndex, IPlayList& list, const CStringArray& extensions);

// Sets the state word of every entry to 0; returns the entry count.
int ResetPlayListFlags(IPlayList& list);
