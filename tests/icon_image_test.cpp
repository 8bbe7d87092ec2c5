// Measuring icon images: the DIB layout rules, PNG images, and images too short to measure.
#include <gtest/gtest.h>

#include <cstring>

#include "iconextract/dib.h"
#include "iconextract/icon_image_set.h"
#include "iconextract/measure_icon_image.h"
#include "iconextract/png.h"
#include "tests/support/icon_fixtures.h"

namespace {

// An image over caller-owned bytes, measured.
IconImage Measured(Bytes& bytes, bool* ok = nullptr) {
    IconImage image{};
    image.bytes = bytes.data();
    image.byteCount = static_cast<uint32_t>(bytes.size());
    bool measured = MeasureIconImage(&image);
    if (ok != nullptr) {
        *ok = measured;
    }
    return image;
}

DibHeader HeaderOf(const Bytes& bytes) {
    DibHeader header{};
    EXPECT_TRUE(ReadDibHeader(bytes.data(), static_cast<uint32_t>(bytes.size()), &header));
    return header;
}

struct LayoutCase {
    const char* name;
    DibShape shape;
    uint32_t colors;
    uint16_t tableBytes;
    int64_t rowBytes;
    uint32_t xorOffset;
    uint32_t andOffset;
};

TEST(DibLayout, MeasuresColourTableRowsAndBitmapPositions) {
    const LayoutCase cases[] = {
        {"32x32 4-bit", {32, 32, 1, 4}, 16, 64, 16, 104, 616},
        {"48x48 32-bit", {48, 48, 1, 32}, 0, 0, 192, 40, 40 + 192 * 48},
        {"8-bit with biClrUsed 5", {16, 16, 1, 8, 5}, 5, 20, 16, 60, 60 + 16 * 16},
        {"2-bit assumes no table", {16, 16, 1, 2}, 0, 0, 4, 40, 40 + 4 * 16},
        {"16x16 1-bit", {16, 16, 1, 1}, 2, 8, 4, 48, 48 + 4 * 16},
        {"8-bit without biClrUsed", {16, 16, 1, 8}, 256, 1024, 16, 1064, 1064 + 16 * 16},
        {"24-bit rows padded", {3, 3, 1, 24}, 0, 0, 12, 40, 40 + 12 * 3},
        {"planes count in rows", {16, 16, 2, 4}, 16, 64, 16, 104, 104 + 16 * 16},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = MakeDibImage(c.shape);
        DibHeader header = HeaderOf(bytes);
        EXPECT_EQ(DibColorCount(header), c.colors);
        EXPECT_EQ(DibColorTableBytes(header), c.tableBytes);
        EXPECT_EQ(DibRowBytes(header), c.rowBytes);
        EXPECT_EQ(DibXorBits(header), c.xorOffset);

        IconImage image = Measured(bytes);
        EXPECT_EQ(image.header, bytes.data());
        EXPECT_EQ(image.width, c.shape.width);
        EXPECT_EQ(image.height, c.shape.height);
        EXPECT_EQ(image.colorBits, static_cast<uint32_t>(c.shape.planes * c.shape.bitCount));
        EXPECT_EQ(image.xorBits, bytes.data() + c.xorOffset);
        EXPECT_EQ(image.andBits, bytes.data() + c.andOffset);
    }
}

TEST(DibLayout, ThirtyTwoByThirtyTwoFourBitImageIs744Bytes) {
    EXPECT_EQ(MakeDibImage({32, 32, 1, 4}).size(), 744u);
}

TEST(DibLayout, ColourTableSizeIsKeptIn16Bits) {
    Bytes bytes = MakeDibImage({16, 16, 1, 8, 256});
    PutUi32(&bytes, kBiClrUsed, 16384);  // 65536 bytes of table: 0 in 16 bits
    DibHeader header = HeaderOf(bytes);
    EXPECT_EQ(DibColorCount(header), 16384u);
    EXPECT_EQ(DibColorTableBytes(header), 0);
    EXPECT_EQ(DibXorBits(header), 40u);
}

TEST(DibLayout, PictureHeightIsHalfOfBiHeightRoundedTowardZero) {
    const struct {
        int32_t biHeight;
        int32_t height;
    } cases[] = {{64, 32}, {65, 32}, {33, 16}, {-64, -32}, {-65, -32}, {1, 0}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.biHeight);
        Bytes bytes = MakeDibImage({16, 16, 1, 32});
        PutUi32(&bytes, kBiHeight, static_cast<uint32_t>(c.biHeight));
        EXPECT_EQ(Measured(bytes).height, c.height);
    }
}

