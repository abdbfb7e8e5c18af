// The archive client's growable arrays: CValueVector holds plain values copied
// bytewise; COwnedPtrVector owns heap objects through a CValueVector of pointers.
#pragma once
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

template <class T> class CValueVector
{
    static_assert(std::is_trivially_copyable<T>::value, "CValueVector copies its elements bytewise");

public:
    CValueVector() = default;
    CValueVector(const CValueVector&) = delete;
    CValueVector& operator=(const CValueVector&) = delete;
    ~CValueVector() { ::operator delete(m_items); }

    uint32_t Count() const { return m_count; }
    uint32_t Capacity() const { return m_capacity; }
    T& At(uint32_t i) { return m_items[i]; }
    const T& At(uint32_t i) const { return m_items[i]; }

    uint32_t Add(const T& value)
    {
        if (m_count == m_capacity)
            Grow();
        std::memcpy(static_cast<void*>(m_items + m_count), &value, sizeof(T));
        return m_count++;
    }

    void Insert(uint32_t i, const T& value)
    {
        if (m_count == m_capacity)
            Grow();
        std::memmove(static_cast<void*>(m_items + i + 1), m_items + i, (m_count - i) * sizeof(T));
        std::memcpy(static_cast<void*>(m_items + i), &value, sizeof(T));
        m_count++;
    }

    void Clear() { m_count = 0; }
    // Removes element i; the later ones move up one place.
    void Delete(uint32_t i)
    {
        std::memmove(static_cast<void*>(m_items + i), m_items + i + 1, (m_count - i - 1) * sizeof(T));
        m_count--;
    }

    // Room for n elements and a count of n; the contents are undefined.
    void ResetToSize(uint32_t n)
    {
        if (n > m_capacity)
        {
            ::operator delete(m_items);
            m_items = nullptr;
            m_count = m_capacity = 0;
            m_items = static_cast<T*>(::operator new(static_cast<size_t>(n) * sizeof(T)));
            m_capacity = n;
        }
        m_count = n;
    }

    // Gives back the room beyond the elements; when no smaller block is to be had,
    // the room stays.
    void ReserveDown()
    {
        if (m_capacity == m_count)
            return;
        T* items = nullptr;
        if (m_count != 0)
        {
            items = static_cast<T*>(::operator new(static_cast<size_t>(m_count) * sizeof(T), std::nothrow));
            if (!items)
                return;
            std::memcpy(static_cast<void*>(items), m_items, m_count * sizeof(T));
        }
        ::operator delete(m_items);
        m_items = items;
        m_capacity = m_count;
    }

private:
    void Grow()
    {
        uint32_t capacity = m_capacity + m_capacity / 4 + 1;
        T* items = static_cast<T*>(::operator new(static_cast<size_t>(capacity) * sizeof(T)));
        if (m_count != 0)
            std::memcpy(static_cast<void*>(items), m_items, m_count * sizeof(T));
        ::operator delete(m_items);
        m_items = items;
        m_capacity = capacity;
    }

    T* m_items = nullptr;
    uint32_t m_count = 0;
    uint32_t m_capacity = 0;
};

template <class T> class COwnedPtrVector
{
public:
    COwnedPtrVector() = default;
    COwnedPtrVector(const COwnedPtrVector&) = delete;
    COwnedPtrVector& operator=(const COwnedPtrVector&) = delete;
    ~COwnedPtrVector() { Clear(); }

    uint32_t Count() const { return m_items.Count(); }
    uint32_t Capacity() const { return m_items.Capacity(); }
    void ReserveDown() { m_items.ReserveDown(); }
    T& At(uint32_t i) { return *m_items.At(i); }
    const T& At(uint32_t i) const { return *m_items.At(i); }
    T& Back() { return *m_items.At(m_items.Count() - 1); }
    const T& Back() const { return *m_items.At(m_items.Count() - 1); }

    // Stores a heap copy of value; returns its index.
    uint32_t AddCopy(const T& value) { return AddOwned(new T(value)); }
    // Stores a new default object; returns its index.
    uint32_t AddNew() { return AddOwned(new T()); }

    void DeleteBack()
    {
        uint32_t last = m_items.Count() - 1;
        T* item = m_items.At(last);
        m_items.ResetToSize(last);
        delete item;
    }

    // Deletes the elements from the last to the first.
    void Clear()
    {
        while (m_items.Count() != 0)
            DeleteBack();
    }

    // Takes element i out without deleting it: the caller owns it from now on.
    T* Detach(uint32_t i)
    {
        T* item = m_items.At(i);
        m_items.Delete(i);
        return item;
    }
    void Delete(uint32_t i) { delete Detach(i); }

    // Takes over an element made on the heap; returns its index.
    uint32_t AddOwned(T* item)
    {
        try
        {
            return m_items.Add(item);
        }
        catch (...)
        {
            delete item;
            throw;
        }
    }

private:
    CValueVector<T*> m_items;
};
