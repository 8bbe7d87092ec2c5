// Modules at real-world sizes: no fixed limit below what the format allows.
#include <gtest/gtest.h>

#include "iconextract/extract_file_icon.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/pe_builder.h"
#include "tests/support/scratch_files.h"

namespace {

TEST(LargeModules, FiveThousandGroupsOfTenImages) {
    constexpr int kGroups = 5000;
    constexpr int kImages = 10;
    std::vector<PeResource> resources;
    resources.reserve(kGroups * (kImages + 1));
    for (int group = 0; group < kGroups; ++group) {
        std::vector<Bytes> images;
        for (int i = 0; i < kImages; ++i) {
            images.push_back(MakeDibImage({1 + i, 1 + group % 7, 1, 1, 0, 0,
                                           static_cast<uint8_t>(group + i)}));
        }
        // Named and numbered groups both, as large libraries have them; the names are "G" and
        // a CJK character of their own.
        ResName name = group % 2 == 0
                           ? ResName::Id(static_cast<uint16_t>(group + 1))
                           : ResName::Text(std::u16string{u'G', static_cast<char16_t>(0x4E00 + group)});
        auto more = IconGroupResources(name, images, static_cast<uint16_t>(1 + group * kImages));
        resources.insert(resources.end(), more.begin(), more.end());
    }
    ScratchDir dir;
    std::string module = dir.Path("library.icl");
    WriteBytes(module, BuildPeModule(resources).file);
    for (int index : {1, 2, 2500, kGroups}) {
        SCOPED_TRACE(index);
        std::string out = dir.Path("out.ico");
        ASSERT_EQ(ExtractFileIcon(module.c_str(), 0, out.c_str(), index), kGroups);
        Bytes file = ReadBytes(out);
        EXPECT_EQ(Ui16At(file, 4), kImages);
        EXPECT_EQ(IcoImages(file).size(), static_cast<size_t>(kImages));
    }
    EXPECT_EQ(ExtractFileIcon(module.c_str(), 0, dir.Path("none.ico").c_str(), kGroups + 1), 0);
    EXPECT_FALSE(FileExists(dir.Path("none.ico")));
}

}  // namespace
