#include "archivefront/ArchiveFront.h"
#include "app/Settings.h"
#include "util/Wildcard.h"
#include "framework/FwWnd.h"
#include "filer/FileInfo.h"
#include "archivefront/sevenzip/ExtractPaths.h"

#include <string>
#include <unordered_map>

namespace
{
// "The archive holds no such member."
const DWORD kNoSuchMember = 4;

// The key under which a listed name is looked up. Archives made on other systems hold
// names that differ only in case ("Makefile" and "makefile", folders "DIR" and "dir"):
// each is a member, or a folder of members, of its own and gets a row of its own.
std::wstring NameKey(LPCWSTR name)
{
    return std::wstring(name);
}

// The find data of a directory that only the paths of deeper members name.
WIN32_FIND_DATAW SynthesisedFolder(const CString& name, const WIN32_FIND_DATAW& archive)
{
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
    data.ftCreationTime = archive.ftCreationTime;
    data.ftLastAccessTime = archive.ftLastAccessTime;
    data.ftLastWriteTime = archive.ftLastWriteTime;
    lstrcpynW(data.cFileName, name, MAX_PATH);
    CString shortName;
    CArchiveFileInfo::MakeShortDisplayName(data.cFileName, shortName);
    lstrcpynW(data.cAlternateFileName, shortName, 14);
    return data;
}

// Whether the folder path holds the folder or begins with it, with the case as given.
bool LiesInFolder(const CString& path, const CString& folder, bool ignoreCase)
{
    if (path.GetLength() < folder.GetLength() ||
        (path.GetLength() > folder.GetLength() && path[folder.GetLength()] != L'\\'))
        return false;
    const size_t length = static_cast<size_t>(folder.GetLength());
    return ignoreCase ? _wcsnicmp(path, folder, length) == 0 : wcsncmp(path, folder, length) == 0;
}

// The folder as the archive spells it. Rows of a folder carry its exact path, since
// folders that differ only in case are folders of their own; a path given in another
// case (typed by the user) finds the folder of that name when the archive has no
// folder of exactly that spelling.
CString ResolveFolderSpelling(const CArrayArchiveFileInfo& listing, const CString& folder)
{
    if (folder.IsEmpty())
        return folder;
    for (INT_PTR i = 0; i < listing.GetSize(); ++i)
        if (LiesInFolder(listing[i].m_folder, folder, false))
            return folder;
    for (INT_PTR i = 0; i < listing.GetSize(); ++i)
        if (LiesInFolder(listing[i].m_folder, folder, true))
            return listing[i].m_folder.Left(folder.GetLength());
    return folder;
}

WIN32_FIND_DATAW DotEntry(LPCWSTR name)
{
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
    lstrcpynW(data.cFileName, name, MAX_PATH);
    lstrcpynW(data.cAlternateFileName, name, 14);
    return data;
}

// "." and ".." stand for the folder and its parent in every listing; a member or path
// component of that name (only a damaged or hostile archive holds one) is not listed.
bool IsDotName(LPCWSTR name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

} // namespace

CArchiveFront::CArchiveFront() {}

CArchiveFront::~CArchiveFront()
{
    Close();
}

IPaneArchive* CArchiveFront::CreateForPane()
{
    return new CArchiveFront;
}

template <class Call> int CArchiveFront::Guarded(Call call)
{
    // A back-end's library or client code may throw out of a call; the caller of the
    // front only ever reads a result and the error list.
    try
    {
        return call();
    }
    catch (int value)
    {
        m_errors.Add(ARCERR_EXCEPTION, value);
    }
    catch (...)
    {
        m_errors.Add(ARCERR_EXCEPTION, 0);
    }
    return 0;
}

// ---- Opening ---------------------------------------------------------------------

int CArchiveFront::Open(LPCWSTR path, int flags)
{
    Close();
    m_errors.Clear();
    if (m_sevenZip.Open(path, flags) == 0)
    {
        m_activeBackEnd = ARCFRONT_SEVENZIP;
        return 1;
    }
    // The library answers a member read through its temporary folder only as a last
    // resort: the plug-ins are asked before it.
    if (m_archiverDll.Open(path, flags & ~ARCFRONT_OPEN_MEMBER_VIA_TEMP, 0) >= 0)
    {
        m_activeBackEnd = ARCFRONT_ARCHIVER;
        return 1;
    }
    m_errors.AddFrom(m_archiverDll.m_errors);
    m_archiverDll.Close();
    if ((flags & (ARCFRONT_OPEN_MEMBER_TO_MEMORY | ARCFRONT_OPEN_UNPACK)) != 0)
    {
        if (m_plugIn.LoadPlugInForFile(path, 1, 0, 1) >= 0)
        {
            m_activeBackEnd = ARCFRONT_PLUGIN;
            return 1;
        }
        m_errors.AddFrom(m_plugIn.m_errors);
        m_plugIn.Close();
    }
    if ((flags & ARCFRONT_OPEN_MEMBER_VIA_TEMP) != 0 && m_archiverDll.Open(path, flags, 0) >= 0)
    {
        m_activeBackEnd = ARCFRONT_ARCHIVER;
        return 1;
    }
    m_errors.AddFrom(m_archiverDll.m_errors);
    m_archiverDll.Close();
    return 0;
}

int CArchiveFront::OpenAndList(LPCWSTR path, int preference)
{
    struct Candidate
    {
        int backEnd;
        int openFlags;
    };
    Candidate candidates[3] = {};
    int count = 0;
    if ((preference & ARCFRONT_PREFER_ARCHIVER) != 0)
    {
        candidates[count++] = {ARCFRONT_ARCHIVER,
                               ARCFRONT_OPEN_MEMBER_TO_MEMORY | ARCFRONT_OPEN_MEMBER_VIA_TEMP};
        candidates[count++] = {ARCFRONT_PLUGIN, 0};
    }
    else if ((preference & ARCFRONT_PREFER_PLUGIN) != 0)
    {
        candidates[count++] = {ARCFRONT_PLUGIN, 0};
        candidates[count++] = {ARCFRONT_ARCHIVER, ARCFRONT_OPEN_MEMBER_TO_MEMORY};
        candidates[count++] = {ARCFRONT_ARCHIVER, ARCFRONT_OPEN_MEMBER_VIA_TEMP};
    }
    else
    {
        candidates[count++] = {ARCFRONT_ARCHIVER, ARCFRONT_OPEN_MEMBER_TO_MEMORY};
        candidates[count++] = {ARCFRONT_PLUGIN, 0};
        candidates[count++] = {ARCFRONT_ARCHIVER, ARCFRONT_OPEN_MEMBER_VIA_TEMP};
    }

    Close();
    m_errors.Clear();
    return Guarded([&]() -> int {
        if (m_sevenZip.Open(path, SEVENZIP_OPEN_LIST) == 0 && m_sevenZip.ListEntries(path))
        {
            m_activeBackEnd = ARCFRONT_SEVENZIP;
            return 1;
        }
        m_errors.AddFrom(m_sevenZip.m_errors);
        m_sevenZip.Close();
        for (int i = 0; i < count; ++i)
        {
            if (candidates[i].backEnd == ARCFRONT_ARCHIVER)
            {
                if ((preference & ARCFRONT_NO_ARCHIVER) != 0)
                    continue;
                if (m_archiverDll.Open(path, candidates[i].openFlags, 0) >= 0 &&
                    m_archiverDll.ListEntries(path))
                {
                    m_activeBackEnd = ARCFRONT_ARCHIVER;
                    return 1;
                }
                m_errors.AddFrom(m_archiverDll.m_errors);
                m_archiverDll.Close();
            }
            else
            {
                if (m_plugIn.LoadPlugInForFile(path, 1, 0, 1) >= 0 && m_plugIn.ListArchive(path))
                {
                    m_activeBackEnd = ARCFRONT_PLUGIN;
                    return 1;
                }
                m_errors.AddFrom(m_plugIn.m_errors);
                m_plugIn.Close();
            }
        }
        return 0;
    });
}

int CArchiveFront::IsSupportedName(LPCWSTR name, int flags)
{
    if (CArchiverDll::IsSupportedName(name, flags))
        return 1;
    if (CSevenZipArchive::IsSupportedName(name, flags))
        return 1;
    return flags == ARCFRONT_OPEN_UNPACK && CArchivePlugInBackEnd::IsSupportedName(name) ? 1 : 0;
}

// ---- The listing -----------------------------------------------------------------

const CArrayArchiveFileInfo* CArchiveFront::ActiveListing() const
{
    switch (m_activeBackEnd)
    {
    case ARCFRONT_PLUGIN:
        return &m_plugIn.Listing();
    case ARCFRONT_ARCHIVER:
        return &m_archiverDll.m_listing;
    case ARCFRONT_SEVENZIP:
        return &m_sevenZip.m_listing;
    default:
        return nullptr;
    }
}

const WIN32_FIND_DATAW* CArchiveFront::ActiveArchiveFindData() const
{
    switch (m_activeBackEnd)
    {
    case ARCFRONT_PLUGIN:
        return &m_plugIn.FindData();
    case ARCFRONT_ARCHIVER:
        return &m_archiverDll.m_archiveFind;
    case ARCFRONT_SEVENZIP:
        return &m_sevenZip.m_archiveFindData;
    default:
        return nullptr;
    }
}

int CArchiveFront::ListDirectory(CArrayFileInfo& out, LPCWSTR folder, LPCWSTR wildcard,
                                 BOOL filterDirectories, const FindCondition* condition)
{
    out.RemoveAll();
    const CArrayArchiveFileInfo* listing = ActiveListing();
    // An object that never opened an archive has no folder at all, not even a way up.
    if (listing == nullptr)
        return 0;
    WIN32_FIND_DATAW archive = *ActiveArchiveFindData();
    const CString base = ResolveFolderSpelling(*listing, folder ? folder : L"");

    if (!g_NOTVIEWCURRENTDIR)
        out.AddArchiveEntry(this, base, DotEntry(L"."), -1);
    if (!g_NOTVIEWUPDIR)
        out.AddArchiveEntry(this, base, DotEntry(L".."), -1);
    if (listing->GetSize() == 0)
        return static_cast<int>(out.GetSize());

    CString pattern;
    CompactWildcardPattern(wildcard && *wildcard ? wildcard : L"*", pattern);
    CString prefix = base.IsEmpty() ? CString() : base + L"\\";
    // Names already listed, so that a folder met again (as a stored directory or as
    // the folder of one more member) is listed once.
    std::unordered_map<std::wstring, INT_PTR> listed;
    for (INT_PTR i = 0; i < out.GetSize(); ++i)
        listed[NameKey(out[i].GetName())] = i;

    CFileInfo candidate;
    for (INT_PTR i = 0; i < listing->GetSize(); ++i)
    {
        const CArchiveFileInfo& member = listing->GetAt(i);
        if (member.m_folder == base)
        {
            if (member.m_findData.cFileName[0] == 0 || IsDotName(member.m_findData.cFileName))
                continue;
            candidate.SetFromArchive(this, base, member.m_findData, static_cast<int>(i));
            if (!candidate.PassesDisplayFilter(FALSE, FALSE, filterDirectories, pattern, condition, 2))
                continue;
            std::wstring key = NameKey(candidate.GetName());
            auto known = listed.find(key);
            if (candidate.IsDirectory() && known != listed.end())
                out[known->second].SetFromArchive(this, base, member.m_findData, static_cast<int>(i));
            else
            {
                // A file that shares its name with a folder already listed leaves the
                // name to the folder, which deeper members still find.
                INT_PTR added = out.AddEntry(candidate);
                listed.emplace(key, added);
            }
            continue;
        }
        if (member.m_folder.GetLength() <= base.GetLength() ||
            (!prefix.IsEmpty() &&
             wcsncmp(member.m_folder, prefix, static_cast<size_t>(prefix.GetLength())) != 0))
            continue;
        CString rest = member.m_folder.Mid(prefix.GetLength());
        int slash = rest.Find(L'\\');
        CString component = slash < 0 ? rest : rest.Left(slash);
        if (IsDotName(component))
            continue;
        std::wstring key = NameKey(component);
        auto known = listed.find(key);
        if (known != listed.end())
        {
            CFileInfo& entry = out[known->second];
            if (!entry.IsDirectory())
            {
                WIN32_FIND_DATAW data = entry.m_findData;
                data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
                entry.SetFromArchive(this, base, data, entry.m_itemIndex);
            }
            else
                entry.m_findData.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
            continue;
        }
        if (component.IsEmpty())
            continue;
        candidate.SetFromArchive(this, base, SynthesisedFolder(component, archive), -1);
        if (!candidate.PassesDisplayFilter(FALSE, FALSE, filterDirectories, pattern, condition, 2))
            continue;
        listed[key] = out.AddEntry(candidate);
    }
    return static_cast<int>(out.GetSize());
}

int CArchiveFront::GetEntryCount()
{
    const CArrayArchiveFileInfo* listing = ActiveListing();
    return listing ? static_cast<int>(listing->GetSize()) : 0;
}

int CArchiveFront::GetEntry(CArchiveFileInfo** out, int index)
{
    if (out)
        *out = nullptr;
    const CArrayArchiveFileInfo* listing = ActiveListing();
    if (!listing || index < 0 || index >= listing->GetSize())
        return 0;
    if (out)
        *out = const_cast<CArchiveFileInfo*>(&listing->GetAt(index));
    return 1;
}

BOOL CArchiveFront::HasListing() const
{
    const CArrayArchiveFileInfo* listing = ActiveListing();
    return listing && listing->GetSize() > 0;
}

void CArchiveFront::GetArchivePath(CString& out)
{
    switch (m_activeBackEnd)
    {
    case ARCFRONT_PLUGIN:
        out = m_plugIn.ArchivePath();
        break;
    case ARCFRONT_ARCHIVER:
        out = m_archiverDll.m_archivePath;
        break;
    case ARCFRONT_SEVENZIP:
        out = m_sevenZip.m_archivePath;
        break;
    default:
        out.Empty();
        break;
    }
}

void CArchiveFront::SplitArchivePath(CString* folder, CString* name)
{
    CString path;
    GetArchivePath(path);
    int slash = path.ReverseFind(L'\\');
    if (folder)
        *folder = slash < 0 ? CString() : path.Left(slash);
    if (name)
        *name = slash < 0 ? path : path.Mid(slash + 1);
}

CString CArchiveFront::GetLibraryName() const
{
    CString name;
    switch (m_activeBackEnd)
    {
    case ARCFRONT_PLUGIN:
        name = m_plugIn.GetLibraryName();
        break;
    case ARCFRONT_ARCHIVER:
        name = m_archiverDll.GetLibraryName();
        break;
    case ARCFRONT_SEVENZIP:
        m_sevenZip.GetLibraryName(name);
        break;
    default:
        break;
    }
    int slash = name.ReverseFind(L'\\');
    return slash < 0 ? name : name.Mid(slash + 1);
}

int CArchiveFront::GetSevenZipState() const
{
    return m_activeBackEnd == ARCFRONT_SEVENZIP ? m_sevenZip.m_unknownSizeFlags : 0;
}

// ---- Members into memory ---------------------------------------------------------

int CArchiveFront::ExtractToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                                   CProgressInfo* progress)
{
    if (buffer)
        *buffer = nullptr;
    m_errors.Clear();
    return Guarded([&]() -> int {
        switch (m_activeBackEnd)
        {
        case ARCFRONT_SEVENZIP:
            if (m_sevenZip.ExtractToMemory(m_sevenZip.m_archivePath, member, buffer, size, progress))
                return 1;
            m_errors.AddFrom(m_sevenZip.m_errors);
            return 0;
        case ARCFRONT_ARCHIVER: {
            // The libraries count a member's bytes in 32 bits.
            DWORD limit = size && *size > 0 ? (*size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(*size)) : 0;
            int ok = m_archiverDll.ExtractToMemory(m_archiverDll.m_archivePath, member, buffer, &limit);
            if (size)
                *size = ok ? static_cast<LONGLONG>(limit) : 0;
            if (!ok)
                m_errors.AddFrom(m_archiverDll.m_errors);
            return ok ? 1 : 0;
        }
        case ARCFRONT_PLUGIN:
            if (m_plugIn.ExtractToMemory(member, buffer, size, progress))
                return 1;
            m_errors.AddFrom(m_plugIn.m_errors);
            return 0;
        default:
            m_errors.Add(ARCERR_NO_DLL_OR_PLUGIN, 0);
            return 0;
        }
    });
}

