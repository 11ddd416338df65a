#include "skin/layout/IManager.h"

#include "LayoutText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace LayoutLib;
using SkinTesting::Narrow;
using SkinTesting::ReadElement;
using SkinTesting::ReadFirstWindow;

const int kDropped = -100;

TEST(LayoutElements, PositionAnchorsAndWhichElementsAreRead) {
    const struct {
        const wchar_t* attributes;  // of <Element name="e" ...>
        const wchar_t* children;
        RECT position;
        int anchors;  // kDropped: the element is not read
    } cases[] = {
        {L"position=\"1,2,30,40\"", L"", {1, 2, 30, 40}, 5},
        {L"", L"", {}, kDropped},                                  // no position at all
        {L"position=\"\"", L"", {}, kDropped},
        {L"position=\"1,2,3\"", L"", {}, kDropped},                // fewer than four numbers
        {L"position=\"[pos]\"", L"", {}, kDropped},                // elements take no parameters
        {L"position=\"10,10,10,50\"", L"", {10, 10, 10, 50}, 5},   // empty, but not automated
        {L"position=\"10,10,10,50\" automate=\"1\"", L"", {}, kDropped},
        {L"position=\"10,10,11,50\" automate=\"1\"", L"", {10, 10, 11, 50}, 5},
        {L"position=\"9,9,9,9\"", L"<Position left=\"1\" top=\"x\" right=\"5\" bottom=\"6\"/>", {1, 0, 5, 6}, 5},
        {L"position=\"0,0,1,1\" anchors=\"Right,Bottom\"", L"", {0, 0, 1, 1}, 10},
        {L"position=\"0,0,1,1\" anchors=\"\"", L"", {0, 0, 1, 1}, 5},
        {L"position=\"0,0,1,1\" anchors=\";,\"", L"", {0, 0, 1, 1}, 5},
        {L"position=\"0,0,1,1\" anchors=\"Top;HorzCenter,,VertCenter\"", L"", {0, 0, 1, 1}, 52},
        {L"position=\"0,0,1,1\" anchors=\"right\"", L"", {}, kDropped},  // exact tokens
        {L"position=\"0,0,1,1\" anchors=\"Left; Top\"", L"", {}, kDropped},
        {L"position=\"0,0,1,1\" anchors=\"[a]\"", L"", {0, 0, 1, 1}, 5},  // the default
        {L"position=\"0,0,1,1\" anchors=\"Left\"", L"<Anchors value=\"Bottom\"/>", {0, 0, 1, 1}, 8},
        {L"position=\"0,0,1,1\"", L"<Anchors/>", {0, 0, 1, 1}, 5},
        {L"position=\"0,0,1,1\"", L"<Shape type=\"rectangular\"/>", {}, kDropped},
        {L"name=\"\" position=\"0,0,1,1\"", L"", {}, kDropped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(std::wstring(c.attributes) + L" " + c.children));
        const std::wstring attributes = c.attributes;
        const std::wstring xml = (attributes.find(L"name=") == std::wstring::npos ? L"<Element name=\"e\" " : L"<Element ") +
                                 attributes + L">" + c.children + L"</Element>";
        const auto window = ReadFirstWindow(L"<Window name=\"w\"><Elements>" + xml + L"</Elements></Window>");
        ASSERT_TRUE(window);
        ElementList elements;
        window->GetElements(elements);
        if (c.anchors == kDropped) {
            EXPECT_TRUE(elements.empty());
            continue;
        }
        ASSERT_EQ(1u, elements.size());
        const RECT position = elements[0]->GetPosition();
        EXPECT_EQ(c.position.left, position.left);
        EXPECT_EQ(c.position.top, position.top);
        EXPECT_EQ(c.position.right, position.right);
        EXPECT_EQ(c.position.bottom, position.bottom);
        EXPECT_EQ(c.anchors, elements[0]->GetAnchors());
    }
}

