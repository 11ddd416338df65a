#pragma once
// InterProductLib: companion products described by the registry values their
// setups write, a cache of them, and the two entry points the main window uses.
//
//   InterProductLib::LaunchProduct(L"Converter", L"Converter", false, true);
//   InterProductLib::IsProductInstalled(L"Converter", L"Converter");
//
// Thread: the GUI thread.
#include "appframework/interproduct/PluginBase.h"

#include <boost/shared_ptr.hpp>

#include <map>
#include <string>

namespace InterProductLib {

struct ProductId {
    std::wstring productKey;        // the product's registry name
    std::wstring shortTitle;
    std::wstring bundleLongTitle;   // the suite's registry name
    std::wstring bundleShortTitle;  // base name of the suite's executable
};

class IProduct {
public:
    virtual ~IProduct() = default;
    virtual void _Reserved1() {}
    virtual bool Install(BOOL silent, BOOL allowUpdater) = 0;
    virtual bool IsInstalled() = 0;
    virtual bool Uninstall(BOOL silent) = 0;
    virtual bool Run(const wlitestring& argument) = 0;
    virtual bool IsRunning() = 0;
    virtual bool BringToFront() = 0;
    virtual bool EndRunning() = 0;
    virtual void _Reserved10() {}
    virtual void _Reserved11() {}
    virtual void _Reserved12() {}
    // 0 composed title, 1 product key, 2 medium title, 3 short title,
    // 4 executable's version, 5 action verb, 6 long description, 7 main
    // address, 10 executable path; "" for any other index.
    virtual std::wstring GetValue(int index) = 0;
    virtual CommonGuiLib::SharedIcon GetIcon(int width, int height) = 0;
};

class Product : public IProduct, public PluginLib::PluginBase::IHost {
public:
    // Reads the description from HKLM "Software\<product key>" at once.
    explicit Product(const ProductId& id);

    bool Install(BOOL silent, BOOL allowUpdater) override { return m_plugin.Install(silent, allowUpdater); }
    bool IsInstalled() override { return m_plugin.IsInstalled(); }
    bool Uninstall(BOOL silent) override { return m_plugin.Uninstall(silent); }
    bool Run(const wlitestring& argument) override { return m_plugin.Run(argument); }
    bool IsRunning() override { return m_plugin.IsRunning(); }
    bool BringToFront() override { return m_plugin.BringToFront(); }
    bool EndRunning() override { return m_plugin.EndRunning(); }
    std::wstring GetValue(int index) override;
    CommonGuiLib::SharedIcon GetIcon(int width, int height) override { return m_plugin.GetIcon(width, height); }

    void GetDescription(PluginLib::ProductDescription& description) override;

    const ProductId& GetId() const { return m_id; }
    PluginLib::PluginBase& GetPlugin() { return m_plugin; }

private:
    ProductId m_id;
    PluginLib::PluginBase m_plugin;
};

class IManager {
public:
    virtual ~IManager() = default;
    virtual void _Reserved1() {}
    virtual boost::shared_ptr<Product> GetProduct(const ProductId& id) = 0;
};

class Manager : public IManager {
public:
    // The cached product of the id's product key, else a new one, described and cached.
    boost::shared_ptr<Product> GetProduct(const ProductId& id) override;

private:
    std::map<std::wstring, boost::shared_ptr<Product>> m_products;
};

// Empty when it cannot be made.
boost::shared_ptr<Manager> CreateManager();

bool IsProductInstalled(const wlitestring& key, const wlitestring& name);

// Brings a running product forward, starts the installed one (once per
// "LaunchOnceOnProductExit" unless forced), or has it installed.
bool LaunchProduct(const wlitestring& key, const wlitestring& name, bool force, bool installIfMissing);

}  // namespace InterProductLib
