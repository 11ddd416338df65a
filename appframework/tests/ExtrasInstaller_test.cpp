#include "appframework/updates/ExtrasInstaller.h"

#include "RecordingService.h"
#include "ServiceClientFixtures.h"
#include "TestApplication.h"
#include "testing/ChildProcess.h"
#include "testing/CopiedProgram.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <vector>

namespace {

using ApplicationFramework::ExtrasInstaller;
using ApplicationFramework::IUpdateListener;
using ApplicationFramework::ProductValue;

// Product information with the version the test names (the test program's
// own version block would give 2.5.1.30).
class VersionedInfo : public ApplicationFramework::ProductInfo {
public:
    VersionedInfo(ApplicationFramework::IProductValues* pValues, const std::wstring& version)
        : ProductInfo(pValues), m_version(version) {}

protected:
    void _CompleteValues() override { m_productVersion = m_version; }

private:
    std::wstring m_version;
};

class ExtrasProduct {
public:
    ExtrasProduct(const std::wstring& version, const std::wstring& updateAddress, bool extrasOffered)
        : info(&values, version) {
        values.values[ProductValue::ProductName] = L"ExtrasTest" + Testing::NewGuidText();
        values.values[ProductValue::UpdateAddress] = updateAddress;
        values.values[ProductValue::ExtrasOffered] = extrasOffered ? L"1" : L"0";
        values.values[ProductValue::SetupId] = Testing::NewGuidText();
        values.values[ProductValue::ExtrasDownloadAddress] = L"http://downloads.example/extras.exe";
        info.Initialize();
    }

    AppFrameworkTests::FakeProductValues values;
    VersionedInfo info;
};

class CountingListener : public IUpdateListener {
public:
    void OnUpdateAvailable() override {
        ++updates;
        if (onUpdate)
            onUpdate();
    }
    void OnOfferExtras() override { ++offers; }

