// The size of a bitmap held as BMP file bytes, read without a toolkit so the
// framework can size a button to it and refuse a damaged resource.
#pragma once

#include <cstddef>

namespace sif {

struct BitmapInfo {
    int width;
    int height;    // always positive; top-down bitmaps too
    int bitCount;  // bits per pixel
};

// FALSE when the bytes are not a complete BMP file (header, palette and
// pixel rows inside `size`).
bool ReadBitmapInfo(const unsigned char* data, std::size_t size, BitmapInfo* info);

}  // namespace sif
