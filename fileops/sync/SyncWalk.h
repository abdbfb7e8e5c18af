// Building the synchronisation rows from the two sides and deciding their actions.
// A side is a folder on disk or the current folder of an open archive.
//
// Neither walk descends into a reparse-point folder (a junction or a directory
// link): its files belong to another folder, and deleting "destination-only" files
// through it would delete them there, while a link that points up the tree would
// never end the walk. A destination-only link is one row whose deletion removes the
// link alone; where one side has a folder and the other a link of that name, the
// rows there can get no action, so nothing is ever written through the link.
#pragma once
#include <windows.h>
#include "fileops/sync/SyncRows.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CArchiveFront;
class CArrayFileInfo;

struct SyncSide
{
    // On disk: the compared folder, without a trailing backslash. In an archive: the
    // folder inside the archive (empty at its top).
    CString base;
    CArchiveFront* archive = nullptr;
};

// True for a folder that is a junction or a link to another folder.
inline BOOL IsLinkFolder(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// "a\b" + "c": the parts joined by a backslash; either part may be empty.
CString JoinSyncPath(const CString& first, const CString& second);

class CSyncRowBuilder
{
public:
    CSyncRowBuilder(const SyncSide& source, const SyncSide& destination, CSyncDataArray& rows)
        : m_source(source), m_destination(destination), m_rows(rows)
    {
    }

    // One entry that the command acts on in the source's top folder.
    void AddTarget(const CFileInfo& entry);
    // Decides every row again for the settings.
    void DecideActions(const SyncSettings& settings);

    // The entries of a folder of a side (relative to its base), without "." and "..";
    // FALSE when the folder cannot be listed.
    static BOOL ListFolder(const SyncSide& side, const CString& relative, CArrayFileInfo& out);
    // The entry `name` of a folder of a side, case-insensitive; FALSE when absent.
    static BOOL FindEntry(const SyncSide& side, const CString& relative, LPCWSTR name, WIN32_FIND_DATAW& out);

private:
    void AddSourceFiles(const CString& relative);
    void AddDestinationOnlyEntries(const CString& relative);
    void AddRow(const CString& relative, const CFileInfo& entry, BYTE flags);
    // The row lies at or below a destination folder that is a link.
    BOOL IsBelowDestinationLink(const CString& relative) const;

    SyncSide m_source;
    SyncSide m_destination;
    CSyncDataArray& m_rows;
    // Relative paths of the destination's links met by the walks.
    CStringArray m_destinationLinks;
};
