// Measuring and drawing markup on memory DCs. Positions are read from the
// hot area of a link placed after the item; text widths are measured at run
// time, as the face a text asks for may map to another one here.
#include "controls/markup/MarkupDrawer.h"
#include "DrawTestSupport.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "testing/ChildProcess.h"
#include "testing/DibCanvas.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using FoundationTests::ShellLaunchRecorder;

// A bitmap of one colour whose handle a text can name.
class SolidBitmap {
public:
    SolidBitmap(int width, int height, COLORREF color) {
        m_image = ControlsTesting::MakeImage(width, height, [&](int, int) {
            return 0xFF000000u | ControlsTesting::Packed(color);
        });
    }
    std::wstring Tag(const std::wstring& tag = L"bmp", const std::wstring& more = L"") const {
        wchar_t handle[32];
        std::swprintf(handle, 32, L"0x%X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(m_image->Handle())));
        return L"<" + tag + L" handle=" + handle + (more.empty() ? L"" : L" " + more) + L">";
    }

private:
    std::unique_ptr<DrawLib::Section32> m_image;
};

// The text measured and drawn at (0, 0) in a canvas of the given width.
struct Drawn {
    SIZE size;
    std::vector<CMarkupDrawer::HotArea> areas;
};

Drawn MeasureAndDraw(CMarkupDrawer& drawer, Testing::DibCanvas& canvas, const std::wstring& text, int width = 0) {
    Drawn drawn;
    drawn.size = drawer.PrepareOutput(canvas.Dc(), text);
    const RECT rect = {0, 0, width > 0 ? width : drawn.size.cx, drawn.size.cy};
    drawer.DrawPreparedOutput(canvas.Dc(), rect);
    drawn.areas = drawer.GetHotAreas();
    return drawn;
}

// The first hot area's rectangle (the link after the item).
RECT Mark(const Drawn& drawn) {
    EXPECT_FALSE(drawn.areas.empty());
    return drawn.areas.empty() ? RECT{-1, -1, -1, -1} : drawn.areas.front().rect;
}

// The font the drawer makes of a style of this size, for expected positions.
struct Metrics {
    TEXTMETRICW metrics = {};
    explicit Metrics(HDC dc, int size) {
        LOGFONTW font = {};
        font.lfHeight = size;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfQuality = CLEARTYPE_QUALITY;
        lstrcpyW(font.lfFaceName, L"Verdana");
        HFONT handle = ::CreateFontIndirectW(&font);
        HGDIOBJ previous = ::SelectObject(dc, handle);
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, previous);
        ::DeleteObject(handle);
    }
};

int TextWidth(HDC dc, int size, const std::wstring& text) {
    LOGFONTW font = {};
    font.lfHeight = size;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpyW(font.lfFaceName, L"Verdana");
    HFONT handle = ::CreateFontIndirectW(&font);
    HGDIOBJ previous = ::SelectObject(dc, handle);
    SIZE extent = {};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, previous);
    ::DeleteObject(handle);
    return extent.cx;
}

TEST(MarkupLayoutTest, DefaultsOfTheDrawer) {
    CMarkupDrawer drawer;
    EXPECT_EQ(32, drawer.GetTabWidth());
    EXPECT_EQ(-2, drawer.GetHotLinkIndex());
    EXPECT_NE(nullptr, drawer.GetHandCursor());
    const auto& shadow = drawer.GetImageShadow();
    EXPECT_TRUE(shadow.gradient);
    EXPECT_EQ(4, shadow.dx);
    EXPECT_EQ(4, shadow.dy);
    EXPECT_EQ(7, shadow.blurX);
    EXPECT_EQ(7, shadow.blurY);
    EXPECT_EQ(50, shadow.darkness);
    EXPECT_EQ(0x7F7F7Fu, shadow.color);
}

