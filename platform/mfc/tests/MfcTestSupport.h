#pragma once
// Helpers of the MFC tests: bounded message pumping, the seams answered by
// the tests, printers for gtest, and a look at the thread's handle maps.
#include "afxcmn.h"
#include "afxdisp.h"

#include "../AfxState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <thread>

namespace ATL {

inline void PrintTo(const CStringW& text, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(text.GetString()));
}

inline void PrintTo(const CRect& rect, std::ostream* os) {
    *os << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

}  // namespace ATL

namespace MfcTests {

// Dispatches the thread's messages until the condition holds or the time
// is up; true when the condition held.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;  // a test's stray quit must not end later loops
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpPending() {
    PumpUntil([] { return true; }, 0);
}

// Removes a WM_QUIT that a test's main window posted on its destruction.
inline void DropQuitMessage() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

inline size_t TempObjectCount() { return AfxGetThreadState().TempObjectCount(); }

// Runs a function once when the next modal loop starts (dialog shown). A
// dialog that a broken test leaves open ends after 10 s with the code -2,
// so that no test can wait for a user forever.
class ModalLoopAction {
public:
    explicit ModalLoopAction(std::function<void(CWnd&)> action) {
        Current() = std::move(action);
        m_previous = AfxSetModalLoopHook(&Run);
    }
    ~ModalLoopAction() {
        AfxSetModalLoopHook(m_previous);
        Current() = nullptr;
    }
    ModalLoopAction(const ModalLoopAction&) = delete;
    ModalLoopAction& operator=(const ModalLoopAction&) = delete;

private:
    static std::function<void(CWnd&)>& Current() {
        static std::function<void(CWnd&)> action;
        return action;
    }
    static void Run(CWnd& dialog) {
        ::SetTimer(dialog.m_hWnd, kSafetyTimer, 10000, &EndStuckDialog);
        if (Current())
            Current()(dialog);
    }
    static void CALLBACK EndStuckDialog(HWND hWnd, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(hWnd, id);
        if (CWnd* dialog = CWnd::FromHandlePermanent(hWnd)) {
            ADD_FAILURE() << "a modal dialog was still open after 10 s";
            dialog->EndModalLoop(-2);
        }
    }
    static const UINT_PTR kSafetyTimer = 0x5AFE;
    AfxModalLoopHook m_previous;
};

// Answers message boxes with a fixed button and records what they said.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(int answer) {
        State() = {answer, 0, L"", L"", 0, nullptr};
        m_previous = AfxSetMessageBoxHandler(&Answer);
    }
    ~MessageBoxAnswer() { AfxSetMessageBoxHandler(m_previous); }
    MessageBoxAnswer(const MessageBoxAnswer&) = delete;
    MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

    int Count() const { return State().count; }
    const std::wstring& Text() const { return State().text; }
    const std::wstring& Caption() const { return State().caption; }
    UINT Type() const { return State().type; }
    HWND Owner() const { return State().owner; }

private:
    struct Record {
        int answer;
        int count;
        std::wstring text;
        std::wstring caption;
        UINT type;
        HWND owner;
    };
    static Record& State() {
        static Record record;
        return record;
    }
    static int Answer(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
        Record& r = State();
        ++r.count;
        r.text = text ? text : L"";
        r.caption = caption ? caption : L"";
        r.type = type;
        r.owner = owner;
        return r.answer;
    }
    AfxMessageBoxHandler m_previous;
};

// Ends a loop that failed to end by itself, so that a broken Run cannot
// hang the test run; the test then fails on its own check.
class LoopWatchdog {
public:
    explicit LoopWatchdog(DWORD timeoutMs) : m_thread(GetCurrentThreadId()) {
        m_worker = std::thread([this, timeoutMs] {
            DWORD waited = 0;
            while (!m_done && waited < timeoutMs) {
                Sleep(20);
                waited += 20;
            }
            if (!m_done) {
                m_fired = true;
                PostThreadMessageW(m_thread, WM_QUIT, 99, 0);
            }
        });
    }
    ~LoopWatchdog() {
        m_done = true;
        m_worker.join();
    }
    bool Fired() const { return m_fired; }

private:
    DWORD m_thread;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_fired{false};
    std::thread m_worker;
};

// An application for documents made by templates: the windows of its
// documents go with it, so a test that fails half way leaves none behind.
// Its frames show without taking the activation.
class CTemplateTestApp : public CWinApp {
public:
    explicit CTemplateTestApp(LPCWSTR name) : CWinApp(name) { m_nCmdShow = SW_SHOWNOACTIVATE; }
    ~CTemplateTestApp() override {
        if (m_pMainWnd && m_pMainWnd->m_hWnd)
            m_pMainWnd->DestroyWindow();
        DropQuitMessage();
    }
    CFrameWnd* MainFrame() const { return dynamic_cast<CFrameWnd*>(m_pMainWnd); }
};

// A plain top-level window of the default class, for parents and probes.
inline RECT Area(int x = 100, int y = 100, int width = 300, int height = 200) {
    return RECT{x, y, x + width, y + height};
}

}  // namespace MfcTests
