// Shared inside the stand-in: the failure plan that tests set, and the count of what is held.
#pragma once

#include <cstdint>

#include "platform/posix/standin_control.h"

// Counts the call and tells whether it must fail.
bool StandinCallFails(StandinCall call);
// Counts the call; tells whether it must fail, and otherwise lowers `count` for a short transfer.
bool StandinTransferFails(StandinCall call, DWORD* count);
// Opens a regular file only, as CreateFileA and LoadLibraryExA do for plain names: no folder,
// device or FIFO. `flags` are open(2)'s access and creation flags. The descriptor, or -1.
int StandinOpenRegularFile(const char* path, int flags, uint64_t* size);
// Counts bytes read from a module file.
void StandinNoteModuleRead(uint64_t bytes);
// Remembers the size of a HeapAlloc request.
void StandinNoteHeapRequest(SIZE_T bytes);
// A broken rule of the API (a double free, a block freed while the clipboard owns it): the
// caller has a bug that Windows might not report at all, so the test run stops here.
[[noreturn]] void StandinMisuse(const char* what);

// What is held right now; each part of the stand-in keeps its own counts up to date.
extern StandinHeld g_standinHeld;
