// The ICO file layout: a 6-byte ICONDIR header, one 16-byte ICONDIRENTRY per image, then the
// images' bytes. All numbers are little-endian.
#pragma once

#include <cstdint>

constexpr uint32_t kIconDirBytes = 6;
constexpr uint32_t kIconDirEntryBytes = 16;
constexpr uint16_t kIconResourceType = 1;  // idType of an icon file (2 is a cursor file)

// Offsets inside an ICONDIRENTRY.
constexpr uint32_t kEntryWidth = 0;         // bWidth
constexpr uint32_t kEntryHeight = 1;        // bHeight
constexpr uint32_t kEntryColorCount = 2;    // bColorCount
constexpr uint32_t kEntryReserved = 3;      // bReserved
constexpr uint32_t kEntryPlanes = 4;        // wPlanes
constexpr uint32_t kEntryBitCount = 6;      // wBitCount
constexpr uint32_t kEntryBytesInRes = 8;    // dwBytesInRes
constexpr uint32_t kEntryImageOffset = 12;  // dwImageOffset
