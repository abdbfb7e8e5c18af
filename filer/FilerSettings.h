// Lists of the filer that the settings file fills: the directory-jump groups with
// the columns of their list, the new-file kinds and the wildcard history.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "app/records/PaneRecords.h"

// As many groups as SUMDIRJUMPGROUP.
inline CArray<CJumpDirectory> g_JumpGroups;

// One column of the jump-directory list: shown (1), item kind (0 target, 1 key,
// 2 contents) and width (0 fits the contents).
struct JumpListColumn
{
    int shown;
    int item;
    int width;
};
inline JumpListColumn g_JumpListColumns[3] = {{1, 0, 0}, {1, 1, 0}, {1, 2, 0}};

// One new-file kind: extension, display name and template type ("NullFile",
// "FileName" or "Data", the values under the extension's ShellNew key).
class CMakeNewFile
{
public:
    CString m_extension;
    CString m_displayName;
    CString m_templateType;
};
inline CArray<CMakeNewFile> g_MakeNewFileKinds;

// The patterns typed into the wildcard dialog, newest first.
inline CStringArray g_WildcardHistory;
