#include "foundation/filesystem/Path.h"
#include "foundation/registry/RegPathConvention.h"

#include <gtest/gtest.h>

namespace {

using namespace FileSystem;
typedef PathT<Registry::RegPathConvention> RegPath;

TEST(PathT, IsEqual) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool onWindows;
        bool onRegistry;
    } cases[] = {
        {L"C:\\Dir\\", L"c:\\dir", true, false},
        {L"Software\\A", L"software\\a", true, false},
        {L"Software\\A\\", L"Software\\A", true, true},
        {L"C:\\a\\\\", L"C:\\a", false, false},  // only one trailing separator is dropped
        {L"C:\\a", L"C:\\b", false, false},
        {L"", L"", true, true},
        {L"", L"\\", true, true},  // a lone separator is a trailing one
        {L"\\", L"\\", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.a << "' and '" << c.b << "'");
        EXPECT_EQ(c.onWindows, Path(c.a).IsEqual(c.b));
        EXPECT_EQ(c.onWindows, Path(c.b).IsEqual(c.a));
        EXPECT_EQ(c.onRegistry, RegPath(c.a).IsEqual(c.b));
    }
}

TEST(PathT, IsSamePath) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool same;
    } cases[] = {
        {L"C:\\a\\b\\", L"c:\\A\\b", true},
        {L"", L"", true},
        {L"C:\\a", L"C:\\ab", false},
        {L"C:\\a-b", L"C:\\ab", false},              // no linguistic equivalence
        {L"C:\\Stra\u00DFe", L"C:\\Strasse", false},
        {L"C:\\\u00C4RGER", L"c:\\\u00E4rger", true},  // case beyond ASCII
        {L"C:\\a\\\\", L"C:\\a", false},          // one trailing separator only
        {L"\\", L"", true},
        {L"C:\\Program Files\\Internet Explorer\\iexplore.exe",
         L"c:\\program files\\internet explorer\\IEXPLORE.EXE", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.a << "' and '" << c.b << "'");
        EXPECT_EQ(c.same, IsSamePath(c.a, c.b));
        EXPECT_EQ(c.same, IsSamePath(c.b, c.a));
    }
}

TEST(PathT, DerivedValuesFollowEveryChange) {
    Path path(L"C:\\a");
    EXPECT_EQ(Regular, path.GetPathKind());
    EXPECT_EQ(2, path.GetPartCount());
    EXPECT_EQ(L"a", path.GetLastPart());
    EXPECT_TRUE(path.IsEqual(L"C:\\A\\"));

    EXPECT_TRUE(path.Append(L"b"));
    EXPECT_EQ(L"C:\\a\\b", path.GetText());
    EXPECT_EQ(3, path.GetPartCount());
    EXPECT_EQ(L"b", path.GetLastPart());
    EXPECT_FALSE(path.IsEqual(L"C:\\A\\"));

    EXPECT_EQ(2, path.RemoveLastParts(3));
    EXPECT_EQ(L"C:", path.GetText());
    EXPECT_EQ(Root, path.GetPathKind());
    EXPECT_EQ(1, path.GetPartCount());

    EXPECT_TRUE(path.SetTrailingSeparator(AddTrailingSeparator));
    EXPECT_EQ(L"C:\\", path.GetLastPart());

    path.SetText(L"\\\\srv\\share");
    EXPECT_EQ(NetworkPath, path.GetPathKind());
    EXPECT_TRUE(path.IsValid());
    std::vector<std::wstring> parts;
    EXPECT_TRUE(path.Split(parts));
    EXPECT_EQ((std::vector<std::wstring>{L"srv", L"share"}), parts);

    path.SetText(L"");
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_FALSE(path.IsValid());
    EXPECT_EQ(Invalid, path.GetPathKind());
    EXPECT_EQ(-1, path.GetPartCount());
    EXPECT_FALSE(path.Append(L"x"));
}

TEST(PathT, CopiesAreIndependent) {
    Path original(L"C:\\a\\b");
    EXPECT_EQ(L"b", original.GetLastPart());
    Path copy = original;
    EXPECT_EQ(1, copy.RemoveLastParts(1));
    EXPECT_EQ(L"a", copy.GetLastPart());
    EXPECT_EQ(L"b", original.GetLastPart());
    EXPECT_EQ(L"C:\\a\\b", original.GetText());
}

TEST(PathT, RegistryPathStartsWithItsFirstPart) {
    RegPath path;
    EXPECT_TRUE(path.IsValid());  // every registry text is valid, yet the empty one names nothing
    EXPECT_EQ(Invalid, path.GetPathKind());
    EXPECT_TRUE(path.Append(L"Software"));
    EXPECT_TRUE(path.Append(L"Brunlow"));
    EXPECT_EQ(L"Software\\Brunlow", path.GetText());
    EXPECT_EQ(2, path.GetPartCount());
    EXPECT_TRUE(path.GetConvention().IsCaseSensitive());
}

}  // namespace
