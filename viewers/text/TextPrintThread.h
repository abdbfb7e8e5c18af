// The worker that drives a print job one step per idle call, so that its message
// queue stays served, and the print target over a printer's device context.
#pragma once
#include <windows.h>
#include "framework/FwThread.h"
#include "viewers/text/TextPrintJob.h"

// Prints on a device context set to print units; the fonts are the dialog's.
class CDcPrintTarget : public CPrintTarget
{
public:
    CDcPrintTarget(HDC dc, HFONT bodyFont, HFONT headerFont);

    int StartDoc(LPCWSTR documentName) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    void AbortDoc() override;
    void SelectFont(int header, int& lineHeight, int& charWidth) override;
    void RestoreFont() override;
    void TextOut(int x, int y, LPCWSTR text, int length) override;

private:
    HDC m_dc;
    HFONT m_bodyFont;
    HFONT m_headerFont;
    HGDIOBJ m_previousFont = nullptr;
    CString m_documentName;
};

class CTextPrintThread : public CWinThread
{
public:
    // The job and its target stay the creator's and must outlive the thread.
    CTextPrintThread(CTextPrintJob& job);

    BOOL InitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    CTextPrintJob& m_job;
};
