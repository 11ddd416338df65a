// The control container: events reach the controls of an element first and
// the next host last; paint order, cursors, registration and unregistering.
#include "skin/autocontrols/AutoControlContainer.h"

#include "graphics/tests/DibCanvas.h"
#include "skin/tests/FakeControlHost.h"
#include "skin/tests/SkinTestResources.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using SkinTesting::FakeControlHost;
typedef SurfaceT<CDialog> Surface;

class RecordingControl : public IWindowlessAutoControl {
public:
    RecordingControl(std::string name, std::set<int> indices, std::vector<std::string>& log)
        : m_name(std::move(name)), m_indices(std::move(indices)), m_log(log) {}

    int GetIndex() const override { return m_indices.empty() ? -1 : *m_indices.begin(); }
    bool IsMyIndex(int index) const override { return m_indices.count(index) != 0; }
    void Paint(CDC&, const RECT&) override { Log("paint"); }
    HCURSOR GetCursor(int index) override {
        Log("cursor", index);
        return cursor;
    }
    void OnLButtonDown(int index) override { Log("down", index); }
    void OnClick(int index) override { Log("click", index); }
    void OnLButtonDblClk(int index) override { Log("dblclk", index); }
    void OnRButtonUp(int index) override { Log("rup", index); }
    void OnHoverChanged(int index) override { Log("hover", index); }
    void OnDrag(int pressed, int hover) override { Log("drag", pressed, hover); }
    void OnDragEnd(int pressed, int hover) override { Log("dragend", pressed, hover); }
    void OnMouseMove(int index) override { Log("move", index); }
    bool WantsEveryIndex() const override { return everyIndex; }
    void OnUnregistered() override { Log("unregistered"); }

    HCURSOR cursor = nullptr;
    bool everyIndex = false;

private:
    void Log(const char* what, int a = -100, int b = -100) {
        std::string entry = m_name + "." + what;
        if (a != -100)
            entry += "(" + std::to_string(a) + (b != -100 ? "," + std::to_string(b) : "") + ")";
        m_log.push_back(entry);
    }
    std::string m_name;
    std::set<int> m_indices;
    std::vector<std::string>& m_log;
};

class RecordingNextHost : public Surface::IHost {
public:
    RecordingNextHost(FakeControlHost& controlHost, std::vector<std::string>& log) : m_host(controlHost), m_log(log) {}
    void Paint(Surface&, Surface::Canvas&, const RECT&) override { m_log.push_back("next.paint"); }
    int HitTest(Surface&, POINT point) override { return m_host.regions.HitTest(point); }
    HCURSOR GetCursor(Surface&, int index) override {
        m_log.push_back("next.cursor(" + std::to_string(index) + ")");
        return nullptr;
    }
    void OnClick(Surface&, int index) override { m_log.push_back("next.click(" + std::to_string(index) + ")"); }
    void OnDrag(Surface&, int pressed, int hover) override {
        m_log.push_back("next.drag(" + std::to_string(pressed) + "," + std::to_string(hover) + ")");
    }
    void OnMouseMove(Surface&, int index) override { m_log.push_back("next.move(" + std::to_string(index) + ")"); }

private:
    FakeControlHost& m_host;
    std::vector<std::string>& m_log;
};

std::string Join(std::vector<std::string>& log) {
    std::string text;
    for (const std::string& entry : log)
        text += (text.empty() ? "" : " ") + entry;
    log.clear();
    return text;
}

struct ContainerFixture {
    std::vector<std::string> log;
    FakeControlHost host;
    Surface surface{nullptr, IDD_SURFACE_TEST, nullptr};
    RecordingNextHost next{host, log};
    RecordingControl a{"a", {1, 2}, log};
    RecordingControl b{"b", {2}, log};
    AutoControlContainer<CDialog> container{&next, &surface, &host};

    ContainerFixture() {
        host.AddBox(1, {0, 0, 10, 10});
        host.AddBox(2, {10, 0, 20, 10});
        container.Register(&a);
        container.Register(&b);
    }
};

