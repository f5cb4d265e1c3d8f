#include "CRuntimeClass.h"

#include <cstring>
#include <vector>

namespace {

// A function-local list, so that registration works whatever order the
// static class objects of different files are built in.
std::vector<const CRuntimeClass*>& Registry()
{
    static std::vector<const CRuntimeClass*> classes;
    return classes;
}

} // namespace

CRuntimeClass::CRuntimeClass(const char* className, Factory create, const CRuntimeClass* base)
    : m_lpszClassName(className)
    , m_pfnCreateObject(create)
    , m_pBaseClass(base)
{
    Registry().push_back(this);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    if (!base)
        return FALSE;
    for (const CRuntimeClass* cls = this; cls; cls = cls->m_pBaseClass) {
        if (cls == base)
            return TRUE;
    }
    return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* className)
{
    if (!className)
        return nullptr;
    for (const CRuntimeClass* cls : Registry()) {
        if (std::strcmp(cls->m_lpszClassName, className) == 0)
            return cls;
    }
    return nullptr;
}
