// The network list through the drive seam: a server and its shares stand in for a
// network, Enter goes down to a share, ".." climbs, and a too deep level is refused.
#include "tests/view/CommandTestSupport.h"

#include "app/DriveSeam.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "tests/common/TestHelpers.h"
#include "view/shell/NetworkPlace.h"

#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;
using qvtest::W;

struct FakeResource
{
    DWORD type;
    DWORD displayType;
    const wchar_t* remote;
    const wchar_t* comment;
    const wchar_t* provider;
};

std::vector<FakeResource> g_pending;
std::vector<std::wstring> g_opened;

DWORD WINAPI FakeOpen(DWORD, DWORD, DWORD, LPNETRESOURCEW resource, LPHANDLE handle)
{
    std::wstring remote = resource && resource->lpRemoteName ? resource->lpRemoteName : L"";
    g_opened.push_back(remote);
    g_pending.clear();
    if (remote.empty())
        g_pending = {{RESOURCETYPE_ANY, RESOURCEDISPLAYTYPE_SERVER, L"\\\\HOST", L"the server", L"Fake Net"}};
    else if (remote == L"\\\\HOST")
        g_pending = {
            {RESOURCETYPE_DISK, RESOURCEDISPLAYTYPE_SHARE, L"\\\\HOST\\docs", L"", L"Fake Net"},
            {RESOURCETYPE_PRINT, RESOURCEDISPLAYTYPE_SHARE, L"\\\\HOST\\printer", L"", L"Fake Net"},
            {RESOURCETYPE_DISK, RESOURCEDISPLAYTYPE_SHARE, nullptr, L"", L"Fake Net"},
            {RESOURCETYPE_DISK, RESOURCEDISPLAYTYPE_SHARE, L"\\\\HOST\\apps", L"programs", L"Fake Net"}};
    else
        return ERROR_BAD_NETPATH;
    *handle = reinterpret_cast<HANDLE>(1);
    return NO_ERROR;
}

DWORD WINAPI FakeEnum(HANDLE, LPDWORD count, LPVOID buffer, LPDWORD size)
{
    if (g_pending.empty())
        return ERROR_NO_MORE_ITEMS;
    FakeResource next = g_pending.front();
    g_pending.erase(g_pending.begin());
    // The strings live after the record, as the network writes them.
    auto* record = static_cast<NETRESOURCEW*>(buffer);
    wchar_t* text = reinterpret_cast<wchar_t*>(record + 1);
    auto put = [&text](const wchar_t* value) -> LPWSTR {
        if (value == nullptr)
            return nullptr;
        LPWSTR start = text;
        wcscpy(text, value);
        text += wcslen(value) + 1;
        return start;
    };
    record->dwType = next.type;
    record->dwDisplayType = next.displayType;
    record->lpRemoteName = put(next.remote);
    record->lpComment = put(next.comment);
    record->lpProvider = put(next.provider);
    *count = 1;
    (void)size;
    return NO_ERROR;
}

DWORD WINAPI FakeClose(HANDLE)
{
    return NO_ERROR;
}

class NetworkList : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_NOTVIEWUPDIR, 0);
        g_DriveSeam.WNetOpenEnumW = FakeOpen;
        g_DriveSeam.WNetEnumResourceW = FakeEnum;
        g_DriveSeam.WNetCloseEnum = FakeClose;
        g_opened.clear();
    }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < m_panes[0]->m_networkList.GetSize(); ++i)
            out.push_back(W(m_panes[0]->m_networkList[i].m_name));
        return out;
    }
    void PutCursorOn(LPCWSTR name)
    {
        for (INT_PTR i = 0; i < m_panes[0]->m_networkList.GetSize(); ++i)
            if (m_panes[0]->m_networkList[i].m_name == name)
                m_panes[0]->m_cursor = i;
    }

private:
    CDriveSeamOverride m_seam;
};

TEST_F(NetworkList, ServerThenShareAndBackUp)
{
    View().ExecuteFilerCommand(L"@Tonetwork");
    ASSERT_EQ(m_panes[0]->m_mode, static_cast<UINT>(PANE_MODE_NETWORK));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"..", L"HOST", L""}));
    EXPECT_EQ(W(m_panes[0]->m_networkList[1].m_comment), L"the server");
    EXPECT_EQ(W(m_panes[0]->m_networkList[1].m_provider), L"Fake Net");

    PutCursorOn(L"HOST");
    View().RouteKeyPress(VK_RETURN);
    EXPECT_EQ(W(m_panes[0]->m_networkPath), L"\\\\HOST");
    EXPECT_EQ(m_panes[0]->m_networkDepth, 1);
    EXPECT_EQ(g_opened.back(), L"\\\\HOST");
    // The printer and the nameless resource are left out; the shares are sorted.
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"..", L"apps", L"docs", L""}));

    // ".." climbs back with the cursor on the server left.
    PutCursorOn(L"..");
    View().RouteKeyPress(VK_RETURN);
    EXPECT_EQ(m_panes[0]->m_networkDepth, 0);
    EXPECT_EQ(W(m_panes[0]->m_networkList[static_cast<INT_PTR>(m_panes[0]->m_cursor)].m_name), L"HOST");

    // A share opens its UNC path in the pane as a folder listing.
    PutCursorOn(L"HOST");
    View().RouteKeyPress(VK_RETURN);
    PutCursorOn(L"docs");
    View().RouteKeyPress(VK_RETURN);
    EXPECT_EQ(m_panes[0]->m_mode, static_cast<UINT>(PANE_MODE_FILER));
    ASSERT_EQ(View().m_navigation.savedDomainNames.GetSize(), 1);
    EXPECT_EQ(W(View().m_navigation.savedDomainNames[0].server), L"HOST");
}

