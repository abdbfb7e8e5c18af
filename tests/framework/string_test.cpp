#include <gtest/gtest.h>

#include "framework/FwCollections.h"
#include "framework/FwString.h"

#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <thread>
#include <vector>

namespace
{

// "日本語" in code page 932.
const char kSjisNihongo[] = "\x93\xfa\x96\x7b\x8c\xea";

// True when no other string shares s's block: writing then needs no copy.
bool OwnsBlockAlone(CString& s)
{
    const wchar_t* before = s.GetString();
    const wchar_t* buffer = s.GetBuffer();
    s.ReleaseBuffer(s.GetLength());
    return before == buffer;
}

TEST(CStringFormat, MicrosoftConversions)
{
    CString japanese = L"日本語テキスト";
    CString s;
    struct Case
    {
        const wchar_t* expected;
        CString actual;
    };
    const Case cases[] = {
        {L"[日本語テキスト]", (s.Format(L"[%s]", japanese.GetString()), s)},
        {L"[日本語テキスト]", (s.Format(L"[%s]", japanese), s)}, // a CString argument itself
        {L"[日本語テキスト]", (s.Format(L"[%ls]", L"日本語テキスト"), s)},
        {L"[abc]", (s.Format(L"[%S]", "abc"), s)},
        {L"[日本語]", (s.Format(L"[%S]", kSjisNihongo), s)},
        {L"-9223372036854775807", (s.Format(L"%I64d", -9223372036854775807LL), s)},
        {L"1234567890123", (s.Format(L"%Id", static_cast<INT_PTR>(1234567890123LL)), s)},
        {L"DEADBEEF01", (s.Format(L"%IX", static_cast<UINT_PTR>(0xDEADBEEF01ULL)), s)},
        {L"-5000000000", (s.Format(L"%lld", -5000000000LL), s)},
        {L"0A", (s.Format(L"%02X", 10), s)},
        {L"12.3%", (s.Format(L"%3.1f%%", 12.34), s)},
        {L"0.5%", (s.Format(L"%3.1f%%", 0.46), s)},
        {L"x", (s.Format(L"%c", L'x'), s)},
        {L"-42 4294967295 ff 000ABCDE", (s.Format(L"%d %u %x %08X", -42, 0xFFFFFFFFu, 255, 0xABCDE), s)},
        {L"", (s.Format(L""), s)},
    };
    for (const auto& c : cases)
    {
        EXPECT_STREQ(c.expected, c.actual.GetString());
    }
}

TEST(CStringFormat, LongOutputAndSelfReference)
{
    CString long1(L'あ', 5000);
    CString s;
    s.Format(L"<%s|%d>", long1, 7);
    ASSERT_EQ(1 + 5000 + 3, s.GetLength());
    EXPECT_EQ(L"|7>", s.Right(3));
    EXPECT_EQ(long1, s.Mid(1, 5000));

    // The format and an argument may be the very string being formatted.
    s = L"ab%s";
    s.Format(s, s);
    EXPECT_EQ(L"abab%s", s);
}

TEST(CStringAFormat, NarrowConversions)
{
    CStringA sjis(kSjisNihongo);
    CStringA s;
    s.Format("[%s|%S|%I64u|%02x]", sjis, L"日本語", 18446744073709551615ULL, 10);
    EXPECT_STREQ("[\x93\xfa\x96\x7b\x8c\xea|\x93\xfa\x96\x7b\x8c\xea|18446744073709551615|0a]",
                 s.GetString());
}

// A record of the kind several lists keep in arrays and move as raw bytes.
struct Entry
{
    CString name;
    int size;
    CString ext;
};

int CompareEntryNames(const void* a, const void* b)
{
    return static_cast<const Entry*>(a)->name.Compare(static_cast<const Entry*>(b)->name);
}

TEST(CStringRawMove, SwapAndQsortRecordsAsBytes)
{
    CString witness1 = L"witness-one"; // shares its block with the records below
    CString witness2 = L"witness-two";
    {
        Entry a{witness1, 1, L"txt"};
        Entry b{witness2, 2, L"日本"};
        alignas(Entry) unsigned char temp[sizeof(Entry)];
        memcpy(temp, &a, sizeof(Entry));
        memcpy(static_cast<void*>(&a), &b, sizeof(Entry));
        memcpy(static_cast<void*>(&b), temp, sizeof(Entry));
        EXPECT_EQ(L"witness-two", a.name);
        EXPECT_EQ(L"日本", a.ext);
        EXPECT_EQ(L"witness-one", b.name);
        EXPECT_EQ(1, b.size);

        CArray<Entry> entries;
        const wchar_t* names[] = {L"delta", L"alpha", L"日本語", L"charlie", L"bravo"};
        for (int i = 0; i < 5; ++i)
        {
            entries.Add(Entry{names[i], i, CString(names[i]) + L".ext"});
        }
        entries.Add(Entry{witness1, 9, witness2});
        qsort(entries.GetData(), static_cast<size_t>(entries.GetSize()), sizeof(Entry), CompareEntryNames);
        const wchar_t* sorted[] = {L"alpha", L"bravo", L"charlie", L"delta", L"witness-one", L"日本語"};
        for (int i = 0; i < 6; ++i)
        {
            EXPECT_EQ(sorted[i], entries[i].name);
            EXPECT_EQ(i == 4 ? witness2 : entries[i].name + L".ext", entries[i].ext) << i;
        }
    }
    // Every record released its reference exactly once: the witnesses are
    // intact and again the only owners of their blocks.
    EXPECT_EQ(L"witness-one", witness1);
    EXPECT_TRUE(OwnsBlockAlone(witness1));
    EXPECT_TRUE(OwnsBlockAlone(witness2));
    EXPECT_EQ(_HEAPOK, _heapchk());
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer)
{
    CString s = L"abc";
    CString shared = s;
    wchar_t* p = s.GetBuffer(10);
    ASSERT_GE(s.GetAllocLength(), 10);
    wcscpy(p, L"0123456789"); // n characters and the NUL fit
    s.ReleaseBuffer();
    EXPECT_EQ(L"0123456789", s);
    EXPECT_EQ(L"abc", shared) << "the copy made before GetBuffer must not change";

    s.GetBuffer(0)[1] = L'X';
    s.ReleaseBuffer(4);
    EXPECT_EQ(L"0X23", s);

    wchar_t* q = s.GetBufferSetLength(6);
    q[4] = L'あ';
    q[5] = L'い';
    s.ReleaseBuffer();
    EXPECT_EQ(L"0X23あい", s);

    CString path;
    DWORD n = GetModuleFileNameW(nullptr, path.GetBuffer(MAX_PATH), MAX_PATH);
    path.ReleaseBuffer();
    EXPECT_EQ(static_cast<int>(n), path.GetLength());
    EXPECT_EQ(0, path.Right(4).CompareNoCase(L".exe"));

    CString empty;
    empty.GetBuffer(5);
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CStringSearch, FindReverseFindAndExtraction)
{
    const CString s = L"a\\b\\cあ";
    EXPECT_EQ(1, s.Find(L'\\'));
    EXPECT_EQ(3, s.Find(L'\\', 2));
    EXPECT_EQ(-1, s.Find(L'\\', 4));
    EXPECT_EQ(-1, s.Find(L'a', -1));
    EXPECT_EQ(-1, s.Find(L'a', 100));
    EXPECT_EQ(3, s.Find(L"\\c"));
    EXPECT_EQ(5, s.Find(L"あ"));
    EXPECT_EQ(2, s.Find(L"", 2));
    EXPECT_EQ(-1, s.Find(L"\\b", 2));
    EXPECT_EQ(-1, s.Find(L"x"));
    EXPECT_EQ(3, s.ReverseFind(L'\\'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));

    struct Case
    {
        CString actual;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {s.Mid(2), L"b\\cあ"}, {s.Mid(-3), s},         {s.Mid(6), L""},        {s.Mid(100), L""},
        {s.Mid(1, 2), L"\\b"}, {s.Mid(-1, 2), L"a\\"}, {s.Mid(4, 50), L"cあ"}, {s.Mid(2, -1), L""},
        {s.Left(2), L"a\\"},   {s.Left(-1), L""},      {s.Left(99), s},        {s.Right(2), L"cあ"},
        {s.Right(-5), L""},    {s.Right(99), s},
    };
    for (const auto& c : cases)
    {
        EXPECT_STREQ(c.expected, c.actual.GetString());
    }
}

TEST(CStringEdit, ReplaceTrimInsertDelete)
{
    CString s = L"a.b.c";
    EXPECT_EQ(2, s.Replace(L'.', L'\\'));
    EXPECT_EQ(L"a\\b\\c", s);
    EXPECT_EQ(2, s.Replace(L"\\", L"::"));
    EXPECT_EQ(L"a::b::c", s);
    EXPECT_EQ(2, s.Replace(L"::", L""));
    EXPECT_EQ(L"abc", s);
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(1, s.Replace(L"abc", L"日本語"));
    EXPECT_EQ(L"日本語", s);

    struct TrimCase
    {
        CString actual;
        const wchar_t* expected;
    };
    const TrimCase trims[] = {
        {CString(L" \t x y \r\n").Trim(), L"x y"},
        {CString(L"\x3000全角\x3000").Trim(), L"全角"},
        {CString(L"  x  ").TrimLeft(), L"x  "},
        {CString(L"  x  ").TrimRight(), L"  x"},
        {CString(L"..x..").Trim(L'.'), L"x"},
        {CString(L"\\/x/\\").TrimRight(L"\\/"), L"\\/x"},
        {CString(L"   ").Trim(), L""},
        {CString(L"").Trim(), L""},
    };
    for (const auto& c : trims)
    {
        EXPECT_STREQ(c.expected, c.actual.GetString());
    }

    s = L"ace";
    EXPECT_EQ(4, s.Insert(1, L'b'));
    EXPECT_EQ(6, s.Insert(99, L"fg"));
    EXPECT_EQ(7, s.Insert(-1, L"_"));
    EXPECT_EQ(L"_abcefg", s);
    EXPECT_EQ(9, s.Insert(0, s.GetString() + 5)); // the text may come from the string itself
    EXPECT_EQ(L"fg_abcefg", s);
    EXPECT_EQ(7, s.Delete(0, 2));
    EXPECT_EQ(6, s.Delete(4));
    EXPECT_EQ(3, s.Delete(3, 100));
    EXPECT_EQ(3, s.Delete(5, 1));
    EXPECT_EQ(L"_ab", s);

    s = L"ab";
    s += s;
    s += s.GetString() + 1;
    s += L'c';
    EXPECT_EQ(L"ababbabc", s);
}

TEST(CStringCompare, CaseAndOrder)
{
    CString s = L"Abc";
    EXPECT_EQ(0, s.Compare(L"Abc"));
    EXPECT_GT(0, s.Compare(L"abc"));
    EXPECT_EQ(0, s.CompareNoCase(L"aBC"));
    EXPECT_EQ(0, CString(L"ＡＢＣ").CompareNoCase(L"ａｂｃ"));
    EXPECT_GT(0, s.CompareNoCase(L"abd"));
    EXPECT_LT(0, s.CompareNoCase(L"ab"));
    EXPECT_TRUE(s == L"Abc");
    EXPECT_TRUE(L"Abc" == s);
    EXPECT_TRUE(s != CString(L"abc"));
    EXPECT_TRUE(s < L"B");
    EXPECT_TRUE(CString(L"b") > s);
    EXPECT_EQ(L"xAbcy", L"x" + s + L'y');
    EXPECT_EQ(L"ÀBC", CString(L"àbc").MakeUpper());
    EXPECT_EQ(L"ａbc", CString(L"ＡBC").MakeLower());
}

TEST(CStringShare, CopyOnWriteKeepsCopiesIndependent)
{
    CString a = L"shared text";
    CString b = a;
    CString c = b;
    EXPECT_EQ(a.GetString(), c.GetString()) << "copies share one block";
    b.SetAt(0, L'S');
    c += L"!";
    CString d = a;
    d.MakeUpper();
    CString e = a;
    e.GetBuffer()[0] = L'X';
    e.ReleaseBuffer();
    EXPECT_EQ(L"shared text", a);
    EXPECT_EQ(L"Shared text", b);
    EXPECT_EQ(L"shared text!", c);
    EXPECT_EQ(L"SHARED TEXT", d);
    EXPECT_EQ(L"Xhared text", e);

    // Empty strings share one static block.
    CString empty1, empty2(L""), empty3(L"x");
    empty3.Empty();
    EXPECT_EQ(empty1.GetString(), empty2.GetString());
    EXPECT_EQ(empty1.GetString(), empty3.GetString());
    EXPECT_EQ(sizeof(void*), sizeof(CString));
}

TEST(CStringShare, StringsMadeTogetherLiveApart)
{
    // Every order of letting go of three strings made in one allocation, each after
    // a copy, an in-place write or a growth of one of them.
    const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders)
    {
        for (int changed = 0; changed < 3; ++changed)
        {
            CString* strings[4] = {new CString(L"old"), new CString, new CString(L"x"), new CString(L"y")};
            const wchar_t* texts[4] = {L"file0001.txt", L"", L"FILE~1.TXT", L"file0001"};
            const int lengths[4] = {12, 0, 10, 8};
            CString::SetTogether(strings, texts, lengths, 4);
            CString name = *strings[0], shortName = *strings[2], base = *strings[3];
            EXPECT_TRUE(strings[1]->IsEmpty());
            EXPECT_LT(name.GetString(), base.GetString()) << "one allocation, in order";
            EXPECT_LT(base.GetString() - name.GetString(), 64);
            CString copy = *strings[changed == 0 ? 0 : 3];
            CString& target = changed == 0 ? name : changed == 1 ? shortName : base;
            if (changed == 1)
                target += L"~more than fits";
            else
                target.SetAt(0, L'F');
            EXPECT_EQ(L"file0001.txt", *strings[0]);
            EXPECT_EQ(L"FILE~1.TXT", *strings[2]);
            EXPECT_EQ(L"file0001", *strings[3]);
            CString* kept[3] = {strings[0], strings[2], strings[3]};
            for (int k : order)
                delete kept[k];
            delete strings[1];
            EXPECT_EQ(changed == 0 ? L"File0001.txt" : L"file0001.txt", name);
            EXPECT_EQ(changed == 1 ? L"FILE~1.TXT~more than fits" : L"FILE~1.TXT", shortName);
            EXPECT_EQ(changed == 2 ? L"File0001" : L"file0001", base);
            EXPECT_EQ(changed == 0 ? L"file0001.txt" : L"file0001", copy);
            EXPECT_EQ(_HEAPOK, _heapchk());
        }
    }
    // A string that alone holds its block is written in place; growing it moves it.
    CString alone, other;
    CString* strings[2] = {&alone, &other};
    const wchar_t* texts[2] = {L"abc", L"def"};
    const int lengths[2] = {3, 3};
    CString::SetTogether(strings, texts, lengths, 2);
    other.Empty();
    EXPECT_TRUE(OwnsBlockAlone(alone));
    alone += L"defghijklmnop";
    EXPECT_EQ(L"abcdefghijklmnop", alone);
    EXPECT_EQ(_HEAPOK, _heapchk());
}

