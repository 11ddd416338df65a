#include "skin/resizing/ResizeSupport.h"

namespace {

const UINT g_resizeSupportMessage = ::RegisterWindowMessageW(L"WMU_RESIZESUPPORT");

}  // namespace

UINT GetResizeSupportMessage() noexcept { return g_resizeSupportMessage; }
