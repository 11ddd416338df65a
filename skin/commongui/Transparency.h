#pragma once
// The transparency percent of the skinned drawing: 0 (or less) is opaque,
// 100 invisible, and anything above 100 counts as 100.
#include <windows.h>

namespace CommonGuiLib {

inline int LimitTransparencyPercent(int percent) noexcept {
    return percent < 0 ? 0 : (percent > 100 ? 100 : percent);
}

// The constant alpha of AlphaBlend for a percent, rounded down: 0 gives 255,
// 1 gives 252, 50 gives 127, 100 gives 0.
inline BYTE ConstantAlpha(int percent) noexcept {
    return static_cast<BYTE>((100 - LimitTransparencyPercent(percent)) * 255 / 100);
}

inline BLENDFUNCTION MakeBlendFunction(int percent, bool perPixelAlpha) noexcept {
    BLENDFUNCTION blend = {};
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = ConstantAlpha(percent);
    blend.AlphaFormat = perPixelAlpha ? AC_SRC_ALPHA : 0;
    return blend;
}

}  // namespace CommonGuiLib
