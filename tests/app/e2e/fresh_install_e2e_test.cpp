// The program as a new user first meets it: no settings file anywhere, so every value
// is its default. Text in UTF-8 shows as the same Japanese lines as Shift_JIS, the
// filer's pulldowns are filled, the exit item asks before quitting, and the settings are
// written where a first start puts them (the Windows folder).
#include "tests/app/e2e/PanePixels.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

using e2etest::BodyPixels;
using qvtest::Caption;

const UINT kExitItem = 57665;

std::string Narrow(const std::wstring& w, UINT cp)
{
    int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

bool Distinct(const std::vector<DWORD>& pixels)
{
    for (DWORD p : pixels)
        if (p != pixels.front())
            return true;
    return false;
}

// What tells two pictures of the body apart, for a failure's message: the box the
// differing pixels lie in, and any other window that covers the body.
std::string PictureDifference(HWND main, const std::vector<DWORD>& a, const std::vector<DWORD>& b)
{
    RECT client;
    GetClientRect(main, &client);
    const int width = client.right / 2 - 40;
    int count = 0, left = width, top = INT_MAX, right = -1, bottom = -1;
    for (size_t i = 0; i < a.size() && i < b.size() && width > 0; ++i)
        if (a[i] != b[i])
        {
            const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
            ++count;
            left = x < left ? x : left;
            right = x > right ? x : right;
            top = y < top ? y : top;
            bottom = y > bottom ? y : bottom;
        }
    std::string text = std::to_string(count) + " pixels differ";
    if (count > 0)
        text += " between (" + std::to_string(left) + "," + std::to_string(top) + ") and (" +
                std::to_string(right) + "," + std::to_string(bottom) + ") of the body";
    struct Search
    {
        HWND main;
        RECT body;
        std::string found;
    } search{main, {}, {}};
    POINT origin = {0, client.bottom / 6};
    ClientToScreen(main, &origin);
    search.body = {origin.x, origin.y, origin.x + width, origin.y + client.bottom * 2 / 3};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            RECT rect, overlap;
            if (window == s->main || !IsWindowVisible(window) || !GetWindowRect(window, &rect) ||
                !IntersectRect(&overlap, &rect, &s->body))
                return TRUE;
            char name[128] = "", title[128] = "";
            GetClassNameA(window, name, sizeof name);
            GetWindowTextA(window, title, sizeof title);
            s->found += std::string("; over the body: ") + name + " \"" + title + "\"";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return text + search.found;
}

// A program folder without qv.ini makes the program read and write the Windows
// folder's: that file is moved aside for the test and put back after it.
class WindowsFolderSettingsAside
{
public:
    WindowsFolderSettingsAside()
    {
        wchar_t windows[MAX_PATH] = L"";
        GetWindowsDirectoryW(windows, MAX_PATH);
        m_path = std::wstring(windows) + L"\\qv.ini";
        m_aside = m_path + L".fresh-install-test";
        DeleteFileW(m_aside.c_str());
        m_moved = MoveFileW(m_path.c_str(), m_aside.c_str()) != 0;
    }
    ~WindowsFolderSettingsAside()
    {
        DeleteFileW(m_path.c_str());
        if (m_moved)
            MoveFileW(m_aside.c_str(), m_path.c_str());
    }
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
    std::wstring m_aside;
    bool m_moved = false;
};

// The height of the pulldown that Alt and the access key open, 0 when none opens. The
// menus live in the program's process, so only their windows can be seen from here.
int PulldownHeight(const qvtest::QvProcess& qv, HWND main, WORD accessKey)
{
    qvtest::Press(qv, main, {VK_MENU, accessKey});
    HWND shown = nullptr;
    qvtest::PumpUntil(
        [&] {
            for (HWND window : qvtest::FindProcessWindows(qv.ProcessId(), qvtest::WindowMatch()))
            {
                wchar_t className[16] = {};
                GetClassNameW(window, className, 16);
                if (std::wstring(className) == L"#32768")
                    shown = window;
            }
            return shown != nullptr;
        },
        10000);
    RECT rect = {};
    if (shown != nullptr)
        GetWindowRect(shown, &rect);
    qvtest::Press(qv, main, {VK_ESCAPE, VK_ESCAPE});
    return rect.bottom - rect.top;
}

TEST(FreshInstallEndToEnd, WithoutASettingsFileTextShowsRightMenusAreFilledAndExitAsks)
{
    WindowsFolderSettingsAside aside;
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(program.SettingsPath().c_str()));
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(aside.Path().c_str()));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    std::wstring body;
    for (int i = 0; i < 40; ++i)
        body += std::to_wstring(i) + L"行目 日本語のテキストです。〜ｶﾀｶﾅと漢字\r\n";
    // Shift_JIS has the wave dash at 0x8160, which the system's table gives to U+FF5E.
    std::wstring sjisBody = body;
    for (wchar_t& ch : sjisBody)
        if (ch == L'\u301C')
            ch = L'\uFF5E';
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a_sjis.txt", Narrow(sjisBody, 932)));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\b_utf8.txt", Narrow(body, CP_UTF8)));

    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // The filer's pulldowns open, each with several items.
    for (WORD key : {'F', 'C', 'S', 'V', 'D', 'P', 'H'})
        EXPECT_GT(PulldownHeight(qv, main, key), 40)
            << "Alt+" << static_cast<char>(key) << " opened no filled pulldown";
    qvtest::Settle(qv);

    // The character code is found by itself: the UTF-8 file shows as the Shift_JIS one.
    // The list starts with the parent folder's row by default: the first file is below it.
    qvtest::Press(qv, main, {VK_HOME});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {'V'});
    ASSERT_NE(Caption(main).find(L"a_sjis.txt"), std::wstring::npos) << "V did not open the first file";
    // The picture it is measured by is taken once the viewer has stopped drawing: two
    // looks a moment apart that agree.
    std::vector<DWORD> sjisShot = BodyPixels(main);
    qvtest::WaitFor(
        [&] {
            Sleep(150);
            std::vector<DWORD> again = BodyPixels(main);
            const bool settled = again == sjisShot;
            sjisShot = std::move(again);
            return settled;
        },
        10000);
    ASSERT_TRUE(Distinct(sjisShot)) << "the viewer shows no text";
    qvtest::Press(qv, main, {VK_RETURN});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {'V'});
    ASSERT_NE(Caption(main).find(L"b_utf8.txt"), std::wstring::npos);
    // Under load the viewer can still be drawing the second file when the keys settle:
    // wait for the same picture with a deadline, which wrongly read text never reaches.
    std::vector<DWORD> utf8Shot;
    EXPECT_TRUE(qvtest::WaitFor(
        [&] {
            utf8Shot = BodyPixels(main);
            return utf8Shot == sjisShot;
        },
        15000))
        << "UTF-8 text is not shown as its characters on a first start: "
        << PictureDifference(main, sjisShot, utf8Shot);
    qvtest::Press(qv, main, {VK_RETURN});

    // The exit item asks; Cancel keeps the program, OK ends it and writes the settings.
    const std::wstring question = L"終了しますか";
    ASSERT_TRUE(PostMessageW(main, WM_COMMAND, kExitItem, 0));
    HWND box = qvtest::WaitForDialog(qv.ProcessId(), question, 30000);
    ASSERT_NE(nullptr, box) << "the exit item quit without asking";
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(qvtest::WaitFor([&] { return !IsWindow(box); }, 10000));
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), qv.WaitForExit(0)) << "Cancel ended the program";

    ASSERT_TRUE(PostMessageW(main, WM_COMMAND, kExitItem, 0));
    box = qvtest::WaitForDialog(qv.ProcessId(), question, 30000);
    ASSERT_NE(nullptr, box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, qv.WaitForExit(30000));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(program.SettingsPath().c_str()))
        << "the settings of a first start were not written to the program folder";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(aside.Path().c_str()))
        << "the program folder can hold the settings: the Windows folder is not written";
}

} // namespace
