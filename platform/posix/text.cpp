// Text of the stand-in: UTF-8 as the 8-bit code page.
#include "platform/posix/standin_internal.h"

UINT GetACP() { return CP_UTF8; }

DWORD CharLowerBuffA(LPSTR lpsz, DWORD cchLength) {
    if (lpsz == nullptr) {
        return 0;
    }
    for (DWORD i = 0; i < cchLength; ++i) {
        if (lpsz[i] >= 'A' && lpsz[i] <= 'Z') {
            lpsz[i] = static_cast<char>(lpsz[i] - 'A' + 'a');
        }
    }
    return cchLength;
}
