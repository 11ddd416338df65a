#pragma once
// Our own MFC subset: windows, message maps, drawing, menus, dialogs, the
// standard controls and the application object.
#include "afx.h"

#include "mfc/CCmdTarget.h"
#include "mfc/CDC.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/CGdiObject.h"
#include "mfc/CMenu.h"
#include "mfc/CWinApp.h"
#include "mfc/CWnd.h"
#include "mfc/ModalSeams.h"
#include "mfc/StandardControls.h"
