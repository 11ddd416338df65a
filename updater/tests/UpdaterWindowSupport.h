#pragma once
// Driving the Updater's progress dialog from a test: a script that runs on
// the dialog's own thread while its modal loop runs (in-process), and reads
// of its items that work across processes too.
#include "afxwin.h"
#include "mfc/ModalSeams.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace UpdaterTests {

// The texts the Updater shows when no language file has them.
const wchar_t kPreparingText[] = L"Preparing for download...";
const wchar_t kDownloadingText[] = L"Downloading components...";
const wchar_t kInstallingText[] = L"Installing components...";
const wchar_t kCompleteText[] = L"Installation complete.";

inline std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, ARRAYSIZE(text));
    return text;
}

inline std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, ARRAYSIZE(text));
    return text;
}

inline bool IsItemVisible(HWND dialog, int id) {
    return (::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

inline bool IsItemEnabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

// Presses a button of the dialog as a click would.
inline void PressButton(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// Every text the dialog items of one id are given on this thread, as they
// are set: a timer's poll under load can miss a state that lasted a moment.
class ItemTextsSet {
public:
    explicit ItemTextsSet(int id) {
        Current() = this;
        m_id = id;
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &Record, nullptr, ::GetCurrentThreadId());
    }
    ~ItemTextsSet() {
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    ItemTextsSet(const ItemTextsSet&) = delete;
    ItemTextsSet& operator=(const ItemTextsSet&) = delete;

    bool IsHooked() const { return m_hook != nullptr; }
    bool Saw(const std::wstring& text) const {
        for (const std::wstring& seen : m_texts)
            if (seen == text)
                return true;
        return false;
    }

private:
    static ItemTextsSet*& Current() {
        static ItemTextsSet* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        ItemTextsSet* self = Current();
        if (code == HC_ACTION && self) {
            const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
            if (message->message == WM_SETTEXT && message->lParam &&
                ::GetDlgCtrlID(message->hwnd) == self->m_id)
                self->m_texts.push_back(reinterpret_cast<const wchar_t*>(message->lParam));
        }
        return ::CallNextHookEx(self ? self->m_hook : nullptr, code, wParam, lParam);
    }

    int m_id = 0;
    HHOOK m_hook = nullptr;
    std::vector<std::wstring> m_texts;
};

// Calls `step` every 50 ms on the dialog's thread once the next modal loop
// starts, until it answers true. A dialog still open after `limitMs` ends
// with -2, so that no test waits for ever.
class ModalScript {
public:
    // `atStart` runs once when the loop starts, before any message the
    // worker posted is handled: the only point where the first state is sure.
    explicit ModalScript(std::function<bool(HWND)> step, DWORD limitMs = 180000,
                         std::function<void(HWND)> atStart = nullptr) {
        State() = {std::move(step), std::move(atStart), limitMs, 0, false, false};
        m_previous = AfxSetModalLoopHook(&Start);
    }
    ~ModalScript() {
        AfxSetModalLoopHook(m_previous);
        State() = {};
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

private:
    struct Script {
        std::function<bool(HWND)> step;
        std::function<void(HWND)> atStart;
        DWORD limitMs;
        DWORD start;
        bool isDone;
        bool isRunning;
    };
    static Script& State() {
        static Script script;
        return script;
    }
    static void Start(CWnd& dialog) {
        State().start = ::GetTickCount();
        if (State().atStart)
            State().atStart(dialog.m_hWnd);
        ::SetTimer(dialog.m_hWnd, kTimer, 50, &Tick);
    }
    static void CALLBACK Tick(HWND hWnd, UINT, UINT_PTR, DWORD) {
        Script& script = State();
        if (script.isRunning)
            return;  // a step that waits lets timers through
        if (::GetTickCount() - script.start > script.limitMs) {
            ::KillTimer(hWnd, kTimer);
            ADD_FAILURE() << "the dialog was still open after " << script.limitMs << " ms";
            if (CWnd* dialog = CWnd::FromHandlePermanent(hWnd))
                dialog->EndModalLoop(-2);
            return;
        }
        if (script.isDone || !script.step)
            return;
        script.isRunning = true;
        script.isDone = script.step(hWnd);
        script.isRunning = false;
    }
    static const UINT_PTR kTimer = 0x5C21;
    AfxModalLoopHook m_previous;
};

}  // namespace UpdaterTests
