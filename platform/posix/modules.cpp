// Modules of the stand-in: not read yet, so every load fails as for a file that is no module.
#include "platform/posix/standin_internal.h"

HMODULE LoadLibraryExA(LPCSTR /*lpLibFileName*/, HANDLE /*hFile*/, DWORD /*dwFlags*/) {
    StandinCallFails(StandinCall::LoadLibraryExA);
    return nullptr;
}
BOOL FreeLibrary(HMODULE /*hLibModule*/) { return FALSE; }
BOOL EnumResourceNamesA(HMODULE, LPCSTR, ENUMRESNAMEPROCA, LONG_PTR) { return FALSE; }
HRSRC FindResourceA(HMODULE, LPCSTR, LPCSTR) { return nullptr; }
HGLOBAL LoadResource(HMODULE, HRSRC) { return nullptr; }
LPVOID LockResource(HGLOBAL) { return nullptr; }
DWORD SizeofResource(HMODULE, HRSRC) { return 0; }
