#include "foundation/filesystem/XmlFile.h"

#include "foundation/errors/StorageSystemError.h"
#include "foundation/system/SharedValues.h"
#include "foundation/tests/BoundedCall.h"
#include "foundation/tests/ComScopeProbe.h"
#include "foundation/tests/RecordingSink.h"
#include "testing/TempFolder.h"

#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using FileSystem::XmlFile;
using FileSystem::XmlNodeList;
using FileSystem::XmlNodePtr;
using FoundationTests::Apartment;

const char kSkinXml[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Skin name=\"Default\">\n"
    "  <Colors Text=\"FF8000\" Back=\"00FF00\">\n"
    "    <Text>000000</Text>\n"
    "    <Border>0000FF</Border>\n"
    "    <Short>0F0</Short>\n"
    "    <Long>FF80001</Long>\n"
    "    <NotHex>GG0000</NotHex>\n"
    "    <Empty/>\n"
    "  </Colors>\n"
    "  <Items>\n"
    "    <Item name=\"a\" title=\"First\"/>\n"
    "    <Item name=\"x\" title=\"Second\"/>\n"
    "    <Item name=\"b\"/>\n"
    "    <Item name=\"x\" title=\"Fourth\"/>\n"
    "  </Items>\n"
    "  <Title>Default skin</Title>\n"
    "</Skin>\n";

const char kLoadFailed[] = "Failed to open or parse the designated XML file";
const char kNotFound[] = "XML item not found, possibly due to invalid location";
const char kInvalidColor[] = "Invalid color value";

LONG InstanceCount() {
    volatile LONG* pCount = FileSystem::GetXmlFileInstanceCount();
    return pCount ? InterlockedCompareExchange(pCount, 0, 0) : -1000;
}

// The text of the exception `call` throws, or "" when it throws none.
std::string RuntimeErrorText(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

// The storage-system code of the system_error `call` throws, or -1.
int StorageErrorCode(const std::function<void()>& call) {
    try {
        call();
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(&StorageSystem::GetErrorCategory(), &e.code().category());
        EXPECT_STREQ("Storage system error", e.code().category().name());
        return e.code().value();
    }
    return -1;
}

std::vector<std::wstring> AttributesOf(const XmlNodeList& nodes, const wchar_t* name) {
    std::vector<std::wstring> values;
    for (const XmlNodePtr& node : nodes)
        values.push_back(XmlFile::GetAttributeOr(node, name, L"-"));
    return values;
}

std::vector<std::wstring> NamesOf(const XmlNodeList& nodes) {
    std::vector<std::wstring> names;
    for (const XmlNodePtr& node : nodes)
        names.push_back(XmlFile::GetNodeName(node));
    return names;
}

class XmlFileTest : public testing::Test {
protected:
    Testing::TempFolder folder;
    const std::wstring skinPath = folder.WriteFile(L"Skin.xml", kSkinXml);
};

TEST_F(XmlFileTest, GetValueReadsTheAttributeBeforeTheElement) {
    XmlFile doc(skinPath, false);
    EXPECT_EQ(skinPath, doc.GetPath());
    const struct {
        const wchar_t* location;
        const wchar_t* value;
    } cases[] = {
        {L"Skin/Colors/Text", L"FF8000"},  // attribute Text of Colors wins over element Text
        {L"Skin/Colors/Border", L"0000FF"},  // no attribute: the element's text
        {L"/Skin//Colors/Text/", L"FF8000"},  // empty pieces are skipped
        {L"Skin/name", L"Default"},
        {L"Skin/Title", L"Default skin"},
        {L"Skin/Colors/Empty", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.location);
        EXPECT_EQ(c.value, doc.GetValue(c.location));
    }
}

TEST_F(XmlFileTest, GetValueOfALocationOutsideTheDocumentThrows) {
    XmlFile doc(skinPath, false);
    const wchar_t* const outside[] = {
        L"", L"/", L"Colors/Text", L"skin/Colors/Text", L"Other/Colors/Text", L"Skin/Missing/Text",
    };
    for (const wchar_t* location : outside) {
        SCOPED_TRACE(testing::Message() << "'" << location << "'");
        EXPECT_EQ(kNotFound, RuntimeErrorText([&] { doc.GetValue(location); }));
    }
    // The parent exists but neither attribute nor element: the missing node's error.
    EXPECT_EQ(StorageSystem::NullPointer, StorageErrorCode([&] { doc.GetValue(L"Skin/Colors/Missing"); }));

    XmlFile empty(false);
    EXPECT_EQ(kNotFound, RuntimeErrorText([&] { empty.GetValue(L"Skin/Title"); }));
}

TEST_F(XmlFileTest, OnePieceLocationReadsTheRootText) {
    XmlFile doc(false);
    ASSERT_TRUE(doc.LoadFromString(L"<Skin>plain</Skin>"));
    EXPECT_EQ(L"plain", doc.GetValue(L"Skin"));
}

TEST_F(XmlFileTest, GetColorReadsRrggbbIntoTheColourWord) {
    XmlFile doc(skinPath, false);
    const struct {
        const wchar_t* location;
        COLORREF color;
    } colors[] = {
        {L"Skin/Colors/Text", 0x000080FF},  // FF8000
        {L"Skin/Colors/Back", 0x0000FF00},  // 00FF00
        {L"Skin/Colors/Border", 0x00FF0000},  // 0000FF
    };
    for (const auto& c : colors) {
        SCOPED_TRACE(testing::Message() << c.location);
        EXPECT_EQ(c.color, doc.GetColor(c.location));
    }
    for (const wchar_t* bad : {L"Skin/Colors/Short", L"Skin/Colors/Long", L"Skin/Colors/NotHex", L"Skin/Colors/Empty"}) {
        SCOPED_TRACE(testing::Message() << bad);
        EXPECT_EQ(kInvalidColor, RuntimeErrorText([&] { doc.GetColor(bad); }));
    }
    EXPECT_EQ(kNotFound, RuntimeErrorText([&] { doc.GetColor(L"Colors/Text"); }));
}

TEST_F(XmlFileTest, XPathPredicatesSelectInDocumentOrder) {
    XmlFile doc(skinPath, false);
    XmlNodeList nodes;
    ASSERT_TRUE(doc.SelectNodes(L"Skin/Items/Item[@name='x']", nodes));
    EXPECT_EQ((std::vector<std::wstring>{L"Second", L"Fourth"}), AttributesOf(nodes, L"title"));

    const struct {
        const wchar_t* xpath;
        const wchar_t* title;
    } single[] = {
        {L"//Item[@name='x']", L"Second"},
        {L"Skin/Items/Item[1]", L"First"},  // positions count from 1 in XPath
        {L"Skin/Items/Item[last()]", L"Fourth"},
        {L"Skin/Items/Item[not(@title)]", L"-"},
        {L"//Item[@title='Fourth']", L"Fourth"},
    };
    for (const auto& c : single) {
        SCOPED_TRACE(testing::Message() << c.xpath);
        XmlNodePtr node = doc.SelectNode(c.xpath);
        ASSERT_TRUE(node);
        EXPECT_EQ(c.title, XmlFile::GetAttributeOr(node, L"title", L"-"));
    }
    EXPECT_FALSE(doc.SelectNode(L"//Item[@name='none']"));

    // A union comes back in document order, whatever the order it was written in.
    ASSERT_TRUE(doc.SelectNodes(L"//Title | //Item[@name='b'] | //Colors", nodes));
    EXPECT_EQ((std::vector<std::wstring>{L"Colors", L"Item", L"Title"}), NamesOf(nodes));
    ASSERT_TRUE(doc.SelectNodes(L"//*[@name]", nodes));
    EXPECT_EQ((std::vector<std::wstring>{L"Default", L"a", L"x", L"b", L"x"}), AttributesOf(nodes, L"name"));
}

TEST_F(XmlFileTest, SelectionFromANodeAndEmptyOrFailedSelections) {
    XmlFile doc(skinPath, false);
    XmlNodePtr items = doc.SelectNode(L"Skin/Items");
    ASSERT_TRUE(items);
    XmlNodeList nodes;
    ASSERT_TRUE(XmlFile::_SelectNodes(items, L"Item[@title]", nodes));
    EXPECT_EQ((std::vector<std::wstring>{L"First", L"Second", L"Fourth"}), AttributesOf(nodes, L"title"));
    XmlNodePtr second = XmlFile::_SelectSingleNode(items, L"Item[2]");
    EXPECT_EQ(L"Second", XmlFile::GetAttributeOr(second, L"title", L"-"));

    // Nothing matched: true and an empty list (emptied first).
    EXPECT_TRUE(doc.SelectNodes(L"//Nothing", nodes));
    EXPECT_TRUE(nodes.empty());

    nodes.resize(2);
    EXPECT_FALSE(XmlFile::_SelectNodes(nullptr, L"Item", nodes));
    EXPECT_TRUE(nodes.empty());
    EXPECT_FALSE(doc.SelectNodes(L"Skin/Items/Item[", nodes));  // not an XPath
    EXPECT_FALSE(XmlFile::_SelectSingleNode(nullptr, L"Item"));
    EXPECT_FALSE(doc.SelectNode(L"Skin/Items/Item["));

    XmlFile empty(false);
    EXPECT_FALSE(empty.SelectNode(L"/*"));
    EXPECT_FALSE(empty.SelectNodes(L"/*", nodes));
}

TEST_F(XmlFileTest, ChildrenByOrderAndByName) {
    XmlFile doc(skinPath, false);
    XmlNodePtr items = doc.SelectNode(L"Skin/Items");
    XmlNodeList children(3);
    ASSERT_TRUE(XmlFile::GetChildNodes(items, children));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"x", L"b", L"x"}), AttributesOf(children, L"name"));
    EXPECT_TRUE(XmlFile::HasChildren(items));
    EXPECT_FALSE(XmlFile::HasChildren(children[0]));
    EXPECT_FALSE(XmlFile::HasChildren(nullptr));

    EXPECT_TRUE(XmlFile::GetChildNodes(children[0], children));
    EXPECT_TRUE(children.empty());
    EXPECT_TRUE(XmlFile::GetChildNodes(nullptr, children));
    EXPECT_TRUE(children.empty());

    XmlNodePtr root = doc.SelectNode(L"Skin");
    EXPECT_EQ(L"Default skin", XmlFile::GetText(XmlFile::GetChildByName(root, L"Title")));
    EXPECT_EQ(L"a", XmlFile::GetAttribute(XmlFile::GetChildByName(items, L"Item"), L"name"));
    EXPECT_FALSE(XmlFile::GetChildByName(root, L"title"));  // exact, case included
    EXPECT_FALSE(XmlFile::GetChildByName(nullptr, L"Title"));

    XmlNodeList named(2);
    ASSERT_TRUE(XmlFile::GetChildrenByName(root, L"Items", named));
    ASSERT_EQ(1u, named.size());
    ASSERT_TRUE(XmlFile::GetChildrenByName(named[0], L"Item", named));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"x", L"b", L"x"}), AttributesOf(named, L"name"));
    EXPECT_TRUE(XmlFile::GetChildrenByName(root, L"items", named));  // exact, case included
    EXPECT_TRUE(named.empty());
    EXPECT_TRUE(XmlFile::GetChildrenByName(nullptr, L"Items", named));
    EXPECT_TRUE(named.empty());

    EXPECT_EQ(L"Items", XmlFile::GetNodeName(items));
    EXPECT_EQ("Invalid node", RuntimeErrorText([] { XmlFile::GetNodeName(nullptr); }));
}

