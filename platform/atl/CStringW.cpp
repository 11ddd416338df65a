#include "atlstr.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace ATL {

namespace {

std::wstring Widen(LPCSTR text, int length) {
    if (!text || length == 0)
        return {};
    int needed = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, &result[0], needed);
    if (length < 0 && !result.empty() && result.back() == L'\0')
        result.pop_back();
    return result;
}

bool IsInSet(wchar_t ch, LPCWSTR set) { return set && std::wcschr(set, ch) != nullptr && ch != L'\0'; }

// A string-table block holds 16 counted strings; LoadStringW with a zero
// buffer size hands out a pointer to the text in place, which also works
// for strings containing zeros and longer than any fixed buffer.
bool LoadResourceString(HINSTANCE instance, UINT id, std::wstring& out) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return false;
    out.assign(text, static_cast<size_t>(length));
    return true;
}

}  // namespace

CStringW::CStringW(LPCWSTR text) {
    if (text && IS_INTRESOURCE(text))
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
    else if (text)
        m_text = text;
}

CStringW::CStringW(LPCWSTR text, int length) {
    if (text && length > 0)
        m_text.assign(text, static_cast<size_t>(length));
}

CStringW::CStringW(wchar_t ch, int repeat) {
    if (repeat > 0)
        m_text.assign(static_cast<size_t>(repeat), ch);
}

CStringW::CStringW(LPCSTR text) : m_text(Widen(text, -1)) {}

CStringW::CStringW(LPCSTR text, int length) : m_text(length > 0 ? Widen(text, length) : std::wstring()) {}

CStringW& CStringW::operator=(LPCWSTR text) {
    if (!text)
        m_text.clear();
    else if (text < m_text.c_str() || text > m_text.c_str() + m_text.size())
        m_text = text;
    else
        m_text = std::wstring(text);  // a pointer into our own text
    return *this;
}

CStringW& CStringW::operator=(wchar_t ch) {
    m_text.assign(1, ch);
    return *this;
}

CStringW& CStringW::operator=(LPCSTR text) {
    m_text = Widen(text, -1);
    return *this;
}

CStringW& CStringW::operator+=(const CStringW& text) {
    m_text += text.m_text;
    return *this;
}

CStringW& CStringW::operator+=(LPCWSTR text) {
    Append(text);
    return *this;
}

CStringW& CStringW::operator+=(wchar_t ch) {
    m_text.push_back(ch);
    return *this;
}

wchar_t CStringW::GetAt(int index) const {
    if (index < 0 || index >= GetLength())
        return L'\0';
    return m_text[static_cast<size_t>(index)];
}

void CStringW::SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength())
        m_text[static_cast<size_t>(index)] = ch;
}

void CStringW::Append(LPCWSTR text) {
    if (text)
        m_text += std::wstring(text);
}

void CStringW::Append(LPCWSTR text, int length) {
    if (text && length > 0)
        m_text += std::wstring(text, static_cast<size_t>(length));
}

LPWSTR CStringW::GetBuffer() { return &m_text[0]; }

LPWSTR CStringW::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

LPWSTR CStringW::GetBufferSetLength(int length) {
    m_text.resize(static_cast<size_t>(std::max(length, 0)));
    return &m_text[0];
}

void CStringW::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        newLength = static_cast<int>(std::wcslen(m_text.c_str()));
    m_text.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

int CStringW::Compare(LPCWSTR text) const { return std::wcscmp(m_text.c_str(), text ? text : L""); }

int CStringW::CompareNoCase(LPCWSTR text) const {
    return _wcsicmp(m_text.c_str(), text ? text : L"");
}

