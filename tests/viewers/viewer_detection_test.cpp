// Character-code detection over the sample corpus of tests/fixtures/encodings (written
// by make-samples.py there): every sample, opened with detection asked for, comes out
// in the code it was written in.
#include "viewers/text/ViewerText.h"
#include "viewers/text/ViewDataThread.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/common/TestSupport.h"

namespace
{
struct SampleCase
{
    const char* file;
    int code;
};

const SampleCase kSamples[] = {
    {"sjis-sentence.txt", VIEWER_CODE_ANSI},
    {"sjis-long.txt", VIEWER_CODE_ANSI},
    {"sjis-one-line.txt", VIEWER_CODE_ANSI},
    {"sjis-one-word.txt", VIEWER_CODE_ANSI},
    {"sjis-halfwidth-katakana.txt", VIEWER_CODE_ANSI},
    {"sjis-halfwidth-katakana-record.txt", VIEWER_CODE_ANSI},
    {"sjis-backslash-trail-bytes.txt", VIEWER_CODE_ANSI},
    {"sjis-ascii-with-one-word.txt", VIEWER_CODE_ANSI},
    {"sjis-machine-dependent.txt", VIEWER_CODE_ANSI},

    {"euc-sentence.txt", VIEWER_CODE_EUC},
    {"euc-long.txt", VIEWER_CODE_EUC},
    {"euc-one-line.txt", VIEWER_CODE_EUC},
    {"euc-one-word.txt", VIEWER_CODE_EUC},
    {"euc-halfwidth-katakana.txt", VIEWER_CODE_EUC},
    {"euc-halfwidth-katakana-record.txt", VIEWER_CODE_EUC},
    {"euc-backslash-trail-bytes.txt", VIEWER_CODE_EUC},
    {"euc-ascii-with-one-word.txt", VIEWER_CODE_EUC},
    {"euc-machine-dependent.txt", VIEWER_CODE_EUC},

    {"jis-sentence.txt", VIEWER_CODE_JIS},
    {"jis-long.txt", VIEWER_CODE_JIS},
    {"jis-one-line.txt", VIEWER_CODE_JIS},
    {"jis-one-word.txt", VIEWER_CODE_JIS},
    {"jis-halfwidth-katakana.txt", VIEWER_CODE_JIS},
    {"jis-halfwidth-katakana-record.txt", VIEWER_CODE_JIS},
    {"jis-backslash-trail-bytes.txt", VIEWER_CODE_JIS},
    {"jis-ascii-with-one-word.txt", VIEWER_CODE_JIS},
    {"jis-machine-dependent.txt", VIEWER_CODE_JIS},

    {"utf8-sentence.txt", VIEWER_CODE_UTF8},
    {"utf8-long.txt", VIEWER_CODE_UTF8},
    {"utf8-one-line.txt", VIEWER_CODE_UTF8},
    {"utf8-one-word.txt", VIEWER_CODE_UTF8},
    {"utf8-halfwidth-katakana.txt", VIEWER_CODE_UTF8},
    {"utf8-halfwidth-katakana-record.txt", VIEWER_CODE_UTF8},
    {"utf8-backslash-trail-bytes.txt", VIEWER_CODE_UTF8},
    {"utf8-ascii-with-one-word.txt", VIEWER_CODE_UTF8},
    {"utf8-machine-dependent.txt", VIEWER_CODE_UTF8},
    {"utf8-supplementary-plane.txt", VIEWER_CODE_UTF8},

    {"utf8-bom-sentence.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-long.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-one-line.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-one-word.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-halfwidth-katakana.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-halfwidth-katakana-record.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-backslash-trail-bytes.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-ascii-with-one-word.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-machine-dependent.txt", VIEWER_CODE_UTF8},
    {"utf8-bom-supplementary-plane.txt", VIEWER_CODE_UTF8},

    {"utf16le-sentence.txt", VIEWER_CODE_UTF16},
    {"utf16le-long.txt", VIEWER_CODE_UTF16},
    {"utf16le-one-line.txt", VIEWER_CODE_UTF16},
    {"utf16le-one-word.txt", VIEWER_CODE_UTF16},
    {"utf16le-halfwidth-katakana.txt", VIEWER_CODE_UTF16},
    {"utf16le-halfwidth-katakana-record.txt", VIEWER_CODE_UTF16},
    {"utf16le-backslash-trail-bytes.txt", VIEWER_CODE_UTF16},
    {"utf16le-ascii-with-one-word.txt", VIEWER_CODE_UTF16},
    {"utf16le-machine-dependent.txt", VIEWER_CODE_UTF16},
    {"utf16le-supplementary-plane.txt", VIEWER_CODE_UTF16},

    {"utf16le-bom-sentence.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-long.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-one-line.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-one-word.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-halfwidth-katakana.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-halfwidth-katakana-record.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-backslash-trail-bytes.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-ascii-with-one-word.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-machine-dependent.txt", VIEWER_CODE_UTF16},
    {"utf16le-bom-supplementary-plane.txt", VIEWER_CODE_UTF16},
};

TEST(ViewerDetection, EverySampleComesOutInItsCode)
{
    const std::wstring folder = qvtest::ProgramDir() + L"\\encodings";
    std::set<std::wstring> listed;
    for (const SampleCase& c : kSamples)
    {
        const std::wstring name(c.file, c.file + strlen(c.file));
        listed.insert(name);
        CViewerText text;
        ASSERT_TRUE(text.OpenViewerFile((folder + L"\\" + name).c_str(), 8, 80, VIEWER_CODE_DETECT))
            << c.file;
        EXPECT_EQ(text.GetViewerEncoding(), c.code) << c.file;
        EXPECT_EQ(text.GetViewerEncodingDetail(), c.code) << c.file;
    }
    // A sample added to the corpus is added to the table as well.
    std::set<std::wstring> present;
    for (const std::wstring& name : qvtest::ListFolder(folder))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".txt") == 0)
            present.insert(name);
    EXPECT_EQ(present, listed);
}

