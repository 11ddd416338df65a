// The real Brunlow.exe under Wine: its profile written first and removed
// after, the videos folder a temporary one, the capture engine's stand-in
// catching a loopback address when it is switched on, and WinInet's proxy
// pointed at the loopback server so that the program's own requests (the
// update check, the tips) never leave the machine. One run at a time: the
// tests move the mouse and read the screen.
#include "engine/EngineTestDoor.h"
#include "platform/elevation/tests/ElevationServiceFixture.h"
#include "shell/program/BrunlowResources.h"
#include "shell/program/tests/RealProgram.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"
#include "toolkit/QE1541.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace ProgramTests;

// More than one colour in the window's picture.
bool ShowsMoreThanOneColour(HWND window) {
    int width = 0, height = 0;
    const std::vector<Testing::Bgra> pixels = Testing::CaptureWindow(window, width, height);
    for (const Testing::Bgra& pixel : pixels) {
        if (pixel.red != pixels[0].red || pixel.green != pixels[0].green || pixel.blue != pixels[0].blue)
            return true;
    }
    return false;
}

bool HasAbsoluteTarget(const Testing::LoopbackHttpServer& server) {
    for (const Testing::HttpRequest& request : server.Requests()) {
        if (request.target.compare(0, 7, "http://") == 0)
            return true;
    }
    return false;
}

TEST(ProgramEndToEnd, CatchesAVideoAddsOneByAddressAnswersASecondStartAndEndsOnTheExitEvent) {
    // The program may start the elevation service: one user of it at a time.
    // The lock also keeps this the only test that points WinInet's proxy here.
    ElevationTests::ServiceLock serviceLock;
    Testing::LoopbackHttpServer server;
    const std::string first = std::string(20000, 'v'), second = std::string(30000, 'w');
    // Reached directly by the engine; through the proxy they would come with the whole address.
    for (const std::wstring& prefix : {std::wstring(), server.Url(L"")}) {
        const std::string text(prefix.begin(), prefix.end());
        server.SetAnswer(text + "/clip.flv", Testing::HttpAnswer::Ok(first, "video/x-flv"));
        server.SetAnswer(text + "/second.flv", Testing::HttpAnswer::Ok(second, "video/x-flv"));
    }
    InternetProxy proxy(L"127.0.0.1:" + std::to_wstring(server.Port()));
    Testing::TempFolder videos;
    ProgramProfile profile(videos.Path());

    Program program;
    ASSERT_TRUE(
        program.Start({std::wstring(KavennaEngine::TestDoor::kCaughtVariable) + L"=" + server.Url(L"/clip.flv")}));
    const HANDLE process = program.info.hProcess;
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindMainWindow(processId)) != nullptr; }, 60000))
        << "the main window shows";
    const HWND list = FindList(window);
    ASSERT_NE(nullptr, list) << "the download list fills the window";

    // The caught video: one row, finished, its file in the videos folder.
    std::vector<std::vector<std::wstring>> rows;
    EXPECT_TRUE(WaitFor([&] { return HasFinishedRow(rows = ReadRows(process, list, 2), L"clip.flv"); }, 30000))
        << "the row of the caught video finishes";
    EXPECT_EQ(1u, rows.size());
    const std::wstring file = videos.Path() + L"\\clip.flv";
    EXPECT_TRUE(WaitFor([&] { return Testing::ReadFileBytes(file).size() == first.size(); }, 10000))
        << "the caught video is downloaded into the videos folder";

    // The program's own requests came to the proxy with their whole address.
    EXPECT_TRUE(WaitFor([&] { return HasAbsoluteTarget(server); }, 30000)) << "the update check went to the proxy";

    // Add URL: the dialog's edit takes the address, OK adds a second row.
    ::PostMessageW(window, WM_COMMAND, ID_ADD_URL, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog(processId, IDC_ADD_URL_EDIT)) != nullptr; }, 20000))
        << "the Add URL dialog shows";
    const std::wstring address = server.Url(L"/second.flv");
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(::GetDlgItem(dialog, IDC_ADD_URL_EDIT), WM_SETTEXT, 0,
                                      reinterpret_cast<LPARAM>(address.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored));
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(WaitFor([&] { return HasFinishedRow(rows = ReadRows(process, list, 2), L"second.flv"); }, 30000))
        << "the address's row finishes";
    EXPECT_EQ(2u, rows.size());
    EXPECT_TRUE(WaitFor([&] { return Testing::ReadFileBytes(videos.Path() + L"\\second.flv").size() == second.size(); },
                        10000));

    ::Sleep(1000);  // the list's latest paint
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_main_window").empty());
    EXPECT_TRUE(ShowsMoreThanOneColour(window));

    Program secondStart;
    ASSERT_TRUE(secondStart.Start());
    EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), secondStart.WaitForExit(60000)) << "a second start ends";
    EXPECT_EQ(window, FindMainWindow(processId)) << "the first stays";

    // The exit event while the settings dialog is open: the dialog ends
    // first, then the program, cleanly.
    ::PostMessageW(window, WM_COMMAND, ID_SETTINGS, 0);
    EXPECT_TRUE(WaitFor([&] { return FindDialog(processId, IDOK) != nullptr; }, 20000)) << "the settings dialog shows";
    ASSERT_TRUE(SetExitEvent());
    EXPECT_EQ(0u, program.WaitForExit(60000)) << "ends with code 0";
    EXPECT_TRUE(profile.HasValue(L"CloseAction")) << "the settings were saved";
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000)) << "a service the program started ends with it";
}

