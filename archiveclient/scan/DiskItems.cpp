#include "archiveclient/scan/DiskItems.h"

#include "archiveclient/base/RefCounting.h"
#include "archiveclient/base/ReparsePoints.h"
#include "fs/FileHandles.h"
#include "fs/FileSystem.h"
#include "fs/PathRules.h"
#include <cwchar>

#define SCAN_RETURN_IF_FAILED(expression)                                                                    \
    do                                                                                                       \
    {                                                                                                        \
        HRESULT hr_ = (expression);                                                                          \
        if (hr_ != S_OK)                                                                                     \
            return hr_;                                                                                      \
    } while (false)

bool AcquireSeSecurityPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool acquired = false;
    if (LookupPrivilegeValueW(nullptr, L"SeSecurityPrivilege", &privileges.Privileges[0].Luid) &&
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr))
        // AdjustTokenPrivileges succeeds without the privilege and says so only here.
        acquired = GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return acquired;
}

// ---- File identity ----

namespace
{

CFileIdentityApi g_realIdentityApi;
CFileIdentityApi* g_identityApi = &g_realIdentityApi;

} // namespace

bool CFileIdentityApi::GetDirectoryIdentity(const wchar_t* path, CFileIdentity& identity)
{
    // Without FILE_FLAG_OPEN_REPARSE_POINT the open follows a link to its target.
    CFileHandle file;
    if (!file.OpenWith(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS))
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.Handle(), &info))
        return false;
    identity.VolumeSerial = info.dwVolumeSerialNumber;
    identity.FileIndex = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

CFileIdentityApi* SetFileIdentityApi(CFileIdentityApi* api)
{
    CFileIdentityApi* old = g_identityApi == &g_realIdentityApi ? nullptr : g_identityApi;
    g_identityApi = api != nullptr ? api : &g_realIdentityApi;
    return old;
}

// ---- CDiskItemList ----

CDiskItemList::CDiskItemList()
{
    SaclPrivilege = AcquireSeSecurityPrivilege();
}

int32_t CDiskItemList::AddPrefix(int32_t diskParent, int32_t storedParent, const UString& prefix)
{
    Prefixes.AddCopy(prefix);
    DiskParents.Add(diskParent);
    return static_cast<int32_t>(StoredParents.Add(storedParent));
}

void CDiskItemList::DeleteLastPrefix()
{
    Prefixes.DeleteBack();
    DiskParents.ResetToSize(DiskParents.Count() - 1);
    StoredParents.ResetToSize(StoredParents.Count() - 1);
}

void CDiskItemList::AddItem(int32_t diskParent, int32_t storedParent, int32_t secureIndex,
                            const CFsEntryInfo& entry)
{
    CDiskItem& item = Items.At(Items.AddNew());
    item.Size = entry.Size;
    item.CTime = entry.CTime;
    item.ATime = entry.ATime;
    item.MTime = entry.MTime;
    item.Name = entry.Name;
    item.Attrib = entry.Attrib;
    item.DiskParent = diskParent;
    item.StoredParent = storedParent;
    item.SecureIndex = secureIndex;
    item.IsAltStream = entry.IsAltStream;
    if (entry.IsDir())
        Stats.NumDirs++;
    else if (entry.IsAltStream)
    {
        Stats.NumAltStreams++;
        Stats.AltStreamsSize += entry.Size;
    }
    else
    {
        Stats.NumFiles++;
        Stats.FilesSize += entry.Size;
    }
}

HRESULT CDiskItemList::ReportError(const UString& path, uint32_t systemError)
{
    Stats.NumErrors++;
    if (Callback == nullptr)
        return S_OK;
    return Callback->ScanError(path, systemError);
}

HRESULT CDiskItemList::ReportLastError(const UString& path)
{
    return ReportError(path, GetLastError());
}

HRESULT CDiskItemList::ReportProgress(const UString& path)
{
    if (Callback == nullptr)
        return S_OK;
    return Callback->ScanProgress(Stats, path, true);
}

