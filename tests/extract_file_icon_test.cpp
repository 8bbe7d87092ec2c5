// ExtractFileIcon end to end: completing arguments, telling sources and destinations by their
// endings, choosing the group and putting it out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "iconextract/extract_file_icon.h"
#include "iconextract/path_ending.h"
#include "tests/support/clipboard_probe.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/scratch_files.h"

namespace {

class ExtractFileIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        first_ = MakeDibImage({32, 32, 1, 4, 0, 744, 1});
        second_ = MakeDibImage({16, 16, 1, 8, 0, 0, 2});
        source_ = dir_.Path("source.ICO");
        WriteBytes(source_, MakeIcoFile({first_, second_}));
        ClearClipboard();
    }
    void TearDown() override { ClearClipboard(); }

    // The ICO file that a faithful copy of the source gives.
    Bytes CopyOfSource() const {
        Bytes file = FromHex(
            "00 00 01 00 02 00"
            "20 20 10 00 01 00 04 00 E8 02 00 00 26 00 00 00"
            "10 10 00 00 01 00 08 00 68 05 00 00 0E 03 00 00");
        for (const Bytes& image : {first_, second_}) {
            Bytes zeroed = WithZeroSizeImage(image);
            file.insert(file.end(), zeroed.begin(), zeroed.end());
        }
        return file;
    }
    bool ClipboardHoldsFirstImage() const {
        Bytes copy;
        if (!ReadClipboardDib(&copy)) {
            return false;
        }
        Bytes expected = first_;
        PutUi32(&expected, 8, 32);
        return copy == expected;
    }
    bool ClipboardIsEmpty() const {
        Bytes copy;
        return !ReadClipboardDib(&copy);
    }

    ScratchDir dir_;
    Bytes first_;
    Bytes second_;
    std::string source_;
};

TEST_F(ExtractFileIconTest, CopiesAnIconFileWithCapitalEnding) {
    std::string out = dir_.Path("out.ico");
    EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0, out.c_str()), 1);
    EXPECT_EQ(ReadBytes(out), CopyOfSource());
    EXPECT_EQ(ReadBytes(out).size(), 6u + 32u + 744u + 1384u);
}

TEST_F(ExtractFileIconTest, GroupIndexBelowOneMeansTheFirstAndAboveOneFindsNothing) {
    const struct {
        int32_t index;
        int32_t result;
        bool written;
    } cases[] = {{1, 1, true}, {0, 1, true}, {-5, 1, true}, {INT32_MIN, 1, true},
                 {2, 0, false}, {INT32_MAX, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        std::string out = dir_.Path("index.ico");
        EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0, out.c_str(), c.index), c.result);
        EXPECT_EQ(FileExists(out), c.written);
        std::remove(out.c_str());
    }
}

TEST_F(ExtractFileIconTest, AFileNamedMyicoIsAnIconFile) {
    std::string plain = dir_.Path("myico");
    WriteBytes(plain, ReadBytes(source_));
    std::string out = dir_.Path("out.ico");
    EXPECT_EQ(ExtractFileIcon(plain.c_str(), 0, out.c_str()), 1);
    EXPECT_EQ(ReadBytes(out), CopyOfSource());
}

TEST_F(ExtractFileIconTest, EveryModeButZeroCopiesToTheClipboardAndIgnoresTheDestination) {
    for (int32_t mode : {1, 7, -1, INT32_MAX}) {
        SCOPED_TRACE(mode);
        ClearClipboard();
        std::string out = dir_.Path("ignored.ico");
        EXPECT_EQ(ExtractFileIcon(source_.c_str(), mode, out.c_str()), 1);
        EXPECT_TRUE(ClipboardHoldsFirstImage());
        EXPECT_FALSE(FileExists(out));
    }
    ClearClipboard();
    EXPECT_EQ(ExtractFileIcon(source_.c_str()), 1);  // mode left out: the clipboard
    EXPECT_TRUE(ClipboardHoldsFirstImage());
}

TEST_F(ExtractFileIconTest, ModeZeroWithoutDestinationDoesNothing) {
    EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0, ""), 0);
    EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0, nullptr), 0);
    EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0), 0);
    EXPECT_TRUE(ClipboardIsEmpty());
    EXPECT_EQ(dir_.Names(), std::vector<std::string>{"source.ICO"});
}

TEST_F(ExtractFileIconTest, DestinationEndingChoosesTheOutput) {
    const struct {
        const char* name;
        bool written;
    } cases[] = {{"out.png", false}, {"out.txt", false}, {"outico", true}, {"out.BMP", true},
                 {"ico", true},      {"co", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = dir_.Path(c.name);
        EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0, out.c_str()), 1);
        EXPECT_EQ(FileExists(out), c.written);
    }
    // A BMP file holds the first image alone.
    EXPECT_EQ(ReadBytes(dir_.Path("out.BMP")).size(), 630u);
}

TEST_F(ExtractFileIconTest, UnsupportedSourcesGiveZero) {
    for (const char* name : {"a.scr", "a.ocx", "a.cpl", "a.png", "ic", "", "a.ico.txt"}) {
        SCOPED_TRACE(name);
        std::string path = dir_.Path(name);
        if (name[0] != '\0') {
            WriteBytes(path, ReadBytes(source_));  // a real icon file, but not by its name
        }
        std::string out = dir_.Path("out.ico");
        EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, out.c_str()), 0);
        EXPECT_FALSE(FileExists(out));
    }
    EXPECT_EQ(ExtractFileIcon(nullptr, 0, dir_.Path("out.ico").c_str()), 0);
    EXPECT_FALSE(FileExists(dir_.Path("out.ico")));
}

