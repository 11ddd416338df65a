#include "testing/Gzip.h"

#include <algorithm>
#include <array>

namespace Testing {
namespace {

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::uint32_t Crc32(const std::string& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string GzipStored(const std::string& plain) {
    // Magic, deflate, no flags, no time, no extra flags, unknown OS.
    std::string out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", 10);
    const std::size_t kMaxBlock = 65535;
    std::size_t pos = 0;
    do {
        std::size_t length = std::min(kMaxBlock, plain.size() - pos);
        bool last = pos + length == plain.size();
        out.push_back(last ? '\x01' : '\x00');  // BFINAL, BTYPE 00 (stored)
        AppendLittleEndian(out, static_cast<std::uint32_t>(length), 2);
        AppendLittleEndian(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
        out.append(plain, pos, length);
        pos += length;
    } while (pos < plain.size());
    AppendLittleEndian(out, Crc32(plain), 4);
    AppendLittleEndian(out, static_cast<std::uint32_t>(plain.size()), 4);
    return out;
}

}  // namespace Testing
