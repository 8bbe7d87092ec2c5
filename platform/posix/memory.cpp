// Memory of the stand-in: the process heap and movable global blocks, both from the C heap.
#include <cstdlib>
#include <new>

#include "platform/posix/global_block.h"
#include "platform/posix/standin_internal.h"

namespace {
// Any non-null value serves as the one process heap.
int g_processHeap;
}  // namespace

HANDLE GetProcessHeap() { return &g_processHeap; }

LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
    StandinNoteHeapRequest(dwBytes);
    if (hHeap != &g_processHeap || StandinCallFails(StandinCall::HeapAlloc)) {
        return nullptr;
    }
    // A zero-byte block is a valid, distinct block on Windows; malloc(0) may give none.
    SIZE_T size = dwBytes == 0 ? 1 : dwBytes;
    void* block = (dwFlags & HEAP_ZERO_MEMORY) != 0 ? std::calloc(1, size) : std::malloc(size);
    if (block != nullptr) {
        ++g_standinHeld.heapBlocks;
    }
    return block;
}

BOOL HeapFree(HANDLE hHeap, DWORD /*dwFlags*/, LPVOID lpMem) {
    if (hHeap != &g_processHeap || lpMem == nullptr) {
        return FALSE;
    }
    std::free(lpMem);
    --g_standinHeld.heapBlocks;
    return TRUE;
}

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    if (StandinCallFails(StandinCall::GlobalAlloc) || dwBytes > SIZE_MAX / 2) {
        return nullptr;
    }
    GlobalBlock* block = new (std::nothrow) GlobalBlock{};
    if (block == nullptr) {
        return nullptr;
    }
    block->bytes = static_cast<uint8_t*>(std::calloc(1, dwBytes == 0 ? 1 : dwBytes));
    if (block->bytes == nullptr) {
        delete block;
        return nullptr;
    }
    block->magic = GlobalBlock::kMagic;
    block->size = dwBytes;
    block->flags = uFlags;
    ++g_standinHeld.globalBlocks;
    return block;
}

LPVOID GlobalLock(HGLOBAL hMem) {
    GlobalBlock* block = GlobalBlockOf(hMem);
    if (block == nullptr || StandinCallFails(StandinCall::GlobalLock)) {
        return nullptr;
    }
    ++block->locks;
    ++g_standinHeld.lockedGlobals;
    return block->bytes;
}

BOOL GlobalUnlock(HGLOBAL hMem) {
    GlobalBlock* block = GlobalBlockOf(hMem);
    if (block == nullptr || block->locks == 0) {
        StandinMisuse("GlobalUnlock of a block that is not locked");
    }
    --block->locks;
    --g_standinHeld.lockedGlobals;
    return block->locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL hMem) {
    GlobalBlock* block = GlobalBlockOf(hMem);
    return block == nullptr ? 0 : block->size;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
    GlobalBlock* block = GlobalBlockOf(hMem);
    if (block == nullptr) {
        return hMem;
    }
    if (block->ownedByClipboard) {
        StandinMisuse("GlobalFree of a block that the clipboard owns");
    }
    DestroyGlobalBlock(block);
    --g_standinHeld.globalBlocks;
    return nullptr;
}

GlobalBlock* GlobalBlockOf(HGLOBAL handle) {
    GlobalBlock* block = static_cast<GlobalBlock*>(handle);
    if (block == nullptr) {
        return nullptr;
    }
    if (block->magic != GlobalBlock::kMagic) {
        StandinMisuse("not a live GlobalAlloc block");
    }
    return block;
}

void DestroyGlobalBlock(GlobalBlock* block) {
    g_standinHeld.lockedGlobals -= block->locks;
    block->magic = 0;
    std::free(block->bytes);
    delete block;
}
