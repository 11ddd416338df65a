#pragma once
// Why a storage could not supply a resource, as a boost error code:
//   boost::system::error_code(ResourceLib::ResourceNotFound, ResourceLib::GetErrorCategory())
#include <boost/system/error_code.hpp>

#include <string>

namespace ResourceLib {

enum ResourceErrorCodes {
    None = 0,
    ResourceNotFound = 1,     // the storage has no resource of that name
    InvalidResourceID = 2,    // a negative id was asked for
    InvalidResourceName = 3,  // no name registered for the id, or an empty name
    NotSupported = 4,         // the storage does not serve that kind or form
    InvalidStorageState = 5,  // the manager is gone or nothing is loaded
    InvalidResource = 6,      // an entry is there but its description is not valid
};

class error_category : public boost::system::error_category {
public:
    using boost::system::error_category::message;

    // "Resource error".
    const char* name() const noexcept override;
    // The code's name ("ResourceNotFound"); "None" for values outside 0..6.
    std::string message(int code) const override;
};

// The one instance of the process; every storage reports in it.
const boost::system::error_category& GetErrorCategory();

}  // namespace ResourceLib
