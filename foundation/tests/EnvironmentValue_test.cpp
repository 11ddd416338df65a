#include "foundation/system/EnvironmentValue.h"

#include "foundation/system/SharedValues.h"
#include "RecordingSink.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

namespace {

using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;
using System::EnvironmentValue;
using System::EnvironmentValuePtr;

std::optional<std::wstring> RawValue(const std::wstring& name) {
    wchar_t buffer[256] = {};
    SetLastError(0);
    const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer, 256);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    return std::wstring(buffer, length);
}

std::wstring AddressText(const void* pointer) {
    return std::to_wstring(reinterpret_cast<std::uintptr_t>(pointer));
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(EnvironmentValue, VariableNameCarriesTheProcessIdAndOneTypeName) {
    EXPECT_EQ(std::to_wstring(GetCurrentProcessId()) +
                  L"_class Synchronization__AtomicNumberT_int,class Synchronization__AtomicAutoPolicy_int_ _"
                  L"_a_b_c_d_e_f_g_h_i_j_k l",
              System::EnvironmentValueVariableName(L"a|b\\c?d*e<f\"g:h>i/j\x01k l"));
}

TEST(EnvironmentValue, AskingTwiceGivesTheSameObjectPublishedByAddress) {
    int initial = 5;
    EnvironmentValuePtr first, second;
    EXPECT_EQ(&first, &System::GetEnvironmentValue(first, L"sameObject", &initial));
    ASSERT_TRUE(first);
    EXPECT_EQ(5, *first->Value());
    initial = 9;  // only a new object would take it
    System::GetEnvironmentValue(second, L"sameObject", &initial);
    EXPECT_EQ(first.get(), second.get());
    InterlockedIncrement(first->Value());
    EXPECT_EQ(6, *second->Value());

    const std::wstring variable = System::EnvironmentValueVariableName(L"sameObject");
    EXPECT_EQ(variable, first->VariableName());
    EXPECT_EQ(AddressText(first.get()), RawValue(variable));
}

TEST(EnvironmentValue, TheLastReleaseRemovesOnlyItsOwnVariable) {
    const std::wstring variable = System::EnvironmentValueVariableName(L"releasedDirectly");
    int initial = 0;
    EnvironmentValuePtr value(new EnvironmentValue(&initial, variable));
    SetEnvironmentVariableW(variable.c_str(), AddressText(value.get()).c_str());
    EnvironmentValuePtr another = value;
    another.reset();
    EXPECT_EQ(AddressText(value.get()), RawValue(variable)) << "released while referenced";
    value.reset();
    EXPECT_EQ(std::nullopt, RawValue(variable));

    // An object that lost the race to publish leaves the winner's variable.
    value.reset(new EnvironmentValue(&initial, variable));
    SetEnvironmentVariableW(variable.c_str(), L"12345678");
    value.reset();
    EXPECT_EQ(std::wstring(L"12345678"), RawValue(variable));
    SetEnvironmentVariableW(variable.c_str(), nullptr);
}

TEST(EnvironmentValue, AnotherModulesObjectIsShared) {
    // What a second module finds: an object it did not make, published by address.
    const std::wstring variable = System::EnvironmentValueVariableName(L"otherModule");
    int initial = 3;
    EnvironmentValuePtr theirs(new EnvironmentValue(&initial, variable));
    SetEnvironmentVariableW(variable.c_str(), AddressText(theirs.get()).c_str());

    RecordingSink sink;
    ScopedSink scope(&sink);
    EnvironmentValuePtr ours;
    int other = 8;
    System::GetEnvironmentValue(ours, L"otherModule", &other);
    EXPECT_EQ(theirs.get(), ours.get());
    EXPECT_EQ(3, *ours->Value());
    EXPECT_TRUE(sink.reports.empty());
    theirs.reset();
    EXPECT_EQ(AddressText(ours.get()), RawValue(variable)) << "our reference keeps it";
    ours.reset();
    EXPECT_EQ(std::nullopt, RawValue(variable));
}

// Raw process-heap bytes laid out like a live object: count first, mark last.
class FakeValue {
public:
    FakeValue(LONG count, DWORD mark) : m_pBytes(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(EnvironmentValue))) {
        char* bytes = static_cast<char*>(m_pBytes);
        std::memcpy(bytes, &count, sizeof count);
        std::memcpy(bytes + sizeof(EnvironmentValue) - sizeof mark, &mark, sizeof mark);
    }
    ~FakeValue() { HeapFree(GetProcessHeap(), 0, m_pBytes); }
    void* Address() const { return m_pBytes; }
    LONG Count() const { return *static_cast<const LONG*>(m_pBytes); }

private:
    void* m_pBytes;
};

