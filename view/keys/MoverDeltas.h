// How far each cursor mover moves the active pane, by the pane's mode: entries in a
// list, lines in the text viewer, nibbles in the binary editor (32 to a line).
#pragma once
#include <windows.h>

class CFilerPane;

enum MoverKind
{
    MOVER_HORIZONTAL = 0,
    MOVER_LINES,
    MOVER_PAGE,
    MOVER_HALF_PAGE,
    MOVER_TO_END,
};

// Nibbles of one binary-editor line.
constexpr INT64 kBinaryLineNibbles = 32;

// false when the mover does nothing in the pane's mode. lines is the by-lines count;
// dir is -1 or 1. *wrap is 0 for the move to an end (it never wraps), else 1.
// Divisions truncate toward zero.
bool ComputeMoverDelta(int kind, const CFilerPane& pane, int lines, int dir, INT64* delta, int* wrap);
