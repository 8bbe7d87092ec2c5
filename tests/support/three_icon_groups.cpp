#include "tests/support/three_icon_groups.h"

std::vector<PeResource> ThreeIconGroups::Resources(bool scrambled) const {
    auto named_ = IconGroupResources(ResName::Text(u"MYICON"), named, 1);
    auto first_ = IconGroupResources(ResName::Id(101), first, 10);
    auto second_ = IconGroupResources(ResName::Id(102), second, 20);
    std::vector<PeResource> all;
    for (const auto* group : scrambled ? std::vector<const std::vector<PeResource>*>{&second_, &named_, &first_}
                                       : std::vector<const std::vector<PeResource>*>{&named_, &first_, &second_}) {
        all.insert(all.end(), group->begin(), group->end());
    }
    return all;
}
