// The viewer half of a filer pane: the text it shows as a text viewer, reached
// through the viewer object the program's factory makes.
#include "filer/PaneViewer.h"

#include "app/Settings.h"
#include "app/records/LocalMemory.h"
#include "filer/FilerPane.h"

namespace
{
LPCWSTR ExtensionOfName(LPCWSTR name)
{
    LPCWSTR dot = wcsrchr(name, L'.');
    return dot ? dot + 1 : L"";
}
} // namespace

PaneViewerHooks g_PaneViewerHooks = {nullptr};

IPaneViewer* CreatePaneViewer()
{
    return g_PaneViewerHooks.create != nullptr ? g_PaneViewerHooks.create() : nullptr;
}

int CFilerPane::OpenViewerFile(const CFileInfo& entry, LONGLONG maxMemberBytes, int tabWidth, int lineWidth,
                               UINT modeOverride)
{
    m_viewerEntry = entry;
    if (m_viewer == nullptr)
        m_viewer = CreatePaneViewer();
    if (m_viewer == nullptr)
        return 0;
    m_viewer->Release();
    const UINT mode = modeOverride ? modeOverride : m_mode;
    if (mode & (PANE_MODE_ARCHIVE | PANE_MODE_ARCHIVE_TEXT_VIEWER))
    {
        LONGLONG size =
            static_cast<LONGLONG>(entry.m_findData.nFileSizeHigh) << 32 | entry.m_findData.nFileSizeLow;
        if (maxMemberBytes > 0 && (size <= 0 || size > maxMemberBytes))
            size = maxMemberBytes;
        void* bytes = nullptr;
        // The row's own member: others may share its name (case aside, or cleaned).
        if (!m_archive->ExtractEntryToMemory(entry.m_itemIndex, &bytes, &size, nullptr))
            return 0;
        m_archive->UnloadLibraries();
        BOOL opened = m_viewer->OpenMemory(bytes, size, ExtensionOfName(entry.GetName()), tabWidth, lineWidth,
                                           g_VIEWER_CHAR_CODE);
        LocalFreeLocked(bytes);
        return opened ? 1 : 0;
    }
    return m_viewer->OpenFile(entry.GetRealFullPath(), tabWidth, lineWidth, g_VIEWER_CHAR_CODE) ? 1 : 0;
}

int CFilerPane::LoadViewerData(int tabWidth, int lineWidth)
{
    return m_viewer != nullptr && m_viewer->Rewrap(tabWidth, lineWidth) ? 1 : 0;
}

BOOL CFilerPane::LockViewerData()
{
    if (m_viewerHeld)
        return m_viewer != nullptr;
    return m_viewer != nullptr && m_viewer->Lock();
}

void CFilerPane::UnlockViewerData()
{
    if (m_viewer != nullptr && !m_viewerHeld)
        m_viewer->Unlock();
}

BOOL CFilerPane::HoldViewerData()
{
    if (m_viewerHeld || !LockViewerData())
        return FALSE;
    m_viewerHeld = TRUE;
    return TRUE;
}

void CFilerPane::ReleaseHeldViewerData()
{
    if (!m_viewerHeld)
        return;
    m_viewerHeld = FALSE;
    UnlockViewerData();
}

void CFilerPane::StopViewerLoader()
{
    if (m_viewer != nullptr)
        m_viewer->StopLoader();
}

void CFilerPane::ReleaseViewerData()
{
    if (m_viewer != nullptr)
        m_viewer->Release();
}

BOOL CFilerPane::IsViewerLoadDone() const
{
    return m_viewer == nullptr || m_viewer->IsLoadDone();
}

INT64 CFilerPane::ScrollViewerLines(INT64 delta, int linesPerPage, BOOL hexForm)
{
    return m_viewer != nullptr ? m_viewer->ScrollLines(delta, linesPerPage, hexForm || m_bHexDisplay) : 0;
}

INT64 CFilerPane::ViewerTopLineOffset()
{
    if (!LockViewerData())
        return -1;
    const INT64 count = m_viewer->LineCount();
    const INT64 top = m_viewer->GetTopLine();
    const INT64 length = m_viewer->TextLength();
    // The hexadecimal form's top counts rows of sixteen bytes.
    INT64 offset = 0;
    if (m_bHexDisplay)
        offset = top * 16 < length ? top * 16 : length;
    else if (count > 0)
        offset = m_viewer->LineIndex()[top < count ? top : count - 1];
    UnlockViewerData();
    return offset;
}

int CFilerPane::GetViewerEncoding() const
{
    return m_viewer != nullptr ? m_viewer->GetEncoding() : 0;
}

int CFilerPane::GetViewerEncodingDetail() const
{
    return m_viewer != nullptr ? m_viewer->GetEncodingDetail() : -1;
}

int CFilerPane::SearchViewerText(BOOL forward)
{
    return m_viewer != nullptr && m_viewer->Search(forward) ? 1 : 0;
}
