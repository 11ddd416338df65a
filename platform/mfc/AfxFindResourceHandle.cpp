#include "afxres_find.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// Modules are registered on whichever thread loads them, so the list has a lock.
struct ResourceChain {
    std::mutex lock;
    std::vector<HINSTANCE> modules;
};

ResourceChain& GetResourceChain() {
    static ResourceChain chain;
    return chain;
}

}  // namespace

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
    const HINSTANCE executable = ::GetModuleHandleW(nullptr);
    if (::FindResourceW(executable, name, type))
        return executable;
    ResourceChain& chain = GetResourceChain();
    std::lock_guard<std::mutex> guard(chain.lock);
    for (HINSTANCE module : chain.modules) {
        if (::FindResourceW(module, name, type))
            return module;
    }
    return executable;
}

void AfxAddResourceModule(HINSTANCE module) {
    if (!module)
        return;
    ResourceChain& chain = GetResourceChain();
    std::lock_guard<std::mutex> guard(chain.lock);
    if (std::find(chain.modules.begin(), chain.modules.end(), module) == chain.modules.end())
        chain.modules.push_back(module);
}

void AfxRemoveResourceModule(HINSTANCE module) {
    ResourceChain& chain = GetResourceChain();
    std::lock_guard<std::mutex> guard(chain.lock);
    chain.modules.erase(std::remove(chain.modules.begin(), chain.modules.end(), module), chain.modules.end());
}
