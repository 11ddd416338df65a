#pragma once
// Our own MFC subset: the common controls and image lists.
#include "afxwin.h"

#include "mfc/CImageList.h"
#include "mfc/CommonControls.h"
