// Icon images and ICO files built in memory for the tests, byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct DibShape {
    int32_t width = 32;
    int32_t height = 32;  // the picture's height; biHeight is twice this
    uint16_t planes = 1;
    uint16_t bitCount = 4;
    uint32_t clrUsed = 0;
    uint32_t sizeImage = 0;
    uint8_t seed = 1;  // varies the colour and pixel bytes so that images differ
};

// A complete icon image: header, colour table, XOR bitmap and AND mask, all bytes present.
Bytes MakeDibImage(const DibShape& shape);
// The length MakeDibImage gives for a shape.
uint32_t DibImageLength(const DibShape& shape);

// A PNG-compressed image: the signature, an IHDR chunk and some further bytes.
Bytes MakePngImage(uint32_t width, uint32_t height, uint8_t bitDepth = 8, uint8_t colorType = 6);

// An ICO file holding the images in order, right after the directory. The directory's size and
// colour fields are left at 0xEE on purpose: a reader must take them from the images.
Bytes MakeIcoFile(const std::vector<Bytes>& images);

// The images of an ICO file in directory order, as its own directory places them.
std::vector<Bytes> IcoImages(const Bytes& file);
// An image as an ICO writer puts it out: a DIB image's biSizeImage (bytes 20 to 23) as 0, a PNG
// image unchanged.
Bytes WithZeroSizeImage(Bytes image);
std::vector<Bytes> WithZeroSizeImages(std::vector<Bytes> images);

// Little-endian fields for building or patching fixtures.
void PutUi16(Bytes* bytes, size_t offset, uint16_t value);
void PutUi32(Bytes* bytes, size_t offset, uint32_t value);
uint16_t Ui16At(const Bytes& bytes, size_t offset);
uint32_t Ui32At(const Bytes& bytes, size_t offset);

// Bytes from hex text such as "00 00 01 00"; spaces are ignored.
Bytes FromHex(const std::string& hex);
