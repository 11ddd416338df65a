// The drawer's links and animations: the hand cursor, the hot link under
// the mouse, opening a clicked link, and the image-list animation ticks.
#include "controls/markup/MarkupDrawer.h"

#include "foundation/system/ShellExecute.h"

#include <memory>

namespace {

// The default value of a key below HKEY_CLASSES_ROOT; false when the key or
// the value is missing or not a string.
bool ReadClassesValue(const std::wstring& path, std::wstring& value) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    bool read = ::RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
                (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0;
    if (read) {
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        read = ::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &size) ==
               ERROR_SUCCESS;
        buffer.resize(std::min<std::size_t>(size / sizeof(wchar_t), buffer.size()));
        value = buffer.c_str();
    }
    ::RegCloseKey(key);
    return read && !value.empty();
}

HCURSOR LoadHandCursor(bool& owned) {
    owned = false;
    if (HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND))
        return hand;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    // Only the cursor resource is wanted: the module's code never runs.
    HMODULE module = ::LoadLibraryExW((std::wstring(folder) + L"\\winhlp32.exe").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return nullptr;
    HCURSOR copy = nullptr;
    if (HCURSOR cursor = ::LoadCursorW(module, MAKEINTRESOURCEW(106)))
        copy = reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor)));
    ::FreeLibrary(module);
    owned = copy != nullptr;
    return copy;
}

}  // namespace

void CMarkupDrawer::LoadCursors() {
    m_handCursor = LoadHandCursor(m_ownsHandCursor);
}

void CMarkupDrawer::FreeCursors() {
    if (m_ownsHandCursor && m_handCursor)
        ::DestroyCursor(m_handCursor);
    m_handCursor = nullptr;
    m_ownsHandCursor = false;
}

const CMarkupDrawer::HotArea* CMarkupDrawer::FindHotArea(POINT point) const {
    for (const HotArea& area : m_hotAreas) {
        if (point.x >= area.rect.left && point.x <= area.rect.right && point.y >= area.rect.top &&
            point.y <= area.rect.bottom)
            return &area;
    }
    return nullptr;
}

void CMarkupDrawer::SetHotLink(int index) {
    if (GetHotLinkIndex() == index)
        return;
    SetHotLinkIndex(index);
    if (m_callbackWindow)
        ::SendMessageW(m_callbackWindow, m_callbackMessage, static_cast<WPARAM>(index), m_callbackParameter);
}

bool CMarkupDrawer::OnSetCursor(POINT point) {
    const HotArea* area = FindHotArea(point);
    if (!area) {
        SetHotLink(kNoHotLink);
        return false;
    }
    SetHotLink(area->linkIndex);
    if (area->target.empty())
        return false;
    if (m_handCursor)
        ::SetCursor(m_handCursor);
    return true;
}

void CMarkupDrawer::OnLButtonDown(POINT point) {
    const HotArea* area = FindHotArea(point);
    if (!area || area->kind != LinkUrl || area->target.empty())
        return;
    // Reloaded as the click's own feedback; the module's code never runs.
    FreeCursors();
    LoadCursors();
    const std::wstring target = area->target;
    OpenLink(target, SW_SHOW);
}

bool CMarkupDrawer::OpenLink(const std::wstring& target, int show) {
    if (target.empty())
        return false;
    if (System::ShellExecuteInstance(L"open", target, L"", show) > 32)
        return true;
    // A quote would end the quoted target and let the rest become switches.
    if (target.find(L'"') != std::wstring::npos)
        return false;
    std::wstring className, command;
    if (!ReadClassesValue(L".htm", className) || !ReadClassesValue(className + L"\\shell\\open\\command", command))
        return false;
    std::size_t cut = command.find(L"\"%1\"");
    if (cut == std::wstring::npos)
        cut = command.find(L"%1");
    if (cut != std::wstring::npos)
        command.erase(cut);
    command += L" \"" + target + L"\"";

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool CMarkupDrawer::OnTimer() {
    bool changed = false;
    for (Animation& animation : m_animations) {
        if (animation.speed <= 0 || ++animation.ticks < animation.speed)
            continue;
        animation.ticks = 0;
        const int next = animation.frame + 1 < animation.frameCount ? animation.frame + 1 : 0;
        changed = changed || next != animation.frame;
        animation.frame = next;
    }
    return changed;
}

void CMarkupDrawer::SetCallbackRepaint(HWND window, UINT message, LPARAM parameter) {
    m_callbackWindow = window;
    m_callbackMessage = window ? message : 0;
    m_callbackParameter = window ? parameter : 0;
}

std::wstring CMarkupDrawer::GetResourceStringLine(UINT id, int line) {
    if (id == 0 || line < 0)
        return std::wstring();
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource)
        return std::wstring();
    const std::wstring text(resource, static_cast<std::size_t>(length));
    std::size_t start = 0;
    for (int i = 0; i < line; ++i) {
        start = text.find(L'\n', start);
        if (start == std::wstring::npos)
            return std::wstring();
        ++start;
    }
    const std::size_t end = text.find(L'\n', start);
    return text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}
