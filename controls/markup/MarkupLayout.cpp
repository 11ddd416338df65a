// Measuring and drawing of markup texts: flowing text, element tags and
// tables. The measuring pass and the drawing pass run the same code; the
// measuring pass records lines, tables and animations in the order it meets
// them, the drawing pass takes them back by number. A record the drawing
// pass does not find (a hover rule may change what is laid out) draws
// nothing.
#include "controls/markup/MarkupDrawer.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

using MarkupLib::Style;
using MarkupLib::Token;

namespace {

// Counts written in a text ("br=", "t=", spans) are held to this.
const int kMaxCount = 1000;
// Images are drawn at most this large on either side.
const int kMaxImageSide = 4096;

bool IsBreakCharacter(wchar_t c) {
    return std::wcschr(L" -.,!:;)}]?", c) != nullptr && c != 0;
}

std::wstring TrimRight(std::wstring text) {
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

std::wstring TrimLeft(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

int CountBlanks(const std::wstring& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), L' '));
}

int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

// A count after the tag's name: the attribute text without its first
// character ("=2"), 1 when there is none.
int ReadTagCount(const Token& tag, HDC dc) {
    if (tag.attributes.size() < 2)
        return 1;
    return Clamp(MarkupLib::ReadLength(tag.attributes.substr(1), 1, false, dc), 1, kMaxCount);
}

// The position of the next "<table" that is no escaped "<<table", or npos.
std::size_t FindTableStart(const std::wstring& text, std::size_t from) {
    for (std::size_t at = text.find(L"<table", from); at != std::wstring::npos; at = text.find(L"<table", at + 1)) {
        if (at == 0 || text[at - 1] != L'<')
            return at;
    }
    return std::wstring::npos;
}

// Where the table opened at `start` ends (after its "</table>", nested
// tables counted); the end of the text when it never closes.
std::size_t FindTableEnd(const std::wstring& text, std::size_t start) {
    MarkupLib::Tokenizer tokenizer(text, start);
    Token token;
    int open = 0;
    while (tokenizer.Next(token)) {
        if (token.kind != Token::Tag || token.text != L"table")
            continue;
        open += token.closing ? -1 : 1;
        if (open == 0)
            return tokenizer.Position();
    }
    return text.size();
}

struct CellText {
    std::wstring attributes;
    std::wstring content;
};
struct RowText {
    std::wstring attributes;
    std::vector<CellText> cells;
};
struct TableText {
    std::wstring attributes;
    std::vector<RowText> rows;
};

// Rows opened by "tr", cells by "td", ended by "/td", the next "td" or the
// end of the row; nested tables stay whole inside their cell.
TableText ParseTable(const std::wstring& text) {
    TableText table;
    std::size_t position = 0;
    Token token;
    const auto next = [&]() {
        MarkupLib::Tokenizer tokenizer(text, position);
        token = Token();
        const bool read = tokenizer.Next(token);
        position = tokenizer.Position();
        return read;
    };
    if (!next())
        return table;
    table.attributes = token.attributes;
    RowText* row = nullptr;
    CellText* cell = nullptr;
    std::size_t cellStart = 0;
    const auto endCell = [&](std::size_t at) {
        if (cell)
            cell->content = text.substr(cellStart, at - cellStart);
        cell = nullptr;
    };
    for (;;) {
        const std::size_t at = position;
        if (!next()) {
            endCell(text.size());
            break;
        }
        if (token.kind != Token::Tag)
            continue;
        if (token.text == L"table") {
            if (token.closing) {
                endCell(at);
                break;
            }
            // A nested table: skip to its end; it belongs to the cell.
            position = FindTableEnd(text, at);
        } else if (token.text == L"tr") {
            endCell(at);
            row = nullptr;
            if (!token.closing) {
                table.rows.push_back(RowText{token.attributes, {}});
                row = &table.rows.back();
            }
        } else if (token.text == L"td") {
            endCell(at);
            if (!token.closing && row) {
                row->cells.push_back(CellText{token.attributes, L""});
                cell = &row->cells.back();
                cellStart = position;
            }
        }
    }
    return table;
}

