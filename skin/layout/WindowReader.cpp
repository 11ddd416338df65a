#include "skin/layout/WindowReader.h"

#include "skin/layout/AttributeRules.h"
#include "skin/layout/ElementReader.h"
#include "skin/layout/ObjectReader.h"
#include "skin/layout/Window.h"

#include <vector>

namespace LayoutLib {

namespace {

struct SizeEntry {
    int type;
    SIZE size;
};

const WordCode kSizeTypes[] = {
    {L"Reference", SizeReference}, {L"Preferred", SizePreferred}, {L"Min", SizeMin}, {L"Max", SizeMax}};
const int kUnknown = -1;

// The first "Sizes" child; false for a "Size" of an unknown type.
bool ReadSizes(IXMLDOMNode* node, std::vector<SizeEntry>& sizes, bool& isResizable) {
    sizes.clear();
    isResizable = false;
    const FileSystem::XmlNodePtr container = FileSystem::XmlFile::GetChildByName(node, L"Sizes");
    if (!container)
        return true;
    isResizable = ReadBooleanAttribute(container, L"resizable", false);
    FileSystem::XmlNodeList children;
    FileSystem::XmlFile::GetChildrenByName(container, L"Size", children);
    for (const FileSystem::XmlNodePtr& child : children) {
        SizeEntry entry;
        entry.type = CodeOfWord(ReadMandatoryAttribute(child, L"type"), kSizeTypes, kUnknown);
        if (entry.type == kUnknown)
            return false;
        entry.size.cx = ReadMandatoryIntegerAttribute(child, L"width");
        entry.size.cy = ReadMandatoryIntegerAttribute(child, L"height");
        sizes.push_back(entry);
    }
    return true;
}

// Every "Element" of every "Elements" child, in document order.
void AddElements(IXMLDOMNode* node, Window& window) {
    FileSystem::XmlNodeList containers;
    FileSystem::XmlFile::GetChildrenByName(node, L"Elements", containers);
    FileSystem::XmlNodeList children;
    for (const FileSystem::XmlNodePtr& container : containers) {
        FileSystem::XmlFile::GetChildrenByName(container, L"Element", children);
        for (const FileSystem::XmlNodePtr& child : children) {
            if (const boost::shared_ptr<IElement> element = ReadElement(child))
                window.AddElement(element);
        }
    }
}

}  // namespace

boost::shared_ptr<IWindow> ReadWindow(IXMLDOMNode* node) {
    ObjectHeader header;
    ObjectParts parts;
    if (!ReadObjectHeader(node, header) || !ReadObjectParts(node, parts))
        return boost::shared_ptr<IWindow>();
    std::vector<SizeEntry> sizes;
    bool isResizable = false;
    if (!ReadSizes(node, sizes, isResizable))
        return boost::shared_ptr<IWindow>();
    // An automated window is laid out from its sizes.
    if (parts.isAutomated && sizes.empty())
        return boost::shared_ptr<IWindow>();

    const boost::shared_ptr<Window> window(new Window(header.name, header.id, header.type));
    ApplyObjectParts(parts, *window);
    window->SetResizable(isResizable);
    for (const SizeEntry& entry : sizes)
        window->SetSize(entry.type, entry.size);
    AddElements(node, *window);
    return window;
}

}  // namespace LayoutLib
