// Not a test: how the download list keeps up with the engine. Items come from
// the capture engine stand-in's test door (no network). Each step runs
// through the view (events posted to its queue and drained by its timer) and,
// as the baseline, as the same visible work on a bare report list view in
// plain Win32 (a progress-bar and a button child per row):
//   (a) rows added through Started events      goal <= 2 x baseline
//   (b) 1,000 rows moved to the top by duplicates goal <= 2 x
//   (c) one page painted, median of 20          goal <= 3 x
//   (d) one progress event per row              goal <= 2 x
// and the 95th-percentile delay of a probe message posted to the GUI thread
// while four engine threads send 1,000 progress events a second (goal < 50 ms).
//
//   list_benchmark.exe [items (10000)] [seconds of the probe run (10)]
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"

#include "../tests/ListHost.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace KavennaEngine;

namespace {

class BenchView : public CBrunlowView {
    DECLARE_DYNCREATE(BenchView)
};
IMPLEMENT_DYNCREATE(BenchView, CBrunlowView)

const UINT kProbeMessage = WM_APP + 77;

double Clock() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        ::QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER value;
    ::QueryPerformanceCounter(&value);
    return value.QuadPart * 1000.0 / frequency;
}

// Milliseconds since the first call: small enough to travel in a message.
double Now() {
    static const double base = Clock();
    return Clock() - base;
}

// Probe delays in milliseconds, filled while messages are served.
std::vector<double> g_probeDelays;

void ServeMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == kProbeMessage) {
            // The post time travels in the parameters as microseconds.
            g_probeDelays.push_back(Now() - static_cast<double>(msg.lParam) / 1000.0);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Serves messages until `done`; false after ten minutes.
bool ServeUntil(const std::function<bool()>& done) {
    const double start = Now();
    while (!done()) {
        if (Now() - start > 600000)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        ServeMessages();
    }
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double Repaint(HWND window) {
    const double start = Now();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::GdiFlush();
    return Now() - start;
}

// The baseline: a report list view with a bar and a button per row.
class BareList {
public:
    explicit BareList(HWND parent, const RECT& rect) {
        m_list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER,
                                   rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                   nullptr, nullptr, nullptr);
        const int widths[] = {310, 205, 185};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW column = {};
            column.mask = LVCF_WIDTH;
            column.cx = widths[i];
            ListView_InsertColumn(m_list, i, &column);
        }
        m_images = ImageList_Create(48, 48, ILC_COLOR32, 1, 1);
        ListView_SetImageList(m_list, m_images, LVSIL_SMALL);
    }
    ~BareList() {
        for (const Row& row : m_rows) {
            ::DestroyWindow(row.bar);
            ::DestroyWindow(row.button);
        }
        ::DestroyWindow(m_list);
        ImageList_Destroy(m_images);
    }
    HWND Window() const { return m_list; }
    size_t Size() const { return m_rows.size(); }

    void InsertAtTop(const std::wstring& name) {
        Insert(0, name);
        Row row;
        RECT cell = Cell(0);
        row.bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH,
                                    cell.left, cell.top + 10, cell.right - cell.left - 30, cell.bottom - cell.top - 20,
                                    m_list, nullptr, nullptr, nullptr);
        ::SendMessageW(row.bar, PBM_SETRANGE32, 0, 100);
        row.button = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, cell.right - 29,
                                       cell.bottom - 39, 29, 29, m_list, nullptr, nullptr, nullptr);
        m_rows.insert(m_rows.begin(), row);
    }
    void MoveToTop(int index, const std::wstring& name) {
        ListView_DeleteItem(m_list, index);
        Insert(0, name);
        const Row row = m_rows[index];
        m_rows.erase(m_rows.begin() + index);
        m_rows.insert(m_rows.begin(), row);
    }
    // The painter's work: every row's controls to its cell, shown or hidden.
    void PlaceControls() {
        for (size_t i = 0; i < m_rows.size(); ++i) {
            const RECT cell = Cell(static_cast<int>(i));
            const bool above = cell.top + 10 < 0;
            ::ShowWindow(m_rows[i].bar, above ? SW_HIDE : SW_SHOWNA);
            ::ShowWindow(m_rows[i].button, above ? SW_HIDE : SW_SHOWNA);
            if (!above) {
                ::SetWindowPos(m_rows[i].bar, nullptr, cell.left, cell.top + 10, cell.right - cell.left - 30,
                               cell.bottom - cell.top - 20, SWP_NOZORDER | SWP_NOACTIVATE);
                ::SetWindowPos(m_rows[i].button, nullptr, cell.right - 29, cell.bottom - 39, 29, 29,
                               SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    void Progress(int index, int percent, const std::wstring& info) {
        ListView_SetItemText(m_list, index, 2, const_cast<wchar_t*>(info.c_str()));
        ::SendMessageW(m_rows[index].bar, PBM_SETPOS, percent, 0);
        ::InvalidateRect(m_rows[index].bar, nullptr, FALSE);
    }

private:
    struct Row {
        HWND bar = nullptr;
        HWND button = nullptr;
    };
    void Insert(int index, const std::wstring& name) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(name.c_str());
        ListView_InsertItem(m_list, &item);
    }
    RECT Cell(int index) const {
        RECT cell = {};
        ListView_GetSubItemRect(m_list, index, 1, LVIR_BOUNDS, &cell);
        return cell;
    }

    HWND m_list = nullptr;
    HIMAGELIST m_images = nullptr;
    std::vector<Row> m_rows;
};

void PrintStep(const char* name, double view, double bare, double goal) {
    const double ratio = bare > 0 ? view / bare : 0;
    std::printf("%-44s view %10.1f ms  bare %10.1f ms  ratio %6.2f  (goal <= %.0f)%s\n", name, view, bare, ratio, goal,
                ratio <= goal ? "" : "  MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    const int items = argc > 1 ? std::max(10, std::atoi(argv[1])) : 10000;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    DownloadsTests::ListHost host(RUNTIME_CLASS(BenchView), false, false, CSize(900, 700));
    CBrunlowView* view = host.view;
    TestDoor::ITestDoor* door = host.engine.door;
    if (!view || !door) {
        std::printf("the list or the engine's stand-in could not be made\n");
        return 1;
    }
    host.frame->ShowWindow(SW_SHOWNOACTIVATE);
    const boost::shared_ptr<CBrunlowView::Queue> queue = view->GetQueue();
    const auto drained = [&] { return queue->GetNextInterval() < 0; };
    std::printf("%d items, probe run %d s\n", items, seconds);

    std::vector<DownloadItemHandle> handles;
    handles.reserve(items);
    for (int i = 0; i < items; ++i) {
        TestDoor::ItemSpec spec;
        spec.displayName = L"clip " + std::to_wstring(i) + L".flv";
        spec.mediaKind = 1;
        spec.total = 1000000;
        handles.push_back(door->AddItem(spec));
    }

    // (a) Rows added.
    double start = Now();
    for (const DownloadItemHandle& item : handles)
        view->OnItemStarted(item);
    const bool added = ServeUntil([&] { return drained() && view->GetRowRecords().size() == handles.size(); });
    const double viewAdd = Now() - start;

    CRect client;
    view->GetClientRect(&client);
    BareList bare(host.frame->m_hWnd, client);
    // Each list works shown, in the same place, while the other is hidden.
    const auto showBare = [&](bool shown) {
        view->ShowWindow(shown ? SW_HIDE : SW_SHOWNA);
        ::ShowWindow(bare.Window(), shown ? SW_SHOWNA : SW_HIDE);
        ServeMessages();
    };
    showBare(true);
    start = Now();
    for (int i = 0; i < items; ++i)
        bare.InsertAtTop(L"clip " + std::to_wstring(i) + L".flv");
    const double bareAdd = Now() - start;
    showBare(false);
    PrintStep(added ? "(a) rows added" : "(a) rows added (NOT ALL DRAINED)", viewAdd, bareAdd, 2);

    // (b) Rows moved to the top by duplicate reports: each from the bottom.
    const int moves = std::min(1000, items);
    start = Now();
    for (int i = 0; i < moves; ++i)
        view->OnDuplicateFound(handles[i], DownloadItemHandle());
    ServeUntil(drained);
    const double viewMove = Now() - start;
    showBare(true);
    start = Now();
    for (int i = 0; i < moves; ++i)
        bare.MoveToTop(items - 1, L"clip " + std::to_wstring(i) + L".flv");
    const double bareMove = Now() - start;
    showBare(false);
    PrintStep(("(b) " + std::to_string(moves) + " rows moved to the top").c_str(), viewMove, bareMove, 2);

    // (c) One page painted.
    std::vector<double> viewPaints, barePaints;
    for (int i = 0; i < 20; ++i) {
        viewPaints.push_back(Repaint(view->m_hWnd));
        ServeMessages();
    }
    showBare(true);
    for (int i = 0; i < 20; ++i) {
        const double placeStart = Now();
        bare.PlaceControls();
        const double place = Now() - placeStart;
        barePaints.push_back(place + Repaint(bare.Window()));
        ServeMessages();
    }
    showBare(false);
    PrintStep("(c) one page painted (median of 20)", Median(viewPaints), Median(barePaints), 3);

    // (d) One progress event per row.
    for (const DownloadItemHandle& item : handles) {
        TestDoor::ItemSpec spec;
        spec.mediaKind = 1;
        spec.total = 1000000;
        spec.received = 500000;
        door->ChangeItem(item, spec);
    }
    start = Now();
    for (const DownloadItemHandle& item : handles)
        view->OnItemProgress(item);
    ServeUntil(drained);
    const double viewProgress = Now() - start;
    showBare(true);
    start = Now();
    for (int i = 0; i < items; ++i)
        bare.Progress(i, 50, L"500 KB of 977 KB");
    const double bareProgress = Now() - start;
    showBare(false);
    PrintStep("(d) one progress event per row", viewProgress, bareProgress, 2);

    // Probe delay under 1,000 progress events a second from four engine threads.
    std::atomic<bool> stop{false};
    std::vector<std::thread> engineThreads;
    for (int t = 0; t < 4; ++t) {
        engineThreads.emplace_back([&, t] {
            unsigned step = 0;
            while (!stop) {
                for (int i = 0; i < 25 && !stop; ++i) {
                    const DownloadItemHandle& item = handles[(t * 25 + i + step * 100) % handles.size()];
                    view->OnItemProgress(item);
                }
                ++step;
                ::Sleep(100);  // 25 events per 100 ms per thread
            }
        });
    }
    g_probeDelays.clear();
    const double runEnd = Now() + seconds * 1000.0;
    double nextProbe = Now();
    while (Now() < runEnd) {
        if (Now() >= nextProbe) {
            ::PostMessageW(host.frame->m_hWnd, kProbeMessage, 0, static_cast<LPARAM>(Now() * 1000.0));
            nextProbe += 20;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
        ServeMessages();
    }
    stop = true;
    for (std::thread& thread : engineThreads)
        thread.join();
    ServeUntil(drained);
    std::vector<double> delays = g_probeDelays;
    std::sort(delays.begin(), delays.end());
    const double p95 = delays.empty() ? 0 : delays[std::min(delays.size() - 1, delays.size() * 95 / 100)];
    std::printf("%-44s %zu probes, 95th percentile %.1f ms  (goal < 50 ms)%s\n", "probe delay under 1,000 events/s",
                delays.size(), p95, p95 < 50 ? "" : "  MISSED");
    return 0;
}
