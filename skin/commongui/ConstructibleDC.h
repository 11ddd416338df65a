#pragma once
// A device context built either over a DC that belongs to somebody else
// (only let go at destruction) or as a new DC compatible with another one
// (deleted with this object).
#include <afxwin.h>

class CConstructibleDC : public CDC {
public:
    enum Construction {
        AttachExisting,    // draw on the given DC's handle; it stays alive
        CreateCompatible,  // a new DC compatible with the given one (the screen's for null)
    };

    CConstructibleDC(CDC* dc, Construction construction);
    ~CConstructibleDC() override;
    CConstructibleDC(const CConstructibleDC&) = delete;
    CConstructibleDC& operator=(const CConstructibleDC&) = delete;

    bool OwnsDC() const noexcept { return m_ownsDC; }

private:
    bool m_ownsDC;
};
