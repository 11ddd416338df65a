#pragma once
// Our own MFC subset: OLE start-up and the control-container switch.
#include "afxwin.h"

#include "mfc/AfxOle.h"
