#pragma once
// MFC's exception family. As in MFC they are thrown by pointer and released
// with Delete(); none of them derives from std::exception, so the program's
// classified-exception guards let them pass and only a catch-all takes them.
#include <windows.h>

class CException {
public:
    virtual ~CException() = default;
    // Frees a heap exception; the preallocated ones stay.
    void Delete();

protected:
    explicit CException(bool autoDelete = true) : m_bAutoDelete(autoDelete) {}

public:
    bool m_bAutoDelete;
};

class CMemoryException : public CException {
public:
    CMemoryException() : CException(false) {}
};

// MFC's exception for an HRESULT (a status code).
class COleException : public CException {
public:
    explicit COleException(SCODE sc) : m_sc(sc) {}
    SCODE m_sc;
};

// Throws the preallocated memory exception: no allocation while memory is short.
[[noreturn]] void AfxThrowMemoryException();
// E_OUTOFMEMORY becomes the memory exception, any other code a COleException.
[[noreturn]] void AfxThrowOleException(SCODE sc);
