// The BITMAPINFOHEADER of an icon image and the measures derived from it. An icon image is the
// header, a colour table, the XOR bitmap (height rows) and the AND mask (height rows of 1 bit per
// pixel); biHeight counts the rows of both bitmaps, so it is twice the picture's height.
#pragma once

#include <cstdint>

// Offsets of the header fields that are read or changed.
constexpr uint32_t kBiSize = 0;
constexpr uint32_t kBiWidth = 4;
constexpr uint32_t kBiHeight = 8;
constexpr uint32_t kBiPlanes = 12;
constexpr uint32_t kBiBitCount = 14;
constexpr uint32_t kBiSizeImage = 20;
constexpr uint32_t kBiClrUsed = 32;
constexpr uint32_t kDibHeaderBytes = 40;  // a whole BITMAPINFOHEADER

struct DibHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biSizeImage;
    uint32_t biClrUsed;
};

// Reads the fields from the start of an image; false when fewer than 40 bytes are there.
bool ReadDibHeader(const uint8_t* bytes, uint32_t byteCount, DibHeader* header);

// Colour-table entries: biClrUsed, or when that is 0 what the bit count implies (only 1, 4 and 8
// bits imply a table).
uint32_t DibColorCount(const DibHeader& header);
// 4 bytes per colour, kept in 16 bits (taken modulo 65536) as every user of it expects.
uint16_t DibColorTableBytes(const DibHeader& header);
// Where the XOR bitmap starts, counted from the start of the header: biSize plus the table.
uint64_t DibXorBits(const DibHeader& header);
// Bytes in one XOR-bitmap row: width * planes * bit count bits, padded to whole 32-bit words.
int64_t DibRowBytes(const DibHeader& header);
// The picture's height: biHeight / 2, rounded toward zero.
int32_t DibPictureHeight(const DibHeader& header);
