#include "skin/layout/IManager.h"
#include "skin/layout/Manager.h"

#include "LayoutText.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace LayoutLib;
using SkinTesting::Narrow;
using SkinTesting::ExceptionText;
using SkinTesting::LayoutXml;
using SkinTesting::LoadLayout;

const char kLoadFailed[] = "Failed to load the layout XML";
const char kFileFailed[] = "Failed to open or parse the designated XML file";

TEST(LayoutManager, TextOnlyWithTheDeclarationAtTheFirstCharacter) {
    const std::wstring good = LayoutXml(L"<Window name=\"w\"/>");
    const struct {
        std::wstring source;
        const char* error;  // "" when the manager is made
    } cases[] = {
        {good, ""},
        {L" " + good, kFileFailed},                 // a path
        {L"<?XML" + good.substr(5), kFileFailed},   // a path
        {L"<?xml version=\"1.0\"?><LayoutLib><Windows>", kLoadFailed},
        {L"<?xml", kLoadFailed},
        {L"", kFileFailed},
        {L"C:\\no such folder\\Layout.xml", kFileFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.source.substr(0, 40)));
        boost::shared_ptr<IManager> manager;
        EXPECT_EQ(c.error, ExceptionText([&] { manager = CreateManager(c.source); }));
        EXPECT_EQ(!*c.error, !!manager);
    }
}

TEST(LayoutManager, FromAFile) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(
        L"skin\\Layout.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                             "<LayoutLib><Windows><Window name=\"w\"/></Windows></LayoutLib>");
    const auto manager = CreateManager(path);
    ASSERT_TRUE(manager);
    EXPECT_TRUE(manager->GetWindow(L"w"));
    EXPECT_EQ(path, manager->GetSource());
    EXPECT_EQ(folder / L"skin\\", manager->GetBaseFolder());

    manager->SetBaseFolder(L"D:\\Other");
    EXPECT_EQ(L"D:\\Other", manager->GetBaseFolder());
    manager->SetBaseFolder(L"");
    EXPECT_EQ(folder / L"skin\\", manager->GetBaseFolder());

    // Not well-formed on disk: the XML layer's error.
    const std::wstring broken = folder.WriteFile(L"Broken.xml", "<LayoutLib><Windows>");
    EXPECT_EQ(kFileFailed, ExceptionText([&] { CreateManager(broken); }));
}

TEST(LayoutManager, FromText) {
    const std::wstring text = LayoutXml(L"");
    const auto manager = CreateManager(text);
    EXPECT_EQ(text, manager->GetSource());
    EXPECT_EQ(L"", manager->GetBaseFolder());
    manager->SetBaseFolder(L"C:\\Skins\\Blue");
    EXPECT_EQ(L"C:\\Skins\\Blue", manager->GetBaseFolder());
    manager->SetBaseFolder(L"");
    EXPECT_EQ(L"", manager->GetBaseFolder());

    // Another root holds no windows or pictures; not an error.
    const auto other = CreateManager(L"<?xml version=\"1.0\"?><Layout><Windows><Window name=\"w\"/></Windows></Layout>");
    WindowList windows;
    EXPECT_TRUE(other->GetWindows(windows));
    EXPECT_TRUE(windows.empty());
}

