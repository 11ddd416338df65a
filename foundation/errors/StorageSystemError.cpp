#include "foundation/errors/StorageSystemError.h"

#include "foundation/errors/CodeName.h"

namespace StorageSystem {

const char* error_category::name() const noexcept {
    return "Storage system error";
}

std::string error_category::message(int code) const {
    static const char* const kNames[] = {
        "None",          "NullPointer",    "DriverAlreadyRegistered", "InvalidMarker",
        "DriversNotRegistered", "InvalidPath", "ItemIsNotGroup",      "ItemIsGroup",
        "InvalidSource", "InvalidAccessMode", "ItemNotFound",         "IncompatibleDriver",
    };
    return ErrorHandling::CodeName(kNames, code);
}

const boost::system::error_category& GetErrorCategory() {
    static const error_category s_category{};
    return s_category;
}

namespace {
const bool s_builtBeforeEntry = (GetErrorCategory(), true);
}  // namespace

}  // namespace StorageSystem
