// Graphic mode in the real program, driven by typed keys, with the stand-in BMP
// plug-in as the only image plug-in: G shows the first marked picture (its colour in
// the picture area, its size in the title), N the second, N returns to the list; and
// G, Esc and Enter on the question return to the list with the cursor where it was.
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

void Press(HWND target, WORD vk)
{
    // Typed keys go to the foreground window: make sure it is the one meant.
    for (int i = 0; i < 40 && GetForegroundWindow() != target; ++i)
    {
        SetForegroundWindow(target);
        qvtest::PumpMessages(50);
    }
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    qvtest::PumpMessages(300);
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

std::wstring Caption(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100)
    {
        if (done())
            return true;
        qvtest::PumpMessages(100);
    }
    return done();
}

HWND FindDialog(DWORD pid, const wchar_t* caption)
{
    struct Search
    {
        DWORD pid;
        const wchar_t* caption;
        HWND found;
    } search = {pid, caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (owner == s.pid && IsWindowVisible(window) && wcscmp(text, s.caption) == 0)
            {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

constexpr DWORD kRed = 0xFF0000, kBlue = 0x0000FF;

TEST(GraphicViewProgram, ShowsTheMarkedPicturesStepsAndReturnsToTheList)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring prog = root + L"\\prog";
    const std::wstring plugIns = prog + L"\\spi";
    CreateDirectoryW(prog.c_str(), nullptr);
    CreateDirectoryW(plugIns.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\Qv.exe").c_str(), (prog + L"\\Qv.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\spi_bmp.sph").c_str(),
                          (plugIns + L"\\spi_bmp.sph").c_str(), FALSE));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.bmp", SolidBmp(64, 48, kRed)));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\b.bmp", SolidBmp(64, 48, kBlue)));
    std::string plugInFolder;
    for (wchar_t c : plugIns)
        plugInFolder += char(c);
    ASSERT_TRUE(qvtest::WriteFileBytes(
        prog + L"\\qv.ini", "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                            "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                            "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                            "[SUSIEDATA]\r\nSUSIEDIRECTORY=" +
                                plugInFolder + "\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(prog + L"\\Qv.exe", L"-D\"" + left + L"\" -D\"" + right + L"\""));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    SetForegroundWindow(main);
    qvtest::PumpMessages(500);
    WaitForInputIdle(qv.Process(), 5000);

    // Home marks every file; the cursor goes to the second file before G.
    Press(main, VK_HOME);
    Press(main, VK_DOWN);
    Press(main, 'G');
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kRed; }))
        << "G did not show the first picture";
    EXPECT_NE(Caption(main).find(L"幅:64 高さ48"), std::wstring::npos) << "the title does not give the size";
    Press(main, 'N');
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kBlue; }))
        << "N did not show the second picture";
    Press(main, 'N');
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"幅:") == std::wstring::npos; }))
        << "N after the last picture did not return to the list";
    EXPECT_NE(ClientPixel(main, 10, 10), kBlue);

    Press(main, 'G');
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(main, 10, 10) == kRed; }));
    Press(main, VK_ESCAPE);
    HWND question = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        return (question = FindDialog(qv.ProcessId(), L"画像の表示の終了の確認")) != nullptr;
    })) << "Esc did not ask";
    if (question != nullptr)
        Press(question, VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"幅:") == std::wstring::npos; }))
        << "Enter on the question did not return to the list";
    // The cursor stayed on the second file: the text viewer opens it.
    Press(main, 'V');
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"b.bmp") != std::wstring::npos; }))
        << "the cursor left its file: " << Caption(main).size();
    Press(main, VK_RETURN);

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

} // namespace
