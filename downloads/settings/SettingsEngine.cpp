#include "downloads/settings/Settings.h"

#include "downloads/app/AppAccess.h"
#include "engine/KavennaEngine.h"

Settings::ConversionPresets& Settings::GetConversionPresets(ConversionPresets& presets) const {
    presets.clear();
    const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine();
    if (!pEngine)
        return presets;
    boost::shared_ptr<KavennaEngine::IConversionPresets> pPresets;
    pEngine->GetConversionPresets(pPresets);
    if (!pPresets)
        return presets;
    boost::shared_ptr<KavennaEngine::IConversionPresetEnumerator> pEnumerator;
    pPresets->Enumerate(pEnumerator);
    if (!pEnumerator)
        return presets;
    while (const boost::shared_ptr<KavennaEngine::IConversionPreset> pPreset = pEnumerator->Next())
        presets.push_back(pPreset);
    return presets;
}

bool Settings::IsItemAboveThresholds(KavennaEngine::IDownloadItem* item) const {
    const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine();
    KavennaEngine::IAuxiliary* pAuxiliary = pEngine ? pEngine->GetAuxiliaryObject() : nullptr;
    if (pAuxiliary && pAuxiliary->GetAuxiliaryFlag())
        return false;
    if (!item)
        return false;
    // Unsigned counts: a total of 2 GiB or more is large, not negative.
    const std::uint32_t total = item->GetTotalBytes();
    if (total > m_itemSizeThreshold) {
        const std::uint32_t received = item->GetReceivedBytes();
        if (static_cast<double>(received) >= static_cast<double>(total) / 2)
            return true;
    }
    return item->GetAuxiliaryCount() > m_itemValueThreshold;
}
