#pragma once
// XmlStorage: resources of every kind from the Resources.xml files of a
// resource folder, in up to four layers, most specific first:
//
//   <language>\<skin>\Resources.xml   with a language and a skin
//   Common\<skin>\Resources.xml       with a skin
//   <language>\Resources.xml          with a language
//   Common\Resources.xml              always
//
// The first layer that has a usable value wins, so a skin or a language
// redefines only what it names. A resource is an element of its kind inside
// "ResourceLib/Resources", found by its "name" attribute:
//
//   <String name="Title" value="Videos"/>   (or the text: <String name="Title">Videos</String>)
//   <Color name="Back" value="#102030"/>     <Integer name="Margin" value="4"/>
//   <Font name="Text" value="Segoe UI,-12|Tahoma,-13"/>
//   <FilePath name="Layout" value="Layouts\main.xml"/>
//   <Binary name="Data" path="data.bin"/>    <Icon name="App" path="app.ico"/>
//   <Bitmap name="Logo" path="logo.png"/>
//   <Bitmap name="Bar" type="Gradient" orientation="Vertical" width="10" height="100">
//     <Pin color="#FF0000" position="0"/><Pin color="#0000FF" position="100"/>
//   </Bitmap>
//
// A value that is malformed in one layer (a bad number, colour, font or
// gradient) makes that layer fail; the lookup goes on to the next layer.
// Files named by "path" are looked for in the skin's folder below the
// layer's folder first. Ids are turned into names through the manager.
//
// Threads: as every storage, called under the manager's lock; the XML
// documents belong to the thread that loaded them.
#include "foundation/filesystem/XmlFile.h"
#include "resources/resourcelib/StorageBase.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace ResourceLib {

class XmlStorage : public StorageBase {
public:
    // Nothing is read until the first lookup.
    explicit XmlStorage(const wlitestring& rootFolder);

    // The element every Resources.xml holds its resources in.
    static const wchar_t kResourcesElement[];
    // The Resources.xml of a language's own layer under a resource root:
    // the file that holds that language's texts.
    static std::wstring GetLanguageFilePath(const wlitestring& rootFolder, const wlitestring& language);

    ResourceType GetSupportedTypes() override { return ResourceTypes::All; }

protected:
    // Loads the layers of the current language and skin; false when none
    // loads. A layer file that exists but cannot serve is a warning in the
    // log that names it and says why.
    bool _Load() override;

    // A String miss goes on to UnlocalizedString, but only with an error code.
    std::wstring _GetStringByName(const wlitestring& name, ErrorCodePtr ec) override;
    std::wstring _GetStringById(int id, ErrorCodePtr ec) override;
    SharedBitmap _GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec) override;
    SharedBitmap _GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec) override;
    SharedIcon _GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) override;
    SharedIcon _GetIconById(int id, int width, int height, ErrorCodePtr ec) override;
    void _GetBinaryByName(const wlitestring& name, std::vector<BYTE>& bytes, ErrorCodePtr ec) override;
    void _GetBinaryById(int id, std::vector<BYTE>& bytes, ErrorCodePtr ec) override;
    COLORREF _GetColorByName(const wlitestring& name, ErrorCodePtr ec) override;
    COLORREF _GetColorById(int id, ErrorCodePtr ec) override;
    SharedFont _GetFontByName(const wlitestring& name, ErrorCodePtr ec) override;
    SharedFont _GetFontById(int id, ErrorCodePtr ec) override;
    int _GetIntegerByName(const wlitestring& name, ErrorCodePtr ec) override;
    int _GetIntegerById(int id, ErrorCodePtr ec) override;
    // The first layer, in order, against whose folder the FilePath's text
    // names an existing file.
    std::wstring _GetFilePath(int id, ResourceType typeMask, ErrorCodePtr ec) override;

private:
    struct Layer {
        boost::shared_ptr<FileSystem::XmlFile> document;
        FileSystem::XmlNodePtr resources;  // "ResourceLib/Resources"
        std::wstring path;                        // of its Resources.xml
    };

    // XPath of the element `type` named `name`, the name put in as it is.
    static std::wstring _ElementPath(const wchar_t* type, const wlitestring& name);
    // The layers' value of the element `type` named `name`: the "value"
    // attribute, else the element's text, put through `convert` (bool
    // (const std::wstring&, Value&)). A layer whose conversion fails or
    // throws is passed over. ResourceNotFound after the last layer.
    template <class Value, class Convert>
    bool _FindValue(const wchar_t* type, const wlitestring& name, Convert convert, Value& value, ErrorCodePtr ec);
    // The same for the files named by "path" attributes; `load` (bool (const
    // std::wstring& path)) tells whether the file served.
    template <class Load>
    bool _FindFile(const wchar_t* type, const wlitestring& name, Load load, ErrorCodePtr ec);
    // The name registered for the id; false with the code stored or raised.
    bool _NameOfId(int id, ResourceType type, std::wstring& name, ErrorCodePtr ec);
    // The skin's file below the layer's folder when it exists, else the
    // layer's own.
    std::wstring _ResolveFile(const Layer& layer, const std::wstring& path) const;
    // A gradient element's picture; empty when the element describes none
    // (its "type" is not "Gradient"). A malformed number raises.
    SharedBitmap _CreateGradient(const Layer& layer, const FileSystem::XmlNodePtr& node) const;

    std::vector<Layer> m_layers;
    const std::wstring m_rootFolder;
};

}  // namespace ResourceLib
