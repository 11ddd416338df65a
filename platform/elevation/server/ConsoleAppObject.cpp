#include "ConsoleAppObject.h"

#include "CallLog.h"
#include "LastError.h"

#include <string>

namespace Vantrel {

HRESULT ConsoleAppObject::Reserved7() {
    LogCall(L"ConsoleApp.Reserved7", {});
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::SetPath(BSTR path) {
    LogCall(L"ConsoleApp.SetPath", {BstrText(path)});
    m_path = BstrText(path);
    return S_OK;
}

HRESULT ConsoleAppObject::Reserved9() {
    LogCall(L"ConsoleApp.Reserved9", {});
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::SetParameters(BSTR parameters) {
    LogCall(L"ConsoleApp.SetParameters", {BstrText(parameters)});
    m_parameters = BstrText(parameters);
    return S_OK;
}

HRESULT ConsoleAppObject::GetFlag(VARIANT_BOOL* flag) {
    LogCall(L"ConsoleApp.GetFlag", {});
    if (!flag)
        return E_POINTER;
    *flag = m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT ConsoleAppObject::GetNumber(LONG* number) {
    LogCall(L"ConsoleApp.GetNumber", {});
    if (!number)
        return E_POINTER;
    *number = 0;
    if (!m_process)
        return E_UNEXPECTED;
    // An exit code exists only once the application has ended.
    if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0)
        return E_PENDING;
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(m_process, &exitCode))
        return LastErrorResult();
    *number = static_cast<LONG>(exitCode);
    return S_OK;
}

HRESULT ConsoleAppObject::Start() {
    LogCall(L"ConsoleApp.Start", {m_path, m_parameters});
    if (m_path.empty())
        return E_INVALIDARG;
    if (m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
        return HRESULT_FROM_WIN32(ERROR_BUSY);

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
        return LastErrorResult();
    // Only the read end goes to the application; its end of file comes
    // when this side closes the write end.
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = readEnd;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring commandLine = L"\"" + m_path + L"\"";
    if (!m_parameters.empty())
        commandLine += L" " + m_parameters;
    PROCESS_INFORMATION process = {};
    const BOOL created = CreateProcessW(m_path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    const HRESULT result = created ? S_OK : LastErrorResult();
    CloseHandle(readEnd);
    if (!created) {
        CloseHandle(writeEnd);
        return result;
    }
    CloseHandle(process.hThread);
    _CloseInput();
    if (m_process)
        CloseHandle(m_process);
    m_process = process.hProcess;
    m_input = writeEnd;
    return S_OK;
}

HRESULT ConsoleAppObject::SendValue14(LONG value) {
    LogCall(L"ConsoleApp.SendValue14", {std::to_wstring(value)});
    return _WriteLine(14, value);
}

HRESULT ConsoleAppObject::SendValue15(LONG value) {
    LogCall(L"ConsoleApp.SendValue15", {std::to_wstring(value)});
    return _WriteLine(15, value);
}

HRESULT ConsoleAppObject::Signal16() {
    LogCall(L"ConsoleApp.Signal16", {});
    if (!m_input)
        return E_UNEXPECTED;
    _CloseInput();
    return S_OK;
}

ConsoleAppObject::~ConsoleAppObject() {
    // The application sees the end of its input; it is not waited for.
    _CloseInput();
    if (m_process)
        CloseHandle(m_process);
}

HRESULT ConsoleAppObject::_WriteLine(long key, LONG value) {
    if (!m_input)
        return E_UNEXPECTED;
    const std::string line = std::to_string(key) + " " + std::to_string(value) + "\n";
    DWORD written = 0;
    if (!WriteFile(m_input, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return LastErrorResult();
    return written == line.size() ? S_OK : E_FAIL;
}

void ConsoleAppObject::_CloseInput() {
    if (m_input)
        CloseHandle(m_input);
    m_input = nullptr;
}

}  // namespace Vantrel