TEST(MarkupLayoutTest, LinesWithoutAndWithAMaximumWidth) {
    Testing::DibCanvas canvas(400, 200);
    CMarkupDrawer drawer;
    drawer.SetCssStyles(L"");  // the plain default style: Verdana, 16 pixels
    // No maximum width: no break, one line per line feed.
    const SIZE one = drawer.PrepareOutput(canvas.Dc(), L"alpha beta gamma delta epsilon\nzeta");
    ASSERT_EQ(2u, drawer.GetLines().size());
    EXPECT_EQ(TextWidth(canvas.Dc(), 16, L"alpha beta gamma delta epsilon") + 1, one.cx);
    EXPECT_EQ(drawer.GetLines()[0].height + drawer.GetLines()[1].height + 1, one.cy);

    // A word longer than the maximum at a line start is cut between characters.
    const int narrow = TextWidth(canvas.Dc(), 16, L"WWW");
    drawer.SetMaxWidth(narrow);
    const SIZE cut = drawer.PrepareOutput(canvas.Dc(), L"WWWWWWWWW");
    ASSERT_EQ(3u, drawer.GetLines().size());
    EXPECT_LE(cut.cx, narrow + 1);
    for (const auto& line : drawer.GetLines())
        EXPECT_EQ(TextWidth(canvas.Dc(), 16, L"WWW"), line.width);

    // Breaks after "-" and ",", the rest starting the next line.
    drawer.SetMaxWidth(TextWidth(canvas.Dc(), 16, L"well-") + 2);
    drawer.PrepareOutput(canvas.Dc(), L"well-known");
    ASSERT_LE(2u, drawer.GetLines().size());
    EXPECT_EQ(TextWidth(canvas.Dc(), 16, L"well-"), drawer.GetLines()[0].width);
    drawer.SetMaxWidth(TextWidth(canvas.Dc(), 16, L"one,") + 2);
    drawer.PrepareOutput(canvas.Dc(), L"one,two");
    ASSERT_LE(2u, drawer.GetLines().size());
    EXPECT_EQ(TextWidth(canvas.Dc(), 16, L"one,"), drawer.GetLines()[0].width);
    EXPECT_TRUE(drawer.GetLines()[0].more);

    // Nothing to show: the stored text is emptied.
    drawer.SetMaxWidth(0);
    drawer.PrepareOutput(canvas.Dc(), L"");
    EXPECT_FALSE(drawer.HasText());
}

TEST(MarkupLayoutTest, TabStops) {
    Testing::DibCanvas canvas(400, 100);
    CMarkupDrawer drawer;
    SolidBitmap forty(40, 10, RGB(255, 0, 0));
    struct Case {
        const wchar_t* tab;
        int x;
    } cases[] = {{L"<t>", 64}, {L"<t=2>", 96}, {L"<t 2>", 64}, {L"<t=3>", 128}};
    for (const Case& c : cases) {
        const Drawn drawn = MeasureAndDraw(drawer, canvas, forty.Tag() + c.tab + L"<a href=x>X</a>");
        EXPECT_EQ(c.x, Mark(drawn).left) << c.tab;
    }
    // From a stop, one stop further.
    const Drawn fromStop = MeasureAndDraw(drawer, canvas, L"<t><a href=x>X</a>");
    EXPECT_EQ(32, Mark(fromStop).left);
}

TEST(MarkupLayoutTest, VerticalAlignmentBesideABigRun) {
    Testing::DibCanvas canvas(600, 200);
    CMarkupDrawer drawer;
    drawer.SetCssStyles(L"");  // the plain default style: Verdana, 16 pixels
    const Metrics big(canvas.Dc(), 40), small(canvas.Dc(), 12);
    const int ascent = std::max(big.metrics.tmAscent, small.metrics.tmAscent);
    const int height = ascent + std::max(big.metrics.tmDescent, small.metrics.tmDescent);
    struct Case {
        const wchar_t* tag;
        int top;
    } cases[] = {
        {L"top", 0},
        {L"vcenter", (height - small.metrics.tmHeight) / 2},
        {L"bottom", height - small.metrics.tmAscent},
        {L"baseline", ascent - small.metrics.tmAscent},
    };
    for (const Case& c : cases) {
        const std::wstring text = std::wstring(L"<font size=40px>Big</font><") + c.tag +
                                  L"><font size=12px><a href=x>s</a></font></" + c.tag + L">";
        const Drawn drawn = MeasureAndDraw(drawer, canvas, text);
        EXPECT_EQ(c.top, Mark(drawn).top) << c.tag;
        EXPECT_EQ(height + 1, drawn.size.cy) << c.tag;
    }
}

