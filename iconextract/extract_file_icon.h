// The icon extractor's one entry: takes an icon group out of an ICO file or a module and puts it
// out as an ICO file, a BMP file of its first image, or a CF_DIB bitmap on the clipboard.
#pragma once

#include <cstdint>

constexpr int32_t kExtractToFile = 0;
constexpr int32_t kExtractToClipboard = 1;

// Completes its arguments (no source or destination: the empty text; a mode other than 0 or 1:
// the clipboard; a group index below 1: the first group) and extracts. Returns the number of icon
// groups in the source (1 for an ICO file), or 0 when no group could be chosen: mode 0 without a
// destination, an unsupported source ending, a module that cannot be loaded as data or has no
// icon groups, or a group index beyond the count. The count is returned whether or not the
// chosen group could be read or put out.
int32_t ExtractFileIcon(const char* source = nullptr, int32_t mode = kExtractToClipboard,
                        const char* destination = nullptr, int32_t groupIndex = 1);

// The worker: `groupIndex` is at least 1; `destination` is a non-empty path for file output, or
// none for the clipboard. Everything it obtains is released before it returns.
int32_t ExtractIconGroup(const char* source, int32_t groupIndex, const char* destination);
