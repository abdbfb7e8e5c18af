// Arrays and the string map of the framework layer.
//
// CArray holds its elements by value in one contiguous block (GetData() may be
// handed to qsort). It grows in steps: by the grow-by count given to SetSize,
// or, without one, by an eighth of the current count kept within 4..1024, so
// that adding one element at a time does not reallocate every time. An index
// outside the array throws CInvalidArgException* in every build. A block of 256 KB
// or more lies in a stretch of address space kept for it, where it grows in place.
#pragma once

#include "framework/FwCore.h"
#include "framework/FwString.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// A record type whose every member stays valid at another address (strings of this
// framework, plain pointers, numbers) may say so by specialising this as true: the
// array then moves its elements as raw bytes when it grows, instead of constructing
// each one anew and destroying the old.
template <class TYPE> struct CArrayRelocatable : std::false_type
{
};

namespace fw_detail
{
// The blocks of the arrays. A block of kArrayReserveFrom bytes or more lies at the
// start of a stretch of address space reserved for it and committed as far as it
// reaches: a list that grows one element at a time to a large size would otherwise be
// copied into a fresh block (fresh pages) again and again.
const size_t kArrayReserveFrom = 256 << 10;
// A block of `bytes`; throws CMemoryException* when there is no memory.
void* AllocArrayBlock(size_t bytes);
// Makes the block of oldBytes hold newBytes where it lies; false when it cannot.
bool ResizeArrayBlockInPlace(void* block, size_t oldBytes, size_t newBytes) noexcept;
// Frees a block of `bytes` (null: nothing).
void FreeArrayBlock(void* block, size_t bytes) noexcept;
} // namespace fw_detail

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray
{
public:
    CArray() noexcept = default;
    CArray(const CArray& src) { Copy(src); }
    CArray(CArray&& src) noexcept { Swap(src); }
    CArray& operator=(const CArray& src)
    {
        Copy(src);
        return *this;
    }
    CArray& operator=(CArray&& src) noexcept
    {
        if (this != &src)
        {
            RemoveAll();
            Swap(src);
        }
        return *this;
    }
    ~CArray() { RemoveAll(); }

    INT_PTR GetSize() const noexcept { return m_nSize; }
    INT_PTR GetCount() const noexcept { return m_nSize; }
    BOOL IsEmpty() const noexcept { return m_nSize == 0; }
    INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }
    // Elements the current block holds without growing (for tests).
    INT_PTR GetAllocSize() const noexcept { return m_nMaxSize; }

    // New elements are value-initialised (0 for numbers), removed ones
    // destroyed. A growBy >= 0 is kept for later growth (0: the automatic step).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() noexcept;

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[CheckIndex(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }

    const TYPE* GetData() const noexcept { return m_pData; }
    TYPE* GetData() noexcept { return m_pData; }

    // Sets the element, first growing the array when the index lies beyond it.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    // Returns the index of the new element.
    INT_PTR Add(ARG_TYPE newElement);
    // Appends an element constructed in its place from the arguments, the array
    // growing as SetSize(GetSize() + 1, nGrowBy) would; returns its index. The
    // arguments must not lie in this array.
    template <class... Args> INT_PTR AddConstructed(INT_PTR nGrowBy, Args&&... args);
    // Appends copies of the source's elements; returns the index of the first.
    INT_PTR Append(const CArray& src);
    // Makes this array a copy of the source.
    void Copy(const CArray& src);

    // Inserts nCount copies at nIndex (an index beyond the end grows the
    // array up to it first); later elements move up.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray);
    // Removes nCount elements from nIndex; later elements move down.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

private:
    INT_PTR CheckIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
        {
            AfxThrowInvalidArgException();
        }
        return nIndex;
    }
    bool Holds(const TYPE* p) const noexcept
    {
        return m_nSize > 0 && reinterpret_cast<uintptr_t>(p) >= reinterpret_cast<uintptr_t>(m_pData) &&
               reinterpret_cast<uintptr_t>(p) < reinterpret_cast<uintptr_t>(m_pData + m_nSize);
    }
    void Swap(CArray& other) noexcept
    {
        std::swap(m_pData, other.m_pData);
        std::swap(m_nSize, other.m_nSize);
        std::swap(m_nMaxSize, other.m_nMaxSize);
        std::swap(m_nGrowBy, other.m_nGrowBy);
    }
    // Moves the elements into a new block of `capacity` elements.
    void Reallocate(INT_PTR capacity);
    // Makes room for nNewSize elements (more than the block holds) by the grow-by rule.
    void Grow(INT_PTR nNewSize);
    static void Relocate(TYPE* to, TYPE* from, INT_PTR count) noexcept;

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Relocate(TYPE* to, TYPE* from, INT_PTR count) noexcept
{
    if (count <= 0)
    {
        return;
    }
    if constexpr (std::is_trivially_copyable<TYPE>::value || CArrayRelocatable<TYPE>::value)
    {
        memcpy(static_cast<void*>(to), static_cast<const void*>(from), count * sizeof(TYPE));
    }
    else
    {
        for (INT_PTR i = 0; i < count; ++i)
        {
            ::new (static_cast<void*>(to + i)) TYPE(std::move(from[i]));
            from[i].~TYPE();
        }
    }
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR capacity)
{
    if (capacity < 0 || static_cast<size_t>(capacity) > static_cast<size_t>(PTRDIFF_MAX) / sizeof(TYPE))
    {
        AfxThrowMemoryException();
    }
    const size_t oldBytes = static_cast<size_t>(m_nMaxSize) * sizeof(TYPE);
    const size_t newBytes = static_cast<size_t>(capacity) * sizeof(TYPE);
    if (m_pData && capacity > 0 && fw_detail::ResizeArrayBlockInPlace(m_pData, oldBytes, newBytes))
    {
        m_nMaxSize = capacity;
        return;
    }
    TYPE* block = nullptr;
    if (capacity > 0)
    {
        block = static_cast<TYPE*>(fw_detail::AllocArrayBlock(newBytes));
    }
    Relocate(block, m_pData, m_nSize);
    fw_detail::FreeArrayBlock(m_pData, oldBytes);
    m_pData = block;
    m_nMaxSize = capacity;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy)
{
    if (nNewSize < 0)
    {
        AfxThrowInvalidArgException();
    }
    if (nGrowBy >= 0)
    {
        m_nGrowBy = nGrowBy;
    }
    if (nNewSize == 0)
    {
        RemoveAll();
        return;
    }
    if (nNewSize > m_nMaxSize)
    {
        Grow(nNewSize);
    }
    for (INT_PTR i = m_nSize; i < nNewSize; ++i)
    {
        ::new (static_cast<void*>(m_pData + i)) TYPE();
        m_nSize = i + 1; // counted one by one: a throwing constructor leaves a valid array
    }
    for (INT_PTR i = nNewSize; i < m_nSize; ++i)
    {
        m_pData[i].~TYPE();
    }
    m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Grow(INT_PTR nNewSize)
{
    INT_PTR capacity;
    if (!m_pData)
    {
        capacity = nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy;
    }
    else
    {
        INT_PTR step = m_nGrowBy;
        if (step == 0)
        {
            step = m_nSize / 8;
            step = step < 4 ? 4 : (step > 1024 ? 1024 : step);
        }
        capacity = nNewSize < m_nMaxSize + step ? m_nMaxSize + step : nNewSize;
    }
    Reallocate(capacity);
}

template <class TYPE, class ARG_TYPE>
template <class... Args>
INT_PTR CArray<TYPE, ARG_TYPE>::AddConstructed(INT_PTR nGrowBy, Args&&... args)
{
    if (nGrowBy >= 0)
    {
        m_nGrowBy = nGrowBy;
    }
    if (m_nSize >= m_nMaxSize)
    {
        Grow(m_nSize + 1);
    }
    ::new (static_cast<void*>(m_pData + m_nSize)) TYPE(std::forward<Args>(args)...);
    return m_nSize++;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize != m_nMaxSize)
    {
        Reallocate(m_nSize);
    }
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::RemoveAll() noexcept
{
    for (INT_PTR i = 0; i < m_nSize; ++i)
    {
        m_pData[i].~TYPE();
    }
    fw_detail::FreeArrayBlock(m_pData, static_cast<size_t>(m_nMaxSize) * sizeof(TYPE));
    m_pData = nullptr;
    m_nSize = 0;
    m_nMaxSize = 0;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0)
    {
        AfxThrowInvalidArgException();
    }
    if (nIndex >= m_nSize)
    {
        const TYPE& element = newElement;
        if (Holds(&element))
        {
            // The element lives in this array, which is about to move.
            TYPE copy(element);
            SetSize(nIndex + 1);
            m_pData[nIndex] = std::move(copy);
            return;
        }
        SetSize(nIndex + 1);
    }
    m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE> INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement)
{
    INT_PTR index = m_nSize;
    SetAtGrow(index, newElement);
    return index;
}

