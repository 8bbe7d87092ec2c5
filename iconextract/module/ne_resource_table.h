// The resource table of a 16-bit NE module (the format of most classic icon libraries), checked
// whole when it is read and then walked in memory.
//
// The table begins with the alignment shift, then TYPEINFO records until a type identifier of 0:
// a type identifier (integer types have the high bit set), a count of resources and 4 reserved
// bytes, then that many 12-byte NAMEINFO records: the offset and the length of the resource's
// bytes, both in units of 1 << shift bytes, flags, the resource identifier (integers have the
// high bit set; otherwise it is the offset, from the table's start, of a name given as a length
// byte and that many characters) and 4 reserved bytes.
#pragma once

#include <cstdint>

constexpr uint16_t kNeIntegerId = 0x8000;
constexpr uint32_t kNeMaxAlignShift = 15;  // offsets stay below 2^31, lengths likewise

// Where the resource table lies in the file, from the NE header: its bytes are those from the
// header's offset of the resource table up to that of the resident-name table that follows it.
struct NeTableBounds {
    uint64_t tableOffset;
    uint32_t tableBytes;
};

constexpr uint32_t kNeHeaderBytes = 64;

// Reads the bounds from the first 64 bytes of the NE header. A header whose resident-name table
// does not come after the resource table has no resource table: 0 bytes.
NeTableBounds NeResourceTableBounds(const uint8_t* neHeader, uint64_t neHeaderOffset);

struct NeResourceName {
    bool isString;
    uint16_t id;           // without the high bit
    const uint8_t* text;   // the characters of a string name, inside the table
    uint8_t length;
};

struct NeResource {
    NeResourceName name;
    uint64_t fileOffset;     // offset << shift
    uint64_t alignedLength;  // length << shift
};

// The resource table's bytes, checked: every record, count and name inside the table, every
// resource's bytes inside the file, the alignment shift at most 15, and a type 0 that ends it.
class NeResourceTable {
public:
    // `bytes` must stay valid while the table is used.
    bool Check(const uint8_t* bytes, uint32_t byteCount, uint64_t fileSize);

    // The number of resources of integer type `type`, and resource `index` of them in table
    // order. Only for a table that passed Check.
    uint32_t CountOfType(uint16_t type) const;
    NeResource ResourceOfType(uint16_t type, uint32_t index) const;

private:
    // Finds the record of resource `index` of integer type `type`; false when there is none.
    bool Locate(uint16_t type, uint32_t index, uint32_t* record, uint32_t* count) const;

    const uint8_t* bytes_ = nullptr;
    uint32_t byteCount_ = 0;
    uint32_t shift_ = 0;
};
