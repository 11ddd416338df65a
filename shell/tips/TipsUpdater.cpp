#include "shell/tips/TipsUpdater.h"

#include "foundation/debugging/Log.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/FindFiles.h"
#include "foundation/filesystem/XmlFileCheck.h"
#include "foundation/strings/NumberStrings.h"
#include "shell/tips/TipsFiles.h"
#include "shell/tips/TipsOfTheDay.h"

#include <afxwin.h>

#include <algorithm>
#include <vector>

namespace Tips {

namespace {

const wchar_t kUsageSection[] = L"Usage";
const wchar_t kTipsFileVersion[] = L"TipsFileVersion";
const wchar_t kTipsLastModificationDate[] = L"TipsLastModificationDate";
const wchar_t kDefaultModificationDate[] = L"Mon, 1 Oct 2012 10:10:10 UTC";

// Writes nothing itself: it only cancels the download once a stop is requested.
// and, with a limit, once the body grows beyond it.
class StopWatch : public Internet::Url::IDownloadCallback {
public:
    StopWatch(const TipsUpdater& updater, ULONGLONG maxBytes) : m_updater(updater), m_maxBytes(maxBytes) {}
    void OnData(const Internet::Url::Chunk*, ULONGLONG bytesSoFar, ULONGLONG, bool& cancel) override {
        if (m_updater._IsStopped())
            cancel = true;
        if (m_maxBytes != 0 && bytesSoFar > m_maxBytes) {
            cancel = true;
            tooLarge = true;
        }
    }
    bool tooLarge = false;

private:
    const TipsUpdater& m_updater;
    const ULONGLONG m_maxBytes;
};

bool CollectName(void* context, const wchar_t* path) {
    const std::wstring text = path;
    const std::wstring::size_type separator = text.find_last_of(L"\\/");
    static_cast<std::vector<std::wstring>*>(context)->push_back(
        separator == std::wstring::npos ? text : text.substr(separator + 1));
    return true;
}

void DeleteIfPresent(const std::wstring& path) {
    if (FileSystem::IsExistingFile(path))
        ::DeleteFileW(path.c_str());
}

}  // namespace

DWORD TipsUpdater::_Run() {
    Run();
    return 0;
}

bool TipsUpdater::_IsStopped() const {
    return _IsStopRequested() || ::WaitForSingleObject(_GetStopEvent(), 0) == WAIT_OBJECT_0;
}

void TipsUpdater::Run() {
    DEBUG_LOG(Debugging::LevelINF, L"TipsUpdater started");
    const std::wstring downloaded = _DownloadXML();
    std::wstring path = downloaded;
    if (path.empty()) {
        DEBUG_LOG(Debugging::LevelINF,
                  L"TipOfTheDay xml hasn't been downloaded(check \"if-modified-since\" header has been set)");
        DeleteIfPresent(GetNewTipsFilePath());
        path = GetCurrentTipsFilePath();
    }
    if (_IsStopped()) {
        DEBUG_LOG(Debugging::LevelINF, L"Instructed to stop");
        if (!downloaded.empty())
            DeleteIfPresent(downloaded);
        return;
    }
    if (!_ProcessDownloadedXml(path)) {
        DEBUG_LOG(Debugging::LevelWRN, L"Failed to parse tipsOfTheDay file: " + path);
        if (!FileSystem::IsExistingFile(path))
            DEBUG_LOG(Debugging::LevelWRN, L"File should exist");
        else if (!downloaded.empty())
            ::DeleteFileW(path.c_str());  // this run's own download
        else if (m_isUnreadable)
            _MoveAsideUnreadableTipsFile(path);  // the tips file in place: never deleted
        return;
    }
    // Only a checked file becomes the new tips file, which the next swap
    // moves into place.
    if (!downloaded.empty() &&
        !::MoveFileExW(downloaded.c_str(), GetNewTipsFilePath().c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DEBUG_LOG(Debugging::LevelERR, L"failed to rename \"" + downloaded + L"\" to \"" + GetNewTipsFileName() + L"\"");
        DeleteIfPresent(downloaded);
        return;
    }
    if (_IsStopped()) {
        DEBUG_LOG(Debugging::LevelINF, L"Instructed to stop");
        return;
    }
    DEBUG_LOG(Debugging::LevelDBG, L"TipOfTheDay xml has been successfully processed");
    // The server's own date of the file: sent back as "If-Modified-Since" it
    // asks exactly for a newer one, whatever the clocks say.
    if (!downloaded.empty() && !m_downloadedDate.empty() && !SetTipsLastModificationDate(m_downloadedDate))
        DEBUG_LOG(Debugging::LevelWRN, L"Failed to set last modification date: " + m_downloadedDate);
    if (_IsStopped()) {
        DEBUG_LOG(Debugging::LevelINF, L"Instructed to stop");
        return;
    }
    if (!SetTipsFileVersion(m_newFileVersion))
        DEBUG_LOG(Debugging::LevelWRN,
                  L"Failed to set new TipOfTheDay file version: " + STLHelpers::UIntToWString(m_newFileVersion));
    DEBUG_LOG(Debugging::LevelINF, L"Successfully downloaded and processed new TipsOfTheDay xml file");
}

std::wstring TipsUpdater::_DownloadXML() {
    m_downloadedDate.clear();
    const std::wstring modifiedSince =
        FileSystem::IsExistingFile(GetCurrentTipsFilePath()) ? GetTipsLastModificationDate() : std::wstring();
    const std::wstring target = GetUncheckedTipsFilePath();
    const std::wstring address = GetProductValues().tipsAddress;
    DEBUG_LOG(Debugging::LevelINF, L"Download TipsOfTheDay from URL: " + address);
    if (!_DownloadFile(address, target, modifiedSince, kMaxTipsFileBytes))
        return std::wstring();
    m_downloadedDate = m_lastModified;
    return target;
}

bool TipsUpdater::_DownloadFile(const std::wstring& address, const std::wstring& target,
                                const std::wstring& modifiedSince, unsigned long long maxBytes) {
    m_lastModified.clear();
    try {
        Internet::Url url(address);
        if (!modifiedSince.empty()) {
            if (url.SetIfModifiedSince(modifiedSince))
                DEBUG_LOG(Debugging::LevelINF, L"Include \"If-Modified-Since\" header to HTTP header");
            else
                DEBUG_LOG(Debugging::LevelWRN, L"Unusable \"If-Modified-Since\" date: " + modifiedSince);
        }
        url.AddAcceptEncoding(Internet::Url::EncodingCompressed);
        StopWatch stopWatch(*this, maxBytes);
        if (!url.DownloadToFile(target, &stopWatch)) {
            if (stopWatch.tooLarge)
                DEBUG_LOG(Debugging::LevelWRN, L"The file at " + address + L" is larger than " +
                                                   std::to_wstring(maxBytes) + L" bytes; it is not downloaded.");
            return false;
        }
        m_lastModified = url.GetLastModified();
        return true;
    } catch (...) {
        return false;
    }
}

bool TipsUpdater::_ProcessDownloadedXml(const std::wstring& path) {
    m_isUnreadable = false;
    // Checked here, on the worker, so that the reason is in the log and a
    // file too large is refused unread.
    std::wstring why;
    if (FileSystem::CheckXmlFile(path, L"TipsOfTheDay", why, kMaxTipsFileBytes) != FileSystem::XmlFileFault::None) {
        DEBUG_LOG(Debugging::LevelWRN, L"The tips file " + path + L" " + why + L".");
        m_isUnreadable = true;
        return false;
    }
    try {
        const TipsOfTheDay tips(path, false);
        // Unreadable first: a file that is no tips file has no version to compare.
        if (tips.GetTipsCount() == 0) {
            DEBUG_LOG(Debugging::LevelERR, L"Failed to parse downloaded xml file");
            m_isUnreadable = true;
            return false;
        }
        m_newFileVersion = static_cast<std::uint32_t>(tips.GetFileVersion());
        const std::uint32_t stored = GetTipsFileVersion();
        if (stored > m_newFileVersion) {
            DEBUG_LOG(Debugging::LevelWRN, L"Downloaded TipOfTheDay xml version(" +
                                               STLHelpers::UIntToWString(m_newFileVersion) + L") is older then current(" +
                                               STLHelpers::UIntToWString(stored) + L")");
            return false;
        }
        _DownloadPictures(tips);
        return true;
    } catch (...) {
        DEBUG_LOG(Debugging::LevelWRN, L"Exception occured!!! Failed to download pictures");
        return false;
    }
}

bool TipsUpdater::_DownloadPictures(const TipsOfTheDay& tips) {
    const std::vector<std::wstring> urls = tips.GetAllPicturesUrls();
    const std::wstring folder = GetDataFolder();
    std::vector<std::wstring> present;
    FileSystem::FindFiles(folder, L"*.*", FileSystem::FindFilesCallback{&CollectName, &present}, false);

    const std::wstring address = GetProductValues().tipsAddress;
    const std::wstring::size_type slash = address.rfind(L'/');
    const std::wstring base = slash == std::wstring::npos ? std::wstring() : address.substr(0, slash + 1);
    int failures = 0;
    for (const std::wstring& url : urls) {
        if (_IsStopped())
            break;
        const std::wstring name = GetSafeFileNamePart(url);
        if (name.empty()) {
            // The name comes from the web: it must not lead out of the folder.
            DEBUG_LOG(Debugging::LevelWRN, L"Skipping picture with an unusable file name: " + url);
            ++failures;
            continue;
        }
        if (std::find(present.begin(), present.end(), name) != present.end())
            continue;
        if (_DownloadFile(base + url, folder + name, std::wstring())) {
            DEBUG_LOG(Debugging::LevelDBG, L"Successfully downloaded file: " + url);
        } else {
            DEBUG_LOG(Debugging::LevelINF, L"Failed to download file: " + url);
            ++failures;
        }
    }
    return failures == 0;
}

std::uint32_t TipsUpdater::GetTipsFileVersion() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 0;
    const CString text = pApp->GetProfileString(kUsageSection, kTipsFileVersion, L"0");
    std::uint32_t version = 0;
    return STLHelpers::ParseUInt(static_cast<LPCWSTR>(text), version) ? version : 0;
}

bool TipsUpdater::SetTipsFileVersion(std::uint32_t version) {
    CWinApp* pApp = AfxGetApp();
    return pApp &&
           pApp->WriteProfileString(kUsageSection, kTipsFileVersion, STLHelpers::UIntToWString(version).c_str());
}

std::wstring TipsUpdater::GetTipsLastModificationDate() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return kDefaultModificationDate;
    const CString text = pApp->GetProfileString(kUsageSection, kTipsLastModificationDate, kDefaultModificationDate);
    return static_cast<LPCWSTR>(text);
}

bool TipsUpdater::SetTipsLastModificationDate(const std::wstring& date) {
    CWinApp* pApp = AfxGetApp();
    return !date.empty() && pApp && pApp->WriteProfileString(kUsageSection, kTipsLastModificationDate, date.c_str());
}

}  // namespace Tips
