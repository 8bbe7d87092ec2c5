#include "iconextract/clipboard_copy.h"

#include <cstring>

#include "iconextract/dib.h"
#include "iconextract/png.h"
#include "platform/byte_order.h"
#include "platform/scoped_handles.h"

bool CopyIconImageToClipboard(const IconImage* image) {
    if (image == nullptr || IsPngImage(image->bytes, image->byteCount)) {
        return false;
    }
    ScopedClipboardOpening clipboard(nullptr);
    if (!clipboard.IsOpen() || !EmptyClipboard()) {
        return false;
    }
    if (image->byteCount < kDibHeaderBytes) {
        return false;  // nothing a bitmap could be made of: the clipboard stays empty
    }
    ScopedGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, image->byteCount));
    if (!block.IsValid()) {
        return false;
    }
    {
        ScopedGlobalLock lock(block.Get());
        uint8_t* copy = static_cast<uint8_t*>(lock.Bytes());
        if (copy == nullptr) {
            return false;
        }
        std::memcpy(copy, image->bytes, image->byteCount);
        SetUi32(copy + kBiHeight, static_cast<uint32_t>(GetSi32(copy + kBiHeight) / 2));
    }
    // A block the clipboard refused is still ours and is freed by its owner.
    if (SetClipboardData(CF_DIB, block.Get()) == nullptr) {
        return false;
    }
    block.Detach();
    return true;
}
