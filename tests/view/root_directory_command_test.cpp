// "@Rootdirectory" moves the active filer pane to its drive's root and leaves the
// other pane where it is.
#include "tests/view/CommandTestSupport.h"

#include "tests/common/TestHelpers.h"

#include <string>

namespace
{

class RootDirectoryCommand : public commandtest::CommandBench
{
};

TEST_F(RootDirectoryCommand, ActivePaneGoesToTheRootOfItsDrive)
{
    CreateDirectoryW(m_dir + L"\\sub", nullptr);
    View().ChangePaneDirectory(0, m_dir + L"\\sub", 1, 0, FALSE);
    View().ChangePaneDirectory(1, m_dir, 1, 0, FALSE);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Rootdirectory"));
    // The pane keeps a drive root as "X:" however it was entered.
    const std::wstring root = std::wstring(m_dir).substr(0, 2);
    EXPECT_EQ(root, qvtest::W(m_panes[0]->m_currentDir));
    EXPECT_EQ(std::wstring(m_dir), qvtest::W(m_panes[1]->m_currentDir));
}

} // namespace
