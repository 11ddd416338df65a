// The Updater's downloader on its own: progress as the body arrives.
#include "updater/engine/HttpDownloader.h"

#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "updater/engine/IVerboseWritingConsumerCallback.h"
#include "updater/engine/VerboseFileWriter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class ProgressRecorder : public Engine::IVerboseWritingConsumerCallback {
public:
    bool OnBegin(unsigned long) override { return true; }
    bool OnProgress(unsigned long bytesSoFar) override {
        progress.push_back(bytesSoFar);
        return true;
    }
    void OnEnd(bool ok) override { ended.push_back(ok); }

    std::vector<unsigned long> progress;
    std::vector<bool> ended;
};

TEST(HttpDownloader, ProgressIsToldAsThePiecesArrive) {
    std::string body(40000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(i * 31 + i / 256);
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/setup.exe", Testing::HttpAnswer::Slow(body, 10000, 50));
    Testing::TempFolder folder;
    ProgressRecorder recorder;
    Engine::VerboseFileWriter writer;
    writer.SetDestination(folder / L"setup.exe", &recorder);
    Engine::HttpDownloader downloader(server.Url(L"/setup.exe"), &writer);

    ASSERT_TRUE(downloader.Download());
    EXPECT_GT(recorder.progress.size(), 1u) << "the bar moves while the pieces come, not once at the end";
    for (std::size_t i = 1; i < recorder.progress.size(); ++i)
        EXPECT_LT(recorder.progress[i - 1], recorder.progress[i]);
    ASSERT_FALSE(recorder.progress.empty());
    EXPECT_EQ(body.size(), recorder.progress.back());
    EXPECT_EQ(std::vector<bool>{true}, recorder.ended);
    EXPECT_EQ(body, Testing::ReadFileBytes(folder / L"setup.exe"));
}

// The answer ends where its Content-Length says: bytes after it are no part
// of the package, bytes missing from it fail the download.
TEST(HttpDownloader, TheAnnouncedLengthDecides) {
    const std::string body(30000, 'b');
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/longer.exe", Testing::HttpAnswer::ShortBody(body, 20000));
    server.SetAnswer("/shorter.exe", Testing::HttpAnswer::ShortBody(body, 40000));
    Testing::TempFolder folder;
    for (const char* name : {"longer.exe", "shorter.exe"}) {
        SCOPED_TRACE(name);
        const std::wstring file(name, name + std::strlen(name));
        ProgressRecorder recorder;
        Engine::VerboseFileWriter writer;
        writer.SetDestination(folder / file, &recorder);
        Engine::HttpDownloader downloader(server.Url(L"/" + file), &writer);
        const bool isLonger = file == L"longer.exe";
        EXPECT_EQ(isLonger, downloader.Download());
        EXPECT_EQ(std::vector<bool>{isLonger}, recorder.ended);
        if (isLonger)
            EXPECT_EQ(body.substr(0, 20000), Testing::ReadFileBytes(folder / file));
    }
}

}  // namespace
