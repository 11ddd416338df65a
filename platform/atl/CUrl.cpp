#include "atlutil.h"

#include <cwctype>

namespace ATL {

namespace {

struct SchemeInfo {
    const wchar_t* name;
    ATL_URL_SCHEME kind;
    ATL_URL_PORT defaultPort;
};

const SchemeInfo kSchemes[] = {
    {L"ftp", ATL_URL_SCHEME_FTP, 21},       {L"gopher", ATL_URL_SCHEME_GOPHER, 70},
    {L"http", ATL_URL_SCHEME_HTTP, 80},     {L"https", ATL_URL_SCHEME_HTTPS, 443},
    {L"file", ATL_URL_SCHEME_FILE, 0},      {L"news", ATL_URL_SCHEME_NEWS, 0},
    {L"mailto", ATL_URL_SCHEME_MAILTO, 0},  {L"socks", ATL_URL_SCHEME_SOCKS, 1080},
};

bool IsSchemeCharacter(wchar_t ch, bool first) {
    if (ch < 0x80 && std::iswalpha(ch))
        return true;
    return !first && ((ch < 0x80 && std::iswdigit(ch)) || ch == L'+' || ch == L'-' || ch == L'.');
}

}  // namespace

void CUrl::Clear() { *this = CUrl(); }

BOOL CUrl::CrackUrl(LPCWSTR url, DWORD /*flags*/) {
    Clear();
    if (!url)
        return FALSE;
    const std::wstring text(url);

    size_t colon = text.find(L':');
    if (colon == std::wstring::npos || colon == 0 || colon > ATL_URL_MAX_SCHEME_LENGTH)
        return FALSE;
    for (size_t i = 0; i < colon; ++i) {
        if (!IsSchemeCharacter(text[i], i == 0))
            return FALSE;
    }
    std::wstring scheme = text.substr(0, colon);
    ATL_URL_SCHEME kind = ATL_URL_SCHEME_UNKNOWN;
    ATL_URL_PORT port = ATL_URL_INVALID_PORT_NUMBER;
    for (const SchemeInfo& info : kSchemes) {
        if (_wcsicmp(info.name, scheme.c_str()) == 0) {
            kind = info.kind;
            port = info.defaultPort;
        }
    }

    size_t rest = colon + 1;
    std::wstring host, user, password;
    if (text.compare(rest, 2, L"//") == 0) {
        size_t authorityStart = rest + 2;
        size_t authorityEnd = text.find_first_of(L"/?#", authorityStart);
        if (authorityEnd == std::wstring::npos)
            authorityEnd = text.size();
        std::wstring authority = text.substr(authorityStart, authorityEnd - authorityStart);
        rest = authorityEnd;

        size_t at = authority.rfind(L'@');
        if (at != std::wstring::npos) {
            std::wstring credentials = authority.substr(0, at);
            authority.erase(0, at + 1);
            size_t separator = credentials.find(L':');
            user = credentials.substr(0, separator);
            if (separator != std::wstring::npos)
                password = credentials.substr(separator + 1);
        }
        size_t portSeparator = authority.rfind(L':');
        if (portSeparator != std::wstring::npos) {
            std::wstring digits = authority.substr(portSeparator + 1);
            authority.erase(portSeparator);
            if (digits.empty() || digits.size() > 5)
                return FALSE;
            unsigned long value = 0;
            for (wchar_t ch : digits) {
                if (ch < L'0' || ch > L'9')
                    return FALSE;
                value = value * 10 + static_cast<unsigned long>(ch - L'0');
            }
            if (value == 0 || value > 65535)
                return FALSE;
            port = static_cast<ATL_URL_PORT>(value);
        }
        host = authority;
        if (host.empty() && kind != ATL_URL_SCHEME_FILE)
            return FALSE;
    }

    size_t extraStart = text.find_first_of(L"?#", rest);
    std::wstring path = text.substr(rest, extraStart == std::wstring::npos ? std::wstring::npos : extraStart - rest);
    std::wstring extra = extraStart == std::wstring::npos ? std::wstring() : text.substr(extraStart);

    if (host.size() > ATL_URL_MAX_HOST_NAME_LENGTH || user.size() > ATL_URL_MAX_USER_NAME_LENGTH ||
        password.size() > ATL_URL_MAX_PASSWORD_LENGTH || path.size() > ATL_URL_MAX_PATH_LENGTH ||
        extra.size() > ATL_URL_MAX_PATH_LENGTH)
        return FALSE;

    m_scheme = scheme;
    m_schemeKind = kind;
    m_host = host;
    m_port = port;
    m_user = user;
    m_password = password;
    m_path = path;
    m_extra = extra;
    return TRUE;
}

}  // namespace ATL
