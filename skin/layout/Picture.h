#pragma once
// Picture: a named picture of the layout and its drawables in document
// order. Filled by the layout reader, then only read.
#include "skin/layout/IPicture.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <string>

namespace LayoutLib {

class Picture : public IPicture {
public:
    // `customValues`: the picture's own values with the read's parameters
    // already laid over them.
    Picture(const std::wstring& name, const CustomValues& customValues, const SIZE& size, bool isResizable);

    const CustomValues& GetCustomValues() const override { return m_customValues; }
    const CustomReferences& GetCustomReferences() const override { return m_customReferences; }
    std::wstring GetName() const override { return m_name; }

    SIZE GetSize() const override { return m_size; }
    bool IsResizable() const override { return m_isResizable; }
    bool GetDrawables(DrawableList& drawables) const override;
    boost::shared_ptr<IDrawable> FindDrawable(int kind, const std::wstring& name) const override;

    void AddDrawable(const boost::shared_ptr<IDrawable>& drawable);

private:
    std::wstring m_name;
    CustomValues m_customValues;
    SIZE m_size;
    bool m_isResizable;
    DrawableList m_drawables;
    CustomReferences m_customReferences;
};

}  // namespace LayoutLib
