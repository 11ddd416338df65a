#include "foundation/debugging/SourceTag.h"

#include "foundation/strings/NumberStrings.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/strings/StringConversions.h"

#include <cstring>

namespace Debugging {
namespace {

const std::string kLambdaMark = "::<lambda";

bool IsNameCharacter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_';
}

// Position of the "(" that opens the parameter list closed by the last ")".
std::string::size_type FindParameterList(const std::string& text) {
    const std::string::size_type close = text.rfind(')');
    if (close == std::string::npos)
        return std::string::npos;
    int depth = 0;
    for (std::string::size_type at = close + 1; at-- > 0;) {
        if (text[at] == ')')
            ++depth;
        else if (text[at] == '(' && --depth == 0)
            return at;
    }
    return std::string::npos;
}

// Start of the qualified name that ends at `end`: after the last blank that
// stands outside template arguments and parentheses. An operator's own
// characters ("operator<", "operator bool") are skipped first.
std::string::size_type FindNameStart(const std::string& text, std::string::size_type end) {
    std::string::size_type from = end;
    for (std::string::size_type at = text.rfind("operator", end); at != std::string::npos && at < end;) {
        const bool startsWord = at == 0 || !IsNameCharacter(text[at - 1]);
        const bool endsWord = at + 8 >= end || !IsNameCharacter(text[at + 8]);
        if (startsWord && endsWord) {
            from = at;
            break;
        }
        if (at == 0)
            break;
        at = text.rfind("operator", at - 1);
    }
    int depth = 0;
    for (std::string::size_type at = from; at-- > 0;) {
        const char ch = text[at];
        if (ch == '>' || ch == ')')
            ++depth;
        else if ((ch == '<' || ch == '(') && depth > 0)
            --depth;
        else if (ch == ' ' && depth == 0)
            return at + 1;
    }
    return 0;
}

}  // namespace

std::string QualifiedFunctionName(const char* signature) {
    std::string text = signature ? signature : "";
    const std::string::size_type with = text.find(" [with ");
    if (with != std::string::npos)
        text.erase(with);

    const std::string::size_type lambda = text.find(kLambdaMark);
    if (lambda != std::string::npos)
        return QualifiedFunctionName(text.substr(0, lambda).c_str()) + "::<lambda>";

    const std::string::size_type open = FindParameterList(text);
    const std::string::size_type end = open == std::string::npos ? text.size() : open;
    const std::string::size_type start = FindNameStart(text, end);
    return text.substr(start, end - start);
}

std::wstring MakeSourceTag(const char* signature, int line) {
    std::wstring tag = STLHelpers::Utf8ToWide(QualifiedFunctionName(signature).c_str());
    tag += L"@";
    tag += STLHelpers::IntToWString(line);
    STLHelpers::ReplaceAllInPlace(tag, L"::", L":");
    return tag;
}

}  // namespace Debugging
