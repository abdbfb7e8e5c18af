#include "util/IniFile.h"

#include <climits>
#include <cwctype>
#include <memory>
#include <new>

#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "framework/FwLock.h"

DWORD CIniFile::s_retryWaitMs = 100;
void (*CIniFile::s_lookupObserver)(LPCWSTR section, LPCWSTR key) = nullptr;

namespace
{

// The leading decimal number of the text: white space, an optional sign, digits up to
// the first other character; no digits give 0. A number beyond the int range is
// clamped to it rather than wrapped.
int LeadingInt(LPCWSTR text)
{
    while (iswspace(*text))
        ++text;
    bool negative = false;
    if (*text == L'-' || *text == L'+')
        negative = *text++ == L'-';
    long long value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text)
    {
        if (value <= static_cast<long long>(INT_MAX) + 1)
            value = value * 10 + (*text - L'0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// The longest file Load takes on: its text, converted to UTF-16 with room to spare,
// must stay addressable by int counts.
const LONGLONG kMaxFileBytes = 0x3FFFFFF0;

const int kOpenTries = 20;

} // namespace

CIniFile::CIniFile() : cachedSectionIndex(-1), writeHandle(INVALID_HANDLE_VALUE) {}

CIniFile::~CIniFile()
{
    Close();
}

void CIniFile::RemoveSections()
{
    for (INT_PTR i = 0; i < sectionList.GetSize(); ++i)
        delete sectionList[i];
    sectionList.RemoveAll();
    cachedSectionName.Empty();
    cachedSectionIndex = -1;
}

int CIniFile::Load()
{
    RemoveSections();
    if (!FileExists(filePath))
        return INI_LOAD_NO_FILE;

    // Another program (or our own writer) may hold the file without sharing for a
    // moment while it saves; give it two seconds before calling the file in use.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int tries = 1;; ++tries)
    {
        file = CreateFileLong(filePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            break;
        if (tries == kOpenTries)
            return INI_LOAD_IN_USE;
        Sleep(s_retryWaitMs);
    }

    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize))
    {
        CloseHandle(file);
        return INI_LOAD_READ_ERROR;
    }
    if (fileSize.QuadPart == 0)
    {
        CloseHandle(file);
        return INI_LOAD_EMPTY;
    }
    if (fileSize.QuadPart > kMaxFileBytes)
    {
        CloseHandle(file);
        return INI_LOAD_READ_ERROR;
    }

    // Zero padding behind the text: the UTF-16 count below ends on it.
    DWORD size = static_cast<DWORD>(fileSize.QuadPart);
    std::unique_ptr<BYTE[]> bytes(new (std::nothrow) BYTE[size + 10]());
    DWORD bytesRead = 0;
    BOOL readOk = bytes && ReadFile(file, bytes.get(), size, &bytesRead, nullptr);
    CloseHandle(file);
    if (!readOk)
        return INI_LOAD_READ_ERROR;
    size = bytesRead; // a file that shrank meanwhile is taken as it was read
    if (size <= 2)
        return INI_LOAD_READ_ERROR;

    LPCWSTR text;
    int count;
    std::unique_ptr<wchar_t[]> converted;
    if (bytes[0] == 0xFF && bytes[1] == 0xFE)
    {
        text = reinterpret_cast<LPCWSTR>(bytes.get() + 2);
        count = static_cast<int>(size / 2);
    }
    else
    {
        // Editors that save UTF-8 put its mark in front; read as the code page, the
        // mark would glue itself to the first header and that section would be lost.
        UINT codePage = CP_ACP;
        LPCSTR encoded = reinterpret_cast<LPCSTR>(bytes.get());
        int encodedSize = static_cast<int>(size);
        if (bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        {
            codePage = CP_UTF8;
            encoded += 3;
            encodedSize -= 3;
        }
        count = 0;
        if (encodedSize > 0)
        {
            count = MultiByteToWideChar(codePage, 0, encoded, encodedSize, nullptr, 0);
            if (count > 0)
                converted.reset(new (std::nothrow) wchar_t[count]);
            if (!converted ||
                MultiByteToWideChar(codePage, 0, encoded, encodedSize, converted.get(), count) != count)
                return INI_LOAD_READ_ERROR;
        }
        text = converted ? converted.get() : L"";
    }

    CIniData* current = nullptr;
    CString line;
    for (int pos = 0;;)
    {
        int used = ReadLine(text + pos, count - pos, line);
        if (used < 0)
            break;
        pos += used;
        if (line.IsEmpty())
            continue;
        if (line[0] == L'[')
        {
            int close = line.Find(L']');
            current = new CIniData;
            current->sectionName = close < 0 ? line.Mid(1) : line.Mid(1, close - 1);
            sectionList.Add(current);
        }
        else if (current)
        {
            int equals = line.Find(L'=');
            if (equals >= 0)
                current->keyValues.SetAt(line.Left(equals), line.Mid(equals + 1));
        }
    }
    return INI_LOAD_OK;
}

int CIniFile::ReadLine(LPCWSTR text, int count, CString& line)
{
    int end = 0;
    int textLength = -1;
    // Our own files end lines in CR LF, but a file saved by an editor that ends lines
    // in LF alone must not read as one single line that loses every key.
    while (end < count && text[end] != L'\r' && text[end] != L'\n')
    {
        if (text[end] == L'\0' && textLength < 0)
            textLength = end;
        ++end;
    }
    if (textLength < 0)
        textLength = end;
    line = CString(text, textLength);
    if (end < count)
        return text[end] == L'\r' && end + 1 < count && text[end + 1] == L'\n' ? end + 2 : end + 1;
    return textLength == 0 ? -1 : end;
}

int CIniFile::FindSection(LPCWSTR sectionName)
{
    if (!sectionName)
        return -1;
    // The cache is written by lookups of several threads. g_DataMutex is re-entrant
    // for its owner, so a list operation that calls the single lookups holds it twice.
    CHandleLock lock(g_DataMutex);
    if (cachedSectionIndex != -1 && cachedSectionName.CompareNoCase(sectionName) == 0)
        return cachedSectionIndex;
    for (INT_PTR i = 0; i < sectionList.GetSize(); ++i)
    {
        if (sectionList[i]->sectionName.CompareNoCase(sectionName) == 0)
        {
            cachedSectionName = sectionList[i]->sectionName;
            cachedSectionIndex = static_cast<int>(i);
            return cachedSectionIndex;
        }
    }
    return -1;
}

void CIniFile::GetString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, CString* out)
{
    CHandleLock lock(g_DataMutex);
    if (s_lookupObserver != nullptr)
        s_lookupObserver(section, key);
    if (!out)
        return;
    *out = defaultValue ? defaultValue : L"";
    int index = FindSection(section);
    if (index < 0 || !key)
        return;
    CString value;
    if (sectionList[index]->keyValues.Lookup(key, value))
        *out = value;
}

int CIniFile::GetInt(LPCWSTR section, LPCWSTR key, int defaultValue)
{
    CString defaultText;
    defaultText.Format(L"%d", defaultValue);
    CString value;
    GetString(section, key, defaultText, &value);
    if (value.IsEmpty())
        return defaultValue;
    return LeadingInt(value);
}

void CIniFile::SetCurrentSection(LPCWSTR section, LPCWSTR defaultValue)
{
    currentSection = section ? section : L"";
    currentDefault = defaultValue ? defaultValue : L"";
}

void CIniFile::GetCurrentString(LPCWSTR key, CString* out)
{
    GetString(currentSection, key, currentDefault, out);
}

void CIniFile::GetStringList(LPCWSTR section, LPCWSTR keyFormat, CStringArray& out, int maxCount)
{
    CHandleLock lock(g_DataMutex);
    out.RemoveAll();
    CString key;
    CString value;
    for (int i = 0; i < maxCount; ++i)
    {
        key.Format(keyFormat, i);
        GetString(section, key, L"", &value);
        if (value.IsEmpty())
            break;
        out.Add(value);
    }
}

void CIniFile::GetSectionKeys(LPCWSTR section, CStringArray& keys, CStringArray& values)
{
    keys.RemoveAll();
    values.RemoveAll();
    if (s_lookupObserver != nullptr)
        s_lookupObserver(section, nullptr);
    int index = FindSection(section);
    if (index < 0)
        return;
    const CMapStringToString& map = sectionList[index]->keyValues;
    CString key;
    CString value;
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        map.GetNextAssoc(pos, key, value);
        keys.Add(key);
        values.Add(value);
    }
}

