// Small records that several subsystems keep in their lists: the common-file name
// list, the control-panel applet record and the function list's command record.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// One name of a common-file list (the pane background pictures) and a value.
class CCommonFile
{
public:
    CString m_name;
    int m_value = 0;
};

// A growable array of CCommonFile; out-of-range access throws the framework's
// invalid-argument exception.
class CArrayCommonFileEx : public CArray<CCommonFile>
{
public:
    // Appends the name with value 0 unless an element has an equal name (case aside).
    void AddUnique(LPCWSTR name);
    // Exchanges two elements; nothing when either index is not below the count.
    void Swap(INT_PTR i, INT_PTR j);
};

// One control-panel applet.
class CCplData
{
public:
    CString m_file;
    CString m_name;
    CString m_description;
    int m_appendName = 0;
};

// One key bound to a command: its row of the key table and its modifier (0 none,
// 1 Shift, 2 Ctrl, 3 Alt).
struct structKeyInfo
{
    int row;
    int modifier;
};

// One command of the function list with the keys bound to it.
class CCmdInfo
{
public:
    int m_category = 0;
    CString m_keyword;
    CString m_displayName;
    CArray<structKeyInfo> m_keys;
};
