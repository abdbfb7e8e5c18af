// The real program opens text files in Shift_JIS, UTF-8 and UTF-16 with V while it
// detects the character code itself: all three show the same Japanese lines (the
// pane's body is the same picture), Down and Page Down scroll, and Enter returns to
// the list with the cursor still on the file (the next V opens the same file). Where
// the viewer fills the window, Tab shows the other pane's list in its place and the
// keys act on that list. A large file ends on its own last lines. A history entry
// whose archive cannot be read says why and leaves the viewer on screen.
#include "tests/app/e2e/PanePixels.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::string Narrow(const std::wstring& w, UINT cp)
{
    int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// The window at a known place and size, the panes side by side, and no rows for the
// folders themselves: the pictures of the tests depend on it.
const char kWindowSettings[] = "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                               "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                               "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n";

using e2etest::BodyPixels;
using qvtest::Caption;

bool Distinct(const std::vector<DWORD>& pixels)
{
    for (DWORD p : pixels)
        if (p != pixels.front())
            return true;
    return false;
}

TEST(TextViewerProgram, OpensThreeEncodingsScrollsAndReturnsToTheList)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    std::wstring body;
    for (int i = 0; i < 80; ++i)
        body += std::to_wstring(i) + L"行目 日本語のテキストです。ｶﾀｶﾅと漢字\r\n";
    const std::string utf16 =
        "\xFF\xFE" + std::string(reinterpret_cast<const char*>(body.data()), body.size() * 2);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a_sjis.txt", Narrow(body, 932)));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\b_utf8.txt", Narrow(body, CP_UTF8)));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\c_utf16.txt", utf16));
    ASSERT_TRUE(program.WriteSettings(std::string(kWindowSettings) + "[ALLDATA2]\r\nVIEWER_CHAR_CODE=5\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'V'});
    ASSERT_NE(Caption(main).find(L"a_sjis.txt"), std::wstring::npos) << "V did not open the cursor file";
    const std::vector<DWORD> sjisShot = BodyPixels(main);
    ASSERT_TRUE(Distinct(sjisShot)) << "the viewer shows no text";

    qvtest::Press(qv, main, {VK_DOWN});
    const std::vector<DWORD> afterDown = BodyPixels(main);
    EXPECT_NE(afterDown, sjisShot) << "Down did not scroll";
    qvtest::Press(qv, main, {VK_NEXT});
    EXPECT_NE(BodyPixels(main), afterDown) << "Page Down did not scroll";

    qvtest::Press(qv, main, {VK_RETURN});
    EXPECT_EQ(Caption(main).find(L"a_sjis.txt"), std::wstring::npos) << "Enter did not leave the viewer";
    qvtest::Press(qv, main, {'V'});
    EXPECT_NE(Caption(main).find(L"a_sjis.txt"), std::wstring::npos) << "the cursor left the file";
    qvtest::Press(qv, main, {VK_RETURN});

    const struct
    {
        const wchar_t* name;
    } others[] = {{L"b_utf8.txt"}, {L"c_utf16.txt"}};
    for (const auto& other : others)
    {
        qvtest::Press(qv, main, {VK_DOWN});
        qvtest::Press(qv, main, {'V'});
        ASSERT_NE(Caption(main).find(other.name), std::wstring::npos) << Narrow(other.name, CP_UTF8);
        EXPECT_TRUE(BodyPixels(main) == sjisShot)
            << "shown differently from the Shift_JIS file: " << Narrow(other.name, CP_UTF8);
        qvtest::Press(qv, main, {VK_RETURN});
    }

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

// A client point of the main window as the view under it sees it.
struct ViewPoint
{
    HWND view = nullptr;
    LPARAM client = 0;
    LPARAM screen = 0;
};

ViewPoint PointInMain(HWND main, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(main, &point);
    ViewPoint out;
    out.screen = MAKELPARAM(point.x, point.y);
    out.view = WindowFromPoint(point);
    ScreenToClient(out.view, &point);
    out.client = MAKELPARAM(point.x, point.y);
    return out;
}

void SendMouse(const qvtest::QvProcess& qv, HWND view, UINT message, WPARAM flags, LPARAM point)
{
    SendMessageW(view, message, flags, point);
    qvtest::Settle(qv);
}

TEST(TextViewerProgram, MouseSelectsAndWheelScrollsAndBShowsTheBytes)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "line " + std::to_string(i) + " of the text to select and scroll\r\n";
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\m.txt", text));
    ASSERT_TRUE(program.WriteSettings(kWindowSettings));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);
    qvtest::Press(qv, main, {'V'});
    ASSERT_NE(Caption(main).find(L"m.txt"), std::wstring::npos) << "V did not open the file";
    const std::vector<DWORD> plain = BodyPixels(main);
    ASSERT_TRUE(Distinct(plain));

    RECT client;
    GetClientRect(main, &client);
    const ViewPoint from = PointInMain(main, 60, client.bottom / 3);
    const ViewPoint to = PointInMain(main, 160, client.bottom / 2);
    ASSERT_NE(from.view, nullptr);
    ASSERT_EQ(from.view, to.view);
    HWND view = from.view;

    SendMouse(qv, view, WM_LBUTTONDOWN, MK_LBUTTON, from.client);
    SendMouse(qv, view, WM_MOUSEMOVE, MK_LBUTTON, to.client);
    SendMouse(qv, view, WM_LBUTTONUP, 0, to.client);
    EXPECT_NE(BodyPixels(main), plain) << "the drag drew no selection";
    SendMouse(qv, view, WM_LBUTTONDOWN, MK_LBUTTON, from.client);
    SendMouse(qv, view, WM_LBUTTONUP, 0, from.client);
    EXPECT_EQ(BodyPixels(main), plain) << "a click did not take the selection away";

    SendMouse(qv, view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), from.screen);
    EXPECT_NE(BodyPixels(main), plain) << "the wheel did not scroll";
    SendMouse(qv, view, WM_MOUSEWHEEL, MAKEWPARAM(0, 360), from.screen);
    EXPECT_EQ(BodyPixels(main), plain) << "the wheel back did not return to the top";

    qvtest::Press(qv, main, {'B'});
    EXPECT_NE(BodyPixels(main), plain) << "B did not show the bytes";
    qvtest::Press(qv, main, {'B'});
    EXPECT_EQ(BodyPixels(main), plain) << "B again did not show the text as before";

    qvtest::Press(qv, main, {VK_RETURN});
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

