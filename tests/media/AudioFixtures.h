// Small audio files built byte by byte for the tag tests: MPEG-1 Layer III frames,
// ID3 tags and RIFF WAV files.
#pragma once
#include <windows.h>

#include <string>

namespace qvtest
{
namespace audio
{

inline std::string Le32(DWORD v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

inline std::string Be32(DWORD v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((v >> (8 * (3 - i))) & 0xFF);
    return s;
}

// MPEG-1 Layer III frames at 128 kbit/s and 44,100 Hz, single channel. Their bodies
// repeat a header of another bit rate, which a scan that loses its step would take.
inline std::string Mp3Frames(int count, int stereoFrame = -1)
{
    std::string out;
    int accumulated = 0;
    for (int i = 0; i < count; ++i)
    {
        // Padding as an encoder sets it: 417.96 bytes on average.
        accumulated += 96;
        int padding = accumulated >= 100 ? 1 : 0;
        if (padding)
            accumulated -= 100;
        std::string frame = {'\xFF', '\xFB', static_cast<char>(0x90 | (padding << 1)),
                             static_cast<char>(i == stereoFrame ? 0x00 : 0xC0)};
        while (frame.size() < static_cast<size_t>(417 + padding))
            frame += std::string("\xFF\xFB\xE4\xC0", 4);
        frame.resize(417 + padding);
        out += frame;
    }
    return out;
}

inline std::string Id3v1(const std::string& title, BYTE genre)
{
    std::string block = "TAG" + title;
    block.resize(127, '\0');
    block += static_cast<char>(genre);
    return block;
}

inline std::string Id3v2Frame(const char* id, const std::string& data)
{
    return std::string(id, 4) + Be32(static_cast<DWORD>(data.size())) + std::string(2, '\0') + data;
}

inline std::string Id3v2(int major, const std::string& frames, size_t padding = 16)
{
    std::string body = frames + std::string(padding, '\0');
    DWORD n = static_cast<DWORD>(body.size());
    std::string header = {'I',
                          'D',
                          '3',
                          static_cast<char>(major),
                          '\0',
                          '\0',
                          static_cast<char>((n >> 21) & 0x7F),
                          static_cast<char>((n >> 14) & 0x7F),
                          static_cast<char>((n >> 7) & 0x7F),
                          static_cast<char>(n & 0x7F)};
    return header + body;
}

// An ID3v2.3 tag with one "TIT2" frame in ISO-8859-1.
inline std::string Id3v2Title(const std::string& title)
{
    return Id3v2(3, Id3v2Frame("TIT2", std::string(1, '\0') + title));
}

inline std::string Chunk(const char* id, const std::string& data, bool pad = true)
{
    std::string out = std::string(id, 4) + Le32(static_cast<DWORD>(data.size())) + data;
    if (pad && (data.size() & 1))
        out += '\0';
    return out;
}

inline std::string PcmBytes(size_t n)
{
    std::string data(n, '\0');
    for (size_t i = 0; i < n; ++i)
        data[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return data;
}

// A small PCM WAV: header, the given chunks before "data", the audio, what follows.
inline std::string Wav(const std::string& audio, const std::string& before = "",
                       const std::string& after = "", bool pad = true)
{
    std::string fmt = Le32(0x00010001) + Le32(8000) + Le32(8000) + Le32(0x00080001);
    std::string body = "WAVE" + Chunk("fmt ", fmt) + before + Chunk("data", audio, pad) + after;
    return "RIFF" + Le32(static_cast<DWORD>(body.size())) + body;
}

inline std::string ListInfo(const std::string& items)
{
    return "LIST" + Le32(static_cast<DWORD>(items.size() + 4)) + "INFO" + items;
}

inline std::string InfoItem(const char* id, const std::string& text)
{
    return std::string(id, 4) + Le32(static_cast<DWORD>(text.size() + 1)) + text + std::string(2, '\0');
}

} // namespace audio
} // namespace qvtest
