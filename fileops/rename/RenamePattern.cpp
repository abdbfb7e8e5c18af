#include "fileops/rename/RenamePattern.h"

#include <string>

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/ProgressInfo.h"
#include "app/Settings.h"
#include "filer/FileInfo.h"

CharConvertInfo CharConvertInfo::FromSettings()
{
    CharConvertInfo info;
    info.enable = g_CHAR_CONVERT_INFO_ENABLE;
    info.save = g_CHAR_CONVERT_INFO_SAVE;
    info.katakana = g_CHAR_CONVERT_INFO_KATAKANA;
    info.hiragana = g_CHAR_CONVERT_INFO_HIRAGANA;
    info.alphabet = g_CHAR_CONVERT_INFO_ALPHABET;
    info.digit = g_CHAR_CONVERT_INFO_DIGIT;
    info.space = g_CHAR_CONVERT_INFO_SPACE;
    info.symbol = g_CHAR_CONVERT_INFO_SYMBOL;
    return info;
}

void CharConvertInfo::ToSettings() const
{
    g_CHAR_CONVERT_INFO_ENABLE = enable;
    g_CHAR_CONVERT_INFO_SAVE = save;
    g_CHAR_CONVERT_INFO_KATAKANA = katakana;
    g_CHAR_CONVERT_INFO_HIRAGANA = hiragana;
    g_CHAR_CONVERT_INFO_ALPHABET = alphabet;
    g_CHAR_CONVERT_INFO_DIGIT = digit;
    g_CHAR_CONVERT_INFO_SPACE = space;
    g_CHAR_CONVERT_INFO_SYMBOL = symbol;
}

// ---- Kana table ----------------------------------------------------------------------

namespace
{

enum
{
    FORM_PLAIN = 0,
    FORM_VOICED = 1,
    FORM_SEMI_VOICED = 2,
};

const wchar_t VOICED_MARK = 0xFF9E;
const wchar_t SEMI_VOICED_MARK = 0xFF9F;

KanaTableRow g_KanaTable[KANA_TABLE_ROWS];

void SetForm(wchar_t (&form)[3], wchar_t ch)
{
    form[0] = ch;
    form[1] = 0;
    form[2] = 0;
}

// The rows follow the half-width code order U+FF66 to U+FF9D; the hiragana and the
// katakana of a row lie 0x60 apart, and their voiced and semi-voiced forms follow
// the plain one.
void BuildKanaTable()
{
    static const wchar_t plainHiragana[56] = {
        0x3092, 0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3083, 0x3085, 0x3087, 0x3063, 0,      0x3042,
        0x3044, 0x3046, 0x3048, 0x304A, 0x304B, 0x304D, 0x304F, 0x3051, 0x3053, 0x3055, 0x3057, 0x3059,
        0x305B, 0x305D, 0x305F, 0x3061, 0x3064, 0x3066, 0x3068, 0x306A, 0x306B, 0x306C, 0x306D, 0x306E,
        0x306F, 0x3072, 0x3075, 0x3078, 0x307B, 0x307E, 0x307F, 0x3080, 0x3081, 0x3082, 0x3084, 0x3086,
        0x3088, 0x3089, 0x308A, 0x308B, 0x308C, 0x308D, 0x308F, 0x3093};
    for (int i = 0; i < 56; ++i)
    {
        KanaTableRow& row = g_KanaTable[i];
        row = KanaTableRow{};
        row.half = static_cast<wchar_t>(0xFF66 + i);
        const wchar_t hira = plainHiragana[i];
        if (hira != 0)
        {
            SetForm(row.hiragana[FORM_PLAIN], hira);
            SetForm(row.katakana[FORM_PLAIN], static_cast<wchar_t>(hira + 0x60));
        }
        const bool voiced =
            (row.half >= 0xFF76 && row.half <= 0xFF84) || (row.half >= 0xFF8A && row.half <= 0xFF8E);
        if (voiced)
        {
            SetForm(row.hiragana[FORM_VOICED], static_cast<wchar_t>(hira + 1));
            SetForm(row.katakana[FORM_VOICED], static_cast<wchar_t>(hira + 0x61));
        }
        if (row.half >= 0xFF8A && row.half <= 0xFF8E)
        {
            SetForm(row.hiragana[FORM_SEMI_VOICED], static_cast<wchar_t>(hira + 2));
            SetForm(row.katakana[FORM_SEMI_VOICED], static_cast<wchar_t>(hira + 0x62));
        }
    }
    SetForm(g_KanaTable[10].katakana[FORM_PLAIN], 0x30FC);  // ｰ: the long mark has no hiragana
    SetForm(g_KanaTable[13].katakana[FORM_VOICED], 0x30F4); // ｳﾞ: katakana only
    KanaTableRow& smallWa = g_KanaTable[56];
    smallWa = KanaTableRow{};
    SetForm(smallWa.hiragana[FORM_PLAIN], 0x308E);
    SetForm(smallWa.katakana[FORM_PLAIN], 0x30EE);
    for (int i = 0; i < 2; ++i)
    {
        KanaTableRow& mark = g_KanaTable[57 + i];
        mark = KanaTableRow{};
        mark.half = static_cast<wchar_t>(VOICED_MARK + i);
        SetForm(mark.hiragana[FORM_PLAIN], static_cast<wchar_t>(0x309B + i));
        SetForm(mark.katakana[FORM_PLAIN], static_cast<wchar_t>(0x309B + i));
    }
}

BOOL IsHalfWidth(wchar_t ch)
{
    WORD type = 0;
    if (!GetStringTypeW(CT_CTYPE3, &ch, 1, &type))
        return ch < 0x3000 || (ch >= 0xFF61 && ch <= 0xFFDC);
    return (type & C3_HALFWIDTH) != 0;
}

// Finds a full-width character in the hiragana (kana 0) or katakana (kana 1) columns.
const KanaTableRow* FindFullKana(wchar_t ch, int kana, int& form)
{
    const KanaTableRow* table = GetKanaTable();
    for (int r = 0; r < KANA_TABLE_ROWS; ++r)
    {
        for (int f = 0; f < 3; ++f)
        {
            const wchar_t* text = kana == 0 ? table[r].hiragana[f] : table[r].katakana[f];
            if (text[0] == ch && text[1] == 0)
            {
                form = f;
                return &table[r];
            }
        }
    }
    return nullptr;
}

void AppendHalfKana(std::wstring& out, const KanaTableRow& row, int form)
{
    out += row.half;
    if (form == FORM_VOICED)
        out += VOICED_MARK;
    else if (form == FORM_SEMI_VOICED)
        out += SEMI_VOICED_MARK;
}

} // namespace

