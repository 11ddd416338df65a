#include "foundation/filesystem/XmlFile.h"

#include "foundation/errors/Checks.h"
#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/StorageSystemError.h"
#include "foundation/filesystem/XmlBstr.h"
#include "foundation/filesystem/XmlGuids.h"
#include "foundation/strings/TextHelpers.h"
#include "foundation/system/SharedValues.h"

#include <boost/system/system_error.hpp>

#include <sstream>
#include <stdexcept>

namespace FileSystem {
namespace {

const char kLoadFailed[] = "Failed to open or parse the designated XML file";
const char kInvalidNode[] = "Invalid node";
const char kItemNotFound[] = "XML item not found, possibly due to invalid location";
const char kInvalidColor[] = "Invalid color value";

// In-process server and handler, local and remote server.
const DWORD kDocumentContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

DWORD DefaultModel() {
    volatile LONG* pModel = System::GetDefaultCOMModel();
    const DWORD model = pModel ? static_cast<DWORD>(InterlockedCompareExchange(pModel, 0, 0)) : System::ComScope::Ole;
    return model > System::ComScope::Ole ? System::ComScope::Multithreaded : model;
}

void AddToInstanceCount(LONG delta) {
    if (volatile LONG* pCount = GetXmlFileInstanceCount())
        InterlockedExchangeAdd(pCount, delta);
}

// Fills `error` when given, else throws; the typed reads' empty result.
std::wstring Fail(StorageSystem::ErrorCodes code, boost::system::error_code* error) {
    const boost::system::error_code failure(code, StorageSystem::GetErrorCategory());
    if (!error)
        throw boost::system::system_error(failure);
    *error = failure;
    return std::wstring();
}

void ClearError(boost::system::error_code* error) {
    if (error)
        error->clear();
}

bool IsNameEqual(const XmlBstr& nodeName, const wlitestring& name) {
    return wlitestring::compare(wlitestring(nodeName.Get(), static_cast<int>(SysStringLen(nodeName.Get()))), name) == 0;
}

// The location's pieces between slashes; empty pieces are skipped.
std::vector<std::wstring> SplitLocation(const wlitestring& location) {
    std::vector<std::wstring> pieces;
    STLHelpers::Split(location, L"/", pieces, true, true, false);
    return pieces;
}

bool IsHexDigit(wchar_t ch) {
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
}

bool AppendItems(IXMLDOMNodeList* list, XmlNodeList& nodes) {
    long length = 0;
    if (FAILED(list->get_length(&length)))
        return false;
    for (long i = 0; i < length; ++i) {
        XmlNodePtr item;
        if (SUCCEEDED(list->get_item(i, item.Receive())) && item)
            nodes.push_back(item);
    }
    return true;
}

}  // namespace

bool XmlFile::_LibraryHandle::Load(const wchar_t* name) noexcept {
    Free();
    m_module = LoadLibraryExW(name, nullptr, 0);
    m_failure = m_module ? S_OK : static_cast<HRESULT>(ErrorHandling::ErrorCode::FromLastError());
    return m_module != nullptr;
}

void XmlFile::_LibraryHandle::Free() noexcept {
    if (m_module) {
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

XmlFile::XmlFile(const wlitestring& path, bool saveOnRelease)
    : m_path(path), m_comScope(DefaultModel(), 3), m_saveOnRelease(saveOnRelease) {
    _PinLibraries();
    _LoadFileOrThrow();
    AddToInstanceCount(1);
}

XmlFile::XmlFile(bool saveOnRelease) : m_comScope(DefaultModel(), 3), m_saveOnRelease(saveOnRelease) {
    _PinLibraries();
    AddToInstanceCount(1);
}

void XmlFile::_PinLibraries() noexcept {
    // Either may be missing (MSOXMLMF.DLL often is): not an error of the
    // document.
    m_MSOXMLMF_Dll.Load(L"MSOXMLMF.DLL");
    m_MSXml3_Dll.Load(L"msxml3.dll");
}

XmlFile::~XmlFile() {
    AddToInstanceCount(-1);
    _Release();
}

void XmlFile::Reload(const wlitestring& path, bool saveOnRelease) {
    // The current document goes under its own path and flag; saving it after
    // the switch would overwrite the very file about to be loaded.
    _Release();
    m_saveOnRelease = saveOnRelease;
    m_path.SetPath(path);
    _LoadFileOrThrow();
}

void XmlFile::_LoadFileOrThrow() {
    if (!_LoadFile())
        throw std::runtime_error(kLoadFailed);
}

bool XmlFile::_CreateDocument() {
    const HRESULT hr = CoCreateInstance(CLSID_XmlFreeThreadedDocument, nullptr, kDocumentContext, IID_XmlDocument2,
                                        reinterpret_cast<void**>(pDoc.Receive()));
    if (FAILED(hr) || !pDoc)
        return false;
    // A synchronous load: a successful load is a complete document.
    pDoc->put_async(VARIANT_FALSE);
    return true;
}

bool XmlFile::_LoadFile() {
    _Release();
    if (!_CreateDocument())
        return false;
    const XmlBstr path{wlitestring(m_path.GetPath())};
    VARIANT_BOOL isLoaded = VARIANT_FALSE;
    const HRESULT hr = pDoc->load(path.AsVariant(), &isLoaded);
    return _FinishLoad(hr, isLoaded);
}

bool XmlFile::LoadFromString(const wlitestring& xml) {
    _Release();
    if (!_CreateDocument())
        return false;
    const XmlBstr text(xml);
    VARIANT_BOOL isLoaded = VARIANT_FALSE;
    const HRESULT hr = pDoc->loadXML(text.Get(), &isLoaded);
    return _FinishLoad(hr, isLoaded);
}

bool XmlFile::_FinishLoad(HRESULT hr, VARIANT_BOOL isLoaded) {
    if (SUCCEEDED(hr) && isLoaded == VARIANT_TRUE && _InitDocument())
        return true;
    // Dropped without saving: with the save flag, what a failed load left
    // would overwrite the file it could not read.
    pRoot.Release();
    pDoc.Release();
    return false;
}

bool XmlFile::_InitDocument() {
    if (FAILED(pDoc->get_documentElement(pRoot.Receive())) || !pRoot)
        return false;
    const XmlBstr name(L"SelectionLanguage");
    const XmlBstr language(L"XPath");
    pDoc->setProperty(name.Get(), language.AsVariant());
    return true;
}

void XmlFile::_Release() noexcept {
    if (!pDoc && !pRoot)
        return;
    bool isOk = true;
    if (m_saveOnRelease) {
        bool isSaved = false;
        CHECK_WARNING(isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { isSaved = Save(m_path.GetPath()); } ));
        if (isOk)
            CHECK_WARNING(isSaved);
    }
    CHECK_WARNING(isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { pRoot.Release(); } ));
    CHECK_WARNING(isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { pDoc.Release(); } ));
    CHECK_WARNING(isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { m_MSXml3_Dll.Free(); } ));
    CHECK_WARNING(isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { m_MSOXMLMF_Dll.Free(); } ));
}

