#include "updater/engine/VerboseFileWriter.h"

#include "updater/engine/IVerboseWritingConsumerCallback.h"

#include <stdexcept>

namespace Engine {

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
    DWORD written = 0;
    if (!::WriteFile(m_file.Get(), pBytes, count, &written, nullptr))
        return false;
    m_bytesWritten += written;
    if (m_pConsumer && !m_pConsumer->OnProgress(m_bytesWritten)) {
        End(false);
        return false;
    }
    return written == count;
}

void VerboseFileWriter::Finish() {
    if (IsOpen())
        End(true);
}

void VerboseFileWriter::Abort() {
    if (IsOpen())
        End(false);
}

void VerboseFileWriter::End(bool ok) {
    // Closed before the consumer hears of it, so that it may use the file.
    m_file.Reset();
    m_bytesWritten = 0;
    if (m_pConsumer)
        m_pConsumer->OnEnd(ok);
}

}  // namespace Engine
