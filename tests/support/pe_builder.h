// PE modules built byte by byte for the tests: a DLL (PE32 or PE32+) whose only content is a
// resource section, laid out as linkers lay it out, that both the native stand-in and Windows'
// own loader (under Wine) read as a data file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/icon_fixtures.h"

// A resource type or name: an identifier, or a string (ASCII here, stored as UTF-16).
struct ResName {
    static ResName Id(uint16_t id) { return {id, {}}; }
    static ResName Text(std::u16string text) { return {0, std::move(text)}; }
    bool IsString() const { return !text.empty(); }
    uint16_t id;
    std::u16string text;
};

struct PeResource {
    ResName type;
    ResName name;
    uint16_t language;
    Bytes data;
};

struct PeOptions {
    bool pe32Plus = false;
    // Keep the resources in the order given instead of sorting them as linkers do (named entries
    // still come first in each directory, as the format requires).
    bool keepOrder = false;
    // A section of this many zero bytes before the resource section.
    uint32_t leadingSectionBytes = 0;
    // Bytes after the image, as installers carry.
    uint64_t overlayBytes = 0;
};

struct PeModule {
    Bytes file;
    uint32_t resourceFileOffset;  // where the resource section's raw data begins
    uint32_t resourceRva;
    uint32_t resourceBytes;       // length of the resource section's raw data
    uint32_t newHeaderOffset;     // e_lfanew
    uint32_t sectionTableOffset;
};

PeModule BuildPeModule(const std::vector<PeResource>& resources, const PeOptions& options = {});
// The same module written straight to a file, with the leading section and the overlay left as
// holes (zeros), so that modules of gigabytes cost neither memory nor disk. False when the file
// cannot be written.
bool WritePeModuleFile(const std::string& path, const std::vector<PeResource>& resources,
                       const PeOptions& options = {});

constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtGroupIcon = 14;
constexpr uint16_t kLangNeutral = 0;
constexpr uint16_t kLangEnUs = 0x409;

// One GRPICONDIR entry. `bytesInRes` 0 means: the length of the image.
struct GroupEntry {
    uint16_t id;
    uint32_t bytesInRes = 0;
};

// An RT_GROUP_ICON directory naming the given images by identifier.
Bytes MakeGroupDirectory(const std::vector<GroupEntry>& entries, const std::vector<Bytes>& images);

// An icon group and its images as resources: RT_ICON `firstId`, `firstId` + 1, ... and the
// RT_GROUP_ICON `name` naming them, all in `language`.
std::vector<PeResource> IconGroupResources(const ResName& name, const std::vector<Bytes>& images,
                                           uint16_t firstId, uint16_t language = kLangNeutral);
