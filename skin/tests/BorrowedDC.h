#pragma once
// An MFC CDC over a test's own device context, handed back (not deleted)
// when it goes.
#include <afxwin.h>

namespace SkinTesting {

class BorrowedDC : public CDC {
public:
    explicit BorrowedDC(HDC dc, bool printing = false) {
        m_hDC = dc;
        m_hAttribDC = dc;
        m_bPrinting = printing;
    }
    ~BorrowedDC() override { Detach(); }
    BorrowedDC(const BorrowedDC&) = delete;
    BorrowedDC& operator=(const BorrowedDC&) = delete;
};

}  // namespace SkinTesting
