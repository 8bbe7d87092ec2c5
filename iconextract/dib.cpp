#include "iconextract/dib.h"

#include "platform/byte_order.h"

bool ReadDibHeader(const uint8_t* bytes, uint32_t byteCount, DibHeader* header) {
    if (bytes == nullptr || byteCount < kDibHeaderBytes) {
        return false;
    }
    header->biSize = GetUi32(bytes + kBiSize);
    header->biWidth = GetSi32(bytes + kBiWidth);
    header->biHeight = GetSi32(bytes + kBiHeight);
    header->biPlanes = GetUi16(bytes + kBiPlanes);
    header->biBitCount = GetUi16(bytes + kBiBitCount);
    header->biSizeImage = GetUi32(bytes + kBiSizeImage);
    header->biClrUsed = GetUi32(bytes + kBiClrUsed);
    return true;
}

uint32_t DibColorCount(const DibHeader& header) {
    if (header.biClrUsed != 0) {
        return header.biClrUsed;
    }
    switch (header.biBitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

uint16_t DibColorTableBytes(const DibHeader& header) {
    return static_cast<uint16_t>(DibColorCount(header) * 4u);
}

uint64_t DibXorBits(const DibHeader& header) {
    return static_cast<uint64_t>(header.biSize) + DibColorTableBytes(header);
}

int64_t DibRowBytes(const DibHeader& header) {
    // 64-bit so that no header value can overflow; the division rounds toward zero, like the
    // 32-bit signed arithmetic that icon code has always used.
    int64_t bits = static_cast<int64_t>(header.biWidth) * header.biPlanes * header.biBitCount;
    return (bits + 31) / 32 * 4;
}

int32_t DibPictureHeight(const DibHeader& header) { return header.biHeight / 2; }