TEST(AutoControlContainer, EventsReachTheControlsOfTheIndexThenTheNextHost) {
    ContainerFixture f;
    f.container.OnClick(f.surface, -1);
    EXPECT_EQ("next.click(-1)", Join(f.log));
    f.container.OnClick(f.surface, 300);
    EXPECT_EQ("next.click(300)", Join(f.log));
    f.container.OnClick(f.surface, 2);
    EXPECT_EQ("a.click(2) b.click(2) next.click(2)", Join(f.log));
    f.container.OnMouseMove(f.surface, 1);
    EXPECT_EQ("a.move(1) next.move(1)", Join(f.log));
    f.container.OnLButtonDown(f.surface, 2);
    f.container.OnLButtonDblClk(f.surface, 1);
    f.container.OnRButtonUp(f.surface, 1);
    f.container.OnHoverChanged(f.surface, 1);
    EXPECT_EQ("a.down(2) b.down(2) a.dblclk(1) a.rup(1) a.hover(1)", Join(f.log));
}

TEST(AutoControlContainer, DragsGoToThePressedThenTheHoveredElement) {
    ContainerFixture f;
    f.container.OnDrag(f.surface, 2, 2);
    EXPECT_EQ("a.drag(2,2) b.drag(2,2) next.drag(2,2)", Join(f.log)) << "one element: told once";
    f.container.OnDrag(f.surface, 1, 2);
    EXPECT_EQ("a.drag(1,2) a.drag(1,2) b.drag(1,2) next.drag(1,2)", Join(f.log));
    f.container.OnDragEnd(f.surface, 2, -1);
    EXPECT_EQ("a.dragend(2,-1) b.dragend(2,-1)", Join(f.log));
}

TEST(AutoControlContainer, FirstCursorWinsAndPaintFollowsRegistration) {
    ContainerFixture f;
    EXPECT_EQ(nullptr, f.container.GetCursor(f.surface, 2));
    EXPECT_EQ("a.cursor(2) b.cursor(2) next.cursor(2)", Join(f.log));
    f.a.cursor = ::LoadCursor(nullptr, IDC_HAND);
    f.b.cursor = ::LoadCursor(nullptr, IDC_IBEAM);
    EXPECT_EQ(f.a.cursor, f.container.GetCursor(f.surface, 2));
    EXPECT_EQ("a.cursor(2)", Join(f.log));

    Testing::DibCanvas dib(20, 10);
    CDC dc;
    dc.Attach(dib.Dc());
    {
        RECT client = {0, 0, 20, 10};
        Surface::Canvas canvas(&dc, &client);
        f.container.Paint(f.surface, canvas, client);
    }
    dc.Detach();
    EXPECT_EQ("next.paint a.paint b.paint", Join(f.log));
}

TEST(AutoControlContainer, RegistrationSizesOnlyGrow) {
    ContainerFixture f;
    EXPECT_EQ(3, f.container.GetIndexCount()) << "the region count";
    RecordingControl every("every", {200}, f.log);
    every.everyIndex = true;
    f.container.Register(&every);
    EXPECT_EQ(256, f.container.GetIndexCount());
    f.container.Rebuild();
    EXPECT_EQ(256, f.container.GetIndexCount());
    f.container.OnClick(f.surface, 200);
    EXPECT_EQ("every.click(200) next.click(200)", Join(f.log));

    RecordingControl late("late", {5}, f.log);
    AutoControlContainer<CDialog> small(nullptr, &f.surface, &f.host);
    small.Register(&late);
    EXPECT_EQ(3, small.GetIndexCount());
    small.OnClick(f.surface, 5);
    EXPECT_EQ("", Join(f.log)) << "an index past the regions is not entered";
    f.host.AddBox(5, {30, 0, 40, 10});
    small.Rebuild();
    small.OnClick(f.surface, 5);
    EXPECT_EQ("late.click(5)", Join(f.log));
    AutoControlContainer<CDialog> noHost(nullptr, &f.surface, nullptr);
    noHost.Register(&late);
    EXPECT_EQ(256, noHost.GetIndexCount()) << "without a region set";
}

TEST(AutoControlContainer, AnUnregisteredControlLosesItsElement) {
    ContainerFixture f;
    EXPECT_EQ(1, f.container.HitTest(f.surface, POINT{5, 5}));
    RecordingControl stranger("stranger", {1}, f.log);
    EXPECT_FALSE(UnregisterAutoControl(f.host, f.container, stranger));
    EXPECT_EQ("", Join(f.log));

    EXPECT_TRUE(UnregisterAutoControl(f.host, f.container, f.a));
    EXPECT_EQ("a.unregistered", Join(f.log));
    EXPECT_EQ(-1, f.container.HitTest(f.surface, POINT{5, 5}));
    f.container.OnClick(f.surface, 1);
    f.container.OnClick(f.surface, 2);
    EXPECT_EQ("next.click(1) b.click(2) next.click(2)", Join(f.log));
}

}  // namespace
