// 16-bit icon libraries (NE modules): Windows does not load them as data files, so the extractor
// reads their resource table itself; natively and under Wine alike.
#include <gtest/gtest.h>

#include "iconextract/extract_file_icon.h"
#include "iconextract/module/ne_icon_group.h"
#include "platform/scoped_handles.h"
#include "tests/support/clipboard_probe.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/ne_builder.h"
#include "tests/support/scratch_files.h"
#include "tests/support/three_icon_groups.h"

namespace {

class NeModules : public ::testing::TestWithParam<uint16_t> {
protected:
    void SetUp() override { ClearClipboard(); }
    void TearDown() override { ClearClipboard(); }

    std::string Store(const Bytes& file, const std::string& name = "icons.icl") {
        return dir_.Store(name, file);
    }
    NeOptions Options() const {
        NeOptions options;
        options.alignShift = GetParam();
        return options;
    }
    std::string Out(const std::string& name = "out.ico") const { return dir_.Path(name); }

    ScratchDir dir_;
};

TEST_P(NeModules, WindowsLoadsNoneAsDataButTheExtractorReadsThem) {
    std::string path = Store(BuildNeModule(ThreeIconGroups().Resources(), Options()).file);
    HMODULE loaded = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(loaded, nullptr);
    if (loaded != nullptr) {
        FreeLibrary(loaded);
    }
    EXPECT_TRUE(IsNeModule(path.c_str()));
    EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, Out().c_str()), 3);
}

TEST_P(NeModules, EachIndexTakesItsGroupInTableOrder) {
    ThreeIconGroups groups;
    std::string path = Store(BuildNeModule(groups.Resources(), Options()).file);
    const std::vector<Bytes>* expected[] = {&groups.named, &groups.first, &groups.second};
    for (int index = 1; index <= 3; ++index) {
        SCOPED_TRACE(index);
        std::string out = Out("group" + std::to_string(index) + ".ico");
        ASSERT_EQ(ExtractFileIcon(path.c_str(), 0, out.c_str(), index), 3);
        // Exactly the images, without the padding up to their aligned lengths.
        EXPECT_EQ(IcoImages(ReadBytes(out)), WithZeroSizeImages(*expected[index - 1]));
    }
    EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, Out("none.ico").c_str(), 4), 0);
    EXPECT_FALSE(FileExists(Out("none.ico")));
    for (const char* name : {"icons.DLL", "icons.exe"}) {  // the ending decides, not the format
        std::string other = Store(BuildNeModule(groups.Resources(), Options()).file, name);
        EXPECT_EQ(ExtractFileIcon(other.c_str(), 0, Out("first.bmp").c_str(), 2), 3);
        EXPECT_EQ(ReadBytes(Out("first.bmp")).size(), 54u + 48u * 48u * 4u);
    }
    ASSERT_EQ(ExtractFileIcon(path.c_str(), 1, nullptr, 1), 3);
    Bytes clip;
    ASSERT_TRUE(ReadClipboardDib(&clip));
    Bytes halved = groups.named[0];
    PutUi32(&halved, 8, 16);
    EXPECT_EQ(clip, halved);
}

TEST_P(NeModules, ImageLengthIsTheGroupsClaimWhereItFitsTheAlignedLength) {
    Bytes image = MakeDibImage({32, 32, 1, 32});
    const uint32_t aligned = static_cast<uint32_t>(
        (image.size() + (1u << GetParam()) - 1) >> GetParam() << GetParam());
    const struct {
        const char* name;
        uint32_t claimed;
        uint32_t taken;
    } cases[] = {
        {"the image's own length", static_cast<uint32_t>(image.size()), static_cast<uint32_t>(image.size())},
        {"less than the image", static_cast<uint32_t>(image.size() - 100), static_cast<uint32_t>(image.size() - 100)},
        {"the aligned length", aligned, aligned},
        {"more than the aligned length", aligned + 1, aligned},
        {"far more", 0xFFFFFFF0u, aligned},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<PeResource> resources = {
            {ResName::Id(kRtIcon), ResName::Id(1), 0, image},
            {ResName::Id(kRtGroupIcon), ResName::Id(1), 0, MakeGroupDirectory({{1, c.claimed}}, {image})}};
        std::string path = Store(BuildNeModule(resources, Options()).file);
        ASSERT_EQ(ExtractFileIcon(path.c_str(), 0, Out().c_str()), 1);
        std::vector<Bytes> images = IcoImages(ReadBytes(Out()));
        ASSERT_EQ(images.size(), 1u);
        ASSERT_EQ(images[0].size(), c.taken);
        Bytes expected = WithZeroSizeImage(image);
        expected.resize(c.taken, 0xCC);  // the padding that follows the image in the file
        EXPECT_EQ(images[0], expected);
    }
}

