#include <winsock2.h>  // before windows.h

#include "updater/engine/UpdateWorker.h"

#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "updater/engine/HttpDownloader.h"
#include "updater/engine/IUpdateEvents.h"
#include "updater/engine/UpdateController.h"
#include "updater/settings/UpdaterSettings.h"
#include "updater/tests/UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Testing::HttpAnswer;
using Testing::LoopbackHttpServer;

const std::size_t kSetupSize = 1048576;
const DWORD kRunTimeoutMs = 120000;
// A cancel ends the run within this, whatever the worker waits for.
const DWORD kCancelLimitMs = 2000;

const std::wstring kSilentParameters = L"/verysilent /norestart /S /SUPPRESSMSGBOXES /COMPONENTS=\"!suite\"";

// Hears the controller's worker and keeps what it heard, in order.
class RecordingListener : public Engine::IUpdateEvents {
public:
    explicit RecordingListener(Engine::UpdateController& controller) : m_controller(controller) {
        m_controller.AddListener(this);
    }
    ~RecordingListener() { m_controller.RemoveListener(this); }

    void StateChanged() override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_states.push_back(m_controller.GetState());
        m_changed.notify_all();
    }
    void ProgressChanged() override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_progress.emplace_back(m_controller.GetDoneBytes(), m_controller.GetTotalBytes());
        m_changed.notify_all();
    }

    bool WaitForState(int state, DWORD timeoutMs = kRunTimeoutMs) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
            return std::find(m_states.begin(), m_states.end(), state) != m_states.end();
        });
    }
    bool WaitForProgress(DWORD timeoutMs = kRunTimeoutMs) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return !m_progress.empty(); });
    }
    std::vector<int> States() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_states;
    }
    std::vector<std::pair<unsigned long, unsigned long>> Progress() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_progress;
    }

private:
    Engine::UpdateController& m_controller;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<int> m_states;
    std::vector<std::pair<unsigned long, unsigned long>> m_progress;
};

// A listener that takes one connection, keeps the first bytes the client
// sends and answers them with plain HTTP: a TLS client gives up at once
// instead of waiting for a server hello.
class PlainAnswerServer {
public:
    PlainAnswerServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        listen(m_listener, 1);
        m_thread = std::thread([this] {
            SOCKET connection = accept(m_listener, nullptr, nullptr);
            if (connection == INVALID_SOCKET)
                return;
            DWORD timeoutMs = 30000;
            setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
            char buffer[4096];
            const int received = recv(connection, buffer, sizeof buffer, 0);
            if (received > 0)
                m_firstBytes.assign(buffer, static_cast<std::size_t>(received));
            const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nMZ";
            send(connection, answer, sizeof answer - 1, 0);
            closesocket(connection);
        });
    }
    ~PlainAnswerServer() {
        closesocket(m_listener);
        m_thread.join();
        WSACleanup();
    }

    unsigned short Port() const { return m_port; }
    // Read once the client has given up.
    const std::string& FirstBytes() const { return m_firstBytes; }

private:
    SOCKET m_listener;
    unsigned short m_port = 0;
    std::thread m_thread;
    std::string m_firstBytes;
};

// One Updater run: settings, controller and listener for one command line.
struct UpdaterRun {
    explicit UpdaterRun(const std::wstring& commandLine)
        : settings(commandLine.c_str()), controller(settings), listener(controller) {}

    // Starts the worker and waits for state 4.
    bool Complete() { return controller.StartWorker() && listener.WaitForState(Engine::UpdateWorker::StateFinished); }
    const std::wstring& SetupPath() const { return controller._GetWorker()._GetSetupPath(); }

    UpdaterSettings settings;
    Engine::UpdateController controller;
    RecordingListener listener;
};

