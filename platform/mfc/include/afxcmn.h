#pragma once
// Our own MFC subset: the common controls (list view and header among them)
// and image lists.
#include "afxwin.h"

#include "mfc/CImageList.h"
#include "mfc/CListCtrl.h"
#include "mfc/CommonControls.h"
