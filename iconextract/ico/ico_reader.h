// Reads an ICO file, the one group of images that it holds, into an IconImageSet.
#pragma once

#include <cstdint>

#include "iconextract/icon_image_set.h"
#include "platform/win32_api.h"

// Reads the 6-byte header of an open file positioned at its start: the image count (0 to 65535),
// or -1 when the header cannot be read or is not that of an icon file.
int32_t ReadIconFileHeader(HANDLE file);

// A complete, measured set of the file's images in directory order, or none on failure.
IconImageSet* ReadIconFile(const char* path);