TEST(DibLayout, ExtremeHeaderValuesNeitherOverflowNorPointOutside) {
    Bytes bytes = MakeDibImage({16, 16, 1, 32});
    PutUi32(&bytes, kBiWidth, 0x7FFFFFFF);
    PutUi16(&bytes, kBiPlanes, 0xFFFF);
    PutUi16(&bytes, kBiBitCount, 0xFFFF);
    PutUi32(&bytes, kBiHeight, 0x7FFFFFFF);
    bool ok = false;
    IconImage image = Measured(bytes, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(image.colorBits, 0xFFFFu * 0xFFFFu);
    EXPECT_EQ(image.xorBits, bytes.data() + 40);
    EXPECT_EQ(image.andBits, nullptr);  // far beyond the bytes

    PutUi32(&bytes, kBiSize, 0xFFFFFFF0);  // the colour table would start past the end
    image = Measured(bytes, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(image.xorBits, nullptr);
    EXPECT_EQ(image.andBits, nullptr);

    PutUi32(&bytes, kBiSize, 40);
    PutUi32(&bytes, kBiWidth, static_cast<uint32_t>(-16));  // negative rows give no mask place
    image = Measured(bytes, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(image.andBits, nullptr);
}

TEST(MeasureIconImage, RefusesImagesShorterThanTheirHeader) {
    for (size_t length : {0u, 1u, 24u, 36u, 39u}) {
        SCOPED_TRACE(length);
        Bytes bytes = MakeDibImage({16, 16, 1, 32});
        bytes.resize(length);
        bool ok = true;
        Measured(bytes, &ok);
        EXPECT_FALSE(ok);
    }
    Bytes header = MakeDibImage({16, 16, 1, 32});
    header.resize(40);  // a header alone is measurable; its bitmaps lie outside
    bool ok = false;
    IconImage image = Measured(header, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(image.xorBits, header.data() + 40);
    EXPECT_EQ(image.andBits, nullptr);
}

TEST(MeasureIconImage, TakesPngMeasuresFromIhdr) {
    Bytes png = MakePngImage(256, 256, 8, 6);
    bool ok = false;
    IconImage image = Measured(png, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(image.width, 256);
    EXPECT_EQ(image.height, 256);  // IHDR counts the picture alone: no halving
    EXPECT_EQ(image.colorBits, 32u);
    EXPECT_EQ(image.header, nullptr);
    EXPECT_EQ(image.xorBits, nullptr);
    EXPECT_EQ(image.andBits, nullptr);
}

TEST(MeasureIconImage, RefusesPngWithoutUsableIhdr) {
    Bytes cut = MakePngImage(64, 64);
    cut.resize(28);  // IHDR's data ends at 29
    Bytes wrongChunk = MakePngImage(64, 64);
    std::memcpy(wrongChunk.data() + 12, "IDAT", 4);
    Bytes wrongLength = MakePngImage(64, 64);
    wrongLength[11] = 12;
    Bytes hugeWidth = MakePngImage(0x80000000u, 16);
    for (Bytes* bytes : {&cut, &wrongChunk, &wrongLength, &hugeWidth}) {
        bool ok = true;
        Measured(*bytes, &ok);
        EXPECT_FALSE(ok);
    }
}

TEST(PngBitsPerPixel, FollowsColourTypeAndDepth) {
    const struct {
        uint8_t colorType;
        uint8_t depth;
        uint16_t bits;
    } cases[] = {{6, 8, 32}, {6, 16, 64}, {2, 8, 24}, {3, 8, 8}, {3, 4, 4},
                 {0, 1, 1},  {4, 8, 16},  {0, 16, 16}, {5, 8, 0}, {7, 8, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colorType * 100 + c.depth);
        PngHeader header{16, 16, c.depth, c.colorType};
        EXPECT_EQ(PngBitsPerPixel(header), c.bits);
    }
}

TEST(IconImageSet, IsOneZeroedAllocationFreedWithTheImagesThatHaveBytes) {
    IconImageSet* set = MakeIconImageSet(3);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->imageCount, 3u);
    EXPECT_EQ(set->iconFilePath[0], '\0');
    EXPECT_EQ(set->moduleFilePath[0], '\0');
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(set->images[i].bytes, nullptr);
    }
    ASSERT_TRUE(AllocateIconImageBytes(&set->images[1], 100));
    EXPECT_EQ(set->images[1].byteCount, 100u);
    FreeIconImageSet(set);  // images 0 and 2 have no bytes; a leak checker sees the rest freed
    FreeIconImageSet(nullptr);
}

TEST(IconImageSet, PathFieldsHoldAtMost259Characters) {
    IconImageSet* set = MakeIconImageSet(0);
    ASSERT_NE(set, nullptr);
    std::string longPath(400, 'a');
    StoreIconImageSetPath(set->iconFilePath, longPath.c_str());
    EXPECT_EQ(std::strlen(set->iconFilePath), 259u);
    StoreIconImageSetPath(set->moduleFilePath, "C:\\x.dll");
    EXPECT_STREQ(set->moduleFilePath, "C:\\x.dll");
    StoreIconImageSetPath(set->moduleFilePath, nullptr);
    EXPECT_STREQ(set->moduleFilePath, "");
    FreeIconImageSet(set);
}

}  // namespace
