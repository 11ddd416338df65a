#pragma once
// One tip of the day as the tips file describes it: its texts per language,
// its links and picture, and how often it may still be shown.
//
//   Tips::Tip tip;
//   if (tip.Parse(node) && tip.IsShowable()) text = tip.GetText(L"en-us");
//
// A value: the collection hands out copies. Threads: one at a time.
#include "foundation/filesystem/XmlFile.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace Registry {
class Key;
}

namespace Tips {

class Tip {
public:
    Tip();
    // Copies every field, then takes the product's placeholder values afresh.
    Tip(const Tip& other);
    Tip& operator=(const Tip& other) = default;

    // Fills the tip from one child node of a tips list. False for a node
    // that is no "Tip" or a tip without readable text. Throws when a
    // required attribute is missing or a number is not one.
    bool Parse(IXMLDOMNode* node);
    // The same with the statistics key of the caller, kept open over a list.
    bool _Parse(IXMLDOMNode* node, Registry::Key& statistics);

    // The text in that language with the placeholders replaced; empty
    // (logged) when the tip has none.
    std::wstring GetText(const std::wstring& language) const;
    // The picture's file in the data folder; empty when the tip has none or
    // it is missing.
    std::wstring GetPicturePath() const;
    // "Img/" + the picture's address; empty without one.
    std::wstring GetPictureUrl() const;
    std::wstring GetMoreInfoUrl() const { return m_moreInfoUrl; }
    std::wstring GetShowUrl() const { return m_showUrl; }
    std::wstring GetGuid() const { return m_guid; }
    int GetOrderId() const { return m_orderId; }
    int GetShowCount() const { return m_showCount; }
    int GetShownCount() const { return m_shownCount; }
    bool IsCounted() const { return m_isCounted; }

    // Not used up, and for the product's edition.
    bool IsShowable() const;
    // Counts the tip once per object while it has showings left.
    void MarkShown();
    // Every field to its default except the counted flag and the placeholders.
    void Reset();

private:
    bool _ReadProductEditions(IXMLDOMNode* node);
    bool _ReadTipText(IXMLDOMNode* node);
    void _FillPlaceholders();

    int m_orderId = 0;
    int m_showCount = -1;
    int m_shownCount = 0;
    bool m_isCounted = false;
    std::wstring m_showUrl;
    std::wstring m_moreInfoUrl;
    std::wstring m_pictureUrl;
    std::wstring m_guid;
    std::vector<int> m_editions;
    std::map<std::wstring, std::wstring> m_texts;
    std::vector<std::pair<std::wstring, std::wstring>> m_placeholders;
};

// The whole text as a signed decimal number; throws std::runtime_error for
// anything else, the empty text included.
int _ParseTipNumber(const std::wstring& text);

}  // namespace Tips