void CIniFile::GetSectionNames(CStringArray& names)
{
    names.RemoveAll();
    for (INT_PTR i = 0; i < sectionList.GetSize(); ++i)
        names.Add(sectionList[i]->sectionName);
}

BOOL CIniFile::Create(LPCWSTR path)
{
    if (writeHandle != INVALID_HANDLE_VALUE)
        CloseHandle(writeHandle);
    // A new file starts without a header: the first key must write one.
    lastWrittenSection.Empty();
    writeHandle =
        CreateFileLong(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writeHandle == INVALID_HANDLE_VALUE)
        return FALSE;
    if (!WriteUnicodeBom(writeHandle))
    {
        CloseHandle(writeHandle);
        writeHandle = INVALID_HANDLE_VALUE;
        return FALSE;
    }
    return TRUE;
}

void CIniFile::WriteText(const CString& text)
{
    DWORD written = 0;
    WriteFile(writeHandle, text.GetString(), static_cast<DWORD>(text.GetLength()) * sizeof(wchar_t), &written,
              nullptr);
}

void CIniFile::WriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value)
{
    if (writeHandle == INVALID_HANDLE_VALUE)
        return;
    CString sectionText(section ? section : L"");
    if (sectionText != lastWrittenSection)
    {
        WriteText(L"[" + sectionText + L"]\r\n");
        lastWrittenSection = sectionText;
    }
    WriteText(CString(key ? key : L"") + L"=" + (value ? value : L"") + L"\r\n");
}

void CIniFile::WriteInt(LPCWSTR section, LPCWSTR key, int value)
{
    CString text;
    text.Format(L"%d", value);
    WriteString(section, key, text);
}

void CIniFile::WriteStringList(LPCWSTR section, LPCWSTR keyFormat, const CStringArray& values)
{
    CHandleLock lock(g_DataMutex);
    CString key;
    for (INT_PTR i = 0; i < values.GetSize(); ++i)
    {
        key.Format(keyFormat, static_cast<int>(i));
        WriteString(section, key, values[i]);
    }
}

void CIniFile::Close()
{
    if (writeHandle != INVALID_HANDLE_VALUE)
    {
        CloseHandle(writeHandle);
        writeHandle = INVALID_HANDLE_VALUE;
    }
    RemoveSections();
}
