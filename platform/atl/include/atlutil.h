#pragma once
// ATL's URL splitter. CrackUrl takes scheme://[user[:password]@]host[:port]
// followed by the path and the extra information (the part from "?" or "#").
#include <windows.h>

#include <string>

namespace ATL {

enum ATL_URL_SCHEME {
    ATL_URL_SCHEME_UNKNOWN = -1,
    ATL_URL_SCHEME_FTP = 0,
    ATL_URL_SCHEME_GOPHER = 1,
    ATL_URL_SCHEME_HTTP = 2,
    ATL_URL_SCHEME_HTTPS = 3,
    ATL_URL_SCHEME_FILE = 4,
    ATL_URL_SCHEME_NEWS = 5,
    ATL_URL_SCHEME_MAILTO = 6,
    ATL_URL_SCHEME_SOCKS = 7,
};

typedef WORD ATL_URL_PORT;
const ATL_URL_PORT ATL_URL_INVALID_PORT_NUMBER = 0;

const DWORD ATL_URL_MAX_SCHEME_LENGTH = 32;
const DWORD ATL_URL_MAX_HOST_NAME_LENGTH = 255;
const DWORD ATL_URL_MAX_USER_NAME_LENGTH = 255;
const DWORD ATL_URL_MAX_PASSWORD_LENGTH = 255;
const DWORD ATL_URL_MAX_PATH_LENGTH = 2048;

class CUrl {
public:
    // False, with every part emptied, when the text is no URL this class can
    // split: no scheme, an empty host after "//", a port that is not a
    // number from 1 to 65535, or a part longer than its limit. Flags are
    // accepted for compatibility; no decoding or escaping is done.
    BOOL CrackUrl(LPCWSTR url, DWORD flags = 0);

    LPCWSTR GetSchemeName() const { return m_scheme.c_str(); }
    ATL_URL_SCHEME GetScheme() const { return m_schemeKind; }
    LPCWSTR GetHostName() const { return m_host.c_str(); }
    DWORD GetHostNameLength() const { return static_cast<DWORD>(m_host.size()); }
    ATL_URL_PORT GetPortNumber() const { return m_port; }
    LPCWSTR GetUserName() const { return m_user.c_str(); }
    DWORD GetUserNameLength() const { return static_cast<DWORD>(m_user.size()); }
    LPCWSTR GetPassword() const { return m_password.c_str(); }
    DWORD GetPasswordLength() const { return static_cast<DWORD>(m_password.size()); }
    LPCWSTR GetUrlPath() const { return m_path.c_str(); }
    DWORD GetUrlPathLength() const { return static_cast<DWORD>(m_path.size()); }
    LPCWSTR GetExtraInfo() const { return m_extra.c_str(); }
    DWORD GetExtraInfoLength() const { return static_cast<DWORD>(m_extra.size()); }

private:
    void Clear();

    std::wstring m_scheme;
    ATL_URL_SCHEME m_schemeKind = ATL_URL_SCHEME_UNKNOWN;
    std::wstring m_host;
    ATL_URL_PORT m_port = ATL_URL_INVALID_PORT_NUMBER;
    std::wstring m_user;
    std::wstring m_password;
    std::wstring m_path;
    std::wstring m_extra;
};

}  // namespace ATL

using ATL::CUrl;
