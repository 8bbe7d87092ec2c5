// make_ne_modules DIR: writes 16-bit icon libraries (NE modules) for the comparison with
// wrestool: one group; three groups named by a string and two numbers; alignment shifts of 4 and
// of 9; a PNG image; an image whose group claims fewer bytes than the resource holds.
#include <cstdio>
#include <string>

#include "tests/support/icon_fixtures.h"
#include "tests/support/ne_builder.h"
#include "tests/support/scratch_files.h"

namespace {

std::vector<PeResource> Three() {
    std::vector<PeResource> all;
    for (auto group : {IconGroupResources(ResName::Text(u"MYICON"),
                                          {MakeDibImage({16, 16, 1, 4, 0, 296, 1}),
                                           MakeDibImage({32, 32, 1, 8, 0, 0, 2})}, 1),
                       IconGroupResources(ResName::Id(101), {MakeDibImage({48, 48, 1, 32, 0, 0, 3})}, 10),
                       IconGroupResources(ResName::Id(102),
                                          {MakeDibImage({32, 32, 1, 1, 0, 0, 4}), MakePngImage(256, 256),
                                           MakeDibImage({24, 24, 1, 24, 0, 0, 5})}, 20)}) {
        all.insert(all.end(), group.begin(), group.end());
    }
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_ne_modules DIR\n", stderr);
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/";
    NeOptions shift9;
    shift9.alignShift = 9;
    WriteBytes(dir + "one.icl",
               BuildNeModule(IconGroupResources(ResName::Id(1), {MakeDibImage({32, 32, 1, 4})}, 1)).file);
    WriteBytes(dir + "three-shift4.icl", BuildNeModule(Three()).file);
    WriteBytes(dir + "three-shift9.icl", BuildNeModule(Three(), shift9).file);
    Bytes image = MakeDibImage({32, 32, 1, 32});
    std::vector<PeResource> claimsLess = {
        {ResName::Id(kRtIcon), ResName::Id(1), 0, image},
        {ResName::Id(kRtGroupIcon), ResName::Text(u"SHORT"), 0,
         MakeGroupDirectory({{1, static_cast<uint32_t>(image.size() - 100)}}, {image})}};
    WriteBytes(dir + "claims-less.icl", BuildNeModule(claimsLess, shift9).file);
    return 0;
}
