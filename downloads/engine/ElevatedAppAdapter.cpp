#include "downloads/engine/ElevatedAppAdapter.h"

#include "appframework/serviceclient/Library.h"

namespace Engine {

namespace {

boost::shared_ptr<GenericServiceClient::IConsoleApplication> CreateProxy(const wlitestring& path) {
    GenericServiceClient::Library* pLibrary = GenericServiceClient::GetLibrary();
    return pLibrary ? pLibrary->CreateConsoleApplication(path)
                    : boost::shared_ptr<GenericServiceClient::IConsoleApplication>();
}

}  // namespace

ElevatedAppAdapter::ElevatedAppAdapter(const wlitestring& path) : m_pProxy(CreateProxy(path)) {}

ElevatedAppAdapter::ElevatedAppAdapter(boost::shared_ptr<GenericServiceClient::IConsoleApplication> pProxy)
    : m_pProxy(std::move(pProxy)) {}

std::wstring ElevatedAppAdapter::GetPath() {
    return m_pProxy ? m_pProxy->GetPath() : std::wstring();
}

void ElevatedAppAdapter::SetPath(const wlitestring& path) {
    if (m_pProxy)
        m_pProxy->SetPath(path);
}

std::wstring ElevatedAppAdapter::GetParameters() {
    return m_pProxy ? m_pProxy->GetParameters() : std::wstring();
}

void ElevatedAppAdapter::SetParameters(const wlitestring& parameters) {
    if (m_pProxy)
        m_pProxy->SetParameters(parameters);
}

bool ElevatedAppAdapter::Start() {
    return m_pProxy && m_pProxy->Start(false);
}

bool ElevatedAppAdapter::SendValue14(std::int32_t value) {
    return m_pProxy && m_pProxy->SendValue14(value);
}

bool ElevatedAppAdapter::SendValue15(std::int32_t value) {
    return m_pProxy && m_pProxy->SendValue15(value);
}

void ElevatedAppAdapter::Signal16() {
    if (m_pProxy)
        m_pProxy->Signal16();
}

std::int32_t ElevatedAppAdapter::GetNumber() {
    // The proxy's own answer for a failed call.
    return m_pProxy ? m_pProxy->GetNumber() : -1;
}

bool ElevatedAppAdapter::GetFlag() {
    return m_pProxy && m_pProxy->GetFlag();
}

}  // namespace Engine
