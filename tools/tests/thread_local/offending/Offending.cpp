// Fixture of the thread_local check: each of these must be reported.
#include <string>
#include <vector>
static thread_local std::vector<std::wstring> names;
thread_local std::string lastText = "x";
struct Owner { ~Owner(); };
thread_local Owner owner;
