#include "resources/resourcelib/ResourceError.h"
#include "resources/resourcelib/ResourceType.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using namespace ResourceLib;

TEST(ResourceType, SingleKindCodesGiveTheirBitNumber) {
    const ResourceType kinds[] = {ResourceTypes::String, ResourceTypes::FilePath, ResourceTypes::Bitmap,
                                  ResourceTypes::Icon,   ResourceTypes::Binary,   ResourceTypes::Color,
                                  ResourceTypes::Font,   ResourceTypes::Integer};
    for (unsigned index = 0; index < ResourceTypes::Count; ++index) {
        SCOPED_TRACE(kinds[index]);
        EXPECT_EQ(index, GetResourceTypeIndex(kinds[index]));
    }
    EXPECT_EQ(0xFFu, ResourceTypes::All);
}

TEST(ResourceType, OtherCodesAreInvalid) {
    const ResourceType invalid[] = {0, ResourceTypes::String | ResourceTypes::FilePath, 256, 255, 0x80000000u};
    for (ResourceType type : invalid) {
        SCOPED_TRACE(type);
        try {
            GetResourceTypeIndex(type);
            ADD_FAILURE() << "no exception";
        } catch (const std::logic_error& e) {
            EXPECT_STREQ("Invalid resource type encountered", e.what());
        }
    }
}

TEST(ResourceType, EmptyBinaryHasNoPointer) {
    const BinaryData empty;
    EXPECT_EQ(nullptr, empty.pData);
    EXPECT_EQ(0u, empty.size);
    EXPECT_TRUE(empty.empty());
}

TEST(ResourceError, NamesAndMessages) {
    const boost::system::error_category& category = GetErrorCategory();
    EXPECT_EQ(&category, &GetErrorCategory());
    EXPECT_STREQ("Resource error", category.name());
    struct Case {
        int code;
        const char* message;
    } cases[] = {
        {0, "None"},         {1, "ResourceNotFound"},    {2, "InvalidResourceID"}, {3, "InvalidResourceName"},
        {4, "NotSupported"}, {5, "InvalidStorageState"}, {6, "InvalidResource"},   {7, "None"},
        {9, "None"},         {-1, "None"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.message, category.message(c.code));
    }
    const boost::system::error_code code(ResourceNotFound, category);
    EXPECT_EQ("ResourceNotFound", code.message());
    EXPECT_TRUE(static_cast<bool>(code));
}

}  // namespace
