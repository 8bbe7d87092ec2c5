// Reads from an open source file (an icon file, a 16-bit module) through the file calls, each
// checked whole, so that a file that ends early or cannot be read fails cleanly.
#pragma once

#include <cstdint>

#include "platform/win32_api.h"

// The open file's size in bytes; false when it cannot be had.
bool SourceFileSize(HANDLE file, uint64_t* size);

// Reads exactly `count` bytes from the file's position; false unless every byte came.
bool ReadAllBytes(HANDLE file, void* bytes, uint32_t count);

// True when `count` bytes at `offset` lie inside a file of `fileSize` bytes where a move can
// reach them: without a high part SetFilePointer takes a signed 32-bit distance.
bool ReachableInFile(uint64_t fileSize, uint64_t offset, uint64_t count);

// Moves the file's position to `offset`, an offset that ReachableInFile allowed.
bool MoveToOffset(HANDLE file, uint64_t offset);
