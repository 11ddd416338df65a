#pragma once
// The toolkit's skin manager: one per process, made on first use. A skin is
// a skin file and a settings file of the same folder; both are read whole
// when the skin is loaded, and the last skin loaded stays current.
// Thread: the GUI thread.
#include <windows.h>

#include <string>
#include <vector>

namespace Toolkit {

class SkinManager {
public:
    // False, with the current skin kept, when either file is missing or
    // cannot be read. A skin file without any content is no skin: raises
    // ATL::CAtlException (E_INVALIDARG) as the toolkit does.
    bool LoadSkin(const std::wstring& skinFile, const std::wstring& settingsFileName);

    bool HasSkin() const { return !m_skinFile.empty(); }
    const std::wstring& GetSkinFile() const { return m_skinFile; }
    const std::wstring& GetSettingsFile() const { return m_settingsFile; }
    const std::vector<BYTE>& GetSkinData() const { return m_skinData; }
    const std::vector<BYTE>& GetSettingsData() const { return m_settingsData; }

    // Forgets the current skin (tests and the program's end).
    void Reset();

private:
    std::wstring m_skinFile;
    std::wstring m_settingsFile;
    std::vector<BYTE> m_skinData;
    std::vector<BYTE> m_settingsData;
};

SkinManager& GetSkinManager();

}  // namespace Toolkit
