#pragma once
// What the tips tests share: the product with a tips server address, the
// local application-data folder and the resources' tips file in a temporary
// folder, the statistics and the profile under a temporary registry key,
// tips files written from small pieces, and the log lines a test wrote.
#include "appframework/product/ProductInfo.h"
#include "appframework/tests/TestApplication.h"
#include "foundation/debugging/LogConfiguration.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/strings/StringConversions.h"
#include "foundation/system/Environment.h"
#include "shell/tips/TipsFiles.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace TipsTests {

using ApplicationFramework::ProductValue;

// The process's log, written to a file the tests read; configured once.
class LogWatch {
public:
    struct Line {
        std::string level;
        std::string text;
    };

    LogWatch() : m_start(ReadLog().size()) {}

    std::vector<Line> Lines() const {
        std::vector<Line> lines;
        const std::string text = ReadLog().substr(m_start);
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            if (line.size() >= 79 && line[0] != ' ')
                lines.push_back({line.substr(20, 3), line.substr(79)});
            start = end + 2;
        }
        return lines;
    }
    // Lines whose text holds `part` at that level ("" any level).
    size_t Count(const std::string& level, const std::string& part) const {
        size_t count = 0;
        for (const Line& line : Lines())
            count += (level.empty() || line.level == level) && line.text.find(part) != std::string::npos;
        return count;
    }
    bool Has(const std::string& level, const std::string& part) const { return Count(level, part) > 0; }
    std::string Text() const {
        std::string text;
        for (const Line& line : Lines())
            text += line.level + " " + line.text + "\n";
        return text;
    }

private:
    static const std::wstring& LogPath() {
        static const std::wstring path = [] {
            wchar_t temp[MAX_PATH] = {};
            ::GetTempPathW(MAX_PATH, temp);
            const std::wstring file = std::wstring(temp) + L"BrunlowShellTests-" +
                                      std::to_wstring(::GetCurrentProcessId()) + L".log";
            ::DeleteFileW(file.c_str());
            Debugging::ConfigureLog(file, L"", 1, Debugging::kLogFlagReplaced);
            return file;
        }();
        return path;
    }
    static std::string ReadLog() { return Testing::ReadFileBytes(LogPath()); }

    size_t m_start;
};

inline std::wstring& LocalAppDataRoot() {
    static std::wstring root;
    return root;
}
inline std::wstring& FallbackTipsFile() {
    static std::wstring path;
    return path;
}

// Everything a tips test touches, in temporary places.
class TipsFixture : public testing::Test {
protected:
    TipsFixture() : m_info(&m_values) {
        LocalAppDataRoot() = m_folder / L"LocalAppData";
        FallbackTipsFile() = m_folder / L"Resources\\TipOfTheDay.xml";
        Tips::PathSource source;
        source.localAppData = [] { return LocalAppDataRoot(); };
        source.fallbackTipsFile = [] { return FallbackTipsFile(); };
        m_previousSource = Tips::SetPathSource(source);

        // "Software\<key name>" is the temporary key, so the statistics lie in it.
        m_keyName = m_key.SubKey().substr(std::wstring(L"Software\\").size());
        m_values.values[ProductValue::ProductName] = L"TipsTest";
        m_values.values[ProductValue::ProductKeyName] = m_keyName;
        m_values.values[ProductValue::OemId] = L"7";
        m_values.values[ProductValue::Edition] = L"3";
        m_values.values[ProductValue::ConverterAddress] = L"http://converter.example/";
        m_values.values[ProductValue::TipsFileName] = L"TipOfTheDay.xml";
        m_values.values[ProductValue::NewTipsFileName] = L"TipOfTheDay_new.xml";
        m_info.Initialize();
        m_app.SetRegistryKey(m_keyName.c_str());
    }
    ~TipsFixture() override { Tips::SetPathSource(m_previousSource); }

    void SetTipsAddress(const std::wstring& address) {
        m_values.values[ProductValue::TipsAddress] = address;
        m_info.Initialize();
    }

    std::wstring DataFolder() const { return LocalAppDataRoot() + L"\\TipsTest\\"; }
    std::wstring CurrentFile() const { return DataFolder() + L"TipOfTheDay.xml"; }
    std::wstring NewFile() const { return DataFolder() + L"TipOfTheDay_new.xml"; }
    std::wstring WriteData(const std::wstring& name, const std::string& bytes) const {
        return m_folder.WriteFile(L"LocalAppData\\TipsTest\\" + name, bytes);
    }

    // A tips document: the product's list (none when `product` is null) and the Default list.
    std::string Document(const char* product, const std::string& defaults, const std::string& version = "5") const {
        std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TipsOfTheDay>";
        if (!version.empty())
            text += "<FileVersion version=\"" + version + "\"/>";
        text += "<OEM id=\"3\"><Product name=\"Default\"><Tips>" + Tip(99, "other-oem") + "</Tips></Product></OEM>";
        text += "<OEM id=\"7\">";
        if (product)
            text += "<Product name=\"" + STLHelpers::WideToUtf8(m_keyName) + "\"><Tips>" + product + "</Tips></Product>";
        text += "<Product name=\"Default\"><Tips>" + defaults + "</Tips></Product></OEM></TipsOfTheDay>";
        return text;
    }
    // One tip with an English text "<text or Tip N>" after the given children.
    static std::string Tip(int orderId, const std::string& guid, const std::string& children = "",
                           const std::string& text = "") {
        return "<Tip orderId=\"" + std::to_string(orderId) + "\" guid=\"" + guid + "\">" + children +
               "<TipText><en-us>" + (text.empty() ? "Tip " + std::to_string(orderId) : text) +
               "</en-us></TipText></Tip>";
    }

    // The statistics value of a tip; -1 when there is none.
    long Statistic(const std::wstring& guid) const {
        DWORD value = 0, size = sizeof value;
        const std::wstring path = m_key.SubKey() + L"\\Statistics\\Tips";
        if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), guid.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS)
            return -1;
        return static_cast<long>(value);
    }
    void SetStatistic(const std::wstring& guid, DWORD value) const {
        HKEY key = nullptr;
        const std::wstring path = m_key.SubKey() + L"\\Statistics\\Tips";
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                                   nullptr, &key, nullptr));
        ::RegSetValueExW(key, guid.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        ::RegCloseKey(key);
    }

    Testing::TempFolder m_folder;
    Testing::TempRegistryKey m_key;
    std::wstring m_keyName;
    AppFrameworkTests::FakeProductValues m_values;
    ApplicationFramework::ProductInfo m_info;
    CWinApp m_app{L"Tips Test"};
    Tips::PathSource m_previousSource;
};

}  // namespace TipsTests
