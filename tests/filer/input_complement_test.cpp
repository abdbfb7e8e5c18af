// Ctrl+Tab completion of paths in an edit field, over real folders.
#include "filer/dialogs/InputComplement.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{
class InputComplementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_base = qvtest::ScratchDir() + L"\\complete";
        CreateDirectoryW(m_base.c_str(), nullptr);
        CreateDirectoryW((m_base + L"\\alpha").c_str(), nullptr);
        CreateDirectoryW((m_base + L"\\beta").c_str(), nullptr);
        CreateDirectoryW((m_base + L"\\alpha\\x2").c_str(), nullptr);
        qvtest::WriteFileBytes(m_base + L"\\alpine.txt", "a");
        qvtest::WriteFileBytes(m_base + L"\\alpha\\x1.txt", "x");
        m_parent =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 50, nullptr, nullptr, nullptr, nullptr);
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 20, m_parent,
                        reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
    }
    void TearDown() override
    {
        m_complement.reset();
        DestroyWindow(m_parent);
    }
    void Attach(int mode, LPCWSTR base = nullptr)
    {
        m_complement = std::make_unique<CInputComplement>();
        ASSERT_TRUE(m_complement->Attach(CWnd::FromHandle(m_parent), kEditId, FALSE, mode,
                                         base != nullptr ? base : m_base.c_str()));
    }
    void Type(const std::wstring& text) { SetDlgItemTextW(m_parent, kEditId, text.c_str()); }
    std::wstring Text() const
    {
        wchar_t text[1024] = {};
        GetDlgItemTextW(m_parent, kEditId, text, 1024);
        return text;
    }
    // Completes until the typed text comes back: the candidates in between, in
    // order, and the caret at the end of each.
    std::vector<std::wstring> Cycle(const std::wstring& typed)
    {
        std::vector<std::wstring> seen;
        for (int i = 0; i < 20; ++i)
        {
            m_complement->Complete();
            if (Text() == typed)
                return seen;
            DWORD start = 0, end = 0;
            SendDlgItemMessageW(m_parent, kEditId, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(Text().size(), end);
            seen.push_back(Text());
        }
        ADD_FAILURE() << "the typed text never came back";
        return seen;
    }

    static constexpr int kEditId = 100;
    std::wstring m_base;
    HWND m_parent = nullptr;
    std::unique_ptr<CInputComplement> m_complement;
};
} // namespace

TEST_F(InputComplementTest, CyclesThroughTheMatchesAndBackToTheTypedText)
{
    struct Case
    {
        int mode;
        std::wstring typed; // relative to the base unless it starts with "<base>"
        std::set<std::wstring> expected;
    } cases[] = {
        // A folder ending in a backslash: everything in it.
        {COMPLETE_BOTH, L"<base>\\", {L"<base>\\alpha", L"<base>\\alpine.txt", L"<base>\\beta"}},
        // Relative: completed inside the base folder, the typed folder kept as typed.
        {COMPLETE_BOTH, L"alpha\\x", {L"alpha\\x1.txt", L"alpha\\x2"}},
        {COMPLETE_DIRECTORIES, L"al", {L"alpha"}},
        {COMPLETE_FILES, L"al", {L"alpine.txt"}},
        {COMPLETE_BOTH, L"nothing", {}},
    };
    for (const Case& c : cases)
    {
        auto expand = [this](std::wstring text) {
            if (text.rfind(L"<base>", 0) == 0)
                text = m_base + text.substr(6);
            return text;
        };
        Attach(c.mode);
        const std::wstring typed = expand(c.typed);
        Type(typed);
        std::vector<std::wstring> seen = Cycle(typed);
        std::set<std::wstring> expected;
        for (const std::wstring& e : c.expected)
            expected.insert(expand(e));
        EXPECT_EQ(expected, std::set<std::wstring>(seen.begin(), seen.end())) << c.typed;
        EXPECT_EQ(expected.size(), seen.size()) << c.typed;
        // The next cycle starts again with the first match.
        if (!seen.empty())
        {
            m_complement->Complete();
            EXPECT_EQ(seen.front(), Text());
        }
    }
}

TEST_F(InputComplementTest, TypingStartsANewCycle)
{
    Attach(COMPLETE_BOTH);
    Type(L"be");
    m_complement->Complete();
    EXPECT_EQ(L"beta", Text());
    Type(L"alpha\\x1");
    m_complement->Complete();
    EXPECT_EQ(L"alpha\\x1.txt", Text());
}

TEST_F(InputComplementTest, OnlyCtrlTabWithoutShiftCompletes)
{
    struct Case
    {
        UINT key;
        BOOL ctrl, shift, taken;
    } cases[] = {
        {VK_TAB, TRUE, FALSE, TRUE},  {VK_TAB, FALSE, FALSE, FALSE}, {VK_TAB, TRUE, TRUE, FALSE},
        {VK_TAB, FALSE, TRUE, FALSE}, {'A', TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.taken, CInputComplement::IsCompletionKey(c.key, c.ctrl, c.shift))
            << c.key << c.ctrl << c.shift;

    // With no key held a Tab goes on to the dialog, the text untouched.
    Attach(COMPLETE_BOTH);
    Type(L"be");
    MSG tab = {};
    tab.hwnd = GetDlgItem(m_parent, kEditId);
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    EXPECT_FALSE(m_complement->PreTranslateMessage(&tab));
    EXPECT_EQ(L"be", Text());
}

TEST_F(InputComplementTest, WithoutABaseTheCurrentDirectoryServes)
{
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryW(m_base.c_str());
    Attach(COMPLETE_DIRECTORIES, L"");
    Type(L"be");
    m_complement->Complete();
    EXPECT_EQ(L"beta", Text());
    SetCurrentDirectoryW(saved);
}
