// The real program's main view: the frame placed from the settings file, the settings
// saved when the frame is closed, and a screenshot of the two panes over two folders
// with Japanese names, kept under the build folder's artifacts for a person to look at.
#include "util/IniFile.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{

// Writes the window's pixels as seen on the screen into a 24-bit BMP file, and counts
// the distinct colours inside its client area.
bool SaveWindowBitmap(HWND window, const std::wstring& path, size_t* clientColours)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap != nullptr)
    {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        const DWORD stride = ((width * 3) + 3) & ~3;
        const DWORD imageBytes = stride * height;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
        file.bfSize = file.bfOffBits + imageBytes;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
        bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
        bytes.append(static_cast<const char*>(bits), imageBytes);
        ok = qvtest::WriteFileBytes(path, bytes);
        RECT client;
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::set<DWORD> colours;
        for (int y = client.top - rect.top; y < client.bottom - rect.top; ++y)
        {
            // Bottom-up rows.
            const auto* row = static_cast<const BYTE*>(bits) + static_cast<size_t>(height - 1 - y) * stride;
            for (int x = client.left - rect.left; x < client.right - rect.left; ++x)
                colours.insert(row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16));
        }
        *clientColours = colours.size();
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

TEST(MainView, TheFrameIsPlacedFromTheSettingsAndClosingItSavesThem)
{
    const qvtest::QvProgram program(qvtest::ScratchDir());
    ASSERT_TRUE(program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=37\r\nFIRSTY=41\r\n"
                                      "STARTSIZE=2\r\nFIRSTWIDE=700\r\nFIRSTHEIGHT=500\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe()));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    RECT rect = {};
    GetWindowRect(main, &rect);
    EXPECT_EQ(37, rect.left);
    EXPECT_EQ(41, rect.top);
    EXPECT_EQ(700, rect.right - rect.left);
    EXPECT_EQ(500, rect.bottom - rect.top);

    // The user moves the frame; the place at the end is what the file keeps.
    SetWindowPos(main, nullptr, 60, 70, 720, 520, SWP_NOZORDER | SWP_NOACTIVATE);
    qvtest::Settle(qv);
    ASSERT_TRUE(qv.Close());
    EXPECT_EQ(0u, qv.WaitForExit());

    CIniFile ini;
    ini.filePath = program.SettingsPath().c_str();
    ASSERT_EQ(INI_LOAD_OK, ini.Load());
    EXPECT_EQ(60, ini.GetInt(L"ALLDATA", L"ENDX", -1));
    EXPECT_EQ(70, ini.GetInt(L"ALLDATA", L"ENDY", -1));
    EXPECT_EQ(720, ini.GetInt(L"ALLDATA", L"ENDWIDE", -1));
    EXPECT_EQ(520, ini.GetInt(L"ALLDATA", L"ENDHEIGHT", -1));
    EXPECT_EQ(37, ini.GetInt(L"ALLDATA", L"FIRSTX", -1)) << "the rest of the file survives";
}

TEST(MainView, StartSizeOneOpensTheFrameMaximised)
{
    const qvtest::QvProgram program(qvtest::ScratchDir());
    ASSERT_TRUE(program.WriteSettings("[ALLDATA]\r\nSTARTSIZE=1\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe()));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);
    EXPECT_TRUE(IsZoomed(main)) << "the start-up show command undid the maximised frame";
    ASSERT_TRUE(qv.Close());
    EXPECT_EQ(0u, qv.WaitForExit());
}

TEST(MainView, ScreenshotOfTwoPanesOverFoldersWithJapaneseNames)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    const std::wstring left = root + L"\\左の書類";
    const std::wstring right = root + L"\\右の写真";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    for (const wchar_t* name :
         {L"見積書.txt", L"議事録_2026年.doc", L"readme.md", L"長いファイル名のテキスト.txt"})
        ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\" + name, "x"));
    CreateDirectoryW((left + L"\\サブフォルダ").c_str(), nullptr);
    for (const wchar_t* name : {L"富士山.jpg", L"桜の写真.png", L"photo.bmp"})
        ASSERT_TRUE(qvtest::WriteFileBytes(right + L"\\" + name, std::string(1234, 'p')));
    ASSERT_TRUE(program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                                      "STARTSIZE=2\r\nFIRSTWIDE=900\r\nFIRSTHEIGHT=600\r\n"));

    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    qvtest::Settle(qv);
    ASSERT_TRUE(IsWindow(main));

    // The build folder's artifacts: the test program lies in <build>\bin.
    const std::wstring artifacts = qvtest::ProgramDir() + L"\\..\\artifacts";
    CreateDirectoryW(artifacts.c_str(), nullptr);
    const std::wstring shot = artifacts + L"\\main-view.bmp";
    size_t colours = 0;
    EXPECT_TRUE(SaveWindowBitmap(main, shot, &colours));
    EXPECT_GT(qvtest::ReadFileBytes(shot).size(), 900u * 600u * 3u);
    // Background, the entry colours, the status rows and the cursor line; an empty
    // window has one or two.
    EXPECT_GE(colours, 5u) << "the panes were not drawn";

    ASSERT_TRUE(qv.Close());
    EXPECT_EQ(0u, qv.WaitForExit());
}

} // namespace

namespace
{

// The program hands the settings reader the image plug-in folder scan: a plug-in in
// the folder the file names is listed by the time the settings are saved at the end.
TEST(MainView, ThePlugInFolderIsScannedAtStartUp)
{
    const qvtest::QvProgram program(qvtest::ScratchDir());
    const std::wstring plugIns = program.Folder() + L"\\spi";
    ASSERT_TRUE(CreateDirectoryW(plugIns.c_str(), nullptr));
    ASSERT_TRUE(program.CopyBeside(L"spi_jpg.sph", L"spi"));
    const std::wstring text = L"[SUSIEDATA]\r\nSUSIEDIRECTORY=" + plugIns + L"\r\n";
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    ASSERT_TRUE(program.WriteSettings(bytes));

    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe()));
    ASSERT_NE(nullptr, qv.WaitForMainWindow(L" - qv"));
    ASSERT_TRUE(qv.Close());
    EXPECT_EQ(0u, qv.WaitForExit());

    CIniFile ini;
    ini.filePath = program.SettingsPath().c_str();
    ASSERT_EQ(INI_LOAD_OK, ini.Load());
    CString first;
    ini.GetString(L"SUSIEDATA", L"PLUGINFILE0", L"", &first);
    EXPECT_EQ(CString(L"@spi_jpg.sph"), first);
}

} // namespace
