#include "viewers/text/TextPrintThread.h"

CDcPrintTarget::CDcPrintTarget(HDC dc, HFONT bodyFont, HFONT headerFont)
    : m_dc(dc), m_bodyFont(bodyFont), m_headerFont(headerFont)
{
}

int CDcPrintTarget::StartDoc(LPCWSTR documentName)
{
    SetTextColor(m_dc, RGB(0, 0, 0));
    SetBkColor(m_dc, RGB(255, 255, 255));
    m_documentName = documentName;
    DOCINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpszDocName = m_documentName;
    return ::StartDocW(m_dc, &info);
}

int CDcPrintTarget::StartPage()
{
    return ::StartPage(m_dc);
}

int CDcPrintTarget::EndPage()
{
    return ::EndPage(m_dc);
}

int CDcPrintTarget::EndDoc()
{
    return ::EndDoc(m_dc);
}

void CDcPrintTarget::AbortDoc()
{
    ::AbortDoc(m_dc);
}

void CDcPrintTarget::SelectFont(int header, int& lineHeight, int& charWidth)
{
    HGDIOBJ previous = SelectObject(m_dc, header ? m_headerFont : m_bodyFont);
    if (!m_previousFont)
        m_previousFont = previous;
    TEXTMETRICW metrics = {};
    GetTextMetricsW(m_dc, &metrics);
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    charWidth = metrics.tmAveCharWidth;
}

void CDcPrintTarget::RestoreFont()
{
    if (m_previousFont)
        SelectObject(m_dc, m_previousFont);
    m_previousFont = nullptr;
}

void CDcPrintTarget::TextOut(int x, int y, LPCWSTR text, int length)
{
    ::TextOutW(m_dc, x, y, text, length);
}

CTextPrintThread::CTextPrintThread(CTextPrintJob& job) : m_job(job)
{
    m_bAutoDelete = FALSE;
}

BOOL CTextPrintThread::InitInstance()
{
    return TRUE;
}

BOOL CTextPrintThread::OnIdle(LONG lCount)
{
    (void)lCount;
    if (!m_job.Step())
        AfxEndThread((UINT)m_job.m_exitCode);
    return TRUE;
}
