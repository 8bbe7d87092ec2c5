// Test-only controls of the native stand-in: make a chosen call fail or come up short, and see
// what is still held. Product code never includes this header.
#pragma once

#include "platform/win32_api.h"

// The calls that can be made to fail. Release calls (CloseHandle, HeapFree, GlobalFree,
// GlobalUnlock, CloseClipboard, FreeLibrary) always succeed.
enum class StandinCall {
    CreateFileA,
    ReadFile,
    WriteFile,
    SetFilePointer,
    GetFileSizeEx,
    HeapAlloc,
    GlobalAlloc,
    GlobalLock,
    OpenClipboard,
    EmptyClipboard,
    SetClipboardData,
    LoadLibraryExA,
    EnumResourceNamesA,
    FindResourceA,
    LoadResource,
    LockResource,
    kCount
};

// The nth call (1-based, counted from now) of that kind fails.
void StandinFailCall(StandinCall call, int nth);
// The nth ReadFile or WriteFile call (counted from now) moves at most `bytes` bytes and still
// reports success, as a short read at the end of a file or a short write would.
void StandinShortenCall(StandinCall call, int nth, DWORD bytes);
// The kth injectable call of any kind (counted from now) fails.
void StandinFailAnyCall(int k);
// Injectable calls made since the last reset.
int StandinCallsMade();
// Whether a planned failure was met since the last reset, and by which kind of call.
bool StandinPlannedFailureMet(StandinCall* call);
// The largest size asked of HeapAlloc since the last reset.
SIZE_T StandinLargestHeapRequest();
// Bytes read from module files since the last reset.
uint64_t StandinModuleBytesRead();
// Forgets every planned failure and restarts the counts.
void StandinResetFaults();

// What the stand-in still holds for the process: every count is 0 when nothing leaked.
struct StandinHeld {
    int files;         // open file handles
    int heapBlocks;    // HeapAlloc blocks not freed
    int globalBlocks;  // GlobalAlloc blocks not freed and not owned by the clipboard
    int lockedGlobals; // GlobalLock calls without their GlobalUnlock
    int modules;       // LoadLibraryExA loads not released
    bool clipboardOpen;
};
StandinHeld StandinHeldResources();
