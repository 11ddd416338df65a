// What reading a layout costs over the DOM it stands on: one generated layout
// (40 windows of 60 elements with shapes, data and four-state visuals, and
// 400 pictures of five drawables) loaded (a) by LayoutLib::CreateManager and
// (b) by a bare MSXML walk that loads the same text and reads every attribute
// of every element with plain DOM calls. Prints the best of several runs of
// each and their ratio; the goal is a ratio of at most 3, since the layout
// loads during start-up.
//
//   layout_benchmark.exe [runs, default 5]
#include "foundation/filesystem/XmlBstr.h"
#include "foundation/filesystem/XmlComPtr.h"
#include "foundation/filesystem/XmlGuids.h"
#include "skin/layout/IManager.h"

#include <windows.h>
#include <msxml2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

const int kWindows = 40;
const int kElements = 60;
const int kPictures = 400;

std::wstring Number(int value) {
    return std::to_wstring(value);
}

std::wstring GenerateElement(int window, int index) {
    const std::wstring picture = Number((window * kElements + index) % kPictures);
    return L"<Element id=\"" + Number(index) + L"\" name=\"e" + Number(index) +
           L"\" type=\"button\" automate=\"1\" position=\"10,20,110,44\" anchors=\"Left,Top\""
           L" overTriggers=\"1,2\" downTriggers=\"3\">"
           L"<Shape type=\"Elliptic\"/>"
           L"<Custom data=\"text=Hello;size@i=12;bold@b=1;tip=[hint]@none\"/>"
           L"<Settings data=\"tab@i=" + Number(index) + L"\"/>"
           L"<Visual type=\"rollover\"><States>"
           L"<State name=\"out\" picture=\"pic" + picture + L"\"/>"
           L"<State name=\"over\" picture=\"pic" + picture + L"\" cursor=\"Hand\"/>"
           L"<State name=\"down\" picture=\"pic" + picture + L"\" cursor=\"Hand\"/>"
           L"<State name=\"disabled\" picture=\"pic" + picture + L"\"/>"
           L"</States></Visual></Element>\n";
}

std::wstring GenerateLayout() {
    std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<LayoutLib>\n<Windows>\n";
    for (int window = 0; window < kWindows; ++window) {
        xml += L"<Window id=\"" + Number(window) + L"\" name=\"window" + Number(window) +
               L"\" type=\"dialog\" automate=\"1\">"
               L"<Shape type=\"RoundedRectangular\" data=\"rx@i=6;ry@i=6\"/>"
               L"<Custom data=\"title=Window;count@i=3;tip=[tipText]@none\"/>"
               L"<Settings data=\"modal@b=1\"/>"
               L"<Sizes resizable=\"1\"><Size type=\"Reference\" width=\"400\" height=\"300\"/>"
               L"<Size type=\"Min\" width=\"200\" height=\"150\"/></Sizes>\n<Elements>\n";
        for (int element = 0; element < kElements; ++element)
            xml += GenerateElement(window, element);
        xml += L"</Elements>\n</Window>\n";
    }
    xml += L"</Windows>\n<Pictures>\n";
    for (int picture = 0; picture < kPictures; ++picture) {
        xml += L"<Picture name=\"pic" + Number(picture) +
               L"\" width=\"100\" height=\"24\"><Custom data=\"a=1\"/>"
               L"<Bitmap path=\"button.png\" position=\"0,0,100,24\" anchors=\"Left;Right\" tile=\"1\"/>"
               L"<Text text=\"Label\" font=\"caption\" color=\"#102030\" horzAlignment=\"Center\""
               L" position=\"4,4,96,20\"/>"
               L"<Icon sizes=\"16,32x32\" position=\"0,0,16,16\" aa=\"Supersampling,2\"/>"
               L"<Shape kind=\"RoundedRectangle\" roundingSize=\"4x4\" borderColor=\"#000000\""
               L" fillColor=\"255,255,255\" position=\"0,0,100,24\"/>"
               L"<Fill color=\"#FFFFFF\" position=\"0,0,10,10\"/></Picture>\n";
    }
    xml += L"</Pictures>\n</LayoutLib>\n";
    return xml;
}