TEST(MarkupLayoutTest, JustifySpreadsTheBlanks) {
    Testing::DibCanvas canvas(600, 200);
    CMarkupDrawer drawer;
    drawer.SetCssStyles(L"");  // the plain default style: Verdana, 16 pixels
    const int width = TextWidth(canvas.Dc(), 16, L"aa bb cc dd ee") - 1;
    drawer.SetMaxWidth(width);
    const std::wstring words = L"aa bb <a href=x>cc</a> dd ee ff gg hh";
    const Drawn plain = MeasureAndDraw(drawer, canvas, words, width);
    const Drawn justified = MeasureAndDraw(drawer, canvas, L"<justify>" + words + L"</justify>", width);
    EXPECT_EQ(TextWidth(canvas.Dc(), 16, L"aa bb "), Mark(plain).left);
    EXPECT_GT(Mark(justified).left, Mark(plain).left);
    EXPECT_LE(Mark(justified).right, width);
}

TEST(MarkupLayoutTest, RuleAtHalfTheWidth) {
    Testing::DibCanvas canvas(300, 100, RGB(255, 255, 255));
    CMarkupDrawer drawer;
    const Drawn drawn = MeasureAndDraw(drawer, canvas, L"<hr width=50% color=#ff0000><a href=x>X</a>", 200);
    EXPECT_EQ(100, Mark(drawn).left);
    // The measured line is 1 pixel for the rule, at least 9 high.
    EXPECT_LE(9, drawer.GetLines()[0].height);
    const int middle = drawer.GetLines()[0].height / 2;
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(50, middle));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(150, middle));
}

TEST(MarkupLayoutTest, TableSizesFromSpans) {
    Testing::DibCanvas canvas(400, 300);
    CMarkupDrawer drawer;
    SolidBitmap small(20, 10, RGB(0, 0, 255)), wide(60, 10, RGB(0, 0, 255)), tall(20, 40, RGB(0, 0, 255));
    // Cells are content + 2 x padding 1: small 22 x 12, wide 62 x 12, tall 22 x 42.
    const std::wstring rows = L"<tr><td colspan=2>" + wide.Tag() + L"</td><td rowspan=2>" + tall.Tag() +
                              L"</td></tr><tr><td>" + small.Tag() + L"</td><td>" + small.Tag() + L"</td></tr>";
    // Columns 22, 22 widened by (62 - 44) / 2 each to 31, 31; then 22.
    // Rows 12 and 12 raised by (42 - 24) / 2 each to 21, 21.
    const int width = 31 + 31 + 22 + 4 * 2 + 2;
    const int height = 21 + 21 + 3 * 2 + 1;
    const SIZE plain = drawer.PrepareOutput(canvas.Dc(), L"<table cellspacing=2 cellpadding=1>" + rows + L"</table>");
    EXPECT_EQ(width + 1, plain.cx);
    EXPECT_EQ(height + 1, plain.cy);
    // A table border gives the cells a border of 1: every cell 2 larger,
    // columns 24, 24 widened to 32, 32, then 24; rows 22, 22.
    const SIZE solid =
        drawer.PrepareOutput(canvas.Dc(), L"<table cellspacing=2 cellpadding=1 border=2>" + rows + L"</table>");
    EXPECT_EQ(width + 4 + 2 * 2 + 1, solid.cx);
    EXPECT_EQ(height + 2 + 2 * 2 + 1, solid.cy);
    // A double border is 1 wide and counts 3 times on each side.
    const SIZE doubled = drawer.PrepareOutput(
        canvas.Dc(), L"<table cellspacing=2 cellpadding=1 borderstyle=double>" + rows + L"</table>");
    EXPECT_EQ(width + 4 + 2 * 3 + 1, doubled.cx);
    EXPECT_EQ(height + 2 + 2 * 3 + 1, doubled.cy);
}

