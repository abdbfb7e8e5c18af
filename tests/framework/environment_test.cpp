// The test environment must look like the Japanese desktops the program is for.
#include <gtest/gtest.h>
#include <windows.h>

TEST(Environment, AnsiCodePageIsJapanese)
{
    EXPECT_EQ(932u, GetACP())
        << "run the tests through scripts/wine-run.sh with the ja_JP.UTF-8 locale generated";
    EXPECT_EQ(932u, GetOEMCP());
}
