#include "foundation/debugging/DelayedData.h"

#include "foundation/debugging/LogConfiguration.h"
#include "foundation/strings/NumberStrings.h"
#include "foundation/system/Environment.h"

#include <windows.h>

#include <vector>

namespace Debugging {
namespace {

// Far more pieces than the limit needs: a bound for the loops, not for the data.
const int kMaxPieces = 4096;

std::size_t PieceLength(const std::wstring& name) {
    const DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    return size > 0 ? size - 1 : 0;
}

std::wstring ReadPiece(const std::wstring& name) {
    std::vector<wchar_t> buffer(kDelayedDataChunk + 2);
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD result = ::GetEnvironmentVariableW(name.c_str(), buffer.data(), size);
    return result < size ? std::wstring(buffer.data(), result) : std::wstring();
}

}  // namespace

std::wstring DelayedDataVariable(int index) {
    return index == 0 ? std::wstring(kDelayedDataVariable)
                      : kDelayedDataVariable + (L"_" + STLHelpers::IntToWString(index + 1));
}

std::wstring ReadDelayedData() {
    std::wstring data;
    for (int index = 0; index < kMaxPieces; ++index) {
        const std::wstring piece = ReadPiece(DelayedDataVariable(index));
        if (piece.empty())
            break;
        data += piece;
    }
    return data;
}

bool ClearDelayedData() {
    const bool isCleared = System::SetEnvironmentText(kDelayedDataVariable, L"", 0);
    for (int index = 1; index < kMaxPieces; ++index) {
        const std::wstring name = DelayedDataVariable(index);
        if (PieceLength(name) == 0)
            break;
        System::RemoveEnvironmentVariable(name);
    }
    return isCleared;
}

bool AppendDelayedData(const wlitestring& line) {
    // Only the last piece is read and written again; the others are measured.
    std::size_t total = 0;
    int last = 0;
    for (int index = 0; index < kMaxPieces; ++index) {
        const std::size_t length = PieceLength(DelayedDataVariable(index));
        if (length == 0)
            break;
        total += length;
        last = index;
    }
    if (total > kDelayedDataLimit)
        return false;

    std::wstring rest = ReadPiece(DelayedDataVariable(last));
    rest.append(line.begin(), line.end());
    for (int index = last; !rest.empty(); ++index) {
        const std::wstring piece = rest.substr(0, kDelayedDataChunk);
        rest.erase(0, piece.size());
        if (!System::SetEnvironmentText(DelayedDataVariable(index), piece, 0))
            return false;
    }
    return true;
}

}  // namespace Debugging