// 7-bit text with control bytes but no escape sequence is plain text, not JIS.
TEST(ViewerDetection, SevenBitTextWithoutAnEscapeIsNotJis)
{
    const std::wstring path = qvtest::ScratchDir() + L"\\form-feed.txt";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, "first page\r\n\fsecond page\r\n\x07bell\r\n"));
    CViewerText text;
    ASSERT_TRUE(text.OpenViewerFile(path.c_str(), 8, 80, VIEWER_CODE_DETECT));
    EXPECT_EQ(text.GetViewerEncoding(), VIEWER_CODE_ANSI);
}

// EUC-JP text with three-byte JIS X 0212 characters (accented letters) is EUC-JP, and
// each such character shows as one geta mark.
TEST(ViewerDetection, EucWithThreeByteCharactersIsEuc)
{
    std::string euc;
    for (int i = 0; i < 4; ++i)
        // "日本語のカフェ Caf" + e-acute + "\r\n"
        euc += "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xAB\xA5\xD5\xA5\xA7 Caf\x8F\xAB\xB1\r\n";
    const std::wstring path = qvtest::ScratchDir() + L"\\euc-0212.txt";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, euc));
    CViewerText text;
    ASSERT_TRUE(text.OpenViewerFile(path.c_str(), 8, 80, VIEWER_CODE_DETECT));
    EXPECT_EQ(text.GetViewerEncoding(), VIEWER_CODE_EUC);

    ViewerTextData data;
    CViewDataThread loader(data, nullptr, 0, 8, 80);
    BYTE out[16] = {};
    INT64 consumed = 0;
    const BYTE word[] = {'f', 0x8F, 0xAB, 0xB1, '!'};
    ASSERT_EQ(loader.ConvertEuc(word, out, sizeof(word), nullptr, &consumed), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 4), "f\x81\xAC!");
    EXPECT_EQ(consumed, 5);
    // A character cut by the end of a block waits for the next block.
    EXPECT_EQ(loader.ConvertEuc(word, out, 3, nullptr, &consumed), 1);
    EXPECT_EQ(consumed, 1);
}
} // namespace
