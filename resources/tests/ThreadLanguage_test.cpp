#include "resources/resourcelib/ThreadLanguage.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct ThreadLanguage {
    LCID locale;
    LANGID uiLanguage;
};

// Runs on a thread of its own, so the test thread keeps its language.
ThreadLanguage ApplyOnFreshThread(LCID locale) {
    ThreadLanguage result = {};
    std::thread worker([&] {
        ResourceLib::ApplyThreadLanguage(locale);
        result.locale = ::GetThreadLocale();
        result.uiLanguage = ::GetThreadUILanguage();
    });
    worker.join();
    return result;
}

// Wine accepts SetThreadUILanguage and changes nothing; where that is so
// the user-interface half cannot be observed.
bool SystemKeepsThreadUILanguage() {
    LANGID seen = 0;
    std::thread probe([&] {
        ::SetThreadUILanguage(0x0007);
        seen = ::GetThreadUILanguage();
    });
    probe.join();
    return seen == 0x0007;
}

TEST(ThreadLanguage, SetsLocaleAndPrimaryUILanguage) {
    const bool uiObservable = SystemKeepsThreadUILanguage();
    const struct {
        LCID locale;
        LANGID uiLanguage;
    } cases[] = {{0x0407, 0x0007}, {0x040C, 0x000C}, {0x0C0C, 0x000C}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.locale);
        const ThreadLanguage applied = ApplyOnFreshThread(c.locale);
        // The UI language is set after the locale and must not undo it.
        EXPECT_EQ(c.locale, applied.locale);
        if (uiObservable) {
            EXPECT_EQ(c.uiLanguage, applied.uiLanguage);
        }
    }
}

TEST(ThreadLanguage, LocaleZeroChangesNothing) {
    LCID before = 0;
    LANGID uiBefore = 0;
    ThreadLanguage after = {};
    std::thread worker([&] {
        before = ::GetThreadLocale();
        uiBefore = ::GetThreadUILanguage();
        ResourceLib::ApplyThreadLanguage(0);
        after.locale = ::GetThreadLocale();
        after.uiLanguage = ::GetThreadUILanguage();
    });
    worker.join();
    EXPECT_EQ(before, after.locale);
    EXPECT_EQ(uiBefore, after.uiLanguage);
}

}  // namespace
