#include "downloads/view/OpenVideoTrayAction.h"

#include "downloads/view/BrunlowView.h"
#include "foundation/errors/GuiHandlerGuard.h"

OpenVideoTrayAction::OpenVideoTrayAction(CBrunlowView* pView, const std::wstring& name)
    : m_hView(pView ? pView->GetSafeHwnd() : nullptr), m_name(name) {}

void OpenVideoTrayAction::PerformAction(DWORD /*tag*/) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("OpenVideoTrayAction::PerformAction"), [&] {
        if (!m_hView || !::IsWindow(m_hView))
            return;
        CBrunlowView* pView = dynamic_cast<CBrunlowView*>(CWnd::FromHandlePermanent(m_hView));
        if (!pView)
            return;
        const int index = pView->FindItemByTempDownloadName(m_name);
        if (index >= 0)
            pView->OpenItem(index, true, true);
    });
}
