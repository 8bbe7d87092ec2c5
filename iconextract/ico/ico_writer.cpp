#include "iconextract/ico/ico_writer.h"

#include "iconextract/dib.h"
#include "iconextract/ico/ico_format.h"
#include "iconextract/output_file.h"
#include "iconextract/png.h"
#include "iconextract/temporary_field.h"
#include "platform/byte_order.h"
#include "platform/scoped_handles.h"

namespace {

bool WriteUi16(HANDLE file, uint16_t value) {
    uint8_t bytes[2];
    SetUi16(bytes, value);
    return WriteAllBytes(file, bytes, sizeof bytes);
}

// The ICO format cannot hold more than 65535 images or offsets beyond 4 GiB.
bool SetFitsIconFile(const IconImageSet* set) {
    if (set->imageCount > 0xFFFFu) {
        return false;
    }
    uint64_t total = kIconDirBytes + static_cast<uint64_t>(kIconDirEntryBytes) * set->imageCount;
    for (uint32_t i = 0; i < set->imageCount; ++i) {
        total += set->images[i].byteCount;
    }
    return total <= UINT32_MAX;
}

// Fills the whole directory and writes it with one call; offsets are summed as the entries go,
// keeping the write linear in the image count.
bool WriteIconDirectory(OutputFile* file, const IconImageSet* set) {
    uint32_t directoryBytes = set->imageCount * kIconDirEntryBytes;  // at most 1 MiB
    ScopedHeapBlock directory(HeapAlloc(GetProcessHeap(), 0, directoryBytes));
    if (!directory.IsValid()) {
        return false;
    }
    uint8_t* entries = static_cast<uint8_t*>(directory.Get());
    uint32_t offset = IconImageOffset(set, 0);
    for (uint32_t i = 0; i < set->imageCount; ++i) {
        if (!FillIconDirEntry(set->images[i], offset, entries + i * kIconDirEntryBytes)) {
            return false;
        }
        offset += set->images[i].byteCount;
    }
    return file->Write(entries, directoryBytes);
}

}  // namespace

bool WriteIconFileHeader(HANDLE file, uint32_t imageCount) {
    return WriteUi16(file, 0) && WriteUi16(file, kIconResourceType) &&
           WriteUi16(file, static_cast<uint16_t>(imageCount));
}

uint32_t IconImageOffset(const IconImageSet* set, uint32_t index) {
    uint32_t offset = kIconDirBytes + kIconDirEntryBytes * set->imageCount;
    for (uint32_t i = 0; i < index && i < set->imageCount; ++i) {
        offset += set->images[i].byteCount;
    }
    return offset;
}

bool FillIconDirEntry(const IconImage& image, uint32_t imageOffset, uint8_t* entry) {
    uint8_t colorCount = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    DibHeader dib;
    PngHeader png;
    if (ReadPngHeader(image.bytes, image.byteCount, &png)) {
        planes = 1;
        bitCount = PngBitsPerPixel(png);
    } else if (!IsPngImage(image.bytes, image.byteCount) &&
               ReadDibHeader(image.bytes, image.byteCount, &dib)) {
        // bColorCount follows from planes and bits alone: 2^p below 8 bits, else 0.
        uint32_t bits = static_cast<uint32_t>(dib.biPlanes) * dib.biBitCount;
        colorCount = static_cast<uint8_t>(bits < 8 ? 1u << bits : 0u);
        planes = dib.biPlanes;
        bitCount = dib.biBitCount;
    } else {
        return false;
    }
    // Sizes keep their low 8 bits, so 256 is written as 0.
    entry[kEntryWidth] = static_cast<uint8_t>(image.width);
    entry[kEntryHeight] = static_cast<uint8_t>(image.height);
    entry[kEntryColorCount] = colorCount;
    entry[kEntryReserved] = 0;
    SetUi16(entry + kEntryPlanes, planes);
    SetUi16(entry + kEntryBitCount, bitCount);
    SetUi32(entry + kEntryBytesInRes, image.byteCount);
    SetUi32(entry + kEntryImageOffset, imageOffset);
    return true;
}

bool WriteIconFile(IconImageSet* set, const char* path) {
    if (set == nullptr || !SetFitsIconFile(set)) {
        return false;
    }
    const uint32_t count = set->imageCount;
    OutputFile file;
    if (!file.Create(path) || !WriteIconFileHeader(file.Handle(), count)) {
        return false;
    }
    if (count > 0 && !WriteIconDirectory(&file, set)) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        IconImage* image = &set->images[i];
        uint8_t* sizeImage = image->header != nullptr ? image->header + kBiSizeImage : nullptr;
        TemporaryField32 zeroed(sizeImage, 0);
        if (!file.Write(image->bytes, image->byteCount)) {
            return false;
        }
    }
    file.Keep();
    return true;
}
