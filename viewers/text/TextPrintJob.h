// Laying out the viewer's text on printed pages, one step of the printer job at a
// time, against a print target: the printer's device context in the program, a
// recording target in tests (Wine has no printer).
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// What the job asks of a printer. Results of StartDoc, StartPage, EndPage and EndDoc
// are the system's: greater than 0 on success.
class CPrintTarget
{
public:
    virtual ~CPrintTarget() {}
    virtual int StartDoc(LPCWSTR documentName) = 0;
    virtual int StartPage() = 0;
    virtual int EndPage() = 0;
    virtual int EndDoc() = 0;
    virtual void AbortDoc() = 0;
    // Selects the header (bold) or the body font and gives its line height
    // (tmHeight + tmExternalLeading) and average character width.
    virtual void SelectFont(int header, int& lineHeight, int& charWidth) = 0;
    virtual void RestoreFont() = 0;
    virtual void TextOut(int x, int y, LPCWSTR text, int length) = 0;
};

// The layout chosen in the print dialog, in print units where it is a size.
struct TextPrintLayout
{
    const char* text = nullptr; // multibyte text of the ANSI code page
    int length = 0;
    int tabColumns = 8;
    int charsPerLine = 80;
    int linesPerPage = 60;
    int twoColumns = 0;
    int printFileName = 0;
    int printPageNumbers = 0;
    int lineNumbers = 0;
    int rangeSet = 0;
    int firstPage = 1;
    int lastPage = 1;
    int usableWidth = 0;
    int usableHeight = 0;
    int leftMargin = 0;
    int topMargin = 0;
    CString documentName;
};

enum TextPrintLineEnd
{
    PRINT_LINE_FORM_FEED = 0,
    PRINT_LINE_MORE = 1,
    PRINT_LINE_END_OF_TEXT = 2,
};

class CTextPrintJob
{
public:
    // A page or job step the printer keeps refusing is given up after this many tries.
    static constexpr int kMaxRetries = 5;

    CTextPrintJob(const TextPrintLayout& layout, CPrintTarget& target);

    // One step of the job; 1 while steps remain, 0 when it has ended with the exit
    // code in m_exitCode: 0 printed, -1 failed or aborted.
    int Step();
    // Steps until the job ends; the exit code.
    int Run();

    // Reads one printed line from the text position into `buffer` (room for
    // characters per line + tab columns bytes). One of TextPrintLineEnd.
    int ReadLine(char* buffer, int& length);

    volatile int m_abort = 0;
    volatile int m_percent = 0;
    int m_exitCode = 0;
    int m_page = 1;
    int m_position = 0;
    int m_lineCounter = 0;

private:
    int PrintPageBody();
    void PrintLine(int x, int y, const char* bytes, int length, int charWidth);
    void ShowProgress();
    int Fail();

    TextPrintLayout m_layout;
    CPrintTarget& m_target;
    int m_state = 0;
    int m_lastPage = 0;
    int m_skipPage = 0;
    int m_headerLineHeight = 12;
    int m_headerCharWidth = 6;
    int m_tries = 0;
    int m_ended = 0;
};
