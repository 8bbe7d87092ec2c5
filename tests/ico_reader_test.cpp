// Reading ICO files into an IconImageSet.
#include <gtest/gtest.h>

#include "iconextract/ico/ico_reader.h"
#include "platform/scoped_handles.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/scratch_files.h"

namespace {

using ScopedSet = Scoped<IconImageSetTraits>;

Bytes ImageBytes(const IconImage& image) { return Bytes(image.bytes, image.bytes + image.byteCount); }

class IcoReader : public ::testing::Test {
protected:
    std::string Store(const Bytes& file, const std::string& name = "source.ico") {
        return dir_.Store(name, file);
    }
    ScratchDir dir_;
};

TEST_F(IcoReader, ReadsEveryImageInDirectoryOrder) {
    std::vector<Bytes> images = {MakeDibImage({16, 16, 1, 4, 0, 0, 1}),
                                 MakeDibImage({32, 32, 1, 8, 0, 0, 2}),
                                 MakeDibImage({48, 48, 1, 32, 0, 0, 3})};
    std::string path = Store(MakeIcoFile(images));
    ScopedSet set(ReadIconFile(path.c_str()));
    ASSERT_TRUE(set.IsValid());
    EXPECT_EQ(set.Get()->imageCount, 3u);
    EXPECT_STREQ(set.Get()->iconFilePath, path.c_str());
    EXPECT_STREQ(set.Get()->moduleFilePath, "");
    const int sizes[] = {16, 32, 48};
    const uint32_t bits[] = {4, 8, 32};
    for (uint32_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const IconImage& image = set.Get()->images[i];
        EXPECT_EQ(ImageBytes(image), images[i]);
        EXPECT_EQ(image.width, sizes[i]);
        EXPECT_EQ(image.height, sizes[i]);
        EXPECT_EQ(image.colorBits, bits[i]);
        EXPECT_EQ(image.header, image.bytes);
    }
}

TEST_F(IcoReader, ImagesMayLieAnywhereAndShareBytes) {
    Bytes a = MakeDibImage({16, 16, 1, 4, 0, 0, 7});
    Bytes b = MakeDibImage({32, 32, 1, 4, 0, 0, 8});
    // Directory order b, a, a with the images stored a then b, leaving a gap before them.
    Bytes file(6 + 3 * 16 + 10, 0);
    PutUi16(&file, 2, 1);
    PutUi16(&file, 4, 3);
    uint32_t aAt = static_cast<uint32_t>(file.size());
    file.insert(file.end(), a.begin(), a.end());
    uint32_t bAt = static_cast<uint32_t>(file.size());
    file.insert(file.end(), b.begin(), b.end());
    const uint32_t at[] = {bAt, aAt, aAt};
    const size_t lengths[] = {b.size(), a.size(), a.size()};
    for (int i = 0; i < 3; ++i) {
        PutUi32(&file, 6 + 16 * i + 8, static_cast<uint32_t>(lengths[i]));
        PutUi32(&file, 6 + 16 * i + 12, at[i]);
    }
    ScopedSet set(ReadIconFile(Store(file).c_str()));
    ASSERT_TRUE(set.IsValid());
    EXPECT_EQ(ImageBytes(set.Get()->images[0]), b);
    EXPECT_EQ(ImageBytes(set.Get()->images[1]), a);
    EXPECT_EQ(ImageBytes(set.Get()->images[2]), a);
    EXPECT_NE(set.Get()->images[1].bytes, set.Get()->images[2].bytes);  // each its own copy
}

TEST_F(IcoReader, MeasuresFromTheImageNotTheDirectory) {
    Bytes file = MakeIcoFile({MakeDibImage({32, 32, 1, 4})});
    file[6] = 16;  // bWidth
    file[7] = 16;  // bHeight
    ScopedSet set(ReadIconFile(Store(file).c_str()));
    ASSERT_TRUE(set.IsValid());
    EXPECT_EQ(set.Get()->images[0].width, 32);
    EXPECT_EQ(set.Get()->images[0].height, 32);
}

TEST_F(IcoReader, KeepsPngImagesIntact) {
    Bytes png = MakePngImage(256, 256);
    Bytes dib = MakeDibImage({48, 48, 1, 32});
    ScopedSet set(ReadIconFile(Store(MakeIcoFile({dib, png})).c_str()));
    ASSERT_TRUE(set.IsValid());
    const IconImage& image = set.Get()->images[1];
    EXPECT_EQ(ImageBytes(image), png);
    EXPECT_EQ(image.width, 256);
    EXPECT_EQ(image.height, 256);
    EXPECT_EQ(image.header, nullptr);
}

TEST_F(IcoReader, NoImagesGiveAnEmptySet) {
    ScopedSet set(ReadIconFile(Store(FromHex("00 00 01 00 00 00")).c_str()));
    ASSERT_TRUE(set.IsValid());
    EXPECT_EQ(set.Get()->imageCount, 0u);
}

TEST_F(IcoReader, RefusesFilesThatAreNotWholeIconFiles) {
    Bytes good = MakeIcoFile({MakeDibImage({16, 16, 1, 4}), MakeDibImage({32, 32, 1, 4})});
    auto patched = [&](size_t offset, uint32_t value, int width) {
        Bytes file = good;
        if (width == 2) {
            PutUi16(&file, offset, static_cast<uint16_t>(value));
        } else {
            PutUi32(&file, offset, value);
        }
        return file;
    };
    Bytes cut = good;
    cut.resize(good.size() - 1);
    Bytes threeCountedTwoPresent = FromHex("00 00 01 00 03 00");
    threeCountedTwoPresent.resize(6 + 2 * 16, 0);
    Bytes shortImage = MakeIcoFile({Bytes(39, 0x28)});
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty file", {}},
        {"four bytes", FromHex("00 00 01 00")},
        {"cursor file", patched(2, 2, 2)},
        {"reserved not 0", patched(0, 1, 2)},
        {"type 0", patched(2, 0, 2)},
        {"count 3 with two entries", threeCountedTwoPresent},
        {"last image cut short", cut},
        {"image offset past the end", patched(6 + 16 + 12, static_cast<uint32_t>(good.size()), 4)},
        {"image length past the end", patched(6 + 8, static_cast<uint32_t>(good.size()), 4)},
        {"offset and length wrap around", patched(6 + 12, 0xFFFFFFF0u, 4)},
        {"image of 39 bytes", shortImage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadIconFile(Store(c.file).c_str()), nullptr);
    }
}

TEST_F(IcoReader, MissingFileGivesNoSet) {
    EXPECT_EQ(ReadIconFile(dir_.Path("missing.ico").c_str()), nullptr);
    EXPECT_EQ(ReadIconFile(dir_.Path("").c_str()), nullptr);  // a folder is no icon file
}

TEST_F(IcoReader, HeaderReadGivesCountOrMinusOne) {
    const struct {
        const char* hex;
        int32_t count;
    } cases[] = {{"00 00 01 00 FF FF", 65535}, {"00 00 01 00 00 00", 0}, {"00 00 01 00 02", -1},
                 {"00 00 02 00 01 00", -1},    {"01 00 01 00 01 00", -1}, {"", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        std::string path = Store(FromHex(c.hex), "header.ico");
        ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.IsValid());
        EXPECT_EQ(ReadIconFileHeader(file.Get()), c.count);
    }
}

}  // namespace
