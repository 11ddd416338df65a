#include "appframework/application/ApplicationBaseLite.h"

#include "TestApplication.h"
#include "foundation/errors/ErrorException.h"
#include "testing/ChildProcess.h"
#include "testing/CopiedProgram.h"
#include "testing/TempFolder.h"
#include "toolkit/SkinManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

using ApplicationFramework::ApplicationBaseLite;
using AppFrameworkTests::TestApplication;
using AppFrameworkTests::TestProduct;

// Message boxes answered at once and remembered.
struct ShownMessage {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};
std::vector<ShownMessage> g_messages;

int RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_messages.push_back({owner, text ? text : L"", caption ? caption : L"", type});
    return IDOK;
}

class MessageBoxScope {
public:
    MessageBoxScope() : m_previous(AfxSetMessageBoxHandler(&RecordMessageBox)) { g_messages.clear(); }
    ~MessageBoxScope() { AfxSetMessageBoxHandler(m_previous); }

private:
    AfxMessageBoxHandler m_previous;
};

TEST(ApplicationObject, IsTheCurrentApplicationWhileItLives) {
    TestProduct product(L"Brunlow");
    {
        TestApplication app(product.info);
        EXPECT_EQ(&app, ApplicationBaseLite::GetApplication());
        EXPECT_EQ(&product.info, &app.GetProductInfo());
        EXPECT_TRUE(app.IsSingleInstance());
    }
    EXPECT_EQ(nullptr, ApplicationBaseLite::GetApplication());
}

TEST(ApplicationObject, ResourceStringPrefersANonEmptyApplicationString) {
    TestProduct product(L"Brunlow");
    TestApplication app(product.info);
    struct Case {
        const char* name;
        std::function<void(std::wstring&, int)> getString;
        const wchar_t* expected;
        bool warned;
    } const cases[] = {
        {"empty string", [](std::wstring& text, int) { text.clear(); }, L"default", false},
        {"application string", [](std::wstring& text, int id) { text = L"string " + std::to_wstring(id); },
         L"string 8", false},
        {"getter raises", [](std::wstring& text, int) { text = L"half"; throw std::runtime_error("broken"); },
         L"default", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FoundationTests::RecordingSink sink;
        FoundationTests::ScopedSink scope(&sink);
        app.getString = c.getString;
        EXPECT_EQ(c.expected, app.GetResourceString(8, L"default"));
        EXPECT_EQ(c.warned, AppFrameworkTests::HasReport(
                                sink, L"((!ErrorHandling::ClassifiedExceptionsGuard([&]() { GetResourceString(strId); } )))"));
    }
    // Exceptions the guard does not know pass on.
    app.getString = [](std::wstring&, int) { throw 5; };
    EXPECT_THROW(app.GetResourceString(8, L"default"), int);
}

TEST(DamageReport, ResourcesDamagedShowsTheProductNameAndReturns) {
    TestProduct product(L"Brunlow");
    TestApplication app(product.info);
    MessageBoxScope boxes;
    app._ReportDamagedInstallation(ApplicationFramework::ResourcesDamaged, L"");
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(L"Brunlow resources are damaged!\nPlease reinstall Brunlow.", g_messages[0].text);
    EXPECT_EQ(L"Brunlow", g_messages[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), g_messages[0].type);
    EXPECT_EQ(nullptr, g_messages[0].owner);

    app.getString = [](std::wstring& text, int id) { text = id == 8 ? L"{0}: string 8" : L""; };
    app._ReportDamagedInstallation(ApplicationFramework::ResourcesDamaged, L"");
    app._ReportDamagedInstallation(ApplicationFramework::ResourcesDamaged, L"Given {0} text");
    ASSERT_EQ(3u, g_messages.size());
    EXPECT_EQ(L"Brunlow: string 8", g_messages[1].text);
    EXPECT_EQ(L"Given Brunlow text", g_messages[2].text);
}

TESTING_CHILD_SCENARIO(InstallationDamaged) {
    TestProduct product(L"Brunlow");
    TestApplication app(product.info);
    MessageBoxScope boxes;
    app._ReportDamagedInstallation(ApplicationFramework::InstallationDamaged, L"");
    return 1;  // not reached
}

TEST(DamageReport, InstallationDamagedEndsTheProcessWith255) {
    EXPECT_EQ(255u, Testing::RunChildScenario("InstallationDamaged").exitCode);
}

TEST(SplashSteps, TextGoesToTheSplashScreen) {
    TestProduct product(L"Brunlow");
    TestApplication app(product.info);
    app.getString = [](std::wstring& text, int id) { text = id == 4 ? L"Loading" : L""; };
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);

    app._ShowSplashStep(2);  // an empty text: nothing happens, not even a report
    EXPECT_TRUE(sink.reports.empty());
    app._ShowSplashStep(4);
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_TRUE(AppFrameworkTests::HasReport(sink, L"((m_pSplashScreen))"));
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);

    app.SetSplashScreen(std::make_unique<ApplicationFramework::SplashScreen>());
    app._ShowSplashStep(4);
    EXPECT_EQ(L"Loading", app.GetSplashScreen()->GetText());
    EXPECT_EQ(1u, sink.reports.size());
}

TEST(SplashSteps, SettingTheTextRepaintsTheWindow) {
    ApplicationFramework::SplashScreen splash;
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    ::UpdateWindow(window);
    ::ValidateRect(window, nullptr);
    splash.SetWindow(window);
    splash.SetText(L"Starting");
    RECT update = {};
    EXPECT_TRUE(::GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(L"Starting", splash.GetText());
    ::DestroyWindow(window);
    splash.SetText(L"After");  // the window is gone: only the text changes
    EXPECT_EQ(L"After", splash.GetText());
}

class SkinTest : public ::testing::Test {
protected:
    void TearDown() override { Toolkit::GetSkinManager().Reset(); }
    Testing::TempFolder m_styles;
};

TEST_F(SkinTest, SkinIsAppliedOnlyFromBothFiles) {
    TestProduct product(L"Brunlow");
    TestApplication app(product.info);
    struct Case {
        const char* name;
        const char* skin;      // null: missing
        const char* settings;  // null: missing
        bool applied;
    } const cases[] = {
        {"both files", "skin", "[Settings]", true},
        {"missing skin file", nullptr, "[Settings]", false},
        {"missing settings file", "skin", nullptr, false},
        {"empty skin file", "", "[Settings]", false},  // the toolkit raises; nothing leaves
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Testing::TempFolder styles;
        if (c.skin)
            styles.WriteFile(L"Default.skn", c.skin);
        if (c.settings)
            styles.WriteFile(L"Default.INI", c.settings);
        EXPECT_EQ(c.applied, app._ApplySkinImpl(styles / L"Default.skn"));
    }
}

TESTING_CHILD_SCENARIO(DefaultSkinOfTheProgramFolder) {
    TestProduct product(L"Brunlow");
    TestApplication app(product.info);
    if (!app._ApplyDefaultSkin())
        return 1;
    const std::wstring& file = Toolkit::GetSkinManager().GetSkinFile();
    return file.size() > 19 && file.compare(file.size() - 19, 19, L"\\Styles\\Default.skn") == 0 ? 0 : 2;
}

TEST_F(SkinTest, DefaultSkinComesFromTheStylesFolderOfTheProgram) {
    Testing::CopiedProgram program;
    program.Tree().WriteFile(L"bin\\Styles\\Default.skn", "skin");
    program.Tree().WriteFile(L"bin\\Styles\\Default.INI", "[Settings]");
    EXPECT_EQ(0u, program.Run("DefaultSkinOfTheProgramFolder").exitCode);
}

}  // namespace
