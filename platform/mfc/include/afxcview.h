#pragma once
// Our own MFC subset: views that are controls (the list view).
#include "afxcmn.h"
#include "afxwin.h"