int CArchiveFront::ExtractEntryToMemory(int index, void** buffer, LONGLONG* size, CProgressInfo* progress)
{
    CArchiveFileInfo* member = nullptr;
    if (!GetEntry(&member, index) || member == nullptr)
    {
        if (buffer)
            *buffer = nullptr;
        m_errors.Clear();
        m_errors.Add(ARCERR_NO_MEMBER, 0);
        return 0;
    }
    return ExtractToMemory(*member, buffer, size, progress);
}

CArchiveFileInfo* CArchiveFront::FindNamedMember(LPCWSTR name, LPCWSTR folder)
{
    const CArrayArchiveFileInfo* listing = ActiveListing();
    if (listing == nullptr)
    {
        m_errors.Add(ARCERR_NO_DLL_OR_PLUGIN, 0);
        return nullptr;
    }
    return const_cast<CArrayArchiveFileInfo*>(listing)->FindNamedEntry(folder ? folder : L"",
                                                                       name ? name : L"", m_errors);
}

int CArchiveFront::ExtractToMemory(LPCWSTR name, LPCWSTR folder, void** buffer, LONGLONG* size,
                                   CProgressInfo* progress)
{
    if (buffer)
        *buffer = nullptr;
    m_errors.Clear();
    const CArchiveFileInfo* member = FindNamedMember(name, folder);
    return member != nullptr ? ExtractToMemory(*member, buffer, size, progress) : 0;
}

