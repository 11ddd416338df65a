#pragma once
// The pixel values of the textured background effects (noise, shades,
// bumps, metal), computed into the rows of an 8-bit palette bitmap.
#include <windows.h>

namespace DrawLib {

// `bits` holds height rows of lineWidth bytes, the bottom row first; x and y
// in the formulas count from the top-left. Effects outside 7 to 15 and empty
// sizes leave the rows as they are. Draws rand() for the noise.
void ComputeTexture(int effect, int width, int height, BYTE granularity, BYTE* bits, DWORD lineWidth);

}  // namespace DrawLib