template <class TYPE, class ARG_TYPE> INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    INT_PTR oldSize = m_nSize;
    if (&src == this)
    {
        CArray copy(src);
        return Append(copy);
    }
    SetSize(m_nSize + src.m_nSize);
    for (INT_PTR i = 0; i < src.m_nSize; ++i)
    {
        m_pData[oldSize + i] = src.m_pData[i];
    }
    return oldSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (&src == this)
    {
        return;
    }
    SetSize(src.m_nSize);
    for (INT_PTR i = 0; i < src.m_nSize; ++i)
    {
        m_pData[i] = src.m_pData[i];
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0)
    {
        AfxThrowInvalidArgException();
    }
    // The element may live in this array, which is about to move.
    TYPE element(newElement);
    if (nIndex >= m_nSize)
    {
        SetSize(nIndex + nCount);
    }
    else
    {
        INT_PTR oldSize = m_nSize;
        SetSize(m_nSize + nCount);
        // Shift the tail up by nCount (assignments over constructed elements).
        for (INT_PTR i = oldSize - 1; i >= nIndex; --i)
        {
            m_pData[i + nCount] = std::move(m_pData[i]);
        }
    }
    for (INT_PTR i = 0; i < nCount; ++i)
    {
        m_pData[nIndex + i] = element;
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
{
    if (!pNewArray || nStartIndex < 0)
    {
        AfxThrowInvalidArgException();
    }
    if (pNewArray->m_nSize == 0)
    {
        return;
    }
    CArray copy(*pNewArray); // the source may be this array
    InsertAt(nStartIndex, copy.m_pData[0], copy.m_nSize);
    for (INT_PTR i = 1; i < copy.m_nSize; ++i)
    {
        m_pData[nStartIndex + i] = copy.m_pData[i];
    }
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount < 0 || nIndex >= m_nSize || nCount > m_nSize - nIndex)
    {
        AfxThrowInvalidArgException();
    }
    for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i)
    {
        m_pData[i] = std::move(m_pData[i + nCount]);
    }
    for (INT_PTR i = m_nSize - nCount; i < m_nSize; ++i)
    {
        m_pData[i].~TYPE();
    }
    m_nSize -= nCount;
}

