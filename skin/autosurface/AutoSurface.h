#pragma once
// A skinned dialog driven by one window of the skin's layout: its size
// limits, outline, element regions, anchors, pictures and windowless
// controls all come from that window.
//
// What a dialog deriving from FullAutoSurfaceT<CDialog> must do:
// - in OnInitDialog call CDialog::OnInitDialog, then SetResourceManager with
//   the application's resource manager, then LoadLayout with the shared
//   layout manager and the name of its layout window; a false result leaves
//   the template unskinned;
// - override GetAutoControl to hand out its member controls by the
//   element's type (the default makes none), returning the same control at
//   every call for one element;
// - override the host's OnClick (and the other events) to react to its
//   elements: the index is the element's id;
// - read its results from its own members after DoModal.
//
// GUI thread only; other threads reach the dialog through GetGUIContext().
#include "foundation/threads/GUIContext.h"
#include "foundation/time/GUIMultiTimer.h"
#include "skin/autocontrols/AutoControlContainer.h"
#include "skin/autocontrols/IAutoControlHost.h"
#include "skin/commongui/RegionHelpers.h"
#include "skin/layout/IWindow.h"
#include "skin/layout/Window.h"
#include "skin/renderer/LayoutRenderer.h"
#include "skin/renderer/RendererData.h"
#include "skin/resizing/LayoutWindowKeeper.h"
#include "skin/surface/Surface.h"

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <string>
#include <vector>

namespace AutoSurface {
// The private message that wakes a dialog's GUI context.
const UINT kGUIContextMessage = 0xD252;
// The window timer behind the animation timer, and its unit in ms.
const UINT kAnimationTimerId = 5493;
const int kAnimationTimerUnit = 1;
}  // namespace AutoSurface