int CArchiveFront::ExtractToMemoryViaPlugIn(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                                            CProgressInfo* progress, const void* image, SIZE_T imageSize,
                                            ULONGLONG imageStart)
{
    if (buffer)
        *buffer = nullptr;
    m_errors.Clear();
    if (m_activeBackEnd != ARCFRONT_PLUGIN)
        return 0;
    // The image belongs to the caller: the host forgets it before this returns.
    m_plugIn.SetArchiveImage(image, imageSize, imageStart);
    const int result = Guarded([&]() -> int {
        if (m_plugIn.ExtractToMemory2(member, buffer, size, progress))
            return 1;
        m_errors.AddFrom(m_plugIn.m_errors);
        return 0;
    });
    m_plugIn.SetArchiveImage(nullptr, 0, 0);
    return result;
}

int CArchiveFront::ExtractToMemoryViaPlugIn(LPCWSTR name, LPCWSTR folder, void** buffer, LONGLONG* size,
                                            CProgressInfo* progress, const void* image, SIZE_T imageSize,
                                            ULONGLONG imageStart)
{
    if (buffer)
        *buffer = nullptr;
    m_errors.Clear();
    if (m_activeBackEnd != ARCFRONT_PLUGIN)
        return 0;
    const CArchiveFileInfo* member = FindNamedMember(name, folder);
    return member != nullptr
               ? ExtractToMemoryViaPlugIn(*member, buffer, size, progress, image, imageSize, imageStart)
               : 0;
}

