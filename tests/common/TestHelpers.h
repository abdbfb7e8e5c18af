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

} // namespace qvtest
