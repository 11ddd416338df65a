#pragma once
// The version block of a module file and dotted version texts.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>
#include <vector>

namespace FileSystem {

class PEFile {
public:
    // Reads the block; an empty path is reported and leaves it empty, as
    // does a file without one.
    explicit PEFile(const wlitestring& modulePath);

    bool IsEmpty() const noexcept { return m_verBuf.empty(); }
    // A value of the block's first translation (0409, 04B0 when it lists
    // none), e.g. "FileVersion"; null when absent. Points into this object.
    const wchar_t* GetStringValue(const wlitestring& valueName) const;
    std::wstring GetFileVersion() const;

private:
    mutable std::vector<BYTE> m_verBuf;
};

// "1.2.3.4" gives 1, 2, 3, 4; "1..2" gives 1, 0, 2; "" gives 0. Each piece is
// read as a decimal number as far as it goes.
void ParseVersion(const wlitestring& text, std::vector<int>& numbers);

}  // namespace FileSystem
