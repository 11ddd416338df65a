#pragma once
// WindowsPathConvention: file-system paths. Backslash separated, no root text
// of its own ('C:' is a root by having no separator), network paths open with
// two backslashes, and texts compare without regard to case.
#include "foundation/filesystem/SimplePathConventionImpl.h"

#include <string>

namespace FileSystem {

class WindowsPathConvention : public SimplePathConventionImpl<WindowsPathConvention> {
public:
    WindowsPathConvention();

    // A drive form ('C:' or 'C:\...') or a network form ('\\x...'), with none
    // of / : * ? " < > | after the drive colon. A leading URL scheme
    // ("file://") is ignored.
    bool IsValidPath(const std::wstring& path) const override;
};

// The text after the first "://", or the whole text when it holds none.
std::wstring _StripUrlScheme(const std::wstring& text);

}  // namespace FileSystem
