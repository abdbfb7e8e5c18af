// Helpers over the framework's strings and exceptions, and a scratch-folder fixture,
// that many test files use.
// Header-only, since the test-support library is built without the framework.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/FwCollections.h"
#include "framework/FwCore.h"
#include "framework/FwString.h"
#include "tests/common/TestSupport.h"

namespace qvtest
{

// A CString as a standard string, so that assertions print and compare it by value
// (embedded NULs included).
inline std::wstring W(const CString& s)
{
    return std::wstring(s.GetString(), s.GetLength());
}

// The items of a string array, in order.
inline std::vector<std::wstring> Items(const CStringArray& array)
{
    std::vector<std::wstring> items;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        items.push_back(W(array[i]));
    return items;
}

// True when `action` throws the framework's invalid-argument exception.
inline bool ThrowsInvalidArg(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (CException* e)
    {
        bool invalidArg = dynamic_cast<CInvalidArgException*>(e) != nullptr;
        e->Delete();
        return invalidArg;
    }
    return false;
}

// A fixture whose tests each get a fresh scratch folder `dir`; P(name) is a path in it.
class ScratchFolderTest : public ::testing::Test
{
protected:
    void SetUp() override { dir = ScratchDir(); }
    std::wstring P(const wchar_t* name) const { return dir + L"\\" + name; }

    std::wstring dir;
};

// The short 8.3 alias the system keeps for the entry's name; empty when it keeps none
// apart from the name itself.
inline std::wstring ShortAlias(const std::wstring& path)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(path.c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return L"";
    FindClose(find);
    return fd.cAlternateFileName;
}

// The bytes of a bottom-up 24-bit BMP file of one colour.
inline std::string SolidBmp(int width, int height, BYTE b, BYTE g, BYTE r)
{
    const int stride = ((width * 24 + 31) / 32) * 4;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    std::string rows(size_t(stride) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            rows[size_t(y) * stride + x * 3] = char(b);
            rows[size_t(y) * stride + x * 3 + 1] = char(g);
            rows[size_t(y) * stride + x * 3 + 2] = char(r);
        }
    return bytes + rows;
}

} // namespace qvtest
