// CObject and run-time class information: the document template creates the
// program's document, frame and view from their class descriptions, so those
// classes describe themselves and can be created by description.
//
//     // header                        // source file
//     class CQvView : public CView     IMPLEMENT_DYNCREATE(CQvView, CView)
//     {
//         DECLARE_DYNCREATE(CQvView)
//         ...
//     };
//
// `RUNTIME_CLASS(CQvView)` is the class description, `CreateObject()` makes a
// new default-constructed object of the class on the heap.
#pragma once

#include "framework/FwCore.h"

class CObject;

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)(); // null when the class is not dynamically creatable
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class, or null when the class cannot be created by
    // description or the allocation fails.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

class CObject
{
public:
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    // Objects of this family own windows and other handles: not copyable.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static const CRuntimeClass class##class_name;                                                            \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
public:                                                                                                      \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew)                                         \
    const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), pfnNew,       \
                                                         RUNTIME_CLASS(base_class_name)};                    \
    const CRuntimeClass* class_name::GetRuntimeClass() const                                                 \
    {                                                                                                        \
        return RUNTIME_CLASS(class_name);                                                                    \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject()                                                                      \
    {                                                                                                        \
        return new class_name;                                                                               \
    }                                                                                                        \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, &class_name::CreateObject)