// ---- Options ---------------------------------------------------------------------

void CArchiveFront::ResetOptions()
{
    m_chosenCount = 0;
    m_overlongPath.Empty();
    m_overlongName.Empty();
    m_flatExtraction = 0;
    switch (m_activeBackEnd)
    {
    case ARCFRONT_PLUGIN:
        m_plugIn.ResetOptions();
        break;
    case ARCFRONT_ARCHIVER:
        m_archiverDll.ResetOptions();
        break;
    case ARCFRONT_SEVENZIP:
        m_sevenZip.ResetOptions();
        break;
    default:
        break;
    }
}

void CArchiveFront::SetOption(int index, LPCWSTR text)
{
    // Option 2 carries a member, not a text; the back-ends' shared vocabulary passes
    // it in the text's place.
    if (index == 2)
    {
        SetOption(index, reinterpret_cast<CArchiveFileInfo*>(const_cast<LPWSTR>(text)));
        return;
    }
    if (index == 6)
        m_flatExtraction = 1;
    switch (m_activeBackEnd)
    {
    case ARCFRONT_PLUGIN:
        m_plugIn.SetOption(index, text);
        break;
    case ARCFRONT_ARCHIVER:
        m_archiverDll.SetOption(index, text);
        break;
    case ARCFRONT_SEVENZIP:
        m_sevenZip.SetOption(index, text);
        break;
    default:
        break;
    }
}

