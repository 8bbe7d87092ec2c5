#include "iconextract/module/ne_resource_table.h"

#include "platform/byte_order.h"

namespace {

constexpr uint32_t kNeResourceTableOffset = 0x24;  // ne_rsrctab
constexpr uint32_t kNeResidentNamesOffset = 0x26;  // ne_restab
constexpr uint32_t kTypeInfoBytes = 8;
constexpr uint32_t kNameInfoBytes = 12;
constexpr uint32_t kNameInfoOffset = 0;
constexpr uint32_t kNameInfoLength = 2;
constexpr uint32_t kNameInfoId = 6;

// A name given by its offset in the table: a length byte and the characters, all inside.
bool NameFits(uint16_t offset, const uint8_t* bytes, uint32_t byteCount) {
    return offset < byteCount && bytes[offset] <= byteCount - offset - 1u;
}

}  // namespace

NeTableBounds NeResourceTableBounds(const uint8_t* neHeader, uint64_t neHeaderOffset) {
    uint16_t table = GetUi16(neHeader + kNeResourceTableOffset);
    uint16_t residentNames = GetUi16(neHeader + kNeResidentNamesOffset);
    NeTableBounds bounds;
    bounds.tableOffset = neHeaderOffset + table;
    bounds.tableBytes = residentNames > table ? static_cast<uint32_t>(residentNames - table) : 0;
    return bounds;
}

bool NeResourceTable::Check(const uint8_t* bytes, uint32_t byteCount, uint64_t fileSize) {
    bytes_ = nullptr;
    if (byteCount < 2) {
        return false;
    }
    uint32_t shift = GetUi16(bytes);
    if (shift > kNeMaxAlignShift) {
        return false;
    }
    // Every record moves the walk on by at least 8 bytes of a table of at most 64 KiB, so the
    // walk ends; a table whose records run out before a type 0 is damaged.
    uint32_t at = 2;
    for (;;) {
        if (!RangeFits(byteCount, at, 2)) {
            return false;
        }
        uint16_t type = GetUi16(bytes + at);
        if (type == 0) {
            break;
        }
        if (!RangeFits(byteCount, at, kTypeInfoBytes)) {
            return false;
        }
        if ((type & kNeIntegerId) == 0 && !NameFits(type, bytes, byteCount)) {
            return false;
        }
        uint32_t count = GetUi16(bytes + at + 2);
        uint32_t records = at + kTypeInfoBytes;
        if (!RangeFits(byteCount, records, static_cast<uint64_t>(count) * kNameInfoBytes)) {
            return false;
        }
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* record = bytes + records + i * kNameInfoBytes;
            uint64_t offset = static_cast<uint64_t>(GetUi16(record + kNameInfoOffset)) << shift;
            uint64_t length = static_cast<uint64_t>(GetUi16(record + kNameInfoLength)) << shift;
            uint16_t id = GetUi16(record + kNameInfoId);
            if (!RangeFits(fileSize, offset, length) ||
                ((id & kNeIntegerId) == 0 && !NameFits(id, bytes, byteCount))) {
                return false;
            }
        }
        at = records + count * kNameInfoBytes;
    }
    bytes_ = bytes;
    byteCount_ = byteCount;
    shift_ = shift;
    return true;
}

bool NeResourceTable::Locate(uint16_t type, uint32_t index, uint32_t* record, uint32_t* count) const {
    *count = 0;
    if (bytes_ == nullptr) {
        return false;
    }
    uint16_t wanted = static_cast<uint16_t>(type | kNeIntegerId);
    bool found = false;
    for (uint32_t at = 2; GetUi16(bytes_ + at) != 0;) {
        uint32_t inType = GetUi16(bytes_ + at + 2);
        uint32_t records = at + kTypeInfoBytes;
        if (GetUi16(bytes_ + at) == wanted) {
            if (!found && index < *count + inType) {
                *record = records + (index - *count) * kNameInfoBytes;
                found = true;
            }
            *count += inType;
        }
        at = records + inType * kNameInfoBytes;
    }
    return found;
}

uint32_t NeResourceTable::CountOfType(uint16_t type) const {
    uint32_t record = 0;
    uint32_t count = 0;
    Locate(type, 0, &record, &count);
    return count;
}

NeResource NeResourceTable::ResourceOfType(uint16_t type, uint32_t index) const {
    NeResource resource{};
    uint32_t record = 0;
    uint32_t count = 0;
    if (!Locate(type, index, &record, &count)) {
        return resource;
    }
    const uint8_t* info = bytes_ + record;
    uint16_t id = GetUi16(info + kNameInfoId);
    resource.fileOffset = static_cast<uint64_t>(GetUi16(info + kNameInfoOffset)) << shift_;
    resource.alignedLength = static_cast<uint64_t>(GetUi16(info + kNameInfoLength)) << shift_;
    resource.name.isString = (id & kNeIntegerId) == 0;
    if (resource.name.isString) {
        resource.name.length = bytes_[id];
        resource.name.text = bytes_ + id + 1;
    } else {
        resource.name.id = static_cast<uint16_t>(id & ~kNeIntegerId);
    }
    return resource;
}
