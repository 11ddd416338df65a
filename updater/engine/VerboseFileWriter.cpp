#include "updater/engine/VerboseFileWriter.h"

#include "updater/engine/IVerboseWritingConsumerCallback.h"

#include <stdexcept>

namespace Engine {

namespace {

// Pieces gather into blocks of this size before they go to the disk: a write
// per small piece costs more than the piece.
const std::size_t kWriteBlockSize = 256 * 1024;

}  // namespace

void VerboseFileWriter::Open(const std::wstring& path, IVerboseWritingConsumerCallback* pConsumer) {
    m_pConsumer = pConsumer;
    m_bytesWritten = 0;
    m_file.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!m_file.IsValid()) {
        if (m_pConsumer)
            m_pConsumer->OnEnd(false);
        throw std::runtime_error("Cannot open destination file");
    }
}

void VerboseFileWriter::SetDestination(const std::wstring& path, IVerboseWritingConsumerCallback* pConsumer) {
    m_destination = path;
    m_pConsumer = pConsumer;
}

bool VerboseFileWriter::Begin(LONGLONG totalBytes) {
    const unsigned long total = totalBytes < 0 ? 0 : static_cast<unsigned long>(totalBytes);
    if (m_pConsumer && !m_pConsumer->OnBegin(total)) {
        if (IsOpen())
            End(false);
        else
            m_pConsumer->OnEnd(false);
        return false;
    }
    if (IsOpen())
        return true;
    try {
        Open(m_destination, m_pConsumer);
    } catch (const std::runtime_error&) {
        return false;  // the consumer has heard OnEnd(false)
    }
    return true;
}

bool VerboseFileWriter::Write(const BYTE* pBytes, DWORD count) {
    if (!IsOpen())
        return false;
    m_pending.insert(m_pending.end(), pBytes, pBytes + count);
    if (m_pending.size() >= kWriteBlockSize && !Flush())
        return false;  // the file stays open, as after any failing write
    m_bytesWritten += count;
    if (m_pConsumer && !m_pConsumer->OnProgress(m_bytesWritten)) {
        End(false);
        return false;
    }
    return true;
}

bool VerboseFileWriter::Finish() {
    return IsOpen() && End(true);
}

void VerboseFileWriter::Abort() {
    if (IsOpen())
        End(false);
}

bool VerboseFileWriter::Flush() {
    const DWORD size = static_cast<DWORD>(m_pending.size());
    DWORD written = 0;
    const bool ok =
        size == 0 || (::WriteFile(m_file.Get(), m_pending.data(), size, &written, nullptr) && written == size);
    m_pending.clear();
    return ok;
}

bool VerboseFileWriter::End(bool ok) {
    // What was taken goes to the disk, a failed file's too (it stays as far as it got).
    ok = Flush() && ok;
    // Closed before the consumer hears of it, so that it may use the file.
    m_file.Reset();
    m_bytesWritten = 0;
    if (m_pConsumer)
        m_pConsumer->OnEnd(ok);
    return ok;
}

}  // namespace Engine