void CArchiveFront::SetOption(int index, CArchiveFileInfo* member)
{
    if (member == nullptr)
        return;
    if (index == 2)
    {
        ++m_chosenCount;
        CString shown;
        if (m_overlongPath.IsEmpty() && HasOverlongName(*member, FALSE, shown))
            m_overlongPath = shown;
        if (m_overlongName.IsEmpty() && HasOverlongName(*member, TRUE, shown))
            m_overlongName = shown;
    }
    switch (m_activeBackEnd)
    {
    case ARCFRONT_PLUGIN:
        m_plugIn.SetOption(index, reinterpret_cast<LPCWSTR>(member));
        break;
    case ARCFRONT_ARCHIVER:
        m_archiverDll.SetOption(index, *member);
        break;
    case ARCFRONT_SEVENZIP:
        m_sevenZip.SetOption(index, reinterpret_cast<LPCWSTR>(member));
        break;
    default:
        break;
    }
}

void CArchiveFront::SetRenameList(const CArrayRenameFileName& list)
{
    if (m_activeBackEnd == ARCFRONT_SEVENZIP)
        m_sevenZip.SetRenameList(list);
}

// ---- Jobs ------------------------------------------------------------------------

int CArchiveFront::SelectPackBackEnd(int kind, int row)
{
    m_errors.Clear();
    if (kind == ARCFRONT_ARCHIVER)
    {
        if (m_archiverDll.LoadForPacking(row))
        {
            m_activeBackEnd = ARCFRONT_ARCHIVER;
            return 1;
        }
        m_errors.CopyFrom(m_archiverDll.m_errors);
        return 0;
    }
    if (kind == ARCFRONT_SEVENZIP)
    {
        if (m_sevenZip.PrepareForPacking())
        {
            m_activeBackEnd = ARCFRONT_SEVENZIP;
            return 1;
        }
        m_errors.CopyFrom(m_sevenZip.m_errors);
        return 0;
    }
    return 0;
}