// The classic array classes. Classes rather than aliases, so that they can be
// declared ahead (`class CStringArray;`).
class CStringArray : public CArray<CString, const CString&>
{
};
class CDWordArray : public CArray<DWORD, DWORD>
{
};
class CUIntArray : public CArray<UINT, UINT>
{
};
class CWordArray : public CArray<WORD, WORD>
{
};
class CByteArray : public CArray<BYTE, BYTE>
{
};
class CPtrArray : public CArray<void*, void*>
{
};

// A map from string to string; keys compare case-sensitively. Iteration
// (GetStartPosition/GetNextAssoc) runs in insertion order: a key set again
// keeps its place, a removed and re-added key goes to the end. Removing the
// entry just returned by GetNextAssoc during an iteration is safe.
class CMapStringToString
{
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10);
    CMapStringToString(const CMapStringToString& src);
    CMapStringToString& operator=(const CMapStringToString& src);
    ~CMapStringToString();

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    BOOL Lookup(LPCWSTR key, CString& rValue) const;
    // The value of the key, added with an empty value when missing.
    CString& operator[](LPCWSTR key);
    void SetAt(LPCWSTR key, LPCWSTR newValue);
    BOOL RemoveKey(LPCWSTR key);
    void RemoveAll() noexcept;

    POSITION GetStartPosition() const noexcept;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;

private:
    struct Node;
    Node* Find(LPCWSTR key, UINT hash) const noexcept;
    static UINT Hash(LPCWSTR key) noexcept;
    void Rehash(UINT bucketCount);

    Node** m_buckets = nullptr;
    UINT m_nBuckets = 0;
    Node* m_first = nullptr; // insertion order
    Node* m_last = nullptr;
    INT_PTR m_nCount = 0;
};
