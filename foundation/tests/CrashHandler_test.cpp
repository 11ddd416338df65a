#include "foundation/debugging/CrashHandler.h"
#include "foundation/debugging/CrashMessages.h"
#include "foundation/debugging/CrashReportInfo.h"
#include "foundation/debugging/LogConfiguration.h"
#include "foundation/system/ShellExecute.h"
#include "foundation/tests/DebuggingFixtures.h"
#include "foundation/tests/ReportFolderSeams.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

using namespace ErrorReport;
using namespace DebuggingTests;

const wchar_t kProduct[] = L"Brunlow Crash Test";
const wchar_t kShortName[] = L"BrunlowCT";

// --- What the children do -------------------------------------------------

void Fault(const std::wstring& kind) {
    if (kind == L"execute data") {
        // A "ret" in memory that may be read and written, not executed.
        void* page = ::VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        *static_cast<unsigned char*>(page) = 0xC3;
        reinterpret_cast<void (*)()>(page)();
    } else if (kind == L"execute fault record") {
        // The record an execute fault on a data page makes, handed to the
        // filter directly: it must not make the page executable and go on.
        void* page = ::VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        CONTEXT context = {};
        context.ContextFlags = CONTEXT_FULL;
        ::RtlCaptureContext(&context);
        EXCEPTION_RECORD record = {};
        record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
        record.ExceptionAddress = page;
        record.NumberParameters = 2;
        record.ExceptionInformation[0] = 8;
        record.ExceptionInformation[1] = reinterpret_cast<ULONG_PTR>(page);
        EXCEPTION_POINTERS pointers = {&record, &context};
        ErrorReport::UnhandledExceptionFilter(&pointers);
    } else {
        *static_cast<volatile int*>(nullptr) = 1;
    }
}

