// The text printing dialog: printer, font, margins, characters per line, lines per
// page, tab columns, the page options and a page range; OK starts the print job on a
// worker thread and the dialog follows its progress until it ends.
#pragma once
#include "framework/FwDialog.h"
#include "app/settings/PrintSettings.h"
#include "viewers/text/TextPrintJob.h"

class CTextPrintThread;

class CPrintTextDlg : public CDialog
{
public:
    // The text must stay unchanged while the dialog runs (the caller holds it).
    CPrintTextDlg(PrintSettings& settings, const char* text, int length, CWnd* pParent = nullptr);
    ~CPrintTextDlg() override;

    enum PrintState
    {
        PRINT_IDLE = 0,
        PRINT_RUNNING = 1,
        PRINT_ENDING = 2,
    };
    int m_state = PRINT_IDLE;
    // The largest characters per line and lines per page the page and font allow.
    int m_maxChars = 0;
    int m_maxLines = 0;

protected:
    // The printer's device context (the printer dialog's choice when `choose` is set,
    // else the default printer) and its name; null when there is none or the user
    // chose none (`cancelled` set then).
    virtual HDC OpenPrinter(BOOL choose, CString& name, BOOL& cancelled);
    // What the job prints on; the dialog deletes it.
    virtual CPrintTarget* CreatePrintTarget(HDC dc, HFONT bodyFont, HFONT headerFont);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnFont();
    void OnAbort();
    void OnTimer(UINT_PTR id);
    void UpdateLayout();
    // Ends the worker: TRUE once it has stopped and is deleted.
    BOOL ReapThread();
    void ShowProgress();

    PrintSettings& m_settings;
    const char* m_text;
    int m_length;
    HDC m_dc = nullptr;
    LOGFONTW m_bodyLogFont = {};
    HFONT m_bodyFont = nullptr;
    HFONT m_headerFont = nullptr;
    int m_printableWidth = 0;
    int m_printableHeight = 0;
    int m_usableWidth = 0;
    int m_usableHeight = 0;
    CPrintTarget* m_target = nullptr;
    CTextPrintJob* m_job = nullptr;
    CTextPrintThread* m_thread = nullptr;

    DECLARE_MESSAGE_MAP()
};
