#pragma once
// A storage for manager tests: serves the kinds of its mask from a table of
// names, resolves ids through the manager's registered names like the real
// storages, and counts every call it gets.
#include "resources/resourcelib/IInternalManager.h"
#include "resources/resourcelib/ResourceError.h"

#include <boost/make_shared.hpp>
#include <boost/system/system_error.hpp>

#include <atomic>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace ResourceTesting {

using ResourceLib::BinaryData;
using ResourceLib::ResourceType;
using ResourceLib::SharedBitmap;
using ResourceLib::SharedFont;
using ResourceLib::SharedIcon;

class FakeStorage : public ResourceLib::IStorage {
public:
    FakeStorage(ResourceType supported, std::wstring tag) : m_supported(supported), m_tag(std::move(tag)) {}

    // Everything by this name answers; strings answer "<tag>:<name>".
    void Add(const std::wstring& name) { m_names[name] = true; }
    // A lookup of this name throws.
    void AddThrowing(const std::wstring& name) { m_names[name] = false; }
    void SetAttachResult(bool result) { m_attachResult = result; }
    void SetResetResult(bool result) { m_resetResult = result; }
    void SetReleaseResult(bool result) { m_releaseResult = result; }

    int Calls() const { return m_calls; }
    int AttachCalls() const { return m_attachCalls; }
    int ResetCalls() const { return m_resetCalls; }
    int ReleaseCalls() const { return m_releaseCalls; }
    const std::wstring& Tag() const { return m_tag; }
    boost::shared_ptr<ResourceLib::IManager> Manager() const { return m_manager.lock(); }

    // Values this storage gives for a found name: recognisable per tag.
    COLORREF ColorValue() const { return RGB(m_tag.size(), 2, 3); }
    int IntegerValue() const { return 100 + static_cast<int>(m_tag.size()); }

    bool Attach(const boost::weak_ptr<ResourceLib::IManager>& manager) override {
        ++m_attachCalls;
        m_manager = manager;
        return m_attachResult;
    }

    std::wstring GetStringByName(const wlitestring& name, ErrorCodePtr ec) override {
        if (!Found(name.str(), ec))
            return std::wstring();
        return m_textOf ? m_textOf(name.str()) : m_tag + L":" + name.str();
    }
    std::wstring GetStringById(int id, ErrorCodePtr ec) override { return GetStringByName(NameOf(id, ResourceLib::ResourceTypes::String), ec); }
    SharedBitmap GetBitmapByName(const wlitestring& name, ResourceLib::PremultiplyAlpha premultiplied, ErrorCodePtr ec) override {
        m_lastPremultiplied = premultiplied;
        return Found(name.str(), ec) ? m_bitmap : SharedBitmap();
    }
    SharedBitmap GetBitmapById(int id, ResourceLib::PremultiplyAlpha premultiplied, ErrorCodePtr ec) override {
        return GetBitmapByName(NameOf(id, ResourceLib::ResourceTypes::Bitmap), premultiplied, ec);
    }
    SharedIcon GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) override {
        m_lastIconSize = {width, height};
        return Found(name.str(), ec) ? m_icon : SharedIcon();
    }
    SharedIcon GetIconById(int id, int width, int height, ErrorCodePtr ec) override {
        return GetIconByName(NameOf(id, ResourceLib::ResourceTypes::Icon), width, height, ec);
    }
    BinaryData GetBinaryByName(const wlitestring& name, ErrorCodePtr ec) override {
        BinaryData data;
        if (Found(name.str(), ec)) {
            data.pData = m_bytes.data();
            data.size = static_cast<std::uint32_t>(m_bytes.size());
        }
        return data;
    }
    BinaryData GetBinaryById(int id, ErrorCodePtr ec) override { return GetBinaryByName(NameOf(id, ResourceLib::ResourceTypes::Binary), ec); }
    COLORREF GetColorByName(const wlitestring& name, ErrorCodePtr ec) override { return Found(name.str(), ec) ? ColorValue() : 0; }
    COLORREF GetColorById(int id, ErrorCodePtr ec) override { return GetColorByName(NameOf(id, ResourceLib::ResourceTypes::Color), ec); }
    SharedFont GetFontByName(const wlitestring& name, ErrorCodePtr ec) override { return Found(name.str(), ec) ? m_font : SharedFont(); }
    SharedFont GetFontById(int id, ErrorCodePtr ec) override { return GetFontByName(NameOf(id, ResourceLib::ResourceTypes::Font), ec); }
    int GetIntegerByName(const wlitestring& name, ErrorCodePtr ec) override { return Found(name.str(), ec) ? IntegerValue() : 0; }
    int GetIntegerById(int id, ErrorCodePtr ec) override { return GetIntegerByName(NameOf(id, ResourceLib::ResourceTypes::Integer), ec); }
    std::wstring GetFilePath(int id, ResourceType typeMask, ErrorCodePtr ec) override {
        m_lastFilePathMask = typeMask;
        const std::wstring name = NameOf(id, ResourceLib::ResourceTypes::FilePath);
        return Found(name, ec) ? m_filePath : std::wstring();
    }

    ResourceType GetSupportedTypes() override { return m_supported; }
    bool IsValid() override { return true; }
    bool ResetCaches() override {
        ++m_resetCalls;
        return m_resetResult;
    }
    bool ReleaseCachedResource(int id, ResourceType type) override {
        ++m_releaseCalls;
        return m_releaseResult;
    }

    SharedBitmap m_bitmap = CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(nullptr);
    SharedIcon m_icon = CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectIcon>(nullptr);
    SharedFont m_font = CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectFont>(nullptr);
    std::vector<BYTE> m_bytes{1, 2, 3};
    std::wstring m_filePath = L"C:/Skins/Dark/../Common/Logo.png/";
    bool m_lastPremultiplied = false;
    std::pair<int, int> m_lastIconSize{0, 0};
    ResourceType m_lastFilePathMask = 0;
    // When set, the text of a found string.
    std::function<std::wstring(const std::wstring& name)> m_textOf;

private:
    // The manager's registered name, as the storages resolve ids.
    std::wstring NameOf(int id, ResourceType type) {
        const boost::shared_ptr<ResourceLib::IManager> manager = m_manager.lock();
        return manager ? manager->GetResourceName(id, type) : std::wstring();
    }

    bool Found(const std::wstring& name, ErrorCodePtr ec) {
        ++m_calls;
        const auto found = m_names.find(name);
        if (found != m_names.end() && !found->second)
            throw std::runtime_error("storage failed");
        if (found != m_names.end())
            return true;
        const boost::system::error_code miss(ResourceLib::ResourceNotFound, ResourceLib::GetErrorCategory());
        if (!ec)
            throw boost::system::system_error(miss);
        *ec = miss;
        return false;
    }

    const ResourceType m_supported;
    const std::wstring m_tag;
    std::map<std::wstring, bool> m_names;
    boost::weak_ptr<ResourceLib::IManager> m_manager;
    bool m_attachResult = true;
    bool m_resetResult = true;
    bool m_releaseResult = false;
    std::atomic<int> m_calls{0};
    int m_attachCalls = 0;
    int m_resetCalls = 0;
    int m_releaseCalls = 0;
};

}  // namespace ResourceTesting