HRESULT CDiskItemList::StoreSecurityDescriptor(const UString& path, int32_t& index)
{
    index = -1;
    SECURITY_INFORMATION requested = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                     DACL_SECURITY_INFORMATION |
                                     (SaclPrivilege ? SACL_SECURITY_INFORMATION : 0);
    DWORD needed = 0;
    auto getSecurity = [&] {
        return FsGetFileSecurity(path.Chars(), requested, SecureBuffer.Data(),
                                 static_cast<DWORD>(SecureBuffer.Size()), needed);
    };
    bool ok = getSecurity();
    if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER && SecureBuffer.Size() < needed)
    {
        SecureBuffer.Allocate(needed);
        ok = getSecurity();
    }
    if (ok)
    {
        if (needed != 0)
            index = static_cast<int32_t>(SecureBlocks.AddUnique(SecureBuffer.Data(), needed));
        return S_OK;
    }
    DWORD error = GetLastError();
    // A descriptor that grew between the two calls must not pass for success.
    if (error == ERROR_INSUFFICIENT_BUFFER || error == 0)
        error = 1;
    return ReportError(path, error);
}

HRESULT CDiskItemList::SetLinkInfo(CDiskItem& item, const CFsEntryInfo& entry, const UString& dirPrefix)
{
    if (!StoreLinks || !entry.IsReparsePoint())
        return S_OK;
    UString path = ConcatStrings(dirPrefix, entry.Name);
    DWORD error = 0;
    if (ReadReparseData(path, item.ReparseData, nullptr))
    {
        CReparseInfo info;
        if (info.Parse(item.ReparseData.Data(), static_cast<size_t>(item.ReparseData.Size())))
            return S_OK;
        // The read worked, so the last error says nothing (often 0, which would pass for
        // success): the data is not a link this program can store.
        error = ERROR_INVALID_REPARSE_DATA;
    }
    else
        error = GetLastError();
    if (error == 0)
        error = 1;
    item.ReparseData.Free();
    return ReportError(path, error);
}

namespace
{

// The prefixes along an item's parent chain, outermost first, then its name, built in
// one allocation from the end backwards.
UString BuildPrefixedPath(const COwnedPtrVector<UString>& prefixes, const CValueVector<int32_t>& parents,
                          int32_t parent, const UString& name)
{
    uint32_t length = name.Length();
    for (int32_t p = parent; p >= 0; p = parents.At(static_cast<uint32_t>(p)))
        length += prefixes.At(static_cast<uint32_t>(p)).Length();
    UString path;
    wchar_t* buffer = path.GetWriteBuffer(length);
    uint32_t end = length - name.Length();
    std::wmemcpy(buffer + end, name.Chars(), name.Length());
    for (int32_t p = parent; p >= 0; p = parents.At(static_cast<uint32_t>(p)))
    {
        const UString& prefix = prefixes.At(static_cast<uint32_t>(p));
        end -= prefix.Length();
        std::wmemcpy(buffer + end, prefix.Chars(), prefix.Length());
    }
    path.SetLengthAfterWrite(length);
    return path;
}

} // namespace

UString CDiskItemList::GetDiskPath(uint32_t itemIndex) const
{
    const CDiskItem& item = Items.At(itemIndex);
    return BuildPrefixedPath(Prefixes, DiskParents, item.DiskParent, item.Name);
}

UString CDiskItemList::GetStoredPath(uint32_t itemIndex) const
{
    const CDiskItem& item = Items.At(itemIndex);
    return BuildPrefixedPath(Prefixes, StoredParents, item.StoredParent, item.Name);
}

void CDiskItemList::ReserveDown()
{
    // The lists grow by a quarter at a time while the scan adds to them: what is left
    // over goes back before the update that holds them for its whole run.
    Prefixes.ReserveDown();
    DiskParents.ReserveDown();
    StoredParents.ReserveDown();
    Items.ReserveDown();
}

void CDiskItemList::FillFixedReparse()
{
    if (!StoreLinks)
        return;
    for (uint32_t i = 0; i < Items.Count(); i++)
    {
        CDiskItem& item = Items.At(i);
        if (item.ReparseData.Size() == 0)
            continue;
        CReparseInfo info;
        if (!info.Parse(item.ReparseData.Data(), static_cast<size_t>(item.ReparseData.Size())) ||
            info.IsRelative())
            continue;
        UString target;
        info.GetPath(target);
        if (!IsDriveRootPath(target))
            continue;
        UString full;
        if (!MakeFullPath(GetDiskPath(i), full))
            continue;
        UString stored = GetStoredPath(i);
        if (stored.Length() >= full.Length() ||
            ComparePathNames(full.TailChars(stored.Length()), stored) != 0)
            continue;
        UString base = UString::FromLeftPart(full, full.Length() - stored.Length());
        if (base.IsEmpty() || !IsPathSeparator(base[base.Length() - 1]))
            continue;
        uint32_t rootLength = GetRootPrefixLength(base);
        if (rootLength == 0 || rootLength == base.Length() || base.Length() >= target.Length())
            continue;
        if (ComparePathNames(UString::FromLeftPart(target, base.Length()), base) != 0)
            continue;
        UString newTarget = UString::FromLeftPart(base, rootLength);
        newTarget.Append(target.CharsAt(base.Length()));
        CByteBlock data;
        if (BuildReparseData(data, newTarget, info.IsSymLink()))
            item.FixedReparseData.CopyFrom(data.Data(), data.Size());
    }
}

