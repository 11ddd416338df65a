#pragma once
// SimplePathConventionImpl: every path operation written once from four
// values: the separator, the text naming the root alone, the prefix of a
// network path and whether texts compare case-sensitively. A concrete
// convention derives from it over itself and may narrow IsValidPath.
#include "foundation/filesystem/IPathConvention.h"

#include <string>
#include <vector>

namespace FileSystem {

template <class Convention>
class SimplePathConventionImpl : public IPathConvention {
public:
    bool Append(std::wstring& path, const std::wstring& part) const override {
        if (!SetTrailingSeparator(path, AddTrailingSeparator))
            return false;
        path += part;
        return true;
    }

    int RemoveLastParts(std::wstring& path, int count) const override {
        // The root text may be nothing but a separator; removing it as a
        // trailing one would leave an empty, invalid path.
        if (!m_rootText.empty() && path == m_rootText)
            return 0;
        if (!SetTrailingSeparator(path, RemoveTrailingSeparator))
            return 0;
        const PathKind kind = GetPathKind(path);
        if (kind == Invalid || kind == Root || kind == NetworkServer)
            return 0;
        // Separators at or before the limit belong to the network prefix.
        const std::size_t limit = kind == NetworkPath ? m_networkPrefix.size() : 0;
        int counted = 0;
        std::size_t cut = std::wstring::npos;
        std::size_t searchEnd = path.size();
        while (counted < count && searchEnd > 0) {
            const std::size_t hit = path.rfind(m_separator, searchEnd - 1);
            if (hit == std::wstring::npos || (limit != 0 && hit <= limit))
                break;
            ++counted;
            cut = hit;
            searchEnd = hit;
        }
        if (counted == 0)
            return 0;
        path.erase(cut);
        if (path.empty() && kind == Regular && !m_rootText.empty())
            path = m_rootText;
        return counted;
    }

    std::wstring GetLastPart(const std::wstring& path) const override {
        if (path.empty())
            return std::wstring();
        std::wstring trimmed = path;
        SetTrailingSeparator(trimmed, RemoveTrailingSeparator);
        const std::size_t at = trimmed.rfind(m_separator);
        if (at == std::wstring::npos)
            return path;
        return trimmed.substr(at + m_separator.size());
    }

    bool SetTrailingSeparator(std::wstring& path, int mode) const override {
        if (path.empty())
            return false;
        if (mode & AddTrailingSeparator) {
            if (!EndsWithSeparator(path))
                path += m_separator;
        } else if (mode & RemoveTrailingSeparator) {
            if (EndsWithSeparator(path))
                path.erase(path.size() - m_separator.size());
        }
        return true;
    }

    PathKind GetPathKind(const std::wstring& path) const override {
        if (path.empty() || !IsValidPath(path))
            return Invalid;
        std::wstring trimmed = path;
        SetTrailingSeparator(trimmed, RemoveTrailingSeparator);
        if (IsNetworkPath(path)) {
            if (path == m_networkPrefix)
                return Invalid;
            return trimmed.find(m_separator, m_networkPrefix.size()) != std::wstring::npos ? NetworkPath
                                                                                          : NetworkServer;
        }
        if (!m_rootText.empty())
            return path == m_rootText ? Root : Regular;
        return trimmed.find(m_separator) != std::wstring::npos ? Regular : Root;
    }

    bool IsCaseSensitive() const override { return m_isCaseSensitive; }

    int GetPartCount(const std::wstring& path) const override {
        const PathKind kind = GetPathKind(path);
        if (kind == Invalid)
            return -1;
        if (kind == Root || kind == NetworkServer)
            return 1;
        std::wstring trimmed = path;
        SetTrailingSeparator(trimmed, RemoveTrailingSeparator);
        // A separator at position 0 belongs to the first part.
        std::size_t from = kind == NetworkPath ? m_networkPrefix.size() : 1;
        int count = 1;
        for (std::size_t at = trimmed.find(m_separator, from); at != std::wstring::npos;
             at = trimmed.find(m_separator, at + m_separator.size()))
            ++count;
        return count;
    }

    bool Split(const std::wstring& path, std::vector<std::wstring>& parts) const override {
        parts.clear();
        const PathKind kind = GetPathKind(path);
        if (kind == Invalid)
            return false;
        std::wstring trimmed = path;
        SetTrailingSeparator(trimmed, RemoveTrailingSeparator);
        std::size_t from = 0;
        if (kind == NetworkPath || kind == NetworkServer)
            from = m_networkPrefix.size();
        else if (kind == Root)
            from = m_rootText.size();
        // The registry root '\' alone has no part below it.
        if (from > trimmed.size())
            return true;
        for (;;) {
            const std::size_t at = trimmed.find(m_separator, from);
            if (at == std::wstring::npos) {
                parts.push_back(trimmed.substr(from));
                return true;
            }
            parts.push_back(trimmed.substr(from, at - from));
            from = at + m_separator.size();
        }
    }

    // Every text is valid unless the concrete convention says otherwise.
    virtual bool IsValidPath(const std::wstring&) const { return true; }

protected:
    SimplePathConventionImpl(const wchar_t* separator, const wchar_t* rootText, const wchar_t* networkPrefix,
                             bool isCaseSensitive)
        : m_separator(separator),
          m_rootText(rootText),
          m_networkPrefix(networkPrefix),
          m_isCaseSensitive(isCaseSensitive) {}

private:
    bool EndsWithSeparator(const std::wstring& path) const {
        return path.size() >= m_separator.size() &&
               path.compare(path.size() - m_separator.size(), m_separator.size(), m_separator) == 0;
    }

    bool IsNetworkPath(const std::wstring& path) const {
        return !m_networkPrefix.empty() && m_networkPrefix.size() <= path.size() &&
               path.compare(0, m_networkPrefix.size(), m_networkPrefix) == 0;
    }

    std::wstring m_separator;
    std::wstring m_rootText;
    std::wstring m_networkPrefix;
    bool m_isCaseSensitive;
};

}  // namespace FileSystem
