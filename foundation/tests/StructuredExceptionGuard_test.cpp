#include "foundation/system/StructuredExceptionGuard.h"
#include "testing/Emulation.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

EXCEPTION_REGISTRATION_RECORD* InnermostRegistration() {
    NT_TIB* pTib;
    __asm__ volatile("movl %%fs:0x18, %0" : "=r"(pTib));
    return pTib->ExceptionList;
}

__attribute__((noinline)) void WriteThrough(volatile int* pTarget) {
    *pTarget = 1;
}

TEST(StructuredExceptionGuard, SystemExceptionsBecomeTheirCode) {
    EXCEPTION_REGISTRATION_RECORD* const before = InnermostRegistration();
    struct Case {
        const char* name;
        void (*step)();
        bool completes;
        DWORD code;
    } cases[] = {
        {"nothing raised", [] {}, true, 0},
        {"access fault", [] { WriteThrough(nullptr); }, false, Testing::AccessFaultCode()},
        {"raised code", [] { RaiseException(0xE0421234, 0, 0, nullptr); }, false, 0xE0421234},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD code = 0;
        EXPECT_EQ(c.completes, System::RunStructuredGuarded([&] { c.step(); }, code));
        EXPECT_EQ(c.code, code);
        EXPECT_EQ(before, InnermostRegistration()) << "the guard's frame is removed";
    }
}

TEST(StructuredExceptionGuard, NamedStepsRunToo) {
    int runs = 0;
    auto step = [&runs] { ++runs; };
    const auto& constStep = step;
    DWORD code = 0;
    EXPECT_TRUE(System::RunStructuredGuarded(step, code));
    EXPECT_TRUE(System::RunStructuredGuarded(constStep, code));
    EXPECT_EQ(2, runs);
}

TEST(StructuredExceptionGuard, CppExceptionsPassThroughAndTheFrameIsRemoved) {
    EXCEPTION_REGISTRATION_RECORD* const before = InnermostRegistration();
    DWORD code = 0;
    EXPECT_THROW(System::RunStructuredGuarded([] { throw std::runtime_error("passes"); }, code), std::runtime_error);
    EXPECT_EQ(before, InnermostRegistration());

    // Guards nest: the inner one answers, the outer one completes.
    DWORD innerCode = 0;
    bool innerCompleted = true;
    EXPECT_TRUE(System::RunStructuredGuarded(
        [&] { innerCompleted = System::RunStructuredGuarded([] { WriteThrough(nullptr); }, innerCode); }, code));
    EXPECT_FALSE(innerCompleted);
    EXPECT_EQ(Testing::AccessFaultCode(), innerCode);
}

}  // namespace