template <class T>
class AutoSurfaceT : public SurfaceT<T>,
                     public LayoutRenderer::IRenderCallback,
                     public IAutoControlHost,
                     public LayoutWindowKeeper::ILayoutWindowKeeperHost {
public:
    typedef SurfaceT<T> Surface;
    typedef boost::shared_ptr<LayoutLib::IElement> ElementPtr;

    AutoSurfaceT(typename Surface::IHost* nextHost, UINT templateId, CWnd* parent)
        : Surface(&m_container, templateId, parent),
          m_keeper(this, this),
          m_container(nextHost, this, this) {
        m_renderContext.callback = this;
        m_renderContext.host = this;
        m_autoControls.reserve(256);
    }
    // The members go in reverse order: GUI context, animation timer, auto
    // controls, control container, layout keeper, render context and
    // renderer data, then the surface.
    ~AutoSurfaceT() override = default;

    bool SetResourceManager(const boost::shared_ptr<ResourceLib::IManager>& manager) {
        m_rendererData.resourceManager = manager;
        m_keeper.m_resourceManager = manager;
        return true;
    }

    // Binds the dialog to the layout window `name`; see the class comment.
    bool LoadLayout(const boost::shared_ptr<LayoutLib::IManager>& manager, const std::wstring& name, bool skinWindow,
                    bool automateElements) {
        GetAnimationTimer();
        if (this->m_hWnd)
            m_guiContext = ContextLib::CreateGUIContext(nullptr, this->m_hWnd, AutoSurface::kGUIContextMessage);
        m_rendererData.layoutManager = manager;
        m_renderContext.window = this->m_hWnd;
        m_keeper.SetOwnerWindow(this->m_hWnd);
        return m_keeper.ApplyLayout(manager, name, skinWindow, automateElements);
    }

    LayoutWindowKeeper& GetKeeper() noexcept { return m_keeper; }
    AutoControlContainer<T>& GetControlContainer() noexcept { return m_container; }

    // IAutoControlHost
    CommonGuiLib::AnchoredRegionSet& GetRegionSet() override { return m_keeper.GetRegionSet(); }
    const CommonGuiLib::AnchoredRegionSet& GetRegionSet() const override {
        return const_cast<LayoutWindowKeeper&>(m_keeper).GetRegionSet();
    }
    ElementState GetElementState(int index) override {
        ElementState state = _BaseState(index);
        const int active = this->GetActiveIndex();
        const boost::shared_ptr<LayoutLib::IWindow> window = m_keeper.m_layoutWindow;
        const bool complete = state.enabled && state.over && state.down;
        if (index != -1 && window && !complete && active != -1) {
            const ElementState activeState = _BaseState(active);
            if (const ElementPtr element = window->GetElementById(index)) {
                if (!(state.enabled && state.over) && element->IsOverTrigger(active) && activeState.enabled &&
                    activeState.over)
                    state.over = true;
                if (element->IsDownTrigger(active) && activeState.enabled && activeState.over && activeState.down) {
                    state.over = true;
                    state.down = true;
                }
            }
        }
        for (IWindowlessAutoControl* control : m_container.GetControls(index))
            control->UpdateState(state);
        // A control may disable the element after the press was counted.
        if (!state.enabled)
            state.down = false;
        return state;
    }
    RECT GetElementRect(int index) override {
        CommonGuiLib::AnchoredRegionSet::ItemInfo info;
        if (!GetRegionSet().GetItemInfo(index, info))
            return RECT{};
        if (info.box.right > info.box.left && info.box.bottom > info.box.top)
            return info.box;
        RECT box = {};
        if (!CommonGuiLib::IsNullGDIObject(info.region))
            ::GetRgnBox(info.region->GetHandle(), &box);
        return box;
    }
    RECT GetElementScreenRect(int index) override {
        RECT rect = GetElementRect(index);
        if (this->m_hWnd) {
            ::ClientToScreen(this->m_hWnd, reinterpret_cast<POINT*>(&rect.left));
            ::ClientToScreen(this->m_hWnd, reinterpret_cast<POINT*>(&rect.right));
        }
        return rect;
    }
    void InvalidateElement(IAutoControl*, int index) override {
        if (this->m_hWnd)
            LayoutRenderer::InvalidateElement(this->m_hWnd, *this, index);
    }
    boost::shared_ptr<LayoutLib::IWindow> GetLayoutWindow() override { return m_keeper.m_layoutWindow; }
    boost::shared_ptr<LayoutLib::IManager> GetLayoutManager() override { return m_keeper.m_layoutManager; }
    HWND GetElementWindow(const ElementPtr&) override { return nullptr; }
    IAutoControl* GetAutoControl(const ElementPtr& element) override {
        if (!element)
            return nullptr;
        for (IWindowlessAutoControl* control : m_container.GetControls(element->GetId())) {
            if (control->AcceptsElement(element))
                return control;
        }
        return nullptr;
    }
    void PrepareElementValues(const ElementPtr& element, LayoutLib::CustomValues& values) override {
        if (!element)
            return;
        for (IWindowlessAutoControl* control : m_container.GetControls(element->GetId()))
            control->FillPictureParameters(element, values);
    }
    // The element goes into the dialog's own copy of the layout window: the
    // manager's window is shared by every dialog and stays as read.
    bool AddElement(const ElementPtr& element) override {
        const boost::shared_ptr<LayoutLib::IWindow> window = m_keeper.m_layoutWindow;
        if (!element || !window || window->GetElementById(element->GetId()))
            return false;
        if (!m_ownWindow) {
            m_ownWindow = LayoutLib::CopyWindow(*window);
            m_keeper.m_layoutWindow = m_ownWindow;
        }
        m_ownWindow->AddElement(element);
        IAutoControl* control = element->IsAutomated() ? GetAutoControl(element) : nullptr;
        if (control) {
            LayoutLib::CustomValues values;
            PrepareElementValues(element, values);
            control->SetElement(element, values, &m_rendererData);
        }
        m_keeper.AddElementShape(element);
        if (control)
            control->OnLayoutApplied();
        return true;
    }
    bool UnregisterAutoControl(IAutoControl& control) override {
        if (!::UnregisterAutoControl(*this, m_container, control))
            return false;
        m_autoControls.erase(std::remove_if(m_autoControls.begin(), m_autoControls.end(),
                                            [&](const boost::shared_ptr<IAutoControl>& kept) {
                                                return kept.get() == &control;
                                            }),
                             m_autoControls.end());
        return true;
    }
    boost::shared_ptr<Time::GUIMultiTimer> GetAnimationTimer() override {
        if (!m_animationTimer && this->m_hWnd)
            m_animationTimer = boost::make_shared<Time::GUIMultiTimer>(
                this->m_hWnd, AutoSurface::kAnimationTimerId, AutoSurface::kAnimationTimerUnit);
        return m_animationTimer;
    }
    LayoutRenderer::RendererData& GetRendererData() override { return m_rendererData; }
    boost::shared_ptr<ContextLib::GUIContext> GetGUIContext() override { return m_guiContext; }

    // ILayoutWindowKeeperHost
    void OnElementRegionAdded(const ElementPtr& element) override {
        IAutoControl* control = GetAutoControl(element);
        IWindowlessAutoControl* windowless = control ? control->AsWindowless() : nullptr;
        if (!windowless)
            return;
        windowless->Initialize(this, this);
        m_container.Register(windowless);
    }

    // LayoutRenderer::IRenderCallback: only for the canvas of this
    // surface's paint.
    bool OnDrawDrawable(boost::shared_ptr<LayoutLib::IDrawable> drawable, LayoutRenderer::Canvas& canvas,
                        ElementPtr element, const RECT& rect) override {
        return _IsCurrent(canvas) && DrawDrawableHook(drawable, canvas, element, rect);
    }
    bool OnDrawSpecial(boost::shared_ptr<LayoutLib::IDrawable> drawable, LayoutRenderer::Canvas& canvas,
                       ElementPtr element, const RECT& rect) override {
        return _IsCurrent(canvas) && DrawSpecialHook(drawable, canvas, element, rect);
    }
    bool OnGetBitmap(boost::shared_ptr<LayoutLib::IDrawable> drawable, LayoutRenderer::Canvas& canvas,
                     ElementPtr element, CommonGuiLib::SharedBitmap& bitmap) override {
        return _IsCurrent(canvas) && GetBitmapHook(drawable, canvas, element, bitmap);
    }
    bool OnGetIcon(boost::shared_ptr<LayoutLib::IDrawable> drawable, LayoutRenderer::Canvas& canvas,
                   ElementPtr element, SIZE size, CommonGuiLib::SharedIcon& icon) override {
        return _IsCurrent(canvas) && GetIconHook(drawable, canvas, element, size, icon);
    }
    bool OnGetText(boost::shared_ptr<LayoutLib::IDrawable> drawable, LayoutRenderer::Canvas& canvas,
                   ElementPtr element, std::wstring& text) override {
        return _IsCurrent(canvas) && GetTextHook(drawable, canvas, element, text);
    }

    // The dialog's hooks: each answers false (the renderer draws the
    // element itself) unless a dialog draws it its own way.
    virtual bool DrawDrawableHook(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&, ElementPtr,
                                  const RECT&) {
        return false;
    }
    virtual bool DrawSpecialHook(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&, ElementPtr,
                                 const RECT&) {
        return false;
    }
    virtual bool GetBitmapHook(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&, ElementPtr,
                               CommonGuiLib::SharedBitmap&) {
        return false;
    }
    virtual bool GetIconHook(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&, ElementPtr, SIZE,
                             CommonGuiLib::SharedIcon&) {
        return false;
    }
    virtual bool GetTextHook(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&, ElementPtr,
                             std::wstring&) {
        return false;
    }
    // Shows or enables the child windows of the listed elements (all when
    // null) itself; false lets the renderer's rule apply.
    virtual bool UpdateControlsHook(const std::vector<int>*) { return false; }

    // Shows or enables the child windows of the windowed elements.
    void UpdateControls(const std::vector<int>* indices = nullptr) {
        if (!UpdateControlsHook(indices))
            LayoutRenderer::UpdateChildWindows(*this, indices);
    }

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (m_guiContext && m_guiContext->HandleMessage(message)) {
            if (result)
                *result = 0;
            return TRUE;
        }
        return Surface::OnWndMsg(message, wParam, lParam, result);
    }

    afx_msg void OnSize(UINT type, int cx, int cy) {
        Surface::OnSize(type, cx, cy);
        m_keeper.OnOwnerSized();
        for (IWindowlessAutoControl* control : m_container.GetControls())
            control->OnSurfaceSized();
    }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info) {
        if (!info || !m_keeper.GetMinMaxInfo(*info))
            T::OnGetMinMaxInfo(info);
    }
    afx_msg void OnTimer(UINT_PTR id) {
        if (m_animationTimer && m_animationTimer->OnTimer(id))
            return;
        T::OnTimer(id);
    }

    DECLARE_MESSAGE_MAP()

    // Keeps created auto controls alive as long as the dialog.
    std::vector<boost::shared_ptr<IAutoControl>>& GetAutoControls() noexcept { return m_autoControls; }

    LayoutRenderer::RenderContext& GetRenderContext() noexcept { return m_renderContext; }

