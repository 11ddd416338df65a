#pragma once
// PluginLib::PluginBase: finds where a companion product is installed, starts
// it, its setup, the Updater that installs it, and its uninstaller. Its host
// describes the product.
//
// Thread: the GUI thread.
#include "appframework/interproduct/IPluginProduct.h"

#include "foundation/strings/LiteString.h"

#include <string>

namespace PluginLib {

// Registry names in brackets (Software\<product key> under HKLM).
struct ProductDescription {
    std::wstring shortTitle;        // "TitleShort"
    std::wstring mediumTitle;       // "TitleMedium"
    std::wstring productKey;        // the product's registry name
    std::wstring actionVerb;        // "DescriptionVerb"
    std::wstring longDescription;   // "DescriptionLong"
    std::wstring downloadAddress;   // "URLDownload"
    std::wstring mainAddress;       // "URLMain"
    std::wstring bundleLongTitle;   // "BundleTitleLong": the suite's registry name
    std::wstring bundleShortTitle;  // "BundleTitleShort": the suite executable's base name
    std::wstring executableName;    // "ExecutableName"
    std::wstring iconFilePath;      // "IconFilePath"
    int iconResourceId = 128;       // "IconResourceID"
};

class PluginBase : public PluginHostLib::IProduct {
public:
    class IHost {
    public:
        virtual ~IHost() = default;
        virtual void GetDescription(ProductDescription& description) = 0;
    };

    // Asks the host for the description at once.
    explicit PluginBase(IHost* pHost);

    const ProductDescription& GetDescription() const { return m_description; }

    bool Install(BOOL silent, BOOL allowUpdater) override;
    bool CanInstall() override { return true; }
    bool IsInstalled() override;
    bool Uninstall(BOOL silent) override;
    bool Run(const wlitestring& argument) override;
    bool IsRunning() override;
    bool BringToFront() override;
    bool EndRunning() override;
    std::wstring GetDownloadAddress() override { return m_description.downloadAddress; }
    std::wstring GetShortTitle() override { return m_description.shortTitle; }
    std::wstring GetMediumTitle() override { return m_description.mediumTitle; }
    std::wstring GetProductKey() override { return m_description.productKey; }
    std::wstring GetVersion() override;
    std::wstring GetComposedTitle() override;
    std::wstring GetActionVerb() override { return m_description.actionVerb; }
    std::wstring GetLongDescription() override { return m_description.longDescription; }
    std::wstring GetMainAddress() override { return m_description.mainAddress; }
    // "ExecutableName", else the short title + ".exe".
    std::wstring GetExecutableName() override;
    // From the icon file when one is named, else the resource of the executable.
    CommonGuiLib::SharedIcon GetIcon(int width, int height) override;
    std::wstring GetExtraText() override { return std::wstring(); }
    int GetExtraNumber() override { return 0; }

    // The first candidate folder that holds `executableName`: HKLM's
    // "InstallPath" of Software\<key>, Program Files\<key>, the same value in
    // the other registry view, the 64-bit Program Files\<key>. "" for none.
    static std::wstring FindInstallFolder(const wlitestring& productKey, const wlitestring& executableName);

    // The last visible top-level window of the processes running the executable.
    static HWND FindVisibleWindow(const wlitestring& executableName);

    // "" when not installed.
    std::wstring GetExecutablePath();
    // The suite's Updater.exe, else the one beside this program.
    std::wstring GetUpdaterPath();
    // "<key> Setup.exe" of the suite or beside this program; "" when neither exists.
    std::wstring GetSetupPath();
    // The Updater's command line for this product.
    std::wstring BuildUpdaterArguments(bool silent);

private:
    std::wstring _GetInstallFolder();
    std::wstring _GetBundleFolder();

    ProductDescription m_description;
    std::wstring m_executableName;
    bool m_isExecutableNameMade = false;
    std::wstring m_updaterPath;
    std::wstring m_setupPath;
    std::wstring m_executablePath;
};

}  // namespace PluginLib
