#pragma once
// A console application run by the elevation service with its raised rights.
// Made by Library::CreateConsoleApplication; the capture engine holds it by
// shared pointer as one of its elevated applications.
//
//   auto pApp = GetLibrary()->CreateConsoleApplication(helperPath);
//   pApp->SetParameters(L"--quiet");
//   if (pApp->Start(false)) { pApp->SendValue14(5); pApp->Signal16(); }
//
// Thread: any thread; the texts are not locked, so the owner sets them
// before Start.
#include "foundation/core/InterfaceCore.h"
#include "foundation/strings/LiteString.h"

#include <cstdint>
#include <string>

namespace GenericServiceClient {

class IConsoleApplication : public InterfaceCore::IInterfaceCore<IConsoleApplication>,
                            public InterfaceCore::_Debug::ObjectProperties<IConsoleApplication> {
public:
    virtual std::wstring GetPath() = 0;
    // Changes the text only: the service received the path at creation.
    virtual void SetPath(const wlitestring& path) = 0;
    virtual std::wstring GetParameters() = 0;
    virtual void SetParameters(const wlitestring& parameters) = 0;
    // With the flag set: false at once. Otherwise the service starts the
    // application with the parameters set before; true when it did.
    virtual bool Start(bool flag) = 0;
    // Always false; it does not reach the service.
    virtual bool Query6() = 0;
    virtual bool SendValue14(std::int32_t value) = 0;
    virtual bool SendValue15(std::int32_t value) = 0;
    virtual void Signal16() = 0;
    // The service's number; -1 when the call failed.
    virtual std::int32_t GetNumber() = 0;
    // The service's flag; false when the call failed.
    virtual bool GetFlag() = 0;
};

}  // namespace GenericServiceClient
