#include "foundation/strings/TextHelpers.h"

namespace STLHelpers {

std::wstring Concat(std::wstring text, const wlitestring& tail) {
    if (!tail.empty())
        text.append(tail.data(), tail.length());
    return text;
}

void Split(const wlitestring& text, const wlitestring& delimiter, std::vector<std::wstring>& parts, bool clear,
           bool skipEmpty, bool remainderOnlyAfterPiece) {
    if (clear)
        parts.clear();
    const std::wstring whole = text.str();
    const std::wstring cut = delimiter.str();
    bool tookPiece = false;
    size_t start = 0;
    if (!cut.empty()) {
        for (size_t at = whole.find(cut); at != std::wstring::npos; at = whole.find(cut, start)) {
            if (!skipEmpty || at > start) {
                parts.push_back(whole.substr(start, at - start));
                tookPiece = true;
            }
            start = at + cut.size();
        }
    }
    const std::wstring remainder = whole.substr(start);
    if ((tookPiece || !remainderOnlyAfterPiece) && (!skipEmpty || !remainder.empty()))
        parts.push_back(remainder);
}

void TrimLeft(std::wstring& text, const wlitestring& characters) {
    const std::wstring set = characters.str();
    const size_t first = text.find_first_not_of(set);
    text.erase(0, first == std::wstring::npos ? text.size() : first);
}

void TrimRight(std::wstring& text, const wlitestring& characters) {
    const size_t last = text.find_last_not_of(characters.str());
    if (last != std::wstring::npos)
        text.erase(last + 1);
}

std::wstring Utf8ToWString(const char* text) {
    return text ? Utf8ToWide(text) : std::wstring();
}

std::wstring Utf8ToWString(const std::string& text) {
    return Utf8ToWide(text);
}

std::wstring Utf8ToWString(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}

std::string WStringToUtf8(const wchar_t* text) {
    return text ? WideToUtf8(text) : std::string();
}

std::wstring MultiByteToWide(const char* text, const CodePageInfo& codePage) {
    std::wstring result;
    if (text)
        MultiByteToWString(text, -1, result, codePage);
    return result;
}

}  // namespace STLHelpers
