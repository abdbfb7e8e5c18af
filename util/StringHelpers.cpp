#include "util/StringHelpers.h"
#include "util/PathHelpers.h"
#include <string.h>

void ExpandEnvironmentString(CString& out, LPCWSTR text)
{
    DWORD needed = ExpandEnvironmentStringsW(text, nullptr, 0);
    if (needed == 0)
    {
        out = text;
        return;
    }
    // The variables may change between the two calls: retry until the text fits.
    for (;;)
    {
        wchar_t* buffer = out.GetBuffer((int)needed);
        const DWORD written = ExpandEnvironmentStringsW(text, buffer, needed);
        if (written != 0 && written <= needed)
        {
            out.ReleaseBuffer();
            return;
        }
        out.ReleaseBuffer(0);
        if (written == 0)
        {
            out = text;
            return;
        }
        needed = written;
    }
}

void SplitString(LPCWSTR text, wchar_t delimiter, CStringArray& parts)
{
    parts.RemoveAll();
    if (text == nullptr || *text == L'\0')
    {
        return;
    }
    LPCWSTR start = text;
    for (LPCWSTR p = text;; p++)
    {
        if (*p == delimiter || *p == L'\0')
        {
            parts.Add(CString(start, (int)(p - start)));
            if (*p == L'\0')
            {
                break;
            }
            start = p + 1;
        }
    }
}

void FormatSystemError(DWORD error, CString& text)
{
    LPWSTR message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPWSTR)&message, 0, nullptr);
    text = length != 0 ? CString(message, (int)length) : CString();
    if (message != nullptr)
    {
        LocalFree(message);
    }
}

INT_PTR GetArrayGrowStep(INT_PTR count)
{
    if (count < 10000)
    {
        return 1000;
    }
    INT_PTR step = 10000;
    while (count / step >= 10)
    {
        step *= 10;
    }
    return step;
}

namespace
{

int HexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9')
    {
        return ch - '0';
    }
    // Only upper-case escapes are decoded, as the shell writes them.
    if (ch >= 'A' && ch <= 'F')
    {
        return ch - 'A' + 10;
    }
    return -1;
}

// "%XX" escapes stand for the bytes of the UTF-8 form of the text.
CString DecodeUrlEscapes(LPCWSTR text)
{
    CStringA utf8;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
    {
        return text;
    }
    char* buffer = utf8.GetBuffer(bytes);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, bytes, nullptr, nullptr);
    utf8.ReleaseBuffer();

    CStringA decoded;
    for (int i = 0; i < utf8.GetLength(); i++)
    {
        const char ch = utf8[i];
        if (ch == '%' && i + 2 < utf8.GetLength())
        {
            const int high = HexDigitValue(utf8[i + 1]);
            const int low = HexDigitValue(utf8[i + 2]);
            if (high >= 0 && low >= 0)
            {
                decoded += (char)(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += ch;
    }

    CString result;
    const int chars = MultiByteToWideChar(CP_UTF8, 0, decoded, decoded.GetLength(), nullptr, 0);
    if (chars > 0)
    {
        wchar_t* wide = result.GetBuffer(chars);
        MultiByteToWideChar(CP_UTF8, 0, decoded, decoded.GetLength(), wide, chars);
        result.ReleaseBuffer(chars);
    }
    return result;
}

} // namespace

void FileUrlToPath(CString& path, LPCWSTR text)
{
    CString lower = text;
    lower.MakeLower();
    int prefix = 0;
    if (lower.Left(8) == L"file:///")
    {
        prefix = 8;
    }
    else if (lower.Left(7) == L"file://")
    {
        prefix = 7;
    }
    if (prefix == 0)
    {
        path = text;
        return;
    }
    path = DecodeUrlEscapes(text + prefix);
    if (path.GetLength() < 2 || path[1] != L':')
    {
        path = L"\\\\" + path;
    }
}

void BuildWildcardPattern(CString& text)
{
    CString name, extension;
    SplitExtension(text, &name, &extension);
    if (name.IsEmpty())
    {
        name = L"*";
    }
    else if (name.Find(L'*') < 0)
    {
        name = L"*" + name + L"*";
    }
    if (extension.IsEmpty())
    {
        extension = L"*";
    }
    text.Format(L"%s.%s", name, extension);
}
