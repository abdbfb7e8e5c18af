// The binary editor's selection as hexadecimal text for the clipboard.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CBinaryData;

// "%02X " per byte from `first` on, CR LF after each byte at a file offset of 15
// modulo 16; read in pieces, stopping where the file ends.
CString FormatBinaryHexText(CBinaryData& data, LONGLONG first, LONGLONG count);
