#pragma once
// ObjectRef: a reference to an object given as a plain pointer, a shared
// pointer or a weak pointer; usually only one of them is set. The caller picks
// the ownership: a plain pointer for an object that outlives the holder, a
// weak one for an object that may go first.
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

namespace Time {

template <class T>
class ObjectRef {
public:
    ObjectRef() noexcept : m_plain(nullptr) {}
    ObjectRef(T* plain) noexcept : m_plain(plain) {}
    template <class U>
    ObjectRef(const boost::shared_ptr<U>& shared) noexcept : m_plain(nullptr), m_shared(shared) {}
    template <class U>
    ObjectRef(const boost::weak_ptr<U>& weak) noexcept : m_plain(nullptr), m_weak(weak) {}

    // The plain pointer when set, else the shared pointer's object, else the
    // weak pointer's object while it lives; null otherwise.
    T* Resolve() const noexcept {
        if (m_plain)
            return m_plain;
        if (m_shared)
            return m_shared.get();
        return m_weak.lock().get();
    }

    // The same object, kept alive by the result for as long as a call on it
    // lasts (the plain form is not owned: the result only points at it).
    boost::shared_ptr<T> Hold() const noexcept {
        if (m_plain)
            return boost::shared_ptr<T>(boost::shared_ptr<T>(), m_plain);
        if (m_shared)
            return m_shared;
        return m_weak.lock();
    }

private:
    T* m_plain;
    boost::shared_ptr<T> m_shared;
    boost::weak_ptr<T> m_weak;
};

}  // namespace Time
