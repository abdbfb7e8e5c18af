// Drive-list rows and directory-walk frames.
#include "app/records/PaneRecords.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

CDriveInfo Row(int kind, LPCWSTR name, LPCWSTR description = L"")
{
    CDriveInfo row;
    row.m_kind = kind;
    row.m_name = name;
    row.m_description = description;
    return row;
}

TEST(RecordsDriveInfo, IsDriveOfPath)
{
    static const struct
    {
        const wchar_t* row;
        const wchar_t* path;
        int expected;
    } kCases[] = {
        {L"C:", L"C:\\Windows", 1},
        {L"C:", L"c:\\", 1},
        {L"C:", L"C:", 1},
        {L"C:", L"D:\\", 0},
        {L"C:", L"Windows\\System", 0},
        {L"\\\\server\\share", L"\\\\SERVER\\Share\\dir\\file", 1},
        {L"\\\\server\\share", L"\\\\server\\share", 1},
        {L"\\\\server\\share", L"\\\\server\\other\\dir", 0},
        // Two backslashes and a server alone have no root.
        {L"\\\\server", L"\\\\server", 0},
        {L"C:", L"\\\\server", 0},
        {L"", L"\\\\server", 0},
    };
    for (const auto& c : kCases)
    {
        EXPECT_EQ(c.expected, Row(3, c.row).IsDriveOfPath(c.path)) << "row " << c.row << ", path " << c.path;
    }
}

TEST(RecordsDriveInfo, DisplayTexts)
{
    CDriveInfo fresh;
    EXPECT_EQ(0, fresh.m_kind);
    EXPECT_TRUE(fresh.m_name.IsEmpty() && fresh.m_description.IsEmpty());

    CString text;
    Row(DRIVE_KIND_VIRTUAL, L"Q:", kVirtualDriveDescription).GetDisplayText(text);
    EXPECT_STREQ(L"Q:仮想ドライブ", text.GetString());
    Row(DRIVE_KIND_NETWORK_ROOT, kNetworkComputerName).GetDisplayText(text);
    EXPECT_STREQ(L"ネットワーク コンピュータ", text.GetString());
    Row(3, L"C:", L"[System]").GetDisplayText(text);
    EXPECT_STREQ(L"C:[System]", text.GetString());
}

int g_closeCalls = 0;
BOOL CountingClose(CEntryFind*& find)
{
    ++g_closeCalls;
    find = nullptr;
    return TRUE;
}

TEST(RecordsDirWalkFrame, RelativePathsAndStack)
{
    CDirWalkFrame* root = CDirWalkFrame::CreateRoot(L"C:\\a\\b");
    EXPECT_STREQ(L"b", root->m_relativePath.GetString());
    EXPECT_EQ(nullptr, root->m_next);
    EXPECT_EQ(nullptr, root->m_pFind);
    EXPECT_EQ(0, root->m_firstEntryPending);
    EXPECT_TRUE(root->m_targetDirectory.IsEmpty());
    EXPECT_EQ(0u, root->m_lastWriteTime.dwLowDateTime | root->m_lastWriteTime.dwHighDateTime);

    CDirWalkFrame* child = CDirWalkFrame::CreateChild(root, L"c");
    EXPECT_STREQ(L"b\\c", child->m_relativePath.GetString());
    EXPECT_STREQ(L"C:\\a\\b\\c", child->m_directoryPath.GetString());
    EXPECT_EQ(root, child->m_next);
    CDirWalkFrame* deeper = CDirWalkFrame::CreateChild(child, L"d");
    EXPECT_STREQ(L"b\\c\\d", deeper->m_relativePath.GetString());

    // Popping a level leaves the enclosing frames alone.
    CDirWalkFrame* top = deeper->m_next;
    delete deeper;
    EXPECT_EQ(child, top);
    EXPECT_STREQ(L"b\\c", top->m_relativePath.GetString());
    delete child;
    delete root;
}

TEST(RecordsDirWalkFrame, DestructorClosesOnlyAnOpenEnumeration)
{
    const DirWalkHooks saved = g_DirWalkHooks;
    g_DirWalkHooks.closeEntryFind = &CountingClose;
    g_closeCalls = 0;
    delete new CDirWalkFrame;
    EXPECT_EQ(0, g_closeCalls);

    CDirWalkFrame* frame = new CDirWalkFrame;
    frame->m_pFind = reinterpret_cast<CEntryFind*>(frame); // any non-null enumeration
    delete frame;
    EXPECT_EQ(1, g_closeCalls);
    g_DirWalkHooks = saved;
}

TEST(RecordsJumpRecords, NewRecordsAreEmpty)
{
    CJumpDirectory group;
    EXPECT_TRUE(group.m_groupName.IsEmpty());
    EXPECT_EQ(0, group.m_entries.GetCount());
    CEachJumpDirectory jump;
    jump.m_keyName = L"F1";
    jump.m_directory = L"C:\\x";
    group.m_entries.Add(jump);
    CJumpDirectory copy = group;
    EXPECT_STREQ(L"C:\\x", copy.m_entries[0].m_directory.GetString());
    CFileListEntry node;
    EXPECT_EQ(nullptr, node.m_next);
    EXPECT_TRUE(node.m_directory.IsEmpty() && node.m_name.IsEmpty());
}

} // namespace
