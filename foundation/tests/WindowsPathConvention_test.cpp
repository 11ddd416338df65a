#include "foundation/filesystem/WindowsPathConvention.h"

#include "foundation/tests/PathConventionCases.h"

#include <gtest/gtest.h>

namespace {

using namespace FileSystem;
using namespace FoundationTests;

TEST(WindowsPathConvention, ValuesOfPaths) {
    const std::vector<PathCase> cases = {
        // text                  valid  kind           count split  parts                     last part
        {L"", false, Invalid, -1, false, {}, L""},
        {L"C", false, Invalid, -1, false, {}, L"C"},
        {L"C:", true, Root, 1, true, {L"C:"}, L"C:"},
        {L"C:\\", true, Root, 1, true, {L"C:"}, L"C:\\"},
        {L"C:\\x", true, Regular, 2, true, {L"C:", L"x"}, L"x"},
        {L"C:\\a\\", true, Regular, 2, true, {L"C:", L"a"}, L"a"},
        {L"C:\\a\\b", true, Regular, 3, true, {L"C:", L"a", L"b"}, L"b"},
        {L"C:\\\\a", true, Regular, 3, true, {L"C:", L"", L"a"}, L"a"},
        {L":\\", true, Root, 1, true, {L":"}, L":\\"},  // the drive letter is not examined
        {L"C:foo", false, Invalid, -1, false, {}, L"C:foo"},
        {L"\\\\", false, Invalid, -1, false, {}, L""},
        {L"\\\\s", true, NetworkServer, 1, true, {L"s"}, L"s"},
        {L"\\\\s\\", true, NetworkServer, 1, true, {L"s"}, L"s"},
        {L"\\\\s\\t", true, NetworkPath, 2, true, {L"s", L"t"}, L"t"},
        {L"\\\\srv\\share\\x", true, NetworkPath, 3, true, {L"srv", L"share", L"x"}, L"x"},
        {L"C:\\a/b", false, Invalid, -1, false, {}, L"a/b"},
        {L"C:\\a:b", false, Invalid, -1, false, {}, L"a:b"},
        {L"C:\\a*b", false, Invalid, -1, false, {}, L"a*b"},
        {L"C:\\a?b", false, Invalid, -1, false, {}, L"a?b"},
        {L"C:\\a\"b", false, Invalid, -1, false, {}, L"a\"b"},
        {L"C:\\a<b>", false, Invalid, -1, false, {}, L"a<b>"},
        {L"C:\\a|b", false, Invalid, -1, false, {}, L"a|b"},
        {L"\\\\srv\\a/b", false, Invalid, -1, false, {}, L"a/b"},
        {L"file://C:\\a", true, Regular, 2, true, {L"file://C:", L"a"}, L"a"},  // the scheme is stripped
        {L"file://", false, Invalid, -1, false, {}, L"file://"},
    };
    CheckPathCases(WindowsPathConvention(), cases);
}

TEST(WindowsPathConvention, ChangesOfPaths) {
    const std::vector<PathOperationCase> cases = {
        // text                  operation    arg  part  result  after
        {L"", SetTrailing, 1, nullptr, false, L""},
        {L"", SetTrailing, 2, nullptr, false, L""},
        {L"C:\\a", SetTrailing, 1, nullptr, true, L"C:\\a\\"},
        {L"C:\\a\\", SetTrailing, 1, nullptr, true, L"C:\\a\\"},
        {L"C:\\a\\", SetTrailing, 2, nullptr, true, L"C:\\a"},
        {L"C:\\a\\\\", SetTrailing, 2, nullptr, true, L"C:\\a\\"},  // only one is removed
        {L"C:\\a", SetTrailing, 2, nullptr, true, L"C:\\a"},
        {L"C:\\a", SetTrailing, 3, nullptr, true, L"C:\\a\\"},  // adding wins
        {L"C:\\a\\", SetTrailing, 0, nullptr, true, L"C:\\a\\"},
        {L"C:\\a\\", SetTrailing, 4, nullptr, true, L"C:\\a\\"},
        {L"", AppendPart, 0, L"a", false, L""},
        {L"C:", AppendPart, 0, L"a", true, L"C:\\a"},
        {L"C:\\", AppendPart, 0, L"a\\b", true, L"C:\\a\\b"},
        {L"C:\\a\\b", RemoveLast, 1, nullptr, 1, L"C:\\a"},
        {L"C:\\a\\b", RemoveLast, 2, nullptr, 2, L"C:"},
        {L"C:\\a\\b", RemoveLast, 5, nullptr, 2, L"C:"},
        {L"C:\\a\\b\\", RemoveLast, 1, nullptr, 1, L"C:\\a"},
        {L"C:\\a\\b\\", RemoveLast, 0, nullptr, 0, L"C:\\a\\b"},
        {L"C:\\a\\b", RemoveLast, -1, nullptr, 0, L"C:\\a\\b"},
        {L"\\\\srv\\share", RemoveLast, 1, nullptr, 1, L"\\\\srv"},
        {L"\\\\srv\\share", RemoveLast, 2, nullptr, 1, L"\\\\srv"},
        {L"\\\\srv\\share\\x", RemoveLast, 5, nullptr, 2, L"\\\\srv"},
        {L"\\\\srv", RemoveLast, 1, nullptr, 0, L"\\\\srv"},
        {L"\\\\srv\\", RemoveLast, 1, nullptr, 0, L"\\\\srv"},
        {L"C:\\", RemoveLast, 1, nullptr, 0, L"C:"},
        {L"C:foo", RemoveLast, 1, nullptr, 0, L"C:foo"},
        {L"", RemoveLast, 1, nullptr, 0, L""},
    };
    CheckPathOperations(WindowsPathConvention(), cases);
}

TEST(WindowsPathConvention, IgnoresCase) {
    EXPECT_FALSE(WindowsPathConvention().IsCaseSensitive());
}

TEST(WindowsPathConvention, StripUrlScheme) {
    EXPECT_EQ(L"C:\\a", _StripUrlScheme(L"file://C:\\a"));
    EXPECT_EQ(L"b://c", _StripUrlScheme(L"a://b://c"));
    EXPECT_EQ(L"", _StripUrlScheme(L"http://"));
    EXPECT_EQ(L"C:\\a", _StripUrlScheme(L"C:\\a"));
}

}  // namespace
