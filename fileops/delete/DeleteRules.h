// The decisions of the delete worker, each a small function of plain values so that a
// table of cases can show it: how an entry of the selection or of a walked tree goes,
// which protection of a file is asked about, which answers keep the file, and which
// protection must be lifted before the system deletes it.
#pragma once
#include <windows.h>
#include "app/EngineAnswer.h"

// How one entry is deleted.
enum DeleteWay
{
    DELETE_FORGET_VIRTUAL, // an entry of a virtual drive: the entry is forgotten, the real file stays
    DELETE_ONE_FILE,       // a file, asked about by its protection
    DELETE_LINK_ONLY,      // a junction or directory link: the link goes, what it points at stays
    DELETE_WHOLE_TREE,     // a directory: its tree is walked (or recycled whole)
};
DeleteWay ChooseDeleteWay(BOOL virtualEntry, BOOL directory, BOOL link);

// The one protection a file is asked about before it goes: FILE_ATTRIBUTE_SYSTEM before
// FILE_ATTRIBUTE_READONLY before FILE_ATTRIBUTE_HIDDEN, the first the file has; 0 for a
// file without any, which goes without a question. A read-only system file is asked
// about once, as a system file.
DWORD DeleteAttributeAsked(DWORD attributes);
// Index of the kind's remembered answer (system 0, read-only 1, hidden 2).
int DeleteAnswerSlot(DWORD kind);
// Whether the user's answer about a protected file keeps it.
BOOL DeleteAnswerKeepsFile(EngineAnswer answer);
// Whether the read-only mark must be lifted first: the system refuses to delete such a
// file, and the recycle bin would keep it marked. The file takes its attributes back
// when it stays.
BOOL DeleteLiftsReadOnly(DWORD attributes);
