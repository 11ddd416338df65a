#include "testing/Gzip.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Gzip, WrapsStoredBlocksWithTheirChecksum) {
    EXPECT_EQ(0xCBF43926u, Testing::Crc32("123456789"));  // the CRC-32 check value
    EXPECT_EQ(0u, Testing::Crc32(""));
    std::string empty = Testing::GzipStored("");
    const unsigned char emptyBytes[] = {0x1f, 0x8b, 8, 0, 0, 0, 0, 0, 0, 0xff, 1, 0, 0, 0xff, 0xff, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(emptyBytes), sizeof emptyBytes), empty);
    // Two blocks of 65,535 and one of 1: 10 header + 3 × 5 block headers + body + 8 trailer.
    EXPECT_EQ(10u + 15u + 131071u + 8u, Testing::GzipStored(std::string(131071, 'z')).size());
}

}  // namespace
