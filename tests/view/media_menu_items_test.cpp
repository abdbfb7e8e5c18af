// The media items of the view's menus, as the view's menu routing updates them.
#include "app/settings/MediaSettings.h"
#include "media/MciWnd.h"
#include "tests/common/TestHelpers.h"
#include "tests/view/CommandTestSupport.h"
#include "view/media/MediaWindows.h"

#include <string>

namespace
{

class CRecordedUI : public CCmdUI
{
public:
    void Enable(BOOL on) override { enabled = on ? 1 : 0; }
    void SetCheck(int check) override { checked = check; }
    void SetText(LPCTSTR text) override { this->text = text ? text : L""; }

    int enabled = -1;
    int checked = -1;
    std::wstring text;
};

class MediaMenuItems : public commandtest::CommandBench
{
};

} // namespace

TEST_F(MediaMenuItems, HistoryAndLastListItemsShowTheirPathsOrNothing)
{
    Set(g_VIEWMENUCOMMAND, 0);
    CStringArray savedHistory;
    savedHistory.Copy(g_PlayedFileHistory);
    CString savedLast = g_LastPlayList;
    CMciWnd* savedWindow = g_MciWnd;
    g_MciWnd = nullptr;
    g_PlayedFileHistory.RemoveAll();
    g_PlayedFileHistory.Add(L"C:\\music\\new.mp3");
    g_PlayedFileHistory.Add(L"C:\\music\\old.mp3");
    g_LastPlayList.Empty();
    struct Case
    {
        UINT id;
        int enabled;
        const wchar_t* text;
    };
    const Case cases[] = {
        {732, 1, L"C:\\music\\new.mp3"},
        {733, 1, L"C:\\music\\old.mp3"},
        {734, 0, L"なし"},
        {737, 0, L"なし"},
        {976, 1, L""},
        {978, 0, L""},
    };
    for (const Case& c : cases)
    {
        CRecordedUI ui;
        EXPECT_TRUE(View().OnCmdMsg(c.id, CN_UPDATE_COMMAND_UI, &ui, nullptr)) << c.id;
        EXPECT_EQ(c.enabled, ui.enabled) << c.id;
        EXPECT_EQ(std::wstring(c.text), ui.text) << c.id;
    }
    CRecordedUI other;
    EXPECT_FALSE(View().OnCmdMsg(731, CN_UPDATE_COMMAND_UI, &other, nullptr));
    g_PlayedFileHistory.Copy(savedHistory);
    g_LastPlayList = savedLast;
    g_MciWnd = savedWindow;
}
