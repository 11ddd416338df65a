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
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace ProgramTests;

// One tip in the program's data folder for the length of a test, as the
// tips updater would have left it; what was there before comes back after.
class TipsFile {
public:
    explicit TipsFile(const std::string& tipText) {
        const std::wstring folder = FileSystem::GetSpecialFolder(CSIDL_LOCAL_APPDATA).GetPath() + L"\\Brunlow";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        m_path = folder + L"\\TipOfTheDay.xml";
        m_existed = Testing::PathExists(m_path);
        m_previous = Testing::ReadFileBytes(m_path);
        Write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TipsOfTheDay><FileVersion version=\"1\"/><OEM id=\"0\">"
              "<Product name=\"Default\"><Tips><Tip orderId=\"1\" guid=\"end-to-end\"><TipText><en-us>" +
              tipText + "</en-us></TipText></Tip></Tips></Product></OEM></TipsOfTheDay>");
    }
    ~TipsFile() {
        if (m_existed)
            Write(m_previous);
        else
            ::DeleteFileW(m_path.c_str());
    }
    TipsFile(const TipsFile&) = delete;
    TipsFile& operator=(const TipsFile&) = delete;

private:
    void Write(const std::string& bytes) const {
        const HANDLE file = ::CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }

    std::wstring m_path;
    bool m_existed = false;
    std::string m_previous;
};

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

bool HasAbsoluteTarget(const Testing::LoopbackHttpServer& server) {
    for (const Testing::HttpRequest& request : server.Requests()) {
        if (request.target.compare(0, 7, "http://") == 0)
            return true;
    }
    return false;
}

// The main window's pictures are another process's window, which only the
// screen shows: these tests run alone.
TEST(ProgramEndToEndAlone, CatchesAVideoAddsOneByAddressAnswersASecondStartAndEndsOnTheExitEvent) {
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
    HWND window = nullptr, list = nullptr;
    ASSERT_TRUE(WaitForMainWindow(program, window, list)) << "the main window shows, the download list filling it";

    // The caught video: one row, finished, its file in the videos folder.
    std::vector<std::vector<std::wstring>> rows;
    EXPECT_TRUE(WaitFor([&] { return HasFinishedRow(rows = ReadRows(process, list, 2), L"clip.flv"); },
                        30000))
        << "the row of the caught video finishes";
    EXPECT_EQ(1u, rows.size());
    const std::wstring file = videos.Path() + L"\\clip.flv";
    EXPECT_TRUE(WaitFor([&] { return Testing::ReadFileBytes(file).size() == first.size(); }, 10000))
        << "the caught video is downloaded into the videos folder";

    // The program's own requests came to the proxy with their whole address.
    EXPECT_TRUE(WaitFor([&] { return HasAbsoluteTarget(server); }, 30000)) << "the update check went to the proxy";

    // Add URL: the dialog's edit takes the address, OK adds a second row.
    AddUrl(processId, window, server.Url(L"/second.flv"));
    EXPECT_TRUE(WaitFor([&] { return HasFinishedRow(rows = ReadRows(process, list, 2), L"second.flv"); },
                        30000))
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
    // The install folder holds what was installed, nothing a run wrote.
    for (const std::wstring& name : Testing::FileNamesIn(BuiltProgramFolder())) {
        const std::size_t dot = name.find_last_of(L'.');
        EXPECT_NE(L".log", dot == std::wstring::npos ? L"" : name.substr(dot)) << name;
    }
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

TEST(ProgramEndToEndAlone, TipsRowsTooltipSettingsAndTrayMenuReadAsWordsNotPlaceholders) {
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
    HWND window = nullptr, list = nullptr;
    ASSERT_TRUE(WaitForMainWindow(program, window, list));

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
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_finished_and_downloading_rows").empty());

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

// A cell's bounds as the program's list has them, where it draws the cell's
// text; empty when unknown.
RECT CellBounds(HANDLE process, HWND list, int row, int column) {
    return CellRect(process, list, row, column, LVIR_BOUNDS);
}

// The row and column the program's list finds at a point of its client
// area: where it draws its texts; {-1, -1} when unknown.
std::pair<int, int> HitCell(HANDLE process, HWND list, POINT point) {
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const RemoteBuffer remote(process, sizeof(hit));
    DWORD_PTR answer = 0;
    if (!remote.Write(&hit, sizeof(hit)) ||
        !::SendMessageTimeoutW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(remote.Address()),
                               SMTO_ABORTIFHUNG, 5000, &answer) ||
        !remote.Read(&hit, sizeof(hit)))
        return {-1, -1};
    return {hit.iItem, hit.iSubItem};
}

int ColumnWidth(HWND list, int column) {
    DWORD_PTR width = 0;
    ::SendMessageTimeoutW(list, LVM_GETCOLUMNWIDTH, column, 0, SMTO_ABORTIFHUNG, 5000, &width);
    return static_cast<int>(width);
}

// The visible child windows of the list of one class, in the list's client
// coordinates.
std::vector<RECT> VisibleChildren(HWND list, const wchar_t* className) {
    std::vector<RECT> rects;
    for (HWND child = ::GetWindow(list, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child) || _wcsicmp(ClassOf(child).c_str(), className) != 0)
            continue;
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&rect), 2);
        rects.push_back(rect);
    }
    return rects;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// Every row's cells lie in the columns the list's widths give (the first as