BOOL FailingShellExecute(SHELLEXECUTEINFOW*) {
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

TESTING_CHILD_SCENARIO(CrashesWithTheInstalledHandler) {
    UseSeamsFromEnvironment();
    if (ReadVariable(L"DebuggingTests_NoSupportTool"))
        System::SetShellExecute(&FailingShellExecute);
    InstallCrashHandler(kShortName, kProduct);
    Fault(ReadVariable(L"DebuggingTests_Fault").value_or(L""));
    return 0;  // the filter let the program go on
}

// A fault inside the report itself: in the shell while the support tool
// starts, or in the desktop lookup while the dump is made.
BOOL FaultingShellExecute(SHELLEXECUTEINFOW*) {
    *static_cast<volatile int*>(nullptr) = 1;
    return TRUE;
}

std::wstring FaultingShellFolderLookup(int) {
    *static_cast<volatile int*>(nullptr) = 1;
    return std::wstring();
}

TESTING_CHILD_SCENARIO(CrashesWhileReporting) {
    UseSeamsFromEnvironment();
    InstallCrashHandler(kShortName, kProduct);
    const std::wstring step = ReadVariable(L"DebuggingTests_FaultingStep").value_or(L"");
    if (step == L"support tool")
        System::SetShellExecute(&FaultingShellExecute);
    else
        SetShellFolderLookup(&FaultingShellFolderLookup);
    Fault(L"null write");
    return 0;
}

TESTING_CHILD_SCENARIO(CrashesQuietly) {
    UseSeamsFromEnvironment();
    SetUpErrorReporting(kProduct, kShortName, kCrashReplace, &GetProcessCrashReportInfo());
    ::SetUnhandledExceptionFilter(&ErrorReport::UnhandledExceptionFilter);
    Fault(L"null write");
    return 0;
}

// --- The parent's side ------------------------------------------------------

// A child's world: its desktop, temporary folder, support-tool record and
// message boxes, all inside one temporary folder.
class CrashRun {
public:
    CrashRun()
        : m_desktop(m_folder.MakeFolder(L"desktop")),
          m_temp(m_folder.MakeFolder(L"temp")),
          m_record(m_folder / L"support tool.txt"),
          m_messages(m_folder / L"messages.txt") {}

    Testing::ChildResult Run(const std::string& scenario, const Testing::EnvironmentChanges& extra = {}) {
        Testing::EnvironmentChanges environment = NoDebuggingVariables();
        environment[L"TMP"] = m_temp;
        environment[L"TEMP"] = m_temp;
        environment[L"VezozazIzeviz_RecordPath"] = m_record;
        environment[L"DebuggingTests_Desktop"] = m_desktop;
        environment[L"DebuggingTests_Messages"] = m_messages;
        for (const auto& [name, value] : extra)
            environment[name] = value;
        return Testing::RunChildScenario(scenario, environment);
    }

    std::wstring ReportFolder() const { return m_desktop + L"\\" + kProduct + L" Error Report"; }
    std::wstring DumpFolder() const { return ReportFolder() + L"\\CrashDumps"; }
    std::vector<std::wstring> Dumps() const { return Testing::FileNamesIn(DumpFolder()); }
    std::string Messages() const { return Testing::ReadFileBytes(m_messages); }

    // The support tool runs on after the crashed child: its record is awaited
    // for a bounded time.
    std::string AwaitSupportToolRecord(DWORD timeoutMs = 30000) const {
        const DWORD start = ::GetTickCount();
        for (;;) {
            const std::string record = Testing::ReadFileBytes(m_record);
            if (record.find("ProductNameShort=") != std::string::npos && record.back() == '\n')
                return record;
            if (::GetTickCount() - start > timeoutMs)
                return record;
            ::Sleep(100);
        }
    }
    bool SupportToolStarted(DWORD waitMs) const {
        ::Sleep(waitMs);
        return Testing::PathExists(m_record);
    }

    const std::wstring& Desktop() const { return m_desktop; }
    Testing::TempFolder& Folder() { return m_folder; }

private:
    Testing::TempFolder m_folder;
    std::wstring m_desktop;
    std::wstring m_temp;
    std::wstring m_record;
    std::wstring m_messages;
};

const std::wregex kDumpName(L"foundation_tests_CrashReport_\\d{4}\\.\\d\\d\\.\\d\\d_\\d\\d\\.\\d\\d\\.\\d\\d_pid\\d+\\.dmp");

std::string ExpectedRecord(const char* verbose) {
    return std::string("CommandLine=/crash\r\nVerboseCrashHandling=") + verbose +
           "\r\nProductName=Brunlow Crash Test\r\nProductNameShort=BrunlowCT\r\n";
}

class CrashHandler : public testing::Test {
protected:
    CrashHandler() : m_isVerbose(kCrashHandlingKey, L"IsVerbose", std::nullopt) {}

    FixedKeysLock m_lock;
    ScopedUserDword m_isVerbose;
};

// One crash with the installed handler; the checks of each fault.
void ExpectFullCrashReport(const wchar_t* fault) {
    CrashRun run;
    const Testing::ChildResult result =
        run.Run("CrashesWithTheInstalledHandler", {{L"DebuggingTests_Fault", std::wstring(fault)}});
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(255u, result.exitCode);

    const std::vector<std::wstring> dumps = run.Dumps();
    ASSERT_EQ(1u, dumps.size());
    EXPECT_TRUE(std::regex_match(dumps[0], kDumpName)) << STLHelpers::WideToUtf8(dumps[0]);
    EXPECT_EQ("MDMP", Testing::ReadFileBytes(run.DumpFolder() + L"\\" + dumps[0]).substr(0, 4));

    // "IsVerbose" is missing: the environment says "0", the installer's
    // options make the process verbose all the same.
    EXPECT_EQ(ExpectedRecord("0"), run.AwaitSupportToolRecord());
    EXPECT_EQ("", run.Messages());
}

TEST_F(CrashHandler, FaultWritesADumpStartsTheSupportToolAndEndsWith255) {
    for (const wchar_t* fault : {L"null write", L"execute data", L"execute fault record"}) {
        SCOPED_TRACE(testing::Message() << fault);
        ExpectFullCrashReport(fault);
    }
}

TEST_F(CrashHandler, QuietModeWritesOnlyTheDump) {
    CrashRun run;
    const Testing::ChildResult result = run.Run("CrashesQuietly");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(255u, result.exitCode);
    EXPECT_EQ(1u, run.Dumps().size());
    EXPECT_FALSE(run.SupportToolStarted(2000));
    EXPECT_EQ("", run.Messages());
}

TEST_F(CrashHandler, QuietModeShowsNoMessageWhenTheFolderFails) {
    CrashRun run;
    run.Folder().WriteFile(L"desktop\\Brunlow Crash Test Error Report", "a file where the folder belongs");
    const Testing::ChildResult result = run.Run("CrashesQuietly");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(255u, result.exitCode);
    EXPECT_TRUE(run.Dumps().empty());
    EXPECT_EQ("", run.Messages());
}

TEST_F(CrashHandler, RegistryMakesTheEnvironmentVerbose) {
    m_isVerbose.Set(1);
    CrashRun run;
    const Testing::ChildResult result = run.Run("CrashesWithTheInstalledHandler");
    EXPECT_EQ(255u, result.exitCode);
    EXPECT_EQ(ExpectedRecord("1"), run.AwaitSupportToolRecord());
}

TEST_F(CrashHandler, MessageNamesTheDumpWhenTheSupportToolDoesNotStart) {
    CrashRun run;
    const Testing::ChildResult result =
        run.Run("CrashesWithTheInstalledHandler", {{L"DebuggingTests_NoSupportTool", L"1"}});
    EXPECT_EQ(255u, result.exitCode);
    const std::vector<std::wstring> dumps = run.Dumps();
    ASSERT_EQ(1u, dumps.size());
    EXPECT_EQ(STLHelpers::WideToUtf8(L"BrunlowCT|16|Unexpected error has occured in Brunlow Crash Test. Please send "
                                     L"the report file specified below to Brunlow Crash Test support team.\n'" +
                                     run.DumpFolder() + L"\\" + dumps[0] + L"'\n"),
              run.Messages());
    EXPECT_FALSE(run.SupportToolStarted(0));
}

TEST_F(CrashHandler, FaultDuringTheReportStillEndsWith255) {
    {
        SCOPED_TRACE("the support tool's start faults: a failed start");
        CrashRun run;
        const Testing::ChildResult result =
            run.Run("CrashesWhileReporting", {{L"DebuggingTests_FaultingStep", L"support tool"}});
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(255u, result.exitCode);
        const std::vector<std::wstring> dumps = run.Dumps();
        ASSERT_EQ(1u, dumps.size());
        EXPECT_NE(std::string::npos,
                  run.Messages().find(STLHelpers::WideToUtf8(run.DumpFolder() + L"\\" + dumps[0])));
    }
    {
        SCOPED_TRACE("the dump step faults: the support tool starts without a dump");
        CrashRun run;
        const Testing::ChildResult result =
            run.Run("CrashesWhileReporting", {{L"DebuggingTests_FaultingStep", L"dump"}});
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(255u, result.exitCode);
        EXPECT_TRUE(run.Dumps().empty());
        EXPECT_EQ(ExpectedRecord("0"), run.AwaitSupportToolRecord());
    }
}

TEST_F(CrashHandler, MessageWhenTheDumpFolderCannotBeMade) {
    CrashRun run;
    run.Folder().WriteFile(L"desktop\\Brunlow Crash Test Error Report", "a file where the folder belongs");
    const Testing::ChildResult result = run.Run("CrashesWithTheInstalledHandler");
    EXPECT_EQ(255u, result.exitCode);
    EXPECT_EQ(STLHelpers::WideToUtf8(L"BrunlowCT|16|Cannot create error information folder!\n" + run.DumpFolder() +
                                     L"\n"),
              run.Messages());
    EXPECT_EQ(ExpectedRecord("0"), run.AwaitSupportToolRecord());  // started all the same
}

// The set-up's verdicts, read back in a child: the exit code is the record's
// mode plus 10 when the environment says verbose, plus 100 when the names
// were published.
TESTING_CHILD_SCENARIO(SetsUpErrorReporting) {
    UseSeamsFromEnvironment();
    const unsigned options = std::stoul(ReadVariable(L"DebuggingTests_Options").value_or(L"0"));
    CrashReportInfo record;
    SetUpErrorReporting(kProduct, kShortName, options, &record);
    const DWORD mode = record.ResolveMode();
    const bool verboseEnvironment = ReadVariable(L"VerboseCrashHandling") == L"1";
    const bool namesPublished = ReadVariable(L"ProductName") == kProduct && ReadVariable(L"ProductNameShort") == kShortName;
    return static_cast<int>(mode + (verboseEnvironment ? 10 : 0) + (namesPublished ? 100 : 0));
}

TEST_F(CrashHandler, SetUpDecidesTheVerbosity) {
    struct Case {
        std::optional<DWORD> isVerbose;
        unsigned options;
        unsigned long exitCode;
    } cases[] = {
        {std::nullopt, 5, 101},  // verbose by default, the environment says "0"
        {std::nullopt, 4, 102},
        {0, 1, 101},
        {1, 4, 111},
        {7, 0, 111},
        {0, 2, 111},             // verbose without asking the registry
        {std::nullopt, 6, 111},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "IsVerbose " << (c.isVerbose ? std::to_string(*c.isVerbose) : "missing")
                                        << ", options " << c.options);
        m_isVerbose.Set(c.isVerbose);
        CrashRun run;
        const Testing::ChildResult result =
            run.Run("SetsUpErrorReporting", {{L"DebuggingTests_Options", std::to_wstring(c.options)}});
        EXPECT_EQ(c.exitCode, result.exitCode);
    }
}

