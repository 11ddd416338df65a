#include "skin/resizing/LayoutWindowKeeper.h"

#include "resources/resourcelib/IManager.h"
#include "skin/layout/IWindow.h"
#include "skin/layout/Manager.h"

LayoutWindowKeeper::LayoutWindowKeeper(ILayoutWindowKeeperHost* host, IAutoControlHost* controlHost)
    : m_host(host), m_controlHost(controlHost) {}

LayoutWindowKeeper::~LayoutWindowKeeper() = default;

CWnd* LayoutWindowKeeper::GetLayoutOwner() { return m_owner ? CWnd::FromHandle(m_owner) : nullptr; }

RECT LayoutWindowKeeper::GetLayoutRect() {
    RECT rect = m_host ? m_host->GetLayoutRect() : RECT{};
    if (::IsRectEmpty(&rect)) {
        rect = RECT{};
        if (m_owner)
            ::GetClientRect(m_owner, &rect);
    }
    return rect;
}
