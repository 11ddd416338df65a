#include "resources/resourcelib/XmlStorage.h"

#include "foundation/debugging/Log.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/XmlFileCheck.h"
#include "foundation/strings/NumberStrings.h"
#include "graphics/commongui/PictureLoaders.h"
#include "graphics/layout/ParseColor.h"
#include "resources/resourcelib/FontText.h"

#include <boost/make_shared.hpp>

#include <exception>
#include <stdexcept>

namespace ResourceLib {

namespace {

const wchar_t kResourcesXml[] = L"Resources.xml";

bool AsText(const std::wstring& text, std::wstring& value) {
    value = text;
    return true;
}

bool AsInteger(const std::wstring& text, int& value) {
    if (text.empty())
        return false;
    value = STLHelpers::ToInt(text);
    return true;
}

bool AsColor(const std::wstring& text, COLORREF& value) {
    return LayoutLib::ParseColor(text, value);
}

bool AsFont(const std::wstring& text, SharedFont& value) {
    value = CreateFontFromText(text);
    return !CommonGuiLib::IsNullGDIObject(value);
}

}  // namespace

const wchar_t XmlStorage::kResourcesElement[] = L"ResourceLib/Resources";

XmlStorage::XmlStorage(const wlitestring& rootFolder) : m_rootFolder(rootFolder.str()) {}

std::wstring XmlStorage::GetLanguageFilePath(const wlitestring& rootFolder, const wlitestring& language) {
    return FileSystem::Folder(rootFolder).GetSubFolder(language).GetFile(kResourcesXml).GetPath();
}

std::wstring XmlStorage::_ElementPath(const wchar_t* type, const wlitestring& name) {
    return std::wstring(type) + L"[@name=\"" + name.str() + L"\"]";
}

bool XmlStorage::_Load() {
    m_layers.clear();
    std::vector<std::wstring> candidates;
    for (const std::wstring& folder : _GetLayerFolders(m_rootFolder))
        candidates.push_back(FileSystem::Folder(folder).GetFile(kResourcesXml).GetPath());
    for (const std::wstring& candidate : candidates) {
        if (!FileSystem::File(candidate).Exists())
            continue;
        try {
            Layer layer;
            layer.document = boost::make_shared<FileSystem::XmlFile>(candidate, false);
            layer.resources = layer.document->SelectNode(kResourcesElement);
            if (!layer.resources)
                throw std::runtime_error("Invalid resource XML format");
            layer.path = candidate;
            m_layers.push_back(std::move(layer));
        } catch (const std::exception&) {
            // A broken layer is left out; the others serve.
            std::wstring why;
            if (FileSystem::CheckXmlFile(candidate, kResourcesElement, why) == FileSystem::XmlFileFault::None)
                why = L"cannot be loaded";
            DEBUG_LOG(Debugging::LevelWRN, L"The resource file " + candidate + L" " + why + L"; it is left out.");
        }
    }
    return !m_layers.empty();
}

template <class Value, class Convert>
bool XmlStorage::_FindValue(const wchar_t* type, const wlitestring& name, Convert convert, Value& value,
                            ErrorCodePtr ec) {
    _Succeed(ec);
    const std::wstring path = _ElementPath(type, name);
    for (const Layer& layer : m_layers) {
        const FileSystem::XmlNodePtr node = layer.document->_SelectSingleNode(layer.resources, path);
        if (!node)
            continue;
        boost::system::error_code readError;
        std::wstring text = layer.document->GetAttribute(node, L"value", &readError);
        if (readError)
            text = layer.document->GetText(node, &readError);
        if (readError)
            continue;
        try {
            if (convert(text, value))
                return true;
        } catch (const std::exception&) {
            // A malformed value spoils this layer only.
        }
    }
    value = Value();
    _Fail(ResourceNotFound, ec);
    return false;
}

template <class Load>
bool XmlStorage::_FindFile(const wchar_t* type, const wlitestring& name, Load load, ErrorCodePtr ec) {
    _Succeed(ec);
    const std::wstring path = _ElementPath(type, name);
    for (const Layer& layer : m_layers) {
        const FileSystem::XmlNodePtr node = layer.document->_SelectSingleNode(layer.resources, path);
        if (!node)
            continue;
        boost::system::error_code readError;
        const std::wstring file = layer.document->GetAttribute(node, L"path", &readError);
        if (readError)
            continue;
        if (load(_ResolveFile(layer, file)))
            return true;
    }
    _Fail(ResourceNotFound, ec);
    return false;
}

std::wstring XmlStorage::_ResolveFile(const Layer& layer, const std::wstring& path) const {
    const FileSystem::Folder base = FileSystem::File(layer.path).GetFolder();
    if (const boost::shared_ptr<ISkin> skin = _GetSkin()) {
        const FileSystem::File inSkin = base.GetSubFolder(skin->GetName()).GetFile(path);
        if (inSkin.Exists())
            return inSkin.GetPath();
    }
    return base.GetFile(path).GetPath();
}

bool XmlStorage::_NameOfId(int id, ResourceType type, std::wstring& name, ErrorCodePtr ec) {
    if (id < 0) {
        _Fail(InvalidResourceID, ec);
        return false;
    }
    const boost::shared_ptr<IInternalManager> manager = _GetManager();
    if (!manager || m_layers.empty()) {
        _Fail(InvalidStorageState, ec);
        return false;
    }
    name = manager->GetResourceName(id, type);
    if (name.empty()) {
        _Fail(InvalidResourceName, ec);
        return false;
    }
    return true;
}

std::wstring XmlStorage::_GetStringByName(const wlitestring& name, ErrorCodePtr ec) {
    std::wstring text;
    if (!_FindValue(L"String", name, AsText, text, ec))
        _FindValue(L"UnlocalizedString", name, AsText, text, ec);
    return text;
}

std::wstring XmlStorage::_GetStringById(int id, ErrorCodePtr ec) {
    std::wstring name;
    return _NameOfId(id, ResourceTypes::String, name, ec) ? _GetStringByName(name, ec) : std::wstring();
}

SharedIcon XmlStorage::_GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) {
    SharedIcon icon;
    _FindFile(L"Icon", name,
              [&](const std::wstring& path) {
                  icon = CommonGuiLib::LoadIconFromFile(path, width, height);
                  return !CommonGuiLib::IsNullGDIObject(icon);
              },
              ec);
    return CommonGuiLib::IsNullGDIObject(icon) ? SharedIcon() : icon;
}

