// "@AddDirJump": the directory under the cursor of a filer, drive list or network pane
// appended to one of the jump groups.
#include "app/Directories.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/InputDlgs.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/settings/FilerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"

namespace
{
constexpr DWORD kDisplayServer = 2;
constexpr DWORD kDisplayShare = 3;

// "\\server\share" of a share under the cursor of a network pane, else empty.
CString NetworkShareOf(const CFilerPane& pane)
{
    if (pane.m_cursor < 0 || pane.m_cursor >= pane.m_networkList.GetSize())
        return CString();
    const CNetResourceData& entry = pane.m_networkList[static_cast<INT_PTR>(pane.m_cursor)];
    if (entry.m_name.IsEmpty() || entry.m_name == L".." || entry.m_displayType != kDisplayShare)
        return CString();
    CString server;
    CString share = entry.m_name;
    for (int level = 0; level < pane.m_networkDepth && level < kNetworkLevelCount; ++level)
    {
        CString element;
        GetPathElement(level + 2, pane.m_networkPath, element);
        if (pane.m_networkLevels[level] == kDisplayServer)
            server = element;
        if (pane.m_networkLevels[level] == kDisplayShare)
        {
            share = element;
            break;
        }
    }
    if (server.IsEmpty() || share.IsEmpty())
        return CString();
    CString text;
    text.Format(L"\\\\%s\\%s", static_cast<LPCWSTR>(server), static_cast<LPCWSTR>(share));
    return text;
}

CString DriveRowPathOf(const CFilerPane& pane)
{
    if (pane.m_cursor < 0 || pane.m_cursor >= pane.m_driveList.GetSize())
        return CString();
    const CDriveInfo& row = pane.m_driveList[static_cast<INT_PTR>(pane.m_cursor)];
    if (row.m_kind == DRIVE_KIND_LAST_SHARE)
        return row.m_name;
    if (row.m_name.GetLength() == 2 && row.m_name[1] == L':')
        return row.m_name + L"\\";
    return CString();
}

CString FilerEntryOf(CFilerPane& pane)
{
    if (pane.m_subMode == PANE_SUB_DIRECTORY &&
        pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_CURSOR_NOT_DOT))
        return CString();
    const CFileInfo* entry = pane.GetCursorEntry();
    if (entry == nullptr || entry->IsDots())
        return CString();
    return entry->GetRealFullPath();
}
} // namespace

// "@AddDirJump": the directory under the cursor appended to a jump group.
VIEW_COMMAND(AddJumpDirectory)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_NETWORK,
                        0))
        return;
    CFilerPane& pane = *g_Panes[index];
    CWnd* parent = DialogOwner(&view);
    CViewBusyGuard busy(view);
    CString directory;
    if (pane.m_mode == PANE_MODE_NETWORK)
        directory = NetworkShareOf(pane);
    else if (pane.m_mode == PANE_MODE_DRIVE_LIST)
        directory = DriveRowPathOf(pane);
    else
        directory = FilerEntryOf(pane);
    if (directory.IsEmpty() || g_JumpGroups.GetSize() == 0)
        return;
    INT_PTR group = 0;
    CString prefix;
    if (g_JumpGroups.GetSize() > 1)
    {
        CComboDlg dialog(parent);
        dialog.m_caption = L"グループの選択";
        for (INT_PTR i = 0; i < g_JumpGroups.GetSize(); ++i)
            dialog.m_items.Add(g_JumpGroups[i].m_groupName);
        if (dialog.DoModal() != IDOK || dialog.m_index < 0 || dialog.m_index >= g_JumpGroups.GetSize())
            return;
        group = dialog.m_index;
        prefix.Format(L"グループ%sに\n", static_cast<LPCWSTR>(g_JumpGroups[group].m_groupName));
    }
    CJumpDirectory& target = g_JumpGroups[group];
    for (INT_PTR i = 0; i < target.m_entries.GetSize(); ++i)
    {
        if (target.m_entries[i].m_directory.CompareNoCase(directory) == 0)
        {
            CString text;
            text.Format(L"%sは追加済みです", static_cast<LPCWSTR>(directory));
            Tell(parent, text);
            return;
        }
    }
    CEachJumpDirectory added;
    added.m_directory = directory;
    target.m_entries.Add(added);
    CString text;
    text.Format(L"%s%sを追加しました", static_cast<LPCWSTR>(prefix), static_cast<LPCWSTR>(directory));
    Tell(parent, text, L"ディレクトリジャンプへの追加");
}