private:
    // Index, box and region from the region set; over and down from the mouse.
    ElementState _BaseState(int index) {
        ElementState state;
        state.index = index;
        CommonGuiLib::AnchoredRegionSet::ItemInfo info;
        if (GetRegionSet().GetItemInfo(index, info)) {
            state.box = info.box;
            state.region = info.region;
        }
        state.over = index != -1 && this->GetActiveIndex() == index;
        state.down = state.enabled && state.over && this->IsLeftButtonDown();
        return state;
    }
    bool _IsCurrent(const LayoutRenderer::Canvas& canvas) const { return m_renderContext.canvas == &canvas; }

    LayoutRenderer::RendererData m_rendererData;
    LayoutRenderer::RenderContext m_renderContext;
    LayoutWindowKeeper m_keeper;
    AutoControlContainer<T> m_container;
    std::vector<boost::shared_ptr<IAutoControl>> m_autoControls;
    boost::shared_ptr<Time::GUIMultiTimer> m_animationTimer;
    boost::shared_ptr<ContextLib::GUIContext> m_guiContext;
    // The dialog's own copy of the layout window, made when an element is
    // added at run time.
    boost::shared_ptr<LayoutLib::IMutableWindow> m_ownWindow;
};

BEGIN_TEMPLATE_MESSAGE_MAP(AutoSurfaceT, T, SurfaceT<T>)
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_TIMER()
END_MESSAGE_MAP()

