#pragma once
// Our own MFC subset: the framework's private messages (layout, idle update).
#include "afxwin.h"

#include "mfc/AfxFrameMessages.h"
