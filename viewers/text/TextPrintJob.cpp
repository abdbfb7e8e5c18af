#include "viewers/text/TextPrintJob.h"

#include <new>
#include <stdio.h>
#include <string.h>

namespace
{

// The printed text is the viewer's multibyte text of the ANSI code page.
bool IsLead(char c)
{
    return IsDBCSLeadByte((BYTE)c) != 0;
}

} // namespace

CTextPrintJob::CTextPrintJob(const TextPrintLayout& layout, CPrintTarget& target)
    : m_layout(layout), m_target(target)
{
    if (m_layout.tabColumns < 1)
        m_layout.tabColumns = 1;
    if (m_layout.charsPerLine < 1)
        m_layout.charsPerLine = 1;
    if (m_layout.linesPerPage < 1)
        m_layout.linesPerPage = 1;
    if (m_layout.length < 0 || !m_layout.text)
        m_layout.length = 0;
}

int CTextPrintJob::Fail()
{
    m_target.AbortDoc();
    m_exitCode = -1;
    m_ended = 1;
    return 0;
}

int CTextPrintJob::Run()
{
    while (Step())
    {
    }
    return m_exitCode;
}

int CTextPrintJob::Step()
{
    if (m_ended)
        return 0;
    if (m_abort)
        return Fail();
    switch (m_state)
    {
    case 0:
        // A document the printer does not start has not been printed: say so rather
        // than close the dialog as if it had.
        if (m_target.StartDoc(m_layout.documentName) <= 0)
        {
            m_exitCode = -1;
            m_ended = 1;
            return 0;
        }
        m_state = 1;
        break;
    case 1:
        m_skipPage = m_layout.rangeSet && (m_page < m_layout.firstPage || m_page > m_layout.lastPage);
        if (m_skipPage || m_target.StartPage() > 0)
        {
            m_tries = 0;
            m_state = 5;
        }
        else if (++m_tries >= kMaxRetries)
            return Fail();
        break;
    case 5: {
        int height = 0, width = 0;
        m_target.SelectFont(1, height, width);
        m_headerLineHeight = height < 0 ? 12 : height;
        m_headerCharWidth = width < 0 ? 6 : width;
        if (!m_skipPage && m_layout.printFileName)
            m_target.TextOut(m_layout.leftMargin, m_layout.topMargin, m_layout.documentName,
                             m_layout.documentName.GetLength());
        m_target.RestoreFont();
        m_state = 2;
        break;
    }
    case 2: {
        int result = PrintPageBody();
        if (result == 1)
            return Fail();
        if (result == 0)
            m_lastPage = 1;
        m_state = 6;
        break;
    }
    case 6:
        if (!m_skipPage && m_layout.printPageNumbers)
        {
            wchar_t number[32];
            int length = swprintf(number, 32, L"-%d-", m_page);
            int height = 0, width = 0;
            m_target.SelectFont(1, height, width);
            int x = m_layout.usableWidth / 2 + m_layout.leftMargin - length * m_headerCharWidth / 2;
            int y = m_layout.topMargin + m_layout.usableHeight - m_headerLineHeight;
            m_target.TextOut(x, y, number, length);
            m_target.RestoreFont();
        }
        ++m_page;
        m_state = 3;
        break;
    case 3:
        if (m_skipPage)
            m_state = m_lastPage ? 4 : 1;
        else if (m_target.EndPage() > 0)
        {
            m_tries = 0;
            if (m_lastPage && !m_abort)
                m_percent = 100;
            m_state = m_lastPage ? 4 : 1;
        }
        else if (++m_tries >= kMaxRetries)
            return Fail();
        break;
    case 4:
        if (m_target.EndDoc() < 1)
            return Fail();
        m_exitCode = 0;
        m_ended = 1;
        return 0;
    }
    return 1;
}

