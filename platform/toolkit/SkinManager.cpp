#include "toolkit/SkinManager.h"

#include "atlexcept.h"

#include <utility>

namespace Toolkit {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

bool ReadWholeFile(const std::wstring& path, std::vector<BYTE>& bytes) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x10000000)
        return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), 0);
    DWORD read = 0;
    return bytes.empty() ||
           (::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
            read == bytes.size());
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace

bool SkinManager::LoadSkin(const std::wstring& skinFile, const std::wstring& settingsFileName) {
    std::vector<BYTE> skinData;
    if (skinFile.empty() || !ReadWholeFile(skinFile, skinData))
        return false;
    if (skinData.empty())
        ATL::AtlThrow(E_INVALIDARG);
    const std::wstring settingsFile = FolderOf(skinFile) + settingsFileName;
    std::vector<BYTE> settingsData;
    if (settingsFileName.empty() || !ReadWholeFile(settingsFile, settingsData))
        return false;
    m_skinFile = skinFile;
    m_settingsFile = settingsFile;
    m_skinData = std::move(skinData);
    m_settingsData = std::move(settingsData);
    return true;
}

void SkinManager::Reset() {
    m_skinFile.clear();
    m_settingsFile.clear();
    m_skinData.clear();
    m_settingsData.clear();
}

SkinManager& GetSkinManager() {
    static SkinManager manager;
    return manager;
}

}  // namespace Toolkit
