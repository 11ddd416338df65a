#pragma once
// The client's side of one console application in the elevation service:
// the path and parameter texts, and every service call made as a task on
// the service COM thread through the service's ConsoleApp object.
//
// Thread: the texts belong to the owner's thread; pApp is created, used and
// released on the service COM thread, except that the destroy sequence takes
// it on the destroying thread when the service thread did not (one atomic
// exchange, so exactly one side releases it).
#include "appframework/serviceclient/IConsoleApplication.h"

#include "platform/elevation/Vantrel.h"

#include <boost/enable_shared_from_this.hpp>

#include <atomic>
#include <string>

namespace GenericServiceClient {

class ConsoleApplicationImpl : public IConsoleApplication,
                               public boost::enable_shared_from_this<ConsoleApplicationImpl> {
public:
    explicit ConsoleApplicationImpl(std::wstring applicationPath);
    ~ConsoleApplicationImpl() override;
    ConsoleApplicationImpl(const ConsoleApplicationImpl&) = delete;
    ConsoleApplicationImpl& operator=(const ConsoleApplicationImpl&) = delete;

    std::wstring GetPath() override;
    void SetPath(const wlitestring& newPath) override;
    std::wstring GetParameters() override;
    void SetParameters(const wlitestring& newParameters) override;
    bool Start(bool flag) override;
    bool Query6() override;
    bool SendValue14(std::int32_t value) override;
    bool SendValue15(std::int32_t value) override;
    void Signal16() override;
    std::int32_t GetNumber() override;
    bool GetFlag() override;

    // On the creating thread: listed as pending, then the service object is
    // made and given the path. A stuck service raises to the caller.
    void Initialize();
    // On the destroying thread: unlisted, the service object released on
    // the service thread, or here when that did not happen. Never throws.
    void Destroy() noexcept;
    bool IsDestroyed() const noexcept { return destroyed.load(); }

    // The steps run on the service COM thread.
    bool InitImpl();
    bool StartImpl(const std::wstring& parameterCopy);
    bool DestroyImpl();

private:
    template <class Result, class Step>
    Result _RunTask(Result failureValue, Step step);
    // A call of slots 7 to 11 on the service thread; false when it failed.
    template <class Call>
    bool _CallService(const char* traceFormat, Call call);

    std::atomic<IConsoleApp*> pApp{nullptr};
    std::atomic<bool> destroyed{false};
    std::atomic<bool> started{false};
    std::wstring path;
    std::wstring parameters;
};

}  // namespace GenericServiceClient
