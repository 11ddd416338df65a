#include "foundation/errors/StorageSystemError.h"

#include <gtest/gtest.h>

namespace {

TEST(StorageSystemError, NamesAndMessages) {
    const boost::system::error_category& category = StorageSystem::GetErrorCategory();
    EXPECT_EQ(&category, &StorageSystem::GetErrorCategory());
    EXPECT_STREQ("Storage system error", category.name());
    struct Case {
        int code;
        const char* message;
    } cases[] = {
        {0, "None"},          {1, "NullPointer"},         {2, "DriverAlreadyRegistered"}, {3, "InvalidMarker"},
        {4, "DriversNotRegistered"}, {5, "InvalidPath"},  {6, "ItemIsNotGroup"},          {7, "ItemIsGroup"},
        {8, "InvalidSource"}, {9, "InvalidAccessMode"},   {10, "ItemNotFound"},           {11, "IncompatibleDriver"},
        {12, "None"},         {-1, "None"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.message, category.message(c.code));
    }
    const boost::system::error_code code(StorageSystem::ItemNotFound, category);
    EXPECT_EQ("ItemNotFound", code.message());
    EXPECT_EQ(&category, &code.category());
}

}  // namespace
