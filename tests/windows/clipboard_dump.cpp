// clipboard_dump FILE: writes the CF_DIB block on the clipboard to FILE, so that a test can see
// what another process left there. Exits 1 when the clipboard holds no CF_DIB block.
#include <cstdio>

#include "platform/win32_api.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: clipboard_dump FILE\n", stderr);
        return 2;
    }
    if (!OpenClipboard(nullptr)) {
        std::fputs("clipboard_dump: the clipboard cannot be opened\n", stderr);
        return 1;
    }
    int status = 1;
    HANDLE block = GetClipboardData(CF_DIB);
    const void* bytes = block == nullptr ? nullptr : GlobalLock(block);
    if (bytes != nullptr) {
        std::FILE* out = std::fopen(argv[1], "wb");
        size_t size = GlobalSize(block);
        if (out != nullptr && std::fwrite(bytes, 1, size, out) == size && std::fclose(out) == 0) {
            status = 0;
        }
        GlobalUnlock(block);
    }
    CloseClipboard();
    return status;
}
