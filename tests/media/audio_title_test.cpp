// The title a listing shows for an audio file, read from the file's tags.
#include "media/tags/MpegAudioData.h"
#include "tests/common/TestHelpers.h"
#include "tests/media/AudioFixtures.h"

#include <string>

using qvtest::W;

using namespace qvtest::audio;

namespace
{

class AudioTitle : public qvtest::ScratchFolderTest
{
protected:
    void Write(const wchar_t* name, const std::string& bytes)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(P(name), bytes)) << W(name);
    }
};

} // namespace

TEST_F(AudioTitle, TakesTheFirstNonEmptyOfId3v2ThenRiffInfoThenId3v1)
{
    const std::string frames = Mp3Frames(4);
    // The INFO list follows the audio, where the tag writer puts it.
    const std::string info = ListInfo(InfoItem("INAM", "info title"));
    struct Case
    {
        const wchar_t* name;
        std::string bytes;
        const wchar_t* title;
    };
    const Case cases[] = {
        {L"both.mp3", Id3v2Title("v2 title") + frames + Id3v1("v1 title", 0), L"v2 title"},
        {L"empty-v2.mp3", Id3v2Title("") + frames + Id3v1("v1 title", 0), L"v1 title"},
        {L"v1.mp3", frames + Id3v1("v1 title", 0), L"v1 title"},
        {L"none.mp3", frames, L""},
        {L"info.wav", Wav(PcmBytes(200), "", info), L"info title"},
        {L"info-and-v1.wav", Wav(PcmBytes(200), "", info + Id3v1("v1 title", 0)), L"info title"},
        {L"empty-info.wav", Wav(PcmBytes(200), "", ListInfo(InfoItem("INAM", "")) + Id3v1("v1 title", 0)),
         L"v1 title"},
        {L"none.wav", Wav(PcmBytes(200)), L""},
        {L"tagged.txt", Id3v2Title("v2 title") + frames + Id3v1("v1 title", 0), L""},
    };
    for (const Case& c : cases)
    {
        Write(c.name, c.bytes);
        CMpegAudioData record;
        ASSERT_TRUE(record.SetFromPath(P(c.name).c_str())) << W(c.name);
        EXPECT_EQ(std::wstring(c.title), W(ReadAudioTitle(record.m_file))) << W(c.name);
    }
}
