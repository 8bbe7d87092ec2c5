// Fills in the measured fields of an image whose bytes are set.
#pragma once

#include "iconextract/icon_image_set.h"

// Sets header, width, height, colorBits, xorBits and andBits from the image's own header (the
// IHDR chunk for a PNG image). False, with nothing read outside the bytes, when the image is too
// short for its header: a reader then fails rather than keep an image it cannot describe.
bool MeasureIconImage(IconImage* image);
