#include "afxexcept.h"

void CException::Delete() {
    if (m_bAutoDelete)
        delete this;
}

void AfxThrowMemoryException() {
    static CMemoryException preallocated;
    throw &preallocated;
}

void AfxThrowOleException(SCODE sc) {
    if (sc == E_OUTOFMEMORY)
        AfxThrowMemoryException();
    throw new COleException(sc);
}