// wide as the window allows), and every shown bar and button in its row's
// progress cell.
void ExpectRowsInTheirColumns(HANDLE process, HWND list, size_t rowCount) {
    RECT window = {};
    ::GetWindowRect(list, &window);
    const int wanted = window.right - window.left - 439;
    if (wanted >= 150)
        EXPECT_EQ(ColumnWidth(list, 0), wanted) << "the first column takes the width";
    const int widths[3] = {ColumnWidth(list, 0), ColumnWidth(list, 1), ColumnWidth(list, 2)};
    std::vector<RECT> progressCells;
    for (int row = 0; row < static_cast<int>(rowCount); ++row) {
        SCOPED_TRACE(row);
        int left = widths[0];
        for (int column = 1; column < 3; ++column) {
            SCOPED_TRACE(column);
            const RECT cell = CellBounds(process, list, row, column);
            EXPECT_EQ(cell.left, left);
            EXPECT_EQ(cell.right, left + widths[column]);
            // The list draws the cell's text where it finds the cell.
            const int middle = (cell.top + cell.bottom) / 2;
            EXPECT_EQ(HitCell(process, list, POINT{left + 3, middle}), std::make_pair(row, column));
            EXPECT_EQ(HitCell(process, list, POINT{left - 3, middle}), std::make_pair(row, column - 1));
            if (column == 1)
                progressCells.push_back(cell);
            left += widths[column];
        }
    }
    const auto inSomeProgressCell = [&](const RECT& control) {
        return std::any_of(progressCells.begin(), progressCells.end(),
                           [&](const RECT& cell) { return Inside(control, cell); });
    };
    const std::vector<RECT> bars = VisibleChildren(list, L"msctls_progress32");
    const std::vector<RECT> buttons = VisibleChildren(list, L"Button");
    EXPECT_FALSE(bars.empty()) << "the running row's bar shows";
    EXPECT_FALSE(buttons.empty()) << "row buttons show";
    for (const RECT& bar : bars)
        EXPECT_TRUE(inSomeProgressCell(bar)) << "a bar at " << bar.left << "," << bar.top;
    for (const RECT& button : buttons)
        EXPECT_TRUE(inSomeProgressCell(button)) << "a button at " << button.left << "," << button.top;
}

// The row's status text shows at the start of its progress cell on the
// screen, and nothing of it in the name cell before it.
void ExpectStatusInProgressCell(HANDLE process, HWND list, int row) {
    const RECT cell = CellBounds(process, list, row, 1);
    int width = 0, height = 0;
    const std::vector<Testing::Bgra> pixels = Testing::CaptureClient(list, width, height);
    ASSERT_FALSE(pixels.empty());
    DWORD_PTR background = 0;
    ::SendMessageTimeoutW(list, LVM_GETBKCOLOR, 0, 0, SMTO_ABORTIFHUNG, 5000, &background);
    const auto marks = [&](int left, int right) {
        int count = 0;
        for (int y = std::max<int>(cell.top, 0); y < std::min<int>(cell.bottom, height); ++y)
            for (int x = std::max(left, 0); x < std::min(right, width); ++x) {
                const Testing::Bgra& p = pixels[static_cast<size_t>(y) * width + x];
                count += std::abs(p.red - GetRValue(background)) > 40 || std::abs(p.green - GetGValue(background)) > 40 ||
                         std::abs(p.blue - GetBValue(background)) > 40;
            }
        return count;
    };
    EXPECT_GT(marks(cell.left, cell.left + 80), 10) << "the status at the start of the progress cell";
    EXPECT_EQ(marks(cell.left - 100, cell.left), 0) << "nothing in the name cell's empty end";
}

