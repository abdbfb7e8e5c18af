#include "framework/FwCore.h"
#include "framework/FwString.h"

#include <cstdarg>
#include <cstdio>

namespace
{
HINSTANCE g_resourceHandle = nullptr;
} // namespace

void AfxAssertFailedLine(const char* file, int line, const char* expression)
{
    CStringA message;
    message.Format("%s(%d): ASSERT failed: %s\n", file, line, expression);
    OutputDebugStringA(message);
    fputs(message, stderr);
    fflush(stderr);
}

void fw_detail::TraceFormatted(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    OutputDebugStringW(text);
}

void fw_detail::TraceFormatted(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CStringA text;
    text.FormatV(format, args);
    va_end(args);
    OutputDebugStringA(text);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceHandle ? g_resourceHandle : GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE resource)
{
    g_resourceHandle = resource;
}

void CException::Delete()
{
    if (m_bAutoDelete)
    {
        delete this;
    }
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(nullptr, lpszError, nMaxError, pnHelpContext);
}

BOOL CException::CopyMessage(LPCWSTR message, LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
    {
        *pnHelpContext = 0;
    }
    if (lpszError && nMaxError > 0)
    {
        lstrcpynW(lpszError, message ? message : L"", static_cast<int>(nMaxError));
    }
    return message != nullptr;
}

BOOL CInvalidArgException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(L"無効な引数が指定されました。", lpszError, nMaxError, pnHelpContext);
}

BOOL CMemoryException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(L"メモリが不足しています。", lpszError, nMaxError, pnHelpContext);
}

void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}

void AfxThrowMemoryException()
{
    // Allocating the exception object itself could fail when memory runs out.
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}
