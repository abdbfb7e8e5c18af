// Base of the framework layer: the Windows headers every framework file needs,
// the debug-check macros and the exception classes.
//
// Exceptions are thrown as heap pointers and caught as `CException*`; the
// catcher calls `Delete()` when done:
//
//     try { ... }
//     catch (CException* e) { e->Delete(); }
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <tchar.h>

// Debug checks are on in every build that does not define NDEBUG (the Debug
// configuration). A failed check is reported, never fatal, so that a running
// test program or a user's session carries on.
#if !defined(NDEBUG) || defined(_DEBUG)
#define FW_DEBUG_CHECKS 1
#else
#define FW_DEBUG_CHECKS 0
#endif

template <typename CharT> class CStringT;

namespace fw_detail
{
// Arguments of Format/TRACE pass through a C variable argument list, which
// cannot carry a class object (g++ would pass the address of a copy); a string
// argument is passed as its characters instead.
template <typename T> inline const T& FormatArg(const T& value)
{
    return value;
}
template <typename C> inline const C* FormatArg(const CStringT<C>& value)
{
    return value.GetString();
}
void TraceFormatted(LPCWSTR format, ...);
void TraceFormatted(LPCSTR format, ...);
} // namespace fw_detail

// Reports a failed ASSERT/VERIFY to the debugger output and to stderr.
void AfxAssertFailedLine(const char* file, int line, const char* expression);

// Writes a printf-style message (Microsoft format rules, as CString::Format)
// to the debugger output.
template <typename... Args> void AfxTrace(LPCWSTR format, const Args&... args)
{
    fw_detail::TraceFormatted(format, fw_detail::FormatArg(args)...);
}
template <typename... Args> void AfxTrace(LPCSTR format, const Args&... args)
{
    fw_detail::TraceFormatted(format, fw_detail::FormatArg(args)...);
}

#ifdef ASSERT
#undef ASSERT
#endif
#ifdef VERIFY
#undef VERIFY
#endif
#ifdef TRACE
#undef TRACE
#endif

#if FW_DEBUG_CHECKS
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) AfxTrace(__VA_ARGS__)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif

// Opaque iteration position of the framework's collections; null ends.
struct FwPositionTag;
typedef FwPositionTag* POSITION;

// Module whose string table `CString::LoadString` reads: the program's own
// module unless the program sets another (e.g. a resource DLL).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);

class CException
{
public:
    CException() = default;
    // autoDelete FALSE for exception objects that are not on the heap.
    explicit CException(BOOL autoDelete) : m_bAutoDelete(autoDelete) {}
    virtual ~CException() = default;
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    // Ends the life of a caught exception (deletes it unless it is static).
    void Delete();

    // Copies the user-readable message into the buffer (always terminated);
    // FALSE when there is no message. The help context is always 0.
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;

protected:
    static BOOL CopyMessage(LPCWSTR message, LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext);

    BOOL m_bAutoDelete = TRUE;
};

class CInvalidArgException : public CException
{
public:
    using CException::CException;
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CMemoryException : public CException
{
public:
    using CException::CException;
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// Throw `CInvalidArgException*` (a new object) and `CMemoryException*` (one
// static object, since memory may be exhausted; its Delete() does nothing).
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
