#include "shell/tips/TipsOfTheDay.h"

#include "foundation/debugging/Log.h"
#include "foundation/errors/Checks.h"
#include "foundation/registry/Key.h"
#include "foundation/strings/NumberStrings.h"
#include "shell/tips/TipsFiles.h"

#include <windows.h>

namespace Tips {

using FileSystem::XmlFile;
using FileSystem::XmlNodeList;
using FileSystem::XmlNodePtr;

TipsOfTheDay::TipsOfTheDay(bool countShows) : m_current(m_tips.end()), m_countShows(countShows) {
    _Read(GetTipsPath());
}

TipsOfTheDay::TipsOfTheDay(const std::wstring& path, bool countShows)
    : m_current(m_tips.end()), m_countShows(countShows) {
    _Read(path);
}

TipsOfTheDay::~TipsOfTheDay() {
    try {
        Registry::Key statistics(Registry::ToRootKey(HKEY_CURRENT_USER), GetStatisticsKeyPath());
        for (const auto& entry : m_tips) {
            const Tip& tip = entry.second;
            if (!tip.IsShowable()) {
                const std::wstring picture = tip.GetPicturePath();
                DEBUG_LOG(Debugging::LevelINF, L"Deleting picture: " + picture);
                _DeletePicture(picture);
            }
            if (tip.IsCounted())
                statistics.SetDWORD(tip.GetGuid(), static_cast<DWORD>(tip.GetShownCount()));
        }
        if (!_SwapInNewTipsFile())
            DEBUG_LOG(Debugging::LevelWRN, L"failed to rename \"TipOfTheDay_new.xml\" to \"TipOfTheDay.xml\" ");
    } catch (...) {
        // A destructor throws nothing; the next run reads the older counts.
    }
}

bool TipsOfTheDay::_Read(const std::wstring& path) {
    m_tips.clear();
    m_current = m_tips.end();
    if (path.empty()) {
        DEBUG_LOG(Debugging::LevelWRN,
                  L"Tips path is empty! There are no TipOfTheDay xml file int the apropriate folders!");
        return false;
    }
    try {
        const XmlFile file(path, false);
        _ReadFileVersion(file);
        const ProductValues product = GetProductValues();
        const std::wstring oem = STLHelpers::UIntToWString(static_cast<std::uint32_t>(product.oemId));
        DEBUG_LOG(Debugging::LevelINF, L"OemID='" + oem + L"'");
        DEBUG_LOG(Debugging::LevelINF, L"ProductName='" + product.productKeyName + L"'");

        const std::wstring oemPath = L"TipsOfTheDay/OEM[@id='" + oem + L"']/Product[@name='";
        const XmlNodePtr productTips = file.SelectNode(oemPath + product.productKeyName + L"']/Tips");
        if (!productTips)
            DEBUG_LOG(Debugging::LevelWRN, L"can't find Tips node for product = '" + product.productKeyName + L"'");
        _ReadTips(productTips.Get());
        const XmlNodePtr defaultTips = file.SelectNode(oemPath + L"Default']/Tips");
        if (!defaultTips)
            DEBUG_LOG(Debugging::LevelWRN,
                      L"can't find Default Tips node for product = '" + product.productKeyName + L"'");
        _ReadTips(defaultTips.Get());

        CHECK_ERROR(!m_tips.empty());
        m_current = _StartTip();
        if (m_countShows)
            m_current->second.MarkShown();
        return true;
    } catch (...) {
        DEBUG_LOG(Debugging::LevelERR, L"Failed to parse xml file: " + path);
        m_current = m_tips.end();
        return !m_tips.empty();
    }
}

void TipsOfTheDay::_ReadFileVersion(const XmlFile& file) {
    const XmlNodePtr node = file.SelectNode(L"TipsOfTheDay/FileVersion");
    if (!node) {
        DEBUG_LOG(Debugging::LevelWRN, L"Can't find \"FileVersion\" node.  FilePath = " + file.GetPath());
        return;
    }
    m_fileVersion = _ParseTipNumber(XmlFile::GetAttribute(node.Get(), L"version"));
    DEBUG_LOG(Debugging::LevelDBG, L"FileVersion: " + STLHelpers::IntToWString(m_fileVersion));
}

bool TipsOfTheDay::_ReadTips(IXMLDOMNode* node) {
    if (!node) {
        DEBUG_LOG(Debugging::LevelWRN, L"Can't find Tips node");
        return false;
    }
    if (!XmlFile::HasChildren(node)) {
        DEBUG_LOG(Debugging::LevelWRN, L"There are no children in this node");
        return false;
    }
    XmlNodeList children;
    if (!XmlFile::GetChildNodes(node, children) || children.empty()) {
        DEBUG_LOG(Debugging::LevelWRN, L"Unrecognized node");
        return false;
    }
    Registry::Key statistics(Registry::ToRootKey(HKEY_CURRENT_USER), GetStatisticsKeyPath());
    for (size_t i = 0; i < children.size(); ++i) {
        Tip tip;
        if (!tip._Parse(children[i].Get(), statistics)) {
            DEBUG_LOG(Debugging::LevelWRN, L"Failed to parse tip #" + STLHelpers::UIntToWString(static_cast<std::uint32_t>(i)));
            continue;
        }
        const std::wstring orderId = STLHelpers::IntToWString(tip.GetOrderId());
        if (m_tips.count(tip.GetOrderId())) {
            DEBUG_LOG(Debugging::LevelWRN, L"Duplicated orederId(orderId=" + orderId + L")");
            continue;
        }
        if (!tip.IsShowable()) {
            DEBUG_LOG(Debugging::LevelDBG, L"Skip tip: orderId=" + orderId);
            continue;
        }
        m_tips.emplace(tip.GetOrderId(), tip);
    }
    return !m_tips.empty();
}

// The first tip with showings left that has an order id from 1; else the first.
TipsOfTheDay::TipMap::iterator TipsOfTheDay::_StartTip() {
    for (auto it = m_tips.begin(); it != m_tips.end(); ++it) {
        const Tip& tip = it->second;
        if (it->first >= 1 && tip.GetShowCount() > tip.GetShownCount())
            return it;
    }
    return m_tips.begin();
}

Tip TipsOfTheDay::GetCurrentTip() const {
    return m_current == m_tips.end() ? Tip() : m_current->second;
}

// A loop, not a call per skipped tip: a file of many used-up tips must not
// run the stack out.
template <class Step>
Tip TipsOfTheDay::_MoveToShowable(unsigned steps, Step step) {
    if (m_tips.empty())
        return Tip();
    for (;; ++steps) {
        if (steps > m_tips.size()) {
            DEBUG_LOG(Debugging::LevelERR, L"All tips can't be shown! It looks like 'Default' wasn't loaded");
            m_current = m_tips.end();
            return Tip();
        }
        step();
        if (m_countShows)
            m_current->second.MarkShown();
        if (m_current->second.IsShowable())
            return m_current->second;
    }
}

Tip TipsOfTheDay::GetNextTip(unsigned steps) {
    return _MoveToShowable(steps, [this] {
        if (m_current == m_tips.end() || ++m_current == m_tips.end())
            m_current = m_tips.begin();
    });
}

Tip TipsOfTheDay::GetPreviousTip(unsigned steps) {
    return _MoveToShowable(steps, [this] {
        if (m_current == m_tips.end() || m_current == m_tips.begin())
            m_current = std::prev(m_tips.end());
        else
            --m_current;
    });
}

std::vector<std::wstring> TipsOfTheDay::GetAllPicturesUrls() const {
    std::vector<std::wstring> urls;
    for (const auto& entry : m_tips) {
        const std::wstring url = entry.second.GetPictureUrl();
        if (!url.empty())
            urls.push_back(url);
    }
    DEBUG_LOG(Debugging::LevelINF, L"There are " + STLHelpers::UIntToWString(static_cast<std::uint32_t>(urls.size())) +
                                       L" pictures");
    return urls;
}

void TipsOfTheDay::_DeletePicture(const std::wstring& path) {
    if (path.empty())
        return;
    if (FileSystem::IsExistingFile(path))
        ::DeleteFileW(path.c_str());
    else
        DEBUG_LOG(Debugging::LevelWRN, L"Picture file isn't exist");
}

}  // namespace Tips
