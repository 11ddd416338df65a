#pragma once
// The canvas now lives with the shared test helpers.
#include "testing/DibCanvas.h"

namespace SkinTesting {
using Testing::DibCanvas;
using Testing::ExpectPixels;
using Testing::Rgb;
}  // namespace SkinTesting
