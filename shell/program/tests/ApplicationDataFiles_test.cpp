// The program's data files broken the ways a copy on disk breaks: a language
// file ends the start with a message that names it (exit code 2), a style
// file gives way to the program's own colours with a warning in the log.
#include "ProgramTestSupport.h"

#include "downloads/view/BrunlowView.h"
#include "foundation/filesystem/XmlFile.h"
#include "foundation/strings/StringConversions.h"
#include "shell/tests/TipsTestSupport.h"
#include "shell/tips/TipsFiles.h"
#include "testing/ChildProcess.h"
#include "testing/ResourceFolder.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using ProgramTests::MessageBoxRecorder;
using ProgramTests::TestBrunlowApp;
using TipsTests::LogWatch;

const char kGoodStyle[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<skin><application><main><on><colors background=\"102030\"/>"
    "</on></main></application></skin>\n";

// The broken forms of a data file, from a good one; "missing" writes nothing.
struct BrokenFile {
    const char* name;
    bool write;
    std::string bytes;
};
std::vector<BrokenFile> BrokenForms(const std::string& good, const std::string& otherRoot) {
    std::string latin1 = good;
    latin1.insert(latin1.rfind("</"), "caf\xE9");
    return {{"missing", false, ""},
            {"empty", true, ""},
            {"truncated", true, good.substr(0, good.size() / 2)},
            {"not XML", true, "[Skin]\r\nName=Default\r\n"},
            {"wrong root", true, otherRoot},
            {"bytes not in the declared encoding", true, latin1}};
}

// The application over a program folder of the test's own.
class FolderApp : public TestBrunlowApp {
public:
    explicit FolderApp(const std::wstring& folder) : m_folder(folder) {}
    FileSystem::Folder _GetProgramFolder() const override { return FileSystem::Folder(m_folder); }

private:
    std::wstring m_folder;
};

// Copies a folder tree of the built program into `target`.
void CopyTree(const std::wstring& source, const std::wstring& target) {
    ::CreateDirectoryW(target.c_str(), nullptr);
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((source + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(source + L"\\" + name, target + L"\\" + name);
        else
            ::CopyFileW((source + L"\\" + name).c_str(), (target + L"\\" + name).c_str(), FALSE);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

std::wstring& ChildDataRoot() {
    static std::wstring root;
    return root;
}

// Argument: "<program folder>|<test key>". The whole start-up through the
// framework's entry; every message box goes to "<program folder>\boxes.txt".
// Exit code: the entry's.
TESTING_CHILD_SCENARIO(StartWithTheProgramFolder) {
    const std::wstring argument = Testing::ScenarioArgument();
    const size_t bar = argument.find(L'|');
    if (bar == std::wstring::npos || !Testing::RedirectCurrentUser(argument.substr(bar + 1)))
        return 200;
    const std::wstring folder = argument.substr(0, bar);
    ChildDataRoot() = folder + L"\\LocalAppData";
    Tips::PathSource source;
    source.localAppData = [] { return ChildDataRoot(); };
    Tips::SetPathSource(source);
    MessageBoxRecorder boxes;
    int result = 201;
    {
        FolderApp app(folder);
        std::wstring commandLine;
        commandLine.push_back(L'\0');
        result = AfxWinMain(::GetModuleHandleW(nullptr), nullptr, &commandLine[0], SW_HIDE);
    }
    std::ofstream record(STLHelpers::WideToUtf8(folder + L"\\boxes.txt"), std::ios::binary);
    for (const ProgramTests::MessageBoxCall& box : boxes.calls)
        record << STLHelpers::WideToUtf8(box.text + L"|" + box.caption + L"|" + std::to_wstring(box.type)) << "\n";
    return result;
}

// The texts cannot come from the file that is broken: the message is the
// program's own English, names the file and says what is wrong with it.
TEST(ApplicationDataFiles, ABrokenLanguageFileEndsTheStartWithAMessageNamingItAndExitCode2) {
    struct Case {
        const char* name;
        bool write;
        std::string bytes;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {"missing", false, "", L"is missing"},
        {"bytes not in the declared encoding", true,
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><ResourceLib><Resources><String name=\"Title\" value=\"caf\xE9\"/>"
         "</Resources></ResourceLib>",
         L"holds bytes that do not match its declared encoding"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Testing::CopiedProgram program;
        const std::wstring folder = program.Tree().MakeFolder(L"program");
        CopyTree(ProgramTests::ProgramFolder().GetSubFolder(L"Resources").GetPath(), folder + L"\\Resources");
        const std::wstring file = folder + L"\\Resources\\Main\\en-us\\Resources.xml";
        ::DeleteFileW(file.c_str());
        if (c.write)
            program.Tree().WriteFile(L"program\\Resources\\Main\\en-us\\Resources.xml", c.bytes);
        Testing::TempRegistryKey key;
        const Testing::ChildResult result = program.Run("StartWithTheProgramFolder", folder + L"|" + key.SubKey(), 120000);
        EXPECT_TRUE(Testing::ChildSucceeded(result, 2));
        const std::string product = "Brunlow Program Tests";
        const std::string expected = product + " resources are damaged!\nThe language file " +
                                     STLHelpers::WideToUtf8(file) + " " + STLHelpers::WideToUtf8(c.reason) +
                                     ".\nPlease reinstall " + product + ".|" + product + "|" +
                                     std::to_string(MB_ICONERROR) + "\n";
        EXPECT_EQ(expected, Testing::ReadFileBytes(folder + L"\\boxes.txt"));
        EXPECT_EQ(c.write ? c.bytes : "", Testing::ReadFileBytes(file)) << "the file is left as it was";
    }
}

// Each broken form of the style file: a warning naming the file and why,
// and a document without colours, so that every colour the window asks for
// is the program's own.
TEST(ApplicationDataFiles, ABrokenStyleFileIsAWarningAndTheProgramsOwnColours) {
    const std::string otherRoot = "<?xml version=\"1.0\"?><style><application/></style>";
    for (const BrokenFile& c : BrokenForms(kGoodStyle, otherRoot)) {
        SCOPED_TRACE(c.name);
        Testing::TempFolder folder;
        const std::wstring file = folder / L"Styles\\Default.skn.xml";
        if (c.write)
            folder.WriteFile(L"Styles\\Default.skn.xml", c.bytes);
        LogWatch log;
        FolderApp app(folder.Path());
        app._CreateSkinManager();
        ASSERT_NE(nullptr, app.m_pSkinManager.get());
        EXPECT_TRUE(log.Has("WRN", "The style file " + STLHelpers::WideToUtf8(file) + " ")) << log.Text();
        EXPECT_TRUE(log.Has("WRN", "; the program's own colours are used.")) << log.Text();
        EXPECT_THROW(app.m_pSkinManager->GetColor(L"skin/application/main/on/colors/background"), std::exception);
        EXPECT_EQ(c.write ? c.bytes : "", Testing::ReadFileBytes(file)) << "the file is left as it was";
    }

    Testing::TempFolder folder;
    folder.WriteFile(L"Styles\\Default.skn.xml", kGoodStyle);
    LogWatch log;
    FolderApp app(folder.Path());
    app._CreateSkinManager();
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), app.m_pSkinManager->GetColor(L"skin/application/main/on/colors/background"));
    EXPECT_FALSE(log.Has("WRN", "The style file")) << log.Text();
}

// The colours the list falls back on are the shipped style's own, so a
// lost style file looks like the shipped one: no black list area, heading
// and hint visible against it.
TEST(ApplicationDataFiles, TheListsOwnColoursAreTheShippedStyles) {
    const FileSystem::XmlFile shipped(ProgramTests::ProgramFolder().GetSubFolder(L"Styles").GetFile(L"Default.skn.xml").GetPath(),
                                      false);
    for (int i = 0; i < CBrunlowView::SkinColorCount; ++i) {
        const auto color = static_cast<CBrunlowView::SkinColor>(i);
        SCOPED_TRACE(STLHelpers::WideToUtf8(CBrunlowView::GetSkinColorKey(color)));
        EXPECT_EQ(shipped.GetColor(CBrunlowView::GetSkinColorKey(color)), CBrunlowView::GetDefaultSkinColor(color));
    }
    using View = CBrunlowView;
    for (bool on : {true, false}) {
        const COLORREF back = View::GetDefaultSkinColor(on ? View::ColorOnBackground : View::ColorOffBackground);
        EXPECT_NE(RGB(0, 0, 0), back);
        for (View::SkinColor fore : {on ? View::ColorOnText : View::ColorOffText,
                                     on ? View::ColorOnHeading : View::ColorOffHeading,
                                     on ? View::ColorOnLink : View::ColorOffLink}) {
            const COLORREF text = View::GetDefaultSkinColor(fore);
            const int difference = abs(GetRValue(text) - GetRValue(back)) + abs(GetGValue(text) - GetGValue(back)) +
                                   abs(GetBValue(text) - GetBValue(back));
            EXPECT_GT(difference, 200) << "colour " << fore << " stands out from the background";
        }
    }
}

// A skin's resource file broken each way: a warning that names it and says
// why; the lower layers serve what it would have.
TEST(ApplicationDataFiles, ABrokenSkinResourceFileIsAWarningAndTheLowerLayersServe) {
    const std::string good = ResourceTesting::ResourcesXml("<Color name=\"Back\" value=\"#102030\"/>");
    const std::string otherRoot = "<Skin><Resources><Color name=\"Back\" value=\"#FFFFFF\"/></Resources></Skin>";
    for (const BrokenFile& c : BrokenForms(good, otherRoot)) {
        if (!c.write)
            continue;  // a skin without a file of its own is usual: nothing to say
        SCOPED_TRACE(c.name);
        ResourceTesting::ResourceFolder folder;
        folder.WriteResources(L"Common", "<Color name=\"Back\" value=\"#405060\"/>");
        const std::wstring file = folder.WriteFile(L"Common\\Dark\\Resources.xml", c.bytes);
        folder.Open();
        LogWatch log;
        const COLORREF back = folder.manager->GetColorByName(L"Back");
        EXPECT_EQ(RGB(0x40, 0x50, 0x60), back);
        EXPECT_TRUE(log.Has("WRN", "The resource file " + STLHelpers::WideToUtf8(folder.Path(L"Common\\Dark\\Resources.xml")) +
                                       " ")) << log.Text();
        EXPECT_TRUE(log.Has("WRN", "; it is left out.")) << log.Text();
    }
}

}  // namespace
