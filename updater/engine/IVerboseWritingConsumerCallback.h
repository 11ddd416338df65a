#pragma once
// What Engine::VerboseFileWriter tells the one who waits for a download's
// file: the start with the expected size, every written chunk, and the end.
namespace Engine {

class IVerboseWritingConsumerCallback {
public:
    // `totalBytes` is 0 when the size is unknown. False stops the download.
    virtual bool OnBegin(unsigned long totalBytes) = 0;
    // `bytesSoFar` counts every byte written, this chunk's included. False
    // stops the download.
    virtual bool OnProgress(unsigned long bytesSoFar) = 0;
    // Once per download: whether the whole file was written (false too when
    // it could not be created).
    virtual void OnEnd(bool ok) = 0;

protected:
    ~IVerboseWritingConsumerCallback() = default;
};

}  // namespace Engine
