#pragma once
// The picture of the offer dialogs (icon 157): the window's small and big
// icons and a 48 x 48 copy drawn at (10, 10) of the client area. An icon that
// cannot be loaded leaves that use out. Owns the icons; they go with it,
// after the window that shows them. GUI thread only.
#include <windows.h>

class CTextLabel;

class OfferIcon {
public:
    OfferIcon();
    ~OfferIcon();
    OfferIcon(const OfferIcon&) = delete;
    OfferIcon& operator=(const OfferIcon&) = delete;

    // Loads the 16 x 16 and 32 x 32 forms and sets them as the window's
    // small and big icons.
    void SetWindowIcons(HWND hWnd);
    void Draw(HDC hDC) const;

private:
    HICON m_hIcon48;
    HICON m_hIconSmall = nullptr;
    HICON m_hIconBig = nullptr;
};

// Face "Arial" (character set 0) first, then the size, then bold.
void SetOfferLabelFont(CTextLabel& label, int size, bool bold);
