// The text-printing settings: one record whose integers are rows of the integer tables
// of app/Settings.h ("ALLDATA" and "ALLDATA2") and whose font name is a string of
// "ALLDATA". The print dialog copies the rest in when printing starts.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

struct PrintSettings
{
    int selectPrinter = 0; // SETUPPRINTER: 1 shows the printer dialog first
    int lineNumbers = 0;   // copied from VIEWNUMBER when printing starts
    CString fontName;      // "PRINTFONTNAME"
    int fontCharSet = 0;   // PRINTFONTCHARSET
    int fontHeight = 0;    // PRINTFONTHEIGHT, in print units
    int fontWidth = 0;     // PRINTFONTWIDE, in print units
    int charsPerLine = 0;  // copied from VIEWCHARWIDE when printing starts
    CString documentName;  // the printed file's name
    int tabColumns = 0;    // the viewer pane's tab width
    int marginLeft = 0;    // PRINT_SPACE_LEFT and the three below, in millimetres
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;
};

// All zero and empty until the settings are read: the tables give the integers their
// defaults, the settings reader the font name.
inline PrintSettings g_PrintSettings;
