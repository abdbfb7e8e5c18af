// Small questions about files: is a text file UTF-16, where does a shortcut point.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// 1 when the file can be read (others may read and write it meanwhile), holds at
// least 2 bytes and begins with the UTF-16LE mark FF FE.
int HasUnicodeBom(LPCWSTR path);

// The target, arguments and working directory of a shell link (each output may be
// null); 1 when every part could be read.
int ReadShortcut(LPCWSTR linkPath, CString* target, CString* arguments, CString* workingDirectory);
