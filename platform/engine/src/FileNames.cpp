#include "FileNames.h"

#include "foundation/filesystem/ValidFileName.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace KavennaEngine {

namespace {

std::wstring Widen(const std::string& bytes) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    const UINT codePage = length > 0 ? CP_UTF8 : 1252;
    const DWORD flags = length > 0 ? MB_ERR_INVALID_CHARS : 0;
    length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), size, &text[0], length);
    return text;
}

// Where the part after `stem` begins: its last dot, unless that dot starts
// the name or the extension is too long to be one.
std::size_t ExtensionStart(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0 || name.size() - dot > 10)
        return name.size();
    return dot;
}

}  // namespace

std::wstring DecodeEscapes(const std::wstring& text) {
    std::wstring decoded;
    std::string bytes;  // a run of escapes, decoded together: one character may take several
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && std::iswxdigit(text[i + 1]) && std::iswxdigit(text[i + 2])) {
            bytes += static_cast<char>(std::wcstoul(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
            continue;
        }
        decoded += Widen(bytes);
        bytes.clear();
        decoded += text[i];
    }
    return decoded + Widen(bytes);
}

std::wstring FitFileName(const std::wstring& folder, const std::wstring& name) {
    std::wstring valid = name;
    // The reserved-name rule changes nothing else: a second pass cleans the rest.
    FileSystem::MakeValidFileName(valid, L'_');
    FileSystem::MakeValidFileName(valid, L'_');
    if (valid.empty())
        valid = L"video";
    if (folder.size() + kNameSuffixRoom >= MAX_PATH)
        return {};
    const std::size_t room = std::min<std::size_t>(kMaxFileName, MAX_PATH - 1 - kNameSuffixRoom - folder.size());
    if (valid.size() <= room)
        return valid;
    const std::size_t dot = ExtensionStart(valid);
    const std::wstring extension = valid.substr(dot);
    if (extension.size() >= room)
        return {};
    std::wstring stem = valid.substr(0, std::min(dot, room - extension.size()));
    // Half a surrogate pair is no character.
    if (!stem.empty() && IS_HIGH_SURROGATE(stem.back()))
        stem.pop_back();
    std::wstring fitted = stem + extension;
    FileSystem::MakeValidFileName(fitted, L'_');
    return fitted.empty() || fitted.size() > room ? std::wstring() : fitted;
}

std::wstring NumberedName(const std::wstring& name, int n) {
    if (n < 2)
        return name;
    const std::size_t dot = ExtensionStart(name);
    return name.substr(0, dot) + L" (" + std::to_wstring(n) + L")" + name.substr(dot);
}

std::wstring GroupedNumber(unsigned long long value) {
    std::wstring digits = std::to_wstring(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), 1, L',');
    return digits;
}

}  // namespace KavennaEngine
