#pragma once
// The program's product information comes from its own string table: the
// names, addresses, setup id and switches each have a string id (see
// BrunlowResources.h); the version comes from the version resource.
//
//   ModuleProductValues values;            // the executable's strings
//   ApplicationFramework::ProductInfo info(&values);
//   info.Initialize();
//
// Thread: any; the string table does not change.
#include "appframework/product/IProductValues.h"

#include <windows.h>

class ModuleProductValues : public ApplicationFramework::IProductValues {
public:
    // Null reads the executable's strings.
    explicit ModuleProductValues(HMODULE module = nullptr) : m_module(module) {}

    // Empty for a value without a string, or whose string is missing.
    std::wstring GetValue(ApplicationFramework::ProductValue value) override;

    // The string id of the value; 0 when it has none.
    static UINT GetStringId(ApplicationFramework::ProductValue value);

private:
    HMODULE m_module;
};

// The module's string with that id; empty when it has none.
std::wstring LoadModuleString(HMODULE module, UINT id);
