#include "tests/support/three_icon_groups.h"

std::vector<PeResource> ThreeIconGroups::Resources(bool scrambled) const {
    std::vector<std::vector<PeResource>> groups = {
        IconGroupResources(ResName::Text(u"MYICON"), named, 1),
        IconGroupResources(ResName::Id(101), first, 10),
        IconGroupResources(ResName::Id(102), second, 20)};
    const int listed[] = {0, 1, 2};
    const int shuffled[] = {2, 0, 1};
    std::vector<PeResource> all;
    for (int i = 0; i < 3; ++i) {
        const std::vector<PeResource>& group = groups[scrambled ? shuffled[i] : listed[i]];
        all.insert(all.end(), group.begin(), group.end());
    }
    return all;
}