TEST(MarkupLayoutTest, FreeWidthGoesToColumnsWithoutAWidth) {
    Testing::DibCanvas canvas(400, 100);
    CMarkupDrawer drawer;
    SolidBitmap small(20, 10, RGB(0, 0, 255));
    const std::wstring text = L"<table cellpadding=0><tr><td>" + small.Tag() + L"</td><td width=30><a href=x>X</a>" +
                              L"</td><td>" + small.Tag() + L"</td></tr></table>";
    const SIZE size = drawer.PrepareOutput(canvas.Dc(), text);
    RECT rect = {0, 0, size.cx - 1, size.cy};
    drawer.DrawPreparedOutput(canvas.Dc(), rect);
    const int tight = drawer.GetHotAreas().at(0).rect.left;
    EXPECT_EQ(20 + 1, tight);
    // 100 free pixels: 50 to the first column, 50 to the last; the fixed one keeps 30.
    rect.right += 100;
    drawer.DrawPreparedOutput(canvas.Dc(), rect);
    EXPECT_EQ(tight + 50, drawer.GetHotAreas().at(0).rect.left);
}

TEST(MarkupLayoutTest, MissingImagesAndCellsDrawNothing) {
    Testing::DibCanvas canvas(200, 50, RGB(255, 255, 255));
    CMarkupDrawer drawer;
    // A resource that is not there takes no space.
    EXPECT_EQ(0, Mark(MeasureAndDraw(drawer, canvas, L"<bmp idres=999><a href=x>X</a>")).left);
    EXPECT_EQ(0, Mark(MeasureAndDraw(drawer, canvas, L"<bmp file=\"C:\\no\\such.bmp\"><a href=x>X</a>")).left);
    // Index 5 of a strip of two cells: nothing drawn.
    Testing::DibCanvas clean(50, 20, RGB(255, 255, 255));
    SolidBitmap strip(20, 10, RGB(255, 0, 0));
    MeasureAndDraw(drawer, clean, strip.Tag(L"ilst", L"cx=10 cy=10 index=5"));
    for (int x = 0; x < 20; ++x)
        ASSERT_EQ(RGB(255, 255, 255), clean.Pixel(x, 5)) << x;
    MeasureAndDraw(drawer, clean, strip.Tag(L"ilst", L"cx=10 cy=10 index=1"));
    EXPECT_EQ(RGB(255, 0, 0), clean.Pixel(5, 5));
}

TEST(MarkupLayoutTest, ImageSizesInPercentAndShadowSpace) {
    Testing::DibCanvas canvas(200, 100);
    CMarkupDrawer drawer;
    SolidBitmap picture(20, 10, RGB(0, 255, 0));
    EXPECT_EQ(10, Mark(MeasureAndDraw(drawer, canvas, picture.Tag(L"bmp", L"width=50%") + L"<a href=x>X</a>")).left);
    EXPECT_EQ(24, Mark(MeasureAndDraw(drawer, canvas, picture.Tag(L"bmp", L"style=s") + L"<a href=x>X</a>")).left);
    EXPECT_EQ(24, Mark(MeasureAndDraw(drawer, canvas, picture.Tag(L"bmp", L"hotstyle=s") + L"<a href=x>X</a>")).left);
    EXPECT_EQ(33, Mark(MeasureAndDraw(drawer, canvas, picture.Tag(L"bmp", L"width=33") + L"<a href=x>X</a>")).left);
}

TEST(MarkupLayoutTest, StringResource) {
    EXPECT_EQ(L"First line", CMarkupDrawer::GetResourceStringLine(501, 0));
    EXPECT_EQ(L"Second line", CMarkupDrawer::GetResourceStringLine(501, 1));
    EXPECT_EQ(L"", CMarkupDrawer::GetResourceStringLine(501, 2));
    EXPECT_EQ(L"", CMarkupDrawer::GetResourceStringLine(0, 0));
    EXPECT_EQ(L"", CMarkupDrawer::GetResourceStringLine(999, 0));
}

TEST(MarkupLayoutTest, AnimationAdvancesAtItsSpeed) {
    Testing::DibCanvas canvas(100, 50);
    CMarkupDrawer drawer;
    SolidBitmap strip(40, 10, RGB(255, 0, 0));
    MeasureAndDraw(drawer, canvas, strip.Tag(L"ilst", L"cx=10 cy=10 index=0 speed=3"));
    ASSERT_EQ(1u, drawer.GetAnimations().size());
    EXPECT_EQ(4, drawer.GetAnimations()[0].frameCount);
    std::vector<int> frames;
    for (int tick = 1; tick <= 12; ++tick) {
        const bool changed = drawer.OnTimer();
        EXPECT_EQ(tick % 3 == 0, changed) << tick;
        frames.push_back(drawer.GetAnimations()[0].frame);
    }
    EXPECT_EQ((std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0}), frames);
}

