#include "platform/framework/bitmap_info.h"

#include <cstdint>

namespace sif {
namespace {

std::uint32_t Read32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Read16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

constexpr std::size_t kFileHeaderSize = 14;

}  // namespace

bool ReadBitmapInfo(const unsigned char* data, std::size_t size, BitmapInfo* info) {
    if (data == nullptr || info == nullptr || size < kFileHeaderSize + 12)
        return false;
    if (data[0] != 'B' || data[1] != 'M')
        return false;
    std::uint32_t pixelOffset = Read32(data + 10);
    const unsigned char* header = data + kFileHeaderSize;
    std::uint32_t headerSize = Read32(header);

    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitCount = 0;
    if (headerSize == 12) {  // OS/2 core header
        width = Read16(header + 4);
        height = Read16(header + 6);
        bitCount = Read16(header + 10);
    } else if (headerSize >= 40 && size >= kFileHeaderSize + 40) {
        width = static_cast<std::int32_t>(Read32(header + 4));
        height = static_cast<std::int32_t>(Read32(header + 8));
        bitCount = Read16(header + 14);
    } else {
        return false;
    }
    if (height < 0)
        height = -height;
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32) {
        return false;
    }
    std::int64_t stride = ((width * bitCount + 31) / 32) * 4;
    if (pixelOffset < kFileHeaderSize + headerSize)
        return false;
    if (static_cast<std::int64_t>(pixelOffset) + stride * height >
        static_cast<std::int64_t>(size)) {
        return false;
    }
    *info = BitmapInfo{static_cast<int>(width), static_cast<int>(height), bitCount};
    return true;
}

}  // namespace sif