struct ModuleForImages {
    explicit ModuleForImages(const std::wstring& path) {
        // Only the module's resources are wanted: no start-up code runs.
        if (!path.empty())
            handle = ::LoadLibraryExW(path.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    ~ModuleForImages() {
        if (handle)
            ::FreeLibrary(handle);
    }
    ModuleForImages(const ModuleForImages&) = delete;
    ModuleForImages& operator=(const ModuleForImages&) = delete;
    HMODULE handle = nullptr;
};

}  // namespace

struct CMarkupDrawer::Flow {
    RECT area;
    int x = 0;
    int y = 0;
    int width = 0;
    // Drawing: the record of the current line, and how its justification
    // is shared out.
    LineRecord line;
    bool lineMissing = false;
    int justifyExtra = 0;
    int justifyBlanksUsed = 0;
};

SIZE CMarkupDrawer::PrepareOutput(HDC dc, const std::wstring& text) {
    m_text = PrepareText(text);
    m_mode = Measuring;
    m_tables.clear();
    const RECT area = {0, 0, m_maxWidth, 0};
    SIZE size = {0, 0};
    if (!m_text.empty()) {
        LayoutWhole(dc, area);
        size = m_layoutSize;
    }
    if (size.cx == 0 && size.cy == 0)
        m_text.clear();
    if (m_maxWidth > 0 && size.cx > m_maxWidth)
        size.cx = m_maxWidth;
    ++size.cx;
    ++size.cy;
    return size;
}

void CMarkupDrawer::DrawPreparedOutput(HDC dc, const RECT& rect) {
    if (m_text.empty())
        return;
    m_mode = Drawing;
    LayoutWhole(dc, rect);
}

void CMarkupDrawer::LayoutWhole(HDC dc, const RECT& area) {
    m_dc = dc;
    m_lineCounter = m_tableCounter = m_animationCounter = 0;
    if (m_mode == Measuring) {
        m_lines.clear();
        m_animations.clear();
    }
    m_hotAreas.clear();
    ResetStyle();
    ApplyStyleRule(L"body", m_style);

    HGDIOBJ previousFont = ::GetCurrentObject(dc, OBJ_FONT);
    const int previousBackMode = ::GetBkMode(dc);
    const COLORREF previousTextColor = ::GetTextColor(dc);
    const COLORREF previousBackColor = ::GetBkColor(dc);
    m_font = nullptr;
    SelectStyle();

    m_layoutSize = LayoutText(m_text, area, 0);

    ::SetTextJustification(dc, 0, 0);
    ::SelectObject(dc, previousFont);
    if (m_font)
        ::DeleteObject(m_font);
    m_font = nullptr;
    ::SetBkMode(dc, previousBackMode);
    ::SetTextColor(dc, previousTextColor);
    ::SetBkColor(dc, previousBackColor);
}

void CMarkupDrawer::SelectStyle() {
    LOGFONTW font = {};
    font.lfHeight = m_style.size;
    font.lfWeight = m_style.weight;
    font.lfItalic = static_cast<BYTE>(m_style.italic ? 1 : 0);
    font.lfUnderline = static_cast<BYTE>(m_style.underline ? 1 : 0);
    font.lfStrikeOut = static_cast<BYTE>(m_style.strikeout ? 1 : 0);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, m_style.face.c_str(), LF_FACESIZE);
    if (!m_font || std::memcmp(&font, &m_fontKey, sizeof(font)) != 0) {
        HFONT created = ::CreateFontIndirectW(&font);
        if (created) {
            ::SelectObject(m_dc, created);
            if (m_font)
                ::DeleteObject(m_font);
            m_font = created;
            m_fontKey = font;
            ::GetTextMetricsW(m_dc, &m_metrics);
        }
    }
    ::SetBkMode(m_dc, m_style.backMode);
    ::SetTextColor(m_dc, m_style.textColor);
    ::SetBkColor(m_dc, m_style.backColor);
}

SIZE CMarkupDrawer::LayoutText(const std::wstring& text, const RECT& area, int depth) {
    SIZE whole = {0, 0};
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t tableStart = FindTableStart(text, position);
        if (tableStart == std::wstring::npos)
            tableStart = text.size();
        RECT partArea = area;
        if (tableStart > position) {
            partArea.top = area.top + whole.cy;
            const SIZE part = LayoutFlow(text.substr(position, tableStart - position), partArea, depth);
            whole.cy += part.cy;
            whole.cx = std::max(whole.cx, part.cx);
        }
        if (tableStart >= text.size())
            break;
        const std::size_t tableEnd = FindTableEnd(text, tableStart);
        partArea.top = area.top + whole.cy;
        const SIZE part = LayoutTable(text.substr(tableStart, tableEnd - tableStart), partArea, depth);
        whole.cy += part.cy;
        whole.cx = std::max(whole.cx, part.cx);
        position = tableEnd;
    }
    return whole;
}

