// Icon groups of executables, DLLs and icon libraries. Each icon is an RT_GROUP_ICON resource
// whose directory (GRPICONDIR) lists its images, and each image is an RT_ICON resource of its
// own, found by the identifier the directory gives. Modules are only loaded as data, never run.
#pragma once

#include <cstdint>

#include "iconextract/icon_image_set.h"
#include "platform/win32_api.h"

// The process-wide record of one count of a module's icon groups. Only one extraction runs at a
// time (the enumeration calls back on the calling thread), so nothing guards it.
struct IconGroupSearch {
    int32_t wantedIndex;  // 1-based number of the group asked for
    int32_t groupCount;   // groups counted so far
    LPSTR foundName;      // the wanted group's name: an integer identifier as it is, a string
                          // name as a copy owned by the current extraction; none until found
};
extern IconGroupSearch g_iconGroupSearch;

// Starts a count for the group at `wantedIndex`, and releases the captured name when it ends.
class IconGroupSearchScope {
public:
    explicit IconGroupSearchScope(int32_t wantedIndex);
    ~IconGroupSearchScope();
    IconGroupSearchScope(const IconGroupSearchScope&) = delete;
    IconGroupSearchScope& operator=(const IconGroupSearchScope&) = delete;
};

// The enumeration callback for RT_GROUP_ICON names: counts each group and captures the name of
// the one at the wanted index. Always answers TRUE, so that every group is counted.
BOOL CALLBACK OnIconGroupName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);

// Reads the named group and all of its images into a complete, measured set, or none. Loads the
// module by itself and releases that load before returning.
IconImageSet* ReadModuleIconGroup(const char* path, LPCSTR groupName);
