// The line indexer's fast runs over printable text against a plain byte-by-byte
// statement of the same rules, on text made to be awkward: tabs, CR LF and double-byte
// characters cut by the loader's block edges, double-byte characters at the wrap
// column, katakana and control bytes inside runs, widths down to 2.
#include "viewers/text/ViewerText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/TestHelpers.h"

namespace
{

// The rules, one byte at a time: a line ends after a line break, at the width, or
// before a double-byte character that would start in its last column.
std::vector<INT64> ReferenceIndex(const std::string& text, int tab, int width)
{
    const INT64 n = static_cast<INT64>(text.size());
    std::vector<INT64> index{0};
    if (n == 0)
    {
        index.push_back(0);
        return index;
    }
    auto lead = [&](INT64 at) {
        return IsViewerLeadByte(static_cast<BYTE>(text[static_cast<size_t>(at)])) != 0;
    };
    INT64 pos = 0;
    while (pos < n)
    {
        int column = 0;
        for (;;)
        {
            const char c = text[static_cast<size_t>(pos)];
            if (lead(pos))
            {
                pos += 2;
                column += 2;
            }
            else
            {
                ++pos;
                if (c == '\t')
                    column = (column / tab + 1) * tab;
                else if (c == '\r')
                {
                    if (pos < n && text[static_cast<size_t>(pos)] == '\n')
                        ++pos;
                    column = width + 1;
                }
                else if (c == '\n')
                    column = width + 1;
                else
                    ++column;
            }
            if (pos >= n)
            {
                pos = n;
                break;
            }
            if (column >= width || (column == width - 1 && lead(pos)))
                break;
        }
        index.push_back(pos);
    }
    return index;
}

std::vector<INT64> LoadedIndex(CViewerText& text)
{
    for (int i = 0; i < 3000 && !text.IsViewerLoadDone(); ++i)
        Sleep(10);
    std::vector<INT64> index;
    if (!text.LockViewerData())
        return index;
    index.assign(text.LineIndex(), text.LineIndex() + text.LineCount() + 1);
    text.UnlockViewerData();
    return index;
}

// Pseudo-random text over the awkward bytes, the same on every run.
std::string MixedText(size_t size, unsigned seed)
{
    static const char* const kPieces[] = {"abc",          "The quick brown fox ",
                                          "\t",           "\r\n",
                                          "\n",           "\r",
                                          "\x82\xA0",     "\x8A\xBF",
                                          "\xB1\xB2\xB3", "\x01",
                                          "x\ty",         "0123456789abcdef0123456789",
                                          "\x7F",         "  ",
                                          "\xE0\x40"};
    std::string text;
    unsigned state = seed;
    while (text.size() < size)
    {
        state = state * 1103515245u + 12345u;
        text += kPieces[(state >> 16) % (sizeof(kPieces) / sizeof(kPieces[0]))];
    }
    return text;
}

// Text whose line breaks and double-byte characters fall on the loader's 64 KiB
// block edges: CR at the last byte of a block with LF after it, and a lead byte at
// the last byte of the next block.
std::string EdgeText()
{
    std::string text;
    while (text.size() < 0x10000 - 1)
        text += "edge line with\ttabs and \x82\xA0 text\r\n";
    text.resize(0x10000 - 1);
    text += "\r\n";
    while (text.size() < 0x20000 - 1)
        text += std::string(79, 'a') + "\x8A\xBF";
    text.resize(0x20000 - 1, 'b');
    text += "\x82\xA0";
    text += std::string(200, 'z');
    return text;
}

TEST(ViewerIndexReference, FastRunsGiveTheSameLinesAsTheByteRules)
{
    struct
    {
        const char* name;
        std::string text;
    } texts[] = {
        {"empty", ""},
        {"wrap column", std::string(79, 'a') + "\x82\xA0" + std::string(78, 'b') + "\x82\xA0\x82\xA0"},
        {"lead byte last", "abc\x82"},
        {"edges", EdgeText()},
        {"mixed", MixedText(300000, 7)},
        // More than one indexing step in memory, and many of the file's blocks.
        {"mixed large", MixedText(0x130000, 11)},
    };
    const int widths[] = {2, 3, 17, 80, 200};
    const int tabs[] = {1, 4, 8};
    const std::wstring path = qvtest::ScratchDir() + L"\\index_reference.txt";
    for (const auto& t : texts)
    {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(h, t.text.data(), static_cast<DWORD>(t.text.size()), &written, nullptr) ||
                    t.text.empty());
        CloseHandle(h);
        for (int width : widths)
            for (int tab : tabs)
            {
                SCOPED_TRACE(std::string(t.name) + " width " + std::to_string(width) + " tab " +
                             std::to_string(tab));
                const std::vector<INT64> expected = ReferenceIndex(t.text, tab, width);
                CViewerText memory;
                ASSERT_TRUE(memory.OpenViewerMemory(t.text.data(), static_cast<INT64>(t.text.size()),
                                                    kViewerNoName, tab, width, VIEWER_CODE_ANSI));
                EXPECT_TRUE(LoadedIndex(memory) == expected) << "from memory";
                if (t.text.size() < 0x10000 && width != 80)
                    continue; // the file's blocks matter only for the larger texts
                if (t.text.size() > 0x100000 && width != 3 && width != 80)
                    continue; // keeps the run short
                CViewerText file;
                ASSERT_TRUE(file.OpenViewerFile(path.c_str(), tab, width, VIEWER_CODE_ANSI));
                EXPECT_TRUE(LoadedIndex(file) == expected) << "from the file in blocks";
            }
    }
}

} // namespace
