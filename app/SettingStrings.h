// The string settings of section "ALLDATA" and the time formats of the command-line
// macros %t1 to %t5. Like the integer settings, each string is a global named after
// its ini key; the settings reader fills them and the writer saves them.
#pragma once
#include "framework/FwString.h"

inline CString g_FONTNAME;   // face of the screen font
inline CString g_EDITORNAME; // the editor commands' strings
inline CString g_ONEDEFEDIT;
inline CString g_SOMEDEFEDIT;
inline CString g_EDITOR_OPEN_UNICODE_OPTION;
inline CString g_DOSSHELL;       // command shell program
inline CString g_POWER_SHELL;    // PowerShell program
inline CString g_BACKBITMAPNAME; // pane background picture in use
inline CString g_FIRSTDIRECTORY; // start directory of the first pane
inline CString g_SECONDDIRECTORY;
inline CString g_ENDDIRECTORY; // directories of the panes at the last exit
inline CString g_ENDDIRECTORY2;
inline CString g_SET_SAME_TIME; // time of day for the file-time command

// The formats of %t1 to %t5 (section "TIME_MACRO").
inline CString g_TimeMacros[5];
