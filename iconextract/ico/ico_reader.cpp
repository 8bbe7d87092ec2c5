#include "iconextract/ico/ico_reader.h"

#include "iconextract/ico/ico_format.h"
#include "iconextract/measure_icon_image.h"
#include "iconextract/source_file.h"
#include "platform/byte_order.h"
#include "platform/scoped_handles.h"

namespace {

bool ReadUi16(HANDLE file, uint16_t* value) {
    uint8_t bytes[2];
    if (!ReadAllBytes(file, bytes, sizeof bytes)) {
        return false;
    }
    *value = GetUi16(bytes);
    return true;
}

// Copies image i of the directory out of the file, from `*position` on. The image must lie
// inside the file before anything is allocated for it, so that no size a file merely claims is
// ever allocated.
bool ReadIconFileImage(HANDLE file, uint64_t fileSize, const uint8_t* entry, IconImage* image,
                       uint64_t* position) {
    uint32_t byteCount = GetUi32(entry + kEntryBytesInRes);
    uint32_t offset = GetUi32(entry + kEntryImageOffset);
    if (!ReachableInFile(fileSize, offset, byteCount) ||
        !AllocateIconImageBytes(image, byteCount)) {
        return false;
    }
    // Images mostly follow each other: a move to where the file already is would do nothing, and
    // leaving it out halves the calls for an icon file of many small images.
    if (offset != *position && !MoveToOffset(file, offset)) {
        return false;
    }
    if (!ReadAllBytes(file, image->bytes, byteCount)) {
        return false;
    }
    *position = static_cast<uint64_t>(offset) + byteCount;
    return MeasureIconImage(image);
}

}  // namespace

int32_t ReadIconFileHeader(HANDLE file) {
    uint16_t reserved = 0;
    uint16_t type = 0;
    uint16_t count = 0;
    if (!ReadUi16(file, &reserved) || reserved != 0) {
        return -1;
    }
    if (!ReadUi16(file, &type) || type != kIconResourceType) {
        return -1;
    }
    if (!ReadUi16(file, &count)) {
        return -1;
    }
    return count;
}

IconImageSet* ReadIconFile(const char* path) {
    ScopedFileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return nullptr;
    }
    uint64_t fileSize = 0;
    if (!SourceFileSize(file.Get(), &fileSize)) {
        return nullptr;
    }
    int32_t count = ReadIconFileHeader(file.Get());
    if (count < 0) {
        return nullptr;
    }
    uint32_t imageCount = static_cast<uint32_t>(count);
    uint32_t directoryBytes = imageCount * kIconDirEntryBytes;  // at most 1 MiB
    if (!RangeFits(fileSize, kIconDirBytes, directoryBytes)) {
        return nullptr;  // the directory is cut short: fail before allocating for it
    }
    Scoped<IconImageSetTraits> set(MakeIconImageSet(imageCount));
    if (!set.IsValid()) {
        return nullptr;
    }
    StoreIconImageSetPath(set.Get()->iconFilePath, path);
    if (imageCount == 0) {
        return set.Detach();
    }
    ScopedHeapBlock directory(HeapAlloc(GetProcessHeap(), 0, directoryBytes));
    if (!directory.IsValid() || !ReadAllBytes(file.Get(), directory.Get(), directoryBytes)) {
        return nullptr;
    }
    const uint8_t* entries = static_cast<const uint8_t*>(directory.Get());
    uint64_t position = kIconDirBytes + directoryBytes;
    for (uint32_t i = 0; i < imageCount; ++i) {
        if (!ReadIconFileImage(file.Get(), fileSize, entries + i * kIconDirEntryBytes,
                               &set.Get()->images[i], &position)) {
            return nullptr;
        }
    }
    return set.Detach();
}