// ---- The walk ----

namespace
{

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsRootlessSlashPath(const UString& dirPrefix, const UString& name)
{
    UString t = ConcatStrings(dirPrefix, name);
    t.AppendBackslash();
    return IsPathSeparator(t[0]) && GetRootPrefixLength(t) == 0;
}

// Every include item starts with a drive part (a letter or a mask and ':') and names
// what lies below a drive root or the drive root itself.
bool AreAllIncludesDriveMasks(const CPathFilterNode& node)
{
    if (node.IncludeItems.Count() == 0)
        return false;
    for (uint32_t i = 0; i < node.IncludeItems.Count(); i++)
    {
        const CPathFilterItem& item = node.IncludeItems.At(i);
        const UString& first = item.Parts[0];
        if (first.Length() != 2 || first[1] != L':')
            return false;
        if (!IsAsciiLetter(first[0]) && first[0] != L'*' && first[0] != L'?')
            return false;
        if (item.Parts.size() == 1 && !(item.ForDir && !item.ForFile))
            return false;
    }
    return true;
}

// A directory the walk is inside of, with its identity found only when a link has to
// be compared with it.
struct CWalkFrame
{
    UString Path;
    bool IdentityRead = false;
    bool IdentityKnown = false;
    CFileIdentity Identity;
};

class CDiskScanner
{
public:
    explicit CDiskScanner(CDiskItemList& list) : m_list(list) {}

    HRESULT ScanRoot(const CPathFilterNode& node, int32_t diskParent, int32_t storedParent,
                     const UString& prefix)
    {
        PushFrame(prefix);
        CPathParts noParts;
        HRESULT hr = EnumerateDirItems(node, diskParent, storedParent, prefix, noParts, false);
        m_walk.DeleteBack();
        return hr;
    }

private:
    HRESULT EnumerateDirItems(const CPathFilterNode& node, int32_t diskParent, int32_t storedParent,
                              const UString& dirPrefix, const CPathParts& parts, bool enterSubFolders);
    HRESULT EnumerateFixedNames(const CPathFilterNode& node, int32_t diskParent, int32_t storedParent,
                                const UString& dirPrefix);
    HRESULT EnumerateForItem(const CFsEntryInfo& entry, const CPathFilterNode& node, int32_t diskParent,
                             int32_t storedParent, const UString& dirPrefix, const CPathParts& parts,
                             bool enterSubFolders);
    HRESULT EnumerateSubDir(const CPathFilterNode& node, int32_t diskParent, int32_t storedParent,
                            const CFsEntryInfo& entry, const UString& dirPrefix, const CPathParts& parts,
                            bool enterSubFolders);
    HRESULT EnumerateAltStreams(const CFsEntryInfo& entry, const CPathFilterNode& node, int32_t diskParent,
                                int32_t storedParent, const UString& path, const CPathParts& parts);

    void PushFrame(const UString& path) { m_walk.At(m_walk.AddNew()).Path = path; }
    bool IsOnWalkPath(const UString& path);

