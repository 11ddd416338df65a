#include "foundation/filesystem/XmlFileCheck.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using FileSystem::XmlFileFault;

const char kUtf16[] = "\xFF\xFE<\0R\0o\0o\0t\0>\0<\0I\0t\0e\0m\0s\0/\0>\0<\0/\0R\0o\0o\0t\0>\0";
const char kGood[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root><Items><Item/></Items></Root>\n";

TEST(XmlFileCheck, EachBrokenInputIsNamedWithItsReason) {
    struct Case {
        const char* name;
        bool write;
        std::string bytes;
        XmlFileFault fault;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {"good", true, kGood, XmlFileFault::None, L""},
        {"good with a UTF-8 mark and no declaration", true, "\xEF\xBB\xBF<Root><Items>\xC3\xA9</Items></Root>",
         XmlFileFault::None, L""},
        {"good in UTF-16", true, std::string(kUtf16, sizeof(kUtf16) - 1), XmlFileFault::None, L""},
        {"missing", false, "", XmlFileFault::Missing, L"is missing"},
        {"empty", true, "", XmlFileFault::Empty, L"is empty"},
        {"blanks only", true, " \r\n\t ", XmlFileFault::Empty, L"is empty"},
        {"truncated", true, std::string(kGood).substr(0, 60), XmlFileFault::NotWellFormed,
         L"is not well-formed XML (cut short, or not XML at all)"},
        {"not XML", true, "[Skin]\nName=Default\n", XmlFileFault::NotWellFormed,
         L"is not well-formed XML (cut short, or not XML at all)"},
        {"wrong root", true, "<?xml version=\"1.0\"?><Other><Items/></Other>", XmlFileFault::WrongRoot,
         L"has no \"Root/Items\" element"},
        {"Latin-1 bytes declared UTF-8", true, "<?xml version=\"1.0\" encoding=\"utf-8\"?><Root><Items>caf\xE9</Items></Root>",
         XmlFileFault::WrongEncoding, L"holds bytes that do not match its declared encoding"},
        {"Latin-1 bytes without a declaration", true, "<Root><Items>caf\xE9</Items></Root>",
         XmlFileFault::WrongEncoding, L"holds bytes that do not match its declared encoding"},
        {"single bytes declared UTF-16", true, "<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root><Items/></Root>",
         XmlFileFault::WrongEncoding, L"holds bytes that do not match its declared encoding"},
        {"UTF-8 mark declared as Latin-1", true, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><Root><Items/></Root>",
         XmlFileFault::WrongEncoding, L"holds bytes that do not match its declared encoding"},
        {"Latin-1 bytes declared Latin-1", true, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><Root><Items>caf\xE9</Items></Root>",
         XmlFileFault::None, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Testing::TempFolder folder;
        const std::wstring path = folder / L"data.xml";
        if (c.write)
            folder.WriteFile(L"data.xml", c.bytes);
        std::wstring reason = L"left over";
        EXPECT_EQ(c.fault, FileSystem::CheckXmlFile(path, L"Root/Items", reason));
        EXPECT_EQ(c.reason, reason);
    }
}

TEST(XmlFileCheck, AFileAboveTheLimitIsRefusedFromItsSize) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(L"big.xml", std::string(kGood) + std::string(2000, ' '));
    std::wstring reason;
    EXPECT_EQ(XmlFileFault::TooLarge, FileSystem::CheckXmlFile(path, L"Root", reason, 1024));
    EXPECT_EQ(L"is larger than 1024 bytes", reason);
    EXPECT_EQ(XmlFileFault::None, FileSystem::CheckXmlFile(path, L"Root", reason, 4096));
    // A folder of that name is no file.
    EXPECT_EQ(XmlFileFault::Unreadable, FileSystem::CheckXmlFile(folder.Path(), L"Root", reason));
    EXPECT_EQ(L"cannot be read", reason);
}

}  // namespace
