// Writes one icon image as a BMP file of its picture alone: the file header, the image's
// BITMAPINFOHEADER with biHeight halved, its colour table and its XOR bitmap; no AND mask.
#pragma once

#include <cstdint>

#include "iconextract/icon_image_set.h"

constexpr uint32_t kBitmapFileHeaderBytes = 14;

struct BmpLayout {
    uint16_t colorTableBytes;  // T
    int32_t pictureHeight;     // H, biHeight / 2
    uint32_t imageBytes;       // 40 + T + R * H: what is written from the image's bytes
    uint32_t fileBytes;        // bfSize: 14 + imageBytes
    uint32_t offBits;          // bfOffBits: 54 + T
};

// The layout of the BMP file of an image, taking its header to be 40 bytes long. False for a PNG
// image and for one whose picture would run past its bytes (or has a negative size).
bool PlanBmpLayout(const IconImage& image, BmpLayout* layout);

// Writes the BMP file, replacing any file at `path`; true when it was written in full. On failure
// no file is left at `path`; an image that cannot be put out as a BMP file leaves it untouched.
// The image's biHeight is halved while it is written and put back afterwards.
bool WriteIconImageAsBmp(IconImage* image, const char* path);
