#pragma once
// Our own MFC subset: OLE drag and drop onto windows.
#include "afxdisp.h"

#include "mfc/COleDropTarget.h"
