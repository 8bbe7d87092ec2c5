// A movable global block of the stand-in, shared by the memory and clipboard parts.
#pragma once

#include "platform/win32_api.h"

struct GlobalBlock {
    static constexpr uint32_t kMagic = 0x474C4F42u;  // tells a live block from anything else
    uint32_t magic;
    UINT flags;
    SIZE_T size;
    int locks;
    bool ownedByClipboard;
    uint8_t* bytes;
};

// The block behind a handle, or none for a null handle; stops the run on a handle that is not a
// live block (a use after free).
GlobalBlock* GlobalBlockOf(HGLOBAL handle);
// Frees a block whoever owns it; the caller keeps its own counts.
void DestroyGlobalBlock(GlobalBlock* block);
