#include "skin/layout/IManager.h"

#include "LayoutText.h"

#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace LayoutLib;
using SkinTesting::Narrow;
using SkinTesting::LoadLayout;
using SkinTesting::ReadFirstWindow;

TEST(LayoutWindows, WhichWindowsAreRead) {
    const struct {
        const wchar_t* xml;
        bool isRead;
    } cases[] = {
        {L"<Window/>", false},                                      // neither id nor name
        {L"<Window id=\"-1\"/>", false},
        {L"<Window id=\"\" name=\"\"/>", false},
        {L"<Window id=\"abc\"/>", true},                            // id 0
        {L"<Window name=\"w\" automate=\"true\"/>", true},          // only "1" automates
        {L"<Window name=\"w\" automate=\"1\"/>", false},            // automated without sizes
        {L"<Window name=\"w\" automate=\"1\"><Sizes/></Window>", false},
        {L"<Window name=\"w\" automate=\"1\"><Sizes><Size type=\"Min\" width=\"1\" height=\"1\"/></Sizes></Window>",
         true},
        {L"<Window name=\"w\"><Shape type=\"Elliptic\"/></Window>", true},
        {L"<Window name=\"w\"><Shape type=\"elliptic\"/></Window>", false},  // exact words
        {L"<Window name=\"w\"><Shape type=\"RoundedRectangular\"/></Window>", false},
        {L"<Window name=\"w\"><Shape type=\"RoundedRectangular\" data=\"rx@i=4;ry@i=6\"/></Window>", true},
        {L"<Window name=\"w\"><Shape type=\"RoundedRectangular\" data=\"rx@i=4;ry@i=-1\"/></Window>", false},
        {L"<Window name=\"w\"><Shape type=\"RoundedRectangular\" data=\"rx=4;ry=4\"/></Window>", false},  // texts
        {L"<Window name=\"w\"><Shape type=\"RoundedRectangular\"><Value name=\"rx\" value=\"3\" type=\"int\"/>"
         L"<Value name=\"ry\" value=\"x\" type=\"int\"/></Shape></Window>",
         true},  // "x" reads as 0
        {L"<Window name=\"w\"><Shape type=\"Masked\"/></Window>", false},
        {L"<Window name=\"w\"><Shape type=\"Masked\" data=\"mask=\"/></Window>", false},
        {L"<Window name=\"w\"><Shape type=\"Masked\" data=\"maskPath=m.bmp\"/></Window>", true},
        {L"<Window name=\"w\"><Shape type=\"Masked\" data=\"mask=skinMask\"/></Window>", true},
        {L"<Window name=\"w\"><Sizes><Size type=\"preferred\" width=\"1\" height=\"1\"/></Sizes></Window>", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.xml));
        EXPECT_EQ(c.isRead, !!ReadFirstWindow(c.xml));
    }
}

TEST(LayoutWindows, HeaderAndShape) {
    const auto window = ReadFirstWindow(
        L"<Window id=\"12\" name=\"main\" type=\"dialog\" automate=\"1\">"
        L"<Shape type=\"RoundedRectangular\" data=\"rx@i=4;ry@i=6\"><Value name=\"useAlpha\" value=\"1\" type=\"bool\"/>"
        L"</Shape><Shape type=\"Elliptic\"/>"
        L"<Sizes><Size type=\"Reference\" width=\"300\" height=\"200\"/></Sizes></Window>");
    ASSERT_TRUE(window);
    EXPECT_EQ(12, window->GetId());
    EXPECT_EQ(L"main", window->GetName());
    EXPECT_EQ(L"dialog", window->GetType());
    EXPECT_TRUE(window->IsAutomated());
    EXPECT_EQ(ShapeRoundedRectangular, window->GetShapeType());  // the first Shape counts
    EXPECT_EQ(6, *_FindCustomInt(window->GetShapeValues(), L"ry"));
    EXPECT_TRUE(*_FindCustomBool(window->GetShapeValues(), L"useAlpha"));
    EXPECT_FALSE(window->GetVisual());

    const auto lettered = ReadFirstWindow(L"<Window id=\"abc\"/>");
    ASSERT_TRUE(lettered);
    EXPECT_EQ(0, lettered->GetId());
    EXPECT_EQ(L"", lettered->GetName());

    const auto plain = ReadFirstWindow(L"<Window name=\"plain\" id=\"\"/>");
    ASSERT_TRUE(plain);
    EXPECT_EQ(-1, plain->GetId());
    EXPECT_EQ(ShapeRectangular, plain->GetShapeType());
    EXPECT_TRUE(plain->GetShapeValues().empty());
    EXPECT_FALSE(plain->IsAutomated());
    EXPECT_FALSE(plain->IsResizable());
}

