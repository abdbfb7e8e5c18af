#include "app/VirtualDrives.h"

#include <vector>

#include "app/DriveSeam.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "util/Wildcard.h"

int g_VirtualDriveFlags[26];
CVirtualFolderStore* g_VirtualFolderStores[26];

namespace
{
// The path inside the drive: "Q:" and a backslash after it go.
CString StripDrivePrefix(LPCWSTR path)
{
    CString text(path ? path : L"");
    if (text.GetLength() >= 2 && text[1] == L':')
    {
        int cut = 2;
        if (text.GetLength() > 2 && text[2] == L'\\')
            cut = 3;
        text = text.Mid(cut);
    }
    return text;
}

// The components of a path inside the drive; empty components (doubled or trailing
// backslashes) are passed over.
void SplitComponents(const CString& inner, CStringArray& out)
{
    int start = 0;
    while (start <= inner.GetLength())
    {
        int slash = inner.Find(L'\\', start);
        int end = slash < 0 ? inner.GetLength() : slash;
        if (end > start)
            out.Add(inner.Mid(start, end - start));
        if (slash < 0)
            break;
        start = slash + 1;
    }
}

CString JoinPath(const CString& folder, const CString& name)
{
    return folder.IsEmpty() ? name : folder + L"\\" + name;
}

VirtualFolderNode* FindNode(VirtualFolderNode* list, LPCWSTR name)
{
    for (VirtualFolderNode* node = list; node; node = node->next)
        if (node->name.CompareNoCase(name) == 0)
            return node;
    return nullptr;
}

void FreeNodes(VirtualFolderNode* list)
{
    // Sub-trees are freed depth-first with an explicit stack: a deep tree from a
    // hand-edited file must not exhaust the thread's stack.
    std::vector<VirtualFolderNode*> pending;
    if (list)
        pending.push_back(list);
    while (!pending.empty())
    {
        VirtualFolderNode* node = pending.back();
        pending.pop_back();
        if (node->next)
            pending.push_back(node->next);
        if (node->firstChild)
            pending.push_back(node->firstChild);
        delete node;
    }
}

void SetName(WIN32_FIND_DATAW& findData, const CString& name)
{
    lstrcpynW(findData.cFileName, name, MAX_PATH);
}

void FillFolderData(WIN32_FIND_DATAW& findData, LPCWSTR name, const FILETIME& now)
{
    memset(&findData, 0, sizeof(findData));
    findData.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
    findData.ftCreationTime = now;
    findData.ftLastAccessTime = now;
    findData.ftLastWriteTime = now;
    SetName(findData, name);
}

// Whether the drive or share that holds a directory can be reached at all; only
// then does a file missing from it count as deleted.
bool RootAnswers(const CString& directory)
{
    CString root;
    if (!GetPathRoot(directory, root))
        return true;
    if (root[root.GetLength() - 1] != L'\\')
        root += L'\\';
    return GetFileAttributesLong(root) != INVALID_FILE_ATTRIBUTES;
}

void AddListing(CVirtualFolderListing& out, const WIN32_FIND_DATAW& findData, const CString& realDirectory)
{
    VirtualFolderListing entry;
    entry.findData = findData;
    entry.realDirectory = realDirectory;
    out.Add(entry);
}

// The nodes of one list in the order they were added (the list holds the newest
// first). Writing them in this order lets a load, which puts every node at the front
// of its list, rebuild the same lists, so load and save repeat the file's bytes.
std::vector<const VirtualFolderNode*> OldestFirst(const VirtualFolderNode* list)
{
    std::vector<const VirtualFolderNode*> nodes;
    for (const VirtualFolderNode* node = list; node; node = node->next)
        nodes.push_back(node);
    return std::vector<const VirtualFolderNode*>(nodes.rbegin(), nodes.rend());
}

void WriteFolders(CIniFile& ini, const VirtualFolderNode* list, const CString& folder, int& counter)
{
    for (const VirtualFolderNode* node : OldestFirst(list))
    {
        if (!node->isFolder)
            continue;
        CString path = JoinPath(folder, node->name);
        CString key;
        key.Format(L"%05d", counter++);
        ini.WriteString(L"DIR", key, path);
        WriteFolders(ini, node->firstChild, path, counter);
    }
}

void WriteFiles(CIniFile& ini, const VirtualFolderNode* list, const CString& folder, int& counter)
{
    for (const VirtualFolderNode* node : OldestFirst(list))
    {
        if (node->isFolder)
        {
            WriteFiles(ini, node->firstChild, JoinPath(folder, node->name), counter);
            continue;
        }
        CString key;
        key.Format(L"F%05d", counter);
        ini.WriteString(L"FILE", key, node->name);
        key.Format(L"R%05d", counter);
        ini.WriteString(L"FILE", key, node->realDirectory);
        key.Format(L"P%05d", counter);
        ini.WriteString(L"FILE", key, folder);
        ++counter;
    }
}
} // namespace

