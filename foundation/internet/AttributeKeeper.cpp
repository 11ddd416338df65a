#include "foundation/internet/AttributeKeeper.h"

namespace FileSystem {

namespace {

// Read-only off; archive, hidden, system, normal, temporary, offline and
// not-content-indexed stay.
const DWORD kWritableMask = 0x31A6;
const DWORD kRestoreMask = 0x31A7;

}  // namespace

AttributeKeeper::AttributeKeeper(const wlitestring& path) : m_path(path.str()), m_attributes(0) {
    const DWORD attributes = ::GetFileAttributesW(m_path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    m_attributes = attributes;
    if (WasReadOnly())
        ::SetFileAttributesW(m_path.c_str(), m_attributes & kWritableMask);
}

AttributeKeeper::~AttributeKeeper() {
    if (WasReadOnly()) {
        const DWORD lastError = ::GetLastError();
        ::SetFileAttributesW(m_path.c_str(), m_attributes & kRestoreMask);
        ::SetLastError(lastError);
    }
}

}  // namespace FileSystem
