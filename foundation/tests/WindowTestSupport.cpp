#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace TestSupport {

namespace {

const wchar_t kClassName[] = L"BrunlowTestWindow";

ATOM RegisterTestWindowClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass = {sizeof(windowClass)};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass);
    }();
    return atom;
}

}  // namespace

TestWindow::TestWindow(Hook hook) : m_window(nullptr), m_hook(std::move(hook)) {
    RegisterTestWindowClass(&TestWindow::WindowProc);
    m_window = ::CreateWindowExW(0, kClassName, L"Test window", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), this);
    EXPECT_NE(nullptr, m_window) << "CreateWindowExW failed: " << ::GetLastError();
}

TestWindow::~TestWindow() {
    Destroy();
}

void TestWindow::Destroy() {
    if (m_window) {
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        ::DestroyWindow(m_window);
        m_window = nullptr;
    }
}

LRESULT CALLBACK TestWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    TestWindow* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->m_hook && self->m_hook(message, wParam, lParam))
        return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        PumpQueuedMessages();
        if (done())
            return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline)
            return false;
        const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20));
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

int PumpQueuedMessages() {
    int count = 0;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
        ++count;
    }
    return count;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= deadline)
            return false;
        ::Sleep(5);
    }
    return true;
}

BoundedThread::BoundedThread(std::function<void()> body) : m_body(std::move(body)), m_thread(nullptr), m_id(0) {
    m_thread = ::CreateThread(nullptr, 0, &BoundedThread::ThreadProc, this, 0, &m_id);
    EXPECT_NE(nullptr, m_thread) << "CreateThread failed: " << ::GetLastError();
}

BoundedThread::~BoundedThread() {
    if (!m_thread)
        return;
    if (!Join(10000)) {
        ADD_FAILURE() << "thread " << m_id << " did not end; terminated";
        ::TerminateThread(m_thread, 1);
    }
    ::CloseHandle(m_thread);
}

bool BoundedThread::Join(DWORD timeoutMs) {
    return m_thread && ::WaitForSingleObject(m_thread, timeoutMs) == WAIT_OBJECT_0;
}

bool BoundedThread::HasEnded() const {
    return m_thread && ::WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0;
}

DWORD WINAPI BoundedThread::ThreadProc(void* parameter) {
    static_cast<BoundedThread*>(parameter)->m_body();
    return 0;
}

}  // namespace TestSupport
