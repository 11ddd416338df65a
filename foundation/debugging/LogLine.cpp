#include "foundation/debugging/LogLine.h"

#include "foundation/debugging/LogLevel.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/strings/NumberStrings.h"

namespace Debugging {
namespace {

void AppendPadded(std::wstring& target, unsigned value, std::size_t width) {
    const std::wstring digits = STLHelpers::NumberToWString(value);
    if (digits.size() < width)
        target.append(width - digits.size(), L'0');
    target += digits;
}

std::wstring ExecutableFileName() {
    return FileSystem::GetModuleFilePath(nullptr).GetName();
}

}  // namespace

std::wstring FormatLineTimeStamp(const SYSTEMTIME& t) {
    std::wstring stamp;
    stamp.reserve(19);
    AppendPadded(stamp, t.wYear, 4);
    stamp += L'.';
    AppendPadded(stamp, t.wMonth, 2);
    stamp += L'.';
    AppendPadded(stamp, t.wDay, 2);
    stamp += L' ';
    AppendPadded(stamp, t.wHour, 2);
    stamp += L':';
    AppendPadded(stamp, t.wMinute, 2);
    stamp += L':';
    AppendPadded(stamp, t.wSecond, 2);
    return stamp;
}

std::wstring FormatThreadField(DWORD threadId) {
    std::wstring field = STLHelpers::NumberToWString(threadId);
    field.resize(kThreadFieldWidth, L' ');
    return field;
}

std::wstring FormatSourceField(const wlitestring& source) {
    std::wstring field = source.empty() || source[0] == L'\0' ? ExecutableFileName() : source.str();
    if (field.size() > static_cast<std::size_t>(kSourceFieldWidth)) {
        field.erase(0, field.size() - kSourceFieldWidth);
        field[0] = L'?';
    }
    field.resize(kSourceFieldWidth, L' ');
    return field;
}

std::wstring FormatLineAt(const wlitestring& text, const wlitestring& source, int level, bool header,
                          const SYSTEMTIME& localTime, DWORD threadId) {
    std::wstring line;
    line.reserve(kLineTextColumn + text.length() + 2);
    if (header) {
        line += FormatLineTimeStamp(localTime);
        line += L' ';
        line += GetLevelText(level);
        line += L' ';
        line += FormatThreadField(threadId);
        line += L' ';
        line += FormatSourceField(source);
        line += L' ';
    } else {
        line.append(kLineTextColumn, L' ');
    }
    line.append(text.begin(), text.end());
    line += L"\r\n";
    return line;
}

std::wstring FormatLine(const wlitestring& text, const wlitestring& source, int level, bool header) {
    SYSTEMTIME now = {};
    if (header)
        ::GetLocalTime(&now);
    return FormatLineAt(text, source, level, header, now, ::GetCurrentThreadId());
}

}  // namespace Debugging
