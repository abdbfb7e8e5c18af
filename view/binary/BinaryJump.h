// The numbers typed into the binary editor's jump and range dialogs.
#pragma once
#include <windows.h>

// The cursor move (in nibbles) of a jump to the typed line: hexadecimal (a minus sign
// allowed) or decimal; relative moves by that many lines, otherwise to that line.
// FALSE when a hexadecimal text is not a number.
BOOL ComputeBinaryJumpDelta(LPCWSTR text, int hexNotation, int relative, LONGLONG cursor, LONGLONG* delta);

// A byte offset typed into the range dialog: FALSE when it is no number, negative or
// not below the file size.
BOOL ParseBinaryOffset(LPCWSTR text, int hexNotation, LONGLONG size, LONGLONG* offset);
