// Every failure path, through the stand-in's planned failures: each injectable call of an
// operation fails in turn (k = 1, 2, ... until the operation runs through without meeting its
// planned failure), and writes and reads come up short in turn. After each: a clean failure,
// nothing held, no partial output, the clipboard closed.
#include <gtest/gtest.h>

#include "iconextract/bmp_writer.h"
#include "iconextract/clipboard_copy.h"
#include "iconextract/extract_file_icon.h"
#include "iconextract/ico/ico_reader.h"
#include "iconextract/ico/ico_writer.h"
#include "platform/posix/standin_control.h"
#include "platform/scoped_handles.h"
#include "tests/native/fault_rounds.h"
#include "tests/support/clipboard_probe.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/scratch_files.h"

namespace {

using ScopedSet = Scoped<IconImageSetTraits>;

class FailurePaths : public ::testing::Test {
protected:
    void SetUp() override {
        StandinResetFaults();
        source_ = dir_.Path("source.ico");
        WriteBytes(source_, MakeIcoFile({MakeDibImage({32, 32, 1, 4, 0, 744, 1}),
                                         MakeDibImage({16, 16, 1, 32, 0, 0, 2}),
                                         MakePngImage(256, 256)}));
        ClearClipboard();
    }
    void TearDown() override {
        StandinResetFaults();
        ClearClipboard();
        ExpectNothingHeld();
    }

    ScratchDir dir_;
    std::string source_;
};

TEST_F(FailurePaths, ReadingAnIconFile) {
    auto read = [&] {
        ScopedSet set(ReadIconFile(source_.c_str()));
        return set.IsValid();
    };
    FailEachCallInTurn(read, [] {});
    ShortenEachTransferInTurn(StandinCall::ReadFile, read, [] {});
}

TEST_F(FailurePaths, WritingAnIconFileLeavesNoPartialFile) {
    ScopedSet set(ReadIconFile(source_.c_str()));
    ASSERT_TRUE(set.IsValid());
    std::string out = dir_.Path("out.ico");
    auto write = [&] { return WriteIconFile(set.Get(), out.c_str()); };
    auto noFile = [&] { EXPECT_FALSE(FileExists(out)); };
    FailEachCallInTurn(write, noFile);
    ShortenEachTransferInTurn(StandinCall::WriteFile, write, noFile);
    EXPECT_EQ(ReadBytes(out).size(), 6u + 3 * 16u + 744u + DibImageLength({16, 16, 1, 32}) + MakePngImage(256, 256).size());
    // The set is as it was after every failed write.
    EXPECT_EQ(Ui32At(Bytes(set.Get()->images[0].bytes, set.Get()->images[0].bytes + 40), 20),
              744u);
}

TEST_F(FailurePaths, WritingABmpFileLeavesNoPartialFile) {
    ScopedSet set(ReadIconFile(source_.c_str()));
    ASSERT_TRUE(set.IsValid());
    std::string out = dir_.Path("out.bmp");
    auto write = [&] { return WriteIconImageAsBmp(&set.Get()->images[0], out.c_str()); };
    auto noFile = [&] {
        EXPECT_FALSE(FileExists(out));
        EXPECT_EQ(Ui32At(Bytes(set.Get()->images[0].bytes, set.Get()->images[0].bytes + 40), 8),
                  64u);  // biHeight is back
    };
    FailEachCallInTurn(write, noFile);
    ShortenEachTransferInTurn(StandinCall::WriteFile, write, noFile);
    EXPECT_EQ(ReadBytes(out).size(), 630u);
}

TEST_F(FailurePaths, CopyingToTheClipboard) {
    ScopedSet set(ReadIconFile(source_.c_str()));
    ASSERT_TRUE(set.IsValid());
    const Bytes before(40, 0x44);
    FailEachCallInTurn(
        [&] { return CopyIconImageToClipboard(&set.Get()->images[0]); },
        [&] {
            // Failing before EmptyClipboard keeps the old contents; failing after it leaves the
            // clipboard empty: never a partial bitmap.
            Bytes now;
            if (ReadClipboardDib(&now)) {
                EXPECT_EQ(now, before);
            }
        },
        [&] { PutDibOnClipboard(before); });
    Bytes now;
    ASSERT_TRUE(ReadClipboardDib(&now));
    EXPECT_EQ(now.size(), 744u);
}

TEST_F(FailurePaths, EmptyClipboardFailingClosesTheClipboardAndPutsNothing) {
    PutDibOnClipboard(Bytes(40, 0x44));
    ScopedSet set(ReadIconFile(source_.c_str()));
    ASSERT_TRUE(set.IsValid());
    StandinFailCall(StandinCall::EmptyClipboard, 1);
    EXPECT_FALSE(CopyIconImageToClipboard(&set.Get()->images[0]));
    EXPECT_FALSE(StandinHeldResources().clipboardOpen);
    Bytes now;
    ASSERT_TRUE(ReadClipboardDib(&now));
    EXPECT_EQ(now, Bytes(40, 0x44));
}

TEST_F(FailurePaths, ExtractingReportsTheCountAndLeavesNoPartialOutput) {
    for (const char* name : {"out.ico", "out.bmp"}) {
        SCOPED_TRACE(name);
        std::string out = dir_.Path(name);
        int32_t result = 0;
        FailEachCallInTurn(
            [&] {
                result = ExtractFileIcon(source_.c_str(), 0, out.c_str());
                return FileExists(out);
            },
            [&] {
                EXPECT_EQ(result, 1);  // a failed read or write does not change the result
                EXPECT_FALSE(FileExists(out));
            });
        std::remove(out.c_str());
    }
    FailEachCallInTurn(
        [&] { return ExtractFileIcon(source_.c_str(), 1) == 1; }, [] {}, [] { ClearClipboard(); },
        [] {
            Bytes now;
            return ReadClipboardDib(&now) && now.size() == 744u;
        });
}

TEST_F(FailurePaths, NothingIsOpenedWithoutADestinationOrForAnUnsupportedSource) {
    std::string scr = dir_.Path("screen.scr");
    WriteBytes(scr, ReadBytes(source_));
    StandinResetFaults();
    EXPECT_EQ(ExtractFileIcon(source_.c_str(), 0, ""), 0);
    EXPECT_EQ(ExtractFileIcon(scr.c_str(), 0, dir_.Path("out.ico").c_str()), 0);
    EXPECT_EQ(ExtractFileIcon(scr.c_str(), 1), 0);
    EXPECT_EQ(StandinCallsMade(), 0);
}

TEST_F(FailurePaths, SizesThatAFileMerelyClaimsAreNeverAllocated) {
    Bytes file = MakeIcoFile({MakeDibImage({16, 16, 1, 4})});
    PutUi32(&file, 6 + 8, 0xFFFFFF00u);  // dwBytesInRes: nearly 4 GiB
    std::string claims = dir_.Path("claims.ico");
    WriteBytes(claims, file);
    Bytes directory = FromHex("00 00 01 00 FF FF");  // 65535 images claimed, none present
    std::string noDirectory = dir_.Path("nodirectory.ico");
    WriteBytes(noDirectory, directory);
    for (const std::string& path : {claims, noDirectory}) {
        SCOPED_TRACE(path);
        StandinResetFaults();
        EXPECT_EQ(ReadIconFile(path.c_str()), nullptr);
        EXPECT_LE(StandinLargestHeapRequest(), 4096u);
    }
}

}  // namespace
