#include "iconextract/measure_icon_image.h"

#include <cstdint>

#include "iconextract/dib.h"
#include "iconextract/png.h"
#include "platform/byte_order.h"

namespace {

// A place inside the image's bytes, or none when the offset lies beyond them.
uint8_t* PlaceInBytes(const IconImage& image, uint64_t offset) {
    if (offset > image.byteCount) {
        return nullptr;
    }
    return image.bytes + offset;
}

bool MeasurePngImage(IconImage* image) {
    PngHeader png;
    if (!ReadPngHeader(image->bytes, image->byteCount, &png) || png.width > INT32_MAX ||
        png.height > INT32_MAX) {
        return false;
    }
    image->header = nullptr;
    image->width = static_cast<int32_t>(png.width);
    image->height = static_cast<int32_t>(png.height);
    image->colorBits = PngBitsPerPixel(png);
    image->xorBits = nullptr;
    image->andBits = nullptr;
    return true;
}

}  // namespace

bool MeasureIconImage(IconImage* image) {
    if (IsPngImage(image->bytes, image->byteCount)) {
        return MeasurePngImage(image);
    }
    DibHeader dib;
    if (!ReadDibHeader(image->bytes, image->byteCount, &dib)) {
        return false;
    }
    image->header = image->bytes;
    image->width = dib.biWidth;
    image->height = DibPictureHeight(dib);
    image->colorBits = static_cast<uint32_t>(dib.biPlanes) * dib.biBitCount;
    uint64_t xorOffset = DibXorBits(dib);
    image->xorBits = PlaceInBytes(*image, xorOffset);
    image->andBits = nullptr;
    // The XOR bitmap's size comes from the file: it is checked against the bytes that follow
    // its start before any offset is formed from it.
    int64_t rowBytes = DibRowBytes(dib);
    if (image->xorBits != nullptr && rowBytes >= 0 && image->height >= 0) {
        uint64_t room = image->byteCount - xorOffset;
        uint64_t rows = static_cast<uint64_t>(image->height);
        if (ProductFits(static_cast<uint64_t>(rowBytes), rows, room)) {
            image->andBits = image->xorBits + static_cast<uint64_t>(rowBytes) * rows;
        }
    }
    return true;
}
