#include "downloads/engine/ElevatedAppAdapter.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <functional>
#include <string>
#include <vector>

namespace {

using Engine::ElevatedAppAdapter;

// Records the number of each operation (1 to 11) and its argument.
class RecordingConsoleApplication : public GenericServiceClient::IConsoleApplication {
public:
    std::wstring GetPath() override { return Record(1, L""), L"path"; }
    void SetPath(const wlitestring& path) override { Record(2, path.str()); }
    std::wstring GetParameters() override { return Record(3, L""), L"parameters"; }
    void SetParameters(const wlitestring& parameters) override { Record(4, parameters.str()); }
    bool Start(bool flag) override { return Record(5, flag ? L"1" : L"0"), true; }
    bool Query6() override { return Record(6, L""), true; }
    bool SendValue14(std::int32_t value) override { return Record(7, std::to_wstring(value)), true; }
    bool SendValue15(std::int32_t value) override { return Record(8, std::to_wstring(value)), true; }
    void Signal16() override { Record(9, L""); }
    std::int32_t GetNumber() override { return Record(10, L""), 77; }
    bool GetFlag() override { return Record(11, L""), true; }

    struct Call {
        int operation;
        std::wstring argument;
        bool operator==(const Call& other) const { return operation == other.operation && argument == other.argument; }
    };
    std::vector<Call> calls;
    bool* pDestroyed = nullptr;
    ~RecordingConsoleApplication() override {
        if (pDestroyed)
            *pDestroyed = true;
    }

private:
    void Record(int operation, const std::wstring& argument) { calls.push_back({operation, argument}); }
};

struct Slot {
    const char* name;
    std::function<std::wstring(KavennaEngine::IElevatedApp&)> run;
    int operation;
    std::wstring argument;
    std::wstring answer;           // with the proxy
    std::wstring answerWithout;    // without one
};

std::wstring Text(bool value) {
    return value ? L"true" : L"false";
}

std::vector<Slot> Slots() {
    return {
        {"1 get first text", [](KavennaEngine::IElevatedApp& a) { return a.GetPath(); }, 1, L"", L"path", L""},
        {"2 set first text", [](KavennaEngine::IElevatedApp& a) { a.SetPath(L"C:\\x.exe"); return std::wstring(); },
         2, L"C:\\x.exe", L"", L""},
        {"3 get second text", [](KavennaEngine::IElevatedApp& a) { return a.GetParameters(); }, 3, L"", L"parameters",
         L""},
        {"4 set second text",
         [](KavennaEngine::IElevatedApp& a) { a.SetParameters(L"--quiet"); return std::wstring(); }, 4, L"--quiet",
         L"", L""},
        {"5 start", [](KavennaEngine::IElevatedApp& a) { return Text(a.Start()); }, 5, L"0", L"true", L"false"},
        {"6", [](KavennaEngine::IElevatedApp& a) { return Text(a.SendValue14(-5)); }, 7, L"-5", L"true", L"false"},
        {"7", [](KavennaEngine::IElevatedApp& a) { return Text(a.SendValue15(12)); }, 8, L"12", L"true", L"false"},
        {"8", [](KavennaEngine::IElevatedApp& a) { a.Signal16(); return std::wstring(); }, 9, L"", L"", L""},
        {"9", [](KavennaEngine::IElevatedApp& a) { return std::to_wstring(a.GetNumber()); }, 10, L"", L"77", L"-1"},
        {"10", [](KavennaEngine::IElevatedApp& a) { return Text(a.GetFlag()); }, 11, L"", L"true", L"false"},
    };
}

TEST(ElevatedAppAdapter, EachSlotReachesItsProxyOperation) {
    for (const Slot& slot : Slots()) {
        SCOPED_TRACE(slot.name);
        const auto pProxy = boost::make_shared<RecordingConsoleApplication>();
        ElevatedAppAdapter adapter(pProxy);
        EXPECT_EQ(slot.run(adapter), slot.answer);
        EXPECT_EQ(pProxy->calls, (std::vector<RecordingConsoleApplication::Call>{{slot.operation, slot.argument}}));
    }
}

TEST(ElevatedAppAdapter, WithoutProxyEverySlotFails) {
    ElevatedAppAdapter adapter{boost::shared_ptr<GenericServiceClient::IConsoleApplication>()};
    EXPECT_FALSE(adapter.HasProxy());
    for (const Slot& slot : Slots()) {
        SCOPED_TRACE(slot.name);
        EXPECT_EQ(slot.run(adapter), slot.answerWithout);
    }
}

TEST(ElevatedAppAdapter, DeletingTheAdapterReleasesTheProxy) {
    bool destroyed = false;
    {
        auto pProxy = boost::make_shared<RecordingConsoleApplication>();
        pProxy->pDestroyed = &destroyed;
        KavennaEngine::IElevatedApp* pApp = new ElevatedAppAdapter(pProxy);
        pProxy.reset();
        EXPECT_FALSE(destroyed);
        delete pApp;  // as the engine deletes it, through its interface
    }
    EXPECT_TRUE(destroyed);
}

}  // namespace
