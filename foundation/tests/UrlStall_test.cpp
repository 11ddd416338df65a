// A body that stops arriving: the download gives up after its 20-second
// receive time-out. In a file of its own, so that ctest runs its wait beside
// the other tests.
#include "foundation/internet/Url.h"

#include "foundation/tests/UrlDownload.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(UrlStall, StalledBodyFailsAfterTheReceiveTimeoutAndKeepsTheOldFile) {
    Testing::LoopbackHttpServer server;
    // Headers at once, then nothing for 40 seconds.
    server.SetAnswer("/stalled", Testing::HttpAnswer::Slow(std::string(2000, 's'), 2000, 40000));
    Testing::TempFolder folder;
    const std::wstring target = folder.WriteFile(L"tips.xml", "old contents");

    Internet::Url url(server.Url(L"/stalled"));
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(url.DownloadToFile(target));
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    EXPECT_GE(elapsed, 19000u);
    EXPECT_LT(elapsed, 35000u);  // before the server would have sent anything
    EXPECT_EQ("old contents", Testing::ReadFileBytes(target));
    EXPECT_EQ(std::vector<std::wstring>{L"tips.xml"}, InternetTests::FolderEntries(folder.Path()));
}

}  // namespace
