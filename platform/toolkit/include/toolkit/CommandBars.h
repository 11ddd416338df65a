#pragma once
// The command bars of a frame: its toolbars, where they are docked, and
// what the frame passes on to them (message pre-translation, idle-time
// command updates, layout). The frame owns this object; it owns the bars.
// Thread: the frame's GUI thread.
#include "toolkit/ToolBar.h"

#include <memory>
#include <vector>

namespace Toolkit {

// Dock position codes.
enum BarPosition {
    PositionLeft = 0,
    PositionRight = 1,
    PositionTop = 2,
    PositionBottom = 3,
};

// What the command bars need of their frame.
class ICommandBarsSite {
public:
    virtual ~ICommandBarsSite() = default;
    // The frame window: parent of the bars and receiver of their commands.
    virtual CWnd* GetSiteWindow() = 0;
    // Lays the frame out again (the bars take their strips first).
    virtual void RecalcSiteLayout() = 0;
};

class CommandBars {
public:
    explicit CommandBars(ICommandBarsSite* site);
    ~CommandBars();
    CommandBars(const CommandBars&) = delete;
    CommandBars& operator=(const CommandBars&) = delete;

    CWnd* GetSite() const { return m_site->GetSiteWindow(); }

    // Settings: customization by the user (none is offered either way), and
    // the expand buttons of bars added later.
    void EnableCustomization(BOOL enable) { m_customization = enable; }
    BOOL IsCustomizationEnabled() const { return m_customization; }
    void ShowExpandButtons(BOOL show) { m_expandButtons = show; }

    // A new toolbar window, docked at the position; null when the window
    // cannot be made or the position is not one the bars can take (only
    // the top is). Names need not be unique; Find gives the first.
    ToolBar* Add(LPCWSTR name, int position);
    BOOL DockToolBar(ToolBar* bar, int position);
    ToolBar* Find(LPCWSTR name) const;
    int GetCount() const { return static_cast<int>(m_bars.size()); }
    ToolBar* GetAt(int index) const;

    // Has the frame laid out again: each docked bar takes its strip when
    // the frame asks its children (WM_SIZEPARENT, as RepositionBars does).
    void RecalcLayout();

    // Lets the bars see the frame's messages first (tooltips); never eats one.
    BOOL PreTranslateMessage(MSG* pMsg);
    void UpdateCommandUI(BOOL bDisableIfNoHandler);

    // Writes each bar's name, position, visibility and hidden controls
    // under the profile section of that name (one sub-section per bar).
    // FALSE without an application profile.
    BOOL SaveState(LPCWSTR profileName) const;

private:
    ICommandBarsSite* m_site;
    BOOL m_customization = TRUE;
    BOOL m_expandButtons = TRUE;
    std::vector<std::unique_ptr<ToolBar>> m_bars;
};

}  // namespace Toolkit
