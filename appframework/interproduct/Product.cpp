#include "appframework/interproduct/Product.h"

#include "foundation/registry/Key.h"
#include "foundation/strings/NumberStrings.h"

#include <new>

namespace InterProductLib {

Product::Product(const ProductId& id) : m_id(id), m_plugin(this) {}

void Product::GetDescription(PluginLib::ProductDescription& description) {
    Registry::Key key(Registry::ToRootKey(HKEY_LOCAL_MACHINE), L"Software\\" + m_id.productKey);
    auto read = [&key](const wchar_t* name, const std::wstring& defaultValue) {
        return key.GetString(name, defaultValue, true);
    };
    description.shortTitle = read(L"TitleShort", m_id.shortTitle);
    description.mediumTitle = read(L"TitleMedium", L"");
    description.productKey = m_id.productKey;
    description.actionVerb = read(L"DescriptionVerb", L"");
    description.longDescription = read(L"DescriptionLong", L"");
    description.downloadAddress = read(L"URLDownload", L"");
    description.mainAddress = read(L"URLMain", L"");
    description.bundleLongTitle = read(L"BundleTitleLong", m_id.bundleLongTitle);
    description.bundleShortTitle = read(L"BundleTitleShort", m_id.bundleShortTitle);
    description.executableName = read(L"ExecutableName", L"");
    description.iconFilePath = read(L"IconFilePath", L"");
    description.iconResourceId = STLHelpers::ToInt(read(L"IconResourceID", L"128"));
}

std::wstring Product::GetValue(int index) {
    switch (index) {
    case 0: return m_plugin.GetComposedTitle();
    case 1: return m_plugin.GetProductKey();
    case 2: return m_plugin.GetMediumTitle();
    case 3: return m_plugin.GetShortTitle();
    case 4: return m_plugin.GetVersion();
    case 5: return m_plugin.GetActionVerb();
    case 6: return m_plugin.GetLongDescription();
    case 7: return m_plugin.GetMainAddress();
    case 10: return m_plugin.GetExecutablePath();
    default: return std::wstring();
    }
}

boost::shared_ptr<Product> Manager::GetProduct(const ProductId& id) {
    const auto found = m_products.find(id.productKey);
    if (found != m_products.end())
        return found->second;
    boost::shared_ptr<Product> pProduct(new (std::nothrow) Product(id));
    if (pProduct)
        m_products[id.productKey] = pProduct;
    return pProduct;
}

boost::shared_ptr<Manager> CreateManager() {
    return boost::shared_ptr<Manager>(new (std::nothrow) Manager());
}

bool IsProductInstalled(const wlitestring& key, const wlitestring& name) {
    const boost::shared_ptr<Manager> pManager = CreateManager();
    if (!pManager)
        return false;
    const boost::shared_ptr<Product> pProduct = pManager->GetProduct({key.str(), name.str(), key.str(), name.str()});
    return pProduct && pProduct->IsInstalled();
}

}  // namespace InterProductLib
