#include "iconextract/icon_image_set.h"

#include <cstring>

#include "platform/byte_order.h"
#include "platform/win32_api.h"

IconImageSet* MakeIconImageSet(uint32_t imageCount) {
    // A set holds at most 65535 images (a 16-bit count in every source), so the size cannot
    // overflow; the check keeps that true for any caller.
    if (!ProductFits(imageCount, sizeof(IconImage), SIZE_MAX - sizeof(IconImageSet))) {
        return nullptr;
    }
    size_t size = offsetof(IconImageSet, images) + imageCount * sizeof(IconImage);
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (block == nullptr) {
        return nullptr;
    }
    IconImageSet* set = static_cast<IconImageSet*>(block);
    set->imageCount = imageCount;
    return set;
}

void FreeIconImageSet(IconImageSet* set) {
    if (set == nullptr) {
        return;
    }
    for (uint32_t i = 0; i < set->imageCount; ++i) {
        if (set->images[i].bytes != nullptr) {
            HeapFree(GetProcessHeap(), 0, set->images[i].bytes);
        }
    }
    HeapFree(GetProcessHeap(), 0, set);
}

bool AllocateIconImageBytes(IconImage* image, uint32_t byteCount) {
    void* bytes = HeapAlloc(GetProcessHeap(), 0, byteCount);
    if (bytes == nullptr) {
        return false;
    }
    image->bytes = static_cast<uint8_t*>(bytes);
    image->byteCount = byteCount;
    return true;
}

void StoreIconImageSetPath(char (&field)[kPathFieldBytes], const char* path) {
    size_t length = path == nullptr ? 0 : std::strlen(path);
    if (length > kPathFieldBytes - 1) {
        length = kPathFieldBytes - 1;
    }
    if (length > 0) {
        std::memcpy(field, path, length);
    }
    field[length] = '\0';
}
