#include "app/records/PaneRecords.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"

const wchar_t* const kVirtualDriveDescription = L"仮想ドライブ";
const wchar_t* const kNetworkComputerName = L"ネットワーク コンピュータ";

DirWalkHooks g_DirWalkHooks = {nullptr};

int CDriveInfo::IsDriveOfPath(LPCWSTR path) const
{
    CString root;
    if (path == nullptr || !GetPathRoot(path, root))
    {
        return 0;
    }
    RemoveTrailingBackslash(root);
    return root.CompareNoCase(m_name) == 0 ? 1 : 0;
}

void CDriveInfo::GetDisplayText(CString& out) const
{
    out.Format(L"%s%s", m_name.GetString(), m_description.GetString());
}

CDirWalkFrame::~CDirWalkFrame()
{
    if (m_pFind != nullptr && g_DirWalkHooks.closeEntryFind != nullptr)
    {
        g_DirWalkHooks.closeEntryFind(m_pFind);
    }
}

CDirWalkFrame* CDirWalkFrame::CreateRoot(LPCWSTR directoryPath)
{
    CDirWalkFrame* frame = new CDirWalkFrame;
    frame->m_directoryPath = directoryPath;
    RemoveTrailingBackslash(frame->m_directoryPath);
    SplitPath(frame->m_directoryPath, nullptr, &frame->m_relativePath);
    return frame;
}

CDirWalkFrame* CDirWalkFrame::CreateChild(CDirWalkFrame* parent, LPCWSTR name)
{
    CDirWalkFrame* frame = new CDirWalkFrame;
    frame->m_relativePath.Format(L"%s\\%s", parent->m_relativePath.GetString(), name);
    MakePath(parent->m_directoryPath, name, frame->m_directoryPath);
    frame->m_next = parent;
    return frame;
}
