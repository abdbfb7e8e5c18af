// A zip archive in two volumes, made by the tests that update archives: the further
// volume "x.z01" and the last one "x.zip".
#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>

namespace arctest
{

inline uint32_t Crc32(const std::string& data)
{
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : data)
    {
        crc ^= c;
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A zip archive split into two volumes, as a zip tool writes it when asked for parts:
// "x.z01" holds the first member after the split marker, "x.zip" the second member,
// the central directory and its end record, which name the last disk.
inline void WriteTwoVolumeZip(const std::wstring& first, const std::wstring& last)
{
    std::string volumes[2] = {std::string("PK\x07\x08", 4), std::string()};
    std::string central;
    auto u16 = [](std::string& s, uint32_t v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>((v >> 8) & 0xFF);
    };
    auto u32 = [&](std::string& s, uint32_t v) {
        u16(s, v & 0xFFFF);
        u16(s, v >> 16);
    };
    const std::pair<std::string, std::string> members[2] = {{"one.txt", "first volume\n"},
                                                            {"two.txt", "last volume\n"}};
    for (uint32_t disk = 0; disk < 2; disk++)
    {
        const auto& member = members[disk];
        std::string& out = volumes[disk];
        const uint32_t offset = static_cast<uint32_t>(out.size());
        const uint32_t crc = Crc32(member.second);
        const uint32_t size = static_cast<uint32_t>(member.second.size());
        u32(out, 0x04034B50);
        u16(out, 10);
        u16(out, 0);
        u16(out, 0);
        u16(out, 0);
        u16(out, 0x5021);
        u32(out, crc);
        u32(out, size);
        u32(out, size);
        u16(out, static_cast<uint32_t>(member.first.size()));
        u16(out, 0);
        out += member.first + member.second;
        u32(central, 0x02014B50);
        u16(central, 20);
        u16(central, 10);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0x5021);
        u32(central, crc);
        u32(central, size);
        u32(central, size);
        u16(central, static_cast<uint32_t>(member.first.size()));
        u16(central, 0);
        u16(central, 0);
        u16(central, disk);
        u16(central, 0);
        u32(central, 0);
        u32(central, offset);
        central += member.first;
    }
    std::string& out = volumes[1];
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out += central;
    u32(out, 0x06054B50);
    u16(out, 1);
    u16(out, 1);
    u16(out, 2);
    u16(out, 2);
    u32(out, static_cast<uint32_t>(central.size()));
    u32(out, centralOffset);
    u16(out, 0);
    std::ofstream(first.c_str(), std::ios::binary) << volumes[0];
    std::ofstream(last.c_str(), std::ios::binary) << volumes[1];
}

} // namespace arctest
