#pragma once
// basic_litestring: the non-owning text reference most operations take as
// their text argument, and c_string_holder, its zero-terminated view.
//
//   wlitestring a = L"literal";          // length measured on first use
//   wlitestring b = someWString;         // null pointer when the string is empty
//   wlitestring c(buffer, 12);           // 12 characters, not zero-terminated
//   wlitestring::c_string_holder z(c);   // copies only because c is not terminated
//   ::LoadLibraryW(z.c_str());
//
// Like any view it must not outlive the text it refers to: never make one
// from a temporary std::wstring that dies before the reference is used.
#include <string>

template <class Ch>
class basic_litestring {
public:
    typedef Ch char_type;
    typedef std::basic_string<Ch> string_type;
    static constexpr int npos = -1;

    class c_string_holder;

    // An empty text (null pointer, length 0).
    constexpr basic_litestring() noexcept : m_pText(nullptr), m_length(0), m_isZeroTerminated(true) {}

    // A zero-terminated C string; measured on first use. Null is an empty text.
    basic_litestring(const Ch* text) noexcept : m_pText(text), m_length(npos), m_isZeroTerminated(true) {}

    // The string's text; a null pointer when the string is empty.
    basic_litestring(const string_type& text) noexcept
        : m_pText(text.empty() ? nullptr : text.c_str()),
          m_length(static_cast<int>(text.size())),
          m_isZeroTerminated(true) {}

    // A run of `length` characters (npos: measure up to the zero) that is
    // followed by a zero only when the caller says so.
    basic_litestring(const Ch* text, int length, bool isZeroTerminated = false) noexcept
        : m_pText(text),
          m_length(text ? (length < 0 ? npos : length) : 0),
          m_isZeroTerminated(isZeroTerminated || length < 0) {}

    const Ch* data() const noexcept { return m_pText; }
    bool is_zero_terminated() const noexcept { return m_isZeroTerminated; }

    // Measured on first use and remembered, also through a const reference.
    int length() const noexcept {
        if (m_length < 0)
            m_length = m_pText ? static_cast<int>(std::char_traits<Ch>::length(m_pText)) : 0;
        return m_length;
    }
    int size() const noexcept { return length(); }
    bool empty() const noexcept { return length() == 0; }

    const Ch* begin() const noexcept { return m_pText; }
    const Ch* end() const noexcept { return m_pText + length(); }
    Ch operator[](int index) const noexcept { return m_pText[index]; }

    // First position at or after `start` where `sub` begins; npos when absent,
    // when start is negative or when the rest is shorter than `sub`.
    int find(const basic_litestring& sub, int start = 0) const noexcept {
        if (start < 0)
            return npos;
        const int subLength = sub.length();
        // Compared as differences: start + subLength could overflow.
        const int lastStart = length() - subLength;
        if (start > lastStart)
            return npos;
        for (int at = start; at <= lastStart; ++at) {
            if (std::char_traits<Ch>::compare(m_pText + at, sub.m_pText, subLength) == 0)
                return at;
        }
        return npos;
    }

    // Last occurrence of `ch` among the characters before `position`
    // (npos: the whole text); npos when absent or position is past the end.
    int rfind(Ch ch, int position = npos) const noexcept {
        if (position < 0)
            position = length();
        else if (position > length())
            return npos;
        for (int at = position - 1; at >= 0; --at) {
            if (m_pText[at] == ch)
                return at;
        }
        return npos;
    }

    // The characters from `start`: all the rest with count npos; empty when
    // start is past the end or start + count runs past it (never clamped).
    string_type substr(int start, int count = npos) const {
        const int total = length();
        if (start < 0 || start > total)
            return string_type();
        if (count < 0) {
            if (count != npos)
                return string_type();
            count = total - start;
        }
        if (count > total - start)
            return string_type();
        return string_type(m_pText + start, count);
    }

    string_type str() const { return empty() ? string_type() : string_type(m_pText, length()); }

    // Ordinal: the first differing character decides (unsigned for char);
    // a proper prefix is less. Returns -1, 0 or 1.
    static int compare(const basic_litestring& a, const basic_litestring& b) noexcept {
        const int aLength = a.length();
        const int bLength = b.length();
        const int common = aLength < bLength ? aLength : bLength;
        const int order = common ? std::char_traits<Ch>::compare(a.m_pText, b.m_pText, common) : 0;
        if (order != 0)
            return order < 0 ? -1 : 1;
        return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
    }
    int compare(const basic_litestring& other) const noexcept { return compare(*this, other); }

private:
    const Ch* m_pText;
    mutable int m_length;
    bool m_isZeroTerminated;
};

template <class Ch>
bool operator==(const std::basic_string<Ch>& a, const basic_litestring<Ch>& b) noexcept {
    return basic_litestring<Ch>::compare(a, b) == 0;
}
template <class Ch>
bool operator==(const basic_litestring<Ch>& a, const std::basic_string<Ch>& b) noexcept {
    return basic_litestring<Ch>::compare(a, b) == 0;
}
template <class Ch>
bool operator!=(const std::basic_string<Ch>& a, const basic_litestring<Ch>& b) noexcept {
    return !(a == b);
}
template <class Ch>
bool operator!=(const basic_litestring<Ch>& a, const std::basic_string<Ch>& b) noexcept {
    return !(a == b);
}

// A zero-terminated view of a reference: the reference's own pointer when it is
// zero-terminated, otherwise a copy of exactly its characters.
template <class Ch>
class basic_litestring<Ch>::c_string_holder {
public:
    c_string_holder() noexcept : m_pText(EmptyText()) {}
    // nullWhenEmpty: an empty text gives a null pointer instead of "".
    explicit c_string_holder(const basic_litestring& text, bool nullWhenEmpty = false) : m_pText(EmptyText()) {
        assign(text, nullWhenEmpty);
    }
    c_string_holder(const c_string_holder& other) : m_owned(other.m_owned), m_pText(other.m_pText) {
        if (other.OwnsText())
            m_pText = m_owned.c_str();
    }
    c_string_holder& operator=(const c_string_holder& other) {
        if (this != &other) {
            m_owned = other.m_owned;
            m_pText = other.OwnsText() ? m_owned.c_str() : other.m_pText;
        }
        return *this;
    }

    c_string_holder& assign(const basic_litestring& text, bool nullWhenEmpty = false) {
        m_owned.clear();
        if (text.is_zero_terminated()) {
            m_pText = text.data() ? text.data() : (nullWhenEmpty ? nullptr : EmptyText());
        } else {
            m_owned.assign(text.data() ? text.data() : EmptyText(), text.length());
            m_pText = (nullWhenEmpty && m_owned.empty()) ? nullptr : m_owned.c_str();
        }
        return *this;
    }

    // Zero-terminated text; null only when asked for with an empty text.
    const Ch* c_str() const noexcept { return m_pText; }
    // The copy made for a reference that was not zero-terminated (else empty).
    const string_type& owned() const noexcept { return m_owned; }

private:
    static const Ch* EmptyText() noexcept {
        static const Ch empty[1] = {};
        return empty;
    }
    bool OwnsText() const noexcept { return m_pText == m_owned.c_str(); }

    string_type m_owned;
    const Ch* m_pText;
};

typedef basic_litestring<char> litestring;
typedef basic_litestring<wchar_t> wlitestring;
