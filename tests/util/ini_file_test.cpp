// The ini reader and writer: line rules, encodings, sections and keys, load results,
// lists, the writer's header lines and the wait for a file that is in use.
#include "util/Globals.h"
#include "util/IniFile.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <climits>
#include <string>
#include <thread>
#include <vector>

namespace
{

using qvtest::Items;
using qvtest::Utf16Bytes;
using qvtest::W;

std::string AnsiBytes(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr,
                        nullptr);
    return bytes;
}

CStringArray MakeArray(std::initializer_list<const wchar_t*> items)
{
    CStringArray array;
    for (const wchar_t* item : items)
        array.Add(item);
    return array;
}

// Every test runs with a real g_DataMutex, so that the nested holds of the list
// functions are exercised as at run time.
class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedMutex = g_DataMutex;
        g_DataMutex = CreateMutexW(nullptr, FALSE, nullptr);
        m_dir = qvtest::ScratchDir();
    }
    void TearDown() override
    {
        CloseHandle(g_DataMutex);
        g_DataMutex = m_savedMutex;
        CIniFile::s_retryWaitMs = 100;
    }

    std::wstring Path(const wchar_t* name) const { return m_dir + L"\\" + name; }

    // Writes the bytes into a file of the scratch folder and loads it.
    int LoadBytes(CIniFile& ini, const std::string& bytes)
    {
        std::wstring path = Path(L"read.ini");
        EXPECT_TRUE(qvtest::WriteFileBytes(path, bytes));
        ini.filePath = path.c_str();
        return ini.Load();
    }

    HANDLE m_savedMutex = nullptr;
    std::wstring m_dir;
};

