// Icon groups of 16-bit NE modules (most classic icon libraries), which Windows does not load as
// data files. Read with the same file calls as icon files; the groups and images are the same
// GRPICONDIR and RT_ICON records as in PE modules.
#pragma once

#include "iconextract/icon_image_set.h"
#include "platform/win32_api.h"

// True when the file is an NE module ("MZ", and "NE" where its new-header offset points).
bool IsNeModule(const char* path);

// Counts the module's RT_GROUP_ICON resources in table order through OnIconGroupName, which
// captures the wanted one. False, with nothing counted, when the file is no NE module or its
// resource table is damaged.
bool CountNeIconGroups(const char* path);

// Reads the named group and its images into a complete, measured set, or none. An image's length
// is the group entry's dwBytesInRes where that fits in the resource's aligned length, the aligned
// length otherwise: NE lengths count whole alignment units, so an image carries padding.
IconImageSet* ReadNeIconGroup(const char* path, LPCSTR groupName);
