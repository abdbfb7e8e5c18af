// The media window and the play-list stepping, through a scripted MCI device.
#include "app/records/MediaKinds.h"
#include "media/MciWnd.h"
#include "media/mci/MciDevice.h"
#include "media/playlist/AudioPlayList.h"
#include "media/playlist/SoundListPlayer.h"
#include "tests/common/TestHelpers.h"

#include <set>
#include <string>

namespace
{

// An MCI device that opens the files it is told of and plays them without sound.
class CScriptedDevice : public IMciDevice
{
public:
    int GetMode() override { return mode; }
    LONG Open(LPCWSTR fullPath) override
    {
        ++opens;
        // How deep the stack is at each open: requests that nest show as growth.
        char marker;
        UINT_PTR at = reinterpret_cast<UINT_PTR>(&marker);
        if (firstOpenAt == 0)
            firstOpenAt = at;
        if (firstOpenAt > at && firstOpenAt - at > deepest)
            deepest = firstOpenAt - at;
        if (openAll || openable.count(fullPath))
        {
            mode = MEDIA_MODE_STOP;
            opened = fullPath;
            return 0;
        }
        return 263;
    }
    LONG Play() override
    {
        if (mode == MEDIA_MODE_NOT_READY)
            return 1;
        mode = MEDIA_MODE_PLAY;
        ++plays;
        return 0;
    }
    void Stop() override
    {
        if (mode != MEDIA_MODE_NOT_READY)
            mode = MEDIA_MODE_STOP;
    }
    void Close() override { mode = MEDIA_MODE_NOT_READY; }
    void Pause() override { mode = MEDIA_MODE_PAUSE; }
    void Resume() override { mode = MEDIA_MODE_PLAY; }
    void SetTimeFormatMs() override {}
    LONG GetLength() override { return length; }
    LONG GetPosition() override { return position; }
    void Seek(LONG to) override
    {
        position = to;
        if (mode == MEDIA_MODE_PLAY)
            mode = MEDIA_MODE_STOP;
    }
    void SetVolume(int v) override { volume = v; }
    void SetZoom(int percent) override { zoom = percent; }
    int GetZoom() override { return zoom; }
    BOOL GetSourceRect(RECT& rect) override
    {
        rect = {0, 0, 320, 240};
        return TRUE;
    }
    void ShowPlayBar(BOOL) override {}

    int mode = MEDIA_MODE_NOT_READY;
    bool openAll = true;
    std::set<std::wstring> openable;
    std::wstring opened;
    LONG length = 60000;
    LONG position = 0;
    int volume = -1;
    int zoom = 100;
    int opens = 0;
    int plays = 0;
    UINT_PTR firstOpenAt = 0;
    UINT_PTR deepest = 0;
};

class MediaWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        device = new CScriptedDevice;
        window.SetDevice(device);
        saved = g_MciWnd;
        g_MciWnd = &window;
        ClearPlayList();
        g_PlayListStartedPos = 0;
        random = 0;
        repeat = 0;
    }
    void TearDown() override
    {
        g_MciWnd = saved;
        ClearPlayList();
        g_PlayListSeam.random = DrawRandomPosition;
    }
    static void Add(const wchar_t* name, int failed = 0)
    {
        WIN32_FIND_DATAW found = {};
        wcscpy(found.cFileName, name);
        g_PlayList.AppendEntry(L"Z:\\nowhere", found);
        g_PlayList[g_PlayList.GetSize() - 1].m_failed = failed;
    }

    CMciWnd window;
    CScriptedDevice* device = nullptr;
    CMciWnd* saved = nullptr;
    int repeat = 0;
    int random = 0;
};

int g_nextDraw = 0;
int ScriptedDraw(int)
{
    return g_nextDraw;
}

} // namespace

