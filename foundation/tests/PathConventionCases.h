#pragma once
// Tables of path cases run against a convention through IPathConvention, so
// both conventions are checked by the same steps.
#include "foundation/filesystem/IPathConvention.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace FoundationTests {

// What a convention derives from one path text.
struct PathCase {
    const wchar_t* text;
    bool isValid;
    FileSystem::PathKind kind;
    int partCount;
    bool isSplit;
    std::vector<std::wstring> parts;
    const wchar_t* lastPart;
};

enum PathOperation { SetTrailing, AppendPart, RemoveLast };

// One operation that changes a path in place.
struct PathOperationCase {
    const wchar_t* text;
    PathOperation operation;
    int argument;        // mode or count
    const wchar_t* part;  // for AppendPart
    int result;
    const wchar_t* after;
};

template <class Convention>
void CheckPathCases(const Convention& convention, const std::vector<PathCase>& cases) {
    const FileSystem::IPathConvention& rules = convention;
    for (const PathCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "path '" << c.text << "'");
        EXPECT_EQ(c.isValid, convention.IsValidPath(c.text));
        EXPECT_EQ(c.kind, rules.GetPathKind(c.text));
        EXPECT_EQ(c.partCount, rules.GetPartCount(c.text));
        std::vector<std::wstring> parts(1, L"stale");
        EXPECT_EQ(c.isSplit, rules.Split(c.text, parts));
        EXPECT_EQ(c.parts, parts);
        EXPECT_EQ(std::wstring(c.lastPart), rules.GetLastPart(c.text));
    }
}

inline void CheckPathOperations(const FileSystem::IPathConvention& rules, const std::vector<PathOperationCase>& cases) {
    for (const PathOperationCase& c : cases) {
        static const char* const names[] = {"SetTrailingSeparator", "Append", "RemoveLastParts"};
        SCOPED_TRACE(testing::Message() << names[c.operation] << "('" << c.text << "', " << c.argument << ", '"
                                        << (c.part ? c.part : L"") << "')");
        std::wstring path = c.text;
        int result = 0;
        switch (c.operation) {
        case SetTrailing:
            result = rules.SetTrailingSeparator(path, c.argument);
            break;
        case AppendPart:
            result = rules.Append(path, c.part);
            break;
        case RemoveLast:
            result = rules.RemoveLastParts(path, c.argument);
            break;
        }
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(std::wstring(c.after), path);
    }
}

}  // namespace FoundationTests