bool XmlFile::Save(const wlitestring& path) {
    if (!pDoc && !pRoot)
        return false;
    const XmlBstr bsPath(path.empty() ? wlitestring(m_path.GetPath()) : path);
    CHECK_ERROR(bsPath);
    return pDoc && SUCCEEDED(pDoc->save(bsPath.AsVariant()));
}

XmlNodePtr XmlFile::SelectNode(const wlitestring& xpath) const {
    return _SelectSingleNode(pDoc, xpath);
}

XmlNodePtr XmlFile::_SelectSingleNode(IXMLDOMNode* node, const wlitestring& xpath) {
    XmlNodePtr found;
    if (!node)
        return found;
    const XmlBstr query(xpath);
    if (FAILED(node->selectSingleNode(query.Get(), found.Receive())))
        found.Release();
    return found;
}

bool XmlFile::SelectNodes(const wlitestring& xpath, XmlNodeList& nodes) const {
    return _SelectNodes(pDoc, xpath, nodes);
}

bool XmlFile::_SelectNodes(IXMLDOMNode* node, const wlitestring& xpath, XmlNodeList& nodes) {
    nodes.clear();
    if (!node)
        return false;
    const XmlBstr query(xpath);
    XmlComPtr<IXMLDOMNodeList> list;
    if (FAILED(node->selectNodes(query.Get(), list.Receive())) || !list)
        return false;
    return AppendItems(list, nodes);
}

bool XmlFile::GetChildNodes(IXMLDOMNode* node, XmlNodeList& children) {
    children.clear();
    XmlComPtr<IXMLDOMNodeList> list;
    if (node && SUCCEEDED(node->get_childNodes(list.Receive())) && list)
        AppendItems(list, children);
    return true;
}

template <class Take>
void XmlFile::_WalkChildrenNamed(IXMLDOMNode* node, const wlitestring& name, Take take) {
    XmlNodePtr child;
    if (!node || FAILED(node->get_firstChild(child.Receive())))
        return;
    while (child) {
        XmlBstr childName;
        if (SUCCEEDED(child->get_nodeName(childName.Receive())) && IsNameEqual(childName, name) && !take(child))
            return;
        XmlNodePtr next;
        if (FAILED(child->get_nextSibling(next.Receive())))
            return;
        child = next;
    }
}