TEST_F(MediaWindow, SingleFilesAndTheListNeverCutIntoEachOther)
{
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    struct Case
    {
        int first, second;
        bool pauseFirst;
    };
    for (const Case& c : {Case{MEDIA_REQUEST_LIST, MEDIA_REQUEST_SINGLE, false},
                          Case{MEDIA_REQUEST_SINGLE, MEDIA_REQUEST_LIST, false},
                          Case{MEDIA_REQUEST_LIST, MEDIA_REQUEST_SINGLE, true}})
    {
        window.ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_ANY);
        window.ControlPlayback(MEDIA_PLAY, L"C:\\music\\first.mp3", c.first);
        if (c.pauseFirst)
            window.ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, c.first);
        window.ControlPlayback(MEDIA_PLAY, L"C:\\sounds\\second.wav", c.second);
        EXPECT_EQ(std::wstring(L"C:\\music\\first.mp3"), qvtest::W(window.m_currentFile)) << c.first;
        EXPECT_EQ(c.first, window.m_requestMask);
        window.ControlPlayback(MEDIA_STOP, nullptr, c.second);
        EXPECT_EQ(c.pauseFirst ? MEDIA_MODE_PAUSE : MEDIA_MODE_PLAY, device->mode) << "stopped by the other";
    }
    // Play while paused resumes the paused file, whatever path comes with it.
    window.ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_ANY);
    window.ControlPlayback(MEDIA_PLAY, L"C:\\music\\a.mp3", MEDIA_REQUEST_SINGLE);
    window.ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, MEDIA_REQUEST_SINGLE);
    window.ControlPlayback(MEDIA_PLAY, L"C:\\music\\b.mp3", MEDIA_REQUEST_SINGLE);
    EXPECT_EQ(MEDIA_MODE_PLAY, device->mode);
    EXPECT_EQ(std::wstring(L"C:\\music\\a.mp3"), device->opened);
    // Opened by full path: the process's current directory stays.
    wchar_t after[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(std::wstring(before), std::wstring(after));
}

TEST_F(MediaWindow, ToggleWithoutAFileDoesNothingAndStopsWhatPlays)
{
    window.ControlPlayback(MEDIA_TOGGLE, nullptr, MEDIA_REQUEST_SINGLE);
    EXPECT_EQ(0, device->opens);
    window.ControlPlayback(MEDIA_PLAY, L"C:\\v\\clip.avi", MEDIA_REQUEST_SINGLE);
    EXPECT_EQ(1, window.m_shown) << "video shows the window";
    window.ControlPlayback(MEDIA_TOGGLE, nullptr, MEDIA_REQUEST_SINGLE);
    EXPECT_NE(MEDIA_MODE_PLAY, device->mode);
    EXPECT_EQ(0, window.m_shown);
}

TEST_F(MediaWindow, ZoomVolumeAndSeekStayInTheirRanges)
{
    window.ControlPlayback(MEDIA_PLAY, L"C:\\m\\song.mp3", MEDIA_REQUEST_SINGLE);
    EXPECT_EQ(0, window.m_shown) << "audio keeps the window hidden";
    device->zoom = 100;
    window.SetZoom(200);
    EXPECT_EQ(200, *window.m_pZoom);
    EXPECT_EQ(100, device->zoom) << "no zoom for audio";

    window.ControlPlayback(MEDIA_PLAY, L"C:\\m\\clip.avi", MEDIA_REQUEST_SINGLE);
    struct ZoomCase
    {
        int start, delta, expected;
    };
    for (const ZoomCase& c : {ZoomCase{100, 10, 110}, ZoomCase{495, 10, 500}, ZoomCase{15, -10, 10}})
    {
        *window.m_pZoom = c.start;
        window.ChangeZoom(c.delta);
        EXPECT_EQ(c.expected, *window.m_pZoom);
        EXPECT_EQ(c.expected, device->zoom);
    }
    g_MciFullScreen = 1;
    window.ChangeZoom(10);
    EXPECT_EQ(10, *window.m_pZoom) << "no zoom keys in full screen";
    g_MciFullScreen = 0;

    for (const ZoomCase& c : {ZoomCase{950, 100, 1000}, ZoomCase{50, -100, 0}, ZoomCase{500, 100, 600}})
    {
        *window.m_pVolume = c.start;
        window.ChangeVolume(c.delta);
        EXPECT_EQ(c.expected, *window.m_pVolume);
        EXPECT_EQ(c.expected, device->volume);
    }

    struct SeekCase
    {
        LONG from, by;
        BOOL absolute;
        LONG expected;
        int mode;
    };
    const SeekCase seeks[] = {
        {1000, 90000, FALSE, 60000, MEDIA_MODE_STOP}, // past the end: no restart
        {1000, -5000, FALSE, 0, MEDIA_MODE_PLAY},
        {0, 30000, TRUE, 30000, MEDIA_MODE_PLAY},
    };
    for (const SeekCase& s : seeks)
    {
        device->mode = MEDIA_MODE_PLAY;
        device->position = s.from;
        window.Seek(s.by, s.absolute);
        EXPECT_EQ(s.expected, device->position);
        EXPECT_EQ(s.mode, device->mode);
    }
}

