#include "shell/tips/TipsFiles.h"

#include "appframework/product/ProductInfo.h"
#include "foundation/debugging/Log.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/ShellFolders.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <shlobj.h>
#include <windows.h>

#include <atomic>

namespace Tips {

namespace {

using ApplicationFramework::ProductInfo;

std::wstring SystemLocalAppData() {
    return FileSystem::GetSpecialFolder(CSIDL_LOCAL_APPDATA).GetPath();
}

std::wstring ResourcesTipsFile() {
    return AppResources::ResourceManagerHolder::GetManager()->GetFilePath(AppResources::FilePathID_TipOfTheDayXml);
}

std::atomic<std::wstring (*)()> s_localAppData{nullptr};
std::atomic<std::wstring (*)()> s_fallbackTipsFile{nullptr};

const std::wstring& EmptyText() {
    static const std::wstring empty;
    return empty;
}

}  // namespace

ProductValues GetProductValues() {
    ProductValues values;
    if (const ProductInfo* pInfo = ProductInfo::GetCurrent()) {
        values.productName = pInfo->GetProductName();
        values.productKeyName = pInfo->GetProductKeyName();
        values.oemId = pInfo->GetOemId();
        values.edition = pInfo->GetEdition();
        values.converterAddress = pInfo->GetConverterAddress();
        values.tipsAddress = pInfo->GetTipsAddress();
    }
    return values;
}

const std::wstring& GetTipsFileName() {
    const ProductInfo* pInfo = ProductInfo::GetCurrent();
    return pInfo ? pInfo->GetTipsFileName() : EmptyText();
}

const std::wstring& GetNewTipsFileName() {
    const ProductInfo* pInfo = ProductInfo::GetCurrent();
    return pInfo ? pInfo->GetNewTipsFileName() : EmptyText();
}

PathSource SetPathSource(const PathSource& source) {
    PathSource previous;
    previous.localAppData = s_localAppData.exchange(source.localAppData);
    previous.fallbackTipsFile = s_fallbackTipsFile.exchange(source.fallbackTipsFile);
    return previous;
}

std::wstring GetDataFolder() {
    const auto lookup = s_localAppData.load();
    const std::wstring root = lookup ? lookup() : SystemLocalAppData();
    const FileSystem::Folder folder(
        FileSystem::WithTrailingBackslash(FileSystem::WithTrailingBackslash(root) + GetProductValues().productName));
    folder.Create();
    return folder.GetPath();
}

std::wstring GetCurrentTipsFilePath() {
    return GetDataFolder() + GetTipsFileName();
}

std::wstring GetNewTipsFilePath() {
    return GetDataFolder() + GetNewTipsFileName();
}

std::wstring GetUncheckedTipsFilePath() {
    return GetDataFolder() + GetNewTipsFileName() + L".unchecked";
}

bool _IsTooLargeTipsFile(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size <= kMaxTipsFileBytes)
        return false;
    DEBUG_LOG(Debugging::LevelWRN, L"The tips file " + path + L" is larger than " +
                                       std::to_wstring(kMaxTipsFileBytes) + L" bytes (" + std::to_wstring(size) +
                                       L"); it is not read.");
    return true;
}

bool _MoveAsideUnreadableTipsFile(const std::wstring& path) {
    const std::wstring aside = path + L".unreadable";
    if (!::MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DEBUG_LOG(Debugging::LevelERR, L"The tips file " + path + L" could not be read nor moved aside to " + aside +
                                           L" (error " + std::to_wstring(::GetLastError()) + L"); it is left as it is.");
        return false;
    }
    DEBUG_LOG(Debugging::LevelWRN, L"The tips file " + path + L" could not be read; it is kept as " + aside + L".");
    return true;
}

std::wstring GetTipsPath() {
    const std::wstring current = GetCurrentTipsFilePath();
    if (FileSystem::IsExistingFile(current) && !_IsTooLargeTipsFile(current))
        return current;
    DEBUG_LOG(Debugging::LevelINF, L"File " + current + L" is not exists");
    const auto lookup = s_fallbackTipsFile.load();
    const std::wstring fallback = lookup ? lookup() : ResourcesTipsFile();
    if (FileSystem::IsExistingFile(fallback))
        return fallback;
    DEBUG_LOG(Debugging::LevelERR, L"Tips file " + fallback + L" doesn't exists");
    return std::wstring();
}

std::wstring GetStatisticsKeyPath() {
    return L"Software\\" + GetProductValues().productKeyName + L"\\Statistics\\Tips";
}

std::wstring GetSafeFileNamePart(const wlitestring& address) {
    const std::wstring text = address.str();
    const std::wstring::size_type separator = text.find_last_of(L"/\\");
    const std::wstring name = separator == std::wstring::npos ? text : text.substr(separator + 1);
    if (name.empty() || name == L"." || name == L".." || name.find(L':') != std::wstring::npos)
        return std::wstring();
    return name;
}

bool _SwapInNewTipsFile() {
    const std::wstring newFile = GetNewTipsFilePath();
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(newFile.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    if (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0) {
        ::DeleteFileW(newFile.c_str());
        return true;
    }
    // One rename on the folder's volume: the tips file is either the old one
    // or the new one for any reader at the same time.
    return ::MoveFileExW(newFile.c_str(), GetCurrentTipsFilePath().c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

void FinalizeTipOfTheDayUpdate() {
    if (!_SwapInNewTipsFile())
        DEBUG_LOG(Debugging::LevelERR, L"failed to rename \"TipOfTheDay_new.xml\" to \"TipOfTheDay.xml\" ");
}

}  // namespace Tips