const KanaTableRow* GetKanaTable()
{
    static const bool built = (BuildKanaTable(), true);
    (void)built;
    return g_KanaTable;
}

// ---- Fields --------------------------------------------------------------------------

void FindPercentField(LPCWSTR text, int& start, int& end)
{
    start = end = -1;
    const wchar_t* first = wcschr(text, L'%');
    if (first == nullptr)
        return;
    const wchar_t* second = wcschr(first + 1, L'%');
    if (second == nullptr)
        return;
    start = static_cast<int>(first - text);
    end = static_cast<int>(second - text);
}

namespace
{

// The width of a counter token starting at text[i], 0 when none starts there.
int CounterTokenAt(LPCWSTR text, int i, int& length)
{
    if (text[i] != L'$')
        return 0;
    if (text[i + 1] == L'n')
    {
        length = 2;
        return 2;
    }
    if (text[i + 1] >= L'1' && text[i + 1] <= L'9' && text[i + 2] == L'n')
    {
        length = 3;
        return text[i + 1] - L'0';
    }
    return 0;
}

} // namespace

void FindCounterField(LPCWSTR text, int& start, int& end, int& width)
{
    start = end = -1;
    width = 0;
    for (int i = 0; text[i] != 0; ++i)
    {
        int length = 0;
        const int w = CounterTokenAt(text, i, length);
        if (w != 0)
        {
            start = i;
            end = i + length - 1;
            width = w;
            return;
        }
    }
}

