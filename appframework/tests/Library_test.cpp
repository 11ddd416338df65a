#include "appframework/serviceclient/Library.h"

#include "RecordingService.h"
#include "ServiceClientFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace GenericServiceClient;
using namespace ServiceClientTests;

// Each test talks to a recording GarbageCollector in its own apartment and
// sees every report.
class LibraryTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, m_service.Registration()); }

    OleScope m_ole;
    RecordingService m_service;
    ServiceSink m_sink;
    FoundationTests::ScopedSink m_scopedSink{&m_sink};
    ShellStartRecorder m_shell{false};
    Library m_library;
};

// One operation as the tests drive it: its result as a text ("true",
// "false", or the returned string).
struct Operation {
    const char* name;
    int position;
    std::function<std::wstring(Library&)> run;
    std::vector<std::wstring> texts;  // the BSTRs the service must receive
    bool takesRandom;
    const wchar_t* resultOnSuccess;
    const wchar_t* resultOnFailure;
};

std::wstring BoolText(bool value) {
    return value ? L"true" : L"false";
}

std::vector<Operation> Operations() {
    return {
        {"CreateFolder", 10, [](Library& l) { return BoolText(l.CreateFolder(L"C:\\new")); }, {L"C:\\new"}, false,
         L"true", L"false"},
        {"DeleteFile", 9, [](Library& l) { return BoolText(l.DeleteFile(L"C:\\old.txt")); }, {L"C:\\old.txt"}, true,
         L"true", L"false"},
        {"PathOperation11", 11, [](Library& l) { return BoolText(l.PathOperation11(L"C:\\p")); }, {L"C:\\p"}, false,
         L"true", L"false"},
        {"PathExists", 12, [](Library& l) { return BoolText(l.PathExists(L"C:\\q")); }, {L"C:\\q"}, true, L"true",
         L"false"},
        {"MoveFile", 8, [](Library& l) { return BoolText(l.MoveFile(L"C:\\a", L"D:\\b")); }, {L"C:\\a", L"D:\\b"}, true,
         L"true", L"false"},
        {"ReadRegistryValue", 13,
         [](Library& l) { return l.ReadRegistryValue(L"HKEY_LOCAL_MACHINE\\Software\\X", L"Name"); },
         {L"HKEY_LOCAL_MACHINE\\Software\\X", L"Name"}, false, L"recorded value", L""},
    };
}

TEST_F(LibraryTest, EachOperationReachesItsPositionAndCountsSuccessCodes) {
    for (const Operation& operation : Operations()) {
        for (const HRESULT answer : {S_OK, S_FALSE, E_FAIL}) {
            SCOPED_TRACE(testing::Message() << operation.name << " answered 0x" << std::hex << answer);
            m_service.calls.clear();
            m_service.queried.clear();
            m_service.answer = answer;
            EXPECT_EQ(SUCCEEDED(answer) ? operation.resultOnSuccess : operation.resultOnFailure,
                      operation.run(m_library));
            ASSERT_EQ(1u, m_service.calls.size());
            const RecordedCall& call = m_service.calls[0];
            EXPECT_EQ(operation.position, call.position);
            EXPECT_EQ(operation.texts, call.texts);
            ASSERT_EQ(operation.takesRandom ? 1u : 0u, call.numbers.size());
            if (operation.takesRandom) {
                EXPECT_GE(call.numbers[0], 0);
                EXPECT_LE(call.numbers[0], 32767);
            }
            // The connection let go of the object, and a failure came back as
            // the interface's COM error (which asks the object for its error
            // information) - except for DeleteFile, whose failure is its answer.
            EXPECT_EQ(0, m_service.OutstandingReferences());
            const bool askedForErrorInfo =
                std::find(m_service.queried.begin(), m_service.queried.end(), IID_ISupportErrorInfo) !=
                m_service.queried.end();
            EXPECT_EQ(FAILED(answer) && operation.position != 9, askedForErrorInfo);
        }
    }
    EXPECT_TRUE(m_sink.reports.empty());
    EXPECT_TRUE(m_shell.starts.empty());
}

TEST_F(LibraryTest, TheRandomArgumentIsAFreshRandPerCall) {
    for (unsigned seed : {1u, 77u, 4242u}) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        const int expected = std::rand();
        m_service.calls.clear();
        std::srand(seed);
        EXPECT_TRUE(m_library.PathExists(L"C:\\x"));
        std::srand(seed);
        EXPECT_TRUE(m_library.DeleteFile(L"C:\\x"));
        std::srand(seed);
        EXPECT_TRUE(m_library.MoveFile(L"C:\\x", L"C:\\y"));
        ASSERT_EQ(3u, m_service.calls.size());
        for (const RecordedCall& call : m_service.calls)
            EXPECT_EQ(std::vector<LONG>{expected}, call.numbers);
    }
}

