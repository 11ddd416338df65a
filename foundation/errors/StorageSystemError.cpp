#include "foundation/errors/StorageSystemError.h"

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
    const unsigned index = static_cast<unsigned>(code);
    return index < sizeof(kNames) / sizeof(kNames[0]) ? kNames[index] : kNames[None];
}

const boost::system::error_category& GetErrorCategory() {
    static const error_category s_category{};
    return s_category;
}

namespace {
const bool s_builtBeforeEntry = (GetErrorCategory(), true);
}  // namespace

}  // namespace StorageSystem
