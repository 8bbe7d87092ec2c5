#include "platform/posix/pe_image.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include "platform/byte_order.h"
#include "platform/posix/standin_internal.h"

namespace {

// Offsets of the fields read, by structure.
constexpr uint64_t kDosNewHeaderOffset = 0x3C;  // e_lfanew
constexpr uint64_t kDosHeaderBytes = 0x40;
constexpr uint64_t kCoffHeaderBytes = 24;  // "PE\0\0" and IMAGE_FILE_HEADER
constexpr uint64_t kCoffSectionCount = 6;
constexpr uint64_t kCoffOptionalHeaderSize = 20;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kPe32DirectoryCount = 92;  // NumberOfRvaAndSizes
constexpr uint32_t kPe32PlusDirectoryCount = 108;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kDataDirectoryBytes = 8;
constexpr uint64_t kSectionHeaderBytes = 40;
constexpr uint32_t kSectionVirtualAddress = 12;
constexpr uint32_t kSectionRawSize = 16;
constexpr uint32_t kSectionRawOffset = 20;
constexpr uint64_t kResourceDirectoryBytes = 16;
constexpr uint32_t kResourceNamedCount = 12;
constexpr uint32_t kResourceIdCount = 14;
constexpr uint64_t kResourceEntryBytes = 8;
constexpr uint64_t kResourceDataEntryBytes = 16;
constexpr uint32_t kHighBit = 0x80000000u;

// Reads the directory entry of the resource table from the optional header: its RVA, or 0.
uint32_t ResourceTableRva(const uint8_t* optional, uint32_t optionalSize) {
    if (optionalSize < 2) {
        return 0;
    }
    uint16_t magic = GetUi16(optional);
    uint32_t countAt = magic == kPe32Magic ? kPe32DirectoryCount : kPe32PlusDirectoryCount;
    uint32_t directoriesAt = countAt + 4;
    if (!RangeFits(optionalSize, countAt, 4) ||
        GetUi32(optional + countAt) <= kResourceDirectoryIndex) {
        return 0;
    }
    uint32_t entryAt = directoriesAt + kResourceDirectoryIndex * kDataDirectoryBytes;
    return RangeFits(optionalSize, entryAt, kDataDirectoryBytes) ? GetUi32(optional + entryAt) : 0;
}

bool ReadHeaders(PeImage* image) {
    uint8_t dos[kDosHeaderBytes];
    if (!ReadPeBytes(*image, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') {
        return false;
    }
    uint64_t newHeader = GetUi32(dos + kDosNewHeaderOffset);
    uint8_t coff[kCoffHeaderBytes];
    if (!ReadPeBytes(*image, newHeader, coff, sizeof coff) || coff[0] != 'P' || coff[1] != 'E' ||
        coff[2] != 0 || coff[3] != 0) {
        return false;  // an NE or LE module, or no module at all
    }
    uint32_t sectionCount = GetUi16(coff + kCoffSectionCount);
    uint32_t optionalSize = GetUi16(coff + kCoffOptionalHeaderSize);
    std::vector<uint8_t> optional(optionalSize);
    if (optionalSize < 2 || !ReadPeBytes(*image, newHeader + kCoffHeaderBytes, optional.data(),
                                         optional.size())) {
        return false;
    }
    uint16_t magic = GetUi16(optional.data());
    if (magic != kPe32Magic && magic != kPe32PlusMagic) {
        return false;
    }
    std::vector<uint8_t> table(sectionCount * kSectionHeaderBytes);
    if (!ReadPeBytes(*image, newHeader + kCoffHeaderBytes + optionalSize, table.data(),
                     table.size())) {
        return false;
    }
    image->sections.resize(sectionCount);
    for (uint32_t i = 0; i < sectionCount; ++i) {
        const uint8_t* header = table.data() + i * kSectionHeaderBytes;
        image->sections[i] = {GetUi32(header + kSectionVirtualAddress),
                              GetUi32(header + kSectionRawSize),
                              GetUi32(header + kSectionRawOffset)};
    }
    // The resource tree may only be read inside the raw data of the section holding its root.
    uint32_t rva = ResourceTableRva(optional.data(), optionalSize);
    for (const PeSection& section : image->sections) {
        if (rva != 0 && rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize) {
            uint64_t end = static_cast<uint64_t>(section.rawOffset) + section.rawSize;
            image->resourceBase = section.rawOffset + (rva - section.virtualAddress);
            image->resourceEnd = end < image->fileSize ? end : image->fileSize;
            if (image->resourceBase >= image->resourceEnd) {
                image->resourceBase = image->resourceEnd = 0;
            }
            break;
        }
    }
    return true;
}

// Reads `length` bytes at `offset` from the resource base, inside the resource section.
bool ReadResourceBytes(const PeImage& image, uint64_t offset, void* buffer, size_t length) {
    if (image.resourceEnd == 0 ||
        !RangeFits(image.resourceEnd - image.resourceBase, offset, length)) {
        return false;
    }
    return ReadPeBytes(image, image.resourceBase + offset, buffer, length);
}

bool ReadResourceString(const PeImage& image, uint32_t offset, std::vector<uint16_t>* text) {
    uint8_t lengthBytes[2];
    if (!ReadResourceBytes(image, offset, lengthBytes, sizeof lengthBytes)) {
        return false;
    }
    uint16_t length = GetUi16(lengthBytes);
    std::vector<uint8_t> units(length * 2u);
    if (!ReadResourceBytes(image, offset + 2u, units.data(), units.size())) {
        return false;
    }
    text->resize(length);
    for (uint16_t i = 0; i < length; ++i) {
        (*text)[i] = GetUi16(units.data() + 2 * i);
    }
    return true;
}

bool TakeFromBudget(uint64_t* budget, uint64_t bytes) {
    if (bytes > *budget) {
        return false;
    }
    *budget -= bytes;
    return true;
}

}  // namespace

bool OpenPeImage(const char* path, PeImage* image) {
    *image = PeImage{};
    if (path == nullptr) {
        return false;
    }
    image->fd = StandinOpenRegularFile(path, O_RDONLY, &image->fileSize);
    if (image->fd < 0) {
        return false;
    }
    if (!ReadHeaders(image)) {
        ClosePeImage(image);
        return false;
    }
    return true;
}

void ClosePeImage(PeImage* image) {
    if (image->fd >= 0) {
        close(image->fd);
    }
    *image = PeImage{};
}

bool ReadPeBytes(const PeImage& image, uint64_t offset, void* buffer, size_t length) {
    if (!RangeFits(image.fileSize, offset, length)) {
        return false;
    }
    StandinNoteModuleRead(length);
    uint8_t* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < length) {
        ssize_t got = pread(image.fd, out + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;  // the file shrank or cannot be read
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

bool PeRvaToFileOffset(const PeImage& image, uint32_t rva, uint32_t size, uint64_t* offset) {
    for (const PeSection& section : image.sections) {
        if (rva >= section.virtualAddress &&
            RangeFits(section.rawSize, rva - section.virtualAddress, size)) {
            uint64_t at = static_cast<uint64_t>(section.rawOffset) + (rva - section.virtualAddress);
            if (!RangeFits(image.fileSize, at, size)) {
                return false;
            }
            *offset = at;
            return true;
        }
    }
    return false;
}

bool ReadPeResourceDirectory(const PeImage& image, uint32_t offset,
                             std::vector<PeResourceEntry>* entries) {
    entries->clear();
    uint8_t header[kResourceDirectoryBytes];
    if (!ReadResourceBytes(image, offset, header, sizeof header)) {
        return false;
    }
    uint32_t count = static_cast<uint32_t>(GetUi16(header + kResourceNamedCount)) +
                     GetUi16(header + kResourceIdCount);
    // The entries must all be there before anything is made for them.
    std::vector<uint8_t> table;
    uint64_t tableAt = offset + kResourceDirectoryBytes;
    if (!RangeFits(image.resourceEnd - image.resourceBase, tableAt, count * kResourceEntryBytes)) {
        return false;
    }
    table.resize(count * kResourceEntryBytes);
    if (!ReadResourceBytes(image, tableAt, table.data(), table.size())) {
        return false;
    }
    entries->resize(count);
    // Linkers store each name once, so a directory's names fit in its section. Names that share
    // their bytes could claim far more to read and keep; such a directory counts as damaged.
    uint64_t nameBudget = image.resourceEnd - image.resourceBase;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t name = GetUi32(table.data() + i * kResourceEntryBytes);
        uint32_t data = GetUi32(table.data() + i * kResourceEntryBytes + 4);
        PeResourceEntry& entry = (*entries)[i];
        entry.name.isString = (name & kHighBit) != 0;
        entry.name.id = static_cast<uint16_t>(name);
        if (entry.name.isString &&
            (!ReadResourceString(image, name & ~kHighBit, &entry.name.text) ||
             !TakeFromBudget(&nameBudget, 2 + 2 * entry.name.text.size()))) {
            entries->clear();
            return false;
        }
        entry.isDirectory = (data & kHighBit) != 0;
        entry.target = data & ~kHighBit;
    }
    return true;
}

bool ReadPeResourceData(const PeImage& image, uint32_t offset, uint64_t* fileOffset,
                        uint32_t* size) {
    uint8_t entry[kResourceDataEntryBytes];
    if (!ReadResourceBytes(image, offset, entry, sizeof entry)) {
        return false;
    }
    *size = GetUi32(entry + 4);
    return PeRvaToFileOffset(image, GetUi32(entry), *size, fileOffset);
}
