#include "foundation/registry/RootKeys.h"

#include "foundation/strings/StringAlgorithms.h"

namespace Registry {
namespace {

struct RootRow {
    const wchar_t* shortName;
    const wchar_t* longName;
    RootKey value;
};

const RootRow kRoots[RootKeyCount] = {
    {L"HKCU", L"HKEY_CURRENT_USER", 0x80000001},
    {L"HKLM", L"HKEY_LOCAL_MACHINE", 0x80000002},
    {L"HKCR", L"HKEY_CLASSES_ROOT", 0x80000000},
    {L"HKCC", L"HKEY_CURRENT_CONFIG", 0x80000005},
    {L"HKUS", L"HKEY_USERS", 0x80000003},
    {L"HKDD", L"HKEY_DYN_DATA", 0x80000006},
    {L"HKPD", L"HKEY_PERFORMANCE_DATA", 0x80000004},
    {L"HKPN", L"HKEY_PERFORMANCE_NLSTEXT", 0x80000060},
    {L"HKPT", L"HKEY_PERFORMANCE_TEXT", 0x80000050},
};

bool IsRowIndex(int index) {
    return index >= 0 && index < RootKeyCount;
}

}  // namespace

const wchar_t* GetRootShortName(int index) {
    return IsRowIndex(index) ? kRoots[index].shortName : L"";
}

const wchar_t* GetRootLongName(int index) {
    return IsRowIndex(index) ? kRoots[index].longName : L"";
}

RootKey GetRootValue(int index) {
    return IsRowIndex(index) ? kRoots[index].value : 0;
}

bool ParseRootName(const wlitestring& text, int& index) {
    for (int row = 0; row < RootKeyCount; ++row) {
        if (STLHelpers::IsEqualNoCase(text, kRoots[row].shortName) ||
            STLHelpers::IsEqualNoCase(text, kRoots[row].longName)) {
            index = row;
            return true;
        }
    }
    return false;
}

RootKey ParseRootKeyLongName(const wlitestring& text) {
    int length = text.length();
    if (length > 0 && text[length - 1] == L'\\')
        --length;
    const wlitestring name(text.data(), length);
    for (const RootRow& row : kRoots) {
        if (wlitestring::compare(name, row.longName) == 0)
            return row.value;
    }
    return 0;
}

HKEY ToHandle(RootKey root) {
    // Predefined handles are sign-extended 32-bit values.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

RootKey ToRootKey(HKEY predefined) {
    return static_cast<RootKey>(reinterpret_cast<ULONG_PTR>(predefined));
}

}  // namespace Registry