    CDiskItemList& m_list;
    COwnedPtrVector<CWalkFrame> m_walk;
};

bool CDiskScanner::IsOnWalkPath(const UString& path)
{
    CFileIdentity target;
    if (!g_identityApi->GetDirectoryIdentity(path, target))
        return false;
    for (uint32_t i = 0; i < m_walk.Count(); i++)
    {
        CWalkFrame& frame = m_walk.At(i);
        if (!frame.IdentityRead)
        {
            frame.IdentityRead = true;
            frame.IdentityKnown = g_identityApi->GetDirectoryIdentity(
                frame.Path.IsEmpty() ? L"." : frame.Path.Chars(), frame.Identity);
        }
        if (frame.IdentityKnown && frame.Identity == target)
            return true;
    }
    return false;
}

HRESULT CDiskScanner::EnumerateDirItems(const CPathFilterNode& node, int32_t diskParent, int32_t storedParent,
                                        const UString& dirPrefix, const CPathParts& parts,
                                        bool enterSubFolders)
{
    if (!enterSubFolders && node.NeedCheckSubDirs())
        enterSubFolders = true;
    SCAN_RETURN_IF_FAILED(m_list.ReportProgress(dirPrefix));

    if (parts.size() == 0 && !enterSubFolders && node.AreAllIncludesFixedNames())
        return EnumerateFixedNames(node, diskParent, storedParent, dirPrefix);

    if (dirPrefix.IsEmpty() && AreAllIncludesDriveMasks(node))
    {
        COwnedPtrVector<UString> drives;
        if (!GetLogicalDriveList(drives))
            return m_list.ReportLastError(dirPrefix);
        for (uint32_t i = 0; i < drives.Count(); i++)
        {
            const UString& root = drives.At(i);
            if (root.Length() < 3 || root[root.Length() - 1] != L'\\')
                return E_FAIL;
            CFsEntryInfo drive;
            drive.Attrib = FILE_ATTRIBUTE_DIRECTORY;
            drive.Name = UString::FromLeftPart(root, root.Length() - 1);
            SCAN_RETURN_IF_FAILED(
                EnumerateForItem(drive, node, diskParent, storedParent, dirPrefix, parts, enterSubFolders));
        }
        return S_OK;
    }

    CDirEnumerator enumerator(ConcatStringWithChars(dirPrefix, L"*"));
    for (uint32_t k = 0;; k++)
    {
        if ((k & 0xFFF) == 0xFFF && m_list.Callback != nullptr)
            SCAN_RETURN_IF_FAILED(m_list.ReportProgress(dirPrefix));
        CFsEntryInfo entry;
        bool found = false;
        if (!enumerator.NextEntryOrEnd(entry, found))
            return m_list.ReportLastError(dirPrefix);
        if (!found)
            return S_OK;
        SCAN_RETURN_IF_FAILED(
            EnumerateForItem(entry, node, diskParent, storedParent, dirPrefix, parts, enterSubFolders));
    }
}

HRESULT CDiskScanner::EnumerateFixedNames(const CPathFilterNode& node, int32_t diskParent,
                                          int32_t storedParent, const UString& dirPrefix)
{
    CValueVector<bool> subNodePending;
    for (uint32_t i = 0; i < node.SubNodes.Count(); i++)
        subNodePending.Add(true);

    for (uint32_t i = 0; i < node.IncludeItems.Count(); i++)
    {
        const CPathFilterItem& include = node.IncludeItems.At(i);
        const UString& name = include.Parts[0];
        UString full = ConcatStrings(dirPrefix, name);
        bool streamsAllowed = true;
        if (dirPrefix.IsEmpty() && !include.ForFile)
        {
            if (name.IsEmpty())
            {
                full = L"\\";
                streamsAllowed = false;
            }
            else if (IsBareDriveName(name))
            {
                full.AppendBackslash();
                streamsAllowed = false;
            }
        }

        CFsEntryInfo entry;
        if (IsRootlessSlashPath(dirPrefix, name))
        {
            entry.Attrib = FILE_ATTRIBUTE_DIRECTORY;
            entry.Name = name;
        }
        else if (!entry.FindForPath(full))
        {
            SCAN_RETURN_IF_FAILED(m_list.ReportLastError(full));
            continue;
        }
        bool isDir = entry.IsDir();
        if ((isDir && !include.ForDir) || (!isDir && !include.ForFile))
        {
            SCAN_RETURN_IF_FAILED(m_list.ReportError(full, static_cast<uint32_t>(E_FAIL)));
            continue;
        }
        CPathParts entryParts(1, entry.Name);
        if (node.CheckPathToRoot(false, entryParts, !isDir))
            continue;

        int32_t secureIndex = -1;
        if (m_list.ReadSecurity)
            SCAN_RETURN_IF_FAILED(m_list.StoreSecurityDescriptor(full, secureIndex));
        m_list.AddItem(diskParent, storedParent, secureIndex, entry);
        CDiskItem& item = m_list.Items.Back();
        SCAN_RETURN_IF_FAILED(m_list.SetLinkInfo(item, entry, dirPrefix));
        if (item.ReparseData.Size() != 0)
        {
            // A link is stored as a link: never entered, and its target's size is not
            // what the archive will hold. Only what the item added is taken off again: a
            // directory added no size, even where the file system reports one for it.
            if (!item.IsDir())
            {
                if (item.IsAltStream)
                    m_list.Stats.AltStreamsSize -= item.Size;
                else
                    m_list.Stats.FilesSize -= item.Size;
            }
            continue;
        }
        if (streamsAllowed && m_list.ScanAltStreams)
            SCAN_RETURN_IF_FAILED(
                EnumerateAltStreams(entry, node, diskParent, storedParent, full, entryParts));
        if (!isDir)
            continue;
        int subIndex = node.FindSubNode(name);
        if (subIndex < 0)
        {
            CPathParts nameParts(1, name);
            SCAN_RETURN_IF_FAILED(
                EnumerateSubDir(node, diskParent, storedParent, entry, dirPrefix, nameParts, true));
        }
        else
        {
            subNodePending.At(static_cast<uint32_t>(subIndex)) = false;
            CPathParts noParts;
            SCAN_RETURN_IF_FAILED(EnumerateSubDir(node.SubNodes.At(static_cast<uint32_t>(subIndex)),
                                                  diskParent, storedParent, entry, dirPrefix, noParts, true));
        }
    }

    for (uint32_t i = 0; i < node.SubNodes.Count(); i++)
    {
        if (!subNodePending.At(i))
            continue;
        const CPathFilterNode& subNode = node.SubNodes.At(i);
        const UString& name = subNode.Name;
        UString full = ConcatStrings(dirPrefix, name);
        if (dirPrefix.IsEmpty())
        {
            if (name.IsEmpty())
                full = L"\\";
            else if (IsBareDriveName(name))
                full.AppendBackslash();
        }
        CFsEntryInfo entry;
        if ((dirPrefix.IsEmpty() && name.IsEmpty()) || IsRootlessSlashPath(dirPrefix, name))
        {
            entry.Attrib = FILE_ATTRIBUTE_DIRECTORY;
            entry.Name = name;
        }
        else if (!entry.FindForPath(full))
        {
            if (subNode.AreThereIncludeItems())
                SCAN_RETURN_IF_FAILED(m_list.ReportLastError(full));
            continue;
        }
        else if (!entry.IsDir())
        {
            SCAN_RETURN_IF_FAILED(m_list.ReportError(full, static_cast<uint32_t>(E_FAIL)));
            continue;
        }
        CPathParts noParts;
        SCAN_RETURN_IF_FAILED(
            EnumerateSubDir(subNode, diskParent, storedParent, entry, dirPrefix, noParts, false));
    }
    return S_OK;
}

HRESULT CDiskScanner::EnumerateForItem(const CFsEntryInfo& entry, const CPathFilterNode& node,
                                       int32_t diskParent, int32_t storedParent, const UString& dirPrefix,
                                       const CPathParts& parts, bool enterSubFolders)
{
    const UString& name = entry.Name;
    CPathParts parts2(parts);
    parts2.push_back(name);
    bool isFile = !entry.IsDir();
    if (node.CheckPathToRoot(false, parts2, isFile))
        return S_OK;

    // A drive from the drive list: "C:" alone would address the current directory of
    // that drive, so its root is read instead, and a root has no streams of its own.
    UString full = ConcatStrings(dirPrefix, name);
    bool streamsAllowed = true;
    if (dirPrefix.IsEmpty() && IsBareDriveName(name))
    {
        full.AppendBackslash();
        streamsAllowed = false;
    }

    int32_t itemIndex = -1;
    if (node.CheckPathToRoot(true, parts2, isFile))
    {
        int32_t secureIndex = -1;
        if (m_list.ReadSecurity)
            SCAN_RETURN_IF_FAILED(m_list.StoreSecurityDescriptor(full, secureIndex));
        itemIndex = static_cast<int32_t>(m_list.Items.Count());
        m_list.AddItem(diskParent, storedParent, secureIndex, entry);
        if (!isFile)
            enterSubFolders = true;
    }
    if (streamsAllowed && m_list.ScanAltStreams)
        SCAN_RETURN_IF_FAILED(EnumerateAltStreams(entry, node, diskParent, storedParent, full, parts2));
    if (itemIndex >= 0)
    {
        CDiskItem& item = m_list.Items.At(static_cast<uint32_t>(itemIndex));
        SCAN_RETURN_IF_FAILED(m_list.SetLinkInfo(item, entry, dirPrefix));
        if (item.ReparseData.Size() != 0)
            return S_OK;
    }
    if (isFile)
        return S_OK;

    const CPathFilterNode* next = nullptr;
    if (parts.size() == 0)
    {
        int subIndex = node.FindSubNode(name);
        if (subIndex >= 0)
            next = &node.SubNodes.At(static_cast<uint32_t>(subIndex));
    }
    if (!enterSubFolders && next == nullptr)
        return S_OK;
    if (next == nullptr)
        return EnumerateSubDir(node, diskParent, storedParent, entry, dirPrefix, parts2, enterSubFolders);
    return EnumerateSubDir(*next, diskParent, storedParent, entry, dirPrefix, parts, enterSubFolders);
}

HRESULT CDiskScanner::EnumerateSubDir(const CPathFilterNode& node, int32_t diskParent, int32_t storedParent,
                                      const CFsEntryInfo& entry, const UString& dirPrefix,
                                      const CPathParts& parts, bool enterSubFolders)
{
    // A junction or link that leads back to a directory the walk is inside of would
    // make the walk endless: it is reported once and not entered.
    if (entry.IsReparsePoint())
    {
        UString path = ConcatStrings(dirPrefix, entry.Name);
        if (IsOnWalkPath(path))
            return m_list.ReportError(path, ERROR_CANT_RESOLVE_FILENAME);
    }
    UString prefix = ConcatStringChar(entry.Name, L'\\');
    int32_t p = m_list.AddPrefix(diskParent, storedParent, prefix);
    uint32_t itemCount = m_list.Items.Count();
    UString subPrefix = ConcatStrings(dirPrefix, prefix);
    PushFrame(subPrefix);
    HRESULT hr = EnumerateDirItems(node, p, p, subPrefix, parts, enterSubFolders);
    m_walk.DeleteBack();
    if (m_list.Items.Count() == itemCount)
        m_list.DeleteLastPrefix();
    return hr;
}

HRESULT CDiskScanner::EnumerateAltStreams(const CFsEntryInfo& entry, const CPathFilterNode& node,
                                          int32_t diskParent, int32_t storedParent, const UString& path,
                                          const CPathParts& parts)
{
    CStreamEnumerator enumerator(path);
    for (;;)
    {
        CStreamEntry stream;
        bool found = false;
        if (!enumerator.NextStream(stream, found))
            return m_list.ReportLastError(ConcatStringWithChars(path, L":*"));
        if (!found)
            return S_OK;
        if (IsDataStreamName(stream.Name))
            continue;
        UString suffix = StripDataStreamSuffix(stream.Name);
        CPathParts parts2(parts);
        parts2.back().Append(suffix);
        if (node.CheckPathToRoot(false, parts2, true))
            continue;
        CFsEntryInfo streamEntry = entry;
        streamEntry.Name = ConcatStrings(entry.Name, suffix);
        streamEntry.Size = stream.Size;
        streamEntry.Attrib &= ~static_cast<uint32_t>(FILE_ATTRIBUTE_DIRECTORY);
        streamEntry.IsAltStream = true;
        m_list.AddItem(diskParent, storedParent, -1, streamEntry);
    }
}

} // namespace

HRESULT CPathFilter::CollectDiskItems(int pathMode, const UString& addPathPrefix, CDiskItemList& list)
{
    CDiskScanner scanner(list);
    for (uint32_t i = 0; i < Roots.Count(); i++)
    {
        const CPathFilterRoot& root = Roots.At(i);
        int32_t diskParent = root.Prefix.IsEmpty() ? -1 : list.AddPrefix(-1, -1, root.Prefix);
        int32_t storedParent = -1;
        if (pathMode == 2)
            storedParent = diskParent;
        else if (!addPathPrefix.IsEmpty())
            storedParent = list.AddPrefix(-1, -1, addPathPrefix);
        SCAN_RETURN_IF_FAILED(scanner.ScanRoot(root.Node, diskParent, storedParent, root.Prefix));
    }
    list.ReserveDown();
    list.FillFixedReparse();
    return S_OK;
}
