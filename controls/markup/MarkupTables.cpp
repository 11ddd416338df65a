#include "controls/markup/MarkupTables.h"

#include <utility>

namespace MarkupLib {

namespace {

// CSS colour keywords, written 0xRRGGBB as CSS does.
const std::pair<const wchar_t*, DWORD> kNamedColors[] = {
    {L"aqua", 0x00FFFF}, {L"black", 0x000000}, {L"blue", 0x0000FF}, {L"brown", 0xA52A2A},
    {L"cyan", 0x00FFFF}, {L"gold", 0xFFD700}, {L"gray", 0x808080}, {L"green", 0x008000},
    {L"magenta", 0xFF00FF}, {L"maroon", 0x800000}, {L"navy", 0x000080}, {L"olive", 0x808000},
    {L"orange", 0xFFA500}, {L"pink", 0xFFC0CB}, {L"purple", 0x800080}, {L"red", 0xFF0000},
    {L"silver", 0xC0C0C0}, {L"snow", 0xFFFAFA}, {L"violet", 0xEE82EE}, {L"white", 0xFFFFFF},
    {L"yellow", 0xFFFF00}, {L"aliceblue", 0xF0F8FF}, {L"antiquewhite", 0xFAEBD7}, {L"aquamarine", 0x7FFFD4},
    {L"azure", 0xF0FFFF}, {L"beige", 0xF5F5DC}, {L"bisque", 0xFFE4C4}, {L"blanchedalmond", 0xFFEBCD},
    {L"blueviolet", 0x8A2BE2}, {L"burlywood", 0xDEB887}, {L"cadetblue", 0x5F9EA0}, {L"chartreuse", 0x7FFF00},
    {L"chocolate", 0xD2691E}, {L"coral", 0xFF7F50}, {L"cornflowerblue", 0x6495ED}, {L"cornsilk", 0xFFF8DC},
    {L"crimson", 0xDC143C}, {L"darkblue", 0x00008B}, {L"darkcyan", 0x008B8B}, {L"darkgoldenrod", 0xB8860B},
    {L"darkgray", 0xA9A9A9}, {L"darkgreen", 0x006400}, {L"darkkhaki", 0xBDB76B}, {L"darkmagenta", 0x8B008B},
    {L"darkolivegreen", 0x556B2F}, {L"darkorange", 0xFF8C00}, {L"darkorchid", 0x9932CC}, {L"darkred", 0x8B0000},
    {L"darksalmon", 0xE9967A}, {L"darkseagreen", 0x8FBC8F}, {L"darkslateblue", 0x483D8B},
    {L"darkslategray", 0x2F4F4F}, {L"darkturquoise", 0x00CED1}, {L"darkviolet", 0x9400D3},
    {L"deeppink", 0xFF1493}, {L"deepskyblue", 0x00BFFF}, {L"dimgray", 0x696969}, {L"dodgerblue", 0x1E90FF},
    {L"firebrick", 0xB22222}, {L"floralwhite", 0xFFFAF0}, {L"forestgreen", 0x228B22}, {L"fuchsia", 0xFF00FF},
    {L"gainsboro", 0xDCDCDC}, {L"ghostwhite", 0xF8F8FF}, {L"goldenrod", 0xDAA520}, {L"greenyellow", 0xADFF2F},
    {L"honeydew", 0xF0FFF0}, {L"hotpink", 0xFF69B4}, {L"indianred", 0xCD5C5C}, {L"indigo", 0x4B0082},
    {L"ivory", 0xFFFFF0}, {L"khaki", 0xF0E68C}, {L"lavender", 0xE6E6FA}, {L"lavenderblush", 0xFFF0F5},
    {L"lawngreen", 0x7CFC00}, {L"lemonchiffon", 0xFFFACD}, {L"lightblue", 0xADD8E6}, {L"lightcoral", 0xF08080},
    {L"lightcyan", 0xE0FFFF}, {L"lightgoldenrodyellow", 0xFAFAD2}, {L"lightgreen", 0x90EE90},
    {L"lightgrey", 0xD3D3D3}, {L"lightpink", 0xFFB6C1}, {L"lightsalmon", 0xFFA07A},
    {L"lightseagreen", 0x20B2AA}, {L"lightskyblue", 0x87CEFA}, {L"lightslategray", 0x778899},
    {L"lightsteelblue", 0xB0C4DE}, {L"lightyellow", 0xFFFFE0}, {L"lime", 0x00FF00}, {L"limegreen", 0x32CD32},
    {L"linen", 0xFAF0E6}, {L"mediumaquamarine", 0x66CDAA}, {L"mediumblue", 0x0000CD},
    {L"mediumorchid", 0xBA55D3}, {L"mediumpurple", 0x9370DB}, {L"mediumseagreen", 0x3CB371},
    {L"mediumslateblue", 0x7B68EE}, {L"mediumspringgreen", 0x00FA9A}, {L"mediumturquoise", 0x48D1CC},
    {L"mediumvioletred", 0xC71585}, {L"midnightblue", 0x191970}, {L"mintcream", 0xF5FFFA},
    {L"mistyrose", 0xFFE4E1}, {L"moccasin", 0xFFE4B5}, {L"navajowhite", 0xFFDEAD}, {L"oldlace", 0xFDF5E6},
    {L"olivedrab", 0x6B8E23}, {L"orangered", 0xFF4500}, {L"orchid", 0xDA70D6}, {L"palegoldenrod", 0xEEE8AA},
    {L"palegreen", 0x98FB98}, {L"paleturquoise", 0xAFEEEE}, {L"palevioletred", 0xDB7093},
    {L"papayawhip", 0xFFEFD5}, {L"peachpuff", 0xFFDAB9}, {L"peru", 0xCD853F}, {L"plum", 0xDDA0DD},
    {L"powderblue", 0xB0E0E6}, {L"rosybrown", 0xBC8F8F}, {L"royalblue", 0x4169E1}, {L"saddlebrown", 0x8B4513},
    {L"salmon", 0xFA8072}, {L"sandybrown", 0xF4A460}, {L"seagreen", 0x2E8B57}, {L"seashell", 0xFFF5EE},
    {L"sienna", 0xA0522D}, {L"skyblue", 0x87CEEB}, {L"slateblue", 0x6A5ACD}, {L"slategray", 0x708090},
    {L"springgreen", 0x00FF7F}, {L"steelblue", 0x4682B4}, {L"tan", 0xD2B48C}, {L"teal", 0x008080},
    {L"thistle", 0xD8BFD8}, {L"tomato", 0xFF6347}, {L"turquoise", 0x40E0D0}, {L"wheat", 0xF5DEB3},
    {L"whitesmoke", 0xF5F5F5}, {L"yellowgreen", 0x9ACD32},
};

const std::pair<const wchar_t*, int> kSystemColors[] = {
    {L"activeborder", COLOR_ACTIVEBORDER},
    {L"activecaption", COLOR_ACTIVECAPTION},
    {L"appworkspace", COLOR_APPWORKSPACE},
    {L"background", COLOR_BACKGROUND},
    {L"buttonface", COLOR_BTNFACE},
    {L"buttonhighlight", COLOR_BTNHIGHLIGHT},
    {L"buttonshadow", COLOR_BTNSHADOW},
    {L"buttontext", COLOR_BTNTEXT},
    {L"captiontext", COLOR_CAPTIONTEXT},
    {L"graytext", COLOR_GRAYTEXT},
    {L"highlight", COLOR_HIGHLIGHT},
    {L"highlighttext", COLOR_HIGHLIGHTTEXT},
    {L"inactiveborder", COLOR_INACTIVEBORDER},
    {L"inactivecaption", COLOR_INACTIVECAPTION},
    {L"inactivecaptiontext", COLOR_INACTIVECAPTIONTEXT},
    {L"infobackground", COLOR_INFOBK},
    {L"infotext", COLOR_INFOTEXT},
    {L"menu", COLOR_MENU},
    {L"menutext", COLOR_MENUTEXT},
    {L"scrollbar", COLOR_SCROLLBAR},
    {L"threeddarkshadow", COLOR_3DDKSHADOW},
    {L"threedface", COLOR_3DFACE},
    {L"threedhighlight", COLOR_3DHIGHLIGHT},
    {L"threedlightshadow", COLOR_3DLIGHT},
    {L"threedshadow", COLOR_3DSHADOW},
    {L"window", COLOR_WINDOW},
    {L"windowframe", COLOR_WINDOWFRAME},
    {L"windowtext", COLOR_WINDOWTEXT},
};

const std::pair<const wchar_t*, int> kEffectNames[] = {
    {L"transparent", -1}, {L"solid", 0},     {L"hgradient", 1},  {L"vgradient", 2},  {L"hcgradient", 3},
    {L"vcgradient", 4},   {L"3hgradient", 5}, {L"3vgradient", 6}, {L"noise", 7},      {L"diagshade", 8},
    {L"hshade", 9},       {L"vshade", 10},   {L"hbump", 11},     {L"vbump", 12},     {L"softbump", 13},
    {L"hardbump", 14},    {L"metal", 15},
};

}  // namespace

TagTable MakeTagTable() {
    TagTable tags = {
        {L"b", {TagBold, L"bold"}},
        {L"i", {TagItalic, L"italic"}},
        {L"em", {TagItalic, L"italic"}},
        {L"u", {TagUnderline, L"underline"}},
        {L"s", {TagStrikeout, L"strikeout"}},
        {L"strike", {TagStrikeout, L"strikeout"}},
        {L"font", {TagFont, L"font"}},
        {L"hr", {TagRule, L""}},
        {L"br", {TagBreak, L""}},
        {L"\n", {TagBreak, L""}},
        {L"t", {TagTab, L""}},
        {L"\t", {TagTab, L""}},
        {L"left", {TagLeft, L"left"}},
        {L"center", {TagCenter, L"center"}},
        {L"right", {TagRight, L"right"}},
        {L"justify", {TagJustify, L"justify"}},
        {L"baseline", {TagBaseline, L"baseline"}},
        {L"top", {TagTop, L"top"}},
        {L"vcenter", {TagVCenter, L"vcenter"}},
        {L"middle", {TagVCenter, L"vcenter"}},
        {L"bottom", {TagBottom, L"bottom"}},
        {L"bmp", {TagBitmap, L""}},
        {L"icon", {TagIcon, L""}},
        {L"ilst", {TagImageList, L""}},
        {L"string", {TagString, L""}},
        {L"span", {TagSpan, L"span"}},
        {L"a", {TagLink, L"link"}},
    };
    for (const wchar_t* name : {L"body", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"code", L"pre", L"big", L"small",
                                L"sub", L"sup"})
        tags[name] = TagInfo{TagStyleRule, name};
    return tags;
}

EntityTable MakeEntityTable() {
    // "&lt;" gives "<<", which the tokeniser reads as one literal "<".
    return EntityTable{
        {L"&amp;", L"&"},     {L"&bull;", L"\u2022"},  {L"&copy;", L"\u00A9"}, {L"&euro;", L"\u20AC"},
        {L"&gt;", L">"},      {L"&iquest;", L"\u00BF"}, {L"&lt;", L"<<"},       {L"&nbsp;", L" "},
        {L"&para;", L"\u00B6"}, {L"&pound;", L"\u00A3"}, {L"&quot;", L"\""},     {L"&reg;", L"\u00AE"},
        {L"&trade;", L"\u2122"},
    };
}

ColorTable MakeColorTable() {
    ColorTable colors;
    for (const auto& named : kNamedColors)
        colors[named.first] = RGB((named.second >> 16) & 0xFF, (named.second >> 8) & 0xFF, named.second & 0xFF);
    for (const auto& system : kSystemColors)
        colors[system.first] = ::GetSysColor(system.second);
    return colors;
}

const wchar_t* DefaultStyleSheet() {
    return L"body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
           L"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
           L"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
           L"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
           L"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
           L"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
           L"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
           L"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
           L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
           L"code {color:#990000; font-family:Arial}\r\n"
           L"a:link {text-decoration:none; color:blue}\r\n"
           L"a:hover {text-decoration:underline; color:blue}\r\n"
           L"sub {font-size:65%; vertical-align:bottom}\r\n"
           L"sup {font-size:65%; vertical-align:top}\r\n"
           L"big {font-size:125%}\r\n"
           L"small {font-size:75%}\r\n"
           L".cpp-comment {color:green; font-style:italic}\r\n";
}

bool FindEffectName(const std::wstring& name, int& effect) {
    for (const auto& entry : kEffectNames) {
        if (name == entry.first) {
            effect = entry.second;
            return true;
        }
    }
    return false;
}

}  // namespace MarkupLib