TEST(CStringShare, PoolCarvesTheStringsOfManyRecords)
{
    // Records of two strings from a small pool, so that it moves on several times;
    // some strings let go before the pool does, the others after it, one of them
    // from another thread.
    std::vector<CString> names(300), bases(300);
    {
        CStringPool pool(256);
        for (int i = 0; i < 300; ++i)
        {
            CString name;
            name.Format(L"entry%03d.txt", i);
            CString* strings[2] = {&names[i], &bases[i]};
            const wchar_t* texts[2] = {name, name};
            const int lengths[2] = {name.GetLength(), 8};
            pool.SetTogether(strings, texts, lengths, 2);
            if (i % 3 == 0)
                names[i].Empty();
        }
        bases[7] += L"!";
    }
    CString kept = bases[299];
    std::thread([&bases] { bases.assign(bases.size(), CString()); }).join();
    for (int i = 0; i < 300; ++i)
    {
        CString expected;
        expected.Format(L"entry%03d.txt", i);
        EXPECT_EQ(i % 3 == 0 ? CString() : expected, names[i]) << i;
    }
    EXPECT_EQ(L"entry299", kept);
    names.clear();
    EXPECT_EQ(L"entry299", kept);
    EXPECT_EQ(_HEAPOK, _heapchk());
}

