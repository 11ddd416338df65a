#include "skin/renderer/LayoutRenderer.h"

#include "graphics/commongui/PictureLoaders.h"
#include "resources/resourcelib/IManager.h"
#include "skin/autocontrols/IAutoControl.h"
#include "skin/commongui/DCSelector.h"
#include "skin/renderer/ProgressLook.h"

#include <boost/pointer_cast.hpp>

#include <shlwapi.h>

#include <algorithm>
#include <cmath>

namespace LayoutRenderer {

namespace {

using namespace LayoutLib;
using CommonGuiLib::IsNullGDIObject;
using CommonGuiLib::SharedBitmap;
using CommonGuiLib::SharedFont;
using CommonGuiLib::SharedIcon;

// An off-screen or resampled picture may be this many times the target's
// side, and no side longer than kMaxSide: a skin's "aa" factor is not
// bounded, and a huge one must not overflow or take the memory.
const double kMaxScale = 16.0;
const long long kMaxSide = 16384;

int Width(const RECT& rect) {
    return rect.right - rect.left;
}
int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// The rectangle's size times the factor, each truncated toward zero; false
// when that does not fit.
bool ScaledSize(const RECT& rect, double factor, int& width, int& height) {
    const double w = std::trunc(Width(rect) * factor);
    const double h = std::trunc(Height(rect) * factor);
    if (!(w >= 1.0) || !(h >= 1.0))
        return false;
    if (w > kMaxScale * std::max(1, Width(rect)) || h > kMaxScale * std::max(1, Height(rect)))
        return false;
    if (w > kMaxSide || h > kMaxSide)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// Sets the stretch mode and brush origin that HALFTONE needs, and puts both
// back when it goes.
class HalftoneScope {
public:
    explicit HalftoneScope(HDC dc) : m_dc(dc), m_selector(dc) {
        m_selector.SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, &m_origin);
    }
    ~HalftoneScope() { ::SetBrushOrgEx(m_dc, m_origin.x, m_origin.y, nullptr); }
    HalftoneScope(const HalftoneScope&) = delete;
    HalftoneScope& operator=(const HalftoneScope&) = delete;

private:
    HDC m_dc;
    DCSelector m_selector;
    POINT m_origin = {};
};

ResourceLib::IManager* Resources(RenderContext& context) {
    return context.host ? context.host->GetRendererData().resourceManager.get() : nullptr;
}

boost::shared_ptr<IPicture> FindPicture(RenderContext& context, const std::wstring& name) {
    const boost::shared_ptr<IManager> layout = context.host ? context.host->GetLayoutManager() : nullptr;
    if (!layout || name.empty())
        return nullptr;
    return layout->GetPicture(name, CustomValues());
}

COLORREF ResolveColor(ResourceLib::IManager* resources, const std::wstring& name, COLORREF color) {
    if (name.empty() || !resources)
        return color;
    return resources->GetColorByName(name);
}

// The size the icon is asked for: with stretch None the largest that fits
// (else the smallest), otherwise the largest at least as large as the
// rectangle (else the largest). Sizes come in ascending area, so the later
// of two equal areas wins.
SIZE ChooseIconSize(const IIcon& icon, const RECT& rect) {
    SizeList sizes;
    icon.GetSizes(sizes);
    if (sizes.empty())
        return SIZE{0, 0};
    const int width = Width(rect);
    const int height = Height(rect);
    const bool fitInside = icon.GetStretch() == StretchNone;
    const SIZE* chosen = nullptr;
    for (const SIZE& size : sizes) {
        const bool matches =
            fitInside ? size.cx <= width && size.cy <= height : size.cx >= width && size.cy >= height;
        if (matches)
            chosen = &size;
    }
    if (!chosen)
        chosen = fitInside ? &sizes.front() : &sizes.back();
    return *chosen;
}

void DrawIconDrawable(RenderContext& context, const boost::shared_ptr<IDrawable>& drawable,
                      const boost::shared_ptr<IElement>& element, Canvas& canvas, const RECT& rect,
                      IRenderCallback* callback) {
    const auto icon = boost::dynamic_pointer_cast<IIcon>(drawable);
    if (!icon)
        return;
    const SIZE size = ChooseIconSize(*icon, rect);
    SharedIcon picture;
    if (!(callback && callback->OnGetIcon(drawable, canvas, element, size, picture))) {
        if (ResourceLib::IManager* resources = Resources(context))
            picture = resources->GetIconByName(drawable->GetName(), size.cx, size.cy);
    }
    if (IsNullGDIObject(picture))
        return;
    switch (icon->GetStretch()) {
    case StretchNone:
        canvas.DrawingHelpers::DrawIcon(picture, POINT{rect.left, rect.top});
        break;
    case StretchSnap:
        canvas.DrawingHelpers::DrawIcon(picture, RECT{rect.left, rect.top, rect.left + size.cx, rect.top + size.cy});
        break;
    default:
        canvas.DrawingHelpers::DrawIcon(picture, rect);
        break;
    }
}

void DrawTextDrawable(RenderContext& context, const boost::shared_ptr<IDrawable>& drawable,
                      const boost::shared_ptr<IElement>& element, Canvas& canvas, const RECT& rect,
                      IRenderCallback* callback) {
    const auto text = boost::dynamic_pointer_cast<IText>(drawable);
    if (!text)
        return;
    ResourceLib::IManager* resources = Resources(context);
    const HDC dc = canvas.m_hDC;
    DCSelector selector(dc);
    selector.SetBkMode(dc, TRANSPARENT).SetTextColor(dc, ResolveColor(resources, text->GetColorName(), text->GetColor()));
    if (resources && !text->GetFont().empty()) {
        const SharedFont font = resources->GetFontByName(text->GetFont());
        if (!IsNullGDIObject(font)) {
            selector.SelectObject(dc, 0, font->GetHandle());
            selector.Hold(0, font);
        }
    }

    std::wstring content;
    if (!(callback && callback->OnGetText(drawable, canvas, element, content))) {
        content = text->GetText();
        if (content.empty() && resources)
            content = resources->GetStringByName(drawable->GetName());
    }
    if (content.empty())
        return;

    const int horz = text->GetHorzAlignment();
    const int vert = text->GetVertAlignment();
    const int ellipsis = text->GetEllipsisMode();
    const bool severalLines =
        (horz == HorzLeft && ellipsis == EllipsisNone) || content.find(L'\n') != std::wstring::npos;
    UINT format = severalLines ? DT_WORDBREAK : DT_SINGLELINE;
    if (horz == HorzCenter)
        format |= DT_CENTER;
    else if (horz == HorzRight)
        format |= DT_RIGHT;
    if (!severalLines) {
        if (ellipsis == EllipsisEnd)
            format |= DT_END_ELLIPSIS;
        else if (ellipsis == EllipsisWord)
            format |= DT_WORD_ELLIPSIS;
        else if (ellipsis == EllipsisPath)
            format |= DT_PATH_ELLIPSIS;
        if (vert == VertNotGiven || vert == VertCenter)
            format |= DT_VCENTER;
        else if (vert == VertBottom)
            format |= DT_BOTTOM;
    }
    RECT placed = rect;
    if (severalLines && (vert == VertCenter || vert == VertBottom)) {
        RECT measured = rect;
        ::DrawTextW(dc, content.c_str(), static_cast<int>(content.size()), &measured, format | DT_CALCRECT);
        const int free = Height(rect) - Height(measured);
        placed.top += vert == VertCenter ? free / 2 : free;
    }
    ::DrawTextW(dc, content.c_str(), static_cast<int>(content.size()), &placed, format);
}

SharedBitmap FileBitmap(RenderContext& context, const std::wstring& path) {
    RendererData& data = context.host->GetRendererData();
    const auto cached = data.bitmapCache.find(path);
    if (cached != data.bitmapCache.end())
        return cached->second;
    // Relative paths start at the skin's folder, not at the process's
    // current folder.
    std::wstring file = path;
    const boost::shared_ptr<IManager> layout = context.host->GetLayoutManager();
    const std::wstring base = layout ? layout->GetBaseFolder() : std::wstring();
    if (::PathIsRelativeW(path.c_str()) && !base.empty())
        file = base + (base.back() == L'\\' || base.back() == L'/' ? L"" : L"\\") + path;
    const SharedBitmap bitmap = CommonGuiLib::LoadBitmapFromFile(file, true);
    if (!IsNullGDIObject(bitmap))
        data.bitmapCache[path] = bitmap;
    return bitmap;
}

void DrawBitmapDrawable(RenderContext& context, const boost::shared_ptr<IDrawable>& drawable,
                        const boost::shared_ptr<IElement>& element, Canvas& canvas, const RECT& rect,
                        IRenderCallback* callback) {
    const auto bitmap = boost::dynamic_pointer_cast<IBitmap>(drawable);
    if (!bitmap || !context.host)
        return;
    SharedBitmap picture;
    if (!(callback && callback->OnGetBitmap(drawable, canvas, element, picture))) {
        const std::wstring path = bitmap->GetPath();
        if (!path.empty())
            picture = FileBitmap(context, path);
        else if (ResourceLib::IManager* resources = Resources(context))
            picture = resources->GetBitmapByName(drawable->GetName(), true);
    }
    if (IsNullGDIObject(picture))
        return;
    if (bitmap->IsTiled())
        canvas.DrawBitmap(picture, rect);
    else
        canvas.StretchBitmap(picture, rect);
}

// The shapes' pen and brush go through these slots and holds of the
// canvas's own selector and stay selected for the shapes after: a look
// draws many shapes of one colour, and selecting costs more than drawing.
// The canvas puts the DC's own pen and brush back when it goes. Slot 0 is a
// canvas's own bitmap.
const std::size_t kShapePenSlot = 1;
const std::size_t kShapeBrushSlot = 2;

bool IsSolidPenSelected(HDC dc, int width, COLORREF color) {
    LOGPEN pen = {};
    return ::GetObjectW(::GetCurrentObject(dc, OBJ_PEN), sizeof(pen), &pen) == sizeof(pen) &&
           pen.lopnStyle == PS_SOLID && pen.lopnWidth.x == width && pen.lopnColor == color;
}

bool IsSolidBrushSelected(HDC dc, COLORREF color) {
    LOGBRUSH brush = {};
    return ::GetObjectW(::GetCurrentObject(dc, OBJ_BRUSH), sizeof(brush), &brush) == sizeof(brush) &&
           brush.lbStyle == BS_SOLID && brush.lbColor == color;
}

// Selects a stock object through the slot unless the DC has it already.
void SelectStock(Canvas& canvas, std::size_t slot, UINT objectType, int stockObject) {
    const HGDIOBJ stock = ::GetStockObject(stockObject);
    if (::GetCurrentObject(canvas.m_hDC, objectType) != stock)
        canvas.DCSelector::SelectObject(canvas.m_hDC, slot, stock);
}

// Selects a pen or brush made for this shape; the canvas keeps it until it
// has put the DC's own back.
void SelectMade(Canvas& canvas, std::size_t slot, HGDIOBJ object) {
    canvas.DCSelector::SelectObject(canvas.m_hDC, slot, object);
    // After the selection: the object held before is no longer selected.
    canvas.Hold(slot, CommonGuiLib::MakeGdiHold(object));
}

void DrawShapeDrawable(RenderContext& context, const boost::shared_ptr<IDrawable>& drawable, Canvas& canvas,
                       const RECT& rect) {
    const auto shape = boost::dynamic_pointer_cast<IShape>(drawable);
    if (!shape)
        return;
    ResourceLib::IManager* resources = Resources(context);
    const double factor = shape->IsSupersampled() ? shape->GetAdjustmentFactor() : 1.0;
    const HDC dc = canvas.m_hDC;
    RECT area = rect;
    if (shape->HasBorder()) {
        const int width = static_cast<int>(shape->GetBorderWidth() * factor);
        const COLORREF color = ResolveColor(resources, shape->GetBorderColorName(), shape->GetBorderColor());
        if (!IsSolidPenSelected(dc, width, color)) {
            if (const HPEN pen = ::CreatePen(PS_SOLID, width, color))
                SelectMade(canvas, kShapePenSlot, pen);
        }
    } else {
        // The null pen leaves the right and bottom edges out.
        SelectStock(canvas, kShapePenSlot, OBJ_PEN, NULL_PEN);
        ++area.right;
        ++area.bottom;
    }
    bool patterned = false;
    if (!shape->HasFill()) {
        SelectStock(canvas, kShapeBrushSlot, OBJ_BRUSH, NULL_BRUSH);
    } else {
        const std::wstring bitmapName = shape->GetFillBitmapName();
        const SharedBitmap pattern = !bitmapName.empty() && resources ? resources->GetBitmapByName(bitmapName, false)
                                                                      : SharedBitmap();
        HBRUSH brush = nullptr;
        if (!bitmapName.empty()) {
            if (IsNullGDIObject(pattern)) {
                SelectStock(canvas, kShapeBrushSlot, OBJ_BRUSH, NULL_BRUSH);
            } else {
                brush = ::CreatePatternBrush(pattern->GetHandle());
                if (!brush)
                    return;
                patterned = true;
            }
        } else {
            const COLORREF color = ResolveColor(resources, shape->GetFillColorName(), shape->GetFillColor());
            if (!IsSolidBrushSelected(dc, color)) {
                brush = ::CreateSolidBrush(color);
                if (!brush)
                    return;
            }
        }
        if (brush)
            SelectMade(canvas, kShapeBrushSlot, brush);
    }
    POINT origin = {};
    if (patterned)
        ::SetBrushOrgEx(dc, rect.left, rect.top, &origin);
    switch (shape->GetShapeKind()) {
    case ShapeKindRoundedRectangle: {
        const SIZE rounding = shape->GetRoundingSize();
        ::RoundRect(dc, area.left, area.top, area.right, area.bottom, static_cast<int>(rounding.cx * factor),
                    static_cast<int>(rounding.cy * factor));
        break;
    }
    case ShapeKindEllipse:
        ::Ellipse(dc, area.left, area.top, area.right, area.bottom);
        break;
    default:
        ::Rectangle(dc, area.left, area.top, area.right, area.bottom);
        break;
    }
    if (patterned)
        ::SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
}

// Steps 4 and 5 of a drawable: the callback first, then by kind.
void DrawContent(RenderContext& context, const boost::shared_ptr<IDrawable>& drawable,
                 const boost::shared_ptr<IElement>& element, Canvas& canvas, const RECT& rect,
                 IRenderCallback* callback) {
    if (callback && callback->OnDrawDrawable(drawable, canvas, element, rect))
        return;
    switch (drawable->GetKind()) {
    case DrawablePictureReference:
        DrawPicture(context, FindPicture(context, drawable->GetName()), canvas, rect, element, nullptr);
        break;
    case DrawableIcon:
        DrawIconDrawable(context, drawable, element, canvas, rect, callback);
        break;
    case DrawableText:
        DrawTextDrawable(context, drawable, element, canvas, rect, callback);
        break;
    case DrawableBitmap:
        DrawBitmapDrawable(context, drawable, element, canvas, rect, callback);
        break;
    case DrawableShape:
        DrawShapeDrawable(context, drawable, canvas, rect);
        break;
    case DrawableSpecial:
        if (callback)
            callback->OnDrawSpecial(drawable, canvas, element, rect);
        break;
    default:
        break;
    }
}

// "Adjustment" mode: what was drawn in `rect` goes through a canvas of its
// size times the factor and back, smoothing it.
void Resample(const IDrawable& drawable, Canvas& canvas, const RECT& rect) {
    const double factor = drawable.GetAdjustmentFactor();
    if (drawable.GetAdjustmentMode() != AdjustmentAdjust || !(factor > 0.0) || factor == 1.0)
        return;
    int width = 0;
    int height = 0;
    if (!ScaledSize(rect, factor, width, height))
        return;
    Canvas scaled(&canvas, SIZE{width, height});
    if (drawable.GetAdjustmentFlag())
        scaled.SetStretchBltMode(scaled.m_hDC, HALFTONE);
    const RECT scaledRect = {0, 0, width, height};
    scaled.Blit(canvas, scaledRect, rect, 0);
    HalftoneScope halftone(canvas.m_hDC);
    canvas.Blit(scaled, rect, scaledRect, 0);
}

}  // namespace

void Paint(RenderContext& context, CDC& dc, HRGN updateRegion, const RECT& rect) {
    IAutoControlHost* host = context.host;
    if (!host)
        return;
    const boost::shared_ptr<IWindow> window = host->GetLayoutWindow();
    if (!window || !host->GetLayoutManager() || !host->GetRendererData().resourceManager)
        return;

    Canvas canvas(&dc);
    canvas.SetBkMode(canvas.m_hDC, TRANSPARENT);
    canvas.SetBkColor(canvas.m_hDC, RGB(0, 0, 0));
    canvas.SetTextColor(canvas.m_hDC, RGB(0, 0, 0));

    struct CurrentCanvas {
        RenderContext& context;
        Canvas* previous;
        ~CurrentCanvas() { context.canvas = previous; }
    } current{context, context.canvas};
    context.canvas = &canvas;

    RECT area = rect;
    if (::IsRectEmpty(&area) && context.window)
        ::GetClientRect(context.window, &area);
    DrawObject(context, window, canvas, area, updateRegion);

    ElementList elements;
    window->GetElements(elements);
    for (const boost::shared_ptr<IElement>& element : elements) {
        // Child windows paint themselves.
        if (!element || element->IsWindowed() || element->GetId() == -1)
            continue;
        RECT elementRect = host->GetElementRect(element->GetId());
        ::OffsetRect(&elementRect, area.left, area.top);
        DrawObject(context, element, canvas, elementRect, updateRegion);
    }
}

void DrawObject(RenderContext& context, const boost::shared_ptr<IObject>& object, Canvas& canvas, const RECT& rect,
                HRGN updateRegion) {
    IAutoControlHost* host = context.host;
    if (!object || !host)
        return;
    const boost::shared_ptr<IVisualInfo> visual = object->GetVisual();
    if (!visual)
        return;
    ElementState state = host->GetElementState(object->GetId());
    if (!state.visible)
        return;
    // A box of the same size elsewhere: the region no longer lies where the
    // object is drawn.
    if (Width(state.box) == Width(rect) && Height(state.box) == Height(rect) &&
        (state.box.left != rect.left || state.box.top != rect.top))
        state.region.reset();
    if (updateRegion && !::RectInRegion(updateRegion, &rect))
        return;

    const boost::shared_ptr<IElement> element = boost::dynamic_pointer_cast<IElement>(object);
    const std::wstring type = visual->GetType();
    if (type == L"Rollover") {
        boost::shared_ptr<IVisualState> visualState = visual->FindState(host->GetStatePictureName(state));
        if (!visualState)
            visualState = visual->FindState(StatePictureNames::kOut);
        if (!visualState)
            return;
        DrawPicture(context, FindPicture(context, visualState->GetPicture()), canvas, rect, element,
                    context.callback);
    } else if (type == L"WLProgress") {
        if (!element)
            return;
        // The caller's values of a progress element: whatever its controls
        // put into a fresh map.
        CustomValues values;
        host->PrepareElementValues(element, values);
        DrawProgressLook(context, canvas, rect, element, values);
    } else if (!type.empty() && element) {
        if (IAutoControl* control = host->GetAutoControl(element))
            control->DrawElement(&canvas, element, rect);
    }
}

void DrawPicture(RenderContext& context, const boost::shared_ptr<IPicture>& picture, Canvas& canvas,
                 const RECT& rect, const boost::shared_ptr<IElement>& element, IRenderCallback* callback) {
    if (!picture)
        return;
    const SIZE size = picture->GetSize();
    if ((size.cx != Width(rect) || size.cy != Height(rect)) && !picture->IsResizable())
        return;
    DrawableList drawables;
    picture->GetDrawables(drawables);
    for (const boost::shared_ptr<IDrawable>& drawable : drawables)
        DrawDrawable(context, drawable, element, canvas, rect, size, callback);
}

void DrawDrawable(RenderContext& context, const boost::shared_ptr<IDrawable>& drawable,
                  const boost::shared_ptr<IElement>& element, Canvas& canvas, const RECT& rect, SIZE referenceSize,
                  IRenderCallback* callback) {
    if (!drawable)
        return;
    int transparency = drawable->GetTransparency();
    if (transparency > 99)
        return;
    if (transparency < 0)
        transparency = 0;
    const RECT target = PlaceInElementRect(drawable->GetPosition(), drawable->GetAnchors(), referenceSize, rect);
    const bool supersampled = drawable->IsSupersampled();
    if (transparency == 0 && !supersampled) {
        DrawContent(context, drawable, element, canvas, target, callback);
        Resample(*drawable, canvas, target);
        return;
    }

    // Composed off-screen over a copy of what lies under it.
    const bool supersampling = drawable->GetAdjustmentMode() == AdjustmentSupersampling;
    RECT source = target;
    if (supersampling) {
        int width = 0;
        int height = 0;
        if (!ScaledSize(target, drawable->GetAdjustmentFactor(), width, height))
            return;
        source.right = source.left + width;
        source.bottom = source.top + height;
    }
    if (Width(target) <= 0 || Height(target) <= 0 || source.right <= 0 || source.bottom <= 0 ||
        source.right > kMaxSide || source.bottom > kMaxSide)
        return;
    Canvas composed(&canvas, SIZE{source.right, source.bottom});
    if (supersampling && drawable->GetAdjustmentFlag()) {
        composed.SetStretchBltMode(composed.m_hDC, HALFTONE);
        ::SetBrushOrgEx(composed.m_hDC, 0, 0, nullptr);
    }
    composed.Blit(canvas, source, target, 0);
    DrawContent(context, drawable, element, composed, source, callback);
    Resample(*drawable, composed, source);
    if (supersampling) {
        HalftoneScope halftone(canvas.m_hDC);
        canvas.Blit(composed, target, source, transparency);
    } else {
        canvas.Blit(composed, target, source, transparency);
    }
}

void InvalidateElement(HWND window, IAutoControlHost& host, int index) {
    if (index == -1) {
        ::InvalidateRect(window, nullptr, TRUE);
        return;
    }
    if (index < 0)
        return;
    const CommonGuiLib::SharedRegion region = host.GetRegionSet().GetRegion(index);
    if (!IsNullGDIObject(region))
        ::InvalidateRgn(window, region->GetHandle(), TRUE);
}

void UpdateChildWindows(IAutoControlHost& host, const std::vector<int>* indices) {
    const boost::shared_ptr<IWindow> window = host.GetLayoutWindow();
    if (!window)
        return;
    ElementList elements;
    window->GetElements(elements);
    for (const boost::shared_ptr<IElement>& element : elements) {
        if (!element || !element->IsWindowed())
            continue;
        if (indices && std::find(indices->begin(), indices->end(), element->GetId()) == indices->end())
            continue;
        const HWND child = host.GetElementWindow(element);
        if (!::IsWindow(child))
            continue;
        const ElementState state = host.GetElementState(element->GetId());
        ::EnableWindow(child, state.enabled);
        ::ShowWindow(child, state.visible ? SW_SHOW : SW_HIDE);
    }
}

}  // namespace LayoutRenderer
