#pragma once
// PathT: a path text bound to its convention (held by value), with the
// convention's operations. Derived values are cached; every change of the
// text clears the cache. One thread at a time.
//
//   FileSystem::Path path(L"C:\\Videos\\clip.mp4");
//   path.GetLastPart();        // L"clip.mp4"
//   path.RemoveLastParts(1);   // 1, path is now L"C:\\Videos"
//   path.IsEqual(L"c:\\videos\\");  // true: Windows paths ignore case
#include "foundation/filesystem/IPathConvention.h"
#include "foundation/strings/LiteString.h"
#include "foundation/strings/StringAlgorithms.h"

#include <cstdint>
#include <string>
#include <vector>

namespace FileSystem {

template <class Convention>
class PathT {
public:
    typedef Convention convention_type;

    PathT() { _ResetParts(); }
    explicit PathT(const std::wstring& text) : m_text(text) { _ResetParts(); }

    const std::wstring& GetText() const { return m_text; }
    const Convention& GetConvention() const { return m_convention; }
    bool IsEmpty() const { return m_text.empty(); }

    void SetText(const std::wstring& text) {
        m_text = text;
        _ResetParts();
    }

    bool Append(const std::wstring& part) { return Changed(m_convention.Append(m_text, part)); }
    int RemoveLastParts(int count) { return Changed(m_convention.RemoveLastParts(m_text, count)); }
    bool SetTrailingSeparator(int mode) { return Changed(m_convention.SetTrailingSeparator(m_text, mode)); }

    bool IsValid() const {
        EnsureKind();
        return m_cache.isValid;
    }

    PathKind GetPathKind() const {
        EnsureKind();
        return static_cast<PathKind>(m_cache.kind);
    }

    int GetPartCount() const {
        if (!m_cache.isPartCountKnown) {
            m_cache.partCount = static_cast<std::uint32_t>(m_convention.GetPartCount(m_text));
            m_cache.isPartCountKnown = true;
        }
        return static_cast<int>(m_cache.partCount);
    }

    std::wstring GetLastPart() const {
        if (!m_cache.isLastPartKnown) {
            m_cache.lastPart = m_convention.GetLastPart(m_text);
            m_cache.isLastPartKnown = true;
        }
        return m_cache.lastPart;
    }

    bool Split(std::vector<std::wstring>& parts) const { return m_convention.Split(m_text, parts); }

    // Equal texts once each loses one trailing separator; case counts only
    // when the convention says so. Two empty texts are equal.
    bool IsEqual(const std::wstring& other) const {
        PathT otherPath(other);
        const std::wstring& mine = ComparableText();
        const std::wstring& theirs = otherPath.ComparableText();
        if (m_convention.IsCaseSensitive())
            return mine == theirs;
        return STLHelpers::IsEqualNoCase(mine, theirs);
    }

private:
    // Parsing a path means forgetting what was derived from its old text.
    void _ResetParts() { m_cache = Cache(); }

    template <class Result>
    Result Changed(Result result) {
        _ResetParts();
        return result;
    }

    void EnsureKind() const {
        if (m_cache.isKindKnown)
            return;
        m_cache.isValid = m_convention.IsValidPath(m_text);
        m_cache.kind = static_cast<std::uint32_t>(m_convention.GetPathKind(m_text));
        m_cache.isKindKnown = true;
    }

    const std::wstring& ComparableText() const {
        if (!m_cache.isComparableKnown) {
            m_cache.comparable = m_text;
            m_convention.SetTrailingSeparator(m_cache.comparable, RemoveTrailingSeparator);
            m_cache.isComparableKnown = true;
        }
        return m_cache.comparable;
    }

    struct Cache {
        bool isKindKnown = false;
        bool isValid = false;  // known together with the kind
        bool isPartCountKnown = false;
        bool isLastPartKnown = false;
        bool isComparableKnown = false;
        std::wstring lastPart;
        std::uint32_t kind = 0;
        std::wstring comparable;  // the text without one trailing separator
        std::uint32_t partCount = 0;
    };

    std::wstring m_text;
    Convention m_convention;
    mutable Cache m_cache;
};

}  // namespace FileSystem