CVirtualFolderStore::CVirtualFolderStore() : m_changed{0, 0}, m_root(nullptr), m_loadFailed(FALSE) {}

CVirtualFolderStore::~CVirtualFolderStore()
{
    FreeTree();
}

void CVirtualFolderStore::FreeTree()
{
    FreeNodes(m_root);
    m_root = nullptr;
}

void CVirtualFolderStore::SetChanged()
{
    m_changed[0] = 1;
    m_changed[1] = 1;
}

VirtualFolderNode** CVirtualFolderStore::FindFolderList(LPCWSTR path)
{
    CStringArray components;
    SplitComponents(StripDrivePrefix(path), components);
    VirtualFolderNode** list = &m_root;
    for (INT_PTR i = 0; i < components.GetSize(); ++i)
    {
        VirtualFolderNode* node = *list;
        while (node && !(node->isFolder && node->name.CompareNoCase(components[i]) == 0))
            node = node->next;
        if (!node)
            return nullptr;
        list = &node->firstChild;
    }
    return list;
}

VirtualFolderNode* const* CVirtualFolderStore::FindFolderList(LPCWSTR path) const
{
    return const_cast<CVirtualFolderStore*>(this)->FindFolderList(path);
}

BOOL CVirtualFolderStore::FolderExists(LPCWSTR path) const
{
    return FindFolderList(path) != nullptr;
}

BOOL CVirtualFolderStore::CreateDirectoryPath(LPCWSTR path)
{
    SetChanged();
    if (FolderExists(path))
        return TRUE;
    CStringArray components;
    SplitComponents(StripDrivePrefix(path), components);
    CString built;
    WIN32_FIND_DATAW findData;
    memset(&findData, 0, sizeof(findData));
    findData.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    for (INT_PTR i = 0; i < components.GetSize(); ++i)
    {
        SetName(findData, components[i]);
        if (!AddEntry(built, findData, L""))
            return FALSE;
        built = JoinPath(built, components[i]);
    }
    return TRUE;
}

BOOL CVirtualFolderStore::AddEntry(LPCWSTR folderPath, const WIN32_FIND_DATAW& findData,
                                   LPCWSTR realDirectory)
{
    CString name(findData.cFileName);
    if (name.IsEmpty())
        return FALSE;
    SetChanged();
    VirtualFolderNode** list = FindFolderList(folderPath);
    if (!list)
    {
        if (!CreateDirectoryPath(folderPath))
            return FALSE;
        list = FindFolderList(folderPath);
        if (!list)
            return FALSE;
    }
    int isFolder = (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
    if (VirtualFolderNode* existing = FindNode(*list, name))
    {
        if (existing->isFolder)
            return isFolder ? TRUE : FALSE;
        if (isFolder)
            return FALSE;
        existing->realDirectory = realDirectory;
        return TRUE;
    }
    VirtualFolderNode* node = new VirtualFolderNode;
    node->name = name;
    node->isFolder = isFolder;
    if (!isFolder)
        node->realDirectory = realDirectory;
    node->next = *list;
    *list = node;
    return TRUE;
}

void CVirtualFolderStore::RemoveEntry(LPCWSTR folderPath, LPCWSTR name)
{
    SetChanged();
    VirtualFolderNode** link = FindFolderList(folderPath);
    if (!link)
        return;
    for (; *link; link = &(*link)->next)
    {
        VirtualFolderNode* node = *link;
        if (node->name.CompareNoCase(name) != 0)
            continue;
        *link = node->next;
        FreeNodes(node->firstChild);
        delete node;
        return;
    }
}

void CVirtualFolderStore::EnumerateFolder(LPCWSTR folderPath, LPCWSTR pattern, BOOL filterFolders,
                                          CVirtualFolderListing& out)
{
    out.RemoveAll();
    VirtualFolderNode** link = FindFolderList(folderPath);
    // A folder that is not in the store lists nothing, like a missing disk folder;
    // "." and ".." would make it look present.
    if (!link)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    WIN32_FIND_DATAW findData;
    if (!StripDrivePrefix(folderPath).IsEmpty())
    {
        if (!g_NOTVIEWCURRENTDIR)
        {
            FillFolderData(findData, L".", now);
            AddListing(out, findData, CString());
        }
        if (!g_NOTVIEWUPDIR)
        {
            FillFolderData(findData, L"..", now);
            AddListing(out, findData, CString());
        }
    }
    CString compact;
    CompactWildcardPattern(pattern ? pattern : L"*", compact);
    while (*link)
    {
        VirtualFolderNode* node = *link;
        if (node->isFolder)
        {
            if (!filterFolders || MatchFileNameWildcard(node->name, compact))
            {
                FillFolderData(findData, node->name, now);
                AddListing(out, findData, CString());
            }
        }
        else if (MatchFileNameWildcard(node->name, compact))
        {
            CString real = node->realDirectory;
            if (real.IsEmpty() || real[real.GetLength() - 1] != L'\\')
                real += L'\\';
            real += node->name;
            if (FileExists(real, &findData))
                AddListing(out, findData, node->realDirectory);
            else if (RootAnswers(node->realDirectory))
            {
                // The real file is gone: the entry goes with it.
                *link = node->next;
                delete node;
                continue;
            }
            // Otherwise the drive or share that holds the file does not answer (a
            // medium taken out, a server that is down): the entry stays, unlisted,
            // for when the file can be reached again.
        }
        link = &node->next;
    }
}

int CVirtualFolderStore::Load(LPCWSTR filePath)
{
    FreeTree();
    m_loadFailed = FALSE;
    CIniFile ini;
    ini.filePath = filePath;
    int result = ini.Load();
    if (result == INI_LOAD_IN_USE)
    {
        m_loadFailed = TRUE;
        return 0;
    }
    if (result == INI_LOAD_READ_ERROR)
    {
        // A store with nothing in it is saved as the byte-order mark alone, which
        // reads back as this result; a larger file failed to read and must survive.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExLong(filePath, GetFileExInfoStandard, &data) &&
            (data.nFileSizeHigh != 0 || data.nFileSizeLow > 2))
        {
            m_loadFailed = TRUE;
            return 0;
        }
    }

    CString key, value;
    for (int i = 0;; ++i)
    {
        key.Format(L"%05d", i);
        ini.GetString(L"DIR", key, L"", &value);
        if (value.IsEmpty())
            break;
        if (!CreateDirectoryPath(value))
        {
            m_loadFailed = TRUE;
            return 0;
        }
    }

    CString name, real, folder;
    WIN32_FIND_DATAW findData;
    memset(&findData, 0, sizeof(findData));
    for (int i = 0;; ++i)
    {
        key.Format(L"F%05d", i);
        ini.GetString(L"FILE", key, L"", &name);
        key.Format(L"R%05d", i);
        ini.GetString(L"FILE", key, L"", &real);
        key.Format(L"P%05d", i);
        ini.GetString(L"FILE", key, L"", &folder);
        if (name.IsEmpty() || real.IsEmpty())
            break;
        SetName(findData, name);
        if (!AddEntry(folder, findData, real))
            break;
    }
    return 1;
}

