#include "tests/support/icon_fixtures.h"

#include <cctype>
#include <stdexcept>

void PutUi16(Bytes* bytes, size_t offset, uint16_t value) {
    bytes->at(offset) = static_cast<uint8_t>(value);
    bytes->at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

void PutUi32(Bytes* bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes->at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint16_t Ui16At(const Bytes& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

uint32_t Ui32At(const Bytes& bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes.at(offset + i);
    }
    return value;
}

namespace {

uint32_t ColorEntries(const DibShape& shape) {
    if (shape.clrUsed != 0) {
        return shape.clrUsed;
    }
    switch (shape.bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

uint32_t Rows(const DibShape& shape) { return shape.height < 0 ? 0 : static_cast<uint32_t>(shape.height); }

uint32_t XorRowBytes(const DibShape& shape) {
    uint64_t bits = static_cast<uint64_t>(shape.width) * shape.planes * shape.bitCount;
    return static_cast<uint32_t>((bits + 31) / 32 * 4);
}

uint32_t MaskRowBytes(const DibShape& shape) {
    return static_cast<uint32_t>((static_cast<uint64_t>(shape.width) + 31) / 32 * 4);
}

}  // namespace

uint32_t DibImageLength(const DibShape& shape) {
    return 40 + 4 * ColorEntries(shape) + (XorRowBytes(shape) + MaskRowBytes(shape)) * Rows(shape);
}

Bytes MakeDibImage(const DibShape& shape) {
    Bytes image(DibImageLength(shape), 0);
    PutUi32(&image, 0, 40);
    PutUi32(&image, 4, static_cast<uint32_t>(shape.width));
    PutUi32(&image, 8, static_cast<uint32_t>(shape.height * 2));
    PutUi16(&image, 12, shape.planes);
    PutUi16(&image, 14, shape.bitCount);
    PutUi32(&image, 20, shape.sizeImage);
    PutUi32(&image, 32, shape.clrUsed);
    for (size_t i = 40; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>(i * 7 + shape.seed * 31);
    }
    return image;
}

Bytes MakePngImage(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colorType) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',  // signature
                 0, 0, 0, 13, 'I', 'H', 'D', 'R'};            // IHDR chunk, 13 bytes
    for (uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(static_cast<uint8_t>(value >> shift));
        }
    }
    png.insert(png.end(), {bitDepth, colorType, 0, 0, 0});
    png.insert(png.end(), {0x12, 0x34, 0x56, 0x78});                         // CRC, not checked
    png.insert(png.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    // Bytes 20 to 23 are IHDR's height: a writer that zeroes "biSizeImage" would corrupt it.
    return png;
}

Bytes MakeIcoFile(const std::vector<Bytes>& images) {
    size_t count = images.size();
    Bytes file(6 + 16 * count, 0xEE);
    PutUi16(&file, 0, 0);
    PutUi16(&file, 2, 1);
    PutUi16(&file, 4, static_cast<uint16_t>(count));
    uint32_t offset = static_cast<uint32_t>(file.size());
    for (size_t i = 0; i < count; ++i) {
        PutUi32(&file, 6 + 16 * i + 8, static_cast<uint32_t>(images[i].size()));
        PutUi32(&file, 6 + 16 * i + 12, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) {
        file.insert(file.end(), image.begin(), image.end());
    }
    return file;
}

std::vector<Bytes> IcoImages(const Bytes& file) {
    std::vector<Bytes> images;
    for (uint16_t i = 0; i < Ui16At(file, 4); ++i) {
        uint32_t length = Ui32At(file, 6 + 16u * i + 8);
        uint32_t offset = Ui32At(file, 6 + 16u * i + 12);
        if (static_cast<uint64_t>(offset) + length > file.size()) {
            throw std::out_of_range("image past the end of the icon file");
        }
        images.emplace_back(file.begin() + offset, file.begin() + offset + length);
    }
    return images;
}

Bytes WithZeroSizeImage(Bytes image) {
    bool png = image.size() >= 8 && image[0] == 0x89 && image[1] == 'P';
    if (!png && image.size() >= 24) {
        PutUi32(&image, 20, 0);
    }
    return image;
}

std::vector<Bytes> WithZeroSizeImages(std::vector<Bytes> images) {
    for (Bytes& image : images) {
        image = WithZeroSizeImage(std::move(image));
    }
    return images;
}

Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    std::string digits;
    for (char c : hex) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits.push_back(c);
        }
    }
    if (digits.size() % 2 != 0) {
        throw std::invalid_argument("odd number of hex digits");
    }
    for (size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}
