#include "viewers/text/ViewerText.h"

#include <cstdlib>
#include <cstring>
#include <emmintrin.h>

#include "util/PathHelpers.h"
#include "app/settings/ViewerSettings.h"
#include "framework/FwLock.h"

void ViewerWidthsForExtension(LPCWSTR extension, int& tabWidth, int& lineWidth)
{
    if (extension == nullptr)
        return;
    if (*extension == L'.')
        ++extension;
    const int defaultTab = tabWidth;
    const int defaultWidth = lineWidth;
    for (const ViewerKindRow& row : g_ViewerKindRows)
    {
        LPCWSTR kind = row.extension;
        if (*kind == L'.')
            ++kind;
        // A name without an extension is matched by the rows left empty, so untouched
        // rows give such a file their own widths.
        if (_wcsicmp(kind, extension) == 0)
        {
            // The per-extension dialog stores whatever was typed (text reads as 0): a
            // number the loader cannot use leaves the default in its place.
            tabWidth = row.tabWidth >= 1 ? row.tabWidth : defaultTab;
            lineWidth = row.lineWidth >= 2 ? row.lineWidth : defaultWidth;
        }
    }
}

namespace
{
LPCWSTR ExtensionOf(LPCWSTR path)
{
    LPCWSTR name = path;
    for (LPCWSTR p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    LPCWSTR dot = wcsrchr(name, L'.');
    return dot ? dot + 1 : L"";
}
} // namespace

CViewerText::CViewerText()
{
    // A private semaphore: a named one would be shared with every other running copy
    // of the program, whose panes would then wait for each other.
    m_data.semaphore = CreateSemaphoreW(nullptr, 1, 1, nullptr);
}

CViewerText::~CViewerText()
{
    ReleaseViewerData();
    if (m_data.semaphore)
        CloseHandle(m_data.semaphore);
}

void CViewerText::StopViewerLoader()
{
    if (m_loader == nullptr)
        return;
    m_loader->RequestStop();
    if (m_loader->m_hThread)
        WaitForSingleObject(m_loader->m_hThread, INFINITE);
    delete m_loader;
    m_loader = nullptr;
}

BOOL CViewerText::IsViewerLoadDone() const
{
    if (m_loader == nullptr || m_loader->m_hThread == nullptr)
        return TRUE;
    return WaitForSingleObject(m_loader->m_hThread, 0) != WAIT_TIMEOUT;
}

void CViewerText::ReleaseViewerData()
{
    StopViewerLoader();
    CHandleLock lock(m_data.semaphore, CHandleLock::SEMAPHORE);
    free(m_data.text);
    free(m_data.lineIndex);
    m_data.text = nullptr;
    m_data.lineIndex = nullptr;
    m_data.textCapacity = 0;
    m_data.indexCapacity = 0;
    m_data.textLength.store(0);
    m_data.lineCount.store(0);
    m_data.truncated.store(FALSE);
    m_topLine = 0;
    m_searchPos = 0;
    m_searchState = SEARCH_NEW;
}

BOOL CViewerText::LockViewerData()
{
    if (m_data.semaphore == nullptr || WaitForSingleObject(m_data.semaphore, INFINITE) != WAIT_OBJECT_0)
        return FALSE;
    if (m_data.lineIndex != nullptr && m_data.text != nullptr)
        return TRUE;
    ReleaseSemaphore(m_data.semaphore, 1, nullptr);
    return FALSE;
}

void CViewerText::UnlockViewerData()
{
    ReleaseSemaphore(m_data.semaphore, 1, nullptr);
}

BOOL CViewerText::OpenViewerFile(LPCWSTR path, int tabWidth, int lineWidth, int requestedCode)
{
    ReleaseViewerData();
    ViewerWidthsForExtension(ExtensionOf(path), tabWidth, lineWidth);
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
    {
        CloseHandle(file);
        return FALSE;
    }
    m_charCode = requestedCode;
    return LoadViewerData(size.QuadPart, tabWidth, lineWidth, file, FALSE);
}

BOOL CViewerText::OpenViewerMemory(const void* bytes, INT64 length, LPCWSTR extension, int tabWidth,
                                   int lineWidth, int requestedCode)
{
    ReleaseViewerData();
    ViewerWidthsForExtension(extension, tabWidth, lineWidth);
    if (length < 0 || static_cast<unsigned long long>(length) >= SIZE_MAX)
        return FALSE;
    char* text = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
    if (text == nullptr)
        return FALSE;
    if (length > 0)
        memcpy(text, bytes, static_cast<size_t>(length));
    {
        CHandleLock lock(m_data.semaphore, CHandleLock::SEMAPHORE);
        m_data.text = text;
        m_data.textCapacity = length;
        m_data.textLength.store(length);
    }
    m_charCode = requestedCode;
    return LoadViewerData(length, tabWidth, lineWidth, nullptr, FALSE);
}

BOOL CViewerText::RewrapViewerData(int tabWidth, int lineWidth)
{
    if (m_data.text == nullptr)
        return FALSE;
    // The loader may still be appending text: let it finish the text first, since a
    // re-wrap indexes only what is already converted.
    if (m_loader != nullptr && m_loader->m_hThread)
        WaitForSingleObject(m_loader->m_hThread, INFINITE);
    return LoadViewerData(m_data.textLength.load(), tabWidth, lineWidth, nullptr, TRUE);
}

BOOL CViewerText::LoadViewerData(INT64 sourceSize, int tabWidth, int lineWidth, HANDLE file, BOOL rewrap)
{
    StopViewerLoader();
    {
        CHandleLock lock(m_data.semaphore, CHandleLock::SEMAPHORE);
        free(m_data.lineIndex);
        m_data.lineIndex = nullptr;
        m_data.indexCapacity = 0;
        m_data.lineCount.store(0);
    }
    m_topLine = 0;
    auto* loader = new CViewDataThread(m_data, file, sourceSize, tabWidth, lineWidth);
    m_tabWidth = loader->GetTabWidth();
    m_lineWidth = loader->GetLineWidth();
    if (rewrap)
        loader->SetRewrap();
    else
        m_charCode = loader->DetectEncoding(m_charCode, m_detectedCode);
    if (!loader->LoadNextBlock())
    {
        delete loader;
        CHandleLock lock(m_data.semaphore, CHandleLock::SEMAPHORE);
        free(m_data.lineIndex);
        m_data.lineIndex = nullptr;
        m_data.indexCapacity = 0;
        m_data.lineCount.store(0);
        if (!rewrap)
        {
            free(m_data.text);
            m_data.text = nullptr;
            m_data.textCapacity = 0;
            m_data.textLength.store(0);
        }
        return FALSE;
    }
    m_loader = loader;
    if (!loader->IsDone() && !loader->CreateThread())
    {
        // No thread: finish here rather than show a text that never completes.
        while (!loader->IsDone() && loader->LoadNextBlock())
        {
        }
    }
    return m_data.lineIndex != nullptr;
}

INT64 CViewerText::ScrollViewerLines(INT64 delta, int linesPerPage, BOOL hexForm)
{
    INT64 old = m_topLine;
    INT64 top = m_topLine + delta;
    INT64 limit;
    if (hexForm)
    {
        INT64 length = m_data.textLength.load();
        limit = length / 16 + (length % 16 ? 2 : 1) - linesPerPage;
    }
    else
        limit = m_data.lineCount.load() - linesPerPage;
    if (top > limit)
        top = limit;
    if (top < 0)
        top = 0;
    m_topLine = top;
    return top - old;
}

namespace
{
// The text is held in Shift-JIS, whatever the file's code.
inline bool IsLeadByte(char c)
{
    const BYTE b = static_cast<BYTE>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The first offset in [from, to) whose byte is `a` or `b`, or -1; sixteen bytes a step.
INT64 NextEither(const char* text, INT64 from, INT64 to, char a, char b)
{
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    INT64 at = from;
    for (; at + 16 <= to; at += 16)
    {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)));
        if (mask)
            return at + __builtin_ctz(static_cast<unsigned>(mask));
    }
    for (; at < to; ++at)
    {
        if (text[at] == a || text[at] == b)
            return at;
    }
    return -1;
}

