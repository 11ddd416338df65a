#pragma once
// The boost error category of the storage system (the XML documents report
// their failures in it):
//   boost::system::error_code(StorageSystem::InvalidPath, StorageSystem::GetErrorCategory())
#include <boost/system/error_code.hpp>

#include <string>

namespace StorageSystem {

enum ErrorCodes {
    None = 0,
    NullPointer = 1,
    DriverAlreadyRegistered = 2,
    InvalidMarker = 3,
    DriversNotRegistered = 4,
    InvalidPath = 5,
    ItemIsNotGroup = 6,
    ItemIsGroup = 7,
    InvalidSource = 8,
    InvalidAccessMode = 9,
    ItemNotFound = 10,
    IncompatibleDriver = 11,
};

class error_category : public boost::system::error_category {
public:
    using boost::system::error_category::message;

    // "Storage system error".
    const char* name() const noexcept override;
    // The code's name ("InvalidPath"); "None" for any value outside 0..11.
    std::string message(int code) const override;
};

// The one instance of the process.
const boost::system::error_category& GetErrorCategory();

}  // namespace StorageSystem