int CArchiveFront::CreateArchive(CWnd* packDialog, int flag, CProgressInfo* progress)
{
    m_errors.Clear();
    return Guarded([&]() -> int {
        int result = 0;
        if (m_activeBackEnd == ARCFRONT_ARCHIVER)
        {
            result = m_archiverDll.CreateArchive(packDialog ? packDialog->m_hWnd : nullptr, flag);
            m_errors.AddFrom(m_archiverDll.m_errors);
        }
        else if (m_activeBackEnd == ARCFRONT_SEVENZIP)
        {
            result = CSevenZipArchive::CreateArchive(&m_sevenZip, packDialog, progress);
            m_errors.AddFrom(m_sevenZip.m_errors);
        }
        else
            m_errors.Add(ARCERR_NO_DLL_OR_PLUGIN, 0);
        return result;
    });
}

int CArchiveFront::MakeSelfExtracting(CWnd* packDialog, int flag)
{
    m_errors.Clear();
    return Guarded([&]() -> int {
        if (m_activeBackEnd != ARCFRONT_ARCHIVER)
        {
            m_errors.Add(ARCERR_NO_DLL_OR_PLUGIN, 0);
            return 0;
        }
        int result = m_archiverDll.MakeSelfExtracting(packDialog ? packDialog->m_hWnd : nullptr, flag);
        m_errors.AddFrom(m_archiverDll.m_errors);
        return result;
    });
}

CString CArchiveFront::FindOverlongMember() const
{
    CString shown;
    if (m_chosenCount > 0)
        return m_flatExtraction ? m_overlongName : m_overlongPath;
    const CArrayArchiveFileInfo* listing = ActiveListing();
    for (INT_PTR i = 0; listing != nullptr && i < listing->GetSize(); ++i)
        if (HasOverlongName(listing->GetAt(i), m_flatExtraction, shown))
            return shown;
    return CString();
}

