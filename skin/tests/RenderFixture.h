#pragma once
// A layout painted by the renderer into a 32-bit DIB section: a real layout
// manager from layout text, a real resource manager over a skin folder the
// test writes, and a fake control host with the element boxes.
#include "graphics/gdiplus/GdiplusStartupHolder.h"
#include "graphics/tests/DibCanvas.h"
#include "skin/renderer/LayoutRenderer.h"
#include "skin/tests/FakeControlHost.h"
#include "skin/tests/LayoutText.h"
#include "testing/ResourceFolder.h"

#include <string>

namespace SkinTesting {

// A picture of one colour filling it, resizable unless said.
inline std::wstring FillPicture(const std::wstring& name, int width, int height, const std::wstring& color,
                                bool resizable = true) {
    return L"<Picture name=\"" + name + L"\" width=\"" + std::to_wstring(width) + L"\" height=\"" +
           std::to_wstring(height) + L"\" resizable=\"" + (resizable ? L"1" : L"0") + L"\"><Fill color=\"" + color +
           L"\" position=\"0,0," + std::to_wstring(width) + L"," + std::to_wstring(height) +
           L"\" anchors=\"Left;Top;Right;Bottom\"/></Picture>";
}

// A Rollover element with one state per (state, picture) pair.
inline std::wstring RolloverElement(const std::wstring& name, int id, const std::wstring& states,
                                    const std::wstring& extra = std::wstring()) {
    return L"<Element name=\"" + name + L"\" id=\"" + std::to_wstring(id) + L"\" position=\"0,0,1,1\" " + extra +
           L"><Visual type=\"Rollover\"><States>" + states + L"</States></Visual></Element>";
}

inline std::wstring State(const std::wstring& name, const std::wstring& picture) {
    return L"<State name=\"" + name + L"\" picture=\"" + picture + L"\"/>";
}

struct RenderFixture {
    GdiplusStartupHolder gdiplus;
    ResourceTesting::ResourceFolder folder;
    FakeControlHost host;
    boost::shared_ptr<LayoutLib::IManager> manager;
    LayoutRenderer::IRenderCallback* callback = nullptr;

    void Open(const std::string& resources, const std::wstring& elements, const std::wstring& pictures) {
        folder.WriteResources(L"Common", resources);
        folder.Open();
        manager = LoadLayout(L"<Window name=\"w\"><Elements>" + elements + L"</Elements></Window>", pictures);
        host.window = manager->GetWindow(L"w");
        host.data.layoutManager = manager;
        host.data.resourceManager = folder.manager;
    }

    void Paint(DibCanvas& canvas, HRGN updateRegion = nullptr) {
        CDC dc;
        dc.Attach(canvas.Dc());
        LayoutRenderer::RenderContext context;
        context.host = &host;
        context.callback = callback;
        LayoutRenderer::Paint(context, dc, updateRegion, RECT{0, 0, canvas.Width(), canvas.Height()});
        dc.Detach();
    }
};

}  // namespace SkinTesting
