#include "tests/support/clipboard_probe.h"

#include <cstring>
#include <stdexcept>

#include "platform/win32_api.h"

namespace {
// Formats that Windows offers by itself once CF_DIB is there.
constexpr UINT kDerivedFormats[] = {2 /*CF_BITMAP*/, 9 /*CF_PALETTE*/, 17 /*CF_DIBV5*/};

class Opening {
public:
    Opening() : open_(OpenClipboard(nullptr) != FALSE) {
        if (!open_) {
            throw std::runtime_error("the clipboard cannot be opened");
        }
    }
    ~Opening() { CloseClipboard(); }

private:
    bool open_;
};
}  // namespace

bool ReadClipboardDib(Bytes* bytes) {
    Opening opening;
    HANDLE block = GetClipboardData(CF_DIB);
    if (block == nullptr) {
        return false;
    }
    const void* data = GlobalLock(block);
    if (data == nullptr) {
        return false;
    }
    const uint8_t* begin = static_cast<const uint8_t*>(data);
    bytes->assign(begin, begin + GlobalSize(block));
    GlobalUnlock(block);
    return true;
}

int OtherClipboardFormats() {
    Opening opening;
    int others = 0;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        bool known = format == CF_DIB;
        for (UINT derived : kDerivedFormats) {
            known = known || format == derived;
        }
        others += known ? 0 : 1;
    }
    return others;
}

void ClearClipboard() {
    Opening opening;
    EmptyClipboard();
}

void PutDibOnClipboard(const Bytes& bytes) {
    Opening opening;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    void* data = GlobalLock(block);
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
    if (SetClipboardData(CF_DIB, block) == nullptr) {
        GlobalFree(block);
        throw std::runtime_error("SetClipboardData failed");
    }
}
