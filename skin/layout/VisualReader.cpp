#include "skin/layout/VisualReader.h"

#include "skin/layout/AttributeRules.h"
#include "skin/layout/CustomValuesReader.h"
#include "skin/layout/VisualInfoT.h"

#include <boost/make_shared.hpp>

namespace LayoutLib {

namespace {

boost::shared_ptr<IVisualState> ReadVisualState(IXMLDOMNode* node) {
    const std::wstring name = ReadTextAttribute(node, L"name");
    if (name.empty())
        return boost::shared_ptr<IVisualState>();
    const std::wstring picture = ReadTextAttribute(node, L"picture");
    const int cursor = ReadTextAttribute(node, L"cursor", L"Default") == L"Hand" ? CursorHand : CursorDefault;
    CustomValues values;
    CustomReferences references;
    ReadCustomValues(node, L"Custom", values, &references);
    return boost::make_shared<VisualState>(name, picture, cursor, values, references);
}

}  // namespace

boost::shared_ptr<IVisualInfo> ReadVisual(IXMLDOMNode* node) {
    const FileSystem::XmlNodePtr visualNode = FileSystem::XmlFile::GetChildByName(node, L"Visual");
    if (!visualNode)
        return boost::shared_ptr<IVisualInfo>();
    const std::wstring type = ReadTextAttribute(visualNode, L"type");
    CustomValues values;
    CustomReferences references;
    ReadCustomValues(visualNode, L"Custom", values, &references);
    const auto visual = boost::make_shared<VisualInfo>(type, values, references);

    FileSystem::XmlNodeList containers;
    FileSystem::XmlFile::GetChildrenByName(visualNode, L"States", containers);
    FileSystem::XmlNodeList children;
    for (const FileSystem::XmlNodePtr& container : containers) {
        FileSystem::XmlFile::GetChildrenByName(container, L"State", children);
        for (const FileSystem::XmlNodePtr& child : children)
            visual->AddState(ReadVisualState(child));
    }
    return visual;
}

}  // namespace LayoutLib
