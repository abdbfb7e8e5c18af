#include "filer/DirTreeStore.h"
#include "app/PathHelpers.h"

DirTreeStore g_DirTreeStore;

DirTreeStore::~DirTreeStore()
{
    Clear();
}

int DirTreeStore::Slot(wchar_t letter)
{
    if (letter >= L'a' && letter <= L'z')
        letter = static_cast<wchar_t>(letter - L'a' + L'A');
    if (letter < L'A' || letter > L'Z')
        return -1;
    return letter - L'A';
}

CStringArray* DirTreeStore::GetTree(wchar_t letter) const
{
    int slot = Slot(letter);
    return slot < 0 ? nullptr : m_trees[slot];
}

void DirTreeStore::SetTree(wchar_t letter, CStringArray* lines)
{
    int slot = Slot(letter);
    if (slot < 0)
    {
        delete lines;
        return;
    }
    if (m_trees[slot] != lines)
        delete m_trees[slot];
    m_trees[slot] = lines;
}

void DirTreeStore::Clear()
{
    for (CStringArray*& tree : m_trees)
    {
        delete tree;
        tree = nullptr;
    }
}

namespace
{

BOOL WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

} // namespace

BOOL WriteTreeCacheFile(LPCWSTR path, const CStringArray& lines)
{
    HANDLE file =
        CreateFileLong(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    static const BYTE byteOrderMark[2] = {0xFF, 0xFE};
    BOOL ok = WriteAll(file, byteOrderMark, sizeof(byteOrderMark));
    for (INT_PTR i = 0; ok && i < lines.GetSize(); ++i)
    {
        CString line = lines[i];
        line += L"\r\n";
        ok = WriteAll(file, static_cast<LPCWSTR>(line),
                      static_cast<DWORD>(line.GetLength() * sizeof(wchar_t)));
    }
    CloseHandle(file);
    return ok;
}

void SaveTreeCacheFiles(LPCWSTR folder)
{
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
    {
        const CStringArray* tree = g_DirTreeStore.GetTree(letter);
        if (tree == nullptr || tree->GetSize() == 0)
            continue;
        CString path;
        path.Format(L"%s\\%c_TREE.DAT", folder, letter);
        WriteTreeCacheFile(path, *tree);
    }
}