TEST(LayoutElements, HeaderFlagsAndTriggers) {
    const auto element = ReadElement(
        L"<Element id=\"4\" name=\"e\" type=\"button\" windowed=\"1\" automate=\"1\" position=\"0,0,20,10\""
        L" overTriggers=\"3,-1,,7,x,3\" downTriggers=\"-1\">"
        L"<Custom data=\"label=[text]@Hi\"/><Settings data=\"wide@b=1\"/></Element>");
    ASSERT_TRUE(element);
    EXPECT_EQ(4, element->GetId());
    EXPECT_EQ(L"button", element->GetType());
    EXPECT_TRUE(element->IsWindowed());
    EXPECT_TRUE(element->IsAutomated());
    EXPECT_EQ(ShapeRectangular, element->GetShapeType());
    for (int id : {3, 7, 0})
        EXPECT_TRUE(element->IsOverTrigger(id)) << id;
    EXPECT_FALSE(element->IsOverTrigger(-1));
    EXPECT_FALSE(element->IsDownTrigger(-1));
    ASSERT_EQ(1u, element->GetCustomReferences().size());
    EXPECT_EQ(L"text", element->GetCustomReferences()[0].reference);
    EXPECT_TRUE(*_FindCustomBool(element->GetSettings(), L"wide"));

    const auto plain = ReadElement(L"<Element name=\"e\" windowed=\"true\" position=\"0,0,1,1\"/>");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->IsWindowed());
    EXPECT_EQ(-1, plain->GetId());
    EXPECT_FALSE(plain->GetVisual());
}

TEST(LayoutElements, TheFirstElementOfANameOrIdStays) {
    const auto window = ReadFirstWindow(
        L"<Window name=\"w\"><Elements>"
        L"<Element name=\"a\" id=\"1\" type=\"first\" position=\"0,0,1,1\"/>"
        L"<Element name=\"a\" id=\"2\" position=\"0,0,1,1\"/>"
        L"<Element name=\"b\" id=\"1\" position=\"0,0,1,1\"/>"
        L"<Element name=\"c\" position=\"0,0,1,1\"/>"
        L"</Elements><Elements><Element name=\"d\" position=\"0,0,1,1\"/></Elements></Window>");
    ASSERT_TRUE(window);
    ElementList elements;
    window->GetElements(elements);
    ASSERT_EQ(3u, elements.size());
    EXPECT_EQ(L"first", window->GetElementByName(L"a")->GetType());
    EXPECT_EQ(L"c", elements[1]->GetName());
    EXPECT_EQ(L"d", elements[2]->GetName());  // every Elements child
    EXPECT_FALSE(window->GetElementById(2));
}

TEST(LayoutElements, VisualStates) {
    const auto element = ReadElement(
        L"<Element name=\"e\" position=\"0,0,1,1\"><Visual type=\"rollover\"><Custom data=\"tip=[hint]\"/>"
        L"<States>"
        L"<State name=\"out\" picture=\"btnOut\"/>"
        L"<State name=\"over\" picture=\"btnOver\" cursor=\"Hand\"><Custom data=\"k@i=3;r=[xy]\"/></State>"
        L"<State name=\"over\" picture=\"second\"/>"
        L"<State picture=\"nameless\"/>"
        L"<State name=\"down\" cursor=\"hand\"/>"
        L"</States><States><State name=\"disabled\"/></States></Visual><Visual type=\"later\"/></Element>");
    ASSERT_TRUE(element);
    const auto visual = element->GetVisual();
    ASSERT_TRUE(visual);
    EXPECT_EQ(L"rollover", visual->GetType());
    EXPECT_EQ(1u, visual->GetCustomReferences().size());

    VisualStateList states;
    EXPECT_TRUE(visual->GetStates(states));
    const struct {
        const wchar_t* name;
        const wchar_t* picture;
        int cursor;
    } expected[] = {
        {L"out", L"btnOut", CursorDefault},
        {L"over", L"btnOver", CursorHand},  // the first of the name
        {L"down", L"", CursorDefault},      // "hand" is not "Hand"
        {L"disabled", L"", CursorDefault},
    };
    ASSERT_EQ(sizeof expected / sizeof expected[0], states.size());
    for (size_t i = 0; i < states.size(); ++i) {
        SCOPED_TRACE(Narrow(expected[i].name));
        EXPECT_EQ(expected[i].name, states[i]->GetName());
        EXPECT_EQ(expected[i].picture, states[i]->GetPicture());
        EXPECT_EQ(expected[i].cursor, states[i]->GetCursor());
    }
    const auto over = visual->FindState(L"over");
    ASSERT_TRUE(over);
    EXPECT_EQ(3, *_FindCustomInt(over->GetCustomValues(), L"k"));
    ASSERT_EQ(1u, over->GetCustomReferences().size());
    EXPECT_EQ(L"xy", over->GetCustomReferences()[0].reference);

    // A window carries a visual the same way.
    const auto window = ReadFirstWindow(L"<Window name=\"w\"><Visual><States><State name=\"out\"/></States></Visual></Window>");
    ASSERT_TRUE(window && window->GetVisual());
    EXPECT_EQ(L"", window->GetVisual()->GetType());
    EXPECT_TRUE(window->GetVisual()->FindState(L"out"));
}

}  // namespace