// A file large enough to be read and indexed by two threads ends where a small file
// holding only its last lines ends: Ctrl+End shows the same last screen.
TEST(TextViewerProgram, ALargeFileShowsItsLastLinesAtTheEnd)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    std::wstring large, tail;
    const int kLines = 60000;
    for (int i = 0; i < kLines; ++i)
    {
        std::wstring line = std::to_wstring(i) + L"行目\tテキスト" +
                            std::wstring(static_cast<size_t>(i % 37), L'x') + (i % 3 ? L"\r\n" : L"\n");
        large += line;
        if (i >= kLines - 120)
            tail += line;
    }
    const std::string largeBytes = Narrow(large, 932);
    ASSERT_GT(largeBytes.size(), 32u * 0x10000) << "the file spans many read blocks";
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a_tail.txt", Narrow(tail, 932)));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\b_large.txt", largeBytes));
    ASSERT_TRUE(program.WriteSettings(kWindowSettings));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'V', {VK_END, true}});
    ASSERT_NE(Caption(main).find(L"a_tail.txt"), std::wstring::npos) << "V did not open the small file";
    const std::vector<DWORD> end = BodyPixels(main);
    ASSERT_TRUE(Distinct(end));
    qvtest::Press(qv, main, {VK_RETURN, VK_DOWN, 'V'});
    ASSERT_NE(Caption(main).find(L"b_large.txt"), std::wstring::npos) << "V did not open the large file";
    const std::vector<DWORD> top = BodyPixels(main);
    EXPECT_NE(top, end);
    // Ctrl+End goes to the last line indexed so far: pressed until the load is done.
    std::vector<DWORD> shown;
    const bool same = qvtest::WaitFor(
        [&] {
            qvtest::Press(qv, main, {{VK_END, true}});
            shown = BodyPixels(main);
            return shown == end;
        },
        20000);
    EXPECT_TRUE(same) << (shown == top ? "Ctrl+End did not move"
                                       : "the last screen differs from the file's end");

    qvtest::Press(qv, main, {VK_RETURN});
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

