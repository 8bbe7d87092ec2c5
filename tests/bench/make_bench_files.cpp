// make_bench_files DIR: writes the synthetic inputs of scripts/bench into DIR:
//   section-1g.dll   20 icon groups in a small resource section beside a 1 GiB section
//   overlay-1g.dll   the same groups, and 1 GiB of payload after the image, as installers carry
//   groups-N.dll     N icon groups (N = 500, 1000) of three small images each
//   icons-N.ico      an ICO file of N 16x16 images (N = 32768, 65535)
// The large parts are holes in sparse files: they cost no disk and no time to write.
#include <cstdio>
#include <string>

#include "tests/support/icon_fixtures.h"
#include "tests/support/pe_builder.h"
#include "tests/support/scratch_files.h"

namespace {

std::vector<PeResource> Groups(int count, int images, const DibShape& shape) {
    std::vector<PeResource> resources;
    for (int group = 0; group < count; ++group) {
        std::vector<Bytes> bytes;
        for (int i = 0; i < images; ++i) {
            DibShape varied = shape;
            varied.seed = static_cast<uint8_t>(group * 7 + i);
            bytes.push_back(MakeDibImage(varied));
        }
        auto more = IconGroupResources(ResName::Id(static_cast<uint16_t>(group + 1)), bytes,
                                       static_cast<uint16_t>(1 + group * images));
        resources.insert(resources.end(), more.begin(), more.end());
    }
    return resources;
}

bool Write(const std::string& path, const std::vector<PeResource>& resources, const PeOptions& options) {
    if (!WritePeModuleFile(path, resources, options)) {
        std::fprintf(stderr, "make_bench_files: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_bench_files DIR\n", stderr);
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/";
    constexpr uint32_t kGiB = 1u << 30;
    std::vector<PeResource> twenty = Groups(20, 5, {32, 32, 1, 32});
    PeOptions section;
    section.leadingSectionBytes = kGiB;
    PeOptions overlay;
    overlay.overlayBytes = kGiB;
    bool ok = Write(dir + "section-1g.dll", twenty, section) &&
              Write(dir + "overlay-1g.dll", twenty, overlay);
    for (int count : {500, 1000}) {
        ok = ok && Write(dir + "groups-" + std::to_string(count) + ".dll",
                         Groups(count, 3, {16, 16, 1, 4}), {});
    }
    for (int count : {32768, 65535}) {
        std::vector<Bytes> images;
        for (int i = 0; i < count; ++i) {
            images.push_back(MakeDibImage({16, 16, 1, 1, 0, 0, static_cast<uint8_t>(i)}));
        }
        WriteBytes(dir + "icons-" + std::to_string(count) + ".ico", MakeIcoFile(images));
    }
    return ok ? 0 : 1;
}