TEST_F(XmlFileTest, TypedReadsGiveStorageSystemCodes) {
    XmlFile doc(skinPath, false);
    XmlNodePtr item = doc.SelectNode(L"//Item[@name='b']");
    XmlNodePtr title = doc.SelectNode(L"Skin/Title");
    ASSERT_TRUE(item && title);

    const struct {
        const char* what;
        std::function<std::wstring(boost::system::error_code*)> read;
        int code;
        const wchar_t* text;
    } cases[] = {
        {"attribute", [&](boost::system::error_code* e) { return XmlFile::GetAttribute(item, L"name", e); }, 0, L"b"},
        {"missing attribute", [&](boost::system::error_code* e) { return XmlFile::GetAttribute(item, L"title", e); },
         StorageSystem::ItemNotFound, L""},
        {"attribute of a text node",
         [&](boost::system::error_code* e) {
             XmlNodePtr text;
             title->get_firstChild(text.Receive());
             return XmlFile::GetAttribute(text, L"name", e);
         },
         StorageSystem::ItemNotFound, L""},
        {"attribute of no node", [&](boost::system::error_code* e) { return XmlFile::GetAttribute(nullptr, L"a", e); },
         StorageSystem::NullPointer, L""},
        {"text", [&](boost::system::error_code* e) { return XmlFile::GetText(title, e); }, 0, L"Default skin"},
        {"text of no node", [&](boost::system::error_code* e) { return XmlFile::GetText(nullptr, e); },
         StorageSystem::NullPointer, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // An error code passed in is cleared first, then set on failure.
        boost::system::error_code error(StorageSystem::InvalidPath, StorageSystem::GetErrorCategory());
        EXPECT_EQ(c.text, c.read(&error));
        EXPECT_EQ(c.code, error.value());
        if (c.code != 0) {
            EXPECT_EQ(&StorageSystem::GetErrorCategory(), &error.category());
        }
        // Without one the failure is thrown.
        if (c.code == 0) {
            EXPECT_EQ(c.text, c.read(nullptr));
        } else {
            EXPECT_EQ(c.code, StorageErrorCode([&] { c.read(nullptr); }));
        }
    }

    EXPECT_EQ(L"dflt", XmlFile::GetAttributeOr(nullptr, L"name", L"dflt"));
    EXPECT_EQ(L"dflt", XmlFile::GetAttributeOr(item, L"title", L"dflt"));
    EXPECT_EQ(L"b", XmlFile::GetAttributeOr(item, L"name", L"dflt"));
    EXPECT_EQ(L"dflt", XmlFile::GetTextOr(nullptr, L"dflt"));
    EXPECT_EQ(L"Default skin", XmlFile::GetTextOr(title, L"dflt"));
}

TEST_F(XmlFileTest, UnreadableFilesThrowAndLeaveTheCountUnchanged) {
    const std::wstring malformed = folder.WriteFile(L"Malformed.xml", "<Skin><Title>unclosed</Skin>");
    const std::wstring noRoot = folder.WriteFile(L"NoRoot.xml", "<?xml version=\"1.0\"?>\n");
    const std::wstring empty = folder.WriteFile(L"Empty.xml", "");
    const std::wstring cases[] = {folder / L"Missing.xml", malformed, noRoot, empty, folder.Path()};
    const LONG before = InstanceCount();
    for (const std::wstring& path : cases) {
        SCOPED_TRACE(testing::Message() << path);
        EXPECT_EQ(kLoadFailed, RuntimeErrorText([&] { XmlFile doc(path, false); }));
        EXPECT_EQ(before, InstanceCount());
    }
    // Throwing as std::exception for those that catch that.
    EXPECT_THROW(XmlFile(malformed, false), std::exception);
}

TEST_F(XmlFileTest, CountsLiveDocumentsInTheSharedValue) {
    EXPECT_EQ(System::GetSharedXmlFileInstanceCount(), FileSystem::GetXmlFileInstanceCount());
    const LONG before = InstanceCount();
    {
        XmlFile loaded(skinPath, false);
        EXPECT_EQ(before + 1, InstanceCount());
        XmlFile noFile(false);
        EXPECT_EQ(before + 2, InstanceCount());
        EXPECT_EQ(kLoadFailed, RuntimeErrorText([&] { loaded.Reload(folder / L"Missing.xml", false); }));
        EXPECT_EQ(before + 2, InstanceCount());
    }
    EXPECT_EQ(before, InstanceCount());
}

TEST_F(XmlFileTest, LoadFromStringAcceptsOnlyWellFormedText) {
    XmlFile doc(false);
    EXPECT_TRUE(doc.GetPath().empty());
    ASSERT_TRUE(doc.LoadFromString(L"<Tips><Tip id='1'>Hello</Tip></Tips>"));
    EXPECT_EQ(L"Hello", XmlFile::GetText(doc.SelectNode(L"Tips/Tip[@id='1']")));

    for (const wchar_t* broken : {L"<Tips><Tip></Tips>", L"", L"plain text", L"<a></b>"}) {
        SCOPED_TRACE(testing::Message() << "'" << broken << "'");
        EXPECT_FALSE(doc.LoadFromString(broken));
        EXPECT_FALSE(doc.SelectNode(L"/*"));  // no document left
        EXPECT_TRUE(doc.LoadFromString(L"<Tips/>"));
    }
}

TEST_F(XmlFileTest, Utf16AndUtf8FilesLoad) {
    const std::wstring title = L"Gr\u00fc\u00dfe \u2713 \u65e5\u672c";
    const std::wstring wideXml = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Skin><Title>" + title +
                                 L"</Title></Skin>\r\n";
    std::string utf16("\xFF\xFE", 2);
    utf16.append(reinterpret_cast<const char*>(wideXml.data()), wideXml.size() * sizeof(wchar_t));
    const std::string utf8 =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><Skin><Title>Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93 "
        "\xE6\x97\xA5\xE6\x9C\xAC</Title></Skin>";
    for (const auto& file : {std::make_pair(L"Utf16.xml", utf16), std::make_pair(L"Utf8.xml", utf8)}) {
        SCOPED_TRACE(testing::Message() << file.first);
        XmlFile doc(folder.WriteFile(file.first, file.second), false);
        EXPECT_EQ(title, doc.GetValue(L"Skin/Title"));
    }
}

TEST_F(XmlFileTest, SaveWritesTheDocumentThatLoadsAgain) {
    XmlFile doc(false);
    FoundationTests::RecordingSink sink;
    {
        FoundationTests::ScopedSink scoped(&sink);
        EXPECT_FALSE(doc.Save(folder / L"Nothing.xml"));  // no document
        EXPECT_TRUE(sink.reports.empty());
        ASSERT_TRUE(doc.LoadFromString(L"<Layout><Window caption='Main'/></Layout>"));
        EXPECT_FALSE(doc.Save());  // no path anywhere
    }
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((bsPath))")) << sink.reports[0].text;
    EXPECT_FALSE(Testing::PathExists(folder / L"Nothing.xml"));

    const std::wstring saved = folder / L"Saved.xml";
    ASSERT_TRUE(doc.Save(saved));
    XmlFile again(saved, false);
    EXPECT_EQ(L"Main", again.GetValue(L"Layout/Window/caption"));
    EXPECT_FALSE(doc.Save(folder / L"NoSuchFolder\\Saved.xml"));
}

// Changes the title text of the loaded skin document.
void SetTitle(XmlFile& doc, const wchar_t* title) {
    XmlNodePtr node = doc.SelectNode(L"Skin/Title");
    ASSERT_TRUE(node);
    BSTR text = SysAllocString(title);
    EXPECT_EQ(S_OK, node->put_text(text));
    SysFreeString(text);
}

std::wstring TitleIn(const std::wstring& path) {
    return XmlFile(path, false).GetValue(L"Skin/Title");
}

TEST_F(XmlFileTest, ReloadSavesTheOldDocumentUnderItsOwnPath) {
    const std::wstring otherPath = folder.WriteFile(L"Other.xml", "<Skin><Title>Other skin</Title></Skin>");
    {
        XmlFile doc(skinPath, true);
        SetTitle(doc, L"Changed");
        doc.Reload(otherPath, true);
        // The file just loaded is the one on disk, not the old document.
        EXPECT_EQ(L"Other skin", doc.GetValue(L"Skin/Title"));
        EXPECT_EQ(otherPath, doc.GetPath());
        EXPECT_EQ(L"Changed", TitleIn(skinPath));
        SetTitle(doc, L"Other changed");
    }
    // Saved again when the object ends.
    EXPECT_EQ(L"Other changed", TitleIn(otherPath));
}

TEST_F(XmlFileTest, SaveFlagBelongsToTheDocumentItWasGivenWith) {
    const std::wstring otherPath = folder.WriteFile(L"Other.xml", "<Skin><Title>Other skin</Title></Skin>");
    const std::string skinBytes = Testing::ReadFileBytes(skinPath);
    {
        XmlFile doc(skinPath, false);
        SetTitle(doc, L"Changed");
        doc.Reload(otherPath, true);  // the old document was opened without saving
        EXPECT_EQ(skinBytes, Testing::ReadFileBytes(skinPath));
        EXPECT_EQ(L"Other skin", doc.GetValue(L"Skin/Title"));
        SetTitle(doc, L"Other changed");
        doc.Reload(skinPath, false);  // ... and this one with it
        EXPECT_EQ(L"Other changed", TitleIn(otherPath));
        SetTitle(doc, L"Not saved");
    }
    EXPECT_EQ(skinBytes, Testing::ReadFileBytes(skinPath));
}

TEST_F(XmlFileTest, FailedLoadsWithTheSaveFlagOverwriteNothing) {
    const std::string brokenBytes = "<Skin><Title>unclosed</Skin>";
    const std::wstring broken = folder.WriteFile(L"Broken.xml", brokenBytes);
    EXPECT_EQ(kLoadFailed, RuntimeErrorText([&] { XmlFile doc(broken, true); }));
    EXPECT_EQ(brokenBytes, Testing::ReadFileBytes(broken));

    XmlFile doc(skinPath, true);
    SetTitle(doc, L"Changed");
    EXPECT_EQ(kLoadFailed, RuntimeErrorText([&] { doc.Reload(broken, true); }));
    EXPECT_EQ(brokenBytes, Testing::ReadFileBytes(broken));
    EXPECT_EQ(L"Changed", TitleIn(skinPath));
    EXPECT_FALSE(doc.SelectNode(L"/*"));  // empty after the failed load
    EXPECT_EQ(kLoadFailed, RuntimeErrorText([&] { doc.Reload(folder / L"Missing.xml", true); }));
    EXPECT_FALSE(Testing::PathExists(folder / L"Missing.xml"));
}

TEST_F(XmlFileTest, SaveFailingOnReleaseIsReportedAsAWarning) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scoped(&sink);
    {
        XmlFile doc(skinPath, true);
        SetTitle(doc, L"Changed");
        // Held open without sharing, the file cannot be written.
        HANDLE held = CreateFileW(skinPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        doc.Reload(folder.WriteFile(L"Other.xml", "<Skin/>"), false);
        CloseHandle(held);
    }
    EXPECT_EQ(L"Default skin", TitleIn(skinPath));
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Warning, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((isSaved))")) << sink.reports[0].text;
}

// Restores the process default COM model after a test changed it.
class DefaultModelOverride {
public:
    explicit DefaultModelOverride(LONG model)
        : m_pModel(System::GetDefaultCOMModel()), m_previous(InterlockedExchange(m_pModel, model)) {}
    ~DefaultModelOverride() { InterlockedExchange(m_pModel, m_previous); }

private:
    volatile LONG* m_pModel;
    LONG m_previous;
};

TEST_F(XmlFileTest, EntersTheDefaultModelOrJoinsTheThreadsApartmentOnce) {
    const struct {
        Apartment before;
        LONG defaultModel;
        Apartment during;
    } cases[] = {
        {Apartment::None, 2, Apartment::ApartmentThreaded},
        {Apartment::None, 1, Apartment::ApartmentThreaded},
        {Apartment::None, 0, Apartment::Multithreaded},
        {Apartment::None, 3, Apartment::Multithreaded},  // above 2 counts as 0
        {Apartment::None, -1, Apartment::Multithreaded},
        {Apartment::Multithreaded, 2, Apartment::Multithreaded},  // falls back to 0
        {Apartment::ApartmentThreaded, 0, Apartment::ApartmentThreaded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "thread " << c.before << ", default model " << c.defaultModel);
        DefaultModelOverride model(c.defaultModel);
        ThreadTests::RunBounded("document on a thread", [&] {
            FoundationTests::EnterApartment(c.before);
            {
                XmlFile doc(skinPath, false);
                EXPECT_EQ(L"FF8000", doc.GetValue(L"Skin/Colors/Text"));
                EXPECT_EQ(c.during, FoundationTests::ProbeApartment());
            }
            FoundationTests::ExpectOnlyOwnApartmentLeft(c.before);
        });
    }
}

TEST_F(XmlFileTest, ReleasedOnAnotherThreadLeavesThatThreadsComAlone) {
    std::unique_ptr<XmlFile> doc;
    ThreadTests::RunBounded("load", [&] { doc.reset(new XmlFile(skinPath, false)); });
    ThreadTests::RunBounded("release elsewhere", [&] {
        FoundationTests::EnterApartment(Apartment::Multithreaded);
        EXPECT_EQ(L"Default skin", doc->GetValue(L"Skin/Title"));  // the document is free-threaded
        doc.reset();
        FoundationTests::ExpectOnlyOwnApartmentLeft(Apartment::Multithreaded);
    });
}

TEST(XmlFileLibraryHandle, LoadsByNameAndKeepsTheFailure) {
    XmlFile::_LibraryHandle library;
    EXPECT_TRUE(library.Load(L"msxml3.dll"));
    EXPECT_NE(nullptr, library.GetModule());
    EXPECT_EQ(S_OK, library.GetFailure());
    library.Free();
    EXPECT_EQ(nullptr, library.GetModule());

    EXPECT_FALSE(library.Load(L"brunlow-no-such-library.dll"));
    EXPECT_EQ(nullptr, library.GetModule());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), library.GetFailure());
}

}  // namespace
