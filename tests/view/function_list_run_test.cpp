// What the view runs for the function list's choice: a program entry starts its
// program, an own plug-in's entry starts nothing, as a key bound to the plug-in does.
#include "tests/view/CommandTestSupport.h"

#include "app/settings/ToolSettings.h"
#include "tools/keys/FuncListDlg.h"
#include "view/shell/ShellSeam.h"

#include <string>
#include <vector>

namespace
{

std::vector<std::wstring>* g_startedFiles = nullptr;

HINSTANCE WINAPI RecordStartedFile(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    g_startedFiles->push_back(file ? file : L"");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

void RecordNoLoop(CQvView&, int, LPCWSTR, LPCWSTR, LPCWSTR program)
{
    g_startedFiles->push_back(std::wstring(L"loop ") + program);
}

class FunctionListRunTest : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        m_savedPlugIns.Copy(g_PlugInList);
        g_PlugInList.RemoveAll();
        g_startedFiles = &m_started;
        g_ShellRunSeam.shellExecute = RecordStartedFile;
        g_ShellRunSeam.runLoopExecute = RecordNoLoop;
    }
    void TearDown() override
    {
        g_startedFiles = nullptr;
        g_PlugInList.Copy(m_savedPlugIns);
        CommandBench::TearDown();
    }
    // Chooses the entry shown with this text, as the "実行" button does, and lets the
    // view run the choice as it does when the list closes with OK.
    void ChooseAndRun(LPCWSTR text)
    {
        CFuncListDlg list(PANE_MODE_FILER);
        list.BuildCommandList();
        for (size_t i = 0; i < list.m_commands.size(); ++i)
            if (list.m_commands[i].m_text == text)
                list.m_selected = static_cast<int>(i);
        ASSERT_GE(list.m_selected, 0) << "no entry shows " << text;
        ASSERT_TRUE(list.ChooseSelected());
        View().DispatchCommandKeyword(list.m_resultKeyword, list.m_resultModifier, list.m_resultVirtualKey);
    }

    CShellRunSeamOverride m_seam;
    CArray<CQvPlugIn> m_savedPlugIns;
    std::vector<std::wstring> m_started;
};

TEST_F(FunctionListRunTest, APlugInsEntryStartsNoProgramWhereAProgramEntryStartsOne)
{
    CQvPlugIn plugIn;
    plugIn.m_fileName = L"tool.qpi";
    plugIn.m_keyString = L"#T";
    plugIn.m_functionName = L"notepad";
    g_PlugInList.Add(plugIn);
    Bind(g_FilerKeyCmds, L"P", 0, L"C:\\Tools\\viewer.exe");

    ChooseAndRun(L"C:\\Tools\\viewer.exe");
    ASSERT_EQ(m_started, std::vector<std::wstring>{L"C:\\Tools\\viewer.exe"});

    m_started.clear();
    ChooseAndRun(L"notepad");
    EXPECT_TRUE(m_started.empty()) << m_started[0];
}

} // namespace
