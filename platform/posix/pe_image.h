// A PE image (PE32 or PE32+) opened as data, the way the stand-in's LoadLibraryExA loads it:
// only the headers and the section table are read at once; everything else is read on demand,
// each read checked against the file. Nothing of the image is ever run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PeSection {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;
};

struct PeImage {
    int fd = -1;
    uint64_t fileSize = 0;
    std::vector<PeSection> sections;
    // The resource directory: where it begins in the file, and where the raw data of its section
    // ends (cut at the end of the file). Every offset inside the resource tree is relative to
    // `resourceBase` and must stay below `resourceEnd`. No resources: both 0.
    uint64_t resourceBase = 0;
    uint64_t resourceEnd = 0;
};

// Opens `path` and reads its headers: "MZ", the new-header offset, "PE\0\0", the COFF header, an
// optional header of a PE32 or PE32+ image and the section table. False for anything else (a
// 16-bit NE module, an icon file, text), and for headers cut short.
bool OpenPeImage(const char* path, PeImage* image);
void ClosePeImage(PeImage* image);

// Reads exactly `length` bytes at `offset`; false when they are not all inside the file.
bool ReadPeBytes(const PeImage& image, uint64_t offset, void* buffer, size_t length);

// The file offset of `size` bytes at `rva`: they must lie in the raw data of one section.
bool PeRvaToFileOffset(const PeImage& image, uint32_t rva, uint32_t size, uint64_t* offset);

// ---- The resource tree: types, then names, then languages, each an IMAGE_RESOURCE_DIRECTORY ----

// A name or identifier in the tree: the 16-bit identifier, or the UTF-16 units of a string.
struct PeResourceName {
    bool isString;
    uint16_t id;
    std::vector<uint16_t> text;
};

struct PeResourceEntry {
    PeResourceName name;
    bool isDirectory;  // the entry leads to a further directory, or else to a data entry
    uint32_t target;   // offset of that directory or data entry, from the resource base
};

// The entries of the directory at `offset` (from the resource base), named ones first, in the
// order the file holds them. False when the directory, any entry or any string name lies
// outside the resource section.
bool ReadPeResourceDirectory(const PeImage& image, uint32_t offset,
                             std::vector<PeResourceEntry>* entries);

// An IMAGE_RESOURCE_DATA_ENTRY: where the resource's bytes lie in the file and how many there
// are. False when the entry lies outside the section or its bytes outside the file.
bool ReadPeResourceData(const PeImage& image, uint32_t offset, uint64_t* fileOffset,
                        uint32_t* size);
