#include "framework/FwCollections.h"
#include "framework/FwMemory.h"

namespace
{
size_t PageBytes()
{
    static const size_t bytes = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return static_cast<size_t>(info.dwPageSize);
    }();
    return bytes;
}

size_t RoundToPages(size_t bytes)
{
    return (bytes + PageBytes() - 1) / PageBytes() * PageBytes();
}

// The address space reserved for a large block: 64 MB, or the next power of two that
// holds it. A block moves only when it outgrows its stretch.
size_t ReservedBytes(size_t bytes)
{
    size_t reserved = size_t(64) << 20;
    while (reserved < bytes)
    {
        reserved *= 2;
    }
    return reserved;
}
} // namespace

void* fw_detail::AllocArrayBlock(size_t bytes)
{
    void* block = nullptr;
    if (bytes < kArrayReserveFrom)
    {
        block = malloc(bytes);
    }
    else
    {
        block = VirtualAlloc(nullptr, ReservedBytes(bytes), MEM_RESERVE, PAGE_NOACCESS);
        if (block && !VirtualAlloc(block, bytes, MEM_COMMIT, PAGE_READWRITE))
        {
            VirtualFree(block, 0, MEM_RELEASE);
            block = nullptr;
        }
        // An array commits what it is about to fill: map it in one call rather than a
        // fault per page as the elements arrive.
        if (block)
        {
            FwPrefaultPages(block, bytes);
        }
    }
    if (!block)
    {
        AfxThrowMemoryException();
    }
    return block;
}

bool fw_detail::ResizeArrayBlockInPlace(void* block, size_t oldBytes, size_t newBytes) noexcept
{
    if (oldBytes < kArrayReserveFrom || newBytes < kArrayReserveFrom ||
        ReservedBytes(oldBytes) != ReservedBytes(newBytes))
    {
        return false;
    }
    char* base = static_cast<char*>(block);
    const size_t committed = RoundToPages(oldBytes);
    const size_t needed = RoundToPages(newBytes);
    if (needed > committed)
    {
        if (!VirtualAlloc(base + committed, needed - committed, MEM_COMMIT, PAGE_READWRITE))
        {
            return false;
        }
        FwPrefaultPages(base + committed, needed - committed);
        return true;
    }
    if (needed < committed)
    {
        VirtualFree(base + needed, committed - needed, MEM_DECOMMIT);
    }
    return true;
}

void fw_detail::FreeArrayBlock(void* block, size_t bytes) noexcept
{
    if (bytes >= kArrayReserveFrom)
    {
        VirtualFree(block, 0, MEM_RELEASE);
    }
    else
    {
        free(block);
    }
}

struct CMapStringToString::Node
{
    CString key;
    CString value;
    UINT hash;
    Node* nextInBucket;
    Node* prev; // insertion order
    Node* next;
};

CMapStringToString::CMapStringToString(INT_PTR) {}

CMapStringToString::CMapStringToString(const CMapStringToString& src)
{
    *this = src;
}

CMapStringToString& CMapStringToString::operator=(const CMapStringToString& src)
{
    if (this != &src)
    {
        RemoveAll();
        for (Node* node = src.m_first; node; node = node->next)
        {
            SetAt(node->key, node->value);
        }
    }
    return *this;
}

CMapStringToString::~CMapStringToString()
{
    RemoveAll();
}

UINT CMapStringToString::Hash(LPCWSTR key) noexcept
{
    // FNV-1a over the UTF-16 code units.
    UINT hash = 2166136261u;
    for (; *key; ++key)
    {
        hash = (hash ^ static_cast<UINT>(*key)) * 16777619u;
    }
    return hash;
}

CMapStringToString::Node* CMapStringToString::Find(LPCWSTR key, UINT hash) const noexcept
{
    if (!m_buckets)
    {
        return nullptr;
    }
    for (Node* node = m_buckets[hash % m_nBuckets]; node; node = node->nextInBucket)
    {
        if (node->hash == hash && node->key.Compare(key) == 0)
        {
            return node;
        }
    }
    return nullptr;
}

void CMapStringToString::Rehash(UINT bucketCount)
{
    auto** buckets = static_cast<Node**>(calloc(bucketCount, sizeof(Node*)));
    if (!buckets)
    {
        AfxThrowMemoryException();
    }
    for (Node* node = m_first; node; node = node->next)
    {
        Node*& head = buckets[node->hash % bucketCount];
        node->nextInBucket = head;
        head = node;
    }
    free(m_buckets);
    m_buckets = buckets;
    m_nBuckets = bucketCount;
}

BOOL CMapStringToString::Lookup(LPCWSTR key, CString& rValue) const
{
    if (!key)
    {
        key = L"";
    }
    Node* node = Find(key, Hash(key));
    if (!node)
    {
        return FALSE;
    }
    rValue = node->value;
    return TRUE;
}

CString& CMapStringToString::operator[](LPCWSTR key)
{
    if (!key)
    {
        key = L"";
    }
    UINT hash = Hash(key);
    if (Node* node = Find(key, hash))
    {
        return node->value;
    }
    if (static_cast<UINT_PTR>(m_nCount) >= m_nBuckets)
    {
        Rehash(m_nBuckets ? m_nBuckets * 2 + 1 : 17);
    }
    Node* node = new (std::nothrow) Node{CString(key), CString(), hash, nullptr, m_last, nullptr};
    if (!node)
    {
        AfxThrowMemoryException();
    }
    Node*& head = m_buckets[hash % m_nBuckets];
    node->nextInBucket = head;
    head = node;
    (m_last ? m_last->next : m_first) = node;
    m_last = node;
    ++m_nCount;
    return node->value;
}

void CMapStringToString::SetAt(LPCWSTR key, LPCWSTR newValue)
{
    (*this)[key] = newValue;
}

BOOL CMapStringToString::RemoveKey(LPCWSTR key)
{
    if (!key)
    {
        key = L"";
    }
    UINT hash = Hash(key);
    Node* node = Find(key, hash);
    if (!node)
    {
        return FALSE;
    }
    Node** link = &m_buckets[hash % m_nBuckets];
    while (*link != node)
    {
        link = &(*link)->nextInBucket;
    }
    *link = node->nextInBucket;
    (node->prev ? node->prev->next : m_first) = node->next;
    (node->next ? node->next->prev : m_last) = node->prev;
    delete node;
    --m_nCount;
    return TRUE;
}

void CMapStringToString::RemoveAll() noexcept
{
    for (Node* node = m_first; node;)
    {
        Node* next = node->next;
        delete node;
        node = next;
    }
    free(m_buckets);
    m_buckets = nullptr;
    m_nBuckets = 0;
    m_first = nullptr;
    m_last = nullptr;
    m_nCount = 0;
}

POSITION CMapStringToString::GetStartPosition() const noexcept
{
    return reinterpret_cast<POSITION>(m_first);
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const
{
    Node* node = reinterpret_cast<Node*>(rNextPosition);
    if (!node)
    {
        AfxThrowInvalidArgException();
    }
    rKey = node->key;
    rValue = node->value;
    rNextPosition = reinterpret_cast<POSITION>(node->next);
}