TEST_F(NetworkList, AKeptHiddenNetworkPaneAsksTheNetworkAgainWhenItComesBack)
{
    View().ExecuteFilerCommand(L"@Tonetwork");
    PutCursorOn(L"HOST");
    View().RouteKeyPress(VK_RETURN);
    ASSERT_EQ(W(m_panes[0]->m_networkPath), L"\\\\HOST");
    PutCursorOn(L"docs");
    // The pane is put away with its list kept, and another pane takes the keys.
    Set(g_KEEP_FILER_INFO, 1);
    m_panes[0]->m_position = PANE_POS_HIDDEN;
    m_panes[1]->m_position = PANE_POS_ACTIVE;
    g_opened.clear();
    View().SwitchActivePane(-1);
    EXPECT_EQ(m_panes[0]->m_position, static_cast<UINT>(PANE_POS_ACTIVE));
    EXPECT_EQ(m_panes[0]->m_mode, static_cast<UINT>(PANE_MODE_NETWORK));
    EXPECT_EQ(g_opened, (std::vector<std::wstring>{L"\\\\HOST"})) << "the network is asked again";
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"..", L"apps", L"docs", L""}));
    EXPECT_EQ(W(m_panes[0]->m_networkList[static_cast<INT_PTR>(m_panes[0]->m_cursor)].m_name), L"docs");
}

TEST_F(NetworkList, TheContextMenuNamesTheCursorServerOrShare)
{
    View().ExecuteFilerCommand(L"@Tonetwork");
    ASSERT_EQ(m_panes[0]->m_mode, static_cast<UINT>(PANE_MODE_NETWORK));
    PutCursorOn(L"..");
    EXPECT_EQ(W(NetworkContextPlace(*m_panes[0])), L"") << "no server yet";
    PutCursorOn(L"HOST");
    EXPECT_EQ(W(NetworkContextPlace(*m_panes[0])), L"\\\\HOST");
    View().RouteKeyPress(VK_RETURN);
    PutCursorOn(L"docs");
    EXPECT_EQ(W(NetworkContextPlace(*m_panes[0])), L"\\\\HOST\\docs");
    PutCursorOn(L"..");
    EXPECT_EQ(W(NetworkContextPlace(*m_panes[0])), L"\\\\HOST");
}

TEST_F(NetworkList, WholeNetworkStartsOneLevelDownWithTheCursorOnTheWayUp)
{
    m_panes[0]->m_cursor = 1;
    View().ExecuteFilerCommand(L"@Toallnetwork");
    ASSERT_EQ(m_panes[0]->m_mode, static_cast<UINT>(PANE_MODE_NETWORK));
    EXPECT_EQ(W(m_panes[0]->m_networkPath), std::wstring(kWholeNetworkPath));
    EXPECT_EQ(m_panes[0]->m_networkDepth, 1);
    EXPECT_EQ(m_panes[0]->m_networkLevels[0], 0u);
    ASSERT_FALSE(Names().empty());
    EXPECT_EQ(W(m_panes[0]->m_networkList[static_cast<INT_PTR>(m_panes[0]->m_cursor)].m_name), L"..");
    EXPECT_EQ(m_panes[1]->m_mode, static_cast<UINT>(PANE_MODE_FILER));
}

TEST_F(NetworkList, AnEleventhLevelIsRefusedAndNothingIsOverwritten)
{
    CFilerPane& pane = *m_panes[0];
    pane.SetMode(0, PANE_MODE_NETWORK, PANE_SUB_DIRECTORY);
    pane.m_networkDepth = kNetworkLevelCount;
    for (int i = 0; i < kNetworkLevelCount; ++i)
        pane.m_networkLevels[i] = RESOURCEDISPLAYTYPE_DOMAIN;
    pane.m_networkPath = L"\\\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j";
    CNetResourceData deep;
    deep.m_name = L"k";
    deep.m_displayType = RESOURCEDISPLAYTYPE_DOMAIN;
    pane.m_networkList.RemoveAll();
    pane.m_networkList.Add(deep);
    pane.m_cursor = 0;
    int guard = pane.m_networkDepth;
    CDialogAnswerScript script;
    script.Add(IDOK);
    View().RouteKeyPress(VK_RETURN);
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(pane.m_networkDepth, guard);
    EXPECT_EQ(W(pane.m_networkPath), L"\\\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j");
    EXPECT_TRUE(g_opened.empty());
}

} // namespace
