#pragma once
// Our own MFC subset: the core (objects, strings, geometry, exceptions).
#include <windows.h>

#include "afxexcept.h"
#include "atlstr.h"
#include "atltypes.h"
#include "mfc/AfxExceptions.h"
#include "mfc/CObject.h"
