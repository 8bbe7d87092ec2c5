// 16-bit NE modules built byte by byte for the tests, the format of classic icon libraries: an
// MZ stub, the NE header, its tables and the resources at aligned offsets.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/pe_builder.h"

struct NeOptions {
    uint16_t alignShift = 4;
    uint8_t padding = 0xCC;  // what fills each resource up to its aligned length
};

struct NeModuleFile {
    Bytes file;
    uint32_t neHeaderOffset;
    uint32_t tableOffset;  // where the resource table begins (its alignment shift)
    uint32_t tableBytes;
};

// The resources (types and names as identifiers or ASCII strings; languages are not part of the
// format and are ignored), in the order given, types grouped in order of first appearance.
NeModuleFile BuildNeModule(const std::vector<PeResource>& resources, const NeOptions& options = {});
