// Graphic mode in the real program, driven by typed keys, with the stand-in BMP
// plug-in as the only image plug-in: G shows the first marked picture (its colour in
// the picture area, its size in the title), N the second, N returns to the list; and
// G, Esc and Enter on the question return to the list with the cursor where it was;
// Ctrl and the wheel zoom the shown picture.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{

std::string SolidBmp(int width, int height, DWORD rgb)
{
    return qvtest::SolidBmp(width, height, BYTE(rgb), BYTE(rgb >> 8), BYTE(rgb >> 16));
}

// The colour (0xRRGGBB) of the client pixel, read from the screen.
DWORD ClientPixel(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return DWORD(GetRValue(colour)) << 16 | DWORD(GetGValue(colour)) << 8 | GetBValue(colour);
}

using qvtest::Caption;

bool WaitFor(const std::function<bool()>& done)
{
    return qvtest::PumpUntil(done, 20000);
}

constexpr DWORD kRed = 0xFF0000, kBlue = 0x0000FF;

// A fixed 800x600 window with side-by-side panes, no quit question, and the image
// plug-ins read from `plugIns`.
bool WriteWindowAndPlugInSettings(const qvtest::QvProgram& program, const std::wstring& plugIns)
{
    std::string plugInFolder;
    for (wchar_t c : plugIns)
        plugInFolder += char(c);
    return program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                                 "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                                 "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                                 "[SUSIEDATA]\r\nSUSIEDIRECTORY=" +
                                 plugInFolder + "\r\n");
}

TEST(GraphicViewProgram, ShowsTheMarkedPicturesStepsAndReturnsToTheList)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    const std::wstring plugIns = program.Folder() + L"\\spi";
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"spi_bmp.sph", L"spi"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.bmp", SolidBmp(64, 48, kRed)));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\b.bmp", SolidBmp(64, 48, kBlue)));
    ASSERT_TRUE(WriteWindowAndPlugInSettings(program, plugIns));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // Home marks every file; the cursor goes to the second file before G.
    qvtest::Press(qv, main, {VK_HOME});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {'G'});
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kRed; }))
        << "G did not show the first picture";
    EXPECT_NE(Caption(main).find(L"幅:64 高さ48"), std::wstring::npos) << "the title does not give the size";
    qvtest::Press(qv, main, {'N'});
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kBlue; }))
        << "N did not show the second picture";
    qvtest::Press(qv, main, {'N'});
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"幅:") == std::wstring::npos; }))
        << "N after the last picture did not return to the list";
    EXPECT_NE(ClientPixel(main, 10, 10), kBlue);

    qvtest::Press(qv, main, {'G'});
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kRed; }));
    qvtest::Press(qv, main, {VK_ESCAPE});
    HWND question = qvtest::WaitForDialog(qv.ProcessId(), L"画像の表示の終了の確認");
    EXPECT_TRUE(question != nullptr) << "Esc did not ask";
    if (question != nullptr)
        qvtest::Press(qv, question, {VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"幅:") == std::wstring::npos; }))
        << "Enter on the question did not return to the list";
    // The cursor stayed on the second file: the text viewer opens it.
    qvtest::Press(qv, main, {'V'});
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"b.bmp") != std::wstring::npos; }))
        << "the cursor left its file: " << Caption(main).size();
    qvtest::Press(qv, main, {VK_RETURN});

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

// The wheel with Ctrl over a shown picture zooms it in, as the mouse table has it
// by default: the picture grows past where it ended.
TEST(GraphicViewProgram, TheWheelWithCtrlZoomsTheShownPicture)
{
    const std::wstring root = qvtest::ScratchDir() + L"\\wheel";
    CreateDirectoryW(root.c_str(), nullptr);
    const qvtest::QvProgram program(root);
    const std::wstring plugIns = program.Folder() + L"\\spi";
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"spi_bmp.sph", L"spi"));
    const std::wstring left = root + L"\\left";
    CreateDirectoryW(left.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.bmp", SolidBmp(64, 48, kRed)));
    ASSERT_TRUE(WriteWindowAndPlugInSettings(program, plugIns));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, left)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'G'});
    ASSERT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kRed; })) << "G did not show the picture";
    EXPECT_NE(ClientPixel(main, 80, 60), kRed);
    POINT at = {10, 10};
    ClientToScreen(main, &at);
    HWND view = WindowFromPoint(at);
    ASSERT_NE(nullptr, view);
    ASSERT_TRUE(
        PostMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(at.x, at.y)));
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(main, 80, 60) == kRed; }))
        << "Ctrl and the wheel did not zoom";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

