// VantrelConsoleHelper.exe <record file>: a console application for the
// tests of the service's ConsoleApp. Reads lines "<key> <value>" from its
// standard input to the end, writes its own and its parent's process id and
// every line into the record file, and exits with the sum of the values.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

DWORD ParentProcessId() {
    const DWORD self = GetCurrentProcessId();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    DWORD parent = 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == self) {
            parent = entry.th32ParentProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return parent;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return -1;
    std::string record = "process " + std::to_string(GetCurrentProcessId()) + "\nparent " +
                         std::to_string(ParentProcessId()) + "\n";
    long sum = 0;
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        record += "line ";
        record += line;
        if (record.back() != '\n')
            record += '\n';
        long key = 0;
        long value = 0;
        if (std::sscanf(line, "%ld %ld", &key, &value) == 2)
            sum += value;
    }
    FILE* file = _wfopen(argv[1], L"wb");
    if (!file)
        return -2;
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
    return static_cast<int>(sum);
}