SIZE CMarkupDrawer::LayoutFlow(const std::wstring& text, const RECT& area, int) {
    Flow flow;
    flow.area = area;
    flow.y = area.top;
    StartLine(flow);
    const std::wstring body = L"<body>" + text + L"</body>";
    MarkupLib::Tokenizer tokenizer(body);
    Token token;
    while (NextToken(tokenizer, token)) {
        if (token.kind == Token::Text) {
            PlaceRun(flow, token.text);
            continue;
        }
        switch (token.closing ? MarkupLib::TagUnknown : token.id) {
        case MarkupLib::TagRule:
            PlaceRule(flow, token);
            break;
        case MarkupLib::TagBreak:
            NewLine(flow, ReadTagCount(token, m_dc), false);
            break;
        case MarkupLib::TagTab:
            PlaceTab(flow, token);
            break;
        case MarkupLib::TagBitmap:
        case MarkupLib::TagIcon:
        case MarkupLib::TagImageList:
            PlaceImage(flow, token);
            break;
        case MarkupLib::TagString:
            PlaceString(flow, token);
            break;
        default:
            ApplyTag(token);
            SelectStyle();
            break;
        }
    }
    EndLine(flow, 1);
    return SIZE{flow.width, flow.y - area.top};
}

void CMarkupDrawer::StartLine(Flow& flow) {
    flow.x = flow.area.left;
    if (m_mode == Measuring) {
        LineRecord line;
        line.align = m_style.horzAlign;
        m_lines.push_back(line);
        return;
    }
    flow.lineMissing = m_lineCounter >= m_lines.size();
    flow.line = flow.lineMissing ? LineRecord() : m_lines[m_lineCounter];
    const int areaWidth = flow.area.right - flow.area.left;
    const int lineWidth = flow.line.width + ::MulDiv(flow.line.rulePercent, areaWidth, 100);
    if (flow.line.align == MarkupLib::AlignCenter)
        flow.x += (areaWidth - lineWidth) / 2;
    else if (flow.line.align == MarkupLib::AlignRight)
        flow.x += areaWidth - lineWidth;
    flow.justifyExtra = 0;
    flow.justifyBlanksUsed = 0;
    if (flow.line.align == MarkupLib::AlignJustify && flow.line.more && flow.line.blanks > 0)
        flow.justifyExtra = std::max(0, areaWidth - lineWidth);
}

void CMarkupDrawer::EndLine(Flow& flow, int breaks) {
    if (m_mode == Measuring) {
        LineRecord& line = m_lines.back();
        if (line.ascent == 0 && line.descent == 0)
            line.ascent = m_metrics.tmHeight;
        line.height = line.ascent + line.descent;
        line.width = flow.x - flow.area.left;
        flow.line = line;
    }
    flow.width = std::max<int>(flow.width, flow.x - flow.area.left);
    flow.y += flow.line.height * std::max(1, breaks);
    ++m_lineCounter;
}

void CMarkupDrawer::NewLine(Flow& flow, int breaks, bool wrapped) {
    if (m_mode == Measuring)
        m_lines.back().more = wrapped;
    EndLine(flow, breaks);
    StartLine(flow);
}

int CMarkupDrawer::LinePartTop(const Flow& flow, int height, int ascent) const {
    switch (m_style.vertAlign) {
    case MarkupLib::AlignTop:
        return flow.y;
    case MarkupLib::AlignVCenter:
        return flow.y + (flow.line.height - height) / 2;
    case MarkupLib::AlignBottom:
        return flow.y + flow.line.height - ascent;
    default:
        return flow.y + flow.line.ascent - ascent;
    }
}

void CMarkupDrawer::AddHotArea(const RECT& rect) {
    if (GetLinkKind() != LinkNone)
        m_hotAreas.push_back(HotArea{rect, GetLinkKind(), GetLinkIndex(), m_style.linkTarget});
}

void CMarkupDrawer::PlaceRun(Flow& flow, std::wstring run) {
    switch (m_style.textTransform) {
    case MarkupLib::TransformUppercase:
        ::CharUpperBuffW(&run[0], static_cast<DWORD>(run.size()));
        break;
    case MarkupLib::TransformLowercase:
        ::CharLowerBuffW(&run[0], static_cast<DWORD>(run.size()));
        break;
    case MarkupLib::TransformCapitalize:
        ::CharLowerBuffW(&run[0], static_cast<DWORD>(run.size()));
        for (std::size_t i = 0; i < run.size(); ++i) {
            if ((i == 0 || run[i - 1] == L' ') && run[i] >= L'a' && run[i] <= L'z')
                run[i] = static_cast<wchar_t>(run[i] - L'a' + L'A');
        }
        break;
    default:
        break;
    }
    const bool breaking = m_maxWidth > 0 && flow.area.right > flow.area.left;
    while (!run.empty()) {
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32W(m_dc, run.c_str(), static_cast<int>(run.size()), &extent);
        const int space = flow.area.right - flow.x;
        if (!breaking || extent.cx <= space) {
            PlacePiece(flow, run, extent);
            return;
        }
        std::vector<int> ends(run.size());
        int fit = 0;
        SIZE whole = {0, 0};
        ::GetTextExtentExPointW(m_dc, run.c_str(), static_cast<int>(run.size()), 0, &fit, ends.data(), &whole);
        const auto widthOf = [&](std::size_t length) { return length == 0 ? 0 : ends[length - 1]; };
        std::size_t taken = 0;
        for (std::size_t i = 0; i < run.size(); ++i) {
            if (!IsBreakCharacter(run[i]))
                continue;
            const std::size_t shown = TrimRight(run.substr(0, i + 1)).size();
            if (shown > 0 && widthOf(shown) <= space)
                taken = i + 1;
        }
        const bool atLineStart = flow.x == flow.area.left;
        if (taken == 0 && atLineStart) {
            taken = 1;
            while (taken < run.size() && widthOf(taken + 1) <= space)
                ++taken;
        }
        if (taken > 0) {
            const std::wstring piece = TrimRight(run.substr(0, taken));
            SIZE pieceExtent = {0, 0};
            ::GetTextExtentPoint32W(m_dc, piece.c_str(), static_cast<int>(piece.size()), &pieceExtent);
            PlacePiece(flow, piece, pieceExtent);
            run = run.substr(taken);
        }
        run = TrimLeft(run);
        if (!run.empty() || taken == 0)
            NewLine(flow, 1, true);
    }
}