TEST(LayoutManager, WindowsByNameTheFirstWins) {
    const auto manager = LoadLayout(
        L"<Window name=\"dialog\" type=\"first\"/><Window name=\"Dialog\"/><Window name=\"dialog\" type=\"second\"/>"
        L"<Window id=\"4\"/>");
    WindowList windows;
    manager->GetWindows(windows);
    EXPECT_EQ(4u, windows.size());
    const struct {
        const wchar_t* name;
        const wchar_t* type;  // null: no window
    } cases[] = {{L"dialog", L"first"}, {L"Dialog", L""}, {L"DIALOG", nullptr}, {L"", nullptr}, {L"none", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const auto window = manager->GetWindow(c.name);
        ASSERT_EQ(c.type != nullptr, !!window);
        if (window) {
            EXPECT_EQ(c.type, window->GetType());
        }
    }
    EXPECT_FALSE(LoadLayout(L"")->GetWindow(L"dialog"));
}

TEST(LayoutManager, CompletePicturesAreReadOnce) {
    CustomValues parameters;
    SetCustomValue(parameters, L"pos", std::wstring(L"1,2,3,4"));
    const auto manager = LoadLayout(
        L"", L"<Picture name=\"twice\" width=\"1\"/><Picture name=\"twice\" width=\"2\"/>"
             L"<Picture name=\"fixed\" complete=\"1\"><Text position=\"[pos]\"/></Picture>"
             L"<Picture name=\"lazy\" complete=\"0\" width=\"7\"><Text position=\"[pos]\"/></Picture>"
             L"<Picture name=\"lazy\" complete=\"0\" width=\"8\"/>"
             L"<Picture name=\"word\" complete=\"true\"/>");

    EXPECT_EQ(2, manager->GetPicture(L"twice", CustomValues())->GetSize().cx);  // the later complete one

    const auto fixed = manager->GetPicture(L"fixed", parameters);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed, manager->GetPicture(L"fixed", CustomValues()));
    EXPECT_EQ(0, fixed->FindDrawable(DrawableText, L"")->GetPosition().right);  // read without parameters
    EXPECT_TRUE(fixed->GetCustomValues().empty());

    const auto lazy = manager->GetPicture(L"lazy", parameters);
    ASSERT_TRUE(lazy);
    EXPECT_EQ(7, lazy->GetSize().cx);  // the first node of the name
    EXPECT_EQ(3, lazy->FindDrawable(DrawableText, L"")->GetPosition().right);
    EXPECT_TRUE(_FindCustomString(lazy->GetCustomValues(), L"pos"));
    const auto again = manager->GetPicture(L"lazy", CustomValues());
    ASSERT_TRUE(again);
    EXPECT_NE(lazy, again);
    EXPECT_EQ(0, again->FindDrawable(DrawableText, L"")->GetPosition().right);

    // "true" is not "1": read at every lookup.
    EXPECT_NE(manager->GetPicture(L"word", CustomValues()), manager->GetPicture(L"word", CustomValues()));
    EXPECT_FALSE(manager->GetPicture(L"", CustomValues()));
    EXPECT_FALSE(manager->GetPicture(L"LAZY", CustomValues()));
}

TEST(LayoutManager, PictureNamesAreNeverPartOfAQuery) {
    const auto manager = LoadLayout(
        L"", L"<Picture name=\"first\" width=\"1\" complete=\"0\"/>"
             L"<Picture name=\"it's\" width=\"2\" complete=\"0\"/>"
             L"<Picture name='say \"hi\"' width=\"3\" complete=\"0\"/>"
             L"<Picture name=\"a]b[@c\" width=\"4\" complete=\"0\"/>");
    const struct {
        const wchar_t* name;
        int width;  // 0: no picture
    } cases[] = {
        {L"first", 1},
        {L"it's", 2},
        {L"say \"hi\"", 3},
        {L"a]b[@c", 4},
        {L"x' or '1'='1", 0},
        {L"'", 0},
        {L"first' or name='it's", 0},
        {L"*", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        boost::shared_ptr<IPicture> picture;
        EXPECT_EQ("", ExceptionText([&] { picture = manager->GetPicture(c.name, CustomValues()); }));
        ASSERT_EQ(c.width != 0, !!picture);
        if (picture) {
            EXPECT_EQ(c.width, picture->GetSize().cx);
        }
    }
}

TEST(LayoutManager, AManagerIsAnIManager) {
    const Manager manager(LayoutXml(L"<Window name=\"w\"/>"));
    const IManager& asInterface = manager;
    EXPECT_TRUE(asInterface.GetWindow(L"w"));
}

}  // namespace
