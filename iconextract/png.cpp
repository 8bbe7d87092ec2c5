#include "iconextract/png.h"

#include <cstring>

#include "platform/byte_order.h"

namespace {
const uint8_t kPngSignature[kPngSignatureBytes] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// After the signature: the chunk length (4), the type "IHDR" (4), then width, height, depth and
// colour type; IHDR's data is 13 bytes long.
constexpr uint32_t kIhdrLength = 8;
constexpr uint32_t kIhdrType = 12;
constexpr uint32_t kIhdrWidth = 16;
constexpr uint32_t kIhdrHeight = 20;
constexpr uint32_t kIhdrBitDepth = 24;
constexpr uint32_t kIhdrColorType = 25;
constexpr uint32_t kIhdrDataBytes = 13;
constexpr uint32_t kIhdrEnd = kIhdrWidth + kIhdrDataBytes;
}  // namespace

bool IsPngImage(const uint8_t* bytes, uint32_t byteCount) {
    return bytes != nullptr && byteCount >= kPngSignatureBytes &&
           std::memcmp(bytes, kPngSignature, kPngSignatureBytes) == 0;
}

bool ReadPngHeader(const uint8_t* bytes, uint32_t byteCount, PngHeader* header) {
    if (!IsPngImage(bytes, byteCount) || byteCount < kIhdrEnd ||
        GetBe32(bytes + kIhdrLength) != kIhdrDataBytes ||
        std::memcmp(bytes + kIhdrType, "IHDR", 4) != 0) {
        return false;
    }
    header->width = GetBe32(bytes + kIhdrWidth);
    header->height = GetBe32(bytes + kIhdrHeight);
    header->bitDepth = bytes[kIhdrBitDepth];
    header->colorType = bytes[kIhdrColorType];
    return true;
}

uint16_t PngBitsPerPixel(const PngHeader& header) {
    unsigned channels = 0;
    switch (header.colorType) {
        case 0:  // greyscale
        case 3:  // palette indices
            channels = 1;
            break;
        case 4:  // greyscale and alpha
            channels = 2;
            break;
        case 2:  // RGB
            channels = 3;
            break;
        case 6:  // RGB and alpha
            channels = 4;
            break;
        default:
            return 0;
    }
    return static_cast<uint16_t>(channels * header.bitDepth);
}
