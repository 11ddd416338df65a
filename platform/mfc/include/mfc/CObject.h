#pragma once
// MFC's root class and its run-time class information: IsKindOf, and the
// dynamic creation that document templates use (DECLARE_DYNCREATE).
#include <windows.h>

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* (*m_pfnGetBaseClass)();

    // Null when the class has no dynamic creation.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* _GetBaseClass() { return nullptr; }

protected:
    CObject() = default;

private:
    // MFC objects own handles and are never copied.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                                      \
public:                                                                  \
    static const CRuntimeClass class##class_name;                        \
    static const CRuntimeClass* _GetBaseClass();                         \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, creator)                                \
    const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                         creator, &class_name::_GetBaseClass};          \
    const CRuntimeClass* class_name::_GetBaseClass() { return RUNTIME_CLASS(base_class_name); }        \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)           \
    CObject* class_name::CreateObject() { return new class_name; } \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)

// The object as the class when it is one (or derives from it), else null.
#define DYNAMIC_DOWNCAST(class_name, object) dynamic_cast<class_name*>(object)
#define STATIC_DOWNCAST(class_name, object) static_cast<class_name*>(object)
