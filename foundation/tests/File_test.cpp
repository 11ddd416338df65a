#include "foundation/filesystem/File.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using FileSystem::File;
using Bytes = std::vector<BYTE>;

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(File, PartsOfThePath) {
    struct Case {
        std::wstring path, folderPath, name, extension, title;
    } cases[] = {
        {L"C:\\a\\b.txt", L"C:\\a", L"b.txt", L"txt", L"b"},
        {L"C:\\a\\b.tar.gz", L"C:\\a", L"b.tar.gz", L"gz", L"b.tar"},
        {L"C:\\a\\b.", L"C:\\a", L"b.", L"", L"b"},
        {L"C:\\a\\b", L"C:\\a", L"b", L"", L"b"},
        {L"C:\\a\\b\\", L"C:\\a", L"b", L"", L"b"},
        {L"name.ext", L"", L"name.ext", L"ext", L"name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        const File file(c.path);
        EXPECT_EQ(c.path, file.GetPath());
        EXPECT_EQ(c.folderPath, file.GetFolderPath());
        EXPECT_EQ(c.folderPath.empty() ? L"" : c.folderPath + L"\\", file.GetFolder().GetPath());
        EXPECT_EQ(c.name, file.GetName());
        EXPECT_EQ(c.extension, file.GetExtension());
        EXPECT_EQ(c.title, file.GetTitle());
    }
    File file(L"C:\\x");
    file.SetPath(L"D:\\y.z");
    EXPECT_EQ(L"D:\\y.z", file.GetPath());
}

TEST(File, ExistenceAttributesAndSize) {
    Testing::TempFolder temp;
    const File file(temp.WriteFile(L"f.bin", std::string(1000, 'x')));
    const File folder(temp.MakeFolder(L"sub"));
    const File missing(temp / L"missing");

    EXPECT_TRUE(file.Exists());
    EXPECT_TRUE(folder.Exists());
    EXPECT_FALSE(missing.Exists());
    EXPECT_TRUE(folder.HasAttributes(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(file.HasAttributes(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(missing.HasAttributes(0xFFFFFFFF));
    EXPECT_TRUE(FileSystem::IsExistingFile(file.GetPath()));
    EXPECT_FALSE(FileSystem::IsExistingFile(folder.GetPath()));
    EXPECT_FALSE(FileSystem::IsExistingFile(missing.GetPath()));
    EXPECT_EQ(1000u, file.GetSize());
    EXPECT_EQ(0u, missing.GetSize());
}

TEST(File, UnicodeTextStartsWithTheMarkAndReadsBack) {
    Testing::TempFolder temp;
    const File file(temp / L"text.txt");
    const std::wstring text = L"Line \x00e6\x00f8\x00e5 \x65e5\x672c\r\nsecond";
    ASSERT_TRUE(file.WriteText(text, false, true));
    const std::string bytes = Testing::ReadFileBytes(file.GetPath());
    ASSERT_EQ(2 + text.size() * 2, bytes.size());
    EXPECT_EQ("\xFF\xFE", bytes.substr(0, 2));

    std::wstring read;
    ASSERT_TRUE(file.ReadText(read, true));
    EXPECT_EQ(text, read);

    // Appending adds no second mark.
    ASSERT_TRUE(file.WriteText(L"+", true, true));
    EXPECT_EQ(text + L"+", file.GetText(true));
    EXPECT_EQ(4 + text.size() * 2, Testing::ReadFileBytes(file.GetPath()).size());

    // A text without the mark is read as it is.
    const File plain(temp.WriteFile(L"plain.txt", std::string("a\0b\0", 4)));
    EXPECT_EQ(L"ab", plain.GetText(true));
}

TEST(File, Utf8TextHasNoMarkAndEndsAtAZeroByte) {
    Testing::TempFolder temp;
    const File file(temp / L"utf8.txt");
    ASSERT_TRUE(file.WriteText(L"\x00e6x", false, false));
    EXPECT_EQ("\xc3\xa6x", Testing::ReadFileBytes(file.GetPath()));
    ASSERT_TRUE(file.WriteText(L"y", true, false));
    EXPECT_EQ(L"\x00e6xy", file.GetText(false));

    const File zero(temp.WriteFile(L"zero.txt", std::string("ab\0cd", 5)));
    EXPECT_EQ(L"ab", zero.GetText(false));

    std::wstring text = L"kept";
    EXPECT_FALSE(File(temp / L"missing.txt").ReadText(text, false));
    EXPECT_EQ(L"", File(temp / L"missing.txt").GetText(false));
}

TEST(File, ReadAllReadsEveryByteOrFails) {
    Testing::TempFolder temp;
    std::string content;
    for (int i = 0; i < 300000; ++i)
        content += static_cast<char>(i * 7);
    Bytes bytes = {1, 2, 3};
    ASSERT_TRUE(File(temp.WriteFile(L"big.bin", content)).ReadAll(bytes));
    EXPECT_EQ(BytesOf(content), bytes);

    ASSERT_TRUE(File(temp.WriteFile(L"empty.bin", "")).ReadAll(bytes));
    EXPECT_TRUE(bytes.empty());

    bytes = {1};
    EXPECT_FALSE(File(temp / L"missing.bin").ReadAll(bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(File(temp.MakeFolder(L"folder")).ReadAll(bytes));
}

TEST(File, ReadAllRefusesAFileLargerThanItCanHold) {
    Testing::TempFolder temp;
    const std::wstring path = temp / L"sparse.bin";
    {
        // 4 GiB and 3 bytes, sparse: the low 32 bits of its size alone say 3.
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        LARGE_INTEGER end;
        end.QuadPart = 0x100000003LL;
        const bool sized = SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
        CloseHandle(handle);
        ASSERT_TRUE(sized);
    }
    EXPECT_EQ(0x100000003ULL, File(path).GetSize());
    Bytes bytes = {1};
    EXPECT_FALSE(File(path).ReadAll(bytes));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_TOO_LARGE), GetLastError());
    EXPECT_TRUE(bytes.empty());
    std::wstring text;
    EXPECT_FALSE(File(path).ReadText(text, false));
}

TEST(File, WriteAllCreatesReplacesAndAppends) {
    Testing::TempFolder temp;
    const File file(temp / L"w.bin");
    ASSERT_TRUE(file.WriteAll("abc", 3, true));  // appending creates
    ASSERT_TRUE(file.WriteAll("de", 2, true));
    EXPECT_EQ("abcde", Testing::ReadFileBytes(file.GetPath()));
    ASSERT_TRUE(file.WriteAll("x", 1, false));
    EXPECT_EQ("x", Testing::ReadFileBytes(file.GetPath()));
    ASSERT_TRUE(file.WriteAll(nullptr, 0, false));
    EXPECT_EQ("", Testing::ReadFileBytes(file.GetPath()));
    EXPECT_FALSE(File(temp / L"no-folder\\w.bin").WriteAll("x", 1, false));
}

TEST(File, ReadOnlyFileIsWrittenAndKeepsItsAttributes) {
    Testing::TempFolder temp;
    const File file(temp.WriteFile(L"ro.txt", "old"));
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(file.GetPath().c_str(), attributes));

    ASSERT_TRUE(file.WriteAll("new", 3, false));
    EXPECT_EQ("new", Testing::ReadFileBytes(file.GetPath()));
    EXPECT_EQ(attributes, GetFileAttributesW(file.GetPath().c_str()));

    ASSERT_TRUE(file.WriteText(L"unicode", false, true));
    EXPECT_EQ(attributes, GetFileAttributesW(file.GetPath().c_str()));

    // The open fails while another handle holds the file: still read-only after.
    HANDLE reader = CreateFileW(file.GetPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_FALSE(file.WriteAll("lost", 4, false));
    CloseHandle(reader);
    EXPECT_EQ(attributes, GetFileAttributesW(file.GetPath().c_str()));
    EXPECT_EQ(L"unicode", file.GetText(true));
    SetFileAttributesW(file.GetPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(File, ReplaceTextWritesUtf8ToTheTargetOrItself) {
    Testing::TempFolder temp;
    const File source(temp.WriteFile(L"template.txt", "Hello {Name}, {Name}! \xc3\xa6"));
    const STLHelpers::ReplacementPairs pairs = {{L"{Name}", L"W\x00f8rld"}, {L"W\x00f8rld!", L"you!"}, {L"", L"z"}};

    const std::wstring target = temp / L"out.txt";
    ASSERT_TRUE(source.ReplaceText(pairs, target));
    EXPECT_EQ("Hello W\xc3\xb8rld, you! \xc3\xa6", Testing::ReadFileBytes(target));
    EXPECT_EQ("Hello {Name}, {Name}! \xc3\xa6", Testing::ReadFileBytes(source.GetPath()));

    ASSERT_TRUE(source.ReplaceText({{L"Hello", L"Bye"}}, wlitestring()));
    EXPECT_EQ("Bye {Name}, {Name}! \xc3\xa6", Testing::ReadFileBytes(source.GetPath()));

    // A source that cannot be read leaves the target alone.
    EXPECT_FALSE(File(temp / L"missing.txt").ReplaceText(pairs, target));
    EXPECT_EQ("Hello W\xc3\xb8rld, you! \xc3\xa6", Testing::ReadFileBytes(target));
}

}  // namespace
