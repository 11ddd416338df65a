#pragma once
// The toolkit's frame window class: an MFC frame with command bars whose
// state it can save. Program frames derive from it.
#include "toolkit/QE765.h"

#include "afxwin.h"

class QE764 : public QE765<CFrameWnd> {
    DECLARE_DYNAMIC(QE764)
public:
    QE764();
    ~QE764() override;
};