TEST(CStringShare, CountsAreThreadSafe)
{
    CString source = L"crossing threads";
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back([&source] {
            for (int i = 0; i < 20000; ++i)
            {
                CString copy = source;
                CString other(copy);
                other = copy;
            }
        });
    }
    for (auto& t : threads)
    {
        t.join();
    }
    EXPECT_TRUE(OwnsBlockAlone(source));
    EXPECT_EQ(L"crossing threads", source);
}

TEST(CStringA, JapaneseRoundTripAndDoubleByteAwareness)
{
    ASSERT_EQ(932u, GetACP());
    CString wide = L"表示\\ソフト\\日本語.txt";
    CStringA ansi = wide;
    EXPECT_STREQ("\x95\x5c\x8e\xa6\\\x83\x5c\x83\x74\x83\x67\\\x93\xfa\x96\x7b\x8c\xea.txt",
                 ansi.GetString());
    EXPECT_EQ(wide, CString(ansi));
    CString fromPointer = ansi.GetString();
    EXPECT_EQ(wide, fromPointer);

    // 表 and ソ end in 0x5C, the byte of the backslash.
    EXPECT_EQ(4, ansi.Find('\\'));
    EXPECT_EQ(11, ansi.ReverseFind('\\'));
    EXPECT_EQ(11, ansi.Find("\\\x93"));
    CStringA replaced = ansi;
    EXPECT_EQ(2, replaced.Replace('\\', '/'));
    EXPECT_EQ(L"表示/ソフト/日本語.txt", CString(replaced));
    CStringA trimmed = ansi.Left(2); // "表": lead 0x95, trail 0x5C
    EXPECT_EQ(2, trimmed.TrimRight('\\').GetLength());
    CStringA upper = "\x83\x74x"; // フ: its trail byte is 't'
    upper.MakeUpper();
    EXPECT_STREQ("\x83\x74X", upper.GetString());
    EXPECT_EQ(0, CStringA("ABC\x83\x74").CompareNoCase("abc\x83\x74"));
    EXPECT_NE(0, CStringA("\x83\x74").CompareNoCase("\x83\x54"));

    BSTR bstr = ansi.AllocSysString();
    EXPECT_EQ(static_cast<UINT>(wide.GetLength()), SysStringLen(bstr));
    EXPECT_STREQ(wide.GetString(), bstr);
    SysFreeString(bstr);
}

