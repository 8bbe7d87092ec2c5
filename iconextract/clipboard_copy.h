// Puts one icon image on the clipboard as a CF_DIB bitmap.
#pragma once

#include "iconextract/icon_image_set.h"

// Opens the clipboard without an owner window, empties it and hands it a movable copy of all the
// image's bytes in which biHeight is halved; the image itself is not changed. True when the
// clipboard took the copy. A PNG image is refused before the clipboard is opened; after the
// clipboard was emptied, any failure leaves it empty. The clipboard is closed on every path.
bool CopyIconImageToClipboard(const IconImage* image);
