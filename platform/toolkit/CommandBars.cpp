#include "toolkit/CommandBars.h"

namespace Toolkit {

CommandBars::CommandBars(ICommandBarsSite* site) : m_site(site) {}

CommandBars::~CommandBars() {
    for (auto& bar : m_bars) {
        if (bar->m_hWnd)
            bar->DestroyWindow();
    }
}

ToolBar* CommandBars::Add(LPCWSTR name, int position) {
    if (position != PositionTop)
        return nullptr;
    auto bar = std::make_unique<ToolBar>(this, name);
    bar->ShowExpandButton(m_expandButtons);
    if (!bar->Create(GetSite()))
        return nullptr;
    m_bars.push_back(std::move(bar));
    ToolBar* added = m_bars.back().get();
    DockToolBar(added, position);
    return added;
}

BOOL CommandBars::DockToolBar(ToolBar* bar, int position) {
    if (!bar || position != PositionTop)
        return FALSE;
    bar->SetPosition(position);
    bar->SetKind(BarToolbar);
    if (bar->m_hWnd)
        bar->ShowWindow(SW_SHOWNA);
    RecalcLayout();
    return TRUE;
}

ToolBar* CommandBars::Find(LPCWSTR name) const {
    for (const auto& bar : m_bars) {
        if (bar->GetName() == (name ? name : L""))
            return bar.get();
    }
    return nullptr;
}

ToolBar* CommandBars::GetAt(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_bars[static_cast<size_t>(index)].get();
}

void CommandBars::RecalcLayout() {
    CWnd* site = GetSite();
    if (site && site->m_hWnd)
        m_site->RecalcSiteLayout();
}

BOOL CommandBars::PreTranslateMessage(MSG* pMsg) {
    for (const auto& bar : m_bars)
        bar->RelayToolTip(pMsg);
    return FALSE;
}

void CommandBars::UpdateCommandUI(BOOL bDisableIfNoHandler) {
    for (const auto& bar : m_bars) {
        if (bar->m_hWnd && (bar->GetStyle() & WS_VISIBLE))
            bar->UpdateCommandUI(GetSite(), bDisableIfNoHandler);
    }
}

BOOL CommandBars::SaveState(LPCWSTR profileName) const {
    CWinApp* app = AfxGetApp();
    if (!app || !profileName || !*profileName)
        return FALSE;
    // Sub-sections of bars no longer present go first.
    app->WriteProfileString(profileName, nullptr, nullptr);
    BOOL written = app->WriteProfileInt(profileName, L"BarCount", GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        const ToolBar& bar = *m_bars[static_cast<size_t>(i)];
        CString section;
        section.Format(L"%s\\Bar%d", profileName, i);
        CString hidden;
        for (int c = 0; c < bar.GetControlCount(); ++c) {
            const Control& control = *bar.GetControl(c);
            if (control.IsVisible() || control.GetKind() == ControlSeparator)
                continue;
            CString id;
            id.Format(hidden.IsEmpty() ? L"%u" : L",%u", control.GetId());
            hidden += id;
        }
        written = written && app->WriteProfileString(section, L"Name", bar.GetName());
        written = written && app->WriteProfileInt(section, L"Position", bar.GetPosition());
        written = written && app->WriteProfileInt(section, L"Visible", bar.m_hWnd && (bar.GetStyle() & WS_VISIBLE) ? 1 : 0);
        written = written && app->WriteProfileInt(section, L"ControlCount", bar.GetControlCount());
        written = written && app->WriteProfileString(section, L"HiddenControls", hidden);
    }
    return written;
}

}  // namespace Toolkit
