#include "filer/DirTreeStore.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"

#include <new>
#include <string>
#include <vector>

DirTreeStore g_DirTreeStore;

void FreeDirTreeChain(DirTreeNode* head)
{
    // A loop, not a recursive destructor: a chain of a whole drive would run the
    // stack out.
    while (head != nullptr)
    {
        DirTreeNode* next = head->m_next;
        delete head;
        head = next;
    }
}

DirTreeNode* CDirTreeChain::Append(LPCWSTR path)
{
    DirTreeNode* node = new (std::nothrow) DirTreeNode;
    if (node == nullptr)
        return nullptr;
    node->m_path = path;
    if (m_tail != nullptr)
        m_tail->m_next = node;
    else
        m_head = node;
    m_tail = node;
    return node;
}

DirTreeNode* CDirTreeChain::Detach()
{
    DirTreeNode* head = m_head;
    m_head = m_tail = nullptr;
    return head;
}

void CDirTreeChain::Splice(CDirTreeChain& other)
{
    if (&other == this || other.m_head == nullptr)
        return;
    if (m_tail != nullptr)
        m_tail->m_next = other.m_head;
    else
        m_head = other.m_head;
    m_tail = other.m_tail;
    other.m_head = other.m_tail = nullptr;
}

void CDirTreeChain::Free()
{
    FreeDirTreeChain(Detach());
}

DirTreeStore::DirTreeStore() : m_trees{} {}

DirTreeStore::~DirTreeStore()
{
    Clear();
}

BOOL DirTreeStore::SavesTreesToFile()
{
    return g_SAVEDRIVETREETOFILE != 0;
}

BOOL DirTreeStore::KeepsTreesInMemory()
{
    return g_SAVEDRIVETREETOMEMORY != 0;
}

BOOL DirTreeStore::CachesTrees()
{
    return SavesTreesToFile() || KeepsTreesInMemory();
}

int DirTreeStore::Slot(wchar_t letter)
{
    if (letter >= L'a' && letter <= L'z')
        letter = static_cast<wchar_t>(letter - L'a' + L'A');
    if (letter < L'A' || letter > L'Z')
        return -1;
    return letter - L'A';
}

DirTreeNode* DirTreeStore::GetTree(wchar_t letter) const
{
    int slot = Slot(letter);
    return slot < 0 ? nullptr : m_trees[slot];
}

void DirTreeStore::SetTree(wchar_t letter, DirTreeNode* head)
{
    int slot = Slot(letter);
    if (slot < 0)
    {
        FreeDirTreeChain(head);
        return;
    }
    if (m_trees[slot] != head)
        FreeDirTreeChain(m_trees[slot]);
    m_trees[slot] = head;
}

void DirTreeStore::Clear()
{
    for (DirTreeNode*& tree : m_trees)
    {
        FreeDirTreeChain(tree);
        tree = nullptr;
    }
}

CString DirTreeStore::GetCacheFolder() const
{
    return m_cacheFolder.IsEmpty() ? g_HomeDir : m_cacheFolder;
}

CString DirTreeStore::GetCacheFilePath(wchar_t letter) const
{
    CString path;
    int slot = Slot(letter);
    if (slot >= 0)
        path.Format(L"%s\\%c_TREE.DAT", static_cast<LPCWSTR>(GetCacheFolder()),
                    static_cast<wchar_t>(L'A' + slot));
    return path;
}

int DirTreeStore::LoadTreeFile(wchar_t letter)
{
    if (Slot(letter) < 0)
        return 0;
    CDirTreeChain chain;
    if (!ReadTreeCacheFile(GetCacheFilePath(letter), chain))
        return 0;
    SetTree(letter, chain.Detach());
    return 1;
}

BOOL DirTreeStore::SaveTreeFiles(LPCWSTR folder) const
{
    BOOL ok = TRUE;
    for (int slot = 0; slot < 26; ++slot)
    {
        if (m_trees[slot] == nullptr)
            continue;
        CString path;
        path.Format(L"%s\\%c_TREE.DAT", folder, static_cast<wchar_t>(L'A' + slot));
        if (!WriteTreeCacheFile(path, m_trees[slot]))
            ok = FALSE;
    }
    return ok;
}

namespace
{

BOOL WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Characters gathered before one write: a tree of a whole drive has tens of
// thousands of lines, and a write per line is what makes saving slow.
constexpr size_t kWriteChunk = 32 * 1024;

} // namespace

BOOL WriteTreeCacheFile(LPCWSTR path, const DirTreeNode* head)
{
    HANDLE file =
        CreateFileLong(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    static const BYTE byteOrderMark[2] = {0xFF, 0xFE};
    BOOL ok = WriteAll(file, byteOrderMark, sizeof(byteOrderMark));
    std::wstring pending;
    auto flush = [&]() {
        if (ok && !pending.empty())
            ok = WriteAll(file, pending.data(), static_cast<DWORD>(pending.size() * sizeof(wchar_t)));
        pending.clear();
    };
    for (const DirTreeNode* node = head; ok && node != nullptr; node = node->m_next)
    {
        pending.append(static_cast<LPCWSTR>(node->m_path), static_cast<size_t>(node->m_path.GetLength()));
        pending.append(L"\r\n");
        if (pending.size() >= kWriteChunk)
            flush();
    }
    flush();
    CloseHandle(file);
    return ok;
}

namespace
{

// The whole file; FALSE when it cannot be opened or read.
BOOL ReadWholeFile(LPCWSTR path, std::vector<BYTE>& bytes)
{
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size = {};
    BOOL ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart < 0x40000000;
    if (ok)
    {
        try
        {
            bytes.resize(static_cast<size_t>(size.QuadPart));
        }
        catch (const std::bad_alloc&)
        {
            ok = FALSE;
        }
    }
    DWORD done = 0;
    if (ok && !bytes.empty())
        ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
             done == bytes.size();
    CloseHandle(file);
    return ok;
}

} // namespace

int ReadTreeCacheFile(LPCWSTR path, CDirTreeChain& out)
{
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(path, bytes))
        return 0;
    if (bytes.size() == 1 || bytes.size() == 2)
        return 0;

    std::wstring text;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
    {
        // An odd last byte is half a character: it cannot end a line.
        text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
    }
    else if (!bytes.empty())
    {
        const char* source = reinterpret_cast<const char*>(bytes.data());
        const int sourceLength = static_cast<int>(bytes.size());
        int length = MultiByteToWideChar(CP_ACP, 0, source, sourceLength, nullptr, 0);
        if (length <= 0)
            return 0;
        text.resize(static_cast<size_t>(length));
        MultiByteToWideChar(CP_ACP, 0, source, sourceLength, &text[0], length);
    }

    CDirTreeChain lines;
    size_t start = 0;
    for (size_t end = text.find(L"\r\n"); end != std::wstring::npos; end = text.find(L"\r\n", start))
    {
        CString line(text.data() + start, static_cast<int>(end - start));
        if (lines.Append(line) == nullptr)
            return 0;
        start = end + 2;
    }
    // Moved over only now, so that a failure leaves `out` as it was.
    out.Splice(lines);
    return 1;
}
