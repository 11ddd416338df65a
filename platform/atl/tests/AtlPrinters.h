#pragma once
// gtest printers, so that failures show the text and the numbers.
#include "atlstr.h"
#include "atltypes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace ATL {

inline void PrintTo(const CStringW& text, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(text.GetString()));
}

inline void PrintTo(const CRect& rect, std::ostream* os) {
    *os << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

inline void PrintTo(const CPoint& point, std::ostream* os) { *os << "(" << point.x << ", " << point.y << ")"; }

inline void PrintTo(const CSize& size, std::ostream* os) { *os << size.cx << " x " << size.cy; }

}  // namespace ATL