// A region whose second page may not be touched.
class PageBeforeNoAccess {
public:
    PageBeforeNoAccess() {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_pageSize = info.dwPageSize;
        m_pBase = static_cast<char*>(VirtualAlloc(nullptr, 2 * m_pageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_pBase + m_pageSize, m_pageSize, PAGE_NOACCESS, &old);
        // The live mark where a count would be read, right before the edge.
        const DWORD mark = EnvironmentValue::kLiveMark;
        std::memcpy(m_pBase + m_pageSize - 8, &mark, sizeof mark);
    }
    ~PageBeforeNoAccess() { VirtualFree(m_pBase, 0, MEM_RELEASE); }
    void* NearTheEdge() const { return m_pBase + m_pageSize - 8; }
    void* InsideNoAccess() const { return m_pBase + m_pageSize; }

private:
    char* m_pBase;
    DWORD m_pageSize;
};

int SomeFunction() {
    return 1;
}

TEST(EnvironmentValue, AVariableThatHoldsNoLiveValueGetsAFreshObject) {
    int initial = 0;
    EnvironmentValuePtr live;
    System::GetEnvironmentValue(live, L"liveForGarbage", &initial);
    FakeValue dying(0, EnvironmentValue::kLiveMark);
    FakeValue dead(1, EnvironmentValue::kDeadMark);
    FakeValue zeroed(0, 0);
    PageBeforeNoAccess edge;
    char stackBytes[64] = {};

    struct Case {
        const char* name;
        std::wstring text;
        bool reported;  // a number that is no live value's address
    };
    const Case cases[] = {
        {"not a number", L"abc", false},
        {"negative", L"-4", false},
        {"zero", L"0", true},
        {"unmapped", L"12345", true},
        {"highest address", L"4294967292", true},
        {"unaligned", AddressText(static_cast<char*>(static_cast<void*>(live.get())) + 1), true},
        {"being destroyed", AddressText(dying.Address()), true},
        {"marked dead", AddressText(dead.Address()), true},
        {"zeroed heap memory", AddressText(zeroed.Address()), true},
        {"stack memory", AddressText(stackBytes), true},
        {"code", AddressText(reinterpret_cast<void*>(&SomeFunction)), true},
        {"running into a no-access page", AddressText(edge.NearTheEdge()), true},
        {"a no-access page", AddressText(edge.InsideNoAccess()), true},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring name = L"garbage" + std::to_wstring(++index);
        const std::wstring variable = System::EnvironmentValueVariableName(name);
        SetEnvironmentVariableW(variable.c_str(), c.text.c_str());

        RecordingSink sink;
        ScopedSink scope(&sink);
        EnvironmentValuePtr value;
        initial = 31;
        System::GetEnvironmentValue(value, name, &initial);
        ASSERT_TRUE(value);
        EXPECT_EQ(31, *value->Value());
        EXPECT_EQ(AddressText(value.get()), RawValue(variable));
        if (c.reported) {
            ASSERT_EQ(1u, sink.reports.size());
            EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
            EXPECT_TRUE(EndsWith(sink.reports[0].text, L" ((_AddRef_Guarded(_pVal)))")) << sink.reports[0].text;
        } else {
            EXPECT_TRUE(sink.reports.empty());
        }
    }
    EXPECT_EQ(0, dying.Count()) << "a dying object got a reference";
    EXPECT_EQ(1, dead.Count());
}

TESTING_CHILD_SCENARIO(OwnsItsSharedValue) {
    const std::wstring parentVariable = _wgetenv(L"BRUNLOW_PARENT_VARIABLE");
    const std::wstring parentText = _wgetenv(L"BRUNLOW_PARENT_TEXT");
    if (RawValue(parentVariable) != parentText)
        return 10;  // the inheritance this test is about did not happen
    RecordingSink sink;
    ScopedSink scope(&sink);
    int initial = 5;
    EnvironmentValuePtr value;
    System::GetEnvironmentValue(value, L"inherited", &initial);
    if (!value || *value->Value() != 5)
        return 11;
    if (value->VariableName() == parentVariable || RawValue(value->VariableName()) != AddressText(value.get()))
        return 12;
    if (RawValue(parentVariable) != parentText)
        return 13;  // the parent's variable was taken over
    if (!sink.reports.empty())
        return 14;  // an address was tried
    return 0;
}

TEST(EnvironmentValue, AChildDoesNotUseItsParentsAddress) {
    int initial = 0;
    EnvironmentValuePtr value;
    System::GetEnvironmentValue(value, L"inherited", &initial);
    ASSERT_TRUE(value);
    InterlockedExchange(value->Value(), 77);
    const std::wstring variable = value->VariableName();
    EXPECT_EQ(0u, Testing::RunChildScenario("OwnsItsSharedValue", {{L"BRUNLOW_PARENT_VARIABLE", variable},
                                                                   {L"BRUNLOW_PARENT_TEXT", *RawValue(variable)}})
                      .exitCode);
}

wchar_t g_exitVariable[512];

void ExitWithCodeIfTheVariableIsLeft() {
    if (RawValue(g_exitVariable))
        _exit(50);
}

TESTING_CHILD_SCENARIO(RemovesTheVariableAtExit) {
    // Registered before the module's table of published values, so it runs
    // after that table let its references go.
    std::atexit(&ExitWithCodeIfTheVariableIsLeft);
    int initial = 0;
    EnvironmentValuePtr value;
    System::GetEnvironmentValue(value, L"untilExit", &initial);
    if (!value)
        return 10;
    wcscpy(g_exitVariable, value->VariableName().c_str());
    if (RawValue(g_exitVariable) != AddressText(value.get()))
        return 11;
    value.reset();
    if (RawValue(g_exitVariable) == std::nullopt)
        return 12;  // the module keeps its reference until exit
    return 0;
}

TEST(EnvironmentValue, TheVariableDisappearsAfterTheLastRelease) {
    EXPECT_EQ(0u, Testing::RunChildScenario("RemovesTheVariableAtExit").exitCode);
}

// Runs after the module let its published values go at exit, as a static
// object's destructor might: asking for a value must still work.
void AskForAValueAfterTheModulesExitStep() {
    int initial = 7;
    EnvironmentValuePtr value;
    System::GetEnvironmentValue(value, L"afterExit", &initial);
    _exit(value && *value->Value() == 7 ? 0 : 52);
}

TESTING_CHILD_SCENARIO(AsksForAValueDuringExit) {
    std::atexit(&AskForAValueAfterTheModulesExitStep);
    int initial = 0;
    EnvironmentValuePtr value;
    System::GetEnvironmentValue(value, L"beforeExit", &initial);
    return value ? 0 : 10;
}

TEST(EnvironmentValue, AValueCanStillBeAskedForDuringExit) {
    EXPECT_EQ(0u, Testing::RunChildScenario("AsksForAValueDuringExit").exitCode);
}

TEST(SharedValues, EachNamedValueIsOneObjectWithItsInitialNumber) {
    struct Case {
        const wchar_t* name;
        volatile LONG* (*accessor)();
        LONG initial;
    };
    const Case cases[] = {
        {L"xmlFileInstanceCount", &System::GetSharedXmlFileInstanceCount, 0},
        {L"defaultCOMModel", &System::GetSharedDefaultCOMModel, 2},
        {L"mainScopeInstanceCount", &System::GetSharedMainScopeInstanceCount, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        volatile LONG* address = c.accessor();
        ASSERT_NE(nullptr, address);
        EXPECT_EQ(address, c.accessor());
        EXPECT_EQ(c.initial, *address);
        int other = 99;
        EnvironmentValuePtr value;
        System::GetEnvironmentValue(value, c.name, &other);
        ASSERT_TRUE(value);
        EXPECT_EQ(address, value->Value()) << "found through the variable";
        EXPECT_EQ(AddressText(value.get()), RawValue(value->VariableName()));
    }
    EXPECT_NE(System::GetSharedXmlFileInstanceCount(), System::GetSharedMainScopeInstanceCount());
}

}  // namespace