int CArchiveFront::Extract(CWnd* owner, CProgressInfo* progress)
{
    m_errors.Clear();
    // No folder on disk holds a longer name: the member would fail half-way through
    // the job, or be cut to another name, so the job does not start.
    const CString overlong = FindOverlongMember();
    if (!overlong.IsEmpty())
    {
        m_errors.Add(ARCERR_NAME_TOO_LONG, 0);
        m_errors.SetSubject(overlong);
        return 0;
    }
    return Guarded([&]() -> int {
        int result = 0;
        switch (m_activeBackEnd)
        {
        case ARCFRONT_PLUGIN:
            result = m_plugIn.Extract(owner, progress);
            m_errors.AddFrom(m_plugIn.m_errors);
            break;
        case ARCFRONT_ARCHIVER:
            result = m_archiverDll.Extract(owner ? owner->m_hWnd : nullptr, progress);
            m_errors.AddFrom(m_archiverDll.m_errors);
            break;
        case ARCFRONT_SEVENZIP:
            m_sevenZip.m_frontPath = m_innerFolder;
            result = m_sevenZip.Extract(owner, progress);
            m_errors.AddFrom(m_sevenZip.m_errors);
            break;
        default:
            m_errors.Add(ARCERR_NO_DLL_OR_PLUGIN, 0);
            break;
        }
        return result;
    });
}

int CArchiveFront::RunSevenZipChange(SevenZipJob job, CWnd* owner, CProgressInfo* progress)
{
    m_errors.Clear();
    return Guarded([&]() -> int {
        // Only the 7-Zip back-end changes members of an archive it listed.
        if (m_activeBackEnd != ARCFRONT_SEVENZIP)
        {
            m_errors.Add(ARCERR_NO_DLL, 0);
            return 0;
        }
        m_sevenZip.m_frontPath = m_innerFolder;
        int result = job(&m_sevenZip, owner, progress);
        m_errors.AddFrom(m_sevenZip.m_errors);
        return result;
    });
}

int CArchiveFront::DeleteEntries(CWnd* owner, CProgressInfo* progress)
{
    return RunSevenZipChange(&CSevenZipArchive::DeleteEntries, owner, progress);
}

int CArchiveFront::DeleteEntries(const CArrayArchiveFileInfo& members, BOOL keepArchiveTimes,
                                 CProgressInfo* progress, CWnd* owner)
{
    m_errors.Clear();
    if (m_activeBackEnd != ARCFRONT_SEVENZIP)
    {
        m_errors.Add(ARCERR_NO_DLL, 0);
        return 0;
    }
    if (members.GetSize() == 0)
        return 1;
    m_sevenZip.ResetOptions();
    m_sevenZip.SetOption(1, nullptr);
    // A member is the listing's record of the same item: members that share a name,
    // in whatever case, are other items and stay.
    CArrayArchiveFileInfo& listing = m_sevenZip.m_listing;
    for (INT_PTR k = 0; k < members.GetSize(); ++k)
    {
        const CArchiveFileInfo& member = members[k];
        CArchiveFileInfo* found = nullptr;
        for (INT_PTR i = 0; i < listing.GetSize() && found == nullptr; ++i)
            if (listing[i].m_itemIndex == member.m_itemIndex &&
                listing[i].m_storedPath == member.m_storedPath)
                found = &listing[i];
        if (found == nullptr)
        {
            // The archive was listed again since the member was chosen.
            m_errors.Add(kNoSuchMember, 0);
            return 0;
        }
        m_sevenZip.SetOption(2, reinterpret_cast<LPCWSTR>(found));
    }
    if (keepArchiveTimes)
        m_sevenZip.SetOption(16, nullptr);
    return DeleteEntries(owner, progress);
}

int CArchiveFront::RenameEntries(CWnd* owner, CProgressInfo* progress)
{
    return RunSevenZipChange(&CSevenZipArchive::RenameEntries, owner, progress);
}

// ---- Lifetime --------------------------------------------------------------------

void CArchiveFront::Reset()
{
    m_plugIn.Reset();
    m_sevenZip.Reset();
}

void CArchiveFront::Close()
{
    m_plugIn.Close();
    m_archiverDll.Close();
    m_sevenZip.Close();
}

void CArchiveFront::UnloadLibraries()
{
    m_plugIn.UnloadLibrary();
    m_archiverDll.UnloadLibrary();
    m_sevenZip.UnloadLibrary();
}
