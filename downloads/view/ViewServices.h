#pragma once
// The few application values every part of the download list asks for,
// each safe while the application's layer or the resources are absent.
// GUI thread, or any thread for the engine's state.
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

inline bool DebugMode() {
    Settings* pSettings = Brunlow::AppAccess::GetSettings();
    return pSettings && pSettings->GetDebugMode();
}

// The engine is catching (state 0).
inline bool EngineIsOn() {
    const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine();
    return pEngine && pEngine->GetState() == 0;
}

}  // namespace ViewServices