// Records the repaint callbacks the drawer sends.
std::vector<WPARAM> g_callbacks;
LRESULT CALLBACK RecordCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 101) {
        g_callbacks.push_back(wParam);
        return 1;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(MarkupLayoutTest, HotLinkChangesAndCursor) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &RecordCallback;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MarkupLayoutTestCallback";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowW(L"MarkupLayoutTestCallback", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    Testing::DibCanvas canvas(400, 50);
    CMarkupDrawer drawer;
    drawer.SetCallbackRepaint(window, WM_USER + 101, 0);
    const Drawn drawn = MeasureAndDraw(drawer, canvas, L"<a href=one>One</a> and <a>plain</a>");
    ASSERT_EQ(2u, drawn.areas.size());
    const RECT first = drawn.areas[0].rect, second = drawn.areas[1].rect;
    g_callbacks.clear();
    EXPECT_TRUE(drawer.OnSetCursor(POINT{first.left + 1, first.top + 1}));
    EXPECT_TRUE(drawer.OnSetCursor(POINT{first.left + 2, first.top + 1}));
    EXPECT_FALSE(drawer.OnSetCursor(POINT{second.left + 1, second.top + 1}));
    EXPECT_FALSE(drawer.OnSetCursor(POINT{399, 49}));
    EXPECT_FALSE(drawer.OnSetCursor(POINT{398, 49}));
    EXPECT_EQ((std::vector<WPARAM>{0, 1, static_cast<WPARAM>(-2)}), g_callbacks);
    ::DestroyWindow(window);
}

TEST(MarkupLayoutTest, ClickOpensTheTargetThroughTheShell) {
    Testing::DibCanvas canvas(400, 50);
    CMarkupDrawer drawer;
    const Drawn drawn = MeasureAndDraw(drawer, canvas, L"<a href=\"http://example.test/x\">Go</a>");
    ShellLaunchRecorder recorder;
    drawer.OnLButtonDown(POINT{Mark(drawn).left + 1, Mark(drawn).top + 1});
    ASSERT_EQ(1u, ShellLaunchRecorder::launches.size());
    EXPECT_EQ(L"open", ShellLaunchRecorder::launches[0].verb);
    EXPECT_EQ(L"http://example.test/x", ShellLaunchRecorder::launches[0].file);
    EXPECT_EQ(SW_SHOW, ShellLaunchRecorder::launches[0].show);
    // A message link opens nothing.
    const Drawn message = MeasureAndDraw(drawer, canvas, L"<a msg=\"hello\">Hi</a>");
    drawer.OnLButtonDown(POINT{Mark(message).left + 1, Mark(message).top + 1});
    EXPECT_EQ(1u, ShellLaunchRecorder::launches.size());
}

// Stands in for a browser: notes its command line in the file the
// environment names.
TESTING_CHILD_SCENARIO(RecordCommandLine) {
    wchar_t path[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"BRUNLOW_COMMAND_RECORD", path, MAX_PATH))
        return 2;
    std::FILE* file = _wfopen(path, L"wb");
    if (!file)
        return 3;
    const std::wstring line = ::GetCommandLineW();
    std::fwrite(line.data(), sizeof(wchar_t), line.size(), file);
    std::fclose(file);
    return 0;
}

