#pragma once
// The application object of the program tests: the real application class
// over test product values, its profile under a temporary registry key, the
// program's resources (copied beside the tests) and its style file.
#include "appframework/product/ProductInfo.h"
#include "appframework/serviceclient/Library.h"
#include "appframework/tests/TestApplication.h"
#include "engine/EngineTestDoor.h"
#include "foundation/filesystem/ShellFolders.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "downloads/settings/Settings.h"
#include "shell/app/BrunlowApp.h"
#include "shell/program/tests/RealProgram.h"
#include "testing/CopiedProgram.h"
#include "testing/TempRegistryKey.h"

#include <afxwin.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ProgramTests {

// The application under test starts its engine with the elevation face; in
// these processes that face never starts the real elevation service, which
// would run unserialised beside the service's own tests and outlive us.
inline const bool g_serviceClientDisabled = (GenericServiceClient::GetLibrary()->disabled = true);

inline KavennaEngine::TestDoor::ITestDoor* Door() {
    const HMODULE module = ::GetModuleHandleW(KavennaEngine::kLibraryFileName);
    const auto entry = module ? reinterpret_cast<KavennaEngine::TestDoor::Entry>(
                                    ::GetProcAddress(module, KavennaEngine::TestDoor::kEntryPointName))
                              : nullptr;
    return entry ? entry() : nullptr;
}

// The call log's lines that start with `call`, in order.
inline std::vector<std::wstring> CallsOf(const std::wstring& call) {
    std::vector<std::wstring> found;
    for (const std::wstring& line : Door()->GetCallLog()) {
        if (line.compare(0, call.size(), call) == 0)
            found.push_back(line.substr(0, line.find(L" thread=")));
    }
    return found;
}

// The program's own folder (build/program), beside the tests' bin folder; a
// copy of the tests elsewhere is told it as its scenario argument.
inline FileSystem::Folder ProgramFolder() {
    const std::wstring told = Testing::ScenarioArgument();
    return FileSystem::Folder(told.empty() ? BuiltProgramFolder() : told);
}

inline std::wstring ProgramResourcesFolder() {
    return ProgramFolder().GetSubFolder(L"Resources\\Main").GetPath();
}

// The process's resource manager over the program's resource folder, set up once.
inline void UseProgramResources() {
    static const bool s_done = [] {
        AppResources::ResourceManagerHolder::ProductParameters parameters;
        parameters.productName = L"Brunlow Program Tests";
        return AppResources::ResourceManagerHolder::InitializeApplication(ProgramResourcesFolder(), parameters);
    }();
    (void)s_done;
}

// Product values the test chooses, the rest the program's.
class TestProductInfo : public ApplicationFramework::ProductInfo {
public:
    TestProductInfo() : ProductInfo(&values) {
        values.values[ApplicationFramework::ProductValue::ProductName] = L"Brunlow Program Tests";
        values.values[ApplicationFramework::ProductValue::FullProductName] = L"Brunlow Video Downloader";
        values.values[ApplicationFramework::ProductValue::SupportAddress] = L"http://support.example/";
        Initialize();
    }
    // Further description pairs, for the resource parameters.
    std::vector<std::pair<std::wstring, std::wstring>> further;

    AppFrameworkTests::FakeProductValues values;

protected:
    void _CompleteDescription(ApplicationFramework::ProductDescription& description) const override {
        description.values.insert(description.values.end(), further.begin(), further.end());
    }
};

struct TestProductHolder {
    TestProductInfo product;
};

class TestBrunlowApp : private TestProductHolder, public CBrunlowApp {
public:
    TestBrunlowApp() : CBrunlowApp(product) {
        const std::wstring key = m_key.SubKey().substr(std::wstring(L"Software\\").size());
        SetRegistryKey(key.c_str());
    }
    // The settings go (and save themselves) while the profile's key still exists.
    ~TestBrunlowApp() override {
        delete m_pSettings;
        m_pSettings = nullptr;
    }
    TestProductInfo& Product() { return product; }

    using CBrunlowApp::_CheckVideosFolder;
    using CBrunlowApp::_CreateSkinManager;
    // The program's data, not the tests' folder.
    FileSystem::Folder _GetProgramFolder() const override { return ProgramFolder(); }
    using CBrunlowApp::_StartEngine;
    using CBrunlowApp::_StartEngineOrReport;
    using CBrunlowApp::m_pKavennaEngine;
    using CBrunlowApp::m_pSettings;
    using CBrunlowApp::m_pSkinManager;
    using CBrunlowApp::m_pTipsUpdater;

private:
    Testing::TempRegistryKey m_key;
};

// Message boxes answered by the test and recorded.
struct MessageBoxCall {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK) {
        Current() = this;
        m_answer = answer;
        m_previous = AfxSetMessageBoxHandler(&Handle);
    }
    ~MessageBoxRecorder() {
        AfxSetMessageBoxHandler(m_previous);
        Current() = nullptr;
    }
    void SetAnswer(int answer) { m_answer = answer; }
    std::vector<MessageBoxCall> calls;

private:
    static MessageBoxRecorder*& Current() {
        static MessageBoxRecorder* s_current = nullptr;
        return s_current;
    }
    static int Handle(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
        MessageBoxRecorder* self = Current();
        if (!self)
            return IDCANCEL;
        self->calls.push_back({owner, text ? text : L"", caption ? caption : L"", type});
        return self->m_answer;
    }
    int m_answer;
    AfxMessageBoxHandler m_previous;
};

inline void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace ProgramTests
