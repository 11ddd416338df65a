#include "skin/commongui/ConstructibleDC.h"

CConstructibleDC::CConstructibleDC(CDC* dc, Construction construction) : m_ownsDC(construction == CreateCompatible) {
    if (m_ownsDC) {
        CreateCompatibleDC(dc);
    } else if (dc) {
        m_hDC = dc->m_hDC;
        m_hAttribDC = dc->m_hAttribDC;
    }
}

CConstructibleDC::~CConstructibleDC() {
    if (m_ownsDC)
        DeleteDC();
    else
        Detach();
}
