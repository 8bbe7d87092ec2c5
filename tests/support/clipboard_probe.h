// Reads the clipboard back through the same calls on Windows and in the native stand-in.
#pragma once

#include "tests/support/icon_fixtures.h"

// The bytes of the CF_DIB block on the clipboard; false when there is none.
bool ReadClipboardDib(Bytes* bytes);
// How many formats the clipboard offers besides CF_DIB and those Windows derives from it.
int OtherClipboardFormats();
// Empties the clipboard.
void ClearClipboard();
// Puts a CF_DIB block of these bytes on the clipboard, to see later whether it was replaced.
void PutDibOnClipboard(const Bytes& bytes);
