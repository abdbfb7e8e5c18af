// The user's key bindings: one record per key and modifier, six sets of them (one per
// pane-mode family plus the common set tried first in every mode), the rules by which
// a binding text is taken apart, and their storage in the settings file.
//
// A binding text is one of: empty (unbound; in the common set the mode's set
// decides); a command keyword ("@Copy"); a keyword, one blank and an argument
// ("@Keyjumpdir C:\My Dir"); "@SameAsFiler" (archive-listing set: the filer binding of
// the same key and modifier applies); an own plug-in reference "#key,file"; a program
// "path[,parameters]", or "@Defaultexe path[,parameters]" to open the Execute dialog
// with them instead of running at once.
#pragma once
#include <windows.h>
#include "app/keys/KeyTable.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CIniFile;

// One binding.
class CKeyCmdEntry
{
public:
    CString command;
    // Common set only: the global keyboard hook runs the binding only when this is 1.
    int hotKey = 0;
    // Filer and archive-listing sets only: 0 leave the input method alone, 1 switch
    // it off, 2 switch it on before the command runs.
    int imeControl = 0;
};

// The bindings of one key, by modifier index (0 none, 1 Shift, 2 Ctrl, 3 Alt).
class CKeyCmdInfo
{
public:
    CKeyCmdEntry entries[KEY_MODIFIER_COUNT];
};

// One element per row of g_KeyTable, in table order.
class CArrayKeyCmdInfo : public CArray<CKeyCmdInfo, const CKeyCmdInfo&>
{
public:
    CArrayKeyCmdInfo(); // KEY_TABLE_ROW_COUNT empty bindings

    // Throws CInvalidArgException for a modifier outside 0-3 or a row outside the
    // array: a caller with such an index has a bug that must not write elsewhere.
    CKeyCmdEntry& GetBinding(int modifier, int keyRow);
    const CKeyCmdEntry& GetBinding(int modifier, int keyRow) const;

    // Takes the source's count and every entry's text, hot-key flag and IME control.
    void CopyFrom(const CArrayKeyCmdInfo& source);
};

extern CArrayKeyCmdInfo g_FilerKeyCmds;   // filer, drive list, network
extern CArrayKeyCmdInfo g_ArcInfoKeyCmds; // archive listing
extern CArrayKeyCmdInfo g_ViewerKeyCmds;  // text viewer
extern CArrayKeyCmdInfo g_GraphicKeyCmds; // graphic viewer
extern CArrayKeyCmdInfo g_BinaryKeyCmds;  // binary editor
extern CArrayKeyCmdInfo g_CommonKeyCmds;  // every mode, tried first

// "@SameAsFiler": an archive-listing binding that defers to the filer set.
extern const wchar_t g_SameAsFilerKeyword[];
// "@Defaultexe": a program binding that opens the Execute dialog instead.
extern const wchar_t g_DefaultExeKeyword[];

// head = the text up to its first blank, tail = everything after that blank (blanks
// inside the tail are kept); without a blank head = the whole text, tail empty.
void SplitBindingText(const CString& text, CString& head, CString& tail);

// TRUE when the text is "@SameAsFiler" in any letter case.
BOOL IsSameAsFilerBinding(LPCWSTR text);

// Takes a program binding apart. The program part is the tail after "@Defaultexe"
// (compared case-sensitively) or else the whole text; the program ends
// at its first comma, so a path may hold blanks but no comma, and the parameters
// (everything after that comma) may hold both. Returns TRUE for the "@Defaultexe" form.
BOOL SplitProgramBinding(const CString& text, CString& program, CString& parameters);

// Fills all six sets from the settings file: every missing key gives the set's
// default (the key table's default of that mode and modifier, "@SameAsFiler" for the
// archive listing, empty for the common set); a key that is present but empty stays
// empty. The integers read 0 when missing.
void LoadKeyBindings(CIniFile& ini);

// Writes all 89 x 4 entries of every set, empty ones included, into a file opened
// with CIniFile::Create: sets in the order filer, viewer, graphic, binary, archive
// listing, common; within a set by key row, then modifier.
void SaveKeyBindings(CIniFile& ini);

// TRUE when any common binding carries the hot-key flag.
BOOL HasCommonHotKey();
