#pragma once
// VerboseFileWriter: the destination file of a download, telling its consumer
// how far the writing has got.
//
//   writer.SetDestination(path, &consumer);
//   writer.Begin(total);            // creates the file; consumer->OnBegin
//   writer.Write(bytes, count);     // consumer->OnProgress(running total)
//   writer.Finish();                // consumer->OnEnd(true), file closed
//
// Threads: used by one thread at a time (the worker's or, during a download,
// WinHTTP's callback under the downloader's lock; then whoever stops it).
#include "foundation/system/AutoHandle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Engine {

class IVerboseWritingConsumerCallback;

class VerboseFileWriter {
public:
    VerboseFileWriter() = default;
    VerboseFileWriter(const VerboseFileWriter&) = delete;
    VerboseFileWriter& operator=(const VerboseFileWriter&) = delete;

    // Creates (or empties) the file. When it cannot, the consumer hears
    // OnEnd(false) and std::runtime_error("Cannot open destination file") is
    // raised.
    void Open(const std::wstring& path, IVerboseWritingConsumerCallback* pConsumer);

    // The file that Begin creates, so that nothing is created before a
    // download has an answer worth keeping.
    void SetDestination(const std::wstring& path, IVerboseWritingConsumerCallback* pConsumer);

    // `totalBytes` -1 when unknown. Asks the consumer whether to go on, then
    // creates the destination unless a file is open already. False (the
    // consumer told OnEnd(false), nothing left open) when either fails.
    bool Begin(LONGLONG totalBytes);
    // Takes the bytes (they reach the disk in large blocks) and tells the
    // consumer the running total. False when a block could not be written or
    // the consumer says stop (the writing then ends with OnEnd(false)).
    bool Write(const BYTE* pBytes, DWORD count);
    // End with success or failure; nothing when no file is open. Finish is
    // true when every byte reached the disk (else it ends as failed). An
    // aborted file stays on disk as far as it was written.
    bool Finish();
    void Abort();

    bool IsOpen() const { return m_file.IsValid(); }
    unsigned long GetBytesWritten() const { return m_bytesWritten; }

private:
    // Writes the bytes taken and not yet written; false when that fails.
    bool Flush();
    // False when `ok` was false or the last bytes could not be written.
    bool End(bool ok);

    STLHelpers::AutoHandle m_file;
    std::vector<BYTE> m_pending;
    unsigned long m_bytesWritten = 0;
    IVerboseWritingConsumerCallback* m_pConsumer = nullptr;
    std::wstring m_destination;
};

}  // namespace Engine
