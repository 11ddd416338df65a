#pragma once
// XmlFile: an XML document read through MSXML 3's free-threaded DOM, with
// XPath as its selection language.
//
//   FileSystem::XmlFile doc(L"C:\\Skin\\Metadata.xml", false);   // throws when unreadable
//   FileSystem::XmlNodeList items;
//   doc.SelectNodes(L"Skin/Item[@name='x']", items);
//   std::wstring title = doc.GetAttributeOr(items[0], L"title", L"");
//   COLORREF text = doc.GetColor(L"Skin/Colors/Text");
//
// Each object enters COM on its thread for its lifetime (the process default
// model, falling back to the model the thread already uses), loads
// "msxml3.dll" and "MSOXMLMF.DLL" by name when built and frees them with the
// first document it releases (a reload does not load them again), and counts
// itself in the process-wide "xmlFileInstanceCount".
//
// Typed reads report a null node as StorageSystem::NullPointer (1) and a
// missing attribute or text as StorageSystem::ItemNotFound (10): into the
// error code when one is passed (the text is then empty), else thrown as
// boost::system::system_error.
//
// Threads: belongs to the thread that built it; no lock.
#include "foundation/filesystem/ComScope.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/XmlComPtr.h"
#include "foundation/strings/LiteString.h"

#include <boost/system/error_code.hpp>

#include <windows.h>
#include <msxml2.h>

#include <string>
#include <vector>

namespace FileSystem {

using XmlNodePtr = XmlComPtr<IXMLDOMNode>;
using XmlNodeList = std::vector<XmlNodePtr>;

class XmlFile {
public:
    // A library loaded by name and freed by the owner. A failed load leaves
    // no module and keeps the last error as 0x8007xxxx.
    class _LibraryHandle {
    public:
        _LibraryHandle() noexcept = default;
        ~_LibraryHandle() { Free(); }
        _LibraryHandle(const _LibraryHandle&) = delete;
        _LibraryHandle& operator=(const _LibraryHandle&) = delete;

        bool Load(const wchar_t* name) noexcept;
        void Free() noexcept;
        HMODULE GetModule() const noexcept { return m_module; }
        HRESULT GetFailure() const noexcept { return m_failure; }

    private:
        HRESULT m_failure = S_OK;
        HMODULE m_module = nullptr;
    };

    // Loads the file; throws std::runtime_error "Failed to open or parse the
    // designated XML file" when it cannot be read, parsed or has no root
    // element. With `saveOnRelease` the document is written back to its path
    // whenever it is released (reload or destruction).
    XmlFile(const wlitestring& path, bool saveOnRelease);
    // No document until LoadFromString or Reload gives one.
    explicit XmlFile(bool saveOnRelease);
    // A bare text would silently pick the constructor above through bool.
    template <class Ch>
    XmlFile(const Ch*) = delete;
    ~XmlFile();
    XmlFile(const XmlFile&) = delete;
    XmlFile& operator=(const XmlFile&) = delete;

    // Releases the current document under its own path and save flag, then
    // loads `path`; throws as the constructor does.
    void Reload(const wlitestring& path, bool saveOnRelease);
    // False (and no document) when the text is not well-formed XML.
    bool LoadFromString(const wlitestring& xml);
    // Writes the document to `path`, or to its own path when `path` is empty.
    bool Save(const wlitestring& path = wlitestring());

    const std::wstring& GetPath() const noexcept { return m_path.GetPath(); }

    // XPath queries, from the document or from a node. Null, or false, when
    // nothing can be selected; an empty match is true with an empty list.
    XmlNodePtr SelectNode(const wlitestring& xpath) const;
    static XmlNodePtr _SelectSingleNode(IXMLDOMNode* node, const wlitestring& xpath);
    bool SelectNodes(const wlitestring& xpath, XmlNodeList& nodes) const;
    static bool _SelectNodes(IXMLDOMNode* node, const wlitestring& xpath, XmlNodeList& nodes);

    // Children in document order (always true; empty when unreadable).
    static bool GetChildNodes(IXMLDOMNode* node, XmlNodeList& children);
    // The first child whose name equals `name` exactly.
    static XmlNodePtr GetChildByName(IXMLDOMNode* node, const wlitestring& name);
    // Every child whose name equals `name` exactly, in document order (always
    // true; empty when there is none). Cheaper than an XPath query per node.
    static bool GetChildrenByName(IXMLDOMNode* node, const wlitestring& name, XmlNodeList& children);
    static bool HasChildren(IXMLDOMNode* node);
    // Throws std::runtime_error "Invalid node" for a null node.
    static std::wstring GetNodeName(IXMLDOMNode* node);

    static std::wstring GetText(IXMLDOMNode* node, boost::system::error_code* error = nullptr);
    static std::wstring GetTextOr(IXMLDOMNode* node, const wlitestring& defaultText);
    static std::wstring GetAttribute(IXMLDOMNode* node, const wlitestring& name,
                                     boost::system::error_code* error = nullptr);
    static std::wstring GetAttributeOr(IXMLDOMNode* node, const wlitestring& name, const wlitestring& defaultText);

    // "Root/A/B" is attribute B of element A, or else the text of element B
    // inside A. Throws std::runtime_error "XML item not found, possibly due to
    // invalid location" when the path leaves the document.
    std::wstring GetValue(const wlitestring& location) const;
    // The value as "RRGGBB" hexadecimal, as 0x00BBGGRR. Throws
    // std::runtime_error "Invalid color value" for any other text.
    COLORREF GetColor(const wlitestring& location) const;

private:
    void _PinLibraries() noexcept;
    bool _LoadFile();
    bool _CreateDocument();
    bool _FinishLoad(HRESULT hr, VARIANT_BOOL isLoaded);
    bool _InitDocument();
    void _Release() noexcept;
    void _LoadFileOrThrow();
    // The node of the location's second-to-last piece, the node of its last
    // piece (possibly null) and that piece; false when the path leaves the
    // document before its last piece.
    // Walks the children named `name` in order until `take` returns false.
    template <class Take>
    static void _WalkChildrenNamed(IXMLDOMNode* node, const wlitestring& name, Take take);
    bool _Locate(const wlitestring& location, XmlNodePtr& parent, XmlNodePtr& last, std::wstring& lastName) const;

    File m_path;
    System::ComScope m_comScope;
    _LibraryHandle m_MSOXMLMF_Dll;
    _LibraryHandle m_MSXml3_Dll;
    XmlComPtr<IXMLDOMDocument2> pDoc;
    XmlComPtr<IXMLDOMElement> pRoot;
    bool m_saveOnRelease;
};

// The process-wide count of live documents, "xmlFileInstanceCount", shared by
// every module of the process; changed with interlocked calls. Null only when
// the shared value could not be had.
volatile LONG* GetXmlFileInstanceCount();

}  // namespace FileSystem
