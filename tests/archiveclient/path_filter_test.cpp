#include "archiveclient/base/PathFilter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

std::wstring Join(const CPathParts& parts)
{
    std::wstring s;
    for (size_t i = 0; i < parts.size(); i++)
        s += (i ? L"\\" : L"") + std::wstring(parts[i].Chars());
    return s;
}

// "+parts:flags" per include item, "-…" per exclude item, "name(…)" per sub-node;
// flags: f file, r recursive, w wildcard.
std::wstring Dump(const CPathFilterNode& node)
{
    std::wstring s;
    auto items = [&](const COwnedPtrVector<CPathFilterItem>& list, const wchar_t* sign) {
        for (uint32_t i = 0; i < list.Count(); i++)
        {
            const CPathFilterItem& item = list.At(i);
            s += sign + Join(item.Parts) + L":" + (item.ForFile ? L"f" : L"") +
                 (item.Recursive ? L"r" : L"") + (item.WildcardMatching ? L"w" : L"");
        }
    };
    items(node.IncludeItems, L"+");
    items(node.ExcludeItems, L"-");
    for (uint32_t i = 0; i < node.SubNodes.Count(); i++)
        s += std::wstring(node.SubNodes.At(i).Name.Chars()) + L"(" + Dump(node.SubNodes.At(i)) + L")";
    return s;
}

std::wstring Dump(const CPathFilter& filter)
{
    std::wstring s;
    for (uint32_t i = 0; i < filter.Roots.Count(); i++)
        s += (i ? L" " : L"") + std::wstring(filter.Roots.At(i).Prefix.Chars()) + L"=" +
             Dump(filter.Roots.At(i).Node);
    return s;
}

TEST(PathFilter, PatternsBecomeRootsNodesAndItems)
{
    struct Case
    {
        int mode;
        const wchar_t* path;
        bool recursive;
        const wchar_t* givenPrefix;
        const wchar_t* expected;
    } cases[] = {
        {2, L"dir\\", false, L"", L"=+dir:"},
        {0, L"C:\\", false, L"", L"C:\\=+*:fw"},
        {0, L"C:/", true, L"", L"C:\\=+*:fw"},
        {2, L"*.txt", false, L"", L"=+*.txt:fw"},
        {2, L"readme", false, L"", L"=+readme:f"},
        {2, L"docs\\*.txt", true, L"", L"=docs(+*.txt:frw)"},
        {2, L"\\\\?\\x*", false, L"", L"=((?(+x*:fw)))"},
        {2, L"f", false, L"X:\\base\\", L"X:\\base\\=+f:f"},
        {0, L"\\\\server\\share\\f.txt", false, L"", L"\\\\server\\share\\=+f.txt:f"},
        {1, L"\\\\server\\share\\f.txt", false, L"", L"\\\\server\\=share(+f.txt:f)"},
        {1, L"\\\\?\\C:\\dir\\f", false, L"", L"\\\\?\\C:\\=dir(+f:f)"},
        {1, L"\\\\?\\UNC\\srv\\sh\\f", false, L"", L"\\\\?\\UNC\\srv\\=sh(+f:f)"},
        {0, L"C:\\*\\x.txt", false, L"", L"C:\\=+*\\x.txt:fw"},
        {0, L"C:\\dir\\*.txt", false, L"", L"C:\\dir\\=+*.txt:fw"},
        {0, L"a\\..\\b", false, L"", L"a\\..\\=+b:f"},
        {0, L"a\\b.txt", false, L"", L"=a(+b.txt:f)"},
        {0, L"\\", false, L"", L"\\=+*:fw"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.mode << " " << testing::PrintToString(std::wstring(c.path)));
        CPathFilter filter;
        filter.AddPattern(c.mode, true, c.path, c.recursive, true, c.givenPrefix);
        EXPECT_EQ(Dump(filter), c.expected);
    }
}

TEST(PathFilter, EmptyPathThrows)
{
    CPathFilter filter;
    try
    {
        filter.AddPattern(0, true, L"", false, true, L"");
        FAIL() << "no exception";
    }
    catch (const char* text)
    {
        EXPECT_STREQ(text, "Empty file path");
    }
}

struct Pattern
{
    bool include;
    const wchar_t* path;
    bool recursive;
};

