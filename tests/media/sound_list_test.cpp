// The sound list window's rows and now-playing line.
#include "media/playlist/AudioPlayList.h"
#include "media/MciWnd.h"
#include "media/mci/MciDevice.h"
#include "app/records/MediaKinds.h"
#include "media/playlist/SoundListDlg.h"
#include "media/playlist/SoundLoadFileDlg.h"
#include "tests/common/DialogHarness.h"
#include "res/MediaDialogs.h"
#include "tests/common/TestHelpers.h"

#include <commctrl.h>

#include <vector>

namespace
{

CMpegAudioData Record(const wchar_t* name, int flags)
{
    CMpegAudioData entry;
    WIN32_FIND_DATAW found = {};
    wcscpy(found.cFileName, name);
    entry.m_file.SetFromDisk(L"C:\\music", found);
    entry.m_tagFlags = flags;
    entry.m_id3v2.SetAt(L"TIT2", L"v2 title");
    entry.m_id3v2.SetAt(L"TPE1", L"v2 artist");
    entry.m_comments.SetAt(L"jpn", L"コメント");
    wcscpy(entry.m_id3v1.title, L"v1 title");
    wcscpy(entry.m_id3v1.artist, L"v1 artist");
    entry.m_id3v1.genre = 17;
    entry.m_riffInfo.SetAt(L"INAM", L"riff name");
    entry.m_riffInfo.SetAt(L"IART", L"riff artist");
    return entry;
}

} // namespace

TEST(SoundListRows, TheFirstTagThatAppliesNamesTheRow)
{
    struct Case
    {
        int flags;
        const wchar_t* line;
        const wchar_t* first;
        const wchar_t* second;
        const wchar_t* genre;
    };
    const Case cases[] = {
        {AUDIO_TAG_ID3V2 | AUDIO_TAG_ID3V1, L"3.v2 artist - v2 title", L"003.v2 title", L"v2 artist", L""},
        {AUDIO_TAG_ID3V1 | AUDIO_TAG_RIFF_INFO, L"3.v1 artist - v1 title", L"003.v1 title", L"v1 artist",
         L"Rock"},
        {AUDIO_TAG_RIFF_INFO, L"3.riff name - riff artist", L"003.riff name", L"riff artist", L""},
        {0, L"3.song.mp3", L"003.song.mp3", L"", L""},
    };
    for (const Case& c : cases)
    {
        CMpegAudioData entry = Record(L"song.mp3", c.flags);
        EXPECT_EQ(std::wstring(c.line), qvtest::W(FormatNowPlayingLine(3, entry))) << c.flags;
        CString columns[6];
        FormatSoundListRow(3, entry, columns);
        EXPECT_EQ(std::wstring(c.first), qvtest::W(columns[0])) << c.flags;
        EXPECT_EQ(std::wstring(c.second), qvtest::W(columns[1])) << c.flags;
        EXPECT_EQ(std::wstring(c.genre), qvtest::W(columns[4])) << c.flags;
    }
}

