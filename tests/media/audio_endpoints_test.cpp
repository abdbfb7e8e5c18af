// The audio devices as the system lists them; Wine may list none, and has no way to
// switch the default.
#include "media/devices/AudioEndpoints.h"
#include "tests/common/TestHelpers.h"

#include <objbase.h>

namespace
{

class AudioEndpoints : public ::testing::Test
{
protected:
    void SetUp() override { initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override
    {
        if (initialised)
            CoUninitialize();
    }
    bool initialised = false;
};

} // namespace

TEST_F(AudioEndpoints, ListsAndNameSwitchesSucceedWithWhateverDevicesThereAre)
{
    for (int flow : {AUDIO_FLOW_PLAYBACK, AUDIO_FLOW_CAPTURE})
    {
        CArray<CEndPointData> devices;
        CEndPointData stale;
        stale.m_id = L"stale";
        devices.Add(stale);
        EXPECT_EQ(1, EnumAudioEndpoints(flow, devices)) << flow;
        for (INT_PTR i = 0; i < devices.GetSize(); ++i)
            EXPECT_NE(std::wstring(L"stale"), qvtest::W(devices[i].m_id));
        EXPECT_EQ(1, SetDefaultAudioEndpointByName(flow, L"デバイスなし")) << flow;
    }
}

TEST_F(AudioEndpoints, WithoutThePolicyObjectTheDefaultStays)
{
    CEndPointData before, after;
    int hadDefault = GetDefaultAudioEndpoint(AUDIO_FLOW_PLAYBACK, before);
    CArray<CEndPointData> devices;
    ASSERT_EQ(1, EnumAudioEndpoints(AUDIO_FLOW_PLAYBACK, devices));
    for (INT_PTR i = 0; i < devices.GetSize(); ++i)
        EXPECT_TRUE(FAILED(SetDefaultAudioEndpoint(devices[i].m_id, AUDIO_ROLE_MULTIMEDIA)));
    EXPECT_TRUE(FAILED(SetDefaultAudioEndpoint(L"{0.0.0.00000000}.{none}", AUDIO_ROLE_MULTIMEDIA)));
    EXPECT_EQ(hadDefault, GetDefaultAudioEndpoint(AUDIO_FLOW_PLAYBACK, after));
    EXPECT_EQ(qvtest::W(before.m_id), qvtest::W(after.m_id));
}