TEST(PathFilter, MatchingDecidesIncludeAndExclude)
{
    const std::vector<Pattern> dirOnly = {{true, L"dir\\", false}};
    const std::vector<Pattern> docs = {{true, L"docs\\*.txt", false}, {true, L"src\\*.c", true}};
    const std::vector<Pattern> excluding = {{true, L"*", false}, {false, L"*.tmp", false}};
    struct Case
    {
        const std::vector<Pattern>* patterns;
        const wchar_t* path;
        bool isFile;
        bool decided;
        bool include;
    } cases[] = {
        {&dirOnly, L"dir", false, true, true},          {&dirOnly, L"dir\\f.txt", true, true, true},
        {&dirOnly, L"dir\\sub\\g", true, true, true},   {&dirOnly, L"dir", true, false, true},
        {&dirOnly, L"other\\f.txt", true, false, true}, {&docs, L"docs\\a.txt", true, true, true},
        {&docs, L"DOCS\\A.TXT", true, true, true},      {&docs, L"docs\\x\\a.txt", true, false, true},
        {&docs, L"docs\\a.c", true, false, true},       {&docs, L"src\\x\\y\\z.c", true, true, true},
        {&excluding, L"a.tmp", true, true, false},      {&excluding, L"b.txt", true, true, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
        CPathFilter filter;
        for (const Pattern& p : *c.patterns)
            filter.AddPattern(2, p.include, p.path, p.recursive, true, L"");
        CPathParts parts;
        SplitPathToParts(c.path, parts);
        bool include = !c.include;
        EXPECT_EQ(filter.Roots.At(0).Node.MatchPathParts(parts, c.isFile, include), c.decided);
        if (c.decided)
        {
            EXPECT_EQ(include, c.include);
        }
    }
}

TEST(PathFilter, CaseFlagDecidesNameComparison)
{
    struct Case
    {
        const wchar_t* pattern;
        const wchar_t* path;
        bool caseSensitive;
        bool matches;
    } cases[] = {
        {L"README", L"readme", false, true},       {L"README", L"readme", true, false},
        {L"*.TXT", L"a.txt", false, true},         {L"*.TXT", L"a.txt", true, false},
        {L"Dir\\File", L"dir\\file", false, true}, {L"Dir\\File", L"dir\\file", true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << testing::PrintToString(std::wstring(c.pattern)) << c.caseSensitive);
        g_CaseSensitiveNames = c.caseSensitive;
        CPathFilter filter;
        filter.AddPattern(2, true, c.pattern, false, true, L"");
        CPathParts parts;
        SplitPathToParts(c.path, parts);
        bool include = false;
        EXPECT_EQ(filter.Roots.At(0).Node.MatchPathParts(parts, true, include), c.matches);
        g_CaseSensitiveNames = false;
    }
}

TEST(PathFilter, WildcardMatch)
{
    std::wstring manyA(60, L'a');
    struct Case
    {
        const wchar_t* mask;
        const wchar_t* name;
        bool matches;
    } cases[] = {
        {L"*", L"", true},
        {L"", L"", true},
        {L"", L"a", false},
        {L"?", L"", false},
        {L"a?c", L"abc", true},
        {L"a*b*c", L"aXbYbZc", true},
        {L"*.txt", L"a.txt.bak", false},
        {L"*.*", L"noext", false},
        {L"**x", L"abx", true},
        {L"*a*a*a*a*a*a*a*a*a*b", manyA.c_str(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchFilterWildcard(c.mask, c.name), c.matches)
            << testing::PrintToString(std::wstring(c.mask));
}

TEST(PathFilter, SplitHelpers)
{
    CPathParts parts;
    SplitPathToParts(L"\\a/b\\", parts);
    EXPECT_EQ(Join(parts), L"\\a\\b\\");
    EXPECT_EQ(parts.size(), 4u);
    UString dir, name;
    SplitPathDirAndName(L"x/y\\z.txt", dir, name);
    EXPECT_STREQ(dir, L"x/y\\");
    EXPECT_STREQ(name, L"z.txt");
    EXPECT_STREQ(GetPathFileName(L"q"), L"q");
    EXPECT_TRUE(IsBareDriveName(L"z:"));
    EXPECT_FALSE(IsBareDriveName(L"1:"));
    EXPECT_FALSE(IsBareDriveName(L"C:\\"));
}

TEST(PathFilter, CheckPathToRootWalksUpThroughNodeNames)
{
    CPathFilter filter;
    filter.AddPattern(2, true, L"docs\\*.txt", false, true, L"");
    filter.AddPattern(2, false, L"*.tmp", true, true, L"");
    const CPathFilterNode& docs = filter.Roots.At(0).Node.SubNodes.At(0);
    CPathParts parts(1, UString(L"a.txt"));
    EXPECT_TRUE(docs.CheckPathToRoot(true, parts, true));
    EXPECT_FALSE(docs.CheckPathToRoot(false, parts, true));
    parts[0] = L"a.tmp";
    EXPECT_TRUE(docs.CheckPathToRoot(false, parts, true));
    const CPathFilterNode& root = filter.Roots.At(0).Node;
    EXPECT_TRUE(root.AreThereIncludeItems());
    EXPECT_FALSE(root.NeedCheckSubDirs());
    EXPECT_FALSE(docs.AreAllIncludesFixedNames());
    filter.AddPattern(2, true, L"readme", false, true, L"");
    EXPECT_TRUE(root.AreAllIncludesFixedNames());
    filter.AddPattern(2, true, L"*.c", true, true, L"");
    EXPECT_TRUE(root.NeedCheckSubDirs());
}

TEST(PathFilter, QueuedPatternsAndSharedRootExcludes)
{
    CPathFilter filter;
    filter.QueuePattern(true, L"C:\\data\\f.txt", false, true);
    filter.QueuePattern(false, L"sub\\*.tmp", false, true);
    filter.QueuePattern(true, L"D:\\x", false, true);
    filter.AddQueuedPatterns(0);
    EXPECT_EQ(filter.Queue.Count(), 0u);
    filter.ShareRootExcludes();
    EXPECT_EQ(Dump(filter), L"C:\\data\\=+f.txt:fsub(-*.tmp:fw) =sub(-*.tmp:fw) D:\\=+x:fsub(-*.tmp:fw)");
}

} // namespace
