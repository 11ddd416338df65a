#include "skin/autosurface/AutoSurface.h"

template class AutoSurfaceT<CDialog>;
template class FullAutoSurfaceT<CDialog>;
