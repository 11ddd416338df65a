#include "skin/layout/Element.h"
#include "skin/layout/VisualInfoT.h"
#include "skin/layout/Window.h"

#include "LayoutText.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using namespace LayoutLib;
using SkinTesting::ExceptionText;

boost::shared_ptr<Window> MakeWindow() {
    return boost::shared_ptr<Window>(new Window(L"w", 1, L"dialog"));
}

boost::shared_ptr<Element> MakeElement(const std::wstring& name, int id) {
    return boost::shared_ptr<Element>(new Element(name, id, L"button"));
}

std::wstring NamesOf(const IWindow& window) {
    ElementList elements;
    window.GetElements(elements);
    std::wstring names;
    for (const auto& element : elements)
        names += element->GetName() + L";";
    return names;
}

TEST(LayoutModel, GetSizeFallsBackBetweenPreferredAndReferenceOnly) {
    const auto window = MakeWindow();
    window->SetSize(SizePreferred, SIZE{0, 0});
    window->SetSize(SizeReference, SIZE{300, 200});
    window->SetSize(SizeMax, SIZE{-5, 100});

    const struct {
        int type;
        LONG cx, cy;
    } cases[] = {
        {SizePreferred, 300, 200},  // not positive: the Reference size
        {SizeReference, 300, 200},
        {SizeMin, 0, 0},            // missing: no fallback, an entry is left
        {SizeMax, -5, 100},         // not positive, but only 0 and 1 fall back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        const SIZE size = window->GetSize(c.type);
        EXPECT_EQ(c.cx, size.cx);
        EXPECT_EQ(c.cy, size.cy);
    }

    // Reference falls back to Preferred the other way round, inserting it.
    const auto other = MakeWindow();
    other->SetSize(SizePreferred, SIZE{40, 30});
    EXPECT_EQ(40, other->GetSize(SizeReference).cx);
    const auto empty = MakeWindow();
    EXPECT_EQ(0, empty->GetSize(SizeReference).cx);
    EXPECT_EQ(0, empty->GetSize(SizePreferred).cy);
}

TEST(LayoutModel, AddElementKeepsTheFirstOfAnIdOrName) {
    const auto window = MakeWindow();
    const auto first = MakeElement(L"ok", 1);
    window->AddElement(first);
    window->AddElement(MakeElement(L"ok", 2));      // name taken
    window->AddElement(MakeElement(L"other", 1));   // id taken
    const auto noId = MakeElement(L"free", -1);
    window->AddElement(noId);
    window->AddElement(boost::shared_ptr<IElement>());

    EXPECT_EQ(L"ok;free;", NamesOf(*window));
    EXPECT_EQ(first, window->GetElementByName(L"ok"));
    EXPECT_EQ(first, window->GetElementById(1));
    EXPECT_EQ(noId, window->GetElementByName(L"free"));
    EXPECT_FALSE(window->GetElementById(-1));  // added, but never found by id
    EXPECT_FALSE(window->GetElementById(2));
    EXPECT_FALSE(window->GetElementByName(L""));
    EXPECT_FALSE(window->GetElementByName(L"OK"));
}

TEST(LayoutModel, RemoveElementTakesOnlyItsOwnEntries) {
    const auto window = MakeWindow();
    const auto held = MakeElement(L"a", 1);
    window->AddElement(held);
    window->AddElement(MakeElement(L"b", 2));

    // Never added, but with the name and id of the one held: the window's
    // lookups must still find the element it lists.
    window->RemoveElement(MakeElement(L"a", 1));
    EXPECT_EQ(L"a;b;", NamesOf(*window));
    EXPECT_EQ(held, window->GetElementByName(L"a"));
    EXPECT_EQ(held, window->GetElementById(1));

    window->RemoveElement(boost::shared_ptr<IElement>());
    window->RemoveElement(held);
    EXPECT_EQ(L"b;", NamesOf(*window));
    EXPECT_FALSE(window->GetElementByName(L"a"));
    EXPECT_FALSE(window->GetElementById(1));

    // Its name and id are free again.
    window->AddElement(MakeElement(L"a", 1));
    EXPECT_EQ(L"b;a;", NamesOf(*window));
}

