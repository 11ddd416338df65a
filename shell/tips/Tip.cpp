#include "shell/tips/Tip.h"

#include "foundation/debugging/Log.h"
#include "foundation/registry/Key.h"
#include "foundation/strings/NumberStrings.h"
#include "foundation/strings/StringAlgorithms.h"
#include "shell/tips/TipsFiles.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>
#include <stdexcept>

namespace Tips {

using FileSystem::XmlFile;
using FileSystem::XmlNodeList;
using FileSystem::XmlNodePtr;

int _ParseTipNumber(const std::wstring& text) {
    const std::wstring trimmed = STLHelpers::TrimWhitespaceCopy(text);
    wchar_t* end = nullptr;
    errno = 0;
    const long value = trimmed.empty() ? 0 : std::wcstol(trimmed.c_str(), &end, 10);
    if (trimmed.empty() || *end != L'\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        throw std::runtime_error("Not a number");
    return static_cast<int>(value);
}

Tip::Tip() {
    _FillPlaceholders();
}

Tip::Tip(const Tip& other)
    : m_orderId(other.m_orderId),
      m_showCount(other.m_showCount),
      m_shownCount(other.m_shownCount),
      m_isCounted(other.m_isCounted),
      m_showUrl(other.m_showUrl),
      m_moreInfoUrl(other.m_moreInfoUrl),
      m_pictureUrl(other.m_pictureUrl),
      m_guid(other.m_guid),
      m_editions(other.m_editions),
      m_texts(other.m_texts) {
    _FillPlaceholders();
}

void Tip::_FillPlaceholders() {
    const ProductValues product = GetProductValues();
    m_placeholders = {{L"{ProductName}", product.productName}, {L"{PellmarAppURL}", product.converterAddress}};
}

void Tip::Reset() {
    m_orderId = 0;
    m_showCount = -1;
    m_shownCount = 0;
    m_showUrl.clear();
    m_moreInfoUrl.clear();
    m_pictureUrl.clear();
    m_guid.clear();
    m_editions.clear();
    m_texts.clear();
}

bool Tip::Parse(IXMLDOMNode* node) {
    Registry::Key statistics(Registry::ToRootKey(HKEY_CURRENT_USER), GetStatisticsKeyPath());
    return _Parse(node, statistics);
}

bool Tip::_Parse(IXMLDOMNode* node, Registry::Key& statistics) {
    Reset();
    if (XmlFile::GetNodeName(node) != L"Tip")
        return false;
    // Without an error holder a missing attribute throws.
    m_orderId = _ParseTipNumber(XmlFile::GetAttribute(node, L"orderId"));
    m_guid = XmlFile::GetAttribute(node, L"guid");

    XmlNodeList children;
    if (!XmlFile::HasChildren(node) || !XmlFile::GetChildNodes(node, children) || children.empty())
        return false;
    bool hasText = false;
    for (const XmlNodePtr& child : children) {
        const std::wstring name = XmlFile::GetNodeName(child.Get());
        if (name == L"ShowUrl" && m_showUrl.empty()) {
            m_showUrl = XmlFile::GetAttribute(child.Get(), L"value");
        } else if (name == L"MoreInfoUrl" && m_moreInfoUrl.empty()) {
            m_moreInfoUrl = XmlFile::GetAttribute(child.Get(), L"value");
        } else if (name == L"PictureUrl" && m_pictureUrl.empty()) {
            m_pictureUrl = XmlFile::GetAttribute(child.Get(), L"value");
        } else if (name == L"ShowCount" && m_showCount == -1) {
            const std::wstring text = XmlFile::GetText(child.Get());
            m_showCount = text.empty() ? 0 : _ParseTipNumber(text);
        } else if (name == L"ProductEditions" && m_editions.empty()) {
            if (!_ReadProductEditions(child.Get()))
                DEBUG_LOG(Debugging::LevelWRN, L"Can't read product editions");
        } else if (name == L"TipText" && m_texts.empty()) {
            if (!_ReadTipText(child.Get())) {
                DEBUG_LOG(Debugging::LevelWRN, L"Can't read text");
                Reset();
                return false;
            }
            hasText = true;
        } else {
            DEBUG_LOG(Debugging::LevelWRN, L"Unknown attribute " + name + L" found");
        }
    }
    m_shownCount = static_cast<int>(statistics.GetDWORD(m_guid, 0, true));
    return hasText;
}

bool Tip::_ReadProductEditions(IXMLDOMNode* node) {
    XmlNodeList children;
    if (!XmlFile::GetChildNodes(node, children) || children.empty()) {
        DEBUG_LOG(Debugging::LevelWRN, L"Can't get children nodes");
        return false;
    }
    if (XmlFile::GetNodeName(children.front().Get()) != L"Edition")
        return false;
    for (const XmlNodePtr& child : children)
        m_editions.push_back(_ParseTipNumber(XmlFile::GetAttribute(child.Get(), L"value")));
    return true;
}

bool Tip::_ReadTipText(IXMLDOMNode* node) {
    XmlNodeList children;
    if (!XmlFile::GetChildNodes(node, children) || children.empty()) {
        DEBUG_LOG(Debugging::LevelWRN, L"Can't get children nodes");
        return false;
    }
    for (const XmlNodePtr& child : children)
        m_texts[XmlFile::GetNodeName(child.Get())] = XmlFile::GetText(child.Get());
    return true;
}

std::wstring Tip::GetText(const std::wstring& language) const {
    const auto found = m_texts.find(language);
    if (found == m_texts.end()) {
        DEBUG_LOG(Debugging::LevelWRN, L"There is no text for tip orderId=" + STLHelpers::IntToWString(m_orderId) +
                                           L" in language '" + language + L"'");
        return std::wstring();
    }
    std::wstring text = found->second;
    STLHelpers::ReplaceAllPairs(text, m_placeholders);
    return text;
}

std::wstring Tip::GetPicturePath() const {
    const std::wstring name = GetSafeFileNamePart(m_pictureUrl);
    if (name.empty())
        return std::wstring();
    const std::wstring path = GetDataFolder() + name;
    if (FileSystem::IsExistingFile(path))
        return path;
    DEBUG_LOG(Debugging::LevelWRN, L"Can't find picture=" + path);
    return std::wstring();
}

std::wstring Tip::GetPictureUrl() const {
    return m_pictureUrl.empty() ? std::wstring() : L"Img/" + m_pictureUrl;
}

bool Tip::IsShowable() const {
    const bool isLeft = m_showCount == -1 || m_shownCount <= m_showCount;
    if (!isLeft)
        return false;
    return m_editions.empty() ||
           std::find(m_editions.begin(), m_editions.end(), GetProductValues().edition) != m_editions.end();
}

void Tip::MarkShown() {
    if (m_showCount != -1 && m_shownCount <= m_showCount && !m_isCounted) {
        ++m_shownCount;
        m_isCounted = true;
    }
}

}  // namespace Tips
