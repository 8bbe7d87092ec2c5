// Writing an IconImageSet as an ICO file.
#include <gtest/gtest.h>

#include "iconextract/ico/ico_reader.h"
#include "iconextract/ico/ico_writer.h"
#include "iconextract/measure_icon_image.h"
#include "platform/scoped_handles.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/scratch_files.h"

namespace {

using ScopedSet = Scoped<IconImageSetTraits>;

// A measured set holding copies of the images.
ScopedSet SetOf(const std::vector<Bytes>& images) {
    ScopedSet set(MakeIconImageSet(static_cast<uint32_t>(images.size())));
    for (size_t i = 0; i < images.size(); ++i) {
        IconImage* image = &set.Get()->images[i];
        EXPECT_TRUE(AllocateIconImageBytes(image, static_cast<uint32_t>(images[i].size())));
        std::copy(images[i].begin(), images[i].end(), image->bytes);
        EXPECT_TRUE(MeasureIconImage(image));
    }
    return set;
}

Bytes Entry(const Bytes& file, size_t index) {
    auto begin = file.begin() + static_cast<std::ptrdiff_t>(6 + 16 * index);
    return Bytes(begin, begin + 16);
}

class IcoWriter : public ::testing::Test {
protected:
    Bytes Written(IconImageSet* set) {
        std::string path = dir_.Path("out.ico");
        EXPECT_TRUE(WriteIconFile(set, path.c_str()));
        return ReadBytes(path);
    }
    ScratchDir dir_;
};

TEST_F(IcoWriter, WritesTheTwoImageExampleByteForByte) {
    Bytes small = MakeDibImage({16, 16, 1, 4, 0, 296, 1});
    Bytes large = MakeDibImage({32, 32, 1, 4, 0, 744, 2});
    ASSERT_EQ(small.size(), 296u);
    ASSERT_EQ(large.size(), 744u);
    ScopedSet set = SetOf({small, large});

    Bytes expected = FromHex(
        "00 00 01 00 02 00"
        "10 10 10 00 01 00 04 00 28 01 00 00 26 00 00 00"
        "20 20 10 00 01 00 04 00 E8 02 00 00 4E 01 00 00");
    for (const Bytes& image : {small, large}) {
        Bytes zeroed = WithZeroSizeImage(image);
        expected.insert(expected.end(), zeroed.begin(), zeroed.end());
    }
    Bytes file = Written(set.Get());
    EXPECT_EQ(file.size(), 1078u);
    EXPECT_EQ(file, expected);
    EXPECT_EQ(IconImageOffset(set.Get(), 0), 38u);
    EXPECT_EQ(IconImageOffset(set.Get(), 1), 334u);
    // The set is as it was: biSizeImage is back.
    EXPECT_EQ(Ui32At(Bytes(set.Get()->images[1].bytes, set.Get()->images[1].bytes + 744), 20), 744u);
}

TEST_F(IcoWriter, ColourCountFollowsPlanesAndBitsAlone) {
    const struct {
        DibShape shape;
        uint8_t colorCount;
    } cases[] = {
        {{16, 16, 1, 1}, 2},      {{16, 16, 1, 4}, 16}, {{16, 16, 1, 4, 5}, 16},
        {{16, 16, 1, 8}, 0},      {{16, 16, 1, 24}, 0}, {{16, 16, 1, 32}, 0},
        {{16, 16, 1, 2}, 4},      {{16, 16, 2, 2}, 16}, {{16, 16, 1, 0}, 1},
        {{16, 16, 4, 2}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.shape.planes << " x " << c.shape.bitCount);
        ScopedSet set = SetOf({MakeDibImage(c.shape)});
        Bytes entry = Entry(Written(set.Get()), 0);
        EXPECT_EQ(entry[2], c.colorCount);
        EXPECT_EQ(Ui16At(entry, 4), c.shape.planes);
        EXPECT_EQ(Ui16At(entry, 6), c.shape.bitCount);
    }
}

TEST_F(IcoWriter, SizesKeepTheirLowEightBits) {
    ScopedSet set = SetOf({MakeDibImage({256, 256, 1, 32}), MakeDibImage({300, 20, 1, 1})});
    Bytes file = Written(set.Get());
    EXPECT_EQ(Entry(file, 0)[0], 0);
    EXPECT_EQ(Entry(file, 0)[1], 0);
    EXPECT_EQ(Entry(file, 1)[0], 300 & 0xFF);
    EXPECT_EQ(Entry(file, 1)[1], 20);
}

TEST_F(IcoWriter, PngImagesAreWrittenUnchangedWithEntriesFromIhdr) {
    Bytes png = MakePngImage(256, 256, 8, 6);
    Bytes small = MakePngImage(48, 40, 8, 2);
    Bytes dib = MakeDibImage({32, 32, 1, 32, 0, 4096});
    ScopedSet set = SetOf({dib, png, small});
    Bytes file = Written(set.Get());
    Bytes entry = Entry(file, 1);
    EXPECT_EQ(Bytes(entry.begin(), entry.begin() + 8), FromHex("00 00 00 00 01 00 20 00"));
    EXPECT_EQ(Ui32At(entry, 8), png.size());
    entry = Entry(file, 2);
    EXPECT_EQ(Bytes(entry.begin(), entry.begin() + 8), FromHex("30 28 00 00 01 00 18 00"));

    size_t pngAt = Ui32At(Entry(file, 1), 12);
    EXPECT_EQ(Bytes(file.begin() + static_cast<std::ptrdiff_t>(pngAt),
                    file.begin() + static_cast<std::ptrdiff_t>(pngAt + png.size())),
              png);  // bytes 20 to 23 (IHDR's height) untouched
    size_t dibAt = Ui32At(Entry(file, 0), 12);
    EXPECT_EQ(Ui32At(file, dibAt + 20), 0u);
}

TEST_F(IcoWriter, EmptySetGivesTheSixByteFile) {
    ScopedSet set = SetOf({});
    EXPECT_EQ(Written(set.Get()), FromHex("00 00 01 00 00 00"));
}

TEST_F(IcoWriter, ReplacesAnExistingFile) {
    std::string path = dir_.Store("out.ico", Bytes(5000, 0xAB));
    ScopedSet set = SetOf({MakeDibImage({16, 16, 1, 4})});
    ASSERT_TRUE(WriteIconFile(set.Get(), path.c_str()));
    EXPECT_EQ(ReadBytes(path).size(), 6u + 16u + 296u);
}

TEST_F(IcoWriter, WritesNothingIntoAMissingFolder) {
    ScopedSet set = SetOf({MakeDibImage({16, 16, 1, 4})});
    std::string path = dir_.Path("no-such-folder") + "/out.ico";
    EXPECT_FALSE(WriteIconFile(set.Get(), path.c_str()));
    EXPECT_TRUE(dir_.Names().empty());
}

TEST_F(IcoWriter, RoundTripKeepsEveryImageButItsSizeImage) {
    std::vector<Bytes> images = {MakeDibImage({16, 16, 1, 1, 0, 123, 1}),
                                 MakeDibImage({24, 24, 1, 8, 0, 0, 2}), MakePngImage(256, 256),
                                 MakeDibImage({64, 64, 1, 32, 0, 64 * 64 * 4, 3})};
    std::string source = dir_.Path("source.ico");
    WriteBytes(source, MakeIcoFile(images));
    ScopedSet set(ReadIconFile(source.c_str()));
    ASSERT_TRUE(set.IsValid());
    Bytes file = Written(set.Get());
    ScopedSet again(ReadIconFile(dir_.Path("out.ico").c_str()));
    ASSERT_TRUE(again.IsValid());
    ASSERT_EQ(again.Get()->imageCount, images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(i);
        const IconImage& image = again.Get()->images[i];
        Bytes expected = WithZeroSizeImage(images[i]);
        EXPECT_EQ(Bytes(image.bytes, image.bytes + image.byteCount), expected);
    }
}

}  // namespace
