// What the binary editor's dialogs start from and store back on OK, kept by the view
// for as long as it lives (never written to the settings file), and the editor's own
// byte clipboard, which never touches the system clipboard.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "app/records/LocalMemory.h"

struct BinaryEditorChoices
{
    int kind = 0; // 0 text, 1 hexadecimal, 2 char, 3 short, 4 long
    int isSigned = 0;
    int inputMode = 0;   // 0 by count, 1 by end address, 2 over the selection
    int searchStart = 0; // 0 from the cursor, 1 from the top of the file
    int direction = 0;   // 0 down, 1 up
    int jumpMode = 0;    // 0 absolute line, 1 relative
    int hexNotation = 1;
    int editValueEnabled = 0;
    int compareValueEnabled = 0;
    int differenceEnabled = 0;
    int searchDiffering = 1;
    CString comparePath;
};

// Bytes copied by "@Copydata" for "@Pastedata".
struct BinaryByteClipboard
{
    BinaryByteClipboard() = default;
    ~BinaryByteClipboard() { LocalFreeLocked(block); }
    BinaryByteClipboard(const BinaryByteClipboard&) = delete;
    BinaryByteClipboard& operator=(const BinaryByteClipboard&) = delete;

    BYTE* block = nullptr; // LocalAllocLocked
    LONGLONG length = 0;
};
