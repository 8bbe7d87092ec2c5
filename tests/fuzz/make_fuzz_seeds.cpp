// make_fuzz_seeds DIR: writes the fuzzers' seed inputs made from the test fixtures into
// DIR/icon_file, DIR/module and DIR/extraction. Real files are added beside them by scripts/fuzz.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/icon_fixtures.h"
#include "tests/support/ne_builder.h"
#include "tests/support/pe_builder.h"
#include "tests/support/scratch_files.h"

namespace fs = std::filesystem;

namespace {

void Seed(const fs::path& dir, const std::string& name, const Bytes& bytes) {
    fs::create_directories(dir);
    WriteBytes((dir / name).string(), bytes);
}

// The extraction fuzzer's input: a choice byte, a failing-call byte, then the source.
Bytes Chosen(uint8_t choice, const Bytes& source) {
    Bytes input(source.size() + 2, 0);
    input[0] = choice;
    std::copy(source.begin(), source.end(), input.begin() + 2);
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_fuzz_seeds DIR\n", stderr);
        return 2;
    }
    fs::path root = argv[1];
    std::vector<std::pair<std::string, Bytes>> icons = {
        {"two.ico", MakeIcoFile({MakeDibImage({16, 16, 1, 4}), MakeDibImage({32, 32, 1, 8})})},
        {"png.ico", MakeIcoFile({MakeDibImage({16, 16, 1, 32}), MakePngImage(256, 256)})},
        {"mono.ico", MakeIcoFile({MakeDibImage({16, 16, 1, 1})})},
        {"empty.ico", FromHex("00 00 01 00 00 00")},
    };
    auto named = IconGroupResources(ResName::Text(u"MYICON"), {MakeDibImage({16, 16, 1, 4})}, 1);
    auto numbered = IconGroupResources(ResName::Id(101), {MakeDibImage({8, 8, 1, 32}), MakePngImage(64, 64)}, 5);
    auto localised = IconGroupResources(ResName::Id(7), {MakeDibImage({8, 8, 1, 1})}, 9, 0x804);
    std::vector<PeResource> three = named;
    three.insert(three.end(), numbered.begin(), numbered.end());
    three.insert(three.end(), localised.begin(), localised.end());
    PeOptions plus;
    plus.pe32Plus = true;
    std::vector<std::pair<std::string, Bytes>> modules = {
        {"three.dll", BuildPeModule(three).file},
        {"three64.dll", BuildPeModule(three, plus).file},
        {"one.dll", BuildPeModule(named).file},
        {"none.dll", BuildPeModule({}).file},
        {"three16.dll", BuildNeModule(three).file},  // a 16-bit module
    };
    for (const auto& icon : icons) {
        Seed(root / "icon_file", icon.first, icon.second);
        Seed(root / "extraction", "ico-" + icon.first, Chosen(0x30, icon.second));  // ICO to ICO
        Seed(root / "extraction", "bmp-" + icon.first, Chosen(0x34, icon.second));  // to BMP
        Seed(root / "extraction", "clip-" + icon.first, Chosen(0x38, icon.second));
    }
    for (const auto& module : modules) {
        Seed(root / "module", module.first, module.second);
        Seed(root / "extraction", "ico-" + module.first, Chosen(0x31, module.second));
        Seed(root / "extraction", "bmp2-" + module.first, Chosen(0x46, module.second));
        Seed(root / "extraction", "clip3-" + module.first, Chosen(0x5B, module.second));
    }
    return 0;
}