TEST(CStringMisc, AllocSysStringAndLoadString)
{
    CString s(L"a\0b", 3);
    BSTR bstr = s.AllocSysString();
    ASSERT_EQ(3u, SysStringLen(bstr));
    EXPECT_EQ(0, memcmp(bstr, L"a\0b", 3 * sizeof(wchar_t)));
    SysFreeString(bstr);

    CString text;
    ASSERT_TRUE(text.LoadString(61001));
    EXPECT_EQ(L"読み込みテスト %s", text);
    CStringA ansi;
    ASSERT_TRUE(ansi.LoadString(61001));
    EXPECT_EQ(text, CString(ansi));

    text = L"unchanged";
    EXPECT_FALSE(text.LoadString(61002));
    EXPECT_EQ(L"unchanged", text);
    AfxSetResourceHandle(GetModuleHandleW(L"kernel32.dll"));
    EXPECT_FALSE(text.LoadString(61001));
    AfxSetResourceHandle(nullptr);
}

TEST(CStringMisc, DebugMacrosKeepRunning)
{
    int evaluated = 0;
    VERIFY(++evaluated == 1); // evaluated in every build
    TRACE(L"trace %s %d\n", CString(L"テキスト"), evaluated);
    TRACE("trace %s\n", CStringA("narrow"));
    EXPECT_EQ(1, evaluated);
}

TEST(CStringMisc, OutOfRangeAccessThrows)
{
    CString s = L"ab";
    EXPECT_EQ(L'\0', s.GetAt(2));
    for (int index : {-1, 3})
    {
        try
        {
            s.GetAt(index);
            ADD_FAILURE() << index;
        }
        catch (CException* e)
        {
            EXPECT_NE(nullptr, dynamic_cast<CInvalidArgException*>(e));
            e->Delete();
        }
    }
    try
    {
        s.SetAt(2, L'x');
        ADD_FAILURE();
    }
    catch (CException* e)
    {
        wchar_t message[64];
        EXPECT_TRUE(e->GetErrorMessage(message, 64));
        EXPECT_STRNE(L"", message);
        e->Delete();
    }
    EXPECT_EQ(L"ab", s);
}

} // namespace
