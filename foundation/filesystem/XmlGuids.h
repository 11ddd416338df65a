#pragma once
// The MSXML class and interface ids that mingw's import libraries lack, with
// their published values.
#include <windows.h>

namespace FileSystem {

// MSXML 3's free-threaded DOM document, {F6D90F12-9C73-11D3-B32E-00C04F990BB4}.
extern const CLSID CLSID_XmlFreeThreadedDocument;
// IXMLDOMDocument2, {2933BF95-7B36-11D2-B20E-00C04F983E60}.
extern const IID IID_XmlDocument2;

}  // namespace FileSystem
