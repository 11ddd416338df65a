#pragma once
// The kinds of resource, the values each kind is returned as, and their
// empty values.
//
//   manager->GetStringById(7)                  -> std::wstring, empty on a miss
//   manager->GetBitmapByName(L"Logo", false)   -> SharedBitmap, null on a miss
//   storage->GetSupportedTypes() & ResourceTypes::Icon
#include "graphics/commongui/SharedGDIObject.h"

#include <windows.h>

#include <cstdint>

namespace ResourceLib {

// One bit per kind. A request names exactly one kind; a storage states the
// kinds it serves as a union of bits.
typedef std::uint32_t ResourceType;

namespace ResourceTypes {
constexpr ResourceType String = 1;
constexpr ResourceType FilePath = 2;
constexpr ResourceType Bitmap = 4;
constexpr ResourceType Icon = 8;
constexpr ResourceType Binary = 16;
constexpr ResourceType Color = 32;
constexpr ResourceType Font = 64;
constexpr ResourceType Integer = 128;
constexpr ResourceType All = 0xFF;
constexpr unsigned Count = 8;
}  // namespace ResourceTypes

// The bit number of a single-kind code (String 0 .. Integer 7), the index of
// the per-kind tables. Anything else (0, several bits, above 128) throws
// std::logic_error "Invalid resource type encountered".
unsigned GetResourceTypeIndex(ResourceType type);

// Whether a bitmap with an alpha channel is premultiplied when it is loaded.
typedef bool PremultiplyAlpha;

typedef CommonGuiLib::SharedBitmap SharedBitmap;
typedef CommonGuiLib::SharedIcon SharedIcon;
typedef CommonGuiLib::SharedFont SharedFont;

// Bytes owned by the storage that supplied them: valid until that storage
// drops the cache entry or is destroyed. Empty is a null pointer and 0.
struct BinaryData {
    const BYTE* pData = nullptr;
    std::uint32_t size = 0;

    bool empty() const noexcept { return pData == nullptr; }
};

}  // namespace ResourceLib
