#include "foundation/system/ModuleResource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Compiled in from ModuleResource_test.rc.
const wchar_t kProbeName[] = L"PROBE_BYTES";
const wchar_t kProbeType[] = L"BINARY";
const std::vector<BYTE> kProbeBytes = {'p', 'r', 'o', 'b', 'e', 1, 2, 3, 4};
const LANGID kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

TEST(ModuleResource, ReadFollowsTheSizeProtocol) {
    const System::ModuleResource probe(kProbeName, kProbeType, GetModuleHandleW(nullptr));
    ASSERT_TRUE(probe.IsFound());

    BYTE buffer[16];
    DWORD size = static_cast<DWORD>(kProbeBytes.size() - 1);  // one byte short
    std::fill(std::begin(buffer), std::end(buffer), 0xCC);
    EXPECT_FALSE(probe.Read(buffer, size));
    EXPECT_EQ(kProbeBytes.size(), size);
    EXPECT_EQ(0, buffer[0]) << "the given size is zeroed";
    EXPECT_EQ(0xCC, buffer[kProbeBytes.size() - 1]) << "nothing beyond the given size";

    EXPECT_TRUE(probe.Read(buffer, size));
    EXPECT_EQ(kProbeBytes, std::vector<BYTE>(buffer, buffer + size));

    std::vector<BYTE> bytes;
    EXPECT_TRUE(probe.ReadBytes(bytes));
    EXPECT_EQ(kProbeBytes, bytes);
}

TEST(ModuleResource, WithoutABufferReadOnlyTellsTheSize) {
    const System::ModuleResource probe(kProbeName, kProbeType, GetModuleHandleW(nullptr));
    DWORD size = 64;  // a size that would hold the resource, but no buffer behind it
    EXPECT_FALSE(probe.Read(nullptr, size));
    EXPECT_EQ(kProbeBytes.size(), size);
}

TEST(ModuleResource, MissingResourceReadsNothing) {
    const System::ModuleResource missing(L"NO_SUCH_PROBE", kProbeType, GetModuleHandleW(nullptr));
    EXPECT_FALSE(missing.IsFound());
    BYTE buffer[4] = {9, 9, 9, 9};
    DWORD size = sizeof buffer;
    EXPECT_FALSE(missing.Read(buffer, size));
    EXPECT_EQ(0u, size);
    EXPECT_EQ(0, buffer[3]);
    std::vector<BYTE> bytes(3);
    EXPECT_FALSE(missing.ReadBytes(bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(ModuleResource, StringTableEntries) {
    struct Case {
        const char* name;
        UINT id;
        HMODULE module;
        LANGID language;
        std::wstring text;
        bool found;
    } cases[] = {
        {"present", 31000, nullptr, kEnglishUs, L"Present entry \x00e6\x00f8\x00e5", true},
        {"present, module given", 31000, GetModuleHandleW(nullptr), kEnglishUs, L"Present entry \x00e6\x00f8\x00e5",
         true},
        {"empty entry", 31001, nullptr, kEnglishUs, L"", false},
        {"entry missing from its block", 31002, nullptr, kEnglishUs, L"", false},
        {"block missing", 31200, nullptr, kEnglishUs, L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const System::ResourceString entry = System::LoadResourceString(c.id, c.module, c.language);
        EXPECT_EQ(c.text, entry.text);
        EXPECT_EQ(c.found, entry.found);
    }
}

}  // namespace
