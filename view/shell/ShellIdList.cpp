// The "Shell IDList Array" of a pane's target entries, the data the shell takes when
// entries are dragged out of a pane.
#include "util/PathHelpers.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

#include <shlobj.h>

#include <vector>

namespace
{

UINT GetItemIdListSize(LPCITEMIDLIST list)
{
    UINT size = 0;
    for (auto* item = reinterpret_cast<const BYTE*>(list);
         item && reinterpret_cast<const SHITEMID*>(item)->cb;
         item += reinterpret_cast<const SHITEMID*>(item)->cb)
        size += reinterpret_cast<const SHITEMID*>(item)->cb;
    return size + sizeof(USHORT);
}

} // namespace

HGLOBAL CQvView::BuildShellIdListArray(int pane, int withFlag)
{
    if (PaneAt(pane) == nullptr)
        return nullptr;
    CFilerPane& target = *g_Panes[pane];
    if (target.CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_CURSOR_NOT_DOT | PANE_CHECK_DRIVE_PRESENT) != 0)
        return nullptr;
    DWORD flags = withFlag ? TARGET_MARKED_IF_CURSOR_MARKED : 0;
    std::vector<CString> names;
    CFileInfo entry;
    for (int n = 0; target.GetTargetEntry(flags, n, entry); ++n)
        names.push_back(entry.GetName());
    if (names.empty())
        return nullptr;
    CString folderPath = target.m_currentDir;
    if (IsPathRoot(folderPath) && folderPath.Right(1) != L"\\")
        folderPath += L'\\';
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return nullptr;
    std::vector<LPITEMIDLIST> lists;
    IShellFolder* folder = nullptr;
    bool ok = false;
    LPITEMIDLIST parent = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>((LPCWSTR)folderPath),
                                            nullptr, &parent, nullptr)))
    {
        lists.push_back(parent);
        ok = SUCCEEDED(
            desktop->BindToObject(parent, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder)));
        for (size_t i = 0; ok && i < names.size(); ++i)
        {
            LPITEMIDLIST item = nullptr;
            ok = SUCCEEDED(folder->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>((LPCWSTR)names[i]),
                                                    nullptr, &item, nullptr));
            if (ok)
                lists.push_back(item);
        }
    }
    HGLOBAL block = nullptr;
    if (ok)
    {
        UINT count = static_cast<UINT>(names.size());
        SIZE_T header = sizeof(UINT) * (count + 2);
        SIZE_T total = header;
        for (LPITEMIDLIST list : lists)
            total += GetItemIdListSize(list);
        block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT,
                            (total & ~static_cast<SIZE_T>(15)) + 16);
        auto* data = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
        if (data != nullptr)
        {
            auto* words = reinterpret_cast<UINT*>(data);
            words[0] = count;
            SIZE_T offset = header;
            for (size_t i = 0; i < lists.size(); ++i)
            {
                UINT size = GetItemIdListSize(lists[i]);
                words[1 + i] = static_cast<UINT>(offset);
                memcpy(data + offset, lists[i], size);
                offset += size;
            }
            GlobalUnlock(block);
        }
        else if (block != nullptr)
        {
            GlobalFree(block);
            block = nullptr;
        }
    }
    for (LPITEMIDLIST list : lists)
        CoTaskMemFree(list);
    if (folder != nullptr)
        folder->Release();
    desktop->Release();
    return block;
}
