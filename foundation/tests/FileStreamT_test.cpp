#include "foundation/internet/FileStreamT.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using namespace STLHelpers_;
using FileSystem::OpenFileStream;
using Testing::ReadFileBytes;

const STLHelpers::CustomValues kNoOptions;

DWORD AttributesOf(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str());
}

std::string ReadAll(STLHelpers_::IStream& stream) {
    std::string bytes(static_cast<size_t>(stream.GetSize()), '\0');
    DWORD read = 0;
    if (!stream.Seek(0, SeekBegin) || !stream.Read(&bytes[0], static_cast<DWORD>(bytes.size()), &read))
        return "<read failed>";
    bytes.resize(read);
    return bytes;
}

TEST(FileStreamT, RefusedModes) {
    Testing::TempFolder folder;
    const std::wstring existing = folder.WriteFile(L"existing.bin", "0123456789");
    const struct {
        const wchar_t* name;
        int openMode;
        int accessMode;
        const char* error;
    } cases[] = {
        {L"existing.bin", OpenCreate, AccessRead, "Can't open file in this mode"},
        {L"existing.bin", OpenAppend, AccessRead, "Can't open file in this mode"},
        {L"missing.bin", OpenCreate, AccessRead, "Can't open file in this mode"},
        {L"missing.bin", OpenExisting, AccessRead, "Can't create stream"},
        {L"existing.bin", 7, AccessWrite, "Can't create stream"},  // no such open mode
        {L"existing.bin", OpenExisting, 7, "Can't open file in this mode"},  // no such access mode
        {L"missing.bin", OpenAppend, -1, "Can't open file in this mode"},
        {L"folder\\", OpenCreate, AccessWrite, "Can't create stream"},
    };
    folder.MakeFolder(L"folder");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " open " << c.openMode << " access " << c.accessMode);
        try {
            OpenFileStream(folder / c.name, c.openMode, c.accessMode, kNoOptions);
            ADD_FAILURE() << "no exception";
        } catch (const std::exception& error) {
            EXPECT_STREQ(c.error, error.what());
        }
    }
    EXPECT_EQ("0123456789", ReadFileBytes(existing));
    EXPECT_FALSE(Testing::PathExists(folder / L"missing.bin"));
}

TEST(FileStreamT, OpenModesPlaceThePosition) {
    Testing::TempFolder folder;
    const struct {
        int openMode;
        int accessMode;
        ULONGLONG position;
        const char* afterWrite;  // null: the stream cannot write
    } cases[] = {
        {OpenCreate, AccessWrite, 0, "xy"},
        {OpenCreate, AccessReadWrite, 0, "xy"},
        {OpenExisting, AccessRead, 0, nullptr},
        {OpenExisting, AccessWrite, 0, "xy23456789"},
        {OpenAppend, AccessWrite, 10, "0123456789xy"},
        {OpenAppend, AccessReadWrite, 10, "0123456789xy"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "open " << c.openMode << " access " << c.accessMode);
        const std::wstring path = folder.WriteFile(L"ten.bin", "0123456789");
        {
            auto pStream = OpenFileStream(path, c.openMode, c.accessMode, kNoOptions);
            EXPECT_EQ(c.openMode, pStream->GetOpenMode());
            EXPECT_EQ(c.accessMode, pStream->GetAccessMode());
            EXPECT_EQ(c.accessMode != AccessWrite, pStream->CanRead());
            EXPECT_EQ(c.accessMode != AccessRead, pStream->CanWrite());
            EXPECT_EQ(c.position, pStream->GetPosition());
            DWORD written = 99;
            EXPECT_EQ(c.afterWrite != nullptr, pStream->Write("xy", 2, &written));
            EXPECT_EQ(c.afterWrite ? 2u : 0u, written);
            EXPECT_EQ(c.afterWrite != nullptr, pStream->Flush());
        }
        EXPECT_EQ(c.afterWrite ? c.afterWrite : "0123456789", ReadFileBytes(path));
    }
}

