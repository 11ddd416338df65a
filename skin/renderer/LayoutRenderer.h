#pragma once
// Paints a skinned dialog from its layout window: the window's own visual,
// then every element that is no child window, each through the visual state
// its mouse state picks, each state's picture as its ordered drawables.
// Pictures, icons, colours, fonts and strings come from the resource
// manager, referenced pictures from the layout manager, both through the
// control host's renderer data; a render callback may take over single
// drawables.
//
// A missing picture, state, icon, bitmap, font or colour draws nothing for
// that item and the paint goes on.
//
// GUI thread only, inside the surface's paint.
#include "skin/autocontrols/IAutoControlHost.h"
#include "skin/commongui/Canvas.h"
#include "skin/layout/IDrawable.h"
#include "skin/layout/IObject.h"
#include "skin/layout/IPicture.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <string>
#include <vector>

namespace LayoutRenderer {

typedef CanvasT<CConstructibleDC> Canvas;

// Lets the dialog draw single drawables its own way. Every operation
// answers true when it handled the request.
class IRenderCallback {
public:
    virtual ~IRenderCallback() = default;
    // The renderer draws nothing for the drawable.
    virtual bool OnDrawDrawable(boost::shared_ptr<LayoutLib::IDrawable> drawable, Canvas& canvas,
                                boost::shared_ptr<LayoutLib::IElement> element, const RECT& rect) = 0;
    // A special drawable is drawn by nobody else.
    virtual bool OnDrawSpecial(boost::shared_ptr<LayoutLib::IDrawable> drawable, Canvas& canvas,
                               boost::shared_ptr<LayoutLib::IElement> element, const RECT& rect) = 0;
    virtual bool OnGetBitmap(boost::shared_ptr<LayoutLib::IDrawable> drawable, Canvas& canvas,
                             boost::shared_ptr<LayoutLib::IElement> element, CommonGuiLib::SharedBitmap& bitmap) = 0;
    virtual bool OnGetIcon(boost::shared_ptr<LayoutLib::IDrawable> drawable, Canvas& canvas,
                           boost::shared_ptr<LayoutLib::IElement> element, SIZE size,
                           CommonGuiLib::SharedIcon& icon) = 0;
    virtual bool OnGetText(boost::shared_ptr<LayoutLib::IDrawable> drawable, Canvas& canvas,
                           boost::shared_ptr<LayoutLib::IElement> element, std::wstring& text) = 0;
};

// Who the renderer draws for; held by the surface.
struct RenderContext {
    HWND window = nullptr;  // for the client rectangle; may be null
    IRenderCallback* callback = nullptr;
    IAutoControlHost* host = nullptr;
    // The canvas of the paint under way, so the callback can tell it from
    // an off-screen one.
    Canvas* canvas = nullptr;
};

// Draws the layout on `dc` over `rect` (the window's client rectangle when
// empty), only the objects that meet `updateRegion` when it is given. The
// DC's modes and colours are as before afterwards.
void Paint(RenderContext& context, CDC& dc, HRGN updateRegion, const RECT& rect);

// One window or element: its visual in the state the host reports.
void DrawObject(RenderContext& context, const boost::shared_ptr<LayoutLib::IObject>& object, Canvas& canvas,
                const RECT& rect, HRGN updateRegion);

// The drawables of a picture placed in `rect`; nothing for a picture of
// another size that is not resizable.
void DrawPicture(RenderContext& context, const boost::shared_ptr<LayoutLib::IPicture>& picture, Canvas& canvas,
                 const RECT& rect, const boost::shared_ptr<LayoutLib::IElement>& element, IRenderCallback* callback);

// One drawable, placed in `rect` against `referenceSize`.
void DrawDrawable(RenderContext& context, const boost::shared_ptr<LayoutLib::IDrawable>& drawable,
                  const boost::shared_ptr<LayoutLib::IElement>& element, Canvas& canvas, const RECT& rect,
                  SIZE referenceSize, IRenderCallback* callback);

// -1 repaints the whole client area (erasing); another index below 0 does
// nothing; any other the element's region.
void InvalidateElement(HWND window, IAutoControlHost& host, int index);

// Enables and shows or hides the child window of every windowed element
// (only those whose index is listed, when a list is given) as the host's
// state of the element says.
void UpdateChildWindows(IAutoControlHost& host, const std::vector<int>* indices);

}  // namespace LayoutRenderer
