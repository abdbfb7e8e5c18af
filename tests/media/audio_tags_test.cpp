// The audio tag reader and writer on files the tests write themselves.
#include "media/tags/MpegAudioData.h"
#include "tests/common/TestHelpers.h"
#include "tests/media/AudioFixtures.h"

#include <functional>
#include <string>

using qvtest::W;

using namespace qvtest::audio;

namespace
{

class AudioTags : public qvtest::ScratchFolderTest
{
protected:
    CMpegAudioData Read(const wchar_t* name)
    {
        CMpegAudioData record;
        EXPECT_TRUE(record.SetFromPath(P(name).c_str())) << name;
        EXPECT_EQ(1, record.ReadTags()) << name;
        return record;
    }
};

void SetField(wchar_t* field, const std::wstring& text)
{
    wcscpy(field, text.c_str());
}

} // namespace

TEST_F(AudioTags, WrittenTagsReadBackAndLeaveTheAudioAlone)
{
    const std::string mp3Audio = Mp3Frames(8);
    const std::string withV2 = Id3v2(3, Id3v2Frame("TIT2", std::string("\0v2 title", 9))) + mp3Audio;
    const std::string pcm = PcmBytes(200);
    const std::string oddPcm = PcmBytes(101);
    const std::wstring longJapanese = L"あいうえおかきくけこさしすせそたちつてと";
    struct Case
    {
        const wchar_t* name;
        std::string file;
        size_t audioEnd; // bytes from the start that must stay as they were
        std::function<void(CMpegAudioData&)> edit;
        std::function<void(const CMpegAudioData&, const std::string&)> check;
    };
    const Case cases[] = {
        {L"v1.mp3", mp3Audio, mp3Audio.size(),
         [&](CMpegAudioData& w) {
             w.m_tagFlags = AUDIO_TAG_ID3V1;
             SetField(w.m_id3v1.title, L"123456789012345678901234567890");
             SetField(w.m_id3v1.artist, L"Artist   ");
             SetField(w.m_id3v1.album, longJapanese);
             SetField(w.m_id3v1.comment, L"a" + longJapanese);
             w.m_id3v1.genre = 255;
         },
         [&](const CMpegAudioData& r, const std::string& bytes) {
             EXPECT_EQ(AUDIO_TAG_ID3V1, r.m_tagFlags);
             EXPECT_EQ(std::wstring(L"123456789012345678901234567890"), r.m_id3v1.title);
             EXPECT_EQ(std::wstring(L"Artist"), r.m_id3v1.artist);
             EXPECT_EQ(longJapanese.substr(0, 15), r.m_id3v1.album);
             // 29 bytes: a 30th would split a character.
             EXPECT_EQ(L"a" + longJapanese.substr(0, 14), r.m_id3v1.comment);
             EXPECT_EQ(255, r.m_id3v1.genre);
             EXPECT_EQ(mp3Audio.size() + 128, bytes.size());
         }},
        {L"info.wav", Wav(pcm), 44 + pcm.size(),
         [&](CMpegAudioData& w) {
             w.m_tagFlags = AUDIO_TAG_RIFF_INFO;
             w.m_riffInfo.SetAt(L"IART", L"歌い手");
             w.m_riffInfo.SetAt(L"INAM", L"名前");
         },
         [&](const CMpegAudioData& r, const std::string& bytes) {
             EXPECT_EQ(AUDIO_TAG_RIFF_INFO, r.m_tagFlags);
             CString v;
             EXPECT_TRUE(r.m_riffInfo.Lookup(L"INAM", v) && v == L"名前");
             EXPECT_TRUE(r.m_riffInfo.Lookup(L"IART", v) && v == L"歌い手");
             // The table's order, not the order the items were set in.
             EXPECT_EQ("INAM", bytes.substr(44 + pcm.size() + 12, 4));
             EXPECT_EQ(Le32(static_cast<DWORD>(bytes.size() - 8)), bytes.substr(4, 4));
         }},
        {L"both.wav", Wav(pcm), 44 + pcm.size(),
         [&](CMpegAudioData& w) {
             w.m_tagFlags = AUDIO_TAG_RIFF_INFO | AUDIO_TAG_ID3V1;
             w.m_riffInfo.SetAt(L"ICMT", L"note");
             SetField(w.m_id3v1.title, L"Title");
             w.m_id3v1.genre = 17;
         },
         [&](const CMpegAudioData& r, const std::string& bytes) {
             EXPECT_EQ(AUDIO_TAG_RIFF_INFO | AUDIO_TAG_ID3V1, r.m_tagFlags);
             EXPECT_EQ(std::wstring(L"Title"), r.m_id3v1.title);
             EXPECT_EQ(17, r.m_id3v1.genre);
             EXPECT_EQ("IID3" + Le32(128) + "TAG", bytes.substr(bytes.size() - 136, 11));
             CString v;
             EXPECT_FALSE(r.m_riffInfo.Lookup(L"IID3", v));
         }},
        {L"none.wav", Wav(pcm, "", ListInfo(InfoItem("INAM", "old")) + Id3v1("old", 1)), 44 + pcm.size(),
         [&](CMpegAudioData& w) { w.m_tagFlags = 0; },
         [&](const CMpegAudioData& r, const std::string& bytes) {
             EXPECT_EQ(0, r.m_tagFlags);
             EXPECT_EQ(44 + pcm.size(), bytes.size());
             EXPECT_EQ(Le32(static_cast<DWORD>(bytes.size() - 8)), bytes.substr(4, 4));
         }},
        {L"v2kept.mp3", withV2 + Id3v1("old", 3), withV2.size(),
         [&](CMpegAudioData& w) { SetField(w.m_id3v1.title, L"new"); },
         [&](const CMpegAudioData& r, const std::string& bytes) {
             EXPECT_EQ(AUDIO_TAG_ID3V1 | AUDIO_TAG_ID3V2, r.m_tagFlags);
             EXPECT_EQ(std::wstring(L"new"), r.m_id3v1.title);
             EXPECT_EQ(3, r.m_id3v1.genre);
             CString v;
             EXPECT_TRUE(r.m_id3v2.Lookup(L"TIT2", v) && v == L"v2 title");
             EXPECT_EQ(withV2.size() + 128, bytes.size());
         }},
        {L"nashi.mp3", withV2 + Id3v1("old", 3), withV2.size(),
         [&](CMpegAudioData& w) { w.m_tagFlags &= AUDIO_TAG_ID3V2; },
         [&](const CMpegAudioData& r, const std::string& bytes) {
             EXPECT_EQ(AUDIO_TAG_ID3V2, r.m_tagFlags);
             EXPECT_EQ(withV2, bytes);
         }},
        {L"odd.wav", Wav(oddPcm), 44 + oddPcm.size() + 1,
         [&](CMpegAudioData& w) {
             w.m_tagFlags = AUDIO_TAG_RIFF_INFO;
             w.m_riffInfo.SetAt(L"IGNR", L"Rock");
         },
         [&](const CMpegAudioData& r, const std::string& bytes) {
             EXPECT_EQ(AUDIO_TAG_RIFF_INFO, r.m_tagFlags);
             EXPECT_EQ('\0', bytes[44 + oddPcm.size()]);
             EXPECT_EQ("LIST", bytes.substr(44 + oddPcm.size() + 1, 4));
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(qvtest::WriteFileBytes(P(c.name), c.file));
        CMpegAudioData current = Read(c.name);
        CMpegAudioData wanted = current;
        c.edit(wanted);
        ASSERT_EQ(1, WriteAudioTags(current, wanted));
        std::string bytes = qvtest::ReadFileBytes(P(c.name));
        ASSERT_GE(bytes.size(), c.audioEnd);
        EXPECT_EQ(c.file.substr(8, c.audioEnd - 8), bytes.substr(8, c.audioEnd - 8));
        CMpegAudioData reread = Read(c.name);
        c.check(reread, bytes);
        // The writer rereads the record (the access time may have moved since).
        current.m_file.m_findData.ftLastAccessTime = reread.m_file.m_findData.ftLastAccessTime;
        EXPECT_EQ(0, reread.DiffersFrom(current));
    }
}

TEST_F(AudioTags, ReadersTakeWhatTheyKnowAndStopAtBrokenLengths)
{
    const std::string audio = Mp3Frames(4);
    auto comm = [](const char* language, const std::string& rest) {
        return Id3v2Frame("COMM", std::string(1, '\1') + language + rest);
    };
    const std::string emptyDescription = std::string("\xFF\xFE\0\0", 4);
    struct Case
    {
        const wchar_t* name;
        std::string file;
        int flags;
        std::function<void(const CMpegAudioData&)> check;
    };
    const Case cases[] = {
        {L"short.mp3", std::string(127, 'x'), 0, nullptr},
        {L"v24.mp3", Id3v2(4, Id3v2Frame("TIT2", std::string("\0x", 2))) + audio, 0,
         [](const CMpegAudioData& r) { EXPECT_EQ(0, r.m_id3v2.GetCount()); }},
        {L"comm.mp3",
         Id3v2(3, Id3v2Frame("COMM", std::string("\0eng\0english", 12)) +
                      comm("jpn", emptyDescription + qvtest::Utf16Bytes(L"日本語") + std::string(2, '\0')) +
                      comm("fra", emptyDescription + qvtest::Utf16Bytes(L"français"))) +
             audio,
         AUDIO_TAG_ID3V2,
         [](const CMpegAudioData& r) {
             CString v;
             EXPECT_TRUE(r.m_comments.Lookup(L"eng", v) && v == L"english") << W(v);
             EXPECT_TRUE(r.m_comments.Lookup(L"jpn", v) && v == L"日本語") << W(v);
             EXPECT_FALSE(r.m_comments.Lookup(L"fra", v));
         }},
        // The text runs to the frame's end without a terminator.
        {L"unended.mp3",
         Id3v2(3, comm("eng", emptyDescription + qvtest::Utf16Bytes(L"tail")), 0) + audio, AUDIO_TAG_ID3V2,
         [](const CMpegAudioData& r) {
             CString v;
             EXPECT_TRUE(r.m_comments.Lookup(L"eng", v) && v == L"tail") << W(v);
         }},
        {L"hugeframe.mp3",
         Id3v2(3, Id3v2Frame("TPE1", std::string("\0ok", 3)) + "TIT2" + Be32(0xFFFFFFFF) + "xxxxxx") + audio,
         AUDIO_TAG_ID3V2,
         [](const CMpegAudioData& r) {
             CString v;
             EXPECT_TRUE(r.m_id3v2.Lookup(L"TPE1", v) && v == L"ok");
             EXPECT_FALSE(r.m_id3v2.Lookup(L"TIT2", v));
         }},
        {L"hugeitem.wav", Wav(PcmBytes(64), "", ListInfo(InfoItem("INAM", "a") + "IART" + Le32(0xFFFFFFFF) + "b")),
         AUDIO_TAG_RIFF_INFO,
         [](const CMpegAudioData& r) {
             CString v;
             EXPECT_TRUE(r.m_riffInfo.Lookup(L"INAM", v) && v == L"a");
             EXPECT_EQ(1, r.m_riffInfo.GetCount());
         }},
        {L"hugedata.wav", "RIFF" + Le32(200) + "WAVE" + "data" + Le32(0xFFFFFFFF) + PcmBytes(200), 0, nullptr},
        // Written by an earlier version: no pad byte after an odd "data" chunk.
        {L"nopad.wav", Wav(PcmBytes(101), "", ListInfo(InfoItem("INAM", "x")), false), AUDIO_TAG_RIFF_INFO,
         nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(qvtest::WriteFileBytes(P(c.name), c.file));
        CMpegAudioData r = Read(c.name);
        EXPECT_EQ(1, r.m_read);
        EXPECT_EQ(c.flags, r.m_tagFlags);
        if (c.check)
            c.check(r);
    }
}

TEST_F(AudioTags, HostileFilesAreLeftIntactOrRefused)
{
    const std::string audio = Mp3Frames(6);
    const std::string pcm = PcmBytes(300);
    // "data" inside the chunk before the real one.
    const std::string decoy = Chunk("JUNK", "xxdata" + Le32(2) + "yy");
    struct Case
    {
        const wchar_t* name;
        std::string file;
        int expected;
        std::function<void(CMpegAudioData& current, CMpegAudioData& wanted)> edit;
        std::string after; // empty: the file must stay as it was
    };
    const Case cases[] = {
        // The record says there is a block; the file lost it since.
        {L"stale.mp3", audio, 1,
         [](CMpegAudioData& cur, CMpegAudioData& w) {
             cur.m_tagFlags = w.m_tagFlags = AUDIO_TAG_ID3V1;
             SetField(w.m_id3v1.title, L"t");
         },
         audio + Id3v1("t", 255)},
        // The record says there is none; the file gained one since.
        {L"stale2.mp3", audio + Id3v1("old", 1), 1,
         [](CMpegAudioData& cur, CMpegAudioData& w) {
             cur.m_tagFlags = 0;
             w.m_tagFlags = AUDIO_TAG_ID3V1;
             SetField(w.m_id3v1.title, L"t");
         },
         audio + Id3v1("t", 1)},
        {L"decoy.wav", Wav(pcm, decoy), 1, [](CMpegAudioData&, CMpegAudioData& w) { w.m_tagFlags = 0; },
         Wav(pcm, decoy)},
        // The audio runs to the end of the file; the block goes after it.
        {L"huge.wav", "RIFF" + Le32(308) + "WAVE" + "data" + Le32(0xFFFFFFFF) + pcm, 1,
         [](CMpegAudioData&, CMpegAudioData& w) { w.m_tagFlags = AUDIO_TAG_ID3V1; },
         "RIFF" + Le32(440) + "WAVE" + "data" + Le32(300) + pcm + Id3v1("", ID3V1_NO_GENRE)},
        {L"walk.wav", "RIFF" + Le32(400) + "WAVE" + "JUNK" + Le32(5000) + "data" + Le32(8) + pcm, 0,
         [](CMpegAudioData&, CMpegAudioData& w) { w.m_tagFlags = AUDIO_TAG_ID3V1; }, ""},
        {L"dots.mp3", audio, 0, [](CMpegAudioData&, CMpegAudioData& w) { w.SetFileName(L".."); }, ""},
        {L"sep.mp3", audio, 0, [](CMpegAudioData&, CMpegAudioData& w) { w.SetFileName(L"sub\\x.mp3"); }, ""},
        {L"drive.mp3", audio, 0, [](CMpegAudioData&, CMpegAudioData& w) { w.SetFileName(L"c:x.mp3"); }, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(qvtest::WriteFileBytes(P(c.name), c.file));
        ASSERT_TRUE(SetFileAttributesW(P(c.name).c_str(), FILE_ATTRIBUTE_READONLY));
        CMpegAudioData current = Read(c.name);
        CMpegAudioData wanted = current;
        c.edit(current, wanted);
        EXPECT_EQ(c.expected, WriteAudioTags(current, wanted));
        EXPECT_EQ(c.after.empty() ? c.file : c.after, qvtest::ReadFileBytes(P(c.name)));
        EXPECT_TRUE(GetFileAttributesW(P(c.name).c_str()) & FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(std::set<std::wstring>({c.name}), qvtest::ListFolder(dir));
        SetFileAttributesW(P(c.name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(P(c.name).c_str());
    }
}

TEST_F(AudioTags, ARiffWriteReplacesOnlyTagsAfterTheAudioOrRefusesTheFileUntouched)
{
    const std::string pcm = PcmBytes(300);
    const std::string oddPcm = PcmBytes(301);
    const std::string fmt = Chunk("fmt ", Le32(0x00010001) + Le32(8000) + Le32(8000) + Le32(0x00080001));
    // A WAV whose "data" chunk declares `declared` bytes and holds those of `audio`.
    auto declaring = [&](const std::string& audio, DWORD declared, const std::string& after = "") {
        const std::string body = "WAVE" + fmt + "data" + Le32(declared) + audio + after;
        return "RIFF" + Le32(static_cast<DWORD>(body.size())) + body;
    };
    struct Case
    {
        const wchar_t* name;
        const std::string& audio;
        std::string file;
        int expected;
    };
    const Case cases[] = {
        {L"normal.wav", pcm, declaring(pcm, 300), 1},
        {L"tagged.wav", pcm, declaring(pcm, 300, ListInfo(InfoItem("INAM", "old")) + Id3v1("old", 1)), 1},
        // A size past the end of the file: the audio runs to the end and all of it stays.
        {L"beyond.wav", pcm, declaring(pcm, 400), 1},
        {L"wrapped.wav", pcm, declaring(pcm, 0xFFFFFFF8), 1},
        {L"oddbeyond.wav", oddPcm, declaring(oddPcm, 400), 1},
        {L"zero.wav", pcm, declaring(pcm, 0), 0},
        {L"short.wav", pcm, declaring(pcm, 44), 0},
        {L"cue.wav", pcm, declaring(pcm, 300, Chunk("cue ", Le32(0))), 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(qvtest::WriteFileBytes(P(c.name), c.file));
        CMpegAudioData current = Read(c.name);
        CMpegAudioData wanted = current;
        wanted.m_tagFlags = AUDIO_TAG_RIFF_INFO;
        wanted.m_riffInfo.SetAt(L"INAM", L"new");
        EXPECT_EQ(c.expected, WriteAudioTags(current, wanted));
        const std::string bytes = qvtest::ReadFileBytes(P(c.name));
        if (c.expected == 0)
        {
            EXPECT_EQ(c.file, bytes);
            continue;
        }
        // Every byte of the audio, under a chunk size that says how many there are,
        // then the new tags after the pad byte an odd chunk takes.
        const std::string audio = "RIFF" + Le32(static_cast<DWORD>(bytes.size() - 8)) + "WAVE" + fmt +
                                  "data" + Le32(static_cast<DWORD>(c.audio.size())) + c.audio;
        EXPECT_EQ(audio, bytes.substr(0, audio.size()));
        const size_t tagsAt = audio.size() + (c.audio.size() & 1);
        EXPECT_EQ(std::string(tagsAt - audio.size(), '\0'),
                  bytes.substr(audio.size(), tagsAt - audio.size()));
        EXPECT_EQ("LIST" + Le32(static_cast<DWORD>(bytes.size() - tagsAt - 8)), bytes.substr(tagsAt, 8));
        const CMpegAudioData after = Read(c.name);
        CString name;
        EXPECT_TRUE(after.m_riffInfo.Lookup(L"INAM", name) && name == L"new");
        EXPECT_EQ(1, after.m_riffInfo.GetCount());
    }
}

TEST_F(AudioTags, ATypedNameWithDotsInsideRenamesTheFile)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"old.mp3"), Mp3Frames(2)));
    CMpegAudioData current = Read(L"old.mp3");
    CMpegAudioData wanted = current;
    wanted.SetFileName(L"a..b.mp3");
    ASSERT_EQ(1, WriteAudioTags(current, wanted));
    EXPECT_EQ(std::set<std::wstring>({L"a..b.mp3"}), qvtest::ListFolder(dir));
    EXPECT_EQ(std::wstring(L"a..b.mp3"), current.m_file.GetName());
}

TEST(MpegFrames, FrameLengths)
{
    struct Case
    {
        int version, layer, bitRate, sampleRate, padding, expected;
    };
    const Case cases[] = {
        {3, 1, 9, 0, 0, 417},  // MPEG-1 Layer III, 128 kbit/s, 44,100 Hz
        {3, 1, 9, 0, 1, 418},  //
        {2, 1, 8, 0, 0, 208},  // MPEG-2 Layer III, 64 kbit/s, 22,050 Hz
        {0, 1, 8, 2, 1, 577},  // MPEG-2.5 Layer III, 64 kbit/s, 8,000 Hz
        {3, 3, 12, 0, 0, 416}, // MPEG-1 Layer I, 384 kbit/s
        {2, 3, 1, 1, 1, 68},   // MPEG-2 Layer I, 32 kbit/s, 24,000 Hz
        {3, 2, 9, 1, 0, 480},  // MPEG-1 Layer II, 160 kbit/s, 48,000 Hz
        {1, 1, 9, 0, 0, 0},    // reserved version
        {3, 1, 15, 0, 0, 0},   // reserved bit rate
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CalcMpegFrameLength(c.version, c.layer, c.bitRate, c.sampleRate, c.padding))
            << c.version << " " << c.layer << " " << c.bitRate;
}

TEST_F(AudioTags, TheFrameScanStepsFromFrameToFrameThroughTheFirst64KB)
{
    // The last header that begins within the first 64 KB is the only stereo frame.
    const std::string all = Mp3Frames(200);
    int lastInRange = 0;
    for (size_t at = 0, i = 0; i < 200; ++i)
    {
        if (at + 4 <= 65536)
            lastInRange = static_cast<int>(i);
        at += (all[at + 2] & 2) ? 418 : 417;
    }
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"scan.mp3"), Mp3Frames(200, lastInRange)));
    CMpegAudioData r = Read(L"scan.mp3");
    EXPECT_EQ(1, r.m_mpegFound);
    EXPECT_EQ(3, r.m_mpegVersion);
    EXPECT_EQ(1, r.m_mpegLayer);
    EXPECT_EQ(9, r.m_mpegBitRateIndex) << "a header inside a frame's body was taken";
    EXPECT_EQ(0, r.m_mpegSampleRateIndex);
    EXPECT_EQ(0, r.m_mpegChannelMode) << "the last frame in range was not visited";
}