SharedIcon XmlStorage::_GetIconById(int id, int width, int height, ErrorCodePtr ec) {
    std::wstring name;
    return _NameOfId(id, ResourceTypes::Icon, name, ec) ? _GetIconByName(name, width, height, ec) : SharedIcon();
}

void XmlStorage::_GetBinaryByName(const wlitestring& name, std::vector<BYTE>& bytes, ErrorCodePtr ec) {
    if (!_FindFile(L"Binary", name, [&](const std::wstring& path) { return FileSystem::File(path).ReadAll(bytes); },
                   ec))
        bytes.clear();
}

void XmlStorage::_GetBinaryById(int id, std::vector<BYTE>& bytes, ErrorCodePtr ec) {
    std::wstring name;
    if (_NameOfId(id, ResourceTypes::Binary, name, ec))
        _GetBinaryByName(name, bytes, ec);
}

COLORREF XmlStorage::_GetColorByName(const wlitestring& name, ErrorCodePtr ec) {
    COLORREF color = 0;
    _FindValue(L"Color", name, AsColor, color, ec);
    return color;
}

COLORREF XmlStorage::_GetColorById(int id, ErrorCodePtr ec) {
    std::wstring name;
    return _NameOfId(id, ResourceTypes::Color, name, ec) ? _GetColorByName(name, ec) : 0;
}

SharedFont XmlStorage::_GetFontByName(const wlitestring& name, ErrorCodePtr ec) {
    SharedFont font;
    _FindValue(L"Font", name, AsFont, font, ec);
    return font;
}

SharedFont XmlStorage::_GetFontById(int id, ErrorCodePtr ec) {
    std::wstring name;
    return _NameOfId(id, ResourceTypes::Font, name, ec) ? _GetFontByName(name, ec) : SharedFont();
}

int XmlStorage::_GetIntegerByName(const wlitestring& name, ErrorCodePtr ec) {
    int value = 0;
    _FindValue(L"Integer", name, AsInteger, value, ec);
    return value;
}

int XmlStorage::_GetIntegerById(int id, ErrorCodePtr ec) {
    std::wstring name;
    return _NameOfId(id, ResourceTypes::Integer, name, ec) ? _GetIntegerByName(name, ec) : 0;
}

std::wstring XmlStorage::_GetFilePath(int id, ResourceType typeMask, ErrorCodePtr ec) {
    std::wstring name;
    std::wstring relative;
    if (!_NameOfId(id, typeMask, name, ec) || !_FindValue(L"FilePath", name, AsText, relative, ec))
        return std::wstring();
    for (const Layer& layer : m_layers) {
        const std::wstring resolved = FileSystem::_ResolveRelativePath(relative, layer.path);
        if (FileSystem::IsExistingFile(resolved))
            return resolved;
    }
    _Fail(ResourceNotFound, ec);
    return std::wstring();
}

}  // namespace ResourceLib