int CTextPrintJob::ReadLine(char* buffer, int& length)
{
    const char* text = m_layout.text;
    const int end = m_layout.length;
    const int limit = m_layout.charsPerLine;
    length = 0;
    while (length < limit)
    {
        if (m_position >= end)
            return PRINT_LINE_END_OF_TEXT;
        char c = text[m_position];
        if (IsLead(c) && m_position + 1 < end)
        {
            // A double-byte character is never split; but a line that would stay
            // empty takes it whole, or a line of one cell would never pass it.
            if (limit - length < 2 && length > 0)
                break;
            buffer[length++] = c;
            buffer[length++] = text[m_position + 1];
            m_position += 2;
        }
        else if (c == '\t')
        {
            int spaces = m_layout.tabColumns - length % m_layout.tabColumns;
            memset(buffer + length, ' ', spaces);
            length += spaces;
            ++m_position;
        }
        else if (c == '\r' || c == '\n')
        {
            ++m_position;
            if (c == '\r' && m_position < end && text[m_position] == '\n')
                ++m_position;
            return m_position >= end ? PRINT_LINE_END_OF_TEXT : PRINT_LINE_MORE;
        }
        else if (c == 0x0C)
        {
            ++m_position;
            return PRINT_LINE_FORM_FEED;
        }
        else
        {
            buffer[length++] = c;
            ++m_position;
        }
    }
    return m_position >= end ? PRINT_LINE_END_OF_TEXT : PRINT_LINE_MORE;
}

void CTextPrintJob::ShowProgress()
{
    if (m_abort)
        return;
    int length = m_layout.length;
    if (length == 0)
        m_percent = 100;
    else if (length > 0xFFFFFE)
        m_percent = m_position / (length / 100);
    else
        m_percent = (int)((LONGLONG)m_position * 100 / length);
}

void CTextPrintJob::PrintLine(int x, int y, const char* bytes, int length, int charWidth)
{
    if (m_layout.lineNumbers)
    {
        wchar_t number[16];
        int n = swprintf(number, 16, L"%05ld", (long)m_lineCounter);
        m_target.TextOut(x + m_layout.leftMargin, y + m_layout.topMargin, number, n);
        x += 6 * charWidth;
    }
    for (int i = 0; i < length;)
    {
        int bytesOfChar = (IsLead(bytes[i]) && i + 1 < length) ? 2 : 1;
        wchar_t wide[2] = {};
        int n = MultiByteToWideChar(CP_ACP, 0, bytes + i, bytesOfChar, wide, 2);
        if (n > 0)
            m_target.TextOut(x + m_layout.leftMargin + i * charWidth, y + m_layout.topMargin, wide, n);
        i += bytesOfChar;
    }
}

int CTextPrintJob::PrintPageBody()
{
    char* buffer = new (std::nothrow) char[m_layout.charsPerLine + m_layout.tabColumns + 2];
    if (!buffer)
        return 1;
    int lineHeight = 0, charWidth = 0;
    m_target.SelectFont(0, lineHeight, charWidth);
    if (lineHeight == 0)
        lineHeight = 12;
    if (charWidth == 0)
        charWidth = 6;
    int endOfText = 0;
    const int columns = m_layout.twoColumns ? 2 : 1;
    for (int column = 0; column < columns && !endOfText; ++column)
    {
        int x = column == 0 ? 0 : m_layout.usableWidth / 2 + charWidth;
        int y = m_layout.printFileName ? 2 * m_headerLineHeight : 0;
        for (int row = 0; row < m_layout.linesPerPage; ++row)
        {
            int lineStart = m_position;
            int length = 0;
            int result = ReadLine(buffer, length);
            // Nothing left to read is no line: an empty text prints a page without
            // lines, and a final line end adds no numbered empty line.
            if (!(result == PRINT_LINE_END_OF_TEXT && length == 0 && lineStart >= m_layout.length))
            {
                if (!m_skipPage)
                    PrintLine(x, y, buffer, length, charWidth);
                ++m_lineCounter;
            }
            ShowProgress();
            y += lineHeight;
            if (result == PRINT_LINE_FORM_FEED)
                break;
            if (result == PRINT_LINE_END_OF_TEXT)
            {
                endOfText = 1;
                break;
            }
        }
    }
    m_target.RestoreFont();
    delete[] buffer;
    return endOfText ? 0 : 2;
}
