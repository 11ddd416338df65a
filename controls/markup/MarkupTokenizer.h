#pragma once
// Cutting a prepared markup text into text runs and tags, and a tag's
// attribute text into names and values.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace MarkupLib {

struct Token {
    enum Kind { Text, Tag };
    Kind kind = Text;
    // A run's text, or a tag's name without its "/".
    std::wstring text;
    bool closing = false;
    // The rest of the tag after its name, leading blanks removed.
    std::wstring attributes;
    // Filled from the tag table for tags.
    int id = 0;
    std::wstring styleClass;
};

// Reads from a position on; the text must outlive the tokenizer. Reading
// never passes the end of the text.
class Tokenizer {
public:
    explicit Tokenizer(const std::wstring& text, std::size_t position = 0);

    // The next run or tag; false at the end. "<<", and "<" as the last
    // character, give a literal "<" that ends its run. A tag without ">"
    // ends the text.
    bool Next(Token& token);
    std::size_t Position() const { return m_position; }

private:
    const std::wstring& m_text;
    std::size_t m_position;
};

typedef std::vector<std::pair<std::wstring, std::wstring>> AttributeList;

// The attributes in order; one without "=" has an empty value. A quoted
// value runs to the matching quote, an unquoted one to the next blank.
AttributeList ReadAttributes(const std::wstring& attributeText);

}  // namespace MarkupLib