TEST_P(NeModules, GroupsThatCannotBeReadAreCountedAndWriteNothing) {
    Bytes image = MakeDibImage({16, 16, 1, 4});
    Bytes shortDirectory = MakeGroupDirectory({{1}}, {image});
    PutUi16(&shortDirectory, 4, 0x7FFF);  // far more entries than the resource holds
    const struct {
        const char* name;
        std::vector<PeResource> resources;
    } cases[] = {
        {"a missing RT_ICON", {{ResName::Id(kRtIcon), ResName::Id(1), 0, image},
                               {ResName::Id(kRtGroupIcon), ResName::Id(1), 0,
                                MakeGroupDirectory({{1}, {2}}, {image, image})}}},
        {"a directory shorter than its count", {{ResName::Id(kRtIcon), ResName::Id(1), 0, image},
                                                {ResName::Id(kRtGroupIcon), ResName::Id(1), 0, shortDirectory}}},
        {"an image shorter than its header",
         {{ResName::Id(kRtIcon), ResName::Id(1), 0, Bytes(20, 0x28)},
          {ResName::Id(kRtGroupIcon), ResName::Id(1), 0, MakeGroupDirectory({{1, 20}}, {})}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Store(BuildNeModule(c.resources, Options()).file);
        EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, Out().c_str()), 1);
        EXPECT_FALSE(FileExists(Out()));
    }
    std::string empty = Store(BuildNeModule({{ResName::Id(kRtGroupIcon), ResName::Id(3), 0,
                                              MakeGroupDirectory({}, {})}}, Options()).file);
    EXPECT_EQ(ExtractFileIcon(empty.c_str(), 0, Out().c_str()), 1);
    EXPECT_EQ(ReadBytes(Out()), FromHex("00 00 01 00 00 00"));
    std::string none = Store(BuildNeModule({{ResName::Id(kRtIcon), ResName::Id(1), 0, image}},
                                           Options()).file);
    EXPECT_EQ(ExtractFileIcon(none.c_str(), 0, Out("none.ico").c_str()), 0);
}

TEST_P(NeModules, DamagedTablesFailCleanly) {
    NeModuleFile good = BuildNeModule(ThreeIconGroups().Resources(), Options());
    const uint32_t table = good.tableOffset;
    auto patched = [&](uint32_t at, uint16_t value) {
        Bytes file = good.file;
        PutUi16(&file, at, value);
        return file;
    };
    // The first TYPEINFO (RT_ICON) is at table + 2; its first NAMEINFO at table + 10.
    const uint32_t firstType = table + 2;
    const uint32_t firstName = table + 10;
    Bytes cutTable = good.file;
    PutUi16(&cutTable, good.neHeaderOffset + 0x26, static_cast<uint16_t>(0x40 + 20));  // resident names
    Bytes cutFile(good.file.begin(), good.file.end() - 1000);
    // The type 0 that ends the records (after two types of 6 and 3 resources) made another
    // type, and the table ending right after it.
    const uint32_t terminator = 2 + 8 + 12 * 6 + 8 + 12 * 3;
    Bytes noTerminator = good.file;
    PutUi16(&noTerminator, table + terminator, 0x800F);
    PutUi16(&noTerminator, good.neHeaderOffset + 0x26, static_cast<uint16_t>(0x40 + terminator + 2));
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"an alignment shift of 16", patched(table, 16)},
        {"an alignment shift of 0xFFFF", patched(table, 0xFFFF)},
        {"a type claiming 0xFFFF resources", patched(firstType + 2, 0xFFFF)},
        {"a resource past the end of the file", patched(firstName, 0xFFFF)},
        {"a resource longer than the file", patched(firstName + 2, 0xFFFF)},
            {"a string name outside the table", patched(table + 2 + 8 + 12 * 6 + 8 + 6, 0x7FF0)},
        {"a type name outside the table", patched(firstType, 0x7FF0)},
        {"a table cut short by the next table", cutTable},
        {"a file cut short", cutFile},
        {"a table that never ends", noTerminator},
        {"a new header past the end", patched(0x3C, 0xFFF0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Store(c.file);
        int32_t result = ExtractFileIcon(path.c_str(), 0, Out().c_str());
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(FileExists(Out()));
    }
}

INSTANTIATE_TEST_SUITE_P(AlignmentShifts, NeModules, ::testing::Values(4, 9, 0),
                         [](const auto& info) { return "Shift" + std::to_string(info.param); });

TEST(NeModuleFiles, OnlyNeHeadersCount) {
    ScratchDir dir;
    Bytes mzOnly(0x80, 0);
    mzOnly[0] = 'M';
    mzOnly[1] = 'Z';
    PutUi32(&mzOnly, 0x3C, 0x40);
    const struct {
        const char* name;
        Bytes bytes;
        bool ne;
    } cases[] = {
        {"lib.icl", BuildNeModule({}).file, true},
        {"mz.icl", mzOnly, false},
        {"pe.icl", BuildPeModule({}).file, false},
        {"text.icl", Bytes{'N', 'E'}, false},
        {"empty.icl", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.Store(c.name, c.bytes);
        EXPECT_EQ(IsNeModule(path.c_str()), c.ne);
        EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, dir.Path("out.ico").c_str()), 0);
    }
    EXPECT_FALSE(IsNeModule(dir.Path("missing.icl").c_str()));
}

}  // namespace
