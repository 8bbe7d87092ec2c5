#include "iconextract/bmp_writer.h"

#include "iconextract/dib.h"
#include "iconextract/output_file.h"
#include "iconextract/png.h"
#include "iconextract/temporary_field.h"
#include "platform/byte_order.h"

bool PlanBmpLayout(const IconImage& image, BmpLayout* layout) {
    DibHeader dib;
    if (IsPngImage(image.bytes, image.byteCount) ||
        !ReadDibHeader(image.bytes, image.byteCount, &dib)) {
        return false;
    }
    int64_t rowBytes = DibRowBytes(dib);
    int32_t height = DibPictureHeight(dib);
    if (rowBytes < 0 || height < 0) {
        return false;
    }
    uint64_t tableEnd = kDibHeaderBytes + static_cast<uint64_t>(DibColorTableBytes(dib));
    if (tableEnd > image.byteCount ||
        !ProductFits(static_cast<uint64_t>(rowBytes), static_cast<uint64_t>(height),
                     image.byteCount - tableEnd)) {
        return false;
    }
    uint64_t imageBytes = tableEnd + static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(height);
    if (imageBytes + kBitmapFileHeaderBytes > UINT32_MAX) {
        return false;
    }
    layout->colorTableBytes = DibColorTableBytes(dib);
    layout->pictureHeight = height;
    layout->imageBytes = static_cast<uint32_t>(imageBytes);
    layout->fileBytes = static_cast<uint32_t>(imageBytes + kBitmapFileHeaderBytes);
    layout->offBits = kBitmapFileHeaderBytes + kDibHeaderBytes + layout->colorTableBytes;
    return true;
}

bool WriteIconImageAsBmp(IconImage* image, const char* path) {
    BmpLayout layout;
    if (image == nullptr || !PlanBmpLayout(*image, &layout)) {
        return false;
    }
    uint8_t fileHeader[kBitmapFileHeaderBytes];
    SetUi16(fileHeader + 0, 0x4D42);  // bfType "BM"
    SetUi32(fileHeader + 2, layout.fileBytes);
    SetUi16(fileHeader + 6, 0);  // bfReserved1
    SetUi16(fileHeader + 8, 0);  // bfReserved2
    SetUi32(fileHeader + 10, layout.offBits);

    OutputFile file;
    if (!file.Create(path) || !file.Write(fileHeader, sizeof fileHeader)) {
        return false;
    }
    TemporaryField32 halved(image->bytes + kBiHeight, static_cast<uint32_t>(layout.pictureHeight));
    if (!file.Write(image->bytes, layout.imageBytes)) {
        return false;
    }
    file.Keep();
    return true;
}
