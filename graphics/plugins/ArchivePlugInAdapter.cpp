#include "graphics/plugins/ArchivePlugInAdapter.h"

#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/plugins/SusiePlugInList.h"

namespace
{
class CArchivePlugInAdapter : public IArchivePlugInHost
{
public:
    int LoadPlugInForFile(LPCWSTR path, int kindFlags, int startIndex, int probe) override
    {
        return m_host.LoadPlugInForFile(path, kindFlags, startIndex, probe);
    }
    int ListArchive(LPCWSTR path) override { return m_host.ListArchive(path); }
    int ExtractMemberToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                              CProgressInfo* progress, int fromImage) override
    {
        return m_host.ExtractMemberToMemory(member, buffer, size, progress, fromImage);
    }
    int Extract(CWnd* owner, CProgressInfo* progress) override { return m_host.Extract(owner, progress); }
    void SetOption(int number, LPCWSTR text) override { m_host.SetOption(number, text); }
    void ClearOptions() override { m_host.ClearOptions(); }
    int HasSelection() override { return m_host.HasSelection(); }
    CString GetPlugInName() override { return m_host.GetPlugInName(); }
    void DisableReaderLock() override { m_host.DisableReaderLock(); }
    void SetArchiveImage(const void* image, SIZE_T size, ULONGLONG imageStart) override
    {
        m_host.SetArchiveImage(image, size, imageStart);
    }
    void UnloadLibrary() override { m_host.UnloadLibrary(); }
    void Close() override { m_host.Close(); }
    const CErrorIF& Errors() override { return m_host.m_errors; }
    CArrayArchiveFileInfo& Listing() override { return m_host.m_listing; }
    WIN32_FIND_DATAW& FindData() override { return m_host.m_archiveFindData; }
    CString ArchivePath() override { return m_host.m_archivePath; }

private:
    CSusiePlugInHost m_host;
};
} // namespace

IArchivePlugInHost* CreateArchivePlugInHost()
{
    return new CArchivePlugInAdapter;
}

int IsArchivePlugInName(LPCWSTR name)
{
    return FindSusiePlugIn(name, SUSIE_KIND_ARCHIVE, 0, nullptr) >= 0 ? 1 : 0;
}
