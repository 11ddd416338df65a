#include "foundation/filesystem/ValidFileName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ValidFileName, ReservedNamesThenCharactersThenEnds) {
    struct Case {
        std::wstring text, result;
    } cases[] = {
        {L"a:b?.", L"a_b_"},
        {L"...", L"___"},
        {L"nul", L"nul~"},
        {L"con", L"con~"},
        {L"Aux.txt", L"Aux~.txt"},
        {L"CLOCK$", L"CLOCK$~"},
        {L"com1.tar.gz", L"com1~.tar.gz"},
        {L"lpt9", L"lpt9~"},
        // The reserved list is checked before replacement: nothing else changes.
        {L"con.a:b", L"con~.a:b"},
        // Not a reserved name on its own.
        {L"console", L"console"},
        {L"com10", L"com10"},
        {L"nul x", L"nul x"},
        // Control characters are replaced before the ends are trimmed.
        {L" x|y\\z/w*\"<>\t", L"x_y_z_w_____"},
        {L"a\x0001" L"b", L"a_b"},
        {L"  . name .  ", L"name"},
        {L"", L""},
        {L" \t\r\n", L"___"},
        {L" . ", L"___"},
        {L"\x00e6\x00f8\x00e5.mp4", L"\x00e6\x00f8\x00e5.mp4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        std::wstring text = c.text;
        FileSystem::MakeValidFileName(text, L'_');
        EXPECT_EQ(c.result, text);
    }
}

}  // namespace