// The window widened, maximised and restored while a download runs: after
// each change the list's texts, bars and buttons share the same columns.
TEST(ProgramEndToEndAlone, ListKeepsItsColumnsThroughWideningMaximisingAndRestoring) {
    ElevationTests::ServiceLock serviceLock;
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/finished.flv", Testing::HttpAnswer::Ok(std::string(20000, 'f'), "video/x-flv"));
    // Over a minute to come in: it runs through every change of size.
    server.SetAnswer("/running.flv", Testing::HttpAnswer::Slow(std::string(3000000, 'r'), 20000, 500));
    InternetProxy proxy(L"127.0.0.1:" + std::to_wstring(server.Port()));
    Testing::TempFolder videos;
    ProgramProfile profile(videos.Path());
    // The finished download keeps its convert button.
    profile.SetText(L"AutomaticConvertion", L"false");

    Program program;
    ASSERT_TRUE(program.Start());
    const HANDLE process = program.info.hProcess;
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr, list = nullptr;
    ASSERT_TRUE(WaitForMainWindow(program, window, list));
    AddUrl(processId, window, server.Url(L"/finished.flv"));
    AddUrl(processId, window, server.Url(L"/running.flv"));
    Rows rows;
    ASSERT_TRUE(WaitFor(
        [&] {
            rows = ReadRows(process, list, 3);
            const std::vector<std::wstring>* running = FindRow(rows, L"running.flv");
            return rows.size() == 2 && HasFinishedRow(rows, L"finished.flv") && running && !(*running)[2].empty();
        },
        60000))
        << "a finished row and a running one";

    RECT normal = {};
    ::GetWindowRect(window, &normal);
    const struct {
        const char* name;
        const wchar_t* picture;
        std::function<void()> change;
        std::function<bool()> done;
    } steps[] = {
        {"widened by 100", L"brunlow_list_widened",
         [&] {
             ::SetWindowPos(window, nullptr, 0, 0, normal.right - normal.left + 100, normal.bottom - normal.top,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
         },
         [&] {
             RECT now = {};
             ::GetWindowRect(window, &now);
             return now.right - now.left == normal.right - normal.left + 100;
         }},
        {"maximised", L"brunlow_list_maximised", [&] { ::PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0); },
         [&] { return ::IsZoomed(window) != FALSE; }},
        {"restored", L"brunlow_list_restored", [&] { ::PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0); },
         [&] { return !::IsZoomed(window); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        ASSERT_TRUE(WaitFor(step.done, 20000));
        ::Sleep(1500);  // the layout and the paint that follow
        rows = ReadRows(process, list, 3);
        const std::vector<std::wstring>* running = FindRow(rows, L"running.flv");
        ASSERT_TRUE(running != nullptr);
        EXPECT_TRUE((*running)[1].empty()) << "still running: a bar, no status";
        ExpectRowsInTheirColumns(process, list, rows.size());
        const int finishedRow = rows[0][0] == L"finished.flv" ? 0 : 1;
        ExpectStatusInProgressCell(process, list, finishedRow);
        // A maximised frame reaches past the screen's edges, where a screen
        // read gives nothing: its list is pictured instead.
        EXPECT_FALSE(Testing::SaveWindowPicture(::IsZoomed(window) ? list : window, step.picture).empty());
    }

    ASSERT_TRUE(SetExitEvent());
    EXPECT_EQ(0u, program.WaitForExit(60000)) << "ends with code 0";
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000));
}

// What a user sees first and once videos come: the empty list with its
// picture and a tip, then a download under way (its stop button), one
// finished and one failed (its download-again button), with the toolbar
// and the caption element above them.
TEST(ProgramEndToEndAlone, MainWindowShowsTheEmptyListThenARunningAFinishedAndAFailedRow) {
    ElevationTests::ServiceLock serviceLock;
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/finished.flv", Testing::HttpAnswer::Ok(std::string(20000, 'f'), "video/x-flv"));
    server.SetAnswer("/failed.flv", Testing::HttpAnswer::DroppedMidBody(std::string(40000, 'x'), 10000));
    // Long enough to stay under way until the picture is taken.
    server.SetAnswer("/running.flv", Testing::HttpAnswer::Slow(std::string(2000000, 'r'), 8000, 100));
    InternetProxy proxy(L"127.0.0.1:" + std::to_wstring(server.Port()));
    Testing::TempFolder videos;
    ProgramProfile profile(videos.Path());
    // The finished download waits with its convert button.
    profile.SetText(L"AutomaticConvertion", L"false");
    // A tip without a picture of its own: the empty list shows the program's.
    TipsFile tips(
        "Double-click a finished video to watch it. Right-click it to find the file, rename it or convert it.");

    Program program;
    ASSERT_TRUE(program.Start());
    const HANDLE process = program.info.hProcess;
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr, list = nullptr;
    ASSERT_TRUE(WaitForMainWindow(program, window, list));
    ::Sleep(1500);  // the empty list's tip is laid out at its first paint
    EXPECT_TRUE(ReadRows(process, list, 1).empty());
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_empty_list").empty());

    AddUrl(processId, window, server.Url(L"/finished.flv"));
    AddUrl(processId, window, server.Url(L"/failed.flv"));
    AddUrl(processId, window, server.Url(L"/running.flv"));
    Rows rows;
    EXPECT_TRUE(WaitFor(
        [&] {
            rows = ReadRows(process, list, 2);
            return rows.size() == 3 && HasFinishedRow(rows, L"finished.flv") &&
                   HasRowEnding(rows, L"failed.flv", L" failed");
        },
        30000))
        << "a finished and a failed row";
    EXPECT_TRUE(WaitFor([&] { return server.Requests().size() >= 3; }, 10000)) << "the running one is under way";
    ::Sleep(3000);  // its bar moves
    rows = ReadRows(process, list, 2);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const std::vector<std::wstring>& row) {
        return row.size() >= 2 && row[0] == L"running.flv" && row[1].empty();
    })) << "the running row shows its bar, not a status";
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_main_window_rows").empty());

    ASSERT_TRUE(SetExitEvent());
    EXPECT_EQ(0u, program.WaitForExit(60000)) << "ends with code 0";
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000));
}

}  // namespace
