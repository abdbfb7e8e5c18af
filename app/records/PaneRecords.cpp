#include "app/records/PaneRecords.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"

const wchar_t* const kVirtualDriveDescription = L"仮想ドライブ";
const wchar_t* const kNetworkComputerName = L"ネットワーク コンピュータ";

namespace
{
CDirWalkFrame::CloseEntryFindFn g_closeEntryFind = nullptr;
}

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
    if (m_pFind != nullptr && g_closeEntryFind != nullptr)
    {
        g_closeEntryFind(m_pFind);
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

void CDirWalkFrame::SetCloseEntryFind(CloseEntryFindFn close)
{
    g_closeEntryFind = close;
}

CDirWalkFrame::CloseEntryFindFn CDirWalkFrame::GetCloseEntryFind()
{
    return g_closeEntryFind;
}
