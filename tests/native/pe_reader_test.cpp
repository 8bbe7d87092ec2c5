// The stand-in's PE reader against damaged and unusual modules: every offset, size and count is
// checked before use, nothing is read outside the file, nothing loops, nothing leaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "iconextract/extract_file_icon.h"
#include "iconextract/module/module_icon_group.h"
#include "platform/posix/standin_control.h"
#include "platform/scoped_handles.h"
#include "tests/native/fault_rounds.h"
#include "tests/support/clipboard_probe.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/ne_builder.h"
#include "tests/support/pe_builder.h"
#include "tests/support/scratch_files.h"

namespace {

using ScopedSet = Scoped<IconImageSetTraits>;

// One group "APP" of one image, as RT_ICON 1 and RT_GROUP_ICON "APP".
std::vector<PeResource> OneGroup(const Bytes& image) {
    return IconGroupResources(ResName::Text(u"APP"), {image}, 1);
}

class PeReader : public ::testing::Test {
protected:
    void SetUp() override { StandinResetFaults(); }
    void TearDown() override {
        StandinResetFaults();
        ExpectNothingHeld();
    }
    std::string Store(const Bytes& file, const std::string& name = "module.dll") {
        return dir_.Store(name, file);
    }
    int32_t Extract(const std::string& module, int32_t index = 1) {
        std::remove(dir_.Path("out.ico").c_str());
        return ExtractFileIcon(module.c_str(), 0, dir_.Path("out.ico").c_str(), index);
    }
    bool Written() const { return FileExists(dir_.Path("out.ico")); }

