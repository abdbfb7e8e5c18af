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
};

// PLACEHOLDER: LoadControlPanelApplets of the customisation tools fills the list;
// until it exists the list stays empty and the menus get no applet items.
inline CArray<CCplEntry> g_CplList;