void CMarkupDrawer::PlacePiece(Flow& flow, const std::wstring& piece, SIZE extent) {
    if (piece.empty())
        return;
    const int blanks = CountBlanks(piece);
    if (m_mode == Measuring) {
        LineRecord& line = m_lines.back();
        line.ascent = std::max<int>(line.ascent, m_metrics.tmAscent);
        line.descent = std::max<int>(line.descent, extent.cy - m_metrics.tmAscent);
        line.align = m_style.horzAlign;
        line.blanks += blanks;
        flow.x += extent.cx;
        return;
    }
    const bool justified = flow.justifyExtra > 0 && blanks > 0;
    if (justified) {
        // Each run takes its share of the line's extra space by its blanks.
        const int total = flow.line.blanks;
        const int before = ::MulDiv(flow.justifyExtra, flow.justifyBlanksUsed, total);
        flow.justifyBlanksUsed += blanks;
        const int after = ::MulDiv(flow.justifyExtra, flow.justifyBlanksUsed, total);
        ::SetTextJustification(m_dc, after - before, blanks);
        ::GetTextExtentPoint32W(m_dc, piece.c_str(), static_cast<int>(piece.size()), &extent);
    }
    if (!flow.lineMissing) {
        const int top = LinePartTop(flow, extent.cy, m_metrics.tmAscent);
        AddHotArea(RECT{flow.x, top, flow.x + extent.cx, top + extent.cy});
        ::TextOutW(m_dc, flow.x, top, piece.c_str(), static_cast<int>(piece.size()));
        if (m_style.overline) {
            const int thickness = m_style.weight >= 700 ? 2 : 1;
            HBRUSH brush = ::CreateSolidBrush(m_style.textColor);
            const RECT bar = {flow.x, top, flow.x + extent.cx, top + thickness};
            ::FillRect(m_dc, &bar, brush);
            ::DeleteObject(brush);
        }
    }
    if (justified)
        ::SetTextJustification(m_dc, 0, 0);
    flow.x += extent.cx;
}

void CMarkupDrawer::PlaceRule(Flow& flow, const Token& tag) {
    Style rule = m_style;
    ApplyStyleRule(L"hr", rule);
    int width = 100;
    bool percent = true;
    int size = 1;
    COLORREF color = rule.textColor;
    for (const auto& attribute : MarkupLib::ReadAttributes(tag.attributes)) {
        if (attribute.first == L"width") {
            percent = !attribute.second.empty() && attribute.second.back() == L'%';
            width = percent ? static_cast<int>(std::wcstol(attribute.second.c_str(), nullptr, 10))
                            : ReadLength(attribute.second, 0, false);
        } else if (attribute.first == L"size") {
            size = ReadLength(attribute.second, 1, false);
        } else if (attribute.first == L"color") {
            color = ReadColor(attribute.second, color);
        }
    }
    width = Clamp(width, 0, percent ? 100 : kMaxImageSide);
    size = Clamp(size, 0, kMaxImageSide);
    if (m_mode == Measuring) {
        LineRecord& line = m_lines.back();
        if (percent)
            line.rulePercent += width;
        line.ascent = std::max(line.ascent, size + 8);
        flow.x += percent ? 1 : width;
        return;
    }
    const int drawn = percent ? ::MulDiv(width, flow.area.right - flow.area.left, 100) : width;
    if (!flow.lineMissing && drawn > 0 && size > 0) {
        const int middle = flow.y + flow.line.height / 2;
        const RECT bar = {flow.x, middle - size / 2, flow.x + drawn, middle - size / 2 + size};
        HBRUSH brush = ::CreateSolidBrush(color);
        ::FillRect(m_dc, &bar, brush);
        ::DeleteObject(brush);
    }
    flow.x += drawn;
}

