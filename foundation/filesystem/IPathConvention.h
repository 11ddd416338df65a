#pragma once
// IPathConvention: how the texts of one kind of hierarchical path are composed,
// so that file-system and registry paths share one set of path operations.
// Paths are passed as wide strings; the operations that change them work in
// place. Implementations hold no mutable state and may be shared by threads.
#include "foundation/filesystem/PathKind.h"

#include <string>
#include <vector>

namespace FileSystem {

enum TrailingSeparatorMode {
    AddTrailingSeparator = 1,
    RemoveTrailingSeparator = 2,
};

class IPathConvention {
public:
    virtual ~IPathConvention() {}

    // Does nothing; keeps the place of an operation that no convention needs.
    virtual void Reserved() {}

    // Ensures a trailing separator, then appends the part unchanged; false
    // (path untouched) when the separator cannot be set.
    virtual bool Append(std::wstring& path, const std::wstring& part) const = 0;
    // Drops up to `count` trailing parts; returns how many were dropped.
    virtual int RemoveLastParts(std::wstring& path, int count) const = 0;
    virtual std::wstring GetLastPart(const std::wstring& path) const = 0;
    // Mode 1 adds a missing trailing separator, mode 2 removes one.
    virtual bool SetTrailingSeparator(std::wstring& path, int mode) const = 0;
    virtual PathKind GetPathKind(const std::wstring& path) const = 0;
    virtual bool IsCaseSensitive() const = 0;
    // -1 for an empty or invalid path.
    virtual int GetPartCount(const std::wstring& path) const = 0;
    // Clears `parts` first; false for an empty or invalid path.
    virtual bool Split(const std::wstring& path, std::vector<std::wstring>& parts) const = 0;
};

}  // namespace FileSystem
