// make_ne_modules DIR: writes 16-bit icon libraries (NE modules) for the comparison with
// wrestool: one group; three groups named by a string and two numbers; alignment shifts of 4 and
// of 9; a PNG image; an image whose group claims fewer bytes than the resource holds.
#include <cstdio>
#include <string>

#include "tests/support/icon_fixtures.h"
#include "tests/support/ne_builder.h"
#include "tests/support/scratch_files.h"
#include "tests/support/three_icon_groups.h"

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
    WriteBytes(dir + "three-shift4.icl", BuildNeModule(ThreeIconGroups().Resources()).file);
    WriteBytes(dir + "three-shift9.icl", BuildNeModule(ThreeIconGroups().Resources(), shift9).file);
    Bytes image = MakeDibImage({32, 32, 1, 32});
    std::vector<PeResource> claimsLess = {
        {ResName::Id(kRtIcon), ResName::Id(1), 0, image},
        {ResName::Id(kRtGroupIcon), ResName::Text(u"SHORT"), 0,
         MakeGroupDirectory({{1, static_cast<uint32_t>(image.size() - 100)}}, {image})}};
    WriteBytes(dir + "claims-less.icl", BuildNeModule(claimsLess, shift9).file);
    return 0;
}
