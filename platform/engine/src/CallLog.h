#pragma once
// The engine's call log: one line per call and event, with the item's number
// and the thread, kept in memory and appended to the file the test door's
// variable names. Thread: any; one lock guards the lines and the file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace KavennaEngine {

class CallLog {
public:
    static CallLog& Instance();

    void Write(const std::wstring& call, std::uintptr_t item = 0);
    std::vector<std::wstring> Lines();
    void Clear();

private:
    CallLog();
    ~CallLog();

    CRITICAL_SECTION m_section;
    std::vector<std::wstring> m_lines;
    std::wstring m_filePath;
};

}  // namespace KavennaEngine
