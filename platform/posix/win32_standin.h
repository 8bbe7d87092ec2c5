// Our own stand-in for the few Windows calls the extractor makes, for the native (Linux) build.
// Types, values and behaviour follow the documented Windows API as far as the extractor relies
// on it; nothing else of Windows is provided. Files are POSIX files, memory blocks come from the C
// heap, the clipboard is a store inside the process, and modules are PE images read as data.
//
// Text is 8-bit and taken to be UTF-8, the usual encoding of Linux file names: GetACP() reports
// 65001, and string resource names of modules are converted from UTF-16 to UTF-8 and back.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Basic types -------------------------------------------------------------------------------
typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef int64_t LONGLONG;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef size_t SIZE_T;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef HANDLE HGLOBAL;
typedef DWORD* LPDWORD;
typedef LONG* PLONG;

struct StandinWindow;
typedef StandinWindow* HWND;
struct StandinModule;
typedef StandinModule* HMODULE;
typedef HMODULE HINSTANCE;
struct StandinResourceEntry;
typedef StandinResourceEntry* HRSRC;
struct StandinSecurityAttributes;
typedef StandinSecurityAttributes* LPSECURITY_ATTRIBUTES;
struct StandinOverlapped;
typedef StandinOverlapped* LPOVERLAPPED;

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};
typedef LARGE_INTEGER* PLARGE_INTEGER;

typedef BOOL (*ENUMRESNAMEPROCA)(HMODULE hModule, LPCSTR lpType, LPSTR lpName, LONG_PTR lParam);

#define WINAPI
#define CALLBACK

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// ---- Values ------------------------------------------------------------------------------------
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define FILE_ATTRIBUTE_NORMAL 0x80u
#define FILE_SHARE_READ 0x1u
#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))
#define INVALID_SET_FILE_POINTER (static_cast<DWORD>(0xFFFFFFFFu))

#define HEAP_ZERO_MEMORY 0x00000008u

#define GMEM_MOVEABLE 0x0002u
#define GMEM_DDESHARE 0x2000u
#define CF_DIB 8u

#define LOAD_LIBRARY_AS_DATAFILE 0x00000002u

#define CP_UTF8 65001u

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)

// ---- Files -------------------------------------------------------------------------------------
// Sharing modes are accepted and not enforced.
HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
// Reads until the count is met or the file ends, as ReadFile does on a disk file.
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                     DWORD dwMoveMethod);
BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize);
BOOL CloseHandle(HANDLE hObject);
BOOL DeleteFileA(LPCSTR lpFileName);

// ---- Memory ------------------------------------------------------------------------------------
HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes);
BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem);

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
SIZE_T GlobalSize(HGLOBAL hMem);
HGLOBAL GlobalFree(HGLOBAL hMem);

// ---- Clipboard (a store inside this process) ---------------------------------------------------
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
HANDLE GetClipboardData(UINT uFormat);
int CountClipboardFormats();
// The formats in the order they were set: 0 starts, 0 ends.
UINT EnumClipboardFormats(UINT format);
BOOL CloseClipboard();

// ---- Text --------------------------------------------------------------------------------------
UINT GetACP();
// Lower-cases the ASCII letters; no other byte of UTF-8 text is a letter on its own.
DWORD CharLowerBuffA(LPSTR lpsz, DWORD cchLength);

// ---- Modules loaded as data --------------------------------------------------------------------
HMODULE LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);
BOOL FreeLibrary(HMODULE hLibModule);
BOOL EnumResourceNamesA(HMODULE hModule, LPCSTR lpType, ENUMRESNAMEPROCA lpEnumFunc,
                        LONG_PTR lParam);
HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
