#include "archive/front/SusiePlugInHost.h"

CSusiePlugInHost::CSusiePlugInHost()
{
    ZeroMemory(&m_archiveFindData, sizeof(m_archiveFindData));
}

CSusiePlugInHost::~CSusiePlugInHost()
{
    Close();
}

int CSusiePlugInHost::LoadPlugInForFile(LPCWSTR /*path*/, int /*kind*/, int /*firstIndex*/, int /*check*/)
{
    m_errors.Clear();
    m_errors.Add(ARCERR_NO_PLUGIN, 0);
    return -1;
}

int CSusiePlugInHost::ListArchive(LPCWSTR /*path*/)
{
    m_listing.RemoveAll();
    m_errors.Add(ARCERR_NO_PLUGIN, 0);
    return 0;
}

int CSusiePlugInHost::ExtractToMemory(LPCWSTR, LPCWSTR, LPCWSTR, void** buffer, LONGLONG* size,
                                      CProgressInfo*)
{
    if (buffer)
        *buffer = nullptr;
    if (size)
        *size = 0;
    m_errors.Add(ARCERR_NO_PLUGIN, 0);
    return 0;
}

int CSusiePlugInHost::ExtractToMemory2(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer,
                                       LONGLONG* size, CProgressInfo* progress)
{
    return ExtractToMemory(archive, folder, name, buffer, size, progress);
}

int CSusiePlugInHost::Extract(CWnd* /*owner*/, CProgressInfo* /*progress*/)
{
    m_errors.Add(ARCERR_NO_PLUGIN, 0);
    return 0;
}

void CSusiePlugInHost::SetOption(int /*index*/, LPCWSTR /*text*/) {}

void CSusiePlugInHost::ResetOptions() {}

void CSusiePlugInHost::Close()
{
    UnloadLibrary();
    m_listing.RemoveAll();
}

void CSusiePlugInHost::UnloadLibrary()
{
    m_libraryName.Empty();
}

int CSusiePlugInHost::IsSupportedName(LPCWSTR /*name*/)
{
    return 0;
}