    ScratchDir dir_;
    Bytes image_ = MakeDibImage({16, 16, 1, 4});
};

TEST_F(PeReader, RefusesToLoadWhatIsNoWholePeImage) {
    PeModule good = BuildPeModule(OneGroup(image_));
    auto cut = [&](size_t length) { return Bytes(good.file.begin(), good.file.begin() + length); };
    auto patched = [&](size_t offset, uint16_t value) {
        Bytes file = good.file;
        PutUi16(&file, offset, value);
        return file;
    };
    Bytes lfanewFar = good.file;
    PutUi32(&lfanewFar, 0x3C, 0xFFFFFFF0u);
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"the DOS header cut short", cut(0x3F)},
        {"the PE header cut short", cut(good.newHeaderOffset + 10)},
        {"the optional header cut short", cut(good.newHeaderOffset + 24 + 100)},
        {"the section table cut short", cut(good.sectionTableOffset + 39)},
        {"no MZ", patched(0, 0x5A4E)},
        {"new header past the end", lfanewFar},
        {"an NE header", patched(good.newHeaderOffset, 0x454E)},
        {"an unknown optional header", patched(good.newHeaderOffset + 24, 0x107)},
        {"an optional header of one byte", patched(good.newHeaderOffset + 20, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Store(c.file);
        EXPECT_EQ(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
        EXPECT_EQ(Extract(path), 0);
    }
    std::string path = Store(good.file);
    EXPECT_EQ(LoadLibraryExA(path.c_str(), nullptr, 0), nullptr);  // never loaded to run
    EXPECT_EQ(LoadLibraryExA(dir_.Path("").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ(Extract(path), 1);
}

TEST_F(PeReader, DamagedResourceTreesFailCleanly) {
    PeModule good = BuildPeModule(OneGroup(image_));
    const uint32_t root = good.resourceFileOffset;
    // The root lists RT_ICON (3) and RT_GROUP_ICON (14); each leads to its names, each name to
    // its languages, each language to a data entry.
    auto entryTarget = [&](const Bytes& file, uint32_t directory, int entry) {
        return Ui32At(file, root + directory + 16 + 8 * entry + 4) & 0x7FFFFFFFu;
    };
    uint32_t groupNames = entryTarget(good.file, 0, 1);
    uint32_t groupLanguages = entryTarget(good.file, groupNames, 0);
    uint32_t groupData = entryTarget(good.file, groupLanguages, 0);
    uint32_t iconNames = entryTarget(good.file, 0, 0);
    uint32_t iconLanguages = entryTarget(good.file, iconNames, 0);
    uint32_t iconData = entryTarget(good.file, iconLanguages, 0);
    auto patched = [&](uint32_t at, uint32_t value) {
        Bytes file = good.file;
        PutUi32(&file, at, value);
        return file;
    };
    auto patched16 = [&](uint32_t at, uint16_t value) {
        Bytes file = good.file;
        PutUi16(&file, at, value);
        return file;
    };
    uint32_t resourceDirectoryRva = good.newHeaderOffset + 24 + 96 + 16;
    const struct {
        const char* name;
        Bytes file;
        int32_t result;
    } cases[] = {
        {"group names loop back to the root", patched(root + 16 + 8 + 4, 0x80000000u), 2},
        {"group languages loop back to the root", patched(root + groupNames + 16 + 4, 0x80000000u), 1},
        {"icon languages loop back to the root", patched(root + iconNames + 16 + 4, 0x80000000u), 1},
        {"a language that is a directory", patched(root + groupLanguages + 16 + 4, 0x80000000u | groupNames), 1},
        {"the root claims 65535 entries", patched16(root + 14, 0xFFFF), 0},
        {"the group names claim 65535 entries", patched16(root + groupNames + 14, 0xFFFF), 0},
        {"a subdirectory past the section", patched(root + 16 + 8 + 4, 0x80000000u | 0x7FFFFFF0u), 0},
        {"a string name past the section", patched(root + groupNames + 16, 0x80000000u | 0x7FFFFFF0u), 0},
        {"a string name longer than the section", patched16(root + (Ui32At(good.file, root + groupNames + 16) & 0x7FFFFFFFu), 0xFFFF), 0},
        {"group data in no section", patched(root + groupData, 0x7FFF0000u), 1},
        {"group data past the file", patched(root + groupData + 4, 0xFFFFFF00u), 1},
        {"image data in no section", patched(root + iconData, 0x10), 1},
        {"image data past the section", patched(root + iconData + 4, good.resourceBytes), 1},
        {"a data entry past the section", patched(root + groupLanguages + 16 + 4, 0x7FFFFFF0u), 1},
        {"the resource table in no section", patched(resourceDirectoryRva, 0x00900000u), 0},
        {"no resource table", patched(resourceDirectoryRva, 0), 0},
        {"too few data directories", patched(good.newHeaderOffset + 24 + 92, 2), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Store(c.file);
        EXPECT_EQ(Extract(path), c.result);
        EXPECT_FALSE(Written());
        ExpectNothingHeld();
    }
}

TEST_F(PeReader, CutAnywhereItFailsCleanly) {
    std::vector<PeResource> resources = OneGroup(image_);
    PeModule good = BuildPeModule(resources);
    // The group directory is the last data of the section; the file is padded after it.
    const Bytes& last = resources.back().data;
    size_t end = static_cast<size_t>(
        std::search(good.file.begin(), good.file.end(), last.begin(), last.end()) -
        good.file.begin() + static_cast<std::ptrdiff_t>(last.size()));
    ASSERT_LT(end, good.file.size());
    for (size_t length = 0; length < end; length += 7) {
        SCOPED_TRACE(length);
        std::string path = Store(Bytes(good.file.begin(), good.file.begin() + length));
        int32_t result = Extract(path);
        EXPECT_TRUE(result == 0 || result == 1);
        EXPECT_FALSE(Written());
    }
}

TEST_F(PeReader, AnyOneByteDamageOfTheResourceSectionIsSurvived) {
    PeModule good = BuildPeModule(OneGroup(image_));
    for (uint32_t at = 0; at < good.resourceBytes; ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFF}}) {
            Bytes file = good.file;
            file[good.resourceFileOffset + at] = value;
            std::string path = Store(file);
            int32_t result = Extract(path);
            EXPECT_GE(result, 0);
            EXPECT_LE(result, 65535);
        }
    }
    ExpectNothingHeld();
}

TEST_F(PeReader, TakesTheNeutralLanguageOrElseTheFirstListed) {
    Bytes neutral = MakeDibImage({16, 16, 1, 4, 0, 0, 1});
    Bytes german = MakeDibImage({16, 16, 1, 4, 0, 0, 2});
    Bytes english = MakeDibImage({16, 16, 1, 4, 0, 0, 3});
    auto groupIn = [](uint16_t language, uint16_t image) {
        return PeResource{ResName::Id(kRtGroupIcon), ResName::Id(1), language,
                          MakeGroupDirectory({{image}}, {})};
    };
    auto icon = [](uint16_t id, const Bytes& bytes) {
        return PeResource{ResName::Id(kRtIcon), ResName::Id(id), 0, bytes};
    };
    PeOptions asGiven;
    asGiven.keepOrder = true;
    const struct {
        const char* name;
        std::vector<PeResource> resources;
        const Bytes* taken;
    } cases[] = {
        {"neutral listed last", {icon(1, neutral), icon(2, german), icon(3, english),
                                 groupIn(kLangEnUs, 3), groupIn(0x407, 2), groupIn(0, 1)}, &neutral},
        {"no neutral one", {icon(2, german), icon(3, english), groupIn(kLangEnUs, 3),
                            groupIn(0x407, 2)}, &english},
        {"SUBLANG_DEFAULT of neutral", {icon(2, german), icon(3, english), groupIn(0x407, 2),
                                        groupIn(0x400, 3)}, &english},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Store(BuildPeModule(c.resources, asGiven).file);
        ScopedSet set(ReadModuleIconGroup(path.c_str(), MAKEINTRESOURCEA(1)));
        ASSERT_TRUE(set.IsValid());
        const IconImage& image = set.Get()->images[0];
        EXPECT_EQ(Bytes(image.bytes, image.bytes + image.byteCount), *c.taken);
    }
}

TEST_F(PeReader, EnumeratesInDirectoryOrderAndNamesAsUtf8) {
    std::vector<PeResource> resources;
    const std::u16string names[] = {u"\u56FE\u6807", u"ZED", u"\xD800" u"X"};  // 图标, a lone surrogate
    uint16_t id = 1;
    for (const std::u16string& name : names) {
        auto group = IconGroupResources(ResName::Text(name), {image_}, id++);
        resources.insert(resources.end(), group.begin(), group.end());
    }
    auto numbered = IconGroupResources(ResName::Id(7), {image_}, id++);
    resources.insert(resources.begin(), numbered.begin(), numbered.end());
    PeOptions asGiven;
    asGiven.keepOrder = true;  // the file's order, not a sorted one, is what counts
    std::string path = Store(BuildPeModule(resources, asGiven).file);

    ScopedModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module.IsValid());
    std::vector<std::string> seen;
    EnumResourceNamesA(
        module.Get(), RT_GROUP_ICON,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR param) -> BOOL {
            auto* names = reinterpret_cast<std::vector<std::string>*>(param);
            names->push_back(IS_INTRESOURCE(name)
                                 ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name))
                                 : std::string(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&seen));
    // Named entries come first in a directory, as the format requires.
    const std::vector<std::string> expected = {"\xE5\x9B\xBE\xE6\xA0\x87", "ZED",
                                               "\xED\xA0\x80X", "#7"};
    EXPECT_EQ(seen, expected);
    for (int index = 1; index <= 4; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(Extract(path, index), 4);
        EXPECT_TRUE(Written());  // every name, converted and back, finds its group again
    }
    EXPECT_NE(FindResourceA(module.Get(), "#7", RT_GROUP_ICON), nullptr);
    EXPECT_NE(FindResourceA(module.Get(), "zed", RT_GROUP_ICON), nullptr);
}

