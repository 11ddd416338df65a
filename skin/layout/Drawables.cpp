#include "skin/layout/Drawables.h"

#include <algorithm>

namespace LayoutLib {

namespace {

long long Area(const SIZE& size) {
    return static_cast<long long>(size.cx) * size.cy;
}

}  // namespace

bool Icon::GetSizes(SizeList& sizes) const {
    sizes = m_sizes;
    return true;
}

bool Icon::AddSize(const SIZE& size) {
    if (size.cx <= 0 || size.cy <= 0)
        return false;
    const bool isKnown = std::any_of(m_sizes.begin(), m_sizes.end(), [&](const SIZE& known) {
        return known.cx == size.cx && known.cy == size.cy;
    });
    if (isKnown)
        return false;
    m_sizes.push_back(size);
    std::stable_sort(m_sizes.begin(), m_sizes.end(),
                     [](const SIZE& a, const SIZE& b) { return Area(a) < Area(b); });
    return true;
}

}  // namespace LayoutLib