int CVirtualFolderStore::Save(LPCWSTR filePath)
{
    if (m_loadFailed)
        return 0;
    CIniFile ini;
    if (!ini.Create(filePath))
        return 0;
    int counter = 0;
    WriteFolders(ini, m_root, CString(), counter);
    counter = 0;
    WriteFiles(ini, m_root, CString(), counter);
    ini.Close();
    return 1;
}

CString GetVirtualDriveFilePath(int letterIndex)
{
    CString path;
    path.Format(L"%s\\%c_Drive.ini", static_cast<LPCWSTR>(g_HomeDir),
                static_cast<wchar_t>(L'A' + letterIndex));
    return path;
}

void LoadVirtualDrives()
{
    DWORD realDrives = g_DriveSeam.GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
    {
        if ((realDrives & (1u << i)) || !g_VirtualDriveFlags[i])
        {
            SaveVirtualDrive(i);
            continue;
        }
        if (g_VirtualFolderStores[i])
            continue;
        CVirtualFolderStore* store = new CVirtualFolderStore;
        g_VirtualFolderStores[i] = store;
        if (!store->Load(GetVirtualDriveFilePath(i)))
            WriteLog(
                nullptr,
                L"%s: 仮想ドライブを読み込めませんでした(使用中または内容の不整合)。終了時に保存しません",
                GetVirtualDriveFilePath(i));
    }
}

void SaveVirtualDrive(int letterIndex)
{
    if (letterIndex < 0 || letterIndex >= 26)
        return;
    CVirtualFolderStore* store = g_VirtualFolderStores[letterIndex];
    if (!store)
        return;
    if (store->CanSave())
        store->Save(GetVirtualDriveFilePath(letterIndex));
    delete store;
    g_VirtualFolderStores[letterIndex] = nullptr;
}

void LoadSectionVirtualDrive(CIniFile& ini)
{
    CString key;
    for (int i = 0; i < 26; ++i)
    {
        key.Format(L"%cDRIVE", static_cast<wchar_t>(L'A' + i));
        g_VirtualDriveFlags[i] = ini.GetInt(L"VIRTUALDRIVE", key, 0);
    }
}

void SaveSectionVirtualDrive(CIniFile& ini)
{
    CString key;
    for (int i = 0; i < 26; ++i)
    {
        key.Format(L"%cDRIVE", static_cast<wchar_t>(L'A' + i));
        ini.WriteInt(L"VIRTUALDRIVE", key, g_VirtualDriveFlags[i]);
    }
}