TEST(LayoutWindows, SizesByTypeTheLaterWins) {
    const auto window = ReadFirstWindow(
        L"<Window name=\"w\"><Sizes resizable=\"1\">"
        L"<Size type=\"Preferred\" width=\"10\" height=\"20\"/>"
        L"<Size type=\"Min\" width=\"x\" height=\"5\"/>"
        L"<Size type=\"Preferred\" width=\"400\" height=\"300\"/>"
        L"</Sizes><Sizes><Size type=\"Max\" width=\"9\" height=\"9\"/></Sizes></Window>");
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->IsResizable());
    EXPECT_EQ(400, window->GetSize(SizePreferred).cx);
    EXPECT_EQ(300, window->GetSize(SizePreferred).cy);
    EXPECT_EQ(0, window->GetSize(SizeMin).cx);  // not a number
    EXPECT_EQ(5, window->GetSize(SizeMin).cy);
    EXPECT_EQ(0, window->GetSize(SizeMax).cx);  // only the first Sizes counts
}

TEST(LayoutWindows, DataSyntaxInCustomAndSettings) {
    const std::wstring data = L"a=1;b@i=2;c@b=1;d=[xy]@z";
    const auto window = ReadFirstWindow(L"<Window name=\"w\"><Custom data=\"" + data + L"\"/><Settings data=\"" +
                                        data + L"\"/></Window>");
    ASSERT_TRUE(window);
    const CustomValues& custom = window->GetCustomValues();
    ASSERT_TRUE(_FindCustomString(custom, L"a"));
    EXPECT_EQ(L"1", *_FindCustomString(custom, L"a"));
    ASSERT_TRUE(_FindCustomInt(custom, L"b"));
    EXPECT_EQ(2, *_FindCustomInt(custom, L"b"));
    ASSERT_TRUE(_FindCustomBool(custom, L"c"));
    EXPECT_TRUE(*_FindCustomBool(custom, L"c"));
    EXPECT_EQ(0u, custom.count(L"d"));
    const CustomReferences& references = window->GetCustomReferences();
    ASSERT_EQ(1u, references.size());
    EXPECT_EQ(ReferenceString, references[0].kind);
    EXPECT_EQ(L"d", references[0].name);
    EXPECT_EQ(L"xy", references[0].reference);
    EXPECT_EQ(L"z", references[0].defaultText);

    // No references in Settings: the bracketed text is the value.
    const CustomValues& settings = window->GetSettings();
    ASSERT_TRUE(_FindCustomString(settings, L"d"));
    EXPECT_EQ(L"[xy]", *_FindCustomString(settings, L"d"));
    EXPECT_EQ(2, *_FindCustomInt(settings, L"b"));
}