TEST(LayoutModel, CloneCopiesTheLookButNotTriggersSettingsOrReferences) {
    const auto source = MakeElement(L"old", 3);
    CustomValues values;
    SetCustomValue(values, L"text", std::wstring(L"Hello"));
    CustomValues shapeValues;
    SetCustomValue(shapeValues, L"rx", 4);
    source->SetShape(ShapeRoundedRectangular, shapeValues);
    source->SetCustomValues(values);
    source->SetSettings(values);
    source->SetCustomReferences(CustomReferences(1));
    source->SetAutomated(true);
    source->SetPosition(RECT{1, 2, 30, 40});
    source->SetAnchors(AnchorRight | AnchorBottom);
    source->SetWindowed(true);
    source->AddOverTrigger(5);
    source->AddDownTrigger(6);
    const auto visual = boost::make_shared<VisualInfo>(L"button", values, CustomReferences());
    visual->AddState(boost::make_shared<VisualState>(L"out", L"picOut", CursorDefault, values, CustomReferences()));
    visual->AddState(boost::make_shared<VisualState>(L"over", L"picOver", CursorHand, values, CustomReferences()));
    source->SetVisual(visual);

    const boost::shared_ptr<IMutableElement> clone = source->Clone(7, L"new");
    ASSERT_TRUE(clone);
    EXPECT_EQ(7, clone->GetId());
    EXPECT_EQ(L"new", clone->GetName());
    EXPECT_EQ(L"", clone->GetType());
    EXPECT_EQ(ShapeRoundedRectangular, clone->GetShapeType());
    EXPECT_EQ(4, *_FindCustomInt(clone->GetShapeValues(), L"rx"));
    EXPECT_EQ(L"Hello", *_FindCustomString(clone->GetCustomValues(), L"text"));
    EXPECT_TRUE(clone->IsAutomated());
    EXPECT_EQ(30, clone->GetPosition().right);
    EXPECT_EQ(AnchorRight | AnchorBottom, clone->GetAnchors());
    EXPECT_TRUE(clone->IsWindowed());
    EXPECT_FALSE(clone->IsOverTrigger(5));
    EXPECT_FALSE(clone->IsDownTrigger(6));
    EXPECT_TRUE(clone->GetSettings().empty());
    EXPECT_TRUE(clone->GetCustomReferences().empty());

    // A visual of its own, state by state.
    const auto copy = clone->GetVisual();
    ASSERT_TRUE(copy);
    EXPECT_NE(visual, copy);
    EXPECT_EQ(L"button", copy->GetType());
    const auto over = copy->FindState(L"over");
    ASSERT_TRUE(over);
    EXPECT_NE(visual->FindState(L"over"), over);
    EXPECT_EQ(L"picOver", over->GetPicture());
    EXPECT_EQ(CursorHand, over->GetCursor());
    VisualStateList states;
    copy->GetStates(states);
    ASSERT_EQ(2u, states.size());
    EXPECT_EQ(L"out", states[0]->GetName());

    // The clone and GetMutable lead to objects of their own kind.
    EXPECT_EQ(clone, clone->GetMutable());
    EXPECT_EQ(source, source->GetMutable());
}

TEST(LayoutModel, TriggersAreKeptOnceAndCleared) {
    const auto element = MakeElement(L"e", 1);
    element->AddOverTrigger(4);
    element->AddOverTrigger(4);
    element->AddDownTrigger(9);
    EXPECT_TRUE(element->IsOverTrigger(4));
    EXPECT_FALSE(element->IsDownTrigger(4));
    EXPECT_TRUE(element->IsDownTrigger(9));
    element->ClearTriggers();
    EXPECT_FALSE(element->IsOverTrigger(4));
    EXPECT_FALSE(element->IsDownTrigger(9));
}

TEST(LayoutModel, WindowGivesItsMutableSelf) {
    const auto window = MakeWindow();
    const boost::shared_ptr<IWindow> asWindow = window;
    EXPECT_EQ(window, asWindow->GetMutable());
}

// Implements nothing: every operation is the interface's own.
class BareElement : public IMutableElement {};
class BareWindow : public IMutableWindow {};

TEST(LayoutModel, OperationsNotImplementedThrow) {
    BareElement element;
    BareWindow window;
    VisualInfoT<IVisualInfo> visual(L"", CustomValues(), CustomReferences());
    const std::function<void()> calls[] = {
        [&] { element.GetName(); },
        [&] { element.GetCustomValues(); },
        [&] { element.GetId(); },
        [&] { element.GetVisual(); },
        [&] { element.GetPosition(); },
        [&] { element.Clone(1, L"x"); },
        [&] { element.SetAnchors(5); },
        [&] { element.SetShape(1, CustomValues()); },
        [&] { window.GetSize(1); },
        [&] { window.AddElement(boost::shared_ptr<IElement>()); },
        [&] { static_cast<INamed&>(window).GetName(); },
    };
    int index = 0;
    for (const auto& call : calls) {
        SCOPED_TRACE(testing::Message() << "call " << index++);
        EXPECT_EQ("Pure virtual function call", ExceptionText(call));
    }
    // The reserved operations do nothing.
    element._ReservedElement();
    window._ReservedWindow();
    visual._ReservedVisualInfo();
}

}  // namespace
