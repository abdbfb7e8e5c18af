// Shared by the 7-Zip back-end tests: fixture paths, small file helpers, a back-end
// opened and listed on an archive, and writers of stored zip and tar archives with
// member names that no real archiver would write.
#pragma once
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "tests/common/TestHelpers.h"
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace sztest
{

inline std::wstring Fixture(const wchar_t* name)
{
    return qvtest::ProgramDir() + L"\\frontfixtures\\" + name;
}

inline std::wstring ClientFixture(const wchar_t* name)
{
    return qvtest::ProgramDir() + L"\\arcfixtures\\" + name;
}

inline void WriteFile(const std::wstring& path, const std::string& data)
{
    std::ofstream(path.c_str(), std::ios::binary) << data;
}

inline std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return "<missing>";
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The stored paths of the listing, in the library's order.
inline std::vector<std::wstring> StoredPaths(const CSevenZipArchive& backEnd)
{
    std::vector<std::wstring> paths;
    for (INT_PTR i = 0; i < backEnd.m_listing.GetSize(); i++)
        paths.push_back(qvtest::W(backEnd.m_listing[i].m_storedPath));
    return paths;
}

// Opens and lists; false when either step failed.
inline bool OpenAndList(CSevenZipArchive& backEnd, const std::wstring& path)
{
    return backEnd.Open(path.c_str(), SEVENZIP_OPEN_READ) == 0 && backEnd.ListEntries(path.c_str()) == 1;
}

// The listing entry with the stored path, or null.
inline CArchiveFileInfo* Entry(CSevenZipArchive& backEnd, const wchar_t* storedPath)
{
    for (INT_PTR i = 0; i < backEnd.m_listing.GetSize(); i++)
        if (backEnd.m_listing[i].m_storedPath == storedPath)
            return &backEnd.m_listing[i];
    return nullptr;
}

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

// A zip archive of stored members with the given names (UTF-8 flagged) and data,
// made on the given host (the high byte of madeBy) with the given external attributes.
inline void WriteStoredZip(const std::wstring& path,
                           const std::vector<std::pair<std::string, std::string>>& members,
                           uint32_t madeBy = 20, uint32_t externalAttributes = 0)
{
    std::string out, central;
    auto u16 = [](std::string& s, uint32_t v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>((v >> 8) & 0xFF);
    };
    auto u32 = [&](std::string& s, uint32_t v) {
        u16(s, v & 0xFFFF);
        u16(s, v >> 16);
    };
    for (const auto& member : members)
    {
        const uint32_t offset = static_cast<uint32_t>(out.size());
        const uint32_t crc = Crc32(member.second);
        const uint32_t size = static_cast<uint32_t>(member.second.size());
        const uint32_t nameLength = static_cast<uint32_t>(member.first.size());
        u32(out, 0x04034B50);
        u16(out, 20);
        u16(out, 0x0800);
        u16(out, 0);
        u16(out, 0);
        u16(out, 0x5021);
        u32(out, crc);
        u32(out, size);
        u32(out, size);
        u16(out, nameLength);
        u16(out, 0);
        out += member.first;
        out += member.second;
        u32(central, 0x02014B50);
        u16(central, madeBy);
        u16(central, 20);
        u16(central, 0x0800);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0x5021);
        u32(central, crc);
        u32(central, size);
        u32(central, size);
        u16(central, nameLength);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u32(central, externalAttributes);
        u32(central, offset);
        central += member.first;
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out += central;
    u32(out, 0x06054B50);
    u16(out, 0);
    u16(out, 0);
    u16(out, static_cast<uint32_t>(members.size()));
    u16(out, static_cast<uint32_t>(members.size()));
    u32(out, static_cast<uint32_t>(central.size()));
    u32(out, centralOffset);
    u16(out, 0);
    WriteFile(path, out);
}

// A ustar archive of files with the given stored names and contents.
inline void WriteTar(const std::wstring& path,
                     const std::vector<std::pair<std::string, std::string>>& members)
{
    std::string out;
    for (const auto& member : members)
    {
        std::string header(512, '\0');
        member.first.copy(&header[0], 100);
        std::string("0000644").copy(&header[100], 7);
        std::string("0000000").copy(&header[108], 7);
        std::string("0000000").copy(&header[116], 7);
        char field[16];
        snprintf(field, sizeof(field), "%011o", static_cast<unsigned>(member.second.size()));
        std::string(field).copy(&header[124], 11);
        std::string("14000000000").copy(&header[136], 11);
        header[156] = '0';
        std::string("ustar").copy(&header[257], 5);
        std::string("00").copy(&header[263], 2);
        std::string(8, ' ').copy(&header[148], 8);
        unsigned sum = 0;
        for (unsigned char c : header)
            sum += c;
        snprintf(field, sizeof(field), "%06o", sum);
        std::string(field).copy(&header[148], 6);
        header[154] = '\0';
        out += header;
        out += member.second;
        out += std::string((512 - member.second.size() % 512) % 512, '\0');
    }
    out += std::string(1024, '\0');
    WriteFile(path, out);
}

} // namespace sztest
