#include "skin/layout/Manager.h"

#include "skin/layout/AttributeRules.h"
#include "skin/layout/PictureReader.h"
#include "skin/layout/WindowReader.h"

#include <stdexcept>

namespace LayoutLib {

namespace {

const char kLoadFailed[] = "Failed to load the layout XML";
const char kParseFailed[] = "Failed to parse the layout XML";

// Only a declaration at the very first character makes a text: anything
// else, " <?xml" and "<?XML" included, is a path.
bool IsXmlText(const std::wstring& source) {
    return source.compare(0, 5, L"<?xml") == 0;
}

}  // namespace

Manager::Manager(const std::wstring& source) : m_document(false) {
    if (IsXmlText(source)) {
        if (!m_document.LoadFromString(source))
            throw std::runtime_error(kLoadFailed);
    } else {
        m_document.Reload(source, false);
    }
    if (!_ReadDocument())
        throw std::runtime_error(kParseFailed);
    m_source = source;
}

bool Manager::_ReadDocument() {
    FileSystem::XmlNodeList nodes;
    if (!m_document.SelectNodes(L"LayoutLib/Windows/Window", nodes))
        return false;
    for (const FileSystem::XmlNodePtr& node : nodes) {
        if (const boost::shared_ptr<IWindow> window = ReadWindow(node))
            m_windows.push_back(window);
    }

    if (!m_document.SelectNodes(L"LayoutLib/Pictures/Picture", nodes))
        return false;
    const CustomValues noParameters;
    for (const FileSystem::XmlNodePtr& node : nodes) {
        const std::wstring name = ReadTextAttribute(node, L"name");
        if (!name.empty())
            m_pictureNodes.emplace(name, node);  // the first of a name stays
        if (!ReadBooleanAttribute(node, L"complete", true))
            continue;
        // The later complete picture of a name replaces the earlier.
        if (const boost::shared_ptr<IPicture> picture = ReadPicture(node, noParameters))
            m_pictureCache[picture->GetName()] = picture;
    }
    return true;
}

bool Manager::GetWindows(WindowList& windows) const {
    windows = m_windows;
    return true;
}

boost::shared_ptr<IWindow> Manager::GetWindow(const std::wstring& name) const {
    if (!name.empty()) {
        for (const auto& window : m_windows) {
            if (window->GetName() == name)
                return window;
        }
    }
    return boost::shared_ptr<IWindow>();
}

boost::shared_ptr<IPicture> Manager::GetPicture(const std::wstring& name, const CustomValues& parameters) const {
    if (name.empty())
        return boost::shared_ptr<IPicture>();
    const auto cached = m_pictureCache.find(name);
    if (cached != m_pictureCache.end() && cached->second)
        return cached->second;
    const auto node = m_pictureNodes.find(name);
    if (node == m_pictureNodes.end())
        return boost::shared_ptr<IPicture>();
    return ReadPicture(node->second, parameters);
}

std::wstring Manager::GetBaseFolder() const {
    if (!m_baseFolder.empty())
        return m_baseFolder;
    if (m_source.empty() || IsXmlText(m_source))
        return std::wstring();
    return FileSystem::File(m_source).GetFolder().GetPath();
}

boost::shared_ptr<IManager> CreateManager(const std::wstring& source) {
    return boost::shared_ptr<IManager>(new Manager(source));
}

}  // namespace LayoutLib
