#include "graphics/layout/ParseInteger.h"

#include <climits>

namespace LayoutLib {

int ParseInteger(const wlitestring& text) {
    const int length = text.length();
    int at = 0;
    bool negative = false;
    if (at < length && (text[at] == L'+' || text[at] == L'-'))
        negative = text[at++] == L'-';
    if (at == length)
        return 0;
    long long value = 0;
    for (; at < length; ++at) {
        if (text[at] < L'0' || text[at] > L'9')
            return 0;
        value = value * 10 + (text[at] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return 0;
    }
    value = negative ? -value : value;
    return value < INT_MIN || value > INT_MAX ? 0 : static_cast<int>(value);
}

}  // namespace LayoutLib
