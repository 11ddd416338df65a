#include "foundation/filesystem/XmlFileCheck.h"

#include "foundation/filesystem/XmlFile.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <vector>

namespace FileSystem {

namespace {

bool IsBlank(BYTE c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The encoding named by the XML declaration at the start, in lower case;
// empty when there is no declaration or it names none.
std::string DeclaredEncoding(const std::vector<BYTE>& bytes, size_t start) {
    const std::string head(bytes.begin() + start, bytes.begin() + std::min(bytes.size(), start + 256));
    if (head.compare(0, 5, "<?xml") != 0)
        return std::string();
    const size_t end = head.find("?>");
    const size_t at = head.find("encoding");
    if (at == std::string::npos || (end != std::string::npos && at > end))
        return std::string();
    const size_t quote = head.find_first_of("\"'", at);
    if (quote == std::string::npos)
        return std::string();
    const size_t close = head.find(head[quote], quote + 1);
    if (close == std::string::npos)
        return std::string();
    std::string name = head.substr(quote + 1, close - quote - 1);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return name;
}

// Only the encodings whose rules are plain are checked here; any other the
// parser judges.
bool BytesMatchEncoding(const std::vector<BYTE>& bytes, size_t start, const std::string& encoding) {
    const char* text = reinterpret_cast<const char*>(bytes.data()) + start;
    const int length = static_cast<int>(bytes.size() - start);
    if (encoding.empty() || encoding == "utf-8" || encoding == "utf8")
        return length == 0 || ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0) > 0;
    if (encoding == "us-ascii" || encoding == "ascii")
        return std::none_of(bytes.begin() + start, bytes.end(), [](BYTE c) { return c >= 0x80; });
    // Sixteen-bit text without its byte-order mark, while the declaration
    // itself was read as single bytes.
    if (encoding == "utf-16" || encoding == "ucs-2" || encoding == "unicode")
        return false;
    return true;
}

}  // namespace

std::wstring DescribeXmlFileFault(XmlFileFault fault, const wlitestring& requiredPath, ULONGLONG maxBytes) {
    switch (fault) {
    case XmlFileFault::None:
        return std::wstring();
    case XmlFileFault::Missing:
        return L"is missing";
    case XmlFileFault::Unreadable:
        return L"cannot be read";
    case XmlFileFault::TooLarge:
        return L"is larger than " + std::to_wstring(maxBytes) + L" bytes";
    case XmlFileFault::Empty:
        return L"is empty";
    case XmlFileFault::WrongEncoding:
        return L"holds bytes that do not match its declared encoding";
    case XmlFileFault::NotWellFormed:
        return L"is not well-formed XML (cut short, or not XML at all)";
    case XmlFileFault::WrongRoot:
        return L"has no \"" + requiredPath.str() + L"\" element";
    }
    return L"cannot be used";
}

XmlFileFault CheckXmlFile(const wlitestring& path, const wlitestring& requiredPath, std::wstring& reason,
                          ULONGLONG maxBytes) {
    auto fail = [&](XmlFileFault fault) {
        reason = DescribeXmlFileFault(fault, requiredPath, maxBytes);
        return fault;
    };
    reason.clear();
    const std::wstring name = path.str();
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data))
        return fail(::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetLastError() == ERROR_PATH_NOT_FOUND
                        ? XmlFileFault::Missing
                        : XmlFileFault::Unreadable);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return fail(XmlFileFault::Unreadable);
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (maxBytes != 0 && size > maxBytes)
        return fail(XmlFileFault::TooLarge);

    std::vector<BYTE> bytes;
    if (!File(name).ReadAll(bytes) && size != 0)
        return fail(XmlFileFault::Unreadable);
    size_t start = 0;
    const bool utf16 = bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
    if (!utf16) {
        if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
            start = 3;
        if (std::all_of(bytes.begin() + start, bytes.end(), IsBlank))
            return fail(XmlFileFault::Empty);
        std::string encoding = DeclaredEncoding(bytes, start);
        // A UTF-8 mark wins over any declaration; MSXML reads it so.
        if (start == 3 && !encoding.empty() && encoding != "utf-8" && encoding != "utf8")
            return fail(XmlFileFault::WrongEncoding);
        if (!BytesMatchEncoding(bytes, start, encoding))
            return fail(XmlFileFault::WrongEncoding);
    } else if (bytes.size() == 2) {
        return fail(XmlFileFault::Empty);
    }

    try {
        const XmlFile document(name, false);
        if (!requiredPath.empty() && !document.SelectNode(requiredPath))
            return fail(XmlFileFault::WrongRoot);
    } catch (const std::exception&) {
        return fail(XmlFileFault::NotWellFormed);
    }
    return XmlFileFault::None;
}

}  // namespace FileSystem
