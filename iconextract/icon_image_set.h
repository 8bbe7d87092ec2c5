// One icon group in memory: every image kept byte for byte as stored in its source, with a few
// values measured from the image's own header.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kPathFieldBytes = 260;  // up to 259 characters and the terminating NUL

struct IconImage {
    int32_t width;       // biWidth (a PNG image: IHDR width)
    int32_t height;      // biHeight / 2, the picture's own height (a PNG image: IHDR height)
    uint32_t colorBits;  // biPlanes * biBitCount (a PNG image: IHDR bits per pixel)
    uint8_t* bytes;      // the image exactly as stored; owned by the set
    uint32_t byteCount;
    uint8_t* header;   // the BITMAPINFOHEADER at the start of bytes; none for a PNG image
    uint8_t* xorBits;  // start of the XOR bitmap; none when it lies beyond the bytes
    uint8_t* andBits;  // start of the AND mask; none when it lies beyond the bytes
};

struct IconImageSet {
    char iconFilePath[kPathFieldBytes];
    char moduleFilePath[kPathFieldBytes];
    uint32_t imageCount;
    IconImage images[];  // imageCount records, allocated with the set
};

// A zero-filled set sized for `imageCount` images, or none when the memory cannot be had.
IconImageSet* MakeIconImageSet(uint32_t imageCount);
// Releases each image's bytes and then the set; takes none too.
void FreeIconImageSet(IconImageSet* set);
// Gives an image `byteCount` fresh bytes owned by the set; false when they cannot be had.
bool AllocateIconImageBytes(IconImage* image, uint32_t byteCount);
// Stores a path in one of the set's path fields, cut to the field's 259 characters.
void StoreIconImageSetPath(char (&field)[kPathFieldBytes], const char* path);

struct IconImageSetTraits {
    using Value = IconImageSet*;
    static Value Invalid() { return nullptr; }
    static void Release(Value value) { FreeIconImageSet(value); }
};