TEST_F(PeReader, ReadsOnlyHeadersTablesAndTheWantedResources) {
    PeOptions large;
    large.leadingSectionBytes = 24u << 20;  // a big code or data section
    large.overlayBytes = 24u << 20;         // and an installer's payload after the image
    std::vector<PeResource> resources;
    for (uint16_t group = 1; group <= 20; ++group) {
        auto more = IconGroupResources(ResName::Id(group), {MakeDibImage({32, 32, 1, 32})},
                                       static_cast<uint16_t>(group * 10));
        resources.insert(resources.end(), more.begin(), more.end());
    }
    std::string path = Store(BuildPeModule(resources, large).file);
    StandinResetFaults();
    EXPECT_EQ(Extract(path, 20), 20);
    EXPECT_TRUE(Written());
    // Headers, section table and tree walks twice over, and one group of one 4264-byte image.
    EXPECT_LT(StandinModuleBytesRead(), 32u * 1024u);
}

TEST_F(PeReader, EveryFailingCallOfAModuleExtractionFailsCleanly) {
    auto group = IconGroupResources(ResName::Id(9), {image_, MakeDibImage({32, 32, 1, 32})}, 1);
    auto named = IconGroupResources(ResName::Text(u"FIRST"), {image_}, 5);
    group.insert(group.end(), named.begin(), named.end());
    std::string path = Store(BuildPeModule(group).file);
    std::string out = dir_.Path("out.ico");
    int32_t result = 0;
    FailEachCallInTurn(
        [&] {
            result = ExtractFileIcon(path.c_str(), 0, out.c_str(), 2);
            return FileExists(out);
        },
        [&] {
            EXPECT_TRUE(result == 0 || result == 2);  // 0 only when counting itself failed
            EXPECT_FALSE(FileExists(out));
        });
    EXPECT_EQ(result, 2);
    FailEachCallInTurn([&] { return ExtractFileIcon(path.c_str(), 1, nullptr, 1) == 2; }, [] {},
                       [] { ClearClipboard(); },
                       [] {
                           Bytes clip;
                           return ReadClipboardDib(&clip);
                       });
}

TEST_F(PeReader, EveryFailingCallOfASixteenBitExtractionFailsCleanly) {
    auto group = IconGroupResources(ResName::Id(9), {image_, MakeDibImage({32, 32, 1, 32})}, 1);
    auto named = IconGroupResources(ResName::Text(u"FIRST"), {image_}, 5);
    named.insert(named.end(), group.begin(), group.end());
    std::string path = Store(BuildNeModule(named).file, "library.icl");
    std::string out = dir_.Path("out.ico");
    for (int32_t index : {1, 2}) {
        SCOPED_TRACE(index);
        int32_t result = 0;
        FailEachCallInTurn(
            [&] {
                result = ExtractFileIcon(path.c_str(), 0, out.c_str(), index);
                return FileExists(out);
            },
            [&] {
                EXPECT_TRUE(result == 0 || result == 2);
                EXPECT_FALSE(FileExists(out));
            },
            [&] { std::remove(out.c_str()); }, nullptr,
            {StandinCall::LoadLibraryExA});  // a 16-bit module never loads as data anyway
        EXPECT_EQ(result, 2);
    }
}

}  // namespace
