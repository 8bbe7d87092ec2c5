// PNG-compressed icon images (the usual form of 256 x 256 images): they begin with the PNG
// signature instead of a BITMAPINFOHEADER, and their measures come from the IHDR chunk.
#pragma once

#include <cstdint>

constexpr uint32_t kPngSignatureBytes = 8;

struct PngHeader {
    uint32_t width;
    uint32_t height;
    uint8_t bitDepth;
    uint8_t colorType;
};

// True when the bytes begin with the 8-byte PNG signature.
bool IsPngImage(const uint8_t* bytes, uint32_t byteCount);
// Reads IHDR, which must be the first chunk; false when it is missing or cut short.
bool ReadPngHeader(const uint8_t* bytes, uint32_t byteCount, PngHeader* header);
// Bits per pixel: the bit depth times the channels of the colour type; 0 for an unknown type.
uint16_t PngBitsPerPixel(const PngHeader& header);
