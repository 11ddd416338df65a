#pragma once
// DummyManagerImpl: a manager that holds nothing and answers every lookup
// with the empty value (GetResourceId with 0). Handed out while no real
// manager is published, so late callers at exit get empty values instead of
// a crash. Not an internal manager: storages refuse to attach to it.
//
// Threads: any thread; it has no state.
#include "resources/resourcelib/IManager.h"

#include <boost/enable_shared_from_this.hpp>

namespace ResourceLib {

class DummyManagerImpl : public IManager, public boost::enable_shared_from_this<DummyManagerImpl> {
public:
    void Reset() override {}
    bool SetFallbackManager(boost::shared_ptr<IManager>) override { return false; }
    bool RegisterResourceName(int, const wlitestring&, ResourceType) override { return false; }
    bool SetLanguageProvider(boost::shared_ptr<ILanguageProvider>) override { return false; }
    bool SetSkinProvider(boost::shared_ptr<ISkinProvider>) override { return false; }
    bool AddStorage(boost::shared_ptr<IStorage>) override { return false; }
    void SetExtraParamsProvider(boost::shared_ptr<IManagerExtraParamsProvider>) override {}

    std::wstring GetStringByName(const wlitestring&) override { return std::wstring(); }
    std::wstring GetStringById(int) override { return std::wstring(); }
    SharedBitmap GetBitmapByName(const wlitestring&, PremultiplyAlpha) override { return SharedBitmap(); }
    SharedBitmap GetBitmapById(int, PremultiplyAlpha) override { return SharedBitmap(); }
    SharedIcon GetIconByName(const wlitestring&, int, int) override { return SharedIcon(); }
    SharedIcon GetIconById(int, int, int) override { return SharedIcon(); }
    BinaryData GetBinaryByName(const wlitestring&) override { return BinaryData(); }
    BinaryData GetBinaryById(int) override { return BinaryData(); }
    COLORREF GetColorByName(const wlitestring&) override { return 0; }
    COLORREF GetColorById(int) override { return 0; }
    SharedFont GetFontByName(const wlitestring&) override { return SharedFont(); }
    SharedFont GetFontById(int) override { return SharedFont(); }
    int GetIntegerByName(const wlitestring&) override { return 0; }
    int GetIntegerById(int) override { return 0; }
    std::wstring GetFilePath(int, ResourceType) override { return std::wstring(); }

    bool ResetCaches() override { return false; }
    bool ReleaseCachedResource(int, ResourceType) override { return false; }
    std::wstring GetResourceName(int, ResourceType) override { return std::wstring(); }
    int GetResourceId(const wlitestring&, ResourceType) override { return 0; }

    bool SetThrowOnFailure(bool) override { return false; }
    bool GetThrowOnFailure() override { return false; }

    boost::shared_ptr<ILanguageProvider> GetLanguageProvider() override { return nullptr; }
    bool SetLanguageByName(const wlitestring&) override { return false; }
    bool SetLanguage(boost::shared_ptr<ILanguage>) override { return false; }
    boost::shared_ptr<ILanguage> GetCurrentLanguage() override { return nullptr; }

    boost::shared_ptr<ISkinProvider> GetSkinProvider() override { return nullptr; }
    bool SetSkinByName(const wlitestring&) override { return false; }
    bool SetSkin(boost::shared_ptr<ISkin>) override { return false; }
    boost::shared_ptr<ISkin> GetCurrentSkin() override { return nullptr; }

    boost::shared_ptr<IManagerExtraParamsProvider> GetExtraParamsProvider() override { return nullptr; }
};

}  // namespace ResourceLib
