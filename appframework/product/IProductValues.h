#pragma once
// Where the product information gets its configured values: the program's
// own source (its string table), or a test's.
#include "foundation/core/InterfaceCore.h"

#include <string>

namespace ApplicationFramework {

enum class ProductValue {
    ProductName,
    FullProductName,
    ShortProductVersion,  // kept when the version has fewer than two parts
    CompanyName,
    ProductLabel,         // empty: the trimmed product name
    UpdateAddress,
    ExtrasDownloadAddress,
    ExtrasOffered,        // "1" when the product offers the Extras
    SetupId,
    HostTextA,
    HostTextB,
    ProductKeyName,       // empty: the product name
    SupportAddress,
    OemId,                // unsigned decimal
    Edition,              // signed decimal
    TipsAddress,
    TipsFileName,
    NewTipsFileName,
    ConverterAddress,
    CaptionOffer,         // "1" when the companion product is offered in the caption
    CaptionProductName,
    CaptionProductId,
    ExtrasProductKey,
    ExtrasShortTitle,
    ExtrasBundleLongTitle,
    ExtrasBundleShortTitle,
};

class IProductValues : public InterfaceCore::IInterfaceCore<IProductValues> {
public:
    // The configured text, placeholders unexpanded; empty when there is none.
    virtual std::wstring GetValue(ProductValue value) = 0;
};

}  // namespace ApplicationFramework
