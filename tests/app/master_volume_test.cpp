// The master volume as a percentage of the mixer control's range, through a fake
// mixer (the test machine has no sound device).
#include "app/MasterVolume.h"

#include <gtest/gtest.h>

namespace
{

DWORD g_fakeMinimum = 0;
DWORD g_fakeMaximum = 0;
DWORD g_fakeValue = 0;

BOOL ReadFakeVolume(DWORD* minimum, DWORD* maximum, DWORD* value)
{
    *minimum = g_fakeMinimum;
    *maximum = g_fakeMaximum;
    *value = g_fakeValue;
    return TRUE;
}

BOOL WriteFakeVolume(DWORD value)
{
    g_fakeValue = value;
    return TRUE;
}

class MixerVolume : public testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = g_MixerVolumeApi;
        g_MixerVolumeApi = {ReadFakeVolume, WriteFakeVolume};
        // A range that does not start at 0 tells a write that inverts the read
        // from one that forgets the minimum.
        g_fakeMinimum = 1000;
        g_fakeMaximum = 3000;
        g_fakeValue = 1000;
    }
    void TearDown() override { g_MixerVolumeApi = m_saved; }

private:
    MixerVolumeApi m_saved;
};

} // namespace

TEST_F(MixerVolume, SetWritesThePercentageOfTheRangeAndGetReadsItBack)
{
    struct
    {
        int percent;
        DWORD expectedValue;
        int expectedReadBack;
    } cases[] = {
        {0, 1000, 0}, {25, 1500, 25}, {100, 3000, 100}, {150, 3000, 100}, {-5, 1000, 0},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(SetMixerVolume(c.percent));
        EXPECT_EQ(c.expectedValue, g_fakeValue) << c.percent;
        DWORD minimum = 0, maximum = 0;
        int percent = -1;
        ASSERT_TRUE(GetMixerVolume(&minimum, &maximum, &percent));
        EXPECT_EQ(1000u, minimum);
        EXPECT_EQ(3000u, maximum);
        EXPECT_EQ(c.expectedReadBack, percent) << c.percent;
    }
}