CString ExpandPatternPart(LPCWSTR oldPart, LPCWSTR patternPart, int& counterPosition, int& counterWidth)
{
    const std::wstring old(oldPart);
    const std::wstring pattern(patternPart);
    const int oldLength = static_cast<int>(old.size());
    int fieldStart, fieldEnd, counterStart, counterEnd;
    FindPercentField(patternPart, fieldStart, fieldEnd);
    FindCounterField(patternPart, counterStart, counterEnd, counterWidth);
    auto inField = [&](int j) { return fieldStart >= 0 && j >= fieldStart && j <= fieldEnd; };
    auto inCounter = [&](int j) { return counterStart >= 0 && j >= counterStart && j <= counterEnd; };

    // A star inside the text field is text of the field.
    int star = -1;
    for (int j = 0; j < static_cast<int>(pattern.size()); ++j)
    {
        if (pattern[j] == L'*' && !inField(j) && !inCounter(j))
            star = j;
    }

    int positional = 0;
    for (int j = 0; j < static_cast<int>(pattern.size()); ++j)
    {
        if (j == star || inField(j) || inCounter(j))
            continue;
        if (pattern[j] != L'?' || positional < oldLength)
            ++positional;
    }

    std::wstring out;
    int k = 0;
    int before = 0;
    int starOut = -1;
    int counterOut = -1;
    for (int j = 0; j < static_cast<int>(pattern.size()); ++j)
    {
        if (inCounter(j))
        {
            if (j == counterStart)
                counterOut = static_cast<int>(out.size());
            continue;
        }
        if (inField(j))
        {
            if (j != fieldStart && j != fieldEnd)
                out += pattern[j];
            continue;
        }
        if (j == star)
        {
            before = k;
            starOut = static_cast<int>(out.size());
            continue;
        }
        if (pattern[j] != L'?')
        {
            out += pattern[j];
            ++k;
        }
        else if (star < 0 || j < star)
        {
            if (k < oldLength)
                out += old[k++];
        }
        else
        {
            int i = oldLength + k - positional;
            if (i < 0)
                i = 0;
            if (i < oldLength)
            {
                out += old[i];
                ++k;
            }
        }
    }
    if (starOut >= 0)
    {
        const int after = k - before;
        const int stop = oldLength - after;
        if (before < stop)
        {
            const std::wstring middle = old.substr(before, stop - before);
            out.insert(starOut, middle);
            if (counterOut >= 0 && counterStart > star)
                counterOut += static_cast<int>(middle.size());
        }
    }
    counterPosition = counterOut;
    if (counterOut < 0)
        counterWidth = 0;
    return CString(out.c_str());
}

