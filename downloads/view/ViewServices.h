#pragma once
// The few application values and small rules every part of the download
// list needs, each safe while the application's layer, the product
// information or the resources are absent. GUI thread, or any thread for the
// engine's state.
#include "appframework/product/ProductInfo.h"
#include "downloads/app/AppAccess.h"
#include "downloads/settings/Settings.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <string>

namespace ViewServices {

// The current language's string `id`; empty without resources.
inline std::wstring LanguageString(int id) {
    const boost::shared_ptr<AppResources::Manager> manager = AppResources::ResourceManagerHolder::GetManager();
    return manager ? manager->GetString(id) : std::wstring();
}

// String `id`, a menu entry's text, as a tooltip shows it: without its
// access-key marker ("&&" stays one "&"), as the system's tooltips do.
inline std::wstring MenuTextAsLabel(int id) {
    const std::wstring text = LanguageString(id);
    std::wstring label;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && ++i == text.size())
            break;
        label += text[i];
    }
    return label;
}

inline bool DebugMode() {
    Settings* pSettings = Brunlow::AppAccess::GetSettings();
    return pSettings && pSettings->GetDebugMode();
}

// `text` with the product placeholders expanded.
inline std::wstring ExpandProductPlaceholders(const std::wstring& text) {
    const ApplicationFramework::ProductInfo* pProduct = ApplicationFramework::ProductInfo::GetCurrent();
    return pProduct && !text.empty() ? pProduct->ExpandPlaceholders(text) : text;
}

// The text after a name's last dot, as it stands; empty without a dot.
inline std::wstring NameExtension(const std::wstring& name) {
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

// A double click on the progress cell converts: the item stands in the
// conversion stage without a complete conversion. The item is locked.
inline bool IsConversionPending(KavennaEngine::IDownloadItem& item) {
    const KavennaEngine::Result* pResult = item.GetConversionStage()->GetResult();
    return item.GetStage() == KavennaEngine::StageConversion && pResult &&
           pResult->code != KavennaEngine::ResultComplete;
}

// The engine is catching (state 0).
inline bool EngineIsOn() {
    const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine();
    return pEngine && pEngine->GetState() == 0;
}

}  // namespace ViewServices
