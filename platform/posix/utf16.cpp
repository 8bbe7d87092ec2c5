#include "platform/posix/utf16.h"

std::string Utf16ToUtf8(const uint16_t* units, size_t count) {
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        uint32_t point = units[i];
        if (point >= 0xD800 && point < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            point = 0x10000 + ((point - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        }
        if (point < 0x80) {
            text.push_back(static_cast<char>(point));
        } else if (point < 0x800) {
            text.push_back(static_cast<char>(0xC0 | (point >> 6)));
            text.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        } else if (point < 0x10000) {
            text.push_back(static_cast<char>(0xE0 | (point >> 12)));
            text.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        } else {
            text.push_back(static_cast<char>(0xF0 | (point >> 18)));
            text.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        }
    }
    return text;
}

bool Utf8ToUtf16(const char* text, std::vector<uint16_t>* units) {
    units->clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        uint32_t point = 0;
        int follow = 0;
        if (*p < 0x80) {
            point = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            point = *p & 0x1Fu;
            follow = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            point = *p & 0x0Fu;
            follow = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            point = *p & 0x07u;
            follow = 3;
        } else {
            return false;
        }
        ++p;
        for (int i = 0; i < follow; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) {
                return false;
            }
            point = (point << 6) | (*p & 0x3Fu);
        }
        static const uint32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
        if (point < kShortest[follow] || point > 0x10FFFF) {
            return false;  // overlong or beyond Unicode
        }
        if (point >= 0x10000) {
            units->push_back(static_cast<uint16_t>(0xD800 + ((point - 0x10000) >> 10)));
            units->push_back(static_cast<uint16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            units->push_back(static_cast<uint16_t>(point));
        }
    }
    return true;
}

uint16_t UpcaseUtf16(uint16_t unit) {
    if ((unit >= 'a' && unit <= 'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) ||
        (unit >= 0x3B1 && unit <= 0x3CB && unit != 0x3C2) || (unit >= 0x430 && unit <= 0x44F)) {
        return static_cast<uint16_t>(unit - 0x20);
    }
    if (unit == 0xFF) {
        return 0x178;
    }
    if (unit >= 0x450 && unit <= 0x45F) {
        return static_cast<uint16_t>(unit - 0x50);
    }
    if (unit >= 0x100 && unit <= 0x17F && (unit & 1) == 1 && unit != 0x131 && unit != 0x138 &&
        unit != 0x149 && unit != 0x17F && !(unit >= 0x139 && unit <= 0x148) &&
        !(unit >= 0x179 && unit <= 0x17E)) {
        return static_cast<uint16_t>(unit - 1);  // Latin Extended-A pairs, upper case even
    }
    if (((unit >= 0x13A && unit <= 0x148) || (unit >= 0x17A && unit <= 0x17E)) && (unit & 1) == 0) {
        return static_cast<uint16_t>(unit - 1);  // the stretches where lower case is even
    }
    return unit;
}
