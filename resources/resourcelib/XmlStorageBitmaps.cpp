// The Bitmap elements of XmlStorage: a picture file, or a gradient drawn
// from the element's description.
#include "resources/resourcelib/XmlStorage.h"

#include "foundation/strings/NumberStrings.h"
#include "graphics/commongui/PictureLoaders.h"
#include "graphics/layout/ParseColor.h"
#include "resources/resourcelib/GradientBitmap.h"

#include <algorithm>
#include <exception>

namespace ResourceLib {

namespace {

std::uint32_t KindOf(const std::wstring& orientation) {
    if (orientation == L"Vertical")
        return CommonGuiLib::FillDescription::Vertical;
    if (orientation == L"DiagonalTLBR")
        return CommonGuiLib::FillDescription::DiagonalTLBR;
    if (orientation == L"DiagonalTRBL")
        return CommonGuiLib::FillDescription::DiagonalTRBL;
    return CommonGuiLib::FillDescription::Horizontal;
}

}  // namespace

SharedBitmap XmlStorage::_CreateGradient(const Layer& layer, const FileSystem::XmlNodePtr& node) const {
    const FileSystem::XmlFile& document = *layer.document;
    if (document.GetAttributeOr(node, L"type", L"") != L"Gradient")
        return SharedBitmap();
    CommonGuiLib::FillDescription description;
    description.kind = KindOf(document.GetAttributeOr(node, L"orientation", L"Horizontal"));
    description.width = STLHelpers::ToInt(document.GetAttributeOr(node, L"width", L"0"));
    description.height = STLHelpers::ToInt(document.GetAttributeOr(node, L"height", L"0"));

    FileSystem::XmlNodeList pins;
    document._SelectNodes(node, L"Pin", pins);
    for (const auto& pin : pins) {
        CommonGuiLib::FillDescription::Stop stop = {0, 0.0};
        // A colour that does not parse leaves black.
        LayoutLib::ParseColor(document.GetAttributeOr(pin, L"color", L"0"), stop.color);
        const double percent = STLHelpers::ToInt(document.GetAttributeOr(pin, L"position", L""));
        stop.position = std::min(1.0, std::max(0.0, percent / 100.0));
        description.stops.insert(stop);  // a second stop at a taken position is dropped
    }
    return CreateGradientBitmap(description);
}

SharedBitmap XmlStorage::_GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec) {
    _Succeed(ec);
    const std::wstring path = _ElementPath(L"Bitmap", name);
    for (const Layer& layer : m_layers) {
        const FileSystem::XmlNodePtr node = layer.document->_SelectSingleNode(layer.resources, path);
        if (!node)
            continue;
        SharedBitmap bitmap;
        boost::system::error_code readError;
        const std::wstring file = layer.document->GetAttribute(node, L"path", &readError);
        if (!readError)
            bitmap = CommonGuiLib::LoadBitmapFromFile(_ResolveFile(layer, file), false);
        if (CommonGuiLib::IsNullGDIObject(bitmap)) {
            try {
                bitmap = _CreateGradient(layer, node);
            } catch (const std::exception&) {
                // A malformed number in the description spoils this layer only.
                bitmap.reset();
            }
        }
        if (!CommonGuiLib::IsNullGDIObject(bitmap)) {
            if (premultiplied)
                PremultiplyBitmap(bitmap);
            return bitmap;
        }
    }
    _Fail(ResourceNotFound, ec);
    return SharedBitmap();
}

SharedBitmap XmlStorage::_GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec) {
    std::wstring name;
    return _NameOfId(id, ResourceTypes::Bitmap, name, ec) ? _GetBitmapByName(name, premultiplied, ec) : SharedBitmap();
}

}  // namespace ResourceLib