void CMarkupDrawer::PlaceTab(Flow& flow, const Token& tag) {
    const int stops = ReadTagCount(tag, m_dc);
    const int offset = flow.x - flow.area.left;
    const int next = (offset >= 0 ? offset / m_tabWidth + 1 : 0) * m_tabWidth;
    flow.x = flow.area.left + next + (stops - 1) * m_tabWidth;
}

void CMarkupDrawer::PlaceString(Flow& flow, const Token& tag) {
    const MarkupLib::StringAttributes attributes =
        MarkupLib::ReadStringAttributes(MarkupLib::ReadAttributes(tag.attributes), GetValueContext());
    if (attributes.resourceId <= 0)
        return;
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(attributes.resourceId),
                                     reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource)
        return;
    const std::wstring text(resource, static_cast<std::size_t>(length));
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32W(m_dc, text.c_str(), length, &extent);
    PlacePiece(flow, text, extent);
}

void CMarkupDrawer::PlaceImage(Flow& flow, const Token& tag) {
    const MarkupLib::ImageAttributes image =
        MarkupLib::ReadImageAttributes(MarkupLib::ReadAttributes(tag.attributes), GetValueContext());
    const bool isIcon = tag.id == MarkupLib::TagIcon;
    const bool isList = tag.id == MarkupLib::TagImageList;
    const int requestedWidth = image.widthPercent ? 0 : image.width;
    const int requestedHeight = image.heightPercent ? 0 : image.height;

    HMODULE program = ::GetModuleHandleW(nullptr);
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    bool owned = true;
    if (isIcon) {
        if (image.resourceId > 0) {
            icon = static_cast<HICON>(::LoadImageW(program, MAKEINTRESOURCEW(image.resourceId), IMAGE_ICON,
                                                   requestedWidth, requestedHeight, 0));
        } else if (image.dllResourceId > 0) {
            ModuleForImages module(image.sourceDll);
            if (module.handle)
                icon = static_cast<HICON>(::LoadImageW(module.handle, MAKEINTRESOURCEW(image.dllResourceId),
                                                       IMAGE_ICON, requestedWidth, requestedHeight, 0));
        } else if (image.handle) {
            icon = reinterpret_cast<HICON>(image.handle);
            owned = false;
        }
    } else {
        if (image.resourceId > 0) {
            bitmap = static_cast<HBITMAP>(
                ::LoadImageW(program, MAKEINTRESOURCEW(image.resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        } else if (!image.file.empty()) {
            bitmap = static_cast<HBITMAP>(::LoadImageW(nullptr, image.file.c_str(), IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        } else if (image.dllResourceId > 0) {
            ModuleForImages module(image.sourceDll);
            if (module.handle)
                bitmap = static_cast<HBITMAP>(::LoadImageW(module.handle, MAKEINTRESOURCEW(image.dllResourceId),
                                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        } else if (image.handle) {
            bitmap = reinterpret_cast<HBITMAP>(image.handle);
            owned = false;
        }
    }
    struct Release {
        HBITMAP bitmap;
        HICON icon;
        bool owned;
        ~Release() {
            if (!owned)
                return;
            if (bitmap)
                ::DeleteObject(bitmap);
            if (icon)
                ::DestroyIcon(icon);
        }
    } release{bitmap, icon, owned};

    SIZE own = {0, 0};
    int cellCount = 0;
    if (icon) {
        own = CDrawManager::GetIconSize(icon);
    } else if (bitmap) {
        own = CDrawManager::GetBitmapSize(bitmap);
        if (isList) {
            if (image.cellWidth <= 0 || image.cellHeight <= 0)
                return;
            cellCount = (own.cx / image.cellWidth) * (own.cy / image.cellHeight);
            own = SIZE{image.cellWidth, image.cellHeight};
        }
    }
    if (own.cx <= 0 || own.cy <= 0)
        return;  // nothing loaded: no picture, no space

    const auto side = [](int given, bool percent, int ownSide) {
        const int side = given <= 0 ? ownSide : percent ? ::MulDiv(ownSide, given, 100) : given;
        return Clamp(side, 0, kMaxImageSide);
    };
    const int width = side(image.width, image.widthPercent, own.cx);
    const int height = side(image.height, image.heightPercent, own.cy);
    const ImageShadow& shadow = m_imageShadow;
    const bool hasShadowOffset = shadow.dx != 0 || shadow.dy != 0;
    const std::wstring& hotLetters = image.hasHotStyle ? image.hotStyle : image.style;
    const bool shadowOn = hasShadowOffset && (image.style.find(L's') != std::wstring::npos ||
                                              hotLetters.find(L's') != std::wstring::npos);
    const int spaceWidth = width + (shadowOn ? shadow.dx : 0);
    const int spaceHeight = height + (shadowOn ? shadow.dy : 0);

    if (m_maxWidth > 0 && flow.area.right > flow.area.left && spaceWidth > flow.area.right - flow.x &&
        flow.x > flow.area.left)
        NewLine(flow, 1, true);

    int index = image.index;
    if (m_mode == Measuring) {
        LineRecord& line = m_lines.back();
        line.ascent = std::max(line.ascent, spaceHeight);
        line.align = m_style.horzAlign;
        if (isList && image.speed > 0)
            m_animations.push_back(Animation{image.index, cellCount, 0, image.speed});
        flow.x += spaceWidth;
        return;
    }
    if (isList && image.speed > 0 && m_animationCounter < m_animations.size())
        index = m_animations[m_animationCounter++].frame;
    if (!flow.lineMissing) {
        const int top = LinePartTop(flow, spaceHeight, spaceHeight);
        AddHotArea(RECT{flow.x, top, flow.x + spaceWidth, top + spaceHeight});
        const bool hot = GetLinkKind() != LinkNone && GetLinkIndex() == GetHotLinkIndex();
        const DWORD shadowEffect = !hasShadowOffset ? DWORD(0)
                                   : shadow.gradient ? DWORD(CDrawManager::EffectGradientShadow)
                                                     : DWORD(CDrawManager::EffectShadow);
        const DWORD effects = MarkupLib::ImageEffectsFromLetters(hot ? hotLetters : image.style, shadowEffect);
        if (icon) {
            m_drawManager.DrawIcon(m_dc, flow.x, top, width, height, icon, image.hasMask, image.maskColor, effects,
                                   shadowOn, shadow.dx, shadow.dy, shadow.blurX, shadow.blurY, shadow.color);
        } else if (isList) {
            if (index >= 0 && index < cellCount)
                m_drawManager.DrawImageList(m_dc, flow.x, top, width, height, bitmap, index, image.cellWidth,
                                            image.cellHeight, image.hasMask, image.maskColor, effects, shadowOn,
                                            shadow.dx, shadow.dy, shadow.blurX, shadow.blurY, shadow.color);
        } else {
            m_drawManager.DrawBitmap(m_dc, flow.x, top, width, height, bitmap, image.hasMask, image.maskColor,
                                     effects, shadowOn, shadow.dx, shadow.dy, shadow.blurX, shadow.blurY,
                                     shadow.color);
        }
    }
    flow.x += spaceWidth;
}

SIZE CMarkupDrawer::LayoutTable(const std::wstring& text, const RECT& area, int depth) {
    if (depth >= kMaxTableDepth)
        return SIZE{0, 0};
    const TableText parsed = ParseTable(text);
    const Style outer = m_style;
    const std::vector<Style> outerStack = m_styleStack;
    ApplyStyleRule(L"table", m_style);
    MarkupLib::ReadTableAttributes(MarkupLib::ReadAttributes(parsed.attributes), m_style, true, GetValueContext());
    SelectStyle();
    const Style tableStyle = m_style;
    const int spacing = std::max(0, tableStyle.padding);
    const int padding = std::max(0, tableStyle.margin);
    const bool doubleBorder = tableStyle.borderStyle == CDrawManager::BorderDouble;
    const int border = std::max(0, doubleBorder ? 3 * tableStyle.borderWidth : tableStyle.borderWidth);

    const std::size_t number = m_tableCounter++;
    Table table;
    if (m_mode == Measuring) {
        m_tables.emplace_back();
        table.rows = static_cast<int>(std::min<std::size_t>(parsed.rows.size(), kMaxCount));
        for (int r = 0; r < table.rows; ++r) {
            int columns = 0;
            for (const CellText& cell : parsed.rows[r].cells) {
                Style scratch;
                const auto span =
                    MarkupLib::ReadTableAttributes(MarkupLib::ReadAttributes(cell.attributes), scratch, false,
                                                   GetValueContext());
                columns += Clamp(span.columns, 1, kMaxSpan);
            }
            table.columns = std::max(table.columns, std::min(columns, kMaxSpan));
        }
        table.cells.resize(static_cast<std::size_t>(table.rows) * table.columns);
        table.columnWidths.assign(table.columns, 0);
        table.fixedColumns.assign(table.columns, false);
        table.rowHeights.assign(table.rows, 0);
    } else {
        if (number >= m_tables.size()) {
            m_style = outer;
            m_styleStack = outerStack;
            SelectStyle();
            return SIZE{0, 0};
        }
        table = m_tables[number];
    }

    // Drawing: share the free width out over the columns without a fixed
    // width, and place the table by its alignment.
    RECT tableRect = area;
    std::vector<int> columnX, rowY;
    if (m_mode == Drawing) {
        int free = (area.right - area.left) - table.size.cx;
        int width = table.size.cx;
        if (free > 0) {
            int open = static_cast<int>(std::count(table.fixedColumns.begin(), table.fixedColumns.end(), false));
            for (int c = 0; c < table.columns && open > 0; ++c) {
                if (table.fixedColumns[c])
                    continue;
                const int share = free / open--;
                table.columnWidths[c] += share;
                free -= share;
                width += share;
            }
            if (tableStyle.horzAlign == MarkupLib::AlignCenter)
                tableRect.left += free / 2;
            else if (tableStyle.horzAlign == MarkupLib::AlignRight)
                tableRect.left += free;
        }
        tableRect.right = tableRect.left + width;
        tableRect.bottom = tableRect.top + table.size.cy;
        if (tableStyle.backEffect >= 0) {
            m_drawManager.FillEffect(m_dc, tableRect, tableStyle.backEffect, tableStyle.backColor,
                                     tableStyle.backMidColor, tableStyle.backEndColor, 5, 0);
        } else if (!tableStyle.backImage.empty()) {
            DrawTableBackground(tableRect, tableStyle.backImage);
        }
        if (tableStyle.borderWidth > 0)
            m_drawManager.DrawRectangle(m_dc, tableRect, tableStyle.borderLightColor, tableStyle.borderDarkColor,
                                        tableStyle.borderStyle, tableStyle.borderWidth);
        const int inset = doubleBorder ? 3 : tableStyle.borderWidth;
        columnX.push_back(tableRect.left + inset + spacing);
        for (int c = 0; c < table.columns; ++c)
            columnX.push_back(columnX.back() + table.columnWidths[c] + spacing + 1);
        rowY.push_back(tableRect.top + inset + spacing);
        for (int r = 0; r < table.rows; ++r)
            rowY.push_back(rowY.back() + table.rowHeights[r] + spacing + 1);
    }

    std::vector<char> covered(table.cells.size(), 0);
    for (int r = 0; r < table.rows; ++r) {
        const RowText& row = parsed.rows[r];
        const Style beforeRow = m_style;
        ApplyStyleRule(L"tr", m_style);
        MarkupLib::ReadTableAttributes(MarkupLib::ReadAttributes(row.attributes), m_style, false, GetValueContext());
        int c = 0;
        for (const CellText& cellText : row.cells) {
            while (c < table.columns && covered[static_cast<std::size_t>(r) * table.columns + c])
                ++c;
            if (c >= table.columns)
                break;
            const Style beforeCell = m_style;
            ApplyStyleRule(L"td", m_style);
            const auto span = MarkupLib::ReadTableAttributes(MarkupLib::ReadAttributes(cellText.attributes), m_style,
                                                             false, GetValueContext());
            SelectStyle();
            const int columnSpan = Clamp(span.columns, 1, std::min(kMaxSpan, table.columns - c));
            const int rowSpan = Clamp(span.rows, 1, std::min(kMaxSpan, table.rows - r));
            for (int rr = r; rr < r + rowSpan; ++rr)
                for (int cc = c; cc < c + columnSpan; ++cc)
                    covered[static_cast<std::size_t>(rr) * table.columns + cc] = 1;
            const int inner = std::max(0, m_style.borderWidth) + padding;
            Cell& cell = table.cells[static_cast<std::size_t>(r) * table.columns + c];
            if (m_mode == Measuring) {
                const int fixedWidth = std::max(0, m_style.width);
                const SIZE content = LayoutText(cellText.content, RECT{0, 0, fixedWidth, 0}, depth + 1);
                cell.present = true;
                cell.columnSpan = columnSpan;
                cell.rowSpan = rowSpan;
                cell.fixedWidth = m_style.width > 0;
                cell.width = std::max<int>(fixedWidth, content.cx) + 2 * inner;
                cell.height = std::max<int>(std::max(0, m_style.height), content.cy) + 2 * inner;
                cell.contentHeight = content.cy;
            } else if (cell.present) {
                const Style cellStyle = m_style;
                RECT cellRect = {columnX[c], rowY[r],
                                 columnX[c] + SpanLength(table.columnWidths, c, columnSpan, spacing),
                                 rowY[r] + SpanLength(table.rowHeights, r, rowSpan, spacing)};
                if (cellStyle.backEffect >= 0)
                    m_drawManager.FillEffect(m_dc, cellRect, cellStyle.backEffect, cellStyle.backColor,
                                             cellStyle.backMidColor, cellStyle.backEndColor, 5, 0);
                if (cellStyle.borderWidth > 0)
                    m_drawManager.DrawRectangle(m_dc, cellRect, cellStyle.borderLightColor,
                                                cellStyle.borderDarkColor, cellStyle.borderStyle, 1);
                RECT contentRect = {cellRect.left + inner, cellRect.top + inner, cellRect.right - inner,
                                    cellRect.bottom - inner};
                const int room = (contentRect.bottom - contentRect.top) - cell.contentHeight;
                if (cellStyle.vertAlign == MarkupLib::AlignVCenter)
                    contentRect.top += room / 2;
                else if (cellStyle.vertAlign == MarkupLib::AlignBottom)
                    contentRect.top += room;
                LayoutText(cellText.content, contentRect, depth + 1);
            }
            m_style = beforeCell;
            c += columnSpan;
        }
        m_style = beforeRow;
    }

    if (m_mode == Measuring) {
        SettleTable(table, spacing, border);
        m_tables[number] = table;
    }
    m_style = outer;
    m_styleStack = outerStack;
    SelectStyle();
    return m_mode == Measuring ? table.size : SIZE{tableRect.right - tableRect.left, table.size.cy};
}

int CMarkupDrawer::SpanLength(const std::vector<int>& lengths, int first, int span, int spacing) {
    int length = (span - 1) * (spacing + 1);
    for (int i = first; i < first + span && i < static_cast<int>(lengths.size()); ++i)
        length += lengths[i];
    return length;
}

namespace {

// Spreads what `lengths[first .. first + span)` lack of `needed` evenly over
// them; the remainder goes to `remainderIndex`.
void GrowToCover(std::vector<int>& lengths, int first, int span, int needed, int remainderIndex) {
    int sum = 0;
    for (int i = first; i < first + span; ++i)
        sum += lengths[i];
    if (sum >= needed)
        return;
    const int difference = needed - sum;
    for (int i = first; i < first + span; ++i)
        lengths[i] += difference / span;
    lengths[remainderIndex] += difference % span;
}

}  // namespace

void CMarkupDrawer::SettleTable(Table& table, int spacing, int border) {
    for (int span = 1; span <= kMaxSpan; ++span) {
        bool more = false;
        for (int r = 0; r < table.rows; ++r) {
            for (int c = 0; c < table.columns; ++c) {
                const Cell& cell = table.cells[static_cast<std::size_t>(r) * table.columns + c];
                if (!cell.present)
                    continue;
                more = more || cell.columnSpan > span;
                if (cell.columnSpan != span)
                    continue;
                GrowToCover(table.columnWidths, c, span, cell.width, c + span - 1);
                if (cell.fixedWidth)
                    for (int i = c; i < c + span; ++i)
                        table.fixedColumns[i] = true;
            }
        }
        if (!more)
            break;
    }
    for (int span = 1; span <= kMaxSpan; ++span) {
        bool more = false;
        for (int r = 0; r < table.rows; ++r) {
            for (int c = 0; c < table.columns; ++c) {
                const Cell& cell = table.cells[static_cast<std::size_t>(r) * table.columns + c];
                if (!cell.present)
                    continue;
                more = more || cell.rowSpan > span;
                if (cell.rowSpan != span)
                    continue;
                GrowToCover(table.rowHeights, r, span, cell.height, r);
            }
        }
        if (!more)
            break;
    }
    int width = 0, height = 0;
    for (int w : table.columnWidths)
        width += w;
    for (int h : table.rowHeights)
        height += h;
    if (table.columns > 0)
        width += (table.columns + 1) * spacing + (table.columns - 1);
    if (table.rows > 0)
        height += (table.rows + 1) * spacing + (table.rows - 1);
    table.size = SIZE{width + 2 * border, height + 2 * border};
}

void CMarkupDrawer::DrawTableBackground(const RECT& rect, const std::wstring& reference) {
    const MarkupLib::ImageReference image = MarkupLib::ParseImageReference(reference);
    HBITMAP bitmap = nullptr;
    if (image.kind == MarkupLib::ImageReference::Resource && image.resourceId > 0)
        bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(image.resourceId),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    else if (image.kind == MarkupLib::ImageReference::File)
        bitmap = static_cast<HBITMAP>(
            ::LoadImageW(nullptr, image.file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap)
        return;
    const SIZE size = CDrawManager::GetBitmapSize(bitmap);
    HDC source = ::CreateCompatibleDC(m_dc);
    HGDIOBJ previous = ::SelectObject(source, bitmap);
    m_drawManager.DrawTile(m_dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0,
                           size.cx, size.cy);
    ::SelectObject(source, previous);
    ::DeleteDC(source);
    ::DeleteObject(bitmap);
}