class UpdateWorkerTest : public testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_RecordFolder", m_records.Path().c_str());
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_SleepMs", nullptr);
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_ExitCode", nullptr);
        m_setup = Testing::ReadFileBytes(UpdaterTests::BesideTests(L"UpdaterSetupStandIn.exe"));
        ASSERT_FALSE(m_setup.empty());
        ASSERT_LT(m_setup.size(), kSetupSize);
        m_setup.resize(kSetupSize, '\x5A');  // the loader ignores what follows the image
    }
    void TearDown() override {
        for (const wchar_t* name : {L"UpdaterSetupStandIn_RecordFolder", L"UpdaterSetupStandIn_SleepMs",
                                    L"UpdaterSetupStandIn_ExitCode"})
            SetEnvironmentVariableW(name, nullptr);
    }

    std::wstring CommandLine(const std::wstring& url, const std::wstring& extra = L"") const {
        return L"Updater.exe /downloadURL " + url + L" " + extra;
    }

    // What each started setup noted, one text per run.
    std::vector<std::wstring> SetupRecords() const { return UpdaterTests::ReadRecords(m_records.Path()); }

    static std::wstring Field(const std::wstring& record, const std::wstring& name) {
        return UpdaterTests::RecordField(record, name);
    }

    static std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

    LoopbackHttpServer m_server;
    Testing::TempFolder m_records;
    std::string m_setup;
};

TEST_F(UpdateWorkerTest, WholeDownloadRunsTheSetupSilentlyAndDeletesIt) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Slow(m_setup, 65536, 0));
    UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe?build=7")));
    ASSERT_TRUE(run.Complete());

    EXPECT_FALSE(run.controller.HasFailed());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), run.listener.States());
    const auto progress = run.listener.Progress();
    ASSERT_FALSE(progress.empty());
    for (std::size_t i = 1; i < progress.size(); ++i)
        EXPECT_LT(progress[i - 1].first, progress[i].first);
    for (const auto& step : progress)
        EXPECT_EQ(kSetupSize, step.second);
    EXPECT_EQ(kSetupSize, progress.back().first);
    EXPECT_EQ(kSetupSize, run.controller.GetDoneBytes());
    EXPECT_EQ(kSetupSize, run.controller.GetTotalBytes());

    const auto records = SetupRecords();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"\"" + run.SetupPath() + L"\" " + kSilentParameters, Field(records[0], L"CommandLine"));
    EXPECT_EQ(0, _wcsicmp(FolderOf(run.SetupPath()).c_str(), Field(records[0], L"CurrentDirectory").c_str()));
    EXPECT_FALSE(Testing::PathExists(run.SetupPath()));

    const auto requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("GET", requests[0].method);
    EXPECT_EQ("/setup.exe?build=7", requests[0].target);
    EXPECT_EQ("Mozilla/4.0 (MSIE 6.0); dtaglim:128", requests[0].Header("User-Agent").value_or(""));
}

TEST_F(UpdateWorkerTest, SetupFileIsNamedAfterUpdateInTheTemporaryFolder) {
    UpdaterRun first(CommandLine(m_server.Url(L"/setup.exe")));
    UpdaterRun second(CommandLine(m_server.Url(L"/setup.exe")));
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    for (const UpdaterRun* run : {&first, &second}) {
        const std::wstring name = run->SetupPath().substr(run->SetupPath().rfind(L'\\') + 1);
        EXPECT_EQ(0, _wcsicmp(FolderOf(run->SetupPath()).c_str(), FolderOf(temp).c_str()));
        EXPECT_EQ(0u, name.find(L"Update!"));
        EXPECT_EQ(L".exe", name.substr(name.size() - 4));
        // Nothing exists before a download begins.
        EXPECT_FALSE(Testing::PathExists(run->SetupPath()));
    }
    EXPECT_NE(first.SetupPath(), second.SetupPath());
}

TEST_F(UpdateWorkerTest, UnknownLengthStillDownloadsToTheEnd) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::WithoutLength(m_setup));
    // Without a scheme the address is fetched over http.
    std::wstring url = m_server.Url(L"/setup.exe");
    url.erase(0, url.find(L"://") + 3);
    UpdaterRun run(CommandLine(url));
    ASSERT_TRUE(run.Complete());
    EXPECT_FALSE(run.controller.HasFailed());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), run.listener.States());
    EXPECT_EQ(0u, run.controller.GetTotalBytes());
    EXPECT_EQ(kSetupSize, run.controller.GetDoneBytes());
    EXPECT_EQ(1u, SetupRecords().size());
    EXPECT_FALSE(Testing::PathExists(run.SetupPath()));
}

