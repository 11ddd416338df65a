#include "skin/renderer/ProgressLook.h"

#include "resources/resourcelib/IManager.h"
#include "skin/commongui/LookDrawing.h"
#include "skin/layout/CustomGetters.h"

namespace LayoutRenderer {

namespace {

using namespace LayoutLib;
using CommonGuiLib::ControlLook;

int TextOrientation(const std::wstring& word) {
    if (word == L"Left")
        return ControlLook::TextLeft;
    if (word == L"Center")
        return ControlLook::TextCenter;
    if (word == L"Right")
        return ControlLook::TextRight;
    if (word == L"ProgressRight")
        return ControlLook::TextProgressRight;
    return ControlLook::TextAtPosition;
}

void DrawLookPicture(RenderContext& context, Canvas& canvas, const RECT& rect, const std::wstring& name,
                     const boost::shared_ptr<IElement>& element) {
    const boost::shared_ptr<IManager> layout = context.host ? context.host->GetLayoutManager() : nullptr;
    if (!layout || name.empty())
        return;
    DrawPicture(context, layout->GetPicture(name, CustomValues()), canvas, rect, element, nullptr);
}

}  // namespace

bool ReadProgressLook(const IElement& element, const CustomValues& callerValues, ResourceLib::IManager* resources,
                      ControlLook& look) {
    const boost::shared_ptr<IVisualInfo> visual = element.GetVisual();
    if (!visual)
        return false;
    const boost::shared_ptr<IVisualState> state = visual->FindState(GetCustomString(L"state", callerValues, L"default"));
    if (!state)
        return false;
    const CustomValues& own = state->GetCustomValues();
    const auto text = [&](const wchar_t* name) { return GetCustomString(name, callerValues, own, std::wstring()); };
    const auto number = [&](const wchar_t* name) { return GetCustomInt(name, callerValues, own, 0); };
    const auto flag = [&](const wchar_t* name) { return GetCustomBool(name, callerValues, own, false); };
    const auto bitmap = [&](const std::wstring& name) {
        return name.empty() || !resources ? CommonGuiLib::SharedBitmap() : resources->GetBitmapByName(name, true);
    };

    ControlLook read;
    read.progress = GetCustomDouble(L"progress", callerValues, own, 0.0);
    read.background = bitmap(text(L"background"));
    read.stretchBackground = flag(L"stretchBackground");
    read.backgroundPicture = text(L"backgroundPicture");
    read.foreground = bitmap(text(L"foreground"));
    read.stretchForeground = flag(L"stretchForeground");
    read.foregroundPicture = text(L"foregroundPicture");
    read.progressChunkWidth = number(L"progressChunkWidth");
    read.text = text(L"text");
    read.textOrientation = TextOrientation(text(L"textOrientation"));
    read.textTop = number(L"textTop");
    read.textLeft = number(L"textLeft");
    read.textPaddingBottom = number(L"textPaddingBottom");
    read.textPaddingRight = number(L"textPaddingRight");
    read.textPaddingTop = number(L"textPaddingTop");
    read.textPaddingLeft = number(L"textPaddingLeft");
    const std::wstring font = text(L"textFont");
    if (!font.empty() && resources)
        read.textFont = resources->GetFontByName(font);
    const std::wstring color = text(L"textColor");
    if (!color.empty() && resources)
        read.textColor = resources->GetColorByName(color);
    look = read;
    return true;
}

void DrawProgressLook(RenderContext& context, Canvas& canvas, const RECT& rect,
                      const boost::shared_ptr<IElement>& element, const CustomValues& callerValues) {
    if (!element || !context.host)
        return;
    ControlLook look;
    if (!ReadProgressLook(*element, callerValues, context.host->GetRendererData().resourceManager.get(), look))
        return;
    if (!CommonGuiLib::DrawLookBackground(canvas, rect, look))
        DrawLookPicture(context, canvas, rect, look.backgroundPicture, element);
    const RECT filled = CommonGuiLib::GetProgressRect(look, rect);
    if (!::IsRectEmpty(&filled) && !CommonGuiLib::DrawLookForeground(canvas, filled, look))
        DrawLookPicture(context, canvas, filled, look.foregroundPicture, element);
    CommonGuiLib::DrawLookText(canvas, rect, look);
}

}  // namespace LayoutRenderer
