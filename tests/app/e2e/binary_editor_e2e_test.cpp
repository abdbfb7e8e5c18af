// The binary editor in the real program, driven by typed keys: a filer key bound to
// "@Binaryedit" opens the cursor file as bytes, A and 5 overwrite its first byte,
// Ctrl+S writes it, Escape returns to the listing; opened again with an unsaved edit,
// closing the program asks whether to save it.
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

struct Key
{
    WORD vk;
    bool ctrl;
};

void Press(HWND target, const std::vector<Key>& keys)
{
    for (int i = 0; i < 40 && GetForegroundWindow() != target; ++i)
    {
        SetForegroundWindow(target);
        qvtest::PumpMessages(50);
    }
    for (const Key& key : keys)
    {
        std::vector<INPUT> inputs;
        auto add = [&](WORD vk, bool up) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        };
        if (key.ctrl)
            add(VK_CONTROL, false);
        add(key.vk, false);
        add(key.vk, true);
        if (key.ctrl)
            add(VK_CONTROL, true);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        qvtest::PumpMessages(200);
    }
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

// A visible dialog of the process with exactly this caption.
HWND FindDialog(DWORD pid, const std::wstring& caption)
{
    struct Search
    {
        DWORD pid;
        const std::wstring* caption;
        HWND found;
    } search = {pid, &caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (owner == s.pid && IsWindowVisible(window) && *s.caption == text)
            {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring Caption(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

} // namespace

TEST(BinaryEditorEndToEnd, TypedDigitsAreSavedAndClosingWithAnEditAsks)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring prog = root + L"\\prog";
    CreateDirectoryW(prog.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\Qv.exe").c_str(), (prog + L"\\Qv.exe").c_str(), FALSE));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    std::string original;
    for (int i = 0; i < 300; ++i)
        original += static_cast<char>(i * 7 + 0x3C);
    const std::wstring file = left + L"\\data.bin";
    ASSERT_TRUE(qvtest::WriteFileBytes(file, original));
    ASSERT_TRUE(qvtest::WriteFileBytes(
        prog + L"\\qv.ini", "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                            "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                            "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                            "[KEYEXEDATA]\r\nN_H=@Binaryedit\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(prog + L"\\Qv.exe", L"-D\"" + left + L"\" -D\"" + right + L"\""));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    WaitForInputIdle(qv.Process(), 5000);
    qvtest::PumpMessages(500);

    Press(main, {{'H', false}});
    ASSERT_TRUE(WaitFor([&] { return Caption(main).find(L"data.bin") != std::wstring::npos; }))
        << "the key did not open the file in the editor: " << Caption(main).size();
    Press(main, {{'A', false}, {'5', false}, {'S', true}});
    std::string expected = original;
    expected[0] = static_cast<char>(0xA5);
    ASSERT_TRUE(WaitFor([&] { return qvtest::ReadFileBytes(file) == expected; }))
        << "the first byte was not saved as A5";
    Press(main, {{VK_ESCAPE, false}});
    EXPECT_TRUE(WaitFor([&] { return Caption(main).find(L"data.bin") == std::wstring::npos; }))
        << "Escape did not return to the listing";

    // Again, an edit left unsaved: closing asks, and No leaves the file as saved.
    Press(main, {{'H', false}});
    ASSERT_TRUE(WaitFor([&] { return Caption(main).find(L"data.bin") != std::wstring::npos; }));
    Press(main, {{'1', false}});
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        return (question = FindDialog(qv.ProcessId(), L"ファイルの保存")) != nullptr;
    })) << "closing with an unsaved edit did not ask";
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(0u, qv.WaitForExit(30000));
    EXPECT_EQ(qvtest::ReadFileBytes(file), expected);
}
