// Fixture of the thread_local check: none of these may be reported.
// A comment naming thread_local std::vector<int> is not code.
struct Frame;
thread_local const Frame* innermost = nullptr;
static thread_local int depth = 0;
thread_local unsigned long long counter;
thread_local std::size_t used = 0;
