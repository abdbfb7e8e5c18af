// The own plug-ins and the control-panel applets as command texts: the text a binding
// or a user menu item holds to run one of them, and the way back from such a text to
// its list entry.
#pragma once
#include <windows.h>
#include "app/records/ControlPanelApplets.h"
#include "framework/FwString.h"

// For a text "<key string>,<file name>" whose key string begins with "#": 1 and the
// index of the own plug-in with that file name (case aside) and key string; 0 for any
// other text or when no plug-in matches.
int FindPlugInByReference(LPCWSTR command, INT_PTR* index);

// 1 for a text "#<key>,<file>" naming an own plug-in, listed or not. Such a text is
// never a program: started as one it would run a file named like the key.
int IsOwnPlugInReference(LPCWSTR text);

// IsOwnPlugInReference, writing a log line when the text is refused.
int RefuseOwnPlugInReference(LPCWSTR text);

// "<key string>,<file name>" of the own plug-in: the reference by which a binding, a
// menu item or a file kind names it (FindPlugInByReference finds it again); 0 and an
// empty text when the index is out of range.
int GetPlugInReference(INT_PTR index, CString& reference);

// "<function name>,<file name>" of the own plug-in, and its view-menu flag when asked;
// 0 and an empty text when the index is out of range.
int GetPlugInCommandText(INT_PTR index, CString& text, int* showInMenu = nullptr);

// "@Defaultcpl <file>", with " <applet name>" when the applet's append-name flag is
// set; empty when the index is out of range.
void GetCplCommandText(INT_PTR index, CString& command);