TEST(CrashReportInfo, ResolvesEmptyNames) {
    struct Case {
        const char* name;
        const wchar_t* product;
        const wchar_t* shortName;
        std::optional<std::wstring> productVariable;
        std::optional<std::wstring> shortVariable;
        const wchar_t* resolvedProduct;
        const wchar_t* resolvedShort;
    } cases[] = {
        {"both given", L"Product", L"Short", L"P", L"S", L"Product", L"Short"},
        {"both from the matching variables", L"", L"", L"P", L"S", L"P", L"S"},
        {"only the short variable", L"", L"", std::nullopt, L"S", L"S", L"S"},
        {"only the product variable", L"", L"", L"P", std::nullopt, L"P", L"P"},
        {"short name only", L"", L"Short", L"P", L"S", L"Short", L"Short"},
        {"product only", L"Product", L"", L"P", L"S", L"Product", L"Product"},
        {"nothing: the executable's folder", L"", L"", std::nullopt, std::nullopt, L"bin", L"bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnvironment environment({{L"ProductName", c.productVariable}, {L"ProductNameShort", c.shortVariable}});
        CrashReportInfo record(c.product, c.shortName, CrashModeNotSet);
        EXPECT_EQ(c.resolvedProduct, record.GetProductName());
        EXPECT_EQ(c.resolvedShort, record.GetShortProductName());
        EXPECT_EQ(L"", record.GetMessageFormat());
    }
}

TEST(CrashReportInfo, ResolvesTheMode) {
    struct Case {
        DWORD mode;
        std::optional<std::wstring> variable;
        DWORD resolved;
    } cases[] = {
        {CrashModeNotSet, L"1", CrashModeVerbose}, {CrashModeNotSet, L"0", CrashModeQuiet},
        {CrashModeNotSet, L"true", CrashModeQuiet}, {CrashModeNotSet, L"01", CrashModeQuiet},
        {CrashModeNotSet, std::nullopt, CrashModeQuiet}, {CrashModeQuiet, L"1", CrashModeQuiet},
        {CrashModeVerbose, L"0", CrashModeVerbose},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << (c.variable ? STLHelpers::WideToUtf8(*c.variable) : "absent"));
        ScopedEnvironment environment({{L"VerboseCrashHandling", c.variable}});
        CrashReportInfo record(L"P", L"S", c.mode);
        EXPECT_EQ(c.resolved, record.ResolveMode());
    }
}

TEST(CrashMessages, Texts) {
    EXPECT_EQ(L"Cannot create error information folder!\nC:\\d\\CrashDumps", FolderFailureText(L"C:\\d\\CrashDumps"));
    EXPECT_EQ(L"Unexpected error has occured in P. Please send the report file specified below to P support team.\n"
              L"'C:\\d\\x.dmp'",
              SupportToolFailureText(L"", L"P", L"C:\\d\\x.dmp"));
    EXPECT_EQ(L"P crashed (P): C:\\x.dmp", SupportToolFailureText(L"%s crashed (%s): %s", L"P", L"C:\\x.dmp"));
    const std::wstring longName(2000, L'n');
    EXPECT_EQ(L"Unexpected error has occured in " + longName.substr(0, 1023 - 32),
              SupportToolFailureText(L"", longName, L"C:\\x.dmp"));
}

}  // namespace
