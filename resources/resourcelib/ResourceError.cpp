#include "resources/resourcelib/ResourceError.h"

#include "foundation/errors/CodeName.h"

namespace ResourceLib {

const char* error_category::name() const noexcept {
    return "Resource error";
}

std::string error_category::message(int code) const {
    static const char* const kNames[] = {
        "None",       "ResourceNotFound",    "InvalidResourceID", "InvalidResourceName",
        "NotSupported", "InvalidStorageState", "InvalidResource",
    };
    return ErrorHandling::CodeName(kNames, code);
}

const boost::system::error_category& GetErrorCategory() {
    static const error_category s_category{};
    return s_category;
}

namespace {
// Built before the program's entry, like the other error categories.
const bool s_builtBeforeEntry = (GetErrorCategory(), true);
}  // namespace

}  // namespace ResourceLib
