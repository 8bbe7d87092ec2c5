// Modules that the real toolchain made: resource-only DLLs linked by mingw-w64 from a resource
// script with three icon groups (tests/modules).
#include <gtest/gtest.h>

#include "iconextract/extract_file_icon.h"
#include "tests/support/icon_fixtures.h"
#include "tests/support/scratch_files.h"

#ifdef TEST_MODULES_DIR

namespace {

TEST(WindresModules, ThreeGroupsInTheLinkersOrder) {
    ScratchDir dir;
    const char* icons[] = {"named.ico", "101.ico", "102.ico"};
    for (const char* module : {"three_groups_pe32.dll", "three_groups_pe32plus.dll"}) {
        SCOPED_TRACE(module);
        std::string path = std::string(TEST_MODULES_DIR) + module;
        for (int index = 1; index <= 3; ++index) {
            SCOPED_TRACE(index);
            std::string out = dir.Path("out.ico");
            ASSERT_EQ(ExtractFileIcon(path.c_str(), 0, out.c_str(), index), 3);
            Bytes icon = ReadBytes(std::string(TEST_ICONS_DIR) + icons[index - 1]);
            EXPECT_EQ(WithZeroSizeImages(IcoImages(ReadBytes(out))), WithZeroSizeImages(IcoImages(icon)));
        }
        EXPECT_EQ(ExtractFileIcon(path.c_str(), 0, dir.Path("none.ico").c_str(), 4), 0);
        EXPECT_FALSE(FileExists(dir.Path("none.ico")));
    }
}

}  // namespace

#endif
