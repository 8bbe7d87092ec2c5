// Writes an IconImageSet, all of its images, as one ICO file.
#pragma once

#include <cstdint>

#include "iconextract/icon_image_set.h"
#include "platform/win32_api.h"

// Writes the 6-byte header (0, 1, the count's low 16 bits) as three 2-byte writes; true only
// when all three were written in full.
bool WriteIconFileHeader(HANDLE file, uint32_t imageCount);

// The file offset of image `index`: 6 + 16 * imageCount + the lengths of the images before it.
uint32_t IconImageOffset(const IconImageSet* set, uint32_t index);

// Fills the 16-byte directory entry of an image stored at `imageOffset`: sizes and colours from
// the image's own header (from IHDR for a PNG image). False for an image that has neither.
bool FillIconDirEntry(const IconImage& image, uint32_t imageOffset, uint8_t* entry);

// Writes the set to `path`, replacing any file there: the header, the directory (with one
// write), then every image's bytes with one write each, as stored except that a DIB image's
// biSizeImage is written as 0. The set is left as it was. True when the file was
// written in full; otherwise no file is left at `path`.
bool WriteIconFile(IconImageSet* set, const char* path);
