#include "shell/dialogs/OfferIcon.h"

#include "controls/label/TextLabel.h"
#include "shell/program/BrunlowResources.h"

#include <afxres_find.h>

namespace {

HICON LoadOfferIcon(int size) {
    const LPCWSTR name = MAKEINTRESOURCEW(IDI_OFFER);
    const HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCWSTR>(RT_GROUP_ICON));
    return static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void Destroy(HICON& hIcon) {
    if (hIcon)
        ::DestroyIcon(hIcon);
    hIcon = nullptr;
}

}  // namespace

OfferIcon::OfferIcon() : m_hIcon48(LoadOfferIcon(48)) {}

OfferIcon::~OfferIcon() {
    Destroy(m_hIcon48);
    Destroy(m_hIconSmall);
    Destroy(m_hIconBig);
}

void OfferIcon::SetWindowIcons(HWND hWnd) {
    Destroy(m_hIconSmall);
    Destroy(m_hIconBig);
    m_hIconSmall = LoadOfferIcon(16);
    if (m_hIconSmall)
        ::SendMessageW(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall));
    m_hIconBig = LoadOfferIcon(32);
    if (m_hIconBig)
        ::SendMessageW(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconBig));
}

void OfferIcon::Draw(HDC hDC) const {
    if (m_hIcon48)
        ::DrawIconEx(hDC, 10, 10, m_hIcon48, 48, 48, 0, nullptr, DI_NORMAL);
}

void SetOfferLabelFont(CTextLabel& label, int size, bool bold) {
    label.SetFontName(L"Arial", 0);
    label.SetFontSize(size);
    if (bold)
        label.SetFontBold(TRUE);
}
