#include "foundation/filesystem/PEFile.h"

#include "foundation/errors/Checks.h"
#include "foundation/strings/TextHelpers.h"
#include "foundation/strings/OwnedWString.h"

#include <cwchar>

namespace FileSystem {

namespace {

struct Translation {
    WORD language;
    WORD codePage;
};

}  // namespace

PEFile::PEFile(const wlitestring& modulePath) {
    if (modulePath.empty()) {
        const ErrorHandling::ErrorCode code(E_FAIL);
        Reporting::GetModuleReportingObject().ReportError("((!!modulePath))", &code);
        return;
    }
    wlitestring::c_string_holder path;
    STLHelpers::ToOwnedWString(modulePath, path);
    m_verBuf.resize(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    if (m_verBuf.empty())
        return;
    if (!GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(m_verBuf.size()), m_verBuf.data()))
        m_verBuf.clear();
}

const wchar_t* PEFile::GetStringValue(const wlitestring& valueName) const {
    CHECK_ERROR(!m_verBuf.empty());
    Translation translation = {0x0409, 0x04B0};
    Translation* pTranslations = nullptr;
    UINT length = 0;
    if (VerQueryValueW(m_verBuf.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslations),
                       &length) &&
        pTranslations && length >= sizeof(Translation))
        translation = *pTranslations;
    wchar_t prefix[64] = {};
    swprintf(prefix, 64, L"\\StringFileInfo\\%04X%04X\\", translation.language, translation.codePage);
    const std::wstring query = STLHelpers::Concat(prefix, valueName);
    wchar_t* pValue = nullptr;
    if (!VerQueryValueW(m_verBuf.data(), query.c_str(), reinterpret_cast<void**>(&pValue), &length))
        return nullptr;
    return pValue;
}

std::wstring PEFile::GetFileVersion() const {
    const wchar_t* version = GetStringValue(L"FileVersion");
    return version ? version : L"";
}

void ParseVersion(const wlitestring& text, std::vector<int>& numbers) {
    numbers.clear();
    std::vector<std::wstring> pieces;
    STLHelpers::Split(text, L".", pieces, true, false, false);
    for (const std::wstring& piece : pieces)
        numbers.push_back(static_cast<int>(std::wcstol(piece.c_str(), nullptr, 10)));
}

}  // namespace FileSystem
