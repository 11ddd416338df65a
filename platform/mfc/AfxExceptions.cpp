#include "mfc/AfxExceptions.h"

void AfxThrowResourceException() {
    static CResourceException preallocated;
    throw &preallocated;
}

void AfxThrowUserException() {
    static CUserException preallocated;
    throw &preallocated;
}
