#include "skin/surface/Surface.h"

// Every skinned dialog is a surface over CDialog: compiled once here.
template class SurfaceT<CDialog>;