    std::atomic<int> updates{0};
    std::atomic<int> offers{0};
    std::function<void()> onUpdate;
};

// TMP and TEMP of this process point into a fresh folder while it lives.
class RedirectedTemp {
public:
    RedirectedTemp() : m_path(m_root.MakeFolder(L"temp")) {
        Save(L"TMP", m_oldTmp);
        Save(L"TEMP", m_oldTemp);
        ::SetEnvironmentVariableW(L"TMP", m_path.c_str());
        ::SetEnvironmentVariableW(L"TEMP", m_path.c_str());
    }
    ~RedirectedTemp() {
        ::SetEnvironmentVariableW(L"TMP", m_oldTmp.c_str());
        ::SetEnvironmentVariableW(L"TEMP", m_oldTemp.c_str());
    }
    const std::wstring& Path() const { return m_path; }
    std::vector<std::wstring> Entries() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((m_path + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }

private:
    static void Save(const wchar_t* name, std::wstring& value) {
        wchar_t buffer[MAX_PATH] = {};
        ::GetEnvironmentVariableW(name, buffer, MAX_PATH);
        value = buffer;
    }

    Testing::TempFolder m_root;
    std::wstring m_path;
    std::wstring m_oldTmp;
    std::wstring m_oldTemp;
};

TEST(ExtrasInstaller, ComparesVersionsPartByPart) {
    struct Case {
        const wchar_t* current;
        const wchar_t* latest;
        bool newer;
    };
    const Case cases[] = {
        {L"1.2", L"1.2.0", false}, {L"1.9", L"1.10", true},         {L"2.0", L"1.99", false},
        {L"1.0", L"", false},      {L"1.2.3.4", L"1.2.3.5", true},  {L"1.2.0", L"1.2", false},
        {L"", L"", false},         {L"1.2", L"1.2.0.1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "current \"" << std::string(c.current, c.current + wcslen(c.current))
                                        << "\", latest \"" << std::string(c.latest, c.latest + wcslen(c.latest)) << "\"");
        EXPECT_EQ(c.newer, ExtrasInstaller::_IsNewerVersion(c.current, c.latest));
    }
}

TEST(ExtrasInstaller, PollAnnouncesOnlyANewerPublishedVersion) {
    struct Case {
        const char* name;
        Testing::HttpAnswer answer;
        int updates;
    };
    const Case cases[] = {
        {"newer", Testing::HttpAnswer::Ok("2.0"), 1},
        {"not found", Testing::HttpAnswer::NotFound(), 0},
        {"empty body", Testing::HttpAnswer::Ok(""), 0},
        {"same", Testing::HttpAnswer::Ok("1.5.0"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Testing::LoopbackHttpServer server;
        server.SetAnswer("/version.php", c.answer);
        ExtrasProduct product(L"1.5", server.Url(L"/"), false);
        RedirectedTemp temp;
        CountingListener listener;
        ExtrasInstaller installer;
        installer.SetListener(&listener);
        installer._PollOnce();
        installer.SetListener(nullptr);
        EXPECT_EQ(c.updates, listener.updates.load());
        EXPECT_EQ(0, listener.offers.load());
        EXPECT_EQ(1u, server.RequestCount());
        EXPECT_TRUE(temp.Entries().empty()) << "the downloaded file stays behind";
    }
}

TEST(ExtrasInstaller, PassWithoutListenerCallsNothing) {
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/version.php", Testing::HttpAnswer::Ok("9.0"));
    ExtrasProduct product(L"1.5", server.Url(L"/"), false);
    ExtrasInstaller installer;
    ASSERT_TRUE(installer.Start(false, 0));
    EXPECT_TRUE(installer._WaitForExit(30000));
    EXPECT_EQ(1u, server.RequestCount());
}

TEST(ExtrasInstaller, StopDuringTheWaitSkipsTheOffer) {
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/version.php", Testing::HttpAnswer::Ok("2.0"));
    ExtrasProduct product(L"1.5", server.Url(L"/"), true);
    CountingListener listener;
    HANDLE announced = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    listener.onUpdate = [announced] { ::SetEvent(announced); };
    ExtrasInstaller installer;
    installer.SetListener(&listener);
    ASSERT_TRUE(installer.Start(false, 0));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(announced, 30000));
    ::SetEvent(installer._GetStopEvent());
    EXPECT_TRUE(installer._WaitForExit(ExtrasInstaller::kExtrasDelayMs + 10000));
    installer.SetListener(nullptr);
    EXPECT_EQ(1, listener.updates.load());
    EXPECT_EQ(0, listener.offers.load());
    ::CloseHandle(announced);
}

// The listener sends to a window of the thread that clears it: the clearing
// must let that message in and return only after the call.
TEST(ExtrasInstaller, ClearingTheListenerWaitsForTheCallInProgress) {
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/version.php", Testing::HttpAnswer::Ok("2.0"));
    ExtrasProduct product(L"1.5", server.Url(L"/"), true);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    HANDLE entered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> returned{false};
    CountingListener listener;
    listener.onUpdate = [&] {
        ::SetEvent(entered);
        ::SendMessageW(window, WM_NULL, 0, 0);
        ::Sleep(300);
        returned = true;
    };
    ExtrasInstaller installer;
    installer.SetListener(&listener);
    ASSERT_TRUE(installer.Start(false, 0));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(entered, 30000));
    installer.SetListener(nullptr);
    EXPECT_TRUE(returned.load());
    ::SetEvent(installer._GetStopEvent());
    EXPECT_TRUE(installer._WaitForExit(ExtrasInstaller::kExtrasDelayMs + 10000));
    EXPECT_EQ(0, listener.offers.load());
    ::DestroyWindow(window);
    ::CloseHandle(entered);
}

// The uninstall key of the product's setup in HKLM's 32-bit view, removed afterwards.
class UninstallEntry {
public:
    UninstallEntry(const std::wstring& setupId, const wchar_t* uninstallString)
        : m_path(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + setupId + L"_is1") {
        if (uninstallString == nullptr)
            return;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExW(key, L"UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(uninstallString),
                       static_cast<DWORD>((wcslen(uninstallString) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        m_made = true;
    }
    ~UninstallEntry() {
        if (m_made)
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), KEY_WOW64_32KEY, 0);
    }

private:
    std::wstring m_path;
    bool m_made = false;
};

TEST(ExtrasInstaller, OffersTheExtrasOnlyWhenMissingAndNotBeingInstalled) {
    struct Case {
        const char* name;
        bool offered;
        const wchar_t* codecPackType;
        const wchar_t* uninstallString;  // null: no uninstall key
        bool mutexHeld;
        bool serviceReachable;
        bool expectOffer;
    };
    const Case cases[] = {
        {"not offered by the product", false, L"other", nullptr, false, true, false},
        {"other codec pack, setup registered", true, L"other", L"C:\\x\\unins000.exe", false, true, true},
        {"mega, setup registered", true, L"mega", L"C:\\x\\unins000.exe", false, true, false},
        {"mega, empty uninstall string", true, L"mega", L"", false, true, true},
        {"mega, no uninstall key", true, L"mega", nullptr, false, true, true},
        {"Updater holds the Extras mutex", true, L"other", nullptr, true, true, false},
        {"service unreachable", true, L"mega", L"C:\\x\\unins000.exe", false, false, true},
    };
    ServiceClientTests::OleScope ole;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServiceClientTests::RecordingService service;
        ASSERT_EQ(S_OK, service.Registration());
        service.registryValue = c.codecPackType;
        if (!c.serviceReachable)
            service.activationResults = {E_ACCESSDENIED, E_ACCESSDENIED, E_ACCESSDENIED};
        ServiceClientTests::ServiceSink sink(false);
        FoundationTests::ScopedSink scoped(&sink);
        ServiceClientTests::ShellStartRecorder shell(false);
        ExtrasProduct product(L"1.5", L"", c.offered);
        UninstallEntry entry(product.info.GetSetupId(), c.uninstallString);
        ExtrasInstaller installer;
        HANDLE mutex = c.mutexHeld ? ::CreateMutexW(nullptr, TRUE, installer.GetExtrasMutexName().c_str()) : nullptr;
        EXPECT_EQ(c.expectOffer, installer._ShouldOfferExtras());
        EXPECT_EQ(c.mutexHeld, installer.IsUpdaterRunning());
        if (mutex != nullptr)
            ::CloseHandle(mutex);
        if (c.offered && c.serviceReachable) {
            ASSERT_FALSE(service.calls.empty());
            EXPECT_EQ((std::vector<std::wstring>{L"HKEY_LOCAL_MACHINE\\SOFTWARE\\KLCodecPack", L"type"}),
                      service.calls.back().texts);
        }
    }
}


const wchar_t kRecordVariable[] = L"BRUNLOW_UPDATER_RECORD";

std::wstring ToWide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Waits for the recorder's file: its path line and its argument line.
bool ReadRecord(const std::wstring& path, std::wstring& program, std::wstring& arguments) {
    for (int i = 0; i < 600; ++i) {
        const std::string bytes = Testing::ReadFileBytes(path);
        const size_t first = bytes.find('\n');
        if (first != std::string::npos && bytes.find('\n', first + 1) != std::string::npos) {
            program = ToWide(bytes.substr(0, first));
            arguments = ToWide(bytes.substr(first + 1, bytes.find('\n', first + 1) - first - 1));
            ::DeleteFileW(path.c_str());
            return true;
        }
        ::Sleep(50);
    }
    return false;
}

// Runs from a copied program tree "<tree>\bin" with TEMP in "<tree>\temp";
// the exit code names the first check that failed.
TESTING_CHILD_SCENARIO(LaunchUpdaterFromPrivateCopy) {
    wchar_t ownPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    std::wstring bin = ownPath;
    bin.erase(bin.rfind(L'\\'));
    const std::wstring tree = bin.substr(0, bin.rfind(L'\\'));
    const std::wstring temp = tree + L"\\temp";
    ::CreateDirectoryW(temp.c_str(), nullptr);
    ::SetEnvironmentVariableW(L"TMP", temp.c_str());
    ::SetEnvironmentVariableW(L"TEMP", temp.c_str());
    const std::wstring record = tree + L"\\record.txt";
    ::SetEnvironmentVariableW(kRecordVariable, record.c_str());

    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scoped(&sink);
    ExtrasProduct product(L"1.5", L"", true);
    ExtrasInstaller installer;
    std::set<std::wstring> seen;
    auto newFolder = [&]() {
        std::wstring made;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((temp + L"\\*").c_str(), &found);
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L".." && seen.insert(name).second)
                made = temp + L"\\" + name;
        } while (search != INVALID_HANDLE_VALUE && ::FindNextFileW(search, &found));
        if (search != INVALID_HANDLE_VALUE)
            ::FindClose(search);
        return made;
    };

