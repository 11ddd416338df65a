// The windowless check box: its states, the picture it chooses, its clicks
// and its painting through the control container.
#include "skin/autocontrols/WLCheckBox.h"

#include "skin/autocontrols/AutoControlContainer.h"
#include "skin/tests/RenderFixture.h"
#include "skin/tests/SkinTestResources.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace SkinTesting;
using Testing::Rgb;

typedef SurfaceT<CDialog> Surface;

std::wstring CheckBoxElement(const std::wstring& visualData, const std::wstring& stateNames) {
    std::wstring states;
    for (size_t start = 0; start < stateNames.size();) {
        size_t end = stateNames.find(L',', start);
        if (end == std::wstring::npos)
            end = stateNames.size();
        const std::wstring name = stateNames.substr(start, end - start);
        states += State(name, name.find(L"unchecked") == 0 ? L"red" : name.find(L"checked") == 0 ? L"green" : L"blue");
        start = end + 1;
    }
    return L"<Element name=\"box\" id=\"1\" position=\"0,0,1,1\"><Visual type=\"check\"><Custom data=\"" + visualData +
           L"\"/><States>" + states + L"</States></Visual></Element>";
}

class CountingListener : public WLCheckBox::IListener {
public:
    void OnCheckChanged(WLCheckBox& box) override { states.push_back(box.GetState()); }
    bool OnUpdateState(WLCheckBox&, ElementState& state) override {
        state.enabled = false;
        return true;
    }
    std::vector<int> states;
};

struct CheckBoxFixture {
    RenderFixture f;
    Surface surface{nullptr, IDD_SURFACE_TEST, nullptr};
    WLCheckBox box;

    CheckBoxFixture(const std::wstring& visualData, const std::wstring& stateNames,
                    WLCheckBox::IListener* listener = nullptr, int initial = WLCheckBox::Undefined)
        : box(listener, initial) {
        f.Open("", CheckBoxElement(visualData, stateNames),
               FillPicture(L"red", 20, 10, L"#FF0000") + FillPicture(L"green", 20, 10, L"#00FF00") +
                   FillPicture(L"blue", 20, 10, L"#0000FF"));
        f.host.AddBox(1, {0, 0, 20, 10});
        box.Initialize(&surface, &f.host);
        box.SetElement(f.host.window->GetElementById(1), LayoutLib::CustomValues(), &f.host.data);
    }
};

TEST(WLCheckBox, InitialStateIsReadExactly) {
    const struct {
        const wchar_t* data;
        int state;
    } cases[] = {{L"initialState=checked", WLCheckBox::Checked},
                 {L"initialState=undefined", WLCheckBox::Undefined},
                 {L"initialState=Checked", WLCheckBox::Unchecked},
                 {L"other=1", WLCheckBox::Unchecked}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.data));
        CheckBoxFixture f(c.data, L"out");
        EXPECT_EQ(c.state, f.box.GetState());
        EXPECT_EQ(c.state == WLCheckBox::Checked, f.box.IsChecked());
    }
    WLCheckBox plain(nullptr, WLCheckBox::Undefined);
    plain.SetElement(ReadElement(L"<Element name=\"e\" id=\"4\" position=\"0,0,1,1\"/>"), {}, nullptr);
    EXPECT_EQ(WLCheckBox::Undefined, plain.GetState()) << "no visual: the state stays";
    EXPECT_EQ(4, plain.GetIndex());
}

