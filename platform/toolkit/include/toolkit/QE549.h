#pragma once
// The toolkit's frame base over an MFC frame class: it hosts the command
// bars. The bars are child windows that take their strip of the client
// area when the frame lays itself out (WM_SIZEPARENT of RecalcLayout), get
// the frame's idle-time command updates, and see the frame's messages in
// its pre-translation (for their tooltips).
#include "toolkit/CommandBars.h"

#include <memory>

template <class TBase>
class QE549 : public TBase, public Toolkit::ICommandBarsSite {
public:
    QE549() = default;
    ~QE549() override = default;

    // Sets up the command bars once the frame's window exists (from
    // OnCreate); FALSE without a window. A second call keeps the bars.
    BOOL InitCommandBars() {
        if (!this->m_hWnd)
            return FALSE;
        if (!m_pCommandBars)
            m_pCommandBars = std::make_unique<Toolkit::CommandBars>(this);
        return TRUE;
    }
    // Null until InitCommandBars.
    Toolkit::CommandBars* GetCommandBars() const { return m_pCommandBars.get(); }

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (m_pCommandBars && m_pCommandBars->PreTranslateMessage(pMsg))
            return TRUE;
        return TBase::PreTranslateMessage(pMsg);
    }

    CWnd* GetSiteWindow() override { return this; }
    void RecalcSiteLayout() override { this->RecalcLayout(); }

private:
    std::unique_ptr<Toolkit::CommandBars> m_pCommandBars;
};