TEST_F(ExtractFileIconTest, AnUnreadableIconFileStillCountsOneGroup) {
    std::string broken = dir_.Path("broken.ico");
    WriteBytes(broken, FromHex("00 00 02 00 01 00"));  // a cursor file
    const std::string sources[] = {dir_.Path("missing.ico"), broken};
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        std::string out = dir_.Path("out.ico");
        EXPECT_EQ(ExtractFileIcon(source.c_str(), 0, out.c_str(), 1), 1);
        EXPECT_FALSE(FileExists(out));
        EXPECT_EQ(ExtractFileIcon(source.c_str(), 1), 1);
        EXPECT_TRUE(ClipboardIsEmpty());
    }
}

TEST_F(ExtractFileIconTest, AnIconFileWithoutImages) {
    std::string empty = dir_.Path("empty.ico");
    WriteBytes(empty, FromHex("00 00 01 00 00 00"));
    PutDibOnClipboard(Bytes(48, 0x33));
    EXPECT_EQ(ExtractFileIcon(empty.c_str(), 0, dir_.Path("out.bmp").c_str()), 1);
    EXPECT_FALSE(FileExists(dir_.Path("out.bmp")));
    EXPECT_EQ(ExtractFileIcon(empty.c_str(), 1), 1);
    Bytes copy;
    ASSERT_TRUE(ReadClipboardDib(&copy));
    EXPECT_EQ(copy, Bytes(48, 0x33));  // nothing was copied
    EXPECT_EQ(ExtractFileIcon(empty.c_str(), 0, dir_.Path("out.ico").c_str()), 1);
    EXPECT_EQ(ReadBytes(dir_.Path("out.ico")), FromHex("00 00 01 00 00 00"));
}

TEST_F(ExtractFileIconTest, AFileThatIsNoModuleHasNoGroups) {
    for (const char* name : {"text.dll", "icon.exe", "empty.icl"}) {
        SCOPED_TRACE(name);
        std::string path = dir_.Path(name);
        if (std::string(name) == "icon.exe") {
            WriteBytes(path, ReadBytes(source_));  // an icon file renamed
        } else if (std::string(name) == "text.dll") {
            WriteBytes(path, Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
        } else {
            WriteBytes(path, Bytes{});
        }
        EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, dir_.Path("out.ico").c_str()), 0);
        EXPECT_FALSE(FileExists(dir_.Path("out.ico")));
    }
    EXPECT_EQ(ExtractFileIcon(dir_.Path("missing.dll").c_str(), 0, dir_.Path("o.ico").c_str()), 0);
}

// Paths are 8-bit text in the ANSI code page: GBK under Windows here, UTF-8 natively.
TEST_F(ExtractFileIconTest, PathsInTheAnsiCodePage) {
#ifdef _WIN32
    const std::string icons = "\xCD\xBC\xB1\xEA";  // GBK
#else
    const std::string icons = "\xE5\x9B\xBE\xE6\xA0\x87";  // UTF-8
#endif
    std::string source = dir_.Path(icons + ".ICO");
    EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0, source.c_str()), 1);  // written by that name
    std::string copy = dir_.Path(icons + icons + ".ico");
    EXPECT_EQ(ExtractFileIcon(source.c_str(), 0, copy.c_str()), 1);  // read by it
    std::string out = dir_.Path("out.ico");
    EXPECT_EQ(ExtractFileIcon(copy.c_str(), 0, out.c_str()), 1);
    EXPECT_EQ(ReadBytes(out), CopyOfSource());
    // The system sees the names as the characters meant.
    std::vector<std::string> names;  // as UTF-8
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path(""))) {
        names.push_back(entry.path().filename().u8string());
    }
    const std::string utf8 = "\xE5\x9B\xBE\xE6\xA0\x87";
    EXPECT_NE(std::find(names.begin(), names.end(), utf8 + ".ICO"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), utf8 + utf8 + ".ico"), names.end());
}

TEST(PathEnding, IsTheLastThreeBytesLowerCased) {
    const struct {
        const char* path;
        const char* ending;
        SourceKind source;
        DestinationKind destination;
    } cases[] = {
        {"C:\\a\\b.ICO", "ico", SourceKind::IconFile, DestinationKind::IconFile},
        {"myico", "ico", SourceKind::IconFile, DestinationKind::IconFile},
        {"x.Exe", "exe", SourceKind::Module, DestinationKind::Other},
        {"x.DLL", "dll", SourceKind::Module, DestinationKind::Other},
        {"x.icl", "icl", SourceKind::Module, DestinationKind::Other},
        {"x.bMp", "bmp", SourceKind::Unsupported, DestinationKind::Bitmap},
        {"x.scr", "scr", SourceKind::Unsupported, DestinationKind::Other},
        {"co", "co", SourceKind::Unsupported, DestinationKind::Other},
        {"", "", SourceKind::Unsupported, DestinationKind::Other},
        {"x.ico ", "co ", SourceKind::Unsupported, DestinationKind::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        char ending[4];
        PathEnding(c.path, ending);
        EXPECT_STREQ(ending, c.ending);
        EXPECT_EQ(SourceKindOf(c.path), c.source);
        EXPECT_EQ(DestinationKindOf(c.path), c.destination);
    }
    char ending[4];
    PathEnding(nullptr, ending);
    EXPECT_STREQ(ending, "");
}

}  // namespace
