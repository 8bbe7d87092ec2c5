// Files of the stand-in: POSIX descriptors behind Windows file handles.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "platform/posix/standin_internal.h"

namespace {

struct StandinFile {
    int fd;
};

StandinFile* FileOf(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return static_cast<StandinFile*>(handle);
}

int OpenFlags(DWORD access, DWORD disposition, bool* valid) {
    *valid = true;
    int flags = 0;
    bool reads = (access & GENERIC_READ) != 0;
    bool writes = (access & GENERIC_WRITE) != 0;
    if (reads && writes) {
        flags |= O_RDWR;
    } else if (writes) {
        flags |= O_WRONLY;
    } else {
        flags |= O_RDONLY;
    }
    if (disposition == CREATE_ALWAYS) {
        flags |= O_CREAT | O_TRUNC;
    } else if (disposition != OPEN_EXISTING) {
        *valid = false;
    }
    return flags;
}

}  // namespace

int StandinOpenRegularFile(const char* path, int flags, uint64_t* size) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is cleared again once the file is known
    // to be a regular one.
    int fd = open(path, flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) {
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return -1;
    }
    *size = static_cast<uint64_t>(info.st_size);
    return fd;
}

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD /*dwShareMode*/,
                   LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                   DWORD /*dwFlagsAndAttributes*/, HANDLE /*hTemplateFile*/) {
    if (StandinCallFails(StandinCall::CreateFileA) || lpFileName == nullptr ||
        lpFileName[0] == '\0') {
        return INVALID_HANDLE_VALUE;
    }
    bool valid = false;
    int flags = OpenFlags(dwDesiredAccess, dwCreationDisposition, &valid);
    if (!valid) {
        return INVALID_HANDLE_VALUE;
    }
    uint64_t size = 0;
    int fd = StandinOpenRegularFile(lpFileName, flags, &size);
    if (fd < 0) {
        return INVALID_HANDLE_VALUE;
    }
    StandinFile* file = new (std::nothrow) StandinFile{fd};
    if (file == nullptr) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    ++g_standinHeld.files;
    return file;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED /*lpOverlapped*/) {
    if (lpNumberOfBytesRead != nullptr) {
        *lpNumberOfBytesRead = 0;
    }
    StandinFile* file = FileOf(hFile);
    DWORD wanted = nNumberOfBytesToRead;
    if (file == nullptr || StandinTransferFails(StandinCall::ReadFile, &wanted)) {
        return FALSE;
    }
    char* out = static_cast<char*>(lpBuffer);
    DWORD done = 0;
    while (done < wanted) {
        ssize_t got = read(file->fd, out + done, wanted - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return FALSE;
        }
        if (got == 0) {
            break;  // end of file: success with fewer bytes
        }
        done += static_cast<DWORD>(got);
    }
    if (lpNumberOfBytesRead != nullptr) {
        *lpNumberOfBytesRead = done;
    }
    return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED /*lpOverlapped*/) {
    if (lpNumberOfBytesWritten != nullptr) {
        *lpNumberOfBytesWritten = 0;
    }
    StandinFile* file = FileOf(hFile);
    DWORD wanted = nNumberOfBytesToWrite;
    if (file == nullptr || StandinTransferFails(StandinCall::WriteFile, &wanted)) {
        return FALSE;
    }
    const char* in = static_cast<const char*>(lpBuffer);
    DWORD done = 0;
    BOOL ok = TRUE;
    while (done < wanted) {
        ssize_t put = write(file->fd, in + done, wanted - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            ok = FALSE;  // a full disk: what was written stays counted
            break;
        }
        done += static_cast<DWORD>(put);
    }
    if (lpNumberOfBytesWritten != nullptr) {
        *lpNumberOfBytesWritten = done;
    }
    return ok;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                     DWORD dwMoveMethod) {
    StandinFile* file = FileOf(hFile);
    if (file == nullptr || StandinCallFails(StandinCall::SetFilePointer)) {
        return INVALID_SET_FILE_POINTER;
    }
    // Without a high part the distance is a signed 32-bit value; with one, the two make a
    // signed 64-bit distance.
    int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr) {
        uint64_t high = static_cast<uint32_t>(*lpDistanceToMoveHigh);
        distance = static_cast<int64_t>((high << 32) | static_cast<uint32_t>(lDistanceToMove));
    }
    int whence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR
                                                     : dwMoveMethod == FILE_END   ? SEEK_END
                                                                                  : -1;
    if (whence < 0) {
        return INVALID_SET_FILE_POINTER;
    }
    off_t position = lseek(file->fd, static_cast<off_t>(distance), whence);
    if (position < 0) {
        return INVALID_SET_FILE_POINTER;
    }
    uint64_t reached = static_cast<uint64_t>(position);
    if (lpDistanceToMoveHigh != nullptr) {
        *lpDistanceToMoveHigh = static_cast<LONG>(reached >> 32);
    } else if (reached > 0xFFFFFFFEu) {
        return INVALID_SET_FILE_POINTER;  // not expressible without a high part
    }
    return static_cast<DWORD>(reached & 0xFFFFFFFFu);
}

BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
    StandinFile* file = FileOf(hFile);
    if (file == nullptr || lpFileSize == nullptr || StandinCallFails(StandinCall::GetFileSizeEx)) {
        return FALSE;
    }
    struct stat info;
    if (fstat(file->fd, &info) != 0) {
        return FALSE;
    }
    lpFileSize->QuadPart = static_cast<LONGLONG>(info.st_size);
    return TRUE;
}

BOOL CloseHandle(HANDLE hObject) {
    StandinFile* file = FileOf(hObject);
    if (file == nullptr) {
        return FALSE;
    }
    close(file->fd);
    delete file;
    --g_standinHeld.files;
    return TRUE;
}

BOOL DeleteFileA(LPCSTR lpFileName) {
    if (lpFileName == nullptr) {
        return FALSE;
    }
    struct stat info;
    if (lstat(lpFileName, &info) != 0 || S_ISDIR(info.st_mode)) {
        return FALSE;
    }
    return unlink(lpFileName) == 0 ? TRUE : FALSE;
}
