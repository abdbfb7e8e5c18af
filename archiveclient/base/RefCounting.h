// Reference counting and interface queries for every object the archive client hands
// to 7z.dll or keeps by interface, the holder of one interface pointer, and the
// conversion of system error codes to result codes.
#pragma once
#include "archiveclient/base/ArcInterfaces.h"

// A system error code as a result code: e > 0 gives (e AND 0xFFFF) OR 0x80070000;
// anything else is passed on unchanged.
inline HRESULT ResultFromSystemError(DWORD error)
{
    if (static_cast<LONG>(error) <= 0)
        return static_cast<HRESULT>(error);
    return static_cast<HRESULT>((error & 0xFFFF) | 0x80070000);
}

// The last system error as a result; E_FAIL when the system left no error, so that a
// failure is never reported as success.
inline HRESULT ResultFromLastError()
{
    DWORD error = GetLastError();
    return error == 0 ? E_FAIL : ResultFromSystemError(error);
}

// 0x80070083: a seek to a position before the start of a stream.
const HRESULT kNegativeSeekResult = static_cast<HRESULT>(0x80070083);

// The reference count every counted object embeds. It starts at 0; the first holder
// takes the first reference. 7z.dll calls progress and ratio interfaces from its own
// worker threads while the client holds the same objects, so the count is changed
// with interlocked operations.
class CRefCountBase
{
public:
    CRefCountBase() = default;
    CRefCountBase(const CRefCountBase&) = delete;
    CRefCountBase& operator=(const CRefCountBase&) = delete;

    ULONG RefCount() const { return static_cast<ULONG>(m_refCount); }

protected:
    ULONG IncrementRefCount() { return static_cast<ULONG>(InterlockedIncrement(&m_refCount)); }
    ULONG DecrementRefCount() { return static_cast<ULONG>(InterlockedDecrement(&m_refCount)); }

private:
    volatile LONG m_refCount = 0;
};

// Implements IUnknown for a class that derives from the interfaces it lists. The
// identifiers of IUnknown and of Primary yield the object itself; the identifier of
// each of Further yields that sub-object; any other identifier gives E_NOINTERFACE
// with a null output and no change of the count. All sub-objects share one count;
// the last Release deletes the object through its virtual destructor.
//
//     class CMyStream : public CRefCounted<IInStream, IStreamGetSize> { ... };
template <class Primary, class... Further>
class CRefCounted : public Primary, public Further..., public CRefCountBase
{
public:
    CRefCounted() = default;
    virtual ~CRefCounted() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, InterfaceIdOf<Primary>()))
            *out = static_cast<Primary*>(this);
        else
        {
            bool found = (TryFurther<Further>(iid, out) || ...);
            if (!found)
                *out = QueryOtherInterface(iid);
        }
        if (*out == nullptr)
            return E_NOINTERFACE;
        IncrementRefCount();
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return IncrementRefCount(); }

    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG count = DecrementRefCount();
        if (count == 0)
            delete this;
        return count;
    }

protected:
    // For a class that must also answer an identifier it does not list (such as the
    // base of a listed interface): the matching sub-object, or null.
    virtual void* QueryOtherInterface(REFIID) { return nullptr; }

private:
    template <class I> bool TryFurther(REFIID iid, void** out)
    {
        if (!IsEqualGUID(iid, InterfaceIdOf<I>()))
            return false;
        *out = static_cast<I*>(this);
        return true;
    }
};

// Holds one counted interface pointer: a reference is taken when a pointer is stored
// and given back when it is replaced or the holder ends.
template <class T> class CInterfaceRef
{
public:
    CInterfaceRef() = default;
    CInterfaceRef(T* p) : m_p(p)
    {
        if (p != nullptr)
            p->AddRef();
    }
    CInterfaceRef(const CInterfaceRef& other) : CInterfaceRef(other.m_p) {}
    ~CInterfaceRef() { Release(); }
    CInterfaceRef& operator=(const CInterfaceRef& other)
    {
        Assign(other.m_p);
        return *this;
    }
    CInterfaceRef& operator=(T* p)
    {
        Assign(p);
        return *this;
    }

    // The new pointer is counted before the old one is released, so assigning the held
    // pointer to itself is safe.
    void Assign(T* p)
    {
        if (p != nullptr)
            p->AddRef();
        T* old = m_p;
        m_p = p;
        if (old != nullptr)
            old->Release();
    }
    // Takes over a reference the caller already owns.
    void Attach(T* p)
    {
        Release();
        m_p = p;
    }
    // Hands the reference to the caller and empties the holder.
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Release()
    {
        T* p = m_p;
        m_p = nullptr;
        if (p != nullptr)
            p->Release();
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    bool IsNull() const { return m_p == nullptr; }

    // For an out-parameter that receives an owned reference (T**): the old pointer is
    // released first.
    T** OutPtr()
    {
        Release();
        return &m_p;
    }
    void** OutVoidPtr() { return reinterpret_cast<void**>(OutPtr()); }

    // Asks source for T; the holder is empty when it does not answer.
    template <class Source> HRESULT QueryFrom(Source* source)
    {
        Release();
        if (source == nullptr)
            return E_NOINTERFACE;
        return source->QueryInterface(InterfaceIdOf<T>(), OutVoidPtr());
    }

private:
    T* m_p = nullptr;
};
