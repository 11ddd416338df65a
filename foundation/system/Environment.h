#pragma once
// Typed reads and writes of the process environment, which child processes
// inherit: the log and crash handling are configured through it.
//
// Threads: any; the system serialises the environment block.
#include "foundation/strings/LiteString.h"

#include <cstdint>
#include <string>

namespace System {

// True when the variable exists with a non-empty text. A text of 1024
// characters or more reads as empty. An empty name is an assertion check
// "((!name.empty()))"; a read that fails for another reason than a missing
// variable or a short buffer is the assertion check "((lerr))".
bool ReadEnvironmentVariable(const wlitestring& name, std::wstring& text);

// The text; empty when the variable is absent, empty or too long.
std::wstring GetEnvironmentString(const wlitestring& name);

// The variable as an unsigned decimal number; false when absent or not a
// number.
bool ReadEnvironmentUInt(const wlitestring& name, std::uint32_t& value);

// Mode 1 removes the variable first; any other mode sets it directly. False
// when setting failed: quietly for ERROR_ALREADY_EXISTS, otherwise after the
// assertion check "((lerr))".
bool SetEnvironmentText(const wlitestring& name, const wlitestring& text, int mode);
bool SetEnvironmentString(const wlitestring& name, const std::wstring& value, int mode);
bool SetEnvironmentInt(const wlitestring& name, const std::int32_t& value, int mode);
bool SetEnvironmentUInt(const wlitestring& name, const std::uint32_t& value, int mode);

// SetEnvironmentVariableW(name, null).
bool RemoveEnvironmentVariable(const wlitestring& name);

}  // namespace System
