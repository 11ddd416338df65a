#include "appframework/updates/ExtrasInstaller.h"

#include "appframework/product/ProductInfo.h"
#include "appframework/serviceclient/Library.h"
#include "foundation/errors/ErrorCode.h"
#include "foundation/errors/ReportingObject.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/PEFile.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/filesystem/UniquePath.h"
#include "foundation/internet/Url.h"
#include "foundation/registry/Key.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/strings/StringConversions.h"

#include <algorithm>
#include <vector>

namespace ApplicationFramework {

namespace {

const ProductInfo* CurrentInfo() {
    return ProductInfo::GetCurrent();
}

// One item the Updater needs beside it.
struct UpdaterItem {
    const wchar_t* source;     // in the program folder
    bool isFolder;
    const wchar_t* target;     // null: the update folder itself; else a name in it
    bool targetIsFolder;
};

// Our Updater is linked against the same runtime DLLs as the program, so
// those travel with it.
const UpdaterItem kUpdaterItems[] = {
    {L"Styles", true, nullptr, false},
    {L"libstdc++-6.dll", false, L"libstdc++-6.dll", false},
    {L"libgcc_s_dw2-1.dll", false, L"libgcc_s_dw2-1.dll", false},
    {L"libwinpthread-1.dll", false, L"libwinpthread-1.dll", false},
    {L"Resources/CommonDialogs", true, L"Resources", true},
    {L"Updater.exe", false, L"Updater.exe", false},
};

std::string CopyCheckText(const UpdaterItem& item) {
    const std::string source = STLHelpers::WideToUtf8(item.source);
    std::string text = "((appFolder.";
    text += item.isFolder ? "GetSubFolder" : "GetFile";
    text += "(L\"" + source + "\").CopyTo(";
    if (item.target == nullptr)
        text += "updateFolder.GetPath()";
    else
        text += std::string("updateFolder.") + (item.targetIsFolder ? "GetSubFolder" : "GetFile") + "(L\"" +
                STLHelpers::WideToUtf8(item.target) + "\")";
    return text + ")))";
}

}  // namespace

// Keeps a listener call counted from its start to its return.
class ExtrasInstaller::ListenerCall {
public:
    explicit ListenerCall(ExtrasInstaller& owner) : m_owner(owner), m_pListener(owner._BeginListenerCall()) {}
    ~ListenerCall() {
        if (m_pListener != nullptr)
            m_owner._EndListenerCall();
    }
    ListenerCall(const ListenerCall&) = delete;
    ListenerCall& operator=(const ListenerCall&) = delete;