std::wstring ReadWide(const std::wstring& path) {
    std::string raw;
    if (std::FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
            raw.append(buffer, read);
        std::fclose(file);
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
}

// HKEY_CLASSES_ROOT points at a temporary key for the life of the object.
class ClassesOverride {
public:
    ClassesOverride() { ::RegOverridePredefKey(HKEY_CLASSES_ROOT, m_key.Handle()); }
    ~ClassesOverride() { ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr); }
    void SetDefault(const std::wstring& path, const std::wstring& value) {
        HKEY key = nullptr;
        ::RegCreateKeyExW(m_key.Handle(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
    }

private:
    Testing::TempRegistryKey m_key;
};

TEST(MarkupLayoutTest, HtmClassCommandWhenTheShellFails) {
    Testing::TempFolder folder;
    const std::wstring record = folder / L"command.txt";
    ::SetEnvironmentVariableW(L"BRUNLOW_COMMAND_RECORD", record.c_str());
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    ClassesOverride classes;
    classes.SetDefault(L".htm", L"TestPage");
    classes.SetDefault(L"TestPage\\shell\\open\\command",
                       L"\"" + std::wstring(program) + L"\" --child-scenario=RecordCommandLine \"%1\"");

    ShellLaunchRecorder recorder;
    ShellLaunchRecorder::instanceCodes = {2, 2};
    // A target with a double quote starts nothing.
    EXPECT_FALSE(CMarkupDrawer::OpenLink(L"page\" --evil \".htm", SW_SHOW));
    ::Sleep(200);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(record.c_str()));

    EXPECT_TRUE(CMarkupDrawer::OpenLink(L"C:\\some folder\\page one.htm", SW_SHOW));
    std::wstring line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((line = ReadWide(record)).empty() && std::chrono::steady_clock::now() < deadline)
        ::Sleep(100);
    EXPECT_NE(std::wstring::npos, line.find(L"--child-scenario=RecordCommandLine  \"C:\\some folder\\page one.htm\""))
        << std::string(line.begin(), line.end());
    ::SetEnvironmentVariableW(L"BRUNLOW_COMMAND_RECORD", nullptr);
}

TEST(MarkupLayoutTest, ModuleImagesLoadWithoutRunningTheModule) {
    Testing::TempFolder folder;
    const std::wstring record = folder / L"started.txt";
    ::SetEnvironmentVariableW(L"BRUNLOW_PROBE_RECORD", record.c_str());
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring probe = program;
    probe = probe.substr(0, probe.find_last_of(L'\\') + 1) + L"controls_test_probe.dll";

    Testing::DibCanvas canvas(100, 50, RGB(255, 255, 255));
    CMarkupDrawer drawer;
    const Drawn drawn =
        MeasureAndDraw(drawer, canvas, L"<bmp iddll=7 srcdll=\"" + probe + L"\"><a href=x>X</a>");
    EXPECT_EQ(8, Mark(drawn).left);
    EXPECT_EQ(RGB(0, 200, 0), canvas.Pixel(3, drawer.GetLines().at(0).ascent - 3));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(record.c_str()));
    EXPECT_EQ(nullptr, ::GetModuleHandleW(probe.c_str()));
    ::SetEnvironmentVariableW(L"BRUNLOW_PROBE_RECORD", nullptr);
}

TEST(MarkupLayoutTest, HugeSpansAndDeepNestingStayBounded) {
    Testing::DibCanvas canvas(300, 300);
    CMarkupDrawer drawer;
    const SIZE wide = drawer.PrepareOutput(canvas.Dc(), L"<table><tr><td colspan=2000000000>x</td></tr>"
                                                        L"<tr><td rowspan=2000000000>y</td></tr></table>");
    EXPECT_GT(wide.cx, 1);
    drawer.DrawPreparedOutput(canvas.Dc(), RECT{0, 0, 300, 300});

    std::wstring nested;
    for (int i = 0; i < 1000; ++i)
        nested += L"<table><tr><td>";
    nested += L"deep";
    for (int i = 0; i < 1000; ++i)
        nested += L"</td></tr></table>";
    const auto start = std::chrono::steady_clock::now();
    const SIZE deep = drawer.PrepareOutput(canvas.Dc(), nested);
    drawer.DrawPreparedOutput(canvas.Dc(), RECT{0, 0, deep.cx, deep.cy});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(MarkupLayoutTest, AHoverRuleThatChangesSizesDrawsWithoutCrashing) {
    Testing::DibCanvas canvas(300, 300);
    CMarkupDrawer drawer;
    drawer.SetCssStyles(L"a:hover { font-size: 40px } a:link { font-size: 10px }");
    const std::wstring text = L"<a href=x>link</a><table><tr><td>cell</td></tr></table>more\nlines";
    const Drawn drawn = MeasureAndDraw(drawer, canvas, text);
    drawer.SetHotLinkIndex(0);
    drawer.DrawPreparedOutput(canvas.Dc(), RECT{0, 0, drawn.size.cx, drawn.size.cy});
    SUCCEED();
}

}  // namespace