TEST(TextViewerProgram, TabFromAViewerThatFillsTheWindowShowsTheOtherPanesList)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    CreateDirectoryW((right + L"\\inner").c_str(), nullptr);
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(qvtest::WriteFileBytes(right + L"\\file" + std::to_wstring(i) + L".dat", "x"));
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "viewer line " + std::to_string(i) + " with some words on it\r\n";
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\t.txt", text));
    ASSERT_TRUE(program.WriteSettings(kWindowSettings));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'V'});
    ASSERT_NE(Caption(main).find(L"t.txt"), std::wstring::npos) << "V did not open the file";
    const std::vector<DWORD> viewer = BodyPixels(main);
    ASSERT_TRUE(Distinct(viewer));

    qvtest::Press(qv, main, {VK_TAB});
    EXPECT_NE(Caption(main).find(right), std::wstring::npos) << "the right pane is not active";
    const std::vector<DWORD> list = BodyPixels(main);
    EXPECT_NE(list, viewer) << "the viewer stayed on screen";
    EXPECT_TRUE(Distinct(list)) << "the right pane's list is not drawn";
    // What Tab left on screen is what the window shows when it is painted afresh.
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    qvtest::Settle(qv);
    EXPECT_TRUE(BodyPixels(main) == list) << "Tab left the screen unlike a fresh painting";

    // The keys act on the list on screen: Enter opens the folder under its cursor.
    qvtest::Press(qv, main, {VK_RETURN});
    EXPECT_NE(Caption(main).find(right + L"\\inner"), std::wstring::npos) << "Enter did not open the folder";
    EXPECT_NE(BodyPixels(main), list) << "the opened folder is not shown";

    qvtest::Press(qv, main, {VK_TAB});
    EXPECT_NE(Caption(main).find(L"t.txt"), std::wstring::npos) << "Tab did not return to the viewer";
    EXPECT_TRUE(BodyPixels(main) == viewer) << "the viewer is not shown again as it was";

    qvtest::Press(qv, main, {VK_RETURN});
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

TEST(TextViewerProgram, AHistoryEntryInAnArchiveThatCannotBeReadSaysWhyAndKeepsTheViewer)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "shown line " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.txt", text));
    const std::wstring broken = left + L"\\broken.zip";
    ASSERT_TRUE(qvtest::WriteFileBytes(broken, std::string("PK\x03\x04") + std::string(60, '\x7f')));
    std::string brokenNarrow(broken.begin(), broken.end());
    ASSERT_TRUE(program.WriteSettings(std::string(kWindowSettings) +
                                      "[VIEWKEYEXEDATA]\r\nN_F3=@ViewHistory\r\n"
                                      "[VIEW_HISTORY]\r\nFILE_NAME0=m.txt\r\nPATH0=docs\r\nARCHIVE_PATH0=" +
                                      brokenNarrow + "\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'V'});
    ASSERT_NE(Caption(main).find(L"a.txt"), std::wstring::npos) << "V did not open the file";
    const std::vector<DWORD> viewer = BodyPixels(main);
    ASSERT_TRUE(Distinct(viewer));

    // F3 shows the history, the file just viewed on top; Down and Enter choose the
    // member of the broken archive below it.
    qvtest::Press(qv, main, {VK_F3});
    qvtest::WindowMatch history;
    history.caption = L"閲覧履歴";
    history.dialogOnly = true;
    HWND dialog = qvtest::WaitForProcessWindow(qv.ProcessId(), history);
    ASSERT_NE(nullptr, dialog) << "F3 did not show the history";
    qvtest::Press(qv, dialog, {VK_DOWN, VK_RETURN});
    qvtest::WindowMatch failure;
    failure.caption = L"圧縮ファイルの閲覧失敗";
    failure.dialogOnly = true;
    HWND box = qvtest::WaitForProcessWindow(qv.ProcessId(), failure);
    ASSERT_NE(nullptr, box) << "the failure was not told";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(qvtest::PumpUntil([&] { return qvtest::FindProcessWindows(qv.ProcessId(), failure).empty(); },
                                  10000));
    qvtest::Settle(qv);
    EXPECT_NE(Caption(main).find(L"a.txt"), std::wstring::npos) << "the viewer was left";
    EXPECT_TRUE(BodyPixels(main) == viewer) << "the text is no longer shown";

    // The keys still act on the text: Down scrolls it.
    qvtest::Press(qv, main, {VK_DOWN});
    EXPECT_NE(BodyPixels(main), viewer) << "Down did not scroll the text";

    qvtest::Press(qv, main, {VK_RETURN});
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

} // namespace