    std::wstring program;
    std::wstring arguments;
    if (!installer.LaunchUpdater(L"de-de", true))
        return 10;
    const std::wstring folder = newFolder();
    if (folder.empty() || !ReadRecord(record, program, arguments))
        return 11;
    for (const wchar_t* item : {L"Styles\\Default.INI", L"Resources\\CommonDialogs\\Texts.xml", L"Updater.exe",
                                L"libstdc++-6.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"}) {
        if (!Testing::PathExists(folder + L"\\" + item))
            return 12;
    }
    if (_wcsicmp(program.c_str(), (folder + L"\\Updater.exe").c_str()) != 0)
        return 13;
    if (arguments != L"/runWithProduct /componentName \"Extras\" /downloadURL "
                     L"\"http://downloads.example/extras.exe\" /languageName \"de-de\"")
        return 14;
    if (!sink.reports.empty())
        return 15;

    if (!installer.LaunchUpdater(L"", false) || newFolder().empty() || !ReadRecord(record, program, arguments))
        return 20;
    if (!arguments.empty())
        return 21;

    // A missing item is reported and the Updater still starts.
    Testing::RemoveTree(bin + L"\\Styles");
    if (!installer.LaunchUpdater(L"", false) || !ReadRecord(record, program, arguments))
        return 30;
    // The shell copy reports its own failure too; no other item may fail.
    if (!AppFrameworkTests::HasReport(sink, L"((appFolder.GetSubFolder(L\"Styles\").CopyTo(updateFolder.GetPath())))"))
        return 31;
    if (AppFrameworkTests::HasReport(sink, L"GetFile(L\"") || AppFrameworkTests::HasReport(sink, L"CommonDialogs"))
        return 32;
    return 0;
}

TEST(ExtrasInstaller, LaunchesTheUpdaterFromAPrivateCopy) {
    Testing::CopiedProgram program;
    program.Tree().WriteFile(L"bin\\Styles\\Default.INI", "[Skin]\r\n");
    program.Tree().WriteFile(L"bin\\Resources\\CommonDialogs\\Texts.xml", "<texts/>");
    wchar_t ownPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    std::wstring here = ownPath;
    here.erase(here.rfind(L'\\'));
    ASSERT_TRUE(::CopyFileW((here + L"\\UpdaterRecorder.exe").c_str(), (program.BinFolder() + L"\\Updater.exe").c_str(),
                            FALSE));
    for (const wchar_t* dll : {L"libstdc++-6.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"}) {
        if (!Testing::PathExists(program.BinFolder() + L"\\" + dll))
            program.CopyBeside(dll);
    }
    EXPECT_TRUE(Testing::ChildSucceeded(program.Run("LaunchUpdaterFromPrivateCopy")));
}

}  // namespace