XmlNodePtr XmlFile::GetChildByName(IXMLDOMNode* node, const wlitestring& name) {
    XmlNodePtr found;
    _WalkChildrenNamed(node, name, [&](const XmlNodePtr& child) {
        found = child;
        return false;
    });
    return found;
}

bool XmlFile::GetChildrenByName(IXMLDOMNode* node, const wlitestring& name, XmlNodeList& children) {
    children.clear();
    _WalkChildrenNamed(node, name, [&](const XmlNodePtr& child) {
        children.push_back(child);
        return true;
    });
    return true;
}

bool XmlFile::HasChildren(IXMLDOMNode* node) {
    XmlNodePtr child;
    return node && SUCCEEDED(node->get_firstChild(child.Receive())) && child;
}

std::wstring XmlFile::GetNodeName(IXMLDOMNode* node) {
    XmlBstr name;
    if (!node || FAILED(node->get_nodeName(name.Receive())))
        throw std::runtime_error(kInvalidNode);
    return name.str();
}

std::wstring XmlFile::GetText(IXMLDOMNode* node, boost::system::error_code* error) {
    ClearError(error);
    if (!node)
        return Fail(StorageSystem::NullPointer, error);
    XmlBstr text;
    if (FAILED(node->get_text(text.Receive())))
        return Fail(StorageSystem::ItemNotFound, error);
    return text.str();
}

std::wstring XmlFile::GetTextOr(IXMLDOMNode* node, const wlitestring& defaultText) {
    boost::system::error_code error;
    std::wstring text = GetText(node, &error);
    return error ? defaultText.str() : text;
}

std::wstring XmlFile::GetAttribute(IXMLDOMNode* node, const wlitestring& name, boost::system::error_code* error) {
    ClearError(error);
    if (!node)
        return Fail(StorageSystem::NullPointer, error);
    XmlComPtr<IXMLDOMNamedNodeMap> attributes;
    XmlNodePtr attribute;
    const XmlBstr attributeName(name);
    if (FAILED(node->get_attributes(attributes.Receive())) || !attributes ||
        FAILED(attributes->getNamedItem(attributeName.Get(), attribute.Receive())) || !attribute)
        return Fail(StorageSystem::ItemNotFound, error);
    XmlBstr text;
    if (FAILED(attribute->get_text(text.Receive())))
        return Fail(StorageSystem::ItemNotFound, error);
    return text.str();
}

std::wstring XmlFile::GetAttributeOr(IXMLDOMNode* node, const wlitestring& name, const wlitestring& defaultText) {
    boost::system::error_code error;
    std::wstring text = GetAttribute(node, name, &error);
    return error ? defaultText.str() : text;
}

bool XmlFile::_Locate(const wlitestring& location, XmlNodePtr& parent, XmlNodePtr& last,
                      std::wstring& lastName) const {
    const std::vector<std::wstring> pieces = SplitLocation(location);
    if (pieces.empty() || !pRoot)
        return false;
    XmlBstr rootName;
    if (FAILED(pRoot->get_nodeName(rootName.Receive())) || !IsNameEqual(rootName, wlitestring(pieces.front())))
        return false;
    XmlNodePtr current(pDoc.Get());
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i + 1 == pieces.size())
            parent = current;
        current = GetChildByName(current, wlitestring(pieces[i]));
        if (!current && i + 1 < pieces.size())
            return false;
    }
    last = current;
    lastName = pieces.back();
    return true;
}

std::wstring XmlFile::GetValue(const wlitestring& location) const {
    XmlNodePtr parent;
    XmlNodePtr last;
    std::wstring name;
    if (!_Locate(location, parent, last, name))
        throw std::runtime_error(kItemNotFound);
    try {
        return GetAttribute(parent, wlitestring(name));
    } catch (const boost::system::system_error&) {
        return GetText(last);
    }
}

COLORREF XmlFile::GetColor(const wlitestring& location) const {
    const std::wstring value = GetValue(location);
    if (value.length() != 6)
        throw std::runtime_error(kInvalidColor);
    for (wchar_t ch : value) {
        if (!IsHexDigit(ch))
            throw std::runtime_error(kInvalidColor);
    }
    // RRGGBB read as the number 0xBBGGRR: red lands in the low byte.
    std::wistringstream stream(value.substr(4, 2) + value.substr(2, 2) + value.substr(0, 2));
    unsigned long color = 0;
    stream >> std::hex >> color;
    return static_cast<COLORREF>(color);
}

volatile LONG* GetXmlFileInstanceCount() {
    return System::GetSharedXmlFileInstanceCount();
}

}  // namespace FileSystem