// Types an address into the Add URL dialog (pictured when named) and presses OK.
void AddUrl(DWORD processId, HWND window, const std::wstring& address, const wchar_t* picture = nullptr) {
    ::PostMessageW(window, WM_COMMAND, ID_ADD_URL, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog(processId, IDC_ADD_URL_EDIT)) != nullptr; }, 20000))
        << "the Add URL dialog shows";
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(::GetDlgItem(dialog, IDC_ADD_URL_EDIT), WM_SETTEXT, 0,
                                      reinterpret_cast<LPARAM>(address.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored));
    if (picture) {
        EXPECT_TRUE(ReadsClean(ItemTextOf(dialog, IDC_ADD_URL_COMMENT)));
        ::Sleep(1000);
        EXPECT_FALSE(Testing::SaveWindowPicture(dialog, picture).empty());
    }
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 20000));
}

// The width of a tip label's text as the program draws it (Arial 16, bold).
int TipLabelTextWidth(const std::wstring& text) {
    HDC screen = ::GetDC(nullptr);
    HFONT font = ::CreateFontW(16, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    HGDIOBJ previous = ::SelectObject(screen, font);
    SIZE size = {};
    ::GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(screen, previous);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    return size.cx;
}

RECT WindowRectOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

TEST(ProgramEndToEnd, TipsRowsTooltipSettingsAndTrayMenuReadAsWordsNotPlaceholders) {
    ElevationTests::ServiceLock serviceLock;
    Testing::LoopbackHttpServer server;
    const std::string finished(3000000, 'f'), running(3000000, 'r');
    for (const std::wstring& prefix : {std::wstring(), server.Url(L"")}) {
        const std::string text(prefix.begin(), prefix.end());
        server.SetAnswer(text + "/finished.flv", Testing::HttpAnswer::Ok(finished, "video/x-flv"));
        // Over a minute and a half to come in: the row stays a downloading one meanwhile.
        server.SetAnswer(text + "/running.mp4", Testing::HttpAnswer::Slow(running, 30000, 1000));
    }
    InternetProxy proxy(L"127.0.0.1:" + std::to_wstring(server.Port()));
    Testing::TempFolder videos;
    ProgramProfile profile(videos.Path());
    // Finished downloads stay downloads: their rows show the download's status and size.
    profile.SetText(L"AutomaticConvertion", L"false");
    // The shipped tips, not a file an earlier run left in the data folder.
    const FileSystem::Folder data = FileSystem::GetSpecialFolder(CSIDL_LOCAL_APPDATA).GetSubFolder(L"Brunlow");
    ::DeleteFileW(data.GetFile(L"TipOfTheDay.xml").GetPath().c_str());

    Program program;
    ASSERT_TRUE(program.Start());
    const HANDLE process = program.info.hProcess;
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindMainWindow(processId)) != nullptr; }, 60000));
    const HWND list = FindList(window);
    ASSERT_NE(nullptr, list);

    // The empty list's tip: a limited one with a link, the link after the reminder.
    const HWND reminder = ::GetDlgItem(list, 65535), link = ::GetDlgItem(list, 1061);
    ASSERT_TRUE(WaitFor(
        [&] {
            return ::IsWindowVisible(reminder) && ::IsWindowVisible(link) && !TitleOf(reminder).empty() &&
                   !TitleOf(link).empty();
        },
        30000))
        << "the first tip shows its reminder and its link";
    const std::wstring reminderText = TitleOf(reminder);
    EXPECT_TRUE(ReadsClean(reminderText));
    const RECT reminderPlace = WindowRectOf(reminder), linkPlace = WindowRectOf(link);
    EXPECT_GE(reminderPlace.right - reminderPlace.left, TipLabelTextWidth(reminderText)) << "the reminder fits";
    EXPECT_LE(reminderPlace.right, linkPlace.left) << "the link stands after the reminder";
    ::Sleep(1000);
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_tip_panel").empty());

    // A finished row and a downloading one.
    AddUrl(processId, window, server.Url(L"/finished.flv"), L"brunlow_add_url");
    Rows rows;
    ASSERT_TRUE(WaitFor([&] { return HasFinishedRow(rows = ReadRows(process, list, 3), L"finished.flv"); }, 60000));
    AddUrl(processId, window, server.Url(L"/running.mp4"));
    const std::vector<std::wstring>* pRunning = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            rows = ReadRows(process, list, 3);
            pRunning = FindRow(rows, L"running.mp4");
            return pRunning && !(*pRunning)[2].empty();
        },
        60000))
        << "the second row shows how much came in";
    const std::vector<std::wstring>* pFinished = FindRow(rows, L"finished.flv");
    ASSERT_NE(nullptr, pFinished);
    for (const std::vector<std::wstring>& row : rows) {
        for (const std::wstring& cell : row)
            EXPECT_TRUE(ReadsClean(cell));
    }
    EXPECT_EQ(L"Download finished", (*pFinished)[1]);
    EXPECT_EQ(L"2.9 MB", (*pFinished)[2]);
    const std::wstring& progress = (*pRunning)[2];
    const std::wstring total = L" of 2.9 MB";
    EXPECT_TRUE(progress.size() > total.size() &&
                progress.compare(progress.size() - total.size(), total.size(), total) == 0)
        << "\"" << progress << "\"";
    ::Sleep(1000);
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_main_window_rows").empty());

    // The downloading row's tooltip, with the mouse on its name.
    int runningIndex = 0;
    while (rows[runningIndex][0] != L"running.mp4")
        ++runningIndex;
    const RECT cell = CellRect(process, list, runningIndex, 0);
    POINT point = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ::ClientToScreen(list, &point);
    HWND tip = nullptr;
    int wiggle = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            // The mouse rests on the cell, moving a pixel now and then as a hand does.
            POINT at = {point.x + (++wiggle % 2), point.y};
            ::SetCursorPos(at.x, at.y);
            ::ScreenToClient(list, &at);
            ::PostMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
            ::Sleep(200);
            tip = FindProcessWindow(processId, [](HWND w) { return ClassOf(w) == L"CMarkupToolTip"; }, false);
            return tip && !TitleOf(tip).empty();
        },
        20000))
        << "the row's tooltip gets its text";
    const std::wstring tooltip = TitleOf(tip);
    EXPECT_TRUE(ReadsClean(tooltip));
    EXPECT_EQ(0u, tooltip.find(L"Downloading as mp4\n")) << "\"" << tooltip << "\"";
    ::SetCursorPos(0, 0);

    // The settings dialog, labelled from the language.
    ::PostMessageW(window, WM_COMMAND, ID_SETTINGS, 0);
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = FindDialog(processId, IDC_SETTINGS_HEADER)) != nullptr; }, 20000));
    for (int id : {IDC_SETTINGS_HEADER, IDC_SETTINGS_FOOTER, IDC_SETTINGS_PASSIVE, IDC_SETTINGS_LANGUAGE_LABEL}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(ReadsClean(ItemTextOf(settings, id)));
        EXPECT_FALSE(ItemTextOf(settings, id).empty());
    }
    ::Sleep(1000);
    EXPECT_FALSE(Testing::SaveWindowPicture(settings, L"brunlow_settings").empty());
    ::PostMessageW(settings, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 20000));

    // The tray icon's menu, as a right click on the icon opens it.
    std::vector<HWND> hidden;
    FindProcessWindow(processId, [&](HWND w) {
        if (!::IsWindowVisible(w) && TitleOf(w).empty() && ClassOf(w) != L"CMarkupToolTip")
            hidden.push_back(w);
        return false;
    }, false);
    for (HWND candidate : hidden)
        ::PostMessageW(candidate, QE1541::CallbackMessage, IDR_TRAYICON, WM_RBUTTONUP);
    HWND menu = nullptr;
    const auto isMenu = [](HWND w) { return ClassOf(w) == L"#32768"; };
    ASSERT_TRUE(WaitFor([&] { return (menu = FindProcessWindow(processId, isMenu)) != nullptr; }, 20000))
        << "the tray menu shows";
    ::Sleep(1000);
    EXPECT_FALSE(Testing::SaveWindowPicture(menu, L"brunlow_tray_menu").empty());
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(menu); }, 20000));

    ASSERT_TRUE(SetExitEvent());
    EXPECT_EQ(0u, program.WaitForExit(60000)) << "ends with code 0";
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000));
}

}  // namespace
