// Little- and big-endian reads and writes by offset. File bytes are never cast to structures;
// every field is assembled from its bytes, so alignment and host byte order play no part.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint16_t GetUi16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t GetUi32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t GetUi64(const uint8_t* p) {
    return static_cast<uint64_t>(GetUi32(p)) | (static_cast<uint64_t>(GetUi32(p + 4)) << 32);
}

inline int32_t GetSi32(const uint8_t* p) { return static_cast<int32_t>(GetUi32(p)); }

inline uint32_t GetBe32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

inline void SetUi16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline void SetUi32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

// True when `length` bytes starting at `offset` lie inside a block of `size` bytes. Written so
// that no sum can overflow, whatever the operands.
inline bool RangeFits(uint64_t size, uint64_t offset, uint64_t length) {
    return offset <= size && length <= size - offset;
}

// True when a * b is at most `limit`, computed without overflow.
inline bool ProductFits(uint64_t a, uint64_t b, uint64_t limit) {
    return a == 0 || b <= limit / a;
}
