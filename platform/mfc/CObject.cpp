#include "mfc/CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), nullptr,
                                             &CObject::_GetBaseClass};

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* current = this; current; current = current->m_pfnGetBaseClass())
        if (current == base)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* runtimeClass) const {
    return runtimeClass && GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}
