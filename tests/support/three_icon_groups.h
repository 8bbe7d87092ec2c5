// The module the tests use most: three icon groups, one named by a string and two by numbers,
// MYICON, 101 and 102, each with images of its own (the last holds a PNG image).
#pragma once

#include <vector>

#include "tests/support/pe_builder.h"

struct ThreeIconGroups {
    std::vector<Bytes> named = {MakeDibImage({16, 16, 1, 4, 0, 296, 1}),
                                MakeDibImage({32, 32, 1, 8, 0, 0, 2})};
    std::vector<Bytes> first = {MakeDibImage({48, 48, 1, 32, 0, 9216, 3})};
    std::vector<Bytes> second = {MakeDibImage({32, 32, 1, 1, 0, 0, 4}), MakePngImage(256, 256),
                                 MakeDibImage({24, 24, 1, 24, 0, 0, 5})};

    // The resources in the order MYICON, 101, 102, or, with `scrambled`, in the order 102,
    // MYICON, 101: a PE linker sorts them back, an NE table keeps the order given.
    std::vector<PeResource> Resources(bool scrambled = false) const;
};