// The panes' scroll bars of the program's view (child windows 30000 and 30001) that
// are shown now.
int ShownPaneBars(HWND main)
{
    struct Found
    {
        int count = 0;
    } found;
    EnumChildWindows(
        main,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t className[16] = {};
            GetClassNameW(child, className, 16);
            const int id = GetDlgCtrlID(child);
            if (_wcsicmp(className, L"SCROLLBAR") == 0 && (id == 30000 || id == 30001) &&
                IsWindowVisible(child))
                ++reinterpret_cast<Found*>(data)->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.count;
}

// While a picture is shown no pane's scroll bar stays over it; back in the list both
// panes have theirs again.
TEST(GraphicViewProgram, TheShownPictureHidesThePaneScrollBarsUntilTheListReturns)
{
    const std::wstring root = qvtest::ScratchDir() + L"\\bars";
    CreateDirectoryW(root.c_str(), nullptr);
    const qvtest::QvProgram program(root);
    const std::wstring plugIns = program.Folder() + L"\\spi";
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"spi_bmp.sph", L"spi"));
    const std::wstring left = root + L"\\left";
    CreateDirectoryW(left.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.bmp", SolidBmp(64, 48, kRed)));
    ASSERT_TRUE(WriteWindowAndPlugInSettings(program, plugIns));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, left)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    EXPECT_TRUE(WaitFor([&] { return ShownPaneBars(main) == 2; })) << "the lists have no scroll bars";
    qvtest::Press(qv, main, {'G'});
    ASSERT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kRed; })) << "G did not show the picture";
    EXPECT_EQ(0, ShownPaneBars(main)) << "a pane's scroll bar stayed over the picture";
    qvtest::Press(qv, main, {'N'});
    ASSERT_TRUE(WaitFor([&] { return Caption(main).find(L"幅:") == std::wstring::npos; }))
        << "N after the only picture did not return to the list";
    EXPECT_TRUE(WaitFor([&] { return ShownPaneBars(main) == 2; })) << "the lists did not get their bars back";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

// A new installation has no image plug-in: G on a picture says that none reads it and
// where the plug-in folder is set, and the pane stays on its list.
TEST(GraphicViewProgram, WithoutAnImagePlugInGSaysSoAndWhereThePlugInFolderIsSet)
{
    const std::wstring root = qvtest::ScratchDir() + L"\\fresh";
    CreateDirectoryW(root.c_str(), nullptr);
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    CreateDirectoryW(left.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.bmp", SolidBmp(64, 48, kRed)));
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nNOTQUITMESSAGE=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, left)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'G'});
    qvtest::WindowMatch told;
    told.caption = L"画像の表示";
    told.dialogOnly = true;
    told.messagePart = L"画像プラグインがありません";
    HWND message = qvtest::WaitForDialog(qv.ProcessId(), told.caption, 20000, told.messagePart);
    ASSERT_NE(nullptr, message) << "G on a picture no plug-in reads said nothing";
    told.messagePart = L"画像表示設定";
    EXPECT_FALSE(qvtest::FindProcessWindows(qv.ProcessId(), told).empty()) << "the setting is not named";
    qvtest::Press(qv, message, {VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return qvtest::FindProcessWindows(qv.ProcessId(), told).empty(); }));
    EXPECT_EQ(Caption(main).find(L"幅:"), std::wstring::npos);
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), qv.WaitForExit(0));

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

} // namespace
