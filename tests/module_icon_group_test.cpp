// Icon groups of modules: counting in enumeration order, choosing by index, reading a group and
// its RT_ICON images. Natively against the stand-in's PE reader, under Wine against Windows' own.
#include <gtest/gtest.h>

#include <cstring>

#include "iconextract/extract_file_icon.h"
#include "iconextract/ico/ico_reader.h"
#include "iconextract/module/module_icon_group.h"
#include "platform/scoped_handles.h"
#include "tests/support/clipboard_probe.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/pe_builder.h"
#include "tests/support/scratch_files.h"
#include "tests/support/three_icon_groups.h"

namespace {

using ScopedSet = Scoped<IconImageSetTraits>;

class ModuleIconGroups : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { ClearClipboard(); }
    void TearDown() override { ClearClipboard(); }

    std::string Store(const std::vector<PeResource>& resources, const std::string& name = "icons.dll") {
        PeOptions options;
        options.pe32Plus = GetParam();
        return dir_.Store(name, BuildPeModule(resources, options).file);
    }
    std::string Out(const std::string& name = "out.ico") const { return dir_.Path(name); }

    ScratchDir dir_;
};

TEST_P(ModuleIconGroups, EachIndexTakesItsGroupAndTheCountIsThree) {
    ThreeIconGroups groups;
    std::string module = Store(groups.Resources(true));
    const std::vector<Bytes>* expected[] = {&groups.named, &groups.first, &groups.second};
    for (int index = 1; index <= 3; ++index) {
        SCOPED_TRACE(index);
        std::string out = Out("group" + std::to_string(index) + ".ico");
        ASSERT_EQ(ExtractFileIcon(module.c_str(), 0, out.c_str(), index), 3);
        EXPECT_EQ(IcoImages(ReadBytes(out)), WithZeroSizeImages(*expected[index - 1]));
    }
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out("none.ico").c_str(), 4), 0);
    EXPECT_FALSE(FileExists(Out("none.ico")));
    // No index: the first group the enumeration reports.
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out("default.ico").c_str()), 3);
    EXPECT_EQ(ReadBytes(Out("default.ico")), ReadBytes(Out("group1.ico")));
}

TEST_P(ModuleIconGroups, EveryModuleEndingAndEveryOutput) {
    ThreeIconGroups groups;
    for (const char* name : {"icons.EXE", "icons.icl", "iconsdll"}) {
        SCOPED_TRACE(name);
        std::string module = Store(groups.Resources(true), name);
        EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out("first.bmp").c_str(), 2), 3);
        Bytes bmp = ReadBytes(Out("first.bmp"));
        EXPECT_EQ(bmp.size(), 54u + 48u * 48u * 4u);  // the 48x48 image of group 101
        ClearClipboard();
        EXPECT_EQ(ExtractFileIcon(module.c_str(), 1, nullptr, 1), 3);
        Bytes clip;
        ASSERT_TRUE(ReadClipboardDib(&clip));
        Bytes expected = groups.named[0];
        PutUi32(&expected, 8, 16);
        EXPECT_EQ(clip, expected);
    }
}