CString ConvertCharKinds(LPCWSTR text, const CharConvertInfo& info, int& counterPosition)
{
    const std::wstring in(text);
    std::wstring out;
    int movedCounter = counterPosition;
    for (size_t i = 0; i < in.size(); ++i)
    {
        if (counterPosition >= 0 && static_cast<int>(i) == counterPosition)
            movedCounter = static_cast<int>(out.size());
        const wchar_t ch = in[i];
        if (!IsHalfWidth(ch))
        {
            int form = 0;
            const KanaTableRow* row = nullptr;
            if (ch == 0x3000 && info.space == 1)
                out += L' ';
            else if (ch >= 0xFF10 && ch <= 0xFF19 && info.digit == 1)
                out += static_cast<wchar_t>(ch - 0xFEE0);
            else if (((ch >= 0xFF41 && ch <= 0xFF5A) || (ch >= 0xFF21 && ch <= 0xFF3A)) && info.alphabet == 1)
                out += static_cast<wchar_t>(ch - 0xFEE0);
            else if ((row = FindFullKana(ch, 0, form)) != nullptr)
            {
                if (info.hiragana == 1 && row->half != 0)
                    AppendHalfKana(out, *row, form);
                else
                    out += ch;
            }
            else if ((row = FindFullKana(ch, 1, form)) != nullptr)
            {
                if (info.katakana == 1 && row->half != 0)
                    AppendHalfKana(out, *row, form);
                else if (info.katakana == 3 && row->hiragana[form][0] != 0)
                    out += row->hiragana[form];
                else
                    out += ch;
            }
            else
                out += ch;
            continue;
        }
        if (ch == L' ' && info.space == 2)
            out += static_cast<wchar_t>(0x3000);
        else if (ch >= L'0' && ch <= L'9' && info.digit == 2)
            out += static_cast<wchar_t>(ch + 0xFEE0);
        else if (((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z')) && info.alphabet == 2)
            out += static_cast<wchar_t>(ch + 0xFEE0);
        else if (ch >= 0xFF66 && ch <= 0xFF9F && (info.katakana == 2 || info.katakana == 3))
        {
            const KanaTableRow* row = nullptr;
            const KanaTableRow* table = GetKanaTable();
            for (int r = 0; r < KANA_TABLE_ROWS && row == nullptr; ++r)
            {
                if (table[r].half == ch)
                    row = &table[r];
            }
            const wchar_t next = i + 1 < in.size() ? in[i + 1] : 0;
            int form = next == VOICED_MARK        ? FORM_VOICED
                       : next == SEMI_VOICED_MARK ? FORM_SEMI_VOICED
                                                  : FORM_PLAIN;
            auto column = [&](int f) -> const wchar_t* {
                return info.katakana == 2 ? row->katakana[f] : row->hiragana[f];
            };
            if (form != FORM_PLAIN && column(form)[0] == 0)
                form = FORM_PLAIN;
            const wchar_t* target = column(form);
            // The long mark has no hiragana: it stays a katakana.
            if (target[0] == 0)
                target = row->katakana[form];
            if (target[0] == 0)
                out += ch;
            else
                out += target;
            if (form != FORM_PLAIN)
                ++i;
        }
        else
            out += ch;
    }
    if (counterPosition >= 0 && counterPosition >= static_cast<int>(in.size()))
        movedCounter = static_cast<int>(out.size());
    counterPosition = movedCounter;
    return CString(out.c_str());
}

// ---- The engine ----------------------------------------------------------------------

void CRenamePattern::Setup(const CFileInfo& entry, LPCWSTR pattern, int nameStart, int extensionStart,
                           const CharConvertInfo* convert, CArrayRenameFileName* renameList)
{
    m_directory = entry.GetDirectory();
    m_pattern = pattern;
    m_nameStart = nameStart;
    m_extensionStart = extensionStart;
    m_renameList = renameList;
    m_convert = convert != nullptr ? *convert : CharConvertInfo{};
    for (int part = 0; part < 2; ++part)
    {
        m_lastText[part].Empty();
        m_lastCounter[part] = -1;
    }
    m_nextNumber[0] = nameStart;
    m_nextNumber[1] = extensionStart;
}

namespace
{

// The pattern part is usable: at most one star, one counter and one text field.
bool IsValidPart(const std::wstring& part)
{
    int stars = 0, counters = 0, fields = 0;
    for (size_t i = 0; i < part.size(); ++i)
    {
        if (part[i] == L'*')
            ++stars;
        int length = 0;
        if (CounterTokenAt(part.c_str(), static_cast<int>(i), length) != 0)
            ++counters;
        if (part[i] == L'%' && part.find(L'%', i + 1) != std::wstring::npos)
        {
            if (fields > 0)
                return false;
            ++fields;
        }
    }
    return stars <= 1 && counters <= 1;
}

// Splits at the last "." outside the text field.
void SplitPattern(const std::wstring& pattern, std::wstring& name, std::wstring& extension)
{
    size_t dot = std::wstring::npos;
    for (size_t i = 0; i < pattern.size(); ++i)
    {
        if (pattern[i] == L'%')
        {
            const size_t next = pattern.find(L'%', i + 1);
            if (next != std::wstring::npos)
            {
                i = next;
                continue;
            }
        }
        if (pattern[i] == L'.')
            dot = i;
    }
    if (dot == std::wstring::npos)
    {
        name = pattern;
        extension.clear();
    }
    else
    {
        name = pattern.substr(0, dot);
        extension = pattern.substr(dot + 1);
    }
}

CString InsertNumber(const CString& text, int position, int width, LONGLONG number)
{
    if (position < 0)
        return text;
    wchar_t digits[32];
    swprintf(digits, 32, L"%09lld", number);
    const int length = static_cast<int>(wcslen(digits));
    CString result = text;
    result.Insert(position, digits + (length > width ? length - width : 0));
    return result;
}

} // namespace

int CRenamePattern::IsUsable(const CFileInfo& entry, const CString& name) const
{
    CString path = m_directory.IsEmpty() ? name : m_directory + L"\\" + name;
    // In an archive another member may hold the same name in another case.
    if (m_renameList != nullptr)
        return m_renameList->CanRename(entry.GetFullPath(), path, entry.m_itemIndex, entry.IsDirectory());
    if (name.CompareNoCase(entry.GetName()) == 0)
        return 1;
    // The name as the move would take it: an entry that answers to it by its 8.3
    // alias refuses the move as surely as one of that long name.
    return !NameIsTaken(path);
}

void CRenamePattern::ForgetSeries(int firstName, int alwaysIncrement)
{
    for (int part = 0; part < 2; ++part)
    {
        m_lastText[part].Empty();
        m_lastCounter[part] = -1;
    }
    m_nextNumber[1] = m_extensionStart;
    m_nextNumber[0] = alwaysIncrement ? firstName + 1 : m_nameStart;
}

int CRenamePattern::MakeNewName(const CFileInfo& entry, int alwaysIncrement)
{
    m_newName.Empty();
    const std::wstring pattern(m_pattern.GetString());
    if (pattern.empty() || pattern.find(L'\\') != std::wstring::npos)
        return 0;
    std::wstring patternPart[2];
    SplitPattern(pattern, patternPart[0], patternPart[1]);
    if (!IsValidPart(patternPart[0]) || !IsValidPart(patternPart[1]))
        return 0;

    const CString oldPart[2] = {entry.m_baseName, entry.m_extension};
    CString text[2];
    int counter[2], width[2];
    LONGLONG candidates[2];
    for (int part = 0; part < 2; ++part)
    {
        text[part] = ExpandPatternPart(oldPart[part], patternPart[part].c_str(), counter[part], width[part]);
        LONGLONG count = 1;
        if (counter[part] >= 0)
        {
            for (int i = 0; i < width[part] && count < 100000; ++i)
                count *= 10;
        }
        candidates[part] = count;
    }
    if (m_convert.enable)
        text[0] = ConvertCharKinds(text[0], m_convert, counter[0]);

    auto compose = [&](const CString& name, const CString& extension) {
        return extension.IsEmpty() ? name : name + L"." + extension;
    };
    if (counter[0] < 0 && counter[1] < 0)
    {
        const CString name = compose(text[0], text[1]);
        if (!IsUsable(entry, name))
        {
            ForgetSeries(m_nameStart, alwaysIncrement);
            return 0;
        }
        m_newName = name;
        for (int part = 0; part < 2; ++part)
        {
            m_lastText[part] = text[part];
            m_lastCounter[part] = counter[part];
        }
        m_nextNumber[0] = alwaysIncrement ? 1 : 0;
        m_nextNumber[1] = 0;
        return 1;
    }

    int firstName, firstExtension;
    const bool series = counter[0] == m_lastCounter[0] && counter[1] == m_lastCounter[1] &&
                        text[0].CompareNoCase(m_lastText[0]) == 0 &&
                        text[1].CompareNoCase(m_lastText[1]) == 0;
    if (series)
    {
        firstName = m_nextNumber[0];
        firstExtension = counter[0] < 0 ? m_nextNumber[1] : m_extensionStart;
    }
    else
    {
        firstName = alwaysIncrement ? m_nextNumber[0] : m_nameStart;
        firstExtension = m_extensionStart;
    }

    // Two wide counters make ten thousand million names: the search gives up after a
    // bounded number and whenever the job is cancelled.
    LONGLONG tried = 0;
    for (LONGLONG s = 0; s < candidates[0]; ++s)
    {
        const CString name = InsertNumber(text[0], counter[0], width[0], firstName + s);
        for (LONGLONG e = 0; e < candidates[1]; ++e)
        {
            if (++tried > MAX_CANDIDATES || (m_cancel != nullptr && (tried & 255) == 0 && *m_cancel))
            {
                ForgetSeries(firstName, alwaysIncrement);
                return 0;
            }
            const CString extension = InsertNumber(text[1], counter[1], width[1], firstExtension + e);
            const CString candidate = compose(name, extension);
            if (!IsUsable(entry, candidate))
                continue;
            m_newName = candidate;
            for (int part = 0; part < 2; ++part)
            {
                m_lastText[part] = text[part];
                m_lastCounter[part] = counter[part];
            }
            const int usedName = counter[0] >= 0 ? static_cast<int>(firstName + s) : 0;
            const int usedExtension = counter[1] >= 0 ? static_cast<int>(firstExtension + e) : 0;
            m_nextNumber[0] = alwaysIncrement ? usedName + 1 : usedName;
            m_nextNumber[1] = usedExtension;
            return 1;
        }
    }
    ForgetSeries(firstName, alwaysIncrement);
    return 0;
}
