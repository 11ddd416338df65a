#include "foundation/registry/RegPathConvention.h"

#include "foundation/tests/PathConventionCases.h"

#include <gtest/gtest.h>

namespace {

using namespace FileSystem;
using namespace FoundationTests;
using Registry::RegPathConvention;

TEST(RegPathConvention, ValuesOfPaths) {
    const std::vector<PathCase> cases = {
        // text                  valid  kind     count split  parts                          last part
        {L"", true, Invalid, -1, false, {}, L""},
        {L"\\", true, Root, 1, true, {}, L"\\"},  // the root alone has no part below it
        {L"Software", true, Regular, 1, true, {L"Software"}, L"Software"},
        {L"Software\\X", true, Regular, 2, true, {L"Software", L"X"}, L"X"},
        {L"Software\\A\\", true, Regular, 2, true, {L"Software", L"A"}, L"A"},
        // A leading separator belongs to the first part when counting, but
        // splitting gives it an empty piece of its own.
        {L"\\Software", true, Regular, 1, true, {L"", L"Software"}, L"Software"},
        {L"\\Software\\x", true, Regular, 2, true, {L"", L"Software", L"x"}, L"x"},
        {L"Soft/ware:*", true, Regular, 1, true, {L"Soft/ware:*"}, L"Soft/ware:*"},
    };
    CheckPathCases(RegPathConvention(), cases);
}

TEST(RegPathConvention, ChangesOfPaths) {
    const std::vector<PathOperationCase> cases = {
        // text                  operation    arg  part  result  after
        {L"", SetTrailing, 1, nullptr, true, L""},
        {L"", SetTrailing, 2, nullptr, true, L""},
        {L"Software", SetTrailing, 1, nullptr, true, L"Software\\"},
        {L"Software\\", SetTrailing, 2, nullptr, true, L"Software"},
        {L"", AppendPart, 0, L"Software", true, L"Software"},
        {L"Software", AppendPart, 0, L"A", true, L"Software\\A"},
        {L"\\", AppendPart, 0, L"Software", true, L"\\Software"},
        {L"Software", RemoveLast, 1, nullptr, 0, L"Software"},
        {L"Software\\A\\B", RemoveLast, 1, nullptr, 1, L"Software\\A"},
        {L"Software\\A", RemoveLast, 2, nullptr, 1, L"Software"},
        {L"\\Software", RemoveLast, 1, nullptr, 1, L"\\"},
        {L"\\Software\\x", RemoveLast, 2, nullptr, 2, L"\\"},
        {L"\\", RemoveLast, 1, nullptr, 0, L"\\"},  // the root stays the root
        {L"", RemoveLast, 1, nullptr, 0, L""},
    };
    CheckPathOperations(RegPathConvention(), cases);
}

TEST(RegPathConvention, ComparesCase) {
    EXPECT_TRUE(RegPathConvention().IsCaseSensitive());
}

}  // namespace