int CStringW::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    size_t at = m_text.find(ch, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CStringW::Find(LPCWSTR text, int start) const {
    if (!text || start < 0 || start > GetLength())
        return -1;
    size_t at = m_text.find(text, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CStringW::ReverseFind(wchar_t ch) const {
    size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CStringW::FindOneOf(LPCWSTR characters) const {
    if (!characters || !*characters)
        return -1;
    size_t at = m_text.find_first_of(characters);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CStringW CStringW::Left(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CStringW(m_text.c_str(), count);
}

CStringW CStringW::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CStringW(m_text.c_str() + GetLength() - count, count);
}

CStringW CStringW::Mid(int first) const { return Mid(first, GetLength()); }

CStringW CStringW::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CStringW(m_text.c_str() + first, count);
}

CStringW& CStringW::MakeUpper() {
    if (!m_text.empty())
        CharUpperBuffW(&m_text[0], static_cast<DWORD>(m_text.size()));
    return *this;
}

CStringW& CStringW::MakeLower() {
    if (!m_text.empty())
        CharLowerBuffW(&m_text[0], static_cast<DWORD>(m_text.size()));
    return *this;
}

CStringW& CStringW::MakeReverse() {
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

CStringW& CStringW::Trim() { return TrimRight().TrimLeft(); }
CStringW& CStringW::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CStringW& CStringW::Trim(LPCWSTR characters) { return TrimRight(characters).TrimLeft(characters); }

CStringW& CStringW::TrimLeft() {
    size_t i = 0;
    while (i < m_text.size() && std::iswspace(m_text[i]))
        ++i;
    m_text.erase(0, i);
    return *this;
}

CStringW& CStringW::TrimLeft(wchar_t ch) {
    size_t i = 0;
    while (i < m_text.size() && m_text[i] == ch)
        ++i;
    m_text.erase(0, i);
    return *this;
}

CStringW& CStringW::TrimLeft(LPCWSTR characters) {
    size_t i = 0;
    while (i < m_text.size() && IsInSet(m_text[i], characters))
        ++i;
    m_text.erase(0, i);
    return *this;
}

CStringW& CStringW::TrimRight() {
    size_t n = m_text.size();
    while (n > 0 && std::iswspace(m_text[n - 1]))
        --n;
    m_text.resize(n);
    return *this;
}

CStringW& CStringW::TrimRight(wchar_t ch) {
    size_t n = m_text.size();
    while (n > 0 && m_text[n - 1] == ch)
        --n;
    m_text.resize(n);
    return *this;
}

CStringW& CStringW::TrimRight(LPCWSTR characters) {
    size_t n = m_text.size();
    while (n > 0 && IsInSet(m_text[n - 1], characters))
        --n;
    m_text.resize(n);
    return *this;
}

int CStringW::Replace(wchar_t oldCh, wchar_t newCh) {
    int count = 0;
    for (wchar_t& ch : m_text) {
        if (ch == oldCh) {
            ch = newCh;
            ++count;
        }
    }
    return count;
}

int CStringW::Replace(LPCWSTR oldText, LPCWSTR newText) {
    if (!oldText || !*oldText)
        return 0;
    const std::wstring from(oldText);
    const std::wstring to(newText ? newText : L"");
    int count = 0;
    std::wstring result;
    size_t pos = 0;
    for (size_t at; (at = m_text.find(from, pos)) != std::wstring::npos; pos = at + from.size()) {
        result.append(m_text, pos, at - pos);
        result += to;
        ++count;
    }
    if (count) {
        result.append(m_text, pos, std::wstring::npos);
        m_text.swap(result);
    }
    return count;
}

int CStringW::Remove(wchar_t ch) {
    size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CStringW::Insert(int index, wchar_t ch) {
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CStringW::Insert(int index, LPCWSTR text) {
    if (text) {
        index = std::clamp(index, 0, GetLength());
        m_text.insert(static_cast<size_t>(index), std::wstring(text));
    }
    return GetLength();
}

int CStringW::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CStringW CStringW::Tokenize(LPCWSTR delimiters, int& iStart) const {
    if (iStart < 0 || iStart > GetLength()) {
        iStart = -1;
        return CStringW();
    }
    const wchar_t* set = delimiters ? delimiters : L"";
    size_t begin = m_text.find_first_not_of(set, static_cast<size_t>(iStart));
    if (begin == std::wstring::npos) {
        iStart = -1;
        return CStringW();
    }
    size_t end = m_text.find_first_of(set, begin);
    if (end == std::wstring::npos)
        end = m_text.size();
    iStart = static_cast<int>(std::min(end + 1, m_text.size()));
    return CStringW(m_text.c_str() + begin, static_cast<int>(end - begin));
}

void CStringW::Format(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CStringW::Format(UINT formatId, ...) {
    CStringW format;
    format.LoadString(formatId);
    va_list args;
    va_start(args, formatId);
    FormatV(format, args);
    va_end(args);
}

void CStringW::FormatV(LPCWSTR format, va_list args) {
    // Formatted apart: the format or an argument may be our own text.
    CStringW result;
    result.AppendFormatV(format, args);
    m_text.swap(result.m_text);
}

void CStringW::AppendFormat(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CStringW::AppendFormatV(LPCWSTR format, va_list args) {
    if (!format)
        return;
    va_list counting;
    va_copy(counting, args);
    int length = _vscwprintf(format, counting);
    va_end(counting);
    if (length <= 0)
        return;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int written = _vsnwprintf(buffer.data(), buffer.size(), format, args);
    if (written > 0)
        m_text.append(buffer.data(), static_cast<size_t>(std::min(written, length)));
}

BOOL CStringW::LoadString(UINT id) { return LoadString(GetModuleHandleW(nullptr), id); }

BOOL CStringW::LoadString(HINSTANCE instance, UINT id) {
    std::wstring text;
    if (!LoadResourceString(instance, id, text)) {
        m_text.clear();
        return FALSE;
    }
    m_text.swap(text);
    return TRUE;
}

BSTR CStringW::AllocSysString() const {
    return SysAllocStringLen(m_text.c_str(), static_cast<UINT>(m_text.size()));
}

CStringW operator+(const CStringW& a, const CStringW& b) {
    CStringW result(a);
    result += b;
    return result;
}

CStringW operator+(const CStringW& a, LPCWSTR b) {
    CStringW result(a);
    result.Append(b);
    return result;
}

CStringW operator+(LPCWSTR a, const CStringW& b) {
    CStringW result(a ? a : L"");
    result += b;
    return result;
}

CStringW operator+(const CStringW& a, wchar_t b) {
    CStringW result(a);
    result += b;
    return result;
}

CStringW operator+(wchar_t a, const CStringW& b) {
    CStringW result(a);
    result += b;
    return result;
}

}  // namespace ATL