TEST_F(LibraryTest, EmptyArgumentsAreReportedAtErrorLevelAndReachNothing) {
    const wchar_t* const nothing = nullptr;
    const wchar_t startsWithItsEnd[] = L"\0abc";
    struct Case {
        const char* name;
        std::function<std::wstring(Library&)> run;
        const wchar_t* expected;
        const wchar_t* check;
    } cases[] = {
        {"MoveFile from empty", [](Library& l) { return BoolText(l.MoveFile(L"", L"x")); }, L"false",
         L"((!from.empty()))"},
        // The target is not looked at once the source failed.
        {"MoveFile both empty", [](Library& l) { return BoolText(l.MoveFile(L"", L"")); }, L"false",
         L"((!from.empty()))"},
        {"MoveFile to empty", [](Library& l) { return BoolText(l.MoveFile(L"a", L"")); }, L"false",
         L"((!to.empty()))"},
        {"ReadRegistryValue without key", [](Library& l) { return l.ReadRegistryValue(L"", L"Name"); }, L"",
         L"((!key.empty()))"},
        {"CreateFolder of null", [&](Library& l) { return BoolText(l.CreateFolder(nothing)); }, L"false",
         L"((!path.empty()))"},
        {"DeleteFile of a zero length", [](Library& l) { return BoolText(l.DeleteFile(wlitestring(L"abc", 0))); },
         L"false", L"((!path.empty()))"},
        {"PathExists of a text starting with its end",
         [&](Library& l) { return BoolText(l.PathExists(wlitestring(startsWithItsEnd, 4))); }, L"false",
         L"((!path.empty()))"},
        {"PathOperation11 of empty", [](Library& l) { return BoolText(l.PathOperation11(L"")); }, L"false",
         L"((!path.empty()))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_sink.reports.clear();
        EXPECT_EQ(c.expected, c.run(m_library));
        ASSERT_EQ(1u, m_sink.reports.size());
        EXPECT_EQ(Reporting::Error, m_sink.reports[0].severity);
        EXPECT_EQ(std::vector<std::wstring>{c.check}, m_sink.CheckTexts());
        EXPECT_NE(std::wstring::npos, m_sink.reports[0].text.find(L"0x80004005"));
    }
    EXPECT_EQ(0, m_service.activations);
    EXPECT_TRUE(m_service.calls.empty());
}

TEST_F(LibraryTest, AnEmptyValueNameIsAskedForAndArgumentsAreCopiedAsGiven) {
    EXPECT_EQ(L"recorded value", m_library.ReadRegistryValue(L"HKEY_CURRENT_USER\\Software", L""));
    // A reference that ends before its text does is copied to its length.
    const wchar_t longer[] = L"C:\\folder\\file.txt";
    EXPECT_TRUE(m_library.CreateFolder(wlitestring(longer, 9)));
    EXPECT_TRUE(m_library.MoveFile(wlitestring(longer, 2), wlitestring(longer + 3, 6)));
    ASSERT_EQ(3u, m_service.calls.size());
    EXPECT_EQ((std::vector<std::wstring>{L"HKEY_CURRENT_USER\\Software", L""}), m_service.calls[0].texts);
    EXPECT_EQ(std::vector<std::wstring>{L"C:\\folder"}, m_service.calls[1].texts);
    EXPECT_EQ((std::vector<std::wstring>{L"C:", L"folder"}), m_service.calls[2].texts);
    EXPECT_TRUE(m_sink.reports.empty());
}

TEST_F(LibraryTest, AfterDisableEveryOperationFailsAtOnceAndQuietly) {
    EXPECT_TRUE(m_library.IsLibraryEnabled());
    m_library.Disable();
    EXPECT_FALSE(m_library.IsLibraryEnabled());
    for (const Operation& operation : Operations()) {
        SCOPED_TRACE(operation.name);
        EXPECT_EQ(operation.resultOnFailure, operation.run(m_library));
    }
    // Not even an empty argument is reported any more.
    EXPECT_FALSE(m_library.MoveFile(L"", L""));
    EXPECT_EQ(0, m_service.activations);
    EXPECT_TRUE(m_service.calls.empty());
    EXPECT_TRUE(m_sink.reports.empty());
    EXPECT_TRUE(m_shell.starts.empty());
}

TEST(GetLibrary, IsTheOneEnabledLibraryOfTheProcess) {
    Library* library = GetLibrary();
    ASSERT_NE(nullptr, library);
    EXPECT_EQ(library, GetLibrary());
    EXPECT_TRUE(library->IsLibraryEnabled());
}

}  // namespace
