#pragma once
// ElevatedAppAdapter: the engine's view of one console application the
// elevation service runs, forwarding to the service client's proxy. The
// engine owns it; deleting it releases the proxy. Without a proxy (client
// disabled, empty path) every operation fails or answers empty.
//
// Thread: whichever engine thread uses it; it adds no lock (see the proxy).
#include "appframework/serviceclient/IConsoleApplication.h"
#include "engine/KavennaEngine.h"

#include <boost/shared_ptr.hpp>

namespace Engine {

class ElevatedAppAdapter : public KavennaEngine::IElevatedApp {
public:
    // Asks the service client for the application at `path`.
    explicit ElevatedAppAdapter(const wlitestring& path);
    // Over a proxy made elsewhere (may be empty).
    explicit ElevatedAppAdapter(boost::shared_ptr<GenericServiceClient::IConsoleApplication> pProxy);
    ~ElevatedAppAdapter() override = default;
    ElevatedAppAdapter(const ElevatedAppAdapter&) = delete;
    ElevatedAppAdapter& operator=(const ElevatedAppAdapter&) = delete;

    bool HasProxy() const { return static_cast<bool>(m_pProxy); }

    std::wstring GetPath() override;
    void SetPath(const wlitestring& path) override;
    std::wstring GetParameters() override;
    void SetParameters(const wlitestring& parameters) override;
    bool Start() override;
    bool SendValue14(std::int32_t value) override;
    bool SendValue15(std::int32_t value) override;
    void Signal16() override;
    std::int32_t GetNumber() override;
    bool GetFlag() override;

private:
    boost::shared_ptr<GenericServiceClient::IConsoleApplication> m_pProxy;
};

}  // namespace Engine
