#include "controls/markup/MarkupTokenizer.h"

#include <cwctype>

namespace MarkupLib {

Tokenizer::Tokenizer(const std::wstring& text, std::size_t position)
    : m_text(text), m_position(position < text.size() ? position : text.size()) {}

bool Tokenizer::Next(Token& token) {
    const std::size_t length = m_text.size();
    if (m_position >= length)
        return false;
    token = Token();
    const std::size_t open = m_text.find(L'<', m_position);
    token.text = m_text.substr(m_position, open == std::wstring::npos ? std::wstring::npos : open - m_position);
    if (open == std::wstring::npos) {
        m_position = length;
        return true;
    }
    if (open + 1 == length || m_text[open + 1] == L'<') {
        token.text += L'<';
        m_position = open + 2 < length ? open + 2 : length;
        return true;
    }
    if (!token.text.empty()) {
        m_position = open;
        return true;
    }
    const std::size_t close = m_text.find(L'>', open + 1);
    if (close == std::wstring::npos) {
        // An unterminated tag ends the text.
        m_position = length;
        return false;
    }
    const std::wstring body = m_text.substr(open + 1, close - open - 1);
    m_position = close + 1;

    token.kind = Token::Tag;
    const std::size_t nameEnd = body.find_first_of(L" =");
    token.text = body.substr(0, nameEnd);
    if (nameEnd != std::wstring::npos) {
        const std::size_t rest = body.find_first_not_of(L' ', nameEnd);
        if (rest != std::wstring::npos)
            token.attributes = body.substr(rest);
    }
    if (!token.text.empty() && token.text[0] == L'/') {
        token.closing = true;
        token.text.erase(0, 1);
    }
    return true;
}

AttributeList ReadAttributes(const std::wstring& text) {
    AttributeList attributes;
    const std::size_t length = text.size();
    std::size_t at = 0;
    const auto isBlank = [](wchar_t c) { return c == L' '; };
    while (at < length) {
        while (at < length && !std::iswalnum(text[at]) && text[at] != L'.')
            ++at;
        if (at >= length)
            break;
        const std::size_t nameStart = at;
        while (at < length && !isBlank(text[at]) && text[at] != L'=')
            ++at;
        std::wstring name = text.substr(nameStart, at - nameStart);
        while (at < length && isBlank(text[at]))
            ++at;
        std::wstring value;
        if (at < length && text[at] == L'=') {
            while (at < length && (isBlank(text[at]) || text[at] == L'='))
                ++at;
            if (at < length && (text[at] == L'"' || text[at] == L'\'')) {
                const wchar_t quote = text[at++];
                const std::size_t end = text.find(quote, at);
                value = text.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
                at = end == std::wstring::npos ? length : end + 1;
            } else {
                const std::size_t start = at;
                while (at < length && !isBlank(text[at]))
                    ++at;
                value = text.substr(start, at - start);
            }
        }
        attributes.emplace_back(std::move(name), std::move(value));
    }
    return attributes;
}

}  // namespace MarkupLib