TEST(MediaTrackbar, ClicksMapToPositionsWithoutOverflow)
{
    struct Case
    {
        int x, width;
        LONG length, expected;
    };
    const Case cases[] = {
        {10, 16, 1000, -1},
        {8, 17, 1000, 0},
        {9, 17, 1000, 1000},
        {508, 1016, 60000, 30000},
        {990, 1000, 7200000, 7185365}, // two hours, near the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CMciWnd::TrackbarPosition(c.x, c.width, c.length)) << c.x << " " << c.width;
}

TEST_F(MediaWindow, StepsThroughTheList)
{
    struct Case
    {
        std::vector<std::pair<const wchar_t*, int>> entries; // name, failed
        int position, direction;
        int repeat, random;
        int result, expected;
    };
    const Case cases[] = {
        {{{L"a.mp3", 0}, {L"b.mp3", 0}}, 1, 1, 0, 0, 0, 1},                 // end of the list
        {{{L"a.mp3", 0}, {L"b.mp3", 0}}, 1, 1, 1, 0, 1, 0},                 // repeat wraps
        {{{L"a.mp3", 0}, {L"b.mp3", 0}, {L"c.mp3", 0}}, 0, -1, 0, 0, 1, 2}, // previous from 0
        {{{L"a.mp3", 0}, {L"b.txt", 0}, {L"c.mp3", 1}, {L"d.mid", 0}}, 0, 1, 0, 0, 1, 3},
        {{{L"a.txt", 0}, {L"b.doc", 0}}, 0, 1, 1, 0, 0, 0}, // nothing to play
    };
    for (const Case& c : cases)
    {
        ClearPlayList();
        for (const auto& e : c.entries)
            Add(e.first, e.second);
        g_PlayListPos = c.position;
        EXPECT_EQ(c.result, StepPlayListPosition(c.direction, c.repeat, c.random)) << c.position;
        if (c.result)
            EXPECT_EQ(c.expected, g_PlayListPos) << c.position;
    }
}

TEST_F(MediaWindow, RandomPlayTakesEveryEntryOnceBeforeAnyAgain)
{
    for (const wchar_t* name : {L"1.mp3", L"2.txt", L"3.mp3", L"4.mp3", L"5.mp3"})
        Add(name);
    g_PlayListSeam.random = ScriptedDraw;
    std::multiset<int> taken;
    for (int round = 0; round < 4; ++round)
    {
        g_nextDraw = (round * 3) % 5;
        ASSERT_EQ(1, StepPlayListPosition(1, 0, 1));
        taken.insert(g_PlayListPos);
        g_PlayList[g_PlayListPos].m_played = 1;
    }
    EXPECT_EQ(std::multiset<int>({0, 2, 3, 4}), taken);
    // All played: the marks start over.
    g_nextDraw = 2;
    ASSERT_EQ(1, StepPlayListPosition(1, 0, 1));
    EXPECT_EQ(2, g_PlayListPos);
}

TEST_F(MediaWindow, AListOfMissingFilesEndsWithoutNesting)
{
    device->openAll = false;
    for (int i = 0; i < 5000; ++i)
    {
        CString name;
        name.Format(L"missing%04d.mp3", i);
        Add(name);
    }
    repeat = 1;
    CSoundListPlayer player(&repeat, &random);
    EXPECT_EQ(SOUND_LIST_PLAY, player.Transport(SOUND_LIST_PLAY));
    // Each tried once; the stop at the end cleared the failed marks again.
    EXPECT_EQ(5000, device->opens);
    EXPECT_LT(device->deepest, 16384u) << "one request nested in another";
    EXPECT_NE(MEDIA_MODE_PLAY, device->mode);

    // A list that plays: the end of an entry moves on to the next.
    ClearPlayList();
    device->openAll = true;
    Add(L"a.mp3");
    Add(L"b.mp3");
    repeat = 0;
    EXPECT_EQ(SOUND_LIST_PLAY, player.Transport(SOUND_LIST_PLAY));
    EXPECT_EQ(0, g_PlayListPos);
    device->position = device->length;
    window.OnPlayTimer();
    EXPECT_EQ(1, g_PlayListPos);
    EXPECT_EQ(MEDIA_MODE_PLAY, device->mode);
    window.OnPlayTimer();
    EXPECT_NE(MEDIA_MODE_PLAY, device->mode) << "the list ended";
}