// Every attribute of every element below `node`, read one by one.
long ReadAllAttributes(IXMLDOMNode* node) {
    long read = 0;
    FileSystem::XmlComPtr<IXMLDOMNamedNodeMap> attributes;
    if (SUCCEEDED(node->get_attributes(attributes.Receive())) && attributes) {
        long count = 0;
        attributes->get_length(&count);
        for (long i = 0; i < count; ++i) {
            FileSystem::XmlComPtr<IXMLDOMNode> attribute;
            if (FAILED(attributes->get_item(i, attribute.Receive())) || !attribute)
                continue;
            FileSystem::XmlBstr name;
            FileSystem::XmlBstr text;
            attribute->get_nodeName(name.Receive());
            attribute->get_text(text.Receive());
            ++read;
        }
    }
    FileSystem::XmlComPtr<IXMLDOMNode> child;
    node->get_firstChild(child.Receive());
    while (child) {
        read += ReadAllAttributes(child);
        FileSystem::XmlComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Receive());
        child = next;
    }
    return read;
}

bool LoadWithBareDom(const std::wstring& xml) {
    FileSystem::XmlComPtr<IXMLDOMDocument2> document;
    if (FAILED(CoCreateInstance(FileSystem::CLSID_XmlFreeThreadedDocument, nullptr, CLSCTX_INPROC_SERVER,
                                FileSystem::IID_XmlDocument2, reinterpret_cast<void**>(document.Receive()))))
        return false;
    document->put_async(VARIANT_FALSE);
    const FileSystem::XmlBstr text(xml);
    VARIANT_BOOL isLoaded = VARIANT_FALSE;
    if (FAILED(document->loadXML(text.Get(), &isLoaded)) || isLoaded != VARIANT_TRUE)
        return false;
    FileSystem::XmlComPtr<IXMLDOMElement> root;
    document->get_documentElement(root.Receive());
    return root && ReadAllAttributes(root) > 0;
}

bool LoadWithManager(const std::wstring& xml) {
    const boost::shared_ptr<LayoutLib::IManager> manager = LayoutLib::CreateManager(xml);
    LayoutLib::WindowList windows;
    manager->GetWindows(windows);
    return windows.size() == static_cast<size_t>(kWindows) && manager->GetPicture(L"pic0", LayoutLib::CustomValues());
}

// Best time of `runs` runs in milliseconds; negative when a run fails.
double BestMilliseconds(int runs, const std::function<bool()>& run) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = -1.0;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const bool ok = run();
        QueryPerformanceCounter(&end);
        if (!ok)
            return -1.0;
        const double milliseconds = (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
        best = best < 0.0 ? milliseconds : std::min(best, milliseconds);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::wstring xml = GenerateLayout();
    std::printf("layout: %d windows x %d elements, %d pictures, %u characters; best of %d runs\n", kWindows,
                kElements, kPictures, static_cast<unsigned>(xml.size()), runs);

    double bare = -1.0;
    double manager = -1.0;
    try {
        bare = BestMilliseconds(runs, [&] { return LoadWithBareDom(xml); });
        manager = BestMilliseconds(runs, [&] { return LoadWithManager(xml); });
    } catch (const std::exception& e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
    if (bare <= 0.0 || manager <= 0.0) {
        std::printf("failed: a load did not complete\n");
        return 1;
    }
    std::printf("bare MSXML load and attribute walk: %9.1f ms\n", bare);
    std::printf("LayoutLib::CreateManager:           %9.1f ms\n", manager);
    std::printf("ratio: %.2f (goal: at most 3)\n", manager / bare);
    CoUninitialize();
    return 0;
}
