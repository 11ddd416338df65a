#pragma once
#include <cstdint>
#include <string>

namespace Testing {

// Gzip bytes of `plain` in stored (uncompressed) deflate blocks: valid for
// any decoder, and needs no compression library in the tests.
std::string GzipStored(const std::string& plain);
// The CRC-32 gzip uses (polynomial 0xEDB88320).
std::uint32_t Crc32(const std::string& bytes);

}  // namespace Testing