TEST_F(UpdateWorkerTest, AnythingButTheWholeAnswerFailsBeforeASetupRuns) {
    struct Case {
        const char* name;
        std::wstring url;
    };
    m_server.SetAnswer("/missing.exe", [this] {
        HttpAnswer answer = HttpAnswer::NotFound();
        answer.body = m_setup;  // an error page that would run
        return answer;
    }());
    m_server.SetAnswer("/short.exe", HttpAnswer::ShortBody(m_setup, kSetupSize + 1000));
    m_server.SetAnswer("/dropped.exe", HttpAnswer::DroppedMidBody(m_setup, kSetupSize / 2));
    m_server.SetAnswer("/empty.exe", HttpAnswer::Ok(""));
    m_server.SetAnswer("/loop.exe", HttpAnswer::Redirect("/loop.exe"));
    const Case cases[] = {
        {"404 with a body", m_server.Url(L"/missing.exe")},
        {"body shorter than its Content-Length", m_server.Url(L"/short.exe")},
        {"connection dropped mid-body", m_server.Url(L"/dropped.exe")},
        {"empty body", m_server.Url(L"/empty.exe")},
        {"redirect loop", m_server.Url(L"/loop.exe")},
        {"not an http address", L"ftp://127.0.0.1/setup.exe"},
        {"nobody listening", L"http://127.0.0.1:1/setup.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdaterRun run(CommandLine(c.url));
        ASSERT_TRUE(run.Complete());
        EXPECT_TRUE(run.controller.HasFailed());
        EXPECT_EQ(Engine::UpdateWorker::StateFinished, run.controller.GetState());
        const auto states = run.listener.States();
        EXPECT_EQ(states.end(), std::find(states.begin(), states.end(), 3));
        EXPECT_TRUE(SetupRecords().empty());
        EXPECT_FALSE(Testing::PathExists(run.SetupPath()));
    }
    const auto requests = m_server.Requests();
    EXPECT_EQ(static_cast<std::ptrdiff_t>(1 + Engine::kMaxRedirects),
              std::count_if(requests.begin(), requests.end(), [](const auto& r) { return r.target == "/loop.exe"; }))
        << "the first request and the redirects followed";
}

TEST_F(UpdateWorkerTest, HttpsAddressIsFetchedOverTlsOnItsOwnPort) {
    PlainAnswerServer server;
    UpdaterRun run(CommandLine(L"https://127.0.0.1:" + std::to_wstring(server.Port()) + L"/setup.exe"));
    ASSERT_TRUE(run.Complete());
    EXPECT_TRUE(run.controller.HasFailed());
    EXPECT_TRUE(SetupRecords().empty());
    EXPECT_FALSE(Testing::PathExists(run.SetupPath()));
    // A TLS handshake record, not a plain request.
    ASSERT_FALSE(server.FirstBytes().empty());
    EXPECT_EQ(0x16, static_cast<unsigned char>(server.FirstBytes()[0]));
}

TEST_F(UpdateWorkerTest, SetupFileThatCannotBeCreatedFailsTheRun) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    wchar_t tmp[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
    const std::wstring missing = m_records / L"no such folder";
    SetEnvironmentVariableW(L"TMP", missing.c_str());
    SetEnvironmentVariableW(L"TEMP", missing.c_str());
    auto run = std::make_unique<UpdaterRun>(CommandLine(m_server.Url(L"/setup.exe")));
    SetEnvironmentVariableW(L"TMP", *tmp ? tmp : nullptr);
    SetEnvironmentVariableW(L"TEMP", *temp ? temp : nullptr);
    ASSERT_EQ(0u, run->SetupPath().find(missing));

    ASSERT_TRUE(run->Complete());
    EXPECT_TRUE(run->controller.HasFailed());
    EXPECT_EQ(Engine::UpdateWorker::StateFinished, run->controller.GetState());
    EXPECT_TRUE(SetupRecords().empty());
}

TEST_F(UpdateWorkerTest, SetupEndingWithAnErrorCodeFails) {
    SetEnvironmentVariableW(L"UpdaterSetupStandIn_ExitCode", L"3");
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe")));
    ASSERT_TRUE(run.Complete());
    EXPECT_TRUE(run.controller.HasFailed());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), run.listener.States());
    EXPECT_EQ(1u, SetupRecords().size());
    EXPECT_FALSE(Testing::PathExists(run.SetupPath()));
}

TEST_F(UpdateWorkerTest, NotSilentRunsTheSetupWithoutParameters) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe"), L"/isSilent 0"));
    ASSERT_TRUE(run.Complete());
    EXPECT_FALSE(run.controller.HasFailed());
    const auto records = SetupRecords();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"\"" + run.SetupPath() + L"\"", Field(records[0], L"CommandLine"));
}

