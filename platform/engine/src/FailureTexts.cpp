#include "FailureTexts.h"

#include "FileNames.h"

#include <wininet.h>

namespace KavennaEngine {

namespace {

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring WithReason(std::wstring text, DWORD error) {
    const std::wstring reason = SystemMessage(error);
    if (!reason.empty())
        text += L" (" + reason + L")";
    else if (error != 0)
        text += L" (error " + std::to_wstring(error) + L")";
    return text + L".";
}

}  // namespace

std::wstring SystemMessage(DWORD error) {
    wchar_t* pText = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&pText), 0, nullptr);
    std::wstring text(pText ? pText : L"", length);
    if (pText)
        ::LocalFree(pText);
    const std::size_t end = text.find_last_not_of(L"\r\n .");
    text.resize(end == std::wstring::npos ? 0 : end + 1);
    return text;
}

std::wstring NetworkFailureText(DWORD error) {
    switch (error) {
    case ERROR_INTERNET_TIMEOUT:
    case WSAETIMEDOUT:
        return L"The server stopped answering.";
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return L"The server's name could not be found.";
    case ERROR_INTERNET_CANNOT_CONNECT:
    case WSAECONNREFUSED:
        return L"The server could not be reached.";
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_INTERNET_DISCONNECTED:
    case WSAECONNRESET:
    case WSAECONNABORTED:
        return L"The connection to the server was lost.";
    case ERROR_INTERNET_INVALID_URL:
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        return L"The video's address is not valid.";
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
    case ERROR_HTTP_INVALID_HEADER:
        return L"The server's answer could not be understood.";
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        return L"The server's secure connection could not be trusted.";
    default:
        return L"The download failed (error " + std::to_wstring(error) + L").";
    }
}

std::wstring CutShortText(std::uint64_t received, std::uint64_t announced) {
    return L"The connection ended early: " + GroupedNumber(received) + L" of " + GroupedNumber(announced) +
           L" bytes arrived.";
}

std::wstring StalledText(std::uint64_t received, std::uint64_t announced) {
    if (announced == 0)
        return L"The server stopped sending after " + GroupedNumber(received) + L" bytes.";
    return L"The server stopped sending after " + GroupedNumber(received) + L" of " + GroupedNumber(announced) +
           L" bytes.";
}

std::wstring EmptyBodyText() {
    return L"The server sent an empty file.";
}

std::wstring TooManyRedirectsText(int redirects) {
    return L"Too many redirects (more than " + std::to_wstring(redirects) +
           L"): the server keeps sending the download on to another address.";
}

std::wstring StatusText(DWORD status) {
    return L"The server answered " + std::to_wstring(status) + L".";
}

std::wstring WriteFailureText(DWORD error, const std::wstring& folder) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
        return L"The disk is full: the video does not fit into " + Quoted(folder) + L".";
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT)
        return L"The video cannot be saved: writing into " + Quoted(folder) + L" is not allowed.";
    return WithReason(L"The video could not be written into " + Quoted(folder), error);
}

std::wstring FolderFailureText(DWORD error, const std::wstring& folder) {
    return WithReason(L"The folder " + Quoted(folder) + L" could not be created", error);
}

std::wstring FolderTooLongText(const std::wstring& folder) {
    return L"The folder's path is too long for a file name: " + Quoted(folder) + L".";
}

}  // namespace KavennaEngine
