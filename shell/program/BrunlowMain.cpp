// The program's one application object and the product information it is
// built over, both made before the toolkit's entry runs.
#include "appframework/product/ProductInfo.h"
#include "shell/app/BrunlowApp.h"
#include "shell/product/ModuleProductValues.h"

namespace {

ModuleProductValues g_productValues;

// Filled from the executable's string table and version resource at once:
// the application object reads it from its constructor on.
class ProgramProductInfo : public ApplicationFramework::ProductInfo {
public:
    ProgramProductInfo() : ProductInfo(&g_productValues) { Initialize(); }
};

ProgramProductInfo g_productInfo;

}  // namespace

CBrunlowApp theApp(g_productInfo);