TEST_F(UpdateWorkerTest, CancelWhileConnectingFailsWithoutRunningAnything) {
    HttpAnswer late = HttpAnswer::Ok(m_setup);
    late.headDelayMs = 1500;
    m_server.SetAnswer("/setup.exe", late);
    UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe")));
    ASSERT_TRUE(run.controller.StartWorker());
    ASSERT_TRUE(m_server.WaitForRequests(1, 30000));
    EXPECT_EQ(Engine::UpdateWorker::StateConnecting, run.controller.GetState());
    EXPECT_TRUE(run.controller.StopWorker());
    // Stopping waited for the worker.
    EXPECT_EQ(Engine::UpdateWorker::StateFinished, run.controller.GetState());
    EXPECT_TRUE(run.controller.HasFailed());
    EXPECT_EQ(4, run.listener.States().back());
    EXPECT_TRUE(SetupRecords().empty());
    EXPECT_FALSE(Testing::PathExists(run.SetupPath()));
}

TEST_F(UpdateWorkerTest, CancelWhileDownloadingFailsWithoutRunningAnything) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Slow(m_setup, 16384, 40));  // about 2.5 s
    UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe")));
    ASSERT_TRUE(run.controller.StartWorker());
    ASSERT_TRUE(run.listener.WaitForProgress());
    EXPECT_TRUE(run.controller.StopWorker());
    EXPECT_EQ(Engine::UpdateWorker::StateFinished, run.controller.GetState());
    EXPECT_TRUE(run.controller.HasFailed());
    EXPECT_LT(run.controller.GetDoneBytes(), kSetupSize);
    const auto states = run.listener.States();
    EXPECT_EQ((std::vector<int>{1, 2, 4}), states);
    EXPECT_TRUE(SetupRecords().empty());
    EXPECT_FALSE(Testing::PathExists(run.SetupPath()));
}

TEST_F(UpdateWorkerTest, CancelWhileInstallingEndsTheSetupAndFails) {
    SetEnvironmentVariableW(L"UpdaterSetupStandIn_SleepMs", L"60000");
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe")));
    ASSERT_TRUE(run.controller.StartWorker());
    ASSERT_TRUE(run.listener.WaitForState(Engine::UpdateWorker::StateInstalling));
    for (int i = 0; i < 200 && SetupRecords().empty(); ++i)
        Sleep(50);
    ASSERT_EQ(1u, SetupRecords().size()) << "the setup runs";
    const DWORD start = GetTickCount();
    EXPECT_TRUE(run.controller.StopWorker());
    EXPECT_LT(GetTickCount() - start, kCancelLimitMs) << "the user does not wait for the setup";
    EXPECT_EQ(Engine::UpdateWorker::StateFinished, run.controller.GetState());
    EXPECT_TRUE(run.controller.HasFailed());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), run.listener.States());
    EXPECT_FALSE(Testing::PathExists(run.SetupPath())) << "the ended setup's file is gone";
}

TEST_F(UpdateWorkerTest, ServerThatFallsSilentFailsTheRunWithinItsLimit) {
    m_server.SetAnswer("/silent.exe", HttpAnswer::NeverAnswered());
    m_server.SetAnswer("/stalled.exe", HttpAnswer::StalledMidBody(m_setup, kSetupSize / 4));
    // Side by side: each waits out its own limit.
    UpdaterRun silent(CommandLine(m_server.Url(L"/silent.exe")));
    UpdaterRun stalled(CommandLine(m_server.Url(L"/stalled.exe")));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(silent.controller.StartWorker());
    ASSERT_TRUE(stalled.controller.StartWorker());
    for (UpdaterRun* run : {&silent, &stalled}) {
        ASSERT_TRUE(run->listener.WaitForState(Engine::UpdateWorker::StateFinished));
        EXPECT_TRUE(run->controller.HasFailed());
        EXPECT_FALSE(Testing::PathExists(run->SetupPath()));
    }
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, Engine::kBodyTimeoutMs - 1000);
    EXPECT_LT(elapsed, Engine::kHeadersTimeoutMs + 20000);
    EXPECT_EQ(kSetupSize / 4, stalled.controller.GetDoneBytes());
    EXPECT_TRUE(SetupRecords().empty());
}

