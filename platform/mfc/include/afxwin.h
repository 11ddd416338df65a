#pragma once
// Our own MFC subset: windows, message maps, drawing, menus, dialogs, the
// standard controls, the application object, and documents, frames and views.
#include "afx.h"

#include "mfc/CCmdTarget.h"
#include "mfc/CDC.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/CDocManager.h"
#include "mfc/CDocTemplate.h"
#include "mfc/CDocument.h"
#include "mfc/CFrameWnd.h"
#include "mfc/CGdiObject.h"
#include "mfc/CMenu.h"
#include "mfc/CView.h"
#include "mfc/CWinApp.h"
#include "mfc/CWnd.h"
#include "mfc/ModalSeams.h"
#include "mfc/StandardControls.h"
