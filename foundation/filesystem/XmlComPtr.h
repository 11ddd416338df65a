#pragma once
// XmlComPtr: owns one reference on a COM interface of the XML DOM.
//
//   FileSystem::XmlComPtr<IXMLDOMNodeList> list;
//   node->selectNodes(xpath, list.Receive());   // takes the returned reference
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace FileSystem {

template <class T>
class XmlComPtr {
public:
    XmlComPtr() noexcept = default;
    // Adds a reference of its own.
    XmlComPtr(T* p) noexcept : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    XmlComPtr(const XmlComPtr& other) noexcept : XmlComPtr(other.m_p) {}
    XmlComPtr(XmlComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    XmlComPtr& operator=(XmlComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~XmlComPtr() { Release(); }

    // Drops the reference (if any); the pointer is null afterwards.
    void Release() noexcept {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    // For an out-parameter: drops what is held and lets the callee store a
    // reference that this pointer then owns.
    T** Receive() noexcept {
        Release();
        return &m_p;
    }

    T* Get() const noexcept { return m_p; }
    operator T*() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }

private:
    T* m_p = nullptr;
};

}  // namespace FileSystem