// The base of every skinned dialog: the layout-driven surface with its own
// surface host behind the control container.
template <class T>
class FullAutoSurfaceT : public AutoSurfaceT<T>, public SurfaceT<T>::IHost {
public:
    typedef SurfaceT<T> Surface;

    FullAutoSurfaceT(UINT templateId, CWnd* parent) : AutoSurfaceT<T>(this, templateId, parent) {}

    void Paint(Surface& surface, typename Surface::Canvas& canvas, const RECT& clientRect) override {
        // A copy: the renderer may clip with it while the surface reuses its own.
        const CommonGuiLib::SharedRegion update =
            CommonGuiLib::OffsetRegionCopy(this->GetUpdateRegion(), 0, 0);
        LayoutRenderer::Paint(this->GetRenderContext(), canvas, CommonGuiLib::GetHandle(update), clientRect);
    }
    int HitTest(Surface&, POINT point) override {
        std::vector<int> skipped;
        for (;;) {
            const int index = this->GetRegionSet().HitTest(point, &skipped);
            if (index == -1 || this->GetElementState(index).visible)
                return index;
            // Invisible elements let the click through to the one below.
            skipped.push_back(index);
        }
    }
    HCURSOR GetCursor(Surface&, int index) override {
        const boost::shared_ptr<LayoutLib::IWindow> window = this->GetLayoutWindow();
        const boost::shared_ptr<LayoutLib::IElement> element = window ? window->GetElementById(index) : nullptr;
        const boost::shared_ptr<LayoutLib::IVisualInfo> visual = element ? element->GetVisual() : nullptr;
        if (!visual || visual->GetType() != L"Rollover")
            return nullptr;
        boost::shared_ptr<LayoutLib::IVisualState> state =
            visual->FindState(this->GetStatePictureName(this->GetElementState(index)));
        if (!state)
            state = visual->FindState(StatePictureNames::kOut);
        if (!state || state->GetCursor() != LayoutLib::CursorHand)
            return nullptr;
        if (!m_handCursor)
            m_handCursor = ::LoadCursor(nullptr, IDC_HAND);
        return m_handCursor;
    }
    CommonGuiLib::SharedRegion GetElementRegion(Surface&, int index) override {
        return this->GetRegionSet().GetRegion(index);
    }

private:
    HCURSOR m_handCursor = nullptr;
};

extern template class AutoSurfaceT<CDialog>;
extern template class FullAutoSurfaceT<CDialog>;