// The last offset in [from, to) whose byte is `a` or `b`, or -1.
INT64 PreviousEither(const char* text, INT64 from, INT64 to, char a, char b)
{
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    INT64 at = to;
    for (; at - 16 >= from; at -= 16)
    {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at - 16));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)));
        if (mask)
            return at - 16 + (31 - __builtin_clz(static_cast<unsigned>(mask)));
    }
    for (; at > from; --at)
    {
        if (text[at - 1] == a || text[at - 1] == b)
            return at - 1;
    }
    return -1;
}
} // namespace

void CViewerText::SetSearch(const std::string& text, BOOL ignoreCase, int direction)
{
    m_searchText = text;
    m_searchSingle.assign(text.size(), 0);
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (IsLeadByte(text[i]) && i + 1 < text.size())
            ++i;
        else
            m_searchSingle[i] = 1;
    }
    m_ignoreCase = ignoreCase;
    m_searchDirection = direction;
    m_searchState = SEARCH_NEW;
}

void CViewerText::SetSearchStart(INT64 offset)
{
    m_searchStart = offset;
    m_searchState = SEARCH_FROM_START;
}

BOOL CViewerText::CharsMatch(INT64 pos, INT64 end) const
{
    const INT64 n = static_cast<INT64>(m_searchText.size());
    if (n == 0 || pos + n > end)
        return FALSE;
    const char* text = m_data.text + pos;
    for (INT64 i = 0; i < n; ++i)
    {
        char a = text[i];
        char b = m_searchText[static_cast<size_t>(i)];
        // A trail byte may lie in the range of the letters: it is never folded.
        if (m_ignoreCase && m_searchSingle[static_cast<size_t>(i)])
        {
            if (a >= 'a' && a <= 'z')
                a = static_cast<char>(a - 'a' + 'A');
            if (b >= 'a' && b <= 'z')
                b = static_cast<char>(b - 'a' + 'A');
        }
        if (a != b)
            return FALSE;
    }
    return TRUE;
}

