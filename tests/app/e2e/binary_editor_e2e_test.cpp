// The binary editor in the real program, driven by typed keys: a filer key bound to
// "@Binaryedit" opens the cursor file as bytes, A and 5 overwrite its first byte,
// Ctrl+S writes it, Escape returns to the listing; opened again with an unsaved edit,
// closing the program asks whether to save it.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

bool WaitFor(const std::function<bool()>& done)
{
    return qvtest::PumpUntil(done, 20000);
}

using qvtest::Caption;

} // namespace

TEST(BinaryEditorEndToEnd, TypedDigitsAreSavedAndClosingWithAnEditAsks)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    std::string original;
    for (int i = 0; i < 300; ++i)
        original += static_cast<char>(i * 7 + 0x3C);
    const std::wstring file = left + L"\\data.bin";
    ASSERT_TRUE(qvtest::WriteFileBytes(file, original));
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                              "[KEYEXEDATA]\r\nN_H=@Binaryedit\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'H'});
    ASSERT_TRUE(WaitFor([&] { return Caption(main).find(L"data.bin") != std::wstring::npos; }))
        << "the key did not open the file in the editor: " << Caption(main).size();
    qvtest::Press(qv, main, {'A', '5', {'S', true}});
    std::string expected = original;
    expected[0] = static_cast<char>(0xA5);
    ASSERT_TRUE(WaitFor([&] { return qvtest::ReadFileBytes(file) == expected; }))
        << "the first byte was not saved as A5";
    qvtest::Press(qv, main, {VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"data.bin") == std::wstring::npos; }))
        << "Escape did not return to the listing";

    // Again, an edit left unsaved: closing asks, and No leaves the file as saved.
    qvtest::Press(qv, main, {'H'});
    ASSERT_TRUE(WaitFor([&] { return Caption(main).find(L"data.bin") != std::wstring::npos; }));
    qvtest::Press(qv, main, {'1'});
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question = qvtest::WaitForDialog(qv.ProcessId(), L"ファイルの保存");
    ASSERT_TRUE(question != nullptr) << "closing with an unsaved edit did not ask";
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(0u, qv.WaitForExit(30000));
    EXPECT_EQ(qvtest::ReadFileBytes(file), expected);
}
