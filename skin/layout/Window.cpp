#include "skin/layout/Window.h"

#include <boost/make_shared.hpp>

#include <algorithm>

namespace LayoutLib {

namespace {

const int kNoId = -1;

bool IsPositive(const SIZE& size) {
    return size.cx > 0 && size.cy > 0;
}

// Erases the entry only when it holds this very element: another element of
// the same name or id keeps its entry.
template <class Map, class Key>
void EraseIfHolds(Map& index, const Key& key, const boost::shared_ptr<IElement>& element) {
    const auto found = index.find(key);
    if (found != index.end() && found->second == element)
        index.erase(found);
}

}  // namespace

Window::Window(const std::wstring& name, int id, const std::wstring& type) : ObjectT(name, id, type) {}

SIZE Window::GetSize(int type) {
    const SIZE& size = m_sizes[type];
    if (IsPositive(size))
        return size;
    if (type == SizePreferred)
        return m_sizes[SizeReference];
    if (type == SizeReference)
        return m_sizes[SizePreferred];
    return size;
}

bool Window::GetElements(ElementList& elements) const {
    elements = m_elements;
    return true;
}

boost::shared_ptr<IElement> Window::GetElementById(int id) const {
    if (id == kNoId)
        return boost::shared_ptr<IElement>();
    const auto found = m_elementsById.find(id);
    return found == m_elementsById.end() ? boost::shared_ptr<IElement>() : found->second;
}

boost::shared_ptr<IElement> Window::GetElementByName(const std::wstring& name) const {
    if (name.empty())
        return boost::shared_ptr<IElement>();
    const auto found = m_elementsByName.find(name);
    return found == m_elementsByName.end() ? boost::shared_ptr<IElement>() : found->second;
}

boost::shared_ptr<IMutableWindow> Window::GetMutable() {
    return shared_from_this();
}

SIZE Window::SetSize(int type, const SIZE& size) {
    return m_sizes[type] = size;
}

void Window::AddElement(boost::shared_ptr<IElement> element) {
    if (!element)
        return;
    const int id = element->GetId();
    if (GetElementById(id))
        return;
    const std::wstring name = element->GetName();
    if (GetElementByName(name))
        return;
    m_elements.push_back(element);
    m_elementsByName[name] = element;
    m_elementsById[id] = element;
}

void Window::RemoveElement(boost::shared_ptr<IElement> element) {
    if (!element)
        return;
    m_elements.erase(std::remove(m_elements.begin(), m_elements.end(), element), m_elements.end());
    EraseIfHolds(m_elementsByName, element->GetName(), element);
    EraseIfHolds(m_elementsById, element->GetId(), element);
}

}  // namespace LayoutLib

namespace LayoutLib {

boost::shared_ptr<Window> CopyWindow(IWindow& source) {
    const boost::shared_ptr<Window> copy =
        boost::make_shared<Window>(source.GetName(), source.GetId(), source.GetType());
    copy->SetShape(source.GetShapeType(), source.GetShapeValues());
    copy->SetCustomValues(source.GetCustomValues());
    copy->SetCustomReferences(source.GetCustomReferences());
    copy->SetSettings(source.GetSettings());
    copy->SetVisual(source.GetVisual());
    copy->SetAutomated(source.IsAutomated());
    copy->SetResizable(source.IsResizable());
    for (int type : {SizeReference, SizePreferred, SizeMin, SizeMax})
        copy->SetSize(type, source.GetSize(type));
    ElementList elements;
    source.GetElements(elements);
    for (const boost::shared_ptr<IElement>& element : elements)
        copy->AddElement(element);
    return copy;
}

}  // namespace LayoutLib
