#pragma once
// Message texts of the program's error categories come from tables of names
// indexed by code.
#include <cstddef>

namespace ErrorHandling {

// The name of `code` in `names`; the first entry ("None") for any code
// outside the table, negative ones included (compared unsigned).
template <std::size_t N>
const char* CodeName(const char* const (&names)[N], int code) {
    const unsigned index = static_cast<unsigned>(code);
    return index < N ? names[index] : names[0];
}

}  // namespace ErrorHandling
