#include "filer/PictureFiles.h"
#include "filer/EntryFind.h"
#include "app/FileProbes.h"
#include "util/PathHelpers.h"

#include <cstdlib>
#include <vector>

namespace
{
int NoArchivePicture(LPCWSTR)
{
    return 0;
}

int NoImagePlugIn(LPCWSTR)
{
    return -1;
}

const PictureTestHooks kDefaultHooks = {NoArchivePicture, NoImagePlugIn};

int __cdecl ComparePictureRecords(const void* left, const void* right)
{
    // The comparison caches path components in the records; qsort hands them over
    // as const only by its signature, the records are the caller's array.
    return ComparePictureOrder(*static_cast<CFileInfo*>(const_cast<void*>(left)),
                               *static_cast<CFileInfo*>(const_cast<void*>(right)));
}
} // namespace

PictureTestHooks g_PictureTestHooks = kDefaultHooks;

const PictureTestHooks& DefaultPictureTestHooks()
{
    return kDefaultHooks;
}

int ComparePictureOrder(CFileInfo& a, CFileInfo& b)
{
    int result = a.CompareBy(COMPARE_COMPONENTS_1, b);
    if (result == COMPARE_EQUAL)
        result = a.CompareBy(COMPARE_BASE_NAME, b);
    return result == COMPARE_LESS ? -1 : result == COMPARE_GREATER ? 1 : 0;
}

int CFileInfo::IsPictureFile()
{
    // An archive member is no file on disk: a shortcut among them cannot be read, and
    // its listing folder would be taken as a path relative to the process directory.
    if (m_source != ENTRY_SOURCE_ARCHIVE && IsExtension(L"LNK"))
    {
        CString target;
        if (ReadShortcut(GetRealFullPath(), &target, nullptr, nullptr) && !target.IsEmpty())
        {
            CString folder, name;
            SplitPath(target, &folder, &name);
            WIN32_FIND_DATAW findData = m_findData;
            lstrcpynW(findData.cFileName, name, MAX_PATH);
            NormalizeFindData(findData);
            SetFromDisk(folder, findData);
        }
    }
    if (g_PictureTestHooks.isArchivePictureName(GetName()))
        return 1;
    return g_PictureTestHooks.findImagePlugIn(GetRealFullPath()) >= 0 ? 1 : 0;
}

int CFileInfo::CollectPictureFiles(CArrayFileInfo& out) const
{
    // The walk keeps one open enumeration per level instead of recursing, so that
    // the depth of a folder tree is bounded by memory, not by the thread's stack.
    std::vector<CEntryFind*> open;
    CFileInfo entry;
    CEntryFind* find = FindFirstChild(L"*.*", entry);
    if (find == nullptr)
        return 1;
    open.push_back(find);
    BOOL have = TRUE;
    while (!open.empty())
    {
        if (!have)
        {
            CloseEntryFind(open.back());
            open.pop_back();
            if (!open.empty())
                have = FindNextEntry(open.back(), entry);
            continue;
        }
        if (entry.IsDirectory())
        {
            // A junction or directory link can lead back to one of its own parents;
            // such a folder is not entered.
            if (!entry.IsDots() && !entry.HasAttribute(FILE_ATTRIBUTE_REPARSE_POINT))
            {
                CFileInfo folder(entry);
                CEntryFind* inner = folder.FindFirstChild(L"*.*", entry);
                if (inner != nullptr)
                {
                    open.push_back(inner);
                    continue;
                }
            }
        }
        else if (entry.IsPictureFile())
        {
            out.AddEntry(entry);
        }
        have = FindNextEntry(open.back(), entry);
    }
    return 1;
}

int CFileInfo::ListPictureFilesSorted(CArrayFileInfo& out) const
{
    int result = CollectPictureFiles(out);
    if (out.GetSize() > 1)
    {
        // Whole records are moved by qsort, as the pane's sort does (see CFileInfo).
        qsort(static_cast<void*>(out.GetData()), static_cast<size_t>(out.GetSize()), sizeof(CFileInfo),
              ComparePictureRecords);
    }
    out.ClearPathComponents();
    return result;
}
