// The clipboard of the stand-in: a store inside this process, with the opening rules of the real
// one, that tests read back through GetClipboardData.
#include <utility>
#include <vector>

#include "platform/posix/global_block.h"
#include "platform/posix/standin_internal.h"

namespace {

struct ClipboardStore {
    ~ClipboardStore() { ReleaseContents(); }  // the contents end with the process
    void ReleaseContents() {
        for (auto& format : formats) {
            DestroyGlobalBlock(format.second);
        }
        formats.clear();
    }
    bool open = false;
    std::vector<std::pair<UINT, GlobalBlock*>> formats;
};

ClipboardStore g_clipboard;

}  // namespace

BOOL OpenClipboard(HWND /*hWndNewOwner*/) {
    if (g_clipboard.open || StandinCallFails(StandinCall::OpenClipboard)) {
        return FALSE;
    }
    g_clipboard.open = true;
    g_standinHeld.clipboardOpen = true;
    return TRUE;
}

BOOL EmptyClipboard() {
    if (!g_clipboard.open || StandinCallFails(StandinCall::EmptyClipboard)) {
        return FALSE;
    }
    g_clipboard.ReleaseContents();
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) {
    GlobalBlock* block = GlobalBlockOf(hMem);
    if (!g_clipboard.open || block == nullptr ||
        StandinCallFails(StandinCall::SetClipboardData)) {
        return nullptr;
    }
    if (block->ownedByClipboard) {
        StandinMisuse("SetClipboardData of a block the clipboard already owns");
    }
    block->ownedByClipboard = true;
    --g_standinHeld.globalBlocks;
    for (auto& format : g_clipboard.formats) {
        if (format.first == uFormat) {
            DestroyGlobalBlock(format.second);
            format.second = block;
            return hMem;
        }
    }
    g_clipboard.formats.emplace_back(uFormat, block);
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat) {
    if (!g_clipboard.open) {
        return nullptr;
    }
    for (auto& format : g_clipboard.formats) {
        if (format.first == uFormat) {
            return format.second;
        }
    }
    return nullptr;
}

int CountClipboardFormats() { return static_cast<int>(g_clipboard.formats.size()); }

UINT EnumClipboardFormats(UINT format) {
    if (!g_clipboard.open) {
        return 0;
    }
    bool next = format == 0;
    for (auto& stored : g_clipboard.formats) {
        if (next) {
            return stored.first;
        }
        next = stored.first == format;
    }
    return 0;
}

BOOL CloseClipboard() {
    if (!g_clipboard.open) {
        return FALSE;
    }
    g_clipboard.open = false;
    g_standinHeld.clipboardOpen = false;
    return TRUE;
}
