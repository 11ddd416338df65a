#include "testing/Emulation.h"

namespace Testing {

bool RunsUnderI386Emulator() {
    wchar_t value[8] = {};
    return GetEnvironmentVariableW(L"BRUNLOW_I386_EMULATED", value, 8) == 1 && value[0] == L'1';
}

DWORD AccessFaultCode() {
    return RunsUnderI386Emulator() ? static_cast<DWORD>(EXCEPTION_ILLEGAL_INSTRUCTION)
                                   : static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION);
}

}  // namespace Testing