TEST(FileStreamT, SeekSizeAndRead) {
    Testing::TempFolder folder;
    auto pStream = OpenFileStream(folder / L"data.bin", OpenCreate, AccessReadWrite, kNoOptions);
    EXPECT_TRUE(pStream->IsSeekable());
    EXPECT_FALSE(pStream->QueryOption());
    ASSERT_TRUE(pStream->Write("abcdefgh", 8, nullptr));  // no count asked for
    EXPECT_EQ(8u, pStream->GetSize());

    const struct {
        LONGLONG offset;
        int origin;
        ULONGLONG position;
        const char* rest;
    } seeks[] = {
        {2, SeekBegin, 2, "cdefgh"},
        {-3, SeekEnd, 5, "fgh"},
        {-3, 9, 5, "fgh"},  // any other origin counts from the end
        {0, SeekEnd, 8, ""},
    };
    for (const auto& s : seeks) {
        SCOPED_TRACE(testing::Message() << s.offset << " from " << s.origin);
        ASSERT_TRUE(pStream->Seek(s.offset, s.origin));
        EXPECT_EQ(s.position, pStream->GetPosition());
        char buffer[16] = {};
        DWORD read = 99;
        EXPECT_TRUE(pStream->Read(buffer, sizeof buffer, &read));  // a short read is no failure
        EXPECT_EQ(s.rest, std::string(buffer, read));
    }
    ASSERT_TRUE(pStream->Seek(1, SeekBegin));
    ASSERT_TRUE(pStream->Seek(2, SeekCurrent));
    EXPECT_EQ(3u, pStream->GetPosition());
    EXPECT_FALSE(pStream->Seek(-1, SeekBegin));
    EXPECT_EQ(ERROR_NEGATIVE_SEEK, ::GetLastError());

    EXPECT_TRUE(pStream->SetSize(3));
    EXPECT_EQ(3u, pStream->GetSize());
    EXPECT_EQ(3u, pStream->GetPosition());  // at the new end
    EXPECT_TRUE(pStream->SetSize(5000000000ULL));  // past 32 bits
    EXPECT_EQ(5000000000ULL, pStream->GetSize());
    EXPECT_EQ(5000000000ULL, pStream->GetPosition());
    EXPECT_TRUE(pStream->SetSize(3));
    EXPECT_EQ("abc", ReadAll(*pStream));
}

TEST(FileStreamT, ReadOnlyFileIsWrittenAndStaysReadOnly) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(L"locked.txt", "old");
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    {
        auto pStream = OpenFileStream(path, OpenCreate, AccessWrite, kNoOptions);
        EXPECT_FALSE(AttributesOf(path) & FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(pStream->Write("new", 3, nullptr));
    }
    EXPECT_EQ("new", ReadFileBytes(path));
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(kept, AttributesOf(path) & kept);

    // Opening fails after the bit was cleared (the file is held without
    // sharing): the bit comes back all the same.
    const HANDLE holder = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_THROW(OpenFileStream(path, OpenExisting, AccessWrite, kNoOptions), std::runtime_error);
    ::CloseHandle(holder);
    EXPECT_TRUE(AttributesOf(path) & FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileStreamT, DeleteOnCloseOption) {
    Testing::TempFolder folder;
    const struct {
        const wchar_t* name;
        bool set;
        STLHelpers::CustomValue value;
        bool remains;
    } cases[] = {
        {L"unset.tmp", false, false, true},
        {L"true.tmp", true, true, false},
        {L"false.tmp", true, false, true},
        {L"one.tmp", true, 1, true},                          // an int is no bool
        {L"text.tmp", true, std::wstring(L"true"), true},     // nor a text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        STLHelpers::CustomValues options;
        if (c.set)
            STLHelpers::SetCustomValue(options, L"deleteOnClose", c.value);
        const std::wstring path = folder / c.name;
        {
            auto pStream = OpenFileStream(path, OpenCreate, AccessReadWrite, options);
            EXPECT_TRUE(pStream->Write("scratch", 7, nullptr));
            EXPECT_TRUE(Testing::PathExists(path));
        }
        EXPECT_EQ(c.remains, Testing::PathExists(path));
    }
}

TEST(FileStreamT, WritingCreatesMissingFolders) {
    Testing::TempFolder folder;
    const std::wstring path = folder / L"a\\b\\c\\file.bin";
    {
        auto pStream = OpenFileStream(path, OpenCreate, AccessWrite, kNoOptions);
        EXPECT_TRUE(pStream->Write("1", 1, nullptr));
    }
    EXPECT_EQ("1", ReadFileBytes(path));
    // Reading never creates anything.
    EXPECT_THROW(OpenFileStream(folder / L"x\\y.bin", OpenExisting, AccessRead, kNoOptions), std::runtime_error);
    EXPECT_FALSE(Testing::PathExists(folder / L"x"));
}

}  // namespace
