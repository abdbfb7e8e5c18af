// The tag input and tag display dialogs, driven as a user would.
#include "app/dialogs/DialogAnswerScript.h"
#include "media/tags/TagMakeDlg.h"
#include "media/tags/ViewTagDlg.h"
#include "res/MediaDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/media/AudioFixtures.h"

using namespace qvtest::audio;

namespace
{

class CDrivenTagMakeDlg : public qvtest::CDrivenDialog<CDrivenTagMakeDlg, CTagMakeDlg>
{
};

class TagDialogs : public qvtest::ScratchFolderTest
{
protected:
    CMpegAudioData Entry(const wchar_t* name)
    {
        CMpegAudioData entry;
        EXPECT_TRUE(entry.SetFromPath(P(name).c_str()));
        return entry;
    }
};

// MPEG-2 Layer III frames at 64 kbit/s and 22,050 Hz.
std::string Mpeg2Frames(int count)
{
    std::string frame = {'\xFF', '\xF3', '\x80', '\x00'};
    frame.resize(208, '\0');
    std::string out;
    for (int i = 0; i < count; ++i)
        out += frame;
    return out;
}

} // namespace

TEST_F(TagDialogs, ABatchWriteWithTheGenreBoxClearedKeepsEachGenre)
{
    const std::string audio = Mp3Frames(3);
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"a.mp3"), audio + Id3v1("one", 17)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"b.mp3"), audio + Id3v1("two", 3)));
    CArray<CMpegAudioData> list;
    list.Add(Entry(L"a.mp3"));
    list.Add(Entry(L"b.mp3"));
    CDialogAnswerScript script;
    CDrivenTagMakeDlg dlg;
    dlg.m_pList = &list;
    dlg.m_batch = 1;
    dlg.drive = [](CDrivenTagMakeDlg& d) {
        d.CheckDlgButton(IDC_TAG_USE_GENRE, BST_UNCHECKED);
        d.CheckDlgButton(IDC_TAG_USE_ARTIST, BST_UNCHECKED);
        d.SetDlgItemText(IDC_TAG_TITLE, L"新しい題");
        d.SetDlgItemText(IDC_TAG_ARTIST, L"not written");
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.GetQuestions().empty());
    const BYTE genres[] = {17, 3};
    for (int i = 0; i < 2; ++i)
    {
        CMpegAudioData reread = Entry(i == 0 ? L"a.mp3" : L"b.mp3");
        ASSERT_EQ(1, reread.ReadTags());
        EXPECT_EQ(std::wstring(L"新しい題"), reread.m_id3v1.title) << i;
        EXPECT_EQ(std::wstring(L""), reread.m_id3v1.artist) << i;
        EXPECT_EQ(genres[i], reread.m_id3v1.genre) << i;
        EXPECT_EQ(std::wstring(L"新しい題"), list[i].m_id3v1.title) << "the entry is read again";
    }
}

TEST_F(TagDialogs, SkippingPastTheLastEntryWritesNothing)
{
    const std::string file = Mp3Frames(2) + Id3v1("old", 1);
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"only.mp3"), file));
    CArray<CMpegAudioData> list;
    list.Add(Entry(L"only.mp3"));
    CDrivenTagMakeDlg dlg;
    dlg.m_pList = &list;
    dlg.m_batch = 0;
    std::wstring shownTitle;
    dlg.drive = [&](CDrivenTagMakeDlg& d) {
        CString title;
        d.GetDlgItemText(IDC_TAG_TITLE, title);
        shownTitle = qvtest::W(title);
        d.SetDlgItemText(IDC_TAG_TITLE, L"changed");
        d.Command(IDC_TAG_SKIP);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(L"old", shownTitle);
    EXPECT_EQ(file, qvtest::ReadFileBytes(P(L"only.mp3")));
}

TEST_F(TagDialogs, ASingleFileTakesTheTypedNameUnlessItLeavesTheFolder)
{
    const std::string file = Mp3Frames(2);
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"x.mp3"), file));
    CArray<CMpegAudioData> list;
    list.Add(Entry(L"x.mp3"));
    CDialogAnswerScript script;
    CDrivenTagMakeDlg dlg;
    dlg.m_pList = &list;
    dlg.drive = [](CDrivenTagMakeDlg& d) {
        d.SetDlgItemText(IDC_TAG_FILE_NAME, L"..\\escaped.mp3");
        d.CheckDlgButton(IDC_TAG_FORMAT_ID3, BST_CHECKED);
        d.CheckDlgButton(IDC_TAG_FORMAT_NONE, BST_UNCHECKED);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_NE(-1, script.GetQuestions()[0].text.Find(L"の書き込みに失敗しました"));
    EXPECT_EQ(std::set<std::wstring>({L"x.mp3"}), qvtest::ListFolder(dir));
    EXPECT_EQ(file, qvtest::ReadFileBytes(P(L"x.mp3")));
}

TEST(ViewTagDialog, SamplingRates)
{
    struct Case
    {
        int rate;
        const wchar_t* text;
    };
    for (const Case& c : {Case{44100, L"44.1 KHz"}, Case{22050, L"22.05 KHz"}, Case{48000, L"48. KHz"},
                          Case{11025, L"11.025 KHz"}})
        EXPECT_EQ(std::wstring(c.text), qvtest::W(CViewTagDlg::FormatSamplingRate(c.rate)));
}

TEST_F(TagDialogs, TheTagWindowShowsTheCursorFile)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"cd.mp3"), Mp3Frames(4) + Id3v1("Song", 17)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"low.mp3"), Mpeg2Frames(6)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"other.ogg"), Mp3Frames(1)));
    int placed = 0;
    CViewTagDlg dlg(&placed);
    ASSERT_TRUE(dlg.Create(nullptr));
    struct Case
    {
        const wchar_t* name;
        const wchar_t* caption;
        const wchar_t* sampling;
        const wchar_t* title;
        const wchar_t* genre;
        const wchar_t* bitRate;
    };
    const Case cases[] = {
        {L"cd.mp3", L"cd.mp3", L"44.1 KHz", L"Song", L"Rock", L"128 kbps"},
        {L"low.mp3", L"low.mp3", L"22.05 KHz", L"", L"", L"64 kbps"},
        {L"other.ogg", L"タグの表示", L"", L"", L"", L""},
    };
    for (const Case& c : cases)
    {
        CMpegAudioData probe;
        ASSERT_TRUE(probe.SetFromPath(P(c.name).c_str()));
        dlg.SetFile(&probe.m_file, dir.c_str());
        dlg.OnTagTimer();
        CString text;
        dlg.GetWindowText(text);
        EXPECT_EQ(std::wstring(c.caption), qvtest::W(text)) << c.name;
        dlg.GetDlgItemText(IDC_VIEWTAG_SAMPLING, text);
        EXPECT_EQ(std::wstring(c.sampling), qvtest::W(text)) << c.name;
        dlg.GetDlgItemText(IDC_VIEWTAG_TITLE, text);
        EXPECT_EQ(std::wstring(c.title), qvtest::W(text)) << c.name;
        dlg.GetDlgItemText(IDC_VIEWTAG_GENRE, text);
        EXPECT_EQ(std::wstring(c.genre), qvtest::W(text)) << c.name;
        dlg.GetDlgItemText(IDC_VIEWTAG_BIT_RATE, text);
        EXPECT_EQ(std::wstring(c.bitRate), qvtest::W(text)) << c.name;
    }
}
