#pragma once
// ATL's wide string class, CStringW (CString in this UNICODE build), over a
// std::wstring. Only the members the program calls; semantics follow ATL's:
// lengths and positions are ints, searches return -1 when nothing is found,
// and a string built from MAKEINTRESOURCE(id) loads that string resource.
#include <windows.h>
#include <oleauto.h>

#include <cstdarg>
#include <string>

namespace ATL {

class CStringW {
public:
    CStringW() = default;
    CStringW(const CStringW&) = default;
    CStringW(CStringW&&) noexcept = default;
    CStringW(LPCWSTR text);
    CStringW(LPCWSTR text, int length);
    CStringW(wchar_t ch, int repeat = 1);
    // Narrow text is converted from the ANSI code page, as ATL does.
    CStringW(LPCSTR text);
    CStringW(LPCSTR text, int length);

    CStringW& operator=(const CStringW&) = default;
    CStringW& operator=(CStringW&&) noexcept = default;
    CStringW& operator=(LPCWSTR text);
    CStringW& operator=(wchar_t ch);
    CStringW& operator=(LPCSTR text);

    CStringW& operator+=(const CStringW& text);
    CStringW& operator+=(LPCWSTR text);
    CStringW& operator+=(wchar_t ch);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    LPCWSTR GetString() const { return m_text.c_str(); }
    operator LPCWSTR() const { return m_text.c_str(); }
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    wchar_t operator[](int index) const { return GetAt(index); }

    void Append(LPCWSTR text);
    void Append(LPCWSTR text, int length);
    void AppendChar(wchar_t ch) { m_text.push_back(ch); }

    // Room for at least minLength characters plus the terminator; the
    // content up to the old length is kept. ReleaseBuffer(-1) takes the
    // length up to the first zero written into the buffer.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int minLength);
    LPWSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void ReleaseBufferSetLength(int newLength) { ReleaseBuffer(newLength); }

    int Compare(LPCWSTR text) const;
    int CompareNoCase(LPCWSTR text) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(LPCWSTR text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(LPCWSTR characters) const;

    CStringW Left(int count) const;
    CStringW Right(int count) const;
    CStringW Mid(int first) const;
    CStringW Mid(int first, int count) const;

    CStringW& MakeUpper();
    CStringW& MakeLower();
    CStringW& MakeReverse();

    // Without arguments the white space of iswspace is removed.
    CStringW& Trim();
    CStringW& Trim(wchar_t ch);
    CStringW& Trim(LPCWSTR characters);
    CStringW& TrimLeft();
    CStringW& TrimLeft(wchar_t ch);
    CStringW& TrimLeft(LPCWSTR characters);
    CStringW& TrimRight();
    CStringW& TrimRight(wchar_t ch);
    CStringW& TrimRight(LPCWSTR characters);

    // Return the number of replacements or removals.
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(LPCWSTR oldText, LPCWSTR newText);
    int Remove(wchar_t ch);
    // Return the new length.
    int Insert(int index, wchar_t ch);
    int Insert(int index, LPCWSTR text);
    int Delete(int index, int count = 1);

    // The next token after iStart; iStart becomes -1 after the last one.
    CStringW Tokenize(LPCWSTR delimiters, int& iStart) const;

    // printf formatting with the Microsoft meaning of %s (wide text).
    void Format(LPCWSTR format, ...);
    void Format(UINT formatId, ...);
    void FormatV(LPCWSTR format, va_list args);
    void AppendFormat(LPCWSTR format, ...);
    void AppendFormatV(LPCWSTR format, va_list args);

    // False (and the string emptied) when the resource does not exist; without
    // a module the executable's string table is read.
    BOOL LoadString(UINT id);
    BOOL LoadString(HINSTANCE instance, UINT id);

    // A new BSTR with a copy of the text; the caller frees it.
    BSTR AllocSysString() const;

    friend CStringW operator+(const CStringW& a, const CStringW& b);
    friend CStringW operator+(const CStringW& a, LPCWSTR b);
    friend CStringW operator+(LPCWSTR a, const CStringW& b);
    friend CStringW operator+(const CStringW& a, wchar_t b);
    friend CStringW operator+(wchar_t a, const CStringW& b);

    friend bool operator==(const CStringW& a, const CStringW& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CStringW& a, LPCWSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(LPCWSTR a, const CStringW& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CStringW& a, const CStringW& b) { return !(a == b); }
    friend bool operator!=(const CStringW& a, LPCWSTR b) { return !(a == b); }
    friend bool operator!=(LPCWSTR a, const CStringW& b) { return !(a == b); }
    friend bool operator<(const CStringW& a, const CStringW& b) { return a.Compare(b) < 0; }
    friend bool operator>(const CStringW& a, const CStringW& b) { return a.Compare(b) > 0; }
    friend bool operator<=(const CStringW& a, const CStringW& b) { return a.Compare(b) <= 0; }
    friend bool operator>=(const CStringW& a, const CStringW& b) { return a.Compare(b) >= 0; }

private:
    std::wstring m_text;
};

}  // namespace ATL

using ATL::CStringW;
typedef ATL::CStringW CString;
