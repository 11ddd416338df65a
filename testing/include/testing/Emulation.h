#pragma once
// On machines whose kernel runs no 32-bit code, ./test runs the 32-bit Wine
// loader under QEMU's user-mode emulator. There Wine learns of a page fault
// as an unknown trap and raises it as an illegal instruction; everything
// else behaves as on Windows. build/winerun sets BRUNLOW_I386_EMULATED then.
#include <windows.h>

namespace Testing {

bool RunsUnderI386Emulator();

// The code an access to unmapped memory raises here.
DWORD AccessFaultCode();

}  // namespace Testing
