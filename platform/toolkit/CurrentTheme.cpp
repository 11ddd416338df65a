#include "toolkit/CurrentTheme.h"

#include "toolkit/QE637.h"

#include <mutex>

namespace Toolkit {

namespace {

// Guards the current theme's pointer; themes themselves are only read.
std::mutex& ThemeLock() {
    static std::mutex lock;
    return lock;
}

std::shared_ptr<QE978>& Current() {
    static std::shared_ptr<QE978> theme;
    return theme;
}

}  // namespace

void SetCurrentTheme(QE978* theme) {
    std::shared_ptr<QE978> next(theme ? theme : new QE637);
    std::shared_ptr<QE978> previous;
    {
        std::lock_guard<std::mutex> guard(ThemeLock());
        previous.swap(Current());
        Current() = std::move(next);
    }
    // The old theme goes here, outside the lock, unless a painting still holds it.
}

std::shared_ptr<QE978> GetCurrentTheme() {
    std::lock_guard<std::mutex> guard(ThemeLock());
    if (!Current())
        Current().reset(new QE637);
    return Current();
}

}  // namespace Toolkit
