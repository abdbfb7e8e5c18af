// The control-panel applets of the system: the CPL file, the applet's name and its
// description, in the order they were found.
#pragma once
#include "framework/FwCollections.h"
#include "framework/FwString.h"

struct CCplEntry
{
    CString m_file;
    CString m_name;
    CString m_description;
    // 1: the applet's name follows the file when it runs, choosing one applet of a
    // file that holds several.
    int m_appendName = 0;
};

// Filled once at start-up by LoadControlPanelApplets (tools/cpl) when the applets are
// to be read; empty otherwise.
inline CArray<CCplEntry> g_CplList;
