#pragma once
// The markup's CSS-like style sheet: rules by selector, and the declaration
// reader that applies a rule's properties to a style record.
#include "controls/markup/MarkupStyle.h"
#include "controls/markup/MarkupValues.h"

#include <map>
#include <string>

namespace MarkupLib {

class StyleSheet {
public:
    // Empties the sheet and reads the rules of the text: a selector (from the
    // first letter, digit or "." to a blank or "{") and its declarations
    // between braces. A later rule of the same selector replaces the earlier;
    // a selector without a braced block is skipped.
    void Read(const std::wstring& text);

    // The declarations of the rule for `name` (lower-cased); null when none.
    const std::wstring* Find(const std::wstring& name) const;
    std::size_t RuleCount() const { return m_rules.size(); }

private:
    std::map<std::wstring, std::wstring> m_rules;
};

// Applies "property: value; ..." to the style; the text is read lower-cased,
// and properties not known are ignored.
void ApplyDeclarations(const std::wstring& declarations, Style& style, const ValueContext& context);

}  // namespace MarkupLib
