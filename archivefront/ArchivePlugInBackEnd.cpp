#include "archivefront/ArchivePlugInBackEnd.h"

ArchivePlugInHooks g_ArchivePlugInHooks = {};

CArchivePlugInBackEnd::CArchivePlugInBackEnd()
{
    ZeroMemory(&m_emptyFindData, sizeof(m_emptyFindData));
}

CArchivePlugInBackEnd::~CArchivePlugInBackEnd()
{
    delete m_host;
}

IArchivePlugInHost* CArchivePlugInBackEnd::Host()
{
    if (m_host == nullptr && g_ArchivePlugInHooks.createHost != nullptr)
    {
        m_host = g_ArchivePlugInHooks.createHost();
        if (m_host != nullptr && m_readerLockDisabled)
            m_host->DisableReaderLock();
    }
    return m_host;
}

int CArchivePlugInBackEnd::Forward(int result)
{
    m_errors.CopyFrom(m_host->Errors());
    return result;
}

int CArchivePlugInBackEnd::LoadPlugInForFile(LPCWSTR path, int kind, int firstIndex, int check)
{
    m_errors.Clear();
    if (Host() == nullptr)
    {
        m_errors.Add(ARCERR_NO_PLUGIN, 0);
        return -1;
    }
    return Forward(m_host->LoadPlugInForFile(path, kind, firstIndex, check));
}

int CArchivePlugInBackEnd::ListArchive(LPCWSTR path)
{
    m_errors.Clear();
    if (Host() == nullptr)
    {
        m_errors.Add(ARCERR_NO_PLUGIN, 0);
        return 0;
    }
    return Forward(m_host->ListArchive(path));
}

int CArchivePlugInBackEnd::ExtractToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                                           CProgressInfo* progress)
{
    m_errors.Clear();
    if (Host() == nullptr)
    {
        if (buffer)
            *buffer = nullptr;
        if (size)
            *size = 0;
        m_errors.Add(ARCERR_NO_PLUGIN, 0);
        return 0;
    }
    return Forward(m_host->ExtractMemberToMemory(member, buffer, size, progress, 0));
}

int CArchivePlugInBackEnd::ExtractToMemory2(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                                            CProgressInfo* progress)
{
    m_errors.Clear();
    if (Host() == nullptr)
        return ExtractToMemory(member, buffer, size, progress);
    return Forward(m_host->ExtractMemberToMemory(member, buffer, size, progress, 1));
}

int CArchivePlugInBackEnd::Extract(CWnd* owner, CProgressInfo* progress)
{
    m_errors.Clear();
    if (Host() == nullptr)
    {
        m_errors.Add(ARCERR_NO_PLUGIN, 0);
        return 0;
    }
    return Forward(m_host->Extract(owner, progress));
}

void CArchivePlugInBackEnd::SetOption(int index, LPCWSTR text)
{
    if (Host() != nullptr)
        m_host->SetOption(index, text);
}

void CArchivePlugInBackEnd::ResetOptions()
{
    if (m_host != nullptr)
        m_host->ClearOptions();
}

void CArchivePlugInBackEnd::Close()
{
    if (m_host != nullptr)
        m_host->Close();
}

void CArchivePlugInBackEnd::UnloadLibrary()
{
    if (m_host != nullptr)
        m_host->UnloadLibrary();
}

void CArchivePlugInBackEnd::SetArchiveImage(const void* image, SIZE_T size, ULONGLONG imageStart)
{
    if (Host() != nullptr)
        m_host->SetArchiveImage(image, size, imageStart);
}

void CArchivePlugInBackEnd::Reset()
{
    m_readerLockDisabled = 1;
    if (m_host != nullptr)
        m_host->DisableReaderLock();
}

CString CArchivePlugInBackEnd::GetLibraryName() const
{
    return m_host != nullptr ? m_host->GetPlugInName() : CString();
}

int CArchivePlugInBackEnd::HasListing() const
{
    return Listing().GetSize() > 0 ? 1 : 0;
}

int CArchivePlugInBackEnd::IsSupportedName(LPCWSTR name)
{
    return g_ArchivePlugInHooks.isSupportedName != nullptr && name != nullptr
               ? g_ArchivePlugInHooks.isSupportedName(name)
               : 0;
}

const CArrayArchiveFileInfo& CArchivePlugInBackEnd::Listing() const
{
    return m_host != nullptr ? m_host->Listing() : m_emptyListing;
}

const WIN32_FIND_DATAW& CArchivePlugInBackEnd::FindData() const
{
    return m_host != nullptr ? m_host->FindData() : m_emptyFindData;
}

CString CArchivePlugInBackEnd::ArchivePath() const
{
    return m_host != nullptr ? m_host->ArchivePath() : CString();
}
