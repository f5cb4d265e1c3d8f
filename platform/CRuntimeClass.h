#pragma once

#include "WinTypes.h"

class CObject;

// Run-time class information: a name, a base and, for creatable classes, a
// factory. Every instance registers itself, so classes can be found by name.
class CRuntimeClass
{
public:
    using Factory = CObject* (*)();

    CRuntimeClass(const char* className, Factory create, const CRuntimeClass* base);
    CRuntimeClass(const CRuntimeClass&) = delete;
    CRuntimeClass& operator=(const CRuntimeClass&) = delete;

    const char* m_lpszClassName;
    Factory m_pfnCreateObject;
    const CRuntimeClass* m_pBaseClass;

    // Null for abstract classes and when memory runs out.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    static const CRuntimeClass* FromName(const char* className);
};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

#define DECLARE_DYNAMIC(cls)                                                                                           \
public:                                                                                                                \
    static const CRuntimeClass class##cls;                                                                             \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(cls)                                                                                         \
    DECLARE_DYNAMIC(cls)                                                                                               \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(cls, base, factory)                                                                     \
    const CRuntimeClass cls::class##cls(#cls, factory, RUNTIME_CLASS(base));                                           \
    const CRuntimeClass* cls::GetRuntimeClass() const                                                                  \
    {                                                                                                                  \
        return &cls::class##cls;                                                                                       \
    }

#define IMPLEMENT_DYNAMIC(cls, base) IMPLEMENT_RUNTIMECLASS(cls, base, nullptr)

#define IMPLEMENT_DYNCREATE(cls, base)                                                                                 \
    CObject* cls::CreateObject()                                                                                       \
    {                                                                                                                  \
        return new (std::nothrow) cls;                                                                                 \
    }                                                                                                                  \
    IMPLEMENT_RUNTIMECLASS(cls, base, &cls::CreateObject)
