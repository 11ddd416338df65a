#pragma once
// Gradient fills for the pictures a skin generates instead of loading them.
#include <windows.h>

#include <cstdint>
#include <set>

namespace CommonGuiLib {

struct FillDescription {
    enum Kind : std::uint32_t {
        Horizontal = 0,
        Vertical = 1,
        DiagonalTLBR = 2,  // from the top-left corner
        DiagonalTRBL = 3,  // from the top-right corner
    };

    struct Stop {
        COLORREF color;
        double position;  // fraction of the length, 0.0 .. 1.0
        // Ordered by position; a second stop at a taken position is not added.
        bool operator<(const Stop& other) const noexcept { return position < other.position; }
    };

    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t kind = Horizontal;
    std::set<Stop> stops;
};

// Paints the description with its top-left corner at (x, y):
// - one stop: a solid rectangle, whatever the kind;
// - Horizontal and Vertical: one-pixel bands between neighbouring stops,
//   each channel a + (b - a) x i / n in integers; nothing before the first
//   stop or from the last stop on;
// - the diagonal kinds: one-pixel lines, only with exactly two stops;
// - anything else: nothing.
void FillGradient(HDC dc, int x, int y, const FillDescription& description);

}  // namespace CommonGuiLib
