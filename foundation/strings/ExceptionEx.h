#pragma once
// exception_ex: a std::exception whose text lives in a fixed buffer inside the
// object, so it can be built while memory is short. Text is written with <<:
// narrow text unchanged, wide text converted to the code page (UTF-8), numbers
// and stream manipulators through the stream. At most Size - 1 bytes are kept;
// the rest is dropped.
//
//   throw ErrorHandling::ErrorException() << L"Cannot open " << path << L": " << hr;
#include "foundation/strings/LiteString.h"
#include "foundation/strings/StringConversions.h"

#include <windows.h>

#include <cstddef>
#include <exception>
#include <ostream>
#include <streambuf>
#include <string>
#include <type_traits>

namespace STLHelpers {

namespace detail {

// A put area over a caller's fixed array; a full buffer refuses more.
class FixedOutputBuffer : public std::streambuf {
public:
    void Attach(char* begin, std::size_t capacity) { setp(begin, begin + capacity); }
    std::size_t Written() const { return static_cast<std::size_t>(pptr() - pbase()); }
};

}  // namespace detail

template <std::size_t Size, UINT CodePage>
class exception_ex : public std::exception {
    static_assert(Size >= 2, "room for one byte and the terminator");

public:
    typedef void exception_ex_tag;

    exception_ex() : m_stream(nullptr) { Init(); }
    // A fresh buffer holding the source's text.
    exception_ex(const exception_ex& other) : std::exception(other), m_stream(nullptr) {
        Init();
        WriteNarrow(other.what());
    }
    exception_ex& operator=(const exception_ex& other) {
        if (this != &other) {
            Init();
            WriteNarrow(other.what());
        }
        return *this;
    }

    // "" when nothing was written; otherwise the text, cut at Size - 1 bytes.
    const char* what() const noexcept override {
        const std::size_t written = m_output.Written();
        if (written == 0)
            return "";
        m_buffer[written] = '\0';
        return m_buffer;
    }

    void WriteNarrow(const char* text, int length = -1) {
        if (text)
            WriteNarrow(litestring(text, length, length < 0));
    }
    void WriteNarrow(const litestring& text) {
        if (!text.empty())
            m_stream.write(text.data(), text.length());
    }
    void WriteWide(const wlitestring& text) {
        if (text.empty())
            return;
        std::string narrow;
        WStringToMultiByte(text.data(), text.length(), narrow, CodePageInfo{CodePage, 0});
        WriteNarrow(litestring(narrow));
    }
    std::ostream& Stream() { return m_stream; }

private:
    void Init() {
        m_output.Attach(m_buffer, Size - 1);
        m_stream.rdbuf(&m_output);
        m_stream.clear();
    }

    mutable char m_buffer[Size];
    detail::FixedOutputBuffer m_output;
    std::ostream m_stream;
};

template <class T, class = void>
struct is_exception_ex : std::false_type {};
template <class T>
struct is_exception_ex<T, std::void_t<typename T::exception_ex_tag>> : std::true_type {};

template <class E, class R = E&&>
using if_exception_ex = std::enable_if_t<is_exception_ex<std::decay_t<E>>::value, R>;

// Each << returns the same object with its own type, so
// `throw ErrorException() << ...` throws an ErrorException.
template <class E>
if_exception_ex<E> operator<<(E&& e, const char* text) {
    e.WriteNarrow(text);
    return std::forward<E>(e);
}
template <class E>
if_exception_ex<E> operator<<(E&& e, const std::string& text) {
    e.WriteNarrow(litestring(text));
    return std::forward<E>(e);
}
template <class E>
if_exception_ex<E> operator<<(E&& e, const litestring& text) {
    e.WriteNarrow(text);
    return std::forward<E>(e);
}
template <class E>
if_exception_ex<E> operator<<(E&& e, const wchar_t* text) {
    e.WriteWide(wlitestring(text));
    return std::forward<E>(e);
}
template <class E>
if_exception_ex<E> operator<<(E&& e, const std::wstring& text) {
    e.WriteWide(wlitestring(text));
    return std::forward<E>(e);
}
template <class E>
if_exception_ex<E> operator<<(E&& e, const wlitestring& text) {
    e.WriteWide(text);
    return std::forward<E>(e);
}
// Numbers (a single wchar_t is refused: it would print as a number).
template <class E, class T,
          class = std::enable_if_t<std::is_arithmetic<T>::value && !std::is_same<T, wchar_t>::value>>
if_exception_ex<E> operator<<(E&& e, T value) {
    e.Stream() << value;
    return std::forward<E>(e);
}
template <class E>
if_exception_ex<E> operator<<(E&& e, std::ios_base& (*manipulator)(std::ios_base&)) {
    e.Stream() << manipulator;
    return std::forward<E>(e);
}

}  // namespace STLHelpers