TEST(SoundListWindow, ShowsOneRowPerEntry)
{
    ClearPlayList();
    g_PlayList.Entries().Add(Record(L"a.mp3", 0));
    g_PlayList.Entries().Add(Record(L"b.wav", AUDIO_TAG_RIFF_INFO));
    CSoundListDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND list = ::GetDlgItem(dlg.m_hWnd, IDC_SOUNDLIST_LIST);
    EXPECT_EQ(2, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    wchar_t text[64] = {};
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(list, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(L"001.riff name"), text);
    g_PlayList.Entries().Add(Record(L"c.mp3", 0));
    dlg.RefreshList();
    EXPECT_EQ(3, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    dlg.DestroyWindow();
    ClearPlayList();
}

namespace
{

// A device that is in the mode the test sets and does nothing else.
class CModeDevice : public IMciDevice
{
public:
    int GetMode() override { return mode; }
    LONG Open(LPCWSTR) override { return 0; }
    LONG Play() override { return 0; }
    void Stop() override {}
    void Close() override {}
    void Pause() override {}
    void Resume() override {}
    void SetTimeFormatMs() override {}
    LONG GetLength() override { return 0; }
    LONG GetPosition() override { return 0; }
    void Seek(LONG) override {}
    void SetVolume(int) override {}
    void SetZoom(int) override {}
    int GetZoom() override { return 100; }
    BOOL GetSourceRect(RECT&) override { return FALSE; }
    void ShowPlayBar(BOOL) override {}

    int mode = MEDIA_MODE_STOP;
};

const int kTransportControls[CSoundListDlg::TRANSPORT_BUTTON_COUNT] = {
    IDC_SOUNDLIST_PREVIOUS, IDC_SOUNDLIST_PLAY, IDC_SOUNDLIST_PAUSE, IDC_SOUNDLIST_STOP, IDC_SOUNDLIST_NEXT};
int g_setImages = 0;

LRESULT CALLBACK CountSetImage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BM_SETIMAGE)
        ++g_setImages;
    WNDPROC previous = reinterpret_cast<WNDPROC>(::GetPropW(window, L"QvTestButtonProc"));
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

} // namespace

TEST(SoundListWindow, TransportButtonsShowTheirSecondPictureByThePlayState)
{
    ClearPlayList();
    CMciWnd media;
    auto* device = new CModeDevice;
    media.SetDevice(device);
    media.m_requestMask = MEDIA_REQUEST_LIST;
    media.m_currentFile = L"C:\\music\\now.mp3";
    CMciWnd* saved = g_MciWnd;
    g_MciWnd = &media;
    CSoundListDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    std::vector<HBITMAP> first;
    for (int control : kTransportControls)
    {
        HWND button = ::GetDlgItem(dlg.m_hWnd, control);
        EXPECT_NE(0, ::GetWindowLongPtrW(button, GWL_STYLE) & BS_BITMAP) << control;
        first.push_back(reinterpret_cast<HBITMAP>(::SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0)));
        ::SetPropW(button, L"QvTestButtonProc",
                   reinterpret_cast<HANDLE>(
                       ::SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountSetImage))));
    }
    // Per mode of the media window: previous, play, pause, stop, next (1 the second
    // picture), and how many pictures the tick sets.
    const struct
    {
        int mode;
        std::vector<int> shown;
        int set;
    } rows[] = {
        {MEDIA_MODE_STOP, {1, 0, 1, 1, 1}, 0},
        {MEDIA_MODE_PLAY, {0, 1, 0, 0, 0}, 5},
        {MEDIA_MODE_PAUSE, {0, 1, 0, 0, 0}, 0},
        {MEDIA_MODE_NOT_READY, {1, 0, 1, 1, 1}, 5},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.mode);
        device->mode = row.mode;
        g_setImages = 0;
        dlg.RefreshTransport(FALSE);
        std::vector<int> shown;
        for (int i = 0; i < CSoundListDlg::TRANSPORT_BUTTON_COUNT; ++i)
            shown.push_back(dlg.ShownPicture(i));
        EXPECT_EQ(row.shown, shown);
        EXPECT_EQ(row.set, g_setImages);
        if (row.mode == MEDIA_MODE_PLAY)
        {
            // The two pictures of a button are two pictures.
            HWND play = ::GetDlgItem(dlg.m_hWnd, IDC_SOUNDLIST_PLAY);
            HBITMAP now = reinterpret_cast<HBITMAP>(::SendMessageW(play, BM_GETIMAGE, IMAGE_BITMAP, 0));
            EXPECT_NE(nullptr, now);
            EXPECT_NE(first[1], now);
        }
    }
    // A load sets every picture again.
    g_setImages = 0;
    dlg.RefreshTransport(TRUE);
    EXPECT_EQ(CSoundListDlg::TRANSPORT_BUTTON_COUNT, g_setImages);
    for (HBITMAP picture : first)
        EXPECT_NE(nullptr, picture);
    dlg.DestroyWindow();
    g_MciWnd = saved;
    ClearPlayList();
}

namespace
{

class CDrivenKindsDlg : public qvtest::CDrivenDialog<CDrivenKindsDlg, CSoundLoadFileDlg>
{
};

} // namespace

TEST(SoundLoadFileDialog, EditsBothHalvesPageByPage)
{
    CStringArray saved;
    saved.Copy(g_MediaKindList);
    std::wstring firstVideo, firstAudio;
    CDrivenKindsDlg dlg;
    dlg.drive = [&](CDrivenKindsDlg& d) {
        CString text;
        d.GetDlgItemText(IDC_KINDS_FIRST_EDIT, text);
        firstVideo = qvtest::W(text);
        d.SetDlgItemText(IDC_KINDS_FIRST_EDIT + 9, L"MKV");
        d.CheckDlgButton(IDC_KINDS_VIDEO, BST_UNCHECKED);
        d.CheckDlgButton(IDC_KINDS_AUDIO, BST_CHECKED);
        d.Command(IDC_KINDS_AUDIO);
        d.GetDlgItemText(IDC_KINDS_FIRST_EDIT, text);
        firstAudio = qvtest::W(text);
        d.Command(IDC_KINDS_NEXT);
        d.SetDlgItemText(IDC_KINDS_FIRST_EDIT, L"FLAC");
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(L"ASF", firstVideo);
    EXPECT_EQ(L"MID", firstAudio);
    EXPECT_EQ(std::wstring(L"MKV"), qvtest::W(g_MediaKindList[9]));
    EXPECT_EQ(std::wstring(L"FLAC"), qvtest::W(g_MediaKindList[40]));
    EXPECT_TRUE(IsAudioKindFile(L"x.flac"));
    g_MediaKindList.Copy(saved);
}
