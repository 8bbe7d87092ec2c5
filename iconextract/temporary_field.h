// A 32-bit little-endian field of an image's own bytes that holds another value while the owner
// lives, and its own value again afterwards, on every path. The writers use it to put out a
// changed header with one write straight from the image's bytes.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/byte_order.h"

class TemporaryField32 {
public:
    // `field` may be none: then nothing is changed.
    TemporaryField32(uint8_t* field, uint32_t value) : field_(field) {
        if (field_ != nullptr) {
            std::memcpy(saved_, field_, sizeof saved_);
            SetUi32(field_, value);
        }
    }
    ~TemporaryField32() {
        if (field_ != nullptr) {
            std::memcpy(field_, saved_, sizeof saved_);
        }
    }
    TemporaryField32(const TemporaryField32&) = delete;
    TemporaryField32& operator=(const TemporaryField32&) = delete;

private:
    uint8_t* field_;
    uint8_t saved_[4];
};
