#include "updater/engine/VerboseFileWriter.h"

#include "testing/TempFolder.h"
#include "updater/engine/IVerboseWritingConsumerCallback.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class Consumer : public Engine::IVerboseWritingConsumerCallback {
public:
    bool OnBegin(unsigned long totalBytes) override {
        events.push_back("begin " + std::to_string(totalBytes));
        return goOnAtBegin;
    }
    bool OnProgress(unsigned long bytesSoFar) override {
        events.push_back("progress " + std::to_string(bytesSoFar));
        return bytesSoFar < stopAtProgress;
    }
    void OnEnd(bool ok) override { events.push_back(ok ? "end ok" : "end failed"); }

    bool goOnAtBegin = true;
    unsigned long stopAtProgress = ~0ul;
    std::vector<std::string> events;
};

const BYTE kBytes[] = {'a', 'b', 'c', 'd', 'e'};

TEST(VerboseFileWriter, WritesAndReportsTheRunningTotal) {
    Testing::TempFolder folder;
    Consumer consumer;
    Engine::VerboseFileWriter writer;
    writer.SetDestination(folder / L"setup.exe", &consumer);
    EXPECT_FALSE(Testing::PathExists(folder / L"setup.exe"));
    ASSERT_TRUE(writer.Begin(-1));
    EXPECT_TRUE(writer.Write(kBytes, 2));
    EXPECT_TRUE(writer.Write(kBytes + 2, 3));
    writer.Finish();
    writer.Finish();  // a closed writer ends only once
    EXPECT_EQ((std::vector<std::string>{"begin 0", "progress 2", "progress 5", "end ok"}), consumer.events);
    EXPECT_EQ("abcde", Testing::ReadFileBytes(folder / L"setup.exe"));
}

TEST(VerboseFileWriter, ConsumerThatSaysStopEndsTheWriting) {
    Testing::TempFolder folder;
    Consumer refusesAtBegin;
    refusesAtBegin.goOnAtBegin = false;
    Engine::VerboseFileWriter first;
    first.SetDestination(folder / L"first.exe", &refusesAtBegin);
    EXPECT_FALSE(first.Begin(5));
    EXPECT_EQ((std::vector<std::string>{"begin 5", "end failed"}), refusesAtBegin.events);
    EXPECT_FALSE(Testing::PathExists(folder / L"first.exe"));

    Consumer stopsAtProgress;
    stopsAtProgress.stopAtProgress = 2;
    Engine::VerboseFileWriter second;
    second.SetDestination(folder / L"second.exe", &stopsAtProgress);
    ASSERT_TRUE(second.Begin(5));
    EXPECT_FALSE(second.Write(kBytes, 2));
    EXPECT_FALSE(second.IsOpen());
    second.Abort();  // nothing left to end
    EXPECT_EQ((std::vector<std::string>{"begin 5", "progress 2", "end failed"}), stopsAtProgress.events);
    // An aborted file stays as far as it was written.
    EXPECT_EQ("ab", Testing::ReadFileBytes(folder / L"second.exe"));
}

TEST(VerboseFileWriter, FileThatCannotBeCreatedFailsTheBeginning) {
    Testing::TempFolder folder;
    const std::wstring unreachable = folder / L"no such folder\\setup.exe";

    Consumer direct;
    Engine::VerboseFileWriter opened;
    try {
        opened.Open(unreachable, &direct);
        ADD_FAILURE() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ("Cannot open destination file", error.what());
    }
    EXPECT_EQ((std::vector<std::string>{"end failed"}), direct.events);

    Consumer atBegin;
    Engine::VerboseFileWriter writer;
    writer.SetDestination(unreachable, &atBegin);
    EXPECT_FALSE(writer.Begin(5));
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ((std::vector<std::string>{"begin 5", "end failed"}), atBegin.events);
}

}  // namespace
