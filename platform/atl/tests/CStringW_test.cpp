#include "atlstr.h"

#include "AtlPrinters.h"
#include "AtlTestResources.h"

#include <gtest/gtest.h>

namespace {

TEST(CStringW, BuildsFromWideNarrowRepeatedAndResourceText) {
    EXPECT_EQ(CString(L"abc"), L"abc");
    EXPECT_EQ(CString(L"abcdef", 3), L"abc");
    EXPECT_EQ(CString(L'x', 3), L"xxx");
    EXPECT_EQ(CString("narrow"), L"narrow");
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(MAKEINTRESOURCEW(IDS_ATL_TEST_TEXT)), L"Loaded from the string table");
}

TEST(CStringW, LoadStringReportsMissingResource) {
    CString text(L"old");
    EXPECT_TRUE(text.LoadString(IDS_ATL_TEST_TEXT));
    EXPECT_EQ(text, L"Loaded from the string table");
    EXPECT_FALSE(text.LoadString(4321));
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CStringW, SearchesReturnMinusOneWhenNothingIsFound) {
    const CString text(L"path\\to\\file.txt");
    EXPECT_EQ(text.Find(L'\\'), 4);
    EXPECT_EQ(text.Find(L'\\', 5), 7);
    EXPECT_EQ(text.Find(L"file"), 8);
    EXPECT_EQ(text.Find(L"zzz"), -1);
    EXPECT_EQ(text.Find(L'x', 100), -1);
    EXPECT_EQ(text.ReverseFind(L'\\'), 7);
    EXPECT_EQ(text.FindOneOf(L".\\"), 4);
    EXPECT_EQ(text.FindOneOf(L""), -1);
}

TEST(CStringW, ExtractsClampedPieces) {
    const CString text(L"abcdef");
    struct Case { CString got; const wchar_t* expected; } cases[] = {
        {text.Left(2), L"ab"},      {text.Left(99), L"abcdef"}, {text.Left(-1), L""},
        {text.Right(2), L"ef"},     {text.Right(99), L"abcdef"}, {text.Mid(4), L"ef"},
        {text.Mid(1, 2), L"bc"},    {text.Mid(5, 10), L"f"},    {text.Mid(10), L""},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].got, cases[i].expected);
    }
}

TEST(CStringW, TrimsReplacesAndEdits) {
    CString url(L"  \thttp://a b/c d \r\n");
    url.Trim();
    EXPECT_EQ(url, L"http://a b/c d");
    EXPECT_EQ(url.Replace(L" ", L"%20"), 2);
    EXPECT_EQ(url, L"http://a%20b/c%20d");
    EXPECT_EQ(url.Replace(L"", L"x"), 0);

    CString text(L"xxabcxx");
    EXPECT_EQ(text.Trim(L'x'), L"abc");
    EXPECT_EQ(text.Insert(1, L"--"), 5);
    EXPECT_EQ(text, L"a--bc");
    EXPECT_EQ(text.Remove(L'-'), 2);
    EXPECT_EQ(text.Delete(0, 2), 1);
    EXPECT_EQ(text, L"c");
    EXPECT_EQ(CString(L"MiXeD").MakeUpper(), L"MIXED");
    EXPECT_EQ(CString(L"MiXeD").MakeLower(), L"mixed");
}

TEST(CStringW, FormatsWithWideStringArguments) {
    CString text;
    text.Format(L"%s=%d (0x%08X)", L"count", 42, 255u);
    EXPECT_EQ(text, L"count=42 (0x000000FF)");
    text.AppendFormat(L" %ws", L"more");
    EXPECT_EQ(text, L"count=42 (0x000000FF) more");
    text.Format(IDS_ATL_TEST_FORMAT, 3, L"box");
    EXPECT_EQ(text, L"3 items in box");
    CString longText;
    longText.Format(L"%s", std::wstring(5000, L'z').c_str());
    EXPECT_EQ(longText.GetLength(), 5000);
}

TEST(CStringW, FormatMayUseItsOwnTextAsArgumentOrFormat) {
    CString text(L"base");
    text.Format(L"%s and %s", text.GetString(), text.GetString());
    EXPECT_EQ(text, L"base and base");
    CString format(L"<%d>");
    format.Format(format.GetString(), 7);
    EXPECT_EQ(format, L"<7>");
}

TEST(CStringW, BufferRoundTripTakesLengthFromTerminator) {
    CString text(L"keep");
    wchar_t* buffer = text.GetBuffer(64);
    EXPECT_EQ(std::wstring(buffer, 4), L"keep");
    wcscpy(buffer, L"written by an API");
    text.ReleaseBuffer();
    EXPECT_EQ(text, L"written by an API");
    EXPECT_EQ(text.GetLength(), 17);
    text.GetBuffer(10);
    text.ReleaseBuffer(7);
    EXPECT_EQ(text, L"written");
}

TEST(CStringW, ComparesAndTokenizes) {
    EXPECT_TRUE(CString(L"abc") == L"abc");
    EXPECT_TRUE(L"abc" == CString(L"abc"));
    EXPECT_TRUE(CString(L"abc") != CString(L"abd"));
    EXPECT_LT(CString(L"abc"), CString(L"abd"));
    EXPECT_EQ(CString(L"ABC").CompareNoCase(L"abc"), 0);
    EXPECT_EQ(CString(L"a") + L"b" + L'c' + CString(L"d"), L"abcd");

    const CString list(L";one;;two;");
    int pos = 0;
    EXPECT_EQ(list.Tokenize(L";", pos), L"one");
    EXPECT_EQ(list.Tokenize(L";", pos), L"two");
    EXPECT_TRUE(list.Tokenize(L";", pos).IsEmpty());
    EXPECT_EQ(pos, -1);
}

TEST(CStringW, AllocSysStringCopiesTheText) {
    BSTR copy = CString(L"bstr").AllocSysString();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(SysStringLen(copy), 4u);
    EXPECT_STREQ(copy, L"bstr");
    SysFreeString(copy);
}

}  // namespace