TEST_F(UpdateWorkerTest, CancelEndsAStalledRunAtOnce) {
    struct Case {
        const char* name;
        HttpAnswer answer;
        int stateAtCancel;
    };
    const Case cases[] = {
        {"no answer to the request", HttpAnswer::NeverAnswered(), Engine::UpdateWorker::StateConnecting},
        {"silent after a part of the body", HttpAnswer::StalledMidBody(m_setup, 100000),
         Engine::UpdateWorker::StateDownloading},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_server.SetAnswer("/setup.exe", c.answer);
        UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe")));
        ASSERT_TRUE(run.controller.StartWorker());
        ASSERT_TRUE(run.listener.WaitForState(c.stateAtCancel));
        if (c.stateAtCancel == Engine::UpdateWorker::StateDownloading) {
            ASSERT_TRUE(run.listener.WaitForProgress());
        }
        Sleep(500);  // well into the stall
        const DWORD start = GetTickCount();
        EXPECT_TRUE(run.controller.StopWorker());
        EXPECT_LT(GetTickCount() - start, kCancelLimitMs);
        EXPECT_EQ(Engine::UpdateWorker::StateFinished, run.controller.GetState());
        EXPECT_TRUE(run.controller.HasFailed());
        EXPECT_TRUE(SetupRecords().empty());
        EXPECT_FALSE(Testing::PathExists(run.SetupPath()));
    }
}

TEST_F(UpdateWorkerTest, StopBeforeStartOrAfterTheEndChangesNothing) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    UpdaterRun idle(CommandLine(m_server.Url(L"/setup.exe")));
    EXPECT_TRUE(idle.controller.StopWorker());
    EXPECT_EQ(Engine::UpdateWorker::StatePreparing, idle.controller.GetState());
    EXPECT_FALSE(idle.controller.HasFailed());
    EXPECT_TRUE(idle.listener.States().empty());

    UpdaterRun finished(CommandLine(m_server.Url(L"/setup.exe")));
    ASSERT_TRUE(finished.Complete());
    EXPECT_TRUE(finished.controller.StopWorker());
    EXPECT_FALSE(finished.controller.HasFailed());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), finished.listener.States());
}

TEST_F(UpdateWorkerTest, TwoWorkersAtOnceUseTwoSetupFiles) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Slow(m_setup, 65536, 5));
    UpdaterRun first(CommandLine(m_server.Url(L"/setup.exe")));
    UpdaterRun second(CommandLine(m_server.Url(L"/setup.exe")));
    ASSERT_TRUE(first.controller.StartWorker());
    ASSERT_TRUE(second.controller.StartWorker());
    ASSERT_TRUE(first.listener.WaitForState(Engine::UpdateWorker::StateFinished));
    ASSERT_TRUE(second.listener.WaitForState(Engine::UpdateWorker::StateFinished));
    EXPECT_FALSE(first.controller.HasFailed());
    EXPECT_FALSE(second.controller.HasFailed());
    EXPECT_NE(first.SetupPath(), second.SetupPath());
    const auto records = SetupRecords();
    ASSERT_EQ(2u, records.size());
    std::vector<std::wstring> started = {Field(records[0], L"Module"), Field(records[1], L"Module")};
    for (const UpdaterRun* run : {&first, &second}) {
        EXPECT_TRUE(_wcsicmp(started[0].c_str(), run->SetupPath().c_str()) == 0 ||
                    _wcsicmp(started[1].c_str(), run->SetupPath().c_str()) == 0);
        EXPECT_FALSE(Testing::PathExists(run->SetupPath()));
    }
}

TEST_F(UpdateWorkerTest, ListenerIsAddedOnceAndHearsNothingOnceRemoved) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    UpdaterRun run(CommandLine(m_server.Url(L"/setup.exe")));
    EXPECT_FALSE(run.controller.AddListener(&run.listener));
    RecordingListener removed(run.controller);
    EXPECT_TRUE(run.controller.RemoveListener(&removed));
    EXPECT_FALSE(run.controller.RemoveListener(&removed));
    ASSERT_TRUE(run.Complete());
    // Added once: each state heard once.
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), run.listener.States());
    EXPECT_TRUE(removed.States().empty());
    EXPECT_TRUE(removed.Progress().empty());
}

}  // namespace
