// What the fuzz targets run on each input, kept apart from libFuzzer so that the normal test
// suite can run every saved finding through the very same code (tests/fuzz/regressions).
// Each writes the input to a file of its own and runs the extractor over it natively; a broken
// rule (anything still held afterwards, a truncated or unreadable output file) aborts, so the
// fuzzer reports it like a crash.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes as an ICO file: read; when read, written again as ICO (and read back), as a BMP
// file and to the clipboard.
void FuzzIconFile(const uint8_t* data, size_t size);
// The bytes as a module: counted, and its first, second and last groups extracted.
void FuzzModule(const uint8_t* data, size_t size);
// The first byte chooses the source ending, the output and the group index; the second, which
// call of the stand-in fails (none for 0); the rest is the source file. Runs ExtractFileIcon.
void FuzzExtraction(const uint8_t* data, size_t size);
