#include "iconextract/source_file.h"

#include "platform/byte_order.h"

bool SourceFileSize(HANDLE file, uint64_t* size) {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(file, &value) || value.QuadPart < 0) {
        return false;
    }
    *size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

bool ReadAllBytes(HANDLE file, void* bytes, uint32_t count) {
    DWORD read = 0;
    return ReadFile(file, bytes, count, &read, nullptr) != FALSE && read == count;
}

bool ReachableInFile(uint64_t fileSize, uint64_t offset, uint64_t count) {
    return RangeFits(fileSize, offset, count) && offset <= INT32_MAX;
}

bool MoveToOffset(HANDLE file, uint64_t offset) {
    if (offset > INT32_MAX) {
        return false;
    }
    return SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) !=
           INVALID_SET_FILE_POINTER;
}
