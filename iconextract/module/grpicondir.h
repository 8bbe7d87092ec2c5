// The GRPICONDIR layout of an RT_GROUP_ICON resource: a 6-byte header whose idCount at offset 4
// counts the 14-byte GRPICONDIRENTRY records that follow; each entry's nID at offset 12 names
// the RT_ICON resource holding the image.
#pragma once

#include <cstdint>

constexpr uint32_t kGroupDirBytes = 6;
constexpr uint32_t kGroupDirCount = 4;
constexpr uint32_t kGroupEntryBytes = 14;
constexpr uint32_t kGroupEntryBytesInRes = 8;
constexpr uint32_t kGroupEntryId = 12;
