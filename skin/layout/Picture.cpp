#include "skin/layout/Picture.h"

namespace LayoutLib {

Picture::Picture(const std::wstring& name, const CustomValues& customValues, const SIZE& size, bool isResizable)
    : m_name(name), m_customValues(customValues), m_size(size), m_isResizable(isResizable) {}

bool Picture::GetDrawables(DrawableList& drawables) const {
    drawables = m_drawables;
    return true;
}

boost::shared_ptr<IDrawable> Picture::FindDrawable(int kind, const std::wstring& name) const {
    for (const auto& drawable : m_drawables) {
        if (drawable->GetKind() == kind && (name.empty() || drawable->GetName() == name))
            return drawable;
    }
    return boost::shared_ptr<IDrawable>();
}

void Picture::AddDrawable(const boost::shared_ptr<IDrawable>& drawable) {
    if (drawable)
        m_drawables.push_back(drawable);
}

}  // namespace LayoutLib
