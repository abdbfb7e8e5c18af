// The binary editor's text colour per byte value (used while BINARYUSERCOLOR is on).
#pragma once
#include <windows.h>
#include <array>

constexpr DWORD kBinaryByteColorDefault = 0xffffff; // the viewer's text colour

inline std::array<DWORD, 256> g_BinaryByteColors = [] {
    std::array<DWORD, 256> colors{};
    colors.fill(kBinaryByteColorDefault);
    return colors;
}();