BOOL CViewerText::IsCharStart(INT64 pos) const
{
    // The byte before a run of lead-range bytes ends a character whatever it is; from
    // there the run pairs up into double bytes.
    INT64 q = pos - 1;
    while (q >= 0 && IsLeadByte(m_data.text[q]))
        --q;
    return ((pos - (q + 1)) & 1) == 0;
}

void CViewerText::SearchFirstBytes(char& a, char& b) const
{
    a = b = m_searchText[0];
    if (m_ignoreCase && m_searchSingle[0])
    {
        if (a >= 'a' && a <= 'z')
            b = static_cast<char>(a - 'a' + 'A');
        else if (a >= 'A' && a <= 'Z')
            b = static_cast<char>(a - 'A' + 'a');
    }
}

INT64 CViewerText::FindForward(INT64 from, INT64 stop, INT64 end) const
{
    // Testing every position costs a call per byte; only a byte that can begin a match
    // is looked at, and whether a character starts there is told from the last byte
    // outside the lead range before it, never looking back past a known start.
    const char* text = m_data.text;
    char a, b;
    SearchFirstBytes(a, b);
    INT64 known = from < end && !IsCharStart(from) ? from + 1 : from;
    for (INT64 at = from; at < stop; ++at)
    {
        at = NextEither(text, at, stop, a, b);
        if (at < 0)
            return -1;
        bool starts = false;
        if (at >= known)
        {
            INT64 q = at - 1;
            while (q >= known && IsLeadByte(text[q]))
                --q;
            starts = ((at - (q + 1)) & 1) == 0;
        }
        if (!starts)
        {
            known = at + 1; // a trail byte: the next character starts after it
            continue;
        }
        if (CharsMatch(at, end))
            return at;
        known = at;
    }
    return -1;
}

INT64 CViewerText::FindBackward(INT64 low, INT64 high, INT64 end) const
{
    const char* text = m_data.text;
    char a, b;
    SearchFirstBytes(a, b);
    for (INT64 at = high; at >= low; --at)
    {
        at = PreviousEither(text, low, at + 1, a, b);
        if (at < 0)
            return -1;
        if (IsCharStart(at) && CharsMatch(at, end))
            return at;
    }
    return -1;
}

BOOL CViewerText::SearchViewerText(BOOL forward)
{
    BOOL down = m_searchDirection == 0 ? forward : !forward;
    if (!LockViewerData())
        return FALSE;
    INT64 count = m_data.lineCount.load();
    INT64 end = m_data.lineIndex[count];
    if (end > m_data.textLength.load())
        end = m_data.textLength.load();
    if (m_searchState == SEARCH_NEW)
    {
        INT64 top = m_topLine < count ? m_topLine : count;
        m_searchStart = m_data.lineIndex[top];
    }
    if (m_searchState == SEARCH_NEW || m_searchState == SEARCH_FROM_START)
        m_searchPos = m_searchStart;
    if (m_searchPos >= end)
        m_searchPos = end > 0 ? end - 1 : 0;
    if (m_searchStart > end)
        m_searchStart = end;

    BOOL found = FALSE;
    INT64 pos = m_searchPos;
    if (end > 0 && !m_searchText.empty())
    {
        // Every position is tested once, starting here and wrapping at the end (or the
        // start), up to the search start; the wrap splits the round into stretches.
        INT64 left = end;
        bool first = true;
        if (down)
        {
            if (m_searchState == SEARCH_FOUND)
                ++pos;
            while (left > 0)
            {
                if (pos >= end)
                {
                    if (m_searchStart == 0)
                        break;
                    pos = 0;
                }
                if (!first && pos == m_searchStart)
                    break;
                INT64 stop = m_searchStart > pos ? m_searchStart : end;
                if (stop - pos > left)
                    stop = pos + left;
                const INT64 hit = FindForward(pos, stop, end);
                if (hit >= 0)
                {
                    pos = hit;
                    found = TRUE;
                    break;
                }
                left -= stop - pos;
                pos = stop;
                first = false;
            }
        }
        else
        {
            if (m_searchState == SEARCH_FOUND)
                --pos;
            while (left > 0)
            {
                if (pos < 0)
                {
                    if (m_searchStart >= end)
                        break;
                    pos = end - 1;
                }
                // The round ends after the position just past the search start, unless
                // the search begins there.
                const bool ends = m_searchStart + 1 <= pos && !(first && pos == m_searchStart + 1);
                INT64 low = ends ? m_searchStart + 1 : 0;
                if (pos - low + 1 > left)
                    low = pos - left + 1;
                const INT64 hit = FindBackward(low, pos, end);
                if (hit >= 0)
                {
                    pos = hit;
                    found = TRUE;
                    break;
                }
                left -= pos - low + 1;
                if (ends)
                    break;
                pos = low - 1;
                first = false;
            }
        }
    }
    UnlockViewerData();
    if (found)
    {
        m_searchPos = pos;
        m_searchState = SEARCH_FOUND;
        return TRUE;
    }
    m_searchState = SEARCH_NOT_FOUND;
    return FALSE;
}