TEST(WLCheckBox, PictureSearch) {
    const struct {
        const char* name;
        const wchar_t* states;
        const wchar_t* initial;
        ElementState flags;
        const wchar_t* chosen;  // empty: none
    } cases[] = {
        {"checked and hovered, no checked_over", L"checked_out,unchecked_out", L"initialState=checked",
         [] { ElementState s; s.over = true; return s; }(), L"checked_out"},
        {"disabled with its own state", L"unchecked_disabled,default", L"",
         [] { ElementState s; s.enabled = false; return s; }(), L"unchecked_disabled"},
        {"disabled, unchecked_out", L"unchecked_out,out,default", L"",
         [] { ElementState s; s.enabled = false; return s; }(), L"unchecked_out"},
        {"disabled, out", L"out,default", L"", [] { ElementState s; s.enabled = false; return s; }(), L"out"},
        {"disabled, default", L"default", L"", [] { ElementState s; s.enabled = false; return s; }(), L"default"},
        {"undefined falls to unchecked + mouse", L"unchecked_down,undefined_out", L"initialState=undefined",
         [] { ElementState s; s.over = true; s.down = true; return s; }(), L"unchecked_down"},
        {"nothing found", L"other", L"", ElementState(), L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CheckBoxFixture f(c.initial, c.states);
        f.f.host.states[1] = c.flags;
        const auto chosen = f.box.ChooseStatePicture();
        EXPECT_EQ(std::wstring(c.chosen), chosen ? chosen->GetName() : std::wstring());
    }
}

TEST(WLCheckBox, UninitializedOperationsThrow) {
    WLCheckBox box(nullptr, WLCheckBox::Unchecked);
    for (auto call : std::vector<std::function<void()>>{[&] { box.IsVisible(); }, [&] { box.IsEnabled(); },
                                                         [&] { box.Invalidate(); }, [&] { box.OnClick(1); },
                                                         [&] { box.SetRect(0, 0, 1, 1); }}) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ("The auto control hasn't been initialized", error.what());
        }
    }
    SkinTesting::FakeControlHost host;
    Surface surface(nullptr, IDD_SURFACE_TEST, nullptr);
    EXPECT_FALSE(box.Initialize(nullptr, &host));
    EXPECT_TRUE(box.Initialize(&surface, &host));
    EXPECT_THROW(box.IsVisible(), std::runtime_error) << "still no index";
}

TEST(WLCheckBox, ClicksToggleOnlyTheirOwnEnabledVisibleBox) {
    CountingListener listener;
    CheckBoxFixture f(L"initialState=undefined", L"out", &listener);
    f.box.OnClick(2);
    EXPECT_EQ(WLCheckBox::Undefined, f.box.GetState()) << "another index";
    f.f.host.states[1].enabled = false;
    f.box.OnClick(1);
    EXPECT_EQ(WLCheckBox::Undefined, f.box.GetState()) << "disabled";
    f.f.host.states[1].enabled = true;
    f.f.host.states[1].visible = false;
    f.box.OnClick(1);
    EXPECT_EQ(WLCheckBox::Undefined, f.box.GetState()) << "invisible";
    f.f.host.states[1].visible = true;
    EXPECT_TRUE(listener.states.empty());

    f.box.OnClick(1);
    EXPECT_EQ(WLCheckBox::Checked, f.box.GetState()) << "undefined becomes checked";
    EXPECT_EQ(std::vector<int>{WLCheckBox::Checked}, listener.states) << "told once";
    ASSERT_EQ(1u, f.f.host.invalidated.size());
    EXPECT_EQ(1, f.f.host.invalidated[0].second);
    f.box.OnClick(1);
    EXPECT_EQ(WLCheckBox::Unchecked, f.box.GetState());
}

TEST(WLCheckBox, UpdateStateAsksTheListenerForItsOwnIndex) {
    CountingListener listener;
    CheckBoxFixture f(L"", L"out", &listener);
    ElementState other;
    other.index = 2;
    EXPECT_FALSE(f.box.UpdateState(other));
    EXPECT_TRUE(other.enabled);
    ElementState own;
    own.index = 1;
    EXPECT_TRUE(f.box.UpdateState(own));
    EXPECT_FALSE(own.enabled) << "the listener adjusted it";
}

TEST(WLCheckBox, PaintedThroughTheContainerShowsTheCheckedPictureAfterAClick) {
    CheckBoxFixture f(L"initialState=unchecked", L"checked_out,unchecked_out");
    AutoControlContainer<CDialog> container(nullptr, &f.surface, &f.f.host);
    container.Register(&f.box);
    const auto paint = [&] {
        DibCanvas canvas(30, 10);
        CDC dc;
        dc.Attach(canvas.Dc());
        {
            RECT client = {0, 0, 30, 10};
            Surface::Canvas buffer(&dc, &client);
            container.Paint(f.surface, buffer, client);
        }
        dc.Detach();
        return canvas.Pixel(5, 5);
    };
    EXPECT_EQ(Rgb{RGB(255, 0, 0)}, Rgb{paint()});
    container.OnClick(f.surface, 1);
    EXPECT_EQ(Rgb{RGB(0, 255, 0)}, Rgb{paint()});
}

}  // namespace
