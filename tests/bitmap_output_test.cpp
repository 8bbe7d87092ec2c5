// Putting one image out as a BMP file or a CF_DIB bitmap on the clipboard.
#include <gtest/gtest.h>

#include "iconextract/bmp_writer.h"
#include "iconextract/clipboard_copy.h"
#include "iconextract/measure_icon_image.h"
#include "tests/support/clipboard_probe.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/scratch_files.h"

namespace {

// An image measured over bytes that the test owns.
struct HeldImage {
    explicit HeldImage(Bytes stored) : bytes(std::move(stored)) {
        image.bytes = bytes.data();
        image.byteCount = static_cast<uint32_t>(bytes.size());
        measured = MeasureIconImage(&image);
    }
    Bytes bytes;
    IconImage image{};
    bool measured;
};

Bytes Slice(const Bytes& bytes, size_t from, size_t length) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
}

class BmpWriter : public ::testing::Test {
protected:
    ScratchDir dir_;
};

TEST_F(BmpWriter, WritesHeaderColourTableAndPictureWithoutMask) {
    const struct {
        const char* name;
        DibShape shape;
        uint32_t offBits;
        uint32_t fileBytes;
    } cases[] = {
        {"32x32 4-bit", {32, 32, 1, 4, 0, 744}, 118, 630},
        {"48x48 32-bit", {48, 48, 1, 32}, 54, 9270},
        {"16x16 8-bit", {16, 16, 1, 8}, 1078, 1078 + 16 * 16},
        {"16x16 1-bit", {16, 16, 1, 1}, 62, 62 + 4 * 16},
        {"8-bit with biClrUsed 5", {16, 16, 1, 8, 5}, 74, 74 + 16 * 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HeldImage held(MakeDibImage(c.shape));
        ASSERT_TRUE(held.measured);
        std::string path = dir_.Path("out.bmp");
        ASSERT_TRUE(WriteIconImageAsBmp(&held.image, path.c_str()));
        Bytes file = ReadBytes(path);
        ASSERT_EQ(file.size(), c.fileBytes);
        EXPECT_EQ(Slice(file, 0, 2), FromHex("42 4D"));
        EXPECT_EQ(Ui32At(file, 2), c.fileBytes);
        EXPECT_EQ(Ui32At(file, 6), 0u);  // bfReserved1 and 2
        EXPECT_EQ(Ui32At(file, 10), c.offBits);
        // The info header as stored, but for biHeight, halved; then table and XOR bitmap.
        Bytes expected = Slice(held.bytes, 0, c.fileBytes - 14);
        PutUi32(&expected, 8, static_cast<uint32_t>(c.shape.height));
        EXPECT_EQ(Slice(file, 14, c.fileBytes - 14), expected);
        // The image itself keeps its full height.
        EXPECT_EQ(Ui32At(held.bytes, 8), static_cast<uint32_t>(2 * c.shape.height));
    }
}

TEST_F(BmpWriter, TakesTheHeaderToBeFortyBytesWhateverBiSizeSays) {
    Bytes bytes = MakeDibImage({16, 16, 1, 32});
    PutUi32(&bytes, 0, 108);
    HeldImage held(bytes);
    std::string path = dir_.Path("out.bmp");
    ASSERT_TRUE(WriteIconImageAsBmp(&held.image, path.c_str()));
    Bytes file = ReadBytes(path);
    EXPECT_EQ(Ui32At(file, 10), 54u);
    EXPECT_EQ(file.size(), 54u + 64u * 16u);
}

TEST_F(BmpWriter, ReplacesAnExistingFile) {
    std::string path = dir_.Store("out.bmp", Bytes(20000, 0x11));
    HeldImage held(MakeDibImage({32, 32, 1, 4}));
    ASSERT_TRUE(WriteIconImageAsBmp(&held.image, path.c_str()));
    EXPECT_EQ(ReadBytes(path).size(), 630u);
}

TEST_F(BmpWriter, RefusesImagesItCannotPutOutAndLeavesTheDestinationAlone) {
    Bytes cut = MakeDibImage({32, 32, 1, 4});
    cut.resize(40 + 64 + 16 * 32 - 1);  // one byte short of the XOR bitmap
    Bytes tableCut = MakeDibImage({16, 16, 1, 8});
    tableCut.resize(40 + 1000);
    Bytes negative = MakeDibImage({16, 16, 1, 32});
    PutUi32(&negative, 8, static_cast<uint32_t>(-32));
    Bytes hugeRows = MakeDibImage({16, 16, 1, 32});
    PutUi32(&hugeRows, 4, 0x7FFFFFFF);
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {{"PNG image", MakePngImage(256, 256)},
                 {"XOR bitmap cut short", cut},
                 {"colour table cut short", tableCut},
                 {"negative height", negative},
                 {"rows beyond the bytes", hugeRows}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HeldImage held(c.bytes);
        ASSERT_TRUE(held.measured);
        std::string path = dir_.Store("kept.bmp", Bytes(3, 0x77));
        EXPECT_FALSE(WriteIconImageAsBmp(&held.image, path.c_str()));
        EXPECT_EQ(ReadBytes(path), Bytes(3, 0x77));
        EXPECT_FALSE(WriteIconImageAsBmp(&held.image, dir_.Path("new.bmp").c_str()));
        EXPECT_FALSE(FileExists(dir_.Path("new.bmp")));
        EXPECT_EQ(held.bytes, c.bytes);
    }
    // Exactly long enough: header, table and XOR bitmap, without the AND mask.
    Bytes exact = MakeDibImage({32, 32, 1, 4});
    exact.resize(40 + 64 + 16 * 32);
    HeldImage held(exact);
    EXPECT_TRUE(WriteIconImageAsBmp(&held.image, dir_.Path("exact.bmp").c_str()));
    EXPECT_EQ(ReadBytes(dir_.Path("exact.bmp")).size(), 630u);
}

TEST_F(BmpWriter, WritesNothingIntoAMissingFolder) {
    HeldImage held(MakeDibImage({32, 32, 1, 4}));
    EXPECT_FALSE(WriteIconImageAsBmp(&held.image, (dir_.Path("missing") + "/out.bmp").c_str()));
    EXPECT_TRUE(dir_.Names().empty());
}

class ClipboardCopy : public ::testing::Test {
protected:
    void SetUp() override { ClearClipboard(); }
    void TearDown() override { ClearClipboard(); }
};

TEST_F(ClipboardCopy, PutsAllBytesWithHalvedHeightAsTheOnlyFormat) {
    for (DibShape shape : {DibShape{32, 32, 1, 4, 0, 744}, DibShape{48, 48, 1, 32}, DibShape{16, 16, 1, 1}}) {
        SCOPED_TRACE(shape.width);
        HeldImage held(MakeDibImage(shape));
        ASSERT_TRUE(CopyIconImageToClipboard(&held.image));
        Bytes copy;
        ASSERT_TRUE(ReadClipboardDib(&copy));
        Bytes expected = held.bytes;
        PutUi32(&expected, 8, static_cast<uint32_t>(shape.height));
        EXPECT_EQ(copy, expected);  // header, table, XOR bitmap and AND mask
        EXPECT_EQ(OtherClipboardFormats(), 0);
        EXPECT_EQ(held.bytes, MakeDibImage(shape));  // the image is not changed
    }
}

TEST_F(ClipboardCopy, ReplacesWhatWasOnTheClipboard) {
    PutDibOnClipboard(Bytes(64, 0x5A));
    HeldImage held(MakeDibImage({16, 16, 1, 4}));
    ASSERT_TRUE(CopyIconImageToClipboard(&held.image));
    Bytes copy;
    ASSERT_TRUE(ReadClipboardDib(&copy));
    EXPECT_EQ(copy.size(), held.bytes.size());
}

TEST_F(ClipboardCopy, RefusesPngImagesAndLeavesTheClipboardAlone) {
    Bytes before(64, 0x5A);
    PutDibOnClipboard(before);
    HeldImage held(MakePngImage(256, 256));
    EXPECT_FALSE(CopyIconImageToClipboard(&held.image));
    Bytes copy;
    ASSERT_TRUE(ReadClipboardDib(&copy));
    EXPECT_EQ(copy, before);
}

TEST_F(ClipboardCopy, AnImageWithoutBytesLeavesTheClipboardEmpty) {
    PutDibOnClipboard(Bytes(64, 0x5A));
    IconImage empty{};
    EXPECT_FALSE(CopyIconImageToClipboard(&empty));
    Bytes copy;
    EXPECT_FALSE(ReadClipboardDib(&copy));
}

}  // namespace
