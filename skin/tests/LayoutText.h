#pragma once
// Layout documents for the layout tests, read through CreateManager.
#include "skin/layout/IManager.h"

#include <boost/shared_ptr.hpp>

#include <functional>
#include <stdexcept>
#include <string>

namespace SkinTesting {

inline std::wstring LayoutXml(const std::wstring& windows, const std::wstring& pictures = std::wstring()) {
    return L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<LayoutLib>\n<Windows>\n" + windows +
           L"\n</Windows>\n<Pictures>\n" + pictures + L"\n</Pictures>\n</LayoutLib>\n";
}

inline boost::shared_ptr<LayoutLib::IManager> LoadLayout(const std::wstring& windows,
                                                        const std::wstring& pictures = std::wstring()) {
    return LayoutLib::CreateManager(LayoutXml(windows, pictures));
}

// The first window of a layout made of `windowXml`; empty when it was dropped.
inline boost::shared_ptr<LayoutLib::IWindow> ReadFirstWindow(const std::wstring& windowXml) {
    LayoutLib::WindowList windows;
    LoadLayout(windowXml)->GetWindows(windows);
    return windows.empty() ? boost::shared_ptr<LayoutLib::IWindow>() : windows.front();
}

// The element `name` of a window holding only `elementXml`; empty when it
// was dropped.
inline boost::shared_ptr<LayoutLib::IElement> ReadElement(const std::wstring& elementXml,
                                                         const std::wstring& name = L"e") {
    const auto window = ReadFirstWindow(L"<Window name=\"w\"><Elements>" + elementXml + L"</Elements></Window>");
    return window ? window->GetElementByName(name) : boost::shared_ptr<LayoutLib::IElement>();
}

// The picture `name` of a layout holding `picturesXml`, read with `parameters`.
inline boost::shared_ptr<LayoutLib::IPicture> ReadPicture(const std::wstring& picturesXml,
                                                         const LayoutLib::CustomValues& parameters = {},
                                                         const std::wstring& name = L"p") {
    return LoadLayout(std::wstring(), picturesXml)->GetPicture(name, parameters);
}

// ASCII text for a trace line.
inline std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// The message of the exception `call` throws; "" when it throws none.
inline std::string ExceptionText(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return std::string();
}

}  // namespace SkinTesting