    IUpdateListener* Get() const { return m_pListener; }

private:
    ExtrasInstaller& m_owner;
    IUpdateListener* m_pListener;
};

ExtrasInstaller& ExtrasInstaller::GetInstance() {
    static ExtrasInstaller instance;
    return instance;
}

ExtrasInstaller::ExtrasInstaller() : m_callsFinished(ThreadLib::CreateManualResetEvent()) {
    ::SetEvent(m_callsFinished.Get());
    if (const ProductInfo* pInfo = CurrentInfo())
        m_extrasMutexName = pInfo->ExpandPlaceholders(L"{ProductName}_ExtrasMutex");
}

ExtrasInstaller::~ExtrasInstaller() {
    Stop();
}

void ExtrasInstaller::SetListener(IUpdateListener* pListener) {
    {
        Synchronization::CriticalSection::Scope lock(m_listenerSection);
        m_pListener = pListener;
        if (pListener != nullptr || m_callsInProgress == 0)
            return;
    }
    // A listener that clears itself from inside its own call must not wait for it.
    if (::GetCurrentThreadId() == _GetThreadId())
        return;
    HANDLE finished = m_callsFinished.Get();
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
        // Delivers the messages other threads send to this one; posted
        // messages stay queued.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

IUpdateListener* ExtrasInstaller::_BeginListenerCall() {
    Synchronization::CriticalSection::Scope lock(m_listenerSection);
    if (m_pListener == nullptr)
        return nullptr;
    if (m_callsInProgress++ == 0)
        ::ResetEvent(m_callsFinished.Get());
    return m_pListener;
}

void ExtrasInstaller::_EndListenerCall() {
    Synchronization::CriticalSection::Scope lock(m_listenerSection);
    if (--m_callsInProgress == 0)
        ::SetEvent(m_callsFinished.Get());
}

DWORD ExtrasInstaller::_Run() {
    try {
        _PollOnce();
    } catch (...) {
        // One pass; a failure only means no news this time.
    }
    return 0;
}

void ExtrasInstaller::_PollOnce() {
    const ProductInfo* pInfo = CurrentInfo();
    if (pInfo == nullptr)
        return;
    const std::wstring latest = _DownloadLatestVersion();
    if (_IsNewerVersion(pInfo->GetProductVersion(), latest)) {
        ListenerCall call(*this);
        if (call.Get() != nullptr)
            call.Get()->OnUpdateAvailable();
    }
    if (::WaitForSingleObject(_GetStopEvent(), kExtrasDelayMs) != WAIT_TIMEOUT)
        return;
    if (!_ShouldOfferExtras())
        return;
    ListenerCall call(*this);
    if (call.Get() != nullptr)
        call.Get()->OnOfferExtras();
}

std::wstring ExtrasInstaller::_DownloadLatestVersion() {
    const ProductInfo* pInfo = CurrentInfo();
    const std::wstring address = pInfo == nullptr ? std::wstring() : pInfo->GetVersionCheckAddress();
    if (address.empty())
        return std::wstring();
    const FileSystem::Folder path = FileSystem::CreateUniquePath(nullptr, L"", FileSystem::kUniquePathCreate);
    if (path.GetPath().empty())
        return std::wstring();
    const FileSystem::File file(path.GetPath());
    std::wstring text;
    try {
        if (!Internet::Url(address).DownloadToFile(file.GetPath()) || !file.ReadText(text, false))
            text.clear();
    } catch (...) {
        text.clear();
    }
    if (!::DeleteFileW(file.GetPath().c_str()))
        file.Delete(false);
    return text;
}

bool ExtrasInstaller::_IsNewerVersion(const wlitestring& current, const wlitestring& latest) {
    std::vector<int> currentParts;
    std::vector<int> latestParts;
    FileSystem::ParseVersion(current, currentParts);
    FileSystem::ParseVersion(latest, latestParts);
    const size_t count = std::max(currentParts.size(), latestParts.size());
    for (size_t i = 0; i < count; ++i) {
        const int a = i < currentParts.size() ? currentParts[i] : 0;
        const int b = i < latestParts.size() ? latestParts[i] : 0;
        if (a != b)
            return a < b;
    }
    return false;
}

bool ExtrasInstaller::_AreExtrasInstalled() {
    const ProductInfo* pInfo = CurrentInfo();
    if (pInfo == nullptr || !pInfo->AreExtrasOffered())
        return true;
    if (!IsMegaCodecPackInstalled())
        return false;
    Registry::Key key(Registry::ToRootKey(HKEY_LOCAL_MACHINE),
                      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + pInfo->GetSetupId() + L"_is1");
    return !key.GetString(L"UninstallString", L"", true).empty();
}

bool ExtrasInstaller::_ShouldOfferExtras() {
    return !_AreExtrasInstalled() && !IsUpdaterRunning();
}

bool ExtrasInstaller::IsUpdaterRunning() const {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, m_extrasMutexName.c_str());
    const DWORD error = ::GetLastError();
    if (mutex != nullptr)
        ::CloseHandle(mutex);
    return error == ERROR_ALREADY_EXISTS;
}

bool ExtrasInstaller::IsMegaCodecPackInstalled() {
    GenericServiceClient::Library* pLibrary = GenericServiceClient::GetLibrary();
    if (pLibrary == nullptr)
        return false;
    return pLibrary->ReadRegistryValue(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\KLCodecPack", L"type") == L"mega";
}

std::wstring ExtrasInstaller::_BuildUpdaterArguments(const wlitestring& languageName, bool withProduct,
                                                     const wlitestring& downloadAddress) {
    std::wstring arguments;
    if (withProduct)
        arguments = L"/runWithProduct /componentName \"Extras\" /downloadURL \"" + downloadAddress.str() + L"\"";
    if (!languageName.empty())
        arguments += L" /languageName \"" + languageName.str() + L"\"";
    return arguments;
}

void ExtrasInstaller::_CopyUpdaterFiles(const FileSystem::Folder& updateFolder) {
    const FileSystem::Folder appFolder = FileSystem::GetApplicationFolder();
    for (const UpdaterItem& item : kUpdaterItems) {
        // The shell's copy wants backslashes.
        const std::wstring source = STLHelpers::ReplaceAll(item.source, L"/", L"\\");
        const std::wstring from = item.isFolder ? appFolder.GetSubFolder(source).GetPath()
                                                : appFolder.GetFile(source).GetPath();
        std::wstring to = updateFolder.GetPath();
        if (item.target != nullptr && item.targetIsFolder) {
            // Into the folder, not as it: a copy to a missing folder would
            // take that folder's name.
            const FileSystem::Folder targetFolder = updateFolder.GetSubFolder(item.target);
            targetFolder.Create();
            to = targetFolder.GetPath();
        } else if (item.target != nullptr) {
            to = updateFolder.GetFile(item.target).GetPath();
        }
        if (!FileSystem::Folder(from).CopyTo(to)) {
            const ErrorHandling::ErrorCode code(E_FAIL);
            Reporting::GetModuleReportingObject().ReportWarning(CopyCheckText(item), &code);
        }
    }
}

bool ExtrasInstaller::LaunchUpdater(const wlitestring& languageName, bool withProduct) {
    const FileSystem::Folder updateFolder = FileSystem::CreateUniquePath(
        nullptr, L"", FileSystem::kUniquePathFolder | FileSystem::kUniquePathCreate);
    if (updateFolder.GetPath().empty() || !FileSystem::File(updateFolder.GetPath()).Exists())
        return false;
    _CopyUpdaterFiles(updateFolder);
    const ProductInfo* pInfo = CurrentInfo();
    const std::wstring arguments = _BuildUpdaterArguments(
        languageName, withProduct, pInfo == nullptr ? std::wstring() : pInfo->GetExtrasDownloadAddress());
    return updateFolder.GetFile(L"Updater.exe").ShellOpen(arguments, SW_SHOWNORMAL);
}

}  // namespace ApplicationFramework
