#pragma once
// Window: a layout window with its sizes by type and its elements, indexed
// by name and by id. Made inside a boost::shared_ptr (GetMutable needs it).
#include "skin/layout/IWindow.h"
#include "skin/layout/ObjectT.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <map>
#include <string>

namespace LayoutLib {

class Window : public ObjectT<IMutableWindow>, public boost::enable_shared_from_this<Window> {
public:
    Window(const std::wstring& name, int id, const std::wstring& type);

    SIZE GetSize(int type) override;
    bool IsResizable() const override { return m_isResizable; }
    bool GetElements(ElementList& elements) const override;
    boost::shared_ptr<IElement> GetElementById(int id) const override;
    boost::shared_ptr<IElement> GetElementByName(const std::wstring& name) const override;
    boost::shared_ptr<IMutableWindow> GetMutable() override;

    SIZE SetSize(int type, const SIZE& size) override;
    void SetResizable(bool isResizable) override { m_isResizable = isResizable; }
    void AddElement(boost::shared_ptr<IElement> element) override;
    void RemoveElement(boost::shared_ptr<IElement> element) override;

private:
    std::map<int, SIZE> m_sizes;
    bool m_isResizable = false;
    ElementList m_elements;
    std::map<std::wstring, boost::shared_ptr<IElement>> m_elementsByName;
    std::map<int, boost::shared_ptr<IElement>> m_elementsById;
};

}  // namespace LayoutLib

namespace LayoutLib {

// A new window with the source's name, id, type, shape, values, visual,
// sizes and resizability, holding the same elements: one a dialog can add
// to without changing the shared one.
boost::shared_ptr<Window> CopyWindow(IWindow& source);

}  // namespace LayoutLib
