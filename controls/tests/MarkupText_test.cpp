#include "controls/markup/MarkupDrawer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using MarkupLib::Style;
using MarkupLib::Token;

// A text run with the style it is drawn in, or a tag as "<name>"/"</name>".
struct Piece {
    std::wstring text;
    Style style;
};

// Reads a text as the drawer lays it out: prepared, cut into runs and known
// tags, the style tags applied.
std::vector<Piece> Read(CMarkupDrawer& drawer, const std::wstring& text) {
    drawer.ResetStyle();
    const std::wstring prepared = drawer.PrepareText(text);
    MarkupLib::Tokenizer tokenizer(prepared);
    std::vector<Piece> pieces;
    Token token;
    while (drawer.NextToken(tokenizer, token)) {
        if (token.kind == Token::Tag) {
            drawer.ApplyTag(token);
            pieces.push_back(Piece{(token.closing ? L"</" : L"<") + token.text + L">", drawer.GetStyle()});
        } else {
            pieces.push_back(Piece{token.text, drawer.GetStyle()});
        }
    }
    return pieces;
}

std::wstring Shown(const std::vector<Piece>& pieces) {
    std::wstring shown;
    for (const Piece& piece : pieces)
        shown += piece.text + L"|";
    return shown;
}

TEST(MarkupText, PreparationReplacesEntitiesInOrder) {
    CMarkupDrawer drawer;
    struct Case {
        const wchar_t* text;
        const wchar_t* prepared;
    } cases[] = {
        {L"&lt;b&gt;x", L"<<b>x"},
        {L"&amp;lt;", L"<<"},  // "&amp;" first, and its result is read again
        {L"&amp;amp;", L"&amp;"},
        {L"a\r\nb\tc\n", L"a<br>b<t>c<br>"},
        {L"&copy;&euro;&trade;&nbsp;&quot;&bull;&para;&pound;&reg;&iquest;",
         L"\u00A9\u20AC\u2122 \"\u2022\u00B6\u00A3\u00AE\u00BF"},
        {L"&LT; &unknown;", L"&LT; &unknown;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(std::wstring(c.prepared), drawer.PrepareText(c.text));
    }
}

TEST(MarkupText, RunsAndTags) {
    CMarkupDrawer drawer;
    struct Case {
        const wchar_t* text;
        const wchar_t* shown;
    } cases[] = {
        {L"&lt;b&gt;x", L"<|b>x|"},
        {L"&amp;lt;", L"<|"},
        {L"<B>x</B>", L"x|"},  // tag names are lower case
        {L"<b>x</b>y", L"<b>|x|</b>|y|"},
        {L"a<", L"a<|"},
        {L"a<b", L"a|"},  // an unterminated tag ends the text
        {L"a<b>c<", L"a|<b>|c<|"},
        {L"<", L"<|"},
        {L"<<<", L"<|<|"},
        {L"x<unknown attr=1>y", L"x|y|"},
        {L"<br=2>a<t>\n", L"<br>|a|<t>|<br>|"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(std::wstring(c.shown), Shown(Read(drawer, c.text)));
    }
}

TEST(MarkupText, TagNameAndAttributeText) {
    const std::wstring text = L"<font  face = 'Courier New' size=3 bold><br=2></a>";
    MarkupLib::Tokenizer tokenizer(text);
    Token token;
    ASSERT_TRUE(tokenizer.Next(token));
    EXPECT_EQ(Token::Tag, token.kind);
    EXPECT_EQ(L"font", token.text);
    EXPECT_EQ(L"face = 'Courier New' size=3 bold", token.attributes);
    const auto attributes = MarkupLib::ReadAttributes(token.attributes);
    ASSERT_EQ(3u, attributes.size());
    EXPECT_EQ(L"face", attributes[0].first);
    EXPECT_EQ(L"Courier New", attributes[0].second);
    EXPECT_EQ(L"size", attributes[1].first);
    EXPECT_EQ(L"3", attributes[1].second);
    EXPECT_EQ(L"bold", attributes[2].first);
    EXPECT_EQ(L"", attributes[2].second);
    ASSERT_TRUE(tokenizer.Next(token));
    EXPECT_EQ(L"br", token.text);
    EXPECT_EQ(L"=2", token.attributes);
    ASSERT_TRUE(tokenizer.Next(token));
    EXPECT_TRUE(token.closing);
    EXPECT_EQ(L"a", token.text);
    EXPECT_FALSE(tokenizer.Next(token));
    EXPECT_EQ(text.size(), tokenizer.Position());
}

TEST(MarkupText, AttributeValues) {
    struct Case {
        const wchar_t* text;
        std::vector<std::pair<std::wstring, std::wstring>> expected;
    } cases[] = {
        {L"a=\"x y\" b='q' c=d", {{L"a", L"x y"}, {L"b", L"q"}, {L"c", L"d"}}},
        {L"  =junk  name", {{L"junk", L""}, {L"name", L""}}},
        {L"open=\"no end", {{L"open", L"no end"}}},
        {L".x=1 Y=2", {{L".x", L"1"}, {L"Y", L"2"}}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "attributes " << testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(c.expected, MarkupLib::ReadAttributes(c.text));
    }
}

TEST(MarkupText, StyleStack) {
    CMarkupDrawer drawer;
    auto pieces = Read(drawer, L"<b>x</b>");
    ASSERT_EQ(3u, pieces.size());
    EXPECT_EQ(800, pieces[1].style.weight);
    EXPECT_EQ(400, pieces[2].style.weight);

    pieces = Read(drawer, L"<b><b>x");
    EXPECT_EQ(900, pieces.back().style.weight);

    // A closing tag that does not close the innermost open style changes
    // nothing but the current name.
    pieces = Read(drawer, L"<i>a</b>b</i>c");
    ASSERT_EQ(L"<i>|a|</b>|b|</i>|c|", Shown(pieces));
    EXPECT_TRUE(pieces[1].style.italic);
    EXPECT_TRUE(pieces[3].style.italic);
    EXPECT_FALSE(pieces[5].style.italic);

    // Tags sharing a class close each other.
    pieces = Read(drawer, L"<i>a</em>b<s>c</strike>d<middle>e</vcenter>f");
    EXPECT_TRUE(pieces[1].style.italic);
    EXPECT_FALSE(pieces[3].style.italic);
    EXPECT_TRUE(pieces[5].style.strikeout);
    EXPECT_FALSE(pieces[7].style.strikeout);
    EXPECT_EQ(MarkupLib::AlignVCenter, pieces[9].style.vertAlign);
    EXPECT_EQ(MarkupLib::AlignBaseline, pieces[11].style.vertAlign);

    // Toggles, alignments, and names.
    pieces = Read(drawer, L"<u><u>a<right><top>b");
    EXPECT_FALSE(pieces[2].style.underline);
    EXPECT_EQ(MarkupLib::AlignRight, pieces.back().style.horzAlign);
    EXPECT_EQ(MarkupLib::AlignTop, pieces.back().style.vertAlign);
    EXPECT_TRUE(pieces.back().style.name.empty());
    pieces = Read(drawer, L"<center><justify><left><bottom><baseline>x");
    EXPECT_EQ(MarkupLib::AlignLeft, pieces.back().style.horzAlign);
    EXPECT_EQ(MarkupLib::AlignBaseline, pieces.back().style.vertAlign);
}

TEST(MarkupText, FontTag) {
    CMarkupDrawer drawer;
    auto pieces = Read(drawer, L"<font face=\"Courier New\" size=3 color=#00ff00 style=\"b-i+u\" bkgnd=red>x");
    Style style = pieces.back().style;
    EXPECT_EQ(L"Courier New", style.face);
    EXPECT_EQ(12, style.size);
    EXPECT_EQ(RGB(0, 255, 0), style.textColor);
    EXPECT_EQ(700, style.weight);
    EXPECT_FALSE(style.italic);
    EXPECT_TRUE(style.underline);
    EXPECT_EQ(MarkupLib::BackOpaque, style.backMode);
    EXPECT_EQ(RGB(255, 0, 0), style.backColor);

    pieces = Read(drawer, L"<font style=isob weight=bolder>a<font style=-b-o bkgnd=transparent>b</font>c</font>d");
    EXPECT_TRUE(pieces[1].style.italic && pieces[1].style.strikeout && pieces[1].style.overline);
    EXPECT_EQ(900, pieces[1].style.weight);  // attributes apply in order: "weight" after "style"
    EXPECT_EQ(400, pieces[3].style.weight);
    EXPECT_FALSE(pieces[3].style.overline);
    EXPECT_EQ(MarkupLib::BackTransparent, pieces[3].style.backMode);
    EXPECT_EQ(900, pieces[5].style.weight);
    EXPECT_EQ(400, pieces[7].style.weight);
}

TEST(MarkupText, StyleRuleTagsAndLinks) {
    CMarkupDrawer drawer;
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);

    auto pieces = Read(drawer, L"<h2>x</h2>y");
    EXPECT_EQ(13 * dpi / 72, pieces[1].style.size);
    EXPECT_EQ(RGB(0xff, 0x99, 0x00), pieces[1].style.textColor);
    EXPECT_EQ(700, pieces[1].style.weight);
    EXPECT_EQ(L"verdana", pieces[1].style.face);
    EXPECT_EQ(16, pieces[3].style.size);

    pieces = Read(drawer, L"<pre>x");
    EXPECT_EQ(L"courier", pieces.back().style.face);
    EXPECT_EQ(MarkupLib::BackOpaque, pieces.back().style.backMode);
    EXPECT_EQ(RGB(0xfb, 0xed, 0xbb), pieces.back().style.backColor);

    pieces = Read(drawer, L"<span class=cpp-comment>x</span>y<big>z");
    EXPECT_EQ(RGB(0, 128, 0), pieces[1].style.textColor);
    EXPECT_TRUE(pieces[1].style.italic);
    EXPECT_FALSE(pieces[3].style.italic);
    EXPECT_EQ(20, pieces[5].style.size);

    // The second link is hot: it alone takes "a:hover".
    drawer.SetHotLinkIndex(1);
    pieces = Read(drawer, L"<a href=\"http://x/\">a</a><a msg=go>b</a><a>c</a>");
    ASSERT_EQ(L"<a>|a|</a>|<a>|b|</a>|<a>|c|</a>|", Shown(pieces));
    EXPECT_EQ(L"http://x/", pieces[1].style.linkTarget);
    EXPECT_FALSE(pieces[1].style.underline);
    EXPECT_EQ(RGB(0, 0, 255), pieces[1].style.textColor);
    EXPECT_EQ(L"go", pieces[4].style.linkTarget);
    EXPECT_TRUE(pieces[4].style.underline);
    EXPECT_EQ(L"", pieces[7].style.linkTarget);
    EXPECT_FALSE(pieces[7].style.underline);
    EXPECT_EQ(L"", pieces.back().style.linkTarget);
    EXPECT_EQ(2, drawer.GetLinkIndex());
}

TEST(MarkupText, LinkKinds) {
    CMarkupDrawer drawer;
    drawer.ResetStyle();
    const auto open = [&](const std::wstring& text) {
        const std::wstring prepared = drawer.PrepareText(text);
        MarkupLib::Tokenizer tokenizer(prepared);
        Token token;
        while (drawer.NextToken(tokenizer, token))
            drawer.ApplyTag(token);
    };
    open(L"<a href=u>");
    EXPECT_EQ(CMarkupDrawer::LinkUrl, drawer.GetLinkKind());
    open(L"</a><a msg=m>");
    EXPECT_EQ(CMarkupDrawer::LinkMessage, drawer.GetLinkKind());
    open(L"</a>");
    EXPECT_EQ(CMarkupDrawer::LinkNone, drawer.GetLinkKind());
    open(L"<a>");
    EXPECT_EQ(CMarkupDrawer::LinkMessage, drawer.GetLinkKind());
}

}  // namespace