TEST(LayoutWindows, DataEntriesAndValueChildren) {
    const auto window = ReadFirstWindow(
        L"<Window name=\"w\"><Custom data=\" ;ref=[ab];short=[a];x=y=z;  spaced\t= kept ;n@i=12x;f@b=true;"
        L"t@q=text;@i=alone;e==v;repl=data;mail=a@;two@i@b=3;r@i=[count]@7\">"
        L"<Value name=\"repl\" value=\"child\"/>"
        L"<Value value=\"no name\"/>"
        L"<Value name=\"odd\" value=\"1\" type=\"float\"/>"
        L"<Value name=\"vi\" value=\"-40\" type=\"int\"/>"
        L"<Value name=\"vb\" value=\"1\" type=\"bool\"/>"
        L"<Value name=\"vr\" value=\"[flag]\" type=\"bool\" def=\"1\"/>"
        L"</Custom><Custom data=\"second=1\"/></Window>");
    ASSERT_TRUE(window);
    const CustomValues& values = window->GetCustomValues();
    const struct {
        const wchar_t* name;
        const wchar_t* text;  // null: no string value
    } strings[] = {
        {L"short", L"[a]"},     // three characters: no reference
        {L"x", nullptr},        // two equals signs between three words
        {L"spaced", L" kept "}, // the name is trimmed, the value is not
        {L"t", L"text"},        // an unknown type letter is a string
        {L"@i", L"alone"},      // one part after the split: the whole name
        {L"e", L"v"},           // empty parts are dropped
        {L"repl", L"child"},    // a Value replaces the data entry
        {L"mail", L"a@"},       // one part: the value stays whole
        {L"two@i@b", L"3"},
        {L"odd", nullptr},
        {L"second", nullptr},   // only the first Custom counts
        {L"", nullptr},
    };
    for (const auto& c : strings) {
        SCOPED_TRACE(Narrow(c.name));
        const std::wstring* text = _FindCustomString(values, c.name);
        ASSERT_EQ(c.text != nullptr, text != nullptr);
        if (text) {
            EXPECT_EQ(c.text, *text);
        }
    }
    EXPECT_EQ(0, *_FindCustomInt(values, L"n"));
    EXPECT_FALSE(*_FindCustomBool(values, L"f"));
    EXPECT_EQ(-40, *_FindCustomInt(values, L"vi"));
    EXPECT_TRUE(*_FindCustomBool(values, L"vb"));

    const CustomReferences& references = window->GetCustomReferences();
    ASSERT_EQ(3u, references.size());
    EXPECT_EQ(L"ref", references[0].name);
    EXPECT_EQ(L"ab", references[0].reference);
    EXPECT_EQ(L"", references[0].defaultText);
    EXPECT_EQ(ReferenceInteger, references[1].kind);
    EXPECT_EQ(L"count", references[1].reference);
    EXPECT_EQ(L"7", references[1].defaultText);
    EXPECT_EQ(ReferenceBoolean, references[2].kind);
    EXPECT_EQ(L"vr", references[2].name);
    EXPECT_EQ(L"1", references[2].defaultText);
}

TEST(LayoutWindows, MissingMandatoryAttributeEndsTheLoad) {
    const wchar_t* const cases[] = {
        L"<Window name=\"w\"><Sizes><Size type=\"Min\" width=\"1\"/></Sizes></Window>",
        L"<Window name=\"w\"><Sizes><Size width=\"1\" height=\"1\"/></Sizes></Window>",
        L"<Window name=\"w\"><Shape/></Window>",
        L"<Window name=\"w\"><Elements><Element name=\"e\"><Position left=\"1\" top=\"1\" right=\"5\"/></Element>"
        L"</Elements></Window>",
    };
    for (const wchar_t* xml : cases) {
        SCOPED_TRACE(Narrow(xml));
        boost::shared_ptr<IManager> manager;
        EXPECT_THROW(manager = LoadLayout(std::wstring(L"<Window name=\"before\"/>") + xml),
                     boost::system::system_error);
        EXPECT_FALSE(manager);
    }
}

TEST(LayoutWindows, ADroppedWindowLeavesTheRest) {
    const auto manager = LoadLayout(
        L"<Window name=\"first\"/><Window type=\"nameless\"/><Window name=\"bad\"><Shape type=\"Oval\"/></Window>"
        L"<Window name=\"last\" id=\"3\"/>");
    WindowList windows;
    EXPECT_TRUE(manager->GetWindows(windows));
    ASSERT_EQ(2u, windows.size());
    EXPECT_EQ(L"first", windows[0]->GetName());
    EXPECT_EQ(L"last", windows[1]->GetName());
}

}  // namespace