TEST_P(ModuleIconGroups, EnumerationCapturesTheWantedNameAsNumberOrCopy) {
    std::string module = Store(ThreeIconGroups().Resources(true));
    ScopedModule loaded(LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(loaded.IsValid());
    const struct {
        int32_t wanted;
        const char* text;
        uint16_t id;
    } cases[] = {{1, "MYICON", 0}, {2, nullptr, 101}, {3, nullptr, 102}, {4, nullptr, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wanted);
        IconGroupSearchScope search(c.wanted);
        ASSERT_TRUE(EnumResourceNamesA(loaded.Get(), RT_GROUP_ICON, OnIconGroupName, 0));
        EXPECT_EQ(g_iconGroupSearch.groupCount, 3);
        LPSTR found = g_iconGroupSearch.foundName;
        if (c.text != nullptr) {
            ASSERT_NE(found, nullptr);
            ASSERT_FALSE(IS_INTRESOURCE(found));
            EXPECT_STREQ(found, c.text);  // a copy that outlives the enumeration
        } else if (c.id != 0) {
            ASSERT_TRUE(IS_INTRESOURCE(found));
            EXPECT_EQ(reinterpret_cast<ULONG_PTR>(found), c.id);
        } else {
            EXPECT_EQ(found, nullptr);
        }
    }
}

TEST_P(ModuleIconGroups, ReadsTheNamedGroupIntoAModuleSet) {
    ThreeIconGroups groups;
    std::string module = Store(groups.Resources(true));
    for (LPCSTR name : {static_cast<LPCSTR>("MYICON"), static_cast<LPCSTR>("myIcon")}) {
        ScopedSet set(ReadModuleIconGroup(module.c_str(), name));
        ASSERT_TRUE(set.IsValid());  // string names match without regard to case
        EXPECT_STREQ(set.Get()->moduleFilePath, module.c_str());
        EXPECT_STREQ(set.Get()->iconFilePath, "");
        ASSERT_EQ(set.Get()->imageCount, 2u);
        EXPECT_EQ(set.Get()->images[1].width, 32);
        EXPECT_EQ(set.Get()->images[1].colorBits, 8u);
    }
    ScopedSet png(ReadModuleIconGroup(module.c_str(), MAKEINTRESOURCEA(102)));
    ASSERT_TRUE(png.IsValid());
    const IconImage& image = png.Get()->images[1];
    EXPECT_EQ(Bytes(image.bytes, image.bytes + image.byteCount), groups.second[1]);
    EXPECT_EQ(image.width, 256);
    EXPECT_EQ(ReadModuleIconGroup(module.c_str(), nullptr), nullptr);
    EXPECT_EQ(ReadModuleIconGroup(module.c_str(), MAKEINTRESOURCEA(103)), nullptr);
    EXPECT_EQ(ReadModuleIconGroup(dir_.Path("missing.dll").c_str(), MAKEINTRESOURCEA(101)), nullptr);
}

TEST_P(ModuleIconGroups, ImageBytesAreTheIconResourceWhateverTheGroupClaims) {
    Bytes image = MakeDibImage({32, 32, 1, 4, 0, 744});
    for (uint32_t claimed : {1u, 743u, 745u, 0x7FFFFFFFu}) {
        SCOPED_TRACE(claimed);
        std::vector<PeResource> resources = {
            {ResName::Id(kRtIcon), ResName::Id(7), kLangNeutral, image},
            {ResName::Id(kRtGroupIcon), ResName::Id(1), kLangNeutral,
             MakeGroupDirectory({{7, claimed}}, {image})}};
        std::string module = Store(resources);
        ASSERT_EQ(ExtractFileIcon(module.c_str(), 0, Out().c_str()), 1);
        EXPECT_EQ(IcoImages(ReadBytes(Out())), WithZeroSizeImages({image}));
    }
}

TEST_P(ModuleIconGroups, GroupsThatCannotBeReadWriteNothingButAreCounted) {
    Bytes image = MakeDibImage({16, 16, 1, 4});
    Bytes shortDirectory = MakeGroupDirectory({{7}, {8}}, {image, image});
    PutUi16(&shortDirectory, 4, 3);  // three entries claimed, two present
    Bytes tiny = {0, 0, 1, 0};      // not even a whole header
    Bytes cutImage(image.begin(), image.begin() + 39);
    const struct {
        const char* name;
        std::vector<PeResource> resources;
    } cases[] = {
        {"an RT_ICON the module lacks",
         {{ResName::Id(kRtIcon), ResName::Id(7), 0, image},
          {ResName::Id(kRtGroupIcon), ResName::Id(1), 0, MakeGroupDirectory({{7}, {9}}, {image})}}},
        {"a directory shorter than its count",
         {{ResName::Id(kRtIcon), ResName::Id(7), 0, image},
          {ResName::Id(kRtIcon), ResName::Id(8), 0, image},
          {ResName::Id(kRtGroupIcon), ResName::Id(1), 0, shortDirectory}}},
        {"a directory of four bytes", {{ResName::Id(kRtGroupIcon), ResName::Id(1), 0, tiny}}},
        {"an image shorter than its header",
         {{ResName::Id(kRtIcon), ResName::Id(7), 0, cutImage},
          {ResName::Id(kRtGroupIcon), ResName::Id(1), 0, MakeGroupDirectory({{7}}, {cutImage})}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string module = Store(c.resources);
        EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out().c_str()), 1);
        EXPECT_FALSE(FileExists(Out()));
        PutDibOnClipboard(Bytes(40, 0x21));
        EXPECT_EQ(ExtractFileIcon(module.c_str(), 1), 1);
        Bytes clip;
        ASSERT_TRUE(ReadClipboardDib(&clip));
        EXPECT_EQ(clip, Bytes(40, 0x21));  // nothing was copied
    }
}

TEST_P(ModuleIconGroups, AGroupWithoutImagesGivesTheEmptyIconFile) {
    std::string module =
        Store({{ResName::Id(kRtGroupIcon), ResName::Id(5), 0, MakeGroupDirectory({}, {})}});
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out().c_str()), 1);
    EXPECT_EQ(ReadBytes(Out()), FromHex("00 00 01 00 00 00"));
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out("none.bmp").c_str()), 1);
    EXPECT_FALSE(FileExists(Out("none.bmp")));
}

