// The real program driven by typed keys: a zip holds "Makefile" and "makefile" with
// different texts, as archives made on Unix do. Enter on each of the two rows shows
// that member's own text: the viewer's body is the same picture as that of a member
// of another name with the same text. G on each of two picture twins shows its own
// picture, and a zip shown as a thumbnail shows the picture of the twin that holds one.
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "tests/app/e2e/PanePixels.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{

using e2etest::BodyPixels;

// The viewer's text without the row above it that names the member shown.
std::vector<DWORD> TextPixels(HWND window)
{
    return BodyPixels(window, 32);
}

} // namespace

TEST(ArchiveTwinsEndToEnd, EnterOnEachOfTwoRowsWhoseNamesDifferOnlyInCaseShowsThatMembersText)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    const std::string upper = "UPPER CASE TWIN\r\nWWWWWWWWWWWWWWWW\r\n";
    const std::string lower = "lower case twin\r\n................\r\n";
    // Two more members hold the same texts under names of their own; they come after
    // the two in the listing's name order.
    sztest::WriteStoredZip(
        left + L"\\twins.zip",
        {{"Makefile", upper}, {"makefile", lower}, {"ref_lower", lower}, {"ref_upper", upper}});
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                              "[KEYEXEDATA]\r\nN_F5=@Packview\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F5 lists the zip. The pictures of the two texts, from the members of their own
    // names.
    qvtest::Press(qv, main, {VK_F5});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {VK_RETURN});
    ASSERT_NE(qvtest::Caption(main).find(L"ref_lower"), std::wstring::npos) << "Enter did not show ref_lower";
    const std::vector<DWORD> lowerPicture = TextPixels(main);
    qvtest::Press(qv, main, {VK_RETURN});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {VK_RETURN});
    ASSERT_NE(qvtest::Caption(main).find(L"ref_upper"), std::wstring::npos) << "Enter did not show ref_upper";
    const std::vector<DWORD> upperPicture = TextPixels(main);
    ASSERT_NE(lowerPicture, upperPicture);
    qvtest::Press(qv, main, {VK_RETURN});

    // Enter on each of the first two rows shows its own member.
    qvtest::Press(qv, main, {VK_UP});
    qvtest::Press(qv, main, {VK_UP});
    qvtest::Press(qv, main, {VK_UP});
    int shown = 0;
    for (int row = 0; row < 2; ++row)
    {
        if (row > 0)
            qvtest::Press(qv, main, {VK_DOWN});
        qvtest::Press(qv, main, {VK_RETURN});
        const std::wstring caption = qvtest::Caption(main);
        SCOPED_TRACE(caption);
        const bool upperRow = caption.find(L"Makefile") != std::wstring::npos;
        const bool lowerRow = caption.find(L"makefile") != std::wstring::npos;
        ASSERT_NE(upperRow, lowerRow) << "Enter did not show one of the two members";
        EXPECT_EQ(upperRow ? upperPicture : lowerPicture, TextPixels(main));
        shown |= upperRow ? 1 : 2;
        qvtest::Press(qv, main, {VK_RETURN});
    }
    EXPECT_EQ(3, shown) << "the two rows did not show the two members";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