TEST_F(IniFileTest, ReadsLinesSectionsAndKeysByTheFileRules)
{
    enum Encoding
    {
        Utf16,
        Ansi,
        Raw
    };
    struct Lookup
    {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* expected; // nullptr: the default
    };
    struct Case
    {
        const char* name;
        Encoding encoding;
        std::wstring text;
        std::string raw;
        std::vector<Lookup> lookups;
    };
    const std::vector<Case> cases = {
        {"CR LF lines, last line without end",
         Utf16,
         L"[S]\r\nk=v\r\nk2=v2",
         "",
         {{L"S", L"k", L"v"}, {L"S", L"k2", L"v2"}}},
        {"CR-only lines", Utf16, L"[S]\rk=v\rk2=v2\r", "", {{L"S", L"k", L"v"}, {L"S", L"k2", L"v2"}}},
        {"LF-only lines",
         Utf16,
         L"[S]\nk=v\nk2=v2\n[T]\nk=w",
         "",
         {{L"S", L"k", L"v"}, {L"S", L"k2", L"v2"}, {L"T", L"k", L"w"}}},
        {"LF-only lines in the code page",
         Ansi,
         L"[S]\nk=v\n\nk2=v2\n",
         "",
         {{L"S", L"k", L"v"}, {L"S", L"k2", L"v2"}}},
        {"UTF-16 with mark, Japanese",
         Utf16,
         L"[\u65E5\u672C]\r\n\u30AD\u30FC=\u5024\u8868",
         "",
         {{L"\u65E5\u672C", L"\u30AD\u30FC", L"\u5024\u8868"}}},
        {"code page 932, Japanese",
         Ansi,
         L"[\u65E5\u672C]\r\n\u30AD\u30FC=\u5024\u8868\r\n",
         "",
         {{L"\u65E5\u672C", L"\u30AD\u30FC", L"\u5024\u8868"}}},
        {"UTF-8 with its mark keeps the first section and its Japanese",
         Raw,
         L"",
         "\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=\xE6\x97\xA5\xE6\x9C\xAC\r\n",
         {{L"S", L"k", L"v"}, {L"T", L"k", L"\u65E5\u672C"}}},
        {"duplicate section: the second is never found",
         Utf16,
         L"[S]\r\na=1\r\n[s]\r\na=2\r\nb=3\r\n",
         "",
         {{L"S", L"a", L"1"}, {L"S", L"b", nullptr}}},
        {"sections ignore case, keys do not",
         Utf16,
         L"[alldata]\r\nstartsize=5\r\nKEY=6\r\n",
         "",
         {{L"ALLDATA", L"startsize", L"5"},
          {L"ALLDATA", L"STARTSIZE", nullptr},
          {L"AllData", L"KEY", L"6"},
          {L"ALLDATA", L"key", nullptr}}},
        {"split at the first equal sign, nothing trimmed",
         Utf16,
         L"[S]\r\na=b=c\r\ne=\r\nk =v\r\nsp= x \r\n;c=1\r\nno equal sign\r\n=anon\r\n",
         "",
         {{L"S", L"a", L"b=c"},
          {L"S", L"e", L""},
          {L"S", L"k", nullptr},
          {L"S", L"k ", L"v"},
          {L"S", L"sp", L" x "},
          {L"S", L";c", L"1"},
          {L"S", L"no equal sign", nullptr},
          {L"S", L"", L"anon"}}},
        {"keys before the first header are dropped, a later key wins",
         Utf16,
         L"x=1\r\n[S]\r\nk=1\r\nk=2\r\n",
         "",
         {{L"S", L"x", nullptr}, {L"S", L"k", L"2"}}},
        {"header name up to the first ], spaces kept",
         Utf16,
         L"[ A B ]rest]\r\nk=1\r\n[Open\r\nk=2\r\n",
         "",
         {{L" A B ", L"k", L"1"}, {L"A B", L"k", nullptr}, {L"Open", L"k", L"2"}}},
        {"NUL ends the line's text, empty lines skipped",
         Utf16,
         std::wstring(L"[S]\r\n\r\n\r\nk=v\0junk\r\nm=1", 25),
         "",
         {{L"S", L"k", L"v"}, {L"S", L"m", L"1"}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string bytes = c.encoding == Utf16  ? Utf16Bytes(c.text, true)
                            : c.encoding == Ansi ? AnsiBytes(c.text)
                                                 : c.raw;
        CIniFile ini;
        ASSERT_EQ(INI_LOAD_OK, LoadBytes(ini, bytes));
        for (const Lookup& l : c.lookups)
        {
            CString out;
            ini.GetString(l.section, l.key, L"<default>", &out);
            EXPECT_EQ(l.expected ? l.expected : L"<default>", W(out)) << "[" << l.section << "] " << l.key;
        }
    }
}

TEST_F(IniFileTest, ReadLineConsumesLineEnds)
{
    struct Case
    {
        std::wstring text;
        int count;
        int consumed;
        const wchar_t* line;
    } cases[] = {
        {L"ab\r\ncd", 6, 4, L"ab"},
        {L"ab\rcd", 5, 3, L"ab"},
        {L"a\nb", 3, 2, L"a"},
        {L"ab\n\r\ncd", 7, 3, L"ab"}, // LF ends the line; the CR LF behind it is the next one
        {L"ab", 2, 2, L"ab"},
        {L"\r\nx", 3, 2, L""},
        {L"", 0, -1, L""},
        {L"abc\r\n", 2, 2, L"ab"},
        {L"ab\r", 3, 3, L"ab"}, // CR as the last character: no LF read past the count
        {std::wstring(L"\0\0", 2), 2, -1, L""},
    };
    for (const Case& c : cases)
    {
        CString line(L"old");
        EXPECT_EQ(c.consumed, CIniFile::ReadLine(c.text.c_str(), c.count, line)) << c.text;
        EXPECT_EQ(c.line, W(line)) << c.text;
    }
}

TEST_F(IniFileTest, LoadResultsAndNothingKeptAfterAFailure)
{
    struct Case
    {
        const char* name;
        bool create;
        std::string bytes;
        int result;
    } cases[] = {
        {"missing file", false, "", INI_LOAD_NO_FILE},
        {"zero bytes", true, "", INI_LOAD_EMPTY},
        {"byte-order mark only", true, "\xFF\xFE", INI_LOAD_READ_ERROR},
        {"two bytes of text", true, "[S", INI_LOAD_READ_ERROR},
        {"three bytes of text", true, "[S]", INI_LOAD_OK},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CIniFile ini;
        ASSERT_EQ(INI_LOAD_OK, LoadBytes(ini, Utf16Bytes(L"[Old]\r\nk=v\r\n", true)));
        std::wstring path = Path(L"case.ini");
        DeleteFileW(path.c_str());
        if (c.create)
        {
            ASSERT_TRUE(qvtest::WriteFileBytes(path, c.bytes));
        }
        ini.filePath = path.c_str();
        EXPECT_EQ(c.result, ini.Load());
        CStringArray names;
        ini.GetSectionNames(names);
        EXPECT_EQ(c.result == INI_LOAD_OK ? std::vector<std::wstring>{L"S"} : std::vector<std::wstring>{},
                  Items(names));
        CString out;
        ini.GetString(L"Old", L"k", L"<default>", &out);
        EXPECT_EQ(L"<default>", W(out));
    }
}

TEST_F(IniFileTest, GetIntTakesTheLeadingNumber)
{
    CIniFile ini;
    ASSERT_EQ(INI_LOAD_OK,
              LoadBytes(ini, Utf16Bytes(L"[N]\r\nempty=\r\ndigits=12ab\r\nletters=ab\r\nspaced= \t-7x\r\n"
                                        L"plus=+3\r\nzero=0\r\nhuge=99999999999\r\nlow=-99999999999\r\n",
                                        true)));
    struct Case
    {
        const wchar_t* key;
        int expected;
    } cases[] = {
        {L"empty", 42}, {L"digits", 12},  {L"letters", 0},    {L"spaced", -7},   {L"plus", 3},
        {L"zero", 0},   {L"missing", 42}, {L"huge", INT_MAX}, {L"low", INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ini.GetInt(L"N", c.key, 42)) << c.key;
    EXPECT_EQ(-5, ini.GetInt(L"NoSection", L"digits", -5));
}

TEST_F(IniFileTest, ListsSectionsKeysAndCurrentSection)
{
    CIniFile ini;
    ASSERT_EQ(
        INI_LOAD_OK,
        LoadBytes(ini, Utf16Bytes(L"[L]\r\nDIR0=a\r\nDIR1=b\r\nDIR3=d\r\n[Gap]\r\nI0=x\r\nI1=\r\nI2=z\r\n"
                                  L"[B]\r\nk1=v1\r\nk2=v2\r\n[l]\r\nDIR0=hidden\r\n",
                                  true)));
    CStringArray list = MakeArray({L"stale"});
    ini.GetStringList(L"L", L"DIR%d", list, 10);
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), Items(list));
    ini.GetStringList(L"L", L"DIR%d", list, 1);
    EXPECT_EQ((std::vector<std::wstring>{L"a"}), Items(list));
    ini.GetStringList(L"Gap", L"I%d", list, 10);
    EXPECT_EQ((std::vector<std::wstring>{L"x"}), Items(list));
    ini.GetStringList(L"None", L"I%d", list, 10);
    EXPECT_TRUE(list.IsEmpty());

    CStringArray names;
    ini.GetSectionNames(names);
    EXPECT_EQ((std::vector<std::wstring>{L"L", L"Gap", L"B", L"l"}), Items(names));
    EXPECT_EQ(2, ini.FindSection(L"b"));
    EXPECT_EQ(0, ini.FindSection(L"l"));
    EXPECT_EQ(2, ini.FindSection(L"B")); // after the cache moved on
    EXPECT_EQ(-1, ini.FindSection(L"none"));

    CStringArray keys = MakeArray({L"stale"});
    CStringArray values;
    ini.GetSectionKeys(L"b", keys, values);
    ASSERT_EQ(2, keys.GetSize());
    ASSERT_EQ(2, values.GetSize());
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
    {
        EXPECT_EQ(L"v" + W(keys[i]).substr(1), W(values[i])); // the arrays stay parallel
    }
    ini.GetSectionKeys(L"none", keys, values);
    EXPECT_TRUE(keys.IsEmpty() && values.IsEmpty());

    ini.SetCurrentSection(L"B", L"fallback");
    CString out;
    ini.GetCurrentString(L"k2", &out);
    EXPECT_EQ(L"v2", W(out));
    ini.GetCurrentString(L"k9", &out);
    EXPECT_EQ(L"fallback", W(out));
    ini.GetString(L"B", L"k1", L"", nullptr); // a null out is allowed
}

TEST_F(IniFileTest, WritesHeadersOnSectionChangeAndReadsBack)
{
    std::wstring path = Path(L"written.ini");
    {
        CIniFile ini;
        ini.WriteString(L"A", L"ignored", L"no file open yet");
        ASSERT_TRUE(ini.Create(path.c_str()));
        ini.WriteString(L"A", L"k", L"v=w");
        ini.WriteInt(L"B", L"n", -5);
        ini.WriteString(L"A", L"k2", L"v2");
        ini.WriteString(L"a", L"k3", L"\u65E5\u672C");
        ini.WriteStringList(L"L", L"I%d", MakeArray({L"x", L"", L"z"}));
        ini.Close();
        ini.WriteString(L"A", L"ignored", L"closed");
    }
    EXPECT_EQ(Utf16Bytes(L"[A]\r\nk=v=w\r\n[B]\r\nn=-5\r\n[A]\r\nk2=v2\r\n[a]\r\nk3=\u65E5\u672C\r\n"
                         L"[L]\r\nI0=x\r\nI1=\r\nI2=z\r\n",
                         true),
              qvtest::ReadFileBytes(path));

    CIniFile ini;
    ini.filePath = path.c_str();
    ASSERT_EQ(INI_LOAD_OK, ini.Load());
    CString out;
    ini.GetString(L"A", L"k", L"", &out);
    EXPECT_EQ(L"v=w", W(out));
    ini.GetString(L"A", L"k2", L"<default>", &out); // under the second [A]: never found
    EXPECT_EQ(L"<default>", W(out));
    EXPECT_EQ(-5, ini.GetInt(L"B", L"n", 0));
    CStringArray list;
    ini.GetStringList(L"L", L"I%d", list, 10);
    EXPECT_EQ((std::vector<std::wstring>{L"x"}), Items(list));
}

TEST_F(IniFileTest, CreateStartsEveryFileWithAHeader)
{
    std::wstring first = Path(L"first.ini");
    std::wstring second = Path(L"second.ini");
    CIniFile ini;
    ASSERT_TRUE(ini.Create(first.c_str()));
    ini.WriteString(L"S", L"a", L"1");
    ini.Close();
    ASSERT_TRUE(ini.Create(second.c_str()));
    ini.WriteString(L"S", L"b", L"2");
    ini.Close();
    EXPECT_EQ(Utf16Bytes(L"[S]\r\nb=2\r\n", true), qvtest::ReadFileBytes(second));

    // A file another handle holds without sharing cannot be created.
    HANDLE held = CreateFileW(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(ini.Create(first.c_str()));
    ini.WriteString(L"S", L"c", L"3"); // nothing open: ignored
    CloseHandle(held);
    EXPECT_EQ(Utf16Bytes(L"[S]\r\na=1\r\n", true), qvtest::ReadFileBytes(first));
}

TEST_F(IniFileTest, FileInUseIsRetriedThenReported)
{
    std::wstring path = Path(L"locked.ini");
    ASSERT_TRUE(qvtest::WriteFileBytes(path, Utf16Bytes(L"[S]\r\nk=v\r\n", true)));
    CIniFile ini;
    ini.filePath = path.c_str();

    // Another reader that shares reading does not stand in the way.
    HANDLE reader =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_EQ(INI_LOAD_OK, ini.Load());
    CloseHandle(reader);

    CIniFile::s_retryWaitMs = 5;
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DWORD start = GetTickCount();
    EXPECT_EQ(INI_LOAD_IN_USE, ini.Load());
    EXPECT_GE(GetTickCount() - start, 19u * 5u - 20u); // 19 pauses between the 20 tries
    CStringArray names;
    ini.GetSectionNames(names);
    EXPECT_TRUE(names.IsEmpty());

    // Released while the tries go on: the load succeeds. The tries are spread over
    // seconds so that a slow start of the releasing thread still falls among them.
    CIniFile::s_retryWaitMs = 200;
    std::thread release([held] {
        Sleep(30);
        CloseHandle(held);
    });
    EXPECT_EQ(INI_LOAD_OK, ini.Load());
    release.join();
    CString out;
    ini.GetString(L"S", L"k", L"", &out);
    EXPECT_EQ(L"v", W(out));
}

} // namespace