TEST_P(ModuleIconGroups, ModulesWithoutIconGroupsGiveZero) {
    Bytes image = MakeDibImage({16, 16, 1, 4});
    const struct {
        const char* name;
        std::vector<PeResource> resources;
    } cases[] = {
        {"no resources at all", {}},
        {"icons but no groups", {{ResName::Id(kRtIcon), ResName::Id(1), 0, image}}},
        {"other types only", {{ResName::Id(6), ResName::Id(1), 0, Bytes(32, 1)},
                              {ResName::Text(u"ICONS"), ResName::Id(1), 0, image}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string module = Store(c.resources);
        EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out().c_str()), 0);
        EXPECT_EQ(ExtractFileIcon(module.c_str(), 1), 0);
        EXPECT_FALSE(FileExists(Out()));
    }
}

TEST_P(ModuleIconGroups, ANameIsCountedOnceWhateverItsLanguages) {
    Bytes a = MakeDibImage({16, 16, 1, 4, 0, 0, 1});
    Bytes b = MakeDibImage({16, 16, 1, 4, 0, 0, 2});
    std::vector<PeResource> resources = {
        {ResName::Id(kRtIcon), ResName::Id(1), kLangEnUs, a},
        {ResName::Id(kRtIcon), ResName::Id(1), 0x407, a},
        {ResName::Id(kRtIcon), ResName::Id(2), kLangEnUs, b},
        {ResName::Id(kRtGroupIcon), ResName::Id(1), kLangEnUs, MakeGroupDirectory({{1}}, {a})},
        {ResName::Id(kRtGroupIcon), ResName::Id(1), 0x407, MakeGroupDirectory({{1}}, {a})},
        {ResName::Id(kRtGroupIcon), ResName::Id(2), kLangEnUs, MakeGroupDirectory({{2}}, {b})},
    };
    std::string module = Store(resources);
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out().c_str(), 1), 2);
    EXPECT_EQ(IcoImages(ReadBytes(Out())), WithZeroSizeImages({a}));
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out("2.ico").c_str(), 2), 2);
    EXPECT_EQ(IcoImages(ReadBytes(Out("2.ico"))), WithZeroSizeImages({b}));
}

TEST_P(ModuleIconGroups, ImagesInAnotherLanguageThanTheirGroupAreFound) {
    Bytes image = MakeDibImage({32, 32, 1, 32});
    std::vector<PeResource> resources = {
        {ResName::Id(kRtIcon), ResName::Id(3), 0x804, image},
        {ResName::Id(kRtGroupIcon), ResName::Text(u"APP"), kLangEnUs,
         MakeGroupDirectory({{3}}, {image})}};
    std::string module = Store(resources);
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out().c_str()), 1);
    EXPECT_EQ(IcoImages(ReadBytes(Out())), WithZeroSizeImages({image}));
}

TEST_P(ModuleIconGroups, NamesInChineseAndNamesGivenAsNumbers) {
    Bytes image = MakeDibImage({16, 16, 1, 8});
    auto chinese = IconGroupResources(ResName::Text(u"\u56FE\u6807"), {image}, 1);  // 图标
    auto numbered = IconGroupResources(ResName::Id(101), {MakeDibImage({32, 32, 1, 4})}, 2);
    chinese.insert(chinese.end(), numbered.begin(), numbered.end());
    std::string module = Store(chinese);
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, Out().c_str(), 1), 2);
    EXPECT_EQ(IcoImages(ReadBytes(Out())), WithZeroSizeImages({image}));
    ScopedSet byNumberText(ReadModuleIconGroup(module.c_str(), "#101"));  // "#101" is number 101
    ASSERT_TRUE(byNumberText.IsValid());
    EXPECT_EQ(byNumberText.Get()->images[0].width, 32);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, ModuleIconGroups, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Pe32Plus" : "Pe32"; });

TEST(ModuleSources, FilesThatAreNoModulesHaveNoGroups) {
    ScratchDir dir;
    Bytes ne(0x80, 0);
    ne[0] = 'M';
    ne[1] = 'Z';
    PutUi32(&ne, 0x3C, 0x40);
    ne[0x40] = 'N';
    ne[0x41] = 'E';
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"text.dll", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}},
        {"icon.exe", MakeIcoFile({MakeDibImage({16, 16, 1, 4})})},
        {"empty.dll", {}},
        {"sixteen-bit.icl", ne},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.Path(c.name);
        WriteBytes(path, c.bytes);
        EXPECT_EQ(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
        EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, dir.Path("out.ico").c_str()), 0);
        EXPECT_FALSE(FileExists(dir.Path("out.ico")));
    }
}

}  // namespace