// A member whose name is 255 characters long opens with its kind from the program's
// own temporary folder and its copy goes at exit; one of 300 characters, which no
// folder can hold, is refused with a message that names it, and nothing of it is
// written. The kind of the longer one is found from its whole name, though its row
// holds only the start of it.
TEST(ArchiveTwinsEndToEnd, AMemberNameNoFolderCanHoldIsRefusedAndA255CharacterOneOpens)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    const std::wstring temp = root + L"\\temp";
    for (const std::wstring& dir : {left, right, temp})
        CreateDirectoryW(dir.c_str(), nullptr);
    const std::string fits = std::string(251, 'a') + ".txt";
    const std::string tooLong = std::string(296, 'b') + ".txt";
    sztest::WriteStoredZip(left + L"\\long.zip", {{fits, "fits\r\n"}, {tooLong, "too long\r\n"}});
    const std::string narrowTemp(temp.begin(), temp.end());
    ASSERT_TRUE(program.WriteSettings(
        "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
        "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
        "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
        "[ALLDATA2]\r\nDELTEMPATEND=1\r\n[SUSIEDATA]\r\nTEMPDIRECTORY=" +
        narrowTemp +
        "\r\n[KEYEXEDATA]\r\nN_F5=@Packview\r\n"
        "[KINDEXEDATA]\r\nKINDEXENAME0=txt\r\nKINDEXE0=cmd.exe\r\nKINDEXEPARAM0=/c exit\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);
    const std::wstring own = temp + L"\\qv" + std::to_wstring(qv.ProcessId());
    const std::wstring fitsName(fits.begin(), fits.end());

    // F5 lists the zip; Enter on the 300-character member (the second row): a message
    // that names it, and nothing written.
    qvtest::Press(qv, main, {VK_F5});
    qvtest::Press(qv, main, {VK_DOWN});
    qvtest::Press(qv, main, {VK_RETURN});
    qvtest::WindowMatch refusal;
    refusal.dialogOnly = true;
    refusal.messagePart = L"解凍後ファイル名が長すぎます";
    HWND box = qvtest::WaitForDialog(qv.ProcessId(), L"", 20000, refusal.messagePart);
    ASSERT_NE(nullptr, box) << "no refusal was shown";
    qvtest::WindowMatch named = refusal;
    named.messagePart = std::wstring(40, L'b');
    EXPECT_FALSE(qvtest::FindProcessWindows(qv.ProcessId(), named).empty()) << "the refusal does not name it";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(qvtest::PumpUntil([&] { return qvtest::FindProcessWindows(qv.ProcessId(), refusal).empty(); },
                                  10000));
    EXPECT_TRUE(qvtest::ListFolder(own).empty());

    // Enter on the 255-character member extracts it into the own folder.
    qvtest::Press(qv, main, {VK_UP});
    qvtest::Press(qv, main, {VK_RETURN});
    EXPECT_TRUE(qvtest::PumpUntil([&] { return qvtest::ListFolder(own).count(fitsName) == 1; }, 20000))
        << "the 255-character member was not extracted into the own folder";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
    // The console the system gave the kind's program may still hold the emptied folder
    // as its current directory for a moment; the member's copy is gone in any case.
    EXPECT_EQ(0u, qvtest::ListFolder(own).count(fitsName)) << "the member's copy outlived the program";
}

namespace
{

constexpr DWORD kRed = 0xFF0000, kBlue = 0x0000FF;

std::string SolidBmp(DWORD rgb)
{
    return qvtest::SolidBmp(64, 48, BYTE(rgb), BYTE(rgb >> 8), BYTE(rgb >> 16));
}

// The colour (0xRRGGBB) of a client pixel, read from the screen.
DWORD ClientPixel(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return DWORD(GetRValue(colour)) << 16 | DWORD(GetGValue(colour)) << 8 | GetBValue(colour);
}

// How many pixels of the left pane's body show the colour.
size_t CountPixels(HWND window, DWORD rgb)
{
    size_t count = 0;
    for (DWORD pixel : BodyPixels(window))
        count += pixel == rgb ? 1 : 0;
    return count;
}

// A fixed 800x600 window with side-by-side panes, no quit question, the stand-in BMP
// plug-in's folder, and F5 listing an archive; `more` is added as it stands.
std::string PictureSettings(const std::wstring& plugIns, const std::string& more = "")
{
    return "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
           "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
           "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
           "[SUSIEDATA]\r\nSUSIEDIRECTORY=" +
           std::string(plugIns.begin(), plugIns.end()) + "\r\n[KEYEXEDATA]\r\nN_F5=@Packview\r\n" + more;
}

} // namespace

// G on each of two picture members whose names differ only in case shows that
// member's own picture: one is red, the other blue.
TEST(ArchiveTwinsEndToEnd, ThePictureViewerShowsEachOfTwoCaseTwinsOwnPicture)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    ASSERT_TRUE(program.CopyBeside(L"spi_bmp.sph", L"spi"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    sztest::WriteStoredZip(left + L"\\pictures.zip",
                           {{"Photo.bmp", SolidBmp(kRed)}, {"photo.bmp", SolidBmp(kBlue)}});
    ASSERT_TRUE(program.WriteSettings(PictureSettings(program.Folder() + L"\\spi")));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F5 lists the zip; G on each row shows a picture, Esc and Enter on the question
    // return to the listing with the cursor where it was.
    qvtest::Press(qv, main, {VK_F5});
    std::set<DWORD> shown;
    for (int row = 0; row < 2; ++row)
    {
        SCOPED_TRACE(row);
        if (row > 0)
            qvtest::Press(qv, main, {VK_DOWN});
        qvtest::Press(qv, main, {'G'});
        DWORD colour = 0;
        EXPECT_TRUE(qvtest::PumpUntil(
            [&] {
                colour = ClientPixel(main, 10, 10);
                return colour == kRed || colour == kBlue;
            },
            20000))
            << "G showed no picture";
        const std::wstring caption = qvtest::Caption(main);
        const bool upperRow = caption.find(L"Photo.bmp") != std::wstring::npos;
        const bool lowerRow = caption.find(L"photo.bmp") != std::wstring::npos;
        ASSERT_NE(upperRow, lowerRow) << "the title names neither twin";
        EXPECT_EQ(upperRow ? kRed : kBlue, colour) << "the picture is not the named member's";
        shown.insert(colour);
        qvtest::Press(qv, main, {VK_ESCAPE});
        HWND question = qvtest::WaitForDialog(qv.ProcessId(), L"画像の表示の終了の確認");
        ASSERT_NE(nullptr, question) << "Esc did not ask";
        qvtest::Press(qv, question, {VK_RETURN});
        ASSERT_TRUE(qvtest::PumpUntil(
            [&] { return qvtest::Caption(main).find(L"幅:") == std::wstring::npos; }, 20000))
            << "the picture stayed";
        qvtest::Settle(qv);
    }
    EXPECT_EQ((std::set<DWORD>{kRed, kBlue}), shown) << "the two rows did not show the two pictures";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}

// A folder shown as thumbnails shows an archive as the picture of its first member that
// a plug-in reads. Of two members whose names differ only in case, the first in order
// is no picture at all: the thumbnail is the other's own picture, and in a second zip
// the other way round, so each twin's picture is shown by its own member.
TEST(ArchiveTwinsEndToEnd, TheThumbnailOfAZipIsThePictureOfTheTwinThatHoldsOne)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    ASSERT_TRUE(program.CopyBeside(L"spi_bmp.sph", L"spi"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    const std::string notAPicture = "not a picture at all, though its name says so";
    sztest::WriteStoredZip(left + L"\\blue.zip",
                           {{"Photo.bmp", notAPicture}, {"photo.bmp", SolidBmp(kBlue)}});
    sztest::WriteStoredZip(left + L"\\red.zip", {{"photo.bmp", notAPicture}, {"Photo.bmp", SolidBmp(kRed)}});
    const std::string narrowLeft(left.begin(), left.end());
    ASSERT_TRUE(program.WriteSettings(
        PictureSettings(program.Folder() + L"\\spi", "[LOAD_PREVIEW]\r\nINIT=1\r\nDIR0=" + narrowLeft +
                                                         "\r\nTYPE0=1\r\n"
                                                         "DISP_FILE_KIND0=BMP\r\nDISP_FILE_KIND1=ZIP\r\n")));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    EXPECT_TRUE(qvtest::PumpUntil(
        [&] { return CountPixels(main, kRed) > 100 && CountPixels(main, kBlue) > 100; }, 30000))
        << "red " << CountPixels(main, kRed) << ", blue " << CountPixels(main, kBlue);

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);
}
