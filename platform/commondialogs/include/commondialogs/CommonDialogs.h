#pragma once
// The common-dialog library: the product's shared dialogs, with resources of
// their own in a folder of the program. The program binds the library by its
// one export, which hands out the library object, and gives it a host through
// which the dialogs ask the program for texts and services.
//
//   auto entry = reinterpret_cast<CommonDialogs::EntryPoint>(
//       ::GetProcAddress(module, CommonDialogs::kEntryPointName));
//   CommonDialogs::Library* library = entry();   // owned by the caller
//
// Thread: the library is initialised, switched and uninitialised on the
// program's GUI thread.
#include "foundation/core/InterfaceCore.h"

#include <string>
#include <utility>
#include <vector>

class CWnd;

namespace ApplicationFramework {

// What the library learns of the product when it is initialised: five texts,
// then further (name, value) pairs the product adds.
struct ProductDescription {
    std::wstring productName;
    std::wstring fullProductName;
    std::wstring productVersion;
    std::wstring shortProductVersion;
    std::wstring companyName;
    std::vector<std::pair<std::wstring, std::wstring>> values;
};

}  // namespace ApplicationFramework

namespace CommonDialogs {

// What the program offers the dialogs.
class IHost : public InterfaceCore::IInterfaceCore<IHost> {
public:
    // Told by NotifyObservers.
    class IObserver : public InterfaceCore::IInterfaceCore<IObserver> {
    public:
        virtual void OnHostNotification() = 0;
    };

    virtual void NotifyObservers() = 0;
    virtual int GetHostCode() = 0;
    virtual int GetHostSubCode() = 0;
    virtual std::wstring GetFullProductName() = 0;
    virtual std::wstring GetHostTextA() = 0;
    virtual std::wstring GetUpdateAddress() = 0;
    virtual std::wstring GetHostTextB() = 0;
    // Expands the product placeholders of the window's text in place.
    virtual void ExpandWindowText(CWnd* window) = 0;
};

class Library : public InterfaceCore::IInterfaceCore<Library> {
public:
    // False when the resource folder does not exist.
    virtual bool Initialize(const std::wstring& resourceFolder, const ApplicationFramework::ProductDescription& product,
                            const std::wstring& firstText, const std::wstring& secondText) = 0;
    // False for an empty name.
    virtual bool SetResourcesLanguage(const std::wstring& name) = 0;
    virtual bool SetResourcesSkin(const std::wstring& name) = 0;
    // The host the dialogs ask; given before Initialize. Not owned.
    virtual void SetHost(IHost* host) = 0;
    virtual void Uninitialize() = 0;
};

typedef Library* (*EntryPoint)();
constexpr char kEntryPointName[] = "DllEntryPoint_DialogsDLL";
constexpr wchar_t kLibraryFileName[] = L"CommonDialogs.dll";
// The library writes every call, its arguments and the host's answers to
// the file this variable names; without it, nowhere.
constexpr wchar_t kCallLogVariable[] = L"BRUNLOW_COMMONDIALOGS_LOG";

}  // namespace CommonDialogs
