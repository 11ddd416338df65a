#include "downloads/app/ViewHost.h"

namespace Brunlow {
namespace ViewHost {

namespace {
IViewHost* volatile g_pHost = nullptr;
}

void Set(IViewHost* pHost) {
    g_pHost = pHost;
}

IViewHost* Get() {
    return g_pHost;
}

}  // namespace ViewHost
}  // namespace Brunlow
