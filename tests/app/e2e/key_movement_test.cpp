// Keys typed into the real program move the cursor of the active pane, Shift+Down
// marks a range, and a key without a binding changes nothing; proved from what the
// window shows: the band of the cursor line in the left pane, and the rows that differ
// between two screenshots.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{

// The client area's pixels, top-down, as 0x00RRGGBB.
struct Shot
{
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Shot TakeShot(HWND window)
{
    Shot shot;
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    shot.width = client.right;
    shot.height = client.bottom;
    shot.pixels = qvtest::ScreenPixels(origin.x, origin.y, shot.width, shot.height);
    for (DWORD& pixel : shot.pixels)
        pixel &= 0xFFFFFF;
    return shot;
}

// A child (at any depth) of `parent` with control id `id` and window class `cls`.
HWND FindControl(HWND parent, int id, const wchar_t* cls)
{
    struct Search
    {
        int id;
        const wchar_t* cls;
        HWND found;
    } search = {id, cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(param);
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (GetDlgCtrlID(child) == s.id && _wcsicmp(name, s.cls) == 0)
            {
                s.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Rows whose strip [20, 80) is mostly one colour that is not the pane's background
// (taken near the left pane's bottom): the filled cursor line, and static fills.
std::set<int> FilledRows(const Shot& shot)
{
    std::set<int> rows;
    const DWORD back = shot.At(40, shot.height - 4);
    for (int y = 0; y < shot.height; ++y)
    {
        std::map<DWORD, int> counts;
        for (int x = 20; x < 80; ++x)
            ++counts[shot.At(x, y)];
        auto top = std::max_element(counts.begin(), counts.end(),
                                    [](const auto& a, const auto& b) { return a.second < b.second; });
        if (top->first != back && top->second >= 30)
            rows.insert(y);
    }
    return rows;
}

// Rows of the left pane's half that differ, from row `from` down.
std::set<int> DifferingRows(const Shot& a, const Shot& b, int from)
{
    std::set<int> rows;
    for (int y = from; y < a.height && y < b.height; ++y)
        for (int x = 0; x < a.width / 2 - 8; ++x)
            if (a.At(x, y) != b.At(x, y))
            {
                rows.insert(y);
                break;
            }
    return rows;
}

TEST(KeyMovement, KeysMoveTheCursorAndShiftDownMarksARange)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    for (int i = 0; i < 12; ++i)
    {
        wchar_t name[32];
        swprintf_s(name, L"\\file%02d.txt", i);
        ASSERT_TRUE(qvtest::WriteFileBytes(left + name, "x"));
    }
    // Side by side: one column per pane, so each entry has its own line.
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    qvtest::Settle(qv);
    // Each pane shows a real scroll bar along its right edge.
    for (int id : {30000, 30001})
    {
        HWND bar = FindControl(main, id, L"SCROLLBAR");
        ASSERT_NE(nullptr, bar) << id;
        EXPECT_TRUE(IsWindowVisible(bar));
        EXPECT_EQ(SBS_VERT, GetWindowLongW(bar, GWL_STYLE) & SBS_VERT);
    }

    // The cursor line's band in each state; the fills that never move are not it.
    std::vector<Shot> shots;
    shots.push_back(TakeShot(main)); // 0: on the first entry
    qvtest::Press(qv, main, {VK_DOWN});
    shots.push_back(TakeShot(main)); // 1: one down
    qvtest::Press(qv, main, {VK_DOWN});
    shots.push_back(TakeShot(main)); // 2: two down
    qvtest::Press(qv, main, {VK_UP});
    shots.push_back(TakeShot(main)); // 3: one down again
    qvtest::Press(qv, main, {VK_NEXT});
    shots.push_back(TakeShot(main)); // 4: the last entry
    std::vector<std::set<int>> filled;
    for (const Shot& shot : shots)
        filled.push_back(FilledRows(shot));
    std::set<int> fixedRows = filled[0];
    for (const std::set<int>& rows : filled)
    {
        std::set<int> common;
        std::set_intersection(fixedRows.begin(), fixedRows.end(), rows.begin(), rows.end(),
                              std::inserter(common, common.begin()));
        fixedRows = common;
    }
    std::vector<int> top;
    std::vector<int> height;
    for (const std::set<int>& rows : filled)
    {
        std::vector<int> band;
        for (int y : rows)
            if (!fixedRows.count(y))
                band.push_back(y);
        ASSERT_FALSE(band.empty()) << "no cursor line found";
        top.push_back(band.front());
        height.push_back(band.back() - band.front() + 1);
    }
    const int lh = top[1] - top[0];
    ASSERT_GT(lh, 4) << "Down did not move the cursor line down";
    EXPECT_EQ(top[2] - top[1], lh);
    EXPECT_EQ(top[3], top[1]) << "Up came back";
    // The list fits one page: Page Down goes to its last entry, whole lines down.
    EXPECT_GE(top[4], top[3] + 9 * lh);
    EXPECT_EQ((top[4] - top[3]) % lh, 0);

    // Shift+Down twice from the second entry (the first may be the parent "..", which
    // is never marked) marks the second to the fourth; compared with the cursor on the
    // fourth entry without marks, only those rows differ.
    qvtest::Press(qv, main, {VK_PRIOR});
    for (int i = 0; i < 3; ++i)
        qvtest::Press(qv, main, {VK_DOWN});
    const Shot plain = TakeShot(main);
    qvtest::Press(qv, main, {VK_PRIOR});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {{VK_DOWN, false, true}});
    qvtest::Press(qv, main, {{VK_DOWN, false, true}});
    const Shot marked = TakeShot(main);
    const std::set<int> differing = DifferingRows(plain, marked, top[0]);
    ASSERT_FALSE(differing.empty()) << "Shift+Down marked nothing";
    EXPECT_GE(*differing.begin(), top[0] + lh) << "a mark before the range";
    EXPECT_LT(*differing.rbegin(), top[0] + 4 * lh) << "a mark beyond the range";
    auto inLine = [&](int line) {
        return std::any_of(differing.begin(), differing.end(),
                           [&](int y) { return y >= top[0] + line * lh && y < top[0] + (line + 1) * lh; });
    };
    EXPECT_TRUE(inLine(1)) << "the first entry of the range is not marked";
    EXPECT_TRUE(inLine(2)) << "the second entry of the range is not marked";

    // A key the filer does not bind changes nothing in the panes.
    const Shot before = TakeShot(main);
    qvtest::Press(qv, main, {'H'});
    const Shot after = TakeShot(main);
    EXPECT_TRUE(DifferingRows(before, after, top[0]).empty());

    ASSERT_TRUE(qv.Close());
    EXPECT_EQ(0u, qv.WaitForExit());
}

} // namespace
